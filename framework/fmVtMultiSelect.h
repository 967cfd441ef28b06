#pragma once
#include "fmVtOkCancDlg.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <QVariant>
#include <QVector>

class QAction;
class QLabel;
class QPushButton;
class QTableView;
class TVtMultiSelectModel;
class TVtParams;
class TVtQueryCollection;

// Multi-selection dialog: a grid over the rows of a select with a tick box
// per row; OK returns the ids of the ticked rows. The select's first column
// (or KeyField) is the row id; the other visible columns are shown with
// their titles. The select runs when the dialog shows (or on Open).
//
// Columns may be sortable: a click on the title of a sortable column orders
// the rows by the field list given for it ("sAnaCognome;sAnaNome"). The
// ticks belong to the row ids, so they follow the rows however sorted; the
// row positions of RowId, IsChecked, SetChecked ... are those of the grid.
//
// With a help context, F1 opens that topic of the program's guide.
class TfmVtMultiSelect : public TfmVtOkCancDlg
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
    Q_PROPERTY(int DialogWidth READ DialogWidth WRITE SetDialogWidth)
    Q_PROPERTY(QString SortOrder READ SortOrder WRITE SortBy)
public:
    explicit TfmVtMultiSelect(QWidget *parent = nullptr);
    ~TfmVtMultiSelect() override;

    TVtQueryCollection *xqcMain;
    QTableView *grMain;
    QPushButton *buSelectAll;
    QPushButton *buSelectNone;
    QLabel *laCount;
    QAction *acHelp;

    QString Caption() const;
    void SetCaption(const QString &caption);
    // Topic of the guide F1 opens; 0: none.
    int HelpContext() const { return m_helpContext; }
    void SetHelpContext(int context) { m_helpContext = context; }
    // Opens the guide at the help context (nothing without one).
    void ShowHelp();
    int DialogWidth() const { return width(); }
    void SetDialogWidth(int width);

    // The select; the collection is closed so the next show runs it anew.
    void SetCommandText(const QString &select);
    QString CommandText() const;
    TVtParams &Params();
    // Sets a parameter of the select, creating it of that type when absent.
    void SetParamValue(const QString &name, const QVariant &value, QMetaType::Type type = QMetaType::Int);
    // Id column; the first column when empty.
    QString KeyField;
    // Whether the id column is shown (hidden by default).
    bool ShowKeyField = false;
    // When false, OK with nothing ticked shows a warning and keeps the dialog open.
    bool AllowEmpty = true;

    // Column look, applied whenever the select opens.
    void SetFieldTitle(const QString &field, const QString &title, int width = 0);
    void SetFieldVisible(const QString &field, bool visible);
    // Display format of a column ("#,###.00", "dd/MM/yyyy").
    void SetFieldFormat(const QString &field, const QString &format);

    // Makes the column of the list's first field sortable by the list
    // (fields separated by ';', each ascending).
    void AddSortOrder(const QString &fieldList);
    // The sort orders, in the order they were added.
    QStringList SortOrders() const { return m_sortOrders; }
    // Orders the rows by a field list; empty: as the select gives them.
    void SortBy(const QString &fieldList);
    QString SortOrder() const { return m_sortOrder; }
    // What a click on the title of a grid column does: the sort order of
    // its field, when it has one. False when the column is not sortable.
    bool ClickTitle(int column);

    // Runs the select, keeping the ticks of the ids still listed.
    void Open();

    int RowCount() const;
    QVariant RowId(int row) const;
    QString RowText(int row, const QString &field) const;
    bool IsChecked(int row) const;
    void SetChecked(int row, bool on);
    // Ticks the row with that id; false when no row has it.
    bool SetCheckedId(const QVariant &id, bool on);
    void CheckAll(bool on);
    int CheckedCount() const;

    // Ids of the ticked rows, in row order.
    QVariantList SelectedKeys() const;
    QList<int> SelectedIds() const;

protected:
    bool CanAccept() override;
    void showEvent(QShowEvent *event) override;

private:
    friend class TVtMultiSelectModel;
    int KeyIndex() const;
    // Row of the collection shown at a grid row.
    int SourceRow(int row) const;
    void ApplyColumns();
    void ApplySort();
    void UpdateCount();

    TVtMultiSelectModel *m_model;
    QSet<QString> m_checked;   // ids as text
    struct TColumn
    {
        QString Title;
        int Width = 0;
        bool Visible = true;
        QString Format;
        bool HasTitle = false;
        bool HasVisible = false;
        bool HasFormat = false;
    };
    QMap<QString, TColumn> m_columns;   // by upper-case field name
    QStringList m_sortOrders;
    QString m_sortOrder;
    QVector<int> m_order;               // collection rows in grid order; empty: unsorted
    int m_helpContext = 0;
};

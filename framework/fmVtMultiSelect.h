#pragma once
#include "fmVtOkCancDlg.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QVariant>

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
class TfmVtMultiSelect : public TfmVtOkCancDlg
{
    Q_OBJECT
public:
    explicit TfmVtMultiSelect(QWidget *parent = nullptr);
    ~TfmVtMultiSelect() override;

    TVtQueryCollection *xqcMain;
    QTableView *grMain;
    QPushButton *buSelectAll;
    QPushButton *buSelectNone;
    QLabel *laCount;

    // The select; the collection is closed so the next show runs it anew.
    void SetCommandText(const QString &select);
    QString CommandText() const;
    TVtParams &Params();
    // Id column; the first column when empty.
    QString KeyField;
    // Whether the id column is shown (hidden by default).
    bool ShowKeyField = false;
    // When false, OK with nothing ticked shows a warning and keeps the dialog open.
    bool AllowEmpty = true;

    // Column look, applied whenever the select opens.
    void SetFieldTitle(const QString &field, const QString &title, int width = 0);
    void SetFieldVisible(const QString &field, bool visible);

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
    void ApplyColumns();
    void UpdateCount();

    TVtMultiSelectModel *m_model;
    QSet<QString> m_checked;   // ids as text
    struct TColumn
    {
        QString Title;
        int Width = 0;
        bool Visible = true;
        bool HasTitle = false;
        bool HasVisible = false;
    };
    QMap<QString, TColumn> m_columns;   // by upper-case field name
};

#pragma once
#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QTableView;
class QSortFilterProxyModel;
class TVtGridModel;
class TVtQueryCollection;

// One column of a search form's select.
struct TVtSearchField
{
    QString FieldName;
    QString Title;          // the field name when empty
    bool Indexed = false;   // the search box looks in it
    bool Visible = true;    // shown in the grid
    int Width = 0;          // pixels; 0 leaves the default
};

// The columns of a search form, in the order of its select (item 0 is the
// first column, usually the key).
class TVtSearchFields
{
public:
    int Count() const { return int(m_items.size()); }
    TVtSearchField *Items(int i) const { return m_items.at(size_t(i)).get(); }
    // By name without regard to case; null when absent.
    TVtSearchField *FindField(const QString &fieldName) const;
    TVtSearchField *Add(const QString &fieldName);
    void Clear() { m_items.clear(); }

private:
    std::vector<std::unique_ptr<TVtSearchField>> m_items;
};

// Modal search dialog: a grid over the rows of a select, a search box that
// keeps the rows where one of the indexed fields contains the text (without
// regard to case; every visible field when none is indexed), OK and Annulla.
// On OK the dataset's current row is the chosen one.
//
// Subclasses (registered by class name with RegisterVtSearchForm) may add
// controls above the grid (TopPanel), reopen the dataset with parameters of
// their own (RefreshSearch) and react when the form is about to show (Activate).
class TfmVtSearch : public QDialog
{
    Q_OBJECT
public:
    explicit TfmVtSearch(QWidget *parent = nullptr);
    ~TfmVtSearch() override;

    QString Caption() const;
    void SetCaption(const QString &caption);
    int Width() const { return m_width; }
    void SetWidth(int width);

    TVtSearchFields *GetFields() { return &m_fields; }
    TVtQueryCollection *GetDataSet() const { return m_dataSet; }

    // The search select; setting it closes the dataset.
    QString CommandText() const;
    void SetCommandText(const QString &sql);

    QString SearchText() const;
    void SetSearchText(const QString &text);

    // (Re)opens the dataset and adds the fields it has that the list lacks.
    virtual void RefreshSearch();
    // Shows the form modally; true when the user chose a row.
    virtual bool Execute();

    // Rows shown (those passing the search box).
    int MatchCount() const;
    // Makes a shown row current; false when out of range.
    bool SelectRow(int row);
    // The value of a field in the current shown row.
    QVariant SelectedValue(const QString &fieldName) const;

    QWidget *TopPanel() const { return m_topPanel; }
    QLineEdit *edSearch;
    QTableView *grSearch;
    QDialogButtonBox *buButtons;

    void accept() override;

protected:
    // Called by Execute before the form shows.
    virtual void Activate() {}
    void ApplyFields();

private:
    void ApplyFilter();
    int DataSetRow(int shownRow) const;

    TVtQueryCollection *m_dataSet;
    TVtGridModel *m_model;
    QSortFilterProxyModel *m_filter;
    TVtSearchFields m_fields;
    QWidget *m_topPanel;
    QLabel *m_count;
    int m_width = 0;
};

using TVtSearchFormFactory = std::function<TfmVtSearch *(QWidget *parent)>;

// Search form classes by name (without regard to case), so that a lookup can
// name its search form. "TfmVtSearch" is always known; a class registered
// with the program's form registry (TVtFormRegistry) is found too when it is
// a search form.
void RegisterVtSearchForm(const QString &className, TVtSearchFormFactory factory);
void UnregisterVtSearchForm(const QString &className);
bool IsVtSearchFormRegistered(const QString &className);
// A new search form of that class; throws EVtException for an unknown class.
TfmVtSearch *CreateVtSearchForm(const QString &className, QWidget *parent = nullptr);

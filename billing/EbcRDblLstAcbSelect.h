#pragma once
#include "EbcUAcbSelectMode.h"
#include "frVtDoubleListView.h"

#include <memory>

class QAction;
class QToolBar;
class TfmVtRptFilter;
class TSQLQuery;

// The pupils (or holder records) a multiple insertion writes to: those of
// the working school year on the left, the chosen ones on the right. In
// reasons mode the items are the holder records of the year (data: iAcbId);
// in holders mode the pupils of the year without a holder record, each with
// the relative that would pay (data: the pupil's iAnaId). The left list can
// be narrowed by a filter composed on the definition EBC_ACBFL.
class TfrEbcDblLstAcbSelect : public TfrVtDoubleListView
{
    Q_OBJECT
public:
    explicit TfrEbcDblLstAcbSelect(QWidget *parent = nullptr);
    ~TfrEbcDblLstAcbSelect() override;

    QToolBar *tbFilter;
    QAction *acFilter;
    QAction *acApplyFilter;

    // The mode the lists are read in (replacing reads as reasons).
    TEbcAcbSelectMode Mode() const { return m_mode; }

    // The chosen rows in list order: the identifier and the three texts.
    struct TPicked
    {
        QVariant Id;
        QString Pupil, Class, Parent;
    };
    QList<TPicked> Picked() const;
    // The statement of a mode, with its filter markers replaced by the
    // condition (left as comments without one).
    static QString Statement(TEbcAcbSelectMode mode, const QString &condition);

    // Reads the list again in the current mode, with the last condition
    // when it is applied; both lists are emptied.
    void Reload();
    // The column the lists are ordered by (0 pupil, 1 class, 2 parent).
    int SortColumn() const { return m_sortColumn; }
    void SortBy(int column, QTreeWidget *list);

    // The last condition of the filter dialog, and whether it is applied.
    QString Condition() const { return m_condition; }
    bool FilterApplied() const { return m_applied; }
    // Applies a condition as the filter dialog's OK would.
    void ApplyCondition(const QString &condition);
    // The filter dialog, created at its first use and kept.
    TfmVtRptFilter *FilterDialog();

private:
    void acFilterExecute();
    void acApplyFilterExecute();
    void ShowFilterState();
    void SortList(QTreeWidget *list);

    TEbcAcbSelectMode m_mode;
    std::unique_ptr<TSQLQuery> m_query;
    TfmVtRptFilter *m_filterDialog = nullptr;
    QString m_condition;
    bool m_applied = false;
    int m_sortColumn = 0;
};

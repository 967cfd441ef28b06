#pragma once
#include <QTreeWidget>
#include <functional>

// The report tree of a report command: folders and reports, each report
// item carrying its report id. Loading the tree and running a report belong
// to the report support; this widget keeps the tree, the filter and the
// selection.
class TVtRptTreeView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit TVtRptTreeView(QWidget *parent = nullptr);

    static constexpr int RptIdRole = Qt::UserRole + 1;

    // Fills the tree (called by Refresh after clearing it).
    std::function<void(TVtRptTreeView *)> OnLoad;
    // Keeps a report when true; called for every report item, last to first.
    std::function<bool(int rptId)> Filter;
    // Raised when the user runs a report (double click or Enter).
    std::function<void(TVtRptTreeView *, int rptId)> OnRunReport;

    QTreeWidgetItem *AddFolder(QTreeWidgetItem *parent, const QString &caption);
    QTreeWidgetItem *AddReport(QTreeWidgetItem *parent, const QString &caption, int rptId);

    // Clears, reloads and applies the filter.
    void Refresh();
    // Removes the report items the filter refuses (last to first).
    void ApplyFilter();

    // Id of the selected report, -1 when no report is selected.
    int SelectedRptId() const;
    bool SelectRptId(int rptId);
    // Every report id in the tree, in display order.
    QList<int> RptIds() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void RunCurrent();
};

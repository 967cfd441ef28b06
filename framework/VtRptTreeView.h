#pragma once
#include <QPointer>
#include <QTreeWidget>
#include <functional>

class QMenu;
class TdmVtRptFR;
class TfrDesigner;

// The report tree of a report command: folders and reports, each report
// item carrying its report id. Loading the tree and running a report belong
// to the report support; this widget keeps the tree, the filter and the
// selection.
class TVtRptTreeView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit TVtRptTreeView(QWidget *parent = nullptr);

    ~TVtRptTreeView() override;

    static constexpr int RptIdRole = Qt::UserRole + 1;
    // The image of an item: 4 a template, 5 a customised copy; none for a folder.
    static constexpr int ImageRole = Qt::UserRole + 2;
    static int ImageIndexFor(int rptId) { return rptId >= 1000000 ? 5 : 4; }

    // Fills the tree (called by Refresh after clearing it).
    std::function<void(TVtRptTreeView *)> OnLoad;
    // Keeps a report when true; called for every report item, last to first.
    std::function<bool(int rptId)> Filter;
    // Raised when the user runs a report (double click or Enter).
    std::function<void(TVtRptTreeView *, int rptId)> OnRunReport;

    QTreeWidgetItem *AddFolder(QTreeWidgetItem *parent, const QString &caption);
    QTreeWidgetItem *AddReport(QTreeWidgetItem *parent, const QString &caption, int rptId);

    // The application's templates of the database: nested by parent, by
    // order then description, without the deleted ones; a row without a
    // template is a folder; each customised copy follows its base.
    void LoadFromVtDB(const QString &codAppl);

    // The report module and the designer of this tree.
    TdmVtRptFR *GetfrReport();
    TfrDesigner *GetfrDesigner();
    // Opens the designer on the selected template; false when none is selected.
    bool EditSelected();

    QMenu *pmReport;
    QAction *acAnteprima;
    QAction *acModificaModello;

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

    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void RunCurrent();
    TdmVtRptFR *m_report = nullptr;
    QPointer<TfrDesigner> m_designer;
};

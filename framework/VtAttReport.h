#pragma once
#include "VtAttivazione.h"

#include <QPointer>
#include <functional>

class TVtRptTreeView;

// Command over the report tree of an application (CodAppl): the tree shows
// in the command bar in the command's place; running a report (double click,
// Enter, or Execute) passes BeforeExecute (which may read GetRptId to refuse)
// and then OnRunReport with the selected report id.
class TVtAttReport : public TVtAttivazione
{
    Q_OBJECT
public:
    explicit TVtAttReport(TdmVtAttivazioni *owner, const QString &name = QString());
    ~TVtAttReport() override;

    QString CodAppl;

    // Id of the report selected in the tree; -1 when none.
    int GetRptId() const;
    // The tree, created on first use.
    TVtRptTreeView *GetRptTreeView();

    // Runs the selected report (the report support connects it).
    std::function<void(TVtAttReport *sender, int rptId)> OnRunReport;

protected:
    bool DoExecute() override;

private:
    QPointer<TVtRptTreeView> m_tree;
};

#include "VtAttReport.h"
#include "VtRptTreeView.h"
#include "dmVtRptFR.h"

TVtAttReport::TVtAttReport(TdmVtAttivazioni *owner, const QString &name)
    : TVtAttivazione(owner, name)
{
}

TVtAttReport::~TVtAttReport()
{
    if (m_tree && !m_tree->parent())
        delete m_tree.data();
}

int TVtAttReport::GetRptId() const
{
    return m_tree ? m_tree->SelectedRptId() : -1;
}

TVtRptTreeView *TVtAttReport::GetRptTreeView()
{
    if (!m_tree) {
        m_tree = new TVtRptTreeView;
        m_tree->OnRunReport = [this](TVtRptTreeView *, int) { ExecuteFromUi(); };
        m_tree->OnLoad = [this](TVtRptTreeView *tree) { tree->LoadFromVtDB(CodAppl); };
    }
    return m_tree;
}

bool TVtAttReport::DoExecute()
{
    const int id = GetRptId();
    if (id < 0)
        return false;
    if (OnRunReport)
        OnRunReport(this, id);
    else
        GetRptTreeView()->GetfrReport()->PreviewReportFromVtDB(id, TVtRptTreeView::ImageIndexFor(id));
    return true;
}

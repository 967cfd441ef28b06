#include "EbsRFeeGrid.h"
#include "VtDataAction.h"

TfrEbsFeeGrid::TfrEbsFeeGrid(QWidget *parent) : TfrVtDBRWGrid(parent)
{
    // Fee rows are deleted or kept, never marked deleted.
    xacTrash->setVisible(false);
}

void TfrEbsFeeGrid::BindDataSet(TVtQueryCollection *dataSet)
{
    SetDataSet(dataSet);
    RefuseLockedRows();
}

void TfrEbsFeeGrid::SetDeleteOffered(bool on)
{
    m_deleteOffered = on;
    xacDelete->setVisible(on);
    UpdateActions();
}

void TfrEbsFeeGrid::UpdateActions()
{
    TfrVtDBRWGrid::UpdateActions();
    if (!m_deleteOffered) {
        xacDelete->SetAvailable(false);
        xacTrash->SetAvailable(false);
    }
}

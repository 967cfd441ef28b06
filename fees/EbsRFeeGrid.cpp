#include "EbsRFeeGrid.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtException.h"

TfrEbsFeeGrid::TfrEbsFeeGrid(QWidget *parent) : TfrVtDBRWGrid(parent)
{
    // Fee rows are deleted or kept, never marked deleted.
    xacTrash->setVisible(false);
}

void TfrEbsFeeGrid::BindDataSet(TVtQueryCollection *dataSet)
{
    SetDataSet(dataSet);
    if (!dataSet)
        return;
    auto refuseLocked = [this](TVtQueryCollection *) {
        if (RowLocked())
            Abort();
    };
    dataSet->BeforeEdit.Add(this, refuseLocked);
    dataSet->BeforeDelete.Add(this, refuseLocked);
}

bool TfrEbsFeeGrid::RowLocked() const
{
    TVtQueryCollection *ds = DataSet();
    if (!ds || !ds->Active() || ds->IsEmpty() || ds->State() == dsInsert)
        return false;
    TVtField *lock = ds->FindField(QStringLiteral("ILOCKED"));
    return lock && lock->AsInteger() != 0;
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
    if (RowLocked()) {
        xacEdit->SetAvailable(false);
        xacDelete->SetAvailable(false);
        xacTrash->SetAvailable(false);
    }
}

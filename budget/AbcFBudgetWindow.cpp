#include "AbcFBudgetWindow.h"
#include "EbdUGlobals.h"

TfmAbcBudgetWindow::TfmAbcBudgetWindow(QWidget *parent) : TfmVtChildDB(parent)
{
    OnActivate = [this](TfmVtChildDB *) { Activate(); };
}

bool TfmAbcBudgetWindow::StartYear()
{
    if (m_closing)
        return false;
    if (!CheckAnfContext(gAnfValore, gDwgId)) {
        m_closing = true;
        PostClose();
        return false;
    }
    GetAnfDates(gAnfValore, gDwgId, gAnfInizio, gAnfFine);
    return true;
}

void TfmAbcBudgetWindow::RememberContext()
{
    m_anfValore = gAnfValore;
    m_dwgId = gDwgId;
}

void TfmAbcBudgetWindow::Activate()
{
    if (ActivationCount() == 1) {
        RememberContext();
        return;
    }
    if (!StartYear())
        return;
    ShowYear();
    if (gAnfValore != m_anfValore || gDwgId != m_dwgId)
        OpenSlice();
}

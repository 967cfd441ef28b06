#include "AbcRSottoVoci.h"
#include "AbcMVproDBQuery.h"
#include "AbcUVociProgetti.h"
#include "VtDBEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>

using namespace Qt::StringLiterals;

TfrSottoVoci::TfrSottoVoci(QWidget *parent) : TfrAbcBudgetGrid(parent)
{
    setObjectName(u"frFSottoVoci"_s);
    AddColumn(u"SSVODESCS"_s, u"Codice"_s, 80);
    AddColumn(u"SSVODESCL"_s, u"Descrizione"_s, 520);
    AddColumn(u"ContoCompetenza"_s, u"Competenza"_s, 95);
    AddColumn(u"ContoResidui"_s, u"Residui"_s, 80);
    xdeCodice = AddEdit(u"xdeCodice"_s, u"SSVODESCS"_s, u"Codice"_s);
    xdeCodice->SetInput(ecUpperCase, cfDigits, 3);
    xdeDescrizione = AddEdit(u"xdeDescrizione"_s, u"SSVODESCL"_s, u"Descrizione"_s);
    xdeDescrizione->SetInput(ecNormal, cfAny, 82);
    AddAccounts();
    xdsMain->OnDataChange = [this](TVtDataSource *, TVtField *field) {
        if (!field)
            RowShown();
    };
    xacDelete->SetLocked(true);   // trashed, never deleted
}

bool TfrSottoVoci::ItemHasBoth() const
{
    return dmVproDBQuery->VproCompetenza && dmVproDBQuery->VproResidui;
}

void TfrSottoVoci::SetBoxes(bool competenza, bool residui)
{
    ckCompetenza->setChecked(competenza);
    ckResidui->setChecked(residui);
}

// The boxes follow the row; free only when the item has both accounts and
// the row is not locked.
void TfrSottoVoci::RowShown()
{
    if (xdsMain->Editing())
        return;
    TVtQueryCollection *ds = DataSet();
    TdmVproDBQuery *m = dmVproDBQuery;
    if (!ds || !ds->Active() || ds->IsEmpty()) {
        SetBoxes(false, false);
        ckCompetenza->setEnabled(true);
        ckResidui->setEnabled(true);
        m->SvoCompetenza = m->SvoResidui = false;
        return;
    }
    SetBoxes(ds->FieldByName(u"ContoCompetenza"_s)->AsString() == u"SI"_s,
             ds->FieldByName(u"ContoResidui"_s)->AsString() == u"SI"_s);
    m->SvoCompetenza = ckCompetenza->isChecked();
    m->SvoResidui = ckResidui->isChecked();
    const bool free = ItemHasBoth() && ds->FieldByName(u"ILOCKED"_s)->AsInteger() <= 0;
    ckCompetenza->setEnabled(free);
    ckResidui->setEnabled(free);
}

void TfrSottoVoci::DoInsert()
{
    if (!UserMayWriteBudget())
        return;
    const bool hadRows = DataSet() && DataSet()->Active() && !DataSet()->IsEmpty();
    TfrVtDBRWGrid::DoInsert();
    if (!xdsMain->Editing())
        return;
    TdmVproDBQuery *m = dmVproDBQuery;
    if (!ItemHasBoth()) {
        SetBoxes(m->VproCompetenza, m->VproResidui);
        ckCompetenza->setEnabled(false);
        ckResidui->setEnabled(false);
    } else {
        ckCompetenza->setEnabled(true);
        ckResidui->setEnabled(true);
        if (hadRows)
            SetBoxes(false, false);
    }
    m->SvoCompetenza = m->SvoResidui = false;
    FieldByName(u"SSVODESCS"_s)->SetAsString(NextSvoCode(m->CurrentVproId));
}

void TfrSottoVoci::DoTrash()
{
    if (UserMayWriteBudget() && DataSet() && !DataSet()->IsEmpty())
        TrashUnlessReferenced(SvoIsReferenced(FieldByName(u"ISVOID"_s)->AsInteger()));
}

void TfrSottoVoci::DoCancel()
{
    TfrVtDBRWGrid::DoCancel();
    RowShown();
}

void TfrSottoVoci::DoPost()
{
    if (PostSubItem())
        ShowGrid();
    else
        Abort();
}

bool TfrSottoVoci::PostSubItem()
{
    TVtQueryCollection *ds = DataSet();
    if (!ds || !xdsMain->Editing())
        return true;
    if (!UserMayWriteBudget() || !xdsMain->CommitControls())
        return false;
    TdmVproDBQuery *m = dmVproDBQuery;
    const bool inserting = ds->State() == dsInsert;
    if (inserting && ds->RecordCount() <= 1 && !ItemHasBoth())
        SetBoxes(m->VproCompetenza, m->VproResidui);
    const bool competenza = ckCompetenza->isChecked(), residui = ckResidui->isChecked();
    if (!competenza && !residui)
        return Refuse(u"Attenzione!\r\nAlmeno un conto deve essere selezionato"_s, ckCompetenza);
    const int subItem = inserting ? -1 : FieldByName(u"ISVOID"_s)->AsInteger();
    const bool referenced = !inserting && SvoIsReferenced(subItem);
    if (referenced && ((m->SvoCompetenza && !competenza) || (m->SvoResidui && !residui)))
        return Refuse(u"Attenzione!\r\nL'elemento selezionato non può passare da competenza a residuio viceversa, perchè "
                      "uno o più modelli fanno riferimento ad esso.\r\nE'possibile solamente passare ad entrambi"_s,
                      ckCompetenza);
    const QString code = FieldByName(u"SSVODESCS"_s)->AsString().trimmed();
    if (code.isEmpty())
        return Refuse(u"Attenzione!\r\nCampo obbligatorio \"Codice\""_s, xdeCodice);
    if (referenced) {
        if (SvoIsFrozen(subItem) && code != FieldByName(u"SSVODESCS"_s)->OldValue().toString().trimmed())
            return Refuse(u"Attenzione!\r\nL'elemento selezionato non può essere modificato perchè esistono uno o più "
                          "modelli congelati che fanno riferimento ad esso"_s, xdeCodice);
        if (VtMessageDlg(u"Attenzione!\r\nAggiornando l'elemento selezionato \r\nsi aggiorneranno automaticamente anche "
                         "tutti i modelli che fanno riferimento ad esso.\r\nContinuare?"_s,
                         mtWarning, mbYes | mbNo, u"Attenzione !"_s) != mrYes)
            return false;
    }
    m->SvoCorId = competenza && residui ? 3 : competenza ? 1 : 2;
    FieldByName(u"ICORID"_s)->SetAsInteger(m->SvoCorId);
    if (!PostEdit())
        return false;
    m->SvoCompetenza = competenza;
    m->SvoResidui = residui;
    return true;
}

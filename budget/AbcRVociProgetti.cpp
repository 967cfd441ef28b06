#include "AbcRVociProgetti.h"
#include "AbcMVproDBQuery.h"
#include "AbcUVociProgetti.h"
#include "EbdUGlobals.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBLookupEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"
#include "VtSQLConnection.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString AggregateList =
    u" SELECT TAGG_AGGREGATI.IAGGID, TAGG_AGGREGATI.SAGGDESCS, TAGG_AGGREGATI.SAGGDESCL FROM TAGG_AGGREGATI"
    " WHERE ##WHERE## AND (TAGG_AGGREGATI.DDELETE IS NULL) AND (TAGG_AGGREGATI.IFLSID = :IFLSID)"
    " AND (TAGG_AGGREGATI.ITITOID = :ITITOID) AND (TAGG_AGGREGATI.DSTART <= :DFINE)"
    " AND ((TAGG_AGGREGATI.DEND > :DINIZIO) OR (TAGG_AGGREGATI.DEND IS NULL))"_s;
// The search form lists the slice's open aggregates of the owner or shared.
const QString AggregateSearch =
    u" SELECT TAGG_AGGREGATI.IAGGID, TAGG_AGGREGATI.SAGGDESCS, TAGG_AGGREGATI.SAGGDESCL FROM TAGG_AGGREGATI"
    " WHERE (TAGG_AGGREGATI.IFLSID = :IFLSID) AND (TAGG_AGGREGATI.ITITOID = :ITITOID)"
    " AND (TAGG_AGGREGATI.DSTART <= :DFINE) AND ((TAGG_AGGREGATI.DEND > :DINIZIO) OR (TAGG_AGGREGATI.DEND IS NULL))"
    " AND ((TAGG_AGGREGATI.IDWGID = :IDWGID) OR (TAGG_AGGREGATI.IDWGID IS NULL))"
    " AND (TAGG_AGGREGATI.DDELETE IS NULL) AND (TAGG_AGGREGATI.DEND IS NULL)"_s;

QString Day(const QDate &d)
{
    return d.toString(u"dd/MM/yyyy"_s);
}

const QString Frozen = u"Attenzione!\r\nL'elemento selezionato non può essere modificato perchè esistono uno o più "
                       "modelli congelati che fanno riferimento ad esso"_s;
const QString AccountsNarrowed = u"Attenzione!\r\nL'elemento selezionato non può passare da competenza a residuio "
                                 "viceversa, perchè uno o più modelli fanno riferimento ad esso.\r\nE'possibile "
                                 "solamente passare ad entrambi"_s;
const QString UpdateModels = u"Attenzione!\r\nAggiornando l'elemento selezionato \r\nsi aggiorneranno automaticamente "
                             "anche tutti i modelli che fanno riferimento ad esso.\r\nContinuare?"_s;
const QString NoAccount = u"Attenzione!\r\nAlmeno un conto deve essere selezionato"_s;
const QString CodeRequired = u"Attenzione!\r\nCampo obbligatorio \"Codice\""_s;
} // namespace

TfrVociProgetti::TfrVociProgetti(QWidget *parent) : TfrAbcBudgetGrid(parent)
{
    setObjectName(u"frFVoci"_s);
    AddCaption();

    AddColumn(u"SVPROCOD"_s, u"Codice"_s, 80);
    AddColumn(u"SVPRODESCS"_s, u"Descrizione"_s, 420);
    AddColumn(u"SAGGDESCL"_s, u"Aggregato"_s, 320);
    AddColumn(u"ContoCompetenza"_s, u"Competenza"_s, 95);
    AddColumn(u"ContoResidui"_s, u"Residui"_s, 80);

    xdlAggregato = AddLookup(u"xdlAggregato"_s, u"IAGGID"_s, u"Aggregato"_s, AggregateList, u"TAGG_AGGREGATI.IAGGID"_s,
                             u"TAGG_AGGREGATI.SAGGDESCL"_s);
    xdlAggregato->SetSearchForm(u"Aggregati"_s, 600, {{u"SAGGDESCS"_s, u"Codice"_s, 120, true},
                                                     {u"SAGGDESCL"_s, u"Descrizione"_s, 420, true}});
    xdlAggregato->SetCopyFields({u"SAGGDESCS"_s, u"SAGGDESCL"_s});
    xdlAggregato->OnSetSearchQuery = [](TVtDBLookupEdit *, QString &sql) { sql = AggregateSearch; };
    xdlAggregato->OnChangeFKValue = [this](TVtDBLookupEdit *, const QVariant &key) { AggregateChosen(key); };
    xdeCodice = AddEdit(u"xdeCodice"_s, u"SVPROCOD"_s, u"Codice"_s);
    xdeDescrizione = AddEdit(u"xdeDescrizione"_s, u"SVPRODESCS"_s, u"Descrizione"_s);
    xdeDescrizione->SetInput(ecNormal, cfAny, 80);
    AddAccounts();
    xddDataInizio = AddDateEdit(u"xddDataInizio"_s, u"DSTART"_s, u"Data inizio"_s, true);
    xddDataFine = AddDateEdit(u"xddDataFine"_s, u"DEND"_s, u"Data fine"_s, true);
    for (QCheckBox *c : {ckCompetenza, ckResidui})
        connect(c, &QCheckBox::clicked, this, [this] { BoxClicked(); });
    xdsMain->OnDataChange = [this](TVtDataSource *, TVtField *field) {
        if (!field)
            RowShown();
    };
    // Items are trashed, never deleted: a delete, with no statement behind
    // it, would drop the row from the list and leave it in the table.
    xacDelete->SetLocked(true);
    SetSlice(2, 1);
}

void TfrVociProgetti::SetSlice(int flsId, int titoId)
{
    m_flsId = flsId;
    m_titoId = titoId;
    xdeCodice->SetInput(ecUpperCase, flsId == 1 ? cfDigits : cfAny, flsId == 1 ? 2 : 5);
    RefreshCaption();
}

QString TfrVociProgetti::SliceCaption() const
{
    return (m_flsId == 1 ? u"Voci Progetti - Entrate"_s : u"Voci Progetti - Uscite"_s)
        + (m_titoId == 1 ? u" - In totale"_s : u" - Fuori totale"_s);
}

void TfrVociProgetti::BindAggregateList()
{
    TVtParams &p = xdlAggregato->ListParams();
    p.Clear();
    p.CreateParam(QMetaType::Int, u"IFLSID"_s)->SetValue(m_flsId);
    p.CreateParam(QMetaType::Int, u"ITITOID"_s)->SetValue(m_titoId);
    p.CreateParam(QMetaType::QDate, u"DFINE"_s)->SetValue(gAnfFine);
    p.CreateParam(QMetaType::QDate, u"DINIZIO"_s)->SetValue(gAnfInizio);
    p.CreateParam(QMetaType::Int, u"IDWGID"_s)->SetValue(gDwgId);
}

// The boxes follow the row's accounts; a locked row keeps them.
void TfrVociProgetti::SetBoxesFromRow()
{
    TVtQueryCollection *ds = DataSet();
    const bool row = ds && ds->Active() && !ds->IsEmpty();
    m_settingBoxes = true;
    ckCompetenza->setChecked(row && ds->FieldByName(u"ContoCompetenza"_s)->AsString() == u"SI"_s);
    ckResidui->setChecked(row && ds->FieldByName(u"ContoResidui"_s)->AsString() == u"SI"_s);
    m_settingBoxes = false;
    dmVproDBQuery->VproCompetenza = ckCompetenza->isChecked();
    dmVproDBQuery->VproResidui = ckResidui->isChecked();
    const bool locked = row && ds->FieldByName(u"ILOCKED"_s)->AsInteger() >= 1;
    ckCompetenza->setEnabled(!locked);
    ckResidui->setEnabled(!locked);
}

void TfrVociProgetti::RowShown()
{
    if (!xdsMain->Editing())
        SetBoxesFromRow();
}

// A box changed while browsing the detail page starts an edit.
void TfrVociProgetti::BoxClicked()
{
    if (m_settingBoxes || xdsMain->Editing() || !DetailShown())
        return;
    if (ckCompetenza->isChecked() != dmVproDBQuery->VproCompetenza
        || ckResidui->isChecked() != dmVproDBQuery->VproResidui) {
        const bool competenza = ckCompetenza->isChecked(), residui = ckResidui->isChecked();
        xacEdit->trigger();
        if (xdsMain->Editing()) {
            ckCompetenza->setChecked(competenza);
            ckResidui->setChecked(residui);
        } else {
            SetBoxesFromRow();
        }
    }
}

// A new aggregate proposes the next code of its items.
void TfrVociProgetti::AggregateChosen(const QVariant &key)
{
    TVtQueryCollection *ds = DataSet();
    if (!ds || !xdsMain->Editing() || key.isNull() || key == ds->FieldByName(u"IAGGID"_s)->OldValue())
        return;
    const int item = ds->State() == dsInsert ? -1 : ds->FieldByName(u"IVPROID"_s)->AsInteger();
    ds->FieldByName(u"SVPROCOD"_s)->SetAsString(DefaultVproCode(key.toInt(), item));
}

void TfrVociProgetti::DoInsert()
{
    if (!UserMayWriteBudget())
        return;
    TfrVtDBRWGrid::DoInsert();
    if (!xdsMain->Editing())
        return;
    m_settingBoxes = true;
    ckCompetenza->setChecked(false);
    ckResidui->setChecked(false);
    m_settingBoxes = false;
    ckCompetenza->setEnabled(true);
    ckResidui->setEnabled(true);
    dmVproDBQuery->VproCompetenza = dmVproDBQuery->VproResidui = false;
    FieldByName(u"DSTART"_s)->SetAsDate(gAnfInizio);
    FieldByName(u"DEND"_s)->SetAsDate(gAnfFine);
}

// What a model refers to is never narrowed to nothing.
void TfrVociProgetti::DoTrash()
{
    if (UserMayWriteBudget() && DataSet() && !DataSet()->IsEmpty())
        TrashUnlessReferenced(VproIsReferenced(FieldByName(u"IVPROID"_s)->AsInteger()));
}

void TfrVociProgetti::DoCancel()
{
    TfrVtDBRWGrid::DoCancel();
    SetBoxesFromRow();
}

void TfrVociProgetti::DoPost()
{
    if (PostItem())
        ShowGrid();
    else
        Abort();
}

bool TfrVociProgetti::PostItem()
{
    TVtQueryCollection *ds = DataSet();
    if (!ds || !xdsMain->Editing())
        return true;
    if (!UserMayWriteBudget())
        return false;
    if (!xdsMain->CommitControls())
        return false;
    TdmVproDBQuery *m = dmVproDBQuery;
    const bool inserting = ds->State() == dsInsert;
    const int item = inserting ? -1 : FieldByName(u"IVPROID"_s)->AsInteger();
    const QDate start = FieldByName(u"DSTART"_s)->AsDate();
    const QDate end = FieldByName(u"DEND"_s)->AsDate();
    if (!start.isValid())
        return Refuse(u"Attenzione!\r\nCampo obbligatorio \"Data inizio\""_s, xddDataInizio);
    m->VproStart = start;
    m->VproEnd = end;
    if (start > gAnfFine)
        return Refuse(u"Attenzione!\r\nLa data di avvio della voce non può essere accettata \r\nin quanto non rientra "
                      "nell'esercizio finanziario selezionato \r\nData avvio massima: "_s + Day(gAnfFine), xddDataInizio);
    if (inserting && start < gAnfInizio)
        return Refuse(u"Attenzione!\r\nLa data di avvio della voce non può essere accettata \r\nin quanto non rientra "
                      "nell'esercizio finanziario di inserimento \r\nData avvio minima: "_s + Day(gAnfInizio), xddDataInizio);
    const bool referenced = !inserting && VproIsReferenced(item);
    if (referenced && start > FieldByName(u"DSTART"_s)->OldValue().toDate())
        return Refuse(u"Attenzione!\r\nLa data di avvio della voce o progetto non può essere posticipata perchè esistono "
                      "uno o più modelli che fanno riferimento ad essa"_s, xddDataInizio);
    if (end.isValid()) {
        if (end <= gAnfInizio)
            return Refuse(u"Attenzione!\r\nLa data di chiusura della voce non può essere accettata in quanto non rientra "
                          "nell'esercizio finanziario selezionato.\r\nData chiusura minima: "_s + Day(gAnfInizio.addDays(1)),
                          xddDataFine);
        if (referenced) {
            const QDate last = VproMaxModelEnd(item);
            if (last.isValid() && end <= last)
                return Refuse(u"Attenzione ! \r\nLa data di chiusura della voce o progetto deve essere posticipata perchè "
                              "esistono uno o più modelli che fanno riferimento ad essa.\r\nData chiusura minima: "_s
                                  + Day(last.addDays(1)), xddDataFine);
        }
        if (start > end)
            return Refuse(u"Attenzione!\r\nLa data di fine deve essere maggiore o uguale alla data d'inizio"_s, xddDataFine);
    }
    const bool competenza = ckCompetenza->isChecked(), residui = ckResidui->isChecked();
    if (!competenza && !residui)
        return Refuse(NoAccount, ckCompetenza);
    if (referenced && ((m->VproCompetenza && !competenza) || (m->VproResidui && !residui)))
        return Refuse(AccountsNarrowed, ckCompetenza);
    const QVariant aggregate = FieldByName(u"IAGGID"_s)->Value();
    if (aggregate.isNull())
        return Refuse(u"Attenzione! \r\nCampo obbligatorio \"Aggregato\""_s, xdlAggregato);
    const QString code = FieldByName(u"SVPROCOD"_s)->AsString().trimmed();
    if (code.isEmpty())
        return Refuse(CodeRequired, xdeCodice);
    const QString prefix = FieldByName(u"SAGGDESCS"_s)->AsString().trimmed();
    if (!CodeMatchesPrefix(code, prefix))
        return Refuse(u"Attenzione!\r\nIl codice immesso è errato\r\nCodice consentito: %1 + numero"_s.arg(prefix), xdeCodice);
    if (referenced) {
        // The aggregate is compared by its key: two aggregates may share a description.
        const bool aggregateChanged = aggregate != FieldByName(u"IAGGID"_s)->OldValue();
        const bool codeChanged = code != FieldByName(u"SVPROCOD"_s)->OldValue().toString().trimmed();
        if (VproIsFrozen(item) && (codeChanged || aggregateChanged))
            return Refuse(Frozen, xdeCodice);
        if (VtMessageDlg(UpdateModels, mtWarning, mbYes | mbNo, u"Attenzione !"_s) != mrYes)
            return false;
        if (aggregateChanged)
            return Refuse(u"Attenzione!\r\nImpossibile cambiare l'aggregato della voce o progetto perchè ci sono uno o "
                          "più modelli che fanno riferimento ad essa"_s, xdlAggregato);
    }
    if (!VproCodeIsFree(item, aggregate.toInt(), code, gAnfInizio, gAnfFine))
        return Refuse(u"Attenzione!\r\nEsiste una voce o progetto con lo stesso codice.Cambiare codice o data di fine "
                      "del progetto."_s, xdeCodice);
    ds->SQLInsert.Clear();
    ds->SQLInsert.Add(u"INSERT INTO TVPRO_VOCIPROGETTI (IVPROID, ICORID, IAGGID, IDWGID, ITCKID, SVPROCOD, SVPRODESCS, "
                      "DSTART, DEND) VALUES (:VTGENID, :ICORID, :IAGGID, :IDWGID, :ITCKID, :SVPROCOD, :SVPRODESCS, "
                      ":DSTART, :DEND)"_s);
    ds->SQLUpdate.Clear();
    ds->SQLUpdate.Add(u" UPDATE TVPRO_VOCIPROGETTI SET TVPRO_VOCIPROGETTI.ICORID = :ICORID, TVPRO_VOCIPROGETTI.IAGGID = "
                      ":IAGGID, TVPRO_VOCIPROGETTI.SVPROCOD = :SVPROCOD, TVPRO_VOCIPROGETTI.SVPRODESCS = :SVPRODESCS, "
                      "TVPRO_VOCIPROGETTI.DSTART = :DSTART, TVPRO_VOCIPROGETTI.DEND = :DEND WHERE "
                      "TVPRO_VOCIPROGETTI.IVPROID = :VTCURRID"_s);
    m->TckId = aggregate.toInt() == 13 || aggregate.toInt() == 14 ? 2 : -1;
    if (competenza && residui) {
        m->VproCorId = 3;
        ds->SQLUpdate.Add(u" UPDATE TSVO_SOTTOVOCI SET TSVO_SOTTOVOCI.DSTART = :DSTART, TSVO_SOTTOVOCI.DEND = :DEND "
                          "WHERE TSVO_SOTTOVOCI.IVPROID = :IVPROID"_s);
    } else {
        m->VproCorId = competenza ? 1 : 2;
        ds->SQLUpdate.Add(u" UPDATE TSVO_SOTTOVOCI SET TSVO_SOTTOVOCI.DSTART = :DSTART, TSVO_SOTTOVOCI.DEND = :DEND, "
                          "TSVO_SOTTOVOCI.ICORID = :ICORID WHERE TSVO_SOTTOVOCI.IVPROID = :IVPROID"_s);
    }
    m->VproCompetenza = competenza;
    m->VproResidui = residui;
    FieldByName(u"ICORID"_s)->SetAsInteger(m->VproCorId);
    return PostEdit();
}

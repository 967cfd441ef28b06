#include "AbcFVoci.h"
#include "AbcMVproDBQuery.h"
#include "AbcRSottoVoci.h"
#include "AbcRVociProgetti.h"
#include "EbdUGlobals.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"

#include <QApplication>
#include <QCloseEvent>

using namespace Qt::StringLiterals;

TfmVoci::TfmVoci(QWidget *parent) : TfmAbcBudgetWindow(parent)
{
    setObjectName(u"fmVoci"_s);
    setWindowTitle(u"Voci e Progetti"_s);
    setMinimumSize(640, 480);
    setWindowState(windowState() | Qt::WindowMaximized);
    if (!dmVproDBQuery)
        new TdmVproDBQuery(qApp);   // opened without the commands (the commands create it first)
    frFVoci = new TfrVociProgetti(this);
    frFSottoVoci = new TfrSottoVoci(this);
    AddFrame(frFVoci, 3);
    AddFrame(frFSottoVoci, 2);
    frFVoci->SetDataSet(dmVproDBQuery->xqcVoci);
    frFSottoVoci->SetDataSet(dmVproDBQuery->xqcSottoVoci);
    for (TVtDataSource *s : {frFVoci->xdsMain, frFSottoVoci->xdsMain})
        s->OnStateChange.Add(this, [this](TVtDataSource *) { FollowEditing(); });

    if (gFlsId == 2 && !UserMayWriteBudget()) {
        VtMessageDlg(u"Attenzione!\r\nL'utente non ha i diritti di scrittura e modifica."_s, mtInformation, mbOK);
        for (TVtDataAction *a : {frFVoci->xacInsert, frFVoci->xacEdit, frFVoci->xacTrash, frFVoci->xacPost})
            a->SetLocked(true);
    }
    if (!StartYear())
        return;
    frFVoci->SetSlice(gFlsId, gTitoId);
    if (gFlsId == 1)   // incoming items are read-only here
        for (TVtDataAction *a : {frFVoci->xacInsert, frFVoci->xacEdit, frFVoci->xacTrash})
            a->SetLocked(true);
    else
        frFSottoVoci->hide();
    frFVoci->SetYearCaption(u"Esercizio Finanziario : %1"_s.arg(gAnfValore));   // at creation, as written
    OpenSlice();
}

void TfmVoci::ShowYear()
{
    frFVoci->SetYearCaption(u"Esercizio Finanziario %1"_s.arg(gAnfValore));
}

QString TfmVoci::ItemsSql()
{
    return u"SELECT TVPRO_VOCIPROGETTI.*, TAGG_AGGREGATI.SAGGDESCS, TAGG_AGGREGATI.SAGGDESCL FROM TVPRO_VOCIPROGETTI"
           " JOIN TAGG_AGGREGATI ON (TAGG_AGGREGATI.IAGGID = TVPRO_VOCIPROGETTI.IAGGID AND TAGG_AGGREGATI.DDELETE IS NULL)"
           " WHERE (TAGG_AGGREGATI.IFLSID = :IFLSID) AND (TAGG_AGGREGATI.ITITOID = :ITITOID)"
           " AND ((TAGG_AGGREGATI.IDWGID = :IDWGID) OR (TAGG_AGGREGATI.IDWGID IS NULL))"
           " AND ((TVPRO_VOCIPROGETTI.IDWGID = :IDWGID) OR (TVPRO_VOCIPROGETTI.IDWGID IS NULL))"
           " AND (TAGG_AGGREGATI.DSTART <= :DFINE) AND ((TAGG_AGGREGATI.DEND > :DINIZIO) OR (TAGG_AGGREGATI.DEND IS NULL))"
           " AND (TVPRO_VOCIPROGETTI.DSTART <= :DFINE)"
           " AND ((TVPRO_VOCIPROGETTI.DEND > :DINIZIO) OR (TVPRO_VOCIPROGETTI.DEND IS NULL))"
           " AND (TVPRO_VOCIPROGETTI.DDELETE IS NULL)"
           " ORDER BY TAGG_AGGREGATI.SAGGDESCS, TVPRO_VOCIPROGETTI.SVPROCOD"_s;
}

// The aggregates' list, the sub-items' owner and the items of the slice.
void TfmVoci::OpenSlice()
{
    frFVoci->BindAggregateList();
    TVtQueryCollection *items = dmVproDBQuery->xqcVoci;
    dmVproDBQuery->xqcSottoVoci->Close();
    dmVproDBQuery->xqcSottoVoci->Params().ParamByName(u"IDWGID"_s)->SetValue(gDwgId);
    items->Close();
    items->CommandText = ItemsSql();
    items->Params().Clear();
    items->Params().CreateParam(QMetaType::Int, u"IFLSID"_s)->SetValue(frFVoci->FlsId());
    items->Params().CreateParam(QMetaType::Int, u"ITITOID"_s)->SetValue(frFVoci->TitoId());
    items->Params().CreateParam(QMetaType::Int, u"IDWGID"_s)->SetValue(gDwgId);
    items->Params().CreateParam(QMetaType::QDate, u"DFINE"_s)->SetValue(gAnfFine);
    items->Params().CreateParam(QMetaType::QDate, u"DINIZIO"_s)->SetValue(gAnfInizio);
    items->Open();
    RememberContext();
}

// While one frame inserts or edits, the other waits.
void TfmVoci::FollowEditing()
{
    const bool items = frFVoci->xdsMain->Editing();
    const bool subItems = frFSottoVoci->xdsMain->Editing();
    frFSottoVoci->setEnabled(!items);
    frFVoci->setEnabled(!subItems);
}

bool TfmVoci::ConfirmSaveOnClose()
{
    for (TfrVtDBRWGrid *frame : {static_cast<TfrVtDBRWGrid *>(frFVoci), static_cast<TfrVtDBRWGrid *>(frFSottoVoci)}) {
        if (!frame->xdsMain->Editing())
            continue;
        const int answer = VtMessageDlg(u"Salvare le modifiche prima di chiudere?"_s, mtConfirmation,
                                        mbYes | mbNo | mbCancel, windowTitle());
        if (answer == mrCancel)
            return false;
        if (answer == mrYes) {
            const bool saved = frame == frFVoci ? frFVoci->PostItem() : frFSottoVoci->PostSubItem();
            if (!saved)
                return false;
            frame->ShowGrid();
        } else {
            frame->xacCancel->trigger();
        }
    }
    return true;
}

bool TfmVoci::CloseQuery()
{
    return ConfirmSaveOnClose() && TfmVtChildDB::CloseQuery();
}

void TfmVoci::closeEvent(QCloseEvent *event)
{
    TfmVtChildDB::closeEvent(event);
    if (!event->isAccepted() || !dmVproDBQuery)
        return;
    dmVproDBQuery->xqcSottoVoci->Close();
    dmVproDBQuery->xqcVoci->Close();
}

#include "AbcFAggregati.h"
#include "AbcMVproDBQuery.h"
#include "AbcRAggregati.h"
#include "AbcUVociProgetti.h"
#include "EbdUGlobals.h"
#include "VtParams.h"
#include "VtQueryCollection.h"

#include <QApplication>
#include <QCloseEvent>

using namespace Qt::StringLiterals;

TfmAggregati::TfmAggregati(QWidget *parent) : TfmAbcBudgetWindow(parent)
{
    setObjectName(u"fmAggregati"_s);
    setWindowTitle(u"Aggregati"_s);
    setWindowState(windowState() | Qt::WindowMaximized);
    if (!dmVproDBQuery)
        new TdmVproDBQuery(qApp);   // opened without the commands (the commands create it first)
    frFAggregati = new TfrAggregati(this);
    AddFrame(frFAggregati);
    if (!StartYear())
        return;
    frFAggregati->SetSlice(gFlsId, gTitoId);
    ShowYear();
    frFAggregati->SetDataSet(dmVproDBQuery->xqcAggregati);
    frFAggregati->ShowGrid();
    OpenSlice();
}

void TfmAggregati::ShowYear()
{
    frFAggregati->SetYearCaption(u"Esercizio Finanziario %1"_s.arg(gAnfValore));
}

QString TfmAggregati::SliceSql()
{
    return u" SELECT TAGG_AGGREGATI.IAGGID, TAGG_AGGREGATI.IFLSID, TAGG_AGGREGATI.ITITOID, TAGG_AGGREGATI.IDWGID,"
           " TAGG_AGGREGATI.SAGGDESCS, TAGG_AGGREGATI.SAGGDESCL, TAGG_AGGREGATI.DSTART, TAGG_AGGREGATI.DEND,"
           " TAGG_AGGREGATI.DDELETE, TAGG_AGGREGATI.ILOCKED FROM TAGG_AGGREGATI"
           " JOIN TFLS_FLUSSOCASSA ON (TAGG_AGGREGATI.IFLSID = TFLS_FLUSSOCASSA.IFLSID AND TFLS_FLUSSOCASSA.DDELETE IS NULL)"
           " JOIN TTITO_TIPOTOTALE ON (TAGG_AGGREGATI.ITITOID = TTITO_TIPOTOTALE.ITITOID AND TTITO_TIPOTOTALE.DDELETE IS NULL)"
           " WHERE (TAGG_AGGREGATI.DDELETE IS NULL) AND (TFLS_FLUSSOCASSA.IFLSID = :IFLSID)"
           " AND (TTITO_TIPOTOTALE.ITITOID = :ITITOID)"
           " AND ((TAGG_AGGREGATI.IDWGID = :IDWGID) OR (TAGG_AGGREGATI.IDWGID IS NULL))"
           " AND (TAGG_AGGREGATI.DSTART <= :DFINE) AND ((TAGG_AGGREGATI.DEND > :DINIZIO) OR (TAGG_AGGREGATI.DEND IS NULL))"
           " ORDER BY TAGG_AGGREGATI.SAGGDESCS"_s;
}

// The slice of the frame for the working year and owner.
void TfmAggregati::OpenSlice()
{
    TVtQueryCollection *q = dmVproDBQuery->xqcAggregati;
    q->Close();
    q->CommandText = SliceSql();
    q->Params().Clear();
    q->Params().CreateParam(QMetaType::Int, u"IFLSID"_s)->SetValue(frFAggregati->FlsId());
    q->Params().CreateParam(QMetaType::Int, u"ITITOID"_s)->SetValue(frFAggregati->TitoId());
    q->Params().CreateParam(QMetaType::Int, u"IDWGID"_s)->SetValue(gDwgId);
    q->Params().CreateParam(QMetaType::QDate, u"DFINE"_s)->SetValue(gAnfFine);
    q->Params().CreateParam(QMetaType::QDate, u"DINIZIO"_s)->SetValue(gAnfInizio);
    q->Open();
    RememberContext();
}

void TfmAggregati::closeEvent(QCloseEvent *event)
{
    TfmVtChildDB::closeEvent(event);
    if (event->isAccepted() && dmVproDBQuery && dmVproDBQuery->xqcAggregati->Active())
        dmVproDBQuery->xqcAggregati->Close();
}

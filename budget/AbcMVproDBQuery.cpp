#include "AbcMVproDBQuery.h"
#include "AbcUVociProgetti.h"
#include "EbdUGlobals.h"
#include "VtQueryCollection.h"
#include "VtSQLQuery.h"

using namespace Qt::StringLiterals;

TdmVproDBQuery *dmVproDBQuery = nullptr;

namespace {
constexpr int Packet = 25;

void CalcAccounts(TVtQueryCollection *ds)
{
    const int kind = ds->FieldByName(u"ICORID"_s)->AsInteger();
    ds->FieldByName(u"ContoCompetenza"_s)->SetAsString(TdmVproDBQuery::Competenza(kind));
    ds->FieldByName(u"ContoResidui"_s)->SetAsString(TdmVproDBQuery::Residui(kind));
}

void AddAccountFields(TVtQueryCollection *q)
{
    for (const QString &name : {u"ContoCompetenza"_s, u"ContoResidui"_s})
        q->AddCalcField(name, QMetaType::QString, 2)->Alignment = int(Qt::AlignCenter);
    q->OnCalcFields = [](TVtQueryCollection *ds) { CalcAccounts(ds); };
}

void Declare(TVtQueryCollection *q, const QString &name, const QString &key, const QString &table)
{
    q->setObjectName(name);
    q->KeyFields = key;
    q->TableName = table;
    q->PacketRecords = Packet;
}

bool Writes(const TVtQueryProp &prop, const QString &table)
{
    return prop.TableName.compare(table, Qt::CaseInsensitive) == 0;
}
}

TdmVproDBQuery::TdmVproDBQuery(QObject *owner)
    : QObject(owner), xqcAggregati(new TVtQueryCollection(this)), xqcVoci(new TVtQueryCollection(this)),
      xqcSottoVoci(new TVtQueryCollection(this)), qquTmp(new TSQLQuery(this))
{
    setObjectName(u"dmVproDBQuery"_s);
    SetupAggregati();
    SetupVoci();
    SetupSottoVoci();
    if (!dmVproDBQuery)
        dmVproDBQuery = this;
}

TdmVproDBQuery::~TdmVproDBQuery()
{
    if (dmVproDBQuery == this)
        dmVproDBQuery = nullptr;
}

QString TdmVproDBQuery::Competenza(int corId)
{
    return corId == 1 || corId == 3 ? u"SI"_s : corId == 2 ? u"NO"_s : QString();
}

QString TdmVproDBQuery::Residui(int corId)
{
    return corId == 2 || corId == 3 ? u"SI"_s : corId == 1 ? u"NO"_s : QString();
}

// ---------------------------------------------------------------- aggregates

void TdmVproDBQuery::SetupAggregati()
{
    TVtQueryCollection *q = xqcAggregati;
    Declare(q, u"xqcAggregati"_s, u"IAGGID"_s, u"TAGG_AGGREGATI"_s);
    q->CommandText = u"SELECT TAGG_AGGREGATI.*, TFLS_FLUSSOCASSA.SFLSDESCL, TTITO_TIPOTOTALE.STITODESCL FROM TAGG_AGGREGATI"
                     " JOIN TFLS_FLUSSOCASSA ON TAGG_AGGREGATI.IFLSID = TFLS_FLUSSOCASSA.IFLSID"
                     " JOIN TTITO_TIPOTOTALE ON TAGG_AGGREGATI.ITITOID = TTITO_TIPOTOTALE.ITITOID"_s;
    q->SQLInsert.Add(u" INSERT INTO TAGG_AGGREGATI (IAGGID, IDWGID, SAGGDESCS, SAGGDESCL, IFLSID, ITITOID, DSTART, DEND)"
                     " VALUES (:VTGENID, :IDWGID, :SAGGDESCS, :SAGGDESCL, :IFLSID, :ITITOID, :DSTART, :DEND)"_s);
    q->VtBeforeExec = [this](TVtQueryCollection *, TVtQueryProp &prop, bool &) { xqcAggregatiVtBeforeExec(prop); };
}

// A new aggregate belongs to the slice shown, from the year's start.
void TdmVproDBQuery::xqcAggregatiVtBeforeExec(TVtQueryProp &prop)
{
    if (prop.UpdateKind != ukInsert)
        return;
    prop.FieldValues->Add(u"iflsid"_s, gFlsId);
    prop.FieldValues->Add(u"ititoid"_s, gTitoId);
    prop.FieldValues->Add(u"dstart"_s, gAnfInizio);
    prop.FieldValues->Add(u"idwgid"_s, gDwgId);
}

// ---------------------------------------------------------------- items

void TdmVproDBQuery::SetupVoci()
{
    TVtQueryCollection *q = xqcVoci;
    Declare(q, u"xqcVoci"_s, u"IVPROID"_s, u"TVPRO_VOCIPROGETTI"_s);
    AddAccountFields(q);
    q->AfterScroll = [this](TVtQueryCollection *) { xqcVociAfterScroll(); };
    q->VtBeforeExec = [this](TVtQueryCollection *, TVtQueryProp &prop, bool &) { xqcVociVtBeforeExec(prop); };
    q->VtAfterExec = [this](TVtQueryCollection *, TVtQueryProp &prop) { xqcVociVtAfterExec(prop); };
}

// The sub-items follow the current item.
void TdmVproDBQuery::xqcVociAfterScroll()
{
    xqcSottoVoci->Close();
    const QVariant item = xqcVoci->Active() && !xqcVoci->IsEmpty() ? xqcVoci->FieldByName(u"IVPROID"_s)->Value()
                                                                   : QVariant();
    CurrentVproId = item.isNull() ? -1 : item.toInt();
    xqcSottoVoci->Params().ParamByName(u"IVPROID"_s)->SetValue(CurrentVproId);
    xqcSottoVoci->Params().ParamByName(u"IDWGID"_s)->SetValue(gDwgId);
    xqcSottoVoci->Open();
}

void TdmVproDBQuery::xqcVociVtBeforeExec(TVtQueryProp &prop)
{
    const bool write = prop.UpdateKind == ukModify || prop.UpdateKind == ukInsert;
    if (write && Writes(prop, u"TVPRO_VOCIPROGETTI"_s)) {
        prop.FieldValues->Add(u"iCorId"_s, VproCorId);
        prop.FieldValues->Add(u"iDwgId"_s, gDwgId);
        if (prop.UpdateKind == ukInsert && TckId != -1)
            prop.FieldValues->Add(u"iTckId"_s, TckId);
    } else if (prop.UpdateKind == ukModify && Writes(prop, u"TSVO_SOTTOVOCI"_s)) {
        // The item's second update: its sub-items follow its dates (and kind).
        prop.FieldValues->Add(u"dStart"_s, VproStart);
        prop.FieldValues->Add(u"dEnd"_s, VproEnd.isValid() ? QVariant(VproEnd) : QVariant(QMetaType(QMetaType::QDate)));
        prop.FieldValues->Add(u"iCorId"_s, VproCorId);
        prop.FieldValues->Add(u"iVproId"_s, CurrentVproId);
    }
}

void TdmVproDBQuery::xqcVociVtAfterExec(TVtQueryProp &prop)
{
    if (prop.UpdateKind == ukInsert && Writes(prop, u"TVPRO_VOCIPROGETTI"_s))
        CurrentVproId = prop.FieldValues->GetValues(u"VTGENID"_s).toInt();
}

// ---------------------------------------------------------------- sub-items

void TdmVproDBQuery::SetupSottoVoci()
{
    TVtQueryCollection *q = xqcSottoVoci;
    Declare(q, u"xqcSottoVoci"_s, u"ISVOID"_s, u"TSVO_SOTTOVOCI"_s);
    q->CommandText = u"SELECT TSVO_SOTTOVOCI.* FROM TSVO_SOTTOVOCI WHERE TSVO_SOTTOVOCI.IVPROID = :IVPROID"
                     " AND (TSVO_SOTTOVOCI.IDWGID = :IDWGID OR TSVO_SOTTOVOCI.IDWGID IS NULL)"
                     " ORDER BY TSVO_SOTTOVOCI.SSVODESCS"_s;
    q->Params().CreateParam(QMetaType::Int, u"IVPROID"_s)->SetValue(-1);
    q->Params().CreateParam(QMetaType::Int, u"IDWGID"_s)->SetValue(-1);
    AddAccountFields(q);
    q->SQLInsert.Add(u" INSERT INTO TSVO_SOTTOVOCI (ISVOID, ICORID, IDWGID, IVPROID, SSVODESCS, SSVODESCL, DSTART, DEND)"
                     " VALUES (:VTGENID, :ICORID, :IDWGID, :IVPROID, :SSVODESCS, :SSVODESCL, :DSTART, :DEND)"_s);
    q->SQLUpdate.Add(u" UPDATE TSVO_SOTTOVOCI SET TSVO_SOTTOVOCI.ICORID = :ICORID, TSVO_SOTTOVOCI.SSVODESCS = :SSVODESCS,"
                     " TSVO_SOTTOVOCI.SSVODESCL = :SSVODESCL, TSVO_SOTTOVOCI.DSTART = :DSTART,"
                     " TSVO_SOTTOVOCI.DEND = :DEND WHERE TSVO_SOTTOVOCI.ISVOID = :VTCURRID"_s);
    q->VtBeforeExec = [this](TVtQueryCollection *, TVtQueryProp &prop, bool &) { xqcSottoVociVtBeforeExec(prop); };
}

// A sub-item takes its item, the item's dates, its own kind and the owner.
void TdmVproDBQuery::xqcSottoVociVtBeforeExec(TVtQueryProp &prop)
{
    if ((prop.UpdateKind != ukModify && prop.UpdateKind != ukInsert) || !Writes(prop, u"TSVO_SOTTOVOCI"_s))
        return;
    prop.FieldValues->Add(u"iVproId"_s, CurrentVproId);
    prop.FieldValues->Add(u"dStart"_s, xqcVoci->FieldByName(u"DSTART"_s)->Value());
    const QVariant end = xqcVoci->FieldByName(u"DEND"_s)->Value();
    if (!end.isNull())
        prop.FieldValues->Add(u"dEnd"_s, end);
    prop.FieldValues->Add(u"iCorId"_s, SvoCorId);
    prop.FieldValues->Add(u"iDwgId"_s, gDwgId);
}

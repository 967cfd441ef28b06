#include "EbsMDataSets.h"
#include "dmVtRptFR.h"
#include "EbdMConn.h"
#include "EbdUContext.h"
#include "EbdUGlobals.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtSQLQuery.h"

using namespace Qt::StringLiterals;

TdmEbsDataSets *dmEbsDataSets = nullptr;

namespace {
// lCauVuvez of a reason: the minimum lCcaVuvez of its components.
const QString CauVuvezUpdate =
    u" UPDATE TCau_Causali SET lCauVuvez = (SELECT MIN(Cca.lCcaVuvez)              FROM TCca_CompCausali Cca "
    "             INNER JOIN TCauCca Ccc ON (Ccc.iCcaId = Cca.iCcaId)              WHERE Ccc.iCauId = :iCauId) "
    "WHERE iCauId = :iCauId"_s;

// The same for every reason that links the component being updated.
const QString CauVuvezOfComponentUpdate =
    u" UPDATE TCau_Causali Cau SET lCauVuvez = (SELECT MIN(Cca.lCcaVuvez) FROM TCca_CompCausali Cca "
    "INNER JOIN TCauCca Ccc ON (Ccc.iCcaId = Cca.iCcaId) WHERE Ccc.iCauId = Cau.iCauId) "
    "WHERE Cau.iCauId IN (SELECT iCauId FROM TCauCca WHERE iCcaId = :VTCURRID)"_s;

bool IsTable(const TVtQueryProp &prop, const QString &table)
{
    return prop.TableName.compare(table, Qt::CaseInsensitive) == 0;
}

bool IsInsert(const TVtQueryProp &prop)
{
    return prop.SQL.trimmed().startsWith(u"INSERT"_s, Qt::CaseInsensitive);
}

bool IsUpdate(const TVtQueryProp &prop)
{
    return prop.SQL.trimmed().startsWith(u"UPDATE"_s, Qt::CaseInsensitive);
}

// A shared list is read again only while nobody edits it: a refresh would
// post the edit of another window.
void RefreshBrowsing(TVtQueryCollection *q)
{
    if (q && q->State() == dsBrowse)
        q->Refresh();
}

bool Exists(const QString &sql, const QString &name, const QVariant &value)
{
    TSQLQuery q;
    q.SQL = sql;
    q.Params().CreateParam(QMetaType::Int, name)->SetValue(value);
    q.Open();
    const bool found = !q.IsEmpty();
    q.Close();
    return found;
}
}

TdmEbsDataSets::TdmEbsDataSets(QObject *parent)
    : QObject(parent),
      xqcCaus(new TVtQueryCollection(this)),
      xqcCauCca(new TVtQueryCollection(this)),
      xqcCompCaus(new TVtQueryCollection(this)),
      xqcModPagam(new TVtQueryCollection(this))
{
    // Every collection runs on the global connection (Connection left null);
    // reports reach them as "dmEbsDataSets.xqc...".
    setObjectName(QStringLiteral("dmEbsDataSets"));
    xqcCaus->setObjectName(QStringLiteral("xqcCaus"));
    xqcCauCca->setObjectName(QStringLiteral("xqcCauCca"));
    xqcCompCaus->setObjectName(QStringLiteral("xqcCompCaus"));
    xqcModPagam->setObjectName(QStringLiteral("xqcModPagam"));
    TdmVtRptFR::RegisterDataModule(this);
    SetupCaus();
    SetupCauCca();
    SetupCompCaus();
    SetupModPagam();
    if (!dmEbsDataSets)
        dmEbsDataSets = this;
    // The connection module refreshes them after a change of the fee structure.
    if (dmEbdConn) {
        dmEbdConn->AddCompCausView(xqcCompCaus);
        dmEbdConn->AddCompCausView(xqcCaus);
    }
}

TdmEbsDataSets::~TdmEbsDataSets()
{
    if (dmEbsDataSets == this)
        dmEbsDataSets = nullptr;
}

void TdmEbsDataSets::CauAnsBounds(QDate &start, QDate &end)
{
    start = end = QDate();
    const auto year = TEbdContext::Get(TEbdCtx::CauAnsId);
    if (!year)
        return;
    TSQLQuery q;
    q.SQL = u"SELECT dAnsVeltoInizio, dAnsVeltoFine FROM TAns_AnniScolast WHERE iAnsId = :iAnsId"_s;
    q.Params().CreateParam(QMetaType::Int, u"iAnsId"_s)->SetValue(*year);
    q.Open();
    if (!q.IsEmpty()) {
        start = q.Fields(0).toDate();
        end = q.Fields(1).toDate();
    }
    q.Close();
}

void TdmEbsDataSets::AddBounds(TVtFieldValue *values)
{
    QDate start, end;
    CauAnsBounds(start, end);
    values->Add(u"dStart"_s, start.isValid() ? QVariant(start) : QVariant(QMetaType::fromType<QDate>()));
    values->Add(u"dEnd"_s, end.isValid() ? QVariant(end) : QVariant(QMetaType::fromType<QDate>()));
}

// ---------------------------------------------------------------- reasons

void TdmEbsDataSets::SetupCaus()
{
    TVtQueryCollection *q = xqcCaus;
    q->KeyFields = u"ICAUID"_s;
    q->CommandText =
        u" SELECT Cau.iCauId, Cau.sCauLDesc, Cau.sCauSDesc, Cau.iDwgId, Cau.lCauTipo, Cau.lCauVuvez, Cau.dStart, "
        "Cau.dEnd, Cau.iLocked, (SELECT SUM(Cca.fCcaImportoIst)  FROM TCca_CompCausali Cca  INNER JOIN TCauCca Ccc "
        "ON (Ccc.iCcaId = Cca.iCcaId)  WHERE Ccc.iCauId = Cau.iCauId) fCauImportoIst, (SELECT SUM(Cca.fCcaImportoEra)  "
        "FROM TCca_CompCausali Cca  INNER JOIN TCauCca Ccc ON (Ccc.iCcaId = Cca.iCcaId)  WHERE Ccc.iCauId = Cau.iCauId) "
        "fCauImportoEra, Ans.sAnsAnnoDesc  FROM TCau_Causali Cau INNER JOIN VAns_AnniScolast Ans ON "
        "(Ans.dAnsVeltoInizio = Cau.dStart AND Ans.dAnsVeltoFine = Cau.dEnd) WHERE (Ans.iAnsId = :iAnsId) AND "
        "((Cau.lCauVuvez = 1) OR (:ShowAll = 1)) AND (Cau.lCauTipo = :lCauTipo)"_s;
    q->Params().CreateParam(QMetaType::Int, u"iAnsId"_s, ptInput);
    q->Params().CreateParam(QMetaType::Int, u"ShowAll"_s, ptInput);
    q->Params().CreateParam(QMetaType::Int, u"lCauTipo"_s, ptInput);
    q->AddField(u"SCAULDESC"_s, QMetaType::QString, 100)->DisplayLabel = u"Descrizione"_s;
    q->AddField(u"SCAUSDESC"_s, QMetaType::QString, 20)->DisplayLabel = u"Codice"_s;
    q->SQLInsert.Add(
        u" INSERT INTO TCau_Causali (iCauId, sCauLDesc, sCauSDesc, lCauTipo, lCauVuvez, dStart, dEnd, iDwgId) "
        "VALUES (:VTGENID, :sCauLDesc, :sCauSDesc, :lCauTipo, :lCauVuvez, :dStart, :dEnd, :iDwgId)"_s);
    q->SQLUpdate.Add(u" UPDATE TCau_Causali SET sCauLDesc = :sCauLDesc, sCauSDesc = :sCauSDesc WHERE iCauId = :VTCURRID"_s);
    // Reasons are not deleted: no delete statement, and a delete is refused.
    q->VtBeforeExec = [this](TVtQueryCollection *ds, TVtQueryProp &prop, bool &execute) {
        xqcCausVtBeforeExec(ds, prop, execute);
    };
    q->BeforeDelete = [](TVtQueryCollection *) {
        VtMessageDlg(u"Le causali non si possono cancellare."_s, mtInformation, mbOK);
        Abort();
    };
}

void TdmEbsDataSets::xqcCausVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop, bool &)
{
    if (prop.UpdateKind != ukInsert)
        return;
    AddBounds(prop.FieldValues);
    prop.FieldValues->Add(u"lCauTipo"_s, ds->Params().ParamByName(u"lCauTipo"_s)->Value());
    prop.FieldValues->Add(u"lCauVuvez"_s, 1);
}

// ---------------------------------------------------------------- components of a reason

void TdmEbsDataSets::SetupCauCca()
{
    TVtQueryCollection *q = xqcCauCca;
    q->KeyFields = u"ICAUCCAID"_s;
    q->CommandText =
        u" SELECT Ccc.iCauCcaId, Ccc.iLocked, Cca.iCcaId, Cca.sCcaSDesc, Cca.sCcaLDesc, Cca.fCcaImportoEra, "
        "Cca.fCcaImportoIst, Cca.dStart, Cca.dEnd, Ans.sAnsAnnoDesc, Cca.dCcaDataScadenza  FROM TCauCca Ccc INNER "
        "JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Ccc.iCcaId) INNER JOIN VAns_AnniScolast Ans ON "
        "(Ans.dAnsVeltoInizio = Cca.dStart AND Ans.dAnsVeltoFine = Cca.dEnd) WHERE (Ccc.iCauId = :iCauId)"_s;
    q->Params().CreateParam(QMetaType::Int, u"iCauId"_s, ptInput);
    q->SetMaster(xqcCaus, u"iCauId"_s, u"ICAUID"_s);
    q->SQLInsert.Add(u" INSERT INTO TCauCca (iCauCcaId, iCauId, iCcaId, dStart, dEnd) VALUES (:VTGENID, :iCauId, :iCcaId, "
                     ":dStart, :dEnd)"_s);
    q->SQLInsert.Add(CauVuvezUpdate);
    q->SQLInsert.Add(u" UPDATE TCau_Causali SET iDwgId = :iDwgId WHERE iCauId = :iCauId"_s);
    q->SQLUpdate.Add(u" UPDATE TCauCca SET iCcaId = :iCcaId WHERE iCauCcaId = :VTCURRID"_s);
    q->SQLUpdate.Add(CauVuvezUpdate);
    q->SQLDelete.Add(u" DELETE FROM TCauCca WHERE iCauCcaId = :VTCURRID"_s);
    q->SQLDelete.Add(CauVuvezUpdate);
    q->VtBeforeExec = [this](TVtQueryCollection *ds, TVtQueryProp &prop, bool &execute) {
        xqcCauCcaVtBeforeExec(ds, prop, execute);
    };
    // The totals of the reasons and the components' lists change with a
    // link; they are read again once the write is stored.
    q->AfterPost = [this](TVtQueryCollection *ds) { xqcCauCcaAfterWrite(ds); };
    q->AfterDelete = [this](TVtQueryCollection *ds) { xqcCauCcaAfterWrite(ds); };
}

void TdmEbsDataSets::xqcCauCcaVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop, bool &)
{
    const QVariant reason = ds->Params().ParamByName(u"iCauId"_s)->Value();
    if (IsInsert(prop)) {
        prop.FieldValues->Add(u"iCauId"_s, reason);
        AddBounds(prop.FieldValues);
    } else if (IsUpdate(prop) && IsTable(prop, u"TCAU_CAUSALI"_s)) {
        prop.FieldValues->Add(u"iCauId"_s, reason);
        if (prop.UpdateKind == ukInsert && prop.Index == 2) {
            const QVariant owner = ds->EditValue(CauCcaOwner);
            prop.FieldValues->Add(u"iDwgId"_s, owner.isNull() ? QVariant(QMetaType::fromType<int>()) : owner);
        }
    }
}

void TdmEbsDataSets::xqcCauCcaAfterWrite(TVtQueryCollection *)
{
    RefreshBrowsing(xqcCaus);
    if (xqcCompCaus->Active())
        RefreshBrowsing(xqcCompCaus);
}

// ---------------------------------------------------------------- components

void TdmEbsDataSets::SetCompCausStatements(TVtQueryCollection *q)
{
    q->SQLInsert.Clear();
    q->SQLUpdate.Clear();
    q->SQLDelete.Clear();
    q->SQLInsert.Add(
        u" INSERT INTO TCca_CompCausali (iCcaId, sCcaLDesc, sCcaSDesc, iTccId, iAggId, iVproId, iSvoId, iDwgId, "
        "fCcaImportoIst, fCcaImportoEra, lCcaVuvez, lCcaTipo, dStart, dEnd, dCcaDataScadenza) VALUES (:VTGENID, "
        ":sCcaLDesc, :sCcaSDesc, :iTccId, :iAggId, :iVproId, :iSvoId, :iDwgId, :fCcaImportoIst, :fCcaImportoEra, "
        ":lCcaVuvez, :lCcaTipo, :dStart, :dEnd, :dCcaDataScadenza)"_s);
    q->SQLUpdate.Add(
        u" UPDATE TCca_CompCausali SET sCcaLDesc = :sCcaLDesc, sCcaSDesc = :sCcaSDesc, iTccId = :iTccId, iAggId = :iAggId, "
        "iVproId = :iVproId, iSvoId = :iSvoId, iDwgId = :iDwgId, fCcaImportoIst = :fCcaImportoIst, fCcaImportoEra = "
        ":fCcaImportoEra, lCcaVuvez = :lCcaVuvez, dCcaDataScadenza = :dCcaDataScadenza WHERE iCcaId = :VTCURRID"_s);
    // The reasons that bill the component follow its Vuvez flag.
    q->SQLUpdate.Add(CauVuvezOfComponentUpdate);
    q->SQLDelete.Add(u" DELETE FROM TCca_CompCausali  WHERE iCcaId = :VTCURRID"_s);
}

void TdmEbsDataSets::SetupCompCaus()
{
    TVtQueryCollection *q = xqcCompCaus;
    q->KeyFields = u"ICCAID"_s;
    q->CommandText =
        u" SELECT Cca.iCcaId, Cca.sCcaLDesc, Cca.sCcaSDesc, Cca.iTccId, Cca.iAggId, Cca.iVproId, Cca.iSvoId, Cca.iDwgId, "
        "Cca.fCcaImportoEra, Cca.fCcaImportoIst, Cca.lCcaVuvez, Cca.dStart, Cca.dEnd, Cca.iLocked, Tcc.sTccSDesc, "
        "Ans.sAnsAnnoDesc, Cca.dCcaDataScadenza  FROM TCca_CompCausali Cca INNER JOIN TTcc_TipoCompCaus Tcc ON "
        "(Tcc.iTccId = Cca.iTccId) INNER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cca.dStart AND "
        "Ans.dAnsVeltoFine = Cca.dEnd) WHERE (Ans.iAnsId = :iAnsId) AND ((Cca.lCcaVuvez = 1  AND Cca.lCcaTipo = 0) OR "
        "(:ShowAll = 1)) AND (Cca.lCcaTipo = :lCcaTipo)"_s;
    q->Params().CreateParam(QMetaType::Int, u"iAnsId"_s, ptInput);
    q->Params().CreateParam(QMetaType::Int, u"ShowAll"_s, ptInput);
    q->Params().CreateParam(QMetaType::Int, u"lCcaTipo"_s, ptInput);
    q->AddField(u"SCCALDESC"_s, QMetaType::QString, 100)->DisplayLabel = u"Descrizione"_s;
    q->AddField(u"SCCASDESC"_s, QMetaType::QString, 20)->DisplayLabel = u"Codice"_s;
    q->AddField(u"FCCAIMPORTOIST"_s, QMetaType::Double)->DisplayFormat = u"#,###.00"_s;
    q->AddField(u"FCCAIMPORTOERA"_s, QMetaType::Double)->DisplayFormat = u"#,###.00"_s;
    SetCompCausStatements(q);
    q->VtBeforeExec = [this](TVtQueryCollection *ds, TVtQueryProp &prop, bool &execute) {
        xqcCompCausVtBeforeExec(ds, prop, execute);
    };
    q->BeforeDelete = [this](TVtQueryCollection *ds) { xqcCompCausBeforeDelete(ds); };
    // A new component is not visible to the fee-collection module until
    // ticked (the insert makes it visible when the window lists only those).
    q->OnNewRecord = [](TVtQueryCollection *ds) {
        ds->FieldByName(u"LCCAVUVEZ"_s)->SetAsInteger(0);
        ds->FieldByName(u"FCCAIMPORTOIST"_s)->SetAsFloat(0);
        ds->FieldByName(u"FCCAIMPORTOERA"_s)->SetAsFloat(0);
    };
    // The reasons' totals follow the components' amounts.
    q->AfterPost = [this](TVtQueryCollection *) { RefreshBrowsing(xqcCaus); };
}

void TdmEbsDataSets::xqcCompCausVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop, bool &)
{
    if (!IsTable(prop, u"TCCA_COMPCAUSALI"_s) || prop.UpdateKind == ukDelete)
        return;
    const QVariant owner = ds->HasEditValue(CompCausOwner) ? ds->EditValue(CompCausOwner)
                                                           : ds->FieldByName(u"IDWGID"_s)->Value();
    prop.FieldValues->Add(u"iDwgId"_s, owner.isNull() ? QVariant(QMetaType::fromType<int>()) : owner);
    if (prop.UpdateKind != ukInsert)
        return;
    AddBounds(prop.FieldValues);
    prop.FieldValues->Add(u"lCcaTipo"_s, ds->Params().ParamByName(u"lCcaTipo"_s)->Value());
    if (ds->Params().ParamByName(u"ShowAll"_s)->Value().toInt() == 0)
        prop.FieldValues->Add(u"lCcaVuvez"_s, 1);
}

// A component still linked to a reason or billed to a pupil stays: the
// engine would refuse it with a bare key violation.
void TdmEbsDataSets::xqcCompCausBeforeDelete(TVtQueryCollection *ds)
{
    const QVariant id = ds->FieldByName(u"ICCAID"_s)->Value();
    if (CcaIsUsed(id.toInt(), false)) {
        VtMessageDlg(u"Impossibile cancellare il componente in quanto è associato ad almeno una causale."_s, mtWarning, mbOK);
        Abort();
    }
    if (Exists(u"SELECT FIRST 1 1 FROM TCac_CcaAcbCau WHERE iCcaId = :iCcaId"_s, u"iCcaId"_s, id)) {
        VtMessageDlg(u"Impossibile cancellare il componente in quanto è presente in rate degli alunni."_s, mtWarning, mbOK);
        Abort();
    }
}

// ---------------------------------------------------------------- payment modes

void TdmEbsDataSets::SetupModPagam()
{
    TVtQueryCollection *q = xqcModPagam;
    q->KeyFields = u"IMPGID"_s;
    q->CommandText = u"SELECT TMpg.iMpgId, TMpg.sMpgDescS, TMpg.sMpgDescL, lMpgRisc, lMpgPag, TMpg.iLocked FROM TMpg_ModPagam TMpg"_s;
    q->AddField(u"SMPGDESCS"_s, QMetaType::QString, 10)->DisplayLabel = u"Codice"_s;
    q->AddField(u"SMPGDESCL"_s, QMetaType::QString, 60)->DisplayLabel = u"Descrizione"_s;
    for (const QString &name : {u"Riscossione"_s, u"Pagamento"_s}) {
        TVtField *f = q->AddCalcField(name, QMetaType::QString, 2);
        f->DisplayLabel = name;
        f->Alignment = int(Qt::AlignCenter);
    }
    q->SQLInsert.Add(u" INSERT INTO TMpg_ModPagam (iMpgId, sMpgDescS, sMpgDescL, lMpgRisc, lMpgPag)  VALUES(:VTGENID, "
                     ":SMPGDESCS, :SMPGDESCL, :lMpgRisc, :lMpgPag)      "_s);
    q->SQLUpdate.Add(u" UPDATE TMpg_ModPagam SET SMPGDESCL = :SMPGDESCL, SMPGDESCS = :SMPGDESCS, LMPGRISC = :LMPGRISC, "
                     "LMPGPAG = :LMPGPAG WHERE IMPGID = :VTCURRID"_s);
    q->OnCalcFields = [this](TVtQueryCollection *ds) { xqcModPagamCalcFields(ds); };
    q->OnNewRecord = [this](TVtQueryCollection *ds) { xqcModPagamNewRecord(ds); };
    // Payment modes are not deleted: no delete statement, and a delete is refused.
    q->BeforeDelete = [](TVtQueryCollection *) {
        VtMessageDlg(u"Le modalità di pagamento non si possono cancellare."_s, mtInformation, mbOK);
        Abort();
    };
}

void TdmEbsDataSets::xqcModPagamCalcFields(TVtQueryCollection *ds)
{
    auto yesNo = [ds](const QString &flag) { return ds->FieldByName(flag)->AsInteger() != 0 ? u"SI"_s : u"NO"_s; };
    ds->FieldByName(u"Riscossione"_s)->SetAsString(yesNo(u"LMPGRISC"_s));
    ds->FieldByName(u"Pagamento"_s)->SetAsString(yesNo(u"LMPGPAG"_s));
}

// A new mode is usable for nothing until ticked, and stored so.
void TdmEbsDataSets::xqcModPagamNewRecord(TVtQueryCollection *ds)
{
    ds->FieldByName(u"LMPGRISC"_s)->SetAsInteger(0);
    ds->FieldByName(u"LMPGPAG"_s)->SetAsInteger(0);
}

#include "EbdMBilling.h"
#include "EbdMConn.h"
#include "EbdUCac.h"
#include "EbdUContext.h"
#include "EbdUDote.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"
#include "VtSQLQuery.h"

using namespace Qt::StringLiterals;

namespace {
const QString AssignmentPaid = u"Impossibile cancellare. E' presente un pagamento per questa causale."_s;
const QString AssignmentChangePaid = u"Impossibile modificare. E' presente un pagamento per questa causale."_s;
const QString HolderPaid = u"Impossibile cancellare. Sono presenti pagamenti per questo intestatario."_s;
const QString InstalmentPaid = u"Impossibile cancellare. E' presente un pagamento per questa componente."_s;
const QString InstalmentGrant = u"Impossibile cancellare. C'è una dote collegata a questa componente."_s;
const QString NegativeDiscount = u"L'importo dello sconto non può essere negativo."_s;
const QString NegativeToPay = u"Impossibile modificare. L'importo da pagare andrebbe in negativo."_s;
const QString AdvanceOnPaid = u"Impossibile inserire un acconto. La rata è già stata pagata."_s;
const QString AdvanceLocked = u"Impossibile modificare. La rata di questo acconto è già stata pagata."_s;
const QString AdvanceAmount =
    u"L'importo dell'acconto deve essere maggiore di zero e non superiore all'importo da pagare della rata."_s;
const QString SpreadQuestion = u"La dote è già stata spalmata. Vuoi annullare la spalmatura?"_s;

// An instalment carries money: paid, a grant part of a whole euro or more, an advance.
const QString CarriesMoney =
    u"((Cac.dCacDataPagamento IS NOT NULL) OR (ROUND(COALESCE(Cac.fCacImpDaDote, 0), 0) <> 0) OR "
    "EXISTS (SELECT 1 FROM TCaa_CacAcconti Caa WHERE Caa.iCacId = Cac.iCacId))"_s;

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

void Refuse(const QString &text)
{
    VtMessageDlg(text, mtError, mbOK);
    Abort();
}

void RefreshBrowsing(TVtQueryCollection *q)
{
    if (q->State() == dsBrowse)
        q->Refresh();
}
}

void TdmEbdBilling::Register()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    TdmEbdConn::AddHookInstaller([](TdmEbdConn *conn) { new TdmEbdBilling(conn); });
}

TdmEbdBilling::TdmEbdBilling(TdmEbdConn *conn) : QObject(conn), m_conn(conn)
{
    setObjectName(u"dmEbdBilling"_s);
    // Holder, then its reasons, instalments and grants; an instalment's advances.
    conn->xqcAcbCau->SetMaster(conn->xqcAluGen, u"iAcbId"_s, u"IACBID"_s);
    conn->xqcCacAcbCau->SetMaster(conn->xqcAluGen, u"iAcbId"_s, u"IACBID"_s);
    conn->xqcDote->SetMaster(conn->xqcAluGen, u"iAcbId"_s, u"IACBID"_s);
    conn->xqcAcconti->SetMaster(conn->xqcCacAcbCau, u"iCacId"_s, u"ICACID"_s);

    conn->xqcAluGen->BeforeOpen.Add(this, [this](TVtQueryCollection *) { xqcAluGenBeforeOpen(); });
    conn->xqcAluGen->BeforeDelete.Add(this, [this](TVtQueryCollection *ds) { xqcAluGenBeforeDelete(ds); });

    TVtQueryCollection *reasons = conn->xqcAcbCau;
    reasons->VtBeforeExec.Add(this, [this](TVtQueryCollection *ds, TVtQueryProp &prop, bool &) { xqcAcbCauVtBeforeExec(ds, prop); });
    reasons->VtAfterExec.Add(this, [this](TVtQueryCollection *ds, TVtQueryProp &prop) { xqcAcbCauVtAfterExec(ds, prop); });
    reasons->BeforePost.Add(this, [this](TVtQueryCollection *ds) { xqcAcbCauBeforePost(ds); });
    reasons->BeforeDelete.Add(this, [this](TVtQueryCollection *ds) { xqcAcbCauBeforeDelete(ds); });
    reasons->AfterPost.Add(this, [this](TVtQueryCollection *) { RefreshInstalments(); });
    reasons->AfterDelete.Add(this, [this](TVtQueryCollection *) { RefreshInstalments(); });

    TVtQueryCollection *instalments = conn->xqcCacAcbCau;
    instalments->VtBeforeExec.Add(this, [this](TVtQueryCollection *ds, TVtQueryProp &prop, bool &) {
        xqcCacAcbCauVtBeforeExec(ds, prop);
    });
    instalments->BeforePost.Add(this, [this](TVtQueryCollection *ds) { xqcCacAcbCauBeforePost(ds); });
    instalments->BeforeDelete.Add(this, [this](TVtQueryCollection *ds) { xqcCacAcbCauBeforeDelete(ds); });
    instalments->AfterRefresh.Add(this, [this](TVtQueryCollection *) { RefreshBrowsing(m_conn->xqcDote); });
    // Amounts are shown as money.
    auto amounts = [](const QStringList &names, const QString &format = u"#,###.00"_s) {
        return [names, format](TVtQueryCollection *ds) {
            for (const QString &name : names)
                if (TVtField *f = ds->FindField(name))
                    f->DisplayFormat = format;
        };
    };
    instalments->AfterOpen.Add(this, amounts({u"FCACIMPORTO"_s, u"FCACIMPSCONTO"_s, u"FCCAIMPORTOIST"_s, u"FCACIMPDADOTE"_s}));
    // A grant and its residue to the ten-thousandth, as spread.
    conn->xqcDote->AfterOpen.Add(this, amounts({u"FDOSIMPORTO"_s, u"FDOSIMPORTORESIDUO"_s}, u"#,###.00##"_s));
    conn->xqcAcconti->AfterOpen.Add(this, amounts({u"FCAAIMPORTO"_s}));

    TVtQueryCollection *grants = conn->xqcDote;
    grants->BeforeDelete.Add(this, [this](TVtQueryCollection *ds) { xqcDoteBeforeDelete(ds); });
    grants->VtBeforeExec.Add(this, [this](TVtQueryCollection *ds, TVtQueryProp &prop, bool &) { xqcDoteVtBeforeExec(ds, prop); });
    grants->BeforePost.Add(this, [this](TVtQueryCollection *ds) { xqcDoteBeforePost(ds); });
    grants->AfterDelete.Add(this, [this](TVtQueryCollection *) { RefreshInstalments(); });

    TVtQueryCollection *advances = conn->xqcAcconti;
    advances->BeforeInsert.Add(this, [this](TVtQueryCollection *) { xqcAccontiBeforeInsert(); });
    advances->BeforeEdit.Add(this, [this](TVtQueryCollection *ds) { xqcAccontiRefuseLocked(ds); });
    advances->BeforeDelete.Add(this, [this](TVtQueryCollection *ds) { xqcAccontiRefuseLocked(ds); });
    advances->BeforePost.Add(this, [this](TVtQueryCollection *ds) { xqcAccontiBeforePost(ds); });
    advances->VtBeforeExec.Add(this, [this](TVtQueryCollection *ds, TVtQueryProp &prop, bool &) {
        xqcAccontiVtBeforeExec(ds, prop);
    });
    advances->VtAfterExec.Add(this, [this](TVtQueryCollection *ds, TVtQueryProp &prop) { xqcAccontiVtAfterExec(ds, prop); });
    advances->AfterPost.Add(this, [this](TVtQueryCollection *) { RefreshInstalments(); });
    advances->AfterDelete.Add(this, [this](TVtQueryCollection *) { RefreshInstalments(); });
}

void TdmEbdBilling::RefreshInstalments()
{
    if (m_conn->xqcCacAcbCau->Active())
        RefreshBrowsing(m_conn->xqcCacAcbCau);
}

// ---------------------------------------------------------------- rules over the database

void TdmEbdBilling::ApplyPercentage(int iAcbCauId, double percentage)
{
    TSQLQuery q;
    q.SQL = u"UPDATE TCac_CcaAcbCau cac SET fCacPercSconto = :fCacPercSconto, fCacImporto = ((SELECT cca.fCcaImportoIst "
            "FROM TCca_CompCausali cca WHERE cca.iCcaId = cac.iCcaId) - ((SELECT cca.fCcaImportoIst FROM TCca_CompCausali cca "
            "WHERE cca.iCcaId = cac.iCcaId) * :fCacPercSconto / 100) - COALESCE(fCacImpSconto, 0) - COALESCE(fCacImpDaDote, 0) "
            "- COALESCE((SELECT SUM(fCaaImporto) FROM TCaa_CacAcconti caa WHERE caa.iCacId = cac.iCacId),0)) WHERE "
            "(iAcbCauId = :iAcbCauId) AND (dCacDataPagamento IS NULL) AND ((SELECT cca.fCcaImportoIst FROM "
            "TCca_CompCausali cca WHERE cca.iCcaId = cac.iCcaId) >= (((SELECT cca.fCcaImportoIst FROM TCca_CompCausali cca "
            "WHERE cca.iCcaId = cac.iCcaId) * :fCacPercSconto / 100) + COALESCE(fCacImpSconto, 0) + COALESCE(fCacImpDaDote, 0) "
            "+ COALESCE((SELECT SUM(fCaaImporto) FROM TCaa_CacAcconti caa WHERE caa.iCacId = cac.iCacId),0)))"_s;
    q.Params().CreateParam(QMetaType::Double, u"fCacPercSconto"_s)->SetValue(percentage);
    q.Params().CreateParam(QMetaType::Int, u"iAcbCauId"_s)->SetValue(iAcbCauId);
    q.ExecSQL();
}

bool TdmEbdBilling::AssignmentHasMoney(int iAcbCauId)
{
    return Exists(u"SELECT 1 FROM RDB$DATABASE WHERE EXISTS (SELECT 1 FROM TCac_CcaAcbCau Cac WHERE "
                  "Cac.iAcbCauId = :iAcbCauId AND "_s + CarriesMoney + u")"_s,
                  u"iAcbCauId"_s, iAcbCauId);
}

bool TdmEbdBilling::HolderHasMoney(int iAcbId)
{
    return Exists(u"SELECT 1 FROM RDB$DATABASE WHERE EXISTS (SELECT 1 FROM TCac_CcaAcbCau Cac INNER JOIN TAcbCau Ac ON "
                  "Ac.iAcbCauId = Cac.iAcbCauId WHERE Ac.iAcbId = :iAcbId AND "_s + CarriesMoney + u")"_s,
                  u"iAcbId"_s, iAcbId);
}

// ---------------------------------------------------------------- holders

// Holder records left incomplete (no pupil, parent or payment mode) go.
void TdmEbdBilling::xqcAluGenBeforeOpen()
{
    TSQLQuery q;
    q.SQL = u"DELETE FROM TACB_ALUCOORDBAN WHERE (impgid IS NULL) OR (ianaid IS NULL) OR (ianaid_gen IS NULL)"_s;
    q.ExecSQL();
}

// A holder whose instalments carry money stays: the cascade would take
// collected money out of the cash book.
void TdmEbdBilling::xqcAluGenBeforeDelete(TVtQueryCollection *ds)
{
    if (HolderHasMoney(ds->FieldByName(u"IACBID"_s)->AsInteger()))
        Refuse(HolderPaid);
}

// ---------------------------------------------------------------- assigned reasons

void TdmEbdBilling::xqcAcbCauVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop)
{
    switch (prop.UpdateKind) {
    case ukInsert:
    case ukModify:
        prop.FieldValues->Add(u"iAcbId"_s, m_conn->xqcAluGen->FieldByName(u"IACBID"_s)->Value());
        break;
    case ukDelete: {
        // The instalments go with the assignment, in the same transaction.
        TSQLQuery q;
        q.SQL = u"DELETE FROM TCac_CcaAcbCau WHERE iAcbCauId = :iAcbCauId"_s;
        q.Params().CreateParam(QMetaType::Int, u"iAcbCauId"_s)->SetValue(ds->FieldByName(u"IACBCAUID"_s)->Value());
        q.ExecSQL();
        break;
    }
    }
}

// The assignment's open instalments follow its percentage.
void TdmEbdBilling::xqcAcbCauVtAfterExec(TVtQueryCollection *ds, TVtQueryProp &prop)
{
    TVtField *perc = ds->FieldByName(u"FACBCAUPERCSCONTO"_s);
    const double value = perc->IsNull() ? 0.0 : perc->AsFloat();
    if (prop.UpdateKind == ukInsert && prop.Index == 0 && value > 0)
        ApplyPercentage(prop.FieldValues->GetValues(u"VTGENID"_s).toInt(), value);
    else if (prop.UpdateKind == ukModify && prop.Index == 0 && TVtMoney(value) != EbdCacMoney(perc->OldValue()))
        ApplyPercentage(ds->FieldByName(u"IACBCAUID"_s)->AsInteger(), value);
}

void TdmEbdBilling::xqcAcbCauBeforePost(TVtQueryCollection *ds)
{
    if (!EbdCacIsPercent(ds->FieldByName(u"FACBCAUPERCSCONTO"_s)->Value()))
        Refuse(QString::fromUtf8(EbdPercentualeFuoriIntervallo));
    TVtField *reason = ds->FieldByName(u"ICAUID"_s);
    if (ds->State() == dsEdit && reason->Value() != reason->OldValue()
        && AssignmentHasMoney(ds->FieldByName(u"IACBCAUID"_s)->AsInteger()))
        Refuse(AssignmentChangePaid);
}

void TdmEbdBilling::xqcAcbCauBeforeDelete(TVtQueryCollection *ds)
{
    if (AssignmentHasMoney(ds->FieldByName(u"IACBCAUID"_s)->AsInteger()))
        Refuse(AssignmentPaid);
}

// ---------------------------------------------------------------- instalments

// The account an instalment is collected on: the working one, except for
// an instalment that stays paid on the same day, which keeps its own.
void TdmEbdBilling::xqcCacAcbCauVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop)
{
    if (prop.UpdateKind == ukDelete)
        return;
    TVtField *paid = ds->FieldByName(u"DCACDATAPAGAMENTO"_s);
    const bool keepsPayment = !paid->IsNull() && !paid->OldValue().isNull() && paid->Value() == paid->OldValue();
    prop.FieldValues->Add(u"iSprIstId"_s, keepsPayment ? ds->FieldByName(u"ISPRISTID"_s)->OldValue()
                                                       : TEbdContext::Bindable(TEbdCtx::SprIstId));
}

void TdmEbdBilling::xqcCacAcbCauBeforePost(TVtQueryCollection *ds)
{
    if (!EbdCacIsPercent(ds->FieldByName(u"FCACPERCSCONTO"_s)->Value()))
        Refuse(QString::fromUtf8(EbdPercentualeFuoriIntervallo));
    if (EbdCacMoney(ds->FieldByName(u"FCACIMPSCONTO"_s)->Value()).IsNegative())
        Refuse(NegativeDiscount);
    if (EbdCacMoney(ds->FieldByName(u"FCACIMPORTO"_s)->Value()).IsNegative())
        Refuse(NegativeToPay);
}

void TdmEbdBilling::xqcCacAcbCauBeforeDelete(TVtQueryCollection *ds)
{
    TSQLQuery q;
    q.SQL = u"SELECT Cac.dCacDataPagamento, ROUND(COALESCE(Cac.fCacImpDaDote, 0), 0), (SELECT COUNT(*) FROM "
            "TCaa_CacAcconti Caa WHERE Caa.iCacId = Cac.iCacId) FROM TCac_CcaAcbCau Cac WHERE Cac.iCacId = :iCacId"_s;
    q.Params().CreateParam(QMetaType::Int, u"iCacId"_s)->SetValue(ds->FieldByName(u"ICACID"_s)->Value());
    q.Open();
    const bool found = !q.IsEmpty();
    const bool paid = found && !q.Fields(0).isNull();
    const bool grant = found && q.Fields(1).toDouble() != 0;
    const bool advances = found && q.Fields(2).toInt() > 0;
    q.Close();
    // Its advances would go with it: they are money collected.
    if (paid || advances)
        Refuse(InstalmentPaid);
    if (grant)
        Refuse(InstalmentGrant);
}

// ---------------------------------------------------------------- grants

// A spread grant goes only with its spread given back; the question comes
// before any transaction starts.
void TdmEbdBilling::xqcDoteBeforeDelete(TVtQueryCollection *ds)
{
    const bool spread = EbdCacMoney(ds->FieldByName(u"FDOSIMPORTO"_s)->Value())
                        != EbdCacMoney(ds->FieldByName(u"FDOSIMPORTORESIDUO"_s)->Value());
    ds->SetEditFlag(UndoSpread, spread);
    if (!spread)
        return;
    if (VtMessageDlg(SpreadQuestion, mtWarning, mbYes | mbNo | mbCancel) != mrYes)
        Abort();
    const QString refused = EbdSpalmaturaNonAnnullabile(ds->FieldByName(u"IDOSID"_s)->AsInteger());
    if (!refused.isEmpty())
        Refuse(refused);
}


// A grant is written with the holder; a new one also with the bounds of the
// reasons' school year, whose grants it joins. The undo of a spread and the
// delete commit or roll back together.
void TdmEbdBilling::xqcDoteVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop)
{
    if (prop.UpdateKind == ukDelete) {
        if (prop.Index == 0 && ds->EditFlag(UndoSpread))
            EbdAnnullaSpalmatura(ds->FieldByName(u"IDOSID"_s)->AsInteger());
        return;
    }
    prop.FieldValues->Add(u"iAcbId"_s, m_conn->xqcAluGen->FieldByName(u"IACBID"_s)->Value());
    if (prop.UpdateKind != ukInsert)
        return;
    TSQLQuery q;
    q.SQL = u"SELECT dAnsVeltoInizio, dAnsVeltoFine FROM VAns_AnniScolast WHERE iAnsId = :iAnsId"_s;
    q.Params().CreateParam(QMetaType::Int, u"iAnsId"_s)->SetValue(TEbdContext::Bindable(TEbdCtx::CauAnsId));
    q.Open();
    const QVariant start = q.IsEmpty() ? QVariant(QMetaType(QMetaType::QDate)) : QVariant(q.Fields(0).toDate());
    const QVariant end = q.IsEmpty() ? QVariant(QMetaType(QMetaType::QDate)) : QVariant(q.Fields(1).toDate());
    q.Close();
    prop.FieldValues->Add(u"dStart"_s, start);
    prop.FieldValues->Add(u"dEnd"_s, end);
}

// What is left of a grant never goes below zero, whoever writes it.
void TdmEbdBilling::xqcDoteBeforePost(TVtQueryCollection *ds)
{
    if (EbdCacMoney(ds->FieldByName(u"FDOSIMPORTORESIDUO"_s)->Value()).IsNegative())
        Refuse(QString::fromUtf8(EbdResiduoNegativo));
}

// ---------------------------------------------------------------- advances

bool TdmEbdBilling::CurrentInstalmentPaid(TVtQueryCollection *instalments)
{
    return instalments->Active() && !instalments->IsEmpty() && instalments->State() == dsBrowse
           && !instalments->FieldByName(u"DCACDATAPAGAMENTO"_s)->IsNull();
}

// What is left to pay is taken from the amount rule, not from the stored
// amount: that one is rounded to four decimals from the unrounded percentage
// discount, and may lie a ten-thousandth above what the rule leaves (33.33 at
// 12.5% is stored as 29.1638, the rule leaves 29.1637). An advance of the
// stored figure would then fail the recomputation's cover test, and the
// instalment would keep its whole amount to pay beside an advance of all of it.
bool TdmEbdBilling::AdvanceFits(TVtQueryCollection *instalments, const TVtMoney &amount, const TVtMoney &stored)
{
    if (!instalments->Active() || instalments->IsEmpty() || amount <= TVtMoney())
        return false;
    TSQLQuery q;
    q.SQL = u"SELECT cca.fCcaImportoIst, cac.fCacPercSconto, cac.fCacImpSconto, cac.fCacImpDaDote, (SELECT "
            "COALESCE(SUM(caa.fCaaImporto), 0) FROM TCaa_CacAcconti caa WHERE caa.iCacId = cac.iCacId) FROM "
            "TCac_CcaAcbCau cac JOIN TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId WHERE cac.iCacId = :iCacId"_s;
    q.Params().CreateParam(QMetaType::Int, u"iCacId"_s)->SetValue(instalments->FieldByName(u"ICACID"_s)->Value());
    q.Open();
    const bool found = !q.IsEmpty();
    const TEbdCacParts parts{EbdCacMoney(q.Fields(0)), q.Fields(1).isNull() ? 0.0 : q.Fields(1).toDouble(),
                             EbdCacMoney(q.Fields(2)), EbdCacMoney(q.Fields(3)), EbdCacMoney(q.Fields(4)) - stored};
    q.Close();
    return found && amount <= EbdCacAmountToPay(parts);
}

// An advance on a paid instalment would lower what the cash book counts as
// collected: a paid instalment takes none, and its advances stay as they are.
void TdmEbdBilling::xqcAccontiBeforeInsert()
{
    TVtQueryCollection *instalments = m_conn->xqcCacAcbCau;
    if (!instalments->Active() || instalments->IsEmpty())
        Abort();
    if (Exists(u"SELECT 1 FROM TCac_CcaAcbCau WHERE iCacId = :iCacId AND dCacDataPagamento IS NOT NULL"_s, u"iCacId"_s,
               instalments->FieldByName(u"ICACID"_s)->Value()))
        Refuse(AdvanceOnPaid);
}

void TdmEbdBilling::xqcAccontiRefuseLocked(TVtQueryCollection *ds)
{
    if (Exists(u"SELECT 1 FROM TCac_CcaAcbCau WHERE iCacId = :iCacId AND dCacDataPagamento IS NOT NULL"_s, u"iCacId"_s,
               ds->FieldByName(u"ICACID"_s)->Value()))
        Refuse(AdvanceLocked);
}

void TdmEbdBilling::xqcAccontiBeforePost(TVtQueryCollection *ds)
{
    const TVtMoney stored = ds->State() == dsEdit ? EbdCacMoney(ds->FieldByName(u"FCAAIMPORTO"_s)->OldValue()) : TVtMoney();
    if (!AdvanceFits(m_conn->xqcCacAcbCau, EbdCacMoney(ds->FieldByName(u"FCAAIMPORTO"_s)->Value()), stored))
        Refuse(AdvanceAmount);
}

// The advance is written on the current instalment; one that goes gives its
// amount back to its instalment first.
void TdmEbdBilling::xqcAccontiVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop)
{
    if (prop.UpdateKind != ukDelete) {
        prop.FieldValues->Add(u"iCacId"_s, m_conn->xqcCacAcbCau->FieldByName(u"ICACID"_s)->Value());
        return;
    }
    if (prop.Index != 0)
        return;
    TSQLQuery q;
    q.SQL = u"UPDATE TCac_CcaAcbCau SET fCacImporto = (fCacImporto + :fCacImporto) WHERE iCacId = :iCacId;"_s;
    q.Params().CreateParam(QMetaType::Double, u"fCacImporto"_s)->SetValue(ds->FieldByName(u"FCAAIMPORTO"_s)->Value());
    q.Params().CreateParam(QMetaType::Int, u"iCacId"_s)->SetValue(ds->FieldByName(u"ICACID"_s)->Value());
    q.ExecSQL();
}

// After every write the instalment's amount follows the rule again. The
// cover test and the amount are taken to four decimals: in floating point
// an advance of the whole 45.27 left of 50.30 at 10% would count as more
// than the amount, and the instalment would keep showing 45,27 to pay.
void TdmEbdBilling::xqcAccontiVtAfterExec(TVtQueryCollection *ds, TVtQueryProp &prop)
{
    if (prop.Index != 0)
        return;
    const QVariant instalment = prop.UpdateKind == ukDelete ? ds->FieldByName(u"ICACID"_s)->Value()
                                                            : prop.FieldValues->GetValues(u"iCacId"_s);
    TSQLQuery q;
    q.SQL = u"UPDATE TCac_CcaAcbCau cac SET fCacImporto = ROUND((SELECT cca.fCcaImportoIst FROM TCca_CompCausali cca WHERE "
            "cca.iCcaId = cac.iCcaId) - COALESCE(((SELECT cca.fCcaImportoIst FROM TCca_CompCausali cca WHERE cca.iCcaId = "
            "cac.iCcaId) * fCacPercSconto / 100), 0) - COALESCE(fCacImpSconto, 0) - COALESCE(fCacImpDaDote, 0) - "
            "COALESCE((SELECT SUM(fCaaImporto) FROM TCaa_CacAcconti caa WHERE caa.iCacId = cac.iCacId),0), 4) WHERE (iCacId = "
            ":iCacId) AND (ROUND((SELECT cca.fCcaImportoIst FROM TCca_CompCausali cca WHERE cca.iCcaId = cac.iCcaId), 4) >= "
            "ROUND(COALESCE(((SELECT cca.fCcaImportoIst FROM TCca_CompCausali cca WHERE cca.iCcaId = cac.iCcaId) * "
            "fCacPercSconto / 100), 0) + COALESCE(fCacImpSconto, 0) + COALESCE(fCacImpDaDote, 0) + COALESCE((SELECT "
            "SUM(fCaaImporto) FROM TCaa_CacAcconti caa WHERE caa.iCacId = cac.iCacId),0), 4))"_s;
    q.Params().CreateParam(QMetaType::Int, u"iCacId"_s)->SetValue(instalment);
    q.ExecSQL();
}

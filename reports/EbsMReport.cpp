#include "EbsMReport.h"
#include "EbdURptSql.h"
#include "EbdUContext.h"
#include "EbdUGlobals.h"
#include "EbsFRptSelAluCau.h"
#include "EbsFSelRptAnnoScolCau.h"
#include "EbsURptAlunni.h"
#include "VtQueryCollection.h"
#include "VtfrDBDataSet.h"
#include "dmVtRptFR.h"
#include "fmVtuSelRptAnnoScol.h"

using namespace Qt::StringLiterals;

TdmEbsReport *dmEbsReport = nullptr;

namespace {
const QString CauTotals =
    u"(SELECT SUM(Cca.fCcaImportoIst) FROM TCauCca Cc INNER JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Cc.iCcaId) "
    "WHERE Cc.iCauId = Cau.iCauId) AS fCauImportoIst, "
    "(SELECT SUM(Cca.fCcaImportoEra) FROM TCauCca Cc INNER JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Cc.iCcaId) "
    "WHERE Cc.iCauId = Cau.iCauId) AS fCauImportoEra "_s;

const QString CauSQL =
    u"SELECT Cau.iCauId, Cau.sCauSDesc, Cau.sCauLDesc, Cau.lCauTipo, "_s + CauTotals
    + u"FROM TCau_Causali Cau "
      "INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cau.dStart AND Ans.dAnsVeltoFine = Cau.dEnd) "
      "WHERE Ans.iAnsId = :iAnsId AND Cau.lCauTipo = :lCauTipo /* ONLYMETADATA */ "
      "ORDER BY Cau.sCauLDesc, Cau.iCauId"_s;

const QString CompXCauSQL =
    u"SELECT Cca.iCcaId, Cca.sCcaSDesc, Cca.sCcaLDesc, Cca.fCcaImportoEra, Cca.fCcaImportoIst, Cca.dCcaDataScadenza "
    "FROM TCauCca Cc INNER JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Cc.iCcaId) "
    "WHERE Cc.iCauId = :iCauId ORDER BY Cca.sCcaLDesc, Cca.iCcaId"_s;

const QString CauBollettinoSQL =
    u"SELECT Cau.iCauId, Cau.sCauSDesc, Cau.sCauLDesc, "_s + CauTotals
    + u"FROM TCau_Causali Cau WHERE Cau.iCauId = :iCauId"_s;

const QString DatiScuolaSQL =
    u"SELECT Sed.iSedId, Sed.sSedNomSDesc, Sed.sSedNomLDesc, Sed.sSedIndIndirizzo, Cap.sCapValue, Cap.sComDesc, "
    "Cap.sProSigla, Sed.sSedTelefono, Sed.sSedFax, Sed.sSedEMail, Sed.sSedCodMecc, Sed.sSedNomCodiceFisc, Sed.lDwgSedMain "
    "FROM VSed_Sedi Sed LEFT OUTER JOIN VComCap Cap ON (Cap.iComCapId = Sed.iComCapId) "
    "WHERE Sed.iDwgId = :iDwgId AND Sed.dEnd_DwgSed IS NULL "
    "ORDER BY Sed.lDwgSedMain DESC, Sed.sSedNomSDesc"_s;


void Reopen(TVtQueryCollection *q, const QString &name, QMetaType::Type type, const QVariant &value)
{
    q->Close();
    SetReportParam(q, name, type, value);
    q->Open();
}
}

QString TdmEbsReport::CompCauSQL(bool allComponents)
{
    return u"SELECT Cca.iCcaId, Cca.sCcaSDesc, Cca.sCcaLDesc, Cca.fCcaImportoIst, Cca.fCcaImportoEra, "
           "Cca.dCcaDataScadenza, Tcc.sTccSDesc, Tcc.sTccLDesc, Agg.sAggDescS, Agg.sAggDescL, "
           "Vpro.sVproCod, Vpro.sVproDescS "
           "FROM TCca_CompCausali Cca "
           "INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cca.dStart AND Ans.dAnsVeltoFine = Cca.dEnd) "
           "INNER JOIN TTcc_TipoCompCaus Tcc ON (Tcc.iTccId = Cca.iTccId) "
           "LEFT OUTER JOIN TAgg_Aggregati Agg ON (Agg.iAggId = Cca.iAggId) "
           "LEFT OUTER JOIN TVpro_VociProgetti Vpro ON (Vpro.iVproId = Cca.iVproId) "
           "WHERE Ans.iAnsId = :iAnsId /* ONLYMETADATA */ "_s
        + (allComponents ? QString() : u"AND Cca.lCcaVuvez = 1 AND Cca.lCcaTipo = 0 "_s)
        + u"ORDER BY Cca.sCcaLDesc, Cca.iCcaId"_s;
}

TdmEbsReport::TdmEbsReport(QObject *parent) : QObject(parent)
{
    setObjectName(u"dmEbsReport"_s);
    // Every collection reads through the global connection (none of its own).
    qquCompCau = NewQuery(u"qquCompCau"_s, true);
    qquCau = NewQuery(u"qquCau"_s, true);
    qquCompXCau = NewQuery(u"qquCompXCau"_s, false);
    qquAlunni = NewQuery(u"qquAlunni"_s, true);
    qquCauBollettino = NewQuery(u"qquCauBollettino"_s, false);
    qquDomicilio = NewQuery(u"qquDomicilio"_s, false);
    qquResidenza = NewQuery(u"qquResidenza"_s, false);
    qquDatiScuola = NewQuery(u"qquDatiScuola"_s, false);

    frdCompCau = static_cast<TVtfrDBDataSet *>(Publish(u"frdCompCau"_s, qquCompCau, true, u"TfmVtuSelRptAnnoScol"_s));
    frdCau = static_cast<TVtfrDBDataSet *>(Publish(u"frdCau"_s, qquCau, true, u"TfmEbsSelRptAnnoScolCau"_s));
    frdAlunni = static_cast<TVtfrDBDataSet *>(Publish(u"frdAlunni"_s, qquAlunni, true, u"TfmEbsRptSelAluCau"_s));
    frdCompXCau = Publish(u"frdCompXCau"_s, qquCompXCau, false);
    frdCauBollettino = Publish(u"frdCauBollettino"_s, qquCauBollettino, false);
    frdDomicilio = Publish(u"frdDomicilio"_s, qquDomicilio, false);
    frdResidenza = Publish(u"frdResidenza"_s, qquResidenza, false);
    frdDatiScuola = Publish(u"frdDatiScuola"_s, qquDatiScuola, false);

    frdCompCau->OnBeforeSelect = [this](TVtfrDBDataSet *, QWidget *form) { CompCauBeforeSelect(form); };
    frdCompCau->OnAfterSelect = [this](TVtfrDBDataSet *, QWidget *form, bool) { CompCauAfterSelect(form); };
    frdCau->OnBeforeSelect = [this](TVtfrDBDataSet *, QWidget *form) { CauBeforeSelect(form); };
    frdCau->OnAfterSelect = [this](TVtfrDBDataSet *, QWidget *form, bool) { CauAfterSelect(form); };
    frdAlunni->OnBeforeSelect = [this](TVtfrDBDataSet *, QWidget *form) { AlunniBeforeSelect(form); };
    frdAlunni->OnAfterSelect = [this](TVtfrDBDataSet *, QWidget *form, bool) { AlunniAfterSelect(form); };
    qquCau->AfterScroll = [this](TVtQueryCollection *) { CauAfterScroll(); };
    qquAlunni->AfterScroll = [this](TVtQueryCollection *) { AlunniAfterScroll(); };
    qquDatiScuola->BeforeOpen = [](TVtQueryCollection *q) {
        SetReportParam(q, u"iDwgId"_s, QMetaType::Int, TEbdContext::Bindable(TEbdCtx::DwgId));
    };
}

TdmEbsReport::~TdmEbsReport()
{
    if (dmEbsReport == this)
        dmEbsReport = nullptr;
}



void TdmEbsReport::Setup()
{
    CloseDataSets();
    qquCompCau->CommandText = CompCauSQL(m_allComponents);
    qquCompCau->Params().Clear();
    qquCompCau->Params().CreateParam(QMetaType::Int, u"iAnsId"_s);

    qquCau->CommandText = CauSQL;
    qquCau->Params().Clear();
    qquCau->Params().CreateParam(QMetaType::Int, u"iAnsId"_s);
    qquCau->Params().CreateParam(QMetaType::Int, u"lCauTipo"_s)->SetValue(0);

    qquCompXCau->CommandText = CompXCauSQL;
    qquCompXCau->Params().Clear();
    qquCompXCau->Params().CreateParam(QMetaType::Int, u"iCauId"_s);

    // The pupils' text is the dialog's; the marker of the field list stands
    // in the condition the dialog replaces.
    qquAlunni->CommandText = EbsAlunniIscrittiSQL(u"1=1 /* ONLYMETADATA */"_s, QString());
    qquAlunni->Params().Clear();
    qquAlunni->Params().CreateParam(QMetaType::Int, u"iAnsId"_s);
    qquAlunni->Params().CreateParam(QMetaType::QString, u"iClsId"_s)->SetValue(u"%"_s);
    qquAlunni->Params().CreateParam(QMetaType::Int, u"iDwgId"_s);

    qquCauBollettino->CommandText = CauBollettinoSQL;
    qquCauBollettino->Params().Clear();
    qquCauBollettino->Params().CreateParam(QMetaType::Int, u"iCauId"_s);

    qquDomicilio->CommandText = DwellingOfKindSQL(1);
    qquDomicilio->Params().Clear();
    qquDomicilio->Params().CreateParam(QMetaType::Int, u"iAnaId"_s);
    qquResidenza->CommandText = DwellingOfKindSQL(2);
    qquResidenza->Params().Clear();
    qquResidenza->Params().CreateParam(QMetaType::Int, u"iAnaId"_s);

    qquDatiScuola->CommandText = DatiScuolaSQL;
    qquDatiScuola->Params().Clear();
    qquDatiScuola->Params().CreateParam(QMetaType::Int, u"iDwgId"_s);
}

void TdmEbsReport::SetAllComponents(bool on)
{
    m_allComponents = on;
    qquCompCau->Close();
    qquCompCau->CommandText = CompCauSQL(on);
}

bool TdmEbsReport::GetValue(const QString &name, QVariant &value) const
{
    if (name == u"Anno scolastico"_s) {
        value = m_ansId ? GetAnsAnnoDesc(m_ansId) : QString();
        return true;
    }
    if (name == u"BarCode"_s) {
        value = m_barCode;
        return true;
    }
    if (name == u"NumeroCC"_s) {
        value = m_accountNumber;
        return true;
    }
    return false;
}

void TdmEbsReport::CloseDataSets()
{
    m_sets.CloseAll();
}

// ------------------------------------------------------------ dialogs

void TdmEbsReport::CompCauBeforeSelect(QWidget *form)
{
    auto *dlg = qobject_cast<TfmVtuSelRptAnnoScol *>(form);
    if (!dlg)
        return;
    dlg->SetHelpContext(1007);
    dlg->SetCaption(u"Selezione componenti di causali"_s);
    dlg->SetCommandText(qquCompCau->CommandText);
    dlg->KeyField = u"iCcaId"_s;
    dlg->SetSelectediAnsId(TEbdContext::GetOr0(TEbdCtx::AnsId));
    dlg->SetParamValue(u"iAnsId"_s, TEbdContext::Bindable(TEbdCtx::AnsId));
    dlg->SetFieldTitle(u"sCcaSDesc"_s, u"Codice"_s, 100);
    dlg->SetFieldTitle(u"sCcaLDesc"_s, u"Descrizione"_s, 300);
    dlg->AddSortOrder(u"sCcaSDesc"_s);
    dlg->AddSortOrder(u"sCcaLDesc"_s);
    for (const QString &hidden : {u"fCcaImportoIst"_s, u"fCcaImportoEra"_s, u"dCcaDataScadenza"_s, u"sTccSDesc"_s,
                                  u"sTccLDesc"_s, u"sAggDescS"_s, u"sAggDescL"_s, u"sVproCod"_s, u"sVproDescS"_s})
        dlg->SetFieldVisible(hidden, false);
}

void TdmEbsReport::CompCauAfterSelect(QWidget *form)
{
    auto *dlg = qobject_cast<TfmVtuSelRptAnnoScol *>(form);
    if (!dlg)
        return;
    m_ansId = dlg->GetSelectediAnsId();
    qquCompCau->Close();
    SetReportParam(qquCompCau, u"iAnsId"_s, QMetaType::Int, m_ansId);
}

void TdmEbsReport::CauBeforeSelect(QWidget *form)
{
    auto *dlg = qobject_cast<TfmEbsSelRptAnnoScolCau *>(form);
    if (!dlg)
        return;
    dlg->SetHelpContext(1006);
    dlg->SetCaption(u"Selezione causali"_s);
    dlg->SetCommandText(qquCau->CommandText);
    dlg->KeyField = u"iCauId"_s;
    dlg->SetParamValue(u"iAnsId"_s, TEbdContext::Bindable(TEbdCtx::CauAnsId));
    dlg->SetFieldTitle(u"sCauSDesc"_s, u"Codice"_s, 100);
    dlg->SetFieldTitle(u"sCauLDesc"_s, u"Descrizione"_s, 300);
    dlg->AddSortOrder(u"sCauSDesc"_s);
    dlg->AddSortOrder(u"sCauLDesc"_s);
    for (const QString &hidden : {u"lCauTipo"_s, u"fCauImportoIst"_s, u"fCauImportoEra"_s})
        dlg->SetFieldVisible(hidden, false);
}

void TdmEbsReport::CauAfterSelect(QWidget *form)
{
    auto *dlg = qobject_cast<TfmEbsSelRptAnnoScolCau *>(form);
    if (!dlg)
        return;
    m_ansId = dlg->GetSelectediAnsId();
    qquCau->Close();
    SetReportParam(qquCau, u"iAnsId"_s, QMetaType::Int, m_ansId);
    SetReportParam(qquCau, u"lCauTipo"_s, QMetaType::Int, dlg->CauTipo());
}

void TdmEbsReport::AlunniBeforeSelect(QWidget *form)
{
    auto *dlg = qobject_cast<TfmEbsRptSelAluCau *>(form);
    if (!dlg)
        return;
    dlg->SetParamValue(u"iAnsId"_s, TEbdContext::Bindable(TEbdCtx::AnsId));
    dlg->SetParamValue(u"iDwgId"_s, TEbdContext::Bindable(TEbdCtx::DwgId));
    dlg->SetHelpContext(1008);
    dlg->SetCaption(u"Selezione alunni"_s);
    dlg->SetNuoviVisible(ShowNewEnrolments);
    dlg->SetAllCausali(m_allComponents);
    dlg->KeyField = u"iAnaId"_s;
    dlg->SetFieldTitle(u"sAnaCognome"_s, u"Cognome"_s);
    dlg->SetFieldTitle(u"sAnaNome"_s, u"Nome"_s);
    dlg->SetFieldTitle(u"sAnaCagCode"_s, u"Codice anagrafico"_s);
    dlg->SetFieldTitle(u"sClsSDesc"_s, u"Classe"_s);
    dlg->AddSortOrder(u"sAnaCognome;sAnaNome"_s);
    dlg->AddSortOrder(u"sAnaCagCode"_s);
    dlg->AddSortOrder(u"sClsSDesc;sAnaCognome;sAnaNome"_s);
    QStringList lines;
    LoadXmlArchivio(lines, u"EBT_ALUFLT"_s, u"EBT"_s);
    dlg->SetFilterDefinition(u"EBT_ALUFLT"_s, lines.join(u'\n'));
    dlg->SetTargetDataSet(qquAlunni);
}

void TdmEbsReport::AlunniAfterSelect(QWidget *form)
{
    auto *dlg = qobject_cast<TfmEbsRptSelAluCau *>(form);
    if (!dlg)
        return;
    // The dialog copied its text and parameters into qquAlunni on closing.
    qquCauBollettino->Close();
    SetReportParam(qquCauBollettino, u"iCauId"_s, QMetaType::Int, dlg->CauId());
    m_barCode = dlg->BarCode();
    m_accountNumber = dlg->NumeroCC();
}

// ------------------------------------------------------------ chains

void TdmEbsReport::CauAfterScroll()
{
    if (qquCau->IsEmpty())
        return;
    Reopen(qquCompXCau, u"iCauId"_s, QMetaType::Int, qquCau->FieldByName(u"iCauId"_s)->Value());
}

void TdmEbsReport::AlunniAfterScroll()
{
    if (qquAlunni->IsEmpty())
        return;
    const QVariant pupil = qquAlunni->FieldByName(u"iAnaId"_s)->Value();
    Reopen(qquDomicilio, u"iAnaId"_s, QMetaType::Int, pupil);
    Reopen(qquResidenza, u"iAnaId"_s, QMetaType::Int, pupil);
}

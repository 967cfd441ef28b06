#include "EbdMAtt.h"
#include "EbdUContext.h"
#include "EbdFMain.h"
#include "EbdMConn.h"
#include "EbdMParam.h"
#include "EbdUGlobals.h"
#include "EbdUReportModule.h"
#include "EbsMAtt.h"
#include "EbsUFeeWindow.h"
#include "ModMAnaAtt.h"
#include "VtApgPage.h"
#include "VtAttComponent.h"
#include "VtAttReport.h"
#include "VtRptTreeView.h"
#include "VtAttShell.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtParamManager.h"
#include "VtPaths.h"
#include "VtUtils.h"
#include "fmVtMDIMain.h"
#include "kbsMActivations.h"

#include <QDir>
#include <QFile>

TdmEbdAtt *dmEbdAtt = nullptr;
QPointer<QWidget> fmEbcCcp;

namespace {
TVtAttForm *NewForm(TdmVtAttivazioni *owner, const QString &name, const QString &caption, const QString &formClass,
                    bool modal, TVtApgPage *page, int order, int image, int help)
{
    auto *cmd = new TVtAttForm(owner, name);
    cmd->SetCaption(caption);
    cmd->ClasseForm = formClass;
    cmd->ModalForm = modal;
    cmd->MultipleInstance = false;
    cmd->SetParentPage(page);
    cmd->SetOrder(order);
    cmd->SetImageIndex(image);
    cmd->SetHelpContext(help);
    return cmd;
}
}

TdmEbdAtt::TdmEbdAtt(QObject *owner) : TdmVtAttivazioni(owner)
{
    if (!dmEbdAtt)
        dmEbdAtt = this;
    m_registryHookPending = true;

    xpgGestione = new TVtApgPage(this, QStringLiteral("xpgGestione"), QStringLiteral("Gestione"), 0, true, true, true);
    xpgBeneficiari = new TVtApgPage(this, QStringLiteral("xpgBeneficiari"), QStringLiteral("Beneficiari"), 1, true, true, false);
    xpgTabelle = new TVtApgPage(this, QStringLiteral("xpgTabelle"), QStringLiteral("Tabelle"), 2, true, true, true);
    xpgStampe = new TVtApgPage(this, QStringLiteral("xpgStampe"), QStringLiteral("Stampe"), 3, false, true, true);
    xpgTools = new TVtApgPage(this, QStringLiteral("xpgTools"), QStringLiteral("Strumenti"), 4, true, true, true);
    CreateCommands();

    dmEbdParam = new TdmEbdParam(this);
    dmModAnaAtt = new TdmModAnaAtt(this);
    if (dmEbdConn)
        dmModAnaAtt->SetConnection(dmEbdConn->xqoMain);
    dmEbsAtt = new TdmEbsAtt(this);
    dmEbsAtt->HelpFileName = QStringLiteral("DeradOzovizav.chm");
    dmEbsAtt->ParamAnfIdName = TEbdContext::Name(TEbdCtx::AnfId);

    MoveFeeCommands();

    dmkbsActivations = new TdmkbsActivations(this);
    dmkbsActivations->xafFirme->SetParentPage(xpgTools);
    dmkbsActivations->xafFirme->SetOrder(2);
    dmkbsActivations->xafFirme->SetImageIndex(12);
}

TdmEbdAtt::~TdmEbdAtt()
{
    delete dmkbsActivations;
    dmkbsActivations = nullptr;
    delete dmEbsAtt;
    dmEbsAtt = nullptr;
    delete dmModAnaAtt;
    dmModAnaAtt = nullptr;
    delete dmEbdParam;
    dmEbdParam = nullptr;
    if (dmEbdAtt == this)
        dmEbdAtt = nullptr;
}

void TdmEbdAtt::CreateCommands()
{
    xacParam = new TVtAttComponent(this, QStringLiteral("xacParam"));
    xacParam->SetCaption(QStringLiteral("Parametri"));
    xacParam->SetParentPage(xpgTools);
    xacParam->SetOrder(5);
    xacParam->SetImageIndex(10);
    xacParam->BeforeExecute = [](TVtAttivazione *, bool &allow) { allow = CanEditParams(); };
    xacParam->OnExecute = [](TVtAttComponent *) {
        if (dmEbdParam)
            dmEbdParam->xpmVtuParams->Execute();
    };
    xacParam->AfterExecute = [this](TVtAttivazione *) {
        if (fmEbdMain)
            fmEbdMain->RefreshPanels();
        if (gEbdReportModule)
            gEbdReportModule->Refresh();
        if (xarReport->GetRptTreeView())
            xarReport->GetRptTreeView()->Refresh();
    };

    xafAltri = NewForm(this, QStringLiteral("xafAltri"), QStringLiteral("Altri beneficiari"), QStringLiteral("TfmBeneficiari"),
                       false, xpgBeneficiari, 3, 5, 105);
    xafAlunni = NewForm(this, QStringLiteral("xafAlunni"), QStringLiteral("Alunni"), QString(), false, xpgBeneficiari, 0, 2, 102);
    xafTutori = NewForm(this, QStringLiteral("xafTutori"), QStringLiteral("Genitori/tutori"), QString(), false, xpgBeneficiari, 1, 3, 103);
    xafDipendenti = NewForm(this, QStringLiteral("xafDipendenti"), QStringLiteral("Personale"), QString(), false, xpgBeneficiari, 2, 4, 104);
    xafDatiConto = NewForm(this, QStringLiteral("xafDatiConto"), QStringLiteral("Conti"), QStringLiteral("TfmEbcCcp"), false,
                           xpgGestione, 1, 1, 101);
    xafInitAnf = NewForm(this, QStringLiteral("xafInitAnf"), QStringLiteral("Inizio anno finanziario"),
                         QStringLiteral("TfmEbdInitAnf"), true, xpgTools, 7, 11, 106);
    xafMovimenti = NewForm(this, QStringLiteral("xafMovimenti"), QStringLiteral("Movimenti"), QStringLiteral("TfmEbdAluGen"), false,
                           xpgGestione, 0, 0, 100);
    xafEda = NewForm(this, QStringLiteral("xafEda"), QStringLiteral("Eda"), QString(), false, xpgBeneficiari, 3, 5, 0);
    xafAlunnoGenitoreInt = NewForm(this, QStringLiteral("xafAlunnoGenitoreInt"), QStringLiteral("Intestatari"),
                                   QStringLiteral("TfmEbdAluGen"), false, xpgBeneficiari, 4, 14, 0);
    xafExportRid = NewForm(this, QStringLiteral("xafExportRid"), QStringLiteral("Esporta Rid"), QStringLiteral("TfwEbdExport_Banche"),
                           true, xpgTools, 10, 16, 0);
    xafStornoRid = NewForm(this, QStringLiteral("xafStornoRid"), QStringLiteral("Storno Rid"), QStringLiteral("TfmEbdStornoRid"),
                           true, xpgTools, 11, 16, 0);

    xarReport = new TVtAttReport(this, QStringLiteral("xarReport"));
    xarReport->CodAppl = QStringLiteral("EBD");
    xarReport->SetParentPage(xpgStampe);
    xarReport->SetOrder(0);
    SetSelectedRptCommand(xarReport);

    xasNotizie = new TVtAttShell(this, QStringLiteral("xasNotizie"));
    xasNotizie->FileName = QStringLiteral("Ebc_Notizie.pdf");
    xasNotizie->WaitEndOfProcess = false;
    xasNotizie->SetEnabled(false);   // not in the bar: the Help menu runs it

    xafMovimenti->BeforeExecute = [this](TVtAttivazione *s, bool &allow) { xafMovimentiBeforeExecute(s, allow); };
    xafDatiConto->BeforeExecute = [](TVtAttivazione *, bool &allow) { allow = CheckParamsSet(TEbdContext::Name(TEbdCtx::DwgId)); };
    xafDatiConto->OnInizializedForm = [](TVtAttForm *, QWidget *form) { fmEbcCcp = form; };
    xafInitAnf->BeforeExecute = [this](TVtAttivazione *s, bool &allow) { xafInitAnfBeforeExecute(s, allow); };
    xarReport->BeforeExecute = [this](TVtAttivazione *s, bool &allow) { xarReportBeforeExecute(s, allow); };
    xasNotizie->BeforeExecute = [this](TVtAttivazione *s, bool &allow) { xasNotizieBeforeExecute(s, allow); };
    xasNotizie->AfterExecute = [this](TVtAttivazione *s) { xasNotizieAfterExecute(s); };
    // The export writes the working account's debits: the whole context first.
    xafExportRid->BeforeExecute = [](TVtAttivazione *, bool &allow) {
        allow = CheckParamsSet(QStringLiteral("VTUP_DwgId,VTUP_AnsId,EBDP_AnfId,EBDP_SprIstId,EBSP_CauAnsId"));
    };
    xafExportRid->OnModalExit = [](TVtAttForm *, QWidget *wizard) {
        if (wizard)
            wizard->deleteLater();
    };
    // The cancellation reopens instalments of the working account's exports.
    xafStornoRid->BeforeExecute = [](TVtAttivazione *, bool &allow) {
        allow = CheckParamsSet(QStringLiteral("VTUP_DwgId,EBDP_AnfId,EBDP_SprIstId"));
    };
    xafStornoRid->OnModalExit = [](TVtAttForm *, QWidget *window) {
        if (window)
            window->deleteLater();
    };
    const QList<QPair<TVtAttForm *, int>> registry = {{xafAlunni, 1}, {xafTutori, 2}, {xafDipendenti, 3}, {xafEda, 6}};
    for (const auto &[cmd, category] : registry) {
        const int cat = category;
        cmd->BeforeExecute = [this, cat](TVtAttivazione *s, bool &allow) { RegistryBeforeExecute(s, allow, cat); };
    }
}

void TdmEbdAtt::MoveFeeCommands()
{
    xpgTabelle->SetSorted(false);
    const QList<QPair<TVtAttForm *, int>> moved = {{dmEbsAtt->xafCausali, 6},      {dmEbsAtt->xafCompCaus, 7},
                                                   {dmEbsAtt->xafAggregati, 8},    {dmEbsAtt->xafVoci, 9},
                                                   {dmEbsAtt->xafTipoCompCau, 13}, {dmEbsAtt->xafTipoPagamento, 15}};
    int order = 1;
    for (const auto &[cmd, image] : moved) {
        cmd->SetParentPage(xpgTabelle);
        cmd->SetOrder(order++);
        cmd->SetImageIndex(image);
    }
    xpgTabelle->SetSorted(true);

    // The fee windows work here on income reasons, all rows, no treasury amount.
    auto setModes = [](QWidget *form) {
        if (auto *w = dynamic_cast<TEbsFeeWindowModes *>(form)) {
            w->SetFixedDirection(true);
            w->SetShowAll(true);
            w->SetShowTreasuryAmount(false);
        }
    };
    m_oldCausaliInit = dmEbsAtt->xafCausali->OnInizializedForm;
    dmEbsAtt->xafCausali->OnInizializedForm = [this, setModes](TVtAttForm *s, QWidget *form) {
        if (m_oldCausaliInit)
            m_oldCausaliInit(s, form);
        setModes(form);
    };
    m_oldCompCausInit = dmEbsAtt->xafCompCaus->OnInizializedForm;
    dmEbsAtt->xafCompCaus->OnInizializedForm = [this, setModes](TVtAttForm *s, QWidget *form) {
        if (m_oldCompCausInit)
            m_oldCompCausInit(s, form);
        setModes(form);
    };
}

void TdmEbdAtt::EditParams()
{
    if (dmEbdParam)
        dmEbdParam->xpmVtuParams->Execute();
    if (fmEbdMain)
        fmEbdMain->RefreshPanels();
}

void TdmEbdAtt::xafMovimentiBeforeExecute(TVtAttivazione *, bool &allow)
{
    allow = false;
    if (!CheckParamsSet(TEbdContext::Names({TEbdCtx::SprIstId, TEbdCtx::AnfId, TEbdCtx::CauAnsId}))) {
        EditParams();
        return;
    }
    const int ans = TEbdContext::GetOr0(TEbdCtx::AnsId);
    const int anf = TEbdContext::GetOr0(TEbdCtx::AnfId);
    if (ans != anf && ans != anf - 1) {
        const QVariant valore = GetCurrentAnfValore();
        VtMessageDlg(QStringLiteral("Impossibile procedere in quanto l'anno scolastico di lavoro %1\r\nnon rientra "
                                    "nell'esercizio finanziario %2.\r\n\r\nModificare l'anno scolastico o l'anno "
                                    "finanziario di lavoro.")
                         .arg(GetAnsAnnoDesc(ans), valore.isNull() ? QString() : valore.toString()),
                     mtError, mbOK);
        EditParams();
        return;
    }
    allow = true;
}

void TdmEbdAtt::xafInitAnfBeforeExecute(TVtAttivazione *, bool &allow)
{
    allow = false;
    // The billing window, whichever command opened it.
    if (QWidget *billing = FindForm(xafMovimenti->ClasseForm)) {
        VtMessageDlg(QStringLiteral("Impossibile procedere con le operazioni di inizio anno\r\nin quanto la finestra %1 è aperta.")
                         .arg(billing->windowTitle()),
                     mtWarning, mbOK);
        return;
    }
    if (!CheckParamsSet(TEbdContext::Name(TEbdCtx::SprIstId)))
        return;
    if (SprIstIsClosed(TEbdContext::GetOr0(TEbdCtx::SprIstId))) {
        VtMessageDlg(QStringLiteral("Impossibile procedere in quanto il conto corrente è chiuso."), mtWarning, mbOK);
        return;
    }
    allow = true;
}

void TdmEbdAtt::xarReportBeforeExecute(TVtAttivazione *, bool &allow)
{
    const int rptId = MapCustomRptId(xarReport->GetRptId());
    QString needed;
    if (rptId == 14003)
        needed = QStringLiteral("Postale");
    else if (rptId == 14010)
        needed = QStringLiteral("Cassa");
    if (needed.isEmpty() || GetCurrentSprIstKind() == needed)
        return;
    allow = false;
    VtMessageDlg(QStringLiteral("Il report selezionato è disponibile solo se\r\nil conto di lavoro è di tipo '%1'.").arg(needed.toLower()),
                 mtWarning, mbOK);
}

QString TdmEbdAtt::VersionMarkerPath()
{
    if (VtPaths::UsesUserDataDir())
        return VtPaths::DataPath({QStringLiteral("Ebd"), QStringLiteral("Ebd_Version.txt")});
    return VtPaths::HomePath({QStringLiteral("etc"), QStringLiteral("Ebd"), QStringLiteral("Ebd_Version.txt")});
}

void TdmEbdAtt::xasNotizieBeforeExecute(TVtAttivazione *, bool &)
{
    if (xasNotizie->Directory.isEmpty())
        xasNotizie->Directory = VtPaths::HomePath({QStringLiteral("etc"), QStringLiteral("Ebd")});
}

void TdmEbdAtt::xasNotizieAfterExecute(TVtAttivazione *)
{
    const QString marker = VersionMarkerPath();
    if (QFile::exists(marker))
        QFile::remove(marker);
}

QList<QPair<QString, QString>> TdmEbdAtt::RegistryFrames(int category)
{
    const QPair<QString, QString> tel{QStringLiteral("TfrAnaTel"), QStringLiteral("Telefoni")};
    const QPair<QString, QString> mail{QStringLiteral("TfrAnaEMail"), QStringLiteral("E-Mail")};
    const QPair<QString, QString> abt{QStringLiteral("TfrAnaAbt"), QStringLiteral("Indirizzi")};
    switch (category) {
    case 1:
        return {tel, mail, abt, {QStringLiteral("TfrAnaGpt"), QStringLiteral("Genitori/Tutori")}};
    case 2:
    case 3:
        return {tel, mail, abt};
    case 6:
        return {{QStringLiteral("TfrKbaAnaCitt"), QStringLiteral("Cittadinanze")}, tel, mail, abt,
                {QStringLiteral("TfrkbdEdeExtra"), QStringLiteral("Stato occupazionale")}};
    default:
        return {};
    }
}

void TdmEbdAtt::InstallRegistryHook()
{
    if (!m_registryHookPending)
        return;
    m_registryHookPending = false;
    TVtAttForm::TFormEvent saved = dmModAnaAtt->xafAnagrafica->OnInizializedForm;
    dmModAnaAtt->xafAnagrafica->OnInizializedForm = [saved](TVtAttForm *s, QWidget *form) {
        if (saved)
            saved(s, form);
        SetFramesReadOnly(form, true);
    };
}

void TdmEbdAtt::RegistryBeforeExecute(TVtAttivazione *sender, bool &allow, int category)
{
    // The registry module's own command opens the window; this one never does.
    allow = false;
    if (!dmModAnaAtt)
        return;
    dmModAnaAtt->AdmittedCategories = {category};
    dmModAnaAtt->HiddenCategories.clear();
    dmModAnaAtt->FilterSpecifics = category == 1 ? QStringLiteral("AnsId=%1").arg(TEbdContext::GetOr0(TEbdCtx::AnsId))
                                                 : QString();
    dmModAnaAtt->OnGetFrameList = [category](int, QList<QPair<QString, QString>> &frames) {
        frames += RegistryFrames(category);
    };
    TVtAttForm *registry = dmModAnaAtt->xafAnagrafica;
    registry->SetCaption(sender->Caption());
    registry->SetImageIndex(sender->ImageIndex());
    registry->SetHelpContext(sender->HelpContext());
    InstallRegistryHook();
    if (QWidget *open = FindFormByCaption(sender->Caption())) {
        if (TfmVtMDIMain *main = TfmVtMDIMain::Instance())
            main->BringToFront(open);
        return;
    }
    registry->Execute();
}

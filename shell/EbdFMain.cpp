#include "EbdFMain.h"
#include "EbdUReportModule.h"
#include "VtAttReport.h"
#include "dmVtRptFR.h"
#include "VtRptTreeView.h"
#include "EbdMAtt.h"
#include "EbdUContext.h"
#include "EbdMConn.h"
#include "EbdMParam.h"
#include "EbdUGlobals.h"
#include "VtAttShell.h"
#include "VtGlobalValuesManager.h"
#include "VtLink.h"
#include "VtOutlookBar.h"
#include "VtParamManager.h"
#include "VtSQLQuery.h"
#include "VtUtils.h"
#include "VtWaitWindow.h"
#include "dmVtuParams.h"

#include <QCloseEvent>
#include <QFile>
#include <QTimer>

TfmEbdMain *fmEbdMain = nullptr;

QStringList TfmEbdMain::ImageKeys()
{
    return {QStringLiteral("CAUSALI"),     QStringLiteral("ISTCASSIERE"), QStringLiteral("ALUNNI"),
            QStringLiteral("TUTORI"),      QStringLiteral("DATIANAGRAFICI"), QStringLiteral("BENEFICIARI"),
            QStringLiteral("CAUSALICCP"),  QStringLiteral("COMPCAU"),     QStringLiteral("AGGREGATI"),
            QStringLiteral("VOCI"),        QStringLiteral("PARAMETRI"),   QStringLiteral("NEWYEAR"),
            QStringLiteral("FIRME"),       QStringLiteral("CONSUNTIVO"),  QStringLiteral("TUTORI"),
            QStringLiteral("MODPAGAMENTO"), QStringLiteral("EXPORT")};
}

TfmEbdMain::TfmEbdMain(QWidget *parent) : TfmVtMDIMain(parent)
{
    if (!fmEbdMain)
        fmEbdMain = this;
    SetImages(LoadDefaultImages(3, ImageKeys()));
    if (dmEbdAtt)
        dmEbdAtt->SetContainer(OutlookBar());
    Link()->AreaType = xayRisorse;
    Link()->ReleaseNotesFileName = QStringLiteral("ebd_notizie.pdf");
    if (dmEbdParam)
        Link()->Parametri = dmEbdParam->xpmVtuParams;
    for (int width : {250, 165, 135, 100, 150})
        AddPanel(width);
    HelpFile = QStringLiteral("DeradOzovizav.chm");
    AddHelpMenuItem(QStringLiteral("Notizie sull'aggiornamento"), [] {
        if (dmEbdAtt)
            dmEbdAtt->xasNotizie->ExecuteFromUi();
    });
}

TfmEbdMain::~TfmEbdMain()
{
    if (fmEbdMain == this)
        fmEbdMain = nullptr;
}

void TfmEbdMain::showEvent(QShowEvent *event)
{
    TfmVtMDIMain::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    setWindowState(windowState() | Qt::WindowMaximized);
    if (dmEbdAtt && QFile::exists(TdmEbdAtt::VersionMarkerPath()))
        dmEbdAtt->xasNotizie->ExecuteFromUi();
}

void TfmEbdMain::FormActivate()
{
    TfmVtMDIMain::FormActivate();
    // The wait window of the first start keeps the windows painting, and
    // an activation then must not start the first activation again.
    if (dmEbdConn && !dmEbdConn->xqoMain->Connected() && !m_connectionFailed && !m_creationWait && !m_opening)
        FirstActivation();
}

// The first start builds the demo school (a few seconds, more on a slow
// disk): the wait window tells what happens and the windows keep painting.
void TfmEbdMain::ShowCreationProgress(int done, int total)
{
    if (done < 0) {
        m_creationWait.reset();
        return;
    }
    if (!m_creationWait) {
        m_creationWait = std::make_unique<TVtWaitWindow>(QStringLiteral("Creazione del database dimostrativo…"), 0,
                                                         total, this);
        m_creationRepaint.start();
    }
    // The bar moves in visible steps; painting every statement would only
    // slow the building down.
    if (done < total && m_creationRepaint.elapsed() < 40)
        return;
    m_creationRepaint.restart();
    m_creationWait->SetPosition(done);
}

void TfmEbdMain::FirstActivation()
{
    dmEbdConn->OnCreateStep = [this](int done, int total) { ShowCreationProgress(done, total); };
    m_opening = true;
    const bool opened = dmEbdConn->OpenConnection();
    m_opening = false;
    dmEbdConn->OnCreateStep = nullptr;
    m_creationWait.reset();
    if (!opened) {
        m_connectionFailed = true;
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    // A new user starts in the installation's working context.
    xgvmGlobalVar->AdoptDefaults();
    gApplCode = QStringLiteral("EBC");
    gVisMode = TEbdContext::GetOr0(TEbdCtx::Vis);
    if (dmEbdAtt) {
        dmEbdAtt->Execute();
        if (OutlookBar()->count() > 0)
            OutlookBar()->setCurrentIndex(0);
    }
    if (!CheckParamsSet(TEbdContext::Names({TEbdCtx::DwgId, TEbdCtx::SprIstId, TEbdCtx::AnfId, TEbdCtx::CauAnsId})) && dmEbdParam)
        dmEbdParam->xpmVtuParams->Execute(this);
    RefreshPanels();
    LoadDwgList(gDwgList, TEbdContext::GetOr0(TEbdCtx::DwgId));
    if (gEbdReportModule)
        gEbdReportModule->Setup();
    const QVariant valore = GetCurrentAnfValore();
    bool isInt = false;
    gAnfValore = valore.toString().toInt(&isInt);
    if (!isInt)
        gAnfValore = 0;
    gDwgId = TEbdContext::GetOr0(TEbdCtx::DwgId);
    GetAnfDates(gAnfValore, gDwgId, gAnfInizio, gAnfFine);
    if (dmEbdAtt)
        SetUpReportTree(dmEbdAtt->xarReport);
}

bool TfmEbdMain::ReportVisible(int rptId)
{
    static const QList<int> hiddenInView{44028};
    static const QList<int> hiddenInFull{44019, 44026, 44027};
    const int base = MapCustomRptId(rptId);
    if (gVisMode == 0)
        return !hiddenInView.contains(base);
    if (gVisMode == 1)
        return !hiddenInFull.contains(base);
    return true;
}

void TfmEbdMain::SetUpReportTree(TVtAttReport *reports)
{
    if (!reports)
        return;
    TVtRptTreeView *tree = reports->GetRptTreeView();
    TdmVtRptFR *module = tree->GetfrReport();
    for (const char *pattern : {"dmEbcConn*", "dmEbsDataSets*", "dmkbsDataSets*"})
        module->AddDataModulePattern(QLatin1String(pattern));
    if (gEbdReportModule)
        gEbdReportModule->RouteEvents(module);
    tree->Filter = &ReportVisible;
    tree->Refresh();
}

void TfmEbdMain::closeEvent(QCloseEvent *event)
{
    TfmVtMDIMain::closeEvent(event);
    if (event->isAccepted() && dmEbdConn)
        dmEbdConn->CloseConnection();
}

QString TfmEbdMain::PanelTextFor(int index) const
{
    switch (index) {
    case 1:
        return QStringLiteral("Istituto: ") + GetVtuParamText(TEbdContext::Name(TEbdCtx::DwgId));
    case 2: {
        const int account = TEbdContext::GetOr0(TEbdCtx::SprIstId);
        return QStringLiteral("C/C: ") + GetSprIstNumCc(account) + QStringLiteral(" (") + GetSprIstKind(account)
               + QStringLiteral(")");
    }
    case 3: {
        const QVariant valore = GetCurrentAnfValore();
        return QStringLiteral("Esercizio finanziario: ") + (valore.isNull() ? QString() : valore.toString());
    }
    case 4:
        return QStringLiteral("A.S.: ") + GetCurrentAnsDesc();
    case 5:
        return QStringLiteral("A.S. Causali: ") + GetParamAnsDesc(TEbdContext::Name(TEbdCtx::CauAnsId));
    default:
        return QString();
    }
}

void TfmEbdMain::RefreshPanel(int index, QString &text)
{
    if (!dmEbdConn || !dmEbdConn->xqoMain->Connected())
        return;
    if (index == 1)
        LoadUserPeriod();
    text = PanelTextFor(index);
    TfmVtMDIMain::RefreshPanel(index, text);
}

void TfmEbdMain::LoadUserPeriod()
{
    gInizioUtente = QDate();
    gFineUtente = QDate();
    if (!dmEbdConn)
        return;
    bool isInt = false;
    int valore = GetCurrentAnfValore().toString().toInt(&isInt);
    if (!isInt)
        valore = 0;
    TSQLQuery *q = dmEbdConn->qquTmp;
    q->Close();
    q->SQL = QStringLiteral(
        "SELECT COALESCE(cai.DCAIINIZIOANNO, CAST(cai.ICAIESERCIZIOFIN || '-01-01' AS DATE)) INIZIOUTENTE, "
        "COALESCE(cai.DCAIFINEANNO, CAST(cai.ICAIESERCIZIOFIN || '-12-31' AS DATE)) FINEUTENTE "
        "FROM TCAI_CASSAIST cai WHERE cai.ICAIESERCIZIOFIN = :iAnfValore AND cai.ISPRISTID = :iSprIstId");
    q->Params().Clear();
    q->Params().CreateParam(QMetaType::Int, QStringLiteral("iAnfValore"))->SetAsInteger(valore);
    q->Params().CreateParam(QMetaType::Int, QStringLiteral("iSprIstId"))->SetAsInteger(TEbdContext::GetOr0(TEbdCtx::SprIstId));
    q->Open();
    if (!q->IsEmpty()) {
        gInizioUtente = q->FieldByName(QStringLiteral("INIZIOUTENTE")).toDate();
        gFineUtente = q->FieldByName(QStringLiteral("FINEUTENTE")).toDate();
    }
    q->Close();
}

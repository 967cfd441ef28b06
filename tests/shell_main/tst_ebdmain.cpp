#include "EbcFCcp.h"
#include "EbcRSprIst.h"
#include "EbdFMain.h"
#include "EbdMAtt.h"
#include "EbdMConn.h"
#include "EbdMParam.h"
#include "EbdUGlobals.h"
#include "EbsFCau.h"
#include "EbsFCca.h"
#include "EbsMAtt.h"
#include "EbsMDataSets.h"
#include "EbsRCau.h"
#include "VtDBNumEdit.h"
#include "ModMAnaAtt.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VardellaModules.h"
#include "TestInput.h"
#include "VtApgPage.h"
#include "VtAttComponent.h"
#include "VtAttReport.h"
#include "VtAttShell.h"
#include "VtGlobalValuesManager.h"
#include "VtOutlookBar.h"
#include "VtParamManager.h"
#include "VtRptTreeView.h"
#include "VtWaitWindow.h"
#include "fmVtHelp.h"
#include "DbScripts.h"
#include "fmVtParamDlg.h"
#include "kbsMActivations.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBrowser>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

// The program's shell driven as the program entry builds it: connection
// module, command module, main window; the commands' checks and the status
// panels on the demo school.
class TstEbdMain : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void commandBarPagesAndCommands();
    void statusPanelsShowTheContext();
    void movimentiYearCheck_data();
    void movimentiYearCheck();
    void movimentiMissingContextOpensParams();
    void initAnfRefusals();
    void stornoRidCommand();
    void reportKindCheck();
    void releaseNotesFollowTheMarker();
    void startupWithIncompleteContextOpensParams();
    void newUserStartsInTheDemoContext();
    void parametersRefusedWithChildOpen();
    void registryCommandsOpenTheRegistry();
    void budgetCommandsNeedTheFinancialYear();
    void contiOpensTheAccountsWindow();
    void feeCommandsOpenTheirWindows();
    void helpTopicsForEveryContext();
    void helpGuideImagesAndChapters();
    void aboutNamesTheDatabase();
    void helpOpensInsideWithoutABrowser();
    void readOnlyDatabaseStartsWithAWarning();
    void firstStartShowsTheDemoBeingBuilt();
    void screenshots();

private:
    QWidget *OpenChild(const QString &caption);
    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    int m_paramDialogs = 0;
};

void TstEbdMain::initTestCase()
{
    RegisterVardellaModules();
    // The installation's folders for this run: etc/Ebd with the release notes.
    const QString home = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("home"));
    QDir().mkpath(QDir(home).filePath(QStringLiteral("etc/Ebd")));
    qputenv("VARDELLA_HOME", home.toUtf8());
    QFile notes(QDir(home).filePath(QStringLiteral("etc/Ebd/Ebc_Notizie.pdf")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("%PDF-1.4\n");
    notes.close();

    QVERIFY(QDir().mkpath(QStringLiteral(VARDELLA_SCREENSHOT_DIR)));
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

// Each test starts the shell afresh on its own copy of the demo school.
void TstEbdMain::init()
{
    (*m_messages)->Clear();
    m_paramDialogs = 0;
    const TVtConnectionSettings settings = m_db->Fresh();
    SetWorkingContext(1, 2024, 2025, 2, 2024);

    dmEbdConn = new TdmEbdConn;
    dmEbdConn->Settings = settings;
    dmEbdAtt = new TdmEbdAtt;
    dmEbdParam->xpmVtuParams->OnShowDialog = [this](TfmVtParamDlg *dlg) {
        ++m_paramDialogs;
        QTimer::singleShot(0, dlg, &QDialog::reject);
    };
    fmEbdMain = new TfmEbdMain;
    fmEbdMain->setWindowTitle(QStringLiteral("Vardella"));
    fmEbdMain->resize(1280, 800);
    fmEbdMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(fmEbdMain));
    fmEbdMain->activateWindow();
    QTRY_VERIFY(dmEbdConn->xqoMain->Connected());
    QCOMPARE(fmEbdMain->windowTitle(), QStringLiteral("Vardella"));
    QVERIFY(!fmEbdMain->ConnectionFailed());
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstEbdMain::cleanup()
{
    xgvmGlobalVar->SetUserKey(QString());
    gUseDwgAnfDates = true;
    if (fmEbdMain)
        fmEbdMain->CloseAllChildren();
    delete fmEbdMain;
    fmEbdMain = nullptr;
    delete dmEbdAtt;
    dmEbdAtt = nullptr;
    delete dmEbdConn;
    dmEbdConn = nullptr;
}

void TstEbdMain::cleanupTestCase()
{
    m_db.reset();
}

QWidget *TstEbdMain::OpenChild(const QString &caption)
{
    auto *w = new QWidget;
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowTitle(caption);
    fmEbdMain->AddChild(w);
    w->show();
    return w;
}

void TstEbdMain::commandBarPagesAndCommands()
{
    TVtOutlookBar *bar = fmEbdMain->OutlookBar();
    QStringList pages;
    for (int i = 0; i < bar->count(); ++i)
        pages << bar->itemText(i);
    // "Beneficiari" is a hidden page.
    QCOMPARE(pages, (QStringList{"Gestione", "Tabelle", "Stampe", "Strumenti"}));
    QCOMPARE(bar->currentIndex(), 0);

    auto captions = [](TVtApgPage *page) {
        QStringList c;
        for (TVtAttivazione *cmd : page->Commands())
            c << cmd->Caption();
        return c;
    };
    QCOMPARE(captions(dmEbdAtt->xpgGestione), (QStringList{"Movimenti", "Conti"}));
    QCOMPARE(captions(dmEbdAtt->xpgTabelle), (QStringList{"Causali", "Componenti di causali", "Aggregati", "Voci",
                                                           "Tipologie componenti", "Modalità di pagamento"}));
    QCOMPARE(captions(dmEbdAtt->xpgTools),
             (QStringList{"Firme", "Parametri", "Inizio anno finanziario", "Esporta Rid", "Storno Rid"}));
    QCOMPARE(captions(dmEbdAtt->xpgBeneficiari),
             (QStringList{"Alunni", "Genitori/tutori", "Personale", "Altri beneficiari", "Eda", "Intestatari"}));
    // The fee-structure commands moved with their images and help contexts.
    QCOMPARE(dmEbsAtt->xafCausali->ParentPage(), dmEbdAtt->xpgTabelle);
    QCOMPARE(dmEbsAtt->xafCausali->ImageIndex(), 6);
    QCOMPARE(dmEbsAtt->xafTipoPagamento->ImageIndex(), 15);
    QCOMPARE(dmEbsAtt->xafVoci->HelpContext(), 1003);
    QCOMPARE(dmkbsActivations->xafFirme->ImageIndex(), 12);
    QCOMPARE(dmEbdAtt->xafMovimenti->HelpContext(), 100);
    QCOMPARE(dmEbdAtt->xafInitAnf->HelpContext(), 106);
    QVERIFY(dmEbdAtt->xafInitAnf->ModalForm);
    QVERIFY(!dmEbdAtt->xafMovimenti->ModalForm);
    QCOMPARE(dmEbdAtt->xasNotizie->ParentPage(), nullptr);
    QVERIFY(!dmEbdAtt->xasNotizie->Enabled());
    QCOMPARE(TfmEbdMain::ImageKeys().size(), 17);
    QCOMPARE(fmEbdMain->Images().size(), 17);
    // A menu for each shown page.
    QVERIFY(dmEbdAtt->Menu(dmEbdAtt->xpgGestione) != nullptr);
    QVERIFY(dmEbdAtt->Menu(dmEbdAtt->xpgBeneficiari) == nullptr);
}

void TstEbdMain::statusPanelsShowTheContext()
{
    fmEbdMain->RefreshPanels();
    QCOMPARE(fmEbdMain->PanelCount(), 6);
    QVERIFY2(fmEbdMain->PanelText(1).startsWith(QStringLiteral("Istituto: ")), qPrintable(fmEbdMain->PanelText(1)));
    QVERIFY(fmEbdMain->PanelText(1).size() > QStringLiteral("Istituto: ").size());
    const QString numCc = TTestDatabase::Scalar(QStringLiteral("SELECT sSprIstNumCc FROM TSprIst WHERE iSprIstId = 2")).toString();
    QCOMPARE(fmEbdMain->PanelText(2), QStringLiteral("C/C: %1 (Bancario)").arg(numCc));
    QCOMPARE(fmEbdMain->PanelText(3), QStringLiteral("Esercizio finanziario: 2025"));
    QCOMPARE(fmEbdMain->PanelText(4), QStringLiteral("A.S.: 2024/2025"));
    QCOMPARE(fmEbdMain->PanelText(5), QStringLiteral("A.S. Causali: ") + GetAnsAnnoDesc(2024));
    // The cash-book period of the working account and year is reloaded.
    QCOMPARE(gInizioUtente.year(), 2025);
    QVERIFY(gFineUtente > gInizioUtente);

    // The panels follow the context.
    SetWorkingContext(1, 2025, 2025, 1, 2025);
    fmEbdMain->RefreshPanels();
    QVERIFY(fmEbdMain->PanelText(2).endsWith(QStringLiteral("(Postale)")));
    QCOMPARE(fmEbdMain->PanelText(4), QStringLiteral("A.S.: 2025/2026"));
    // A year without a cash row leaves the period unset.
    SetWorkingContext(1, 2024, 2026, 2, 2024);
    fmEbdMain->RefreshPanels();
    QCOMPARE(fmEbdMain->PanelText(3), QStringLiteral("Esercizio finanziario: 2026"));
    QVERIFY(gInizioUtente.isNull());
    QVERIFY(gFineUtente.isNull());
}

void TstEbdMain::movimentiYearCheck_data()
{
    QTest::addColumn<int>("ans");
    QTest::addColumn<int>("anf");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("2024 in 2024") << 2024 << 2024 << true;
    QTest::newRow("2024 in 2025") << 2024 << 2025 << true;
    QTest::newRow("2024 in 2026") << 2024 << 2026 << false;
    QTest::newRow("2025 in 2024") << 2025 << 2024 << false;
}

void TstEbdMain::movimentiYearCheck()
{
    QFETCH(int, ans);
    QFETCH(int, anf);
    QFETCH(bool, accepted);
    SetWorkingContext(1, ans, anf, 2, 2024);
    bool allow = true;
    dmEbdAtt->xafMovimenti->BeforeExecute(dmEbdAtt->xafMovimenti, allow);
    QCOMPARE(allow, accepted);
    if (accepted) {
        QVERIFY((*m_messages)->Messages.isEmpty());
        QCOMPARE(m_paramDialogs, 0);
        return;
    }
    QCOMPARE((*m_messages)->Messages.size(), 1);
    QCOMPARE((*m_messages)->Messages[0].Type, mtError);
    QCOMPARE((*m_messages)->LastText(),
             QStringLiteral("Impossibile procedere in quanto l'anno scolastico di lavoro %1\r\nnon rientra nell'esercizio "
                            "finanziario %2.\r\n\r\nModificare l'anno scolastico o l'anno finanziario di lavoro.")
                 .arg(GetAnsAnnoDesc(ans))
                 .arg(anf));
    QCOMPARE(m_paramDialogs, 1);
}

void TstEbdMain::movimentiMissingContextOpensParams()
{
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_SprIstId"), QStringLiteral("0"));
    bool allow = true;
    dmEbdAtt->xafMovimenti->BeforeExecute(dmEbdAtt->xafMovimenti, allow);
    QVERIFY(!allow);
    QCOMPARE((*m_messages)->Texts(), QStringList{QStringLiteral("E' necessario impostare il conto.")});
    QCOMPARE(m_paramDialogs, 1);
}

void TstEbdMain::initAnfRefusals()
{
    // The billing window is open, whichever command opened it: "Intestatari".
    QVERIFY(dmEbdAtt->xafAlunnoGenitoreInt->Execute());
    QWidget *billing = FindForm(QStringLiteral("TfmEbdAluGen"));
    QVERIFY(billing);
    QVERIFY(!dmEbdAtt->xafInitAnf->Execute());
    QCOMPARE((*m_messages)->LastText(),
             QStringLiteral("Impossibile procedere con le operazioni di inizio anno\r\nin quanto la finestra Intestatari è aperta."));
    QCOMPARE((*m_messages)->Messages.last().Type, mtWarning);
    fmEbdMain->CloseAllChildren();
    QTRY_VERIFY(!FindForm(QStringLiteral("TfmEbdAluGen")));

    (*m_messages)->Clear();
    SetWorkingContext(1, 2024, 2025, 4, 2024);   // account 4 is closed
    QVERIFY(!dmEbdAtt->xafInitAnf->Execute());
    QCOMPARE((*m_messages)->Texts(), QStringList{QStringLiteral("Impossibile procedere in quanto il conto corrente è chiuso.")});

    (*m_messages)->Clear();
    SetWorkingContext(1, 2024, 2025, 0, 2024);
    QVERIFY(!dmEbdAtt->xafInitAnf->Execute());
    QCOMPARE((*m_messages)->Texts(), QStringList{QStringLiteral("E' necessario impostare il conto.")});

    // An open account passes the checks.
    (*m_messages)->Clear();
    SetWorkingContext(1, 2024, 2025, 2, 2024);
    bool allow = false;
    dmEbdAtt->xafInitAnf->BeforeExecute(dmEbdAtt->xafInitAnf, allow);
    QVERIFY(allow);
    QVERIFY((*m_messages)->Messages.isEmpty());
}

// "Storno Rid" needs the data owner, the financial year and the account
// (not the school years); it opens its window modal and frees it after.
void TstEbdMain::stornoRidCommand()
{
    TVtAttForm *cmd = dmEbdAtt->xafStornoRid;
    QCOMPARE(cmd->Caption(), QStringLiteral("Storno Rid"));
    QCOMPARE(cmd->ClasseForm, QStringLiteral("TfmEbdStornoRid"));
    QCOMPARE(cmd->ParentPage(), dmEbdAtt->xpgTools);
    QCOMPARE(cmd->Order(), 11);
    QCOMPARE(cmd->ImageIndex(), 16);
    QVERIFY(cmd->ModalForm);
    QVERIFY(cmd->Available());

    SetWorkingContext(0, 2024, 0, 0, 2024);
    QVERIFY(!cmd->Execute());
    QCOMPARE((*m_messages)->Texts(),
             QStringList{QStringLiteral("E' necessario impostare l'istituto di lavoro, l'anno finanziario e il conto.")});
    QCOMPARE((*m_messages)->Messages.last().Type, mtWarning);
    (*m_messages)->Clear();
    SetWorkingContext(1, 0, 2025, 2, 0);
    bool allow = false;
    cmd->BeforeExecute(cmd, allow);
    QVERIFY(allow);
    QVERIFY((*m_messages)->Messages.isEmpty());

    SetWorkingContext(1, 2024, 2025, 2, 2024);
    QPointer<QWidget> opened;
    QString title;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        opened = QApplication::activeModalWidget();
        if (!opened)
            return;
        title = opened->windowTitle();
        modal = opened->isModal();
        if (auto *dialog = qobject_cast<QDialog *>(opened.data()))
            dialog->reject();
    });
    QVERIFY(cmd->Execute());
    QVERIFY(opened);
    QCOMPARE(title, QStringLiteral("Storno esportazioni Rid"));
    QVERIFY(modal);
    QTRY_VERIFY(opened.isNull());
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstEbdMain::reportKindCheck()
{
    TVtRptTreeView *tree = dmEbdAtt->xarReport->GetRptTreeView();
    QTreeWidgetItem *folder = tree->AddFolder(nullptr, QStringLiteral("Conti"));
    tree->AddReport(folder, QStringLiteral("Riepilogo conto postale"), 14003);
    tree->AddReport(folder, QStringLiteral("Riepilogo cassa"), 14010);
    tree->AddReport(folder, QStringLiteral("Elenco"), 44020);

    int ran = 0;
    dmEbdAtt->xarReport->OnRunReport = [&](TVtAttReport *, int) { ++ran; };
    QVERIFY(tree->SelectRptId(14003));
    QVERIFY(!dmEbdAtt->xarReport->Execute());   // account 2 is a bank account
    QCOMPARE((*m_messages)->LastText(),
             QStringLiteral("Il report selezionato è disponibile solo se\r\nil conto di lavoro è di tipo 'postale'."));
    QVERIFY(tree->SelectRptId(14010));
    QVERIFY(!dmEbdAtt->xarReport->Execute());
    QCOMPARE((*m_messages)->LastText(),
             QStringLiteral("Il report selezionato è disponibile solo se\r\nil conto di lavoro è di tipo 'cassa'."));
    QCOMPARE(ran, 0);

    SetWorkingContext(1, 2024, 2025, 1, 2024);   // post office
    QVERIFY(tree->SelectRptId(14003));
    QVERIFY(dmEbdAtt->xarReport->Execute());
    QVERIFY(tree->SelectRptId(44020));   // other reports whatever the account
    QVERIFY(dmEbdAtt->xarReport->Execute());
    QCOMPARE(ran, 2);
    QCOMPARE((*m_messages)->Messages.size(), 2);
}

void TstEbdMain::releaseNotesFollowTheMarker()
{
    const QString marker = TdmEbdAtt::VersionMarkerPath();
    QFile m(marker);
    QVERIFY(m.open(QIODevice::WriteOnly));
    m.close();
    {
        TfmEbdMain second;
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QCOMPARE((*m_messages)->OpenedDocuments.size(), 1);
        QCOMPARE(QFileInfo((*m_messages)->OpenedDocuments[0]).fileName(), QStringLiteral("Ebc_Notizie.pdf"));
        QVERIFY(!QFile::exists(marker));
    }
    {
        TfmEbdMain third;
        third.show();
        QVERIFY(QTest::qWaitForWindowExposed(&third));
        QCOMPARE((*m_messages)->OpenedDocuments.size(), 1);   // no marker, no notes
    }
    // From the Help menu the notes open whatever the marker.
    QVERIFY(dmEbdAtt->xasNotizie->Execute());
    QCOMPARE((*m_messages)->OpenedDocuments.size(), 2);
}

void TstEbdMain::startupWithIncompleteContextOpensParams()
{
    // As at program start: the first activation of the main window opens
    // the connection, then asks for the context that is missing.
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_SprIstId"), QStringLiteral("0"));
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_AnfId"), QString());
    dmEbdConn->CloseConnection();
    TfmEbdMain second;
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    second.activateWindow();
    QTRY_VERIFY(dmEbdConn->xqoMain->Connected());
    QCOMPARE((*m_messages)->Texts(), QStringList{QStringLiteral("E' necessario impostare il conto e l'anno finanziario.")});
    QCOMPARE(m_paramDialogs, 1);
    QVERIFY(!second.ConnectionFailed());
}

void TstEbdMain::newUserStartsInTheDemoContext()
{
    fmEbdMain->RefreshPanels();
    xgvmGlobalVar->SetUserKey(QStringLiteral("nuovo.utente@segreteria"));
    QVERIFY(xgvmGlobalVar->Names().isEmpty());
    dmEbdConn->CloseConnection();
    {
        TfmEbdMain second;
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        second.activateWindow();
        QTRY_VERIFY(dmEbdConn->xqoMain->Connected());
        // No question and no dialog: the demo school's context, as the first user has it.
        QVERIFY((*m_messages)->Messages.isEmpty());
        QCOMPARE(m_paramDialogs, 0);
        QCOMPARE(GetParamInt(QStringLiteral("EBDP_SprIstId")), 2);
        for (int i = 1; i < second.PanelCount(); ++i)
            QCOMPARE(second.PanelText(i), fmEbdMain->PanelText(i));
    }
}

void TstEbdMain::parametersRefusedWithChildOpen()
{
    OpenChild(QStringLiteral("Una finestra"));
    QVERIFY(!dmEbdAtt->xacParam->Execute());
    QCOMPARE((*m_messages)->Texts(),
             QStringList{QStringLiteral("Bisogna chiudere tutte le finestre attive per modificare i parametri.")});
    QCOMPARE(m_paramDialogs, 0);
    fmEbdMain->CloseAllChildren();
    QTRY_COMPARE(fmEbdMain->MDIChildCount(), 0);
    (*m_messages)->Clear();
    QVERIFY(dmEbdAtt->xacParam->Execute());
    QCOMPARE(m_paramDialogs, 1);
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstEbdMain::registryCommandsOpenTheRegistry()
{
    QVERIFY(!dmEbdAtt->xafAlunni->Execute());   // the calling command never opens a window itself
    QWidget *pupils = FindFormByCaption(QStringLiteral("Alunni"));
    QVERIFY(pupils != nullptr);
    QCOMPARE(dmModAnaAtt->AdmittedCategories, QList<int>{1});
    QList<QPair<QString, QString>> frames;
    dmModAnaAtt->OnGetFrameList(1, frames);
    QCOMPARE(frames.size(), 4);
    QCOMPARE(frames[3], (QPair<QString, QString>{"TfrAnaGpt", "Genitori/Tutori"}));
    // Running it again brings the same window forward.
    QVERIFY(!dmEbdAtt->xafAlunni->Execute());
    QCOMPARE(fmEbdMain->MDIChildCount(), 1);
    // Another category opens its own window.
    QVERIFY(!dmEbdAtt->xafTutori->Execute());
    QVERIFY(FindFormByCaption(QStringLiteral("Genitori/tutori")) != nullptr);
    QCOMPARE(fmEbdMain->MDIChildCount(), 2);
    QCOMPARE(TdmEbdAtt::RegistryFrames(6).first().second, QStringLiteral("Cittadinanze"));
    QCOMPARE(TdmEbdAtt::RegistryFrames(6).last().second, QStringLiteral("Stato occupazionale"));
    QCOMPARE(TdmEbdAtt::RegistryFrames(3).size(), 3);
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstEbdMain::budgetCommandsNeedTheFinancialYear()
{
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_AnfId"), QStringLiteral("0"));
    bool allow = true;
    dmEbsAtt->xafVoci->BeforeExecute(dmEbsAtt->xafVoci, allow);
    QVERIFY(!allow);
    QCOMPARE((*m_messages)->Texts(), QStringList{QStringLiteral("E' necessario impostare l'anno finanziario di lavoro.")});

    (*m_messages)->Clear();
    SetWorkingContext(1, 2024, 2025, 2, 2024);
    int filters = 0;
    dmEbsAtt->RunTotalsFilter = [&](int kind) {
        ++filters;
        return kind == 1;   // confirmed for aggregates, cancelled for items
    };
    allow = false;
    dmEbsAtt->xafAggregati->BeforeExecute(dmEbsAtt->xafAggregati, allow);
    QVERIFY(allow);
    QCOMPARE(gAnfValore, 2025);
    QCOMPARE(gDwgId, 1);
    QVERIFY(!gUseDwgAnfDates);
    dmEbsAtt->xafVoci->BeforeExecute(dmEbsAtt->xafVoci, allow);
    QVERIFY(!allow);
    QCOMPARE(filters, 2);
    TdmEbsAtt::RunTotalsFilter = nullptr;

    dmEbsAtt->ParamAnfIdName.clear();
    dmEbsAtt->xafVoci->BeforeExecute(dmEbsAtt->xafVoci, allow);
    QVERIFY(!allow);
    QCOMPARE((*m_messages)->LastText(), QStringLiteral("Impostare la proprietà 'ParamAnfIdName' del datamodule"));
}

void TstEbdMain::contiOpensTheAccountsWindow()
{
    // The accounts window is part of this build; the movements window is not
    // yet, and its command says so instead of naming a class.
    QVERIFY(dmEbdAtt->xafDatiConto->Action()->isEnabled());
    QVERIFY(dmEbdAtt->xafMovimenti->Action()->isEnabled());
    QVERIFY(dmEbdAtt->xafDatiConto->Execute());
    auto *conti = qobject_cast<TfmEbcCcp *>(FindFormByCaption(QStringLiteral("Conti")));
    QVERIFY(conti != nullptr);
    QCOMPARE(fmEbdMain->MDIChildCount(), 1);
    QCOMPARE(conti->property("HelpContext").toInt(), 101);
    // On the working account of the working data owner.
    QVERIFY(dmEbdConn->xqcSprIst->Active());
    QCOMPARE(dmEbdConn->xqcSprIst->KeyValue().toInt(), 2);
    QVERIFY(conti->frEbcCcpMaster->IsWorkingAccount());
    // Again: the same window comes forward.
    dmEbdAtt->xafDatiConto->Execute();
    QCOMPARE(fmEbdMain->MDIChildCount(), 1);
    fmEbdMain->CloseAllChildren();
    QTRY_COMPARE(fmEbdMain->MDIChildCount(), 0);
    QVERIFY(!dmEbdConn->xqcSprIst->Active());
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstEbdMain::feeCommandsOpenTheirWindows()
{
    QVERIFY(dmEbsAtt->xafCausali->Execute());
    auto *cau = qobject_cast<TfmEbsCau *>(FindFormByCaption(QStringLiteral("Causali")));
    QVERIFY(cau != nullptr);
    QCOMPARE(fmEbsCau.data(), static_cast<QWidget *>(cau));
    // As the command module leaves it: income only, every reason, no treasury amount.
    QVERIFY(cau->FixedDirection());
    QVERIFY(cau->ShowAll());
    QVERIFY(cau->frEbsCau->xneImportoEra->isHidden());
    QVERIFY(dmEbsDataSets->xqcCaus->Locate(QStringLiteral("ICAUID"), 2401));
    QCOMPARE(cau->frEbsCau->xneImportoIst->Text(), QStringLiteral("54,50"));
    // What the fee structure shows is read again on request.
    TTestDatabase::Exec(QStringLiteral("UPDATE TCca_CompCausali SET fCcaImportoIst = 41 WHERE iCcaId = 2401"));
    dmEbdConn->RefreshCompCaus();
    QCOMPARE(cau->frEbsCau->xneImportoIst->Text(), QStringLiteral("55,50"));
    dmEbsAtt->xafCausali->Execute();
    QCOMPARE(fmEbdMain->MDIChildCount(), 1);

    QVERIFY(dmEbsAtt->xafCompCaus->Execute());
    auto *cca = qobject_cast<TfmEbsCca *>(FindFormByCaption(QStringLiteral("Componenti di causali")));
    QVERIFY(cca != nullptr);
    QCOMPARE(fmEbsCca.data(), static_cast<QWidget *>(cca));
    QVERIFY(cca->ShowAll());
    QVERIFY(dmEbsDataSets->xqcCompCaus->Active());
    QVERIFY(dmEbsAtt->xafTipoCompCau->Execute());
    QVERIFY(FindFormByCaption(QStringLiteral("Tipologie componenti causali")));
    QVERIFY(dmEbsAtt->xafTipoPagamento->Execute());
    QVERIFY(FindFormByCaption(QStringLiteral("Modalità di pagamento")));
    QCOMPARE(fmEbdMain->MDIChildCount(), 4);
    // Each window at the size it gave itself, inside the child area.
    auto *sub = qobject_cast<QMdiSubWindow *>(cau->parentWidget());
    QVERIFY(sub);
    QVERIFY2(cau->width() >= 800, qPrintable(QString::number(cau->width())));
    for (QMdiSubWindow *child : sub->mdiArea()->subWindowList())
        QVERIFY(sub->mdiArea()->viewport()->rect().contains(child->geometry()));
    fmEbdMain->CloseAllChildren();
    QTRY_COMPARE(fmEbdMain->MDIChildCount(), 0);
    QVERIFY(!dmEbsDataSets->xqcCaus->Active());
    QVERIFY(!dmEbsDataSets->xqcModPagam->Active());
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstEbdMain::helpTopicsForEveryContext()
{
    QFile help(QStringLiteral(VARDELLA_ETC_DIR "/DeradOzovizav.html"));
    QVERIFY(help.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(help.readAll());
    int contexts = 0;
    for (TdmVtAttivazioni *module : {static_cast<TdmVtAttivazioni *>(dmEbdAtt), static_cast<TdmVtAttivazioni *>(dmEbsAtt)})
        for (TVtAttivazione *cmd : module->Commands()) {
            if (cmd->HelpContext() == 0)
                continue;
            ++contexts;
            QVERIFY2(text.contains(QStringLiteral("id=\"%1\"").arg(cmd->HelpContext())), qPrintable(cmd->objectName()));
        }
    QVERIFY(contexts >= 10);
}

// The guide's pictures are files of its own folder that load, and it has
// the chapters on the road of a debit and on the shared server database.
void TstEbdMain::helpGuideImagesAndChapters()
{
    const QDir etc(QStringLiteral(VARDELLA_ETC_DIR));
    QFile help(etc.filePath(QStringLiteral("DeradOzovizav.html")));
    QVERIFY(help.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(help.readAll());
    for (const char *chapter : {"percorso", "server"})
        QVERIFY2(text.contains(QStringLiteral("id=\"%1\"").arg(QLatin1String(chapter))), chapter);
    static const QRegularExpression img(QStringLiteral("<img\\s[^>]*src=\"([^\"]*)\""), QRegularExpression::CaseInsensitiveOption);
    int images = 0;
    for (QRegularExpressionMatchIterator it = img.globalMatch(text); it.hasNext(); ++images) {
        const QString src = it.next().captured(1);
        const QString path = QDir::cleanPath(etc.filePath(src));
        QVERIFY2(QDir::isRelativePath(src) && path.startsWith(etc.absolutePath() + QLatin1Char('/')), qPrintable(src));
        QVERIFY2(QFileInfo(path).isFile() && !QImage(path).isNull(), qPrintable(src));
    }
    QVERIFY(images >= 12);
}

void TstEbdMain::aboutNamesTheDatabase()
{
    QApplication::setApplicationDisplayName(QStringLiteral("Vardella"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    fmEbdMain->acAbout->trigger();
    QCOMPARE((*m_messages)->Messages.size(), 1);
    QCOMPARE((*m_messages)->Messages.first().Type, mtInformation);
    QCOMPARE((*m_messages)->LastText(),
             QStringLiteral("Vardella\r\nVersione 1.0\r\n\r\nDatabase: %1\r\nVersione del database: 6.94.02, revisione %2")
                 .arg(m_db->Settings().IsServer() ? m_db->Settings().Database : m_db->Settings().FilePath())
                 .arg(DbScripts::UpgradeScripts().size()));
    // Without a database it says so.
    dmEbdConn->CloseConnection();
    QVERIFY(fmEbdMain->AboutText().endsWith(QStringLiteral("\r\n\r\nNessun database aperto.")));
}

// No program of the desktop opens the guide: it is read in the program's
// own window, at the topic of the window in use.
void TstEbdMain::helpOpensInsideWithoutABrowser()
{
    const QString etc = QDir(qEnvironmentVariable("VARDELLA_HOME")).filePath(QStringLiteral("etc"));
    QFile::remove(QDir(etc).filePath(QStringLiteral("DeradOzovizav.html")));
    QVERIFY(QFile::copy(QStringLiteral(VARDELLA_ETC_DIR "/DeradOzovizav.html"), QDir(etc).filePath(QStringLiteral("DeradOzovizav.html"))));
    // The guide's screenshots beside it, as the installation has them.
    const QDir shots(QStringLiteral(VARDELLA_ETC_DIR "/guida"));
    QVERIFY(QDir(etc).mkpath(QStringLiteral("guida")));
    for (const QString &name : shots.entryList(QDir::Files)) {
        QFile::remove(QDir(etc).filePath(QStringLiteral("guida/") + name));
        QVERIFY(QFile::copy(shots.filePath(name), QDir(etc).filePath(QStringLiteral("guida/") + name)));
    }
    (*m_messages)->OpenedDocuments.clear();
    (*m_messages)->DesktopOpens = false;
    fmEbdMain->ShowHelp(101);
    (*m_messages)->DesktopOpens = true;
    QCOMPARE((*m_messages)->OpenedDocuments.size(), 1);
    QVERIFY((*m_messages)->Messages.isEmpty());
    TfmVtHelp *help = fmEbdMain->HelpWindow();
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QCOMPARE(help->windowTitle(), QStringLiteral("Guida in linea"));
    QVERIFY(help->Browser()->toPlainText().contains(QStringLiteral("Conti (101)")));
    QTRY_VERIFY(help->Browser()->verticalScrollBar()->value() > 0);   // at the topic, not at the top
    // The screenshot of the topic is shown, not the placeholder of a missing image.
    const QImage conti = QImage::fromData(
        help->Browser()->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("guida/conti.png"))).toByteArray());
    QVERIFY(conti.width() > 600);
    // On a desktop screen: the whole window on it, the close button below the text.
    const QRect screen = help->screen()->availableGeometry();
    QVERIFY(screen.contains(help->frameGeometry()) || screen.contains(help->geometry()));
    auto *close = help->findChild<QPushButton *>();
    QVERIFY(close && close->isVisible());
    QCOMPARE(close->text(), QStringLiteral("Chiudi"));
    QVERIFY(close->mapTo(help, QPoint(0, 0)).y() >= help->Browser()->geometry().bottom());
    QVERIFY(help->grab().save(QDir(QStringLiteral(VARDELLA_SCREENSHOT_DIR)).filePath(QStringLiteral("help_window.png"))));
    // Asked again, the same window moves to the new topic.
    fmEbdMain->ShowHelp(1000);
    QCOMPARE(fmEbdMain->HelpWindow(), help);
    close->click();
    QTRY_VERIFY(!fmEbdMain->HelpWindow());
}

// A database set read-only opens with a warning and the shell works on it;
// nothing at start-up tries to write.
void TstEbdMain::readOnlyDatabaseStartsWithAWarning()
{
    cleanup();
    (*m_messages)->Clear();
    const QString path = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("solalettura.fdb"));
    QVERIFY(m_db->ReadOnlyCopy(path));

    dmEbdConn = new TdmEbdConn;
    dmEbdConn->Settings = m_db->Settings();
    dmEbdConn->Settings.Database = path;
    dmEbdAtt = new TdmEbdAtt;
    dmEbdParam->xpmVtuParams->OnShowDialog = [](TfmVtParamDlg *dlg) { QTimer::singleShot(0, dlg, &QDialog::reject); };
    fmEbdMain = new TfmEbdMain;
    fmEbdMain->resize(1280, 800);
    fmEbdMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(fmEbdMain));
    fmEbdMain->activateWindow();
    QTRY_VERIFY(dmEbdConn->xqoMain->Connected());
    QVERIFY(!fmEbdMain->ConnectionFailed());
    QVERIFY(dmEbdConn->xqoMain->ReadOnly());
    QVERIFY((*m_messages)->Messages.size() >= 1);
    QCOMPARE((*m_messages)->Messages.first().Text,
             QStringLiteral("Il database %1 è in sola lettura: si possono consultare i dati, ma nessuna modifica potrà "
                            "essere salvata.").arg(path));
    QCOMPARE((*m_messages)->Messages.first().Type, mtWarning);
    QCOMPARE((*m_messages)->Messages.size(), 1);
    // The shell is there to look at the data: commands and context.
    QVERIFY(fmEbdMain->OutlookBar()->count() > 0);
    QVERIFY(CheckParamsSet(TEbdContext::Names({TEbdCtx::DwgId, TEbdCtx::AnfId})));
}

// The installation's own file missing: the demo school is built behind a
// wait window that tells what happens and moves while the scripts run.
void TstEbdMain::firstStartShowsTheDemoBeingBuilt()
{
    cleanup();
    (*m_messages)->Clear();
    const QString file = QDir(qEnvironmentVariable("VARDELLA_HOME")).filePath(QStringLiteral("usr/vardella.fdb"));
    QFile::remove(file);
    struct TSeen
    {
        QString Caption;
        TVtWaitWindow::TEvent Event;
        int Position, Max;
    };
    QList<TSeen> seen;
    bool looked = false;
    TVtWaitWindow::Observer() = [&](const TVtWaitWindow &w, TVtWaitWindow::TEvent e) {
        seen << TSeen{w.Caption(), e, w.Position(), w.Max()};
        if (looked || e != TVtWaitWindow::weStep || w.Position() < w.Max() / 2)
            return;
        // Half-way: the window is on screen, its caption whole.
        looked = true;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("fmVtWait") && top->isVisible()) {
                auto *label = top->findChild<QLabel *>();
                QVERIFY(label);
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width(),
                         qPrintable(label->text()));
                QVERIFY(top->grab().save(QDir(QStringLiteral(VARDELLA_SCREENSHOT_DIR)).filePath(QStringLiteral("first_start.png"))));
            }
    };
    dmEbdConn = new TdmEbdConn;
    dmEbdConn->Settings = m_db->Settings();
    dmEbdConn->Settings.Database = QStringLiteral("usr/vardella.fdb");
    dmEbdConn->CreateScripts = DbScripts::SchemaScripts() + DbScripts::DemoScripts();
    dmEbdConn->UpgradeScripts = DbScripts::UpgradeScripts();
    dmEbdAtt = new TdmEbdAtt;
    dmEbdParam->xpmVtuParams->OnShowDialog = [](TfmVtParamDlg *dlg) { QTimer::singleShot(0, dlg, &QDialog::reject); };
    fmEbdMain = new TfmEbdMain;
    fmEbdMain->resize(1280, 800);
    fmEbdMain->show();   // the building starts as the window first shows
    QTRY_VERIFY_WITH_TIMEOUT(dmEbdConn->xqoMain->Connected(), 120000);
    TVtWaitWindow::Observer() = nullptr;
    QVERIFY(QFile::exists(file));
    QVERIFY((*m_messages)->Messages.isEmpty());
    QVERIFY(looked);
    QVERIFY(seen.size() > 10);
    QCOMPARE(seen.first().Event, TVtWaitWindow::weShow);
    QCOMPARE(seen.first().Caption, QStringLiteral("Creazione del database dimostrativo…"));
    QCOMPARE(seen.last().Event, TVtWaitWindow::weClose);
    QCOMPARE(seen[seen.size() - 2].Position, seen.first().Max);   // it reached the end
    for (int i = 2; i < seen.size() - 1; ++i)
        QVERIFY(seen[i].Position > seen[i - 1].Position);
    for (QWidget *top : QApplication::topLevelWidgets())
        QVERIFY(!(top->objectName() == QLatin1String("fmVtWait") && top->isVisible()));
    QFile::remove(file);
}

void TstEbdMain::screenshots()
{
    const QString dir = QStringLiteral(VARDELLA_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    fmEbdMain->RefreshPanels();
    QTest::qWait(50);
    const QImage main = fmEbdMain->grab().toImage();
    QVERIFY(main.save(QDir(dir).filePath(QStringLiteral("main_window.png"))));
    // Every status panel shows its whole text, side by side, inside the window.
    for (int i = 0; i < fmEbdMain->PanelCount(); ++i) {
        QLabel *panel = fmEbdMain->Panel(i);
        QVERIFY2(panel->fontMetrics().horizontalAdvance(panel->text()) <= panel->contentsRect().width(),
                 qPrintable(panel->text()));
        QVERIFY2(panel->geometry().right() <= fmEbdMain->statusBar()->width(), qPrintable(panel->text()));
        if (i > 0)
            QVERIFY2(fmEbdMain->Panel(i - 1)->geometry().right() < panel->geometry().left(), qPrintable(panel->text()));
    }

    std::unique_ptr<TfmVtParamDlg> dlg = dmEbdParam->xpmVtuParams->CreateDialog(fmEbdMain);
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    const QImage params = dlg->grab().toImage();
    QVERIFY(params.save(QDir(dir).filePath(QStringLiteral("parameter_dialog.png"))));
    // No caption of the dialog is cut.
    for (QLabel *label : dlg->findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text().remove(QLatin1Char('&'))) <= label->width() + 1,
                 qPrintable(label->text()));
    }
    dlg->reject();
}

QTEST_MAIN(TstEbdMain)
#include "tst_ebdmain.moc"

// Command modules and the main window: refusals, single-instance forms,
// modal forms, shell documents, the command bar and its menus, the report
// tree hooks, the status panels and the help.
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtApgPage.h"
#include "VtAttComponent.h"
#include "VtAttForm.h"
#include "VtAttReport.h"
#include "VtAttShell.h"
#include "VtException.h"
#include "VtFormRegistry.h"
#include "VtLink.h"
#include "VtOutlookBar.h"
#include "VtRptTreeView.h"
#include "VtUtils.h"
#include "dmVtAttivazioni.h"
#include "fmVtChildDB.h"
#include "fmVtMDIMain.h"
#include "fmVtOkCancDlg.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TfmTestChild : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmTestChild(QWidget *parent = nullptr) : TfmVtChildDB(parent)
    {
        setWindowTitle(QStringLiteral("Movimenti"));
    }
};

class TfmTestDialog : public TfmVtOkCancDlg
{
    Q_OBJECT
public:
    explicit TfmTestDialog(QWidget *parent = nullptr) : TfmVtOkCancDlg(parent)
    {
        setWindowTitle(QStringLiteral("Inizio anno finanziario"));
    }
};

namespace {
void DrainDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QStringList MenuTitles(QMenuBar *bar)
{
    QStringList titles;
    for (QAction *a : bar->actions())
        titles << a->text();
    return titles;
}

QStringList ButtonTexts(TVtOutlookBar *bar, QWidget *page, bool visibleOnly = true)
{
    QStringList texts;
    for (QToolButton *b : bar->Buttons(page))
        if (!visibleOnly || !b->isHidden())
            texts << b->text();
    return texts;
}
}

class TstVtCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void refusedOrAbortedCommandStopsSilently();
    void formCommandOpensOneInstance();
    void modalFormCommand();
    void shellCommandOpensTheDocument();
    void commandBarPagesButtonsAndMenus();
    void reportCommandTreeHooks();
    void statusPanelsRefreshed();
    void helpOpensTheHelpFile();
    void linkReleaseNotes();

private:
    std::unique_ptr<TTestDatabase> m_db;
};

void TstVtCommands::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::SchemaOnly);
    TVtFormRegistry::RegisterClass<TfmTestChild>(QStringLiteral("TfmTestChild"));
    TVtFormRegistry::RegisterClass<TfmTestDialog>(QStringLiteral("TfmTestDialog"));
}

void TstVtCommands::init()
{
    m_db->Fresh();
}

void TstVtCommands::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        w->close();
    DrainDeletes();
}

void TstVtCommands::refusedOrAbortedCommandStopsSilently()
{
    TScopedMessageService msg;
    TdmVtAttivazioni mod;
    auto *cmd = new TVtAttForm(&mod, QStringLiteral("xafMovimenti"));
    cmd->ClasseForm = QStringLiteral("TfmTestChild");
    int before = 0, after = 0, init = 0;
    bool allow = false;
    cmd->BeforeExecute = [&](TVtAttivazione *sender, bool &a) {
        QCOMPARE(sender, static_cast<TVtAttivazione *>(cmd));
        ++before;
        a = allow;
    };
    cmd->AfterExecute = [&](TVtAttivazione *) { ++after; };
    cmd->OnInizializedForm = [&](TVtAttForm *, QWidget *) { ++init; };

    QVERIFY(!cmd->Execute());
    QCOMPARE(before, 1);
    QCOMPARE(after, 0);
    QCOMPARE(init, 0);
    QVERIFY(!FindForm(QStringLiteral("TfmTestChild")));

    // An abort in the handler is a refusal too, and shows nothing.
    cmd->BeforeExecute = [&](TVtAttivazione *, bool &) { Abort(); };
    QVERIFY(!cmd->ExecuteFromUi());
    QCOMPARE(after, 0);
    QVERIFY(!FindForm(QStringLiteral("TfmTestChild")));

    auto *comp = new TVtAttComponent(&mod, QStringLiteral("xacParam"));
    int ran = 0, compAfter = 0;
    comp->AfterExecute = [&](TVtAttivazione *) { ++compAfter; };
    comp->OnExecute = [&](TVtAttComponent *) {
        ++ran;
        if (ran == 1)
            Abort();
    };
    QVERIFY(!comp->Execute());
    QCOMPARE(compAfter, 0);
    QVERIFY(comp->Execute());
    QCOMPARE(ran, 2);
    QCOMPARE(compAfter, 1);
    QVERIFY(msg->Messages.isEmpty());

    // A framework error from the button or the menu becomes a message.
    comp->OnExecute = [](TVtAttComponent *) { throw EVtException(QStringLiteral("Parametro EBDP_Xyz non definito")); };
    QVERIFY(!comp->ExecuteFromUi());
    QCOMPARE(msg->Texts(), QStringList{QStringLiteral("Parametro EBDP_Xyz non definito")});
    QCOMPARE(msg->Messages.first().Type, mtError);
    QVERIFY_THROWS_EXCEPTION(EVtException, comp->Execute());

    // Allowed: the form opens (no main window: as a window of its own).
    cmd->BeforeExecute = [&](TVtAttivazione *, bool &a) { a = true; };
    QVERIFY(cmd->Execute());
    QCOMPARE(init, 1);
    QCOMPARE(after, 1);
    QVERIFY(FindForm(QStringLiteral("TfmTestChild")));
    QCOMPARE(FindForm(QStringLiteral("tfmtestchild")), cmd->Form());
}

void TstVtCommands::formCommandOpensOneInstance()
{
    TScopedMessageService msg;
    TfmVtMDIMain main;
    main.show();
    TdmVtAttivazioni mod;
    auto *cmd = new TVtAttForm(&mod, QStringLiteral("xafMovimenti"));
    cmd->ClasseForm = QStringLiteral("TfmTestChild");
    cmd->SetHelpContext(100);
    QList<QWidget *> initialised;
    cmd->OnInizializedForm = [&](TVtAttForm *, QWidget *form) {
        initialised << form;
        QVERIFY(form->isHidden());   // raised before the form shows
    };

    QVERIFY(cmd->Execute());
    QCOMPARE(main.MDIChildCount(), 1);
    QWidget *first = cmd->Form();
    QVERIFY(first);
    QCOMPARE(first->property("HelpContext").toInt(), 100);
    QCOMPARE(TVtFormRegistry::ClassNameOf(first), QStringLiteral("TfmTestChild"));

    // A second child in front; the command brings the first one back.
    auto *other = new TfmVtChildDB;
    other->setWindowTitle(QStringLiteral("Conti"));
    main.AddChild(other);
    QCOMPARE(main.ActiveChild(), static_cast<QWidget *>(other));
    QVERIFY(cmd->Execute());
    QCOMPARE(main.MDIChildCount(), 2);
    QCOMPARE(initialised.size(), 1);
    QCOMPARE(cmd->Form(), first);
    QCOMPARE(main.ActiveChild(), first);

    // The window menu lists the children, the active one ticked.
    emit main.mnWindow->aboutToShow();
    QStringList listed;
    for (QAction *a : main.mnWindow->actions())
        if (a->isCheckable())
            listed << QStringLiteral("%1%2").arg(a->text(), a->isChecked() ? QStringLiteral("*") : QString());
    QCOMPARE(listed, (QStringList{QStringLiteral("&1 Movimenti*"), QStringLiteral("&2 Conti")}));

    // With multiple instances allowed a new form opens each time.
    cmd->MultipleInstance = true;
    QVERIFY(cmd->Execute());
    QCOMPARE(main.MDIChildCount(), 3);
    QCOMPARE(FindForms(QStringLiteral("TfmTestChild")).size(), 2);

    // Once closed, the class opens anew.
    QVERIFY(main.CloseAllChildren());
    DrainDeletes();
    QCOMPARE(main.MDIChildCount(), 0);
    cmd->MultipleInstance = false;
    QVERIFY(cmd->Execute());
    QCOMPARE(initialised.size(), 3);

    // A window this build does not have: the command shows disabled with an
    // Italian tooltip, and run from code it says so without a class name.
    QVERIFY(cmd->Action()->isEnabled());
    cmd->ClasseForm = QStringLiteral("TfmNonEsiste");
    TVtAttForm missing(&mod, QStringLiteral("xafMancante"));
    missing.SetCaption(QStringLiteral("Mancante"));
    missing.ClasseForm = QStringLiteral("TfmNonEsiste");
    QVERIFY(!missing.Action()->isEnabled());
    QCOMPARE(missing.Action()->toolTip(), QStringLiteral("Funzione non ancora disponibile in questa versione del programma."));
    QVERIFY(!cmd->ExecuteFromUi());
    QCOMPARE(msg->LastText(), QStringLiteral("Funzione non ancora disponibile in questa versione del programma."));
}

void TstVtCommands::modalFormCommand()
{
    TfmVtMDIMain main;
    TdmVtAttivazioni mod;
    auto *cmd = new TVtAttForm(&mod, QStringLiteral("xafInitAnf"));
    cmd->ClasseForm = QStringLiteral("TfmTestDialog");
    cmd->ModalForm = true;
    QPointer<QWidget> opened, exited;
    bool modalWhileOpen = false;
    cmd->OnInizializedForm = [&](TVtAttForm *, QWidget *form) {
        opened = form;
        auto *dlg = qobject_cast<TfmTestDialog *>(form);
        QTimer::singleShot(0, dlg, [dlg, &modalWhileOpen] {
            modalWhileOpen = dlg->isModal() && dlg->isVisible();
            dlg->buOk->click();
        });
    };
    cmd->OnModalExit = [&](TVtAttForm *, QWidget *form) {
        exited = form;
        QVERIFY(!form->isVisible());
    };
    QVERIFY(cmd->Execute());
    QVERIFY(modalWhileOpen);
    QCOMPARE(cmd->ModalResult(), int(mrOk));
    QVERIFY(opened && exited && opened == exited);
    QCOMPARE(main.MDIChildCount(), 0);
    DrainDeletes();
    QVERIFY(opened.isNull());   // freed after the modal exit

    // Cancelled: modal exit still raised, result Annulla.
    cmd->OnInizializedForm = [&](TVtAttForm *, QWidget *form) {
        auto *dlg = qobject_cast<TfmTestDialog *>(form);
        QTimer::singleShot(0, dlg->buCancel, &QPushButton::click);
    };
    exited = nullptr;
    QVERIFY(cmd->Execute());
    QCOMPARE(cmd->ModalResult(), int(mrCancel));
    QVERIFY(exited);
}

void TstVtCommands::shellCommandOpensTheDocument()
{
    TScopedMessageService msg;
    const QString dir = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("etc/Ebd"));
    QVERIFY(QDir().mkpath(dir));
    const QString file = QDir(dir).filePath(QStringLiteral("Ebc_Notizie.pdf"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("%PDF-1.4\n");
    }
    TdmVtAttivazioni mod;
    auto *cmd = new TVtAttShell(&mod, QStringLiteral("xasNotizie"));
    cmd->FileName = QStringLiteral("Ebc_Notizie.pdf");
    cmd->SetEnabled(false);
    int after = 0;
    cmd->BeforeExecute = [&](TVtAttivazione *, bool &) {
        if (cmd->Directory.isEmpty())
            cmd->Directory = QDir::toNativeSeparators(TTestDatabase::WorkDir()) + QStringLiteral("\\etc\\Ebd\\");
    };
    cmd->AfterExecute = [&](TVtAttivazione *) { ++after; };

    // Disabled in the bar, still run from code.
    QVERIFY(cmd->Execute());
    QCOMPARE(msg->OpenedDocuments, QStringList{file});
    QCOMPARE(after, 1);
    QVERIFY(msg->Messages.isEmpty());

    QVERIFY(QFile::remove(file));
    QVERIFY(!cmd->Execute());
    QCOMPARE(msg->OpenedDocuments.size(), 1);
    QCOMPARE(after, 1);
    QCOMPARE(msg->Texts(), QStringList{QStringLiteral("Impossibile trovare il file %1.").arg(QDir::toNativeSeparators(file))});
    QCOMPARE(msg->Messages.first().Type, mtError);
}

void TstVtCommands::commandBarPagesButtonsAndMenus()
{
    TfmVtMDIMain main;
    main.SetImages(LoadDefaultImages(3, {QStringLiteral("CAUSALI"), QStringLiteral("ISTCASSIERE"), QStringLiteral("PARAMETRI")}));
    TdmVtAttivazioni att;
    auto *xpgGestione = new TVtApgPage(&att, QStringLiteral("xpgGestione"), QStringLiteral("Gestione"), 0);
    auto *xpgBeneficiari = new TVtApgPage(&att, QStringLiteral("xpgBeneficiari"), QStringLiteral("Beneficiari"), 1, true, true, false);
    auto *xpgTabelle = new TVtApgPage(&att, QStringLiteral("xpgTabelle"), QStringLiteral("Tabelle"), 2);
    auto *xpgTools = new TVtApgPage(&att, QStringLiteral("xpgTools"), QStringLiteral("Strumenti"), 4);
    auto *xpgStampe = new TVtApgPage(&att, QStringLiteral("xpgStampe"), QStringLiteral("Stampe"), 3, false, false);

    QStringList ran;
    auto command = [&](TdmVtAttivazioni *owner, const QString &name, const QString &caption, TVtApgPage *page, int order,
                       int image) {
        auto *c = new TVtAttComponent(owner, name);
        c->SetCaption(caption);
        c->SetOrder(order);
        c->SetImageIndex(image);
        c->SetParentPage(page);
        c->OnExecute = [&ran, name](TVtAttComponent *) { ran << name; };
        return c;
    };
    command(&att, QStringLiteral("xafDatiConto"), QStringLiteral("Conti"), xpgGestione, 1, 1);
    command(&att, QStringLiteral("xafMovimenti"), QStringLiteral("Movimenti"), xpgGestione, 0, 0);
    command(&att, QStringLiteral("xafAlunni"), QStringLiteral("Alunni"), xpgBeneficiari, 0, 2);
    auto *xacParam = command(&att, QStringLiteral("xacParam"), QStringLiteral("Parametri"), xpgTools, 5, 2);
    auto *xafStampa = command(&att, QStringLiteral("xafStampa"), QStringLiteral("Stampa veloce"), xpgStampe, 9, -1);
    command(&att, QStringLiteral("xafElenco"), QStringLiteral("Elenco"), xpgStampe, 1, -1);

    // A second module whose commands move into the first module's page,
    // with sorting off while they arrive.
    TdmVtAttivazioni ebs;
    auto *own = new TVtApgPage(&ebs, QStringLiteral("xpgEbs"), QStringLiteral("Causali e voci"), 0);
    auto *voci = command(&ebs, QStringLiteral("xafVoci"), QStringLiteral("Voci"), own, 0, -1);
    auto *causali = command(&ebs, QStringLiteral("xafCausali"), QStringLiteral("Causali"), own, 1, -1);
    auto *tipi = command(&ebs, QStringLiteral("xafTipoCompCau"), QStringLiteral("Tipologie componenti"), own, 2, -1);
    xpgTabelle->SetSorted(false);
    for (TVtAttivazione *c : {static_cast<TVtAttivazione *>(voci), static_cast<TVtAttivazione *>(causali),
                              static_cast<TVtAttivazione *>(tipi)})
        c->SetParentPage(xpgTabelle);
    voci->SetOrder(4);
    causali->SetOrder(1);
    tipi->SetOrder(5);
    tipi->SetVisible(false);
    QCOMPARE(own->Commands().size(), 0);
    QCOMPARE(xpgTabelle->Commands().first(), static_cast<TVtAttivazione *>(voci));
    xpgTabelle->SetSorted(true);
    QCOMPARE(xpgTabelle->Commands().first(), static_cast<TVtAttivazione *>(causali));

    att.SetContainer(main.OutlookBar());
    att.Execute();
    TVtOutlookBar *bar = main.OutlookBar();
    QCOMPARE(bar->count(), 4);
    QStringList pages;
    for (int i = 0; i < bar->count(); ++i)
        pages << bar->itemText(i);
    QCOMPARE(pages, (QStringList{QStringLiteral("Gestione"), QStringLiteral("Tabelle"), QStringLiteral("Stampe"),
                                 QStringLiteral("Strumenti")}));
    QCOMPARE(ButtonTexts(bar, att.BarPage(xpgGestione)), (QStringList{QStringLiteral("Movimenti"), QStringLiteral("Conti")}));
    QCOMPARE(ButtonTexts(bar, att.BarPage(xpgTabelle)), (QStringList{QStringLiteral("Causali"), QStringLiteral("Voci")}));
    QCOMPARE(ButtonTexts(bar, att.BarPage(xpgTabelle), false).size(), 3);
    // Not sorted: the order the commands joined in.
    QCOMPARE(ButtonTexts(bar, att.BarPage(xpgStampe)), (QStringList{QStringLiteral("Stampa veloce"), QStringLiteral("Elenco")}));
    QVERIFY(!att.BarPage(xpgBeneficiari));

    // Large buttons with the image of their index.
    QToolButton *mov = bar->Buttons(att.BarPage(xpgGestione)).first();
    QCOMPARE(mov->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(mov->iconSize(), QSize(32, 32));
    QCOMPARE(mov->icon().pixmap(32).toImage(), main.Images().at(0).pixmap(32).toImage());
    // The bar is wide enough for its longest caption.
    for (int i = 0; i < bar->count(); ++i)
        if (QWidget *content = att.BarPage(att.Pages().at(0)))
            for (QToolButton *b : bar->Buttons(content))
                QVERIFY(bar->minimumWidth() > b->sizeHint().width());

    // One menu per visible InMenu page, before the window menu.
    QCOMPARE(MenuTitles(main.menuBar()), (QStringList{QStringLiteral("&File"), QStringLiteral("Gestione"), QStringLiteral("Tabelle"),
                                                      QStringLiteral("Strumenti"), QStringLiteral("F&inestre"), QStringLiteral("&Guida")}));
    QMenu *tabMenu = att.Menu(xpgTabelle);
    QVERIFY(tabMenu);
    QStringList items;
    for (QAction *a : tabMenu->actions())
        if (a->isVisible())
            items << a->text();
    QCOMPARE(items, (QStringList{QStringLiteral("Causali"), QStringLiteral("Voci")}));
    QVERIFY(!att.Menu(xpgStampe));

    // Buttons and menu items run their command; a disabled one does not.
    mov->click();
    att.Menu(xpgTools)->actions().first()->trigger();
    QCOMPARE(ran, (QStringList{QStringLiteral("xafMovimenti"), QStringLiteral("xacParam")}));
    xacParam->SetEnabled(false);
    QToolButton *paramButton = bar->Buttons(att.BarPage(xpgTools)).first();
    QVERIFY(!paramButton->isEnabled());
    paramButton->click();
    QCOMPARE(ran.size(), 2);
    // Hiding and renaming a command follows in the bar at once.
    xafStampa->SetVisible(false);
    xafStampa->SetCaption(QStringLiteral("Stampa rapida"));
    QCOMPARE(ButtonTexts(bar, att.BarPage(xpgStampe)), (QStringList{QStringLiteral("Elenco")}));
    QCOMPARE(ButtonTexts(bar, att.BarPage(xpgStampe), false).first(), QStringLiteral("Stampa rapida"));

    // Building again replaces what was built.
    att.Execute();
    QCOMPARE(bar->count(), 4);
    QCOMPARE(MenuTitles(main.menuBar()).size(), 6);
    QCOMPARE(att.FindCommand(QStringLiteral("XAFMOVIMENTI"))->Caption(), QStringLiteral("Movimenti"));
    QCOMPARE(att.FindPage(QStringLiteral("xpgTabelle")), xpgTabelle);

    // A command freed leaves its page.
    delete causali;
    QCOMPARE(xpgTabelle->Commands().size(), 2);
}

void TstVtCommands::reportCommandTreeHooks()
{
    TfmVtMDIMain main;
    TdmVtAttivazioni att;
    auto *xpgStampe = new TVtApgPage(&att, QStringLiteral("xpgStampe"), QStringLiteral("Stampe"), 3, false);
    auto *xarReport = new TVtAttReport(&att, QStringLiteral("xarReport"));
    xarReport->CodAppl = QStringLiteral("EBD");
    xarReport->SetParentPage(xpgStampe);
    TVtRptTreeView *tree = xarReport->GetRptTreeView();
    tree->OnLoad = [](TVtRptTreeView *t) {
        QTreeWidgetItem *f = t->AddFolder(nullptr, QStringLiteral("Contributi"));
        t->AddReport(f, QStringLiteral("Bollettini"), 14003);
        t->AddReport(f, QStringLiteral("Ricevute"), 44019);
        t->AddReport(nullptr, QStringLiteral("Riscontro"), 44028);
        t->AddReport(nullptr, QStringLiteral("Cassa"), 14010);
    };
    QSet<int> hidden{44028};
    QList<int> visited;
    tree->Filter = [&](int id) {
        visited << id;
        return !hidden.contains(id);
    };
    tree->Refresh();
    QCOMPARE(tree->RptIds(), (QList<int>{14003, 44019, 14010}));
    QCOMPARE(visited, (QList<int>{14010, 44028, 44019, 14003}));   // last to first

    att.SetContainer(main.OutlookBar());
    att.Execute();
    QCOMPARE(tree->parentWidget() != nullptr, true);
    QVERIFY(att.BarPage(xpgStampe)->isAncestorOf(tree));

    QList<int> printed;
    int refused = 0;
    xarReport->OnRunReport = [&](TVtAttReport *, int id) { printed << id; };
    xarReport->BeforeExecute = [&](TVtAttivazione *sender, bool &allow) {
        if (static_cast<TVtAttReport *>(sender)->GetRptId() == 14010) {
            allow = false;
            ++refused;
        }
    };
    QCOMPARE(xarReport->GetRptId(), -1);
    QVERIFY(!xarReport->Execute());   // nothing selected
    QVERIFY(tree->SelectRptId(14003));
    QVERIFY(xarReport->Execute());
    QVERIFY(tree->SelectRptId(14010));
    QTest::keyClick(tree, Qt::Key_Return);
    QCOMPARE(refused, 1);
    QCOMPARE(printed, QList<int>{14003});

    hidden = {44019, 14003};
    tree->Refresh();
    QCOMPARE(tree->RptIds(), (QList<int>{44028, 14010}));

    // Rebuilding the bar keeps a working tree.
    att.Execute();
    TVtRptTreeView *again = xarReport->GetRptTreeView();
    QVERIFY(att.BarPage(xpgStampe)->isAncestorOf(again));
}

void TstVtCommands::statusPanelsRefreshed()
{
    TfmVtMDIMain main;
    QCOMPARE(main.PanelCount(), 1);
    QCOMPARE(main.AddPanel(250), 1);
    QCOMPARE(main.AddPanel(165), 2);
    QCOMPARE(main.AddPanel(135), 3);
    // The designed width is what a panel asks for; a long text asks for more.
    QCOMPARE(main.Panel(1)->sizeHint().width(), 250);
    QString group = QStringLiteral("Primaria Rita Vallesi");
    QList<int> asked;
    main.OnRefreshPanel = [&](TfmVtMDIMain *sender, int index, QString &text) {
        QCOMPARE(sender, &main);
        asked << index;
        switch (index) {
        case 1: text = QStringLiteral("Istituto: ") + group; break;
        case 2: text = QStringLiteral("C/C: 1234567 (Postale)"); break;
        default: break;   // panel 3 keeps its text
        }
    };
    main.Panel(3)->setText(QStringLiteral("Esercizio finanziario: 2025"));
    main.RefreshPanels();
    QCOMPARE(asked, (QList<int>{1, 2, 3}));
    QCOMPARE(main.PanelText(1), QStringLiteral("Istituto: Primaria Rita Vallesi"));
    QCOMPARE(main.PanelText(2), QStringLiteral("C/C: 1234567 (Postale)"));
    QCOMPARE(main.PanelText(3), QStringLiteral("Esercizio finanziario: 2025"));
    const QString user = qqoVtGlobConn->UserKey().section(QLatin1Char('@'), 0, 0);
    QCOMPARE(main.PanelText(0), QStringLiteral("Utente: %1 - %2").arg(user, QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))));

    group = QStringLiteral("Secondaria Ottavio Brenna");
    main.RefreshPanels();
    QCOMPARE(main.PanelText(1), QStringLiteral("Istituto: Secondaria Ottavio Brenna"));
    QCOMPARE(asked.size(), 6);

    group = QStringLiteral("Istituto Comprensivo Statale Giuseppe Mazzini di Borgo San Teodoro");
    main.RefreshPanels();
    QLabel *panel = main.Panel(1);
    QVERIFY(panel->sizeHint().width() > 250);
    QVERIFY(panel->sizeHint().width() >= panel->fontMetrics().horizontalAdvance(panel->text()));
    QCOMPARE(panel->toolTip(), panel->text());
}

void TstVtCommands::helpOpensTheHelpFile()
{
    TScopedMessageService msg;
    const QString dir = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("help"));
    QVERIFY(QDir().mkpath(dir));
    TfmVtMDIMain main;
    main.HelpFile = QDir(dir).filePath(QStringLiteral("DeradOzovizav.chm"));

    // Missing file: a message, nothing opened.
    main.ShowHelp();
    QCOMPARE(msg->Texts(), QStringList{QStringLiteral("Impossibile trovare il file della guida %1.")
                                           .arg(QDir::toNativeSeparators(main.HelpFile))});
    QVERIFY(msg->OpenedDocuments.isEmpty());

    // The HTML help of the same name stands for the compiled one.
    const QString html = QDir(dir).filePath(QStringLiteral("DeradOzovizav.html"));
    {
        QFile f(html);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<html><body>Guida</body></html>");
    }
    QCOMPARE(main.HelpFilePath(), html);
    int activated = 0;
    main.OnActivate = [&](TfmVtMDIMain *) { ++activated; };
    main.show();
    QApplication::setActiveWindow(&main);
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTRY_VERIFY(activated >= 1);
    QCOMPARE(main.ActivationCount(), activated);
    auto *child = new TfmVtChildDB;
    child->setProperty("HelpContext", 101);
    main.AddChild(child);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &main, Qt::Key_F1);
    QCOMPARE(msg->OpenedDocuments, QStringList{html + QStringLiteral("#101")});
    QCOMPARE(main.LastHelpContext(), 101);

    // Extra help items sit above "Informazioni su...".
    int news = 0;
    main.AddHelpMenuItem(QStringLiteral("Notizie sull'aggiornamento"), [&] { ++news; });
    QStringList items;
    for (QAction *a : main.mnHelp->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(items, (QStringList{QStringLiteral("&Guida in linea"), QStringLiteral("Notizie sull'aggiornamento"),
                                 QStringLiteral("-"), QStringLiteral("&Informazioni su...")}));
    main.mnHelp->actions().at(1)->trigger();
    QCOMPARE(news, 1);
}

void TstVtCommands::linkReleaseNotes()
{
    TScopedMessageService msg;
    TfmVtMDIMain main;
    TVtLink *link = main.Link();
    link->AreaType = xayRisorse;
    link->ReleaseNotesFileName = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("ebd_notizie.pdf"));
    QVERIFY(!link->ShowReleaseNotes());
    QCOMPARE(msg->LastText(), QStringLiteral("Impossibile trovare il file %1.")
                                  .arg(QDir::toNativeSeparators(link->ReleaseNotesFileName)));
    QFile f(link->ReleaseNotesFileName);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(link->ShowReleaseNotes());
    QCOMPARE(msg->OpenedDocuments, QStringList{link->ReleaseNotesFileName});
    QVERIFY(!link->EditParams());   // no parameter manager given
}

QTEST_MAIN(TstVtCommands)
#include "tst_vtcommands.moc"

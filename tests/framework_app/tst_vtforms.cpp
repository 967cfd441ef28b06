// Wizard, multi-selection, wait window and the small helpers, over the demo school.
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtException.h"
#include "VtFormRegistry.h"
#include "VtParams.h"
#include "VtUtils.h"
#include "VtWaitWindow.h"
#include "fmVtChildDB.h"
#include "fmVtMultiSelect.h"
#include "fmVtWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {
// A wizard as the program writes one: Next on the first page needs a
// choice, leaving it needs valid dates.
class TfwTestWizard : public TfmVtWizard
{
public:
    QCheckBox *ckAnno;
    bool DatesValid = true;
    QStringList Log;

    TfwTestWizard()
    {
        setWindowTitle(QStringLiteral("Inizio anno finanziario"));
        auto *p1 = new QWidget;
        ckAnno = new QCheckBox(QStringLiteral("Anno scelto"), p1);
        AddPage(p1, QStringLiteral("Scelta dell'anno"));
        AddPage(new QWidget, QStringLiteral("Riporti"));
        AddPage(new QWidget, QStringLiteral("Conferma"));
        connect(ckAnno, &QCheckBox::toggled, this, [this] { CheckButtons(); });
        CheckButtons();
    }

protected:
    void PageChanging(int from, int to, bool &allow) override
    {
        Log << QStringLiteral("changing %1>%2").arg(from).arg(to);
        if (from == 0 && !DatesValid) {
            VtMessageDlg(QStringLiteral("La data di fine anno dev'essere maggiore della data di inizio."), mtError, mbOK);
            allow = false;
            return;
        }
        TfmVtWizard::PageChanging(from, to, allow);
    }
    void PageChanged(int page) override
    {
        Log << QStringLiteral("changed %1").arg(page);
        TfmVtWizard::PageChanged(page);
    }
    bool CanGoNext(int page) const override { return page != 0 || ckAnno->isChecked(); }
};

struct TButtons
{
    bool Prior, Next, Ok;
    bool operator==(const TButtons &o) const { return Prior == o.Prior && Next == o.Next && Ok == o.Ok; }
};

TButtons ButtonsOf(const TfmVtWizard &w)
{
    return {w.buPrior->isEnabled(), w.buNext->isEnabled(), w.buOk->isEnabled()};
}

char *toString(const TButtons &b)
{
    return qstrdup(qPrintable(QStringLiteral("prior=%1 next=%2 ok=%3").arg(b.Prior).arg(b.Next).arg(b.Ok)));
}
}

class TfmTestRegistered : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmTestRegistered(QWidget *parent = nullptr) : TfmVtChildDB(parent) {}
};

class TstVtForms : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void wizardRefusesPageChangeAndChecksButtons();
    void wizardOkAndAbort();
    void multiSelectFromSelect();
    void multiSelectModalRun();
    void waitWindowSteps();
    void loadEnumValuesFromDemo();
    void stringHelpers();
    void defaultImages();
    void findFormByClassName();

private:
    std::unique_ptr<TTestDatabase> m_db;
};

void TstVtForms::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
}

void TstVtForms::init()
{
    m_db->Fresh();
}

void TstVtForms::wizardRefusesPageChangeAndChecksButtons()
{
    TScopedMessageService msg;
    TfwTestWizard w;
    QCOMPARE(w.buPrior->text(), QStringLiteral("< Indietro"));
    QCOMPARE(w.buNext->text(), QStringLiteral("Avanti >"));
    QCOMPARE(w.buOk->text(), QStringLiteral("OK"));
    QCOMPARE(w.buCancel->text(), QStringLiteral("Annulla"));
    QCOMPARE(w.PageCount(), 3);
    QCOMPARE(w.ActivePageIndex(), 0);
    QCOMPARE(w.laTitle->text(), QStringLiteral("Scelta dell'anno"));

    // First page, no year: nothing but Annulla.
    QCOMPARE(ButtonsOf(w), (TButtons{false, false, false}));
    w.ckAnno->setChecked(true);
    QCOMPARE(ButtonsOf(w), (TButtons{false, true, false}));

    // Leaving the first page is refused with the message; the page stays.
    w.Log.clear();
    w.DatesValid = false;
    w.buNext->click();
    QCOMPARE(w.ActivePageIndex(), 0);
    QCOMPARE(w.Log, QStringList{QStringLiteral("changing 0>1")});
    QCOMPARE(msg->Texts(), QStringList{QStringLiteral("La data di fine anno dev'essere maggiore della data di inizio.")});
    QCOMPARE(ButtonsOf(w), (TButtons{false, true, false}));

    // The handler event refuses as well.
    w.DatesValid = true;
    int asked = 0;
    w.OnPageChanging = [&](TfmVtWizard *, int from, int to, bool &allow) {
        ++asked;
        allow = !(from == 1 && to == 2);
    };
    w.Log.clear();
    w.buNext->click();
    QCOMPARE(w.ActivePageIndex(), 1);
    QCOMPARE(w.Log, (QStringList{QStringLiteral("changing 0>1"), QStringLiteral("changed 1")}));
    QCOMPARE(w.laTitle->text(), QStringLiteral("Riporti"));
    QCOMPARE(ButtonsOf(w), (TButtons{true, true, false}));
    QVERIFY(!w.Next());
    QCOMPARE(w.ActivePageIndex(), 1);
    QCOMPARE(asked, 2);

    // An error in the handler, from the button: its message, no move.
    msg->Clear();
    w.OnPageChanging = [](TfmVtWizard *, int, int, bool &) {
        throw EVtException(QStringLiteral("Anno finanziario non trovato"));
    };
    w.buNext->click();
    QCOMPARE(w.ActivePageIndex(), 1);
    QCOMPARE(msg->Texts(), QStringList{QStringLiteral("Anno finanziario non trovato")});

    w.OnPageChanging = nullptr;
    QVERIFY(w.Next());
    QCOMPARE(w.ActivePage(), w.Page(2));
    QCOMPARE(ButtonsOf(w), (TButtons{true, false, true}));
    // Going back asks too.
    w.Log.clear();
    w.buPrior->click();
    QCOMPARE(w.Log, (QStringList{QStringLiteral("changing 2>1"), QStringLiteral("changed 1")}));
    // Moving without asking.
    w.Log.clear();
    w.SetActivePage(0);
    QCOMPARE(w.Log, QStringList{QStringLiteral("changed 0")});
    QCOMPARE(w.pcWizard->currentIndex(), 0);
    QVERIFY(!w.GoToPage(7));

    // A state change re-enables through CheckButtons.
    w.ckAnno->setChecked(false);
    QCOMPARE(ButtonsOf(w), (TButtons{false, false, false}));
    w.OkOnEveryPage = true;
    w.CheckButtons();
    QCOMPARE(ButtonsOf(w), (TButtons{false, false, true}));
    int adjusted = 0;
    w.OnCheckButtons = [&](TfmVtWizard *sender) {
        ++adjusted;
        sender->buPrior->setVisible(false);
    };
    w.CheckButtons();
    QCOMPARE(adjusted, 1);
    QVERIFY(w.buPrior->isHidden());
}

void TstVtForms::wizardOkAndAbort()
{
    TfwTestWizard w;
    w.ckAnno->setChecked(true);
    w.OnPageChanging = [](TfmVtWizard *, int, int, bool &) { Abort(); };
    QVERIFY(!w.Next());
    QCOMPARE(w.ActivePageIndex(), 0);
    w.OnPageChanging = nullptr;
    w.SetActivePage(2);

    bool confirm = false;
    w.OnOkClick = [&](TfmVtWizard *, bool &allow) { allow = confirm; };
    QTimer::singleShot(0, &w, [&] {
        w.buOk->click();                // refused: stays open
        QVERIFY(w.isVisible());
        confirm = true;
        w.buOk->click();
    });
    QCOMPARE(w.exec(), int(QDialog::Accepted));
    QCOMPARE(w.ModalResult(), int(mrOk));
}

void TstVtForms::multiSelectFromSelect()
{
    TScopedMessageService msg;
    TfmVtMultiSelect dlg;
    dlg.SetCommandText(QStringLiteral("SELECT VAns.iAnsId, VAns.sAnsAnnoDesc FROM VAns_AnniScolast VAns ORDER BY VAns.iAnsValore"));
    dlg.SetFieldTitle(QStringLiteral("sAnsAnnoDesc"), QStringLiteral("Anno scolastico"), 180);
    dlg.Open();
    QCOMPARE(dlg.RowCount(), 2);
    QCOMPARE(dlg.RowText(0, QStringLiteral("SANSANNODESC")), QStringLiteral("2024/2025"));
    QCOMPARE(dlg.RowId(1).toInt(), 2025);

    // The grid: a tick column and the titled text column, the id hidden.
    QAbstractItemModel *m = dlg.grMain->model();
    QCOMPARE(m->columnCount(), 2);
    QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Anno scolastico"));
    QCOMPARE(m->data(m->index(1, 1)).toString(), QStringLiteral("2025/2026"));
    QCOMPARE(dlg.grMain->columnWidth(1), 180);
    QVERIFY(m->flags(m->index(0, 0)) & Qt::ItemIsUserCheckable);

    // Ticking as the user does, through the grid.
    QVERIFY(m->setData(m->index(1, 0), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(m->data(m->index(1, 0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(dlg.SelectedIds(), QList<int>{2025});
    QCOMPARE(dlg.laCount->text(), QStringLiteral("Selezionati: 1 di 2"));
    dlg.buSelectAll->click();
    QCOMPARE(dlg.SelectedIds(), (QList<int>{2024, 2025}));
    dlg.buSelectNone->click();
    QVERIFY(dlg.SelectedKeys().isEmpty());
    QVERIFY(dlg.SetCheckedId(2024, true));
    QVERIFY(!dlg.SetCheckedId(1999, true));

    // Ticks survive a reopen while their rows are still listed.
    dlg.Open();
    QCOMPARE(dlg.SelectedIds(), QList<int>{2024});

    // A select with parameters, bound by name.
    dlg.SetCommandText(QStringLiteral("SELECT Dwg.iDwgId, Dwg.sDwgDesc FROM TDwg_DataOwnerGrp Dwg "
                                      "WHERE Dwg.iDowId IS NOT NULL AND Dwg.iDwgId > :iMinId ORDER BY Dwg.iDwgId"));
    dlg.Params().CreateParam(QMetaType::Int, QStringLiteral("iMinId"))->SetAsInteger(2);
    dlg.Open();
    QCOMPARE(dlg.RowCount(), 1);
    QCOMPARE(dlg.RowText(0, QStringLiteral("sDwgDesc")), QStringLiteral("Secondaria Ottavio Brenna"));
    QVERIFY(dlg.SelectedIds().isEmpty());

    // Nothing ticked and an empty choice not allowed: a warning, the dialog stays.
    dlg.AllowEmpty = false;
    dlg.show();
    dlg.OkClick();
    QVERIFY(dlg.isVisible());
    QCOMPARE(msg->Texts(), QStringList{QStringLiteral("Selezionare almeno un elemento.")});
    QCOMPARE(msg->Messages.first().Type, mtWarning);
    dlg.SetChecked(0, true);
    dlg.OkClick();
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.ModalResult(), int(mrOk));
    QCOMPARE(dlg.SelectedIds(), QList<int>{3});
}

void TstVtForms::multiSelectModalRun()
{
    TfmVtMultiSelect dlg;
    dlg.setWindowTitle(QStringLiteral("Elenco Classi"));
    dlg.SetCommandText(QStringLiteral("SELECT Dwg.iDwgId, Dwg.sDwgDesc FROM TDwg_DataOwnerGrp Dwg ORDER BY Dwg.iDwgId"));
    QCOMPARE(dlg.RowCount(), 0);   // runs when shown
    QTimer::singleShot(0, &dlg, [&] {
        QCOMPARE(dlg.RowCount(), 3);
        dlg.SetChecked(0, true);
        dlg.SetChecked(2, true);
        dlg.buOk->click();
    });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QCOMPARE(dlg.SelectedIds(), (QList<int>{1, 3}));

    QTimer::singleShot(0, &dlg, [&] { dlg.buCancel->click(); });
    QCOMPARE(dlg.exec(), int(QDialog::Rejected));
    QCOMPARE(dlg.ModalResult(), int(mrCancel));
}

void TstVtForms::waitWindowSteps()
{
    QStringList seen;
    TVtWaitWindow::Observer() = [&](const TVtWaitWindow &w, TVtWaitWindow::TEvent e) {
        const char *names[] = {"show", "step", "close"};
        seen << QStringLiteral("%1 %2 %3/%4").arg(QLatin1String(names[e]), w.Caption()).arg(w.Position()).arg(w.Max());
    };
    {
        TVtWaitWindow wait(QStringLiteral("Calcolo dei riporti in corso. Attendere ..."), 0, 2);
        QVERIFY(wait.Visible());
        wait.Step();
        wait.Step();
        wait.Step();   // never past the end
        QCOMPARE(wait.Position(), 2);
    }   // closed when it goes out of scope
    TVtWaitWindow::Observer() = nullptr;
    const QString c = QStringLiteral("Calcolo dei riporti in corso. Attendere ...");
    QCOMPARE(seen, (QStringList{QStringLiteral("show %1 0/2").arg(c), QStringLiteral("step %1 1/2").arg(c),
                                QStringLiteral("step %1 2/2").arg(c), QStringLiteral("step %1 2/2").arg(c),
                                QStringLiteral("close %1 2/2").arg(c)}));
    bool anyWait = false;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("fmVtWait") && w->isVisible())
            anyWait = true;
    QVERIFY(!anyWait);
}

void TstVtForms::loadEnumValuesFromDemo()
{
    QComboBox cb;
    cb.addItem(QStringLiteral("vecchio"));
    QCOMPARE(LoadEnumValues(&cb, QStringLiteral("SELECT VAns.iAnsId, VAns.sAnsAnnoDesc FROM VAns_AnniScolast VAns ORDER BY VAns.iAnsValore DESC")), 2);
    QCOMPARE(cb.count(), 2);
    QCOMPARE(cb.itemText(0), QStringLiteral("2025/2026"));
    QCOMPARE(cb.itemData(0).metaType().id(), int(QMetaType::Int));
    QCOMPARE(cb.itemData(0).toInt(), 2025);
    QCOMPARE(cb.currentIndex(), -1);
    QCOMPARE(SelectEnumId(&cb, QStringLiteral("2024")), 1);
    QCOMPARE(SelectEnumId(&cb, QVariant()), -1);

    TVtParams params;
    params.CreateParam(QMetaType::Int, QStringLiteral("IDWGID"))->SetAsInteger(1);
    QListWidget list;
    QCOMPARE(LoadEnumValues(&list, QStringLiteral("SELECT Otg.iDwgId, Dwg.sDwgDesc FROM TOtgDwg Otg "
                                                  "INNER JOIN TDwg_DataOwnerGrp Dwg ON (Dwg.iDwgId = Otg.iDwgId) "
                                                  "WHERE Otg.iDwgId_Grp = :iDwgId ORDER BY Dwg.sDwgDesc"),
                            &params),
             2);
    QCOMPARE(list.item(1)->text(), QStringLiteral("Secondaria Ottavio Brenna"));
    QCOMPARE(list.item(1)->data(Qt::UserRole).toInt(), 3);

    QList<TVtEnumItem> items;
    QCOMPARE(LoadEnumValues(items, QStringLiteral("SELECT CAST('X1' AS VARCHAR(5)), CAST('testo' AS VARCHAR(10)) FROM RDB$DATABASE")), 1);
    QCOMPARE(items.first().Id.toString(), QStringLiteral("X1"));
    QCOMPARE(items.first().Text, QStringLiteral("testo"));

    QVERIFY_THROWS_EXCEPTION(EVtException, ReadEnumValues(QStringLiteral("SELECT iNonEsiste, sNo FROM TNonEsiste")));
}

void TstVtForms::stringHelpers()
{
    QCOMPARE(GetFieldFromList(QStringLiteral("0,12,15"), 0), QStringLiteral("0"));
    QCOMPARE(GetFieldFromList(QStringLiteral("0,12,15"), 2), QStringLiteral("15"));
    QCOMPARE(GetFieldFromList(QStringLiteral("0,12,15"), 3), QString());
    QCOMPARE(GetFieldFromList(QStringLiteral("a;b"), 1, QLatin1Char(';')), QStringLiteral("b"));
    QCOMPARE(GetFieldFromList(QStringLiteral("a,b"), -1), QString());

    const QString text = QStringLiteral("E' necessario impostare l'istituto di lavoro, l'anno finanziario, il conto");
    QCOMPARE(RPos(QStringLiteral(","), text), int(text.lastIndexOf(QLatin1Char(','))));
    QCOMPARE(RPos(QStringLiteral(","), QStringLiteral("nessuna virgola")), -1);
    QCOMPARE(RPos(QStringLiteral("ab"), QStringLiteral("abxab")), 3);
    QCOMPARE(RPos(QString(), QStringLiteral("abc")), -1);

    QCOMPARE(BoolToInt(true), 1);
    QCOMPARE(BoolToInt(false), 0);
}

void TstVtForms::defaultImages()
{
    const QStringList keys{QStringLiteral("CAUSALI"), QStringLiteral("ISTCASSIERE"), QStringLiteral("ALUNNI"),
                           QStringLiteral("TUTORI"), QStringLiteral("DATIANAGRAFICI"), QStringLiteral("BENEFICIARI"),
                           QStringLiteral("CAUSALICCP"), QStringLiteral("COMPCAU"), QStringLiteral("AGGREGATI"),
                           QStringLiteral("VOCI"), QStringLiteral("PARAMETRI"), QStringLiteral("NEWYEAR"),
                           QStringLiteral("FIRME"), QStringLiteral("CONSUNTIVO"), QStringLiteral("TUTORI"),
                           QStringLiteral("MODPAGAMENTO"), QStringLiteral("EXPORT")};
    const QList<QIcon> icons = LoadDefaultImages(3, keys);
    QCOMPARE(icons.size(), 17);
    QSet<QByteArray> distinct;
    for (int i = 0; i < icons.size(); ++i) {
        QVERIFY(!icons[i].isNull());
        QVERIFY(icons[i].availableSizes().contains(QSize(32, 32)));
        const QImage img = icons[i].pixmap(32).toImage();
        QCOMPARE(img.size(), QSize(32, 32));
        // Not a blank tile: the centre differs from the corner.
        QVERIFY(img.pixel(0, 0) != img.pixel(16, 16) || img.pixel(16, 16) != img.pixel(10, 12));
        distinct.insert(QByteArray(reinterpret_cast<const char *>(img.constBits()), int(img.sizeInBytes())));
    }
    // Same key, same picture (TUTORI twice); every other key its own.
    QCOMPARE(icons[3].pixmap(32).toImage(), icons[14].pixmap(32).toImage());
    QCOMPARE(distinct.size(), 16);
    QCOMPARE(VtImageSize(1), 16);
    QCOMPARE(LoadDefaultImages(1, {QStringLiteral("VOCI")}).first().availableSizes().first(), QSize(16, 16));
}

void TstVtForms::findFormByClassName()
{
    TVtFormRegistry::RegisterClass<TfmTestRegistered>(QStringLiteral("TfmEbsCau"));
    QVERIFY(TVtFormRegistry::IsRegistered(QStringLiteral("tfmebscau")));
    QVERIFY(!FindForm(QStringLiteral("TfmEbsCau")));
    QWidget *form = TVtFormRegistry::CreateForm(QStringLiteral("TfmEbsCau"));
    QVERIFY(qobject_cast<TfmTestRegistered *>(form));
    QVERIFY(!FindForm(QStringLiteral("TfmEbsCau")));   // not open until shown
    form->show();
    QCOMPARE(FindForm(QStringLiteral("TfmEbsCau")), form);
    QCOMPARE(FindForm(QStringLiteral("TfmTestRegistered")), nullptr);
    form->close();
    QVERIFY(!FindForm(QStringLiteral("TfmEbsCau")));
    delete form;

    // An unregistered form is found by its class name.
    TfmTestRegistered direct;
    direct.show();
    QCOMPARE(FindForm(QStringLiteral("TfmTestRegistered")), static_cast<QWidget *>(&direct));

    TVtFormRegistry::UnregisterClass(QStringLiteral("TfmEbsCau"));
    QVERIFY(!TVtFormRegistry::CreateForm(QStringLiteral("TfmEbsCau")));
}

QTEST_MAIN(TstVtForms)
#include "tst_vtforms.moc"

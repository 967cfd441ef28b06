#include "EbcFElencoXClassi.h"
#include "EbcFRptSelData.h"
#include "EbcFRptSelDateList.h"
#include "EbcFSelRptClsCau.h"
#include "EbdFRptSelClsComp.h"
#include "EbdURptForms.h"
#include "EbsFRptSelAluCau.h"
#include "EbsFRptSelDate.h"
#include "EbsFRptSelDateCheck.h"
#include "EbsFRptSelDateGrid.h"
#include "EbsFRptSelDateList.h"
#include "EbsFSelRptAnnoScolCau.h"
#include "EbsFSelTipoTot.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestScreens.h"
#include "VtFormRegistry.h"
#include "VtRptFilter.h"
#include "fmVtMDIMain.h"
#include "fmVtMultiSelect.h"
#include "fmVtuSelRptAnnoScol.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// The framework's two multi-selections as the report dialogs use them
// (caption, width, help, sortable columns, the school-year combo), and every
// report dialog created by its class name.
class TstRptSelect : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void captionWidthAndProperties();
    void helpContextOpensItsTopic();
    void helpTopicsOfTheReportDialogs();
    void titleClickSortsAndTicksFollowTheRows();
    void schoolYearComboRequeriesTheGrid();
    void schoolYearComboCanBeHidden();
    void filterMarkersReplacedInOnePlace();
    void everyDialogByClassName_data();
    void everyDialogByClassName();
    void screenshots();

private:
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    static QString HelpFile() { return QStringLiteral(VARDELLA_SOURCE_DIR "/etc/DeradOzovizav.html"); }
    static void Show(QWidget *w);
    static QStringList Column(const TfmVtMultiSelect &dlg, const QString &field);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
};

namespace {
// Pupils of different surnames and names, listed by id.
const QString PeopleSQL = u"SELECT Ana.iAnaId, Ana.sAnaCognome, Ana.sAnaNome FROM TAna_Anagrafiche Ana "
                          "WHERE Ana.iAnaId IN (46, 48, 73, 75, 164, 223) ORDER BY Ana.iAnaId"_s;
const QString ClassesSQL = u"SELECT Cls.iClsId, Cls.sClsDesc FROM VCls_Classi Cls "
                           "INNER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cls.dStart_Cls) "
                           "WHERE Ans.iAnsId = :iAnsId ORDER BY Cls.sClsDesc"_s;
}

void TstRptSelect::initTestCase()
{
    RegisterReportForms();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstRptSelect::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));
}

void TstRptSelect::cleanup()
{
    CloseBillingModule();
}

void TstRptSelect::cleanupTestCase()
{
    m_db.reset();
}

void TstRptSelect::Show(QWidget *w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

QStringList TstRptSelect::Column(const TfmVtMultiSelect &dlg, const QString &field)
{
    QStringList texts;
    for (int r = 0; r < dlg.RowCount(); ++r)
        texts << dlg.RowText(r, field);
    return texts;
}

void TstRptSelect::captionWidthAndProperties()
{
    TfmVtMultiSelect dlg;
    dlg.SetCaption(u"Selezione alunni"_s);
    QCOMPARE(dlg.windowTitle(), u"Selezione alunni"_s);
    dlg.SetDialogWidth(805);
    QCOMPARE(dlg.width(), 805);
    dlg.SetHelpContext(102);
    // A template reads and sets them by name.
    QCOMPARE(dlg.property("Caption").toString(), u"Selezione alunni"_s);
    QCOMPARE(dlg.property("HelpContext").toInt(), 102);
    QVERIFY(dlg.setProperty("DialogWidth", 640));
    QCOMPARE(dlg.width(), 640);
    QVERIFY(dlg.setProperty("Caption", u"Elenco"_s));
    QCOMPARE(dlg.windowTitle(), u"Elenco"_s);
}

void TstRptSelect::helpContextOpensItsTopic()
{
    TfmVtMDIMain main;
    main.HelpFile = HelpFile();
    TfmVtMultiSelect dlg(&main);
    dlg.SetCommandText(PeopleSQL);
    Show(&dlg);
    // Without a help context F1 opens nothing.
    QTest::keyClick(dlg.grMain, Qt::Key_F1);
    QVERIFY((*m_messages)->OpenedDocuments.isEmpty());
    dlg.SetHelpContext(1008);
    QTest::keyClick(dlg.grMain, Qt::Key_F1);
    QCOMPARE((*m_messages)->OpenedDocuments, QStringList{HelpFile() + u"#1008"_s});
    QCOMPARE(main.LastHelpContext(), 1008);
}

void TstRptSelect::helpTopicsOfTheReportDialogs()
{
    QFile f(HelpFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    for (const char *topic : {"102", "1006", "1007", "1008"})
        QVERIFY2(text.contains(u"id=\"%1\""_s.arg(QLatin1String(topic))), topic);
    QVERIFY(text.contains(u"Selezione causali (1006)"_s));
    QVERIFY(text.contains(u"Selezione componenti di causali (1007)"_s));
    QVERIFY(text.contains(u"Selezione alunni per i bollettini (1008)"_s));
}

void TstRptSelect::titleClickSortsAndTicksFollowTheRows()
{
    TfmVtMultiSelect dlg;
    dlg.SetCommandText(PeopleSQL);
    dlg.SetFieldTitle(u"sAnaCognome"_s, u"Cognome"_s, 160);
    dlg.SetFieldTitle(u"sAnaNome"_s, u"Nome"_s, 160);
    dlg.AddSortOrder(u"sAnaCognome;sAnaNome"_s);
    QCOMPARE(dlg.SortOrders(), QStringList{u"sAnaCognome;sAnaNome"_s});
    dlg.Open();
    const QStringList byId = Column(dlg, u"sAnaCognome"_s);
    QCOMPARE(dlg.RowId(0).toInt(), 46);
    // Giulio Dell'Orto (46) is ticked before sorting.
    dlg.SetChecked(0, true);

    // A click on the title of "Cognome" (column 1; 0 is the tick column).
    QHeaderView *header = dlg.grMain->horizontalHeader();
    dlg.resize(600, 400);
    Show(&dlg);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
    QCOMPARE(dlg.SortOrder(), u"sAnaCognome;sAnaNome"_s);
    QStringList expected;
    for (const QVariant &v : TTestDatabase::Column(u"SELECT sAnaCognome || '|' || sAnaNome FROM TAna_Anagrafiche "
                                                   "WHERE iAnaId IN (46, 48, 73, 75, 164, 223) "
                                                   "ORDER BY UPPER(sAnaCognome), UPPER(sAnaNome)"_s))
        expected << v.toString();
    QStringList shown;
    for (int r = 0; r < dlg.RowCount(); ++r)
        shown << dlg.RowText(r, u"sAnaCognome"_s) + u'|' + dlg.RowText(r, u"sAnaNome"_s);
    QCOMPARE(shown, expected);
    QVERIFY(shown != byId);
    // The grid shows the sorted rows, and the tick stayed with pupil 46.
    QAbstractItemModel *m = dlg.grMain->model();
    for (int r = 0; r < dlg.RowCount(); ++r) {
        QCOMPARE(m->data(m->index(r, 1)).toString(), dlg.RowText(r, u"sAnaCognome"_s));
        QCOMPARE(m->data(m->index(r, 0), Qt::CheckStateRole).toInt() == Qt::Checked, dlg.RowId(r).toInt() == 46);
    }
    QCOMPARE(dlg.SelectedIds(), QList<int>{46});
    // Ticking in the sorted grid ticks the row shown there.
    const int row = int(shown.indexOf(u"Cattaneo|"_s + Db(u"SELECT sAnaNome FROM TAna_Anagrafiche WHERE iAnaId = 73"_s).toString()));
    QVERIFY(row >= 0);
    QVERIFY(m->setData(m->index(row, 0), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(dlg.RowId(row).toInt(), 73);
    QCOMPARE(dlg.CheckedCount(), 2);

    // "Nome" has no sort order: its title does nothing.
    QVERIFY(!dlg.ClickTitle(2));
    QCOMPARE(dlg.SortOrder(), u"sAnaCognome;sAnaNome"_s);
    // A reopen keeps the order and the ticks.
    dlg.Open();
    QCOMPARE(dlg.RowText(0, u"sAnaCognome"_s) + u'|' + dlg.RowText(0, u"sAnaNome"_s), expected.first());
    const QList<int> ticked = dlg.SelectedIds();
    QCOMPARE(QSet<int>(ticked.begin(), ticked.end()), (QSet<int>{46, 73}));
    // Back to the select's own order.
    dlg.SortBy(QString());
    QCOMPARE(Column(dlg, u"sAnaCognome"_s), byId);
}

void TstRptSelect::schoolYearComboRequeriesTheGrid()
{
    TfmVtuSelRptAnnoScol dlg;
    QCOMPARE(dlg.cbAnnoScol->count(), 2);
    QCOMPARE(dlg.cbAnnoScol->itemText(0), u"2024/2025"_s);
    QCOMPARE(dlg.cbAnnoScol->itemText(1), u"2025/2026"_s);
    QCOMPARE(dlg.GetSelectediAnsId(), 2024);   // the working school year
    dlg.SetCommandText(ClassesSQL);
    dlg.SetParamValue(u"iAnsId"_s, 2024);
    Show(&dlg);
    const auto classes = [](int ans) {
        return Db(u"SELECT COUNT(*) FROM VCls_Classi Cls INNER JOIN VAns_AnniScolast Ans "
                  "ON (Ans.dAnsVeltoInizio = Cls.dStart_Cls) WHERE Ans.iAnsId = ?"_s, {ans}).toInt();
    };
    QCOMPARE(dlg.RowCount(), classes(2024));
    dlg.SetChecked(0, true);
    // Another year: the grid runs again for it, the 2024 tick gone with its row.
    dlg.cbAnnoScol->setCurrentIndex(1);
    QCOMPARE(dlg.GetSelectediAnsId(), 2025);
    QCOMPARE(dlg.Params().ParamByName(u"iAnsId"_s)->AsInteger(), 2025);
    QCOMPARE(dlg.RowCount(), classes(2025));
    QCOMPARE(dlg.RowText(0, u"sClsDesc"_s),
             Db(u"SELECT FIRST 1 Cls.sClsDesc FROM VCls_Classi Cls WHERE EXTRACT(YEAR FROM Cls.dStart_Cls) = 2025 "
                "ORDER BY Cls.sClsDesc"_s)
                 .toString());
    QVERIFY(dlg.SelectedIds().isEmpty());
    QCOMPARE(dlg.property("AnsId").toInt(), 2025);
    QVERIFY(!dlg.SetSelectediAnsId(1999));
    QVERIFY(dlg.SetSelectediAnsId(2024));
    QCOMPARE(dlg.RowCount(), classes(2024));

    // The preset follows the working school year.
    SetWorkingContext(1, 2025, 2025, 2, 2025);
    TfmVtuSelRptAnnoScol next;
    QCOMPARE(next.GetSelectediAnsId(), 2025);
}

void TstRptSelect::schoolYearComboCanBeHidden()
{
    TfmVtuSelRptAnnoScol dlg;
    dlg.SetAnnoScolVisible(false);
    Show(&dlg);
    QVERIFY(!dlg.laAnnoScol->isVisible());
    QVERIFY(!dlg.cbAnnoScol->isVisible());
    QVERIFY(!dlg.property("AnnoScolVisible").toBool());
    dlg.SetAnnoScolVisible(true);
    QVERIFY(dlg.laAnnoScol->isVisible());
    QVERIFY(dlg.cbAnnoScol->isVisible());
}

void TstRptSelect::filterMarkersReplacedInOnePlace()
{
    const QString sql = u"SELECT 1 FROM T WHERE /*ONLY VTRPTFILTER*/ AND X /*AND VTRPTFILTER*/ /*OR VTRPTFILTER*/ "
                        "/*and vtrptfilter*/"_s;
    QCOMPARE(TVtRptFilter::ApplyMarkers(sql, QString()), sql);
    QCOMPARE(TVtRptFilter::ApplyMarkers(sql, u"a = 1"_s),
             u"SELECT 1 FROM T WHERE (a = 1) AND X AND (a = 1) OR (a = 1) /*and vtrptfilter*/"_s);
}

void TstRptSelect::everyDialogByClassName_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("baseClass");
    QTest::newRow("TfmVtMultiSelect") << u"TfmVtMultiSelect"_s << QString() << u"TfmVtMultiSelect"_s;
    QTest::newRow("TfmVtuSelRptAnnoScol") << u"TfmVtuSelRptAnnoScol"_s << QString() << u"TfmVtMultiSelect"_s;
    QTest::newRow("TfmEbcRptSelData") << u"TfmEbcRptSelData"_s << u"Seleziona data"_s << u"QDialog"_s;
    QTest::newRow("TfmEbcElencoXClassi") << u"TfmEbcElencoXClassi"_s << u"Elenco Classi"_s << u"TfmVtMultiSelect"_s;
    QTest::newRow("TfmEbdRptSelClsComp") << u"TfmEbdRptSelClsComp"_s << QString() << u"TfmVtuSelRptAnnoScol"_s;
    QTest::newRow("TfmEbsRptSelDate") << u"TfmEbsRptSelDate"_s << u"Selezione date"_s << u"TfmVtMultiSelect"_s;
    QTest::newRow("TfmEbsRptSelDateList") << u"TfmEbsRptSelDateList"_s << u"Configurazione stampa"_s
                                          << u"TfmEbsRptSelDate"_s;
    QTest::newRow("TfmEbcRptSelDateList") << u"TfmEbcRptSelDateList"_s << u"Configurazione stampa"_s
                                          << u"TfmEbsRptSelDateList"_s;
    QTest::newRow("TfmEbsRptSelDateGrid") << u"TfmEbsRptSelDateGrid"_s << QString() << u"TfmEbsRptSelDate"_s;
    QTest::newRow("TfmEbsRptSelDateCheck") << u"TfmEbsRptSelDateCheck"_s << u"Seleziona date"_s << u"TfmEbsRptSelDate"_s;
    QTest::newRow("TfmEbcSelRptClsCau") << u"TfmEbcSelRptClsCau"_s << QString() << u"TfmVtuSelRptAnnoScol"_s;
    QTest::newRow("TfmEbsSelRptAnnoScolCau") << u"TfmEbsSelRptAnnoScolCau"_s << u"Selezione causali"_s
                                             << u"TfmVtuSelRptAnnoScol"_s;
    QTest::newRow("TfmEbsRptSelAluCau") << u"TfmEbsRptSelAluCau"_s << QString() << u"TfmVtuSelRptAnnoScol"_s;
    QTest::newRow("TfmEbsSelTipoTot") << u"TfmEbsSelTipoTot"_s << QString() << u"TfmVtOkCancDlg"_s;
}

void TstRptSelect::everyDialogByClassName()
{
    QFETCH(QString, className);
    QFETCH(QString, caption);
    QFETCH(QString, baseClass);
    QVERIFY(TVtFormRegistry::IsRegistered(className));
    std::unique_ptr<QWidget> form(TVtFormRegistry::CreateForm(className));
    QVERIFY(form);
    QCOMPARE(QString::fromLatin1(form->metaObject()->className()), className);
    QCOMPARE(TVtFormRegistry::ClassNameOf(form.get()), className);
    QVERIFY(form->inherits(baseClass.toLatin1().constData()));
    QCOMPARE(form->windowTitle(), caption);
    // It opens on the demo data with no message.
    auto *dialog = qobject_cast<QDialog *>(form.get());
    QVERIFY(dialog);
    Show(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE((*m_messages)->Texts(), QStringList());
    dialog->reject();
    QVERIFY(!dialog->isVisible());
}

void TstRptSelect::screenshots()
{
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    // The per-pupil reconciliation's dialog as the billing module prepares it.
    TfmVtMultiSelect pupils;
    pupils.SetCaption(u"Selezione alunni"_s);
    pupils.SetHelpContext(102);
    pupils.SetCommandText(u"SELECT Ana.iAnaId, Ana.sAnaCognome, Ana.sAnaNome, Cls.sClsDesc FROM TAna_Anagrafiche Ana "
                          "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = Ana.iAnaId) "
                          "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
                          "INNER JOIN VCls_Classi Cls ON (Cls.iClsId = Pst.iClsId) "
                          "WHERE Sit.dStart = DATE '2024-09-01' ORDER BY Cls.sClsDesc, Ana.sAnaCognome"_s);
    pupils.SetFieldTitle(u"sAnaCognome"_s, u"Cognome"_s, 200);
    pupils.SetFieldTitle(u"sAnaNome"_s, u"Nome"_s, 200);
    pupils.SetFieldTitle(u"sClsDesc"_s, u"Classe"_s, 100);
    for (const QString &order : {u"sAnaCognome"_s, u"sAnaNome"_s, u"sClsDesc"_s})
        pupils.AddSortOrder(order);
    pupils.SetDialogWidth(600);
    Show(&pupils);
    pupils.ClickTitle(1);
    pupils.SetChecked(1, true);
    pupils.SetChecked(3, true);
    QVERIFY(pupils.grab().save(dir.filePath(u"rpt_multiselect.png"_s)));
    CheckNothingCut(&pupils);

    TfmVtuSelRptAnnoScol components;
    components.SetCaption(u"Selezione componenti di causali"_s);
    components.SetCommandText(u"SELECT Cca.iCcaId, Cca.sCcaSDesc, Cca.sCcaLDesc FROM TCca_CompCausali Cca "
                              "INNER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cca.dStart) "
                              "WHERE Ans.iAnsId = :iAnsId ORDER BY Cca.sCcaLDesc"_s);
    components.SetParamValue(u"iAnsId"_s, 2024);
    components.SetFieldTitle(u"sCcaSDesc"_s, u"Codice"_s, 100);
    components.SetFieldTitle(u"sCcaLDesc"_s, u"Descrizione"_s, 300);
    Show(&components);
    components.SetChecked(0, true);
    QVERIFY(components.grab().save(dir.filePath(u"rpt_selannoscol.png"_s)));
    CheckNothingCut(&components);
}

QTEST_MAIN(TstRptSelect)
#include "tst_rptselect.moc"

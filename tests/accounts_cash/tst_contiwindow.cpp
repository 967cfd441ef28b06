#include "EbcFCcp.h"
#include "EbcFVerificaSaldi.h"
#include "EbcRCassa.h"
#include "EbcRSprIst.h"
#include "EbcRTcc.h"
#include "EbdMConn.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestScreens.h"
#include "VardellaModules.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtFormRegistry.h"
#include "VtGlobalValuesManager.h"
#include "VtQueryCollection.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPdfWriter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>
#include <QTimer>
#include <QDir>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// "Conti" with its cash rows and their split by typology: what is shown on
// opening, that nothing is written but the recalculation, and the
// recalculation itself.
class TstContiWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void opensOnTheWorkingAccountAndYear();
    void anAccountWithoutCashRows();
    void onlyShown();
    void ricalcolaActsOnTheWorkingAccountAndYear();
    void amountsAreFormatted();
    void verificaSaldi();
    void screenshot();

private:
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    static TVtQueryCollection *Cash() { return dmEbdConn->xqcCai; }
    static TVtQueryCollection *Split() { return dmEbdConn->xqcTcc; }
    void Open();

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    TfmEbcCcp *m_window = nullptr;
};

namespace {
constexpr int Empty = 9001;   // the test's own account, without cash rows
}

void TstContiWindow::initTestCase()
{
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [] {
        TTestDatabase::Exec(u"INSERT INTO TSprIst (iSprIstId, iDwgId, iSprIstPgm, iSprId, sSprIstNumCc, dStart) "
                            "SELECT %1, iDwgId, iSprIstPgm, iSprId, '000000009001', dStart FROM TSprIst WHERE iSprIstId = 2"_s
                                .arg(Empty));
    });
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstContiWindow::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));   // the bank account (2), financial year 2025
}

void TstContiWindow::Open()
{
    m_window = qobject_cast<TfmEbcCcp *>(TVtFormRegistry::CreateForm(u"TfmEbcCcp"_s));
    QVERIFY(m_window);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TstContiWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
    CloseBillingModule();
}

void TstContiWindow::cleanupTestCase()
{
    m_db.reset();
}

void TstContiWindow::opensOnTheWorkingAccountAndYear()
{
    Open();
    QCOMPARE(dmEbdConn->xqcSprIst->FieldByName(u"ISPRISTID"_s)->AsInteger(), 2);
    QVERIFY(Cash()->Active());
    QCOMPARE(Cash()->RecordCount(), 2);
    QCOMPARE(Cash()->FieldByName(u"ICAIESERCIZIOFIN"_s)->AsInteger(), 2025);
    QCOMPARE(m_window->frEbcCcpDetail->toolTip(), u"Stato del conto"_s);
    QCOMPARE(m_window->frEbcCcpSubDetail->toolTip(), u"Composizione saldo"_s);
    // The split of the current row: one row per top-level typology of that year.
    QVERIFY(Split()->Active());
    QCOMPARE(Split()->Params().ParamByName(u"iSprIstId"_s)->Value().toInt(), 2);
    QCOMPARE(Split()->Params().ParamByName(u"iCaiEsercizioFin"_s)->Value().toInt(), 2025);
    QCOMPARE(Split()->RecordCount(), Db(u"SELECT COUNT(*) FROM TTcc_TipoCompCaus WHERE iTccId = iTccId_P"_s).toInt());
    // Another row, another split.
    QVERIFY(Cash()->Locate(u"ICAIESERCIZIOFIN"_s, 2024));
    QCOMPARE(Split()->Params().ParamByName(u"iCaiEsercizioFin"_s)->Value().toInt(), 2024);
    QVERIFY(Split()->Active());
    QVERIFY(m_window->frEbcCcpSubDetail->acModificaSaldo);
}

void TstContiWindow::anAccountWithoutCashRows()
{
    Open();
    QVERIFY(dmEbdConn->xqcSprIst->Locate(u"ISPRISTID"_s, Empty));
    QVERIFY(Cash()->Active());
    QCOMPARE(Cash()->RecordCount(), 0);
    QVERIFY(!Split()->Active());
    QVERIFY(!m_window->frEbcCcpSubDetail->acModificaSaldo->isEnabled());
    QVERIFY(dmEbdConn->xqcSprIst->Locate(u"ISPRISTID"_s, 2));
    QVERIFY(Split()->Active());
}

void TstContiWindow::onlyShown()
{
    Open();
    for (TfrVtDBRWGrid *frame : std::initializer_list<TfrVtDBRWGrid *>{m_window->frEbcCcpDetail, m_window->frEbcCcpSubDetail})
        for (TVtDataAction *a : {frame->xacInsert, frame->xacEdit, frame->xacDelete, frame->xacTrash, frame->xacPost}) {
            QVERIFY(!a->isVisible());
            QVERIFY(!a->isEnabled());
        }
    for (TVtDBControl *c : m_window->frEbcCcpDetail->DetailControls())
        QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
    QCOMPARE(m_window->frEbcCcpDetail->DetailControls().size(), 7);
    QVERIFY(m_window->frEbcCcpSubDetail->pcMain->tabBar()->isHidden());
    QCOMPARE(m_window->frEbcCcpDetail->xacRicalcola->toolTip(), u"Ricalcola"_s);
}

void TstContiWindow::ricalcolaActsOnTheWorkingAccountAndYear()
{
    TTestDatabase::Exec(u"UPDATE TCai_CassaIst SET fCaiSaldoIn = 1 WHERE iSprIstId IN (1, 2)"_s);
    Open();
    // The grids on the post-office account's 2024 row.
    QVERIFY(dmEbdConn->xqcSprIst->Locate(u"ISPRISTID"_s, 1));
    QVERIFY(Cash()->Locate(u"ICAIESERCIZIOFIN"_s, 2024));
    m_window->frEbcCcpDetail->xacRicalcola->trigger();
    QVERIFY((*m_messages)->Messages.isEmpty());
    const QVariant paid = Db(u"SELECT SUM(fCacImporto) FROM TCac_CcaAcbCau WHERE iSprIstId = 2 AND dCacDataPagamento "
                             "BETWEEN '2025-01-01' AND '2025-12-31'"_s);
    QVERIFY(qAbs(Db(u"SELECT fCaiSaldoIn FROM TCai_CassaIst WHERE iSprIstId = 2 AND iCaiEsercizioFin = 2025"_s).toDouble()
                 - paid.toDouble()) < 1e-6);
    for (const auto &[account, year] : {std::pair{1, 2024}, std::pair{1, 2025}, std::pair{2, 2024}})
        QCOMPARE(Db(u"SELECT fCaiSaldoIn FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = ?"_s,
                    {account, year}).toDouble(), 1.0);
}

// The totals without a format of their own showed raw floating values.
void TstContiWindow::amountsAreFormatted()
{
    TTestDatabase::Exec(u"UPDATE TCai_CassaIst SET fCaiSaldoIn = -0.000000000002, fCaiDiffIniz = 1234.5 "
                        "WHERE iSprIstId = 2 AND iCaiEsercizioFin = 2025"_s);
    Open();
    QCOMPARE(Cash()->FieldByName(u"FCAISALDOIN"_s)->DisplayText(), u"0,00"_s);
    QCOMPARE(Cash()->FieldByName(u"FCAIDIFFINIZ"_s)->DisplayText(), u"1.234,50"_s);
    for (const char *name : {"FCAISALDOOUT", "FDIFF"})
        QCOMPARE(Cash()->FieldByName(QLatin1String(name))->DisplayFormat, u"#,###.00"_s);
}

void TstContiWindow::verificaSaldi()
{
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    {
        // Nothing differs on the demo school.
        TfmEbcVerificaSaldi empty(2025, 1);
        empty.show();
        QVERIFY(QTest::qWaitForWindowExposed(&empty));
        QCOMPARE(empty.windowTitle(), u"Verifica saldi"_s);
        QVERIFY(empty.laTitolo->text().startsWith(u"Esercizio finanziario 2025 - verifica del "_s));
        QCOMPARE(empty.RowCount(), 0);
        QVERIFY(empty.laNessuna->isVisible() && !empty.grDifferenze->isVisible());
        QCOMPARE(empty.laNessuna->text(), u"Nessuna differenza: i saldi dell'esercizio finanziario 2025 corrispondono ai "
                                          "pagamenti e ai movimenti."_s);
        QVERIFY(empty.Document()->toPlainText().contains(empty.laNessuna->text()));
        QVERIFY(empty.grab().save(dir.filePath(u"verifica_saldi_vuota.png"_s)));
        CheckNothingCut(&empty);
    }
    TTestDatabase::Exec(u"UPDATE TCai_CassaIst SET fCaiSaldoIn = fCaiSaldoIn + 5 WHERE iSprIstId = 2 AND iCaiEsercizioFin = 2025"_s);
    TfmEbcVerificaSaldi found(2025, 1);
    found.show();
    QVERIFY(QTest::qWaitForWindowExposed(&found));
    QCOMPARE(found.RowCount(), 1);
    QStringList row;
    for (int c = 0; c < found.grDifferenze->columnCount(); ++c)
        row << found.grDifferenze->item(0, c)->text();
    QCOMPARE(row.mid(0, 4), (QStringList{u"000000004721"_s, u"Bancario"_s, u"2025"_s, u"Saldo entrate"_s}));
    QCOMPARE(row.at(6), u"5,00"_s);
    QVERIFY(found.grab().save(dir.filePath(u"verifica_saldi.png"_s)));
    CheckNothingCut(&found);
    const QString text = found.Document()->toPlainText();
    QVERIFY(text.contains(u"Verifica saldi"_s) && text.contains(u"Saldo entrate"_s) && text.contains(u"000000004721"_s));
    const QString pdf = dir.filePath(u"verifica_saldi.pdf"_s);
    {
        QPdfWriter writer(pdf);
        found.PrintOn(&writer);
    }
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QVERIFY(file.size() > 1000);
    // From "Conti", on the working financial year.
    Open();
    bool shown = false;
    QTimer::singleShot(0, this, [&] {
        if (auto *w = qobject_cast<TfmEbcVerificaSaldi *>(QApplication::activeModalWidget())) {
            shown = w->laTitolo->text().startsWith(u"Esercizio finanziario 2025"_s) && w->RowCount() == 1;
            w->buChiudi->click();
        }
    });
    m_window->frEbcCcpDetail->xacVerificaSaldi->trigger();
    QVERIFY(shown);
}

void TstContiWindow::screenshot()
{
    Open();
    m_window->resize(1500, 900);
    m_window->frEbcCcpDetail->ShowDetail();
    QTest::qWait(20);
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    QVERIFY(m_window->grab().save(dir.filePath(u"conti.png"_s)));
    CheckNothingCut(m_window);
    m_window->frEbcCcpDetail->ShowGrid();
    QTest::qWait(20);
    QVERIFY(m_window->grab().save(dir.filePath(u"conti_elenco.png"_s)));
    CheckNothingCut(m_window);
    // The three frames lie inside the window, one beside or below the other.
    const QRect master = m_window->frEbcCcpMaster->geometry();
    const QRect cash(m_window->frEbcCcpDetail->mapTo(m_window, QPoint()), m_window->frEbcCcpDetail->size());
    const QRect split(m_window->frEbcCcpSubDetail->mapTo(m_window, QPoint()), m_window->frEbcCcpSubDetail->size());
    QVERIFY(!cash.isEmpty());
    QVERIFY(!cash.intersects(split));
    QVERIFY(master.bottom() < cash.top());
    QVERIFY(m_window->rect().contains(split));
}

QTEST_MAIN(TstContiWindow)
#include "tst_contiwindow.moc"

#include "EbdFInitAnf.h"
#include "EbdMConn.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestRow.h"
#include "VardellaModules.h"
#include "VtException.h"
#include "VtFormRegistry.h"
#include "VtMoneyEdit.h"
#include "VtSQLConnection.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <csignal>
#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The opening of a financial year is all or nothing: stopped after any of
// the program's statements, or by the database at any of its writes, it
// leaves the cash rows, their split and the movements as they were; the
// process killed after any statement leaves them as they were, or, killed
// after the commit, the year fully opened. The balance modification too.
//
// The executable is also the child the kill runs start: with
// VARDELLA_FAULT_KILL_AT=k and VARDELLA_FAULT_DB=<file> it runs the opening
// on that file and kills itself right after its k-th statement.
class TstInitAnfFaults : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void abortAtEveryStatement();
    void abortAtEveryWrite();
    void killAtEveryStatement();
    void modificationAbortsAtEveryStatement();

private:
    static QStringList Snapshot();
    static void CheckOpened();
    static void SetFaultAt(int write);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    static int s_statements;   // K, from the clean run
};

int TstInitAnfFaults::s_statements = 0;

namespace {
constexpr int Own = 9002;        // the test's own account: 2025 opened, with movements
constexpr int OwnRow2025 = 900201;
const QString Failed = u"Creazione del nuovo anno finanziario fallita."_s;
const QString Injected = u"Interruzione di prova."_s;
const QString TriggerFault = u"Guasto di prova alla scrittura."_s;

// Every write on the cash rows and their split counted in the transaction,
// the one numbered in TTest_Guasto refused.
const QStringList FaultTriggers{
    u"CREATE TABLE TTest_Guasto (iScrittura INTEGER)"_s,
    u"INSERT INTO TTest_Guasto (iScrittura) VALUES (0)"_s,
    u"CREATE EXCEPTION E_TEST_GUASTO 'Guasto di prova alla scrittura.'"_s,
    u"CREATE PROCEDURE PTest_Scrittura AS DECLARE VARIABLE n INTEGER; DECLARE VARIABLE k INTEGER; BEGIN "
    "n = COALESCE(CAST(RDB$GET_CONTEXT('USER_TRANSACTION', 'TEST_SCRITTURE') AS INTEGER), 0) + 1; "
    "RDB$SET_CONTEXT('USER_TRANSACTION', 'TEST_SCRITTURE', n); "
    "SELECT iScrittura FROM TTest_Guasto INTO :k; IF (k = n) THEN EXCEPTION E_TEST_GUASTO; END"_s,
    u"CREATE TRIGGER TTest_Cai_Guasto FOR TCai_CassaIst BEFORE INSERT OR UPDATE OR DELETE POSITION 30000 AS "
    "BEGIN EXECUTE PROCEDURE PTest_Scrittura; END"_s,
    u"CREATE TRIGGER TTest_CaiTcc_Guasto FOR TCaiTcc BEFORE INSERT OR UPDATE OR DELETE POSITION 30000 AS "
    "BEGIN EXECUTE PROCEDURE PTest_Scrittura; END"_s,
};

// The opening the Part's example takes: 2026 from 01/12/2025, 2025's end
// moved to 30/11/2025, 100 split 60 and 40, a difference of 1,50.
void TypeAmount(TVtMoneyEdit *edit, const QString &text)
{
    QApplication::setActiveWindow(edit->window());
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, text);
    edit->clearFocus();
}

std::unique_ptr<TfmEbdInitAnf> StartOpening(TScriptedMessageService &messages)
{
    std::unique_ptr<TfmEbdInitAnf> w(qobject_cast<TfmEbdInitAnf *>(TVtFormRegistry::CreateForm(u"TfmEbdInitAnf"_s)));
    w->show();
    w->cbPersonalizza->setChecked(true);
    w->deInizio->setDate(QDate(2025, 12, 1));
    w->deFine->setDate(QDate(2026, 12, 31));
    messages.Answers << mrYes;   // 2025 ends on 30/11/2025
    w->buNext->click();
    TypeAmount(w->Row(0), u"100"_s);
    TypeAmount(w->Row(1), u"60"_s);
    TypeAmount(w->Row(3), u"40"_s);
    TypeAmount(w->Differenze(), u"1,5"_s);
    return w;
}

void Confirm(TfmEbdInitAnf *w, TScriptedMessageService &messages)
{
    messages.Clear();
    messages.Answers << mrYes;
    w->buOk->click();
}

// The program's statements in order (not the rollback that follows a stop);
// At is told the number of each one that is not a commit.
struct TStatementCounter
{
    QStringList Statements;
    int Count = 0;
    std::function<void(int, const QString &)> At;
    TStatementCounter()
    {
        TVtSQLConnection::StatementObserver() = [this](const QString &statement) {
            if (statement == u"ROLLBACK"_s)
                return;
            Statements << statement;
            if (statement != u"COMMIT"_s)
                ++Count;
            if (At)
                At(statement == u"COMMIT"_s ? 0 : Count, statement);
        };
    }
    ~TStatementCounter() { TVtSQLConnection::StatementObserver() = nullptr; }
    // One commit, the last statement: nothing was committed before the end.
    bool CommittedOnceAtTheEnd() const
    {
        return Statements.count(u"COMMIT"_s) == 1 && Statements.last() == u"COMMIT"_s;
    }
};

int RunChild()
{
    const int killAt = qEnvironmentVariableIntValue("VARDELLA_FAULT_KILL_AT");
    RegisterVardellaModules();
    TScopedMessageService messages;
    dmEbdConn = new TdmEbdConn;
    dmEbdConn->Settings = TTestDatabase::SettingsFor(qEnvironmentVariable("VARDELLA_FAULT_DB"));
    if (!dmEbdConn->OpenConnection())
        return 2;
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    std::unique_ptr<TfmEbdInitAnf> w = StartOpening(*messages);
    TStatementCounter counter;
    counter.At = [&counter, killAt](int, const QString &) {
        if (counter.Statements.size() == killAt)
            ::kill(::getpid(), SIGKILL);
    };
    Confirm(w.get(), *messages);
    return 3;   // never killed: fewer statements than asked
}
}

void TstInitAnfFaults::initTestCase()
{
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [] {
        TTestDatabase::Exec(u"INSERT INTO TSprIst (iSprIstId, iDwgId, iSprIstPgm, iSprId, sSprIstNumCc, dStart) "
                            "SELECT %1, iDwgId, iSprIstPgm, iSprId, '000000009002', DATE '2020-01-01' FROM TSprIst "
                            "WHERE iSprIstId = 2"_s.arg(Own));
        TTestDatabase::Exec(u"INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin, fCaiCassaIn, iLocked) "
                            "VALUES (%1, %2, 2025, 250, 1)"_s.arg(OwnRow2025).arg(Own));
        for (int tcc = 1; tcc <= 4; ++tcc)
            TTestDatabase::Exec(u"INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (%1, %2, %3)"_s
                                    .arg(OwnRow2025).arg(tcc).arg(tcc == 4 ? 250 : 0));
        for (const auto &[id, day, kind, amount] :
             QList<std::tuple<int, QDate, int, double>>{{990201, QDate(2025, 2, 3), 0, 120.5},
                                                       {990202, QDate(2025, 6, 30), 1, 80.25},
                                                       {990203, QDate(2025, 11, 30), 0, 9.99}})
            TTestDatabase::Exec(u"INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, dMvmDataMov, lMvmTipo, fMvmImporto) "
                                "VALUES (%1, %2, '%3', %4, %5)"_s.arg(id).arg(Own).arg(day.toString(Qt::ISODate))
                                    .arg(kind).arg(amount));
        for (const QString &sql : FaultTriggers)
            TTestDatabase::Exec(sql);
    });
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstInitAnfFaults::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TMvm_MovimentiCcp WHERE dMvmDataMov > DATE '2025-11-30'"_s).toInt(), 0);
}

void TstInitAnfFaults::cleanup()
{
    TVtSQLConnection::StatementObserver() = nullptr;
    CloseBillingModule();
}

void TstInitAnfFaults::cleanupTestCase()
{
    m_db.reset();
}

// Every row of the cash rows, their split and the movements, every column.
QStringList TstInitAnfFaults::Snapshot()
{
    QStringList rows;
    for (const QString &table : {u"TCai_CassaIst"_s, u"TCaiTcc"_s, u"TMvm_MovimentiCcp"_s}) {
        QSqlQuery q(qqoVtGlobConn->Database());
        if (!q.exec(u"SELECT * FROM %1 ORDER BY 1, 2"_s.arg(table)))
            qFatal("%s", qPrintable(table));
        while (q.next()) {
            QStringList values{table};
            for (int i = 0; i < q.record().count(); ++i)
                values << (q.value(i).isNull() ? u"<null>"_s : q.value(i).toString());
            rows << values.join(u'|');
        }
    }
    return rows;
}

void TstInitAnfFaults::SetFaultAt(int write)
{
    TTestDatabase::Exec(u"UPDATE TTest_Guasto SET iScrittura = %1"_s.arg(write));
}

// The year fully opened: the locked 2026 row with its split, 2025 ending on
// 30/11/2025, both rows' totals following from their movements.
void TstInitAnfFaults::CheckOpened()
{
    QCOMPARE(TTestDatabase::Scalar(u"SELECT iLocked FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2026"_s,
                                   {Own}).toInt(), 1);
    QCOMPARE(TTestDatabase::Column(u"SELECT t.iTccId || '=' || CAST(t.fCaiTccImportoIniz AS NUMERIC(18,2)) FROM TCaiTcc t "
                                   "JOIN TCai_CassaIst c ON c.iCaiId = t.iCaiId WHERE c.iSprIstId = ? AND "
                                   "c.iCaiEsercizioFin = 2026 ORDER BY t.iTccId"_s, {Own}),
             QVariantList({u"1=60.00"_s, u"2=0.00"_s, u"3=40.00"_s, u"4=0.00"_s}));
    QCOMPARE(TTestDatabase::Scalar(u"SELECT dCaiFineAnno FROM TCai_CassaIst WHERE iCaiId = ?"_s, {OwnRow2025}).toDate(),
             QDate(2025, 11, 30));
    QCOMPARE(TTestDatabase::Scalar(u"SELECT dCaiInizioAnno FROM TCai_CassaIst WHERE iSprIstId = ? AND "
                                   "iCaiEsercizioFin = 2026"_s, {Own}).toDate(),
             QDate(2025, 12, 1));
    // 2025: 250 + 120,50 - 80,25 + 9,99 (the movement of 30/11 still inside); 2026 has none yet.
    QCOMPARE(TVtMoney::FromVariant(TTestDatabase::Scalar(u"SELECT fCaiCassaAtt FROM TCai_CassaIst WHERE iCaiId = ?"_s,
                                                         {OwnRow2025})),
             TVtMoney::FromCents(30024));
    QCOMPARE(TVtMoney::FromVariant(TTestDatabase::Scalar(u"SELECT fCaiCassaAtt FROM TCai_CassaIst WHERE iSprIstId = ? "
                                                         "AND iCaiEsercizioFin = 2026"_s, {Own})),
             TVtMoney::FromUnits(100));
    for (int year : {2025, 2026})
        QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM PEbc_CaiVerifica(?, 1) WHERE iSprIstId = ?"_s, {year, Own})
                     .toInt(), 0);
}

// Stopped right after its k-th statement, for k = 1, 2, ... until a run has
// fewer than k: that run is the clean one, and K its count.
void TstInitAnfFaults::abortAtEveryStatement()
{
    const QStringList before = Snapshot();
    int runs = 0;
    for (int k = 1;; ++k) {
        QVERIFY2(k < 50, "l'apertura non finisce mai");
        std::unique_ptr<TfmEbdInitAnf> w = StartOpening(**m_messages);
        QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsRiporti));
        QVERIFY(w->buOk->isEnabled());
        bool stopped = false;
        {
            TStatementCounter counter;
            // The commit has happened once it is told: stopping there stops nothing.
            counter.At = [&](int n, const QString &) {
                if (n == k) {
                    stopped = true;
                    throw EVtException(Injected);
                }
            };
            Confirm(w.get(), **m_messages);
            ++runs;
            if (!stopped) {
                QVERIFY2(counter.CommittedOnceAtTheEnd(), qPrintable(counter.Statements.join(u" / "_s)));
                s_statements = counter.Count;
                break;
            }
        }
        QCOMPARE((*m_messages)->Texts().mid(1), QStringList({Injected, Failed}));
        QVERIFY(w->isVisible());
        QCOMPARE(Snapshot(), before);
    }
    QCOMPARE((*m_messages)->LastText(), u"Creazione del nuovo anno finanziario conclusa con successo."_s);
    CheckOpened();
    QVERIFY(s_statements >= 2);   // the procedure and the move, at least
    qInfo("K = %d statements before the commit, %d runs", s_statements, runs);
}

// Refused by the database at its w-th write, for w = 1, 2, ... until the run
// goes through: W writes.
void TstInitAnfFaults::abortAtEveryWrite()
{
    const QStringList before = Snapshot();
    int writes = 0;
    for (int w = 1;; ++w) {
        QVERIFY2(w < 100, "l'apertura non finisce mai");
        SetFaultAt(w);
        std::unique_ptr<TfmEbdInitAnf> wizard = StartOpening(**m_messages);
        Confirm(wizard.get(), **m_messages);
        if ((*m_messages)->LastText() != Failed) {
            QCOMPARE((*m_messages)->LastText(), u"Creazione del nuovo anno finanziario conclusa con successo."_s);
            writes = w - 1;
            break;
        }
        QCOMPARE((*m_messages)->Texts().mid(1), QStringList({TriggerFault, Failed}));
        QCOMPARE(Snapshot(), before);
    }
    SetFaultAt(0);
    CheckOpened();
    QVERIFY(writes >= 6);   // the row, its four typologies, the previous end
    qInfo("W = %d writes in the database, %d runs", writes, writes + 1);
}

// The child killed right after statement k, then once right after the
// commit returns. The parent lets go of the file first: the embedded engine
// lets one process at a time open it.
void TstInitAnfFaults::killAtEveryStatement()
{
    QVERIFY(s_statements > 0);
    const QStringList before = Snapshot();
    const QString file = m_db->Settings().FilePath();
    for (int k = 1; k <= s_statements + 1; ++k) {
        CloseBillingModule();
        m_db->Connection()->Close();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"VARDELLA_FAULT_KILL_AT"_s, QString::number(k));
        env.insert(u"VARDELLA_FAULT_DB"_s, file);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        dmEbdConn = new TdmEbdConn;
        dmEbdConn->Settings = m_db->Settings();
        QVERIFY(dmEbdConn->OpenConnection());
        if (k <= s_statements)
            QCOMPARE(Snapshot(), before);
        else
            CheckOpened();
    }
    qInfo("%d runs killed", s_statements + 1);
}

// The modification of a split: stopped after any of its statements, the
// row and its split stay as they were; the error reaches the user.
void TstInitAnfFaults::modificationAbortsAtEveryStatement()
{
    const QStringList before = Snapshot();
    int statements = 0;
    for (int k = 1;; ++k) {
        QVERIFY2(k < 50, "la modifica non finisce mai");
        auto w = std::make_unique<TfmEbdInitAnf>();
        w->SetModificaSaldo(OwnRow2025);
        w->show();
        TypeAmount(w->Row(1), u"50"_s);
        TypeAmount(w->Row(4), u"200"_s);
        TypeAmount(w->Differenze(), u"-2"_s);
        QVERIFY(w->buOk->isEnabled());
        (*m_messages)->Clear();
        bool stopped = false;
        {
            TStatementCounter counter;
            counter.At = [&](int n, const QString &) {
                if (n == k) {
                    stopped = true;
                    throw EVtException(Injected);
                }
            };
            w->buOk->click();
            if (!stopped) {
                QVERIFY2(counter.CommittedOnceAtTheEnd(), qPrintable(counter.Statements.join(u" / "_s)));
                statements = counter.Count;
                break;
            }
        }
        QCOMPARE((*m_messages)->Texts(), QStringList{Injected});
        QVERIFY(w->isVisible());
        QCOMPARE(Snapshot(), before);
    }
    QCOMPARE(statements, 5);
    QVERIFY((*m_messages)->Messages.isEmpty());
    QCOMPARE(TTestDatabase::Column(u"SELECT iTccId || '=' || CAST(fCaiTccImportoIniz AS NUMERIC(18,2)) FROM TCaiTcc WHERE "
                                   "iCaiId = ? ORDER BY iTccId"_s, {OwnRow2025}),
             QVariantList({u"1=50.00"_s, u"2=0.00"_s, u"3=0.00"_s, u"4=200.00"_s}));
    QCOMPARE(TTestDatabase::Scalar(u"SELECT fCaiDiffIniz FROM TCai_CassaIst WHERE iCaiId = ?"_s, {OwnRow2025}).toDouble(), -2.0);
    qInfo("modification: %d statements before the commit, %d runs", statements, statements + 1);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("VARDELLA_FAULT_KILL_AT"))
        return RunChild();
    TstInitAnfFaults test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_initanffaults.moc"

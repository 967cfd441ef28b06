#include "TestDatabase.h"
#include "VtException.h"
#include "VtSQLQuery.h"

#include <QDate>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// What the database keeps of a cash row: the outgoing total and the current
// balance from the account's movements in the row's period, the incoming
// total from the fee book on request, and the current difference.
class TstCashTotals : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void movementsMoveTheTotals();
    void theRowsPeriodBoundsTheMovements();
    void aMovementMovedOrDeleted();
    void periodAndOpeningBalanceChanged();
    void aDirectWriteIsOverwritten();
    void currentDifference();
    void incomingTotalOfTheFeeBook();
    void openingANewYear();
    void completingAnUnlockedYear();
    void openingRefusals_data();
    void openingRefusals();
    void verificaSaldi();

private:
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    // Outgoing total and current balance of the account's row of a year.
    static QPair<double, double> Totals(int account, int year);
    static void Movement(int id, int account, int kind, const QDate &date, double amount);

    std::unique_ptr<TTestDatabase> m_db;
};

namespace {
constexpr int Account = 9001;   // the test's own, with a 2025 row of a user period
const QDate Start(2024, 12, 21), End(2025, 11, 30);
constexpr double Opening = 1000;
}

void TstCashTotals::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [] {
        TTestDatabase::Exec(u"INSERT INTO TSprIst (iSprIstId, iDwgId, iSprIstPgm, iSprId, sSprIstNumCc, dStart) "
                            "SELECT %1, iDwgId, iSprIstPgm, iSprId, '000000009001', dStart FROM TSprIst WHERE iSprIstId = 2"_s
                                .arg(Account));
        TTestDatabase::Exec(u"INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin, fCaiCassaIn, dCaiInizioAnno, "
                            "dCaiFineAnno) VALUES (9001, %1, 2025, %2, '2024-12-21', '2025-11-30')"_s.arg(Account).arg(Opening));
        TTestDatabase::Exec(u"INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin, fCaiCassaIn, dCaiFineAnno) "
                            "VALUES (9002, %1, 2024, 0, '2024-12-20')"_s.arg(Account));
    });
}

void TstCashTotals::init()
{
    m_db->Fresh();
}

void TstCashTotals::cleanupTestCase()
{
    m_db.reset();
}

QPair<double, double> TstCashTotals::Totals(int account, int year)
{
    return {Db(u"SELECT fCaiSaldoOut FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = ?"_s, {account, year}).toDouble(),
            Db(u"SELECT fCaiCassaAtt FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = ?"_s, {account, year}).toDouble()};
}

void TstCashTotals::Movement(int id, int account, int kind, const QDate &date, double amount)
{
    TTestDatabase::Exec(u"INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, lMvmTipo, dMvmDataMov, fMvmImporto, sMvmDesc) "
                        "VALUES (%1, %2, %3, '%4', %5, 'Prova')"_s.arg(id).arg(account).arg(kind)
                            .arg(date.toString(Qt::ISODate)).arg(amount));
}

void TstCashTotals::movementsMoveTheTotals()
{
    QCOMPARE(Totals(Account, 2025), qMakePair(0.0, Opening));
    Movement(9101, Account, 1, QDate(2025, 3, 1), 120.5);
    QCOMPARE(Totals(Account, 2025), qMakePair(120.5, Opening - 120.5));
    Movement(9102, Account, 0, QDate(2025, 4, 1), 300);
    QCOMPARE(Totals(Account, 2025), qMakePair(120.5, Opening - 120.5 + 300));
    // The demo's rows follow their movements too.
    const double out = Db(u"SELECT COALESCE(SUM(fMvmImporto), 0) FROM TMvm_MovimentiCcp WHERE iSprIstId = 2 AND lMvmTipo = 1 "
                          "AND dMvmDataMov BETWEEN '2025-01-01' AND '2025-12-31'"_s).toDouble();
    QVERIFY(qAbs(Totals(2, 2025).first - out) < 1e-9);
}

void TstCashTotals::theRowsPeriodBoundsTheMovements()
{
    Movement(9101, Account, 1, Start, 1);
    Movement(9102, Account, 1, End, 2);
    Movement(9103, Account, 1, End.addDays(1), 4);
    Movement(9104, Account, 1, Start.addDays(-1), 8);
    QCOMPARE(Totals(Account, 2025).first, 3.0);
    // A day before the start falls in 2024, which ends then.
    QCOMPARE(Totals(Account, 2024).first, 8.0);
}

void TstCashTotals::aMovementMovedOrDeleted()
{
    Movement(9101, Account, 1, QDate(2025, 3, 1), 50);
    TTestDatabase::Exec(u"UPDATE TMvm_MovimentiCcp SET dMvmDataMov = '2024-06-01' WHERE iMvmId = 9101"_s);
    QCOMPARE(Totals(Account, 2025), qMakePair(0.0, Opening));
    QCOMPARE(Totals(Account, 2024), qMakePair(50.0, -50.0));
    TTestDatabase::Exec(u"UPDATE TMvm_MovimentiCcp SET dMvmDataMov = '2025-03-01', lMvmTipo = 0 WHERE iMvmId = 9101"_s);
    QCOMPARE(Totals(Account, 2024), qMakePair(0.0, 0.0));
    QCOMPARE(Totals(Account, 2025), qMakePair(0.0, Opening + 50));
    const QPair<double, double> bank = Totals(2, 2025);
    TTestDatabase::Exec(u"UPDATE TMvm_MovimentiCcp SET iSprIstId = 2 WHERE iMvmId = 9101"_s);
    QCOMPARE(Totals(Account, 2025), qMakePair(0.0, Opening));
    QVERIFY(qAbs(Totals(2, 2025).second - (bank.second + 50)) < 1e-9);
    TTestDatabase::Exec(u"DELETE FROM TMvm_MovimentiCcp WHERE iMvmId = 9101"_s);
    QVERIFY(qAbs(Totals(2, 2025).second - bank.second) < 1e-9);
    // A change of nothing that counts leaves the rows alone.
    Movement(9102, Account, 1, QDate(2025, 3, 1), 10);
    TTestDatabase::Exec(u"UPDATE TCai_CassaIst SET fCaiSaldoOut = 77 WHERE iCaiId = 9001"_s);   // overwritten at once
    TTestDatabase::Exec(u"UPDATE TMvm_MovimentiCcp SET sMvmDesc = 'Altro', iLocked = 1 WHERE iMvmId = 9102"_s);
    QCOMPARE(Totals(Account, 2025), qMakePair(10.0, Opening - 10));
}

void TstCashTotals::periodAndOpeningBalanceChanged()
{
    Movement(9101, Account, 1, QDate(2025, 11, 15), 40);
    TTestDatabase::Exec(u"UPDATE TCai_CassaIst SET dCaiFineAnno = '2025-10-31' WHERE iCaiId = 9001"_s);
    QCOMPARE(Totals(Account, 2025), qMakePair(0.0, Opening));
    TTestDatabase::Exec(u"UPDATE TCai_CassaIst SET dCaiFineAnno = NULL, fCaiCassaIn = 1500 WHERE iCaiId = 9001"_s);
    QCOMPARE(Totals(Account, 2025), qMakePair(40.0, 1460.0));
}

void TstCashTotals::aDirectWriteIsOverwritten()
{
    Movement(9101, Account, 0, QDate(2025, 5, 5), 25);
    TTestDatabase::Exec(u"UPDATE TCai_CassaIst SET fCaiCassaAtt = 0, fCaiSaldoOut = 999 WHERE iCaiId = 9001"_s);
    QCOMPARE(Totals(Account, 2025), qMakePair(0.0, Opening + 25));
}

void TstCashTotals::currentDifference()
{
    auto diff = [] {
        return Db(u"SELECT fDiff FROM PEbc_MvmDiff(?, '2025/12/31')"_s, {Account}).toDouble();
    };
    TTestDatabase::Exec(u"UPDATE TCai_CassaIst SET fCaiSaldoIn = 200 WHERE iCaiId = 9001"_s);
    QCOMPARE(diff(), 200.0);   // collected, not registered by a movement yet
    Movement(9101, Account, 0, QDate(2025, 5, 5), 150);
    QCOMPARE(diff(), 50.0);
    TTestDatabase::Exec(u"UPDATE TCai_CassaIst SET fCaiDiffIniz = -7.5 WHERE iCaiId = 9001"_s);
    QCOMPARE(diff(), 42.5);
    QCOMPARE(Db(u"SELECT fDiff FROM PEbc_MvmDiff(?, '2030/12/31')"_s, {Account}).toDouble(), 0.0);
}

void TstCashTotals::incomingTotalOfTheFeeBook()
{
    auto recalc = [](int account, int year) {
        TTestDatabase::Exec(u"EXECUTE PROCEDURE PEbc_RicalcSaldoIn(%1, %2)"_s.arg(account).arg(year));
    };
    recalc(Account, 2025);
    QVERIFY(Db(u"SELECT fCaiSaldoIn FROM TCai_CassaIst WHERE iCaiId = 9001"_s).isNull());   // nothing paid
    // Two instalments paid into the account, one on the year's last day, one unpaid.
    const QVariantList cac = TTestDatabase::Column(u"SELECT FIRST 3 iCacId FROM TCac_CcaAcbCau ORDER BY iCacId"_s);
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET iSprIstId = %1, dCacDataPagamento = '2025-12-31', fCacImporto = 10 "
                        "WHERE iCacId = %2"_s.arg(Account).arg(cac.at(0).toInt()));
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET iSprIstId = %1, dCacDataPagamento = '2025-01-01', fCacImporto = 2.5 "
                        "WHERE iCacId = %2"_s.arg(Account).arg(cac.at(1).toInt()));
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET iSprIstId = %1, dCacDataPagamento = NULL, fCacImporto = 100 "
                        "WHERE iCacId = %2"_s.arg(Account).arg(cac.at(2).toInt()));
    recalc(Account, 2025);
    QCOMPARE(Db(u"SELECT fCaiSaldoIn FROM TCai_CassaIst WHERE iCaiId = 9001"_s).toDouble(), 12.5);
    QCOMPARE(Totals(Account, 2025), qMakePair(0.0, Opening));   // not in the balance
    // No row of that year: nothing written, no error.
    recalc(Account, 2026);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCai_CassaIst WHERE iSprIstId = ?"_s, {Account}).toInt(), 2);
}

namespace {
// PEBC_INITANNOFIN with its ten inputs; the error text, empty when it ran.
QString InitAnnoFin(int year, int account, const QList<double> &amounts, const QVariant &start, const QVariant &end)
{
    TSQLQuery q;
    q.SQL = u"EXECUTE PROCEDURE PEBC_INITANNOFIN(:ieserciziofin, :ispristid, :fsaldo, :ftasse, :fcontributi, :fquote, "
            ":fdiversi, :fdifferenze, :dinizioannofin, :dfineannofin)"_s;
    q.Params().CreateParam(QMetaType::Int, u"ieserciziofin"_s)->SetValue(year);
    q.Params().CreateParam(QMetaType::Int, u"ispristid"_s)->SetValue(account);
    const QStringList names{u"fsaldo"_s, u"ftasse"_s, u"fcontributi"_s, u"fquote"_s, u"fdiversi"_s, u"fdifferenze"_s};
    for (int i = 0; i < names.size(); ++i)
        q.Params().CreateParam(QMetaType::Double, names.at(i))->SetValue(amounts.value(i));
    q.Params().CreateParam(QMetaType::QDate, u"dinizioannofin"_s)->SetValue(start);
    q.Params().CreateParam(QMetaType::QDate, u"dfineannofin"_s)->SetValue(end);
    try {
        q.ExecSQL();
    } catch (const EVtException &e) {
        return e.Message();
    }
    return QString();
}

QString CashRows()
{
    QStringList rows;
    for (const QVariant &v : TTestDatabase::Column(u"SELECT iCaiId || ' ' || iSprIstId || ' ' || iCaiEsercizioFin || ' ' || "
                                                   "COALESCE(fCaiCassaIn, 0) || ' ' || COALESCE(iLocked, 0) || ' ' || "
                                                   "COALESCE(dCaiFineAnno, '-') FROM TCai_CassaIst ORDER BY iCaiId"_s))
        rows << v.toString();
    for (const QVariant &v : TTestDatabase::Column(u"SELECT iCaiId || ' ' || iTccId || ' ' || fCaiTccImportoIniz FROM TCaiTcc "
                                                   "ORDER BY iCaiId, iTccId"_s))
        rows << v.toString();
    return rows.join(u'\n');
}
}

void TstCashTotals::openingANewYear()
{
    Movement(9101, Account, 1, QDate(2026, 2, 1), 30);
    // Something already collected in 2026.
    const int cac = Db(u"SELECT FIRST 1 iCacId FROM TCac_CcaAcbCau ORDER BY iCacId"_s).toInt();
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET iSprIstId = %1, dCacDataPagamento = '2026-01-15', fCacImporto = 12 "
                        "WHERE iCacId = %2"_s.arg(Account).arg(cac));
    QCOMPARE(InitAnnoFin(2026, Account, {100, 10, 20, 30, 40, 2.5}, QVariant(), QVariant()), QString());
    QVERIFY(Db(u"SELECT iCaiId FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2026"_s, {Account}).toInt()
            >= 1000000);
    QCOMPARE(Db(u"SELECT CAST(fCaiCassaIn AS NUMERIC(18,2)) || ' ' || CAST(fCaiDiffIniz AS NUMERIC(18,2)) || ' ' || iLocked "
                "|| ' ' || CAST(fCaiSaldoIn AS NUMERIC(18,2)) || ' ' || CAST(fCaiSaldoOut AS NUMERIC(18,2)) || ' ' || "
                "CAST(fCaiCassaAtt AS NUMERIC(18,2)) || ' ' || COALESCE(dCaiInizioAnno, '-') || ' ' || "
                "COALESCE(dCaiFineAnno, '-') FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2026"_s,
                {Account}).toString(),
             u"100.00 2.50 1 12.00 30.00 70.00 - -"_s);
    QCOMPARE(TTestDatabase::Column(u"SELECT t.iTccId || '=' || CAST(t.fCaiTccImportoIniz AS INTEGER) FROM TCaiTcc t JOIN "
                                   "TCai_CassaIst c ON c.iCaiId = t.iCaiId WHERE c.iSprIstId = ? AND c.iCaiEsercizioFin = 2026 "
                                   "ORDER BY t.iTccId"_s, {Account}),
             (QVariantList{u"1=10"_s, u"2=20"_s, u"3=30"_s, u"4=40"_s}));
    // Given dates are stored as given.
    TTestDatabase::Exec(u"DELETE FROM TCai_CassaIst WHERE iSprIstId = %1 AND iCaiEsercizioFin = 2026"_s.arg(Account));
    QCOMPARE(InitAnnoFin(2026, Account, {0, 0, 0, 0, 0, 0}, QDate(2025, 12, 1), QDate(2026, 11, 30)), QString());
    QCOMPARE(Db(u"SELECT dCaiInizioAnno || ' ' || dCaiFineAnno FROM TCai_CassaIst WHERE iSprIstId = ? AND "
                "iCaiEsercizioFin = 2026"_s, {Account}).toString(), u"2025-12-01 2026-11-30"_s);
}

void TstCashTotals::completingAnUnlockedYear()
{
    const int row = Db(u"SELECT iCaiId FROM TCai_CassaIst WHERE iSprIstId = 5 AND iCaiEsercizioFin = 2025"_s).toInt();
    QCOMPARE(Db(u"SELECT COALESCE(iLocked, 0) FROM TCai_CassaIst WHERE iCaiId = ?"_s, {row}).toInt(), 0);
    QCOMPARE(InitAnnoFin(2025, 5, {10, 1, 2, 3, 4, 0}, QDate(2024, 12, 21), QVariant()), QString());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCai_CassaIst WHERE iSprIstId = 5 AND iCaiEsercizioFin = 2025"_s).toInt(), 1);
    QCOMPARE(Db(u"SELECT iLocked || ' ' || CAST(fCaiCassaIn AS NUMERIC(18,2)) FROM TCai_CassaIst WHERE iCaiId = ?"_s,
                {row}).toString(),
             u"1 10.00"_s);
    QCOMPARE(Db(u"SELECT SUM(fCaiTccImportoIniz) FROM TCaiTcc WHERE iCaiId = ?"_s, {row}).toDouble(), 10.0);
}

void TstCashTotals::openingRefusals_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("account");
    QTest::addColumn<QList<double>>("amounts");
    QTest::addColumn<QVariant>("start");
    QTest::addColumn<QVariant>("end");
    QTest::addColumn<QString>("message");
    const QList<double> fine{100, 25, 25, 25, 25, 0};
    QTest::newRow("no account") << 2026 << 4711 << fine << QVariant() << QVariant()
                                << u"Il conto corrente non esiste o è chiuso."_s;
    QTest::newRow("closed account") << 2026 << 4 << fine << QVariant() << QVariant()
                                    << u"Il conto corrente non esiste o è chiuso."_s;
    QTest::newRow("no such year") << 2031 << 2 << fine << QVariant() << QVariant()
                                  << u"L'anno finanziario 2031 non è definito."_s;
    QTest::newRow("locked year") << 2025 << 2 << fine << QVariant() << QVariant()
                                 << u"Le operazioni di inizio anno per l'anno finanziario 2025 sono già state fatte."_s;
    QTest::newRow("split off by a ten-thousandth") << 2026 << 2 << QList<double>{100, 25, 25, 25, 25.0001, 0} << QVariant()
                                                   << QVariant()
                                                   << u"Il saldo del conto non corrisponde alla somma delle tipologie."_s;
    QTest::newRow("end on the start") << 2026 << 2 << fine << QVariant(QDate(2026, 3, 1)) << QVariant(QDate(2026, 3, 1))
                                      << u"La data di fine anno dev'essere maggiore della data di inizio."_s;
}

void TstCashTotals::openingRefusals()
{
    QFETCH(int, year);
    QFETCH(int, account);
    QFETCH(QList<double>, amounts);
    QFETCH(QVariant, start);
    QFETCH(QVariant, end);
    QFETCH(QString, message);
    const QString before = CashRows();
    const QString error = InitAnnoFin(year, account, amounts, start, end);
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(CashRows(), before);
}

void TstCashTotals::verificaSaldi()
{
    auto differences = [](int year) {
        QStringList rows;
        for (const QVariant &v : TTestDatabase::Column(
                 u"SELECT iSprIstId || ' ' || sVoce || ' ' || CAST(fRegistrato AS NUMERIC(18,2)) || ' ' || "
                 "CAST(fRicalcolato AS NUMERIC(18,2)) FROM PEbc_CaiVerifica(?, 1)"_s, {year}))
            rows << v.toString();
        return rows;
    };
    QCOMPARE(differences(2024), QStringList());   // the demo's
    // The test's account (its 2025 row has no split yet) and the demo's.
    QCOMPARE(differences(2025), QStringList{u"9001 Saldo iniziale 1000.00 0.00"_s});
    TTestDatabase::Exec(u"INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (9001, 4, 1000.004)"_s);
    QCOMPARE(differences(2025), QStringList());   // below half a cent
    // A typology amount changed, an incoming total changed, a payment not recalculated.
    TTestDatabase::Exec(u"UPDATE TCaiTcc SET fCaiTccImportoIniz = 990 WHERE iCaiId = 9001"_s);
    TTestDatabase::Exec(u"UPDATE TCai_CassaIst SET fCaiSaldoIn = COALESCE(fCaiSaldoIn, 0) + 5 WHERE iSprIstId = 1 "
                        "AND iCaiEsercizioFin = 2025"_s);
    const int cac = Db(u"SELECT FIRST 1 iCacId FROM TCac_CcaAcbCau WHERE dCacDataPagamento IS NULL ORDER BY iCacId"_s).toInt();
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET iSprIstId = %1, dCacDataPagamento = '2025-03-03', fCacImporto = 7 "
                        "WHERE iCacId = %2"_s.arg(Account).arg(cac));
    const QStringList found = differences(2025);
    QCOMPARE(found.size(), 3);
    QCOMPARE(found.at(0).section(u' ', 0, 2), u"1 Saldo entrate"_s);
    QCOMPARE(found.at(1), u"9001 Saldo iniziale 1000.00 990.00"_s);
    QCOMPARE(found.at(2), u"9001 Saldo entrate 0.00 7.00"_s);
    // After the recalculation that payment is counted.
    TTestDatabase::Exec(u"EXECUTE PROCEDURE PEbc_RicalcSaldoIn(%1, 2025)"_s.arg(Account));
    QCOMPARE(differences(2025).size(), 2);
}

QTEST_MAIN(TstCashTotals)
#include "tst_cashtotals.moc"

#include "DbScripts.h"
#include "EbdUCac.h"
#include "TestDatabase.h"
#include "TestRow.h"
#include "VtDatabaseCreator.h"
#include "VtSQLConnection.h"
#include "VtSchemaUpgrader.h"
#include "dmVtConnection.h"

#include <QDir>
#include <QFile>

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// The amount rule of an instalment, and the instalments the database makes
// when a reason is assigned to a holder or the reason of an assignment
// changes.
class TstInstalments : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void amountRule_data();
    void amountRule();
    void storedAmounts();

    void oneInstalmentPerComponent();
    void assignmentPercentageDiscounts();
    void reasonWithoutComponentsBillsNothing();
    void sharedComponentBilledOncePerAssignment();
    void severalAssignmentsInOneStatement();
    void noteAndPercentageEditsLeaveInstalments();
    void reasonChangeReplacesInstalments();
    void reasonChangeRefusedWhenMoneyIsThere_data();
    void reasonChangeRefusedWhenMoneyIsThere();
    void componentBilledOncePerAssignment();
    void upgradeOfADatabaseInUse_data();
    void upgradeOfADatabaseInUse();

private:
    struct TInstalment
    {
        int Component;
        double Amount;
        QDate Due;
        double Percent;
        bool Paid;
    };
    static QList<TInstalment> Instalments(int assignment);
    static int Holder();
    // A reason of 2025/2026 with the given components (amount, due date).
    static int Reason(const QString &code, const QList<QPair<QVariant, QDate>> &components, QList<int> *ids = nullptr);
    static bool Exec(const QString &sql, QString *error = nullptr);

    std::unique_ptr<TTestDatabase> m_db;
};

namespace {
const QDate YearStart(2025, 9, 1), YearEnd(2026, 8, 31);
}

void TstInstalments::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
}

void TstInstalments::init()
{
    m_db->Fresh();
}

void TstInstalments::cleanupTestCase()
{
    m_db.reset();
}

// ---------------------------------------------------------------- the rule over values

void TstInstalments::amountRule_data()
{
    QTest::addColumn<double>("importo");
    QTest::addColumn<double>("perc");
    QTest::addColumn<double>("sconto");
    QTest::addColumn<double>("dote");
    QTest::addColumn<double>("acconti");
    QTest::addColumn<QString>("toPay");
    QTest::addColumn<bool>("covered");
    QTest::newRow("plain") << 100.0 << 0.0 << 0.0 << 0.0 << 0.0 << "100,00" << true;
    QTest::newRow("100 10% 5") << 100.0 << 10.0 << 5.0 << 0.0 << 0.0 << "85,00" << true;
    QTest::newRow("and an advance of 20") << 100.0 << 10.0 << 5.0 << 0.0 << 20.0 << "65,00" << true;
    QTest::newRow("6.40 at 10%: no floating noise") << 6.40 << 10.0 << 0.0 << 0.0 << 0.0 << "5,76" << true;
    QTest::newRow("a grant of what is left") << 6.40 << 10.0 << 0.0 << 5.76 << 0.0 << "0,00" << true;
    QTest::newRow("a third") << 33.33 << 33.33 << 0.0 << 0.0 << 0.0 << "22,22" << true;
    QTest::newRow("12.5% of 50.30") << 50.30 << 12.5 << 0.0 << 0.0 << 0.0 << "44,01" << true;
    QTest::newRow("covered exactly") << 50.0 << 50.0 << 10.0 << 15.0 << 0.0 << "0,00" << true;
    QTest::newRow("deductions above the amount") << 50.0 << 50.0 << 10.0 << 15.0 << 0.01 << "-0,01" << false;
    QTest::newRow("full discount") << 80.0 << 100.0 << 0.0 << 0.0 << 0.0 << "0,00" << true;
}

void TstInstalments::amountRule()
{
    QFETCH(double, importo);
    QFETCH(double, perc);
    QFETCH(double, sconto);
    QFETCH(double, dote);
    QFETCH(double, acconti);
    QFETCH(QString, toPay);
    QFETCH(bool, covered);
    const TEbdCacParts parts{TVtMoney(importo), perc, TVtMoney(sconto), TVtMoney(dote), TVtMoney(acconti)};
    QCOMPARE(EbdCacAmountToPay(parts).Format(), toPay);
    QCOMPARE(EbdCacDeductionsCovered(parts), covered);
    QCOMPARE(EbdCacAmountToPay(parts) + EbdCacDeductions(parts), parts.Importo);
}

void TstInstalments::storedAmounts()
{
    // What the database holds as a floating value is read as four decimals.
    QCOMPARE(EbdCacMoney(5.760000000000001), TVtMoney::FromCents(576));
    QCOMPARE(EbdCacMoney(0.0000000000000009), TVtMoney());
    QVERIFY(EbdCacMoney(0.0000000000000009).IsZero());
    QCOMPARE(EbdCacMoney(QVariant()), TVtMoney());
    QCOMPARE(EbdCacMoney(u"n/d"_s), TVtMoney());
    QCOMPARE(EbdCacMoney(33.3333), TVtMoney::FromRaw(333333));
}

// ---------------------------------------------------------------- the database's instalments

QList<TstInstalments::TInstalment> TstInstalments::Instalments(int assignment)
{
    QList<TInstalment> rows;
    QSqlQuery q(qqoVtGlobConn->Database());
    q.prepare(u"SELECT iCcaId, fCacImporto, dCacDataScadenza, fCacPercSconto, dCacDataPagamento FROM TCac_CcaAcbCau "
              "WHERE iAcbCauId = ? ORDER BY iCcaId"_s);
    q.addBindValue(assignment);
    if (!q.exec())
        qFatal("%s", qPrintable(q.lastError().text()));
    while (q.next())
        rows.append({q.value(0).toInt(), q.value(1).toDouble(), q.value(2).toDate(), q.value(3).toDouble(), !q.value(4).isNull()});
    return rows;
}

int TstInstalments::Holder()
{
    const int pupil = TTestDatabase::Scalar(u"SELECT FIRST 1 iAnaId FROM TAnaCag WHERE iCagId = 1 ORDER BY iAnaId"_s).toInt();
    return TTestRow::Holder(pupil, u"Prova Intestatario"_s).Set(u"iMpgId"_s, 1).Insert();
}

int TstInstalments::Reason(const QString &code, const QList<QPair<QVariant, QDate>> &components, QList<int> *ids)
{
    const int reason = TTestRow::Reason(code, YearStart, YearEnd).Insert();
    int n = 0;
    for (const auto &[amount, due] : components) {
        const int c = TTestRow::Component(u"%1-%2"_s.arg(code).arg(++n), TVtMoney(), YearStart, YearEnd)
                          .Set(u"fCcaImportoIst"_s, amount)
                          .Set(u"dCcaDataScadenza"_s, due)
                          .Set(u"iTccId"_s, 301)
                          .Insert();
        TTestRow::ReasonComponent(reason, c).Insert();
        if (ids)
            *ids << c;
    }
    return reason;
}

bool TstInstalments::Exec(const QString &sql, QString *error)
{
    QSqlQuery q(qqoVtGlobConn->Database());
    const bool ok = q.exec(sql);
    if (error)
        *error = q.lastError().text();
    return ok;
}

void TstInstalments::oneInstalmentPerComponent()
{
    QList<int> components;
    const int reason = Reason(u"TRE"_s, {{100.0, QDate(2025, 10, 15)}, {50.30, QDate(2026, 1, 15)}, {6.40, QDate(2026, 4, 15)}},
                              &components);
    const int assignment = TTestRow::HolderReason(Holder(), reason).Insert();
    const QList<TInstalment> rows = Instalments(assignment);
    QCOMPARE(rows.size(), 3);
    const QList<QPair<double, QDate>> expected{{100.0, QDate(2025, 10, 15)}, {50.30, QDate(2026, 1, 15)}, {6.40, QDate(2026, 4, 15)}};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(rows[i].Component, components[i]);
        QCOMPARE(rows[i].Amount, expected[i].first);
        QCOMPARE(rows[i].Due, expected[i].second);
        QCOMPARE(rows[i].Percent, 0.0);
        QVERIFY(!rows[i].Paid);
    }
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCac_CcaAcbCau WHERE iAcbCauId = ? AND fCacImpSconto = 0 "
                                   "AND fCacImpDaDote = 0 AND iCacId >= 1000000"_s, {assignment}).toInt(), 3);
    // A component without an institute amount bills 0.
    const int nothing = Reason(u"ZERO"_s, {{QVariant(QMetaType::fromType<double>()), QDate(2025, 11, 30)}});
    const QList<TInstalment> zero = Instalments(TTestRow::HolderReason(Holder(), nothing).Insert());
    QCOMPARE(zero.size(), 1);
    QCOMPARE(zero[0].Amount, 0.0);
}

void TstInstalments::assignmentPercentageDiscounts()
{
    const int reason = Reason(u"SCONTO"_s, {{100.0, QDate(2025, 10, 15)}, {6.40, QDate(2026, 1, 15)}});
    const int assignment = TTestRow::HolderReason(Holder(), reason).Set(u"fAcbCauPercSconto"_s, 10.0).Insert();
    const QList<TInstalment> rows = Instalments(assignment);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].Amount, 90.0);
    QCOMPARE(TVtMoney(rows[1].Amount), TVtMoney::FromCents(576));
    QCOMPARE(rows[0].Percent, 10.0);
    QCOMPARE(rows[1].Percent, 10.0);
}

void TstInstalments::reasonWithoutComponentsBillsNothing()
{
    const int reason = Reason(u"VUOTA"_s, {});
    QVERIFY(Instalments(TTestRow::HolderReason(Holder(), reason).Insert()).isEmpty());
}

void TstInstalments::sharedComponentBilledOncePerAssignment()
{
    QList<int> components;
    const int first = Reason(u"PRIMA"_s, {{40.0, QDate(2025, 10, 31)}}, &components);
    const int second = TTestRow::Reason(u"SECONDA"_s, YearStart, YearEnd).Insert();
    TTestRow::ReasonComponent(second, components[0]).Insert();
    const int holder = Holder();
    const int a = TTestRow::HolderReason(holder, first).Insert();
    const int b = TTestRow::HolderReason(holder, second).Insert();
    QCOMPARE(Instalments(a).size(), 1);
    QCOMPARE(Instalments(b).size(), 1);
    QCOMPARE(Instalments(b)[0].Component, components[0]);
}

void TstInstalments::severalAssignmentsInOneStatement()
{
    const int reason = Reason(u"MOLTI"_s, {{10.0, QDate(2025, 10, 31)}, {20.0, QDate(2026, 2, 28)}});
    const int before = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCac_CcaAcbCau"_s).toInt();
    // Every holder of the demo at once, as a bulk insertion writes them.
    QVERIFY(Exec(u"INSERT INTO TAcbCau (iAcbCauId, iAcbId, iCauId, fAcbCauPercSconto) "
                 "SELECT NEXT VALUE FOR GEN_VTID, iAcbId, %1, 0 FROM TAcb_AluCoordBan"_s.arg(reason)));
    const int holders = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TAcb_AluCoordBan"_s).toInt();
    QVERIFY(holders > 300);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCac_CcaAcbCau"_s).toInt(), before + 2 * holders);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId "
                                   "WHERE ac.iCauId = ?"_s, {reason}).toInt(), 2 * holders);
}

void TstInstalments::noteAndPercentageEditsLeaveInstalments()
{
    const int reason = Reason(u"NOTA"_s, {{100.0, QDate(2025, 10, 15)}});
    const int assignment = TTestRow::HolderReason(Holder(), reason).Insert();
    const int id = TTestDatabase::Scalar(u"SELECT iCacId FROM TCac_CcaAcbCau WHERE iAcbCauId = ?"_s, {assignment}).toInt();
    QVERIFY(Exec(u"UPDATE TAcbCau SET bAcbCauNote = 'Riduzione ISEE', fAcbCauPercSconto = 20 WHERE iAcbCauId = %1"_s.arg(assignment)));
    const QList<TInstalment> rows = Instalments(assignment);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].Amount, 100.0);   // the program's percentage update, not the database, recomputes it
    QCOMPARE(TTestDatabase::Scalar(u"SELECT iCacId FROM TCac_CcaAcbCau WHERE iAcbCauId = ?"_s, {assignment}).toInt(), id);
}

void TstInstalments::reasonChangeReplacesInstalments()
{
    const int old = Reason(u"VECCHIA"_s, {{100.0, QDate(2025, 10, 15)}, {100.0, QDate(2026, 1, 15)}});
    QList<int> components;
    const int replacement = Reason(u"NUOVA"_s, {{35.0, QDate(2026, 3, 20)}}, &components);
    const int assignment = TTestRow::HolderReason(Holder(), old).Set(u"fAcbCauPercSconto"_s, 10.0).Insert();
    // A grant part that rounds to nothing does not hold the change back.
    QVERIFY(Exec(u"UPDATE TCac_CcaAcbCau SET fCacImpDaDote = 0.30, fCacImporto = 89.70 WHERE iAcbCauId = %1 "
                 "AND dCacDataScadenza = '2025-10-15'"_s.arg(assignment)));
    QVERIFY(Exec(u"UPDATE TAcbCau SET iCauId = %1 WHERE iAcbCauId = %2"_s.arg(replacement).arg(assignment)));
    const QList<TInstalment> rows = Instalments(assignment);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].Component, components[0]);
    QCOMPARE(rows[0].Amount, 31.5);   // with the assignment's 10%
    QCOMPARE(rows[0].Due, QDate(2026, 3, 20));
}

void TstInstalments::reasonChangeRefusedWhenMoneyIsThere_data()
{
    QTest::addColumn<QString>("money");
    QTest::newRow("paid") << u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '2025-10-15' WHERE iCacId = %1"_s;
    QTest::newRow("grant part 0.70") << u"UPDATE TCac_CcaAcbCau SET fCacImpDaDote = 0.70 WHERE iCacId = %1"_s;
    QTest::newRow("grant part 2.00") << u"UPDATE TCac_CcaAcbCau SET fCacImpDaDote = 2 WHERE iCacId = %1"_s;
    QTest::newRow("advance") << u"INSERT INTO TCaa_CacAcconti (iCaaId, iCacId, fCaaImporto, dCaaData) "
                                "VALUES (NEXT VALUE FOR GEN_VTID, %1, 20, '2025-10-01')"_s;
}

void TstInstalments::reasonChangeRefusedWhenMoneyIsThere()
{
    QFETCH(QString, money);
    const int old = Reason(u"PAGATA"_s, {{100.0, QDate(2025, 10, 15)}, {100.0, QDate(2026, 1, 15)}});
    const int replacement = Reason(u"ALTRA"_s, {{35.0, QDate(2026, 3, 20)}});
    const int assignment = TTestRow::HolderReason(Holder(), old).Insert();
    const int first = TTestDatabase::Scalar(u"SELECT MIN(iCacId) FROM TCac_CcaAcbCau WHERE iAcbCauId = ?"_s, {assignment}).toInt();
    QVERIFY(Exec(money.arg(first)));
    QString error;
    QVERIFY(!Exec(u"UPDATE TAcbCau SET iCauId = %1 WHERE iAcbCauId = %2"_s.arg(replacement).arg(assignment), &error));
    QVERIFY2(error.contains(u"Impossibile modificare. E' presente un pagamento per questa causale."_s), qPrintable(error));
    QCOMPARE(TTestDatabase::Scalar(u"SELECT iCauId FROM TAcbCau WHERE iAcbCauId = ?"_s, {assignment}).toInt(), old);
    QCOMPARE(Instalments(assignment).size(), 2);
}

void TstInstalments::componentBilledOncePerAssignment()
{
    QList<int> components;
    const int reason = Reason(u"UNICA"_s, {{10.0, QDate(2025, 10, 31)}}, &components);
    const int assignment = TTestRow::HolderReason(Holder(), reason).Insert();
    QString error;
    QVERIFY(!Exec(u"INSERT INTO TCac_CcaAcbCau (iCacId, iAcbCauId, iCcaId, fCacImporto, dCacDataScadenza) "
                  "VALUES (NEXT VALUE FOR GEN_VTID, %1, %2, 10, '2025-10-31')"_s.arg(assignment).arg(components[0]), &error));
    QVERIFY2(error.contains(u"IX_TCAC_ACBCAUCCA"_s), qPrintable(error));
}

void TstInstalments::upgradeOfADatabaseInUse_data()
{
    QTest::addColumn<bool>("billedTwice");
    QTest::newRow("as the demo") << false;
    QTest::newRow("a component billed twice") << true;
}

// A database of the revision before, with the demo's instalments, takes the
// upgrade; one that already bills a component twice to an assignment keeps
// its rows and its plain index, and opens all the same.
void TstInstalments::upgradeOfADatabaseInUse()
{
    QFETCH(bool, billedTwice);
    TVtConnectionSettings s;
    QString error;
    QVERIFY2(TTestDatabase::CreateAtRevision(u"revisione2.fdb"_s, 3, &s, &error), qPrintable(error));
    TVtSQLConnection conn;
    TTestDatabase::TGlobalConnection global(&conn);
    QVERIFY2(conn.Open(s, &error), qPrintable(error));
    if (billedTwice)
        QVERIFY(Exec(u"INSERT INTO TCac_CcaAcbCau (iCacId, iAcbCauId, iCcaId, fCacImporto, dCacDataScadenza) "
                     "SELECT FIRST 1 NEXT VALUE FOR GEN_VTID, iAcbCauId, iCcaId, fCacImporto, dCacDataScadenza "
                     "FROM TCac_CcaAcbCau ORDER BY iCacId"_s));
    const int rows = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCac_CcaAcbCau"_s).toInt();
    conn.Close();

    QVERIFY2(TTestDatabase::UpgradeToShipped(s, &error), qPrintable(error));
    QVERIFY2(conn.Open(s, &error), qPrintable(error));
    QCOMPARE(TVtSchemaUpgrader::ReadRevision(conn.Database()), int(DbScripts::UpgradeScripts().size()));
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCac_CcaAcbCau"_s).toInt(), rows);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COALESCE(RDB$UNIQUE_FLAG, 0) FROM RDB$INDICES "
                                   "WHERE RDB$INDEX_NAME = 'IX_TCAC_ACBCAUCCA'"_s).toInt(), billedTwice ? 0 : 1);
    // The database bills from now on.
    const int reason = Reason(u"DOPO"_s, {{12.0, QDate(2025, 12, 1)}});
    QCOMPARE(Instalments(TTestRow::HolderReason(Holder(), reason).Insert()).size(), 1);
    conn.Close();
}

QTEST_MAIN(TstInstalments)
#include "tst_instalments.moc"

#include "TestDatabase.h"
#include "TestRow.h"

#include <QFileInfo>
#include <QTest>

// The test support itself: every test function on a fresh copy of a database
// built once, and rows built by column name that the schema accepts.
class TstTestDatabase : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void aTestWritesAndFails();
    void theNextTestDoesNotSeeIt();
    void theTemplateIsNeverTheWorkingFile();
    void accountCashRowAndMovement();
    void feeRowsFromHolderToInstalment();
    void setOverridesAndKeysComeFromTheGenerator();

private:
    static int Count(const QString &table) { return TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt(); }
    std::unique_ptr<TTestDatabase> m_db;
};

void TstTestDatabase::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [] {
        TTestDatabase::Exec(QStringLiteral("CREATE TABLE TTD_NOTE (INOTEID INTEGER NOT NULL PRIMARY KEY, SNOTE VARCHAR(20))"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TTD_NOTE (INOTEID, SNOTE) VALUES (1, 'dal modello')"));
    });
}

void TstTestDatabase::init()
{
    m_db->Fresh();
}

void TstTestDatabase::aTestWritesAndFails()
{
    TTestDatabase::Exec(QStringLiteral("INSERT INTO TTD_NOTE (INOTEID, SNOTE) VALUES (2, 'di un test')"));
    TTestDatabase::Exec(QStringLiteral("DELETE FROM TTD_NOTE WHERE INOTEID = 1"));
    QCOMPARE(Count(QStringLiteral("TTD_NOTE")), 1);
    QEXPECT_FAIL("", "a failing assertion leaves its rows behind, and the next test must not care", Abort);
    QCOMPARE(Count(QStringLiteral("TTD_NOTE")), 0);
}

void TstTestDatabase::theNextTestDoesNotSeeIt()
{
    QCOMPARE(TTestDatabase::Column(QStringLiteral("SELECT SNOTE FROM TTD_NOTE")), QVariantList{QStringLiteral("dal modello")});
}

void TstTestDatabase::theTemplateIsNeverTheWorkingFile()
{
    const QString first = m_db->Settings().FilePath();
    QVERIFY(first != QFileInfo(m_db->TemplatePath()).absoluteFilePath());
    const TVtConnectionSettings next = m_db->Fresh();
    QVERIFY(next.FilePath() != first);
    QVERIFY(!QFileInfo::exists(first));   // the copy in use before is gone
    QVERIFY(m_db->Connection()->Connected());
    QCOMPARE(qqoVtGlobConn, m_db->Connection());
}

void TstTestDatabase::accountCashRowAndMovement()
{
    const int branch = TTestDatabase::Scalar(QStringLiteral("SELECT MIN(iSprId) FROM TSpr_SportelliCab")).toInt();
    const int account = TTestRow::Account(branch).Insert();
    const int cash = TTestRow::CashRow(account, 2025).Set(QStringLiteral("fCaiCassaIn"), TVtMoney::FromCents(12345)).Insert();
    const int movement = TTestRow::Movement(account, QDate(2025, 3, 4), TVtMoney::FromCents(1999)).Insert();
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT iSprId FROM TSprIst WHERE iSprIstId = ?"), {account}).toInt(), branch);
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT dStart FROM TSprIst WHERE iSprIstId = ?"), {account}).toDate(), QDate(2018, 1, 1));
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT iCaiEsercizioFin FROM TCai_CassaIst WHERE iCaiId = ?"), {cash}).toInt(), 2025);
    QCOMPARE(TVtMoney::FromVariant(TTestDatabase::Scalar(QStringLiteral("SELECT fCaiCassaIn FROM TCai_CassaIst WHERE iCaiId = ?"), {cash})),
             TVtMoney::FromCents(12345));
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT dMvmDataMov FROM TMvm_MovimentiCcp WHERE iMvmId = ?"), {movement}).toDate(),
             QDate(2025, 3, 4));
    QCOMPARE(TVtMoney::FromVariant(TTestDatabase::Scalar(QStringLiteral("SELECT fMvmImporto FROM TMvm_MovimentiCcp WHERE iMvmId = ?"), {movement})),
             TVtMoney::FromCents(1999));
}

void TstTestDatabase::feeRowsFromHolderToInstalment()
{
    const QDate start(2026, 9, 1), end(2027, 8, 31);
    const int holder = TTestRow::Holder(1, QStringLiteral("Ruggieri Michele"), QStringLiteral("IT60X0542811101000000123456")).Insert();
    const int reason = TTestRow::Reason(QStringLiteral("MENSA"), start, end).Insert();
    const int component = TTestRow::Component(QStringLiteral("MENSA OTT"), TVtMoney::FromCents(4550), start, end)
                              .Set(QStringLiteral("dCcaDataScadenza"), QDate(2026, 10, 31))
                              .Insert();
    // Assigned before the component is linked, so that the database bills nothing itself.
    const int assigned = TTestRow::HolderReason(holder, reason).Insert();
    TTestRow::ReasonComponent(reason, component).Insert();
    const int instalment = TTestRow::Instalment(assigned, component, TVtMoney::FromCents(4550), QDate(2026, 10, 31)).Insert();
    // The instalment reaches its paying parent through the assigned reason.
    const QVariantList row = TTestDatabase::Column(
        QStringLiteral("SELECT a.sAcbIntestatario FROM TCac_CcaAcbCau c JOIN TAcbCau ac ON ac.iAcbCauId = c.iAcbCauId "
                       "JOIN TAcb_AluCoordBan a ON a.iAcbId = ac.iAcbId JOIN TCauCca l ON l.iCauId = ac.iCauId AND l.iCcaId = c.iCcaId "
                       "WHERE c.iCacId = ?"),
        {instalment});
    QCOMPARE(row, QVariantList{QStringLiteral("Ruggieri Michele")});
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT sAcbIBan FROM TAcb_AluCoordBan WHERE iAcbId = ?"), {holder}).toString(),
             QStringLiteral("IT60X0542811101000000123456"));
    QVERIFY(TTestDatabase::Scalar(QStringLiteral("SELECT dCacDataPagamento FROM TCac_CcaAcbCau WHERE iCacId = ?"), {instalment}).isNull());
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT dStart FROM TCau_Causali WHERE iCauId = ?"), {reason}).toDate(), start);
}

void TstTestDatabase::setOverridesAndKeysComeFromTheGenerator()
{
    TTestRow row = TTestRow::Reason(QStringLiteral("GITA"), QDate(2026, 9, 1), QDate(2027, 8, 31));
    row.Set(QStringLiteral("SCAUSDESC"), QStringLiteral("USCITA")).Set(QStringLiteral("dEnd"), QVariant());
    QCOMPARE(row.Value(QStringLiteral("sCauSDesc")).toString(), QStringLiteral("USCITA"));
    const int a = row.Insert();
    const int b = row.Insert();   // the same builder again: another key
    QVERIFY(a != b);
    QCOMPARE(TTestDatabase::Column(QStringLiteral("SELECT sCauSDesc FROM TCau_Causali WHERE iCauId IN (?, ?)"), {a, b}),
             (QVariantList{QStringLiteral("USCITA"), QStringLiteral("USCITA")}));
    QVERIFY(TTestDatabase::Scalar(QStringLiteral("SELECT dEnd FROM TCau_Causali WHERE iCauId = ?"), {a}).isNull());
    // A key set by the test is kept.
    QCOMPARE(TTestRow::Reason(QStringLiteral("X"), QDate(), QDate()).Set(QStringLiteral("iCauId"), 987654).Insert(), 987654);
}

QTEST_MAIN(TstTestDatabase)
#include "tst_testdatabase.moc"

#include "EbdUCac.h"
#include "TestDatabase.h"
#include "VtMoney.h"
#include "VtSQLConnection.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// The demo school's money adds up: every instalment keeps the amount rule to
// the cent, every grant's spread part is on its holder's instalments, and
// the demo has the rows the billing windows are shown with (spread grants,
// ISEE discounts, an instalment's own payment mode, a pupil paid by both
// parents).
class TstDemoRules : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void everyInstalmentKeepsTheAmountRule();
    void grantsSpreadWhatTheirHoldersInstalmentsTook();
    void aSpreadGrantInEachSchoolYear_data();
    void aSpreadGrantInEachSchoolYear();
    void iseeDiscountsWithTheirNote();
    void canteenInstalmentsWithTheirOwnPaymentMode();
    void aPupilPaidByBothParents();

private:
    // Runs a select with positional values; fails the test on error.
    static QSqlQuery Select(const QString &sql, const QVariantList &values = {});
    static TVtMoney Money(const QVariant &v) { return TVtMoney::FromVariant(v).RoundedToCents(); }
    // Advances per instalment, summed in fixed point.
    static QHash<int, TVtMoney> Advances();

    std::unique_ptr<TTestDatabase> m_db;
};

void TstDemoRules::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
}

void TstDemoRules::init()
{
    m_db->Fresh();
}

void TstDemoRules::cleanupTestCase()
{
    m_db.reset();
}

QSqlQuery TstDemoRules::Select(const QString &sql, const QVariantList &values)
{
    QSqlQuery q(qqoVtGlobConn->Database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        qFatal("%s", qPrintable(q.lastError().text()));
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec())
        qFatal("%s", qPrintable(q.lastError().text()));
    return q;
}

QHash<int, TVtMoney> TstDemoRules::Advances()
{
    QHash<int, TVtMoney> sums;
    QSqlQuery q = Select(u"SELECT iCacId, fCaaImporto FROM TCaa_CacAcconti"_s);
    while (q.next())
        sums[q.value(0).toInt()] += TVtMoney::FromVariant(q.value(1));
    return sums;
}

// fCacImporto = I - I x P / 100 - S - D - A, to the cent, on every row.
void TstDemoRules::everyInstalmentKeepsTheAmountRule()
{
    const QHash<int, TVtMoney> advances = Advances();
    QSqlQuery q = Select(u"SELECT cac.iCacId, cca.fCcaImportoIst, cac.fCacPercSconto, cac.fCacImpSconto, cac.fCacImpDaDote, "
                         "cac.fCacImporto FROM TCac_CcaAcbCau cac JOIN TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId"_s);
    int rows = 0, withAdvances = 0, withDiscount = 0, withGrant = 0;
    while (q.next()) {
        const int id = q.value(0).toInt();
        const TEbdCacParts parts{EbdCacMoney(q.value(1)), q.value(2).toDouble(), EbdCacMoney(q.value(3)), EbdCacMoney(q.value(4)),
                                 advances.value(id)};
        const qint64 stored = EbdCacMoney(q.value(5)).Cents();
        if (EbdCacAmountToPay(parts).Cents() != stored)
            QFAIL(qPrintable(u"instalment %1: %2 stored, the rule gives %3"_s.arg(id).arg(EbdCacMoney(q.value(5)).Format(),
                                                                                     EbdCacAmountToPay(parts).Format())));
        ++rows;
        withAdvances += advances.contains(id) ? 1 : 0;
        withDiscount += parts.ImpSconto.IsZero() ? 0 : 1;
        withGrant += parts.ImpDaDote.IsZero() ? 0 : 1;
    }
    QCOMPARE(rows, TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCac_CcaAcbCau"_s).toInt());
    QVERIFY(rows > 2000);
    // Every deduction of the rule is there at least once.
    QVERIFY(withAdvances > 0);
    QVERIFY(withDiscount > 0);
    QVERIFY(withGrant > 0);
    QVERIFY(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCac_CcaAcbCau WHERE fCacPercSconto > 0"_s).toInt() > 0);
}

// Per grant and per holder: amount - residue is the sum of the grant parts
// on the holder's instalments, in every school year.
void TstDemoRules::grantsSpreadWhatTheirHoldersInstalmentsTook()
{
    using TKey = QPair<int, int>;   // holder, school year
    QHash<TKey, TVtMoney> spread, parts;
    QSqlQuery g = Select(u"SELECT dos.iAcbId, Ans.iAnsId, dos.fDosImporto, dos.fDosImportoResiduo FROM TDos_DoteScuola dos "
                         "JOIN TAns_AnniScolast Ans ON dos.dStart BETWEEN Ans.dAnsVeltoInizio AND Ans.dAnsVeltoFine"_s);
    int grants = 0;
    while (g.next()) {
        const TVtMoney amount = Money(g.value(2)), residue = Money(g.value(3));
        QVERIFY(residue >= TVtMoney());
        QVERIFY(residue <= amount);
        spread[{g.value(0).toInt(), g.value(1).toInt()}] += amount - residue;
        ++grants;
    }
    QCOMPARE(grants, TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TDos_DoteScuola"_s).toInt());
    QSqlQuery c = Select(u"SELECT ac.iAcbId, Ans.iAnsId, cac.fCacImpDaDote FROM TCac_CcaAcbCau cac "
                         "JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId JOIN TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId "
                         "JOIN TAns_AnniScolast Ans ON cca.dStart = Ans.dAnsVeltoInizio WHERE cac.fCacImpDaDote <> 0"_s);
    while (c.next())
        parts[{c.value(0).toInt(), c.value(1).toInt()}] += Money(c.value(2));
    QSet<TKey> keys;
    for (auto it = spread.cbegin(); it != spread.cend(); ++it)
        keys.insert(it.key());
    for (auto it = parts.cbegin(); it != parts.cend(); ++it)
        keys.insert(it.key());
    int spreadGrants = 0;
    for (const TKey &k : std::as_const(keys)) {
        if (spread.value(k) != parts.value(k))
            QFAIL(qPrintable(u"holder %1, year %2: grants spread %3, instalments took %4"_s.arg(k.first).arg(k.second).arg(
                spread.value(k).Format(), parts.value(k).Format())));
        spreadGrants += spread.value(k).IsZero() ? 0 : 1;
    }
    QVERIFY(spreadGrants >= 2);
}

void TstDemoRules::aSpreadGrantInEachSchoolYear_data()
{
    QTest::addColumn<int>("year");
    QTest::newRow("2024/2025") << 2024;
    QTest::newRow("2025/2026") << 2025;
}

// A grant that paid one instalment whole (amount 0, paid on its due date,
// grant part = what it was to pay) and the next one in part (amount
// reduced, unpaid), with its residue = amount - what it spread.
void TstDemoRules::aSpreadGrantInEachSchoolYear()
{
    QFETCH(int, year);
    const QDate start(year, 9, 1), end(year + 1, 8, 31);
    QSqlQuery g = Select(u"SELECT iDosId, iAcbId, fDosImporto, fDosImportoResiduo, dDosData, dDosDataScadenza FROM TDos_DoteScuola "
                         "WHERE dStart = ? AND dEnd = ? AND fDosImportoResiduo < fDosImporto ORDER BY iDosId"_s,
                         {start, end});
    QVERIFY2(g.next(), "no spread grant in the school year");
    const int holder = g.value(1).toInt();
    const TVtMoney spread = Money(g.value(2)) - Money(g.value(3));
    const QDate from = g.value(4).toDate(), to = g.value(5).toDate();

    struct TRow
    {
        TVtMoney Importo, DaDote;
        QDate Scadenza, Pagamento;
    };
    QList<TRow> withGrant;
    QSqlQuery c = Select(u"SELECT cac.fCacImporto, cac.fCacImpDaDote, cac.dCacDataScadenza, cac.dCacDataPagamento "
                         "FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId "
                         "JOIN TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId "
                         "WHERE ac.iAcbId = ? AND cca.dStart = ? AND cac.fCacImpDaDote <> 0 "
                         "ORDER BY cac.dCacDataScadenza, cca.sCcaLDesc, cac.iCacId"_s,
                         {holder, start});
    while (c.next())
        withGrant.append({Money(c.value(0)), Money(c.value(1)), c.value(2).toDate(), c.value(3).toDate()});
    QCOMPARE(withGrant.size(), 2);
    const TRow &whole = withGrant[0], &part = withGrant[1];
    QVERIFY(whole.Importo.IsZero());
    QVERIFY(whole.DaDote > TVtMoney());
    QCOMPARE(whole.Pagamento, whole.Scadenza);
    QVERIFY(part.Importo > TVtMoney());
    QVERIFY(part.DaDote > TVtMoney());
    QVERIFY(!part.Pagamento.isValid());
    QVERIFY(whole.Scadenza <= part.Scadenza);
    QCOMPARE(whole.DaDote + part.DaDote, spread);
    // Both within the grant's dates.
    for (const TRow &r : withGrant)
        QVERIFY(from <= r.Scadenza && r.Scadenza <= to);
}

void TstDemoRules::iseeDiscountsWithTheirNote()
{
    QSqlQuery q = Select(u"SELECT cac.iCacId, cac.fCacImpSconto, cac.bCacNote, cac.fCacImporto, cca.fCcaImportoIst, "
                         "cac.fCacPercSconto, cac.fCacImpDaDote FROM TCac_CcaAcbCau cac "
                         "JOIN TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId WHERE cac.fCacImpSconto <> 0"_s);
    const QHash<int, TVtMoney> advances = Advances();
    int isee = 0;
    while (q.next()) {
        QCOMPARE(q.value(2).toString(), u"Riduzione ISEE"_s);
        const TEbdCacParts parts{EbdCacMoney(q.value(4)), q.value(5).toDouble(), EbdCacMoney(q.value(1)), EbdCacMoney(q.value(6)),
                                 advances.value(q.value(0).toInt())};
        // The discount is taken off the amount to pay.
        QVERIFY(parts.ImpSconto > TVtMoney());
        QCOMPARE(EbdCacMoney(q.value(3)).Cents(), EbdCacAmountToPay(parts).Cents());
        QVERIFY(EbdCacMoney(q.value(3)) < parts.Importo);
        ++isee;
    }
    QVERIFY(isee >= 2);
}

// An instalment's own payment mode, other than its holder's: canteen
// instalments of holders paying by RID ("RID", 1) collected in cash
// ("CONT", 3) on the cash account.
void TstDemoRules::canteenInstalmentsWithTheirOwnPaymentMode()
{
    QCOMPARE(TTestDatabase::Scalar(u"SELECT sMpgDescS FROM TMpg_ModPagam WHERE iMpgId = 3"_s).toString(), u"CONT"_s);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT sMpgDescS FROM TMpg_ModPagam WHERE iMpgId = 1"_s).toString(), u"RID"_s);
    const QString own = u"FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId "
                        "JOIN TAcb_AluCoordBan acb ON acb.iAcbId = ac.iAcbId JOIN TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId "
                        "WHERE cac.iMpgId IS NOT NULL AND cac.iMpgId <> acb.iMpgId"_s;
    QVERIFY(TTestDatabase::Scalar(u"SELECT COUNT(*) "_s + own).toInt() >= 2);
    QSqlQuery q = Select(u"SELECT cac.iCacId, cac.dCacDataPagamento, cac.iSprIstId, cca.iTccId "_s + own
                         + u" AND cac.iMpgId = 3 AND acb.iMpgId = 1"_s);
    int cash = 0;
    while (q.next()) {
        QCOMPARE(q.value(3).toInt(), 301);   // canteen
        QVERIFY(q.value(1).toDate().isValid());
        QCOMPARE(q.value(2).toInt(), 3);     // collected on the cash account
        ++cash;
    }
    QVERIFY(cash >= 1);
}

// Two holder records of one pupil, one per parent, each paying one reason.
void TstDemoRules::aPupilPaidByBothParents()
{
    const int pupil = TTestDatabase::Scalar(u"SELECT FIRST 1 iAnaId FROM TAcb_AluCoordBan GROUP BY iAnaId "
                                            "HAVING COUNT(*) = 2 AND COUNT(DISTINCT iAnaId_Gen) = 2 ORDER BY iAnaId"_s)
                          .toInt();
    QVERIFY(pupil > 0);
    QSqlQuery q = Select(u"SELECT acb.iAcbId, acb.iAnaId_Gen, (SELECT COUNT(*) FROM TAcbCau ac WHERE ac.iAcbId = acb.iAcbId), "
                         "(SELECT MIN(ac.iCauId) FROM TAcbCau ac WHERE ac.iAcbId = acb.iAcbId), "
                         "(SELECT COUNT(*) FROM TAnaGpt g WHERE g.iAnaId = acb.iAnaId AND g.iAnaId_p = acb.iAnaId_Gen) "
                         "FROM TAcb_AluCoordBan acb WHERE acb.iAnaId = ? ORDER BY acb.iAcbId"_s,
                         {pupil});
    QSet<int> reasons;
    int records = 0;
    while (q.next()) {
        QCOMPARE(q.value(2).toInt(), 1);   // one reason each
        QCOMPARE(q.value(4).toInt(), 1);   // the payer is a parent of the pupil
        reasons.insert(q.value(3).toInt());
        QVERIFY(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId "
                                      "WHERE ac.iAcbId = ?"_s, {q.value(0)}).toInt() > 0);
        ++records;
    }
    QCOMPARE(records, 2);
    QCOMPARE(reasons.size(), 2);
}

QTEST_MAIN(TstDemoRules)
#include "tst_demorules.moc"

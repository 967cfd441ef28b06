#include "EbdUCac.h"
#include "EbdUDote.h"
#include "TestDatabase.h"
#include "VtMoney.h"
#include "VtSQLConnection.h"
#include "VtTransaction.h"

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
// the demo has the rows the billing windows and reports are shown with
// (spread grants, one with something left, ISEE discounts, an instalment's
// own payment mode, a pupil paid by both parents, advances taken before the
// payment, the refunds of a class).
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
    void spreadGrantsWithSomethingLeft_data();
    void spreadGrantsWithSomethingLeft();
    void spreadGrantsAreWhatSpalmaDoteMakesOfThem();
    void advancesBeforeThePaymentIn2025();
    void refundsToTheFamiliesOf4A();
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

void TstDemoRules::spreadGrantsWithSomethingLeft_data()
{
    QTest::addColumn<int>("year");
    QTest::newRow("2024/2025") << 2024;
    QTest::newRow("2025/2026") << 2025;
}

// A grant spread with something left covered every instalment it took whole
// (amount 0, paid on its due date), and left nothing to pay within its
// dates: the spread stops only when the grant runs out.
void TstDemoRules::spreadGrantsWithSomethingLeft()
{
    QFETCH(int, year);
    const QDate start(year, 9, 1), end(year + 1, 8, 31);
    QSqlQuery g = Select(u"SELECT iDosId, iAcbId, fDosImporto, fDosImportoResiduo, dDosData, dDosDataScadenza FROM TDos_DoteScuola "
                         "WHERE dStart = ? AND dEnd = ? AND fDosImportoResiduo > 0 AND fDosImportoResiduo < fDosImporto "
                         "ORDER BY iDosId"_s,
                         {start, end});
    int grants = 0;
    while (g.next()) {
        const int holder = g.value(1).toInt();
        const TVtMoney spread = Money(g.value(2)) - Money(g.value(3));
        const QDate from = g.value(4).toDate(), to = g.value(5).toDate();
        QSqlQuery c = Select(u"SELECT cac.iCacId, cac.fCacImporto, cac.fCacImpDaDote, cac.dCacDataScadenza, cac.dCacDataPagamento "
                             "FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId "
                             "JOIN TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId "
                             "WHERE ac.iAcbId = ? AND cca.dStart = ? AND cac.dCacDataScadenza BETWEEN ? AND ?"_s,
                             {holder, start, from, to});
        TVtMoney parts;
        while (c.next()) {
            const TVtMoney importo = Money(c.value(1)), daDote = Money(c.value(2));
            const QDate due = c.value(3).toDate(), paid = c.value(4).toDate();
            QVERIFY2(paid.isValid(), qPrintable(u"instalment %1 still to pay within grant %2"_s.arg(c.value(0).toInt())
                                                    .arg(g.value(0).toInt())));
            if (daDote.IsZero())
                continue;
            QVERIFY(importo.IsZero());
            QCOMPARE(paid, due);
            parts += daDote;
        }
        QCOMPARE(parts, spread);
        ++grants;
    }
    QVERIFY2(grants >= 1, "no grant spread with something left in the school year");
}

// Given back and spread again by "Spalma dote", every spread grant of the
// demo comes out as the demo has it, with its holder's instalments of the
// school year. A grant whose holder has another grant of the year with
// something left is not spread again (the spread would take that one too).
void TstDemoRules::spreadGrantsAreWhatSpalmaDoteMakesOfThem()
{
    struct TGrant
    {
        int Id, Holder, Year;
        QDate Start;
    };
    QList<TGrant> grants;
    QSqlQuery g = Select(u"SELECT dos.iDosId, dos.iAcbId, Ans.iAnsId, Ans.dAnsVeltoInizio FROM TDos_DoteScuola dos "
                         "JOIN TAns_AnniScolast Ans ON dos.dStart BETWEEN Ans.dAnsVeltoInizio AND Ans.dAnsVeltoFine "
                         "WHERE dos.fDosImportoResiduo < dos.fDosImporto AND NOT EXISTS (SELECT 1 FROM TDos_DoteScuola o "
                         "WHERE o.iAcbId = dos.iAcbId AND o.iDosId <> dos.iDosId AND o.dStart = dos.dStart "
                         "AND o.fDosImportoResiduo > 0) ORDER BY dos.iDosId"_s);
    while (g.next())
        grants.append({g.value(0).toInt(), g.value(1).toInt(), g.value(2).toInt(), g.value(3).toDate()});
    QVERIFY(grants.size() >= 3);
    const auto state = [](const TGrant &gr) {
        QStringList rows;
        QSqlQuery c = Select(u"SELECT cac.iCacId, cac.fCacImporto, cac.fCacImpDaDote, cac.dCacDataPagamento "
                             "FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId "
                             "JOIN TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId "
                             "WHERE ac.iAcbId = ? AND cca.dStart = ? ORDER BY cac.iCacId"_s,
                             {gr.Holder, gr.Start});
        while (c.next())
            rows << u"%1 %2 %3 %4"_s.arg(c.value(0).toInt()).arg(Money(c.value(1)).Format(), Money(c.value(2)).Format(),
                                                                  c.value(3).toDate().toString(Qt::ISODate));
        rows << Money(TTestDatabase::Scalar(u"SELECT fDosImportoResiduo FROM TDos_DoteScuola WHERE iDosId = ?"_s, {gr.Id}))
                    .Format();
        return rows;
    };
    for (const TGrant &gr : std::as_const(grants)) {
        const QStringList demo = state(gr);
        {
            TVtTransaction tr(qqoVtGlobConn);
            tr.StartTransaction();
            EbdAnnullaSpalmatura(gr.Id);
            TTestDatabase::Exec(u"UPDATE TDos_DoteScuola SET fDosImportoResiduo = fDosImporto WHERE iDosId = %1"_s.arg(gr.Id));
            tr.Commit();
        }
        QVERIFY(state(gr) != demo);   // given back
        QVERIFY(EbdSpalmaDote(gr.Holder, gr.Year).Instalments > 0);
        QCOMPARE(state(gr), demo);
    }
}

// Advances taken in 2025 on instalments paid later in 2025: what was
// collected on the payment day is the rest. No advance comes after the
// payment of its instalment.
void TstDemoRules::advancesBeforeThePaymentIn2025()
{
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCaa_CacAcconti caa JOIN TCac_CcaAcbCau cac ON cac.iCacId = caa.iCacId "
                                   "WHERE cac.dCacDataPagamento IS NOT NULL AND caa.dCaaData >= cac.dCacDataPagamento"_s)
                 .toInt(),
             0);
    QSqlQuery q = Select(u"SELECT caa.iCacId, caa.fCaaImporto, cac.fCacImporto FROM TCaa_CacAcconti caa "
                         "JOIN TCac_CcaAcbCau cac ON cac.iCacId = caa.iCacId "
                         "WHERE caa.dCaaData BETWEEN '2025-01-01' AND '2025-12-31' "
                         "AND cac.dCacDataPagamento BETWEEN '2025-01-01' AND '2025-12-31' AND caa.dCaaData < cac.dCacDataPagamento"_s);
    int late = 0;
    while (q.next()) {
        QVERIFY(Money(q.value(1)) > TVtMoney());
        QVERIFY(Money(q.value(2)) > TVtMoney());   // something was left to collect
        ++late;
    }
    QVERIFY(late >= 6);
}

// "Rimborsi alle famiglie" of 2024/2025 (outgoing) on every holder record of
// the pupils of 4A, once each, with its one instalment; two paid in June
// 2025, on no account: a refund is not a collection of the fee book.
void TstDemoRules::refundsToTheFamiliesOf4A()
{
    const int reason = TTestDatabase::Scalar(u"SELECT iCauId FROM TCau_Causali WHERE sCauLDesc = 'Rimborsi alle famiglie' "
                                             "AND dStart = '2024-09-01'"_s)
                           .toInt();
    QCOMPARE(reason, 2405);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT lCauTipo FROM TCau_Causali WHERE iCauId = ?"_s, {reason}).toInt(), 1);
    const QString of4A = u"FROM TAcb_AluCoordBan acb WHERE acb.iAnaId IN (SELECT sit.iAnaId FROM TSit_Situazioni sit "
                         "JOIN TClsPst pst ON pst.iClsPstId = sit.iClsPstId JOIN TCls_Classi cls ON cls.iClsId = pst.iClsId "
                         "JOIN TAcs_AnniCorso acs ON acs.iAcsId = cls.iAcsId JOIN TSez_Sezioni sez ON sez.iSezId = cls.iSezId "
                         "WHERE cls.dStart = '2024-09-01' AND acs.sAcsSDesc = '4' AND sez.sSezSDesc = 'A')"_s;
    const int holders = TTestDatabase::Scalar(u"SELECT COUNT(*) "_s + of4A).toInt();
    QVERIFY(holders >= 10);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) "_s + of4A + u" AND (SELECT COUNT(*) FROM TAcbCau ac WHERE "
                                                                  "ac.iAcbId = acb.iAcbId AND ac.iCauId = ?) = 1"_s,
                                   {reason})
                 .toInt(),
             holders);
    const int components = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCauCca WHERE iCauId = ?"_s, {reason}).toInt();
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId "
                                   "WHERE ac.iCauId = ?"_s,
                                   {reason})
                 .toInt(),
             holders * components);
    QSqlQuery paid = Select(u"SELECT cac.dCacDataPagamento, cac.iSprIstId FROM TCac_CcaAcbCau cac "
                            "JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId WHERE ac.iCauId = ? AND cac.dCacDataPagamento IS NOT NULL"_s,
                            {reason});
    int inJune = 0;
    while (paid.next()) {
        QVERIFY(paid.value(1).isNull());
        const QDate d = paid.value(0).toDate();
        inJune += (d >= QDate(2025, 6, 1) && d <= QDate(2025, 6, 30)) ? 1 : 0;
    }
    QCOMPARE(inJune, 2);
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
// ("CONT", 3) on the cash account, and two to be paid in cash, which no
// account holds yet.
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
    int cash = 0, toPay = 0;
    while (q.next()) {
        if (!q.value(1).toDate().isValid()) {
            QVERIFY(q.value(2).isNull());
            ++toPay;
            continue;
        }
        QCOMPARE(q.value(3).toInt(), 301);   // canteen
        QCOMPARE(q.value(2).toInt(), 3);     // collected on the cash account
        ++cash;
    }
    QVERIFY(cash >= 1);
    QCOMPARE(toPay, 2);
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

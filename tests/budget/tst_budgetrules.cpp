#include "AbcUVociProgetti.h"
#include "EbdUGlobals.h"
#include "TestDatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The budget's rules: the codes an item may take and the next ones, and the
// budget models' references to items, sub-items and aggregates, on the demo
// school (financial year 2025, data owner 1).
class TstBudgetRules : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void codeMatchesPrefix_data();
    void codeMatchesPrefix();
    void nextCodes_data();
    void nextCodes();
    void defaultCodesOfTheDemo();
    void codeIsFreeOnTheBoundaries_data();
    void codeIsFreeOnTheBoundaries();
    void referencesOfTheDemo();
    void valuesAreBound();

private:
    std::unique_ptr<TTestDatabase> m_db;
};

namespace {
// Demo ids: aggregates 3 "06", 5 "A", 6 "P", 9 "R"; items 4 A01, 5 A02,
// 6 P01, 7 P02, 8 G03 (shared), 10 P05 (closed), 13 "04"; sub-items 1-3
// of 01 and 02.
enum { Agg06 = 3, AggA = 5, AggP = 6, AggR = 9, AggZ = 7, AggG = 8 };
enum { A01 = 4, A02 = 5, P01 = 6, P02 = 7, G03 = 8, P05 = 10, Inc04 = 13 };
}

void TstBudgetRules::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    gAnfValore = 2025;
    gDwgId = 1;
    gUseDwgAnfDates = false;
    GetAnfDates(gAnfValore, gDwgId, gAnfInizio, gAnfFine);
    QCOMPARE(gAnfInizio, QDate(2025, 1, 1));
    QCOMPARE(gAnfFine, QDate(2025, 12, 31));
}

void TstBudgetRules::codeMatchesPrefix_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("matches");
    QTest::newRow("A7") << u"A7"_s << u"A"_s << true;
    QTest::newRow("A03") << u"A03"_s << u"A"_s << true;
    QTest::newRow("A alone") << u"A"_s << u"A"_s << false;
    QTest::newRow("B7") << u"B7"_s << u"A"_s << false;
    QTest::newRow("A7x") << u"A7x"_s << u"A"_s << false;
    QTest::newRow("numeric") << u"0612"_s << u"06"_s << true;
}

void TstBudgetRules::codeMatchesPrefix()
{
    QFETCH(QString, code);
    QFETCH(QString, prefix);
    QFETCH(bool, matches);
    QCOMPARE(CodeMatchesPrefix(code, prefix), matches);
}

void TstBudgetRules::nextCodes_data()
{
    QTest::addColumn<QString>("prefix");   // empty: a sub-item's code
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("next");
    QTest::newRow("after A02") << u"A"_s << QStringList{u"A01"_s, u"A02"_s} << u"A03"_s;
    QTest::newRow("first") << u"A"_s << QStringList() << u"A01"_s;
    QTest::newRow("after R98") << u"R"_s << QStringList{u"R98"_s} << u"R99"_s;
    QTest::newRow("past 99") << u"R"_s << QStringList{u"R99"_s} << u"R100"_s;
    QTest::newRow("numeric prefix") << u"06"_s << QStringList{u"01"_s, u"04"_s, u"X9"_s} << u"05"_s;
    QTest::newRow("sub-items") << QString() << QStringList{u"001"_s, u"002"_s, u"003"_s} << u"004"_s;
    QTest::newRow("sub-item not a number") << QString() << QStringList{u"001"_s, u"ABC"_s} << u"002"_s;
    QTest::newRow("no sub-item") << QString() << QStringList() << u"001"_s;
}

void TstBudgetRules::nextCodes()
{
    QFETCH(QString, prefix);
    QFETCH(QStringList, codes);
    QFETCH(QString, next);
    QCOMPARE(prefix.isEmpty() ? NextSvoCodeAfter(codes) : NextVproCodeAfter(prefix, codes), next);
}

// The closed P05, school 2's A03 and the deleted A05 do not count; the
// shared R98 does; an item being edited leaves its own code out.
void TstBudgetRules::defaultCodesOfTheDemo()
{
    QCOMPARE(DefaultVproCode(AggA, -1), u"A03"_s);
    QCOMPARE(DefaultVproCode(AggA, A02), u"A02"_s);
    QCOMPARE(DefaultVproCode(AggP, -1), u"P03"_s);
    QCOMPARE(DefaultVproCode(AggR, -1), u"R99"_s);
    QCOMPARE(DefaultVproCode(Agg06, -1), u"05"_s);
    QCOMPARE(DefaultVproCode(AggZ, -1), u"Z01"_s);
    QCOMPARE(NextSvoCode(1), u"004"_s);
    QCOMPARE(NextSvoCode(Inc04), u"002"_s);
    QCOMPARE(NextSvoCode(P02), u"001"_s);
    QCOMPARE(NextAggCode(), u"100"_s);
}

void TstBudgetRules::codeIsFreeOnTheBoundaries_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("aggregate");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<bool>("free");
    const QDate y0(2025, 1, 1), y1(2025, 12, 31);
    QTest::newRow("taken") << -1 << int(AggA) << u"A01"_s << y0 << y1 << false;
    QTest::newRow("its own") << int(A01) << int(AggA) << u"A01"_s << y0 << y1 << true;
    QTest::newRow("deleted") << -1 << int(AggA) << u"A05"_s << y0 << y1 << true;
    QTest::newRow("other owner") << -1 << int(AggA) << u"A03"_s << y0 << y1 << true;
    QTest::newRow("closed before") << -1 << int(AggP) << u"P05"_s << y0 << y1 << true;
    QTest::newRow("overlapping its last day") << -1 << int(AggP) << u"P05"_s << QDate(2024, 12, 30) << y1 << false;
    QTest::newRow("open, from its last day") << -1 << int(AggP) << u"P05"_s << QDate(2024, 12, 31) << QDate() << true;
    QTest::newRow("open, before its end") << -1 << int(AggP) << u"P05"_s << QDate(2024, 12, 30) << QDate() << false;
    QTest::newRow("ending on its start") << -1 << int(AggA) << u"A01"_s << QDate(2023, 1, 1) << QDate(2024, 1, 1) << true;
    QTest::newRow("ending after its start") << -1 << int(AggA) << u"A01"_s << QDate(2023, 1, 1) << QDate(2024, 1, 2)
                                            << false;
}

void TstBudgetRules::codeIsFreeOnTheBoundaries()
{
    QFETCH(int, item);
    QFETCH(int, aggregate);
    QFETCH(QString, code);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(bool, free);
    QCOMPARE(VproCodeIsFree(item, aggregate, code, start, end), free);
}

// Every owner's models count: the shared G03 is frozen by school 2's model.
void TstBudgetRules::referencesOfTheDemo()
{
    QVERIFY(VproIsReferenced(A01) && VproIsFrozen(A01));
    QVERIFY(VproIsReferenced(P01) && !VproIsFrozen(P01));
    QCOMPARE(VproMaxModelEnd(P01), QDate(2026, 12, 31));
    QVERIFY(VproIsReferenced(G03) && VproIsFrozen(G03));
    QVERIFY(!VproIsReferenced(P02) && !VproIsFrozen(P02));
    QVERIFY(!VproMaxModelEnd(P02).isValid());
    QVERIFY(VproIsReferenced(1));   // through the amounts of the incoming models
    QVERIFY(SvoIsReferenced(1) && SvoIsFrozen(1));
    QVERIFY(SvoIsReferenced(2) && !SvoIsFrozen(2));
    QVERIFY(!SvoIsReferenced(3) && !SvoIsFrozen(3));
    QVERIFY(AggIsReferenced(AggA) && AggIsFrozen(AggA));
    QVERIFY(AggIsReferenced(AggP) && !AggIsFrozen(AggP));
    QVERIFY(AggIsFrozen(AggG) && AggIsFrozen(Agg06));
    QVERIFY(!AggIsReferenced(AggZ));
}

// A code holding a quote and a percent sign is a value like any other.
void TstBudgetRules::valuesAreBound()
{
    TTestDatabase::Exec(u"INSERT INTO TAgg_Aggregati (iAggId, sAggDescS, sAggDescL, iFlsId, iTitoId, dStart) "
                        "VALUES (900, 'O''%', 'Prova', 2, 1, '2000-01-01')"_s);
    QCOMPARE(DefaultVproCode(900, -1), u"O'%01"_s);
    TTestDatabase::Exec(u"INSERT INTO TVpro_VociProgetti (iVproId, iAggId, iDwgId, iCorId, sVproCod, sVproDescS, dStart) "
                        "VALUES (900, 900, 1, 1, 'O''%01', 'Prova', '2024-01-01')"_s);
    QCOMPARE(DefaultVproCode(900, -1), u"O'%02"_s);
    QVERIFY(!VproCodeIsFree(-1, 900, u"O'%01"_s, gAnfInizio, gAnfFine));
    QVERIFY(VproCodeIsFree(-1, 900, u"O'%02"_s, gAnfInizio, gAnfFine));
    QVERIFY(CodeMatchesPrefix(u"O'%01"_s, u"O'%"_s));
}

QTEST_MAIN(TstBudgetRules)
#include "tst_budgetrules.moc"

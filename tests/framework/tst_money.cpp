#include "TestDatabase.h"
#include "VtException.h"
#include "VtField.h"
#include "VtMoney.h"

#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <functional>
#include <limits>

class TstMoney : public QObject
{
    Q_OBJECT
private slots:
    void fromDouble_data();
    void fromDouble();
    void roundedToCents_data();
    void roundedToCents();
    void constructorsAndVariant();
    void arithmetic();
    void divisionAndPercent_data();
    void divisionAndPercent();
    void split_data();
    void split();
    void splitRefusesNoParts();
    void parse_data();
    void parse();
    void format_data();
    void format();
    void roundTrips_data();
    void roundTrips();
    void largeValues();
    void fieldFormat_data();
    void fieldFormat();
    void databaseAmounts();
};

// ---------------------------------------------------------------------------
void TstMoney::fromDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("raw");
    QTest::newRow("zero") << 0.0 << qint64(0);
    QTest::newRow("negative zero") << -0.0 << qint64(0);
    QTest::newRow("whole") << 12.0 << qint64(120000);
    QTest::newRow("cents") << 1234.56 << qint64(12345600);
    QTest::newRow("four decimals") << 2.3456 << qint64(23456);
    QTest::newRow("half up at fifth") << 1.00005 << qint64(10001);
    QTest::newRow("half away negative") << -1.00005 << qint64(-10001);
    QTest::newRow("below half") << 1.00004999 << qint64(10000);
    QTest::newRow("tiny half") << 0.00005 << qint64(1);
    QTest::newRow("tiny below half") << 0.000049 << qint64(0);
    QTest::newRow("tiny negative") << -0.00005 << qint64(-1);
    QTest::newRow("binary neighbour 2.345") << 2.345 << qint64(23450);
    QTest::newRow("0.1 + 0.2") << (0.1 + 0.2) << qint64(3000);
    QTest::newRow("1e-20") << 1e-20 << qint64(0);
    QTest::newRow("large") << 12345678901.2345 << qint64(123456789012345);
}

void TstMoney::fromDouble()
{
    QFETCH(double, value);
    QFETCH(qint64, raw);
    QCOMPARE(TVtMoney(value).Raw(), raw);
}

void TstMoney::roundedToCents_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("cents");
    QTest::newRow("2.345") << 2.345 << qint64(235);
    QTest::newRow("-2.345") << -2.345 << qint64(-235);
    QTest::newRow("0.005") << 0.005 << qint64(1);
    QTest::newRow("-0.005") << -0.005 << qint64(-1);
    QTest::newRow("0.0049") << 0.0049 << qint64(0);
    QTest::newRow("-0.0049") << -0.0049 << qint64(0);
    QTest::newRow("1.015") << 1.015 << qint64(102);
    QTest::newRow("1.025") << 1.025 << qint64(103);
    QTest::newRow("2.675") << 2.675 << qint64(268);
    QTest::newRow("10.00") << 10.0 << qint64(1000);
    QTest::newRow("-10.994") << -10.994 << qint64(-1099);
    QTest::newRow("-10.995") << -10.995 << qint64(-1100);
}

void TstMoney::roundedToCents()
{
    QFETCH(double, value);
    QFETCH(qint64, cents);
    const TVtMoney m(value);
    QCOMPARE(m.Cents(), cents);
    QCOMPARE(m.RoundedToCents().Raw(), cents * 100);
    QCOMPARE(m.RoundedToCents(), TVtMoney::FromCents(cents));
}

void TstMoney::constructorsAndVariant()
{
    QCOMPARE(TVtMoney::FromCents(12345).Raw(), qint64(1234500));
    QCOMPARE(TVtMoney::FromCents(-1).Raw(), qint64(-100));
    QCOMPARE(TVtMoney::FromUnits(7).Raw(), qint64(70000));
    QCOMPARE(TVtMoney::FromRaw(5).ToDouble(), 0.0005);
    QCOMPARE(TVtMoney(1234.56).ToDouble(), 1234.56);
    QCOMPARE(TVtMoney().Raw(), qint64(0));
    QVERIFY(TVtMoney().IsZero());
    QVERIFY(TVtMoney(-0.01).IsNegative());
    QVERIFY(!TVtMoney(0.01).IsNegative());

    const QVariant v = TVtMoney(15.13).ToVariant();
    QCOMPARE(v.typeId(), int(QMetaType::Double));
    QCOMPARE(v.toDouble(), 15.13);

    bool isNull = false;
    QCOMPARE(TVtMoney::FromVariant(QVariant(), &isNull), TVtMoney());
    QVERIFY(isNull);
    QCOMPARE(TVtMoney::FromVariant(QVariant(QMetaType(QMetaType::Double)), &isNull), TVtMoney());
    QVERIFY(isNull);
    QCOMPARE(TVtMoney::FromVariant(QVariant(2.345), &isNull).Raw(), qint64(23450));
    QVERIFY(!isNull);
    QCOMPARE(TVtMoney::FromVariant(QVariant(3)).Raw(), qint64(30000));
    QCOMPARE(TVtMoney::FromVariant(QVariant(QStringLiteral("1.234,5"))).Raw(), qint64(12345000));
    try {
        TVtMoney::FromVariant(QVariant(QStringLiteral("abc")));
        QFAIL("a text that is not an amount was accepted");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("Importo non valido: abc"));
    }
    try {
        TVtMoney m(std::numeric_limits<double>::quiet_NaN());
        Q_UNUSED(m);
        QFAIL("NaN was accepted");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("Importo non valido."));
    }
}

void TstMoney::arithmetic()
{
    const TVtMoney a(10.10), b(0.20);
    QCOMPARE((a + b).Raw(), qint64(103000));
    QCOMPARE((a - b).Raw(), qint64(99000));
    QCOMPARE((b - a).Raw(), qint64(-99000));
    QCOMPARE((-a).Raw(), qint64(-101000));
    QCOMPARE((a * 3).Raw(), qint64(303000));
    QCOMPARE((a * -2).Raw(), qint64(-202000));
    TVtMoney c = a;
    c += b;
    c -= TVtMoney(0.30);
    QCOMPARE(c, TVtMoney(10.0));

    // Ten times 0.1 is exactly one, where doubles drift.
    TVtMoney sum;
    double dsum = 0.0;
    for (int i = 0; i < 10; ++i) {
        sum += TVtMoney(0.1);
        dsum += 0.1;
    }
    QCOMPARE(sum, TVtMoney::FromUnits(1));
    QVERIFY(dsum != 1.0);
    QCOMPARE(VtSum({TVtMoney(1.11), TVtMoney(2.22), TVtMoney(-0.33)}), TVtMoney(3.0));
    QCOMPARE(VtSum({}), TVtMoney());

    QVERIFY(TVtMoney(1.0) < TVtMoney(1.0001));
    QVERIFY(TVtMoney(-1.0) < TVtMoney(0.0));
    QVERIFY(TVtMoney(2.0) <= TVtMoney(2.0));
    QVERIFY(TVtMoney(2.0) >= TVtMoney(2.0));
    QVERIFY(TVtMoney(3.0) > TVtMoney(2.9999));
    QVERIFY(TVtMoney(3.0) != TVtMoney(2.9999));
    QVERIFY(!(TVtMoney(3.0) == TVtMoney(2.9999)));
}

void TstMoney::divisionAndPercent_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<qint64>("divisor");
    QTest::addColumn<qint64>("quotientRaw");
    QTest::addColumn<double>("percentage");
    QTest::addColumn<qint64>("percentRaw");
    QTest::newRow("even") << 100.0 << qint64(4) << qint64(250000) << 10.0 << qint64(100000);
    QTest::newRow("thirds") << 100.0 << qint64(3) << qint64(333333) << 33.3333 << qint64(333333);
    QTest::newRow("half away") << 0.0003 << qint64(2) << qint64(2) << 50.0 << qint64(2);
    QTest::newRow("negative half away") << -0.0003 << qint64(2) << qint64(-2) << 50.0 << qint64(-2);
    QTest::newRow("negative divisor") << 1.0 << qint64(-3) << qint64(-3333) << -10.0 << qint64(-1000);
    QTest::newRow("discount") << 54.5 << qint64(1) << qint64(545000) << 12.5 << qint64(68125);
}

void TstMoney::divisionAndPercent()
{
    QFETCH(double, amount);
    QFETCH(qint64, divisor);
    QFETCH(qint64, quotientRaw);
    QFETCH(double, percentage);
    QFETCH(qint64, percentRaw);
    QCOMPARE((TVtMoney(amount) / divisor).Raw(), quotientRaw);
    QCOMPARE(TVtMoney(amount).Percent(percentage).Raw(), percentRaw);
}

// ---------------------------------------------------------------------------
void TstMoney::split_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<int>("parts");
    QTest::addColumn<QList<qint64>>("cents");
    QTest::newRow("100 in 3") << 100.0 << 3 << QList<qint64>{3334, 3333, 3333};
    QTest::newRow("0.01 in 3") << 0.01 << 3 << QList<qint64>{1, 0, 0};
    QTest::newRow("0.02 in 3") << 0.02 << 3 << QList<qint64>{1, 1, 0};
    QTest::newRow("-100 in 3") << -100.0 << 3 << QList<qint64>{-3334, -3333, -3333};
    QTest::newRow("-0.05 in 3") << -0.05 << 3 << QList<qint64>{-2, -2, -1};
    QTest::newRow("n = 1") << 12.345 << 1 << QList<qint64>{1235};
    QTest::newRow("even") << 90.0 << 3 << QList<qint64>{3000, 3000, 3000};
    QTest::newRow("zero") << 0.0 << 2 << QList<qint64>{0, 0};
    QTest::newRow("rounded first") << 10.005 << 2 << QList<qint64>{501, 500};
    QTest::newRow("more parts than cents") << 0.03 << 5 << QList<qint64>{1, 1, 1, 0, 0};
}

void TstMoney::split()
{
    QFETCH(double, amount);
    QFETCH(int, parts);
    QFETCH(QList<qint64>, cents);
    const QList<TVtMoney> result = TVtMoney(amount).Split(parts);
    QList<qint64> got;
    for (const TVtMoney &m : result) {
        got << m.Cents();
        QCOMPARE(m, m.RoundedToCents());
    }
    QCOMPARE(got, cents);
    QCOMPARE(VtSum(result), TVtMoney(amount).RoundedToCents());
}

void TstMoney::splitRefusesNoParts()
{
    const QList<int> counts{0, -1};
    for (int n : counts) {
        try {
            TVtMoney(100.0).Split(n);
            QFAIL(qPrintable(QStringLiteral("split into %1 parts accepted").arg(n)));
        } catch (const EVtException &e) {
            QCOMPARE(e.Message(), QStringLiteral("Impossibile dividere un importo in %1 parti.").arg(n));
        }
    }
}

// ---------------------------------------------------------------------------
void TstMoney::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("raw");
    QTest::newRow("thousands and decimals") << "1.234,56" << true << qint64(12345600);
    QTest::newRow("no grouping") << "1234,5" << true << qint64(12345000);
    QTest::newRow("negative cent") << "-0,01" << true << qint64(-100);
    QTest::newRow("plus sign") << "+3,00" << true << qint64(30000);
    QTest::newRow("spaces around") << "  42,10 " << true << qint64(421000);
    QTest::newRow("whole") << "7" << true << qint64(70000);
    QTest::newRow("leading comma") << ",5" << true << qint64(5000);
    QTest::newRow("millions") << "1.234.567,89" << true << qint64(12345678900);
    QTest::newRow("italian thousands, no decimals") << "1.234" << true << qint64(12340000);
    QTest::newRow("four decimals") << "0,0001" << true << qint64(1);
    QTest::newRow("fifth decimal rounds") << "0,00005" << true << qint64(1);
    QTest::newRow("fifth decimal negative") << "-2,34565" << true << qint64(-23457);
    QTest::newRow("C point") << "1234.56" << true << qint64(12345600);
    QTest::newRow("C point short") << "15.13" << true << qint64(151300);
    QTest::newRow("C point one decimal") << "0.5" << true << qint64(5000);
    QTest::newRow("C point four digits") << "1.2345" << true << qint64(12345);
    QTest::newRow("C negative") << "-12.5" << true << qint64(-125000);
    QTest::newRow("leading zeros") << "007,5" << true << qint64(75000);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("blank") << "   " << false << qint64(0);
    QTest::newRow("sign only") << "-" << false << qint64(0);
    QTest::newRow("letters") << "abc" << false << qint64(0);
    QTest::newRow("trailing letters") << "12,5x" << false << qint64(0);
    QTest::newRow("two commas") << "1,2,3" << false << qint64(0);
    QTest::newRow("comma without decimals") << "12," << false << qint64(0);
    QTest::newRow("bad grouping") << "1.23,45" << false << qint64(0);
    QTest::newRow("bad grouping, two dots") << "1.234.56" << false << qint64(0);
    QTest::newRow("C grouping") << "1,234.56" << false << qint64(0);
    QTest::newRow("inner space") << "1 234,56" << false << qint64(0);
    QTest::newRow("double sign") << "--1" << false << qint64(0);
    QTest::newRow("dot only") << "." << false << qint64(0);
    QTest::newRow("exponent") << "1e3" << false << qint64(0);
    QTest::newRow("currency sign") << "€ 5,00" << false << qint64(0);
    QTest::newRow("too large") << "100.000.000.000.000,00" << false << qint64(0);
}

void TstMoney::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(qint64, raw);
    bool parsed = !ok;
    const TVtMoney m = TVtMoney::Parse(text, &parsed);
    QCOMPARE(parsed, ok);
    QCOMPARE(m.Raw(), raw);
}

void TstMoney::format_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("shortFile");
    QTest::newRow("thousands") << 1234.56 << "1.234,56" << "1234,56" << "1234.56" << "1234.56";
    QTest::newRow("half") << 0.5 << "0,50" << "0,50" << "0.50" << "0.5";
    QTest::newRow("zero") << 0.0 << "0,00" << "0,00" << "0.00" << "0";
    QTest::newRow("negative") << -7.0 << "-7,00" << "-7,00" << "-7.00" << "-7";
    QTest::newRow("negative cent") << -0.01 << "-0,01" << "-0,01" << "-0.01" << "-0.01";
    QTest::newRow("rounds to zero") << -0.004 << "0,00" << "0,00" << "0.00" << "0";
    QTest::newRow("rounds half up") << 2.345 << "2,35" << "2,35" << "2.35" << "2.35";
    QTest::newRow("rounds half away") << -2.345 << "-2,35" << "-2,35" << "-2.35" << "-2.35";
    QTest::newRow("hundreds") << 150.0 << "150,00" << "150,00" << "150.00" << "150";
    QTest::newRow("tens of cents") << 12.5 << "12,50" << "12,50" << "12.50" << "12.5";
    QTest::newRow("millions") << -1234567.891 << "-1.234.567,89" << "-1234567,89" << "-1234567.89" << "-1234567.89";
    QTest::newRow("exact thousand") << 1000.0 << "1.000,00" << "1000,00" << "1000.00" << "1000";
    QTest::newRow("below thousand") << 999.999 << "1.000,00" << "1000,00" << "1000.00" << "1000";
}

void TstMoney::format()
{
    QFETCH(double, value);
    QFETCH(QString, display);
    QFETCH(QString, plain);
    QFETCH(QString, file);
    QFETCH(QString, shortFile);
    const TVtMoney m(value);
    QCOMPARE(m.Format(), display);
    QCOMPARE(m.FormatPlain(), plain);
    QCOMPARE(m.ToFileText(), file);
    QCOMPARE(m.ToShortFileText(), shortFile);
}

void TstMoney::roundTrips_data()
{
    QTest::addColumn<qint64>("cents");
    const QList<qint64> values{0, 1, -1, 50, 99, 100, 123456, -123456, 100000, 99999999, -100000000,
                               9999999999999999LL, -9999999999999999LL};
    for (qint64 c : values)
        QTest::newRow(qPrintable(QString::number(c))) << c;
}

void TstMoney::roundTrips()
{
    QFETCH(qint64, cents);
    const TVtMoney m = TVtMoney::FromCents(cents);
    bool ok = false;
    QCOMPARE(TVtMoney::Parse(m.Format(), &ok), m);
    QVERIFY(ok);
    QCOMPARE(TVtMoney::Parse(m.FormatPlain(), &ok), m);
    QVERIFY(ok);
    // The file text is read back by the point rule unless it looks like
    // Italian thousands, which two decimals never do.
    QCOMPARE(TVtMoney::Parse(m.ToFileText(), &ok), m);
    QVERIFY(ok);
}

void TstMoney::largeValues()
{
    const TVtMoney max = TVtMoney::FromRaw(TVtMoney::MaxRaw);
    QCOMPARE(max.Format(), QStringLiteral("100.000.000.000.000,00"));
    QCOMPARE(TVtMoney::FromRaw(TVtMoney::MaxRaw - 99).Format(), QStringLiteral("99.999.999.999.999,99"));
    bool ok = false;
    QCOMPARE(TVtMoney::Parse(QStringLiteral("99.999.999.999.999,9999"), &ok), max);
    QVERIFY(ok);
    QCOMPARE(TVtMoney::Parse(QStringLiteral("-99999999999999,9999"), &ok), -max);
    QVERIFY(ok);
    // Far above what a double holds to the cent, sums stay exact.
    const TVtMoney big = TVtMoney::Parse(QStringLiteral("12.345.678.901.234,56"), &ok);
    QVERIFY(ok);
    QCOMPARE((big + TVtMoney::FromCents(1)).Format(), QStringLiteral("12.345.678.901.234,57"));
    QCOMPARE((big - big).Raw(), qint64(0));

    const QString message = QStringLiteral("Importo fuori dall'intervallo ammesso (massimo 99999999999999 unità).");
    const QList<std::function<void()>> overflows{
        [&] { (void)(max + TVtMoney::FromRaw(1)); },
        [&] { (void)(-max - TVtMoney::FromRaw(1)); },
        [&] { (void)(max * 2); },
        [&] { (void)(TVtMoney(1e14)); },
        [&] { (void)(TVtMoney(-1e20)); },
        [&] { (void)(TVtMoney::FromUnits(TVtMoney::MaxUnits + 1)); },
        [&] { (void)(TVtMoney::FromCents(std::numeric_limits<qint64>::max())); },
    };
    for (int i = 0; i < overflows.size(); ++i) {
        try {
            overflows[i]();
            QFAIL(qPrintable(QStringLiteral("overflow %1 not detected").arg(i)));
        } catch (const EVtException &e) {
            QCOMPARE(e.Message(), message);
        }
    }
    try {
        (void)(TVtMoney(1.0) / 0);
        QFAIL("division by zero accepted");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("Divisione di un importo per zero."));
    }
}

// ---------------------------------------------------------------------------
void TstMoney::fieldFormat_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::newRow("currency") << 1234.5 << "#,###.00" << "1.234,50";
    QTest::newRow("currency half") << 0.5 << "#,###.00" << "0,50";
    QTest::newRow("currency rounds half away") << 2.345 << "#,###.00" << "2,35";
    QTest::newRow("currency negative half away") << -2.345 << "#,###.00" << "-2,35";
    QTest::newRow("currency no negative zero") << -0.001 << "#,###.00" << "0,00";
    QTest::newRow("plain two decimals") << 1234.5 << "0.00" << "1234,50";
    QTest::newRow("whole") << 1234.0 << "#,##0" << "1.234";
    QTest::newRow("residue, four decimals") << 33.3333 << "#,###.00##" << "33,3333";
    QTest::newRow("residue, whole") << 100.0 << "#,###.00##" << "100,00";
    QTest::newRow("residue, float noise") << 45.269999999999996 << "#,###.00##" << "45,27";
    QTest::newRow("residue, grouped and rounded") << 1234.56789 << "#,###.00##" << "1.234,5679";
    QTest::newRow("residue, three decimals") << 0.125 << "#,###.00##" << "0,125";
    QTest::newRow("currency beyond range") << 1e20 << "#,###.00" << QLocale(QLocale::Italian).toString(1e20, 'f', 2);
}

void TstMoney::fieldFormat()
{
    QFETCH(double, value);
    QFETCH(QString, format);
    QFETCH(QString, text);
    QCOMPARE(TVtField::FormatNumber(value, format), text);
    QCOMPARE(TVtField::FormatValue(QVariant(value), QMetaType::Double, format), text);
}

// Amounts stored as floating values and read back, summed by the database
// and by the program.
void TstMoney::databaseAmounts()
{
    TTestDatabase db;
    TTestDatabase::Exec(QStringLiteral("CREATE TABLE TST_IMPORTI (IID INTEGER NOT NULL PRIMARY KEY, FIMPORTO DOUBLE PRECISION)"));
    const QList<double> values{0.1, 0.2, 2.345, -1.015, 1234.56};
    QSqlQuery q(db.Connection()->Database());
    QVERIFY(q.prepare(QStringLiteral("INSERT INTO TST_IMPORTI (IID, FIMPORTO) VALUES (:iId, :fImporto)")));
    for (int i = 0; i < values.size(); ++i) {
        q.bindValue(QStringLiteral(":iId"), i + 1);
        q.bindValue(QStringLiteral(":fImporto"), TVtMoney(values[i]).ToVariant());
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    }
    q.bindValue(QStringLiteral(":iId"), 99);
    q.bindValue(QStringLiteral(":fImporto"), QVariant(QMetaType(QMetaType::Double)));
    QVERIFY2(q.exec(), qPrintable(q.lastError().text()));

    const QVariantList read = TTestDatabase::Column(QStringLiteral("SELECT FIMPORTO FROM TST_IMPORTI ORDER BY IID"));
    QCOMPARE(read.size(), 6);
    TVtMoney total;
    for (int i = 0; i < values.size(); ++i) {
        bool isNull = true;
        const TVtMoney m = TVtMoney::FromVariant(read[i], &isNull);
        QVERIFY(!isNull);
        QCOMPARE(m, TVtMoney(values[i]));
        total += m;
    }
    bool isNull = false;
    QCOMPARE(TVtMoney::FromVariant(read[5], &isNull), TVtMoney());
    QVERIFY(isNull);
    QCOMPARE(total.Format(), QStringLiteral("1.236,19"));
    QCOMPARE(TVtMoney::FromVariant(TTestDatabase::Scalar(QStringLiteral("SELECT SUM(FIMPORTO) FROM TST_IMPORTI"))), total);
    // A sum over no rows is null.
    QCOMPARE(TVtMoney::FromVariant(TTestDatabase::Scalar(QStringLiteral("SELECT SUM(FIMPORTO) FROM TST_IMPORTI WHERE IID < 0")),
                                   &isNull),
             TVtMoney());
    QVERIFY(isNull);
}

QTEST_MAIN(TstMoney)
#include "tst_money.moc"

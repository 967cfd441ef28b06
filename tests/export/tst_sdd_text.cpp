// The text of an SDD message: amounts and the SEPA character set.
#include "ebdUSddText.h"

#include <QtTest>

#include <limits>

class TestSddText : public QObject
{
    Q_OBJECT

private slots:
    void amountText_data();
    void amountText();
    void amountTextOfExtremes();
    void sepaText_data();
    void sepaText();
    void sepaTextIsInTheSetAndStable();
    void isSepaText();
};

void TestSddText::amountText_data()
{
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("text");
    QTest::newRow("one decimal") << qint64(1250) << QStringLiteral("12.5");
    QTest::newRow("whole euros") << qint64(15000) << QStringLiteral("150");
    QTest::newRow("two decimals") << qint64(1234) << QStringLiteral("12.34");
    QTest::newRow("cents only") << qint64(5) << QStringLiteral("0.05");
    QTest::newRow("ten cents") << qint64(10) << QStringLiteral("0.1");
    QTest::newRow("zero") << qint64(0) << QStringLiteral("0");
    QTest::newRow("ten thousand payments") << qint64(10000) * 199999 << QStringLiteral("19999900");
    QTest::newRow("no thousands separator") << qint64(123456789) << QStringLiteral("1234567.89");
    QTest::newRow("negative") << qint64(-1250) << QStringLiteral("-12.5");
    QTest::newRow("negative cents") << qint64(-5) << QStringLiteral("-0.05");
}

void TestSddText::amountText()
{
    QFETCH(qint64, cents);
    QFETCH(QString, text);
    QCOMPARE(SddAmountText(cents), text);
}

void TestSddText::amountTextOfExtremes()
{
    QCOMPARE(SddAmountText(std::numeric_limits<qint64>::max()), QStringLiteral("92233720368547758.07"));
    QCOMPARE(SddAmountText(std::numeric_limits<qint64>::min()), QStringLiteral("-92233720368547758.08"));
    // Every amount reads back as the cents it came from.
    for (qint64 cents = -2500; cents <= 2500; cents += 7) {
        const QString text = SddAmountText(cents);
        QVERIFY2(!text.contains(QLatin1Char('e')) && !text.contains(QLatin1Char(',')), qPrintable(text));
        QCOMPARE(qRound64(text.toDouble() * 100), cents);
    }
}

void TestSddText::sepaText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("sepa");
    QTest::newRow("apostrophe and grave")
        << QStringLiteral("D’Angelo Niccolò") << -1 << QStringLiteral("D'Angelo Niccolo");
    QTest::newRow("accents and colon") << QStringLiteral("Attività extrascolastiche: più uscite") << -1
                                       << QStringLiteral("Attivita extrascolastiche: piu uscite");
    QTest::newRow("double quotes") << QStringLiteral("Istituto \"Giosuè Carducci\"") << -1
                                   << QStringLiteral("Istituto Giosue Carducci");
    QTest::newRow("euro sign") << QStringLiteral("Quota 10 €") << -1 << QStringLiteral("Quota 10 EUR");
    QTest::newRow("address") << QStringLiteral("Piazza della Libertà") << -1 << QStringLiteral("Piazza della Liberta");
    QTest::newRow("every accented vowel") << QStringLiteral("à è é ì ò ù ç À È É Ì Ò Ù Ç") << -1
                                          << QStringLiteral("a e e i o u c A E E I O U C");
    QTest::newRow("apostrophes") << QStringLiteral("a’b‘c`d´e'f") << -1 << QStringLiteral("a'b'c'd'e'f");
    QTest::newRow("allowed punctuation") << QStringLiteral("a/b-c?d:e(f)g.h,i'j+k") << -1
                                         << QStringLiteral("a/b-c?d:e(f)g.h,i'j+k");
    QTest::newRow("other characters") << QStringLiteral("a&b*c_d;e\"f!g#h%i=j@k") << -1
                                      << QStringLiteral("a b c d e f g h i j k");
    QTest::newRow("blanks collapse and trim") << QStringLiteral("  \t Rossi \n\n  Maria\u00a0 ") << -1
                                              << QStringLiteral("Rossi Maria");
    QTest::newRow("outside the BMP") << QStringLiteral("Gita 😀 al mare") << -1 << QStringLiteral("Gita al mare");
    QTest::newRow("only symbols") << QStringLiteral("*** & ***") << -1 << QString();
    QTest::newRow("cut") << QStringLiteral("Mensa scolastica") << 5 << QStringLiteral("Mensa");
    QTest::newRow("cut then trimmed") << QStringLiteral("Mensa scolastica") << 6 << QStringLiteral("Mensa");
    QTest::newRow("cut after cleaning") << QStringLiteral("Niccolò “Nico”   Bianchi") << 12
                                        << QStringLiteral("Niccolo Nico");
    QTest::newRow("euro counts as three") << QStringLiteral("€€") << 4 << QStringLiteral("EURE");
    QTest::newRow("zero length") << QStringLiteral("Rossi") << 0 << QString();
}

void TestSddText::sepaText()
{
    QFETCH(QString, text);
    QFETCH(int, maxLength);
    QFETCH(QString, sepa);
    QCOMPARE(SepaText(text, maxLength), sepa);
}

void TestSddText::sepaTextIsInTheSetAndStable()
{
    QString every;
    for (char16_t c = 1; c < 0x3000; ++c)
        if (!QChar::isSurrogate(c))
            every += QChar(c);
    const QString sepa = SepaText(every);
    QVERIFY(IsSepaText(sepa));
    QVERIFY(!sepa.contains(QStringLiteral("  ")));
    QCOMPARE(sepa, sepa.trimmed());
    QCOMPARE(SepaText(sepa), sepa);
    QCOMPARE(SepaText(every, 70).size(), 70);
}

void TestSddText::isSepaText()
{
    QVERIFY(IsSepaText(QStringLiteral("D'Angelo Niccolo (4A) - rata 1/3: 12.50+2,00?")));
    QVERIFY(IsSepaText(QString()));
    QVERIFY(!IsSepaText(QStringLiteral("Niccolò")));
    QVERIFY(!IsSepaText(QStringLiteral("D’Angelo")));
    QVERIFY(!IsSepaText(QStringLiteral("10 €")));
    QVERIFY(!IsSepaText(QStringLiteral("a\tb")));
    QVERIFY(!IsSepaText(QStringLiteral("\"x\"")));
}

QTEST_GUILESS_MAIN(TestSddText)
#include "tst_sdd_text.moc"

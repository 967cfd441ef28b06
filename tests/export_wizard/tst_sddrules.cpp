#include "EbdUSddRules.h"
#include "ebdUSddText.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The bank export's plain rules, table-driven, without a database.
class TstSddRules : public QObject
{
    Q_OBJECT
private slots:
    void cents_data();
    void cents();
    void remittanceOfSiblings();
    void target2Calendar();
    void creditorIdentifier_data();
    void creditorIdentifier();
    void supportName();
    void merge();
    void mergeKeepsExclusions();
    void groups();
};

void TstSddRules::cents_data()
{
    QTest::addColumn<QVariant>("amount");
    QTest::addColumn<qint64>("cents");   // -1: not collected
    QTest::newRow("4.35") << QVariant(4.35) << qint64(435);
    QTest::newRow("1.15") << QVariant(1.15) << qint64(115);
    QTest::newRow("19.99") << QVariant(19.99) << qint64(1999);
    QTest::newRow("12.345") << QVariant(12.345) << qint64(1235);
    QTest::newRow("12.34449") << QVariant(12.34449) << qint64(1234);
    QTest::newRow("0.005") << QVariant(0.005) << qint64(1);
    QTest::newRow("0.0049") << QVariant(0.0049) << qint64(-1);
    QTest::newRow("0.004") << QVariant(0.004) << qint64(-1);
    QTest::newRow("zero") << QVariant(0.0) << qint64(-1);
    QTest::newRow("negative") << QVariant(-12.5) << qint64(-1);
    QTest::newRow("null") << QVariant(QMetaType(QMetaType::Double)) << qint64(-1);
    QTest::newRow("large") << QVariant(199999.99) << qint64(19999999);
}

void TstSddRules::cents()
{
    QFETCH(QVariant, amount);
    QFETCH(qint64, cents);
    const std::optional<qint64> got = SddCents(amount);
    QCOMPARE(got.value_or(-1), cents);
}

void TstSddRules::remittanceOfSiblings()
{
    // One pupil: the reason alone.
    QCOMPARE(SiblingsRemittance(u"Mensa secondo trimestre"_s, {{u"Rossi"_s, u"Anna"_s, 15600}}),
             u"Mensa secondo trimestre"_s);
    const QList<TSddQuota> two{{u"Rossi"_s, u"Anna"_s, 15600}, {u"Rossi"_s, u"Luca"_s, 10800}};
    QCOMPARE(SiblingsRemittance(u"Mensa secondo trimestre"_s, two),
             u"Mensa secondo trimestre - Rossi Anna 156.00, Rossi Luca 108.00"_s);
    // Cleaned to the SEPA set.
    QCOMPARE(SiblingsRemittance(u"Attività “extra”"_s, {{u"D’Amico"_s, u"Nicolò"_s, 5}, {u"D’Amico"_s, u"Zoë"_s, 1000}}),
             u"Attivita extra - D'Amico Nicolo 0.05, D'Amico Zoe 10.00"_s);

    // Too long with the reason: without it.
    const QString longReason(110, u'x');
    QCOMPARE(SiblingsRemittance(longReason, two), u"Rossi Anna 156.00, Rossi Luca 108.00"_s);
    // Too long with surnames: first names only.
    const QString surname = u"Bartolomeo-Colonnaditrevi"_s;
    const QList<TSddQuota> four{{surname, u"Anna"_s, 100}, {surname, u"Luca"_s, 200}, {surname, u"Marta"_s, 300},
                                {surname, u"Piero"_s, 400}};
    QCOMPARE(SiblingsRemittance(u"Gita"_s, four), u"Anna 1.00, Luca 2.00, Marta 3.00, Piero 4.00"_s);
    // Still too long: cut at 140.
    QList<TSddQuota> many;
    for (int i = 0; i < 12; ++i)
        many.append({surname, u"Massimiliano%1"_s.arg(i), 12345});
    const QString cut = SiblingsRemittance(u"Gita"_s, many);
    QCOMPARE(cut.size(), 140);
    QVERIFY(cut.startsWith(u"Massimiliano0 123.45, Massimiliano1 123.45"_s));
    QVERIFY(IsSepaText(cut));
}

void TstSddRules::target2Calendar()
{
    const QList<QDate> closed{
        QDate(2024, 3, 29), QDate(2025, 4, 18), QDate(2026, 4, 3),   // Good Friday
        QDate(2024, 4, 1), QDate(2025, 4, 21), QDate(2026, 4, 6),    // Easter Monday
        QDate(2027, 3, 26), QDate(2027, 3, 29), QDate(2028, 4, 14), QDate(2028, 4, 17),
        QDate(2025, 5, 1), QDate(2026, 12, 25), QDate(2026, 12, 26), QDate(2027, 1, 1), QDate(2024, 12, 25),
        QDate(2025, 3, 1), QDate(2025, 3, 2),                        // a weekend
    };
    for (const QDate &d : closed)
        QVERIFY2(IsTarget2Closed(d), qPrintable(d.toString(Qt::ISODate)));
    const QList<QDate> open{QDate(2025, 8, 15), QDate(2025, 6, 2), QDate(2025, 12, 8), QDate(2025, 12, 24),
                            QDate(2025, 12, 31), QDate(2026, 4, 2), QDate(2026, 4, 7), QDate(2028, 5, 2),
                            QDate(2024, 12, 27), QDate(2025, 1, 2)};
    for (const QDate &d : open)
        QVERIFY2(!IsTarget2Closed(d), qPrintable(d.toString(Qt::ISODate)));
    QCOMPARE(EasterSunday(2024), QDate(2024, 3, 31));
    QCOMPARE(EasterSunday(2025), QDate(2025, 4, 20));
    QCOMPARE(EasterSunday(2028), QDate(2028, 4, 16));
}

void TstSddRules::creditorIdentifier_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("valid");
    QTest::newRow("demo school") << u"IT27ZZZ90012340187"_s << true;
    QTest::newRow("blanks, lower case") << u" it27 zzz 9001 2340 187 "_s << true;
    QTest::newRow("other business code") << u"IT27ABC90012340187"_s << true;
    QTest::newRow("wrong check digits") << u"IT28ZZZ90012340187"_s << false;
    QTest::newRow("a digit changed") << u"IT27ZZZ90012340188"_s << false;
    QTest::newRow("not Italian") << u"DE27ZZZ90012340187"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("symbol") << u"IT27ZZZ9001234018*"_s << false;
}

void TstSddRules::creditorIdentifier()
{
    QFETCH(QString, id);
    QFETCH(bool, valid);
    QCOMPARE(CheckCreditorIdentifier(id), valid);
}

void TstSddRules::supportName()
{
    QCOMPARE(CleanSupportName(u"a/b:c"_s), u"abc"_s);
    QCOMPARE(CleanSupportName(u"S\\D*D?\"<>|x"_s), u"SDDx"_s);
    QCOMPARE(CleanSupportName(u"SDD marzo"_s), u"SDD marzo"_s);
}

namespace {
TSddRata Rata(int cac, int pupil, int parent, const QString &iban, qint64 cents, const QDate &due,
              const QString &seq = u"FRST"_s, const QString &reason = u"Mensa"_s)
{
    TSddRata r;
    r.IdCac = cac;
    r.IdAna = pupil;
    r.IdAnaGen = parent;
    r.Iban = iban;
    r.Importo = cents;
    r.Scadenza = due;
    r.TipoSequenza = seq;
    r.Causale = reason;
    r.Cognome = u"Rossi"_s;
    r.Nome = u"P%1"_s.arg(pupil);
    return r;
}
const QString IbanA = u"IT60X0542811101000000123456"_s, IbanB = u"IT02L1234512345123456789012"_s;
} // namespace

void TstSddRules::merge()
{
    // Parent 10: two pupils on one account, three instalments; parent 20
    // pays one pupil from two accounts; parent 30 a large amount.
    const QVector<TSddRata> rate{
        Rata(1, 100, 10, IbanA, 15600, QDate(2025, 1, 15)),
        Rata(2, 300, 20, IbanA, 1000, QDate(2025, 1, 15)),
        Rata(3, 100, 10, IbanA, 100, QDate(2025, 2, 15), u"RCUR"_s, u"Gita"_s),
        Rata(4, 300, 20, IbanB, 2000, QDate(2025, 1, 15)),
        Rata(5, 400, 30, IbanB, 3'000'000'000LL, QDate(2025, 3, 15)),
        Rata(6, 200, 10, IbanA, 10800, QDate(2025, 3, 15), u"FRST"_s, u"Mensa secondo trimestre"_s),
    };
    const TSddIntestazione header{u"VALD812C"_s, u"SDD20250110"_s, QDate(2025, 1, 10), u"IT27ZZZ90012340187"_s};
    const QVector<TSddDisposizione> d = BuildDispositions(rate, header);
    QCOMPARE(d.size(), 4);
    // Ordered by the position of each one's last instalment: 2, 4, 5, 6.
    QCOMPARE(d[0].Ultima.IdCac, 2);
    QCOMPARE(d[1].Ultima.IdCac, 4);
    QCOMPARE(d[2].Ultima.IdCac, 5);
    QCOMPARE(d[3].Ultima.IdCac, 6);
    const TSddDisposizione &family = d[3];
    QCOMPARE(family.Importo, qint64(15600 + 100 + 10800));
    QCOMPARE(family.Cnt, 3);
    QCOMPARE(family.Rate, (QVector<int>{0, 2, 5}));
    QCOMPARE(family.Ultima.Scadenza, QDate(2025, 3, 15));   // the last one's values
    QCOMPARE(family.Ultima.TipoSequenza, u"FRST"_s);
    QCOMPARE(family.Remittance, u"Mensa secondo trimestre - Rossi P100 157.00, Rossi P200 108.00"_s);
    QCOMPARE(family.Intestazione.Mittente, u"VALD812C"_s);
    QCOMPARE(family.Intestazione.CreditorIdent, u"IT27ZZZ90012340187"_s);
    QCOMPARE(d[0].Importo, qint64(1000));   // one parent, two accounts: two debits
    QCOMPARE(d[1].Importo, qint64(2000));
    QCOMPARE(d[0].Remittance, u"Mensa"_s);
    QCOMPARE(d[2].Importo, qint64(3'000'000'000LL));   // beyond 32 bits
    QCOMPARE(d[0].Chiave(), u"20|"_s + IbanA);
    QVERIFY(BuildDispositions({}, header).isEmpty());
}

void TstSddRules::mergeKeepsExclusions()
{
    const QVector<TSddRata> rate{Rata(1, 100, 10, IbanA, 100, QDate(2025, 1, 15)),
                                 Rata(2, 200, 20, IbanB, 200, QDate(2025, 1, 15))};
    const QVector<TSddDisposizione> d = BuildDispositions(rate, {}, {u"20|"_s + IbanB, u"99|x"_s});
    QVERIFY(!d[0].Esclusa);
    QVERIFY(d[1].Esclusa);
    QCOMPARE(PaymentGroups(d).size(), 1);
}

void TstSddRules::groups()
{
    const QDate jan(2025, 1, 15), feb(2025, 2, 15);
    const QVector<TSddRata> rate{
        Rata(1, 1, 1, IbanA, 100, feb, u"RCUR"_s), Rata(2, 2, 2, IbanA, 100, jan, u"RCUR"_s),
        Rata(3, 3, 3, IbanA, 100, feb, u"FRST"_s), Rata(4, 4, 4, IbanA, 100, jan, u"FRST"_s),
        Rata(5, 5, 5, IbanA, 100, jan, u"RCUR"_s),
    };
    const QVector<TSddGruppo> g = PaymentGroups(BuildDispositions(rate, {}));
    const QVector<TSddGruppo> expected{{jan, u"FRST"_s}, {jan, u"RCUR"_s}, {feb, u"FRST"_s}, {feb, u"RCUR"_s}};
    QCOMPARE(g, expected);
}

QTEST_APPLESS_MAIN(TstSddRules)
#include "tst_sddrules.moc"

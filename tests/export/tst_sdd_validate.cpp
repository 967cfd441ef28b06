// Validating SDD messages with the model schema built into the library, and
// with a schema file given by name.
#include "ebdUSddValidate.h"
#include "ebdUXmlSDD.h"
#include "sddtestsupport.h"

#include <QDir>
#include <QDomElement>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace sddtest;

namespace {

const QString kNs = QStringLiteral("{urn:CBI:xsd:CBISDDReqLogMsg.00.01.00}");

using Change = std::function<void(TXMLCBISDDReqLogMsg000100 *)>;

// The export's sample with a last block whose family has no address: the
// export then writes no PstlAdr at all.
QList<PaymentGroup> sampleWithoutAddress()
{
    QList<PaymentGroup> groups = exportSample();
    groups.append({QStringLiteral("FNAL"), QStringLiteral("2024-05-06"),
                   {{QStringLiteral("Verdi Anna"), QString(), QString(), QString(),
                     QStringLiteral("IT40S0542811101000000123499"), QStringLiteral("0000000000000777"),
                     QStringLiteral("Quota 10 EUR"), 1000}}});
    return groups;
}

QByteArray exportMessage(const Change &change = Change())
{
    auto msg = NewCBISDDReqLogMsg();
    fillAsExport(msg.get(), sampleWithoutAddress());
    if (change)
        change(msg.get());
    return msg->OwnerDocument()->XML();
}

TXMLDirectDebitTransactionInformation1 *firstTransaction(TXMLCBISDDReqLogMsg000100 *msg)
{
    return msg->PmtInf()->Items(0)->DrctDbtTxInf()->Items(0);
}

// The line of the first occurrence of text in xml.
int lineOf(const QByteArray &xml, const QByteArray &text)
{
    const qsizetype at = xml.indexOf(text);
    return at < 0 ? -1 : int(xml.left(at).count('\n')) + 1;
}

#ifdef Q_OS_UNIX
// What f writes on the process's standard error.
QByteArray stderrOf(const std::function<void()> &f)
{
    QTemporaryFile capture;
    if (!capture.open())
        return "cannot capture";
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(capture.handle(), STDERR_FILENO);
    f();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    capture.seek(0);
    return capture.readAll();
}
#endif

} // namespace

class TestSddValidate : public QObject
{
    Q_OBJECT

private slots:
    void exportMessagePasses();
    void badContentIsNamed_data();
    void badContentIsNamed();
    void requiredElementsMissingFail();
    void messageNotWellFormedFails();
    void messagesAreLimited();
    void explicitSchemaFileIsUsed();
    void missingOrBrokenSchemaFileIsReported();

private:
    QTemporaryDir m_dir;
};

void TestSddValidate::exportMessagePasses()
{
    const QByteArray xml = exportMessage();
    // The last family has no address: its debtor is the name alone.
    const QList<QDomElement> blocks = childrenNamed(documentElement(xml), QStringLiteral("PmtInf"));
    QCOMPARE(blocks.size(), 3);
    QCOMPARE(childNames(at(blocks.last(), QStringLiteral("DrctDbtTxInf/Dbtr"))), QStringList{"Nm"});
    QCOMPARE(ValidateCBISDDReqLogMsg(xml), QStringList());
    QCOMPARE(validationErrors(xml, modelSchemaPath()), QString());

    const QString file = QDir(m_dir.path()).filePath(QStringLiteral("Export SDD.xml"));
    QString error;
    auto msg = NewCBISDDReqLogMsg();
    fillAsExport(msg.get(), sampleWithoutAddress());
    QVERIFY2(SaveCBISDDReqLogMsg(*msg, file, &error), qPrintable(error));
    QCOMPARE(ValidateCBISDDReqLogMsgFile(file), QStringList());
    // The built-in schema is the model schema file, byte for byte.
    QFile builtIn(CBISDDReqLogMsgModelSchema());
    QVERIFY(builtIn.open(QIODevice::ReadOnly));
    QCOMPARE(builtIn.readAll(), readFile(modelSchemaPath()));
}

void TestSddValidate::badContentIsNamed_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QByteArray>("at");
    QTest::addColumn<QString>("why");

    QTest::newRow("three decimals") << Change([](auto *m) { firstTransaction(m)->SetInstdAmt(QStringLiteral("150.125")); })
                                    << QStringLiteral("InstdAmt") << QByteArray(">150.125<")
                                    << QStringLiteral("fractionDigits");
    QTest::newRow("negative amount") << Change([](auto *m) { firstTransaction(m)->SetInstdAmt(QStringLiteral("-1")); })
                                     << QStringLiteral("InstdAmt") << QByteArray(">-1<") << QStringLiteral("minInclusive");
    QTest::newRow("currency in lower case") << Change([](auto *m) {
        firstTransaction(m)->SetInstdAmtCcy(QStringLiteral("eur"));
        firstTransaction(m)->SetInstdAmt(QStringLiteral("150"));
    }) << QStringLiteral("InstdAmt") << QByteArray("Ccy=\"eur\"") << QStringLiteral("attribute 'Ccy'");
    QTest::newRow("long EndToEndId") << Change([](auto *m) { firstTransaction(m)->PmtId()->SetEndToEndId(QString(36, QLatin1Char('7'))); })
                                     << QStringLiteral("EndToEndId") << QByteArray(36, '7') << QStringLiteral("maxLength");
    QTest::newRow("malformed IBAN") << Change([](auto *m) { firstTransaction(m)->DbtrAcct()->Id()->SetIBAN(QStringLiteral("IT60 X054 2811")); })
                                    << QStringLiteral("IBAN") << QByteArray("IT60 X054 2811") << QStringLiteral("pattern");
    QTest::newRow("empty MndtId") << Change([](auto *m) { firstTransaction(m)->DrctDbtTx()->MndtRltdInf()->SetMndtId(QString()); })
                                  << QStringLiteral("MndtId") << QByteArray("<MndtId/>") << QStringLiteral("minLength");
    QTest::newRow("invalid SeqTp") << Change([](auto *m) { m->PmtInf()->Items(1)->PmtTpInf()->SetSeqTp(QStringLiteral("PRIMO")); })
                                   << QStringLiteral("SeqTp") << QByteArray(">PRIMO<") << QStringLiteral("enumeration");
    QTest::newRow("invalid PmtMtd") << Change([](auto *m) { m->PmtInf()->Items(0)->SetPmtMtd(QStringLiteral("TRF")); })
                                    << QStringLiteral("PmtMtd") << QByteArray(">TRF<") << QStringLiteral("enumeration");
    QTest::newRow("date with time") << Change([](auto *m) { m->PmtInf()->Items(0)->SetReqdColltnDt(QStringLiteral("2024-03-05T00:00:00")); })
                                    << QStringLiteral("ReqdColltnDt") << QByteArray("2024-03-05T00") << QStringLiteral("ISODate");
    QTest::newRow("Italian date") << Change([](auto *m) { m->GrpHdr()->SetCreDtTm(QStringLiteral("20/02/2024 09:05")); })
                                  << QStringLiteral("CreDtTm") << QByteArray("20/02/2024") << QStringLiteral("ISODateTime");
    QTest::newRow("comma decimal") << Change([](auto *m) { m->GrpHdr()->SetCtrlSum(QStringLiteral("174,84")); })
                                   << QStringLiteral("CtrlSum") << QByteArray("174,84") << QStringLiteral("DecimalNumber");
    QTest::newRow("count not numeric") << Change([](auto *m) { m->GrpHdr()->SetNbOfTxs(QStringLiteral("tre")); })
                                       << QStringLiteral("NbOfTxs") << QByteArray(">tre<") << QStringLiteral("pattern");
    QTest::newRow("country in lower case") << Change([](auto *m) { firstTransaction(m)->Dbtr()->PstlAdr()->SetCtry(QStringLiteral("it")); })
                                           << QStringLiteral("Ctry") << QByteArray(">it<") << QStringLiteral("pattern");
    QTest::newRow("long town") << Change([](auto *m) { firstTransaction(m)->Dbtr()->PstlAdr()->SetTwnNm(QString(36, QLatin1Char('B'))); })
                               << QStringLiteral("TwnNm") << QByteArray(36, 'B') << QStringLiteral("maxLength");
    QTest::newRow("malformed BIC") << Change([](auto *m) { firstTransaction(m)->DbtrAgt()->FinInstnId()->SetBIC(QStringLiteral("BPM0IT")); })
                                   << QStringLiteral("BIC") << QByteArray(">BPM0IT<") << QStringLiteral("pattern");
}

void TestSddValidate::badContentIsNamed()
{
    QFETCH(Change, change);
    QFETCH(QString, element);
    QFETCH(QByteArray, at);
    QFETCH(QString, why);
    const QByteArray xml = exportMessage(change);
    QVERIFY2(xml.contains(at), xml.constData());

    const QStringList messages = ValidateCBISDDReqLogMsg(xml);
    QVERIFY(!messages.isEmpty());
    const QString first = messages.first();
    QVERIFY2(first.contains(QStringLiteral("Element '%1%2'").arg(kNs, element)), qPrintable(first));
    QVERIFY2(first.contains(why), qPrintable(first));
    QVERIFY2(first.startsWith(QStringLiteral("Riga %1: ").arg(lineOf(xml, at))), qPrintable(first));
    // The other ways of validating agree.
    const QString file = QDir(m_dir.path()).filePath(QStringLiteral("bad.xml"));
    QVERIFY(writeFile(file, xml));
    QCOMPARE(ValidateCBISDDReqLogMsgFile(file), messages);
    QCOMPARE(ValidateCBISDDReqLogMsg(xml, modelSchemaPath()), messages);
    QVERIFY(!validationErrors(xml, modelSchemaPath()).isEmpty());
}

void TestSddValidate::requiredElementsMissingFail()
{
    auto msg = NewCBISDDReqLogMsg();
    fillAsExport(msg.get(), {});
    const QByteArray xml = msg->OwnerDocument()->XML();
    QVERIFY(xml.contains("<InitgPty>"));
    const QStringList messages = ValidateCBISDDReqLogMsg(xml);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(QStringLiteral("Element '%1CBISDDReqLogMsg': Missing child element(s). "
                                                      "Expected is ( %1PmtInf )").arg(kNs)),
             qPrintable(messages.first()));

    // A required element left out inside a transaction: the message names
    // the one that was expected where the next one came.
    QByteArray cut = exportMessage();
    const qsizetype from = cut.indexOf("<MndtId>");
    cut.remove(from, cut.indexOf("</MndtId>", from) + 9 - from);
    QVERIFY(cut.count("<MndtId>") == 3);
    const QStringList missing = ValidateCBISDDReqLogMsg(cut);
    QCOMPARE(missing.size(), 1);
    QVERIFY2(missing.first().contains(QStringLiteral("Element '%1DtOfSgntr': This element is not expected. "
                                                     "Expected is ( %1MndtId )").arg(kNs)),
             qPrintable(missing.first()));
}

void TestSddValidate::messageNotWellFormedFails()
{
    QByteArray xml = exportMessage();
    xml.replace("</RmtInf>", "</RmtInfo>");
    QStringList messages;
#ifdef Q_OS_UNIX
    QCOMPARE(stderrOf([&] { messages = ValidateCBISDDReqLogMsg(xml); }), QByteArray());
#else
    messages = ValidateCBISDDReqLogMsg(xml);
#endif
    QVERIFY(!messages.isEmpty());
    QVERIFY2(messages.first().startsWith(QStringLiteral("Riga %1: ").arg(lineOf(xml, "</RmtInfo>"))),
             qPrintable(messages.join('\n')));
    QVERIFY2(messages.first().contains(QStringLiteral("RmtInf")), qPrintable(messages.first()));

    QVERIFY(!ValidateCBISDDReqLogMsg(QByteArray()).isEmpty());
    QVERIFY(!ValidateCBISDDReqLogMsgFile(QDir(m_dir.path()).filePath(QStringLiteral("none.xml"))).isEmpty());
}

void TestSddValidate::messagesAreLimited()
{
    const QByteArray xml = exportMessage([](auto *m) {
        for (int b = 0; b < m->PmtInf()->Count(); ++b)
            for (int t = 0; t < m->PmtInf()->Items(b)->DrctDbtTxInf()->Count(); ++t)
                m->PmtInf()->Items(b)->DrctDbtTxInf()->Items(t)->DbtrAcct()->Id()->SetIBAN(QStringLiteral("it00"));
        m->GrpHdr()->SetMsgId(QString(40, QLatin1Char('M')));
        m->GrpHdr()->SetNbOfTxs(QStringLiteral("-4"));
    });
    const QStringList all = ValidateCBISDDReqLogMsg(xml, QString(), 0);
    QCOMPARE(all.size(), 6);
    QCOMPARE(all.filter(QStringLiteral("IBAN")).size(), 4);
    QCOMPARE(ValidateCBISDDReqLogMsg(xml), all.mid(0, 5));
    QCOMPARE(ValidateCBISDDReqLogMsg(xml, QString(), 2), all.mid(0, 2));
    QVERIFY(all.first().contains(QStringLiteral("MsgId")));
}

void TestSddValidate::explicitSchemaFileIsUsed()
{
    // A schema that wants nothing but an element the model never writes.
    const QString strict = QDir(m_dir.path()).filePath(QStringLiteral("strict.xsd"));
    QVERIFY(writeFile(strict, "<?xml version=\"1.0\"?>\n"
                              "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\"\n"
                              "           targetNamespace=\"urn:CBI:xsd:CBISDDReqLogMsg.00.01.00\"\n"
                              "           elementFormDefault=\"qualified\">\n"
                              "  <xs:element name=\"CBISDDReqLogMsg\">\n"
                              "    <xs:complexType><xs:sequence>\n"
                              "      <xs:element name=\"Firma\" type=\"xs:string\"/>\n"
                              "    </xs:sequence><xs:anyAttribute processContents=\"skip\"/></xs:complexType>\n"
                              "  </xs:element>\n"
                              "</xs:schema>\n"));
    const QByteArray valid = exportMessage();
    const QStringList rejected = ValidateCBISDDReqLogMsg(valid, strict);
    QCOMPARE(rejected.size(), 1);
    QVERIFY2(rejected.first().contains(QStringLiteral("Element '%1GrpHdr': This element is not expected. "
                                                      "Expected is ( %1Firma )").arg(kNs)),
             qPrintable(rejected.first()));
    // The built-in schema is not touched by it.
    QCOMPARE(ValidateCBISDDReqLogMsg(valid), QStringList());

    // And one that takes anything lets through what the model rejects.
    const QString lax = QDir(m_dir.path()).filePath(QStringLiteral("lax.xsd"));
    QByteArray laxText = readFile(strict);
    laxText.replace("<xs:element name=\"Firma\" type=\"xs:string\"/>",
                    "<xs:any processContents=\"skip\" minOccurs=\"0\" maxOccurs=\"unbounded\"/>");
    QVERIFY(writeFile(lax, laxText));
    auto empty = NewCBISDDReqLogMsg();
    const QByteArray bare = empty->OwnerDocument()->XML();
    QVERIFY(!ValidateCBISDDReqLogMsg(bare).isEmpty());
    QCOMPARE(ValidateCBISDDReqLogMsg(bare, lax), QStringList());
    const QString file = QDir(m_dir.path()).filePath(QStringLiteral("bare.xml"));
    QVERIFY(writeFile(file, bare));
    QCOMPARE(ValidateCBISDDReqLogMsgFile(file, lax), QStringList());
}

void TestSddValidate::missingOrBrokenSchemaFileIsReported()
{
    const QByteArray valid = exportMessage();
    const QString missing = QDir(m_dir.path()).filePath(QStringLiteral("missing.xsd"));
    const QString broken = QDir(m_dir.path()).filePath(QStringLiteral("broken.xsd"));
    QVERIFY(writeFile(broken, "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">\n"
                              "  <xs:element name=\"A\" type=\"NoSuchType\"/>\n"
                              "</xs:schema>\n"));
    QStringList missingMessages;
    QStringList brokenMessages;
#ifdef Q_OS_UNIX
    QCOMPARE(stderrOf([&] {
                 missingMessages = ValidateCBISDDReqLogMsg(valid, missing);
                 brokenMessages = ValidateCBISDDReqLogMsg(valid, broken);
             }),
             QByteArray());
#else
    missingMessages = ValidateCBISDDReqLogMsg(valid, missing);
    brokenMessages = ValidateCBISDDReqLogMsg(valid, broken);
#endif
    QCOMPARE(missingMessages.size(), 1);
    QVERIFY2(missingMessages.first().contains(QDir::toNativeSeparators(missing)), qPrintable(missingMessages.first()));
    QVERIFY(!brokenMessages.isEmpty());
    QVERIFY2(brokenMessages.first().contains(QStringLiteral("NoSuchType")), qPrintable(brokenMessages.join('\n')));
    QVERIFY2(brokenMessages.first().startsWith(QStringLiteral("Riga 2: ")), qPrintable(brokenMessages.first()));
}

QTEST_GUILESS_MAIN(TestSddValidate)
#include "tst_sdd_validate.moc"

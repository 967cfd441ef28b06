// What the model writes, byte for byte: the document text and the saved
// file are compared with a plain writer over QXmlStreamWriter followed by
// the line-by-line cleaning of the saved file, the way the model wrote and
// saved messages before it serialised them itself; and the export sample
// with the file kept in data/.
#include "VtXmlDocument.h"
#include "VtXmlNode.h"
#include "ebdUXmlSDD.h"
#include "sddfillall.h"
#include "sddtestsupport.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QXmlStreamWriter>
#include <QtTest>

using namespace sddtest;

namespace {

void referenceElement(QXmlStreamWriter &w, const TVtXMLNode &node, const QString &inScopeDefault)
{
    w.writeStartElement(node.NodeName());
    if (node.NamespaceURI() != inScopeDefault)
        w.writeAttribute(QStringLiteral("xmlns"), node.NamespaceURI());
    for (const auto &decl : node.NamespaceDeclarations())
        w.writeAttribute(QStringLiteral("xmlns:") + decl.first, decl.second);
    for (const auto &attr : node.Attributes())
        w.writeAttribute(attr.first, attr.second);
    if (!node.Text().isEmpty())
        w.writeCharacters(node.Text());
    for (int i = 0; i < node.ChildCount(); ++i)
        referenceElement(w, *node.ChildAt(i), node.NamespaceURI());
    w.writeEndElement();
}

QByteArray referenceXml(const TVtXMLDocument &doc)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    buffer.write("<?xml version=\"" + doc.Version().toUtf8() + "\" encoding=\"" + doc.Encoding().toUtf8() + "\"?>");
    QXmlStreamWriter w(&buffer);
    w.setAutoFormatting(doc.Indentation() > 0);
    w.setAutoFormattingIndent(doc.Indentation());
    if (doc.DocumentElement())
        referenceElement(w, *doc.DocumentElement(), QString());
    w.writeEndDocument();
    return out;
}

// The saved file: the text, then each line cleaned of empty default
// namespace declarations.
QByteArray referenceSaved(const TVtXMLDocument &doc)
{
    QByteArray text = referenceXml(doc);
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    QByteArray out;
    while (!in.atEnd())
        out += RemoveEmptyNamespaceDeclarations(in.readLine());
    return out;
}

// Text that the writer has to escape, drop or keep as it is.
const QString kAwkward = QStringLiteral("a\"b'c<d>e&f\tg\nh\r\ni]]>j \u00e8\u2019\u20ac \U0001F600 x\u0001y\u000bz\ufffe.");

// The every-element message with awkward text and attributes, elements in no
// namespace or in another one, an empty text and text beside children.
std::unique_ptr<TXMLCBISDDReqLogMsg000100> awkwardMessage()
{
    auto msg = NewCBISDDReqLogMsg();
    sddfill::Filler filler;
    sddfill::fill(msg.get(), filler);
    TXMLPaymentInstructionInformation2 *pmt = msg->PmtInf()->Items(1);
    TXMLDirectDebitTransactionInformation1 *tx = pmt->DrctDbtTxInf()->Items(0);
    tx->Dbtr()->SetNm(kAwkward);
    tx->RmtInf()->Ustrd()->Add(QStringLiteral("  xmlns=\"\" XMLNS=\"\" xmlns= ") + kAwkward);
    tx->SetInstdAmtCcy(kAwkward);
    tx->SetInstdAmt(QStringLiteral("1.5"));
    msg->GrpHdr()->SetNamespaceURI(QStringLiteral(""));
    pmt->Cdtr()->SetNamespaceURI(QStringLiteral(""));
    tx->DbtrAcct()->SetNamespaceURI(QStringLiteral("urn:altro"));
    tx->UltmtDbtr()->SetAttribute(QStringLiteral("XmlNs"), QString());
    tx->UltmtDbtr()->SetAttribute(QStringLiteral("nota"), QStringLiteral(" xmlns=\"\" "));
    tx->UltmtDbtr()->SetNm(QString());
    tx->PmtId()->SetText(QStringLiteral("testo accanto ai figli"));
    tx->DrctDbtTx()->MndtRltdInf()->DeclareNamespace(QStringLiteral("v"), kAwkward);
    // A namespace set on a new element is inherited by the children made
    // after it.
    TXMLCBIPostalAddress6 *address = msg->PmtInf()->Add()->Cdtr()->PstlAdr();
    address->SetNamespaceURI(QStringLiteral(""));
    address->SetCtry(QStringLiteral("IT"));
    address->AdrLine()->Add(QStringLiteral("Via Senza Spazio"));
    return msg;
}

} // namespace

class TestSddBytes : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void textAndFileAreAsBefore_data();
    void textAndFileAreAsBefore();
    void exportSampleIsTheKeptFile();
    void declarationsAcrossPiecesAreRemoved();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSddBytes::init()
{
    const QString base = qEnvironmentVariable("VARDELLA_TEST_TMP");
    if (!base.isEmpty()) {
        QDir().mkpath(base);
        m_dir = std::make_unique<QTemporaryDir>(QDir(base).filePath(QStringLiteral("bytes-XXXXXX")));
    } else {
        m_dir = std::make_unique<QTemporaryDir>();
    }
    QVERIFY(m_dir->isValid());
}

using Prepare = std::function<std::unique_ptr<TXMLCBISDDReqLogMsg000100>()>;
Q_DECLARE_METATYPE(Prepare)

void TestSddBytes::textAndFileAreAsBefore_data()
{
    QTest::addColumn<Prepare>("prepare");
    // Whether the text has a piece that cannot be encoded: every name after
    // it is left out, so end tags come out as "</>".
    QTest::addColumn<bool>("broken");
    QTest::newRow("empty message") << Prepare([] { return NewCBISDDReqLogMsg(); }) << false;
    QTest::newRow("export sample") << Prepare([] {
        auto msg = NewCBISDDReqLogMsg();
        fillAsExport(msg.get(), exportSample());
        return msg;
    }) << false;
    QTest::newRow("every element") << Prepare([] {
        auto msg = NewCBISDDReqLogMsg();
        sddfill::Filler filler;
        sddfill::fill(msg.get(), filler);
        return msg;
    }) << false;
    QTest::newRow("awkward") << Prepare([] { return awkwardMessage(); }) << false;
    for (const int indent : {0, 1, 4, -1}) {
        QTest::addRow("awkward, indentation %d", indent) << Prepare([indent] {
            auto msg = awkwardMessage();
            msg->OwnerDocument()->SetIndentation(indent);
            return msg;
        }) << false;
    }
    QTest::newRow("declaration") << Prepare([] {
        auto msg = awkwardMessage();
        msg->OwnerDocument()->SetVersion(QStringLiteral("1.0 xmlns="));
        msg->OwnerDocument()->SetEncoding(QStringLiteral("ISO-8859-1"));
        return msg;
    }) << false;
    QTest::newRow("half a pair ending a text") << Prepare([] {
        auto msg = awkwardMessage();
        msg->PmtInf()->Items(0)->DrctDbtTxInf()->Items(1)->Dbtr()->SetNm(QStringLiteral("fine") + QChar(0xD83D));
        return msg;
    }) << true;
    QTest::newRow("low half alone in an attribute") << Prepare([] {
        auto msg = awkwardMessage();
        msg->PmtInf()->Items(0)->DrctDbtTxInf()->Items(1)->SetInstdAmtCcy(QString(QChar(0xDE00)) + QStringLiteral("EUR"));
        msg->PmtInf()->Items(0)->DrctDbtTxInf()->Items(1)->SetInstdAmt(QStringLiteral("2"));
        return msg;
    }) << true;
    QTest::newRow("pair around a control character") << Prepare([] {
        auto msg = awkwardMessage();
        QString joined = QStringLiteral("a");
        joined += QChar(0xD83D);
        joined += QChar(0x0001);
        joined += QChar(0xDE00);
        msg->PmtInf()->Items(0)->DrctDbtTxInf()->Items(1)->Dbtr()->SetNm(joined);
        return msg;
    }) << false;
    QTest::newRow("half a surrogate pair") << Prepare([] {
        auto msg = awkwardMessage();
        QString broken = QStringLiteral("prima ");
        broken += QChar(0xD83D);
        broken += QStringLiteral(" dopo");
        msg->PmtInf()->Items(0)->DrctDbtTxInf()->Items(1)->Dbtr()->SetNm(broken);
        return msg;
    }) << true;
}

void TestSddBytes::textAndFileAreAsBefore()
{
    QFETCH(Prepare, prepare);
    QFETCH(bool, broken);
    const auto msg = prepare();
    const QByteArray reference = referenceXml(*msg->OwnerDocument());
    QCOMPARE(reference.contains("</>"), broken);
    QCOMPARE(msg->OwnerDocument()->XML(), reference);

    const QString file = QDir(m_dir->path()).filePath(QStringLiteral("sdd.xml"));
    QString error;
    QVERIFY2(SaveCBISDDReqLogMsg(*msg, file, &error), qPrintable(error));
    const QByteArray saved = readFile(file);
    QCOMPARE(saved, referenceSaved(*msg->OwnerDocument()));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"sdd.xml"});
}

void TestSddBytes::exportSampleIsTheKeptFile()
{
    auto msg = NewCBISDDReqLogMsg();
    fillAsExport(msg.get(), exportSample());
    const QString file = QDir(m_dir->path()).filePath(QStringLiteral("sdd.xml"));
    QString error;
    QVERIFY2(SaveCBISDDReqLogMsg(*msg, file, &error), qPrintable(error));
    const QByteArray kept = readFile(QStringLiteral(SDD_TEST_DATA_DIR "/export-sample.xml"));
    QVERIFY(!kept.isEmpty());
    QCOMPARE(readFile(file), kept);
    QCOMPARE(msg->OwnerDocument()->XML(), kept);
}

void TestSddBytes::declarationsAcrossPiecesAreRemoved()
{
    // Payment blocks in no namespace, each one a declaration, over many
    // pieces of the written text.
    auto msg = NewCBISDDReqLogMsg();
    for (int i = 0; i < 20000; ++i)
        msg->PmtInf()->Add()->SetNamespaceURI(QStringLiteral(""));
    const QByteArray text = msg->OwnerDocument()->XML();
    QCOMPARE(text.count(" xmlns=\"\""), 20000);
    int pieces = 0;
    QByteArray joined;
    QVERIFY(msg->OwnerDocument()->Write([&](const char *data, qsizetype size) {
        joined.append(data, size);
        ++pieces;
        return true;
    }));
    QCOMPARE(joined, text);
    QVERIFY(pieces > 4);
    const QString file = QDir(m_dir->path()).filePath(QStringLiteral("sdd.xml"));
    QString error;
    QVERIFY2(SaveCBISDDReqLogMsg(*msg, file, &error), qPrintable(error));
    const QByteArray expected = referenceSaved(*msg->OwnerDocument());
    QCOMPARE(expected.size(), text.size() - 9 * 20000);
    QCOMPARE(readFile(file), expected);

    // Cut anywhere, declarations split between pieces included, the text
    // comes out cleaned as line by line.
    auto awkward = awkwardMessage();
    awkward->OwnerDocument()->SetVersion(QStringLiteral("1.0 xmlns="));
    const QByteArray awkwardText = awkward->OwnerDocument()->XML();
    const QByteArray awkwardClean = referenceSaved(*awkward->OwnerDocument());
    QVERIFY(awkwardText.size() - awkwardClean.size() >= 9 * 4);
    for (const QByteArray &whole : {awkwardText.left(5000), text.left(3000), QByteArray(" xmlns=\"\""),
                                    QByteArray(" xmlns=\""), QByteArray(" XMLNS=\"\" xmlns=\"\"x")}) {
        QByteArray cleanedLines;
        QByteArray rest = whole;
        while (!rest.isEmpty()) {
            const qsizetype end = rest.indexOf('\n');
            const qsizetype take = end < 0 ? rest.size() : end + 1;
            cleanedLines += RemoveEmptyNamespaceDeclarations(rest.left(take));
            rest.remove(0, take);
        }
        for (qsizetype piece = 1; piece <= 17; ++piece) {
            TEmptyNamespaceCleaner cleaner;
            QByteArray out;
            for (qsizetype at = 0; at < whole.size(); at += piece)
                cleaner.Feed(whole.constData() + at, qMin(piece, whole.size() - at), out);
            cleaner.Finish(out);
            QCOMPARE(out, cleanedLines);
        }
    }
}

QTEST_GUILESS_MAIN(TestSddBytes)
#include "tst_sdd_bytes.moc"

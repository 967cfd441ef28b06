// The SDD request message model: what the tree serialises to, whatever order
// it was filled in.
#include "ebdUXmlSDD.h"
#include "sddfillall.h"
#include "sddtestsupport.h"

#include <QDomAttr>
#include <QDomNamedNodeMap>
#include <QtTest>

using namespace sddtest;

namespace {

// Fills one transaction with a value in every direct member, in schema
// order or in the reverse of it.
void fillTransaction(TXMLDirectDebitTransactionInformation1 *tx, bool reversed)
{
    QList<std::function<void()>> steps{
        [tx] { tx->PmtId()->SetEndToEndId(QStringLiteral("7")); },
        [tx] { tx->PmtTpInf()->CtgyPurp()->SetCd(QStringLiteral("OTHR")); },
        [tx] {
            tx->SetInstdAmtCcy(QStringLiteral("EUR"));
            tx->SetInstdAmt(QStringLiteral("99.9"));
        },
        [tx] { tx->SetChrgBr(QStringLiteral("SLEV")); },
        [tx] { tx->DrctDbtTx()->MndtRltdInf()->SetMndtId(QStringLiteral("0000000000000001")); },
        [tx] { tx->UltmtCdtr()->SetNm(QStringLiteral("Comune")); },
        [tx] { tx->DbtrAgt()->FinInstnId()->SetBIC(QStringLiteral("BPMOIT22")); },
        [tx] { tx->Dbtr()->SetNm(QStringLiteral("Verdi")); },
        [tx] { tx->DbtrAcct()->Id()->SetIBAN(QStringLiteral("IT60X0542811101000000123456")); },
        [tx] { tx->UltmtDbtr()->SetNm(QStringLiteral("Verdi Anna")); },
        [tx] { tx->SetInstrForCdtrAgt(QStringLiteral("nota")); },
        [tx] { tx->Purp()->SetCd(QStringLiteral("EDUC")); },
        [tx] { tx->RgltryRptg()->Add()->SetDbtCdtRptgInd(QStringLiteral("DEBT")); },
        [tx] { tx->RmtInf()->Ustrd()->Add(QStringLiteral("Mensa")); },
        [tx] { tx->PmtId()->SetInstrId(QStringLiteral("7")); },
    };
    if (reversed)
        std::reverse(steps.begin(), steps.end());
    for (const auto &step : steps)
        step();
}

} // namespace

class TestSddMessage : public QObject
{
    Q_OBJECT

private slots:
    void newMessageIsDeclarationAndDocumentElementOnly();
    void settingTextTwiceKeepsOneElementWithLastText();
    void readingTextCreatesNothingReadingComplexChildCreatesIt();
    void paymentBlocksFollowGroupHeaderInOrderAdded();
    void listsInsertAtIndexAndKeepOrder();
    void instdAmtTakesCcyFromInstdAmtCcy();
    void amountTypeCarriesCcyBeforeText();
    void amdmntIndIsBoolean();
    void childrenSetOutOfOrderComeOutInSchemaOrder();
    void everyTypeFilledInReverseValidates();
    void messageFilledAsExportValidates();
};

void TestSddMessage::newMessageIsDeclarationAndDocumentElementOnly()
{
    auto msg = NewCBISDDReqLogMsg();
    const QByteArray xml = msg->OwnerDocument()->XML();

    QVERIFY2(xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"), xml.constData());
    const QDomElement root = documentElement(xml);
    QCOMPARE(root.localName(), QStringLiteral("CBISDDReqLogMsg"));
    QCOMPARE(root.namespaceURI(), QStringLiteral("urn:CBI:xsd:CBISDDReqLogMsg.00.01.00"));
    QCOMPARE(root.attributeNS(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"),
                              QStringLiteral("schemaLocation")),
             QStringLiteral("urn:CBI:xsd:CBISDDReqLogMsg.00.01.00 CBISDDReqLogMsg.00.01.00.xsd"));
    QVERIFY(xml.contains("xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""));
    QVERIFY2(!root.hasChildNodes(), xml.constData());
    QVERIFY(root.ownerDocument().documentElement().nextSibling().isNull());
    // The document element is the only element, and it declares exactly the
    // default namespace, the xsi prefix and the schema location.
    QCOMPARE(xml.count("<"), 2);
    QCOMPARE(xml.count("xmlns"), 2);
    // Well formed, but not yet a message the bank takes: the group header
    // and a payment block are required.
    QVERIFY2(validationErrors(xml, modelSchemaPath())
                 .contains(QLatin1String("Missing child element(s). Expected is ( "
                                         "{urn:CBI:xsd:CBISDDReqLogMsg.00.01.00}GrpHdr )")),
             qPrintable(validationErrors(xml, modelSchemaPath())));
}

void TestSddMessage::settingTextTwiceKeepsOneElementWithLastText()
{
    auto msg = NewCBISDDReqLogMsg();
    msg->GrpHdr()->SetMsgId(QStringLiteral("SDD20240101000000"));
    msg->GrpHdr()->SetNbOfTxs(QStringLiteral("3"));
    msg->GrpHdr()->SetMsgId(QStringLiteral("SDD20240102000000"));
    TXMLCBIPartyIdentification4 *dbtr = msg->PmtInf()->Add()->DrctDbtTxInf()->Add()->Dbtr();
    dbtr->SetNm(QStringLiteral("Rossi"));
    dbtr->SetNm(QString());

    QCOMPARE(msg->GrpHdr()->MsgId(), QStringLiteral("SDD20240102000000"));
    const QDomElement root = documentElement(msg->OwnerDocument()->XML());
    QCOMPARE(childNames(at(root, QStringLiteral("GrpHdr"))), QStringList({"MsgId", "NbOfTxs"}));
    QCOMPARE(at(root, QStringLiteral("GrpHdr/MsgId")).text(), QStringLiteral("SDD20240102000000"));
    // Set to empty text, the element stays and is written empty.
    const QDomElement nm = at(root, QStringLiteral("PmtInf/DrctDbtTxInf/Dbtr/Nm"));
    QVERIFY(!nm.isNull());
    QVERIFY(!nm.hasChildNodes());
    QCOMPARE(childrenNamed(at(root, QStringLiteral("PmtInf/DrctDbtTxInf/Dbtr")), QStringLiteral("Nm")).size(), 1);
}

void TestSddMessage::readingTextCreatesNothingReadingComplexChildCreatesIt()
{
    auto msg = NewCBISDDReqLogMsg();
    TXMLCBIGroupHeader2 *hdr = msg->GrpHdr();
    QCOMPARE(hdr->MsgId(), QString());
    QCOMPARE(hdr->InitgPty()->Nm(), QString());
    QCOMPARE(hdr->InitgPty()->Id()->OrgId()->Count(), 0);

    const QDomElement root = documentElement(msg->OwnerDocument()->XML());
    QCOMPARE(childNames(root), QStringList{"GrpHdr"});
    QCOMPARE(childNames(at(root, QStringLiteral("GrpHdr"))), QStringList{"InitgPty"});
    QCOMPARE(childNames(at(root, QStringLiteral("GrpHdr/InitgPty"))), QStringList{"Id"});
    QCOMPARE(childNames(at(root, QStringLiteral("GrpHdr/InitgPty/Id"))), QStringList{"OrgId"});
    QVERIFY(!at(root, QStringLiteral("GrpHdr/InitgPty/Id/OrgId")).hasChildNodes());
    // The same object comes back on every access.
    QCOMPARE(msg->GrpHdr(), hdr);
    QCOMPARE(hdr->InitgPty()->Id(), hdr->InitgPty()->Id());
}

void TestSddMessage::paymentBlocksFollowGroupHeaderInOrderAdded()
{
    auto msg = NewCBISDDReqLogMsg();
    msg->PmtInf()->Add()->SetPmtInfId(QStringLiteral("1"));
    msg->GrpHdr()->SetNbOfTxs(QStringLiteral("0"));
    msg->PmtInf()->Add()->SetPmtInfId(QStringLiteral("2"));

    QCOMPARE(msg->PmtInf()->Count(), 2);
    QCOMPARE(msg->PmtInf()->Items(1)->PmtInfId(), QStringLiteral("2"));
    const QByteArray xml = msg->OwnerDocument()->XML();
    const QDomElement root = documentElement(xml);
    QCOMPARE(childNames(root), QStringList({"GrpHdr", "PmtInf", "PmtInf"}));
    const QList<QDomElement> blocks = childrenNamed(root, QStringLiteral("PmtInf"));
    QCOMPARE(at(blocks[0], QStringLiteral("PmtInfId")).text(), QStringLiteral("1"));
    QCOMPARE(at(blocks[1], QStringLiteral("PmtInfId")).text(), QStringLiteral("2"));
}

void TestSddMessage::listsInsertAtIndexAndKeepOrder()
{
    auto msg = NewCBISDDReqLogMsg();
    TXMLPaymentInstructionInformation2 *pmt = msg->PmtInf()->Add();
    pmt->SetPmtInfId(QStringLiteral("B"));
    msg->PmtInf()->Insert(0)->SetPmtInfId(QStringLiteral("A"));
    msg->PmtInf()->Insert(2)->SetPmtInfId(QStringLiteral("C"));
    msg->GrpHdr();

    TXMLDirectDebitTransactionInformation1List *txs = pmt->DrctDbtTxInf();
    txs->Add()->PmtId()->SetInstrId(QStringLiteral("1"));
    txs->Add()->PmtId()->SetInstrId(QStringLiteral("3"));
    txs->Insert(1)->PmtId()->SetInstrId(QStringLiteral("2"));
    pmt->SetReqdColltnDt(QStringLiteral("2024-03-05"));

    TXMLMax70TextList *lines = pmt->Cdtr()->PstlAdr()->AdrLine();
    lines->Add(QStringLiteral("second"));
    lines->Insert(0, QStringLiteral("first"));
    pmt->Cdtr()->PstlAdr()->SetCtry(QStringLiteral("IT"));

    TXMLCBIOrganisationIdentification1 *orgId = msg->GrpHdr()->InitgPty()->Id()->OrgId();
    orgId->Add()->SetId(QStringLiteral("Y"));
    orgId->Insert(0)->SetId(QStringLiteral("X"));

    QCOMPARE(msg->PmtInf()->Items(0)->PmtInfId(), QStringLiteral("A"));
    QCOMPARE(msg->PmtInf()->Items(1), pmt);
    QCOMPARE(txs->Count(), 3);
    QCOMPARE(txs->Items(1)->PmtId()->InstrId(), QStringLiteral("2"));
    QCOMPARE(lines->Count(), 2);
    QCOMPARE(lines->Items(0), QStringLiteral("first"));
    QCOMPARE(orgId->Count(), 2);
    QCOMPARE(orgId->Items(0)->Id(), QStringLiteral("X"));

    const QByteArray xml = msg->OwnerDocument()->XML();
    const QDomElement root = documentElement(xml);
    QCOMPARE(childNames(root), QStringList({"GrpHdr", "PmtInf", "PmtInf", "PmtInf"}));
    QStringList ids;
    for (const QDomElement &b : childrenNamed(root, QStringLiteral("PmtInf")))
        ids << at(b, QStringLiteral("PmtInfId")).text();
    QCOMPARE(ids, QStringList({"A", "B", "C"}));

    const QDomElement b = childrenNamed(root, QStringLiteral("PmtInf"))[1];
    QCOMPARE(childNames(b), QStringList({"PmtInfId", "ReqdColltnDt", "Cdtr", "DrctDbtTxInf", "DrctDbtTxInf",
                                         "DrctDbtTxInf"}));
    QStringList instrIds;
    for (const QDomElement &tx : childrenNamed(b, QStringLiteral("DrctDbtTxInf")))
        instrIds << at(tx, QStringLiteral("PmtId/InstrId")).text();
    QCOMPARE(instrIds, QStringList({"1", "2", "3"}));
    QCOMPARE(childNames(at(b, QStringLiteral("Cdtr/PstlAdr"))), QStringList({"Ctry", "AdrLine", "AdrLine"}));
    QCOMPARE(childrenNamed(at(b, QStringLiteral("Cdtr/PstlAdr")), QStringLiteral("AdrLine"))[0].text(),
             QStringLiteral("first"));
    QStringList othr;
    for (const QDomElement &o : childrenNamed(at(root, QStringLiteral("GrpHdr/InitgPty/Id/OrgId")), QStringLiteral("Othr")))
        othr << at(o, QStringLiteral("Id")).text();
    QCOMPARE(othr, QStringList({"X", "Y"}));
}

void TestSddMessage::instdAmtTakesCcyFromInstdAmtCcy()
{
    auto msg = NewCBISDDReqLogMsg();
    TXMLDirectDebitTransactionInformation1 *tx = msg->PmtInf()->Add()->DrctDbtTxInf()->Add();
    tx->SetInstdAmtCcy(QStringLiteral("EUR"));
    tx->SetInstdAmt(QStringLiteral("12.5"));
    QCOMPARE(tx->InstdAmtCcy(), QStringLiteral("EUR"));
    QCOMPARE(tx->InstdAmt(), QStringLiteral("12.5"));

    QByteArray xml = msg->OwnerDocument()->XML();
    QVERIFY2(xml.contains("<InstdAmt Ccy=\"EUR\">12.5</InstdAmt>"), xml.constData());

    // The currency is taken when the amount is set: changing it alone does
    // nothing, setting the amount again rewrites both on the same element.
    tx->SetInstdAmtCcy(QStringLiteral("CHF"));
    QVERIFY(msg->OwnerDocument()->XML().contains("<InstdAmt Ccy=\"EUR\">12.5</InstdAmt>"));
    tx->SetInstdAmt(QStringLiteral("150"));
    xml = msg->OwnerDocument()->XML();
    QVERIFY2(xml.contains("<InstdAmt Ccy=\"CHF\">150</InstdAmt>"), xml.constData());
    QCOMPARE(xml.count("<InstdAmt"), 1);
}

void TestSddMessage::amountTypeCarriesCcyBeforeText()
{
    auto msg = NewCBISDDReqLogMsg();
    TXMLCBIStructuredRegulatoryReporting1 *dtls =
        msg->PmtInf()->Add()->DrctDbtTxInf()->Add()->RgltryRptg()->Add()->Dtls();
    dtls->Amt()->SetText(QStringLiteral("1234.56"));
    dtls->Amt()->SetCcy(QStringLiteral("EUR"));
    dtls->SetCd(QStringLiteral("A1"));
    QCOMPARE(dtls->Amt()->Ccy(), QStringLiteral("EUR"));

    const QByteArray xml = msg->OwnerDocument()->XML();
    QVERIFY2(xml.contains("<Amt Ccy=\"EUR\">1234.56</Amt>"), xml.constData());
    QCOMPARE(childNames(at(documentElement(xml), QStringLiteral("PmtInf/DrctDbtTxInf/RgltryRptg/Dtls"))),
             QStringList({"Cd", "Amt"}));
}

void TestSddMessage::amdmntIndIsBoolean()
{
    auto msg = NewCBISDDReqLogMsg();
    TXMLMandateRelatedInformation1 *mandate =
        msg->PmtInf()->Add()->DrctDbtTxInf()->Add()->DrctDbtTx()->MndtRltdInf();
    QCOMPARE(mandate->AmdmntInd(), false);
    QVERIFY(!msg->OwnerDocument()->XML().contains("AmdmntInd"));

    mandate->SetAmdmntInd(true);
    QCOMPARE(mandate->AmdmntInd(), true);
    QByteArray xml = msg->OwnerDocument()->XML();
    QVERIFY2(xml.contains("<AmdmntInd>true</AmdmntInd>"), xml.constData());

    mandate->SetAmdmntInd(false);
    QCOMPARE(mandate->AmdmntInd(), false);
    xml = msg->OwnerDocument()->XML();
    QVERIFY2(xml.contains("<AmdmntInd>false</AmdmntInd>"), xml.constData());
    QCOMPARE(xml.count("<AmdmntInd>"), 1);
}

void TestSddMessage::childrenSetOutOfOrderComeOutInSchemaOrder()
{
    auto inOrder = NewCBISDDReqLogMsg();
    fillTransaction(inOrder->PmtInf()->Add()->DrctDbtTxInf()->Add(), false);
    auto reversed = NewCBISDDReqLogMsg();
    fillTransaction(reversed->PmtInf()->Add()->DrctDbtTxInf()->Add(), true);

    const QByteArray xml = reversed->OwnerDocument()->XML();
    QCOMPARE(xml, inOrder->OwnerDocument()->XML());
    const QDomElement tx = at(documentElement(xml), QStringLiteral("PmtInf/DrctDbtTxInf"));
    QCOMPARE(childNames(tx), QStringList({"PmtId", "PmtTpInf", "InstdAmt", "ChrgBr", "DrctDbtTx", "UltmtCdtr",
                                          "DbtrAgt", "Dbtr", "DbtrAcct", "UltmtDbtr", "InstrForCdtrAgt", "Purp",
                                          "RgltryRptg", "RmtInf"}));
    QCOMPARE(childNames(at(tx, QStringLiteral("PmtId"))), QStringList({"InstrId", "EndToEndId"}));
}

void TestSddMessage::everyTypeFilledInReverseValidates()
{
    auto msg = NewCBISDDReqLogMsg();
    sddfill::Filler filler;
    sddfill::fill(msg.get(), filler);
    const QByteArray xml = msg->OwnerDocument()->XML();

    const QDomElement root = documentElement(xml);
    QCOMPARE(elementCount(root), 1 + sddfill::kElementsBelowRoot);
    QCOMPARE(elementsOutsideNamespace(root), QStringList());
    QCOMPARE(validationErrors(xml, modelSchemaPath()), QString());
}

void TestSddMessage::messageFilledAsExportValidates()
{
    auto msg = NewCBISDDReqLogMsg();
    fillAsExport(msg.get(), exportSample());
    const QByteArray xml = msg->OwnerDocument()->XML();

    qInfo("validating against %s", qPrintable(cbiSchemaPath()));
    QCOMPARE(validationErrors(xml, cbiSchemaPath()), QString());
    if (usingCbiSchema())
        QCOMPARE(validationErrors(xml, modelSchemaPath()), QString());

    const QDomElement root = documentElement(xml);
    QCOMPARE(childNames(root), QStringList({"GrpHdr", "PmtInf", "PmtInf"}));
    QCOMPARE(childNames(at(root, QStringLiteral("GrpHdr"))),
             QStringList({"MsgId", "CreDtTm", "NbOfTxs", "CtrlSum", "InitgPty"}));
    QCOMPARE(at(root, QStringLiteral("GrpHdr/CtrlSum")).text(), QStringLiteral("174.84"));
    QCOMPARE(at(root, QStringLiteral("GrpHdr/InitgPty/Nm")).text().size(), 70);
    QCOMPARE(childNames(at(root, QStringLiteral("PmtInf"))),
             QStringList({"PmtInfId", "PmtMtd", "BtchBookg", "PmtTpInf", "ReqdColltnDt", "Cdtr", "CdtrAcct",
                          "CdtrAgt", "CdtrSchmeId", "DrctDbtTxInf", "DrctDbtTxInf"}));
    QCOMPARE(at(root, QStringLiteral("PmtInf/CdtrAcct/Id/IBAN")).text(), QStringLiteral("IT02L0103003200000000001234"));
    const QDomElement tx = at(root, QStringLiteral("PmtInf/DrctDbtTxInf"));
    QCOMPARE(childNames(tx), QStringList({"PmtId", "InstdAmt", "DrctDbtTx", "Dbtr", "DbtrAcct", "RmtInf"}));
    QCOMPARE(at(tx, QStringLiteral("InstdAmt")).attribute(QStringLiteral("Ccy")), QStringLiteral("EUR"));
    QCOMPARE(at(tx, QStringLiteral("InstdAmt")).text(), QStringLiteral("150"));
    QStringList numbers;
    for (const QDomElement &block : childrenNamed(root, QStringLiteral("PmtInf")))
        for (const QDomElement &t : childrenNamed(block, QStringLiteral("DrctDbtTxInf")))
            numbers << at(t, QStringLiteral("PmtId/EndToEndId")).text();
    QCOMPARE(numbers, QStringList({"1", "2", "3"}));
}

QTEST_GUILESS_MAIN(TestSddMessage)
#include "tst_sdd_message.moc"

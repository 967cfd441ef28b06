#include "sddtestsupport.h"

#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <cstdarg>
#include <cstdio>

namespace sddtest {

namespace {

const char kCbiSchemaName[] = "CBISDDReqLogMsg.00.01.00.xsd";

void collectMessage(void *context, const char *format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    *static_cast<QString *>(context) += QString::fromUtf8(buffer);
}

QString findCbiSchema()
{
    const QDir repo(QStringLiteral(SDD_TEST_SOURCE_DIR "/../.."));
    const QStringList candidates{
        QDir(QStringLiteral("/work/shared/cbi")).filePath(QLatin1String(kCbiSchemaName)),
        QDir(repo.absoluteFilePath(QStringLiteral("../shared/cbi"))).filePath(QLatin1String(kCbiSchemaName)),
    };
    for (const QString &candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    return QString();
}

} // namespace

QString modelSchemaPath()
{
    return QStringLiteral(SDD_MODEL_SCHEMA_FILE);
}

bool usingCbiSchema()
{
    return !findCbiSchema().isEmpty();
}

QString cbiSchemaPath()
{
    const QString cbi = findCbiSchema();
    return cbi.isEmpty() ? modelSchemaPath() : cbi;
}

QString validationErrors(const QByteArray &xml, const QString &schemaPath)
{
    QString errors;
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(QFile::encodeName(schemaPath).constData());
    xmlSchemaSetParserErrors(parser, collectMessage, collectMessage, &errors);
    xmlSchemaPtr schema = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    if (!schema)
        return QStringLiteral("schema %1 not loaded: %2").arg(schemaPath, errors);

    xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
    xmlSchemaSetValidErrors(validator, collectMessage, collectMessage, &errors);
    xmlDocPtr doc = xmlReadMemory(xml.constData(), int(xml.size()), "message.xml", nullptr, XML_PARSE_NONET);
    const int rc = doc ? xmlSchemaValidateDoc(validator, doc) : -1;
    if (!doc)
        errors += QStringLiteral("document not well-formed");
    xmlFreeDoc(doc);
    xmlSchemaFreeValidCtxt(validator);
    xmlSchemaFree(schema);
    if (rc == 0)
        return QString();
    return errors.isEmpty() ? QStringLiteral("invalid (code %1)").arg(rc) : errors;
}

QByteArray readFile(const QString &fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

bool writeFile(const QString &fileName, const QByteArray &bytes)
{
    QFile f(fileName);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QDomElement documentElement(const QByteArray &xml)
{
    QDomDocument doc;
    QString message;
    int line = 0;
    int column = 0;
    if (!doc.setContent(xml, true, &message, &line, &column)) {
        QTest::qFail(qPrintable(QStringLiteral("not well-formed: %1 at %2:%3").arg(message).arg(line).arg(column)),
                     __FILE__, __LINE__);
    }
    return doc.documentElement();
}

QStringList childNames(const QDomElement &e)
{
    QStringList names;
    for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
        names << c.localName();
    return names;
}

QDomElement at(const QDomElement &e, const QString &path)
{
    QDomElement current = e;
    for (const QString &step : path.split(QLatin1Char('/'))) {
        QDomElement next;
        for (QDomElement c = current.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
            if (c.localName() == step) {
                next = c;
                break;
            }
        }
        if (next.isNull())
            return next;
        current = next;
    }
    return current;
}

QList<QDomElement> childrenNamed(const QDomElement &e, const QString &name)
{
    QList<QDomElement> result;
    for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
        if (c.localName() == name)
            result << c;
    return result;
}

int elementCount(const QDomElement &root)
{
    int count = 1;
    for (QDomElement c = root.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
        count += elementCount(c);
    return count;
}

QStringList elementsOutsideNamespace(const QDomElement &root)
{
    QStringList outside;
    if (root.namespaceURI() != QLatin1String(CBISDDReqLogMsgNamespace))
        outside << root.tagName();
    for (QDomElement c = root.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
        outside << elementsOutsideNamespace(c);
    return outside;
}

QList<PaymentGroup> exportSample()
{
    return {
        {QStringLiteral("FRST"), QStringLiteral("2024-03-05"),
         {{QStringLiteral("Rossi Maria Grazia"), QStringLiteral("Via Giosuè Carducci, 12"), QStringLiteral("40125"),
           QStringLiteral("Bologna"), QStringLiteral("IT60X0542811101000000123456"), QStringLiteral("0000000000001042"),
           QStringLiteral("Mensa scolastica - rata di marzo"), 15000},
          {QStringLiteral("D’Angelo Niccolò"), QStringLiteral("Piazza Cavour, 3"), QStringLiteral("40124"),
           QStringLiteral("Bologna"), QStringLiteral("IT02L1234512345123456789012"), QStringLiteral("0000000000001107"),
           QStringLiteral("Attività extrascolastiche: più uscite didattiche"), 1250}}},
        {QStringLiteral("RCUR"), QStringLiteral("2024-04-05"),
         {{QStringLiteral("Bianchi Luca"), QStringLiteral("Via Indipendenza, 40"), QStringLiteral("40121"),
           QStringLiteral("Bologna"), QStringLiteral("IT40S0542811101000000123457"), QStringLiteral("0000000000000988"),
           QStringLiteral("Contributo volontario"), 1234}}},
    };
}

void fillAsExport(TXMLCBISDDReqLogMsg000100 *msg, const QList<PaymentGroup> &groups)
{
    const QString seatName = QStringLiteral(
        "Istituto Comprensivo Statale \"Giosuè Carducci\" di Sant’Agata Bolognese - Scuola dell’infanzia");
    const QString seatStreet = QStringLiteral("Via della Libertà, 1");
    const QString seatPostcode = QStringLiteral("40019");
    const QString seatTown = QStringLiteral("Sant’Agata Bolognese");
    const QString seatFiscalCode = QStringLiteral("91234560371");
    const QString cuc = QStringLiteral("0123456A");
    const QString creditorId = QStringLiteral("IT66ZZZ0000091234560371");
    const QString abi = QStringLiteral("01030");
    const QString creditorIban = QStringLiteral("IT") + QStringLiteral("02") + QStringLiteral("L") + abi
        + QStringLiteral("03200") + QStringLiteral("1234").rightJustified(12, QLatin1Char('0'));
    const QDateTime created(QDate(2024, 2, 20), QTime(9, 5, 7));

    int count = 0;
    qint64 total = 0;
    for (const PaymentGroup &g : groups) {
        count += int(g.dispositions.size());
        for (const Disposition &d : g.dispositions)
            total += d.cents;
    }

    TXMLCBIGroupHeader2 *hdr = msg->GrpHdr();
    hdr->SetMsgId(QStringLiteral("SDD") + created.toString(QStringLiteral("yyyyMMddHHmmss")));
    hdr->SetCreDtTm(created.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")));
    hdr->SetNbOfTxs(QString::number(count));
    hdr->SetCtrlSum(SddAmountText(total));
    hdr->InitgPty()->SetNm(seatName.left(70));
    TXMLCBIGenericIdentification1 *initiator = hdr->InitgPty()->Id()->OrgId()->Add();
    initiator->SetId(cuc);
    initiator->SetIssr(QStringLiteral("CBI"));

    int block = 0;
    int transaction = 0;
    for (const PaymentGroup &g : groups) {
        if (g.dispositions.isEmpty())
            continue;
        TXMLPaymentInstructionInformation2 *pmt = msg->PmtInf()->Add();
        pmt->SetPmtInfId(QString::number(++block));
        pmt->SetPmtMtd(QStringLiteral("DD"));
        pmt->SetBtchBookg(QStringLiteral("false"));
        pmt->PmtTpInf()->SvcLvl()->SetCd(QStringLiteral("SEPA"));
        pmt->PmtTpInf()->LclInstrm()->SetCd(QStringLiteral("CORE"));
        pmt->PmtTpInf()->SetSeqTp(g.sequenceType);
        pmt->SetReqdColltnDt(g.dueDate);
        pmt->Cdtr()->SetNm(seatName.left(70));
        pmt->Cdtr()->PstlAdr()->SetPstCd(seatPostcode);
        pmt->Cdtr()->PstlAdr()->SetTwnNm(seatTown);
        pmt->Cdtr()->PstlAdr()->SetCtry(QStringLiteral("IT"));
        pmt->Cdtr()->PstlAdr()->AdrLine()->Add(seatStreet);
        pmt->Cdtr()->PstlAdr()->AdrLine()->Add(seatPostcode + QStringLiteral(" - ") + seatTown);
        pmt->Cdtr()->Id()->PrvtId()->Othr()->SetId(seatFiscalCode);
        pmt->Cdtr()->Id()->PrvtId()->Othr()->SetIssr(QStringLiteral("ADE"));
        pmt->CdtrAcct()->Id()->SetIBAN(creditorIban);
        pmt->CdtrAgt()->FinInstnId()->ClrSysMmbId()->SetMmbId(abi);
        pmt->CdtrSchmeId()->SetNm(seatName.left(70));
        pmt->CdtrSchmeId()->Id()->PrvtId()->Othr()->SetId(creditorId);

        for (const Disposition &d : g.dispositions) {
            TXMLDirectDebitTransactionInformation1 *tx = pmt->DrctDbtTxInf()->Add();
            tx->PmtId()->SetInstrId(QString::number(++transaction));
            tx->PmtId()->SetEndToEndId(QString::number(transaction));
            tx->SetInstdAmtCcy(QStringLiteral("EUR"));
            tx->SetInstdAmt(SddAmountText(d.cents));
            tx->DrctDbtTx()->MndtRltdInf()->SetMndtId(d.pupilCode);
            tx->DrctDbtTx()->MndtRltdInf()->SetDtOfSgntr(QStringLiteral("2012-02-01"));
            tx->Dbtr()->SetNm(d.holder);
            // An address part without a value is left out, and so is the
            // whole address when the family has none.
            if (!d.street.isEmpty() || !d.postcode.isEmpty() || !d.town.isEmpty()) {
                TXMLCBIPostalAddress6 *address = tx->Dbtr()->PstlAdr();
                if (!d.postcode.isEmpty())
                    address->SetPstCd(d.postcode);
                if (!d.town.isEmpty())
                    address->SetTwnNm(d.town);
                address->SetCtry(QStringLiteral("IT"));
                if (!d.street.isEmpty())
                    address->AdrLine()->Add(d.street);
                if (!d.postcode.isEmpty() && !d.town.isEmpty())
                    address->AdrLine()->Add(d.postcode + QStringLiteral(" - ") + d.town);
                else if (!d.postcode.isEmpty() || !d.town.isEmpty())
                    address->AdrLine()->Add(d.postcode + d.town);
            }
            tx->DbtrAcct()->Id()->SetIBAN(d.iban);
            tx->RmtInf()->Ustrd()->Add(d.reason);
        }
    }
}

} // namespace sddtest

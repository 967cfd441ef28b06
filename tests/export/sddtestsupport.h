// Shared helpers of the SDD message tests: schema validation with libxml2,
// reading documents back, and a message filled the way the bank export
// fills it.
#pragma once

#include "ebdUSddText.h"
#include "ebdUXmlSDD.h"

#include <QByteArray>
#include <QDomElement>
#include <QString>
#include <QStringList>

namespace sddtest {

// The model schema, the source file of the one built into vardella_export:
// the model's elements in order, with their content types.
QString modelSchemaPath();
// The CBI schema file when it is at hand (/work/shared/cbi or shared/cbi
// beside the repository), otherwise the model schema.
QString cbiSchemaPath();
bool usingCbiSchema();

// Validates a document; returns the empty string when it is valid,
// otherwise the validator's messages.
QString validationErrors(const QByteArray &xml, const QString &schemaPath);

QByteArray readFile(const QString &fileName);
bool writeFile(const QString &fileName, const QByteArray &bytes);

// Parses with namespace processing; fails the current test on a parse error.
QDomElement documentElement(const QByteArray &xml);
// Local names of the element children of e, in document order.
QStringList childNames(const QDomElement &e);
// The element at a slash-separated path of local names below e (first match
// at each step).
QDomElement at(const QDomElement &e, const QString &path);
// All element children of e with this local name.
QList<QDomElement> childrenNamed(const QDomElement &e, const QString &name);
// Every element in the document, root included.
int elementCount(const QDomElement &root);
// Every element without the message namespace.
QStringList elementsOutsideNamespace(const QDomElement &root);

// The seat, creditor and dispositions used by fillAsExport.
struct Disposition
{
    QString holder, street, postcode, town, iban, pupilCode, reason;
    qint64 cents;
};
struct PaymentGroup
{
    QString sequenceType, dueDate;
    QList<Disposition> dispositions;
};
QList<PaymentGroup> exportSample();

// Fills the message as the bank export does: the group header, then one
// PmtInf per group and one DrctDbtTxInf per disposition, each element in the
// order and with the values the export writes.
void fillAsExport(TXMLCBISDDReqLogMsg000100 *msg, const QList<PaymentGroup> &groups);

} // namespace sddtest

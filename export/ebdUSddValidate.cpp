#include "ebdUSddValidate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlschemas.h>

#include <memory>
#include <mutex>

namespace {

// Collects libxml2's messages for one validation. While it lives it is also
// the thread's generic and structured handler, so that what libxml2 reports
// outside the contexts (a file it cannot open, say) is collected too and
// never reaches stderr.
class MessageCollector
{
public:
    explicit MessageCollector(int maxMessages)
        : m_max(maxMessages)
        , m_oldGeneric(xmlGenericError)
        , m_oldGenericContext(xmlGenericErrorContext)
        , m_oldStructured(xmlStructuredError)
        , m_oldStructuredContext(xmlStructuredErrorContext)
    {
        xmlSetGenericErrorFunc(this, &MessageCollector::generic);
        xmlSetStructuredErrorFunc(this, &MessageCollector::structured);
    }

    ~MessageCollector()
    {
        xmlSetGenericErrorFunc(m_oldGenericContext, m_oldGeneric);
        xmlSetStructuredErrorFunc(m_oldStructuredContext, m_oldStructured);
    }

    MessageCollector(const MessageCollector &) = delete;
    MessageCollector &operator=(const MessageCollector &) = delete;

    static void structured(void *context, xmlErrorPtr error)
    {
        static_cast<MessageCollector *>(context)->add(error);
    }

    // The generic handler gets printf-style pieces; they are only kept as
    // a last resort, when no structured message came.
    static void generic(void *context, const char *, ...)
    {
        static_cast<MessageCollector *>(context)->m_genericSeen = true;
    }

    void add(const xmlError *error)
    {
        if (!error || error->level == XML_ERR_WARNING)
            return;
        ++m_count;
        if (full())
            return;
        QString text = QString::fromUtf8(error->message ? error->message : "errore sconosciuto").trimmed();
        if (error->line > 0)
            text = QStringLiteral("Riga %1: %2").arg(error->line).arg(text);
        m_messages << text;
    }

    void add(const QString &text)
    {
        ++m_count;
        if (!full())
            m_messages << text;
    }

    bool full() const { return m_max > 0 && m_messages.size() >= m_max; }
    bool any() const { return m_count > 0; }
    bool genericSeen() const { return m_genericSeen; }
    const QStringList &messages() const { return m_messages; }

private:
    int m_max;
    int m_count = 0;
    bool m_genericSeen = false;
    QStringList m_messages;
    xmlGenericErrorFunc m_oldGeneric;
    void *m_oldGenericContext;
    xmlStructuredErrorFunc m_oldStructured;
    void *m_oldStructuredContext;
};

struct SchemaDeleter
{
    void operator()(xmlSchemaPtr schema) const { xmlSchemaFree(schema); }
};
using SchemaPtr = std::unique_ptr<xmlSchema, SchemaDeleter>;

SchemaPtr parseSchema(xmlSchemaParserCtxtPtr parser, MessageCollector &collector)
{
    if (!parser)
        return nullptr;
    xmlSchemaSetParserStructuredErrors(parser, &MessageCollector::structured, &collector);
    SchemaPtr schema(xmlSchemaParse(parser));
    xmlSchemaFreeParserCtxt(parser);
    return schema;
}

QByteArray modelSchemaText()
{
    QFile file(CBISDDReqLogMsgModelSchema());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The built-in schema, parsed once and shared: a parsed schema is only read
// while validating, each validation has its own context.
xmlSchemaPtr modelSchema(MessageCollector &collector)
{
    static std::once_flag once;
    static SchemaPtr schema;
    static QStringList problems;
    std::call_once(once, [&] {
        xmlInitParser();
        const QByteArray text = modelSchemaText();
        MessageCollector own(0);
        if (text.isEmpty())
            own.add(QStringLiteral("Schema del messaggio SDD non trovato nelle risorse (%1)").arg(CBISDDReqLogMsgModelSchema()));
        else
            schema = parseSchema(xmlSchemaNewMemParserCtxt(text.constData(), int(text.size())), own);
        problems = own.messages();
    });
    for (const QString &problem : std::as_const(problems))
        collector.add(problem);
    if (!schema && problems.isEmpty())
        collector.add(QStringLiteral("Schema del messaggio SDD non caricato"));
    return schema.get();
}

SchemaPtr fileSchema(const QString &schemaFile, MessageCollector &collector)
{
    const QString native = QDir::toNativeSeparators(schemaFile);
    if (!QFileInfo(schemaFile).isFile()) {
        collector.add(QStringLiteral("Schema \"%1\" non trovato").arg(native));
        return nullptr;
    }
    xmlInitParser();
    SchemaPtr schema = parseSchema(xmlSchemaNewParserCtxt(QFile::encodeName(schemaFile).constData()), collector);
    if (!schema && !collector.any())
        collector.add(QStringLiteral("Schema \"%1\" non caricato").arg(native));
    return schema;
}

// Reads the whole document through the reader with the schema plugged in.
void validate(xmlTextReaderPtr reader, xmlSchemaPtr schema, MessageCollector &collector)
{
    if (!reader) {
        collector.add(QStringLiteral("Impossibile leggere il messaggio"));
        return;
    }
    xmlTextReaderSetStructuredErrorHandler(reader, &MessageCollector::structured, &collector);
    xmlSchemaValidCtxtPtr context = xmlSchemaNewValidCtxt(schema);
    xmlSchemaSetValidStructuredErrors(context, &MessageCollector::structured, &collector);
    int rc = xmlTextReaderSchemaValidateCtxt(reader, context, 0);
    if (rc == 0) {
        while ((rc = xmlTextReaderRead(reader)) == 1) {
            // Enough said: the rest of the document is not read.
            if (collector.full())
                break;
        }
        if (rc == 0 && xmlTextReaderIsValid(reader) != 1 && !collector.any())
            collector.add(QStringLiteral("Messaggio non valido"));
    }
    if (rc < 0 && !collector.any())
        collector.add(collector.genericSeen() ? QStringLiteral("Messaggio non leggibile")
                                              : QStringLiteral("Messaggio non ben formato"));
    xmlFreeTextReader(reader);
    xmlSchemaFreeValidCtxt(context);
}

template <class OpenReader>
QStringList run(const QString &schemaFile, int maxMessages, OpenReader openReader)
{
    MessageCollector collector(maxMessages);
    SchemaPtr own;
    xmlSchemaPtr schema = nullptr;
    if (schemaFile.isEmpty()) {
        schema = modelSchema(collector);
    } else {
        own = fileSchema(schemaFile, collector);
        schema = own.get();
    }
    if (schema)
        validate(openReader(), schema, collector);
    return collector.messages();
}

constexpr int kReaderOptions = XML_PARSE_NONET;

} // namespace

QString CBISDDReqLogMsgModelSchema()
{
    return QStringLiteral(":/export/CBISDDReqLogMsg.model.xsd");
}

QStringList ValidateCBISDDReqLogMsg(const QByteArray &xml, const QString &schemaFile, int maxMessages)
{
    return run(schemaFile, maxMessages, [&xml] {
        return xmlReaderForMemory(xml.constData(), int(xml.size()), "messaggio.xml", nullptr, kReaderOptions);
    });
}

QStringList ValidateCBISDDReqLogMsgFile(const QString &fileName, const QString &schemaFile, int maxMessages)
{
    if (!QFileInfo(fileName).isFile())
        return {QStringLiteral("File \"%1\" non trovato").arg(QDir::toNativeSeparators(fileName))};
    return run(schemaFile, maxMessages, [&fileName] {
        return xmlReaderForFile(QFile::encodeName(fileName).constData(), nullptr, kReaderOptions);
    });
}

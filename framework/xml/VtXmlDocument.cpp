#include "VtXmlDocument.h"

#include "VtXmlNode.h"

#include <QDir>
#include <QSaveFile>

#include <cstring>

namespace {

// Writes the tree as QXmlStreamWriter does with auto-formatting, straight
// to UTF-8 in a buffer that is handed on in pieces.
//
// The writer's rules, which the text keeps: a start tag goes on a new,
// indented line unless text was written just before it in the same
// element; an element with nothing inside is closed with "/>"; an end tag
// goes on a new line unless the element's last content was text or it has
// no content but its text. Text and attribute values escape < > & and ",
// attribute values also tab, line feed and carriage return; control
// characters other than those, U+FFFE and U+FFFF are left out. A piece of
// text (a name, a value, a text) holding half of a surrogate pair cannot be
// encoded: it is left out, and so is every later piece of text, while the
// markup around them is still written.
class Writer
{
public:
    static constexpr qsizetype kPiece = 64 * 1024;

    Writer(int indent, const TVtXMLTextSink *sink)
        : m_indent(qAbs(indent), indent >= 0 ? ' ' : '\t')
        , m_autoFormatting(indent > 0)
        , m_sink(sink)
    {
        reserve(kPiece + 4096);
    }

    QByteArray take()
    {
        m_out.resize(m_used);
        m_used = 0;
        m_buffer = nullptr;
        return std::move(m_out);
    }

    void raw(const char *text, qsizetype size)
    {
        reserve(size);
        std::memcpy(m_buffer + m_used, text, size_t(size));
        m_used += size;
    }
    template <qsizetype N>
    void raw(const char (&text)[N]) { raw(text, N - 1); }

    // A name or other text written as it is.
    void text(const QString &s) { encode(s, false, false); }
    void escaped(const QString &s, bool attribute) { encode(s, true, attribute); }

    bool element(const TVtXMLNode &node, const QString &inScopeDefault)
    {
        startElement(node.NodeName());
        if (node.NamespaceURI() != inScopeDefault)
            attribute(QStringLiteral("xmlns"), node.NamespaceURI());
        for (const auto &decl : node.NamespaceDeclarations())
            attribute(QStringLiteral("xmlns:") + decl.first, decl.second);
        for (const auto &attr : node.Attributes())
            attribute(attr.first, attr.second);
        if (!node.Text().isEmpty()) {
            finishStartElement(true);
            escaped(node.Text(), false);
        }
        for (int i = 0; i < node.ChildCount(); ++i)
            if (!element(*node.ChildAt(i), node.NamespaceURI()))
                return false;
        endElement(node.NodeName());
        return flushIfFull();
    }

    void endDocument() { raw("\n"); }

    bool flush()
    {
        if (!m_sink || m_used == 0)
            return true;
        const bool ok = (*m_sink)(m_buffer, m_used);
        m_used = 0;
        return ok;
    }

private:
    bool flushIfFull() { return m_used < kPiece || flush(); }

    // Room for size more bytes; m_out's size is the room, m_used what holds
    // text.
    void reserve(qsizetype size)
    {
        if (m_used + size <= m_out.size())
            return;
        m_out.resize(qMax(m_used + size, 2 * m_out.size()));
        m_buffer = m_out.data();
    }

    void startElement(const QString &name)
    {
        if (!finishStartElement(false) && m_autoFormatting)
            indent(m_depth);
        ++m_depth;
        raw("<");
        text(name);
        m_inStartElement = true;
        m_lastWasStartElement = true;
    }

    void attribute(const QString &name, const QString &value)
    {
        raw(" ");
        text(name);
        raw("=\"");
        escaped(value, true);
        raw("\"");
    }

    void endElement(const QString &name)
    {
        if (m_inStartElement) {
            raw("/>");
            m_inStartElement = m_lastWasStartElement = false;
            --m_depth;
            return;
        }
        if (!finishStartElement(false) && !m_lastWasStartElement && m_autoFormatting)
            indent(m_depth - 1);
        m_lastWasStartElement = false;
        --m_depth;
        raw("</");
        text(name);
        raw(">");
    }

    bool finishStartElement(bool contents)
    {
        const bool hadSomethingWritten = m_wroteSomething;
        m_wroteSomething = contents;
        if (m_inStartElement) {
            raw(">");
            m_inStartElement = false;
        }
        return hadSomethingWritten;
    }

    void indent(int level)
    {
        raw("\n");
        for (int i = level; i > 0; --i)
            raw(m_indent.constData(), m_indent.size());
    }

    void encode(const QString &s, bool escape, bool attribute)
    {
        if (m_broken || s.isEmpty())
            return;
        // At most 6 bytes ("&quot;") for each UTF-16 unit.
        reserve(6 * s.size());
        char *out = m_buffer + m_used;
        const char16_t *p = reinterpret_cast<const char16_t *>(s.constData());
        const char16_t *const end = p + s.size();
        char16_t high = 0;
        bool ok = true;
        for (; p != end; ++p) {
            const char16_t c = *p;
            if (c < 0x80) {
                // Left out before encoding: not writable in XML.
                if (escape && c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                    continue;
                if (high) {
                    ok = false;
                    break;
                }
                if (escape) {
                    const char *entity = nullptr;
                    switch (c) {
                    case '<': entity = "&lt;"; break;
                    case '>': entity = "&gt;"; break;
                    case '&': entity = "&amp;"; break;
                    case '"': entity = "&quot;"; break;
                    case '\t': entity = attribute ? "&#9;" : nullptr; break;
                    case '\n': entity = attribute ? "&#10;" : nullptr; break;
                    case '\r': entity = attribute ? "&#13;" : nullptr; break;
                    default: break;
                    }
                    if (entity) {
                        const size_t n = std::strlen(entity);
                        std::memcpy(out, entity, n);
                        out += n;
                        continue;
                    }
                }
                *out++ = char(c);
            } else if (c < 0x800) {
                if (high) {
                    ok = false;
                    break;
                }
                *out++ = char(0xC0 | (c >> 6));
                *out++ = char(0x80 | (c & 0x3F));
            } else if (c >= 0xD800 && c <= 0xDBFF) {
                if (high) {
                    ok = false;
                    break;
                }
                high = c;
            } else if (c >= 0xDC00 && c <= 0xDFFF) {
                if (!high) {
                    ok = false;
                    break;
                }
                const char32_t u = 0x10000 + ((char32_t(high) - 0xD800) << 10) + (c - 0xDC00);
                high = 0;
                *out++ = char(0xF0 | (u >> 18));
                *out++ = char(0x80 | ((u >> 12) & 0x3F));
                *out++ = char(0x80 | ((u >> 6) & 0x3F));
                *out++ = char(0x80 | (u & 0x3F));
            } else {
                if (escape && c >= 0xFFFE)
                    continue; // not writable in XML: left out
                if (high) {
                    ok = false;
                    break;
                }
                *out++ = char(0xE0 | (c >> 12));
                *out++ = char(0x80 | ((c >> 6) & 0x3F));
                *out++ = char(0x80 | (c & 0x3F));
            }
        }
        if (!ok || high) {
            m_broken = true;
            return;
        }
        m_used = out - m_buffer;
    }

    QByteArray m_out;
    char *m_buffer = nullptr;
    qsizetype m_used = 0;
    const QByteArray m_indent;
    const bool m_autoFormatting;
    const TVtXMLTextSink *m_sink;
    int m_depth = 0;
    bool m_inStartElement = false;
    bool m_wroteSomething = false;
    bool m_lastWasStartElement = false;
    bool m_broken = false;
};

} // namespace

TVtXMLDocument::TVtXMLDocument(TVtXMLNode *documentElement)
    : m_root(documentElement)
{
}

namespace {

bool writeDocument(const TVtXMLDocument &doc, Writer &w)
{
    // The declaration is written as it is, outside the writer's encoding.
    const QByteArray declaration = "<?xml version=\"" + doc.Version().toUtf8() + "\" encoding=\""
        + doc.Encoding().toUtf8() + "\"?>";
    w.raw(declaration.constData(), declaration.size());
    if (doc.DocumentElement() && !w.element(*doc.DocumentElement(), QString()))
        return false;
    w.endDocument();
    return w.flush();
}

} // namespace

QByteArray TVtXMLDocument::XML() const
{
    Writer w(m_indent, nullptr);
    writeDocument(*this, w);
    return w.take();
}

bool TVtXMLDocument::Write(const TVtXMLTextSink &sink) const
{
    Writer w(m_indent, &sink);
    return writeDocument(*this, w);
}

bool TVtXMLDocument::SaveToFile(const QString &fileName, QString *errorText) const
{
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly)
        && Write([&file](const char *data, qsizetype size) { return file.write(data, size) == size; })
        && file.commit())
        return true;
    if (errorText) {
        *errorText = QStringLiteral("Impossibile scrivere il file \"%1\": %2")
                         .arg(QDir::toNativeSeparators(fileName), file.errorString());
    }
    return false;
}

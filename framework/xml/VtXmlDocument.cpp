#include "VtXmlDocument.h"

#include "VtXmlNode.h"

#include <QBuffer>
#include <QDir>
#include <QSaveFile>
#include <QXmlStreamWriter>

namespace {

void writeElement(QXmlStreamWriter &w, const TVtXMLNode &node, const QString &inScopeDefault)
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
        writeElement(w, *node.ChildAt(i), node.NamespaceURI());
    w.writeEndElement();
}

} // namespace

TVtXMLDocument::TVtXMLDocument(TVtXMLNode *documentElement)
    : m_root(documentElement)
{
}

QByteArray TVtXMLDocument::XML() const
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    // The stream writer always produces UTF-8; the declaration names the
    // encoding as the document was told to.
    buffer.write("<?xml version=\"" + m_version.toUtf8() + "\" encoding=\"" + m_encoding.toUtf8() + "\"?>");
    QXmlStreamWriter w(&buffer);
    w.setAutoFormatting(m_indent > 0);
    w.setAutoFormattingIndent(m_indent);
    if (m_root)
        writeElement(w, *m_root, QString());
    w.writeEndDocument();
    return out;
}

bool TVtXMLDocument::SaveToFile(const QString &fileName, QString *errorText) const
{
    QSaveFile file(fileName);
    const QByteArray text = XML();
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    if (errorText) {
        *errorText = QStringLiteral("Impossibile scrivere il file \"%1\": %2")
                         .arg(QDir::toNativeSeparators(fileName), file.errorString());
    }
    return false;
}

// The document of the XML layer: the declaration, the document element and
// the serialisation of the tree to UTF-8 text and to a file.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class TVtXMLNode;

// Receives the text of a document in consecutive pieces; returning false
// stops the writing.
using TVtXMLTextSink = std::function<bool(const char *data, qsizetype size)>;

class TVtXMLDocument
{
public:
    // The document does not own its document element: a typed root node
    // owns its document, so handing out the root keeps both alive.
    explicit TVtXMLDocument(TVtXMLNode *documentElement);

    TVtXMLDocument(const TVtXMLDocument &) = delete;
    TVtXMLDocument &operator=(const TVtXMLDocument &) = delete;

    TVtXMLNode *DocumentElement() const { return m_root; }

    const QString &Version() const { return m_version; }
    void SetVersion(const QString &version) { m_version = version; }
    // The encoding named in the declaration; the text is always UTF-8.
    const QString &Encoding() const { return m_encoding; }
    void SetEncoding(const QString &encoding) { m_encoding = encoding; }
    // Spaces per nesting level; 0 writes the document on one line.
    int Indentation() const { return m_indent; }
    void SetIndentation(int spaces) { m_indent = spaces; }

    // The whole document as UTF-8 text: declaration, then the elements
    // (attributes before text, children in the order they are kept).
    // The text is the one QXmlStreamWriter writes with auto-formatting at
    // this indentation, byte for byte, characters it cannot write included.
    QByteArray XML() const;

    // Hands the text of XML() to sink in pieces of some tens of kilobytes,
    // without ever holding all of it; false when sink stopped it.
    bool Write(const TVtXMLTextSink &sink) const;

    // Writes XML() to the file. The file is replaced only once the new text
    // is completely written: on failure an existing file is left as it was.
    bool SaveToFile(const QString &fileName, QString *errorText = nullptr) const;

private:
    TVtXMLNode *m_root;
    QString m_version = QStringLiteral("1.0");
    QString m_encoding = QStringLiteral("UTF-8");
    int m_indent = 2;
};

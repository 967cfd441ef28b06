#include "EbdUTracciatiBanche.h"

#include "VtException.h"
#include "VtPaths.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Calls element for each element of the given name, with its attributes.
void ReadElements(const QString &fileName, const QString &name,
                  const std::function<void(const QXmlStreamAttributes &)> &element)
{
    const QString path = QDir(ExportBancheDir()).filePath(fileName);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EVtException(u"File %1 non trovato."_s.arg(QDir::toNativeSeparators(path)));
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == name)
            element(xml.attributes());
    }
    if (xml.hasError())
        throw EVtException(u"File %1 non valido (riga %2): %3"_s.arg(QDir::toNativeSeparators(path))
                               .arg(xml.lineNumber())
                               .arg(xml.errorString()));
}

} // namespace

QString ExportBancheDir()
{
    return QDir(VtPaths::EtcDir()).filePath(u"Ebd/exp_banche"_s);
}

QList<TBancaTracciato> LoadBankList()
{
    QList<TBancaTracciato> banks;
    ReadElements(u"Tracciati.xml"_s, u"Tracciato"_s, [&banks](const QXmlStreamAttributes &a) {
        banks.append({a.value(u"Banca"_s).toString(), a.value(u"ABI"_s).toString(), a.value(u"CodTracciato"_s).toString()});
    });
    return banks;
}

QList<TCampoTracciato> LoadBankLayout(const QString &codTracciato)
{
    QList<TCampoTracciato> fields;
    ReadElements(codTracciato + u".Xml"_s, u"Campo"_s, [&fields](const QXmlStreamAttributes &a) {
        fields.append({a.value(u"Ord"_s).toInt(), a.value(u"Record"_s).toString(), a.value(u"PosTipoRecord"_s).toString(),
                       a.value(u"Pos"_s).toString(), a.value(u"FieldName"_s).toString()});
    });
    std::stable_sort(fields.begin(), fields.end(), [](const auto &x, const auto &y) { return x.Ord < y.Ord; });
    return fields;
}

QList<TCampoIntestazione> LoadHeaderFields(const QString &codTracciato)
{
    QList<TCampoIntestazione> fields;
    ReadElements(codTracciato + u"_X.Xml"_s, u"Campo"_s, [&fields](const QXmlStreamAttributes &a) {
        fields.append({a.value(u"FieldName"_s).toString(), a.value(u"ColType"_s).toString()});
    });
    return fields;
}

#include "VtCsv.h"

#include <QDate>
#include <QDateTime>
#include <QSaveFile>

namespace {
QString Quoted(QString text)
{
    if (text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))
        || text.contains(QLatin1Char('\r')))
        text = QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return text;
}
}

QString VtCsvField(const QVariant &value, QMetaType::Type type, int decimals)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (type) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'f', qMax(0, decimals)).replace(QLatin1Char('.'), QLatin1Char(','));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm"));
    default:
        return Quoted(value.toString());
    }
}

QByteArray VtCsvDocument(const QList<TVtCsvColumn> &columns, const QList<QVariantList> &rows)
{
    QByteArray bytes("\xEF\xBB\xBF");
    QStringList header;
    for (const TVtCsvColumn &c : columns)
        header << Quoted(c.Title);
    bytes += header.join(QLatin1Char(';')).toUtf8() + "\r\n";
    for (const QVariantList &row : rows) {
        QStringList fields;
        for (int i = 0; i < row.size(); ++i) {
            const TVtCsvColumn c = i < columns.size() ? columns[i] : TVtCsvColumn();
            fields << VtCsvField(row[i], c.Type, c.Decimals);
        }
        bytes += fields.join(QLatin1Char(';')).toUtf8() + "\r\n";
    }
    return bytes;
}

int VtFormatDecimals(const QString &format)
{
    const int dot = format.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return -1;
    int n = 0;
    for (int i = dot + 1; i < format.size() && (format[i] == QLatin1Char('0') || format[i] == QLatin1Char('#')); ++i)
        ++n;
    return n;
}

bool VtSaveFileAtomically(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

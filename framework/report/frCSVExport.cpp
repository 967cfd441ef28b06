#include "frCSVExport.h"
#include "frPreparedReport.h"

#include <QDate>
#include <QDateTime>
#include <QSaveFile>

namespace {
QString Field(const QVariant &v, QMetaType::Type type)
{
    if (!v.isValid() || v.isNull())
        return QString();
    QString text;
    switch (type) {
    case QMetaType::Double:
    case QMetaType::Float:
        text = QString::number(v.toDouble(), 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
        break;
    case QMetaType::QDate:
        text = v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
        break;
    case QMetaType::QDateTime:
        text = v.toDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm"));
        break;
    default:
        text = v.toString();
    }
    if (text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))
        || text.contains(QLatin1Char('\r')))
        text = QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return text;
}
}

int TfrCSVExport::DeepestTable(const TfrPreparedReport &report)
{
    int best = -1;
    for (int i = 0; i < report.Tables.size(); ++i)
        if (best < 0 || report.Tables[i].Depth > report.Tables[best].Depth)
            best = i;
    return best;
}

QByteArray TfrCSVExport::Bytes(const TfrPreparedReport &report, int table)
{
    QByteArray bytes("\xEF\xBB\xBF");
    if (table < 0 || table >= report.Tables.size())
        return bytes;
    const TfrPreparedReport::TTable &t = report.Tables[table];
    QStringList header;
    for (const QString &h : t.Headers)
        header << Field(h, QMetaType::QString);
    bytes += header.join(QLatin1Char(';')).toUtf8() + "\r\n";
    for (const QVariantList &row : t.Rows) {
        QStringList fields;
        for (int i = 0; i < row.size(); ++i)
            fields << Field(row[i], i < t.Types.size() ? t.Types[i] : QMetaType::QString);
        bytes += fields.join(QLatin1Char(';')).toUtf8() + "\r\n";
    }
    return bytes;
}

bool TfrCSVExport::Export(const TfrPreparedReport &report, const QString &fileName)
{
    ErrorText.clear();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        ErrorText = WriteError(fileName, file.errorString());
        return false;
    }
    file.write(Bytes(report, Table < 0 ? DeepestTable(report) : Table));
    if (!file.commit()) {
        ErrorText = WriteError(fileName, file.errorString());
        return false;
    }
    return true;
}

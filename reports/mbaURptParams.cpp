#include "mbaURptParams.h"

#include <QDate>
#include <QDateTime>

namespace {
bool AsNumber(const QVariant &v, double &out)
{
    if (!v.isValid() || v.isNull())
        return false;
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::LongLong: case QMetaType::UInt: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Short:
        out = v.toDouble();
        return true;
    case QMetaType::QDate: case QMetaType::QDateTime:
        return false;
    default:
        break;
    }
    bool ok = false;
    out = v.toString().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok;
}

bool IsDate(const QVariant &v)
{
    return v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime;
}

QDate AsDate(const QVariant &v)
{
    if (IsDate(v))
        return v.toDate();
    const QString text = v.toString().trimmed();
    for (const char *format : {"yyyy-MM-dd", "dd/MM/yyyy", "d/M/yyyy"}) {
        const QDate d = QDate::fromString(text, QLatin1String(format));
        if (d.isValid())
            return d;
    }
    return QDate();
}
}

QString TRptParam::Text() const
{
    return QStringLiteral("Name: %1 Value: %2;").arg(Name, Value.toString());
}

const TRptParam *TRptParams::FindByName(const QString &name) const
{
    for (const TRptParam &p : m_items)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

QString TRptParams::Text() const
{
    QString text = QStringLiteral("Lista parametri: (%1)").arg(Count());
    for (const TRptParam &p : m_items)
        text += QStringLiteral("\n\r") + p.Text();
    return text;
}

bool TRptParams::SameValue(const QVariant &a, const QVariant &b)
{
    double x = 0, y = 0;
    if (AsNumber(a, x) && AsNumber(b, y))
        return x == y;
    if (IsDate(a) || IsDate(b)) {
        const QDate da = AsDate(a), db = AsDate(b);
        if (da.isValid() && db.isValid())
            return da == db;
    }
    return a.toString() == b.toString();
}

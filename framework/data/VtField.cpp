#include "VtField.h"
#include "VtException.h"
#include "VtMoney.h"
#include "VtQueryCollection.h"

#include <QLocale>
#include <cmath>

TVtField::TVtField(TVtQueryCollection *dataSet, const QString &name, QMetaType::Type type, int size, TVtFieldKind kind)
    : FieldName(name), DataType(type), Size(size), Kind(kind), m_dataSet(dataSet)
{
}

QVariant TVtField::Value() const
{
    return m_dataSet->ActiveValue(Index);
}

QVariant TVtField::OldValue() const
{
    return m_dataSet->OldValue(Index);
}

void TVtField::SetValue(const QVariant &value)
{
    m_dataSet->SetActiveValue(this, value);
}

QVariant TVtField::Coerce(const QVariant &value) const
{
    if (value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty()
                           && DataType != QMetaType::QString && DataType != QMetaType::UnknownType))
        return QVariant();
    if (DataType == QMetaType::UnknownType || value.typeId() == DataType)
        return value;
    QVariant v = value;
    if (DataType == QMetaType::QDate && value.typeId() == QMetaType::QString) {
        QDate d = QDate::fromString(value.toString(), QStringLiteral("dd/MM/yyyy"));
        if (!d.isValid())
            d = QDate::fromString(value.toString(), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    if (DataType == QMetaType::QDate && value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().date();
    if ((DataType == QMetaType::Double || DataType == QMetaType::Int || DataType == QMetaType::LongLong)
        && value.typeId() == QMetaType::QString) {
        bool ok = false;
        double d = QLocale(QLocale::Italian, QLocale::Italy).toDouble(value.toString(), &ok);
        if (!ok)
            d = value.toString().toDouble(&ok);
        if (!ok)
            return QVariant();
        if (DataType == QMetaType::Double)
            return d;
        return DataType == QMetaType::Int ? QVariant(int(std::llround(d))) : QVariant(qlonglong(std::llround(d)));
    }
    if (v.convert(QMetaType(DataType)))
        return v;
    return QVariant();
}

QString TVtField::FormatNumber(double value, const QString &format)
{
    static const QLocale it(QLocale::Italian, QLocale::Italy);
    // After the point, each '0' is a decimal always shown and each '#' one
    // shown only when it is not a trailing zero ("#,###.00##": 2 to 4).
    int decimals = 0, optional = 0;
    const int dot = format.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        decimals = format.size() - dot - 1;
        optional = format.mid(dot + 1).count(QLatin1Char('#'));
    }
    const bool grouping = format.contains(QLatin1Char(','));
    if (optional > 0) {
        QString text = it.toString(value, 'f', decimals);
        if (!grouping)
            text.remove(it.groupSeparator());
        for (int i = 0; i < optional && text.endsWith(QLatin1Char('0')); ++i)
            text.chop(1);
        if (text.endsWith(it.decimalPoint()))
            text.chop(1);
        return text;
    }
    // Currency formats ("#,###.00") round half away from zero to the cent,
    // as the program's amounts do everywhere.
    if (decimals == 2 && std::isfinite(value) && std::fabs(value) < double(TVtMoney::MaxUnits)) {
        const TVtMoney amount(value);
        return grouping ? amount.Format() : amount.FormatPlain();
    }
    QString text = it.toString(value, 'f', decimals);
    if (!grouping)
        text.remove(it.groupSeparator());
    return text;
}

QString TVtField::FormatValue(const QVariant &value, QMetaType::Type type, const QString &format)
{
    if (value.isNull())
        return QString();
    switch (type) {
    case QMetaType::QDate:
        return value.toDate().toString(format.isEmpty() ? QStringLiteral("dd/MM/yyyy") : format);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(format.isEmpty() ? QStringLiteral("dd/MM/yyyy hh:mm") : format);
    case QMetaType::Double:
        if (!format.isEmpty())
            return FormatNumber(value.toDouble(), format);
        return QLocale(QLocale::Italian, QLocale::Italy).toString(value.toDouble(), 'g', 15);
    case QMetaType::Int:
    case QMetaType::LongLong:
        if (!format.isEmpty())
            return FormatNumber(value.toDouble(), format);
        return value.toString();
    default:
        return value.toString();
    }
}

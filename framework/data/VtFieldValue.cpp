#include "VtFieldValue.h"

#include <QRegularExpression>

void TVtFieldValue::Add(const QString &name, const QVariant &value)
{
    const int i = IndexOf(name);
    if (i >= 0) {
        m_values[i] = value;
        return;
    }
    m_names << name;
    m_values << value;
}

int TVtFieldValue::IndexOf(const QString &name) const
{
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant TVtFieldValue::GetValues(const QString &name) const
{
    const int i = IndexOf(name);
    return i >= 0 ? m_values[i] : QVariant();
}

QVariantList TVtFieldValue::GetValByNames(const QString &names) const
{
    QVariantList result;
    const QStringList parts = names.split(QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts);
    for (const QString &n : parts)
        result << GetValues(n.trimmed());
    return result;
}

void TVtFieldValue::Clear()
{
    m_names.clear();
    m_values.clear();
}

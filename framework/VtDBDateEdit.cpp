#include "VtDBDateEdit.h"
#include "VtField.h"

#include <QLineEdit>

TVtDBDateEdit::TVtDBDateEdit(QWidget *parent) : TVtDBEdit(parent)
{
    LineEdit()->setObjectName(QStringLiteral("edData"));
    LineEdit()->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    SetFilter(cfCustom);
    CharFilter = [](QChar c) { return c.isDigit() || c == QLatin1Char('/'); };
    SetMaxLength(10);
}

QDate TVtDBDateEdit::ParseDate(const QString &text, bool *ok)
{
    const QString t = text.trimmed();
    *ok = true;
    if (t.isEmpty())
        return QDate();
    QDate d;
    const QStringList parts = t.split(QLatin1Char('/'));
    if (parts.size() == 3) {
        bool okD, okM, okY;
        const int day = parts[0].toInt(&okD), month = parts[1].toInt(&okM);
        int year = parts[2].toInt(&okY);
        if (okD && okM && okY && (parts[2].size() == 4 || parts[2].size() == 2)) {
            if (parts[2].size() == 2)
                year += year < 50 ? 2000 : 1900;
            d = QDate(year, month, day);
        }
    } else if (parts.size() == 1 && t.size() == 8) {
        d = QDate::fromString(t, QStringLiteral("ddMMyyyy"));
    }
    *ok = d.isValid();
    return d;
}

QDate TVtDBDateEdit::Date() const
{
    bool ok = false;
    const QDate d = ParseDate(Text(), &ok);
    return ok ? d : QDate();
}

void TVtDBDateEdit::SetDate(const QDate &date)
{
    SetText(date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString());
}

bool TVtDBDateEdit::EditorValue(QVariant &value, QString &message) const
{
    bool ok = false;
    const QDate d = ParseDate(Text(), &ok);
    if (!ok) {
        message = QStringLiteral("Data non valida: scrivere la data nella forma gg/mm/aaaa.");
        return false;
    }
    value = d.isValid() ? QVariant(d) : QVariant();
    return true;
}

void TVtDBDateEdit::LoadEditor(const QVariant &value)
{
    LineEdit()->setText(value.isNull() ? QString() : value.toDate().toString(QStringLiteral("dd/MM/yyyy")));
}

void TVtDBDateEdit::FieldBound(TVtField *)
{
}

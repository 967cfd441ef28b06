#include "VtDBNumEdit.h"
#include "VtField.h"

#include <QLineEdit>
#include <QRegularExpression>

TVtDBNumEdit::TVtDBNumEdit(QWidget *parent) : TVtDBEdit(parent)
{
    LineEdit()->setObjectName(QStringLiteral("edNumero"));
    LineEdit()->setAlignment(Qt::AlignRight);
    SetFilter(cfCustom);
    CharFilter = [](QChar c) {
        return c.isDigit() || c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('-');
    };
}

QVariant TVtDBNumEdit::ParseNumber(const QString &text, bool *ok)
{
    QString t = text.trimmed();
    *ok = true;
    if (t.isEmpty())
        return QVariant();
    static const QRegularExpression grouped(QStringLiteral("^-?\\d{1,3}(\\.\\d{3})+(,\\d*)?$"));
    static const QRegularExpression plain(QStringLiteral("^-?\\d*(,\\d*)?$"));
    static const QRegularExpression dotDecimal(QStringLiteral("^-?\\d*\\.\\d*$"));
    if (grouped.match(t).hasMatch())
        t.remove(QLatin1Char('.'));
    else if (dotDecimal.match(t).hasMatch())
        t.replace(QLatin1Char('.'), QLatin1Char(','));
    if (!plain.match(t).hasMatch() || t == QLatin1String("-") || t == QLatin1String(",")) {
        *ok = false;
        return QVariant();
    }
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return t.toDouble(ok);
}

void TVtDBNumEdit::SetNumber(double value)
{
    SetText(QString::number(value, 'f', 10).remove(QRegularExpression(QStringLiteral("\\.?0+$"))).replace(QLatin1Char('.'), QLatin1Char(',')));
}

bool TVtDBNumEdit::EditorValue(QVariant &value, QString &message) const
{
    bool ok = false;
    value = ParseNumber(Text(), &ok);
    if (!ok) {
        message = QStringLiteral("Valore numerico non valido.");
        return false;
    }
    TVtField *f = Field();
    if (f && !value.isNull() && (f->DataType == QMetaType::Int || f->DataType == QMetaType::LongLong)
        && value.toDouble() != double(qint64(value.toDouble()))) {
        message = QStringLiteral("Il valore deve essere un numero intero.");
        return false;
    }
    return true;
}

void TVtDBNumEdit::LoadEditor(const QVariant &value)
{
    TVtField *f = Field();
    if (value.isNull() || !f) {
        LineEdit()->setText(QString());
        return;
    }
    const QString format = DisplayFormat.isEmpty() ? f->DisplayFormat : DisplayFormat;
    LineEdit()->setText(TVtField::FormatValue(value, f->DataType, format));
}

void TVtDBNumEdit::FieldBound(TVtField *)
{
}

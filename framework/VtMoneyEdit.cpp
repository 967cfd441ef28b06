#include "VtMoneyEdit.h"

#include <QFocusEvent>

TVtMoneyEdit::TVtMoneyEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ShowValue();
}

TVtMoney TVtMoneyEdit::Value() const
{
    if (!m_editing)
        return m_value;
    bool ok = false;
    const TVtMoney typed = TVtMoney::Parse(text().trimmed(), &ok);
    return ok ? typed : TVtMoney();
}

void TVtMoneyEdit::SetValue(const TVtMoney &value)
{
    m_value = value;
    if (m_editing)
        setText(EditText(value));
    else
        ShowValue();
}

bool TVtMoneyEdit::TextIsAmount() const
{
    bool ok = false;
    TVtMoney::Parse(text().trimmed(), &ok);
    return ok;
}

QString TVtMoneyEdit::EditText(const TVtMoney &value)
{
    const qint64 magnitude = qAbs(value.Raw());
    const qint64 rest = magnitude % 100;   // the ten-thousandths below the cent
    QString text = TVtMoney::FromRaw(magnitude - rest).FormatPlain();
    if (rest != 0) {
        text += QString::number(rest).rightJustified(2, QLatin1Char('0'));
        if (text.endsWith(QLatin1Char('0')))
            text.chop(1);
    }
    return value.IsNegative() ? QLatin1Char('-') + text : text;
}

void TVtMoneyEdit::focusInEvent(QFocusEvent *event)
{
    m_editing = true;
    setText(EditText(m_value));
    QLineEdit::focusInEvent(event);
    emit Entered();
}

void TVtMoneyEdit::focusOutEvent(QFocusEvent *event)
{
    bool ok = false;
    const TVtMoney typed = TVtMoney::Parse(text().trimmed(), &ok);
    m_value = ok ? typed : TVtMoney();
    m_editing = false;
    ShowValue();
    QLineEdit::focusOutEvent(event);
    emit Left();
}

void TVtMoneyEdit::ShowValue()
{
    setText(m_value.FormatPlain());
}

#include "VtDateEdit.h"
#include "VtDBDateEdit.h"

#include <QFocusEvent>
#include <QRegularExpressionValidator>

TVtDateEdit::TVtDateEdit(QWidget *parent) : QLineEdit(parent)
{
    setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    setMaxLength(10);
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9/]{0,10}")), this));
    // Wide enough for "00/00/0000" and the frame.
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    connect(this, &QLineEdit::textChanged, this, [this] {
        const QDate d = Date();
        if (d != m_last) {
            m_last = d;
            emit DateChanged(d);
        }
    });
}

QDate TVtDateEdit::Date() const
{
    bool ok = false;
    const QDate d = TVtDBDateEdit::ParseDate(text(), &ok);
    return ok ? d : QDate();
}

void TVtDateEdit::SetDate(const QDate &date)
{
    setText(date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString());
}

void TVtDateEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A popup (the context menu) or another window takes the focus without
    // the user leaving the edit.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit Exited();
}

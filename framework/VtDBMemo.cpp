#include "VtDBMemo.h"
#include "VtGuard.h"

#include <QEvent>
#include <QPlainTextEdit>

TVtDBMemo::TVtDBMemo(QWidget *parent) : TVtDBControl(parent)
{
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("meTesto"));
    m_memo->setTabChangesFocus(true);
    m_memo->installEventFilter(this);
    SetEditor(m_memo);
    connect(m_memo, &QPlainTextEdit::textChanged, this, [this] {
        if (!Loading())
            UserEdited();
    });
}

QString TVtDBMemo::Text() const
{
    return m_memo->toPlainText();
}

void TVtDBMemo::SetText(const QString &text)
{
    m_memo->setPlainText(text);
}

bool TVtDBMemo::EditorValue(QVariant &value, QString &message) const
{
    const QString t = m_memo->toPlainText();
    const int limit = MaxLength;
    if (limit > 0 && t.size() > limit) {
        message = QStringLiteral("Il testo non può superare %1 caratteri.").arg(limit);
        return false;
    }
    value = t.isEmpty() ? QVariant() : QVariant(t);
    return true;
}

void TVtDBMemo::LoadEditor(const QVariant &value)
{
    m_memo->setPlainText(value.isNull() ? QString() : value.toString());
}

void TVtDBMemo::ApplyReadOnly(bool readOnly)
{
    m_memo->setReadOnly(readOnly);
}

bool TVtDBMemo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_memo && event->type() == QEvent::FocusOut)
        VtGuard([this] { LeaveControl(); });
    return TVtDBControl::eventFilter(watched, event);
}

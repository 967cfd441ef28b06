#include "VtDBEdit.h"
#include "VtGuard.h"
#include "VtField.h"
#include "VtSQLConnection.h"

#include <QEvent>
#include <QLineEdit>
#include <QValidator>

namespace {
// Applies the control's case and filter to whatever reaches the editor.
class TVtCharValidator : public QValidator
{
public:
    TVtCharValidator(const TVtDBEdit *owner, QObject *parent) : QValidator(parent), m_owner(owner) {}
    State validate(QString &input, int &pos) const override
    {
        const QString before = input.left(pos);
        const QString normalized = m_owner->Normalized(input);
        if (normalized != input) {
            pos = qMin(int(m_owner->Normalized(before).size()), int(normalized.size()));
            input = normalized;
        }
        return Acceptable;
    }

private:
    const TVtDBEdit *m_owner;
};
}

TVtDBEdit::TVtDBEdit(QWidget *parent) : TVtDBControl(parent)
{
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("edTesto"));
    m_edit->setValidator(new TVtCharValidator(this, m_edit));
    m_edit->installEventFilter(this);
    SetEditor(m_edit);
    connect(m_edit, &QLineEdit::textEdited, this, [this] { UserEdited(); });
    connect(m_edit, &QLineEdit::returnPressed, this, [this] { VtGuard([this] { CommitPending(); }); });
}

QString TVtDBEdit::Text() const
{
    return m_edit->text();
}

void TVtDBEdit::SetText(const QString &text)
{
    m_edit->setText(Normalized(text));
    UserEdited();
}

void TVtDBEdit::SetMaxLength(int length)
{
    m_maxLength = length;
    ApplyMaxLength();
}

void TVtDBEdit::SetCharCase(TVtCharCase charCase)
{
    m_charCase = charCase;
}

void TVtDBEdit::SetFilter(TVtCharFilter filter)
{
    m_filter = filter;
}

QString TVtDBEdit::Normalized(const QString &text) const
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        bool ok = true;
        switch (m_filter) {
        case cfAny: break;
        case cfDigits: ok = c.isDigit(); break;
        case cfLetters: ok = c.isLetter(); break;
        case cfLettersDigits: ok = c.isLetterOrNumber(); break;
        case cfCustom: ok = !CharFilter || CharFilter(c); break;
        }
        if (!ok)
            continue;
        if (m_charCase == ecUpperCase)
            c = c.toUpper();
        else if (m_charCase == ecLowerCase)
            c = c.toLower();
        out += c;
    }
    return out;
}

void TVtDBEdit::ApplyMaxLength()
{
    const int len = m_maxLength > 0 ? m_maxLength : m_fieldSize;
    m_edit->setMaxLength(len > 0 ? len : 32767);
}

void TVtDBEdit::FieldBound(TVtField *field)
{
    m_fieldSize = field->DataType == QMetaType::QString ? field->Size : 0;
    ApplyMaxLength();
}

bool TVtDBEdit::EditorValue(QVariant &value, QString &) const
{
    const QString t = m_edit->text();
    value = t.isEmpty() ? QVariant() : QVariant(t);
    return true;
}

void TVtDBEdit::LoadEditor(const QVariant &value)
{
    TVtField *f = Field();
    m_edit->setText(f && !value.isNull() ? TVtField::FormatValue(value, f->DataType, f->DisplayFormat) : QString());
}

void TVtDBEdit::ApplyReadOnly(bool readOnly)
{
    m_edit->setReadOnly(readOnly);
}

bool TVtDBEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::FocusOut)
        VtGuard([this] { LeaveControl(); });
    return TVtDBControl::eventFilter(watched, event);
}

void TVtDBEdit::SetInput(TVtCharCase charCase, TVtCharFilter filter, int maxLength)
{
    SetCharCase(charCase);
    SetFilter(filter);
    if (maxLength > 0)
        SetMaxLength(maxLength);
}

#include "VtDBCheckBox.h"
#include "VtGuard.h"

#include <QCheckBox>

TVtDBCheckBox::TVtDBCheckBox(const QString &caption, QWidget *parent) : TVtDBControl(parent)
{
    m_check = new QCheckBox(caption, this);
    m_check->setObjectName(QStringLiteral("ckValore"));
    SetEditor(m_check);
    connect(m_check, &QCheckBox::clicked, this, [this] { VtGuard([this] { Clicked(); }); });
}

bool TVtDBCheckBox::Checked() const
{
    return m_check->isChecked();
}

void TVtDBCheckBox::SetChecked(bool on)
{
    if (m_check->isChecked() == on || !m_check->isEnabled())
        return;
    m_check->setChecked(on);
    Clicked();
}

void TVtDBCheckBox::Clicked()
{
    if (!UserEdited())
        return;
    if (!CommitPending())
        UpdateFromField();   // a refused value goes back; the message stays at the field
}

bool TVtDBCheckBox::EditorValue(QVariant &value, QString &) const
{
    value = m_check->isChecked() ? ValueChecked : ValueUnchecked;
    return true;
}

void TVtDBCheckBox::LoadEditor(const QVariant &value)
{
    m_check->setChecked(!value.isNull() && value.toString() == ValueChecked.toString());
}

void TVtDBCheckBox::ApplyReadOnly(bool readOnly)
{
    m_check->setEnabled(!readOnly);
}

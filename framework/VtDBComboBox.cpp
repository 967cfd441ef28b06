#include "VtDBComboBox.h"
#include "VtGuard.h"
#include "VtUtils.h"

#include <QComboBox>

TVtDBComboBox::TVtDBComboBox(QWidget *parent) : TVtDBControl(parent)
{
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("cbValore"));
    SetEditor(m_combo);
    connect(m_combo, &QComboBox::activated, this, [this] { VtGuard([this] { Chosen(); }); });
}

void TVtDBComboBox::AddItem(const QString &text, const QVariant &id)
{
    const bool was = m_combo->blockSignals(true);
    m_combo->addItem(text, id);
    m_combo->blockSignals(was);
    UpdateFromField();
}

void TVtDBComboBox::LoadItems(const QString &select)
{
    for (const TVtEnumItem &item : ReadEnumValues(select))
        AddItem(item.Text, item.Id);
}

void TVtDBComboBox::SetItems(const QList<QPair<QString, QVariant>> &items)
{
    const bool was = m_combo->blockSignals(true);
    m_combo->clear();
    for (const auto &i : items)
        m_combo->addItem(i.first, i.second);
    m_combo->blockSignals(was);
    UpdateFromField();
}

void TVtDBComboBox::ClearItems()
{
    m_combo->clear();
}

int TVtDBComboBox::Count() const
{
    return m_combo->count();
}

QVariant TVtDBComboBox::CurrentId() const
{
    return m_combo->currentIndex() < 0 ? QVariant() : m_combo->currentData();
}

int TVtDBComboBox::IndexOfId(const QVariant &id) const
{
    if (id.isNull())
        return -1;
    for (int i = 0; i < m_combo->count(); ++i)
        if (m_combo->itemData(i).toString() == id.toString())
            return i;
    return -1;
}

bool TVtDBComboBox::SelectId(const QVariant &id)
{
    const int i = IndexOfId(id);
    if (i < 0)
        return false;
    SelectIndex(i);
    return true;
}

void TVtDBComboBox::SelectIndex(int index)
{
    if (!m_combo->isEnabled())
        return;
    m_combo->setCurrentIndex(index);
    Chosen();
}

void TVtDBComboBox::Chosen()
{
    if (!UserEdited())
        return;
    if (!CommitPending())
        UpdateFromField();
}

bool TVtDBComboBox::EditorValue(QVariant &value, QString &) const
{
    value = CurrentId();
    return true;
}

void TVtDBComboBox::LoadEditor(const QVariant &value)
{
    m_combo->setCurrentIndex(IndexOfId(value));
}

void TVtDBComboBox::ApplyReadOnly(bool readOnly)
{
    m_combo->setEnabled(!readOnly);
}

#include "EbcUReplaceEditor.h"
#include "EbdUGlobals.h"
#include "VtException.h"
#include "VtParams.h"
#include "VtSQLQuery.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTreeView>

using namespace Qt::StringLiterals;

const QString TEbcReplaceEditor::EmptyItem = u"<Vuoto>"_s;

namespace {
QVariant ZeroIsNull(const QVariant &v)
{
    return v.isNull() || v.toInt() == 0 ? QVariant() : v;
}
}

TEbcReplaceEditor::TEbcReplaceEditor(const TEbcReplaceField &field, bool emptyFirst, QWidget *parent,
                                     const QString &listSelect, const QVariant &listAnsId)
    : QWidget(parent), m_kind(field.Kind())
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    switch (m_kind) {
    case TEbcReplaceField::kEnum:
        MakeList(field, emptyFirst, listSelect, listAnsId);
        break;
    case TEbcReplaceField::kCxEnum:
        MakeGrid(field, emptyFirst);
        break;
    case TEbcReplaceField::kInteger:
        m_editor = m_spin = new QSpinBox(this);
        m_spin->setRange(-999999999, 999999999);
        break;
    case TEbcReplaceField::kDate:
        m_editor = m_date = new QDateEdit(QDate::currentDate(), this);
        m_date->setDisplayFormat(u"dd/MM/yyyy"_s);
        m_date->setCalendarPopup(true);
        break;
    case TEbcReplaceField::kBoolean:
        m_editor = m_check = new QCheckBox(this);
        break;
    default:
        m_editor = m_line = new QLineEdit(this);
        break;
    }
    m_editor->setMinimumWidth(m_check ? 0 : 320);
    layout->addWidget(m_editor);
    layout->addStretch();
    setFocusProxy(m_editor);
}

void TEbcReplaceEditor::MakeList(const TEbcReplaceField &field, bool emptyFirst, const QString &select,
                                 const QVariant &ansId)
{
    m_editor = m_combo = new QComboBox(this);
    TVtParams params;
    if (!select.isEmpty())
        params.CreateParam(QMetaType::Int, u"iAnsId"_s)->SetValue(ansId);
    LoadEnumFromQuery(m_combo, select.isEmpty() ? field.ValuesQuery : select, &params);
    if (emptyFirst)
        m_combo->insertItem(0, EmptyItem, 0);
    m_combo->setCurrentIndex(emptyFirst ? 0 : -1);
}

// The rows of the field's select in a grid that drops down; the key and the
// shown column by name.
void TEbcReplaceEditor::MakeGrid(const TEbcReplaceField &field, bool emptyFirst)
{
    m_editor = m_combo = new QComboBox(this);
    m_model = new QStandardItemModel(this);
    TSQLQuery q;
    q.SQL = field.ValuesQuery;
    QStringList names;
    q.Open();
    for (int c = 0; c < q.FieldCount(); ++c)
        names << q.FieldName(c).toUpper();
    m_model->setColumnCount(names.size());
    m_keyColumn = qMax(0, names.indexOf(field.KeyFieldNames.trimmed().toUpper()));
    const int shown = qMax(0, names.indexOf(field.ListFieldNames.trimmed().toUpper()));
    if (emptyFirst) {
        QList<QStandardItem *> row;
        for (int c = 0; c < names.size(); ++c)
            row << new QStandardItem(c == shown ? EmptyItem : QString());
        row[m_keyColumn]->setData(0, Qt::UserRole);
        m_model->appendRow(row);
    }
    for (; !q.Eof(); q.Next()) {
        QList<QStandardItem *> row;
        for (int c = 0; c < names.size(); ++c)
            row << new QStandardItem(q.Fields(c).toString());
        row[m_keyColumn]->setData(q.Fields(m_keyColumn), Qt::UserRole);
        m_model->appendRow(row);
    }
    auto *view = new QTreeView(m_combo);
    view->setRootIsDecorated(false);
    view->setAllColumnsShowFocus(true);
    m_combo->setModel(m_model);
    m_combo->setView(view);
    m_combo->setModelColumn(shown);
    for (int c = 0; c < names.size(); ++c) {
        int listed = -1;
        for (int i = 0; i < field.ListColumns.size(); ++i)
            if (field.ListColumns.at(i).FieldName.compare(names.at(c), Qt::CaseInsensitive) == 0)
                listed = i;
        view->setColumnHidden(c, !field.ListColumns.isEmpty() && listed < 0 && c != shown);
        const QString caption = listed >= 0 ? field.ListColumns.at(listed).Caption : names.at(c);
        m_model->setHeaderData(c, Qt::Horizontal, caption);
        if (listed >= 0 && field.ListColumns.at(listed).MinWidth > 0)
            view->setColumnWidth(c, field.ListColumns.at(listed).MinWidth);
    }
    m_combo->setCurrentIndex(emptyFirst ? 0 : -1);
}

QVariant TEbcReplaceEditor::Value() const
{
    if (m_model) {
        const int row = m_combo->currentIndex();
        return row < 0 ? QVariant() : ZeroIsNull(m_model->item(row, m_keyColumn)->data(Qt::UserRole));
    }
    if (m_combo)
        return m_combo->currentIndex() < 0 ? QVariant() : ZeroIsNull(m_combo->currentData());
    if (m_spin)
        return m_spin->value();
    if (m_date)
        return m_date->date();
    if (m_check)
        return m_check->isChecked() ? 1 : 0;
    return m_line->text();
}

QString TEbcReplaceEditor::Text() const
{
    if (m_combo)
        return m_combo->currentText();
    if (m_spin)
        return m_spin->text();
    if (m_date)
        return m_date->text();
    if (m_check)
        return m_check->isChecked() ? u"Sì"_s : u"No"_s;
    return m_line->text();
}

bool TEbcReplaceEditor::Choose(const QVariant &value)
{
    if (!m_combo)
        return false;
    for (int i = 0; i < m_combo->count(); ++i) {
        const QVariant v = m_model ? m_model->item(i, m_keyColumn)->data(Qt::UserRole) : m_combo->itemData(i);
        if (v.toString() == value.toString()) {
            m_combo->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

int TEbcReplaceEditor::ItemCount() const
{
    return m_combo ? m_combo->count() : 0;
}

#include "fmVtRptFilter.h"
#include "VtExecModal.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtSQLQuery.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
enum TColumn { colField, colOperator, colValue };

const QString FileFilter = u"Filtri (*.xml)"_s;
const QString InvalidSaved = u"Il filtro salvato non è valido per questa selezione."_s;

// The (id, caption) rows of an enum's select; empty when it is not a select
// or the database refuses it.
QList<QPair<QString, QString>> ReadValues(const QString &sql)
{
    QList<QPair<QString, QString>> values;
    if (!sql.startsWith("SELECT"_L1, Qt::CaseInsensitive))
        return values;
    try {
        TSQLQuery query;
        query.SQL = sql;
        query.Open();
        for (; query.FieldCount() >= 2 && !query.Eof(); query.Next())
            values.append({query.Fields(0).toString(), query.Fields(1).toString()});
    } catch (const EVtException &) {
        values.clear();
    }
    return values;
}

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
}

TfmVtRptFilter::TfmVtRptFilter(QWidget *parent) : TfmVtOkCancDlg(parent)
{
    setObjectName(u"fmVtRptFilter"_s);
    setWindowTitle(u"Filtro"_s);
    ClientLayout()->addWidget(MakeJoinChoice());
    auto *body = new QHBoxLayout;
    grConditions = new QTableWidget(0, 3, paClient);
    grConditions->setObjectName(u"grConditions"_s);
    grConditions->setHorizontalHeaderLabels({u"Campo"_s, u"Operatore"_s, u"Valore"_s});
    grConditions->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grConditions->verticalHeader()->hide();
    grConditions->verticalHeader()->setDefaultSectionSize(QComboBox().sizeHint().height() + 4);
    grConditions->setSelectionBehavior(QAbstractItemView::SelectRows);
    grConditions->setSelectionMode(QAbstractItemView::SingleSelection);
    // The editors of a row are its cells' widgets: the one with the focus
    // makes its row current, the row "Rimuovi" removes.
    grConditions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    body->addWidget(grConditions, 1);
    body->addWidget(MakeButtons());
    ClientLayout()->addLayout(body, 1);
    resize(720, 360);
    UpdateButtons();
}

QWidget *TfmVtRptFilter::MakeJoinChoice()
{
    auto *box = new QWidget(paClient);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    rbAll = new QRadioButton(u"&Tutte le condizioni"_s, box);
    rbAll->setObjectName(u"rbAll"_s);
    rbAll->setChecked(true);
    rbAny = new QRadioButton(u"Al&meno una condizione"_s, box);
    rbAny->setObjectName(u"rbAny"_s);
    row->addWidget(rbAll);
    row->addWidget(rbAny);
    row->addStretch(1);
    return box;
}

QWidget *TfmVtRptFilter::MakeButtons()
{
    auto *box = new QWidget(paClient);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    buAdd = MakeButton(box, u"buAdd"_s, u"&Aggiungi"_s);
    buRemove = MakeButton(box, u"buRemove"_s, u"&Rimuovi"_s);
    buOpen = MakeButton(box, u"buOpen"_s, u"A&pri..."_s);
    buSave = MakeButton(box, u"buSave"_s, u"&Salva..."_s);
    for (QPushButton *b : {buAdd, buRemove})
        column->addWidget(b);
    column->addStretch(1);
    for (QPushButton *b : {buOpen, buSave})
        column->addWidget(b);
    connect(buAdd, &QPushButton::clicked, this, [this] { AddRow(); });
    connect(buRemove, &QPushButton::clicked, this, [this] {
        const int current = grConditions->currentRow();
        RemoveRow(current >= 0 ? current : RowCount() - 1);
    });
    connect(buOpen, &QPushButton::clicked, this, [this] { OpenFilter(); });
    connect(buSave, &QPushButton::clicked, this, [this] { SaveFilter(); });
    return box;
}

void TfmVtRptFilter::SetDefinition(const QString &code, const QString &xml)
{
    if (code == m_definition.Code() && xml == m_definitionXml)
        return;
    m_definition = TVtRptFilterDef::FromXml(code, xml);
    m_definitionXml = xml;
    m_condition.clear();
    LoadValues();
    ClearRows();
}

void TfmVtRptFilter::LoadValues()
{
    m_values.clear();
    for (const TVtRptFilterDef::TField &f : m_definition.Fields())
        if (f.Type == TVtRptFilterDef::ftEnum)
            m_values.insert(f.Name, ReadValues(f.ValuesQuery));
}

void TfmVtRptFilter::SetFolder(const QString &folder)
{
    m_folder = folder;
    QDir().mkpath(folder);
}

bool TfmVtRptFilter::Execute()
{
    const TVtRptFilter opening = Filter();
    if (VtExecModal(this) == QDialog::Accepted)
        return true;
    SetFilter(opening);
    return false;
}

bool TfmVtRptFilter::CanAccept()
{
    const QString condition = Filter().Condition();
    if (!TfmVtOkCancDlg::CanAccept())
        return false;
    m_condition = condition;
    return true;
}

TVtRptFilter TfmVtRptFilter::Filter() const
{
    TVtRptFilter filter;
    filter.Join = rbAny->isChecked() ? TVtRptFilter::jnAny : TVtRptFilter::jnAll;
    for (int r = 0; r < RowCount(); ++r)
        filter.Rows << RowAt(r);
    return filter;
}

void TfmVtRptFilter::SetFilter(const TVtRptFilter &filter)
{
    ClearRows();
    (filter.Join == TVtRptFilter::jnAny ? rbAny : rbAll)->setChecked(true);
    for (const TVtRptFilter::TRow &row : filter.Rows)
        if (m_definition.FindField(row.Field.Name))
            ShowRow(AddRow(), row);
}

int TfmVtRptFilter::RowCount() const
{
    return grConditions->rowCount();
}

int TfmVtRptFilter::AddRow()
{
    if (m_definition.Fields().isEmpty())
        return -1;
    const int row = RowCount();
    grConditions->insertRow(row);
    auto *field = new QComboBox;
    field->setObjectName(u"cbField"_s);
    for (const TVtRptFilterDef::TField &f : m_definition.Fields())
        field->addItem(f.Caption, f.Name);
    auto *op = new QComboBox;
    op->setObjectName(u"cbOperator"_s);
    grConditions->setCellWidget(row, colField, field);
    grConditions->setCellWidget(row, colOperator, op);
    FieldChosen(row);
    connect(field, &QComboBox::currentIndexChanged, this, [this, field] { FieldChosen(RowOf(field)); });
    connect(op, &QComboBox::currentIndexChanged, this, [this, op] { OperatorChosen(RowOf(op)); });
    grConditions->setCurrentCell(row, colField);
    UpdateButtons();
    return row;
}

void TfmVtRptFilter::RemoveRow(int row)
{
    if (row < 0 || row >= RowCount())
        return;
    grConditions->removeRow(row);
    UpdateButtons();
}

void TfmVtRptFilter::ClearRows()
{
    grConditions->setRowCount(0);
    UpdateButtons();
}

QComboBox *TfmVtRptFilter::FieldBox(int row) const
{
    return qobject_cast<QComboBox *>(grConditions->cellWidget(row, colField));
}

QComboBox *TfmVtRptFilter::OperatorBox(int row) const
{
    return qobject_cast<QComboBox *>(grConditions->cellWidget(row, colOperator));
}

QWidget *TfmVtRptFilter::ValueEditor(int row) const
{
    return grConditions->cellWidget(row, colValue);
}

int TfmVtRptFilter::RowOf(QWidget *cellWidget) const
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = colField; c <= colValue; ++c)
            if (grConditions->cellWidget(r, c) == cellWidget)
                return r;
    return -1;
}

void TfmVtRptFilter::FieldChosen(int row)
{
    const TVtRptFilterDef::TField &field = m_definition.Fields().at(FieldBox(row)->currentIndex());
    QComboBox *op = OperatorBox(row);
    const QSignalBlocker blocker(op);
    op->clear();
    for (const QString &key : TVtRptFilter::Operators(field.Type))
        op->addItem(TVtRptFilter::OperatorCaption(key), key);
    QWidget *editor = MakeValueEditor(field);
    grConditions->setCellWidget(row, colValue, editor);
    OperatorChosen(row);
}

void TfmVtRptFilter::OperatorChosen(int row)
{
    const bool hasValue = TVtRptFilter::HasValue(OperatorBox(row)->currentData().toString());
    QWidget *editor = ValueEditor(row);
    if (auto *edit = qobject_cast<QLineEdit *>(editor); edit && !hasValue)
        edit->clear();
    editor->setEnabled(hasValue);
}

QWidget *TfmVtRptFilter::MakeValueEditor(const TVtRptFilterDef::TField &field)
{
    if (field.Type == TVtRptFilterDef::ftEnum) {
        auto *values = new QComboBox;
        values->setObjectName(u"cbValue"_s);
        for (const auto &v : m_values.value(field.Name))
            values->addItem(v.second, v.first);
        return values;
    }
    auto *edit = new QLineEdit;
    edit->setObjectName(u"edValue"_s);
    if (field.Type == TVtRptFilterDef::ftDate)
        edit->setPlaceholderText(u"gg/mm/aaaa"_s);
    return edit;
}

void TfmVtRptFilter::ShowRow(int row, const TVtRptFilter::TRow &values)
{
    QComboBox *field = FieldBox(row);
    field->setCurrentIndex(field->findData(m_definition.FindField(values.Field.Name)->Name));
    QComboBox *op = OperatorBox(row);
    op->setCurrentIndex(op->findData(values.Operator));
    if (auto *enumValues = qobject_cast<QComboBox *>(ValueEditor(row)))
        enumValues->setCurrentIndex(enumValues->findData(values.Value));
    else if (auto *edit = qobject_cast<QLineEdit *>(ValueEditor(row)); edit && TVtRptFilter::HasValue(values.Operator))
        edit->setText(values.Value);
}

TVtRptFilter::TRow TfmVtRptFilter::RowAt(int row) const
{
    TVtRptFilter::TRow r;
    r.Field = m_definition.Fields().at(FieldBox(row)->currentIndex());
    r.Operator = OperatorBox(row)->currentData().toString();
    if (auto *enumValues = qobject_cast<QComboBox *>(ValueEditor(row)))
        r.Value = enumValues->currentData().toString();
    else if (auto *edit = qobject_cast<QLineEdit *>(ValueEditor(row)))
        r.Value = edit->text();
    return r;
}

void TfmVtRptFilter::UpdateButtons()
{
    buAdd->setEnabled(!m_definition.Fields().isEmpty());
    buRemove->setEnabled(RowCount() > 0);
}

bool TfmVtRptFilter::SaveFilter()
{
    QString name = VtMessageService().SaveFileName(u"Salva filtro"_s, m_folder, FileFilter);
    if (name.isEmpty())
        return false;
    if (QFileInfo(name).suffix().isEmpty())
        name += u".xml"_s;
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(Filter().ToXml(m_definition.Code())) < 0 || !file.commit()) {
        VtMessageDlg(u"Impossibile salvare il filtro nel file \"%1\"."_s.arg(QDir::toNativeSeparators(name)), mtError, mbOK);
        return false;
    }
    return true;
}

bool TfmVtRptFilter::OpenFilter()
{
    const QString name = VtMessageService().OpenFileName(u"Apri filtro"_s, m_folder, FileFilter);
    if (name.isEmpty())
        return false;
    QFile file(name);
    TVtRptFilter read;
    if (!file.open(QIODevice::ReadOnly) || !TVtRptFilter::FromXml(file.readAll(), m_definition, &read)) {
        VtMessageDlg(InvalidSaved, mtError, mbOK);
        return false;
    }
    SetFilter(read);
    return true;
}

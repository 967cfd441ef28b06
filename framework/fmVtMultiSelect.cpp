#include "fmVtMultiSelect.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

// The grid's model: a tick column followed by the collection's visible fields.
class TVtMultiSelectModel : public QAbstractTableModel
{
public:
    explicit TVtMultiSelectModel(TfmVtMultiSelect *owner) : QAbstractTableModel(owner), m_owner(owner) {}

    void Reset()
    {
        beginResetModel();
        m_fields.clear();
        TVtQueryCollection *q = m_owner->xqcMain;
        if (q->Active()) {
            const int key = m_owner->KeyIndex();
            for (int i = 0; i < q->FieldCount(); ++i) {
                TVtField *f = q->Fields(i);
                if (!f->Visible || (i == key && !m_owner->ShowKeyField))
                    continue;
                m_fields << i;
            }
        }
        endResetModel();
    }
    void RowChanged(int row) { emit dataChanged(index(row, 0), index(row, columnCount() - 1)); }
    void AllChanged()
    {
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() || !m_owner->xqcMain->Active() ? 0 : m_owner->xqcMain->RecordCount();
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : 1 + m_fields.size();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return QVariant();
        if (index.column() == 0)
            return role == Qt::CheckStateRole ? QVariant(m_owner->IsChecked(index.row()) ? Qt::Checked : Qt::Unchecked)
                                              : QVariant();
        if (role != Qt::DisplayRole)
            return QVariant();
        TVtField *f = m_owner->xqcMain->Fields(m_fields[index.column() - 1]);
        return TVtField::FormatValue(m_owner->xqcMain->RowValue(index.row(), f->Index), f->DataType, f->DisplayFormat);
    }
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (index.column() != 0 || role != Qt::CheckStateRole)
            return false;
        m_owner->SetChecked(index.row(), value.toInt() == Qt::Checked);
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.column() == 0)
            f |= Qt::ItemIsUserCheckable;
        return f;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QVariant();
        if (section == 0)
            return QString();
        return m_owner->xqcMain->Fields(m_fields[section - 1])->Title();
    }
    int FieldAt(int column) const { return column >= 1 && column <= m_fields.size() ? m_fields[column - 1] : -1; }

private:
    TfmVtMultiSelect *m_owner;
    QList<int> m_fields;
};

TfmVtMultiSelect::TfmVtMultiSelect(QWidget *parent)
    : TfmVtOkCancDlg(parent)
{
    setObjectName(QStringLiteral("fmVtMultiSelect"));
    xqcMain = new TVtQueryCollection(this);
    xqcMain->setObjectName(QStringLiteral("xqcMain"));
    xqcMain->ReadOnly = true;
    m_model = new TVtMultiSelectModel(this);

    grMain = new QTableView(paClient);
    grMain->setObjectName(QStringLiteral("grMain"));
    grMain->setModel(m_model);
    grMain->setSelectionBehavior(QAbstractItemView::SelectRows);
    grMain->verticalHeader()->hide();
    grMain->verticalHeader()->setDefaultSectionSize(grMain->fontMetrics().height() + 6);
    grMain->horizontalHeader()->setStretchLastSection(true);
    ClientLayout()->addWidget(grMain, 1);
    // Space or a double click ticks the current row.
    connect(grMain, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid() && index.column() != 0)
            SetChecked(index.row(), !IsChecked(index.row()));
    });

    auto *row = new QHBoxLayout;
    buSelectAll = new QPushButton(QStringLiteral("Seleziona tutti"), paClient);
    buSelectAll->setObjectName(QStringLiteral("buSelectAll"));
    buSelectNone = new QPushButton(QStringLiteral("Deseleziona tutti"), paClient);
    buSelectNone->setObjectName(QStringLiteral("buSelectNone"));
    laCount = new QLabel(paClient);
    laCount->setObjectName(QStringLiteral("laCount"));
    row->addWidget(buSelectAll);
    row->addWidget(buSelectNone);
    row->addStretch(1);
    row->addWidget(laCount);
    ClientLayout()->addLayout(row);
    connect(buSelectAll, &QPushButton::clicked, this, [this] { CheckAll(true); });
    connect(buSelectNone, &QPushButton::clicked, this, [this] { CheckAll(false); });
    resize(560, 420);
    UpdateCount();
}

TfmVtMultiSelect::~TfmVtMultiSelect() = default;

void TfmVtMultiSelect::SetCommandText(const QString &select)
{
    xqcMain->Close();
    xqcMain->CommandText = select;
    m_model->Reset();
    UpdateCount();
}

QString TfmVtMultiSelect::CommandText() const
{
    return xqcMain->CommandText;
}

TVtParams &TfmVtMultiSelect::Params()
{
    return xqcMain->Params();
}

void TfmVtMultiSelect::SetFieldTitle(const QString &field, const QString &title, int width)
{
    TColumn &c = m_columns[field.toUpper()];
    c.Title = title;
    c.Width = width;
    c.HasTitle = true;
    if (xqcMain->Active())
        ApplyColumns();
}

void TfmVtMultiSelect::SetFieldVisible(const QString &field, bool visible)
{
    TColumn &c = m_columns[field.toUpper()];
    c.Visible = visible;
    c.HasVisible = true;
    if (xqcMain->Active())
        ApplyColumns();
}

int TfmVtMultiSelect::KeyIndex() const
{
    if (!xqcMain->Active() || xqcMain->FieldCount() == 0)
        return -1;
    if (KeyField.isEmpty())
        return 0;
    TVtField *f = xqcMain->FindField(KeyField);
    return f ? f->Index : 0;
}

void TfmVtMultiSelect::ApplyColumns()
{
    for (int i = 0; i < xqcMain->FieldCount(); ++i) {
        TVtField *f = xqcMain->Fields(i);
        auto it = m_columns.constFind(f->FieldName.toUpper());
        if (it == m_columns.constEnd())
            continue;
        if (it->HasTitle)
            f->DisplayLabel = it->Title;
        if (it->HasTitle && it->Width > 0)
            f->DisplayWidth = it->Width;
        if (it->HasVisible)
            f->Visible = it->Visible;
    }
    m_model->Reset();
    grMain->setColumnWidth(0, 28);
    for (int c = 1; c < m_model->columnCount(); ++c) {
        const int fi = m_model->FieldAt(c);
        if (fi >= 0 && xqcMain->Fields(fi)->DisplayWidth > 0)
            grMain->setColumnWidth(c, xqcMain->Fields(fi)->DisplayWidth);
    }
}

void TfmVtMultiSelect::Open()
{
    xqcMain->Close();
    xqcMain->Open();
    // Keep only the ticks of ids still listed.
    QSet<QString> still;
    for (int r = 0; r < xqcMain->RecordCount(); ++r) {
        const QString id = RowId(r).toString();
        if (m_checked.contains(id))
            still.insert(id);
    }
    m_checked = still;
    ApplyColumns();
    UpdateCount();
}

int TfmVtMultiSelect::RowCount() const
{
    return xqcMain->Active() ? xqcMain->RecordCount() : 0;
}

QVariant TfmVtMultiSelect::RowId(int row) const
{
    const int key = KeyIndex();
    if (key < 0 || row < 0 || row >= RowCount())
        return QVariant();
    return xqcMain->RowValue(row, key);
}

QString TfmVtMultiSelect::RowText(int row, const QString &field) const
{
    TVtField *f = xqcMain->Active() ? xqcMain->FindField(field) : nullptr;
    if (!f || row < 0 || row >= RowCount())
        return QString();
    return TVtField::FormatValue(xqcMain->RowValue(row, f->Index), f->DataType, f->DisplayFormat);
}

bool TfmVtMultiSelect::IsChecked(int row) const
{
    const QVariant id = RowId(row);
    return !id.isNull() && m_checked.contains(id.toString());
}

void TfmVtMultiSelect::SetChecked(int row, bool on)
{
    const QVariant id = RowId(row);
    if (id.isNull())
        return;
    if (on)
        m_checked.insert(id.toString());
    else
        m_checked.remove(id.toString());
    m_model->RowChanged(row);
    UpdateCount();
}

bool TfmVtMultiSelect::SetCheckedId(const QVariant &id, bool on)
{
    for (int r = 0; r < RowCount(); ++r) {
        if (RowId(r).toString() == id.toString()) {
            SetChecked(r, on);
            return true;
        }
    }
    return false;
}

void TfmVtMultiSelect::CheckAll(bool on)
{
    m_checked.clear();
    if (on)
        for (int r = 0; r < RowCount(); ++r)
            if (!RowId(r).isNull())
                m_checked.insert(RowId(r).toString());
    m_model->AllChanged();
    UpdateCount();
}

int TfmVtMultiSelect::CheckedCount() const
{
    int n = 0;
    for (int r = 0; r < RowCount(); ++r)
        if (IsChecked(r))
            ++n;
    return n;
}

QVariantList TfmVtMultiSelect::SelectedKeys() const
{
    QVariantList keys;
    for (int r = 0; r < RowCount(); ++r)
        if (IsChecked(r))
            keys << RowId(r);
    return keys;
}

QList<int> TfmVtMultiSelect::SelectedIds() const
{
    QList<int> ids;
    for (const QVariant &k : SelectedKeys())
        ids << k.toInt();
    return ids;
}

bool TfmVtMultiSelect::CanAccept()
{
    if (!AllowEmpty && CheckedCount() == 0) {
        VtMessageDlg(QStringLiteral("Selezionare almeno un elemento."), mtWarning, mbOK);
        return false;
    }
    return TfmVtOkCancDlg::CanAccept();
}

void TfmVtMultiSelect::showEvent(QShowEvent *event)
{
    if (!xqcMain->Active() && !xqcMain->CommandText.isEmpty())
        Open();
    TfmVtOkCancDlg::showEvent(event);
}

void TfmVtMultiSelect::UpdateCount()
{
    laCount->setText(QStringLiteral("Selezionati: %1 di %2").arg(CheckedCount()).arg(RowCount()));
}

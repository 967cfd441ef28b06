#include "fmVtMultiSelect.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"
#include "fmVtMDIMain.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

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
        return parent.isValid() ? 0 : m_owner->RowCount();
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
        TVtField *f = m_owner->xqcMain->Fields(m_fields[index.column() - 1]);
        if (role == Qt::TextAlignmentRole)
            return f->Alignment != 0 ? f->Alignment : int(Alignment(f->DataType));
        if (role != Qt::DisplayRole)
            return QVariant();
        return TVtField::FormatValue(m_owner->xqcMain->RowValue(m_owner->SourceRow(index.row()), f->Index), f->DataType,
                                     f->DisplayFormat);
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
        if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QVariant();
        if (section == 0)
            return QString();
        return m_owner->xqcMain->Fields(m_fields[section - 1])->Title();
    }
    // Numbers to the right, the rest to the left.
    static Qt::Alignment Alignment(QMetaType::Type type)
    {
        const bool number = type == QMetaType::Double || type == QMetaType::Int || type == QMetaType::LongLong;
        return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
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
    grMain->horizontalHeader()->setSectionsClickable(true);
    connect(grMain->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) { ClickTitle(column); });

    acHelp = new QAction(QStringLiteral("Guida"), this);
    acHelp->setObjectName(QStringLiteral("acHelp"));
    acHelp->setShortcut(QKeySequence(Qt::Key_F1));
    acHelp->setShortcutContext(Qt::WindowShortcut);
    addAction(acHelp);
    connect(acHelp, &QAction::triggered, this, &TfmVtMultiSelect::ShowHelp);
    resize(560, 420);
    UpdateCount();
}

TfmVtMultiSelect::~TfmVtMultiSelect() = default;

QString TfmVtMultiSelect::Caption() const
{
    return windowTitle();
}

void TfmVtMultiSelect::SetCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void TfmVtMultiSelect::ShowHelp()
{
    if (m_helpContext == 0)
        return;
    if (TfmVtMDIMain *main = TfmVtMDIMain::Instance())
        main->ShowHelp(m_helpContext);
}

void TfmVtMultiSelect::SetDialogWidth(int width)
{
    resize(width, height());
}

void TfmVtMultiSelect::SetCommandText(const QString &select)
{
    xqcMain->Close();
    xqcMain->CommandText = select;
    m_order.clear();
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

void TfmVtMultiSelect::SetParamValue(const QString &name, const QVariant &value, QMetaType::Type type)
{
    TVtParam *p = Params().FindParam(name);
    if (!p)
        p = Params().CreateParam(type, name);
    p->SetValue(value);
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

void TfmVtMultiSelect::SetFieldFormat(const QString &field, const QString &format)
{
    TColumn &c = m_columns[field.toUpper()];
    c.Format = format;
    c.HasFormat = true;
    if (xqcMain->Active())
        ApplyColumns();
}

namespace {
QStringList SortFields(const QString &fieldList)
{
    QStringList fields;
    for (const QString &f : fieldList.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!f.trimmed().isEmpty())
            fields << f.trimmed();
    return fields;
}

// Nulls first; texts without regard to case; numbers and dates by value.
int CompareValues(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString) {
        const int c = a.toString().compare(b.toString(), Qt::CaseInsensitive);
        return c != 0 ? c : a.toString().compare(b.toString(), Qt::CaseSensitive);
    }
    const QPartialOrdering o = QVariant::compare(a, b);
    if (o == QPartialOrdering::Less)
        return -1;
    if (o == QPartialOrdering::Greater)
        return 1;
    return 0;
}
}

void TfmVtMultiSelect::AddSortOrder(const QString &fieldList)
{
    if (!SortFields(fieldList).isEmpty() && !m_sortOrders.contains(fieldList, Qt::CaseInsensitive))
        m_sortOrders << fieldList;
}

void TfmVtMultiSelect::SortBy(const QString &fieldList)
{
    m_sortOrder = fieldList;
    ApplySort();
}

bool TfmVtMultiSelect::ClickTitle(int column)
{
    const int fi = m_model->FieldAt(column);
    if (fi < 0)
        return false;
    const QString name = xqcMain->Fields(fi)->FieldName;
    for (const QString &order : m_sortOrders) {
        if (SortFields(order).first().compare(name, Qt::CaseInsensitive) == 0) {
            SortBy(order);
            grMain->horizontalHeader()->setSortIndicatorShown(true);
            grMain->horizontalHeader()->setSortIndicator(column, Qt::AscendingOrder);
            return true;
        }
    }
    return false;
}

void TfmVtMultiSelect::ApplySort()
{
    m_order.clear();
    QList<int> indexes;
    if (xqcMain->Active())
        for (const QString &f : SortFields(m_sortOrder))
            if (TVtField *field = xqcMain->FindField(f))
                indexes << field->Index;
    if (!indexes.isEmpty()) {
        m_order.resize(xqcMain->RecordCount());
        for (int r = 0; r < m_order.size(); ++r)
            m_order[r] = r;
        std::stable_sort(m_order.begin(), m_order.end(), [this, &indexes](int a, int b) {
            for (int i : indexes) {
                const int c = CompareValues(xqcMain->RowValue(a, i), xqcMain->RowValue(b, i));
                if (c != 0)
                    return c < 0;
            }
            return false;
        });
    }
    if (m_sortOrder.isEmpty())
        grMain->horizontalHeader()->setSortIndicatorShown(false);
    m_model->AllChanged();
}

int TfmVtMultiSelect::SourceRow(int row) const
{
    return m_order.isEmpty() || row < 0 || row >= m_order.size() ? row : m_order[row];
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
        if (it->HasFormat)
            f->DisplayFormat = it->Format;
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
    m_order.clear();
    xqcMain->Open();
    // Keep only the ticks of ids still listed.
    QSet<QString> still;
    for (int r = 0; r < xqcMain->RecordCount(); ++r) {
        const QString id = RowId(r).toString();
        if (m_checked.contains(id))
            still.insert(id);
    }
    m_checked = still;
    ApplySort();
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
    return xqcMain->RowValue(SourceRow(row), key);
}

QString TfmVtMultiSelect::RowText(int row, const QString &field) const
{
    TVtField *f = xqcMain->Active() ? xqcMain->FindField(field) : nullptr;
    if (!f || row < 0 || row >= RowCount())
        return QString();
    return TVtField::FormatValue(xqcMain->RowValue(SourceRow(row), f->Index), f->DataType, f->DisplayFormat);
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

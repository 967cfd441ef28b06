#include "fmVtSearch.h"
#include "VtException.h"
#include "VtFormRegistry.h"
#include "VtGridModel.h"
#include "VtQueryCollection.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {
// Keeps the rows where one of the searched columns contains the text.
class TVtSearchFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    QString Text;
    QVector<int> Columns;   // columns of the grid model searched

    void Apply()
    {
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        if (Text.isEmpty())
            return true;
        for (int c : Columns) {
            const QString v = sourceModel()->index(row, c, parent).data(Qt::DisplayRole).toString();
            if (v.contains(Text, Qt::CaseInsensitive))
                return true;
        }
        return false;
    }
};

QMap<QString, TVtSearchFormFactory> &Registry()
{
    static QMap<QString, TVtSearchFormFactory> registry;
    return registry;
}
}

TVtSearchField *TVtSearchFields::FindField(const QString &fieldName) const
{
    for (const auto &f : m_items)
        if (f->FieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TVtSearchField *TVtSearchFields::Add(const QString &fieldName)
{
    auto f = std::make_unique<TVtSearchField>();
    f->FieldName = fieldName;
    m_items.push_back(std::move(f));
    return m_items.back().get();
}

TfmVtSearch::TfmVtSearch(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fmVtSearch"));
    setWindowTitle(QStringLiteral("Ricerca"));
    m_dataSet = new TVtQueryCollection(this);
    m_dataSet->ReadOnly = true;
    m_model = new TVtGridModel(this);
    m_model->SetCollection(m_dataSet);
    auto *filter = new TVtSearchFilter(this);
    filter->setSourceModel(m_model);
    filter->setSortRole(Qt::EditRole);
    filter->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_filter = filter;

    auto *layout = new QVBoxLayout(this);
    m_topPanel = new QWidget(this);
    m_topPanel->setObjectName(QStringLiteral("paTop"));
    auto *top = new QHBoxLayout(m_topPanel);
    top->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_topPanel);

    auto *searchRow = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("&Cerca:"), this);
    edSearch = new QLineEdit(this);
    edSearch->setObjectName(QStringLiteral("edSearch"));
    edSearch->setClearButtonEnabled(true);
    label->setBuddy(edSearch);
    searchRow->addWidget(label);
    searchRow->addWidget(edSearch, 1);
    layout->addLayout(searchRow);

    grSearch = new QTableView(this);
    grSearch->setObjectName(QStringLiteral("grSearch"));
    grSearch->setModel(m_filter);
    grSearch->setSelectionBehavior(QAbstractItemView::SelectRows);
    grSearch->setSelectionMode(QAbstractItemView::SingleSelection);
    grSearch->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grSearch->setSortingEnabled(true);
    grSearch->sortByColumn(-1, Qt::AscendingOrder);
    grSearch->verticalHeader()->hide();
    grSearch->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(grSearch, 1);

    auto *bottom = new QHBoxLayout;
    m_count = new QLabel(this);
    bottom->addWidget(m_count, 1);
    buButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buButtons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buButtons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    bottom->addWidget(buButtons);
    layout->addLayout(bottom);

    connect(buButtons, &QDialogButtonBox::accepted, this, &TfmVtSearch::accept);
    connect(buButtons, &QDialogButtonBox::rejected, this, &TfmVtSearch::reject);
    connect(edSearch, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
    connect(edSearch, &QLineEdit::returnPressed, this, [this] {
        if (MatchCount() > 0)
            accept();
    });
    connect(grSearch, &QAbstractItemView::doubleClicked, this, [this] { accept(); });
    resize(500, 400);
}

TfmVtSearch::~TfmVtSearch() = default;

QString TfmVtSearch::Caption() const
{
    return windowTitle();
}

void TfmVtSearch::SetCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void TfmVtSearch::SetWidth(int width)
{
    m_width = width;
    if (width > 0)
        resize(width, height());
}

QString TfmVtSearch::CommandText() const
{
    return m_dataSet->CommandText;
}

void TfmVtSearch::SetCommandText(const QString &sql)
{
    if (m_dataSet->CommandText == sql)
        return;
    m_dataSet->Close();
    m_dataSet->CommandText = sql;
}

QString TfmVtSearch::SearchText() const
{
    return edSearch->text();
}

void TfmVtSearch::SetSearchText(const QString &text)
{
    edSearch->setText(text);
    ApplyFilter();
}

void TfmVtSearch::RefreshSearch()
{
    if (m_dataSet->Active())
        m_dataSet->Refresh();
    else
        m_dataSet->Open();
    for (int i = 0; i < m_dataSet->FieldCount(); ++i) {
        const QString name = m_dataSet->Fields(i)->FieldName;
        if (!m_fields.FindField(name))
            m_fields.Add(name);
    }
    ApplyFields();
}

void TfmVtSearch::ApplyFields()
{
    m_model->ClearColumns();
    for (int i = 0; i < m_fields.Count(); ++i) {
        const TVtSearchField *f = m_fields.Items(i);
        if (f->Visible && m_dataSet->FindField(f->FieldName))
            m_model->AddColumn({f->FieldName, f->Title, f->Width});
    }
    for (int c = 0; c < m_model->columnCount(); ++c)
        if (m_model->Columns()[c].Width > 0)
            grSearch->setColumnWidth(c, m_model->Columns()[c].Width);
    ApplyFilter();
}

void TfmVtSearch::ApplyFilter()
{
    auto *filter = static_cast<TVtSearchFilter *>(m_filter);
    filter->Text = edSearch->text().trimmed();
    filter->Columns.clear();
    const auto &cols = m_model->Columns();
    for (int c = 0; c < cols.size(); ++c) {
        const TVtSearchField *f = m_fields.FindField(cols[c].FieldName);
        if (f && f->Indexed)
            filter->Columns << c;
    }
    if (filter->Columns.isEmpty())
        for (int c = 0; c < cols.size(); ++c)
            filter->Columns << c;
    filter->Apply();
    m_count->setText(QStringLiteral("Elementi: %1").arg(MatchCount()));
    if (MatchCount() > 0 && !grSearch->currentIndex().isValid())
        SelectRow(0);
}

bool TfmVtSearch::Execute()
{
    if (!m_dataSet->Active())
        RefreshSearch();
    else
        ApplyFields();
    if (m_width > 0)
        resize(m_width, height());
    Activate();
    ApplyFilter();
    edSearch->setFocus();
    return exec() == QDialog::Accepted;
}

int TfmVtSearch::MatchCount() const
{
    while (m_filter->canFetchMore(QModelIndex()))
        m_filter->fetchMore(QModelIndex());
    return m_filter->rowCount();
}

bool TfmVtSearch::SelectRow(int row)
{
    if (row < 0 || row >= m_filter->rowCount())
        return false;
    grSearch->setCurrentIndex(m_filter->index(row, 0));
    grSearch->selectRow(row);
    return true;
}

int TfmVtSearch::DataSetRow(int shownRow) const
{
    if (shownRow < 0 || shownRow >= m_filter->rowCount())
        return -1;
    return m_filter->mapToSource(m_filter->index(shownRow, 0)).row();
}

QVariant TfmVtSearch::SelectedValue(const QString &fieldName) const
{
    const int row = DataSetRow(grSearch->currentIndex().row());
    TVtField *f = m_dataSet->FindField(fieldName);
    if (row < 0 || !f)
        return QVariant();
    return m_dataSet->RowValue(row, f->Index);
}

void TfmVtSearch::accept()
{
    const int row = DataSetRow(grSearch->currentIndex().row());
    if (row < 0)
        return;
    m_dataSet->SetRecNo(row);
    QDialog::accept();
}

void RegisterVtSearchForm(const QString &className, TVtSearchFormFactory factory)
{
    Registry().insert(className.toUpper(), std::move(factory));
}

void UnregisterVtSearchForm(const QString &className)
{
    Registry().remove(className.toUpper());
}

bool IsVtSearchFormRegistered(const QString &className)
{
    return className.isEmpty() || className.compare(QLatin1String("TfmVtSearch"), Qt::CaseInsensitive) == 0
           || Registry().contains(className.toUpper()) || TVtFormRegistry::IsRegistered(className);
}

TfmVtSearch *CreateVtSearchForm(const QString &className, QWidget *parent)
{
    const auto it = Registry().constFind(className.toUpper());
    if (it != Registry().constEnd())
        return (*it)(parent);
    if (className.isEmpty() || className.compare(QLatin1String("TfmVtSearch"), Qt::CaseInsensitive) == 0)
        return new TfmVtSearch(parent);
    if (TVtFormRegistry::IsRegistered(className)) {
        QWidget *form = TVtFormRegistry::CreateForm(className, parent);
        if (auto *search = qobject_cast<TfmVtSearch *>(form))
            return search;
        delete form;
        throw EVtException(QStringLiteral("La classe '%1' non è una maschera di ricerca.").arg(className));
    }
    throw EVtException(QStringLiteral("Maschera di ricerca '%1' non registrata.").arg(className));
}

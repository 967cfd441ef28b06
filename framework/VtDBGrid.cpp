#include "VtDBGrid.h"
#include "VtDataSource.h"
#include "VtGuard.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QKeyEvent>
#include <QSortFilterProxyModel>

namespace {
// Background and selection of a cell, then what the column's painter draws.
class TCellPainterDelegate : public QStyledItemDelegate
{
public:
    TCellPainterDelegate(TVtDBGrid *grid, TVtDBGrid::TCellPainter painter)
        : QStyledItemDelegate(grid), m_grid(grid), m_painter(std::move(painter))
    {
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        const QWidget *w = opt.widget;
        (w ? w->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
        const int row = m_grid->DataSetRow(index.row());
        if (row >= 0) {
            painter->save();
            m_painter(painter, opt.rect, row);
            painter->restore();
        }
    }

private:
    TVtDBGrid *m_grid;
    TVtDBGrid::TCellPainter m_painter;
};
}

void TVtDBGrid::SetCellPainter(int column, TCellPainter painter)
{
    setItemDelegateForColumn(column, new TCellPainterDelegate(this, std::move(painter)));
}

TVtDBGrid::TVtDBGrid(QWidget *parent) : QTableView(parent)
{
    m_model = new TVtGridModel(this);
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(Qt::EditRole);
    m_proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setDynamicSortFilter(true);
    setModel(m_proxy);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    setSortingEnabled(false);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { VtGuard([&] { ViewRowChanged(current); }); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &idx) {
        const int r = DataSetRow(idx.row());
        if (r >= 0)
            emit RowActivated(r);
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        ApplyWidths();
        FollowDataSet();
    });
    connect(m_proxy, &QAbstractItemModel::layoutChanged, this, [this] { FollowDataSet(); });
    connect(m_proxy, &QAbstractItemModel::rowsInserted, this, [this] { FollowDataSet(); });
    connect(m_proxy, &QAbstractItemModel::rowsRemoved, this, [this] { FollowDataSet(); });
}

void TVtDBGrid::SetDataSource(TVtDataSource *source)
{
    for (const auto &c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_source = source;
    if (source) {
        m_connections << connect(source, &TVtDataSource::DataChanged, this, [this](TVtField *f) {
            if (!f)
                FollowDataSet();
        });
        m_connections << connect(source, &TVtDataSource::SettingsChanged, this, [this] {
            if (m_model->Collection() != (m_source ? m_source->DataSet() : nullptr))
                m_model->SetCollection(m_source ? m_source->DataSet() : nullptr);
            setEnabled(m_source && m_source->Enabled());
        });
    }
    m_model->SetCollection(source ? source->DataSet() : nullptr);
}

void TVtDBGrid::AddColumn(const QString &fieldName, const QString &title, int width)
{
    m_model->AddColumn({fieldName, title, width});
    ApplyWidths();
}

void TVtDBGrid::ClearColumns()
{
    m_model->ClearColumns();
}

void TVtDBGrid::ApplyWidths()
{
    const auto &cols = m_model->Columns();
    for (int i = 0; i < cols.size(); ++i)
        if (cols[i].Width > 0)
            setColumnWidth(i, cols[i].Width);
}

void TVtDBGrid::SetSortable(bool on)
{
    // A grid that becomes sortable starts on its first column, going up.
    if (on && !isSortingEnabled())
        horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    setSortingEnabled(on);
    if (!on) {
        m_proxy->sort(-1);
        FollowDataSet();
    }
}

void TVtDBGrid::SortByColumn(int column, Qt::SortOrder order)
{
    sortByColumn(column, order);
    FollowDataSet();
}

int TVtDBGrid::DataSetRow(int viewRow) const
{
    if (viewRow < 0 || viewRow >= m_proxy->rowCount())
        return -1;
    return m_proxy->mapToSource(m_proxy->index(viewRow, 0)).row();
}

int TVtDBGrid::ViewRow(int dataSetRow) const
{
    if (dataSetRow < 0 || dataSetRow >= m_model->rowCount())
        return -1;
    return m_proxy->mapFromSource(m_model->index(dataSetRow, 0)).row();
}

bool TVtDBGrid::SelectViewRow(int viewRow)
{
    if (viewRow < 0 || viewRow >= m_proxy->rowCount())
        return false;
    setCurrentIndex(m_proxy->index(viewRow, qMax(0, currentIndex().column())));
    TVtQueryCollection *ds = m_model->Collection();
    return ds && ds->RecNo() == DataSetRow(viewRow);
}

void TVtDBGrid::FollowDataSet()
{
    TVtQueryCollection *ds = m_model->Collection();
    if (!ds || m_syncing)
        return;
    const int view = ViewRow(ds->RecNo());
    if (view < 0 || m_proxy->columnCount() == 0)
        return;
    if (currentIndex().isValid() && currentIndex().row() == view)
        return;
    m_syncing = true;
    const QModelIndex idx = m_proxy->index(view, qMax(0, currentIndex().column()));
    selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(idx);
    m_syncing = false;
}

void TVtDBGrid::ViewRowChanged(const QModelIndex &current)
{
    if (m_syncing || !current.isValid())
        return;
    TVtQueryCollection *ds = m_model->Collection();
    if (!ds)
        return;
    const int row = DataSetRow(current.row());
    if (row >= 0 && row != ds->RecNo())
        ds->SetRecNo(row);
    // A refused move (a pending edit that cannot be posted) puts the selection back.
    if (ds->RecNo() != row)
        QMetaObject::invokeMethod(this, [this] { FollowDataSet(); }, Qt::QueuedConnection);
}

void TVtDBGrid::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        const int r = DataSetRow(currentIndex().row());
        if (r >= 0)
            emit RowActivated(r);
        return;
    }
    QTableView::keyPressEvent(event);
}

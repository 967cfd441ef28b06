#include "VtGridModel.h"
#include "VtQueryCollection.h"

TVtGridModel::TVtGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void TVtGridModel::SetCollection(TVtQueryCollection *collection)
{
    beginResetModel();
    for (const auto &c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_collection = collection;
    if (collection) {
        auto *src = collection;
        m_connections << connect(src, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
        m_connections << connect(src, &QAbstractItemModel::modelReset, this, [this] {
            MapColumns();
            endResetModel();
        });
        m_connections << connect(src, &QAbstractItemModel::rowsAboutToBeInserted, this,
                                 [this](const QModelIndex &, int first, int last) { beginInsertRows(QModelIndex(), first, last); });
        m_connections << connect(src, &QAbstractItemModel::rowsInserted, this, [this] { endInsertRows(); });
        m_connections << connect(src, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                                 [this](const QModelIndex &, int first, int last) { beginRemoveRows(QModelIndex(), first, last); });
        m_connections << connect(src, &QAbstractItemModel::rowsRemoved, this, [this] { endRemoveRows(); });
        m_connections << connect(src, &QAbstractItemModel::dataChanged, this,
                                 [this](const QModelIndex &tl, const QModelIndex &br) {
                                     if (ShownCount() > 0)
                                         emit dataChanged(index(tl.row(), 0), index(br.row(), ShownCount() - 1));
                                 });
        m_connections << connect(src, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] { emit layoutAboutToBeChanged(); });
        m_connections << connect(src, &QAbstractItemModel::layoutChanged, this, [this] { emit layoutChanged(); });
        m_connections << connect(src, &QObject::destroyed, this, [this] {
            beginResetModel();
            m_collection = nullptr;
            MapColumns();
            endResetModel();
        });
    }
    MapColumns();
    endResetModel();
}

void TVtGridModel::AddColumn(const TVtGridColumn &column)
{
    beginResetModel();
    m_columns << column;
    MapColumns();
    endResetModel();
}

void TVtGridModel::ClearColumns()
{
    beginResetModel();
    m_columns.clear();
    MapColumns();
    endResetModel();
}

void TVtGridModel::MapColumns()
{
    m_fieldIndex.clear();
    m_autoTitles.clear();
    if (!m_columns.isEmpty()) {
        for (const auto &c : m_columns) {
            TVtField *f = m_collection ? m_collection->FindField(c.FieldName) : nullptr;
            m_fieldIndex << (f ? f->Index : -1);
        }
        return;
    }
    if (!m_collection)
        return;
    for (int i = 0; i < m_collection->FieldCount(); ++i) {
        TVtField *f = m_collection->Fields(i);
        if (f->Visible) {
            m_fieldIndex << f->Index;
            m_autoTitles << f->Title();
        }
    }
}

int TVtGridModel::ShownCount() const
{
    return m_columns.isEmpty() ? m_fieldIndex.size() : m_columns.size();
}

int TVtGridModel::ColumnOfField(const QString &fieldName) const
{
    if (!m_columns.isEmpty()) {
        for (int i = 0; i < m_columns.size(); ++i)
            if (m_columns[i].FieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    TVtField *f = m_collection ? m_collection->FindField(fieldName) : nullptr;
    return f ? m_fieldIndex.indexOf(f->Index) : -1;
}

int TVtGridModel::FieldIndex(int column) const
{
    return m_fieldIndex.value(column, -1);
}

int TVtGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_collection ? 0 : m_collection->rowCount();
}

int TVtGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ShownCount();
}

QVariant TVtGridModel::data(const QModelIndex &idx, int role) const
{
    if (!idx.isValid() || !m_collection)
        return QVariant();
    if (role == Qt::ForegroundRole || role == Qt::BackgroundRole) {
        if (!OnRowColors)
            return QVariant();
        QColor text, background;
        OnRowColors(idx.row(), text, background);
        const QColor &c = role == Qt::ForegroundRole ? text : background;
        return c.isValid() ? QVariant(c) : QVariant();
    }
    const int fi = FieldIndex(idx.column());
    if (fi < 0)
        return QVariant();
    return m_collection->data(m_collection->index(idx.row(), fi), role);
}

QVariant TVtGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    if (!m_columns.isEmpty()) {
        if (section < 0 || section >= m_columns.size())
            return QVariant();
        if (!m_columns[section].Title.isEmpty())
            return m_columns[section].Title;
        TVtField *f = m_collection ? m_collection->FindField(m_columns[section].FieldName) : nullptr;
        return f ? f->Title() : m_columns[section].FieldName;
    }
    return m_autoTitles.value(section);
}

bool TVtGridModel::canFetchMore(const QModelIndex &parent) const
{
    return m_collection && m_collection->canFetchMore(parent);
}

void TVtGridModel::fetchMore(const QModelIndex &parent)
{
    if (m_collection)
        m_collection->fetchMore(parent);
}

#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>
#include <QVector>
#include <functional>

class TVtQueryCollection;

// One declared column of a grid: the field by name, its title and width.
struct TVtGridColumn
{
    QString FieldName;
    QString Title;     // the field's title when empty
    int Width = 0;     // pixels; 0 leaves the view's default
};

// The columns of a grid over a collection: the rows are the collection's
// visible rows, in the same order; the columns are the declared ones (all
// the collection's visible fields when none is declared).
class TVtGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Colours of a row (by collection row); leave a colour invalid for the default.
    using TRowColors = std::function<void(int dataSetRow, QColor &text, QColor &background)>;

    explicit TVtGridModel(QObject *parent = nullptr);

    TVtQueryCollection *Collection() const { return m_collection; }
    void SetCollection(TVtQueryCollection *collection);

    void AddColumn(const TVtGridColumn &column);
    void ClearColumns();
    const QVector<TVtGridColumn> &Columns() const { return m_columns; }
    // Column of the grid showing a field, -1 when not shown.
    int ColumnOfField(const QString &fieldName) const;
    // The collection field index behind a grid column (-1 when the field is missing).
    int FieldIndex(int column) const;

    TRowColors OnRowColors;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    void MapColumns();
    int ShownCount() const;

    QPointer<TVtQueryCollection> m_collection;
    QVector<TVtGridColumn> m_columns;
    QVector<int> m_fieldIndex;      // per shown column
    QStringList m_autoTitles;       // titles when no column is declared
    QList<QMetaObject::Connection> m_connections;
};

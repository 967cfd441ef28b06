#pragma once
#include "VtGridModel.h"

#include <QPointer>
#include <QTableView>
#include <functional>

class QPainter;

class QSortFilterProxyModel;
class TVtDataSource;
class TVtField;

// Read-only grid over the collection of a data source: declared columns,
// optional sorting by header click, and the selection kept on the
// collection's current row both ways. With sorting on, view rows differ from
// collection rows: DataSetRow/ViewRow translate, and everything that edits
// or deletes goes through the collection's current row, never the view row.
class TVtDBGrid : public QTableView
{
    Q_OBJECT
public:
    explicit TVtDBGrid(QWidget *parent = nullptr);

    TVtDataSource *DataSource() const { return m_source; }
    void SetDataSource(TVtDataSource *source);

    void AddColumn(const QString &fieldName, const QString &title, int width = 0);
    void ClearColumns();
    const QVector<TVtGridColumn> &Columns() const { return m_model->Columns(); }
    TVtGridModel *GridModel() const { return m_model; }
    QSortFilterProxyModel *SortModel() const { return m_proxy; }

    bool Sortable() const { return isSortingEnabled(); }
    void SetSortable(bool on);
    // Sorts by a declared column (as a header click does).
    void SortByColumn(int column, Qt::SortOrder order = Qt::AscendingOrder);

    // Collection row of a view row and back (-1 when out of range).
    int DataSetRow(int viewRow) const;
    int ViewRow(int dataSetRow) const;
    // Makes a view row current (as a click does); false when the collection refused to move.
    bool SelectViewRow(int viewRow);

    TVtGridModel::TRowColors &OnRowColors() { return m_model->OnRowColors; }

    // Draws a column's cells instead of their text: the cell's background
    // and selection as usual, then the painter, given the cell's rectangle
    // and its collection row.
    using TCellPainter = std::function<void(QPainter *painter, const QRect &cell, int dataSetRow)>;
    void SetCellPainter(int column, TCellPainter painter);

signals:
    // Double click or Enter on a row (collection row).
    void RowActivated(int dataSetRow);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FollowDataSet();
    void ViewRowChanged(const QModelIndex &current);
    void ApplyWidths();

    QPointer<TVtDataSource> m_source;
    TVtGridModel *m_model;
    QSortFilterProxyModel *m_proxy;
    bool m_syncing = false;
    QList<QMetaObject::Connection> m_connections;
};

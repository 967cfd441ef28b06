#pragma once
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <optional>

class TVtSQLConnection;

// Rows of one table written a block at a time: an EXECUTE BLOCK of up to
// BlockRows() inserts whose values are bound by position, prepared once
// per transaction. Thousands of rows cost a few hundred statements instead
// of one each. Run it inside a transaction: a failure raises
// EVtDatabaseError, and the rows held or written so far go with the
// caller's rollback.
class TVtBatchInsert
{
public:
    struct TColumn
    {
        QString Name;
        QString Type;   // the column's type as the block declares it: "INTEGER", "VARCHAR(70)", ...
    };

    TVtBatchInsert(const QString &table, const QList<TColumn> &columns, TVtSQLConnection *connection = nullptr);

    // A row, its values in the order of the columns; a full block is written.
    void Add(const QVariantList &values);
    // Writes the rows still held.
    void Flush();
    int BlockRows() const { return m_blockRows; }
    int Written() const { return m_written; }

private:
    QString BlockSql(int rows) const;
    QSqlQuery &Statement(int rows);

    TVtSQLConnection *m_connection;
    QString m_table;
    QList<TColumn> m_columns;
    int m_blockRows = 1;
    int m_written = 0;
    QVariantList m_held;
    std::optional<QSqlQuery> m_own;
};

#include "VtBatchInsert.h"
#include "VtDatabaseError.h"
#include "VtException.h"
#include "VtLockWatch.h"
#include "VtSQLConnection.h"

#include <QRegularExpression>
#include <QSqlError>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// What the engine takes in one request: fewer than 256 table contexts,
// 64 KB of statement text, and a parameter message kept well inside 64 KB.
// Past some fifty rows a block saves no more time, and each block size
// prepared keeps its compiled request in the engine's memory.
constexpr int MaxRows = 50;
constexpr int MaxText = 60000;
constexpr int MaxMessage = 48000;

// Bytes of a value of the type in the parameter message (UTF-8 texts four
// bytes a character, with their length).
int MessageBytes(const QString &type)
{
    static const QRegularExpression text(u"^\\s*(VAR)?CHAR\\s*\\(\\s*(\\d+)\\s*\\)"_s, QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = text.match(type);
    return m.hasMatch() ? 4 * m.captured(2).toInt() + 2 : 8;
}

QString Param(int row, int column)
{
    return u"P%1_%2"_s.arg(row).arg(column);
}

} // namespace

TVtBatchInsert::TVtBatchInsert(const QString &table, const QList<TColumn> &columns, TVtSQLConnection *connection)
    : m_connection(connection ? connection : qqoVtGlobConn), m_table(table), m_columns(columns)
{
    if (!m_connection || !m_connection->Connected())
        throw EVtException(u"Connessione al database non attiva."_s);
    int bytes = 0;
    for (const TColumn &c : columns)
        bytes += MessageBytes(c.Type);
    const int text = int(BlockSql(1).size());
    m_blockRows = std::max(1, std::min({MaxRows, MaxText / std::max(1, text), MaxMessage / std::max(1, bytes)}));
}

// EXECUTE BLOCK (P0_0 INTEGER = ?, ...) AS BEGIN INSERT INTO T (A, ...)
// VALUES (: P0_0, ...); ... END. The blank after each colon keeps the
// variables out of the driver's own placeholder parsing.
QString TVtBatchInsert::BlockSql(int rows) const
{
    QStringList params, names;
    for (const TColumn &c : m_columns)
        names << c.Name;
    QString body;
    for (int r = 0; r < rows; ++r) {
        QStringList values;
        for (int c = 0; c < m_columns.size(); ++c) {
            params << Param(r, c) + u' ' + m_columns[c].Type + u" = ?"_s;
            values << u": "_s + Param(r, c);
        }
        body += u"INSERT INTO %1 (%2) VALUES (%3);\n"_s.arg(m_table, names.join(u", "_s), values.join(u", "_s));
    }
    return u"EXECUTE BLOCK (%1) AS BEGIN\n%2END"_s.arg(params.join(u", "_s), body);
}

QSqlQuery &TVtBatchInsert::Statement(int rows)
{
    const QString sql = BlockSql(rows);
    if (QSqlQuery *shared = m_connection->TransactionStatement(sql))
        return *shared;
    m_own.emplace(m_connection->Database());
    if (!m_own->prepare(sql))
        throw EVtDatabaseError(TVtEngineError::FromSqlError(m_own->lastError()));
    return *m_own;
}

void TVtBatchInsert::Add(const QVariantList &values)
{
    if (values.size() != m_columns.size())
        throw EVtException(u"Riga di %1 con %2 valori invece di %3."_s.arg(m_table).arg(values.size()).arg(m_columns.size()));
    m_held += values;
    if (m_held.size() == m_blockRows * m_columns.size())
        Flush();
}

void TVtBatchInsert::Flush()
{
    const int rows = int(m_held.size() / qMax(1, int(m_columns.size())));
    if (rows == 0)
        return;
    QSqlQuery &q = Statement(rows);
    for (int i = 0; i < m_held.size(); ++i)
        q.bindValue(i, m_held[i]);
    TVtLockWatch watch(q);
    const bool ok = q.exec();
    const bool tooLong = watch.Stop();
    m_held.clear();
    if (!ok) {
        TVtEngineError error = TVtEngineError::FromSqlError(q.lastError());
        if (tooLong)
            error.Kind = TVtEngineError::ekLockConflict;
        throw EVtDatabaseError(error);
    }
    m_written += rows;
    TVtSQLConnection::NotifyStatement(u"EXECUTE BLOCK INSERT INTO "_s + m_table);
}

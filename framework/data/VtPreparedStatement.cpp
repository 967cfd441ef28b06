#include "VtPreparedStatement.h"
#include "VtDatabaseError.h"
#include "VtException.h"
#include "VtLockWatch.h"
#include "VtSQLConnection.h"
#include "VtSqlText.h"

#include <QHash>
#include <QMutex>
#include <QSqlError>

using namespace Qt::StringLiterals;

namespace {
// Texts are parsed once per process: the same few statements run many times.
TVtParsedSql Parsed(const QString &sql)
{
    static QMutex lock;
    static QHash<QString, TVtParsedSql> parsedTexts;
    QMutexLocker guard(&lock);
    auto parsed = parsedTexts.find(sql);
    if (parsed == parsedTexts.end()) {
        TVtParsedSql p = VtParseNamedParams(sql);
        for (QString &name : p.Names)
            name = name.toUpper();
        parsed = parsedTexts.insert(sql, p);
    }
    return *parsed;
}
}

TVtPreparedStatement::TVtPreparedStatement(const QString &sql, TVtSQLConnection *connection)
    : m_sql(sql), m_write(!sql.trimmed().startsWith(u"SELECT"_s, Qt::CaseInsensitive))
{
    TVtSQLConnection *conn = connection ? connection : qqoVtGlobConn;
    if (!conn || !conn->Connected())
        throw EVtException(u"Connessione al database non attiva."_s);
    const TVtParsedSql parsed = Parsed(sql);
    m_names = parsed.Names;
    m_query = conn->TransactionStatement(parsed.Sql);
    if (m_query)
        return;
    m_own.emplace(conn->Database());
    m_query = &*m_own;
    if (!m_query->prepare(parsed.Sql))
        throw EVtDatabaseError(TVtEngineError::FromSqlError(m_query->lastError()));
}

void TVtPreparedStatement::Exec(const QVariantMap &values)
{
    QVariantMap upper;
    for (auto it = values.begin(); it != values.end(); ++it)
        upper.insert(it.key().toUpper(), it.value());
    for (int i = 0; i < m_names.size(); ++i)
        m_query->bindValue(i, upper.value(m_names[i]));
    std::optional<TVtLockWatch> watch;
    if (m_write)
        watch.emplace(*m_query);
    const bool ok = m_query->exec();
    const bool tooLong = watch && watch->Stop();
    if (ok) {
        TVtSQLConnection::NotifyStatement(m_sql);
        return;
    }
    TVtEngineError error = TVtEngineError::FromSqlError(m_query->lastError());
    if (tooLong)
        error.Kind = TVtEngineError::ekLockConflict;
    throw EVtDatabaseError(error);
}

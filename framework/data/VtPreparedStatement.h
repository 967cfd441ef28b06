#pragma once
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <optional>

class TVtSQLConnection;

// A statement prepared once per transaction and run many times with values
// by name (matched without regard to case): a batch in one transaction
// prepares each statement once. Outside a transaction it is prepared for
// this use only. Reads do not wait for other users' rows; writes are watched
// for locks held too long. Failures raise EVtDatabaseError.
class TVtPreparedStatement
{
public:
    explicit TVtPreparedStatement(const QString &sql, TVtSQLConnection *connection = nullptr);

    // Runs it with the values of its parameters; one that is missing binds null.
    void Exec(const QVariantMap &values);
    QSqlQuery &Query() { return *m_query; }
    // Rows the last write touched.
    int RowsAffected() const { return m_query->numRowsAffected(); }
    // The parameter names of the text, upper case, in order of appearance.
    const QStringList &Names() const { return m_names; }
    bool HasParam(const QString &name) const { return m_names.contains(name.toUpper()); }

private:
    std::optional<QSqlQuery> m_own;
    QSqlQuery *m_query = nullptr;
    QString m_sql;
    QStringList m_names;
    bool m_write;
};

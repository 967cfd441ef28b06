#include "VtSqlText.h"
#include "VtSQLConnection.h"
#include "VtDatabaseError.h"
#include "VtLockWatch.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>

namespace {
bool IsNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool IsNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

// Length of a quoted text or comment starting at i, or 0 when none starts there.
int SkipLiteral(const QString &s, int i)
{
    const int n = s.size();
    const QChar c = s[i];
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        int j = i + 1;
        while (j < n) {
            if (s[j] == c) {
                if (j + 1 < n && s[j + 1] == c) { j += 2; continue; }
                return j + 1 - i;
            }
            ++j;
        }
        return n - i;
    }
    if (c == QLatin1Char('-') && i + 1 < n && s[i + 1] == QLatin1Char('-')) {
        int j = s.indexOf(QLatin1Char('\n'), i);
        return (j < 0 ? n : j + 1) - i;
    }
    if (c == QLatin1Char('/') && i + 1 < n && s[i + 1] == QLatin1Char('*')) {
        int j = s.indexOf(QStringLiteral("*/"), i + 2);
        return (j < 0 ? n : j + 2) - i;
    }
    return 0;
}
}

TVtParsedSql VtParseNamedParams(const QString &sql)
{
    TVtParsedSql r;
    r.Sql.reserve(sql.size());
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        if (int len = SkipLiteral(sql, i)) {
            r.Sql += sql.mid(i, len);
            i += len;
            continue;
        }
        if (sql[i] == QLatin1Char(':') && i + 1 < n && IsNameStart(sql[i + 1])
            && (i == 0 || !IsNameChar(sql[i - 1]))) {
            int j = i + 1;
            while (j < n && IsNameChar(sql[j]))
                ++j;
            r.Names << sql.mid(i + 1, j - i - 1);
            r.Sql += QLatin1Char('?');
            i = j;
            continue;
        }
        r.Sql += sql[i];
        ++i;
    }
    return r;
}

namespace {
// Statements that may wait for a row another transaction holds.
bool MayWaitForLock(const QString &sql)
{
    static const QRegularExpression write(QStringLiteral("^\\s*(INSERT|UPDATE|DELETE|MERGE|EXECUTE)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    return write.match(sql).hasMatch();
}

// A text too long for its column: the engine does not say which one, the
// column of the same name as the parameter that is longer than its length.
void NameTooLongColumn(const QSqlQuery &query, const QString &sql, const QStringList &names,
                       const QList<QVariant> &values, TVtEngineError &error)
{
    const QString table = VtStatementTable(sql);
    if (table.isEmpty())
        return;
    QSqlQuery lengths(query.driver()->createResult());
    lengths.setForwardOnly(true);
    lengths.prepare(QStringLiteral("SELECT TRIM(RF.RDB$FIELD_NAME), F.RDB$CHARACTER_LENGTH FROM RDB$RELATION_FIELDS RF "
                                   "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
                                   "WHERE RF.RDB$RELATION_NAME = ? AND F.RDB$CHARACTER_LENGTH IS NOT NULL"));
    lengths.addBindValue(table);
    if (!lengths.exec())
        return;
    while (lengths.next()) {
        const QString column = lengths.value(0).toString();
        const int limit = lengths.value(1).toInt();
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(column, Qt::CaseInsensitive) == 0 && values[i].typeId() == QMetaType::QString
                && values[i].toString().size() > limit) {
                error.Kind = TVtEngineError::ekTooLong;
                error.Subject = column;
                error.Limit = limit;
                return;
            }
    }
}
}

void VtExecSql(QSqlQuery &query, const QString &sql, const TVtParamLookup &lookup)
{
    const TVtParsedSql parsed = VtParseNamedParams(sql);
    if (!query.prepare(parsed.Sql))
        throw EVtDatabaseError(TVtEngineError::FromSqlError(query.lastError()));
    QList<QVariant> values;
    for (int i = 0; i < parsed.Names.size(); ++i) {
        QVariant value;
        if (!lookup || !lookup(parsed.Names[i], value))
            throw EVtException(QStringLiteral("Parametro '%1' senza valore.").arg(parsed.Names[i]));
        query.bindValue(i, value);
        values << value;
    }
    TVtLockWatch watch(query, MayWaitForLock(parsed.Sql));
    if (query.exec()) {
        watch.Stop();
        TVtSQLConnection::NotifyStatement(sql);
        return;
    }
    TVtEngineError error = TVtEngineError::FromSqlError(query.lastError());
    if (watch.Stop())
        error.Kind = TVtEngineError::ekLockConflict;
    if (error.Kind == TVtEngineError::ekOverflow)
        NameTooLongColumn(query, sql, parsed.Names, values, error);
    throw EVtDatabaseError(error);
}

QStringList VtSplitScript(const QString &script)
{
    QStringList statements;
    QString term = QStringLiteral(";");
    QString current;
    const int n = script.size();
    int i = 0;
    auto flush = [&]() {
        const QString st = current.trimmed();
        if (!st.isEmpty())
            statements << st;
        current.clear();
    };
    while (i < n) {
        if (int len = SkipLiteral(script, i)) {
            const QChar c = script[i];
            // Comments outside a statement are dropped; inside, kept as they are.
            if ((c == QLatin1Char('-') || c == QLatin1Char('/')) && current.trimmed().isEmpty())
                ;
            else
                current += script.mid(i, len);
            i += len;
            continue;
        }
        if (script.mid(i, term.size()) == term) {
            const int consumed = term.size();
            const QString st = current.trimmed();
            if (st.startsWith(QStringLiteral("SET TERM"), Qt::CaseInsensitive)) {
                term = st.mid(8).trimmed();
                current.clear();
            } else {
                flush();
            }
            i += consumed;
            continue;
        }
        current += script[i];
        ++i;
    }
    flush();
    return statements;
}

QString VtStatementTable(const QString &sql)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(?:INSERT\\s+INTO|UPDATE\\s+OR\\s+INSERT\\s+INTO|UPDATE|DELETE\\s+FROM|MERGE\\s+INTO|"
                       "EXECUTE\\s+PROCEDURE)\\s+(\"[^\"]+\"|[A-Za-z_][A-Za-z0-9_$]*)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(sql);
    if (!m.hasMatch())
        return QString();
    const QString name = m.captured(1);
    return name.startsWith(QLatin1Char('"')) ? name.mid(1, name.size() - 2) : name.toUpper();
}

#pragma once
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

// Named parameters (":name") turned into positional ones, so that the same
// name may repeat and names match without regard to case.
struct TVtParsedSql
{
    QString Sql;          // text with "?" in place of each parameter
    QStringList Names;    // parameter names in order of appearance, as written
};

TVtParsedSql VtParseNamedParams(const QString &sql);

// Finds the value of a parameter by name; false when unknown.
using TVtParamLookup = std::function<bool(const QString &name, QVariant &value)>;

// Prepares and runs a statement on the query's connection, binding each
// parameter through the lookup. Throws EVtException when a parameter has no
// value source or the database reports an error.
void VtExecSql(QSqlQuery &query, const QString &sql, const TVtParamLookup &lookup);

// The table a write statement writes: INSERT INTO, UPDATE (OR INSERT INTO),
// DELETE FROM or MERGE INTO; the procedure for EXECUTE PROCEDURE; empty for
// anything else. Upper case, as the catalogue names it.
QString VtStatementTable(const QString &sql);

// Splits a script in the isql dialect into statements: "--" and "/* */"
// comments, quoted texts, "SET TERM" terminators.
QStringList VtSplitScript(const QString &script);

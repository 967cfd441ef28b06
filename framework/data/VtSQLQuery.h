#pragma once
#include "VtParams.h"

#include <QObject>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <memory>

class QSqlQuery;
class TVtSQLConnection;

// A plain query on the program's connection for one-off reads and writes:
// set SQL and the parameter values, Open, read the fields, Close. Values bind
// by name; a failure raises EVtException with the database's text.
class TSQLQuery : public QObject
{
    Q_OBJECT
public:
    explicit TSQLQuery(QObject *parent = nullptr);
    ~TSQLQuery() override;

    TVtSQLConnection *SQLConnection = nullptr;   // the global connection when null
    QString SQL;
    TVtParams &Params() { return m_params; }

    // Runs the select and stands on its first row.
    void Open();
    void Close();
    bool Active() const { return m_active; }
    bool Eof() const { return m_eof; }
    bool IsEmpty() const { return m_active && m_empty; }
    void Next();
    // Value of a column of the current row (case-insensitive); throws when absent.
    QVariant FieldByName(const QString &name) const;
    QVariant Fields(int i) const;
    int FieldCount() const;
    // Name of a column, as the database gives it.
    QString FieldName(int i) const;
    // Runs a statement that returns no rows, inside the running transaction
    // scope or in one of its own; the number of rows it touched.
    int ExecSQL();

private:
    TVtSQLConnection *Conn() const;
    void Prepare();

    TVtParams m_params;
    std::unique_ptr<QSqlQuery> m_query;
    QSqlRecord m_record;
    bool m_active = false;
    bool m_eof = true;
    bool m_empty = true;
};

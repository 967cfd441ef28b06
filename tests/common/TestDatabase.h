#pragma once
#include "VtConnectionSettings.h"
#include "VtSQLConnection.h"

#include <QDir>
#include <QString>
#include <QVariant>
#include <memory>

// A fresh embedded database for one test executable, built by the same
// scripts the program uses, opened as the global connection.
class TTestDatabase
{
public:
    enum Content { SchemaOnly, Demo };

    // Folder for the test's files (VARDELLA_TEST_TMP, emptied first).
    static QString WorkDir();
    // Creates (once per content kind and executable) and opens the database.
    explicit TTestDatabase(Content content = SchemaOnly);
    ~TTestDatabase();

    TVtSQLConnection *Connection() const { return m_conn.get(); }
    TVtConnectionSettings Settings() const { return m_settings; }
    // Runs a statement (DDL autocommits); fails the test on error.
    static void Exec(const QString &sql);
    // First column of the first row of a select with positional values.
    static QVariant Scalar(const QString &sql, const QVariantList &values = {});
    // First column of every row of a select, in the order the database gives.
    static QVariantList Column(const QString &sql, const QVariantList &values = {});

private:
    TVtConnectionSettings m_settings;
    std::unique_ptr<TVtSQLConnection> m_conn;
};

#pragma once
#include "VtConnectionSettings.h"
#include "VtSQLConnection.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

// The database of a test executable. The file is built once, by the same
// scripts the program uses plus the test's own setup, and every test
// function then works on a fresh copy of it (Fresh, called from init()), so
// what one test writes or leaves behind never reaches the next.
class TTestDatabase
{
public:
    enum Content { SchemaOnly, Demo };
    using Setup = std::function<void()>;

    // Folder for the test's files (VARDELLA_TEST_TMP, emptied first).
    static QString WorkDir();
    // The Firebird server the databases are opened through (host[/port],
    // from VARDELLA_TEST_SERVER); empty: the embedded engine.
    static QString Server();
    // Settings that open a file of this machine, through the server when
    // there is one (user and password from VARDELLA_TEST_USER and
    // VARDELLA_TEST_PASSWORD).
    static TVtConnectionSettings SettingsFor(const QString &file);
    // Builds the template (scripts, then setup run on it as the global
    // connection) and opens a first copy of it as the global connection.
    explicit TTestDatabase(Content content = SchemaOnly, const Setup &setup = {});
    ~TTestDatabase();

    // Closes the copy in use, removes its file, opens a new copy of the
    // template on the same connection object and returns its settings.
    TVtConnectionSettings Fresh();

    TVtSQLConnection *Connection() const { return m_conn.get(); }
    // Settings of the copy in use.
    TVtConnectionSettings Settings() const { return m_settings; }
    // Path of the template file (never opened by the tests themselves).
    QString TemplatePath() const { return m_template; }
    // A copy of the template at the path, set read-only by the engine's
    // own tool (gfix); false when that fails.
    bool ReadOnlyCopy(const QString &path) const;

    // Runs a statement (DDL autocommits); fails the test on error.
    static void Exec(const QString &sql);
    // First column of the first row of a select with positional values.
    static QVariant Scalar(const QString &sql, const QVariantList &values = {});
    // First column of every row of a select, in the order the database gives.
    static QVariantList Column(const QString &sql, const QVariantList &values = {});

    // Runs the engine's gfix tool on a file of this machine; false when it fails.
    static bool RunGfix(const QStringList &args, const QString &path);

    // A demo database as an office that has not updated yet holds it: the
    // schema, the demo and the upgrade scripts numbered below the revision,
    // created anew as the file of the work folder; its settings.
    static bool CreateAtRevision(const QString &fileName, int revision, TVtConnectionSettings *settings,
                                 QString *error);
    // Takes the database to the shipped revision, as the program does when
    // it opens it.
    static bool UpgradeToShipped(const TVtConnectionSettings &settings, QString *error);
    // Makes a connection the global one while it lives; the previous one
    // comes back after.
    struct TGlobalConnection
    {
        explicit TGlobalConnection(TVtSQLConnection *conn) { qqoVtGlobConn = conn; }
        ~TGlobalConnection() { qqoVtGlobConn = Previous; }
        TVtSQLConnection *Previous = qqoVtGlobConn;
    };

private:
    void OpenCopy();
    QString m_template;
    TVtConnectionSettings m_settings;
    std::unique_ptr<TVtSQLConnection> m_conn;
};

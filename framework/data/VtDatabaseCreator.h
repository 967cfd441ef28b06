#pragma once
#include "VtConnectionSettings.h"

#include <QSqlDatabase>
#include <QStringList>
#include <functional>

// Creates a database file and applies SQL scripts to it. An embedded file is
// built under a temporary name and renamed only when every script ran; one on
// a server is dropped when creation fails. Either way a failed creation
// leaves nothing behind, and a retry starts clean.
class TVtDatabaseCreator
{
public:
    using TProgress = std::function<void(const QString &script, int index, int count)>;

    // Scripts (resource or file paths) applied in order.
    QStringList Scripts;
    // Upgrade scripts applied after Scripts, each recorded in TVT_SCHEMAREV,
    // so a new database has the revision an upgraded one reaches.
    QStringList UpgradeScripts;
    // Version row written last.
    QString SchemaVersion;
    TProgress OnProgress;
    // Told after every statement of every script: how many ran, of how many.
    using TSteps = std::function<void(int done, int total)>;
    TSteps OnStep;

    bool Create(const TVtConnectionSettings &settings, QString *error);

    // Runs one script on an open database: DDL statements commit one by one,
    // the others run in one transaction up to the next COMMIT or DDL.
    static void RunScript(QSqlDatabase &db, const QString &text, const QString &scriptName,
                          const std::function<void()> &afterStatement = {});

    // CREATE DATABASE through the client library.
    static bool CreateEmptyFile(const TVtConnectionSettings &settings, const QString &path, QString *error);

    // The role office users are given: every table, view, procedure,
    // function, generator and exception of the database is granted to it.
    static constexpr const char *ProgramRole = "VARDELLA";
    static void GrantProgramRole(QSqlDatabase &db);
    // Drops a database (the file on the settings' server, or an embedded
    // file); false when it cannot be attached or dropped.
    static bool DropDatabase(const TVtConnectionSettings &settings, const QString &path);

private:
    static bool HalfBuilt(const TVtConnectionSettings &settings);
};

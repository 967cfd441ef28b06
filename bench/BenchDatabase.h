#pragma once
#include "DbScripts.h"
#include "VtConnectionSettings.h"
#include "VtDatabaseCreator.h"
#include "VtSQLConnection.h"

#include <QString>
#include <cstdio>

enum class TBenchSchool { Empty, Demo };

// A new database of the program in the embedded file: the schema, the demo
// school when asked, the upgrades. False with the reason on the standard error.
inline bool BenchCreateDatabase(const QString &path, TBenchSchool school)
{
    TVtConnectionSettings settings;
    settings.Database = path;
    TVtDatabaseCreator creator;
    creator.Scripts = DbScripts::SchemaScripts();
    if (school == TBenchSchool::Demo)
        creator.Scripts += DbScripts::DemoScripts();
    creator.UpgradeScripts = DbScripts::UpgradeScripts();
    creator.SchemaVersion = QString::fromLatin1(VtSchemaVersion);
    QString error;
    if (!creator.Create(settings, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    return true;
}

// Opens the embedded file; false with the reason on the standard error.
inline bool BenchOpen(TVtSQLConnection &conn, const QString &path)
{
    TVtConnectionSettings settings;
    settings.Database = path;
    QString error;
    if (!conn.Open(settings, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    return true;
}

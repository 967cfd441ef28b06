#pragma once
#include "VtConnectionSettings.h"

#include <QSqlDatabase>
#include <QStringList>

// Brings an older Vardella database up to the schema revision of the program.
// The revision is the number of the last upgrade script applied, recorded in
// TVT_SCHEMAREV (one row per script); a database without that table is at
// revision 0. Scripts are named NNN_name.sql and applied once each, in order.
// Before an embedded file is upgraded a copy is made beside it
// (<file>.rev<old revision>.bak, never overwriting an earlier one) while no
// connection of the upgrader holds it; on failure that copy is put back.
class TVtSchemaUpgrader
{
public:
    QStringList Scripts;          // upgrade scripts, resource or file paths
    QString SchemaVersion;        // the compatibility version the scripts apply to
    QString BackupPath;           // copy made by the last Upgrade, empty when none

    // Number of a script from its file name ("001_revisione.sql" gives 1).
    static int ScriptNumber(const QString &path);
    // Highest revision the scripts reach.
    int KnownRevision() const;
    // Revision recorded in an open database.
    static int ReadRevision(const QSqlDatabase &db);
    // Records a script as applied.
    static void RecordScript(QSqlDatabase &db, const QString &path);

    // Applies the missing scripts. A database that is not Vardella's or of
    // another version is left alone (the connection refuses it). False with
    // an Italian message when the database is newer than the program or an
    // upgrade failed; the database is then as it was.
    bool Upgrade(const TVtConnectionSettings &settings, QString *error);
};

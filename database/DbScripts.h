#pragma once
#include <QStringList>

// The SQL scripts built into the program, in the order they are applied.
namespace DbScripts {
// Scripts that create the schema (tables, views, procedures, version row).
QStringList SchemaScripts();
// Numbered upgrade scripts (upgrade/NNN_name.sql), applied after the schema
// scripts to a new database and, once each, to an older one on opening.
QStringList UpgradeScripts();
// Scripts that fill the demo school.
QStringList DemoScripts();
// Text of one script given by its resource path.
QString ScriptText(const QString &path);
}

#pragma once
#include <QString>
#include <QStringList>

// Folders of the program.
//
// The installation's main folder is the one above the program's folder, or
// the one named by VARDELLA_HOME; its etc/ holds what the program only reads
// and its usr/ what it ships to be written: the embedded database, saved
// filters, export settings, prints.
//
// Where the program writes (DataDir) depends on how it was installed:
//  - a build folder, or the folder named by VARDELLA_HOME: the installation's
//    own usr/, as always;
//  - an installed program (its etc/Vardella.ini says [Percorsi] DatiUtente=1,
//    as the installation writes it), without VARDELLA_HOME: the user's data
//    folder ~/.local/share/Vardella, which takes the place of usr/ and gets
//    the shipped usr/ files on first start.
namespace VtPaths {
QString HomeDir();
QString EtcDir();
// The installation's own usr/: in an installed program the shipped
// defaults, read-only.
QString UsrDir();
// A path under the installation's main folder, built from its parts.
QString HomePath(const QStringList &parts);

// True when the program writes in the user's data folder.
bool UsesUserDataDir();
// The folder the program writes in (see above).
QString DataDir();
// A path under the folder the program writes in, built from its parts.
QString DataPath(const QStringList &parts);
// A path relative to the installation folder, as the connection settings
// write it ("usr/vardella.fdb"): under the installation folder, or, when the
// program writes in the user's data folder, under that folder, usr/
// standing for the folder itself.
QString ResolveRelative(const QString &relative);
// For an installed program: creates the user's data folder and copies into
// it the shipped usr/ files it lacks, never overwriting the user's own files.
// Nothing to do otherwise. False, with the reason, when the folder cannot be
// made or a file cannot be copied.
bool PrepareDataDir(QString *error = nullptr);
}

#pragma once
#include <QString>

// Folders of the installation: the main folder is the one above the
// program's folder, or the one named by VARDELLA_HOME.
namespace VtPaths {
QString HomeDir();
QString EtcDir();
QString UsrDir();
// A path under the installation's main folder, built from its parts.
QString HomePath(const QStringList &parts);
}

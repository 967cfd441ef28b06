#include "VtPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace VtPaths {
QString HomeDir()
{
    const QString env = qEnvironmentVariable("VARDELLA_HOME");
    if (!env.isEmpty())
        return QDir(env).absolutePath();
    QDir dir(QCoreApplication::applicationDirPath());
    dir.cdUp();
    return dir.absolutePath();
}

QString HomePath(const QStringList &parts)
{
    QDir dir(HomeDir());
    QString path = dir.absolutePath();
    for (const QString &p : parts)
        path = QDir(path).filePath(p);
    return QDir::cleanPath(path);
}

QString EtcDir() { return HomePath({QStringLiteral("etc")}); }
QString UsrDir() { return HomePath({QStringLiteral("usr")}); }
}

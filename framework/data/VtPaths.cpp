#include "VtPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString JoinParts(const QString &base, const QStringList &parts)
{
    QString path = base;
    for (const QString &p : parts)
        path = QDir(path).filePath(p);
    return QDir::cleanPath(path);
}
}

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
    return JoinParts(QDir(HomeDir()).absolutePath(), parts);
}

QString EtcDir() { return HomePath({QStringLiteral("etc")}); }
QString UsrDir() { return HomePath({QStringLiteral("usr")}); }

bool UsesUserDataDir()
{
    if (!qEnvironmentVariable("VARDELLA_HOME").isEmpty())
        return false;
    const QString ini = QDir(EtcDir()).filePath(QStringLiteral("Vardella.ini"));
    if (!QFileInfo(ini).isFile())
        return false;
    return QSettings(ini, QSettings::IniFormat).value(QStringLiteral("Percorsi/DatiUtente")).toInt() == 1;
}

QString DataDir()
{
    if (!UsesUserDataDir())
        return UsrDir();
    // ~/.local/share/Vardella whatever the running program's name.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::cleanPath(QDir(data).filePath(QStringLiteral("Vardella")));
}

QString DataPath(const QStringList &parts)
{
    return JoinParts(DataDir(), parts);
}

QString ResolveRelative(const QString &relative)
{
    if (!UsesUserDataDir())
        return QDir::cleanPath(QDir(HomeDir()).filePath(relative));
    QStringList parts = QDir::cleanPath(QDir::fromNativeSeparators(relative)).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.first() == QLatin1String("usr"))
        parts.removeFirst();
    return DataPath(parts);
}

bool PrepareDataDir(QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!UsesUserDataDir())
        return true;
    const QString data = DataDir();
    if (!QDir().mkpath(data))
        return fail(QStringLiteral("Impossibile creare la cartella dei dati %1.").arg(QDir::toNativeSeparators(data)));
    const QDir shipped(UsrDir());
    QDirIterator it(shipped.absolutePath(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo from(it.next());
        const QString to = QDir(data).filePath(shipped.relativeFilePath(from.absoluteFilePath()));
        if (from.isDir()) {
            if (!QDir().mkpath(to))
                return fail(QStringLiteral("Impossibile creare la cartella dei dati %1.").arg(QDir::toNativeSeparators(to)));
            continue;
        }
        if (QFileInfo::exists(to))
            continue;
        if (!QDir().mkpath(QFileInfo(to).absolutePath()) || !QFile::copy(from.absoluteFilePath(), to))
            return fail(QStringLiteral("Impossibile copiare %1 in %2.")
                            .arg(QDir::toNativeSeparators(from.absoluteFilePath()), QDir::toNativeSeparators(to)));
        // The copy is the user's to change, whatever the shipped file's rights.
        QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return true;
}
}

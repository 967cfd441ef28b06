#include "VtConnectionSettings.h"
#include "VtPaths.h"

#include <QDir>
#include <QRegularExpression>
#include <QSettings>

namespace {
// host:/path or host/port:path; a Windows drive letter ("C:\...") is a file.
const QRegularExpression &ServerPattern()
{
    static const QRegularExpression re(QStringLiteral("^([^:/\\\\]{2,})(?:/(\\d+))?:(.+)$"));
    return re;
}
}

QString TVtConnectionSettings::DefaultFileName()
{
    return QDir(VtPaths::EtcDir()).filePath(QStringLiteral("Vardella.ini"));
}

TVtConnectionSettings TVtConnectionSettings::Load(const QString &iniFile)
{
    TVtConnectionSettings s;
    QSettings ini(iniFile.isEmpty() ? DefaultFileName() : iniFile, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Database"));
    s.Database = ini.value(QStringLiteral("Database"), QStringLiteral("usr/vardella.fdb")).toString();
    s.User = ini.value(QStringLiteral("User"), s.User).toString();
    s.Password = ini.value(QStringLiteral("Password"), s.Password).toString();
    s.CharSet = ini.value(QStringLiteral("CharSet"), s.CharSet).toString();
    ini.endGroup();
    return s;
}

void TVtConnectionSettings::Save(const QString &iniFile) const
{
    QSettings ini(iniFile, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Database"));
    ini.setValue(QStringLiteral("Database"), Database);
    ini.setValue(QStringLiteral("User"), User);
    ini.setValue(QStringLiteral("Password"), Password);
    ini.setValue(QStringLiteral("CharSet"), CharSet);
    ini.endGroup();
    ini.sync();
}

bool TVtConnectionSettings::IsServer() const
{
    return ServerPattern().match(Database).hasMatch();
}

QString TVtConnectionSettings::Host() const
{
    const auto m = ServerPattern().match(Database);
    return m.hasMatch() ? m.captured(1) : QString();
}

int TVtConnectionSettings::Port() const
{
    const auto m = ServerPattern().match(Database);
    return m.hasMatch() && !m.captured(2).isEmpty() ? m.captured(2).toInt() : -1;
}

QString TVtConnectionSettings::FilePath() const
{
    const auto m = ServerPattern().match(Database);
    if (m.hasMatch())
        return m.captured(3);
    if (QDir::isAbsolutePath(Database))
        return QDir::cleanPath(Database);
    return QDir::cleanPath(QDir(VtPaths::HomeDir()).filePath(Database));
}

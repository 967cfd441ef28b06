#include "VtConnectionSettings.h"
#include "VtPaths.h"

#include <QDir>
#include <QFileInfo>
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

QString TVtConnectionSettings::DefaultDatabasePath()
{
    return VtPaths::DataPath({QStringLiteral("vardella.fdb")});
}

bool TVtConnectionSettings::KnownCharSet(const QString &name)
{
    static const QRegularExpression known(
        QStringLiteral("^(UTF8|UNICODE_FSS|NONE|ASCII|ISO8859_([1-9]|13|15)|WIN125[0-8]|DOS(437|850|852|858))$"),
        QRegularExpression::CaseInsensitiveOption);
    return known.match(name).hasMatch();
}

TVtConnectionSettings TVtConnectionSettings::Load(const QString &iniFile)
{
    TVtConnectionSettings s;
    const QString file = iniFile.isEmpty() ? DefaultFileName() : iniFile;
    const QString path = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    if (!QFileInfo(file).isFile()) {
        s.Problem = QStringLiteral("Il file delle impostazioni di connessione %1 non esiste: ripristinarlo o "
                                   "reinstallare il programma.").arg(path);
        return s;
    }
    QSettings ini(file, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError || !QFileInfo(file).isReadable()) {
        s.Problem = QStringLiteral("Il file delle impostazioni di connessione %1 non è leggibile o è danneggiato: "
                                   "controllarlo o ripristinarlo.").arg(path);
        return s;
    }
    ini.beginGroup(QStringLiteral("Database"));
    s.Database = ini.value(QStringLiteral("Database")).toString().trimmed();
    s.User = ini.value(QStringLiteral("User"), s.User).toString();
    s.Password = ini.value(QStringLiteral("Password"), s.Password).toString();
    s.CharSet = ini.value(QStringLiteral("CharSet"), s.CharSet).toString().trimmed();
    s.Role = ini.value(QStringLiteral("Role"), s.Role).toString().trimmed();
    const QString timeout = ini.value(QStringLiteral("LockTimeout"), QString::number(s.LockTimeout)).toString().trimmed();
    const QString rights = ini.value(QStringLiteral("UserRights"), QString::number(s.UserRights)).toString().trimmed();
    ini.endGroup();
    bool timeoutOk = false;
    s.LockTimeout = timeout.toInt(&timeoutOk);
    bool rightsOk = false;
    s.UserRights = rights.toInt(&rightsOk, 0);   // decimal, or hexadecimal as 0x3C0
    if (s.Database.isEmpty())
        s.Problem = QStringLiteral("Il file delle impostazioni di connessione %1 non indica il database: scrivere "
                                   "nella sezione [Database] la voce Database con il file o il server.").arg(path);
    else if (!s.IsServer() && QFileInfo(s.FilePath()).isDir())
        s.Problem = QStringLiteral("Nelle impostazioni di connessione %1 la voce Database indica la cartella %2 e non "
                                   "un file di database.").arg(path, QDir::toNativeSeparators(s.FilePath()));
    else if (!KnownCharSet(s.CharSet))
        s.Problem = QStringLiteral("Nelle impostazioni di connessione %1 il set di caratteri \"%2\" non è valido: "
                                   "usare UTF8.").arg(path, s.CharSet);
    else if (!timeoutOk || s.LockTimeout < 0)
        s.Problem = QStringLiteral("Nelle impostazioni di connessione %1 la voce LockTimeout deve essere un numero di "
                                   "secondi.").arg(path);
    else if (!rightsOk || s.UserRights < 0)
        s.Problem = QStringLiteral("Nelle impostazioni di connessione %1 la voce UserRights deve essere un numero.").arg(path);
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
    ini.setValue(QStringLiteral("LockTimeout"), LockTimeout);
    ini.setValue(QStringLiteral("Role"), Role);
    if (UserRights == AllUserRights)
        ini.remove(QStringLiteral("UserRights"));
    else
        ini.setValue(QStringLiteral("UserRights"), UserRights);
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
    return VtPaths::ResolveRelative(Database);
}

QString TVtConnectionSettings::Target() const
{
    if (!IsServer())
        return FilePath();
    return Host() + (Port() > 0 ? QStringLiteral("/%1").arg(Port()) : QString()) + QLatin1Char(':') + FilePath();
}

bool TVtConnectionSettings::NamesDefaultDatabase() const
{
    return !IsServer() && FilePath() == DefaultDatabasePath();
}

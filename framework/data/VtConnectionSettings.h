#pragma once
#include <QString>

// Where the database is and how to log in, read from etc/Vardella.ini.
//   [Database]
//   Database=usr/vardella.fdb     a file for the embedded engine (relative to the
//                                 installation), or host:/path, host/port:/path
//   User=SYSDBA
//   Password=masterkey
//   CharSet=UTF8
class TVtConnectionSettings
{
public:
    QString Database;   // as written in the settings
    QString User = QStringLiteral("SYSDBA");
    QString Password = QStringLiteral("masterkey");
    QString CharSet = QStringLiteral("UTF8");

    static QString DefaultFileName();          // etc/Vardella.ini
    static TVtConnectionSettings Load(const QString &iniFile = QString());
    void Save(const QString &iniFile) const;

    // Host, port and path split out of Database.
    bool IsServer() const;
    QString Host() const;
    int Port() const;                           // -1 when not given
    QString FilePath() const;                   // absolute for the embedded engine
};

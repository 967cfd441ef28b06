#pragma once
#include <QString>

// Where the database is and how to log in, read from etc/Vardella.ini.
//   [Database]
//   Database=usr/vardella.fdb     a file for the embedded engine (relative to the
//                                 installation; in an installed program usr/ is
//                                 the user's data folder), or host:/path,
//                                 host/port:/path
//   User=SYSDBA
//   Password=masterkey
//   CharSet=UTF8
//   LockTimeout=5                 seconds a save waits for a record in use
//   Role=VARDELLA                 the role the program's rights are granted to
//   UserRights=960                what the user may do, as bits (0x3C0 insert, edit,
//                                 trash, save); every right when absent
class TVtConnectionSettings
{
public:
    QString Database;   // as written in the settings
    QString User = QStringLiteral("SYSDBA");
    QString Password;
    QString CharSet = QStringLiteral("UTF8");
    int LockTimeout = 5;
    // The role the program works under: office users are granted it.
    QString Role = QStringLiteral("VARDELLA");
    static constexpr int AllUserRights = 0xFFFF;
    int UserRights = AllUserRights;
    // Why the settings cannot be used (a missing or unreadable file, no
    // database named, a folder for a file, an unknown character set); empty
    // when they can.
    QString Problem;

    static QString DefaultFileName();          // etc/Vardella.ini
    // The installation's own embedded file, the one the demo school may be
    // created in on first start: usr/vardella.fdb, or vardella.fdb in the
    // user's data folder for an installed program.
    static QString DefaultDatabasePath();
    static TVtConnectionSettings Load(const QString &iniFile = QString());
    void Save(const QString &iniFile) const;

    // Host, port and path split out of Database.
    bool IsServer() const;
    QString Host() const;
    int Port() const;                           // -1 when not given
    QString FilePath() const;                   // absolute for the embedded engine
    // The engine's name of the database: host[/port]:path, or the file.
    QString Target() const;
    bool NamesDefaultDatabase() const;

    static bool KnownCharSet(const QString &name);
};

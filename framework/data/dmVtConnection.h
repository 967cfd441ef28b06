#pragma once
#include "VtConnectionSettings.h"
#include "VtDatabaseCreator.h"
#include "VtSQLConnection.h"

#include <QObject>
#include <QStringList>

// Base of the data module that owns the program's connection.
class TdmVtConnection : public QObject
{
    Q_OBJECT
public:
    explicit TdmVtConnection(QObject *parent = nullptr);
    ~TdmVtConnection() override;

    TVtSQLConnection *xqoMain;

    // Settings read at creation from etc/Vardella.ini (or SettingsFile).
    TVtConnectionSettings Settings;
    // Scripts that build a new database when the embedded file is missing;
    // empty: no database is created.
    QStringList CreateScripts;
    // Upgrade scripts: applied to a new database after CreateScripts and to an
    // older one before it is opened.
    QStringList UpgradeScripts;

    // Told while a new database is built: statements run of the total, from
    // 0 as the building starts; done is -1 when it ends, well or not.
    TVtDatabaseCreator::TSteps OnCreateStep;
    // Called once a missing database has been built (before it is opened).
    std::function<void()> OnCreated;

    // Opens the connection and makes it the global one; false (after showing
    // the reason) when no connection is made. A missing database is built
    // from CreateScripts only when the settings name the installation's own
    // embedded file.
    bool OpenConnection();
    // Why the database of the settings cannot be opened before even trying:
    // empty when it can, or when it is to be created.
    QString MissingDatabaseProblem() const;
    void CloseConnection();
    QString LastError() const { return m_lastError; }

private:
    QString m_lastError;
};

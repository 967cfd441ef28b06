#include "dmVtConnection.h"
#include "VtDatabaseCreator.h"
#include "VtMessageDlg.h"
#include "VtSchemaUpgrader.h"

#include <QFileInfo>

TdmVtConnection::TdmVtConnection(QObject *parent)
    : QObject(parent), xqoMain(new TVtSQLConnection(this)), Settings(TVtConnectionSettings::Load())
{
}

TdmVtConnection::~TdmVtConnection()
{
    CloseConnection();
}

bool TdmVtConnection::OpenConnection()
{
    m_lastError.clear();
    if (!Settings.IsServer() && !QFileInfo::exists(Settings.FilePath()) && !CreateScripts.isEmpty()) {
        TVtDatabaseCreator creator;
        creator.Scripts = CreateScripts;
        creator.UpgradeScripts = UpgradeScripts;
        creator.SchemaVersion = xqoMain->DBVersion.isEmpty() ? QString::fromLatin1(VtSchemaVersion) : xqoMain->DBVersion;
        if (!creator.Create(Settings, &m_lastError)) {
            VtMessageDlg(m_lastError, mtError, mbOK);
            return false;
        }
    }
    if (!UpgradeScripts.isEmpty()) {
        TVtSchemaUpgrader upgrader;
        upgrader.Scripts = UpgradeScripts;
        upgrader.SchemaVersion = xqoMain->DBVersion;
        if (!upgrader.Upgrade(Settings, &m_lastError)) {
            VtMessageDlg(m_lastError, mtError, mbOK);
            return false;
        }
    }
    if (!xqoMain->Open(Settings, &m_lastError)) {
        VtMessageDlg(m_lastError, mtError, mbOK);
        return false;
    }
    qqoVtGlobConn = xqoMain;
    return true;
}

void TdmVtConnection::CloseConnection()
{
    if (qqoVtGlobConn == xqoMain)
        qqoVtGlobConn = nullptr;
    xqoMain->Close();
}

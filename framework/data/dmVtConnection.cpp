#include "dmVtConnection.h"
#include "VtDatabaseCreator.h"
#include "VtMessageDlg.h"
#include "VtSchemaUpgrader.h"

#include <QDir>
#include <QFileInfo>

TdmVtConnection::TdmVtConnection(QObject *parent)
    : QObject(parent), xqoMain(new TVtSQLConnection(this)), Settings(TVtConnectionSettings::Load())
{
}

TdmVtConnection::~TdmVtConnection()
{
    CloseConnection();
}

// The demo school is created only where that is meant: readable settings
// that name the installation's own embedded file, which is not there yet.
// Anything else (a share not mounted, a mistyped path, a server) is told to
// the user, and nothing is created: an office must never type its payments
// into a demo database it did not ask for.
QString TdmVtConnection::MissingDatabaseProblem() const
{
    if (!Settings.Problem.isEmpty())
        return Settings.Problem;
    if (Settings.IsServer() || QFileInfo::exists(Settings.FilePath()))
        return QString();
    const QString file = QDir::toNativeSeparators(Settings.FilePath());
    const QString folder = QDir::toNativeSeparators(QFileInfo(Settings.FilePath()).absolutePath());
    if (Settings.NamesDefaultDatabase() && !CreateScripts.isEmpty())
        return QString();
    if (!QFileInfo(QFileInfo(Settings.FilePath()).absolutePath()).isDir())
        return QStringLiteral("La cartella %1 del database non esiste: controllare il percorso nelle impostazioni di "
                              "connessione e, se è una cartella condivisa, che sia collegata.").arg(folder);
    return QStringLiteral("Il database %1 non esiste: controllare il percorso nelle impostazioni di connessione.")
        .arg(file);
}

bool TdmVtConnection::OpenConnection()
{
    m_lastError.clear();
    auto refuse = [this](const QString &text) {
        m_lastError = text;
        VtMessageDlg(m_lastError, mtError, mbOK);
        return false;
    };
    if (const QString problem = MissingDatabaseProblem(); !problem.isEmpty())
        return refuse(problem);
    if (!Settings.IsServer() && !QFileInfo::exists(Settings.FilePath())) {
        TVtDatabaseCreator creator;
        creator.Scripts = CreateScripts;
        creator.UpgradeScripts = UpgradeScripts;
        creator.SchemaVersion = xqoMain->DBVersion.isEmpty() ? QString::fromLatin1(VtSchemaVersion) : xqoMain->DBVersion;
        creator.OnStep = OnCreateStep;
        const bool created = creator.Create(Settings, &m_lastError);
        if (OnCreateStep)
            OnCreateStep(-1, 0);
        if (!created)
            return refuse(m_lastError);
        if (OnCreated)
            OnCreated();
    }
    if (!UpgradeScripts.isEmpty()) {
        TVtSchemaUpgrader upgrader;
        upgrader.Scripts = UpgradeScripts;
        upgrader.SchemaVersion = xqoMain->DBVersion;
        if (!upgrader.Upgrade(Settings, &m_lastError))
            return refuse(m_lastError);
    }
    if (!xqoMain->Open(Settings, &m_lastError))
        return refuse(m_lastError);
    qqoVtGlobConn = xqoMain;
    if (xqoMain->ReadOnly())
        VtMessageDlg(QStringLiteral("Il database %1 è in sola lettura: si possono consultare i dati, ma nessuna "
                                    "modifica potrà essere salvata.").arg(Settings.Database),
                     mtWarning, mbOK);
    return true;
}

void TdmVtConnection::CloseConnection()
{
    if (qqoVtGlobConn == xqoMain)
        qqoVtGlobConn = nullptr;
    xqoMain->Close();
}

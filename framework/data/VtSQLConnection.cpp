#include "VtSQLConnection.h"
#include "VtException.h"
#include "VtGuard.h"

#include <QAtomicInt>
#include <QSysInfo>
#include <QSqlError>
#include <QSqlQuery>

TVtSQLConnection *qqoVtGlobConn = nullptr;

namespace {
QString NewConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("vardella_%1").arg(counter.fetchAndAddRelaxed(1));
}
}

TVtSQLConnection::TVtSQLConnection(QObject *parent)
    : QObject(parent), m_name(NewConnectionName())
{
}

TVtSQLConnection::~TVtSQLConnection()
{
    Close();
    if (qqoVtGlobConn == this)
        qqoVtGlobConn = nullptr;
}

QString TVtSQLConnection::ReadSchemaVersion(const QSqlDatabase &db, bool *isVardella)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    *isVardella = false;
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'TVT_SCHEMA'")) || !q.next()
        || q.value(0).toInt() == 0)
        return QString();
    if (!q.exec(QStringLiteral("SELECT SVERSIONE FROM TVT_SCHEMA WHERE SAPPLICAZIONE = 'VARDELLA'")) || !q.next())
        return QString();
    *isVardella = true;
    return q.value(0).toString().trimmed();
}

QSqlDatabase TVtSQLConnection::AddDatabase(const QString &connectionName, const TVtConnectionSettings &settings,
                                          const QString &filePath)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), connectionName);
    if (settings.IsServer()) {
        db.setHostName(settings.Host());
        if (settings.Port() > 0)
            db.setPort(settings.Port());
    }
    db.setDatabaseName(filePath.isEmpty() ? settings.FilePath() : filePath);
    db.setUserName(settings.User);
    db.setPassword(settings.Password);
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=%1").arg(settings.CharSet));
    return db;
}

bool TVtSQLConnection::Open(const TVtConnectionSettings &settings, QString *error)
{
    Close();
    QSqlDatabase db = AddDatabase(m_name, settings);
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        Close();
        return false;
    };
    if (!db.open())
        return fail(QStringLiteral("Impossibile aprire il database %1:\r\n%2")
                        .arg(settings.Database, db.lastError().text()));
    bool isVardella = false;
    const QString version = ReadSchemaVersion(db, &isVardella);
    if (!isVardella)
        return fail(QStringLiteral("Il database %1 non è un database di Vardella.").arg(settings.Database));
    const QString wanted = DBVersion.isEmpty() ? QString::fromLatin1(VtSchemaVersion) : DBVersion;
    if (version != wanted)
        return fail(QStringLiteral("Il database %1 è alla versione %2, mentre il programma richiede la versione %3.")
                        .arg(settings.Database, version, wanted));
    m_user = settings.User;
    m_databaseName = settings.IsServer() ? settings.Database : settings.FilePath();
    m_schemaVersion = version;
    m_charSet = settings.CharSet;
    ++m_openSerial;
    return true;
}

void TVtSQLConnection::Close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen()) {
            if (m_depth > 0)
                db.rollback();
            db.close();
        }
    }
    m_depth = 0;
    m_rollbackOnly = false;
    m_onCommit.clear();
    m_onRollback.clear();
    QSqlDatabase::removeDatabase(m_name);
}

bool TVtSQLConnection::Connected() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase TVtSQLConnection::Database() const
{
    return QSqlDatabase::database(m_name, false);
}

void TVtSQLConnection::StartTransaction()
{
    if (m_depth == 0) {
        QSqlDatabase db = Database();
        if (!db.transaction())
            throw EVtException(QStringLiteral("Impossibile avviare la transazione: %1").arg(db.lastError().text()));
        m_rollbackOnly = false;
    }
    ++m_depth;
}

void TVtSQLConnection::Commit()
{
    if (m_depth <= 0)
        throw EVtException(QStringLiteral("Nessuna transazione attiva da confermare."));
    if (m_rollbackOnly) {
        // The commit of a doomed scope closes it as a rollback would.
        Rollback();
        throw EVtException(QStringLiteral("La transazione è stata annullata e non può essere confermata."));
    }
    if (m_depth > 1) {
        --m_depth;
        return;
    }
    QSqlDatabase db = Database();
    m_depth = 0;
    if (!db.commit()) {
        const QString text = db.lastError().text();
        db.rollback();
        EndOutermost(false);
        throw EVtException(QStringLiteral("Impossibile confermare la transazione: %1").arg(text));
    }
    EndOutermost(true);
}

void TVtSQLConnection::Rollback()
{
    if (m_depth <= 0)
        return;
    if (--m_depth > 0) {
        m_rollbackOnly = true;
        return;
    }
    Database().rollback();
    EndOutermost(false);
}

void TVtSQLConnection::CheckWritable() const
{
    if (m_depth <= 0)
        throw EVtException(QStringLiteral("Scrittura fuori da una transazione."));
    if (m_rollbackOnly)
        throw EVtException(QStringLiteral("La transazione è stata annullata: nessun'altra modifica è possibile."));
}

void TVtSQLConnection::OnOutermostCommit(QObject *owner, std::function<void()> action)
{
    if (m_depth <= 0) {
        action();
        return;
    }
    m_onCommit.push_back({owner, std::move(action)});
}

void TVtSQLConnection::OnOutermostRollback(QObject *owner, std::function<void()> action)
{
    if (m_depth > 0)
        m_onRollback.push_back({owner, std::move(action)});
}

void TVtSQLConnection::EndOutermost(bool committed)
{
    m_rollbackOnly = false;
    const QList<TPending> run = committed ? m_onCommit : m_onRollback;
    m_onCommit.clear();
    m_onRollback.clear();
    for (const TPending &p : run)
        if (p.Owner)
            VtGuard(p.Action);
}

int TVtSQLConnection::NextId()
{
    QSqlQuery q(Database());
    if (!q.exec(QStringLiteral("SELECT NEXT VALUE FOR GEN_VTID FROM RDB$DATABASE")) || !q.next())
        throw EVtException(QStringLiteral("Impossibile ottenere una nuova chiave: %1").arg(q.lastError().text()));
    return q.value(0).toInt();
}

QString TVtSQLConnection::UserKey() const
{
    QString osUser = qEnvironmentVariable("USER");
    if (osUser.isEmpty())
        osUser = qEnvironmentVariable("USERNAME");
    return QStringLiteral("%1@%2").arg(osUser.isEmpty() ? m_user : osUser, QSysInfo::machineHostName());
}

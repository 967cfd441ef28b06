#include "VtSQLConnection.h"
#include "VtDatabaseError.h"
#include "VtException.h"
#include "VtLockWatch.h"
#include "VtMessageDlg.h"

#include <ibase.h>

#include <QDir>
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

QString TVtSQLConnection::ReadSchemaVersion(const QSqlDatabase &db, bool *isVardella, TVtEngineError *error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    *isVardella = false;
    auto failed = [&]() {
        if (error)
            *error = TVtEngineError::FromSqlError(q.lastError());
        return QString();
    };
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'TVT_SCHEMA'")) || !q.next())
        return failed();
    if (q.value(0).toInt() == 0)
        return QString();
    if (!q.exec(QStringLiteral("SELECT SVERSIONE FROM TVT_SCHEMA WHERE SAPPLICAZIONE = 'VARDELLA'")))
        return failed();   // there, but not readable: a matter of rights
    if (!q.next())
        return QString();
    *isVardella = true;
    return q.value(0).toString().trimmed();
}

// Why the driver could not open the database: the engine's codes, read by
// attaching once more through the client library; the driver's SQLCODE
// when that attachment succeeds after all.
TVtEngineError TVtSQLConnection::OpenFailure(const QSqlDatabase &db, const TVtConnectionSettings &settings)
{
    const TVtEngineError reason = AttachError(settings);
    return reason.IsError() ? reason : TVtEngineError::FromSqlError(db.lastError());
}

QByteArray TVtSQLConnection::ParameterBlock(const TVtConnectionSettings &settings)
{
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    auto add = [&](char item, const QString &value) {
        const QByteArray bytes = value.toUtf8().left(255);
        dpb.append(item);
        dpb.append(char(bytes.size()));
        dpb.append(bytes);
    };
    add(isc_dpb_user_name, settings.User);
    add(isc_dpb_password, settings.Password);
    add(isc_dpb_lc_ctype, settings.CharSet);
    if (!settings.Role.isEmpty())
        add(isc_dpb_sql_role_name, settings.Role);
    return dpb;
}

TVtEngineError TVtSQLConnection::AttachError(const TVtConnectionSettings &settings)
{
    const QByteArray dpb = ParameterBlock(settings);
    const QByteArray target = settings.Target().toUtf8();
    ISC_STATUS_ARRAY status = {};
    isc_db_handle db = 0;
    if (isc_attach_database(status, short(target.size()), target.constData(), &db, short(dpb.size()), dpb.constData()) == 0) {
        isc_detach_database(status, &db);
        return {};
    }
    TVtEngineError e = TVtEngineError::FromStatus(status);
    e.Subject = e.Kind == TVtEngineError::ekServerUnreachable ? settings.Host()
                                                                : QDir::toNativeSeparators(settings.Database);
    return e;
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
    QString options = QStringLiteral("ISC_DPB_LC_CTYPE=%1").arg(settings.CharSet);
    if (!settings.Role.isEmpty())
        options += QStringLiteral(";ISC_DPB_SQL_ROLE_NAME=%1").arg(settings.Role);
    db.setConnectOptions(options);
    return db;
}

bool TVtSQLConnection::Open(const TVtConnectionSettings &settings, QString *error)
{
    Close();
    QSqlDatabase db;
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        db = QSqlDatabase();
        Close();
        return false;
    };
    if (!settings.Problem.isEmpty())
        return fail(settings.Problem);
    const QString cannotOpen = QStringLiteral("Impossibile aprire il database %1.").arg(settings.Database);
    db = AddDatabase(m_name, settings);
    if (!db.open()) {
        return fail(cannotOpen + QStringLiteral("\r\n") + OpenFailure(db, settings).Text());
    }
    bool isVardella = false;
    TVtEngineError readError;
    const QString version = ReadSchemaVersion(db, &isVardella, &readError);
    if (readError.IsError())
        return fail(cannotOpen + QStringLiteral("\r\n") + readError.Text());
    if (!isVardella)
        return fail(QStringLiteral("Il database %1 non è un database di Vardella.").arg(settings.Database));
    const QString wanted = DBVersion.isEmpty() ? QString::fromLatin1(VtSchemaVersion) : DBVersion;
    if (version != wanted)
        return fail(QStringLiteral("Il database %1 è alla versione %2, mentre il programma richiede la versione %3.")
                        .arg(settings.Database, version, wanted));
    m_settings = settings;
    UserRights = settings.UserRights;
    m_user = settings.User;
    m_databaseName = settings.IsServer() ? settings.Database : settings.FilePath();
    m_schemaVersion = version;
    m_charSet = settings.CharSet;
    m_readOnly = ReadOnlyDatabase(db);
    TVtLockWatch::SetTimeout(settings.LockTimeout * 1000);
    ++m_openSerial;
    return true;
}

bool TVtSQLConnection::ReadOnlyDatabase(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    return q.exec(QStringLiteral("SELECT MON$READ_ONLY FROM MON$DATABASE")) && q.next() && q.value(0).toInt() != 0;
}

bool TVtSQLConnection::Alive() const
{
    if (!Connected())
        return false;
    QSqlQuery q(Database());
    q.setForwardOnly(true);
    return q.exec(QStringLiteral("SELECT 1 FROM RDB$DATABASE")) && q.next();
}

bool TVtSQLConnection::AskToReconnect(const QString &message)
{
    if (!Database().isValid() || Alive())
        return false;
    if (VtMessageDlg(message + QStringLiteral("\r\n\r\nRiconnettersi al database ora?"), mtError, mbYes | mbNo) != mrYes)
        return true;
    QString error;
    if (Reconnect(&error))
        VtMessageDlg(QStringLiteral("Connessione al database ripristinata: ripetere l'operazione."), mtInformation, mbOK);
    else
        VtMessageDlg(error, mtError, mbOK);
    return true;
}

bool TVtSQLConnection::Reconnect(QString *error)
{
    QSqlDatabase db = Database();
    if (!db.isValid()) {
        if (error)
            *error = QStringLiteral("Nessun database aperto.");
        return false;
    }
    // The same connection object, closed and opened again: the data
    // modules keep it, and what they hold in memory (an edit in progress)
    // stays; their open queries read again.
    DropStatements();
    m_depth = 0;
    m_rollbackOnly = false;
    m_onCommit.clear();
    m_onRollback.clear();
    db.close();
    if (!db.open()) {
        const TVtEngineError reason = OpenFailure(db, m_settings);
        if (error)
            *error = QStringLiteral("Impossibile riconnettersi al database %1.\r\n%2").arg(m_settings.Database, reason.Text());
        return false;
    }
    ++m_openSerial;
    return true;
}

void TVtSQLConnection::Close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        DropStatements();
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
            throw EVtDatabaseError(TVtEngineError::FromSqlError(db.lastError()),
                               QStringLiteral("Impossibile avviare la transazione."));
        m_rollbackOnly = false;
    }
    ++m_depth;
}

std::function<void(const QString &)> &TVtSQLConnection::StatementObserver()
{
    static std::function<void(const QString &)> observer;
    return observer;
}

void TVtSQLConnection::NotifyStatement(const QString &statement)
{
    if (StatementObserver())
        StatementObserver()(statement);
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
    DropStatements();
    if (!db.commit()) {
        const TVtEngineError reason = TVtEngineError::FromSqlError(db.lastError());
        db.rollback();
        EndOutermost(false);
        throw EVtDatabaseError(reason, QStringLiteral("Impossibile confermare la transazione."));
    }
    EndOutermost(true);
    NotifyStatement(QStringLiteral("COMMIT"));
}

void TVtSQLConnection::Rollback()
{
    if (m_depth <= 0)
        return;
    if (--m_depth > 0) {
        m_rollbackOnly = true;
        return;
    }
    DropStatements();
    Database().rollback();
    EndOutermost(false);
    NotifyStatement(QStringLiteral("ROLLBACK"));
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

QSqlQuery *TVtSQLConnection::TransactionStatement(const QString &sql)
{
    if (m_depth <= 0)
        return nullptr;
    auto found = m_statements.find(sql);
    if (found != m_statements.end())
        return found->second.get();
    auto query = std::make_unique<QSqlQuery>(Database());
    if (!query->prepare(sql))
        throw EVtDatabaseError(TVtEngineError::FromSqlError(query->lastError()));
    return m_statements.emplace(sql, std::move(query)).first->second.get();
}

void TVtSQLConnection::DropStatements()
{
    m_statements.clear();
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
        throw EVtDatabaseError(TVtEngineError::FromSqlError(q.lastError()),
                               QStringLiteral("Impossibile ottenere una nuova chiave."));
    return q.value(0).toInt();
}

QString TVtSQLConnection::UserKey() const
{
    QString osUser = qEnvironmentVariable("USER");
    if (osUser.isEmpty())
        osUser = qEnvironmentVariable("USERNAME");
    return QStringLiteral("%1@%2").arg(osUser.isEmpty() ? m_user : osUser, QSysInfo::machineHostName());
}

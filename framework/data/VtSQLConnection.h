#pragma once
#include "VtConnectionSettings.h"
#include "VtEngineError.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSqlDatabase>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>

class QSqlQuery;

// The program's database connection (Firebird through QIBASE).
class TVtSQLConnection : public QObject
{
    Q_OBJECT
public:
    explicit TVtSQLConnection(QObject *parent = nullptr);
    ~TVtSQLConnection() override;

    QString CodAppl;                 // application code, such as "EBD"
    QString DBVersion;               // schema version the program needs
    // What the user may do (bits), from the connection settings.
    int UserRights = TVtConnectionSettings::AllUserRights;

    // Opens the database of the settings and checks that it is a Vardella
    // database of DBVersion; on failure returns false with an Italian message.
    bool Open(const TVtConnectionSettings &settings, QString *error);
    void Close();
    bool Connected() const;
    // Opened and not closed by the program: true also while the database
    // does not answer, until a reconnection restores it.
    bool Opened() const { return QSqlDatabase::contains(m_name); }
    // The database answers (a connection to a server can be lost).
    bool Alive() const;
    // Opens the same database again on the same connection after it was
    // lost; what the program holds in memory is kept.
    bool Reconnect(QString *error);
    // After a failure: when the database no longer answers, shows the
    // message with the offer to reconnect, and reconnects on Yes; false
    // (nothing shown) when the connection is alive.
    bool AskToReconnect(const QString &message);
    // The database is set read-only: it can be read, not changed.
    bool ReadOnly() const { return m_readOnly; }
    const TVtConnectionSettings &Settings() const { return m_settings; }
    QSqlDatabase Database() const;
    QString ConnectionName() const { return m_name; }
    // Counts the openings: what was read on an earlier one may be stale.
    int OpenSerial() const { return m_openSerial; }
    // The open database: its file (absolute) or server path, and the
    // schema version it holds.
    QString DatabaseName() const { return m_databaseName; }
    QString SchemaVersion() const { return m_schemaVersion; }

    // Nested transaction scopes over the one database transaction: only the
    // outermost StartTransaction/Commit pair reaches the database. A scope
    // that ends without its commit (an inner failure) dooms the outermost
    // one: from then on every write and every commit inside it is refused,
    // and the outermost scope ends in one rollback. Nothing of a failed
    // multi-row operation is stored.
    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return m_depth > 0; }
    // An inner scope failed: the running transaction can only roll back.
    bool RollbackOnly() const { return m_rollbackOnly; }
    // Refuses a write when there is no scope or the scope is doomed.
    void CheckWritable() const;
    // Work to do when the outermost scope ends: on commit (deferred change
    // notifications), or on rollback (views re-read what is stored). Run at
    // once (the commit ones) when no scope is open.
    void OnOutermostCommit(QObject *owner, std::function<void()> action);
    void OnOutermostRollback(QObject *owner, std::function<void()> action);

    // A statement prepared at its first use in the running transaction and
    // kept until the outermost scope ends, so that a batch runs each of its
    // statements from one prepare: the driver ties a prepared statement to
    // the transaction it was prepared in, and none outlives it. The SQL is
    // the driver's (positional parameters). Null outside a transaction;
    // throws the engine's error when it cannot be prepared.
    QSqlQuery *TransactionStatement(const QString &sql);

    // Next key of the framework's generator.
    int NextId();
    // Who saved parameter values belong to.
    QString UserKey() const;
    // Bytes the engine reports per character of a text column.
    int BytesPerChar() const { return m_charSet.compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0 ? 4 : 1; }

    // A connection of the driver to the database of the settings (at another
    // file path when given), in the settings' character set; not yet open.
    // For tests: called with the text of every statement the program's
    // queries, collections and prepared statements execute, right after it
    // ran, and with "COMMIT" or "ROLLBACK" right after the outermost
    // transaction ended. It may throw to stop the operation at that point.
    static std::function<void(const QString &statement)> &StatementObserver();
    // Calls the observer when there is one.
    static void NotifyStatement(const QString &statement);

    static QSqlDatabase AddDatabase(const QString &connectionName, const TVtConnectionSettings &settings,
                                    const QString &filePath = QString());

    // Reads the schema version written in a database; empty when the
    // database holds none, with the engine's error when it cannot be read.
    static QString ReadSchemaVersion(const QSqlDatabase &db, bool *isVardella, TVtEngineError *error = nullptr);
    // Why the engine refuses to open the database of the settings, read
    // from its own codes; no error when it opens.
    static TVtEngineError AttachError(const TVtConnectionSettings &settings);
    // The client library's attachment parameters for the settings: user,
    // password, character set, role.
    static QByteArray ParameterBlock(const TVtConnectionSettings &settings);

private:
    static bool ReadOnlyDatabase(const QSqlDatabase &db);
    static TVtEngineError OpenFailure(const QSqlDatabase &db, const TVtConnectionSettings &settings);

    TVtConnectionSettings m_settings;
    bool m_readOnly = false;
    QString m_name;
    QString m_user;
    QString m_charSet;
    QString m_databaseName, m_schemaVersion;
    struct TPending
    {
        QPointer<QObject> Owner;
        std::function<void()> Action;
    };
    void EndOutermost(bool committed);
    void DropStatements();

    int m_openSerial = 0;
    int m_depth = 0;
    bool m_rollbackOnly = false;
    QList<TPending> m_onCommit, m_onRollback;
    std::map<QString, std::unique_ptr<QSqlQuery>> m_statements;
};

// The open connection every query runs on.
extern TVtSQLConnection *qqoVtGlobConn;

// The schema version this build of the program creates and expects.
inline constexpr const char *VtSchemaVersion = "6.94.02";

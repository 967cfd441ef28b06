#include "VtDatabaseCreator.h"
#include "VtSQLConnection.h"
#include "VtDatabaseError.h"
#include "VtException.h"
#include "VtSchemaUpgrader.h"
#include "VtSqlText.h"

#include <ibase.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QUuid>
#include <cerrno>
#include <QRegularExpression>

namespace {
bool IsDdl(const QString &statement)
{
    static const QStringList heads = {QStringLiteral("CREATE"), QStringLiteral("ALTER"), QStringLiteral("DROP"),
                                      QStringLiteral("RECREATE"), QStringLiteral("COMMENT"), QStringLiteral("GRANT"),
                                      QStringLiteral("DECLARE"), QStringLiteral("REVOKE")};
    const QString head = statement.section(QRegularExpression(QStringLiteral("\\s+")), 0, 0).toUpper();
    return heads.contains(head);
}

QString Quoted(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString ReadScript(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EVtException(QStringLiteral("Impossibile leggere lo script %1.").arg(path));
    return QString::fromUtf8(f.readAll());
}
}

bool TVtDatabaseCreator::CreateEmptyFile(const TVtConnectionSettings &settings, const QString &path, QString *error)
{
    QString target = path;
    if (settings.IsServer())
        target = settings.Host() + (settings.Port() > 0 ? QStringLiteral("/%1").arg(settings.Port()) : QString())
                 + QLatin1Char(':') + path;
    const QString sql = QStringLiteral("CREATE DATABASE %1 USER %2 PASSWORD %3 PAGE_SIZE 8192 DEFAULT CHARACTER SET UTF8")
                            .arg(Quoted(target), Quoted(settings.User), Quoted(settings.Password));
    const QByteArray bytes = sql.toUtf8();
    ISC_STATUS_ARRAY status = {};
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    if (isc_dsql_execute_immediate(status, &db, &tr, 0, bytes.constData(), 3, nullptr)) {
        if (error) {
            TVtEngineError reason = TVtEngineError::FromStatus(status);
            if (reason.Kind == TVtEngineError::ekServerUnreachable)
                reason.Subject = settings.Host();
            *error = QStringLiteral("Impossibile creare il database %1.\r\n%2").arg(path, reason.Text());
        }
        return false;
    }
    isc_detach_database(status, &db);
    return true;
}

void TVtDatabaseCreator::RunScript(QSqlDatabase &db, const QString &text, const QString &scriptName,
                                   const std::function<void()> &afterStatement)
{
    bool inTransaction = false;
    auto commit = [&]() {
        if (inTransaction && !db.commit())
            throw EVtException(QStringLiteral("Script %1: %2").arg(scriptName, db.lastError().text()));
        inTransaction = false;
    };
    const QStringList statements = VtSplitScript(text);
    int number = 0;
    for (const QString &st : statements) {
        ++number;
        if (st.compare(QStringLiteral("COMMIT"), Qt::CaseInsensitive) == 0
            || st.compare(QStringLiteral("COMMIT WORK"), Qt::CaseInsensitive) == 0) {
            commit();
            if (afterStatement)
                afterStatement();
            continue;
        }
        const bool ddl = IsDdl(st);
        if (ddl)
            commit();
        else if (!inTransaction) {
            if (!db.transaction())
                throw EVtException(QStringLiteral("Script %1: %2").arg(scriptName, db.lastError().text()));
            inTransaction = true;
        }
        QSqlQuery q(db);
        if (!q.exec(st)) {
            const TVtEngineError err = TVtEngineError::FromSqlError(q.lastError());
            q.finish();
            if (inTransaction)
                db.rollback();
            throw EVtDatabaseError(err, QStringLiteral("Script %1, istruzione %2:\r\n%3").arg(scriptName).arg(number)
                                            .arg(st.left(300)));
        }
        if (afterStatement)
            afterStatement();
    }
    commit();
}

namespace {
// Written first and removed last: a database on a server that still holds
// it was left half-built by a creation that was killed.
const char *const CreationMarker = "VT_CREAZIONE_IN_CORSO";

bool Exec(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw EVtDatabaseError(TVtEngineError::FromSqlError(q.lastError()));
    return true;
}

// Not enough room left where the file grows: whatever the engine said, the
// reason to tell is the full disk.
bool DiskFull(const QString &folder)
{
    QStorageInfo volume(folder);
    return volume.isValid() && volume.bytesAvailable() >= 0 && volume.bytesAvailable() < 4 * 1024 * 1024;
}
}

void TVtDatabaseCreator::GrantProgramRole(QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM RDB$ROLES WHERE RDB$ROLE_NAME = '%1'").arg(QLatin1String(ProgramRole)))
        || !q.next())
        throw EVtDatabaseError(TVtEngineError::FromSqlError(q.lastError()));
    const bool exists = q.value(0).toInt() > 0;
    q.finish();
    if (!exists)
        Exec(db, QStringLiteral("CREATE ROLE %1").arg(QLatin1String(ProgramRole)));
    Exec(db, QStringLiteral(
                 "EXECUTE BLOCK AS DECLARE N VARCHAR(63); BEGIN "
                 "FOR SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 INTO :N DO "
                 "EXECUTE STATEMENT 'GRANT SELECT, INSERT, UPDATE, DELETE, REFERENCES ON \"' || N || '\" TO %1'; "
                 "FOR SELECT TRIM(RDB$PROCEDURE_NAME) FROM RDB$PROCEDURES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                 "AND RDB$PACKAGE_NAME IS NULL INTO :N DO "
                 "EXECUTE STATEMENT 'GRANT EXECUTE ON PROCEDURE \"' || N || '\" TO %1'; "
                 "FOR SELECT TRIM(RDB$FUNCTION_NAME) FROM RDB$FUNCTIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                 "AND RDB$PACKAGE_NAME IS NULL AND RDB$MODULE_NAME IS NULL INTO :N DO "
                 "EXECUTE STATEMENT 'GRANT EXECUTE ON FUNCTION \"' || N || '\" TO %1'; "
                 "FOR SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 INTO :N DO "
                 "EXECUTE STATEMENT 'GRANT USAGE ON SEQUENCE \"' || N || '\" TO %1'; "
                 // A statement that may raise an exception needs the right to use it.
                 "FOR SELECT TRIM(RDB$EXCEPTION_NAME) FROM RDB$EXCEPTIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 INTO :N DO "
                 "EXECUTE STATEMENT 'GRANT USAGE ON EXCEPTION \"' || N || '\" TO %1'; "
                 "END").arg(QLatin1String(ProgramRole)));
}

bool TVtDatabaseCreator::DropDatabase(const TVtConnectionSettings &settings, const QString &path)
{
    TVtConnectionSettings target = settings;
    target.Database = settings.IsServer() ? settings.Host() + (settings.Port() > 0 ? QStringLiteral("/%1").arg(settings.Port())
                                                                                  : QString())
                                                + QLatin1Char(':') + path
                                          : path;
    const QByteArray dpb = TVtSQLConnection::ParameterBlock(settings);
    const QByteArray name = target.Target().toUtf8();
    ISC_STATUS_ARRAY status = {};
    isc_db_handle db = 0;
    if (isc_attach_database(status, short(name.size()), name.constData(), &db, short(dpb.size()), dpb.constData()))
        return false;
    if (isc_drop_database(status, &db)) {
        isc_detach_database(status, &db);
        return false;
    }
    return true;
}

// A database on the server that a killed creation left behind: it still
// carries the marker, and nothing else can be in it.
bool TVtDatabaseCreator::HalfBuilt(const TVtConnectionSettings &settings)
{
    const QString connName = QStringLiteral("vardella_check_") + QUuid::createUuid().toString(QUuid::Id128);
    bool halfBuilt = false;
    {
        QSqlDatabase db = TVtSQLConnection::AddDatabase(connName, settings);
        if (db.open()) {
            QSqlQuery q(db);
            halfBuilt = q.exec(QStringLiteral("SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = '%1'")
                                   .arg(QLatin1String(CreationMarker)))
                        && q.next() && q.value(0).toInt() > 0;
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connName);
    return halfBuilt;
}

bool TVtDatabaseCreator::Create(const TVtConnectionSettings &settings, QString *error)
{
    const bool server = settings.IsServer();
    const QString finalPath = settings.FilePath();
    QString workPath = finalPath;
    if (!server) {
        if (QFileInfo::exists(finalPath)) {
            if (error)
                *error = QStringLiteral("Il file %1 esiste già.").arg(finalPath);
            return false;
        }
        QDir().mkpath(QFileInfo(finalPath).absolutePath());
        workPath = finalPath + QStringLiteral(".new");
        QFile::remove(workPath);
    }
    if (!CreateEmptyFile(settings, workPath, error)) {
        // A creation killed half-way left its database on the server: it is
        // dropped, and this one starts clean.
        if (!server || !HalfBuilt(settings) || !DropDatabase(settings, finalPath)
            || !CreateEmptyFile(settings, workPath, error))
            return false;
    }

    const QString connName = QStringLiteral("vardella_create_") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = true;
    {
        TVtConnectionSettings utf8 = settings;
        utf8.CharSet = QStringLiteral("UTF8");
        QSqlDatabase db = TVtSQLConnection::AddDatabase(connName, utf8, workPath);
        try {
            if (!db.open())
                throw EVtDatabaseError(TVtEngineError::FromSqlError(db.lastError()));
            Exec(db, QStringLiteral("CREATE SEQUENCE %1").arg(QLatin1String(CreationMarker)));
            QStringList texts;
            int total = 0;
            for (const QString &script : Scripts + UpgradeScripts) {
                texts << ReadScript(script);
                total += VtSplitScript(texts.last()).size();
            }
            int done = 0;
            const auto step = [&] {
                if (OnStep)
                    OnStep(++done, total);
            };
            if (OnStep)
                OnStep(0, total);
            int index = 0;
            for (const QString &script : Scripts) {
                if (OnProgress)
                    OnProgress(script, index, Scripts.size());
                RunScript(db, texts[index], QFileInfo(script).fileName(), step);
                ++index;
            }
            for (const QString &script : UpgradeScripts) {
                RunScript(db, texts[index++], QFileInfo(script).fileName(), step);
                TVtSchemaUpgrader::RecordScript(db, script);
            }
            Exec(db, QStringLiteral("DROP SEQUENCE %1").arg(QLatin1String(CreationMarker)));
            GrantProgramRole(db);
            QSqlQuery q(db);
            if (!q.prepare(QStringLiteral("INSERT INTO TVT_SCHEMA (SAPPLICAZIONE, SVERSIONE) VALUES ('VARDELLA', ?)")))
                throw EVtDatabaseError(TVtEngineError::FromSqlError(q.lastError()));
            q.addBindValue(SchemaVersion);
            if (!q.exec())
                throw EVtDatabaseError(TVtEngineError::FromSqlError(q.lastError()));
        } catch (const EVtException &e) {
            ok = false;
            QString reason = e.Message();
            if (DiskFull(QFileInfo(workPath).absolutePath()))
                reason = TVtEngineError::FromCodes({isc_io_error}, ENOSPC, reason).Text();
            if (error)
                *error = QStringLiteral("Creazione del database non riuscita:\r\n%1").arg(reason);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connName);
    if (server) {
        if (!ok && !DropDatabase(settings, finalPath) && error)
            *error += QStringLiteral("\r\nIl database incompleto %1 non è stato eliminato dal server: eliminarlo prima "
                                     "di riprovare.").arg(settings.Database);
        return ok;
    }
    if (!ok) {
        QFile::remove(workPath);
        return false;
    }
    if (!QFile::rename(workPath, finalPath)) {
        QFile::remove(workPath);
        if (error)
            *error = QStringLiteral("Impossibile scrivere il file %1.").arg(finalPath);
        return false;
    }
    return true;
}

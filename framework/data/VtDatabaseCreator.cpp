#include "VtDatabaseCreator.h"
#include "VtSQLConnection.h"
#include "VtException.h"
#include "VtSchemaUpgrader.h"
#include "VtSqlText.h"

#include <ibase.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QRegularExpression>

namespace {
QString StatusText(const ISC_STATUS *status)
{
    QString text;
    char buffer[512];
    const ISC_STATUS *p = status;
    while (fb_interpret(buffer, sizeof buffer, &p)) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += QString::fromLocal8Bit(buffer);
    }
    return text;
}

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
        if (error)
            *error = QStringLiteral("Impossibile creare il database %1:\r\n%2").arg(path, StatusText(status));
        return false;
    }
    isc_detach_database(status, &db);
    return true;
}

void TVtDatabaseCreator::RunScript(QSqlDatabase &db, const QString &text, const QString &scriptName)
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
            const QString err = q.lastError().text();
            q.finish();
            if (inTransaction)
                db.rollback();
            throw EVtException(QStringLiteral("Script %1, istruzione %2: %3\r\n%4")
                                   .arg(scriptName).arg(number).arg(err, st.left(300)));
        }
    }
    commit();
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
    if (!CreateEmptyFile(settings, workPath, error))
        return false;

    const QString connName = QStringLiteral("vardella_create_") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = true;
    {
        TVtConnectionSettings utf8 = settings;
        utf8.CharSet = QStringLiteral("UTF8");
        QSqlDatabase db = TVtSQLConnection::AddDatabase(connName, utf8, workPath);
        try {
            if (!db.open())
                throw EVtException(db.lastError().text());
            int index = 0;
            for (const QString &script : Scripts) {
                if (OnProgress)
                    OnProgress(script, index, Scripts.size());
                RunScript(db, ReadScript(script), QFileInfo(script).fileName());
                ++index;
            }
            for (const QString &script : UpgradeScripts) {
                RunScript(db, ReadScript(script), QFileInfo(script).fileName());
                TVtSchemaUpgrader::RecordScript(db, script);
            }
            QSqlQuery q(db);
            if (!q.prepare(QStringLiteral("INSERT INTO TVT_SCHEMA (SAPPLICAZIONE, SVERSIONE) VALUES ('VARDELLA', ?)")))
                throw EVtException(q.lastError().text());
            q.addBindValue(SchemaVersion);
            if (!q.exec())
                throw EVtException(q.lastError().text());
        } catch (const EVtException &e) {
            ok = false;
            if (error)
                *error = QStringLiteral("Creazione del database non riuscita:\r\n%1").arg(e.Message());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connName);
    if (server)
        return ok;
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

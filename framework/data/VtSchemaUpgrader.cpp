#include "VtSchemaUpgrader.h"
#include "VtDatabaseCreator.h"
#include "VtException.h"
#include "VtSQLConnection.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {
QString ReadText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EVtException(QStringLiteral("Impossibile leggere lo script %1.").arg(path));
    return QString::fromUtf8(f.readAll());
}

QSqlDatabase Connect(const QString &name, const TVtConnectionSettings &settings)
{
    TVtConnectionSettings utf8 = settings;
    utf8.CharSet = QStringLiteral("UTF8");
    QSqlDatabase db = TVtSQLConnection::AddDatabase(name, utf8);
    db.open();
    return db;
}

void Disconnect(const QString &name)
{
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// Restores a file from its copy: the copy stays where it is.
bool RestoreFile(const QString &backup, const QString &file)
{
    QFile::remove(file);
    return QFile::copy(backup, file);
}
}

int TVtSchemaUpgrader::ScriptNumber(const QString &path)
{
    static const QRegularExpression re(QStringLiteral("^(\\d+)_"));
    const QRegularExpressionMatch m = re.match(QFileInfo(path).fileName());
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

int TVtSchemaUpgrader::KnownRevision() const
{
    int known = 0;
    for (const QString &s : Scripts)
        known = qMax(known, ScriptNumber(s));
    return known;
}

int TVtSchemaUpgrader::ReadRevision(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'TVT_SCHEMAREV'")) || !q.next())
        throw EVtException(q.lastError().text());
    if (q.value(0).toInt() == 0)
        return 0;
    if (!q.exec(QStringLiteral("SELECT COALESCE(MAX(IREVISIONE), 0) FROM TVT_SCHEMAREV")) || !q.next())
        throw EVtException(q.lastError().text());
    return q.value(0).toInt();
}

void TVtSchemaUpgrader::RecordScript(QSqlDatabase &db, const QString &path)
{
    QSqlQuery q(db);
    if (!q.prepare(QStringLiteral("INSERT INTO TVT_SCHEMAREV (IREVISIONE, SSCRIPT) VALUES (:iRevisione, :sScript)")))
        throw EVtException(q.lastError().text());
    q.bindValue(QStringLiteral(":iRevisione"), ScriptNumber(path));
    q.bindValue(QStringLiteral(":sScript"), QFileInfo(path).fileName());
    if (!q.exec())
        throw EVtException(q.lastError().text());
}

bool TVtSchemaUpgrader::Upgrade(const TVtConnectionSettings &settings, QString *error)
{
    BackupPath.clear();
    const QString name = QStringLiteral("vardella_upgrade_") + QUuid::createUuid().toString(QUuid::Id128);
    int revision = 0;
    {
        QSqlDatabase db = Connect(name, settings);
        if (!db.isOpen()) {
            Disconnect(name);
            return true; // the connection reports why it cannot open
        }
        bool isVardella = false;
        const QString version = TVtSQLConnection::ReadSchemaVersion(db, &isVardella);
        const QString wanted = SchemaVersion.isEmpty() ? QString::fromLatin1(VtSchemaVersion) : SchemaVersion;
        if (!isVardella || version != wanted) {
            Disconnect(name);
            return true;
        }
        try {
            revision = ReadRevision(db);
        } catch (const EVtException &e) {
            Disconnect(name);
            if (error)
                *error = QStringLiteral("Impossibile leggere la revisione del database %1:\r\n%2").arg(settings.Database, e.Message());
            return false;
        }
    }
    Disconnect(name);

    const int known = KnownRevision();
    if (revision > known) {
        if (error)
            *error = QStringLiteral("Il database %1 è alla revisione %2, più recente della revisione %3 che il programma conosce: "
                                    "occorre una versione più recente del programma.")
                         .arg(settings.Database).arg(revision).arg(known);
        return false;
    }
    QStringList pending;
    for (const QString &s : Scripts)
        if (ScriptNumber(s) > revision)
            pending << s;
    std::sort(pending.begin(), pending.end(),
              [](const QString &a, const QString &b) { return ScriptNumber(a) < ScriptNumber(b); });
    if (pending.isEmpty())
        return true;

    const bool server = settings.IsServer();
    const QString file = settings.FilePath();
    if (!server) {
        QString backup = QStringLiteral("%1.rev%2.bak").arg(file).arg(revision);
        for (int n = 1; QFileInfo::exists(backup); ++n)
            backup = QStringLiteral("%1.rev%2.%3.bak").arg(file).arg(revision).arg(n);
        if (!QFile::copy(file, backup)) {
            if (error)
                *error = QStringLiteral("Aggiornamento del database %1 non riuscito: impossibile creare la copia %2.")
                             .arg(settings.Database, backup);
            return false;
        }
        BackupPath = backup;
    }

    QString failure;
    QString failedScript;
    {
        QSqlDatabase db = Connect(name, settings);
        try {
            if (!db.isOpen())
                throw EVtException(db.lastError().text());
            for (const QString &script : pending) {
                failedScript = QFileInfo(script).fileName();
                // DDL statements commit one by one (a table created in a
                // transaction cannot take rows in that same transaction), so
                // an embedded file is put back from its copy on failure.
                TVtDatabaseCreator::RunScript(db, ReadText(script), failedScript);
                RecordScript(db, script);
            }
            // What the scripts added is the office users' too.
            TVtDatabaseCreator::GrantProgramRole(db);
        } catch (const EVtException &e) {
            failure = e.Message();
        }
    }
    Disconnect(name);
    if (failure.isEmpty())
        return true;
    if (!server && !RestoreFile(BackupPath, file))
        failure += QStringLiteral("\r\nImpossibile ripristinare il file dalla copia %1.").arg(BackupPath);
    if (error)
        *error = QStringLiteral("Aggiornamento del database %1 non riuscito (script %2):\r\n%3")
                     .arg(settings.Database, failedScript, failure);
    return false;
}

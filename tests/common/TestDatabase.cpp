#include "TestDatabase.h"
#include "DbScripts.h"
#include "VtDatabaseCreator.h"
#include "VtException.h"
#include "VtSchemaUpgrader.h"

#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {
int copySerial = 0;

std::unique_ptr<TVtSQLConnection> NewConnection()
{
    auto conn = std::make_unique<TVtSQLConnection>();
    conn->CodAppl = QStringLiteral("EBD");
    conn->DBVersion = QString::fromLatin1(VtSchemaVersion);
    return conn;
}

void OpenOrDie(TVtSQLConnection *conn, const TVtConnectionSettings &settings)
{
    QString error;
    if (!conn->Open(settings, &error))
        qFatal("%s", qPrintable(error));
}
}

QString TTestDatabase::Server()
{
    return qEnvironmentVariable("VARDELLA_TEST_SERVER");
}

TVtConnectionSettings TTestDatabase::SettingsFor(const QString &file)
{
    TVtConnectionSettings s;
    const QString server = Server();
    s.Database = server.isEmpty() ? file : server + QLatin1Char(':') + QFileInfo(file).absoluteFilePath();
    s.User = qEnvironmentVariable("VARDELLA_TEST_USER", QStringLiteral("SYSDBA"));
    s.Password = qEnvironmentVariable("VARDELLA_TEST_PASSWORD", QStringLiteral("masterkey"));
    return s;
}

QString TTestDatabase::WorkDir()
{
    static QString dir;
    if (dir.isEmpty()) {
        QString base = qEnvironmentVariable("VARDELLA_TEST_TMP");
        if (base.isEmpty())
            base = QDir(QDir::tempPath()).filePath(QStringLiteral("vardella_test_%1").arg(QCoreApplication::applicationPid()));
        QDir d(base);
        d.removeRecursively();
        QDir().mkpath(base);
        dir = d.absolutePath();
    }
    return dir;
}

bool TTestDatabase::CreateAtRevision(const QString &fileName, int revision, TVtConnectionSettings *settings,
                                     QString *error)
{
    const QString path = QDir(WorkDir()).filePath(fileName);
    QFile::remove(path);
    *settings = SettingsFor(path);
    TVtDatabaseCreator creator;
    creator.Scripts = DbScripts::SchemaScripts() + DbScripts::DemoScripts();
    for (const QString &script : DbScripts::UpgradeScripts())
        if (TVtSchemaUpgrader::ScriptNumber(script) < revision)
            creator.UpgradeScripts << script;
    creator.SchemaVersion = QString::fromLatin1(VtSchemaVersion);
    return creator.Create(*settings, error);
}

bool TTestDatabase::UpgradeToShipped(const TVtConnectionSettings &settings, QString *error)
{
    TVtSchemaUpgrader up;
    up.Scripts = DbScripts::UpgradeScripts();
    return up.Upgrade(settings, error);
}

bool TTestDatabase::RunGfix(const QStringList &args, const QString &path)
{
    QProcess gfix;
    gfix.start(QStringLiteral("gfix"), args + QStringList{QStringLiteral("-user"), QStringLiteral("SYSDBA"), path});
    return gfix.waitForFinished(30000) && gfix.exitStatus() == QProcess::NormalExit && gfix.exitCode() == 0;
}

TTestDatabase::TTestDatabase(Content content, const Setup &setup)
{
    // A setup of the test's own makes a template of its own.
    static int templates = 0;
    const QString name = content == Demo ? QStringLiteral("demo") : QStringLiteral("schema");
    m_template = QDir(WorkDir()).filePath(setup ? QStringLiteral("%1-%2.fdb").arg(name).arg(++templates)
                                                : QStringLiteral("%1.fdb").arg(name));
    m_conn = NewConnection();
    if (!QFileInfo::exists(m_template)) {
        TVtDatabaseCreator creator;
        creator.Scripts = DbScripts::SchemaScripts();
        if (content == Demo)
            creator.Scripts += DbScripts::DemoScripts();
        creator.UpgradeScripts = DbScripts::UpgradeScripts();
        creator.SchemaVersion = QString::fromLatin1(VtSchemaVersion);
        const TVtConnectionSettings settings = SettingsFor(m_template);
        QString error;
        if (!creator.Create(settings, &error))
            qFatal("%s", qPrintable(error));
        if (setup) {
            OpenOrDie(m_conn.get(), settings);
            TVtSQLConnection *previous = qqoVtGlobConn;
            qqoVtGlobConn = m_conn.get();
            setup();
            qqoVtGlobConn = previous;
            m_conn->Close();
        }
        // The copies write without waiting for the disk at every commit:
        // the tests check the program's logic, not the disk. (The program's
        // own databases keep their forced writes.)
        if (!RunGfix({QStringLiteral("-write"), QStringLiteral("async")}, m_template))
            qFatal("gfix -write async %s failed", qPrintable(m_template));
    }
    OpenCopy();
}

TTestDatabase::~TTestDatabase()
{
    if (qqoVtGlobConn == m_conn.get())
        qqoVtGlobConn = nullptr;
    m_conn->Close();
    QFile::remove(m_settings.FilePath());
}

TVtConnectionSettings TTestDatabase::Fresh()
{
    m_conn->Close();
    QFile::remove(m_settings.FilePath());
    OpenCopy();
    return m_settings;
}

void TTestDatabase::OpenCopy()
{
    const QString copy = QDir(WorkDir()).filePath(QStringLiteral("copy-%1.fdb").arg(++copySerial));
    m_settings = SettingsFor(copy);
    QFile::remove(copy);
    if (!QFile::copy(m_template, copy))
        qFatal("Impossibile copiare %s", qPrintable(m_template));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    OpenOrDie(m_conn.get(), m_settings);
    qqoVtGlobConn = m_conn.get();
}

void TTestDatabase::Exec(const QString &sql)
{
    QSqlQuery q(qqoVtGlobConn->Database());
    if (!q.exec(sql))
        qFatal("%s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
}

QVariant TTestDatabase::Scalar(const QString &sql, const QVariantList &values)
{
    const QVariantList column = Column(sql, values);
    return column.isEmpty() ? QVariant() : column.first();
}

QVariantList TTestDatabase::Column(const QString &sql, const QVariantList &values)
{
    QSqlQuery q(qqoVtGlobConn->Database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        qFatal("%s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        qFatal("%s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    QVariantList column;
    while (q.next())
        column << q.value(0);
    return column;
}

bool TTestDatabase::ReadOnlyCopy(const QString &path) const
{
    QFile::remove(path);
    if (!QFile::copy(m_template, path))
        return false;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    auto run = [&path](const QStringList &args) { return RunGfix(args, path); };
    // Swept first: the header of a file just built still names its last
    // writing transaction as the oldest active one, a mark a read-only file
    // can never move, and the engine may then take that transaction's rows
    // (the schema version row) as not committed.
    return run({QStringLiteral("-sweep")}) && run({QStringLiteral("-mode"), QStringLiteral("read_only")});
}

#include "TestDatabase.h"
#include "DbScripts.h"
#include "VtDatabaseCreator.h"
#include "VtException.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTest>

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

TTestDatabase::TTestDatabase(Content content)
{
    m_settings.Database = QDir(WorkDir()).filePath(content == Demo ? QStringLiteral("demo.fdb") : QStringLiteral("schema.fdb"));
    if (!QFileInfo::exists(m_settings.FilePath())) {
        TVtDatabaseCreator creator;
        creator.Scripts = DbScripts::SchemaScripts();
        if (content == Demo)
            creator.Scripts += DbScripts::DemoScripts();
        creator.UpgradeScripts = DbScripts::UpgradeScripts();
        creator.SchemaVersion = QString::fromLatin1(VtSchemaVersion);
        QString error;
        if (!creator.Create(m_settings, &error))
            qFatal("%s", qPrintable(error));
    }
    m_conn = std::make_unique<TVtSQLConnection>();
    m_conn->CodAppl = QStringLiteral("EBD");
    m_conn->DBVersion = QString::fromLatin1(VtSchemaVersion);
    QString error;
    if (!m_conn->Open(m_settings, &error))
        qFatal("%s", qPrintable(error));
    qqoVtGlobConn = m_conn.get();
}

TTestDatabase::~TTestDatabase()
{
    if (qqoVtGlobConn == m_conn.get())
        qqoVtGlobConn = nullptr;
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

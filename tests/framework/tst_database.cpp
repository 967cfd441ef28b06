#include "DbScripts.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtDatabaseCreator.h"
#include "VtSqlText.h"
#include "dmVtConnection.h"

#include "VtEngineError.h"

#include <QSqlQuery>
#include <QTest>

class TstDatabase : public QObject
{
    Q_OBJECT
private slots:
    void scriptSplitting();
    void namedParameters();
    void createsSchemaAndVersion();
    void refusesOtherVersionWritingNothing();
    void refusesForeignDatabase();
    void failedCreationLeavesNoFile();
    void connectionModuleCreatesMissingFile();
    void startUpNeverCreatesAnotherDatabase_data();
    void startUpNeverCreatesAnotherDatabase();
};

void TstDatabase::scriptSplitting()
{
    const QString script = QStringLiteral(
        "-- heading comment\n"
        "CREATE TABLE A (S VARCHAR(10)); /* block; comment */\n"
        "INSERT INTO A VALUES ('x;y');\n"
        "SET TERM ^ ;\n"
        "CREATE PROCEDURE P AS BEGIN INSERT INTO A VALUES ('--;'); END^\n"
        "SET TERM ; ^\n"
        "COMMIT;");
    const QStringList st = VtSplitScript(script);
    QCOMPARE(st.size(), 4);
    QCOMPARE(st[0], QStringLiteral("CREATE TABLE A (S VARCHAR(10))"));
    QCOMPARE(st[1], QStringLiteral("INSERT INTO A VALUES ('x;y')"));
    QCOMPARE(st[2], QStringLiteral("CREATE PROCEDURE P AS BEGIN INSERT INTO A VALUES ('--;'); END"));
    QCOMPARE(st[3], QStringLiteral("COMMIT"));
}

void TstDatabase::namedParameters()
{
    const TVtParsedSql p = VtParseNamedParams(
        QStringLiteral("SELECT ':no', \"x:y\" FROM T WHERE a = :iAnsId AND b = :IANSID -- :comment\n AND c=:VTGENID"));
    QCOMPARE(p.Names, (QStringList{QStringLiteral("iAnsId"), QStringLiteral("IANSID"), QStringLiteral("VTGENID")}));
    QVERIFY(p.Sql.contains(QStringLiteral("':no'")));
    QVERIFY(p.Sql.contains(QStringLiteral("-- :comment")));
    QCOMPARE(p.Sql.count(QLatin1Char('?')), 3);
}

void TstDatabase::createsSchemaAndVersion()
{
    TTestDatabase db;
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SVERSIONE FROM TVT_SCHEMA WHERE SAPPLICAZIONE = 'VARDELLA'")).toString(),
             QStringLiteral("6.94.02"));
    // The framework's generator starts above the demo's explicit keys.
    const int id = db.Connection()->NextId();
    QVERIFY2(id >= 1000000, qPrintable(QString::number(id)));
    QCOMPARE(db.Connection()->NextId(), id + 1);
}

void TstDatabase::refusesOtherVersionWritingNothing()
{
    TVtConnectionSettings s;
    s.Database = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("old.fdb"));
    TVtDatabaseCreator creator;
    creator.Scripts = DbScripts::SchemaScripts();
    creator.SchemaVersion = QStringLiteral("6.90.00");
    QString error;
    QVERIFY2(creator.Create(s, &error), qPrintable(error));
    const QByteArray before = [&] { QFile f(s.FilePath()); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    TVtSQLConnection conn;
    conn.DBVersion = QStringLiteral("6.94.02");
    QVERIFY(!conn.Open(s, &error));
    QCOMPARE(error, QStringLiteral("Il database %1 è alla versione 6.90.00, mentre il programma richiede la versione 6.94.02.")
                        .arg(s.Database));
    QVERIFY(!conn.Connected());
    QFile f(s.FilePath());
    QVERIFY(f.open(QIODevice::ReadOnly));
    // Page headers may change on attach (a generation counter), but no row was written.
    QCOMPARE(f.size(), before.size());
}

void TstDatabase::refusesForeignDatabase()
{
    TVtConnectionSettings s;
    s.Database = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("foreign.fdb"));
    QString error;
    QVERIFY2(TVtDatabaseCreator::CreateEmptyFile(s, s.FilePath(), &error), qPrintable(error));
    TVtSQLConnection conn;
    QVERIFY(!conn.Open(s, &error));
    QCOMPARE(error, QStringLiteral("Il database %1 non è un database di Vardella.").arg(s.Database));

    // A file that is not a database at all is refused too, with the engine's reason.
    s.Database = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("text.fdb"));
    QFile t(s.FilePath());
    QVERIFY(t.open(QIODevice::WriteOnly));
    t.write("not a database");
    t.close();
    QVERIFY(!conn.Open(s, &error));
    QVERIFY2(error.startsWith(QStringLiteral("Impossibile aprire il database %1.\r\nIl database %1 è danneggiato o incompleto")
                                  .arg(s.Database)), qPrintable(error));
    QCOMPARE(t.size(), qint64(14));
}

void TstDatabase::failedCreationLeavesNoFile()
{
    const QString bad = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("bad.sql"));
    QFile f(bad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("CREATE TABLE OK1 (I INTEGER);\nINSERT INTO MISSING VALUES (1);\n");
    f.close();
    TVtConnectionSettings s;
    s.Database = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("bad.fdb"));
    TVtDatabaseCreator creator;
    creator.Scripts = DbScripts::SchemaScripts() << bad;
    creator.SchemaVersion = QStringLiteral("6.94.02");
    QString error;
    QVERIFY(!creator.Create(s, &error));
    QVERIFY2(error.contains(QStringLiteral("bad.sql, istruzione 2")), qPrintable(error));
    QVERIFY(!QFileInfo::exists(s.FilePath()));
    QVERIFY(!QFileInfo::exists(s.FilePath() + QStringLiteral(".new")));
}

// The demo school is built only in the installation's own embedded file,
// named by readable settings, and only when it is not there yet.
void TstDatabase::connectionModuleCreatesMissingFile()
{
    const QString home = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("installazione"));
    QVERIFY(QDir().mkpath(QDir(home).filePath(QStringLiteral("etc"))));
    qputenv("VARDELLA_HOME", home.toUtf8());
    const QString ini = QDir(home).filePath(QStringLiteral("etc/Vardella.ini"));
    {
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Database]\nDatabase=usr/vardella.fdb\nUser=SYSDBA\nPassword=masterkey\nCharSet=UTF8\n");
    }
    TScopedMessageService messages;
    TdmVtConnection dm;
    QCOMPARE(dm.Settings.Problem, QString());
    QCOMPARE(dm.Settings.FilePath(), QDir(home).filePath(QStringLiteral("usr/vardella.fdb")));
    dm.xqoMain->DBVersion = QStringLiteral("6.94.02");
    dm.CreateScripts = DbScripts::SchemaScripts();
    QStringList progress;
    dm.OnCreateProgress = [&](const QString &script, int index, int count) {
        progress << QStringLiteral("%1/%2 %3").arg(index).arg(count).arg(script.section(QLatin1Char('/'), -1));
    };
    QVERIFY(dm.OpenConnection());
    QCOMPARE(qqoVtGlobConn, dm.xqoMain);
    QVERIFY(messages->Messages.isEmpty());
    QCOMPARE(progress.size(), DbScripts::SchemaScripts().size() + 1);
    QVERIFY2(progress.first().startsWith(QStringLiteral("0/")), qPrintable(progress.join(QLatin1Char(','))));
    QCOMPARE(progress.last(), QStringLiteral("%1/%1 ").arg(DbScripts::SchemaScripts().size()));
    dm.CloseConnection();
    QVERIFY(qqoVtGlobConn == nullptr);
    qunsetenv("VARDELLA_HOME");
}

void TstDatabase::startUpNeverCreatesAnotherDatabase_data()
{
    QTest::addColumn<QByteArray>("ini");       // empty: no settings file at all
    QTest::addColumn<QString>("message");      // %1 the settings file, %2 the work folder
    QTest::newRow("no settings file")
        << QByteArray() << QStringLiteral("Il file delle impostazioni di connessione %1 non esiste: ripristinarlo o "
                                          "reinstallare il programma.");
    QByteArray noise(600, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 131 + 7) % 256);
    QTest::newRow("random bytes")
        << noise << QStringLiteral("Il file delle impostazioni di connessione %1 non indica il database: scrivere nella "
                                   "sezione [Database] la voce Database con il file o il server.");
    QTest::newRow("garbled")
        << QByteArray("[Databse\nDatabase usr/vardella.fdb\n")
        << QStringLiteral("Il file delle impostazioni di connessione %1 non è leggibile o è danneggiato: controllarlo o "
                          "ripristinarlo.");
    QTest::newRow("empty Database")
        << QByteArray("[Database]\nDatabase=\n")
        << QStringLiteral("Il file delle impostazioni di connessione %1 non indica il database: scrivere nella sezione "
                          "[Database] la voce Database con il file o il server.");
    QTest::newRow("a folder")
        << QByteArray("[Database]\nDatabase=usr\n")
        << QStringLiteral("Nelle impostazioni di connessione %1 la voce Database indica la cartella %2/usr e non un "
                          "file di database.");
    QTest::newRow("unknown character set")
        << QByteArray("[Database]\nDatabase=usr/vardella.fdb\nCharSet=UTF-8\n")
        << QStringLiteral("Nelle impostazioni di connessione %1 il set di caratteri \"UTF-8\" non è valido: usare UTF8.");
    QTest::newRow("lock timeout not a number")
        << QByteArray("[Database]\nDatabase=usr/vardella.fdb\nLockTimeout=cinque\n")
        << QStringLiteral("Nelle impostazioni di connessione %1 la voce LockTimeout deve essere un numero di secondi.");
    QTest::newRow("folder not there (share not mounted)")
        << QByteArray("[Database]\nDatabase=/mnt/ufficio/vardella.fdb\n")
        << QStringLiteral("La cartella /mnt/ufficio del database non esiste: controllare il percorso nelle impostazioni "
                          "di connessione e, se è una cartella condivisa, che sia collegata.");
    QTest::newRow("another file in an existing folder")
        << QByteArray("[Database]\nDatabase=usr/ufficio.fdb\n")
        << QStringLiteral("Il database %2/usr/ufficio.fdb non esiste: controllare il percorso nelle impostazioni di "
                          "connessione.");
    QTest::newRow("server that does not answer")
        << QByteArray("[Database]\nDatabase=127.0.0.1/1:/srv/vardella.fdb\n")
        << QStringLiteral("Impossibile aprire il database 127.0.0.1/1:/srv/vardella.fdb.\r\nIl server 127.0.0.1 non "
                          "risponde: controllare che sia acceso, che il servizio Firebird sia avviato e che la rete sia "
                          "collegata.");
}

// Whatever is wrong, the user is told what to check and no file is made.
void TstDatabase::startUpNeverCreatesAnotherDatabase()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, message);
    const QString home = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("avvio_%1").arg(QTest::currentDataTag())
                                                                     .replace(QLatin1Char(' '), QLatin1Char('_')));
    QDir(home).removeRecursively();
    QVERIFY(QDir().mkpath(QDir(home).filePath(QStringLiteral("etc"))));
    QVERIFY(QDir().mkpath(QDir(home).filePath(QStringLiteral("usr"))));
    qputenv("VARDELLA_HOME", home.toUtf8());
    const QString file = QDir(home).filePath(QStringLiteral("etc/Vardella.ini"));
    if (!ini.isEmpty()) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(ini);
    }
    TScopedMessageService messages;
    {
        TdmVtConnection dm;
        dm.CreateScripts = DbScripts::SchemaScripts();
        QVERIFY(!dm.OpenConnection());
    }
    qunsetenv("VARDELLA_HOME");
    QCOMPARE(messages->Messages.size(), 1);
    QCOMPARE(messages->Messages[0].Type, mtError);
    message.replace(QStringLiteral("%1"), file).replace(QStringLiteral("%2"), home);
    QCOMPARE(messages->LastText().section(TVtEngineError::DetailsMarker(), 0, 0), message);
    QCOMPARE(QDir(QDir(home).filePath(QStringLiteral("usr"))).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
    QVERIFY(qqoVtGlobConn == nullptr);
}

QTEST_MAIN(TstDatabase)
#include "tst_database.moc"

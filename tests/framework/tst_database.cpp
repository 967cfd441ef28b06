#include "DbScripts.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtDatabaseCreator.h"
#include "VtSqlText.h"
#include "dmVtConnection.h"

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
    QVERIFY(error.startsWith(QStringLiteral("Impossibile aprire il database %1:").arg(s.Database)));
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

void TstDatabase::connectionModuleCreatesMissingFile()
{
    TScopedMessageService messages;
    TdmVtConnection dm;
    dm.Settings.Database = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("sub/new.fdb"));
    dm.xqoMain->DBVersion = QStringLiteral("6.94.02");
    dm.CreateScripts = DbScripts::SchemaScripts();
    QVERIFY(dm.OpenConnection());
    QCOMPARE(qqoVtGlobConn, dm.xqoMain);
    QVERIFY(messages->Messages.isEmpty());
    dm.CloseConnection();
    QVERIFY(qqoVtGlobConn == nullptr);

    // Without scripts a missing file is an error shown to the user.
    dm.Settings.Database = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("missing.fdb"));
    dm.CreateScripts.clear();
    QVERIFY(!dm.OpenConnection());
    QCOMPARE(messages->Messages.size(), 1);
    QCOMPARE(messages->Messages[0].Type, mtError);
    QVERIFY(messages->LastText().startsWith(QStringLiteral("Impossibile aprire il database")));
}

QTEST_MAIN(TstDatabase)
#include "tst_database.moc"

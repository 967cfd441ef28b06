#include "DbScripts.h"
#include "TestDatabase.h"
#include "VtDatabaseCreator.h"
#include "VtSchemaUpgrader.h"
#include "ScriptedMessageService.h"
#include "dmVtConnection.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

namespace {
TVtConnectionSettings Settings(const QString &file)
{
    TVtConnectionSettings s;
    s.Database = QDir(TTestDatabase::WorkDir()).filePath(file);
    return s;
}

// A database built by the schema scripts alone: revision 0.
TVtConnectionSettings CreateRevisionZero(const QString &file)
{
    const TVtConnectionSettings s = Settings(file);
    TVtDatabaseCreator creator;
    creator.Scripts = DbScripts::SchemaScripts();
    creator.SchemaVersion = QString::fromLatin1(VtSchemaVersion);
    QString error;
    if (!creator.Create(s, &error))
        qFatal("%s", qPrintable(error));
    return s;
}

QString WriteScript(const QString &name, const QByteArray &text)
{
    const QString path = QDir(TTestDatabase::WorkDir()).filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

// The revision the program's own scripts bring a database to, and the rows
// they leave in the bookkeeping table ("1 001_revisione.sql +").
int ShippedRevision()
{
    return int(DbScripts::UpgradeScripts().size());
}

QStringList ShippedRevisionRows()
{
    QStringList rows;
    for (const QString &path : DbScripts::UpgradeScripts()) {
        const QString name = QFileInfo(path).fileName();
        rows << QStringLiteral("%1 %2 +").arg(name.left(3).toInt()).arg(name);
    }
    return rows;
}

// Revision rows and whether a table exists, read on a connection of its own.
struct TState
{
    QStringList Rows;
    bool HasTable = false;
};

TState ReadState(const TVtConnectionSettings &s, const QString &table)
{
    TState state;
    TVtSQLConnection conn;
    QString error;
    if (!conn.Open(s, &error))
        qFatal("%s", qPrintable(error));
    QSqlDatabase db = conn.Database();
    QSqlQuery q(db);
    q.exec(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'TVT_SCHEMAREV'"));
    q.next();
    if (q.value(0).toInt() > 0) {
        q.exec(QStringLiteral("SELECT IREVISIONE, SSCRIPT, DAPPLICATO FROM TVT_SCHEMAREV ORDER BY IREVISIONE"));
        while (q.next())
            state.Rows << QStringLiteral("%1 %2 %3").arg(q.value(0).toInt()).arg(q.value(1).toString(),
                                                                                   q.value(2).isNull() ? "-" : "+");
    }
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = :sNome"));
    q.bindValue(QStringLiteral(":sNome"), table);
    q.exec();
    q.next();
    state.HasTable = q.value(0).toInt() > 0;
    return state;
}
}

class TstUpgrade : public QObject
{
    Q_OBJECT
private slots:
    void scriptNumbers();
    void upgradesRevisionZeroOnce();
    void failedUpgradeLeavesDatabase();
    void refusesNewerRevision();
    void createdDatabaseHasFullRevision();
    void connectionModuleUpgradesOnOpen();
};

void TstUpgrade::scriptNumbers()
{
    QCOMPARE(TVtSchemaUpgrader::ScriptNumber(QStringLiteral(":/database/upgrade/001_revisione.sql")), 1);
    QCOMPARE(TVtSchemaUpgrader::ScriptNumber(QStringLiteral("/x/012_colonne.sql")), 12);
    QCOMPARE(TVtSchemaUpgrader::ScriptNumber(QStringLiteral("senza_numero.sql")), 0);
    QVERIFY(!DbScripts::UpgradeScripts().isEmpty());
    QCOMPARE(QFileInfo(DbScripts::UpgradeScripts().first()).fileName(), QStringLiteral("001_revisione.sql"));
}

void TstUpgrade::upgradesRevisionZeroOnce()
{
    const TVtConnectionSettings s = CreateRevisionZero(QStringLiteral("rev0.fdb"));
    QCOMPARE(ReadState(s, QStringLiteral("TVT_SCHEMAREV")).HasTable, false);
    TVtSchemaUpgrader up;
    up.Scripts = DbScripts::UpgradeScripts();
    QString error;
    QVERIFY2(up.Upgrade(s, &error), qPrintable(error));
    QCOMPARE(up.BackupPath, s.FilePath() + QStringLiteral(".rev0.bak"));
    QVERIFY(QFileInfo::exists(up.BackupPath));
    const TState after = ReadState(s, QStringLiteral("TVT_SCHEMAREV"));
    QCOMPARE(after.Rows, ShippedRevisionRows());
    // What the script added is granted to the program's role.
    {
        QSqlDatabase db = TVtSQLConnection::AddDatabase(QStringLiteral("diritti"), s);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM RDB$USER_PRIVILEGES WHERE RDB$USER = 'VARDELLA' "
                                      "AND RDB$RELATION_NAME = 'TVT_SCHEMAREV' AND RDB$PRIVILEGE = 'I'")) && q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("diritti"));
    // The copy is the database as it was: revision 0.
    QCOMPARE(ReadState(TVtConnectionSettings{up.BackupPath, s.User, s.Password, s.CharSet}, QStringLiteral("TVT_SCHEMAREV")).HasTable,
             false);

    // A second upgrade applies nothing and copies nothing.
    QVERIFY2(up.Upgrade(s, &error), qPrintable(error));
    QVERIFY(up.BackupPath.isEmpty());
    QCOMPARE(ReadState(s, QStringLiteral("TVT_SCHEMAREV")).Rows, after.Rows);
}

void TstUpgrade::failedUpgradeLeavesDatabase()
{
    const TVtConnectionSettings s = CreateRevisionZero(QStringLiteral("bad.fdb"));
    TVtSchemaUpgrader up;
    up.Scripts = DbScripts::UpgradeScripts()
                 << WriteScript(QStringLiteral("900_rotto.sql"),
                                "CREATE TABLE TST_ROTTO (I INTEGER);\nINSERT INTO TST_MANCANTE VALUES (1);\n");
    QString error;
    QVERIFY(!up.Upgrade(s, &error));
    QVERIFY2(error.startsWith(QStringLiteral("Aggiornamento del database %1 non riuscito (script 900_rotto.sql):\r\n"
                                             "Script 900_rotto.sql, istruzione 2:\r\nINSERT INTO TST_MANCANTE VALUES (1)\r\n"
                                             "Il database ha segnalato un errore.\r\n\r\nDettagli: ").arg(s.Database)),
             qPrintable(error));
    const TState state = ReadState(s, QStringLiteral("TST_ROTTO"));
    QVERIFY(!state.HasTable);
    QVERIFY(state.Rows.isEmpty());
    QCOMPARE(ReadState(s, QStringLiteral("TVT_SCHEMAREV")).HasTable, false);
    QVERIFY(QFileInfo::exists(s.FilePath() + QStringLiteral(".rev0.bak")));

    // A second attempt keeps the first copy and makes another.
    QVERIFY(!up.Upgrade(s, &error));
    QCOMPARE(up.BackupPath, s.FilePath() + QStringLiteral(".rev0.1.bak"));
}

void TstUpgrade::refusesNewerRevision()
{
    const TVtConnectionSettings s = CreateRevisionZero(QStringLiteral("newer.fdb"));
    TVtSchemaUpgrader up;
    up.Scripts = DbScripts::UpgradeScripts()
                 << WriteScript(QStringLiteral("950_futuro.sql"), "CREATE TABLE TST_FUTURO (I INTEGER);\n");
    QString error;
    QVERIFY2(up.Upgrade(s, &error), qPrintable(error));
    QCOMPARE(ReadState(s, QStringLiteral("TST_FUTURO")).Rows.size(), ShippedRevision() + 1);

    TVtSchemaUpgrader older;
    older.Scripts = DbScripts::UpgradeScripts();
    QVERIFY(!older.Upgrade(s, &error));
    QCOMPARE(error, QStringLiteral("Il database %1 è alla revisione 950, più recente della revisione %2 che il programma conosce: "
                                   "occorre una versione più recente del programma.")
                        .arg(s.Database)
                        .arg(ShippedRevision()));
}

void TstUpgrade::createdDatabaseHasFullRevision()
{
    TTestDatabase db;
    QVariantList names;
    for (const QString &row : ShippedRevisionRows())
        names << row.section(QLatin1Char(' '), 1, 1);
    QCOMPARE(TTestDatabase::Column(QStringLiteral("SELECT SSCRIPT FROM TVT_SCHEMAREV ORDER BY IREVISIONE")), names);
    QCOMPARE(TVtSchemaUpgrader::ReadRevision(db.Connection()->Database()), ShippedRevision());
    // Without the demo school too, the bulk replace and the pupil filters
    // find their definitions.
    QCOMPARE(TTestDatabase::Column(QStringLiteral("SELECT l.sYXlsCodice || '/' || a.sYXarCodice FROM TYXar_XmlArchivio a "
                                                  "JOIN TYXls_XmlLista l ON l.iYXlsId = a.iYXlsId ORDER BY a.iYXarId")),
             (QVariantList{QStringLiteral("EBC/EBCREPLACE"), QStringLiteral("EBC/EBC_ACBFL"), QStringLiteral("EBT/EBT_ALUFLT")}));
    QVERIFY(TTestDatabase::Scalar(QStringLiteral("SELECT bYXarXmlFile FROM TYXar_XmlArchivio WHERE sYXarCodice = 'EBCREPLACE'"))
                .toString().contains(QStringLiteral("<Replace")));
}

void TstUpgrade::connectionModuleUpgradesOnOpen()
{
    TScopedMessageService messages;
    TdmVtConnection dm;
    dm.Settings = CreateRevisionZero(QStringLiteral("open.fdb"));
    dm.xqoMain->DBVersion = QString::fromLatin1(VtSchemaVersion);
    dm.UpgradeScripts = DbScripts::UpgradeScripts();
    QVERIFY(dm.OpenConnection());
    QVERIFY(messages->Messages.isEmpty());
    QCOMPARE(TVtSchemaUpgrader::ReadRevision(dm.xqoMain->Database()), ShippedRevision());
    dm.CloseConnection();
    QVERIFY(QFileInfo::exists(dm.Settings.FilePath() + QStringLiteral(".rev0.bak")));

    // A failing script refuses the open with its message.
    dm.UpgradeScripts << WriteScript(QStringLiteral("900_errato.sql"), "ALTER TABLE TST_NESSUNA ADD X INTEGER;\n");
    QVERIFY(!dm.OpenConnection());
    QVERIFY(!dm.xqoMain->Connected());
    QCOMPARE(messages->Messages.size(), 1);
    QCOMPARE(messages->Messages[0].Type, mtError);
    QVERIFY2(messages->LastText().startsWith(
                 QStringLiteral("Aggiornamento del database %1 non riuscito (script 900_errato.sql):").arg(dm.Settings.Database)),
             qPrintable(messages->LastText()));
    QCOMPARE(ReadState(dm.Settings, QStringLiteral("TVT_SCHEMAREV")).Rows, ShippedRevisionRows());
}

QTEST_MAIN(TstUpgrade)
#include "tst_upgrade.moc"

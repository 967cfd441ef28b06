#include "TestDatabase.h"
#include "VtConnectionSettings.h"
#include "VtSQLConnection.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <csignal>

// The program itself, started as the README starts it on a fresh
// installation folder: it builds the demo database, and a termination signal
// ends it promptly, leaving a database that opens again.
class TstProgram : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void terminationSignalEndsTheProgram_data();
    void terminationSignalEndsTheProgram();
    void firstStartWithoutWindowManager();
    void createDbOnAServerNeedsCredentials();
    void createDbOnAServerWithTheGivenUser();

private:
    QString m_home;
    QString DatabaseFile() const { return QDir(m_home).filePath(QStringLiteral("usr/vardella.fdb")); }
};

void TstProgram::initTestCase()
{
    m_home = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("installazione"));
    QVERIFY(QDir().mkpath(QDir(m_home).filePath(QStringLiteral("etc"))));
    QVERIFY(QDir().mkpath(QDir(m_home).filePath(QStringLiteral("usr"))));
    QVERIFY(QFile::copy(QStringLiteral(VARDELLA_INI), QDir(m_home).filePath(QStringLiteral("etc/Vardella.ini"))));
}

void TstProgram::terminationSignalEndsTheProgram_data()
{
    QTest::addColumn<int>("sig");
    QTest::newRow("SIGTERM, first start") << int(SIGTERM);
    QTest::newRow("SIGINT, database already there") << int(SIGINT);
}

void TstProgram::terminationSignalEndsTheProgram()
{
    if (!TTestDatabase::Server().isEmpty())
        QSKIP("the embedded first start is tried in the embedded run");
    QFETCH(int, sig);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VARDELLA_HOME"), m_home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(VARDELLA_EXE), {});
    QVERIFY(program.waitForStarted());

    // Running: the database is there (built on the first start) and open.
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(DatabaseFile()) && t.elapsed() < 180000)
        QTest::qWait(200);
    QVERIFY2(QFile::exists(DatabaseFile()), "the program did not build its database");
    QTest::qWait(3000);
    QCOMPARE(program.state(), QProcess::Running);

    ::kill(pid_t(program.processId()), sig);
    QVERIFY2(program.waitForFinished(15000), "the program did not end on the signal");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 128 + sig);

    // The database opens again and is the program's own.
    TVtConnectionSettings s;
    s.Database = DatabaseFile();
    TVtSQLConnection conn;
    QString error;
    QVERIFY2(conn.Open(s, &error), qPrintable(error));
    conn.Close();
}

// On a screen where no window manager activates the window (a virtual X
// screen here) the first start still opens and builds the database.
void TstProgram::firstStartWithoutWindowManager()
{
    if (!TTestDatabase::Server().isEmpty())
        QSKIP("the embedded first start is tried in the embedded run");
    const QString home = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("senza_gestore"));
    QVERIFY(QDir().mkpath(QDir(home).filePath(QStringLiteral("etc"))));
    QVERIFY(QDir().mkpath(QDir(home).filePath(QStringLiteral("usr"))));
    QVERIFY(QFile::copy(QStringLiteral(VARDELLA_INI), QDir(home).filePath(QStringLiteral("etc/Vardella.ini"))));

    const QString display = QStringLiteral(":%1").arg(50 + QCoreApplication::applicationPid() % 400);
    QProcess screen;
    screen.start(QStringLiteral("Xvfb"), {display, QStringLiteral("-screen"), QStringLiteral("0"),
                                          QStringLiteral("1600x1000x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QVERIFY2(screen.waitForStarted(), "Xvfb is missing");
    const QString socket = QStringLiteral("/tmp/.X11-unix/X") + display.mid(1);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VARDELLA_HOME"), home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), display);
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(VARDELLA_EXE), {});
    QVERIFY(program.waitForStarted());
    const QString file = QDir(home).filePath(QStringLiteral("usr/vardella.fdb"));
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(file) && t.elapsed() < 180000 && program.state() == QProcess::Running)
        QTest::qWait(200);
    const bool built = QFile::exists(file);
    const bool running = program.state() == QProcess::Running;
    ::kill(pid_t(program.processId()), SIGTERM);
    program.waitForFinished(15000);
    screen.terminate();
    screen.waitForFinished(5000);
    QVERIFY2(running, program.readAllStandardError().constData());
    QVERIFY2(built, "the first activation did not run without a window manager");
}

namespace {
struct TRun
{
    int ExitCode;
    QString Output, Errors;
};

TRun CreateDb(const QString &home, const QStringList &arguments)
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VARDELLA_HOME"), home);
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(VARDELLA_EXE), QStringList{QStringLiteral("--create-db")} + arguments);
    program.waitForFinished(180000);
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}
}

// No password of the program's own: without one in the options or in the
// settings a server database is not even tried.
void TstProgram::createDbOnAServerNeedsCredentials()
{
    const QString home = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("senza_impostazioni"));
    QVERIFY(QDir().mkpath(QDir(home).filePath(QStringLiteral("etc"))));
    const TRun run = CreateDb(home, {QStringLiteral("127.0.0.1:/srv/scuola.fdb")});
    QCOMPARE(run.ExitCode, 2);
    QCOMPARE(run.Errors.trimmed(),
             QStringLiteral("Per creare un database sul server indicare utente e password con --user e --password, oppure "
                            "scriverli nelle impostazioni di connessione %1.")
                 .arg(QDir(home).filePath(QStringLiteral("etc/Vardella.ini"))));
}

void TstProgram::createDbOnAServerWithTheGivenUser()
{
    const QString server = TTestDatabase::Server();
    if (server.isEmpty())
        QSKIP("needs a Firebird server (VARDELLA_TEST_SERVER)");
    const QString home = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("amministratore"));
    QVERIFY(QDir().mkpath(QDir(home).filePath(QStringLiteral("etc"))));
    const QString file = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("sul_server.fdb"));
    const TVtConnectionSettings s = TTestDatabase::SettingsFor(file);
    // A wrong password is refused by the server, and nothing is left there.
    TRun run = CreateDb(home, {s.Database, QStringLiteral("--user"), s.User, QStringLiteral("--password"),
                               QStringLiteral("sbagliata")});
    QCOMPARE(run.ExitCode, 1);
    QVERIFY2(run.Errors.contains(QStringLiteral("Nome utente o password del database non validi")), qPrintable(run.Errors));
    QVERIFY(!QFileInfo::exists(file));
    run = CreateDb(home, {s.Database, QStringLiteral("--user"), s.User, QStringLiteral("--password"), s.Password});
    QCOMPARE(run.ExitCode, 0);
    TVtSQLConnection conn;
    QString error;
    QVERIFY2(conn.Open(s, &error), qPrintable(error));
}

QTEST_GUILESS_MAIN(TstProgram)
#include "tst_program.moc"

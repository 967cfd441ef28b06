#include "TestDatabase.h"
#include "VtConnectionSettings.h"
#include "VtSQLConnection.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
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
    void installationLayout();
    void installedProgramWritesInTheUsersDataFolder();
    void installedProgramOnAServerStillWritesInTheUsersDataFolder();

private:
    // The build installed by its own rules under a folder of the test, as
    // the package installs it under /; the folder, or empty when that failed.
    QString Installed();
    QString m_installed;
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

QString TstProgram::Installed()
{
    if (!m_installed.isEmpty())
        return m_installed;
    const QString root = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("radice"));
    QDir(root).removeRecursively();
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(VARDELLA_BUILD_DIR), QStringLiteral("--prefix"), root});
    if (!install.waitForFinished(300000) || install.exitStatus() != QProcess::NormalExit || install.exitCode() != 0) {
        qWarning("%s", install.readAll().constData());
        return QString();
    }
    m_installed = root;
    return m_installed;
}

namespace {
// The user's data folder under a home folder, as the desktop names it when
// XDG_DATA_HOME is not set.
QString UserDataDir(const QString &userHome)
{
    return QDir(userHome).filePath(QStringLiteral(".local/share/Vardella"));
}

// The installed program, started as a user who has not used it yet: his
// home folder, no VARDELLA_HOME, no desktop data folder of his own.
void StartInstalled(QProcess &program, const QString &root, const QString &userHome)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("VARDELLA_HOME"));
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    env.insert(QStringLiteral("HOME"), userHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QDir(root).filePath(QStringLiteral("opt/vardella/bin/vardella")), {});
}

bool WaitFor(const QString &file, QProcess &program, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(file) && t.elapsed() < ms && program.state() == QProcess::Running)
        QTest::qWait(200);
    return QFile::exists(file);
}

QByteArray Read(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file under a folder, relative to it, sorted; hidden ones (git's
// placeholders) are not installed.
QStringList FilesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}
}

// The installation: the program, the whole etc/ with the settings that send
// the user's files to his data folder, the shipped usr/ files, the command,
// the menu entry and the icon.
void TstProgram::installationLayout()
{
    if (!TTestDatabase::Server().isEmpty())
        QSKIP("the installation is checked in the embedded run");
    const QString root = Installed();
    QVERIFY2(!root.isEmpty(), "cmake --install failed");
    const QDir opt(QDir(root).filePath(QStringLiteral("opt/vardella")));
    QVERIFY(QFileInfo(opt.filePath(QStringLiteral("bin/vardella"))).isExecutable());
    QCOMPARE(FilesUnder(opt.filePath(QStringLiteral("etc"))), FilesUnder(QStringLiteral(VARDELLA_SOURCE_DIR "/etc")));
    QCOMPARE(FilesUnder(opt.filePath(QStringLiteral("usr"))), FilesUnder(QStringLiteral(VARDELLA_SOURCE_DIR "/usr")));
    QSettings ini(opt.filePath(QStringLiteral("etc/Vardella.ini")), QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Percorsi/DatiUtente")).toInt(), 1);
    QCOMPARE(ini.value(QStringLiteral("Database/Database")).toString(), QStringLiteral("usr/vardella.fdb"));
    // The build folder's own settings are the shipped ones: no marker there.
    QVERIFY(!QSettings(QStringLiteral(VARDELLA_BUILD_DIR "/etc/Vardella.ini"), QSettings::IniFormat)
                 .contains(QStringLiteral("Percorsi/DatiUtente")));
    const QFileInfo command(QDir(root).filePath(QStringLiteral("usr/bin/vardella")));
    QVERIFY(command.isSymLink());
    QCOMPARE(command.symLinkTarget(), QStringLiteral("/opt/vardella/bin/vardella"));
    QSettings desktop(QDir(root).filePath(QStringLiteral("usr/share/applications/vardella.desktop")), QSettings::IniFormat);
    QCOMPARE(desktop.value(QStringLiteral("Desktop Entry/Exec")).toString(), QStringLiteral("vardella"));
    QCOMPARE(desktop.value(QStringLiteral("Desktop Entry/Icon")).toString(), QStringLiteral("vardella"));
    QVERIFY(QFileInfo::exists(QDir(root).filePath(QStringLiteral("usr/share/icons/hicolor/scalable/apps/vardella.svg"))));
}

// Installed, the program writes nothing beside itself: the first start
// makes the user's data folder, copies the shipped files there and builds
// the demo school in it; a later start brings back a shipped file the user
// removed and leaves the ones he changed alone.
void TstProgram::installedProgramWritesInTheUsersDataFolder()
{
    if (!TTestDatabase::Server().isEmpty())
        QSKIP("the embedded first start is tried in the embedded run");
    const QString root = Installed();
    QVERIFY2(!root.isEmpty(), "cmake --install failed");
    const QString user = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("utente"));
    QDir(user).removeRecursively();
    QVERIFY(QDir().mkpath(user));
    const QDir data(UserDataDir(user));
    const QString opt = QDir(root).filePath(QStringLiteral("opt/vardella"));
    const QStringList shipped = FilesUnder(QDir(opt).filePath(QStringLiteral("usr")));

    QProcess program;
    StartInstalled(program, root, user);
    QVERIFY(program.waitForStarted());
    const bool built = WaitFor(data.filePath(QStringLiteral("vardella.fdb")), program, 180000);
    QTest::qWait(2000);
    const bool running = program.state() == QProcess::Running;
    ::kill(pid_t(program.processId()), SIGTERM);
    QVERIFY(program.waitForFinished(15000));
    QVERIFY2(built && running, program.readAllStandardError().constData());
    QCOMPARE(program.exitCode(), 128 + SIGTERM);

    const QString filter = QStringLiteral("ebc/filter/Classi prime.xml");
    const QString csv = QStringLiteral("ebd/import/intestatari_esempio.csv");
    QCOMPARE(Read(data.filePath(filter)), Read(QDir(opt).filePath(QStringLiteral("usr/") + filter)));
    QCOMPARE(Read(data.filePath(csv)), Read(QDir(opt).filePath(QStringLiteral("usr/") + csv)));
    // The demo school's bank settings, written with the database.
    QVERIFY(QFileInfo::exists(data.filePath(QStringLiteral("Ebd/xba/Banca.ini"))));
    // Nothing written in the installation.
    QCOMPARE(FilesUnder(QDir(opt).filePath(QStringLiteral("usr"))), shipped);
    QCOMPARE(FilesUnder(QDir(opt).filePath(QStringLiteral("etc"))), FilesUnder(QStringLiteral(VARDELLA_SOURCE_DIR "/etc")));
    {
        TVtConnectionSettings s;
        s.Database = data.filePath(QStringLiteral("vardella.fdb"));
        TVtSQLConnection conn;
        QString error;
        QVERIFY2(conn.Open(s, &error), qPrintable(error));
        TTestDatabase::TGlobalConnection global(&conn);
        QVERIFY(TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM TAna_Anagrafiche")).toInt() > 0);
        conn.Close();
    }

    // The user's own filter stays; the example he removed comes back.
    {
        QFile f(data.filePath(filter));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("<Filtro/>\n");
    }
    QVERIFY(QFile::remove(data.filePath(csv)));
    QProcess again;
    StartInstalled(again, root, user);
    QVERIFY(again.waitForStarted());
    const bool restored = WaitFor(data.filePath(csv), again, 60000);
    QTest::qWait(3000);
    const bool runningAgain = again.state() == QProcess::Running;
    ::kill(pid_t(again.processId()), SIGTERM);
    QVERIFY(again.waitForFinished(15000));
    QVERIFY2(restored && runningAgain, again.readAllStandardError().constData());
    QCOMPARE(Read(data.filePath(filter)), QByteArray("<Filtro/>\n"));
    QCOMPARE(FilesUnder(QDir(opt).filePath(QStringLiteral("usr"))), shipped);
}

// Settings that name a server: the database is the server's, and the user's
// files still go to his data folder, never beside the program.
void TstProgram::installedProgramOnAServerStillWritesInTheUsersDataFolder()
{
    if (!TTestDatabase::Server().isEmpty())
        QSKIP("tried in the embedded run, on a server that does not answer");
    const QString root = Installed();
    QVERIFY2(!root.isEmpty(), "cmake --install failed");
    const QString opt = QDir(root).filePath(QStringLiteral("opt/vardella"));
    const QString iniFile = QDir(opt).filePath(QStringLiteral("etc/Vardella.ini"));
    const QByteArray installedIni = Read(iniFile);
    {
        QSettings ini(iniFile, QSettings::IniFormat);
        ini.setValue(QStringLiteral("Database/Database"), QStringLiteral("127.0.0.1/1:/srv/vardella.fdb"));
    }
    const QString user = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("utente_server"));
    QDir(user).removeRecursively();
    QVERIFY(QDir().mkpath(user));
    const QDir data(UserDataDir(user));

    QProcess program;
    StartInstalled(program, root, user);
    QVERIFY(program.waitForStarted());
    // It tells that the server does not answer, and waits for the user.
    const bool prepared = WaitFor(data.filePath(QStringLiteral("ebc/filter/Classi prime.xml")), program, 60000);
    QTest::qWait(3000);
    if (program.state() == QProcess::Running)
        ::kill(pid_t(program.processId()), SIGTERM);
    QVERIFY(program.waitForFinished(15000));
    {
        QFile f(iniFile);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(installedIni);
    }
    QVERIFY2(prepared, program.readAllStandardError().constData());
    QVERIFY(!QFileInfo::exists(data.filePath(QStringLiteral("vardella.fdb"))));
    QVERIFY(!QFileInfo::exists(QDir(opt).filePath(QStringLiteral("usr/vardella.fdb"))));
    QCOMPARE(FilesUnder(QDir(opt).filePath(QStringLiteral("usr"))), FilesUnder(QStringLiteral(VARDELLA_SOURCE_DIR "/usr")));
}

QTEST_GUILESS_MAIN(TstProgram)
#include "tst_program.moc"

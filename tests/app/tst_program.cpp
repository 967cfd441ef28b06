#include "TestDatabase.h"
#include "VtConnectionSettings.h"
#include "VtSQLConnection.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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

QTEST_GUILESS_MAIN(TstProgram)
#include "tst_program.moc"

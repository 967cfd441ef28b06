#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtEngineError.h"
#include "VtField.h"
#include "VtQueryCollection.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

namespace {
// A TCP relay between the program and the server, in a thread of its own
// (the client library blocks the test's thread). Cutting it is the network
// going away under an open connection.
class TRelay : public QObject
{
    Q_OBJECT
public:
    explicit TRelay(quint16 target) : m_target(target) {}
    quint16 Port() const { return m_port; }

public slots:
    void Listen()
    {
        if (!m_server) {
            m_server = new QTcpServer(this);
            connect(m_server, &QTcpServer::newConnection, this, &TRelay::Accept);
        }
        m_server->listen(QHostAddress::LocalHost, m_port);
        m_port = m_server->serverPort();
    }
    void Cut()
    {
        m_server->close();
        for (QTcpSocket *s : findChildren<QTcpSocket *>())
            s->abort();
        qDeleteAll(findChildren<QTcpSocket *>());
    }

private:
    void Accept()
    {
        while (QTcpSocket *in = m_server->nextPendingConnection()) {
            in->setParent(this);
            auto *out = new QTcpSocket(this);
            out->connectToHost(QHostAddress::LocalHost, m_target);
            connect(in, &QTcpSocket::readyRead, out, [in, out] { out->write(in->readAll()); });
            connect(out, &QTcpSocket::readyRead, in, [in, out] { in->write(out->readAll()); });
            connect(in, &QTcpSocket::disconnected, out, &QTcpSocket::disconnectFromHost);
            connect(out, &QTcpSocket::disconnected, in, &QTcpSocket::disconnectFromHost);
        }
    }

    quint16 m_target;
    quint16 m_port = 0;
    QPointer<QTcpServer> m_server;
};
}

// The server goes away while the program runs: the next action says so and
// offers to reconnect; once the server answers again the reconnection works
// on the same connection, and the edit in progress is saved.
class TstReconnect : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void lostServerIsToldAndTheEditSurvives();

private:
    void Run(const char *slot);
    std::unique_ptr<TTestDatabase> m_db;
    QThread m_thread;
    TRelay *m_relay = nullptr;
};

void TstReconnect::initTestCase()
{
    if (TTestDatabase::Server().isEmpty())
        QSKIP("needs a Firebird server (VARDELLA_TEST_SERVER)");
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::SchemaOnly, [] {
        TTestDatabase::Exec(QStringLiteral("CREATE TABLE TRC_CONTI (ICCID INTEGER NOT NULL PRIMARY KEY, SINTEST VARCHAR(40))"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TRC_CONTI VALUES (1, 'Istituto')"));
    });
    const QString server = TTestDatabase::Server();
    const quint16 port = server.contains(QLatin1Char('/')) ? quint16(server.section(QLatin1Char('/'), 1).toUInt()) : 3050;
    m_relay = new TRelay(port);
    m_relay->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_relay, &QObject::deleteLater);
    m_thread.start();
    Run("Listen");
    QVERIFY(m_relay->Port() > 0);
}

void TstReconnect::cleanupTestCase()
{
    m_thread.quit();
    m_thread.wait();
}

void TstReconnect::Run(const char *slot)
{
    QMetaObject::invokeMethod(m_relay, slot, Qt::BlockingQueuedConnection);
}

void TstReconnect::lostServerIsToldAndTheEditSurvives()
{
    TVtConnectionSettings s = m_db->Settings();
    s.Database = QStringLiteral("127.0.0.1/%1:%2").arg(m_relay->Port()).arg(s.FilePath());
    TVtSQLConnection conn;
    QString error;
    QVERIFY2(conn.Open(s, &error), qPrintable(error));
    TScopedMessageService messages;
    TVtQueryCollection q;
    q.Connection = &conn;
    q.CommandText = QStringLiteral("SELECT ICCID, SINTEST FROM TRC_CONTI");
    q.KeyFields = QStringLiteral("ICCID");
    q.SQLUpdate.Add(QStringLiteral("UPDATE TRC_CONTI SET SINTEST = :SINTEST WHERE ICCID = :VTCURRID"));
    q.Open();
    q.Edit();
    q.FieldByName(QStringLiteral("SINTEST"))->SetValue(QStringLiteral("Scritto durante il guasto"));

    Run("Cut");
    // Not now: the edit stays.
    messages->Answers << mrNo;
    QVERIFY(!q.Post());
    QCOMPARE(messages->Messages.size(), 1);
    const QString lost = messages->LastText();
    QVERIFY2(lost.startsWith(QStringLiteral("Impossibile salvare i dati:\r\n")), qPrintable(lost));
    QVERIFY2(lost.endsWith(QStringLiteral("\r\n\r\nRiconnettersi al database ora?")), qPrintable(lost));
    QCOMPARE(messages->Messages[0].Buttons, TVtMsgDlgButtons(mbYes | mbNo));
    QCOMPARE(q.State(), dsEdit);

    // Yes while the server is still away: told why, nothing lost.
    messages->Clear();
    messages->Answers << mrYes;
    QVERIFY(!q.Post());
    QCOMPARE(messages->Messages.size(), 2);
    QVERIFY2(messages->LastText().startsWith(QStringLiteral("Impossibile riconnettersi al database %1.\r\nIl server "
                                                           "127.0.0.1 non risponde").arg(s.Database)),
             qPrintable(messages->LastText()));
    QCOMPARE(q.State(), dsEdit);

    // The server answers again: reconnect, then the same save goes through.
    Run("Listen");
    messages->Clear();
    messages->Answers << mrYes;
    QVERIFY(!q.Post());
    QCOMPARE(messages->Texts().last(), QStringLiteral("Connessione al database ripristinata: ripetere l'operazione."));
    QVERIFY(conn.Alive());
    messages->Clear();
    QVERIFY(q.Post());
    QVERIFY(messages->Messages.isEmpty());
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SINTEST FROM TRC_CONTI WHERE ICCID = 1")).toString(),
             QStringLiteral("Scritto durante il guasto"));
}

QTEST_MAIN(TstReconnect)
#include "tst_reconnect.moc"

#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtDatabaseError.h"
#include "VtEngineError.h"
#include "VtField.h"
#include "VtQueryCollection.h"
#include "VtSQLQuery.h"

#include <ibase.h>

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTest>
#include <cerrno>

// The engine's errors reach the user as Italian sentences that say what to
// do, chosen by the engine's codes; its own text follows as "Dettagli".
class TstEngineErrors : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void sentencesByCode_data();
    void sentencesByCode();
    void sentencesBySqlCode_data();
    void sentencesBySqlCode();
    void openingTellsWhy_data();
    void openingTellsWhy();
    void fileInUseByAnotherProgram();
    void wrongPasswordOnTheServer();
    void writesTellWhy();
    void tooLongTextNamesTheField();
    void readOnlyDatabaseOpensAndRefusesWrites();
    void userExceptionTellsItsOwnText();

private:
    QString OpenError(const QString &database);
    std::unique_ptr<TTestDatabase> m_db;
};

void TstEngineErrors::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::SchemaOnly, [] {
        TTestDatabase::Exec(QStringLiteral("CREATE TABLE TEE_PADRE (IID INTEGER NOT NULL PRIMARY KEY, SNOME VARCHAR(10))"));
        TTestDatabase::Exec(QStringLiteral("CREATE TABLE TEE_FIGLIO (IID INTEGER NOT NULL PRIMARY KEY, "
                                           "IPADRE INTEGER REFERENCES TEE_PADRE (IID))"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TEE_PADRE VALUES (1, 'Uno')"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TEE_FIGLIO VALUES (1, 1)"));
        TTestDatabase::Exec(QStringLiteral("CREATE EXCEPTION TEE_RIFIUTO 'Operazione non ammessa.'"));
        // Raises the exception with the text given, or with its own text when none.
        TTestDatabase::Exec(QStringLiteral(
            "CREATE PROCEDURE TEE_RIFIUTA (sTesto VARCHAR(200)) AS BEGIN "
            "  INSERT INTO TEE_PADRE (IID, SNOME) VALUES (2, 'Due'); "
            "  IF (sTesto IS NULL) THEN EXCEPTION TEE_RIFIUTO; "
            "  EXCEPTION TEE_RIFIUTO 'Nel campo \"' || sTesto || '\" - il valore non è ammesso.'; "
            "END"));
    });
}

void TstEngineErrors::init()
{
    m_db->Fresh();
}

void TstEngineErrors::sentencesByCode_data()
{
    QTest::addColumn<QList<long>>("codes");
    QTest::addColumn<int>("osError");
    QTest::addColumn<int>("kind");
    using E = TVtEngineError;
    QTest::newRow("not a database") << QList<long>{isc_bad_db_format} << 0 << int(E::ekNotDatabase);
    QTest::newRow("missing file") << QList<long>{isc_io_error, isc_io_open_err} << ENOENT << int(E::ekMissingFile);
    QTest::newRow("truncated file") << QList<long>{isc_io_error, isc_random} << 0 << int(E::ekDamaged);
    QTest::newRow("corrupt page") << QList<long>{isc_db_corrupt} << 0 << int(E::ekDamaged);
    QTest::newRow("bad checksum") << QList<long>{isc_bad_checksum} << 0 << int(E::ekDamaged);
    QTest::newRow("other version") << QList<long>{isc_wrong_ods} << 0 << int(E::ekWrongVersion);
    QTest::newRow("file rights") << QList<long>{isc_io_error, isc_io_open_err} << EACCES << int(E::ekNoFileAccess);
    QTest::newRow("grants") << QList<long>{isc_no_priv} << 0 << int(E::ekNoPermission);
    QTest::newRow("in use") << QList<long>{isc_io_error, isc_already_opened} << 0 << int(E::ekFileInUse);
    QTest::newRow("server down") << QList<long>{isc_network_error, isc_net_connect_err} << 0 << int(E::ekServerUnreachable);
    QTest::newRow("connection lost") << QList<long>{isc_network_error, isc_net_read_err} << 0 << int(E::ekConnectionLost);
    QTest::newRow("login") << QList<long>{isc_login} << 0 << int(E::ekLogin);
    QTest::newRow("lock conflict") << QList<long>{isc_lock_conflict, isc_concurrent_transaction} << 0 << int(E::ekLockConflict);
    QTest::newRow("deadlock") << QList<long>{isc_deadlock, isc_update_conflict} << 0 << int(E::ekLockConflict);
    QTest::newRow("too long") << QList<long>{isc_arith_except, isc_string_truncation} << 0 << int(E::ekTooLong);
    QTest::newRow("duplicate") << QList<long>{isc_unique_key_violation} << 0 << int(E::ekDuplicateKey);
    QTest::newRow("referenced") << QList<long>{isc_foreign_key} << 0 << int(E::ekReferenced);
    QTest::newRow("disk full") << QList<long>{isc_io_error, isc_io_write_err} << ENOSPC << int(E::ekDiskFull);
    QTest::newRow("disk full in an index") << QList<long>{isc_no_meta_update, isc_random} << ENOSPC << int(E::ekDiskFull);
    QTest::newRow("read-only") << QList<long>{isc_read_only_database} << 0 << int(E::ekReadOnly);
    QTest::newRow("user exception") << QList<long>{isc_except, isc_random} << 0 << int(E::ekRefused);
    QTest::newRow("anything else") << QList<long>{isc_dsql_error} << 0 << int(E::ekUnknown);
}

void TstEngineErrors::sentencesByCode()
{
    QFETCH(QList<long>, codes);
    QFETCH(int, osError);
    QFETCH(int, kind);
    const TVtEngineError e = TVtEngineError::FromCodes(codes, osError, QStringLiteral("engine text"));
    QCOMPARE(int(e.Kind), kind);
    QVERIFY(!e.Sentence().isEmpty());
    QCOMPARE(e.Text(), e.Sentence() + QStringLiteral("\r\n\r\nDettagli: engine text"));
}

void TstEngineErrors::sentencesBySqlCode_data()
{
    QTest::addColumn<int>("sqlCode");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("-803") << -803 << QStringLiteral("Esiste già un record con gli stessi dati, che devono essere unici.");
    QTest::newRow("-530") << -530 << QStringLiteral("Il record è collegato ad altri dati (o rimanda a dati che non "
                                                    "esistono più): l'operazione non è possibile.");
    QTest::newRow("-913") << -913 << QStringLiteral("Il record è in uso da parte di un altro utente: riprovare tra poco.");
    QTest::newRow("-551") << -551 << QStringLiteral("L'utente del database non ha i permessi necessari su questi dati: "
                                                    "chiedere all'amministratore del database di assegnargli il ruolo "
                                                    "VARDELLA.");
    QTest::newRow("-817") << -817 << QStringLiteral("Il database è in sola lettura: le modifiche non possono essere salvate.");
    QTest::newRow("-902") << -902 << QStringLiteral("La connessione al database si è interrotta: controllare la rete e il "
                                                    "server, poi riconnettersi.");
    QTest::newRow("-104") << -104 << QStringLiteral("Il database ha segnalato un errore.");
}

void TstEngineErrors::sentencesBySqlCode()
{
    QFETCH(int, sqlCode);
    QFETCH(QString, sentence);
    QCOMPARE(TVtEngineError::FromSqlCode(sqlCode, QStringLiteral("x")).Sentence(), sentence);
}

QString TstEngineErrors::OpenError(const QString &database)
{
    TVtConnectionSettings s = m_db->Settings();
    s.Database = database;
    TVtSQLConnection conn;
    QString error;
    if (conn.Open(s, &error))
        return QStringLiteral("aperto");
    return error;
}

void TstEngineErrors::openingTellsWhy_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("missing") << QStringLiteral("missing")
                             << QStringLiteral("Il file %1 non esiste: controllare il percorso nelle impostazioni di "
                                               "connessione e, se il file è su una cartella condivisa, che la cartella "
                                               "sia collegata.");
    QTest::newRow("random bytes") << QStringLiteral("random")
                                  << QStringLiteral("Il file %1 non è un database: controllare nelle impostazioni di "
                                                    "connessione il nome del file.");
    QTest::newRow("truncated") << QStringLiteral("truncated")
                               << QStringLiteral("Il database %1 è danneggiato o incompleto: ripristinare l'ultima copia "
                                                 "di sicurezza.");
    QTest::newRow("no write permission") << QStringLiteral("readonly")
                                         << QStringLiteral("Mancano i permessi per leggere e scrivere il file %1: chiedere "
                                                           "all'amministratore del computer di concederli all'utente che "
                                                           "avvia il programma.");
}

// Each provoked for real on a file of its own.
void TstEngineErrors::openingTellsWhy()
{
    QFETCH(QString, how);
    QFETCH(QString, sentence);
    const QString path = QDir(TTestDatabase::WorkDir()).filePath(how + QStringLiteral(".fdb"));
    QFile::remove(path);
    if (how == QLatin1String("random")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray noise(40000, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 251);
        f.write(noise);
    } else if (how == QLatin1String("truncated")) {
        QFile whole(m_db->TemplatePath());
        QVERIFY(whole.open(QIODevice::ReadOnly));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(whole.read(whole.size() / 3));
    } else if (how == QLatin1String("readonly")) {
        QVERIFY(QFile::copy(m_db->TemplatePath(), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    const QString error = OpenError(path);
    QCOMPARE(error.section(TVtEngineError::DetailsMarker(), 0, 0),
             QStringLiteral("Impossibile aprire il database %1.\r\n").arg(path) + sentence.arg(path));
    QVERIFY2(error.section(TVtEngineError::DetailsMarker(), 1).size() > 10, qPrintable(error));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

// Another program holds the file with an engine of its own.
void TstEngineErrors::fileInUseByAnotherProgram()
{
    const QString path = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("inuse.fdb"));
    QFile::remove(path);
    QVERIFY(QFile::copy(m_db->TemplatePath(), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QProcess isql;
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), path});
    QVERIFY2(isql.waitForStarted(), "isql-fb is missing");
    TVtConnectionSettings s = m_db->Settings();
    s.Database = path;
    // Not probed before isql holds it: an attachment of this process would
    // keep isql out instead.
    QTest::qWait(3000);
    QTRY_COMPARE_WITH_TIMEOUT(TVtSQLConnection::AttachError(s).Kind, TVtEngineError::ekFileInUse, 20000);
    const QString error = OpenError(path);
    isql.write("QUIT;\n");
    isql.closeWriteChannel();
    isql.waitForFinished(10000);
    QCOMPARE(error.section(TVtEngineError::DetailsMarker(), 0, 0),
             QStringLiteral("Impossibile aprire il database %1.\r\nIl file %1 è già aperto da un altro programma (per "
                            "esempio un server Firebird): chiudere l'altro programma, oppure indicare nelle impostazioni "
                            "il database sul server.").arg(path));
}

void TstEngineErrors::wrongPasswordOnTheServer()
{
    if (TTestDatabase::Server().isEmpty())
        QSKIP("the embedded engine does not check passwords");
    TVtConnectionSettings s = m_db->Settings();
    s.Password = QStringLiteral("sbagliata");
    TVtSQLConnection conn;
    QString error;
    QVERIFY(!conn.Open(s, &error));
    QCOMPARE(error.section(TVtEngineError::DetailsMarker(), 0, 0),
             QStringLiteral("Impossibile aprire il database %1.\r\nNome utente o password del database non validi: "
                            "controllare le impostazioni di connessione.").arg(s.Database));
}

void TstEngineErrors::writesTellWhy()
{
    TSQLQuery q;
    auto failure = [&](const QString &sql) {
        q.SQL = sql;
        try {
            q.ExecSQL();
        } catch (const EVtDatabaseError &e) {
            return e.Message();
        }
        return QStringLiteral("eseguita");
    };
    QString text = failure(QStringLiteral("INSERT INTO TEE_PADRE (IID, SNOME) VALUES (1, 'Doppio')"));
    QVERIFY2(text.startsWith(QStringLiteral("Esiste già un record con gli stessi dati, che devono essere unici."
                                            "\r\n\r\nDettagli: violation of PRIMARY or UNIQUE KEY")),
             qPrintable(text));
    text = failure(QStringLiteral("DELETE FROM TEE_PADRE WHERE IID = 1"));
    QVERIFY2(text.startsWith(QStringLiteral("Il record è collegato ad altri dati (o rimanda a dati che non esistono "
                                            "più): l'operazione non è possibile.\r\n\r\nDettagli: ")),
             qPrintable(text));
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM TEE_PADRE")).toInt(), 1);
}

// Through a collection the field is named by its title.
void TstEngineErrors::tooLongTextNamesTheField()
{
    TScopedMessageService messages;
    TVtQueryCollection q;
    q.CommandText = QStringLiteral("SELECT IID, SNOME FROM TEE_PADRE");
    q.KeyFields = QStringLiteral("IID");
    q.SQLUpdate.Add(QStringLiteral("UPDATE TEE_PADRE SET SNOME = :SNOME WHERE IID = :VTCURRID"));
    q.Open();
    q.FieldByName(QStringLiteral("SNOME"))->DisplayLabel = QStringLiteral("Nome");
    q.Edit();
    q.FieldByName(QStringLiteral("SNOME"))->SetValue(QStringLiteral("Un nome troppo lungo"));
    QVERIFY(!q.Post());
    QCOMPARE(messages->Messages.size(), 1);
    QCOMPARE(messages->LastText().section(TVtEngineError::DetailsMarker(), 0, 0),
             QStringLiteral("Impossibile salvare i dati:\r\nIl testo del campo Nome è troppo lungo: al massimo 10 caratteri."));
    QCOMPARE(q.State(), dsEdit);
}

// A database set read-only opens, with a warning; a write is refused with
// the reason, not with a crash.
void TstEngineErrors::readOnlyDatabaseOpensAndRefusesWrites()
{
    const QString path = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("solalettura.fdb"));
    QVERIFY(m_db->ReadOnlyCopy(path));

    TVtConnectionSettings s = m_db->Settings();
    s.Database = path;
    TVtSQLConnection conn;
    QString error;
    QVERIFY2(conn.Open(s, &error), qPrintable(error));
    QVERIFY(conn.ReadOnly());
    TSQLQuery q;
    q.SQLConnection = &conn;
    q.SQL = QStringLiteral("UPDATE TEE_PADRE SET SNOME = 'x'");
    try {
        q.ExecSQL();
        QFAIL("a write on a read-only database went through");
    } catch (const EVtDatabaseError &e) {
        QCOMPARE(e.Error().Kind, TVtEngineError::ekReadOnly);
        QVERIFY2(e.Message().contains(QStringLiteral("Il database è in sola lettura: le modifiche non possono essere salvate.")),
                 qPrintable(e.Message()));
    }
    q.SQL = QStringLiteral("SELECT SNOME FROM TEE_PADRE");
    q.Open();
    QCOMPARE(q.FieldByName(QStringLiteral("SNOME")).toString(), QStringLiteral("Uno"));
}

// A rule of the database refuses with a user exception: its own text is
// what the user reads, the engine's text stays as the details. Each raised
// for real by a procedure of the test database.
void TstEngineErrors::userExceptionTellsItsOwnText()
{
    struct TRefusal
    {
        QString Message;
        TVtEngineError Error;
    };
    TSQLQuery q;
    auto refusal = [&](const QString &sql) {
        q.SQL = sql;
        try {
            q.ExecSQL();
        } catch (const EVtDatabaseError &e) {
            return TRefusal{e.Message(), e.Error()};
        }
        return TRefusal{QStringLiteral("eseguita"), {}};
    };

    // A text given at run time, with quotes, a dash and an accent.
    TRefusal r = refusal(QStringLiteral("EXECUTE PROCEDURE TEE_RIFIUTA('Nome')"));
    QCOMPARE(r.Error.Kind, TVtEngineError::ekRefused);
    QCOMPARE(r.Error.Sentence(), QStringLiteral("Nel campo \"Nome\" - il valore non è ammesso."));
    QCOMPARE(r.Message, r.Error.Sentence() + TVtEngineError::DetailsMarker() + r.Error.Details);
    QVERIFY2(r.Error.Details.startsWith(QStringLiteral("exception ")), qPrintable(r.Error.Details));
    QVERIFY2(r.Error.Details.contains(QStringLiteral(" - TEE_RIFIUTO - Nel campo \"Nome\" - il valore non è ammesso. - "
                                                     "At procedure 'TEE_RIFIUTA' line: ")),
             qPrintable(r.Error.Details));
    // What the procedure wrote before refusing is undone.
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM TEE_PADRE")).toInt(), 1);

    // The exception's own text.
    r = refusal(QStringLiteral("EXECUTE PROCEDURE TEE_RIFIUTA(NULL)"));
    QCOMPARE(r.Error.Kind, TVtEngineError::ekRefused);
    QCOMPARE(r.Error.Sentence(), QStringLiteral("Operazione non ammessa."));

    // Raised two levels down: the place lists both levels.
    r = refusal(QStringLiteral("EXECUTE BLOCK AS BEGIN EXECUTE PROCEDURE TEE_RIFIUTA('annidato'); END"));
    QCOMPARE(r.Error.Sentence(), QStringLiteral("Nel campo \"annidato\" - il valore non è ammesso."));
    QVERIFY2(r.Error.Details.contains(QStringLiteral("At block line: ")), qPrintable(r.Error.Details));

    // The client library's status vector gives the same sentence.
    const QByteArray dpb = TVtSQLConnection::ParameterBlock(m_db->Settings());
    const QByteArray name = m_db->Settings().Target().toUtf8();
    ISC_STATUS_ARRAY status = {};
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    QVERIFY(!isc_attach_database(status, short(name.size()), name.constData(), &db, short(dpb.size()), dpb.constData()));
    QVERIFY(!isc_start_transaction(status, &tr, 1, &db, 0, nullptr));
    QVERIFY(isc_dsql_execute_immediate(status, &db, &tr, 0, "EXECUTE PROCEDURE TEE_RIFIUTA('API')", 3, nullptr));
    const TVtEngineError fromStatus = TVtEngineError::FromStatus(status);
    ISC_STATUS_ARRAY ignored = {};
    isc_rollback_transaction(ignored, &tr);
    isc_detach_database(ignored, &db);
    QCOMPARE(fromStatus.Kind, TVtEngineError::ekRefused);
    QCOMPARE(fromStatus.Sentence(), QStringLiteral("Nel campo \"API\" - il valore non è ammesso."));

    // Without a message to read, a sentence of its own.
    QCOMPARE(TVtEngineError::FromSqlCode(-836, QStringLiteral("x")).Sentence(),
             QStringLiteral("Il database non consente l'operazione."));
    QCOMPARE(TVtEngineError::UserExceptionText(QStringLiteral("violation of PRIMARY or UNIQUE KEY")), QString());
}

QTEST_MAIN(TstEngineErrors)
#include "tst_engineerrors.moc"

#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtBatchInsert.h"
#include "VtPreparedStatement.h"
#include "VtDatabaseError.h"
#include "VtException.h"
#include "VtQueryCollection.h"
#include "VtSQLQuery.h"
#include "VtTransaction.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

// Multi-row work in one scope: an inner failure dooms the whole operation,
// after-write hooks wait for the outermost commit, a rollback puts the
// stored rows back in the collections, plain writes never autocommit.
class TstTransactions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void loopWithAFailedRowStoresNothing();
    void afterPostWaitsForTheOutermostCommit();
    void collectionShowsStoredValuesAfterOuterRollback();
    void innerScopeReleasedDoomsTheOuterOne();
    void plainWriteOutsideAScopeCommitsItsOwn();
    void plainWriteThatFailsStoresNothing();
    void statementsKeptForATransactionEndWithIt();
    void observerSeesEveryStatementAndCanStopAtAny();
    void batchInsertWritesEveryRowOrNone();

private:
    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_msg;
    std::unique_ptr<TVtQueryCollection> MakeCollection();
    static int Count() { return TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM TTR_RIGHE")).toInt(); }
    // What another connection sees: only committed rows.
    int CommittedCount();
};

void TstTransactions::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::SchemaOnly, [] {
        TTestDatabase::Exec(QStringLiteral(
            "CREATE TABLE TTR_RIGHE (ITRID INTEGER NOT NULL PRIMARY KEY, STRDESC VARCHAR(10) NOT NULL, FTRIMPORTO DOUBLE PRECISION)"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TTR_RIGHE (ITRID, STRDESC, FTRIMPORTO) VALUES (1, 'Mensa', 10)"));
    });
}

void TstTransactions::init()
{
    m_db->Fresh();
    m_msg = std::make_unique<TScopedMessageService>();
}

void TstTransactions::cleanup()
{
    m_msg.reset();
    QVERIFY(!m_db->Connection()->InTransaction());
}

std::unique_ptr<TVtQueryCollection> TstTransactions::MakeCollection()
{
    auto c = std::make_unique<TVtQueryCollection>();
    c->CommandText = QStringLiteral("SELECT ITRID, STRDESC, FTRIMPORTO FROM TTR_RIGHE ORDER BY ITRID");
    c->KeyFields = QStringLiteral("ITRID");
    c->SQLInsert.Add(QStringLiteral("INSERT INTO TTR_RIGHE (ITRID, STRDESC, FTRIMPORTO) VALUES (:VTGENID, :STRDESC, :FTRIMPORTO)"));
    c->SQLUpdate.Add(QStringLiteral("UPDATE TTR_RIGHE SET STRDESC = :STRDESC, FTRIMPORTO = :FTRIMPORTO WHERE ITRID = :VTCURRID"));
    c->SQLDelete.Add(QStringLiteral("DELETE FROM TTR_RIGHE WHERE ITRID = :VTCURRID"));
    return c;
}

int TstTransactions::CommittedCount()
{
    int n = -1;
    {
        QSqlDatabase other = TVtSQLConnection::AddDatabase(QStringLiteral("altra"), m_db->Settings());
        if (other.open()) {
            QSqlQuery q(other);
            if (q.exec(QStringLiteral("SELECT COUNT(*) FROM TTR_RIGHE")) && q.next())
                n = q.value(0).toInt();
        }
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("altra"));
    return n;
}

void TstTransactions::loopWithAFailedRowStoresNothing()
{
    auto c = MakeCollection();
    c->Open();
    int afterPost = 0;
    c->AfterPost = [&](TVtQueryCollection *) { ++afterPost; };
    const QStringList descs{QStringLiteral("Uno"), QStringLiteral("Due"), QStringLiteral("Troppo lunga"),
                            QStringLiteral("Quattro"), QStringLiteral("Cinque")};
    QList<bool> posted;
    bool commitRefused = false;
    {
        TVtTransaction tr;
        tr.StartTransaction();
        for (const QString &d : descs) {
            c->Insert();
            c->FieldByName(QStringLiteral("STRDESC"))->SetAsString(d);
            posted << c->Post();
            if (c->State() != dsBrowse)
                c->Cancel();   // the loop carries on past the failed row
        }
        try {
            tr.Commit();
        } catch (const EVtException &e) {
            commitRefused = true;
            QCOMPARE(e.Message(), QStringLiteral("La transazione è stata annullata e non può essere confermata."));
        }
    }
    QCOMPARE(posted, (QList<bool>{true, true, false, false, false}));
    QVERIFY(commitRefused);
    QCOMPARE(Count(), 1);
    QCOMPARE(CommittedCount(), 1);
    QCOMPARE(afterPost, 0);
    // The rows after the failure were refused, not written on their own.
    QCOMPARE((*m_msg)->Messages.size(), 3);
    QVERIFY((*m_msg)->Messages[0].Text.startsWith(QStringLiteral("Impossibile salvare i dati:\r\n")));
    QCOMPARE((*m_msg)->Messages[1].Text, QStringLiteral("Impossibile salvare i dati:\r\n"
                                                     "La transazione è stata annullata: nessun'altra modifica è possibile."));
    // The collection shows what is stored: the one row there was.
    QCOMPARE(c->RecordCount(), 1);
    QCOMPARE(c->FieldByName(QStringLiteral("STRDESC"))->AsString(), QStringLiteral("Mensa"));
}

void TstTransactions::afterPostWaitsForTheOutermostCommit()
{
    auto c = MakeCollection();
    c->Open();
    QStringList seen;
    c->AfterPost = [&](TVtQueryCollection *ds) { seen << ds->FieldByName(QStringLiteral("STRDESC"))->AsString(); };
    {
        TVtTransaction tr;
        tr.StartTransaction();
        for (const QString &d : {QStringLiteral("Gita"), QStringLiteral("Corso")}) {
            c->Insert();
            c->FieldByName(QStringLiteral("STRDESC"))->SetAsString(d);
            QVERIFY(c->Post());
        }
        QCOMPARE(seen.size(), 0);
        QCOMPARE(CommittedCount(), 1);
        tr.Commit();
    }
    QCOMPARE(seen.size(), 2);
    QCOMPARE(CommittedCount(), 3);

    // Outside any scope a post is its own operation: the hook runs at once.
    c->First();
    c->Edit();
    c->FieldByName(QStringLiteral("STRDESC"))->SetAsString(QStringLiteral("Pasti"));
    QVERIFY(c->Post());
    QCOMPARE(seen.size(), 3);
    QCOMPARE(seen.last(), QStringLiteral("Pasti"));
}

void TstTransactions::collectionShowsStoredValuesAfterOuterRollback()
{
    auto c = MakeCollection();
    c->Open();
    int afterDelete = 0;
    c->AfterDelete = [&](TVtQueryCollection *) { ++afterDelete; };
    {
        TVtTransaction tr;
        tr.StartTransaction();
        c->Edit();
        c->FieldByName(QStringLiteral("STRDESC"))->SetAsString(QStringLiteral("Cambiata"));
        QVERIFY(c->Post());
        c->Insert();
        c->FieldByName(QStringLiteral("STRDESC"))->SetAsString(QStringLiteral("Nuova"));
        QVERIFY(c->Post());
        QCOMPARE(c->RecordCount(), 2);
        c->First();
        QVERIFY(c->Delete());
        QCOMPARE(c->RecordCount(), 1);
    }   // released without commit
    QCOMPARE(afterDelete, 0);
    QCOMPARE(c->RecordCount(), 1);
    QCOMPARE(c->State(), dsBrowse);
    QCOMPARE(c->FieldByName(QStringLiteral("ITRID"))->AsInteger(), 1);
    QCOMPARE(c->FieldByName(QStringLiteral("STRDESC"))->AsString(), QStringLiteral("Mensa"));
    // A view over the collection reads the same.
    QCOMPARE(c->data(c->index(0, 1)).toString(), QStringLiteral("Mensa"));
    QCOMPARE(c->rowCount(), 1);
}

void TstTransactions::innerScopeReleasedDoomsTheOuterOne()
{
    TVtTransaction outer;
    outer.StartTransaction();
    TSQLQuery q;
    q.SQL = QStringLiteral("INSERT INTO TTR_RIGHE (ITRID, STRDESC) VALUES (:iTrId, 'Prima')");
    q.Params().CreateParam(QMetaType::Int, QStringLiteral("iTrId"))->SetAsInteger(2);
    QCOMPARE(q.ExecSQL(), 1);
    {
        TVtTransaction inner;
        inner.StartTransaction();
    }   // an inner step gave up
    QVERIFY(m_db->Connection()->RollbackOnly());
    q.Params().ParamByName(QStringLiteral("iTrId"))->SetAsInteger(3);
    QVERIFY_THROWS_EXCEPTION(EVtException, q.ExecSQL());
    try {
        q.ExecSQL();
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("La transazione è stata annullata: nessun'altra modifica è possibile."));
    }
    {
        // An inner commit inside a doomed scope is refused too.
        TVtTransaction inner;
        inner.StartTransaction();
        QVERIFY_THROWS_EXCEPTION(EVtException, inner.Commit());
    }
    QVERIFY(m_db->Connection()->InTransaction());
    QVERIFY_THROWS_EXCEPTION(EVtException, outer.Commit());
    QVERIFY(!m_db->Connection()->InTransaction());
    QCOMPARE(Count(), 1);
    // The next operation starts clean.
    q.Params().ParamByName(QStringLiteral("iTrId"))->SetAsInteger(4);
    QCOMPARE(q.ExecSQL(), 1);
    QCOMPARE(CommittedCount(), 2);
}

void TstTransactions::plainWriteOutsideAScopeCommitsItsOwn()
{
    TSQLQuery q;
    q.SQL = QStringLiteral("UPDATE TTR_RIGHE SET FTRIMPORTO = :fImporto WHERE ITRID = 1");
    q.Params().CreateParam(QMetaType::Double, QStringLiteral("fImporto"))->SetAsFloat(12.5);
    QCOMPARE(q.ExecSQL(), 1);
    QVERIFY(!m_db->Connection()->InTransaction());
    QCOMPARE(CommittedCount(), 1);
    // Another connection reads the new amount: the write was committed.
    QSqlDatabase::database(m_db->Connection()->ConnectionName()).commit();
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT FTRIMPORTO FROM TTR_RIGHE WHERE ITRID = 1")).toDouble(), 12.5);
}

void TstTransactions::plainWriteThatFailsStoresNothing()
{
    // One statement writing two rows, the second of which fails: all or nothing.
    TSQLQuery q;
    q.SQL = QStringLiteral(
        "EXECUTE BLOCK AS BEGIN "
        "INSERT INTO TTR_RIGHE (ITRID, STRDESC) VALUES (10, 'Dieci'); "
        "INSERT INTO TTR_RIGHE (ITRID, STRDESC) VALUES (11, NULL); "
        "END");
    QVERIFY_THROWS_EXCEPTION(EVtException, q.ExecSQL());
    QVERIFY(!m_db->Connection()->InTransaction());
    QCOMPARE(Count(), 1);
    QCOMPARE(CommittedCount(), 1);
}

// A batch prepares each statement once per transaction; the next
// transaction prepares its own, and what the first one wrote, committed or
// rolled back, is what the engine keeps.
void TstTransactions::statementsKeptForATransactionEndWithIt()
{
    TVtSQLConnection *conn = m_db->Connection();
    const QString insert = QStringLiteral("INSERT INTO TTR_RIGHE (ITRID, STRDESC) VALUES (?, ?)");
    QCOMPARE(conn->TransactionStatement(insert), nullptr);
    const auto write = [&](int id, bool commit) {
        TVtTransaction tr(conn);
        tr.StartTransaction();
        QSqlQuery *q = conn->TransactionStatement(insert);
        QVERIFY(q);
        QCOMPARE(conn->TransactionStatement(insert), q);
        for (int i = 0; i < 2; ++i) {
            q->bindValue(0, id + i);
            q->bindValue(1, QStringLiteral("Riga"));
            QVERIFY2(q->exec(), qPrintable(q->lastError().text()));
        }
        QSqlQuery *read = conn->TransactionStatement(QStringLiteral("SELECT COUNT(*) FROM TTR_RIGHE WHERE ITRID >= ?"));
        for (int again = 0; again < 2; ++again) {
            read->bindValue(0, id);
            QVERIFY(read->exec() && read->next());
            QCOMPARE(read->value(0).toInt(), 2);
        }
        if (commit)
            tr.Commit();
        else
            tr.Rollback();
    };
    write(20, false);
    QCOMPARE(CommittedCount(), 1);
    write(30, true);
    write(40, true);
    QCOMPARE(CommittedCount(), 5);
    QCOMPARE(conn->TransactionStatement(insert), nullptr);
    // A statement the engine refuses is told, not kept.
    TVtTransaction tr(conn);
    tr.StartTransaction();
    QVERIFY_THROWS_EXCEPTION(EVtDatabaseError, conn->TransactionStatement(QStringLiteral("SELECT NOPE FROM TTR_RIGHE")));
    tr.Rollback();
}

// The seam of the fault-injection tests: every statement of queries,
// collections and prepared statements, then the end of the transaction; an
// observer that throws stops the operation where it is.
void TstTransactions::observerSeesEveryStatementAndCanStopAtAny()
{
    QStringList seen;
    TVtSQLConnection::StatementObserver() = [&](const QString &sql) { seen << sql.simplified().section(u' ', 0, 1); };
    auto run = [&] {
        TVtTransaction tr(m_db->Connection());
        tr.StartTransaction();
        TSQLQuery q;
        q.SQL = QStringLiteral("INSERT INTO TTR_RIGHE (ITRID, STRDESC) VALUES (:id, 'Uno')");
        q.Params().CreateParam(QMetaType::Int, QStringLiteral("id"))->SetValue(51);
        q.ExecSQL();
        TVtPreparedStatement p(QStringLiteral("INSERT INTO TTR_RIGHE (ITRID, STRDESC) VALUES (:id, 'Due')"));
        p.Exec({{QStringLiteral("id"), 52}});
        tr.Commit();
    };
    run();
    QCOMPARE(seen, (QStringList{QStringLiteral("INSERT INTO"), QStringLiteral("INSERT INTO"), QStringLiteral("COMMIT")}));
    QCOMPARE(CommittedCount(), 3);
    TTestDatabase::Exec(QStringLiteral("DELETE FROM TTR_RIGHE WHERE ITRID > 50"));
    // Stopped after the first or the second statement: nothing stays, and the end is a rollback.
    for (int stopAt : {1, 2}) {
        seen.clear();
        int n = 0;
        TVtSQLConnection::StatementObserver() = [&](const QString &sql) {
            seen << sql.simplified().section(u' ', 0, 0);
            if (++n == stopAt)
                throw EVtException(QStringLiteral("interrotto dalla prova"));
        };
        QVERIFY_THROWS_EXCEPTION(EVtException, run());
        QCOMPARE(seen.last(), QStringLiteral("ROLLBACK"));
        QCOMPARE(seen.size(), stopAt + 1);
        QCOMPARE(CommittedCount(), 1);
    }
    TVtSQLConnection::StatementObserver() = nullptr;
}

// Rows written a block at a time: full blocks and the rest, every value as
// given (quotes, accents, nulls); a refused row undoes the whole batch.
void TstTransactions::batchInsertWritesEveryRowOrNone()
{
    const QList<TVtBatchInsert::TColumn> columns{{QStringLiteral("ITRID"), QStringLiteral("INTEGER")},
                                                 {QStringLiteral("STRDESC"), QStringLiteral("VARCHAR(10)")},
                                                 {QStringLiteral("FTRIMPORTO"), QStringLiteral("DOUBLE PRECISION")}};
    int blockRows = 0;
    {
        TVtTransaction tr;
        tr.StartTransaction();
        TVtBatchInsert batch(QStringLiteral("TTR_RIGHE"), columns);
        blockRows = batch.BlockRows();
        QVERIFY(blockRows > 1);
        for (int i = 0; i < 2 * blockRows + 3; ++i)
            batch.Add({100 + i, i % 2 ? QStringLiteral("D'Amico è") : QStringLiteral(":p ? '"),
                       i == 7 ? QVariant() : QVariant(i * 0.5)});
        QCOMPARE(batch.Written(), 2 * blockRows);
        batch.Flush();
        QCOMPARE(batch.Written(), 2 * blockRows + 3);
        tr.Commit();
    }
    QCOMPARE(CommittedCount(), 1 + 2 * blockRows + 3);
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT STRDESC FROM TTR_RIGHE WHERE ITRID = 101")).toString(),
             QStringLiteral("D'Amico è"));
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT STRDESC FROM TTR_RIGHE WHERE ITRID = 100")).toString(),
             QStringLiteral(":p ? '"));
    QVERIFY(TTestDatabase::Scalar(QStringLiteral("SELECT FTRIMPORTO FROM TTR_RIGHE WHERE ITRID = 107")).isNull());
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SUM(FTRIMPORTO) FROM TTR_RIGHE WHERE ITRID >= 100")).toDouble(),
             (2 * blockRows + 2) * (2 * blockRows + 3) / 4.0 - 3.5);
    TTestDatabase::Exec(QStringLiteral("DELETE FROM TTR_RIGHE WHERE ITRID >= 100"));

    // A key already there in the second block: nothing of the batch stays.
    bool refused = false;
    try {
        TVtTransaction tr;
        tr.StartTransaction();
        TVtBatchInsert batch(QStringLiteral("TTR_RIGHE"), columns);
        for (int i = 0; i < blockRows + 2; ++i)
            batch.Add({i == blockRows + 1 ? 1 : 100 + i, QStringLiteral("Riga"), 1.0});
        batch.Flush();
        tr.Commit();
    } catch (const EVtDatabaseError &) {
        refused = true;
    }
    QVERIFY(refused);
    QCOMPARE(CommittedCount(), 1);
    QCOMPARE(Count(), 1);
}

QTEST_MAIN(TstTransactions)
#include "tst_transactions.moc"

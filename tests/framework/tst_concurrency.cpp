#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtField.h"
#include "VtQueryCollection.h"
#include "VtTransaction.h"

#include "VtLockWatch.h"

#include <QSqlQuery>
#include <QTest>

// Two copies of the program on one database: a save never overwrites what
// another user stored after this copy read the row.
class TstConcurrency : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void lostUpdateIsRefusedAndTheRowReread_data();
    void lostUpdateIsRefusedAndTheRowReread();
    void ownSavesFollowEachOther();
    void deleteOfAChangedRowIsRefused();
    void saveOfARowDeletedElsewhereIsRefused();
    void refusalInsideALargerOperationFailsItWhole();
    void aSaveWaitsABoundedTimeForARowInUse_data();
    void aSaveWaitsABoundedTimeForARowInUse();

private:
    std::unique_ptr<TVtQueryCollection> Accounts(TVtSQLConnection *conn, bool generated = false);
    static QVariant Stored(const QString &column)
    {
        return TTestDatabase::Scalar(QStringLiteral("SELECT %1 FROM TCC_CONTI WHERE ICCID = 1").arg(column));
    }
    static void Set(TVtQueryCollection *q, const QString &field, const QVariant &value) { q->FieldByName(field)->SetValue(value); }

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TVtSQLConnection> m_other;   // the second copy's connection
    std::unique_ptr<TScopedMessageService> m_msg;
};

namespace {
const QString ChangedText = QStringLiteral(
    "Attenzione!\r\nIl record è stato modificato da un altro utente dopo la lettura.\r\n"
    "I dati sono stati riletti: ripetere la modifica.");
}

void TstConcurrency::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::SchemaOnly, [] {
        TTestDatabase::Exec(QStringLiteral(
            "CREATE TABLE TCC_CONTI (ICCID INTEGER NOT NULL PRIMARY KEY, SNUMERO VARCHAR(20), SINTEST VARCHAR(40), "
            "FSALDO DOUBLE PRECISION, DAPERTURA DATE, BNOTE BLOB SUB_TYPE TEXT, SALTRO VARCHAR(10))"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TCC_CONTI (ICCID, SNUMERO, SINTEST, FSALDO, DAPERTURA, BNOTE) "
                                           "VALUES (1, '000000123456', 'Istituto', 0.1, '2024-09-01', 'Conto della mensa')"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TCC_CONTI (ICCID, SNUMERO, SINTEST, FSALDO, DAPERTURA, BNOTE) "
                                           "VALUES (2, '000000999999', 'Cassa', NULL, NULL, NULL)"));
    });
}

void TstConcurrency::init()
{
    m_db->Fresh();
    m_other = std::make_unique<TVtSQLConnection>();
    QString error;
    QVERIFY2(m_other->Open(m_db->Settings(), &error), qPrintable(error));
    m_msg = std::make_unique<TScopedMessageService>();
}

void TstConcurrency::cleanup()
{
    m_msg.reset();
    m_other.reset();
}

std::unique_ptr<TVtQueryCollection> TstConcurrency::Accounts(TVtSQLConnection *conn, bool generated)
{
    auto q = std::make_unique<TVtQueryCollection>();
    q->Connection = conn;
    q->CommandText = QStringLiteral("SELECT ICCID, SNUMERO, SINTEST, FSALDO, DAPERTURA, BNOTE FROM TCC_CONTI ORDER BY ICCID");
    q->KeyFields = QStringLiteral("ICCID");
    if (generated) {
        q->AutoBuildSQL = true;
    } else {
        // As the modules write them: every column, the key alone in the WHERE.
        q->SQLUpdate.Add(QStringLiteral(" UPDATE TCC_CONTI SET SNUMERO = :SNUMERO, SINTEST = :SINTEST, FSALDO = :FSALDO, "
                                        "DAPERTURA = :DAPERTURA, BNOTE = :BNOTE WHERE ICCID = :VTCURRID"));
        q->SQLDelete.Add(QStringLiteral(" DELETE FROM TCC_CONTI WHERE ICCID = :VTCURRID"));
    }
    q->Open();
    return q;
}

void TstConcurrency::lostUpdateIsRefusedAndTheRowReread_data()
{
    QTest::addColumn<bool>("generated");
    QTest::newRow("statements of the module") << false;
    QTest::newRow("generated statements") << true;
}

void TstConcurrency::lostUpdateIsRefusedAndTheRowReread()
{
    QFETCH(bool, generated);
    auto a = Accounts(m_db->Connection(), generated);
    auto b = Accounts(m_other.get(), generated);

    // A changes the number and saves; B, which read the row before, changes the holder.
    a->Edit();
    Set(a.get(), QStringLiteral("SNUMERO"), QStringLiteral("000000654321"));
    QVERIFY(a->Post());
    b->Edit();
    Set(b.get(), QStringLiteral("SINTEST"), QStringLiteral("Istituto comprensivo"));
    QVERIFY(!b->Post());
    QCOMPARE((*m_msg)->Texts(), QStringList{ChangedText});
    QCOMPARE((*m_msg)->Messages.first().Type, mtWarning);
    // Nothing written; B shows the stored row and is no longer editing.
    QCOMPARE(Stored(QStringLiteral("SNUMERO")).toString(), QStringLiteral("000000654321"));
    QCOMPARE(Stored(QStringLiteral("SINTEST")).toString(), QStringLiteral("Istituto"));
    QCOMPARE(b->State(), dsBrowse);
    QCOMPARE(b->FieldByName(QStringLiteral("ICCID"))->Value().toInt(), 1);
    QCOMPARE(b->FieldByName(QStringLiteral("SNUMERO"))->AsString(), QStringLiteral("000000654321"));
    QVERIFY(!m_other->InTransaction());

    // Repeated on the re-read row, the change keeps A's number.
    (*m_msg)->Clear();
    b->Edit();
    Set(b.get(), QStringLiteral("SINTEST"), QStringLiteral("Istituto comprensivo"));
    QVERIFY(b->Post());
    QVERIFY((*m_msg)->Messages.isEmpty());
    QCOMPARE(Stored(QStringLiteral("SNUMERO")).toString(), QStringLiteral("000000654321"));
    QCOMPARE(Stored(QStringLiteral("SINTEST")).toString(), QStringLiteral("Istituto comprensivo"));
}

void TstConcurrency::ownSavesFollowEachOther()
{
    // A copy's own saves, of every kind of value and of nulls, never look
    // like someone else's change.
    auto a = Accounts(m_db->Connection());
    for (int id : {1, 2}) {
        QVERIFY(a->Locate(QStringLiteral("ICCID"), id));
        a->Edit();
        Set(a.get(), QStringLiteral("SINTEST"), QStringLiteral("Prima"));
        QVERIFY(a->Post());
        a->Edit();
        Set(a.get(), QStringLiteral("FSALDO"), 0.3);
        Set(a.get(), QStringLiteral("DAPERTURA"), QDate(2025, 1, 31));
        Set(a.get(), QStringLiteral("BNOTE"), QStringLiteral("Note\r\nsu due righe"));
        QVERIFY(a->Post());
        a->Edit();
        Set(a.get(), QStringLiteral("BNOTE"), QVariant());
        Set(a.get(), QStringLiteral("FSALDO"), QVariant());
        QVERIFY(a->Post());
        a->Edit();
        Set(a.get(), QStringLiteral("SINTEST"), QStringLiteral("Seconda"));
        QVERIFY(a->Post());
    }
    QVERIFY((*m_msg)->Messages.isEmpty());
    QCOMPARE(Stored(QStringLiteral("SINTEST")).toString(), QStringLiteral("Seconda"));
    // And a change by the other copy to a column this one never shows is
    // no conflict: only the columns a save writes count.
    QSqlQuery other(m_other->Database());
    QVERIFY(other.exec(QStringLiteral("UPDATE TCC_CONTI SET SALTRO = 'x' WHERE ICCID = 1")));
    QVERIFY(a->Locate(QStringLiteral("ICCID"), 1));
    a->Edit();
    Set(a.get(), QStringLiteral("SINTEST"), QStringLiteral("Terza"));
    QVERIFY(a->Post());
    QVERIFY((*m_msg)->Messages.isEmpty());
}

void TstConcurrency::deleteOfAChangedRowIsRefused()
{
    auto a = Accounts(m_db->Connection());
    auto b = Accounts(m_other.get());
    b->Edit();
    Set(b.get(), QStringLiteral("FSALDO"), 125.5);
    QVERIFY(b->Post());
    QVERIFY(!a->Delete());
    QCOMPARE((*m_msg)->Texts(), QStringList{ChangedText});
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM TCC_CONTI")).toInt(), 2);
    // A shows the other copy's value now, and deleting it again works.
    QCOMPARE(a->FieldByName(QStringLiteral("FSALDO"))->Value().toDouble(), 125.5);
    (*m_msg)->Clear();
    QVERIFY(a->Delete());
    QVERIFY((*m_msg)->Messages.isEmpty());
    QVERIFY(Stored(QStringLiteral("ICCID")).isNull());
}

void TstConcurrency::saveOfARowDeletedElsewhereIsRefused()
{
    auto a = Accounts(m_db->Connection());
    auto b = Accounts(m_other.get());
    QVERIFY(b->Delete());
    a->Edit();
    Set(a.get(), QStringLiteral("SINTEST"), QStringLiteral("Nessuno"));
    QVERIFY(!a->Post());
    QCOMPARE((*m_msg)->Texts(), QStringList{ChangedText});
    QCOMPARE(a->RecordCount(), 1);   // re-read: the row is gone
    QCOMPARE(a->FieldByName(QStringLiteral("ICCID"))->Value().toInt(), 2);
}

void TstConcurrency::refusalInsideALargerOperationFailsItWhole()
{
    auto a = Accounts(m_db->Connection());
    auto b = Accounts(m_other.get());
    b->Edit();
    Set(b.get(), QStringLiteral("SNUMERO"), QStringLiteral("111"));
    QVERIFY(b->Post());
    {
        TVtTransaction tr(m_db->Connection());
        tr.StartTransaction();
        QVERIFY(a->Locate(QStringLiteral("ICCID"), 2));
        a->Edit();
        Set(a.get(), QStringLiteral("SINTEST"), QStringLiteral("Cassa economale"));
        QVERIFY(a->Post());
        QVERIFY(a->Locate(QStringLiteral("ICCID"), 1));
        a->Edit();
        Set(a.get(), QStringLiteral("SINTEST"), QStringLiteral("Perso"));
        QVERIFY(!a->Post());
        tr.Rollback();
    }
    QCOMPARE((*m_msg)->Messages.size(), 1);
    QVERIFY2((*m_msg)->LastText().endsWith(ChangedText), qPrintable((*m_msg)->LastText()));
    // Neither row was stored, and the collection shows what is.
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SINTEST FROM TCC_CONTI WHERE ICCID = 2")).toString(), QStringLiteral("Cassa"));
    QCOMPARE(Stored(QStringLiteral("SINTEST")).toString(), QStringLiteral("Istituto"));
    QCOMPARE(a->State(), dsBrowse);
    QVERIFY(a->Locate(QStringLiteral("ICCID"), 1));
    QCOMPARE(a->FieldByName(QStringLiteral("SNUMERO"))->AsString(), QStringLiteral("111"));
    QVERIFY(a->Locate(QStringLiteral("ICCID"), 2));
    QCOMPARE(a->FieldByName(QStringLiteral("SINTEST"))->AsString(), QStringLiteral("Cassa"));
}

void TstConcurrency::aSaveWaitsABoundedTimeForARowInUse_data()
{
    QTest::addColumn<bool>("deleting");
    QTest::newRow("save") << false;
    QTest::newRow("delete") << true;
}

// The other copy holds the row in an open transaction: the save waits the
// lock timeout, is refused with the reason and keeps the edit; once the
// other transaction ends without a change, the same save goes through.
void TstConcurrency::aSaveWaitsABoundedTimeForARowInUse()
{
    QFETCH(bool, deleting);
    const int timeout = TVtLockWatch::Timeout();
    TVtLockWatch::SetTimeout(1000);
    auto a = Accounts(m_db->Connection());
    QSqlDatabase other = m_other->Database();
    QVERIFY(other.transaction());
    QSqlQuery hold(other);
    QVERIFY(hold.exec(QStringLiteral("UPDATE TCC_CONTI SET SALTRO = 'in uso' WHERE ICCID = 1")));

    const QString busy = QStringLiteral("Impossibile salvare i dati:\r\nIl record è in uso da parte di un altro utente: "
                                        "riprovare tra poco.");
    if (deleting) {
        QVERIFY(!a->Delete());
    } else {
        a->Edit();
        Set(a.get(), QStringLiteral("SINTEST"), QStringLiteral("Mia modifica"));
        QVERIFY(!a->Post());
        QCOMPARE(a->State(), dsEdit);
        QCOMPARE(a->FieldByName(QStringLiteral("SINTEST"))->AsString(), QStringLiteral("Mia modifica"));
    }
    QCOMPARE((*m_msg)->Messages.size(), 1);
    QVERIFY2((*m_msg)->LastText().startsWith(busy + TVtEngineError::DetailsMarker()), qPrintable((*m_msg)->LastText()));
    QCOMPARE((*m_msg)->Messages.first().Type, mtError);
    QVERIFY(!m_db->Connection()->InTransaction());

    hold.finish();
    QVERIFY(other.rollback());
    (*m_msg)->Clear();
    if (deleting) {
        QVERIFY(a->Delete());
        QVERIFY(Stored(QStringLiteral("ICCID")).isNull());
    } else {
        QVERIFY(a->Post());
        QCOMPARE(Stored(QStringLiteral("SINTEST")).toString(), QStringLiteral("Mia modifica"));
    }
    QVERIFY((*m_msg)->Messages.isEmpty());
    // The watch leaves nothing behind: the next statements run as usual.
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM TCC_CONTI")).toInt(), deleting ? 1 : 2);
    TVtLockWatch::SetTimeout(timeout);
}

QTEST_MAIN(TstConcurrency)
#include "tst_concurrency.moc"

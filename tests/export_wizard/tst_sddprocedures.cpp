#include "DbScripts.h"
#include "EbdUSddRules.h"
#include "SddFixture.h"
#include "TestDatabase.h"
#include "VtSchemaUpgrader.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace sddfix;

// The export log's procedures: the sequence type of a holder record, the
// recording of an export's payments and the cancellation of a debit, each
// with its guard; and the upgrade that brings them to a database in use.
class TstSddProcedures : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void centsInTheDatabaseAsInTheProgram();
    void sequenceTypeWithoutLog();
    void sequenceTypeFromLog();
    void siblingPresentedUnderAnotherMandate();
    void recordingAcrossTwoYears();
    void recordingRefusedWhenAnInstalmentChanged();
    void cancellation();
    void cancellationRefused();
    void batchOfCancellationsComputesTheTotalsOnce();
    void upgradeOfADatabaseInUse();

private:
    // A family: pupil with code T00001, parent, holder on IBAN A, assigned a
    // reason of three components due 16/12/2024, 15/01/2025, 15/03/2025.
    void AddFamily();
    static QString SeqTp(int holder, int account = Account, int mode = Rid);
    // Runs a statement; the database's error text, empty on success.
    static QString Run(const QString &sql);
    // The output of an executable procedure (one row, read once).
    static QVariant ExecOut(const QString &sql, const QVariantList &values);
    static double SaldoIn(int year);
    // Payment dates of instalments, in key order; an invalid date for none.
    static QList<QDate> Paid(const QList<int> &instalments);
    static double Incassi(int year);

    std::unique_ptr<TTestDatabase> m_db;
    int m_pupil = 0, m_parent = 0, m_holder = 0, m_assignment = 0;
    TReason m_reason;
    QList<int> m_cac;
};

namespace {
const QString IbanA = u"IT60X0542811101000000123456"_s, IbanB = u"IT02L1234512345123456789012"_s;
constexpr int OtherAccount = 4;
}

void TstSddProcedures::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
}

void TstSddProcedures::init()
{
    m_db->Fresh();
    AddFamily();
}

void TstSddProcedures::AddFamily()
{
    m_pupil = AddPupil(u"Prova"_s, u"Anna"_s, 24001, u"T00001"_s);
    m_parent = AddPerson(u"Prova"_s, u"Marco"_s);
    m_holder = AddHolder(m_pupil, m_parent, IbanA);
    m_reason = AddReason(u"Mensa di prova"_s, {{u"Mensa dicembre"_s, TVtMoney(50.0), QDate(2024, 12, 16)},
                                               {u"Mensa gennaio"_s, TVtMoney(60.0), QDate(2025, 1, 15)},
                                               {u"Mensa marzo"_s, TVtMoney(70.0), QDate(2025, 3, 15)}});
    m_assignment = Assign(m_holder, m_reason.Id);
    m_cac.clear();
    for (int c : m_reason.Components)
        m_cac << InstalmentOf(m_assignment, c);
    QVERIFY(!m_cac.contains(0));
}

QString TstSddProcedures::SeqTp(int holder, int account, int mode)
{
    return TTestDatabase::Scalar(u"SELECT sSeqTp FROM PEbd_SddSeqTp(?, ?, ?)"_s, {holder, account, mode}).toString();
}

QString TstSddProcedures::Run(const QString &sql)
{
    QSqlQuery q(qqoVtGlobConn->Database());
    if (q.exec(sql))
        return QString();
    return q.lastError().databaseText();
}

QList<QDate> TstSddProcedures::Paid(const QList<int> &instalments)
{
    QList<QDate> out;
    for (int id : instalments)
        out << TTestDatabase::Scalar(u"SELECT dCacDataPagamento FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {id}).toDate();
    return out;
}

QVariant TstSddProcedures::ExecOut(const QString &sql, const QVariantList &values)
{
    QSqlQuery q(qqoVtGlobConn->Database());
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec() || !q.next())
        qFatal("%s", qPrintable(q.lastError().text()));
    return q.value(0);
}

double TstSddProcedures::SaldoIn(int year)
{
    return TTestDatabase::Scalar(u"SELECT COALESCE(fCaiSaldoIn, 0) FROM TCai_CassaIst WHERE iSprIstId = ? "
                                 "AND iCaiEsercizioFin = ?"_s, {Account, year}).toDouble();
}

double TstSddProcedures::Incassi(int year)
{
    return TTestDatabase::Scalar(u"SELECT COALESCE(fIncassi, 0) FROM PEbc_CaiIncassi(?, ?)"_s, {Account, year}).toDouble();
}

// The guard of the recording rounds as the program does.
void TstSddProcedures::centsInTheDatabaseAsInTheProgram()
{
    for (double amount : {4.35, 1.15, 19.99, 12.345, 12.34449, 0.005, 0.0049, 199999.99}) {
        const qint64 db = TTestDatabase::Scalar(u"SELECT CAST(ROUND(CAST(COALESCE(CAST(? AS DOUBLE PRECISION), 0) "
                                                "AS NUMERIC(18,4)), 2) * 100 AS BIGINT) FROM RDB$DATABASE"_s, {amount})
                              .toLongLong();
        QCOMPARE(db, SddCents(amount).value_or(0));
    }
}

void TstSddProcedures::sequenceTypeWithoutLog()
{
    QCOMPARE(SeqTp(m_holder), u"FRST"_s);
    Pay(m_cac[0], QDate(2013, 5, 2));   // before SEPA
    QCOMPARE(SeqTp(m_holder), u"FRST"_s);
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET iMpgId = %1 WHERE iCacId = %2"_s.arg(Contanti).arg(m_cac[1]));
    Pay(m_cac[1], QDate(2025, 1, 15));  // in cash
    QCOMPARE(SeqTp(m_holder), u"FRST"_s);
    QCOMPARE(SeqTp(m_holder, Account, Contanti), u"RCUR"_s);
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET fCacImporto = 0 WHERE iCacId = %1"_s.arg(m_cac[2]));
    Pay(m_cac[2], QDate(2025, 3, 15));  // covered by a grant
    QCOMPARE(SeqTp(m_holder), u"FRST"_s);
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET fCacImporto = 70 WHERE iCacId = %1"_s.arg(m_cac[2]));
    QCOMPARE(SeqTp(m_holder), u"RCUR"_s);  // a collection by direct debit
}

void TstSddProcedures::sequenceTypeFromLog()
{
    const QString m = Mandate(u"T00001"_s);
    // A payment outside the log would say RCUR; the log decides first.
    Pay(m_cac[0], QDate(2024, 12, 16));
    const int first = LogExport(QDateTime(QDate(2024, 12, 10), QTime(9, 0)), u"SDD20241210090000"_s, true);
    LogTransaction(first, 1, m, IbanA, u"FRST"_s, QDate(2024, 12, 16), 5000, m_parent);
    QCOMPARE(SeqTp(m_holder), u"RCUR"_s);
    // Not recorded, from another account: ignored.
    const int notRecorded = LogExport(QDateTime(QDate(2025, 1, 5), QTime(9, 0)), u"SDD20250105090000"_s, false);
    LogTransaction(notRecorded, 1, m, IbanB, u"FRST"_s, QDate(2025, 1, 15), 6000);
    const int other = LogExport(QDateTime(QDate(2025, 1, 6), QTime(9, 0)), u"SDD20250106090000"_s, true, OtherAccount);
    LogTransaction(other, 1, m, IbanB, u"FRST"_s, QDate(2025, 1, 15), 6000);
    QCOMPARE(SeqTp(m_holder), u"RCUR"_s);
    QCOMPARE(SeqTp(m_holder, OtherAccount), u"FRST"_s);   // presented there on IBAN B
    // The payer changed IBAN: a new first debit.
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET sAcbIBan = 'it02 l123 4512 3451 2345 6789 012' WHERE iAcbId = %1"_s
                            .arg(m_holder));
    QCOMPARE(SeqTp(m_holder), u"FRST"_s);
    QCOMPARE(SeqTp(m_holder, OtherAccount), u"RCUR"_s);
    // Presented on B since, then that debit returned: the latest standing is on A.
    const int second = LogExport(QDateTime(QDate(2025, 1, 10), QTime(9, 0)), u"SDD20250110090000"_s, true);
    const int onB = LogTransaction(second, 1, m, IbanB, u"FRST"_s, QDate(2025, 1, 15), 6000, m_parent);
    QCOMPARE(SeqTp(m_holder), u"RCUR"_s);
    TTestDatabase::Exec(u"UPDATE TEtx_TransazSdd SET dEtxStorno = CURRENT_TIMESTAMP WHERE iEtxId = %1"_s.arg(onB));
    QCOMPARE(SeqTp(m_holder), u"FRST"_s);
}

// Two siblings debited once under the first one's mandate: the second's
// mandate was never presented, its paid instalments notwithstanding.
void TstSddProcedures::siblingPresentedUnderAnotherMandate()
{
    const int sibling = AddPupil(u"Prova"_s, u"Bruno"_s, 24001, u"T00002"_s);
    const int siblingHolder = AddHolder(sibling, m_parent, IbanA);
    const int siblingAssignment = Assign(siblingHolder, m_reason.Id);
    const int siblingCac = InstalmentOf(siblingAssignment, m_reason.Components[0]);
    const int esd = LogExport(QDateTime(QDate(2024, 12, 10), QTime(9, 0)), u"SDD20241210090000"_s, true);
    const int etx = LogTransaction(esd, 1, Mandate(u"T00001"_s), IbanA, u"FRST"_s, QDate(2024, 12, 16), 10000, m_parent);
    LinkInstalment(etx, m_cac[0], 5000);
    LinkInstalment(etx, siblingCac, 5000);
    Pay(m_cac[0], QDate(2024, 12, 16));
    Pay(siblingCac, QDate(2024, 12, 16));
    QCOMPARE(SeqTp(m_holder), u"RCUR"_s);
    QCOMPARE(SeqTp(siblingHolder), u"FRST"_s);
    // A pupil without a code has no mandate to look up: the payments decide.
    TTestDatabase::Exec(u"DELETE FROM TAnaCag WHERE iAnaId = %1"_s.arg(sibling));
    QCOMPARE(SeqTp(siblingHolder), u"FRST"_s);
    Pay(InstalmentOf(siblingAssignment, m_reason.Components[1]), QDate(2025, 1, 15));
    QCOMPARE(SeqTp(siblingHolder), u"RCUR"_s);
}

void TstSddProcedures::recordingAcrossTwoYears()
{
    const double saldo2024 = SaldoIn(2024), saldo2025 = SaldoIn(2025);
    QCOMPARE(saldo2024, Incassi(2024));
    QCOMPARE(saldo2025, Incassi(2025));
    const int esd = LogExport(QDateTime(QDate(2024, 12, 10), QTime(9, 0)), u"SDD20241210090000"_s, false);
    const int etx = LogTransaction(esd, 1, Mandate(u"T00001"_s), IbanA, u"FRST"_s, QDate(2024, 12, 16), 11000, m_parent);
    LinkInstalment(etx, m_cac[0], 5000);
    LinkInstalment(etx, m_cac[1], 6000);
    // A returned debit of the same export is left alone.
    const int returned = LogTransaction(esd, 2, Mandate(u"T00009"_s), IbanB, u"FRST"_s, QDate(2025, 3, 15), 7000);
    LinkInstalment(returned, m_cac[2], 7000);
    TTestDatabase::Exec(u"UPDATE TEtx_TransazSdd SET dEtxStorno = CURRENT_TIMESTAMP WHERE iEtxId = %1"_s.arg(returned));

    QCOMPARE(ExecOut(u"EXECUTE PROCEDURE PEbd_SddRegistra(?, ?)"_s, {esd, 2025}).toInt(), 2);
    QCOMPARE(Paid(m_cac), (QList<QDate>{QDate(2024, 12, 16), QDate(2025, 1, 15), QDate()}));
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCac_CcaAcbCau WHERE iCacId IN (?, ?) AND iSprIstId = ?"_s,
                                   {m_cac[0], m_cac[1], Account}).toInt(), 2);
    QCOMPARE(TTestDatabase::Column(u"SELECT dEtxCacPagamento FROM TEtxCac WHERE iEtxId = ? ORDER BY iCacId"_s, {etx}),
             (QVariantList{QDate(2024, 12, 16), QDate(2025, 1, 15)}));
    QCOMPARE(TTestDatabase::Scalar(u"SELECT lEsdPagamenti FROM TEsd_EsportazSdd WHERE iEsdId = ?"_s, {esd}).toInt(), 1);
    // Both years computed again, the one outside the working year too.
    QCOMPARE(SaldoIn(2024), saldo2024 + 50);
    QCOMPARE(SaldoIn(2025), saldo2025 + 60);
}

void TstSddProcedures::recordingRefusedWhenAnInstalmentChanged()
{
    const QString refusal = u"Una rata dell'esportazione risulta già pagata o modificata: nessun pagamento è stato registrato."_s;
    for (const QString &change : {u"dCacDataPagamento = '2025-01-10'"_s, u"fCacImporto = 60.01"_s}) {
        m_db->Fresh();
        AddFamily();
        const double saldo = SaldoIn(2024);
        const int esd = LogExport(QDateTime(QDate(2024, 12, 10), QTime(9, 0)), u"SDD20241210090000"_s, false);
        const int etx = LogTransaction(esd, 1, Mandate(u"T00001"_s), IbanA, u"FRST"_s, QDate(2024, 12, 16), 11000);
        LinkInstalment(etx, m_cac[0], 5000);
        LinkInstalment(etx, m_cac[1], 6000);
        TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET %1 WHERE iCacId = %2"_s.arg(change).arg(m_cac[1]));
        const QString error = Run(u"EXECUTE PROCEDURE PEbd_SddRegistra(%1, 2025)"_s.arg(esd));
        QVERIFY2(error.contains(refusal), qPrintable(error));
        QVERIFY(TTestDatabase::Scalar(u"SELECT dCacDataPagamento FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {m_cac[0]}).isNull());
        QCOMPARE(TTestDatabase::Scalar(u"SELECT lEsdPagamenti FROM TEsd_EsportazSdd WHERE iEsdId = ?"_s, {esd}).toInt(), 0);
        QVERIFY(TTestDatabase::Scalar(u"SELECT dEtxCacPagamento FROM TEtxCac WHERE iCacId = ?"_s, {m_cac[0]}).isNull());
        QCOMPARE(SaldoIn(2024), saldo);
    }
}

void TstSddProcedures::cancellation()
{
    const double saldo2024 = SaldoIn(2024), saldo2025 = SaldoIn(2025);
    const int account = TTestDatabase::Scalar(u"SELECT iSprIstId FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {m_cac[0]}).toInt();
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET iSprIstId = 1 WHERE iCacId = %1"_s.arg(m_cac[1]));
    const int esd = LogExport(QDateTime(QDate(2024, 12, 10), QTime(9, 0)), u"SDD20241210090000"_s, false);
    const int etx = LogTransaction(esd, 1, Mandate(u"T00001"_s), IbanA, u"FRST"_s, QDate(2024, 12, 16), 11000);
    LinkInstalment(etx, m_cac[0], 5000);
    LinkInstalment(etx, m_cac[1], 6000);
    QCOMPARE(ExecOut(u"EXECUTE PROCEDURE PEbd_SddRegistra(?, ?)"_s, {esd, 2025}).toInt(), 2);

    QCOMPARE(ExecOut(u"EXECUTE PROCEDURE PEbd_SddStorno(?)"_s, {etx}).toInt(), 2);
    QCOMPARE(Paid({m_cac[0], m_cac[1]}), (QList<QDate>{QDate(), QDate()}));
    // Back on the accounts they had before.
    QCOMPARE(TTestDatabase::Scalar(u"SELECT iSprIstId FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {m_cac[0]}).toInt(), account);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT iSprIstId FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {m_cac[1]}).toInt(), 1);
    QVERIFY(!TTestDatabase::Scalar(u"SELECT dEtxStorno FROM TEtx_TransazSdd WHERE iEtxId = ?"_s, {etx}).isNull());
    QCOMPARE(SaldoIn(2024), saldo2024);
    QCOMPARE(SaldoIn(2025), saldo2025);
    QVERIFY2(Run(u"EXECUTE PROCEDURE PEbd_SddStorno(%1)"_s.arg(etx)).contains(u"La disposizione è già stata stornata."_s),
             "cancelled twice");

    // An export whose payments were not recorded: the debit is only marked.
    const int plain = LogExport(QDateTime(QDate(2025, 1, 10), QTime(9, 0)), u"SDD20250110090000"_s, false);
    const int plainTx = LogTransaction(plain, 1, Mandate(u"T00001"_s), IbanA, u"FRST"_s, QDate(2025, 3, 15), 7000);
    LinkInstalment(plainTx, m_cac[2], 7000);
    Pay(m_cac[2], QDate(2025, 3, 1));   // paid otherwise meanwhile
    QCOMPARE(ExecOut(u"EXECUTE PROCEDURE PEbd_SddStorno(?)"_s, {plainTx}).toInt(), 0);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT dCacDataPagamento FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {m_cac[2]}).toDate(),
             QDate(2025, 3, 1));
    QVERIFY(!TTestDatabase::Scalar(u"SELECT dEtxStorno FROM TEtx_TransazSdd WHERE iEtxId = ?"_s, {plainTx}).isNull());
}

void TstSddProcedures::cancellationRefused()
{
    const int esd = LogExport(QDateTime(QDate(2024, 12, 10), QTime(9, 0)), u"SDD20241210090000"_s, false);
    const int etx = LogTransaction(esd, 1, Mandate(u"T00001"_s), IbanA, u"FRST"_s, QDate(2024, 12, 16), 11000);
    LinkInstalment(etx, m_cac[0], 5000);
    LinkInstalment(etx, m_cac[1], 6000);
    QCOMPARE(ExecOut(u"EXECUTE PROCEDURE PEbd_SddRegistra(?, ?)"_s, {esd, 2025}).toInt(), 2);
    const double saldo = SaldoIn(2025);
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '2025-01-20' WHERE iCacId = %1"_s.arg(m_cac[1]));
    const QString error = Run(u"EXECUTE PROCEDURE PEbd_SddStorno(%1)"_s.arg(etx));
    QVERIFY2(error.contains(u"Una rata della disposizione è stata modificata dopo l'esportazione: storno non eseguito."_s),
             qPrintable(error));
    QCOMPARE(TTestDatabase::Scalar(u"SELECT dCacDataPagamento FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {m_cac[0]}).toDate(),
             QDate(2024, 12, 16));
    QVERIFY(TTestDatabase::Scalar(u"SELECT dEtxStorno FROM TEtx_TransazSdd WHERE iEtxId = ?"_s, {etx}).isNull());
    QCOMPARE(SaldoIn(2025), saldo);
}

// A batch that asks for it computes the incoming totals at its end, once.
void TstSddProcedures::batchOfCancellationsComputesTheTotalsOnce()
{
    const double saldo2024 = SaldoIn(2024), saldo2025 = SaldoIn(2025);
    const int esd = LogExport(QDateTime(QDate(2024, 12, 10), QTime(9, 0)), u"SDD20241210090000"_s, false);
    const int first = LogTransaction(esd, 1, Mandate(u"T00001"_s), IbanA, u"FRST"_s, QDate(2024, 12, 16), 5000);
    const int second = LogTransaction(esd, 2, Mandate(u"T00001"_s), IbanA, u"FRST"_s, QDate(2025, 1, 15), 6000);
    LinkInstalment(first, m_cac[0], 5000);
    LinkInstalment(second, m_cac[1], 6000);
    QCOMPARE(ExecOut(u"EXECUTE PROCEDURE PEbd_SddRegistra(?, ?)"_s, {esd, 2025}).toInt(), 2);
    QCOMPARE(SaldoIn(2024), saldo2024 + 50);
    QSqlDatabase db = qqoVtGlobConn->Database();
    QVERIFY(db.transaction());
    QSqlQuery q(db);
    QVERIFY(q.exec(u"SELECT RDB$SET_CONTEXT('USER_TRANSACTION', 'SDD_RICALCOLO', 'DIFFERITO') FROM RDB$DATABASE"_s) && q.next());
    for (int tx : {first, second})
        QVERIFY2(q.exec(u"EXECUTE PROCEDURE PEbd_SddStorno(%1)"_s.arg(tx)) && q.next(), qPrintable(q.lastError().text()));
    QVERIFY(q.exec(u"SELECT fCaiSaldoIn FROM TCai_CassaIst WHERE iSprIstId = 2 AND iCaiEsercizioFin = 2024"_s) && q.next());
    QCOMPARE(q.value(0).toDouble(), saldo2024 + 50);   // put off
    QVERIFY(q.exec(u"SELECT COUNT(*) FROM TEbd_SddRicalcolo"_s) && q.next());
    QCOMPARE(q.value(0).toInt(), 2);   // 2024 and 2025, once each
    QVERIFY(q.exec(u"EXECUTE PROCEDURE PEbd_SddRicalcola"_s));
    q.finish();
    QVERIFY(db.commit());
    QCOMPARE(SaldoIn(2024), saldo2024);
    QCOMPARE(SaldoIn(2025), saldo2025);
    // Without the request, a cancellation computes its own years at once.
    const int third = LogTransaction(esd, 3, Mandate(u"T00001"_s), IbanA, u"FRST"_s, QDate(2025, 3, 15), 7000);
    LinkInstalment(third, m_cac[2], 7000);
    TTestDatabase::Exec(u"UPDATE TEtxCac SET dEtxCacPagamento = '2025-03-15', iSprIstId_Prec = NULL WHERE iEtxId = %1"_s
                            .arg(third));
    Pay(m_cac[2], QDate(2025, 3, 15));
    TTestDatabase::Exec(u"EXECUTE PROCEDURE PEbc_RicalcSaldoIn(2, 2025)"_s);
    QCOMPARE(SaldoIn(2025), saldo2025 + 70);
    TTestDatabase::Exec(u"UPDATE TEsd_EsportazSdd SET lEsdPagamenti = 1 WHERE iEsdId = %1"_s.arg(esd));
    QCOMPARE(ExecOut(u"EXECUTE PROCEDURE PEbd_SddStorno(?)"_s, {third}).toInt(), 1);
    QCOMPARE(SaldoIn(2025), saldo2025);
}

// A database of the previous revision, without the log: the upgrade
// creates it and the procedures work on it.
void TstSddProcedures::upgradeOfADatabaseInUse()
{
    TVtConnectionSettings s;
    QString error;
    QVERIFY2(TTestDatabase::CreateAtRevision(u"revisione11.fdb"_s, 11, &s, &error), qPrintable(error));
    {
        TVtSQLConnection conn;
        TTestDatabase::TGlobalConnection global(&conn);
        QVERIFY2(conn.Open(s, &error), qPrintable(error));
        for (const QString &ddl : {u"DROP TABLE TEtxCac"_s, u"DROP TABLE TEtx_TransazSdd"_s, u"DROP TABLE TEsd_EsportazSdd"_s,
                                   u"ALTER TABLE TAcb_AluCoordBan DROP dAcbDataMandato"_s})
            TTestDatabase::Exec(ddl);
        QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING 'TE'"
                                       " AND RDB$RELATION_NAME IN ('TESD_ESPORTAZSDD', 'TETX_TRANSAZSDD', 'TETXCAC')"_s).toInt(), 0);
        conn.Close();
    }
    QVERIFY2(TTestDatabase::UpgradeToShipped(s, &error), qPrintable(error));
    TVtSQLConnection conn;
    TTestDatabase::TGlobalConnection global(&conn);
    QVERIFY2(conn.Open(s, &error), qPrintable(error));
    QCOMPARE(TVtSchemaUpgrader::ReadRevision(conn.Database()), int(DbScripts::UpgradeScripts().size()));
    AddFamily();
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET dAcbDataMandato = '2020-10-01' WHERE iAcbId = %1"_s.arg(m_holder));
    const int esd = LogExport(QDateTime(QDate(2024, 12, 10), QTime(9, 0)), u"SDD20241210090000"_s, false);
    const int etx = LogTransaction(esd, 1, Mandate(u"T00001"_s), IbanA, u"FRST"_s, QDate(2024, 12, 16), 5000);
    LinkInstalment(etx, m_cac[0], 5000);
    QCOMPARE(ExecOut(u"EXECUTE PROCEDURE PEbd_SddRegistra(?, ?)"_s, {esd, 2025}).toInt(), 1);
    QCOMPARE(SeqTp(m_holder), u"RCUR"_s);
    QVERIFY(!Run(u"INSERT INTO TEsd_EsportazSdd (iEsdId, iSprIstId, dEsdCreazione, sEsdMsgId, iEsdNumTx, iEsdTotCent) "
                 "VALUES (9, 2, CURRENT_TIMESTAMP, 'SDD20241210090000', 0, 0)"_s).isEmpty());   // MsgId unique
    conn.Close();
}

QTEST_GUILESS_MAIN(TstSddProcedures)
#include "tst_sddprocedures.moc"

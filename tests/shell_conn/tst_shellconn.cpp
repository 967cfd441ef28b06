// The connection module over the demo school: the connection it opens, the
// shared collections with their parameters and statements, the scratch query
// and the refresh of the fee data sets. Expected rows come from independent
// selects on the same database.
#include "EbdMConn.h"
#include "EbsMDataSets.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "VtException.h"
#include "VtGlobalValuesManager.h"
#include "VtQueryCollection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {
const QString SaveFailed = QStringLiteral("Impossibile salvare i dati:\r\n");
const QString DeleteQuestion = QStringLiteral("Confermi la cancellazione del record?");
const QString ReadOnlyText = QStringLiteral("I dati sono in sola lettura.");

QVariant Db(const QString &sql, const QVariantList &values = {})
{
    return TTestDatabase::Scalar(sql, values);
}

int DbInt(const QString &sql, const QVariantList &values = {})
{
    return Db(sql, values).toInt();
}

// First column of every row of a select, in the order the database gives.
QList<int> DbIds(const QString &sql, const QVariantList &values = {})
{
    QList<int> ids;
    for (const QVariant &v : TTestDatabase::Column(sql, values))
        ids << v.toInt();
    return ids;
}

QList<int> Column(TVtQueryCollection *ds, const QString &field)
{
    QList<int> ids;
    const int index = ds->FieldByName(field)->Index;
    for (int r = 0; r < ds->RecordCount(); ++r)
        ids << ds->RowValue(r, index).toInt();
    return ids;
}

QVariant RowValue(TVtQueryCollection *ds, int row, const QString &field)
{
    return ds->RowValue(row, ds->FieldByName(field)->Index);
}

QList<int> Sorted(QList<int> ids)
{
    std::sort(ids.begin(), ids.end());
    return ids;
}

void Reopen(TVtQueryCollection *ds)
{
    ds->Close();
    ds->Open();
}

// School-year bounds of the demo: 2024/2025 and 2025/2026.
QDate AnsStart(int ans)
{
    return Db(QStringLiteral("SELECT dAnsVeltoInizio FROM TAns_AnniScolast WHERE iAnsId = ?"), {ans}).toDate();
}
}

class TstShellConn : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void moduleSetup();
    void openingRefusesAWrongDatabase();
    void accountsOfTheGroup();
    void accountWritesAndTheClosingProcedure();
    void closingProcedureFailureRollsBackTheUpdate();
    void cashRowsAndTotals();
    void holdersOfTheWorkingYear();
    void holderWritesAndFailures();
    void reasonsAndInstalmentsOfAHolder();
    void grantsOfAHolder();
    void advancesComeInPackets();
    void scratchQueryReadsOnTheConnection();
    void refreshCompCausRefreshesOnlyOpenSets();

private:
    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
};

void TstShellConn::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstShellConn::init()
{
    (*m_messages)->Clear();
    dmEbdConn = new TdmEbdConn;
    dmEbdConn->Settings = m_db->Fresh();
    QVERIFY(dmEbdConn->OpenConnection());
    QCOMPARE(qqoVtGlobConn, dmEbdConn->xqoMain);
    SetWorkingContext(1, 2024, 2025, 2, 2024);
}

void TstShellConn::cleanup()
{
    delete dmEbsDataSets;
    dmEbsDataSets = nullptr;
    delete dmEbdConn;
    dmEbdConn = nullptr;
}

void TstShellConn::cleanupTestCase()
{
    m_db.reset();
}

// How the module builds its connection and collections.
void TstShellConn::moduleSetup()
{
    TdmEbdConn *m = dmEbdConn;
    QCOMPARE(m->xqoMain->CodAppl, QStringLiteral("EBD"));
    QCOMPARE(m->xqoMain->DBVersion, QStringLiteral("6.94.02"));
    QCOMPARE(m->qquTmp->SQLConnection, m->xqoMain);

    struct Expect
    {
        TVtQueryCollection *ds;
        QString table;
        QStringList params;
        int packet;
        bool autoBuild;
        int inserts, updates, deletes;
    };
    const QList<Expect> all = {
        {m->xqcSprIst, "TSprIst", {"iDwgId"}, -1, false, 1, 2, 0},
        {m->xqcCai, "TCai_CassaIst", {"iSprIstId"}, -1, true, 0, 0, 0},
        {m->xqcTcc, QString(), {"iSprIstId", "iCaiEsercizioFin"}, -1, true, 0, 0, 0},
        {m->xqcAluGen, "TAcb_AluCoordBan", {"iAnsId"}, -1, false, 1, 1, 1},
        {m->xqcAcbCau, "TAcbCau", {"iAcbId", "iAnsId"}, -1, false, 1, 1, 1},
        {m->xqcCacAcbCau, "TCac_CcaAcbCau", {"iAcbId", "iAnsId"}, -1, false, 0, 1, 1},
        {m->xqcDote, "TDos_DoteScuola", {"iAcbId", "iAnsId"}, -1, false, 1, 1, 1},
        {m->xqcAcconti, "TCaa_CacAcconti", {"iCacId"}, 25, false, 1, 1, 1},
    };
    for (const Expect &e : all) {
        QCOMPARE(e.ds->Connection, m->xqoMain);
        // The table the write statements and their hooks are about.
        QCOMPARE(e.ds->TableName, e.table);
        // Deletes are confirmed first, except for the accounts, whose delete
        // is always refused: no question before the refusal.
        QCOMPARE(e.ds->Confirmations,
                 e.ds == m->xqcSprIst ? int(xcoTrash | xcoDisable) : int(xcoTrash | xcoDisable | xcoDelete));
        QVERIFY(!e.ds->PostError);
        QCOMPARE(e.ds->PacketRecords, e.packet);
        QCOMPARE(e.ds->AutoBuildSQL, e.autoBuild);
        QCOMPARE(e.ds->Params().Count(), e.params.size());
        for (const QString &name : e.params) {
            TVtParam *p = e.ds->Params().FindParam(name);
            QVERIFY2(p, qPrintable(name));
            QCOMPARE(p->DataType, QMetaType::Int);
            QCOMPARE(p->ParamType, ptInput);
        }
        QCOMPARE(e.ds->SQLInsert.Count(), e.inserts);
        QCOMPARE(e.ds->SQLUpdate.Count(), e.updates);
        QCOMPARE(e.ds->SQLDelete.Count(), e.deletes);
    }
    // The account update runs the closing procedure second; the delete
    // statements remove a row by the current key.
    QVERIFY(m->xqcSprIst->SQLUpdate[0].trimmed().startsWith(QStringLiteral("UPDATE TSprIst SET")));
    QCOMPARE(m->xqcSprIst->SQLUpdate[1], QStringLiteral(" EXECUTE PROCEDURE PEbc_ContoOnOff(:iSprIstId)"));
    QCOMPARE(m->xqcAluGen->SQLDelete[0], QStringLiteral(" DELETE FROM TAcb_AluCoordBan WHERE iAcbId = :VTCURRID"));
    QCOMPARE(m->xqcAcbCau->SQLDelete[0], QStringLiteral(" DELETE FROM TAcbCau WHERE iAcbCauId = :VTCURRID "));
    QCOMPARE(m->xqcCacAcbCau->SQLDelete[0], QStringLiteral(" DELETE FROM TCac_CcaAcbCau WHERE iCacId = :VTCURRID "));
    QVERIFY(m->xqcAcconti->SQLDelete[0].contains(QStringLiteral("TCaa_CacAcconti")));
    // Closed accounts are hidden from the start.
    QCOMPARE(m->xqcSprIst->Filter(), QStringLiteral("dEnd IS NULL"));
    QVERIFY(m->xqcSprIst->Filtered());
    // The account fields exist before the first open, with their sizes.
    QCOMPARE(m->xqcSprIst->FieldByName(QStringLiteral("SINDCOM")), m->xqcSprIstSINDCOM);
    QCOMPARE(m->xqcSprIstSINDCOM->Size, 262);
    QVERIFY(m->xqcSprIstSSPRISTNUMCC->Required);
    QVERIFY(m->xqcSprIstsTipoConto->IsCalculated());
    QCOMPARE(m->xqcSprIstsTipoConto->Size, 25);
}

// A database of another schema version, or none at all, is refused with the
// reason; the open connection stays the global one.
void TstShellConn::openingRefusesAWrongDatabase()
{
    TVtSQLConnection *global = qqoVtGlobConn;
    {
        TdmEbdConn other;
        other.Settings = m_db->Settings();
        other.Settings.Database = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("manca.fdb"));
        QVERIFY(!other.OpenConnection());
        QCOMPARE((*m_messages)->Messages.size(), 1);
        QCOMPARE((*m_messages)->Messages[0].Type, mtError);
        QCOMPARE((*m_messages)->LastText(),
                 QStringLiteral("Il database %1 non esiste: controllare il percorso nelle impostazioni di connessione.")
                     .arg(other.Settings.Database));
        QVERIFY(!QFileInfo::exists(other.Settings.Database));
        QCOMPARE(qqoVtGlobConn, global);
    }
    (*m_messages)->Clear();
    TTestDatabase::Exec(QStringLiteral("UPDATE TVT_SCHEMA SET SVERSIONE = '6.94.01' WHERE SAPPLICAZIONE = 'VARDELLA'"));
    {
        TdmEbdConn other;
        other.Settings = m_db->Settings();
        QVERIFY(!other.OpenConnection());
        QCOMPARE((*m_messages)->Texts(),
                 QStringList{QStringLiteral("Il database %1 è alla versione 6.94.01, mentre il programma richiede la "
                                            "versione 6.94.02.")
                                 .arg(other.Settings.Database)});
        QCOMPARE(qqoVtGlobConn, global);
    }
    TTestDatabase::Exec(QStringLiteral("UPDATE TVT_SCHEMA SET SVERSIONE = '6.94.02' WHERE SAPPLICAZIONE = 'VARDELLA'"));
    (*m_messages)->Clear();
    {
        TdmEbdConn other;
        other.Settings = m_db->Settings();
        QVERIFY(other.OpenConnection());
        QVERIFY((*m_messages)->Messages.isEmpty());
        QCOMPARE(qqoVtGlobConn, other.xqoMain);
        // Its collections run on its own connection and are closed with it.
        other.xqcCai->Params().ParamByName(QStringLiteral("iSprIstId"))->SetAsInteger(1);
        other.xqcCai->Open();
        QCOMPARE(other.xqcCai->RecordCount(), 2);
    }
    // The freed module let go of the global connection: take ours back.
    QCOMPARE(qqoVtGlobConn, nullptr);
    qqoVtGlobConn = dmEbdConn->xqoMain;
}

// The accounts of the working group, open ones only until the history filter
// is switched off, ordered by ABI and CAB, with their kind.
void TstShellConn::accountsOfTheGroup()
{
    TVtQueryCollection *q = dmEbdConn->xqcSprIst;
    q->Params().ParamByName(QStringLiteral("iDwgId"))->SetAsInteger(1);
    q->Open();
    const QString ordered = QStringLiteral(
        "SELECT Spi.iSprIstId FROM TSprIst Spi INNER JOIN TSpr_SportelliCab Spr ON (Spr.iSprId = Spi.iSprId) "
        "INNER JOIN TBan_Banche Ban ON (Ban.iBanId = Spr.iBanId) WHERE Spi.iDwgId = ? AND Spi.iSprIstPgm = 2 %1 "
        "ORDER BY Ban.sBanAbi, Spr.sSprCab");
    const QList<int> open = DbIds(ordered.arg(QStringLiteral("AND Spi.dEnd IS NULL")), {1});
    QVERIFY(open.size() >= 3);
    QCOMPARE(Column(q, QStringLiteral("ISPRISTID")), open);
    // Accounts of another program or another owner are never listed.
    QVERIFY(!open.contains(5));
    QVERIFY(!open.contains(6));

    const QStringList kinds = {QString(), QStringLiteral("Postale"), QStringLiteral("Bancario"), QStringLiteral("Cassa")};
    for (int id = 1; id <= 3; ++id) {
        QVERIFY(q->Locate(QStringLiteral("ISPRISTID"), id));
        QCOMPARE(dmEbdConn->xqcSprIstsTipoConto->AsString(), kinds[id]);
        QCOMPARE(dmEbdConn->xqcSprIstSSPRISTNUMCC->AsString(),
                 Db(QStringLiteral("SELECT sSprIstNumCc FROM TSprIst WHERE iSprIstId = ?"), {id}).toString());
    }
    // The branch address line of the bank account.
    QVERIFY(q->Locate(QStringLiteral("ISPRISTID"), 2));
    QSqlQuery b(qqoVtGlobConn->Database());
    QVERIFY(b.exec(QStringLiteral(
        "SELECT Spr.sSprIndirizzo, Com.sComDesc, Pro.sProSigla, Spr.sSprCab, Ban.sBanAbi FROM TSprIst Spi "
        "JOIN TSpr_SportelliCab Spr ON Spr.iSprId = Spi.iSprId JOIN TBan_Banche Ban ON Ban.iBanId = Spr.iBanId "
        "JOIN TSrpc S ON S.iSrpcId = Spr.iSrpcId JOIN TCom_Comuni Com ON Com.iComId = S.iComId "
        "JOIN TPro_Province Pro ON Pro.iProId = S.iProId WHERE Spi.iSprIstId = 2")));
    QVERIFY(b.next());
    QCOMPARE(dmEbdConn->xqcSprIstSINDCOM->AsString(), QStringLiteral("%1-%2 (%3)").arg(
                 b.value(0).toString(), b.value(1).toString(), b.value(2).toString()));
    QCOMPARE(dmEbdConn->xqcSprIstSSPRCAB->AsString(), b.value(3).toString());
    QCOMPARE(dmEbdConn->xqcSprIstSBANABI->AsString(), b.value(4).toString());

    // With the filter off the closed account shows up.
    q->SetFiltered(false);
    const QList<int> every = DbIds(ordered.arg(QString()), {1});
    QCOMPARE(Column(q, QStringLiteral("ISPRISTID")), every);
    QVERIFY(every.contains(4));
    QVERIFY(q->Locate(QStringLiteral("ISPRISTID"), 4));
    QCOMPARE(dmEbdConn->xqcSprIstDEND->Value().toDate(), QDate(2023, 12, 31));
    q->SetFiltered(true);
    QVERIFY(!q->Locate(QStringLiteral("ISPRISTID"), 4));

    // The other school's account list.
    q->Close();
    q->Params().ParamByName(QStringLiteral("iDwgId"))->SetAsInteger(2);
    q->Open();
    QCOMPARE(Column(q, QStringLiteral("ISPRISTID")), DbIds(ordered.arg(QStringLiteral("AND Spi.dEnd IS NULL")), {2}));
    QCOMPARE(q->RecordCount(), 1);
}

// A new account is stored open, for the working owner and this program; an
// edit that sets or clears the closing date runs the closing procedure on
// the key remembered after the update, an edit that does not skips it.
void TstShellConn::accountWritesAndTheClosingProcedure()
{
    TVtQueryCollection *q = dmEbdConn->xqcSprIst;
    q->Params().ParamByName(QStringLiteral("iDwgId"))->SetAsInteger(1);
    q->Open();
    const int before = q->RecordCount();

    QSqlQuery b(qqoVtGlobConn->Database());
    QVERIFY(b.exec(QStringLiteral("SELECT Spr.iSprId, Spr.sSprCab, Ban.iBanId, Ban.sBanAbi, Ban.sBanDescS "
                                  "FROM TSpr_SportelliCab Spr JOIN TBan_Banche Ban ON Ban.iBanId = Spr.iBanId "
                                  "WHERE Spr.iSprId = 401")));
    QVERIFY(b.next());
    q->Insert();
    dmEbdConn->xqcSprIstISPRID->SetAsInteger(b.value(0).toInt());
    dmEbdConn->xqcSprIstSSPRCAB->SetAsString(b.value(1).toString());
    dmEbdConn->xqcSprIstIBANID->SetAsInteger(b.value(2).toInt());
    dmEbdConn->xqcSprIstSBANABI->SetAsString(b.value(3).toString());
    dmEbdConn->xqcSprIstSBANDESCS->SetAsString(b.value(4).toString());
    dmEbdConn->xqcSprIstSSPRISTNUMCC->SetAsString(QStringLiteral("000000099001"));
    dmEbdConn->xqcSprIstSSPRISTINTEST->SetAsString(QStringLiteral("Istituto Comprensivo Valdirame Nord - Progetti"));
    dmEbdConn->xqcSprIstSSPRISTSTATO->SetAsString(QStringLiteral("IT"));
    dmEbdConn->xqcSprIstSSPRISTCININT->SetAsString(QStringLiteral("12"));
    dmEbdConn->xqcSprIstSSPRISTCIN->SetAsString(QStringLiteral("X"));
    dmEbdConn->xqcSprIstDSTART->SetAsDate(QDate(2024, 1, 1));
    QVERIFY(q->Post());
    QVERIFY((*m_messages)->Messages.isEmpty());
    const int id = dmEbdConn->xqcSprIstISPRISTID->Value().toInt();
    QVERIFY(id >= 1000000);
    QCOMPARE(q->RecordCount(), before + 1);
    QSqlQuery r(qqoVtGlobConn->Database());
    QVERIFY(r.exec(QStringLiteral("SELECT iDwgId, iSprIstPgm, iSprId, sSprIstNumCc, sSprIstCin, dStart, dEnd "
                                  "FROM TSprIst WHERE iSprIstId = %1").arg(id)));
    QVERIFY(r.next());
    QCOMPARE(r.value(0).toInt(), 1);
    QCOMPARE(r.value(1).toInt(), 2);
    QCOMPARE(r.value(2).toInt(), 401);
    QCOMPARE(r.value(3).toString(), QStringLiteral("000000099001"));
    QCOMPARE(r.value(4).toString(), QStringLiteral("X"));
    QCOMPARE(r.value(5).toDate(), QDate(2024, 1, 1));
    QVERIFY(r.value(6).isNull());

    // Two movements of the new account and one of another, none locked.
    TTestDatabase::Exec(QStringLiteral(
        "INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, lMvmTipo, dMvmDataMov, fMvmImporto, sMvmDesc, iLocked) "
        "VALUES (990001, %1, 0, '2024-03-01', 10, 'Prova', 0)").arg(id));
    TTestDatabase::Exec(QStringLiteral(
        "INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, lMvmTipo, dMvmDataMov, fMvmImporto, sMvmDesc, iLocked) "
        "VALUES (990002, %1, 1, '2024-04-01', 4, 'Prova', 0)").arg(id));
    const int lockedElsewhere = DbInt(QStringLiteral("SELECT COUNT(*) FROM TMvm_MovimentiCcp WHERE iLocked = 1"));
    auto locked = [id] {
        return DbInt(QStringLiteral("SELECT COUNT(*) FROM TMvm_MovimentiCcp WHERE iSprIstId = ? AND iLocked = 1"), {id});
    };

    // An edit that leaves the closing date alone does not run the procedure.
    QVERIFY(q->Locate(QStringLiteral("ISPRISTID"), id));
    q->Edit();
    dmEbdConn->xqcSprIstSSPRISTINTEST->SetAsString(QStringLiteral("Conto progetti"));
    QVERIFY(q->Post());
    QCOMPARE(Db(QStringLiteral("SELECT sSprIstIntest FROM TSprIst WHERE iSprIstId = ?"), {id}).toString(),
             QStringLiteral("Conto progetti"));
    QCOMPARE(locked(), 0);

    // Closing: the update writes the date and the procedure locks the
    // account's movements, no others; the closed row leaves the list.
    QVERIFY(q->Locate(QStringLiteral("ISPRISTID"), id));
    q->Edit();
    dmEbdConn->xqcSprIstDEND->SetAsDate(QDate(2024, 12, 31));
    q->SetEditFlag(TdmEbdConn::SprIstClosingChanged);
    QVERIFY(q->Post());
    QCOMPARE(Db(QStringLiteral("SELECT dEnd FROM TSprIst WHERE iSprIstId = ?"), {id}).toDate(), QDate(2024, 12, 31));
    QCOMPARE(locked(), 2);
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM TMvm_MovimentiCcp WHERE iLocked = 1")), lockedElsewhere + 2);
    QCOMPARE(q->RecordCount(), before);
    QVERIFY(!q->Locate(QStringLiteral("ISPRISTID"), id));

    // Reopening from the full list unlocks them again.
    q->SetFiltered(false);
    QVERIFY(q->Locate(QStringLiteral("ISPRISTID"), id));
    q->Edit();
    dmEbdConn->xqcSprIstDEND->Clear();
    q->SetEditFlag(TdmEbdConn::SprIstClosingChanged);
    QVERIFY(q->Post());
    QVERIFY(Db(QStringLiteral("SELECT dEnd FROM TSprIst WHERE iSprIstId = ?"), {id}).isNull());
    QCOMPARE(locked(), 0);
    QVERIFY((*m_messages)->Messages.isEmpty());

    // The flag ends with the edit that raised it: a closing date posted in
    // a later edit without it is written, but the movements stay as they were.
    QVERIFY(!q->EditFlag(TdmEbdConn::SprIstClosingChanged));
    q->Edit();
    dmEbdConn->xqcSprIstDEND->SetAsDate(QDate(2025, 6, 30));
    QVERIFY(q->Post());
    QCOMPARE(Db(QStringLiteral("SELECT dEnd FROM TSprIst WHERE iSprIstId = ?"), {id}).toDate(), QDate(2025, 6, 30));
    QCOMPARE(locked(), 0);
}

// The update and the procedure are one write: when the procedure fails the
// closing date is not stored either, the error is shown and the row stays in
// edit.
void TstShellConn::closingProcedureFailureRollsBackTheUpdate()
{
    const int id = 990010;
    TTestDatabase::Exec(QStringLiteral(
        "INSERT INTO TSprIst (iSprIstId, iDwgId, iSprId, sSprIstNumCc, iSprIstPgm, dStart) "
        "VALUES (%1, 1, 401, '000000099002', 2, '2024-01-01')").arg(id));
    TTestDatabase::Exec(QStringLiteral(
        "INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, lMvmTipo, dMvmDataMov, fMvmImporto, sMvmDesc, iLocked) "
        "VALUES (990011, %1, 0, '2024-05-01', 10, 'Prova', 0)").arg(id));
    // The register of another office refuses to lock this movement.
    TTestDatabase::Exec(QStringLiteral("CREATE EXCEPTION E_PROVA_BLOCCO 'Movimento in uso presso la segreteria'"));
    TTestDatabase::Exec(QStringLiteral(
        "CREATE TRIGGER TMVM_PROVA_BLOCCO FOR TMvm_MovimentiCcp BEFORE UPDATE AS BEGIN "
        "IF (NEW.iMvmId = 990011 AND NEW.iLocked = 1) THEN EXCEPTION E_PROVA_BLOCCO; END"));

    TVtQueryCollection *q = dmEbdConn->xqcSprIst;
    q->Params().ParamByName(QStringLiteral("iDwgId"))->SetAsInteger(1);
    q->Open();
    QVERIFY(q->Locate(QStringLiteral("ISPRISTID"), id));
    q->Edit();
    q->SetEditFlag(TdmEbdConn::SprIstClosingChanged);
    dmEbdConn->xqcSprIstDEND->SetAsDate(QDate(2024, 12, 31));
    QVERIFY(!q->Post());
    QVERIFY(q->EditFlag(TdmEbdConn::SprIstClosingChanged));   // still the same edit
    QCOMPARE((*m_messages)->Messages.size(), 1);
    QCOMPARE((*m_messages)->Messages[0].Type, mtError);
    QVERIFY((*m_messages)->LastText().startsWith(SaveFailed));
    QVERIFY2((*m_messages)->LastText().contains(QStringLiteral("Movimento in uso presso la segreteria")),
             qPrintable((*m_messages)->LastText()));
    QCOMPARE(q->State(), dsEdit);
    QVERIFY(Db(QStringLiteral("SELECT dEnd FROM TSprIst WHERE iSprIstId = ?"), {id}).isNull());
    QCOMPARE(DbInt(QStringLiteral("SELECT iLocked FROM TMvm_MovimentiCcp WHERE iMvmId = 990011")), 0);
    q->Cancel();
    QVERIFY(dmEbdConn->xqcSprIstDEND->IsNull());
    q->Close();
}

// Cash rows of an account with the user period and the current difference;
// totals by top-level typology of an account and year.
void TstShellConn::cashRowsAndTotals()
{
    TVtQueryCollection *cai = dmEbdConn->xqcCai;
    for (int account : {1, 2, 3, 4, 5}) {
        cai->Close();
        cai->Params().ParamByName(QStringLiteral("iSprIstId"))->SetAsInteger(account);
        cai->Open();
        QCOMPARE(Column(cai, QStringLiteral("ICAIID")),
                 DbIds(QStringLiteral("SELECT iCaiId FROM TCai_CassaIst WHERE iSprIstId = ? ORDER BY iCaiEsercizioFin"),
                       {account}));
        for (int r = 0; r < cai->RecordCount(); ++r) {
            // The current difference: opening difference, opening balance
            // and incomings less outgoings and the current balance.
            const double expected = RowValue(cai, r, QStringLiteral("FCAIDIFFINIZ")).toDouble()
                                    + RowValue(cai, r, QStringLiteral("FCAICASSAIN")).toDouble()
                                    + RowValue(cai, r, QStringLiteral("FCAISALDOIN")).toDouble()
                                    - RowValue(cai, r, QStringLiteral("FCAISALDOOUT")).toDouble()
                                    - RowValue(cai, r, QStringLiteral("FCAICASSAATT")).toDouble();
            QVERIFY(qAbs(RowValue(cai, r, QStringLiteral("FDIFF")).toDouble() - expected) < 1e-6);
        }
    }
    // Accounts 1-3 and 5 keep both financial years; the closed account none.
    QCOMPARE(cai->RecordCount(), 2);
    QCOMPARE(RowValue(cai, 0, QStringLiteral("DFINEANNO")).toDate(), QDate(2024, 12, 20));
    QCOMPARE(RowValue(cai, 1, QStringLiteral("DINIZIOANNO")).toDate(), QDate(2024, 12, 21));
    QCOMPARE(RowValue(cai, 1, QStringLiteral("DFINEANNO")).toDate(), QDate(2025, 12, 31));

    cai->Close();
    cai->Params().ParamByName(QStringLiteral("iSprIstId"))->SetAsInteger(1);
    cai->Open();
    QCOMPARE(cai->RecordCount(), 2);
    QCOMPARE(Column(cai, QStringLiteral("ICAIESERCIZIOFIN")), (QList<int>{2024, 2025}));
    // Unset period dates read as the calendar year.
    QCOMPARE(RowValue(cai, 0, QStringLiteral("DINIZIOANNO")).toDate(), QDate(2024, 1, 1));
    QCOMPARE(RowValue(cai, 0, QStringLiteral("DFINEANNO")).toDate(), QDate(2024, 12, 31));
    QCOMPARE(cai->FieldByName(QStringLiteral("fCaiCassaIn"))->DisplayFormat, QStringLiteral("#,###.00"));
    QCOMPARE(cai->FieldByName(QStringLiteral("fCaiCassaAtt"))->DisplayFormat, QStringLiteral("#,###.00"));
    QCOMPARE(Db(QStringLiteral("SELECT fCaiCassaIn FROM TCai_CassaIst WHERE iSprIstId = 1 AND iCaiEsercizioFin = 2024")).toDouble(),
             4850.5);
    const int col = cai->FieldByName(QStringLiteral("fCaiCassaIn"))->Index;
    QCOMPARE(cai->data(cai->index(0, col)).toString(), QStringLiteral("4.850,50"));

    // An incoming movement of 10 registers 10 of the collections: the
    // difference goes down by 10 and the current balance up.
    QVERIFY(cai->Locate(QStringLiteral("ICAIESERCIZIOFIN"), 2025));
    const double diff = RowValue(cai, 1, QStringLiteral("FDIFF")).toDouble();
    const double balance = RowValue(cai, 1, QStringLiteral("FCAICASSAATT")).toDouble();
    TTestDatabase::Exec(QStringLiteral(
        "INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, lMvmTipo, dMvmDataMov, fMvmImporto, sMvmDesc) "
        "VALUES (9901, 1, 0, '2025-06-15', 10, 'Prova')"));
    cai->Refresh();
    QVERIFY(qAbs(RowValue(cai, 1, QStringLiteral("FDIFF")).toDouble() - (diff - 10)) < 1e-6);
    QVERIFY(qAbs(RowValue(cai, 1, QStringLiteral("FCAICASSAATT")).toDouble() - (balance + 10)) < 1e-6);
    // A cash row written through the generated statements reaches the
    // table; the current balance it carries is the database's to keep.
    QVERIFY(cai->Locate(QStringLiteral("ICAIESERCIZIOFIN"), 2025));
    const double opening = RowValue(cai, 1, QStringLiteral("FCAIDIFFINIZ")).toDouble();
    cai->Edit();
    cai->FieldByName(QStringLiteral("FCAICASSAATT"))->SetAsFloat(0);
    cai->FieldByName(QStringLiteral("FCAIDIFFINIZ"))->SetAsFloat(opening + 10);
    QVERIFY(cai->Post());
    QVERIFY((*m_messages)->Messages.isEmpty());
    QCOMPARE(Db(QStringLiteral("SELECT fCaiDiffIniz FROM TCai_CassaIst WHERE iSprIstId = 1 AND iCaiEsercizioFin = 2025")).toDouble(),
             opening + 10);
    cai->Refresh();
    QVERIFY(qAbs(RowValue(cai, 1, QStringLiteral("FCAICASSAATT")).toDouble() - (balance + 10)) < 1e-6);
    QVERIFY(qAbs(RowValue(cai, 1, QStringLiteral("FDIFF")).toDouble() - diff) < 1e-6);

    // Totals of the bank account in 2025: one row per top-level typology.
    TVtQueryCollection *tcc = dmEbdConn->xqcTcc;
    tcc->Params().ParamByName(QStringLiteral("iSprIstId"))->SetAsInteger(2);
    tcc->Params().ParamByName(QStringLiteral("iCaiEsercizioFin"))->SetAsInteger(2025);
    tcc->Open();
    const QList<int> top = DbIds(QStringLiteral("SELECT iTccId FROM TTcc_TipoCompCaus WHERE iTccId = iTccId_P ORDER BY iTccId"));
    QCOMPARE(Sorted(Column(tcc, QStringLiteral("ITCCID"))), top);
    double paid = 0;
    for (int r = 0; r < tcc->RecordCount(); ++r) {
        const int type = RowValue(tcc, r, QStringLiteral("ITCCID")).toInt();
        QCOMPARE(RowValue(tcc, r, QStringLiteral("FTCCIMPORTO_INIZ")).toDouble(),
                 Db(QStringLiteral("SELECT ct.fCaiTccImportoIniz FROM TCaiTcc ct JOIN TCai_CassaIst c ON c.iCaiId = ct.iCaiId "
                                   "WHERE c.iSprIstId = 2 AND c.iCaiEsercizioFin = 2025 AND ct.iTccId = ?"),
                    {type})
                     .toDouble());
        const double sum = Db(QStringLiteral(
            "SELECT COALESCE(SUM(cac.fCacImporto), 0) FROM TCac_CcaAcbCau cac JOIN TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId "
            "JOIN TTcc_TipoCompCaus t ON t.iTccId = cca.iTccId WHERE cac.iSprIstId = 2 AND t.iTccId_P = ? "
            "AND cac.dCacDataPagamento >= '2025-01-01' AND cac.dCacDataPagamento <= '2025-12-31'"), {type}).toDouble();
        QVERIFY(qAbs(RowValue(tcc, r, QStringLiteral("FTCCIMPORTO")).toDouble() - sum) < 1e-6);
        paid += sum;
    }
    QVERIFY2(paid > 0, "the demo bank account has payments in 2025");
    QCOMPARE(tcc->FieldByName(QStringLiteral("fTccImporto"))->DisplayFormat, QStringLiteral("#,###.00"));
    QCOMPARE(tcc->FieldByName(QStringLiteral("fTccImporto_Iniz"))->DisplayFormat, QStringLiteral("#,###.00"));
    // The totals only display.
    try {
        tcc->Edit();
        QFAIL("the totals took an edit");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), ReadOnlyText);
    }
    // A year without a cash row: no opening amounts, payments still summed.
    tcc->Close();
    tcc->Params().ParamByName(QStringLiteral("iCaiEsercizioFin"))->SetAsInteger(2026);
    tcc->Open();
    QCOMPARE(tcc->RecordCount(), top.size());
    for (int r = 0; r < tcc->RecordCount(); ++r)
        QVERIFY(RowValue(tcc, r, QStringLiteral("FTCCIMPORTO_INIZ")).isNull());
}

// Holder records of the working school year: those whose pupil has a class
// in it, with a payment mode, a parent and a registration code.
void TstShellConn::holdersOfTheWorkingYear()
{
    const QString expectedSql = QStringLiteral(
        "SELECT a.iAcbId FROM TAcb_AluCoordBan a WHERE a.iMpgId IS NOT NULL AND a.iAnaId_Gen IS NOT NULL "
        "AND EXISTS (SELECT 1 FROM TAnaCag c WHERE c.iAnaId = a.iAnaId AND c.iCagId = 1) "
        "AND EXISTS (SELECT 1 FROM TSit_Situazioni s JOIN TClsPst p ON p.iClsPstId = s.iClsPstId "
        "JOIN TCls_Classi k ON k.iClsId = p.iClsId WHERE s.iAnaId = a.iAnaId AND EXTRACT(YEAR FROM k.dStart) = ?)");
    TVtQueryCollection *q = dmEbdConn->xqcAluGen;
    for (int ans : {2024, 2025}) {
        SetWorkingContext(1, ans, 2025, 2, 2024);
        Reopen(q);
        const QList<int> expected = Sorted(DbIds(expectedSql, {ans}));
        QVERIFY(expected.size() > 10);
        QCOMPARE(Sorted(Column(q, QStringLiteral("IACBID"))), expected);
        // Ordered by the holder's name.
        for (int r = 1; r < q->RecordCount(); ++r)
            QVERIFY(RowValue(q, r - 1, QStringLiteral("SACBINTESTATARIO")).toString()
                    <= RowValue(q, r, QStringLiteral("SACBINTESTATARIO")).toString());
    }
    // The pupil and parent names and the class come with each row.
    q->First();
    const int acb = q->FieldByName(QStringLiteral("IACBID"))->Value().toInt();
    QCOMPARE(q->FieldByName(QStringLiteral("SCOGNOMENOMEALU"))->AsString(),
             Db(QStringLiteral("SELECT n.sAnaCognome || ' ' || n.sAnaNome FROM TAcb_AluCoordBan a "
                               "JOIN TAna_Anagrafiche n ON n.iAnaId = a.iAnaId WHERE a.iAcbId = ?"), {acb})
                 .toString());
    QCOMPARE(q->FieldByName(QStringLiteral("IANAID_P"))->Value().toInt(),
             DbInt(QStringLiteral("SELECT iAnaId_Gen FROM TAcb_AluCoordBan WHERE iAcbId = ?"), {acb}));
    QVERIFY(!q->FieldByName(QStringLiteral("SCLSDESC"))->AsString().isEmpty());

    // Without a working school year the list is empty.
    xgvmGlobalVar->SetValues(QStringLiteral("VTUP_AnsId"), QString());
    Reopen(q);
    QVERIFY(q->Active());
    QCOMPARE(q->RecordCount(), 0);
}

// Holder records inserted, changed and deleted through the statements; a
// write the database refuses leaves nothing behind.
void TstShellConn::holderWritesAndFailures()
{
    TVtQueryCollection *q = dmEbdConn->xqcAluGen;
    q->Open();
    const int before = q->RecordCount();
    QSqlQuery p(qqoVtGlobConn->Database());
    QVERIFY(p.exec(QStringLiteral(
        "SELECT FIRST 1 g.iAnaId, g.iAnaId_p FROM TAnaGpt g WHERE EXISTS (SELECT 1 FROM TSit_Situazioni s "
        "JOIN TClsPst cp ON cp.iClsPstId = s.iClsPstId JOIN TCls_Classi k ON k.iClsId = cp.iClsId "
        "WHERE s.iAnaId = g.iAnaId AND EXTRACT(YEAR FROM k.dStart) = 2024) "
        "AND EXISTS (SELECT 1 FROM TAnaCag c WHERE c.iAnaId = g.iAnaId AND c.iCagId = 1) ORDER BY g.iAnaId")));
    QVERIFY(p.next());
    const int pupil = p.value(0).toInt();
    const int parent = p.value(1).toInt();
    const int mode = DbInt(QStringLiteral("SELECT MIN(iMpgId) FROM TMpg_ModPagam"));

    q->Insert();
    q->FieldByName(QStringLiteral("IANAID"))->SetAsInteger(pupil);
    q->FieldByName(QStringLiteral("IANAID_P"))->SetAsInteger(parent);
    q->FieldByName(QStringLiteral("IMPGID"))->SetAsInteger(mode);
    q->FieldByName(QStringLiteral("SACBIBAN"))->SetAsString(QString());
    q->FieldByName(QStringLiteral("SACBINTESTATARIO"))->SetAsString(QStringLiteral("AAA INTESTATARIO DI PROVA"));
    q->FieldByName(QStringLiteral("FACBPERCSCONTO"))->SetAsFloat(5);
    QVERIFY(q->Post());
    QVERIFY((*m_messages)->Messages.isEmpty());
    const int id = q->FieldByName(QStringLiteral("IACBID"))->Value().toInt();
    QVERIFY(id >= 1000000);
    QSqlQuery r(qqoVtGlobConn->Database());
    QVERIFY(r.exec(QStringLiteral("SELECT iAnaId, iAnaId_Gen, iMpgId, sAcbIntestatario, fAcbPercSconto "
                                  "FROM TAcb_AluCoordBan WHERE iAcbId = %1").arg(id)));
    QVERIFY(r.next());
    QCOMPARE(r.value(0).toInt(), pupil);
    QCOMPARE(r.value(1).toInt(), parent);
    QCOMPARE(r.value(2).toInt(), mode);
    QCOMPARE(r.value(3).toString(), QStringLiteral("AAA INTESTATARIO DI PROVA"));
    QCOMPARE(r.value(4).toDouble(), 5.0);
    Reopen(q);
    QCOMPARE(q->RecordCount(), before + 1);
    QVERIFY(q->Locate(QStringLiteral("IACBID"), id));

    q->Edit();
    q->FieldByName(QStringLiteral("SACBINTESTATARIO"))->SetAsString(QStringLiteral("AAA INTESTATARIO CORRETTO"));
    QVERIFY(q->Post());
    QCOMPARE(Db(QStringLiteral("SELECT sAcbIntestatario FROM TAcb_AluCoordBan WHERE iAcbId = ?"), {id}).toString(),
             QStringLiteral("AAA INTESTATARIO CORRETTO"));

    // The delete asks first; No keeps the holder.
    (*m_messages)->Answers = {mrNo};
    QVERIFY(!q->Delete());
    QCOMPARE((*m_messages)->Texts(), QStringList{DeleteQuestion});
    QCOMPARE((*m_messages)->Messages[0].Type, mtConfirmation);
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAcbId = ?"), {id}), 1);
    (*m_messages)->Clear();
    (*m_messages)->Answers = {mrYes};
    QVERIFY(q->Delete());
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAcbId = ?"), {id}), 0);
    QCOMPARE(q->RecordCount(), before);

    // A payment mode the database does not know: the insert is refused, the
    // error shown, the row stays in insert and nothing is stored.
    (*m_messages)->Clear();
    const int stored = DbInt(QStringLiteral("SELECT COUNT(*) FROM TAcb_AluCoordBan"));
    q->Insert();
    q->FieldByName(QStringLiteral("IANAID"))->SetAsInteger(pupil);
    q->FieldByName(QStringLiteral("IANAID_P"))->SetAsInteger(parent);
    q->FieldByName(QStringLiteral("IMPGID"))->SetAsInteger(999999);
    q->FieldByName(QStringLiteral("SACBINTESTATARIO"))->SetAsString(QStringLiteral("AAA MODALITA INESISTENTE"));
    QVERIFY(!q->Post());
    QCOMPARE((*m_messages)->Messages.size(), 1);
    QCOMPARE((*m_messages)->Messages[0].Type, mtError);
    QVERIFY2((*m_messages)->LastText().startsWith(SaveFailed), qPrintable((*m_messages)->LastText()));
    QVERIFY((*m_messages)->LastText().contains(QStringLiteral("FK_TACB_MPG"), Qt::CaseInsensitive));
    QCOMPARE(q->State(), dsInsert);
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM TAcb_AluCoordBan")), stored);
    q->Cancel();
    QCOMPARE(q->RecordCount(), before);
}

// The reasons and instalments of one holder in the reasons' school year.
void TstShellConn::reasonsAndInstalmentsOfAHolder()
{
    const QString reasonsSql = QStringLiteral(
        "SELECT a.iAcbCauId FROM TAcbCau a JOIN TCau_Causali c ON c.iCauId = a.iCauId "
        "WHERE a.iAcbId = ? AND c.dStart = ?");
    const QString instalmentsSql = QStringLiteral(
        "SELECT cac.iCacId FROM TCac_CcaAcbCau cac JOIN TAcbCau a ON a.iAcbCauId = cac.iAcbCauId "
        "JOIN TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId WHERE a.iAcbId = ? AND cca.dStart = ?");
    // A holder with at least two reasons of 2024 and some instalments with advances.
    const int holder = DbInt(QStringLiteral(
        "SELECT FIRST 1 a.iAcbId FROM TAcbCau a JOIN TCac_CcaAcbCau cac ON cac.iAcbCauId = a.iAcbCauId "
        "JOIN TCaa_CacAcconti caa ON caa.iCacId = cac.iCacId JOIN TCau_Causali c ON c.iCauId = a.iCauId "
        "WHERE c.dStart = ? AND (SELECT COUNT(*) FROM TAcbCau b WHERE b.iAcbId = a.iAcbId) >= 2 ORDER BY a.iAcbId"),
        {AnsStart(2024)});
    QVERIFY(holder > 0);

    TVtQueryCollection *cau = dmEbdConn->xqcAcbCau;
    TVtQueryCollection *cac = dmEbdConn->xqcCacAcbCau;
    for (int ans : {2024, 2025}) {
        SetWorkingContext(1, 2024, 2025, 2, ans);
        cau->Close();
        cau->Params().ParamByName(QStringLiteral("iAcbId"))->SetAsInteger(holder);
        cau->Open();
        QCOMPARE(Sorted(Column(cau, QStringLiteral("IACBCAUID"))), Sorted(DbIds(reasonsSql, {holder, AnsStart(ans)})));
        cac->Close();
        cac->Params().ParamByName(QStringLiteral("iAcbId"))->SetAsInteger(holder);
        cac->Open();
        QCOMPARE(Sorted(Column(cac, QStringLiteral("ICACID"))), Sorted(DbIds(instalmentsSql, {holder, AnsStart(ans)})));
        for (int r = 1; r < cac->RecordCount(); ++r)
            QVERIFY(RowValue(cac, r - 1, QStringLiteral("DCACDATASCADENZA")).toDate()
                    <= RowValue(cac, r, QStringLiteral("DCACDATASCADENZA")).toDate());
    }
    SetWorkingContext(1, 2024, 2025, 2, 2024);
    Reopen(cau);
    Reopen(cac);
    QVERIFY(cau->RecordCount() >= 2);
    QVERIFY(cac->RecordCount() >= 2);

    // Deleting an instalment removes its advances with it.
    const int withAdvances = DbInt(QStringLiteral(
        "SELECT FIRST 1 caa.iCacId FROM TCaa_CacAcconti caa JOIN TCac_CcaAcbCau cac ON cac.iCacId = caa.iCacId "
        "JOIN TAcbCau a ON a.iAcbCauId = cac.iAcbCauId WHERE a.iAcbId = ?"), {holder});
    QVERIFY(cac->Locate(QStringLiteral("ICACID"), withAdvances));
    const int instalments = cac->RecordCount();
    (*m_messages)->Answers = {mrYes};
    QVERIFY(cac->Delete());
    QCOMPARE((*m_messages)->Texts(), QStringList{DeleteQuestion});
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM TCac_CcaAcbCau WHERE iCacId = ?"), {withAdvances}), 0);
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM TCaa_CacAcconti WHERE iCacId = ?"), {withAdvances}), 0);
    QCOMPARE(cac->RecordCount(), instalments - 1);
    Reopen(cac);
    QCOMPARE(cac->RecordCount(), instalments - 1);

    // Deleting an assignment: No keeps it; Yes removes it with its instalments.
    cau->First();
    const int assignment = cau->FieldByName(QStringLiteral("IACBCAUID"))->Value().toInt();
    const int own = DbInt(QStringLiteral("SELECT COUNT(*) FROM TCac_CcaAcbCau WHERE iAcbCauId = ?"), {assignment});
    QVERIFY(own > 0);
    (*m_messages)->Clear();
    (*m_messages)->Answers = {mrNo};
    QVERIFY(!cau->Delete());
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM TAcbCau WHERE iAcbCauId = ?"), {assignment}), 1);
    (*m_messages)->Answers = {mrYes};
    QVERIFY(cau->Delete());
    QCOMPARE((*m_messages)->Texts(), (QStringList{DeleteQuestion, DeleteQuestion}));
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM TAcbCau WHERE iAcbCauId = ?"), {assignment}), 0);
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM TCac_CcaAcbCau WHERE iAcbCauId = ?"), {assignment}), 0);
    Reopen(cac);
    QCOMPARE(Sorted(Column(cac, QStringLiteral("ICACID"))), Sorted(DbIds(instalmentsSql, {holder, AnsStart(2024)})));
}

// Grants of a holder in the reasons' school year: changed and deleted in the
// database.
void TstShellConn::grantsOfAHolder()
{
    const int holder = DbInt(QStringLiteral("SELECT FIRST 1 iAcbId FROM TDos_DoteScuola WHERE dStart = ? ORDER BY iDosId"),
                             {AnsStart(2024)});
    QVERIFY(holder > 0);
    const QString grantsSql = QStringLiteral(
        "SELECT iDosId FROM TDos_DoteScuola WHERE iAcbId = ? AND dStart >= ? AND dStart <= "
        "(SELECT dAnsVeltoFine FROM TAns_AnniScolast WHERE iAnsId = ?)");
    TVtQueryCollection *q = dmEbdConn->xqcDote;
    for (int ans : {2024, 2025}) {
        SetWorkingContext(1, 2024, 2025, 2, ans);
        q->Close();
        q->Params().ParamByName(QStringLiteral("iAcbId"))->SetAsInteger(holder);
        q->Open();
        QCOMPARE(Sorted(Column(q, QStringLiteral("IDOSID"))), Sorted(DbIds(grantsSql, {holder, AnsStart(ans), ans})));
    }
    SetWorkingContext(1, 2024, 2025, 2, 2024);
    Reopen(q);
    QVERIFY(q->RecordCount() >= 1);
    const int grant = q->FieldByName(QStringLiteral("IDOSID"))->Value().toInt();

    q->Edit();
    q->FieldByName(QStringLiteral("FDOSIMPORTO"))->SetAsFloat(250);
    q->FieldByName(QStringLiteral("FDOSIMPORTORESIDUO"))->SetAsFloat(250);
    q->FieldByName(QStringLiteral("DDOSDATASCADENZA"))->SetAsDate(QDate(2025, 5, 31));
    QVERIFY(q->Post());
    QCOMPARE(Db(QStringLiteral("SELECT fDosImporto FROM TDos_DoteScuola WHERE iDosId = ?"), {grant}).toDouble(), 250.0);
    QCOMPARE(Db(QStringLiteral("SELECT fDosImportoResiduo FROM TDos_DoteScuola WHERE iDosId = ?"), {grant}).toDouble(), 250.0);
    QCOMPARE(Db(QStringLiteral("SELECT dDosDataScadenza FROM TDos_DoteScuola WHERE iDosId = ?"), {grant}).toDate(),
             QDate(2025, 5, 31));

    // A deleted grant leaves the database too, so it does not come back.
    (*m_messages)->Answers = {mrYes};
    QVERIFY(q->Delete());
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM TDos_DoteScuola WHERE iDosId = ?"), {grant}), 0);
    Reopen(q);
    QVERIFY(!q->Locate(QStringLiteral("IDOSID"), grant));
}

// Advances of an instalment come 25 at a time, carry the instalment's lock,
// and are written by their statements.
void TstShellConn::advancesComeInPackets()
{
    const int instalment = DbInt(QStringLiteral(
        "SELECT FIRST 1 cac.iCacId FROM TCac_CcaAcbCau cac WHERE cac.dCacDataPagamento IS NULL "
        "AND NOT EXISTS (SELECT 1 FROM TCaa_CacAcconti caa WHERE caa.iCacId = cac.iCacId) ORDER BY cac.iCacId"));
    QVERIFY(instalment > 0);
    for (int i = 1; i <= 30; ++i)
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TCaa_CacAcconti (iCaaId, iCacId, fCaaImporto, dCaaData) "
                                           "VALUES (%1, %2, 1, '2025-01-%3')")
                                .arg(990100 + i)
                                .arg(instalment)
                                .arg(i, 2, 10, QLatin1Char('0')));
    TVtQueryCollection *q = dmEbdConn->xqcAcconti;
    q->Params().ParamByName(QStringLiteral("iCacId"))->SetAsInteger(instalment);
    q->Open();
    QCOMPARE(q->RecordCount(), 25);
    QVERIFY(!q->AllFetched());
    QCOMPARE(RowValue(q, 0, QStringLiteral("DCAADATA")).toDate(), QDate(2025, 1, 1));
    for (int r = 0; r < q->RecordCount(); ++r)
        QCOMPARE(RowValue(q, r, QStringLiteral("ILOCKED")).toInt(), 0);
    q->Last();
    QCOMPARE(q->RecordCount(), 30);
    QVERIFY(q->AllFetched());
    QCOMPARE(q->FieldByName(QStringLiteral("DCAADATA"))->Value().toDate(), QDate(2025, 1, 30));

    // Written through the statements.
    q->Insert();
    q->FieldByName(QStringLiteral("ICACID"))->SetAsInteger(instalment);
    q->FieldByName(QStringLiteral("FCAAIMPORTO"))->SetAsFloat(7.5);
    q->FieldByName(QStringLiteral("DCAADATA"))->SetAsDate(QDate(2025, 2, 10));
    QVERIFY(q->Post());
    const int advance = q->FieldByName(QStringLiteral("ICAAID"))->Value().toInt();
    QVERIFY(advance >= 1000000);
    QCOMPARE(Db(QStringLiteral("SELECT fCaaImporto FROM TCaa_CacAcconti WHERE iCaaId = ? AND iCacId = ?"),
                {advance, instalment}).toDouble(), 7.5);
    q->Edit();
    q->FieldByName(QStringLiteral("FCAAIMPORTO"))->SetAsFloat(8);
    QVERIFY(q->Post());
    QCOMPARE(Db(QStringLiteral("SELECT fCaaImporto FROM TCaa_CacAcconti WHERE iCaaId = ?"), {advance}).toDouble(), 8.0);
    (*m_messages)->Answers = {mrYes};
    QVERIFY(q->Delete());
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM TCaa_CacAcconti WHERE iCaaId = ?"), {advance}), 0);

    // Once the instalment is paid its advances are locked.
    TTestDatabase::Exec(QStringLiteral("UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '2025-03-01' WHERE iCacId = %1")
                            .arg(instalment));
    Reopen(q);
    QCOMPARE(q->RecordCount(), 25);
    for (int r = 0; r < q->RecordCount(); ++r)
        QCOMPARE(RowValue(q, r, QStringLiteral("ILOCKED")).toInt(), 1);
}

// The scratch query runs on the module's connection: the cash-book period
// of the status panels.
void TstShellConn::scratchQueryReadsOnTheConnection()
{
    TSQLQuery *q = dmEbdConn->qquTmp;
    q->SQL = QStringLiteral(
        "SELECT COALESCE(cai.DCAIINIZIOANNO, CAST(cai.ICAIESERCIZIOFIN || '-01-01' AS DATE)) INIZIOUTENTE, "
        "COALESCE(cai.DCAIFINEANNO, CAST(cai.ICAIESERCIZIOFIN || '-12-31' AS DATE)) FINEUTENTE "
        "FROM TCAI_CASSAIST cai WHERE cai.ICAIESERCIZIOFIN = :iAnfValore AND cai.ISPRISTID = :iSprIstId");
    q->Params().Clear();
    TVtParam *year = q->Params().CreateParam(QMetaType::Int, QStringLiteral("iAnfValore"));
    TVtParam *account = q->Params().CreateParam(QMetaType::Int, QStringLiteral("iSprIstId"));
    year->SetAsInteger(2025);
    account->SetAsInteger(5);
    q->Open();
    QVERIFY(!q->IsEmpty());
    QCOMPARE(q->FieldByName(QStringLiteral("INIZIOUTENTE")).toDate(), QDate(2024, 12, 21));
    QCOMPARE(q->FieldByName(QStringLiteral("FINEUTENTE")).toDate(), QDate(2025, 12, 31));
    q->Close();
    year->SetAsInteger(2026);
    q->Open();
    QVERIFY(q->IsEmpty());
    q->Close();
}

// RefreshCompCaus refreshes the reasons and components of the fee data sets,
// each only when it is open.
void TstShellConn::refreshCompCausRefreshesOnlyOpenSets()
{
    // Without the fee data-sets module there is nothing to refresh.
    QVERIFY(!dmEbsDataSets);
    dmEbdConn->RefreshCompCaus();

    dmEbsDataSets = new TdmEbsDataSets;
    TVtQueryCollection *caus = dmEbsDataSets->xqcCaus;
    TVtQueryCollection *comp = dmEbsDataSets->xqcCompCaus;
    dmEbdConn->RefreshCompCaus();
    QVERIFY(!caus->Active());
    QVERIFY(!comp->Active());

    caus->Params().ParamByName(QStringLiteral("iAnsId"))->SetAsInteger(2024);
    caus->Params().ParamByName(QStringLiteral("ShowAll"))->SetAsInteger(1);
    caus->Params().ParamByName(QStringLiteral("lCauTipo"))->SetAsInteger(0);
    comp->Params().ParamByName(QStringLiteral("iAnsId"))->SetAsInteger(2024);
    comp->Params().ParamByName(QStringLiteral("ShowAll"))->SetAsInteger(1);
    comp->Params().ParamByName(QStringLiteral("lCcaTipo"))->SetAsInteger(0);
    caus->Open();
    const int reasons = caus->RecordCount();
    QCOMPARE(reasons, DbInt(QStringLiteral("SELECT COUNT(*) FROM TCau_Causali c JOIN TAns_AnniScolast a ON "
                                           "a.dAnsVeltoInizio = c.dStart AND a.dAnsVeltoFine = c.dEnd "
                                           "WHERE a.iAnsId = 2024 AND c.lCauTipo = 0")));
    QVERIFY(reasons > 0);

    TTestDatabase::Exec(QStringLiteral(
        "INSERT INTO TCau_Causali (iCauId, sCauSDesc, sCauLDesc, lCauTipo, lCauVuvez, dStart, dEnd) "
        "SELECT 990201, 'PROVA', 'Causale di prova', 0, 1, dAnsVeltoInizio, dAnsVeltoFine FROM TAns_AnniScolast "
        "WHERE iAnsId = 2024"));
    TTestDatabase::Exec(QStringLiteral(
        "INSERT INTO TCca_CompCausali (iCcaId, sCcaSDesc, sCcaLDesc, iTccId, fCcaImportoIst, lCcaVuvez, lCcaTipo, dStart, dEnd) "
        "SELECT 990202, 'PROVA', 'Componente di prova', 101, 10, 1, 0, dAnsVeltoInizio, dAnsVeltoFine "
        "FROM TAns_AnniScolast WHERE iAnsId = 2024"));
    // Only the open reasons are refreshed; the closed components stay closed.
    dmEbdConn->RefreshCompCaus();
    QCOMPARE(caus->RecordCount(), reasons + 1);
    QVERIFY(caus->Locate(QStringLiteral("ICAUID"), 990201));
    QVERIFY(!comp->Active());

    comp->Open();
    const int components = comp->RecordCount();
    QVERIFY(comp->Locate(QStringLiteral("ICCAID"), 990202));
    TTestDatabase::Exec(QStringLiteral("UPDATE TCca_CompCausali SET sCcaLDesc = 'Componente rinominata' WHERE iCcaId = 990202"));
    TTestDatabase::Exec(QStringLiteral("DELETE FROM TCau_Causali WHERE iCauId = 990201"));
    dmEbdConn->RefreshCompCaus();
    QCOMPARE(caus->RecordCount(), reasons);
    QCOMPARE(comp->RecordCount(), components);
    // The current component is kept and shows the new text.
    QCOMPARE(comp->FieldByName(QStringLiteral("ICCAID"))->Value().toInt(), 990202);
    QCOMPARE(comp->FieldByName(QStringLiteral("SCCALDESC"))->AsString(), QStringLiteral("Componente rinominata"));
    comp->Close();
    caus->Close();
}

QTEST_MAIN(TstShellConn)
#include "tst_shellconn.moc"

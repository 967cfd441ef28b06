#include "EbdMBilling.h"
#include "EbdMConn.h"
#include "EbdUCac.h"
#include "EbdUDote.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestRow.h"
#include "VardellaModules.h"
#include "VtQueryCollection.h"
#include "VtException.h"
#include "VtTransaction.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// The rules of the billing collections as the program installs them, with
// no window open: holders, assigned reasons, instalments, grants; and the
// spreading of grants over instalments with its undo.
class TstBillingHooks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void incompleteHolderGoneAtNextOpen();
    void holderShowsItsReasonsInstalmentsAndGrants();
    void assignedReasonTakesTheHolderDiscount();
    void percentageChangeRecomputesOpenInstalments();
    void assignmentDeleteRefusedWithMoney_data();
    void assignmentDeleteRefusedWithMoney();
    void reasonChangeOfAnAssignment();
    void holderWithPaymentsIsNotDeleted();
    void instalmentDeleteRefusals();
    void accountOfAnInstalment();
    void discountsThatWouldRaiseOrGoBelowZero();

    void spreadOverTwoInstalmentsAndBack();
    void spreadEdges();
    void spreadOnTheSelectedInstalment();
    void spreadWithoutCentNoise();
    void grantDeleteAnswers();
    void undoRefusedOverCollectedInstalments();
    void spreadInsideAnOuterTransaction();

private:
    TVtQueryCollection *Holders() const { return dmEbdConn->xqcAluGen; }
    TVtQueryCollection *Assigned() const { return dmEbdConn->xqcAcbCau; }
    TVtQueryCollection *Instalments() const { return dmEbdConn->xqcCacAcbCau; }
    TVtQueryCollection *Grants() const { return dmEbdConn->xqcDote; }
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    // A reason of 2024/2025 with components of the amounts, due on the dates.
    static int Reason(const QList<QPair<double, QDate>> &components);
    // Assigns a reason to the current holder through the collection.
    int Assign(int reason, double percentage = 0);
    static int Grant(int holder, double amount, const QDate &date, const QDate &expiry, double residue = -1);
    static QList<int> InstalmentIds(int assignment);
    static double Amount(int cac) { return Db(u"SELECT fCacImporto FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {cac}).toDouble(); }
    static double GrantPart(int cac) { return Db(u"SELECT fCacImpDaDote FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {cac}).toDouble(); }
    static QDate Paid(int cac) { return Db(u"SELECT dCacDataPagamento FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {cac}).toDate(); }
    static double Residue(int grant) { return Db(u"SELECT fDosImportoResiduo FROM TDos_DoteScuola WHERE iDosId = ?"_s, {grant}).toDouble(); }
    int Holder() const { return Holders()->FieldByName(u"IACBID"_s)->AsInteger(); }

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    int m_reasons = 0;
};

namespace {
const QDate YearStart(2024, 9, 1), YearEnd(2025, 8, 31);
}

void TstBillingHooks::initTestCase()
{
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstBillingHooks::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));
    Holders()->Open();
    QVERIFY(Holders()->RecordCount() > 100);
    // A holder of the test's own, a second paying parent of a demo pupil:
    // its instalments are only those the test gives it.
    const int pupil = Holders()->FieldByName(u"IANAID"_s)->AsInteger();
    const int parent = Holders()->FieldByName(u"IANAID_GEN"_s)->AsInteger();
    const int holder = TTestRow::Holder(pupil, u"Aaa Prova"_s).Set(u"iAnaId_Gen"_s, parent).Set(u"iMpgId"_s, 1).Insert();
    Holders()->Refresh();
    QVERIFY(Holders()->Locate(u"IACBID"_s, holder));
    QVERIFY(Instalments()->IsEmpty());
}

void TstBillingHooks::cleanup()
{
    CloseBillingModule();
}

void TstBillingHooks::cleanupTestCase()
{
    m_db.reset();
}

int TstBillingHooks::Reason(const QList<QPair<double, QDate>> &components)
{
    static int n = 0;
    const QString code = u"PROVA%1"_s.arg(++n);
    const int reason = TTestRow::Reason(code, YearStart, YearEnd).Insert();
    int i = 0;
    for (const auto &[amount, due] : components) {
        const int c = TTestRow::Component(u"%1-%2"_s.arg(code).arg(++i), TVtMoney(amount), YearStart, YearEnd)
                          .Set(u"dCcaDataScadenza"_s, due)
                          .Set(u"iTccId"_s, 301)
                          .Insert();
        TTestRow::ReasonComponent(reason, c).Insert();
    }
    return reason;
}

int TstBillingHooks::Assign(int reason, double percentage)
{
    Assigned()->Insert();
    Assigned()->FieldByName(u"ICAUID"_s)->SetValue(reason);
    Assigned()->FieldByName(u"FACBCAUPERCSCONTO"_s)->SetValue(percentage);
    if (!Assigned()->Post())
        return 0;
    return Assigned()->FieldByName(u"IACBCAUID"_s)->AsInteger();
}

int TstBillingHooks::Grant(int holder, double amount, const QDate &date, const QDate &expiry, double residue)
{
    return TTestRow(u"TDos_DoteScuola"_s, u"iDosId"_s)
        .Set(u"iAcbId"_s, holder)
        .Set(u"fDosImporto"_s, amount)
        .Set(u"fDosImportoResiduo"_s, residue < 0 ? amount : residue)
        .Set(u"dDosData"_s, date)
        .Set(u"dDosDataScadenza"_s, expiry)
        .Set(u"dStart"_s, YearStart)
        .Set(u"dEnd"_s, YearEnd)
        .Insert();
}

QList<int> TstBillingHooks::InstalmentIds(int assignment)
{
    QList<int> ids;
    for (const QVariant &v : TTestDatabase::Column(u"SELECT iCacId FROM TCac_CcaAcbCau WHERE iAcbCauId = ? "
                                                    "ORDER BY dCacDataScadenza, iCacId"_s, {assignment}))
        ids << v.toInt();
    return ids;
}

// ---------------------------------------------------------------- holders and reasons

void TstBillingHooks::incompleteHolderGoneAtNextOpen()
{
    const int pupil = Holders()->FieldByName(u"IANAID"_s)->AsInteger();
    const int incomplete = TTestRow::Holder(pupil, u"Senza modalità"_s).Insert();   // no payment mode, no parent
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {incomplete}).toInt(), 1);
    Holders()->Close();
    Holders()->Open();
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {incomplete}).toInt(), 0);
}

void TstBillingHooks::holderShowsItsReasonsInstalmentsAndGrants()
{
    const int holder = Db(u"SELECT FIRST 1 ac.iAcbId FROM TAcbCau ac JOIN TDos_DoteScuola d ON d.iAcbId = ac.iAcbId "
                          "JOIN TCau_Causali c ON c.iCauId = ac.iCauId WHERE c.dStart = '2024-09-01' AND d.dStart = '2024-09-01'"_s)
                           .toInt();
    QVERIFY(holder > 0);
    QVERIFY(Holders()->Locate(u"IACBID"_s, holder));
    for (TVtQueryCollection *q : {Assigned(), Instalments(), Grants()})
        QVERIFY(q->Active() && !q->IsEmpty());
    QCOMPARE(Instalments()->RecordCount(),
             Db(u"SELECT COUNT(*) FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId JOIN TCca_CompCausali cca "
                "ON cca.iCcaId = cac.iCcaId WHERE ac.iAcbId = ? AND cca.dStart = '2024-09-01'"_s, {holder}).toInt());
    QVERIFY(dmEbdConn->xqcAcconti->Active());
    QCOMPARE(dmEbdConn->xqcAcconti->Params().ParamByName(u"iCacId"_s)->Value().toInt(),
             Instalments()->FieldByName(u"ICACID"_s)->AsInteger());
    // Another instalment, its advances.
    Instalments()->Last();
    QCOMPARE(dmEbdConn->xqcAcconti->Params().ParamByName(u"iCacId"_s)->Value().toInt(),
             Instalments()->FieldByName(u"ICACID"_s)->AsInteger());
}

void TstBillingHooks::assignedReasonTakesTheHolderDiscount()
{
    const int reason = Reason({{100.0, QDate(2024, 10, 15)}, {6.40, QDate(2025, 1, 15)}});
    const int assignment = Assign(reason, 10);
    QVERIFY(assignment > 0);
    QCOMPARE(Db(u"SELECT iAcbId FROM TAcbCau WHERE iAcbCauId = ?"_s, {assignment}).toInt(), Holder());
    const QList<int> ids = InstalmentIds(assignment);
    QCOMPARE(ids.size(), 2);
    QCOMPARE(Amount(ids[0]), 90.0);
    QCOMPARE(EbdCacMoney(Amount(ids[1])), TVtMoney::FromCents(576));
    // The instalments list shows them at once.
    QVERIFY(Instalments()->Locate(u"ICACID"_s, ids[0]));
    QCOMPARE(Instalments()->FieldByName(u"FCACIMPORTO"_s)->AsFloat(), 90.0);
}

void TstBillingHooks::percentageChangeRecomputesOpenInstalments()
{
    const int reason = Reason({{100.0, QDate(2024, 10, 15)}, {100.0, QDate(2025, 1, 15)}, {100.0, QDate(2025, 4, 15)}});
    const int assignment = Assign(reason, 10);
    const QList<int> ids = InstalmentIds(assignment);
    // One instalment got a percentage of its own, one has been paid.
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET fCacPercSconto = 20, fCacImporto = 80 WHERE iCacId = %1"_s.arg(ids[1]));
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '2024-10-15' WHERE iCacId = %1"_s.arg(ids[0]));
    // 10 to 10 (with a new note): nothing recomputed.
    QVERIFY(Assigned()->Locate(u"IACBCAUID"_s, assignment));
    Assigned()->Edit();
    Assigned()->FieldByName(u"BACBCAUNOTE"_s)->SetValue(u"Riduzione ISEE"_s);
    Assigned()->FieldByName(u"FACBCAUPERCSCONTO"_s)->SetValue(10.0);
    QVERIFY(Assigned()->Post());
    QCOMPARE(Amount(ids[1]), 80.0);
    // 10 to 0: the open instalments without percentage, the paid one as it was.
    Assigned()->Edit();
    Assigned()->FieldByName(u"FACBCAUPERCSCONTO"_s)->SetValue(0.0);
    QVERIFY(Assigned()->Post());
    QCOMPARE(Amount(ids[0]), 90.0);
    QCOMPARE(Amount(ids[1]), 100.0);
    QCOMPARE(Amount(ids[2]), 100.0);
    QCOMPARE(Db(u"SELECT fCacPercSconto FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {ids[1]}).toDouble(), 0.0);
    // Outside 0-100 it is refused.
    Assigned()->Edit();
    Assigned()->FieldByName(u"FACBCAUPERCSCONTO"_s)->SetValue(101.0);
    QVERIFY(!Assigned()->Post());
    QCOMPARE((*m_messages)->LastText(), u"La percentuale di sconto deve essere compresa tra 0 e 100."_s);
    Assigned()->Cancel();
}

void TstBillingHooks::assignmentDeleteRefusedWithMoney_data()
{
    QTest::addColumn<QString>("money");
    QTest::addColumn<bool>("refused");
    QTest::newRow("paid") << u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '2024-10-15' WHERE iCacId = %1"_s << true;
    QTest::newRow("grant part 2.00") << u"UPDATE TCac_CcaAcbCau SET fCacImpDaDote = 2, fCacImporto = 98 WHERE iCacId = %1"_s << true;
    QTest::newRow("grant part 0.70") << u"UPDATE TCac_CcaAcbCau SET fCacImpDaDote = 0.70, fCacImporto = 99.30 WHERE iCacId = %1"_s << true;
    QTest::newRow("advance") << u"INSERT INTO TCaa_CacAcconti (iCaaId, iCacId, fCaaImporto, dCaaData) VALUES "
                                "(NEXT VALUE FOR GEN_VTID, %1, 20, '2024-10-01')"_s << true;
    QTest::newRow("grant part 0.30") << u"UPDATE TCac_CcaAcbCau SET fCacImpDaDote = 0.30, fCacImporto = 99.70 WHERE iCacId = %1"_s << false;
}

void TstBillingHooks::assignmentDeleteRefusedWithMoney()
{
    QFETCH(QString, money);
    QFETCH(bool, refused);
    const int assignment = Assign(Reason({{100.0, QDate(2024, 10, 15)}, {100.0, QDate(2025, 1, 15)}}));
    const QList<int> ids = InstalmentIds(assignment);
    TTestDatabase::Exec(money.arg(ids[0]));
    QVERIFY(Assigned()->Locate(u"IACBCAUID"_s, assignment));
    (*m_messages)->Answers << mrYes;   // "Confermi la cancellazione del record?"
    QCOMPARE(Assigned()->Delete(), !refused);
    (*m_messages)->Messages.removeFirst();
    if (refused) {
        QCOMPARE((*m_messages)->Texts(), QStringList{u"Impossibile cancellare. E' presente un pagamento per questa causale."_s});
        QCOMPARE((*m_messages)->Messages.last().Type, mtError);
        QCOMPARE(InstalmentIds(assignment), ids);
    } else {
        QVERIFY((*m_messages)->Texts().isEmpty());
        QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcbCau WHERE iAcbCauId = ?"_s, {assignment}).toInt(), 0);
        QVERIFY(InstalmentIds(assignment).isEmpty());
        QVERIFY(!Instalments()->Locate(u"ICACID"_s, ids[0]));   // the list was read again
    }
}

void TstBillingHooks::reasonChangeOfAnAssignment()
{
    const int first = Reason({{100.0, QDate(2024, 10, 15)}});
    const int second = Reason({{35.0, QDate(2025, 3, 20)}, {15.0, QDate(2025, 5, 20)}});
    const int assignment = Assign(first);
    Assigned()->Edit();
    Assigned()->FieldByName(u"ICAUID"_s)->SetValue(second);
    QVERIFY(Assigned()->Post());
    QCOMPARE(InstalmentIds(assignment).size(), 2);
    QCOMPARE(Instalments()->RecordCount(),
             Db(u"SELECT COUNT(*) FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId JOIN TCca_CompCausali cca "
                "ON cca.iCcaId = cac.iCcaId WHERE ac.iAcbId = ? AND cca.dStart = '2024-09-01'"_s, {Holder()}).toInt());
    // Paid: the change is refused before the database is asked.
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '2025-03-20' WHERE iCacId = %1"_s.arg(InstalmentIds(assignment)[0]));
    Assigned()->Edit();
    Assigned()->FieldByName(u"ICAUID"_s)->SetValue(first);
    QVERIFY(!Assigned()->Post());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Impossibile modificare. E' presente un pagamento per questa causale."_s});
    QCOMPARE((*m_messages)->Messages.last().Type, mtError);
    QCOMPARE(Db(u"SELECT iCauId FROM TAcbCau WHERE iAcbCauId = ?"_s, {assignment}).toInt(), second);
    Assigned()->Cancel();
}

void TstBillingHooks::holderWithPaymentsIsNotDeleted()
{
    const int holder = Holder();
    const int assignment = Assign(Reason({{100.0, QDate(2024, 10, 15)}}));
    Grant(holder, 50, QDate(2024, 9, 1), QDate(2025, 6, 30));
    // A payment in another school year counts as well.
    const int older = TTestRow::Reason(u"VECCHIA"_s, QDate(2023, 9, 1), QDate(2024, 8, 31)).Insert();
    const int component = TTestRow::Component(u"VECCHIA-1"_s, TVtMoney::FromUnits(30), QDate(2023, 9, 1), QDate(2024, 8, 31))
                              .Set(u"dCcaDataScadenza"_s, QDate(2023, 10, 31)).Set(u"iTccId"_s, 301).Insert();
    TTestRow::ReasonComponent(older, component).Insert();
    const int past = TTestRow::HolderReason(holder, older).Insert();
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '2023-10-31' WHERE iAcbCauId = %1"_s.arg(past));
    (*m_messages)->Answers << mrYes;
    QVERIFY(!Holders()->Delete());
    QCOMPARE((*m_messages)->Texts(), (QStringList{u"Confermi la cancellazione del record?"_s,
                                                  u"Impossibile cancellare. Sono presenti pagamenti per questo intestatario."_s}));
    QCOMPARE((*m_messages)->Messages.last().Type, mtError);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {holder}).toInt(), 1);
    // Without it the holder goes with its reasons, instalments and grants.
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = NULL WHERE iAcbCauId = %1"_s.arg(past));
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau cac SET dCacDataPagamento = NULL, fCacImpDaDote = 0 WHERE EXISTS (SELECT 1 FROM "
                        "TAcbCau ac WHERE ac.iAcbCauId = cac.iAcbCauId AND ac.iAcbId = %1)"_s.arg(holder));
    TTestDatabase::Exec(u"DELETE FROM TCaa_CacAcconti caa WHERE EXISTS (SELECT 1 FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON "
                        "ac.iAcbCauId = cac.iAcbCauId WHERE cac.iCacId = caa.iCacId AND ac.iAcbId = %1)"_s.arg(holder));
    (*m_messages)->Clear();
    (*m_messages)->Answers << mrYes;
    QVERIFY(Holders()->Delete());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Confermi la cancellazione del record?"_s});
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcbCau WHERE iAcbId = ?"_s, {holder}).toInt(), 0);
    QVERIFY(InstalmentIds(assignment).isEmpty());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TDos_DoteScuola WHERE iAcbId = ?"_s, {holder}).toInt(), 0);
}

void TstBillingHooks::instalmentDeleteRefusals()
{
    const int assignment = Assign(Reason({{100.0, QDate(2024, 10, 15)}, {100.0, QDate(2024, 11, 15)},
                                          {100.0, QDate(2024, 12, 15)}, {100.0, QDate(2025, 1, 15)}}));
    const QList<int> ids = InstalmentIds(assignment);
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '2024-10-15' WHERE iCacId = %1"_s.arg(ids[0]));
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET fCacImpDaDote = 0.70, fCacImporto = 99.30 WHERE iCacId = %1"_s.arg(ids[1]));
    TTestDatabase::Exec(u"INSERT INTO TCaa_CacAcconti (iCaaId, iCacId, fCaaImporto, dCaaData) VALUES (NEXT VALUE FOR GEN_VTID, %1, "
                        "20, '2024-12-01')"_s.arg(ids[2]));
    Instalments()->Refresh();
    const QList<QPair<int, QString>> refused{{ids[0], u"Impossibile cancellare. E' presente un pagamento per questa componente."_s},
                                             {ids[1], u"Impossibile cancellare. C'è una dote collegata a questa componente."_s},
                                             {ids[2], u"Impossibile cancellare. E' presente un pagamento per questa componente."_s}};
    for (const auto &[id, text] : refused) {
        (*m_messages)->Clear();
        QVERIFY(Instalments()->Locate(u"ICACID"_s, id));
        (*m_messages)->Answers << mrYes;
        QVERIFY(!Instalments()->Delete());
        QCOMPARE((*m_messages)->Texts(), (QStringList{u"Confermi la cancellazione del record?"_s, text}));
    }
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCaa_CacAcconti WHERE iCacId = ?"_s, {ids[2]}).toInt(), 1);
    QVERIFY(Instalments()->Locate(u"ICACID"_s, ids[3]));
    (*m_messages)->Answers << mrYes;
    QVERIFY(Instalments()->Delete());
    QCOMPARE(InstalmentIds(assignment).size(), 3);
}

void TstBillingHooks::accountOfAnInstalment()
{
    const QList<int> ids = InstalmentIds(Assign(Reason({{100.0, QDate(2024, 10, 15)}, {100.0, QDate(2024, 11, 15)}})));
    // Collected on account 1 months ago.
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '2024-10-15', iSprIstId = 1 WHERE iCacId = %1"_s.arg(ids[0]));
    Instalments()->Refresh();
    auto editNote = [&](int id, const QVariant &paid) {
        QVERIFY(Instalments()->Locate(u"ICACID"_s, id));
        Instalments()->Edit();
        Instalments()->FieldByName(u"BCACNOTE"_s)->SetValue(u"Controllato"_s);
        if (paid.isValid())
            Instalments()->FieldByName(u"DCACDATAPAGAMENTO"_s)->SetValue(paid);
        QVERIFY(Instalments()->Post());
    };
    auto account = [](int id) { return Db(u"SELECT iSprIstId FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {id}).toInt(); };
    editNote(ids[0], QVariant());
    QCOMPARE(account(ids[0]), 1);   // still paid on the same day: its own account
    editNote(ids[1], QVariant());
    QCOMPARE(account(ids[1]), 2);   // unpaid: the working account
    editNote(ids[0], QDate(2024, 10, 20));
    QCOMPARE(account(ids[0]), 2);   // paid again: where it is collected now
}

void TstBillingHooks::discountsThatWouldRaiseOrGoBelowZero()
{
    const QList<int> ids = InstalmentIds(Assign(Reason({{100.0, QDate(2024, 10, 15)}})));
    Instalments()->Refresh();
    QVERIFY(Instalments()->Locate(u"ICACID"_s, ids[0]));
    const QList<QPair<QString, QVariant>> refused{{u"FCACIMPORTO"_s, -0.01}, {u"FCACPERCSCONTO"_s, 100.5},
                                                  {u"FCACPERCSCONTO"_s, -1.0}, {u"FCACIMPSCONTO"_s, -5.0}};
    const QStringList texts{u"Impossibile modificare. L'importo da pagare andrebbe in negativo."_s,
                            u"La percentuale di sconto deve essere compresa tra 0 e 100."_s,
                            u"La percentuale di sconto deve essere compresa tra 0 e 100."_s,
                            u"L'importo dello sconto non può essere negativo."_s};
    for (int i = 0; i < refused.size(); ++i) {
        (*m_messages)->Clear();
        Instalments()->Edit();
        Instalments()->FieldByName(refused[i].first)->SetValue(refused[i].second);
        QVERIFY(!Instalments()->Post());
        QCOMPARE((*m_messages)->Texts(), QStringList{texts[i]});
        Instalments()->Cancel();
        QCOMPARE(Amount(ids[0]), 100.0);
    }
    // Exactly nothing left to pay is allowed.
    Instalments()->Edit();
    Instalments()->FieldByName(u"FCACIMPSCONTO"_s)->SetValue(100.0);
    Instalments()->FieldByName(u"FCACIMPORTO"_s)->SetValue(0.0);
    QVERIFY(Instalments()->Post());
    QCOMPARE(Amount(ids[0]), 0.0);
}

// ---------------------------------------------------------------- spreading grants

void TstBillingHooks::spreadOverTwoInstalmentsAndBack()
{
    const QList<int> ids = InstalmentIds(Assign(Reason({{100.0, QDate(2024, 10, 15)}, {100.0, QDate(2025, 1, 15)}})));
    const int grant = Grant(Holder(), 150, QDate(2024, 9, 1), QDate(2025, 6, 30));
    const TEbdSpreadResult done = EbdSpalmaDote(Holder(), 2024);
    QVERIFY(done.Grants >= 1);
    QCOMPARE(Amount(ids[0]), 0.0);
    QCOMPARE(GrantPart(ids[0]), 100.0);
    QCOMPARE(Paid(ids[0]), QDate(2024, 10, 15));
    QCOMPARE(Amount(ids[1]), 50.0);
    QCOMPARE(GrantPart(ids[1]), 50.0);
    QVERIFY(Paid(ids[1]).isNull());
    QCOMPARE(Residue(grant), 0.0);

    // Deleting the grant gives the spread back, last due first.
    Grants()->Refresh();
    QVERIFY(Grants()->Locate(u"IDOSID"_s, grant));
    (*m_messages)->Answers << mrYes << mrYes;
    QVERIFY(Grants()->Delete());
    QCOMPARE((*m_messages)->Texts(), (QStringList{u"Confermi la cancellazione del record?"_s,
                                                  u"La dote è già stata spalmata. Vuoi annullare la spalmatura?"_s}));
    QCOMPARE((*m_messages)->Messages.last().Type, mtWarning);
    QCOMPARE((*m_messages)->Messages.last().Buttons, mbYes | mbNo | mbCancel);
    for (int id : ids) {
        QCOMPARE(Amount(id), 100.0);
        QCOMPARE(GrantPart(id), 0.0);
        QVERIFY(Paid(id).isNull());
    }
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TDos_DoteScuola WHERE iDosId = ?"_s, {grant}).toInt(), 0);
    QCOMPARE(Instalments()->FieldByName(u"FCACIMPORTO"_s)->AsFloat(), 100.0);   // the list was read again
}

void TstBillingHooks::spreadEdges()
{
    // Due before the grant, within it (exactly covered), zero to pay, paid, after its expiry.
    const QList<int> ids = InstalmentIds(Assign(Reason({{40.0, QDate(2024, 9, 10)}, {100.0, QDate(2024, 10, 15)},
                                                        {30.0, QDate(2024, 11, 15)}, {25.0, QDate(2024, 12, 15)},
                                                        {60.0, QDate(2025, 7, 15)}})));
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET fCacImporto = 0 WHERE iCacId = %1"_s.arg(ids[2]));
    TTestDatabase::Exec(u"INSERT INTO TCaa_CacAcconti (iCaaId, iCacId, fCaaImporto, dCaaData) VALUES (NEXT VALUE FOR GEN_VTID, %1, "
                        "30, '2024-11-01')"_s.arg(ids[2]));
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '2024-12-10' WHERE iCacId = %1"_s.arg(ids[3]));
    const int grant = Grant(Holder(), 100, QDate(2024, 10, 1), QDate(2025, 6, 30));
    EbdSpalmaDote(Holder(), 2024);
    QCOMPARE(Amount(ids[0]), 40.0);          // due before the grant
    QVERIFY(Paid(ids[0]).isNull());
    QCOMPARE(Amount(ids[1]), 0.0);           // covered exactly: paid
    QCOMPARE(Paid(ids[1]), QDate(2024, 10, 15));
    QCOMPARE(Residue(grant), 0.0);
    QCOMPARE(Amount(ids[4]), 60.0);          // after the expiry
    QCOMPARE(Paid(ids[3]), QDate(2024, 12, 10));   // paid: untouched
    QCOMPARE(GrantPart(ids[3]), 0.0);
    // Nothing left to pay, covered by its advance: paid with a grant that has residue, which keeps it.
    const int second = Grant(Holder(), 10, QDate(2024, 11, 1), QDate(2024, 11, 30));
    EbdSpalmaDote(Holder(), 2024);
    QCOMPARE(Paid(ids[2]), QDate(2024, 11, 15));
    QCOMPARE(Residue(second), 10.0);
    // No grant with residue: nothing to do.
    TTestDatabase::Exec(u"UPDATE TDos_DoteScuola SET fDosImportoResiduo = 0 WHERE iAcbId = %1"_s.arg(Holder()));
    QCOMPARE(EbdSpalmaDote(Holder(), 2024).Grants, 0);
}

void TstBillingHooks::spreadOnTheSelectedInstalment()
{
    const QList<int> ids = InstalmentIds(Assign(Reason({{100.0, QDate(2024, 10, 15)}, {100.0, QDate(2025, 1, 15)}})));
    const int a = Grant(Holder(), 30, QDate(2024, 9, 1), QDate(2025, 6, 30));
    const int b = Grant(Holder(), 90, QDate(2024, 9, 2), QDate(2025, 6, 30));
    EbdSpalmaDote(Holder(), 2024, ids[1]);
    QCOMPARE(Amount(ids[0]), 100.0);   // not the selected one
    QCOMPARE(Amount(ids[1]), 0.0);     // 30 + 70 of the two grants
    QCOMPARE(GrantPart(ids[1]), 100.0);
    QCOMPARE(Paid(ids[1]), QDate(2025, 1, 15));
    QCOMPARE(Residue(a), 0.0);
    QCOMPARE(Residue(b), 20.0);
}

void TstBillingHooks::spreadWithoutCentNoise()
{
    // 6.40 at 10% leaves 5.760000000000001 in a floating column.
    const QList<int> ids = InstalmentIds(Assign(Reason({{6.40, QDate(2024, 10, 15)}}), 10));
    const int grant = Grant(Holder(), 5.76, QDate(2024, 9, 1), QDate(2025, 6, 30));
    EbdSpalmaDote(Holder(), 2024);
    QCOMPARE(Amount(ids[0]), 0.0);
    QCOMPARE(Paid(ids[0]), QDate(2024, 10, 15));
    QCOMPARE(Residue(grant), 0.0);
}

void TstBillingHooks::grantDeleteAnswers()
{
    const QList<int> ids = InstalmentIds(Assign(Reason({{100.0, QDate(2024, 10, 15)}})));
    const int grant = Grant(Holder(), 60, QDate(2024, 9, 1), QDate(2025, 6, 30));
    EbdSpalmaDote(Holder(), 2024);
    Grants()->Refresh();
    for (int answer : {int(mrNo), int(mrCancel)}) {
        (*m_messages)->Clear();
        (*m_messages)->Answers << mrYes << answer;
        QVERIFY(Grants()->Locate(u"IDOSID"_s, grant));
        QVERIFY(!Grants()->Delete());
        QCOMPARE(Db(u"SELECT COUNT(*) FROM TDos_DoteScuola WHERE iDosId = ?"_s, {grant}).toInt(), 1);
        QCOMPARE(Amount(ids[0]), 40.0);
    }
    // A grant never spread goes without a question.
    const int unused = Grant(Holder(), 25, QDate(2025, 7, 1), QDate(2025, 7, 31));
    Grants()->Refresh();
    (*m_messages)->Clear();
    QVERIFY(Grants()->Locate(u"IDOSID"_s, unused));
    (*m_messages)->Answers << mrYes;
    QVERIFY(Grants()->Delete());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Confermi la cancellazione del record?"_s});
}

void TstBillingHooks::undoRefusedOverCollectedInstalments()
{
    const QList<int> ids = InstalmentIds(Assign(Reason({{100.0, QDate(2024, 10, 15)}, {100.0, QDate(2025, 1, 15)}})));
    const int grant = Grant(Holder(), 150, QDate(2024, 9, 1), QDate(2025, 6, 30));
    EbdSpalmaDote(Holder(), 2024);
    // The bank collected the 50 left on the second.
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '2025-01-15' WHERE iCacId = %1"_s.arg(ids[1]));
    Grants()->Refresh();
    QVERIFY(Grants()->Locate(u"IDOSID"_s, grant));
    (*m_messages)->Answers << mrYes << mrYes;
    QVERIFY(!Grants()->Delete());
    QCOMPARE((*m_messages)->LastText(), u"Impossibile annullare la spalmatura: la dote copre in parte rate già riscosse."_s);
    QCOMPARE((*m_messages)->Messages.last().Type, mtError);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TDos_DoteScuola WHERE iDosId = ?"_s, {grant}).toInt(), 1);
    QCOMPARE(Amount(ids[0]), 0.0);
    QCOMPARE(Amount(ids[1]), 50.0);
    QCOMPARE(Paid(ids[1]), QDate(2025, 1, 15));
    QVERIFY_THROWS_EXCEPTION(EVtException, EbdAnnullaSpalmatura(grant));
}

void TstBillingHooks::spreadInsideAnOuterTransaction()
{
    const QList<int> ids = InstalmentIds(Assign(Reason({{100.0, QDate(2024, 10, 15)}})));
    const int grant = Grant(Holder(), 100, QDate(2024, 9, 1), QDate(2025, 6, 30));
    {
        TVtTransaction outer(qqoVtGlobConn);
        outer.StartTransaction();
        EbdSpalmaDote(Holder(), 2024);
        QCOMPARE(Amount(ids[0]), 0.0);   // seen inside
    }   // not committed
    QCOMPARE(Amount(ids[0]), 100.0);
    QCOMPARE(Residue(grant), 100.0);
    QVERIFY(Paid(ids[0]).isNull());
}

QTEST_MAIN(TstBillingHooks)
#include "tst_billinghooks.moc"

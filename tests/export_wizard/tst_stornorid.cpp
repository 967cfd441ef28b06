#include "EbdFStornoRid.h"
#include "EbdUSddSelezione.h"
#include "SddFixture.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestScreens.h"
#include "VardellaModules.h"
#include "VtDBGrid.h"
#include "VtDataSource.h"
#include "VtFormRegistry.h"
#include "VtSQLConnection.h"
#include "VtSQLQuery.h"
#include "VtTransaction.h"

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <memory>
#include <tuple>

using namespace Qt::StringLiterals;
using namespace sddfix;

// "Storno esportazioni Rid" on the demo school with the test's own exports:
// the lists and their ticks, the cancellation with its instalments open
// again, the No and the refusal that leave the whole batch undone, and the
// reopened instalments in the next export's selection.
class TstStornoRid : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listsAndTicks();
    void cancellationReopensTheInstalments();
    void noOrRefusalChangesNothing();
    void reopenedInstalmentsAreSelectedAgain();
    void screenshot();

private:
    TfmEbdStornoRid *Open();
    // What a grid's row shows, column by column.
    static QStringList Row(const TVtDBGrid *grid, int row);
    static void Click(TVtDBGrid *grid, int row, int column);
    // "Storna" with the answer to its question; the messages shown.
    QStringList Storna(int answer);
    static void Run(const QString &sql, const QVariantMap &values);
    static int AddDebit(int exportId, int number, const QString &debtor, const QString &code, const QString &iban,
                        const QString &seq, const QDate &collection, const QList<QPair<int, qint64>> &instalments);
    static QVariant Instalment(const char *column, int id);
    static QString CancelledOn(int debit);   // dd/MM/yyyy; empty when not cancelled
    static QString SeqTp(int holder);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    std::unique_ptr<TfmEbdStornoRid> m_window;
    QStringList m_statements;   // EXECUTE PROCEDURE, COMMIT and ROLLBACK as they ran
    // Anna Prova (parent Marco, IBAN A) and Bruno Rossi (parent Carla, IBAN
    // B) on one reason: 50,00 due 16/12/2024, 1.234,56 due 15/01/2025 and
    // 70,00 due 15/03/2025.
    int m_anna = 0, m_bruno = 0, m_holderA = 0, m_holderB = 0;
    QList<int> m_a, m_b;
    QVariant m_accountA0, m_accountB0;   // before the payments were recorded
    // The working account's exports: E0 (its debit returned), E0bis (made
    // at the same time), E1 (payments recorded: Marco's two instalments,
    // Carla's first), E2 (not recorded, Carla's debit returned); and one of
    // another account.
    int m_e0 = 0, m_e0bis = 0, m_e1 = 0, m_e2 = 0, m_other = 0;
    int m_e1Marco = 0, m_e1Carla = 0, m_e2Marco = 0, m_e2Carla = 0;
};

namespace {
const QString IbanA = u"IT60X0542811101000000123456"_s, IbanB = u"IT02L1234512345123456789012"_s;
constexpr int PostOffice = 1, OtherAccount = 4;
const QString Question =
    u"Stornare le disposizioni selezionate (%1) per un totale di %2 €?\r\nLe rate relative torneranno da pagare."_s;
const QString Done = u"Storno eseguito: %1 rate riaperte."_s;
}

void TstStornoRid::initTestCase()
{
    RegisterVardellaModules();
    QVERIFY(QDir().mkpath(QStringLiteral(VARDELLA_SCREENSHOT_DIR)));
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstStornoRid::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));
    m_anna = AddPupil(u"Prova"_s, u"Anna"_s, 24001, u"T00001"_s);
    m_holderA = AddHolder(m_anna, AddPerson(u"Prova"_s, u"Marco"_s), IbanA);
    m_bruno = AddPupil(u"Rossi"_s, u"Bruno"_s, 24001, u"T00002"_s);
    m_holderB = AddHolder(m_bruno, AddPerson(u"Rossi"_s, u"Carla"_s), IbanB);
    const TReason reason = AddReason(u"Attività di prova"_s, {{u"Mensa dicembre"_s, TVtMoney(50.0), QDate(2024, 12, 16)},
                                                              {u"Viaggio d'istruzione"_s, TVtMoney(1234.56), QDate(2025, 1, 15)},
                                                              {u"Mensa marzo"_s, TVtMoney(70.0), QDate(2025, 3, 15)}});
    const int assignmentA = Assign(m_holderA, reason.Id), assignmentB = Assign(m_holderB, reason.Id);
    m_a.clear();
    m_b.clear();
    for (int c : reason.Components) {
        m_a << InstalmentOf(assignmentA, c);
        m_b << InstalmentOf(assignmentB, c);
    }
    // Anna's trip was entered on the post office account.
    Run(u"UPDATE TCac_CcaAcbCau SET iSprIstId = :iSprIstId WHERE iCacId = :iCacId"_s,
        {{u"iSprIstId"_s, PostOffice}, {u"iCacId"_s, m_a[1]}});
    m_accountA0 = Instalment("iSprIstId", m_a[0]);
    m_accountB0 = Instalment("iSprIstId", m_b[0]);

    const QString cancel = u"UPDATE TEtx_TransazSdd SET dEtxStorno = :dStorno WHERE iEtxId = :iEtxId"_s;
    const QString totals = u"UPDATE TEsd_EsportazSdd SET iEsdNumTx = :n, iEsdTotCent = :cents WHERE iEsdId = :id"_s;
    const QDateTime autumn(QDate(2024, 11, 20), QTime(8, 0));
    m_e0 = LogExport(autumn, u"SDD20241120080000"_s, false);
    Run(cancel, {{u"iEtxId"_s, AddDebit(m_e0, 1, u"PROVA MARCO"_s, u"T00001"_s, IbanA, u"FRST"_s, QDate(2024, 11, 26),
                                       {{m_a[0], 5000}})},
                 {u"dStorno"_s, QDateTime(QDate(2024, 11, 28), QTime(10, 0))}});
    m_e0bis = LogExport(autumn, u"SDD20241120080001"_s, false);
    AddDebit(m_e0bis, 1, u"ROSSI CARLA"_s, u"T00002"_s, IbanB, u"FRST"_s, QDate(2024, 11, 26), {{m_b[0], 5000}});
    m_e1 = LogExport(QDateTime(QDate(2024, 12, 10), QTime(9, 15)), u"SDD20241210091500"_s, false);
    m_e1Marco = AddDebit(m_e1, 1, u"PROVA MARCO"_s, u"T00001"_s, IbanA, u"FRST"_s, QDate(2024, 12, 16),
                         {{m_a[0], 5000}, {m_a[1], 123456}});
    m_e1Carla = AddDebit(m_e1, 2, u"ROSSI CARLA"_s, u"T00002"_s, IbanB, u"FRST"_s, QDate(2024, 12, 16), {{m_b[0], 5000}});
    m_e2 = LogExport(QDateTime(QDate(2025, 2, 5), QTime(10, 0)), u"SDD20250205100000"_s, false);
    m_e2Marco = AddDebit(m_e2, 1, u"PROVA MARCO"_s, u"T00001"_s, IbanA, u"RCUR"_s, QDate(2025, 3, 15), {{m_a[2], 7000}});
    m_e2Carla = AddDebit(m_e2, 2, u"ROSSI CARLA"_s, u"T00002"_s, IbanB, u"RCUR"_s, QDate(2025, 3, 15), {{m_b[2], 7000}});
    Run(cancel, {{u"iEtxId"_s, m_e2Carla}, {u"dStorno"_s, QDateTime(QDate(2025, 2, 20), QTime(9, 30))}});
    m_other = LogExport(QDateTime(QDate(2025, 3, 1), QTime(8, 0)), u"SDD20250301080000"_s, false, OtherAccount);
    AddDebit(m_other, 1, u"PROVA MARCO"_s, u"T00001"_s, IbanA, u"FRST"_s, QDate(2025, 3, 15), {{m_a[2], 7000}});
    const QList<std::tuple<int, int, qint64>> logged = {
        {m_e0, 1, 5000}, {m_e0bis, 1, 5000}, {m_e1, 2, 133456}, {m_e2, 2, 14000}, {m_other, 1, 7000}};
    for (const auto &[id, n, cents] : logged)
        Run(totals, {{u"id"_s, id}, {u"n"_s, n}, {u"cents"_s, cents}});

    // E1's payments recorded as the export records them.
    TVtTransaction transaction;
    transaction.StartTransaction();
    TSQLQuery q;
    q.SQL = u"EXECUTE PROCEDURE PEbd_SddRegistra(:iEsdId, :iAnfValore)"_s;
    q.Params().CreateParam(QMetaType::Int, u"iEsdId"_s)->SetAsInteger(m_e1);
    q.Params().CreateParam(QMetaType::Int, u"iAnfValore"_s)->SetAsInteger(2025);
    q.Open();
    QCOMPARE(q.Fields(0).toInt(), 3);
    q.Close();
    transaction.Commit();

    m_statements.clear();
    TVtSQLConnection::StatementObserver() = [this](const QString &sql) {
        const QString words = sql.simplified().section(u' ', 0, 1).toUpper();
        if (words == u"EXECUTE PROCEDURE"_s)
            m_statements << words + u' ' + sql.simplified().section(u' ', 2, 2).section(u'(', 0, 0);
        else if (words == u"COMMIT"_s || words == u"ROLLBACK"_s)
            m_statements << words;
    };
}

void TstStornoRid::cleanup()
{
    TVtSQLConnection::StatementObserver() = nullptr;
    m_window.reset();
    CloseBillingModule();
}

// ------------------------------------------------------------------ helpers

TfmEbdStornoRid *TstStornoRid::Open()
{
    m_window.reset(qobject_cast<TfmEbdStornoRid *>(TVtFormRegistry::CreateForm(u"TfmEbdStornoRid"_s)));
    if (m_window) {
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            return nullptr;
    }
    m_statements.clear();
    return m_window.get();
}

QStringList TstStornoRid::Row(const TVtDBGrid *grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        texts << grid->model()->index(row, c).data().toString();
    return texts;
}

void TstStornoRid::Click(TVtDBGrid *grid, int row, int column)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QVERIFY(cell.isValid());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

QStringList TstStornoRid::Storna(int answer)
{
    (*m_messages)->Clear();
    (*m_messages)->Answers << answer;
    m_statements.clear();
    m_window->buStorna->click();
    return (*m_messages)->Texts();
}

void TstStornoRid::Run(const QString &sql, const QVariantMap &values)
{
    TSQLQuery q;
    q.SQL = sql;
    for (auto it = values.begin(); it != values.end(); ++it)
        q.Params().CreateParam(QMetaType::Type(it.value().typeId()), it.key())->SetValue(it.value());
    q.ExecSQL();
}

int TstStornoRid::AddDebit(int exportId, int number, const QString &debtor, const QString &code, const QString &iban,
                           const QString &seq, const QDate &collection, const QList<QPair<int, qint64>> &instalments)
{
    qint64 cents = 0;
    for (const auto &[instalment, amount] : instalments)
        cents += amount;
    const int debit = LogTransaction(exportId, number, Mandate(code), iban, seq, collection, cents);
    Run(u"UPDATE TEtx_TransazSdd SET sEtxDebitore = :sDebitore WHERE iEtxId = :iEtxId"_s,
        {{u"sDebitore"_s, debtor}, {u"iEtxId"_s, debit}});
    for (const auto &[instalment, amount] : instalments)
        LinkInstalment(debit, instalment, amount);
    return debit;
}

QVariant TstStornoRid::Instalment(const char *column, int id)
{
    return TTestDatabase::Scalar(u"SELECT %1 FROM TCac_CcaAcbCau WHERE iCacId = ?"_s.arg(QLatin1String(column)), {id});
}

QString TstStornoRid::CancelledOn(int debit)
{
    return TTestDatabase::Scalar(u"SELECT dEtxStorno FROM TEtx_TransazSdd WHERE iEtxId = ?"_s, {debit})
        .toDateTime().date().toString(u"dd/MM/yyyy"_s);
}

QString TstStornoRid::SeqTp(int holder)
{
    TSQLQuery q;
    q.SQL = u"SELECT sSeqTp FROM PEbd_SddSeqTp(:iAcbId, :iSprIstId, 1)"_s;
    q.Params().CreateParam(QMetaType::Int, u"iAcbId"_s)->SetAsInteger(holder);
    q.Params().CreateParam(QMetaType::Int, u"iSprIstId"_s)->SetAsInteger(Account);
    q.Open();
    const QString seq = q.Fields(0).toString().trimmed();
    q.Close();
    return seq;
}

// ------------------------------------------------------------------- tests

void TstStornoRid::listsAndTicks()
{
    TfmEbdStornoRid *w = Open();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), u"Storno esportazioni Rid"_s);
    // The working account's exports, latest first (of one time, the later
    // made first), the demo school's of January among them; the other
    // account's is not there.
    const TVtDBGrid *exports = w->grEsportazioni;
    QCOMPARE(exports->model()->rowCount(), 5);
    QCOMPARE(Row(exports, 0), (QStringList{u"05/02/2025 10:00"_s, u"/tmp/SDD20250205100000.xml"_s, u"2"_s, u"140,00"_s,
                                           u"No"_s, u"Stornata in parte"_s}));
    QCOMPARE(Row(exports, 1), (QStringList{u"03/01/2025 10:00"_s, u"SDD20250103.xml"_s, u"79"_s, u"9.672,00"_s,
                                           u"Sì"_s, u"Stornata in parte"_s}));
    QCOMPARE(Row(exports, 2), (QStringList{u"10/12/2024 09:15"_s, u"/tmp/SDD20241210091500.xml"_s, u"2"_s, u"1.334,56"_s,
                                           u"Sì"_s, QString()}));
    QCOMPARE(Row(exports, 3).mid(1), (QStringList{u"/tmp/SDD20241120080001.xml"_s, u"1"_s, u"50,00"_s, u"No"_s, QString()}));
    QCOMPARE(Row(exports, 4), (QStringList{u"20/11/2024 08:00"_s, u"/tmp/SDD20241120080000.xml"_s, u"1"_s, u"50,00"_s,
                                           u"No"_s, u"Stornata"_s}));
    QStringList titles;
    for (int c = 0; c < w->grDisposizioni->model()->columnCount(); ++c)
        titles << w->grDisposizioni->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{u"Storna"_s, u"N."_s, u"Destinatario"_s, u"IBAN"_s, u"Mandato"_s, u"Sequenza"_s,
                                  u"Data incasso"_s, u"Importo"_s, u"Stornata il"_s}));

    // E2 first: Carla's debit, returned, has no box to tick.
    QCOMPARE(w->CurrentExport(), m_e2);
    QCOMPARE(Row(w->grDisposizioni, 0), (QStringList{QString(), u"1"_s, u"PROVA MARCO"_s, IbanA, Mandate(u"T00001"_s),
                                                     u"RCUR"_s, u"15/03/2025"_s, u"70,00"_s, QString()}));
    QCOMPARE(Row(w->grDisposizioni, 1).mid(1, 2), (QStringList{u"2"_s, u"ROSSI CARLA"_s}));
    QCOMPARE(Row(w->grDisposizioni, 1).last(), u"20/02/2025"_s);
    QVERIFY(w->Tickable(0) && !w->Tickable(1));
    QVERIFY(!w->buStorna->isEnabled());
    Click(w->grDisposizioni, 1, 0);
    QVERIFY(!w->Ticked(1));
    QVERIFY(!w->buStorna->isEnabled());
    // The box takes a click, and another; the rest of the row does not;
    // the space bar ticks the current debit.
    Click(w->grDisposizioni, 0, 0);
    QCOMPARE(w->TickedDebits(), QList<int>{m_e2Marco});
    QVERIFY(w->buStorna->isEnabled());
    Click(w->grDisposizioni, 0, 0);
    Click(w->grDisposizioni, 0, 2);
    QVERIFY(!w->Ticked(0));
    QVERIFY(!w->buStorna->isEnabled());
    QTest::keyClick(w->grDisposizioni, Qt::Key_Space);
    QVERIFY(w->Ticked(0));

    // Another export chosen: its debits, none ticked.
    Click(w->grEsportazioni, 2, 1);
    QCOMPARE(w->CurrentExport(), m_e1);
    QCOMPARE(w->grDisposizioni->model()->rowCount(), 2);
    QCOMPARE(Row(w->grDisposizioni, 0), (QStringList{QString(), u"1"_s, u"PROVA MARCO"_s, IbanA, Mandate(u"T00001"_s),
                                                     u"FRST"_s, u"16/12/2024"_s, u"1.284,56"_s, QString()}));
    QCOMPARE(Row(w->grDisposizioni, 1), (QStringList{QString(), u"2"_s, u"ROSSI CARLA"_s, IbanB, Mandate(u"T00002"_s),
                                                     u"FRST"_s, u"16/12/2024"_s, u"50,00"_s, QString()}));
    QVERIFY(w->TickedDebits().isEmpty());
    w->buSelezionaTutto->click();
    QCOMPARE(w->TickedDebits(), (QList<int>{m_e1Marco, m_e1Carla}));
    QCOMPARE(w->TickedTotal().Format(), u"1.334,56"_s);
    QVERIFY(w->buStorna->isEnabled());
    // Nothing to tick in E0.
    QVERIFY(w->SelectExport(m_e0));
    QVERIFY(!w->Tickable(0));
    QVERIFY(!w->buSelezionaTutto->isEnabled() && !w->buStorna->isEnabled());

    // Another working account: its own export only; none without an account.
    SetWorkingContext(1, 2024, 2025, OtherAccount, 2024);
    w->Refresh();
    QCOMPARE(exports->model()->rowCount(), 1);
    QCOMPARE(w->CurrentExport(), m_other);
    SetWorkingContext(1, 2024, 2025, 0, 2024);
    w->Refresh();
    QCOMPARE(exports->model()->rowCount(), 0);
    QCOMPARE(w->grDisposizioni->model()->rowCount(), 0);
    w->buChiudi->click();
    QVERIFY(!w->isVisible());
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstStornoRid::cancellationReopensTheInstalments()
{
    TfmEbdStornoRid *w = Open();
    QVERIFY(w);
    QCOMPARE(Instalment("iSprIstId", m_a[1]).toInt(), Account);   // moved there by the payment
    QVERIFY(w->SelectExport(m_e1));
    // Carla's debit came back.
    Click(w->grDisposizioni, 1, 0);
    QCOMPARE(Storna(mrYes), (QStringList{Question.arg(1).arg(u"50,00"_s), Done.arg(1)}));
    QCOMPARE((*m_messages)->Messages[1].Type, mtInformation);
    QCOMPARE((*m_messages)->Messages[1].Buttons, int(mbOK));
    // The incoming totals computed once, after the cancellations.
    QCOMPARE(m_statements, (QStringList{u"EXECUTE PROCEDURE PEbd_SddStorno"_s, u"EXECUTE PROCEDURE PEbd_SddRicalcola"_s,
                                        u"COMMIT"_s}));
    QVERIFY(Instalment("dCacDataPagamento", m_b[0]).isNull());
    QCOMPARE(Instalment("iSprIstId", m_b[0]), m_accountB0);
    QVERIFY(!CancelledOn(m_e1Carla).isEmpty());
    // Both lists read again, the chosen export kept.
    QCOMPARE(w->CurrentExport(), m_e1);
    QCOMPARE(w->grEsportazioni->currentIndex().row(), 2);
    QCOMPARE(Row(w->grEsportazioni, 2).last(), u"Stornata in parte"_s);
    QCOMPARE(Row(w->grDisposizioni, 1).last(), CancelledOn(m_e1Carla));
    QCOMPARE(Row(w->grDisposizioni, 0).last(), QString());
    QVERIFY(!w->Tickable(1) && w->Tickable(0));
    QVERIFY(w->TickedDebits().isEmpty());
    QVERIFY(!w->buStorna->isEnabled());

    // Then Marco's: two instalments, the trip back on the post office account.
    Click(w->grDisposizioni, 0, 0);
    QCOMPARE(Storna(mrYes), (QStringList{Question.arg(1).arg(u"1.284,56"_s), Done.arg(2)}));
    QVERIFY(Instalment("dCacDataPagamento", m_a[0]).isNull());
    QVERIFY(Instalment("dCacDataPagamento", m_a[1]).isNull());
    QCOMPARE(Instalment("iSprIstId", m_a[0]), m_accountA0);
    QCOMPARE(Instalment("iSprIstId", m_a[1]).toInt(), PostOffice);
    QCOMPARE(Row(w->grEsportazioni, 2).last(), u"Stornata"_s);
    QCOMPARE(Row(w->grDisposizioni, 0).last(), CancelledOn(m_e1Marco));
    QVERIFY(!w->buSelezionaTutto->isEnabled() && !w->buStorna->isEnabled());

    // E2 recorded no payment: the debit is only marked, and the March
    // instalment Marco paid in cash meanwhile stays paid.
    Run(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = :d WHERE iCacId = :id"_s,
        {{u"d"_s, QDate(2025, 3, 1)}, {u"id"_s, m_a[2]}});
    QVERIFY(w->SelectExport(m_e2));
    w->buSelezionaTutto->click();
    QCOMPARE(Storna(mrYes), (QStringList{Question.arg(1).arg(u"70,00"_s), Done.arg(0)}));
    QCOMPARE(Instalment("dCacDataPagamento", m_a[2]).toDate(), QDate(2025, 3, 1));
    QCOMPARE(Row(w->grEsportazioni, 0).last(), u"Stornata"_s);
    QCOMPARE(Row(w->grDisposizioni, 0).last(), CancelledOn(m_e2Marco));
}

// Answered No, or refused by the database half way: nothing of the batch
// is stored, and the ticks stay for another try.
void TstStornoRid::noOrRefusalChangesNothing()
{
    TfmEbdStornoRid *w = Open();
    QVERIFY(w);
    QVERIFY(w->SelectExport(m_e1));
    w->buSelezionaTutto->click();
    const QString question = Question.arg(2).arg(u"1.334,56"_s);
    QCOMPARE(Storna(mrNo), QStringList{question});
    QCOMPARE((*m_messages)->Messages[0].Type, mtConfirmation);
    QCOMPARE((*m_messages)->Messages[0].Buttons, int(mbYes | mbNo | mbDefNo));
    QVERIFY(m_statements.isEmpty());

    // Carla's December instalment got another payment date after the export.
    Run(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = :d WHERE iCacId = :id"_s,
        {{u"d"_s, QDate(2024, 12, 20)}, {u"id"_s, m_b[0]}});
    QCOMPARE(Storna(mrYes), (QStringList{question, u"Storno non eseguito:\r\nUna rata della disposizione è stata "
                                                   "modificata dopo l'esportazione: storno non eseguito."_s}));
    QCOMPARE((*m_messages)->Messages[1].Type, mtError);
    QCOMPARE((*m_messages)->Messages[1].Buttons, int(mbOK));
    // Marco's debit, first, went through (a statement is heard of once it
    // ran), Carla's was refused, and the transaction rolled back.
    QCOMPARE(m_statements, (QStringList{u"EXECUTE PROCEDURE PEbd_SddStorno"_s, u"ROLLBACK"_s}));

    for (const QStringList &shown : {Row(w->grDisposizioni, 0), Row(w->grDisposizioni, 1), Row(w->grEsportazioni, 2)})
        QCOMPARE(shown.last(), QString());
    QCOMPARE(CancelledOn(m_e1Marco) + CancelledOn(m_e1Carla), QString());
    QCOMPARE(Instalment("dCacDataPagamento", m_a[0]).toDate(), QDate(2024, 12, 16));
    QCOMPARE(Instalment("dCacDataPagamento", m_a[1]).toDate(), QDate(2025, 1, 15));
    QCOMPARE(Instalment("iSprIstId", m_a[1]).toInt(), Account);
    QCOMPARE(Instalment("dCacDataPagamento", m_b[0]).toDate(), QDate(2024, 12, 20));
    QCOMPARE(w->TickedDebits(), (QList<int>{m_e1Marco, m_e1Carla}));
    QVERIFY(w->buStorna->isEnabled());
}

void TstStornoRid::reopenedInstalmentsAreSelectedAgain()
{
    TSddFiltro f;
    f.Dal = YearStart;
    f.Al = YearEnd;
    f.IdMpg = Rid;
    f.Classi = {24001};
    f.Alunni = {m_anna, m_bruno};
    f.IdAns = 2024;
    f.IdSprIst = Account;
    f.IdDwg = 1;
    auto selected = [&f](QStringList *types = nullptr) {
        QList<int> ids;
        for (const TSddRata &r : ReadSddSelection(f)) {
            ids << r.IdCac;
            if (types)
                *types << r.TipoSequenza;
        }
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    auto sorted = [](QList<int> ids) {
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    QCOMPARE(selected(), sorted({m_a[2], m_b[1], m_b[2]}));
    QCOMPARE(SeqTp(m_holderB), u"RCUR"_s);

    TfmEbdStornoRid *w = Open();
    QVERIFY(w);
    QVERIFY(w->SelectExport(m_e1));
    w->buSelezionaTutto->click();
    QCOMPARE(Storna(mrYes).last(), Done.arg(3));
    // Open again, and never presented otherwise: first debits again.
    QStringList types;
    QCOMPARE(selected(&types), sorted({m_a[0], m_a[1], m_a[2], m_b[0], m_b[1], m_b[2]}));
    QCOMPARE(types, QStringList(6, u"FRST"_s));
    QCOMPARE(SeqTp(m_holderB), u"FRST"_s);
    QCOMPARE(SeqTp(m_holderA), u"FRST"_s);
}

void TstStornoRid::screenshot()
{
    TfmEbdStornoRid *w = Open();
    QVERIFY(w);
    QVERIFY(w->SelectExport(m_e1));
    Click(w->grDisposizioni, 0, 0);
    QTest::qWait(20);
    QVERIFY(w->grab().save(QDir(QStringLiteral(VARDELLA_SCREENSHOT_DIR)).filePath(u"storno_rid.png"_s)));
    CheckNothingCut(w);
}

QTEST_MAIN(TstStornoRid)
#include "tst_stornorid.moc"

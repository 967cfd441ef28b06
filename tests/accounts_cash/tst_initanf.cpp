#include "EbcFCcp.h"
#include "EbcRCassa.h"
#include "EbcRSprIst.h"
#include "EbcRTcc.h"
#include "EbdFInitAnf.h"
#include "EbdMConn.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestRow.h"
#include "TestScreens.h"
#include "VardellaModules.h"
#include "VtFormRegistry.h"
#include "VtMoneyEdit.h"
#include "VtQueryCollection.h"
#include "VtWaitWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// "Inizio anno finanziario": the year list, the date checks with their
// questions, the carry-forward, OK's balance, the opening in the database and
// the balance-modification mode, each mend of the opening included.
class TstInitAnf : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void creationOnAnAccountWithCashRows();
    void creationOnAnAccountWithoutCashRows();
    void aLockedYearIsRefused();
    void dateMessagesAndFocus_data();
    void dateMessagesAndFocus();
    void personalisedYearMovesThePreviousEnd();
    void aMovementAfterTheDayRefusesTheMove();
    void gaps();
    void aStaleMoveIsForgotten();
    void carryForwardOfANewYear();
    void carryForwardOfAnExistingYear();
    void okFollowsTheBalance();
    void arrowsAndHighlight();
    void openingWithoutPersonalisedDates();
    void aRefusalOfTheDatabaseKeepsTheWizardOpen();
    void anOpenContiShowsTheNewYear();
    void theUnlockedYearOfGroupTwoIsCompleted();
    void amountsGoToTheirOwnTypology();
    void anotherTypologyIsNotCarried();
    void modificationOfAnotherAccountsRow();
    void modificationOfARowWithoutSplit();
    void screenshots();

private:
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    TfmEbdInitAnf *Open();
    void ChooseYear(const QString &year);
    void Personalise(const QDate &start, const QDate &end);
    static void Type(TVtMoneyEdit *edit, const QString &text);
    static void Focus(QWidget *widget);
    static QStringList Rows(TfmEbdInitAnf *w);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    std::unique_ptr<TfmEbdInitAnf> m_wizard;
};

namespace {
constexpr int Own = 9001;   // the test's own account: a locked 2024 row, no movements
const QString Failed = u"Creazione del nuovo anno finanziario fallita."_s;
const QString Done = u"Creazione del nuovo anno finanziario conclusa con successo."_s;
const QString Question = u"Si vuole procedere con la creazione del nuovo anno finanziario?"_s;
}

void TstInitAnf::initTestCase()
{
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [] {
        TTestDatabase::Exec(u"INSERT INTO TSprIst (iSprIstId, iDwgId, iSprIstPgm, iSprId, sSprIstNumCc, dStart) "
                            "SELECT %1, iDwgId, iSprIstPgm, iSprId, '000000009001', DATE '2020-01-01' FROM TSprIst "
                            "WHERE iSprIstId = 2"_s.arg(Own));
        TTestDatabase::Exec(u"INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin, fCaiCassaIn, iLocked) "
                            "VALUES (900001, %1, 2024, 100, 1)"_s.arg(Own));
        TTestDatabase::Exec(u"INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (900001, 1, 60)"_s);
        TTestDatabase::Exec(u"INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (900001, 3, 40)"_s);
    });
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstInitAnf::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));   // the bank account (2), financial year 2025
}

void TstInitAnf::cleanup()
{
    m_wizard.reset();
    CloseBillingModule();
}

void TstInitAnf::cleanupTestCase()
{
    m_db.reset();
}

TfmEbdInitAnf *TstInitAnf::Open()
{
    m_wizard.reset(qobject_cast<TfmEbdInitAnf *>(TVtFormRegistry::CreateForm(u"TfmEbdInitAnf"_s)));
    if (m_wizard) {
        m_wizard->show();
        m_wizard->activateWindow();
    }
    return m_wizard.get();
}

void TstInitAnf::ChooseYear(const QString &year)
{
    m_wizard->cbAnno->setCurrentIndex(m_wizard->cbAnno->findText(year));
}

void TstInitAnf::Personalise(const QDate &start, const QDate &end)
{
    m_wizard->cbPersonalizza->setChecked(true);
    m_wizard->deInizio->setDate(start);
    m_wizard->deFine->setDate(end);
}

// Types into an edit as the user does: focus, text, leaving it.
void TstInitAnf::Type(TVtMoneyEdit *edit, const QString &text)
{
    Focus(edit);
    QVERIFY(edit->hasFocus());
    edit->clear();
    QTest::keyClicks(edit, text);
    edit->clearFocus();
}

// The focus as a click gives it: the window active first.
void TstInitAnf::Focus(QWidget *widget)
{
    QApplication::setActiveWindow(widget->window());
    widget->setFocus();
}

QStringList TstInitAnf::Rows(TfmEbdInitAnf *w)
{
    QStringList rows;
    for (int i = 0; i < w->RowCount(); ++i)
        rows << w->RowLabel(i)->text() + u"="_s + w->Row(i)->text();
    return rows;
}

void TstInitAnf::creationOnAnAccountWithCashRows()
{
    TfmEbdInitAnf *w = Open();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), u"Inizio anno finanziario"_s);
    QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsSelAnf));
    QCOMPARE(w->Account(), 2);
    // Every year from the account's opening (2015), the one after the last opened chosen.
    QCOMPARE(w->cbAnno->count(), 3);
    QCOMPARE(w->cbAnno->currentText(), u"2026"_s);
    QVERIFY(w->buNext->isEnabled());
    QVERIFY(!w->buOk->isEnabled());
    QVERIFY(!w->cbPersonalizza->isChecked());
    QVERIFY(w->cbPersonalizza->isVisible());
    QVERIFY(!w->gbDate->isVisible());
    QCOMPARE(w->deInizio->date(), QDate(2026, 1, 1));
    QCOMPARE(w->deFine->date(), QDate(2026, 12, 31));
    w->cbPersonalizza->setChecked(true);
    QVERIFY(w->gbDate->isVisible());
    // The amount rows: the balance, the four typologies by id, the difference, 24 pixels apart.
    QCOMPARE(w->RowCount(), 6);
    QStringList labels;
    for (int i = 0; i < w->RowCount(); ++i) {
        labels << w->RowLabel(i)->text();
        QCOMPARE(w->Row(i)->geometry().top() - w->Row(0)->geometry().top(), 24 * i);
        QCOMPARE(w->Row(i)->geometry().left(), w->Row(0)->geometry().left());
        QCOMPARE(w->Row(i)->width(), w->Row(0)->width());
    }
    QCOMPARE(labels, QStringList({u"Saldo del conto"_s, u"Tasse"_s, u"Contributi"_s, u"Quote"_s, u"Diversi"_s,
                                  u"Differenze"_s}));
    QCOMPARE(w->RowTccId(1), 1);
    QCOMPARE(w->RowTccId(4), 4);
}

void TstInitAnf::creationOnAnAccountWithoutCashRows()
{
    TTestDatabase::Exec(u"DELETE FROM TCai_CassaIst WHERE iSprIstId = %1"_s.arg(Own));
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    TfmEbdInitAnf *w = Open();
    QCOMPARE(w->cbAnno->count(), 3);   // 2024-2026: the account opened in 2020
    QCOMPARE(w->cbAnno->currentIndex(), -1);
    QVERIFY(!w->buNext->isEnabled());
    QCOMPARE(w->deInizio->date(), QDate(1900, 1, 1));
    QCOMPARE(w->deFine->date(), QDate(1900, 12, 31));
    ChooseYear(u"2025"_s);
    QVERIFY(w->buNext->isEnabled());
    QCOMPARE(w->deInizio->date(), QDate(2025, 1, 1));
    QCOMPARE(w->deFine->date(), QDate(2025, 12, 31));
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstInitAnf::aLockedYearIsRefused()
{
    TfmEbdInitAnf *w = Open();
    ChooseYear(u"2025"_s);
    QCOMPARE((*m_messages)->LastText(),
             u"Le operazioni di inizio anno per l'anno finanziario 2025 sono già state fatte.\r\nScegliere un altro anno."_s);
    QCOMPARE((*m_messages)->Messages.last().Type, mtWarning);
    QCOMPARE(w->cbAnno->currentIndex(), -1);
    QVERIFY(!w->buNext->isEnabled());
    QCOMPARE(w->deInizio->date(), QDate(2026, 1, 1));   // the dates stay
}

void TstInitAnf::dateMessagesAndFocus_data()
{
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString notAfter = u"La data di fine anno dev'essere maggiore della data di inizio."_s;
    const QString afterYear = u"Attenzione ! \r\nLa data d'inizio non può essere accettata in quanto maggiore "
                              "dell'anno finanziario selezionato. "_s;
    const QString beforeYear = u"Attenzione ! \r\nLa data di fine non può essere accettata in quanto minore "
                               "dell'anno finanziario selezionato. "_s;
    const QString previousStart = u"Attenzione ! \r\nLa data d'inizio non può essere accettata, perchè non è "
                                  "successiva all'inizio dell'anno finanziario 2024 (01/01/2024). "_s;
    const QString nextStart = u"Attenzione ! \r\nLa data di fine dell'Anno Finanziario non può essere accettata, "
                              "perchè si sovrappone ad un anno finanziario già definito. \r\nL'anno finanziario può "
                              "terminare al massimo il 31/12/2025 . "_s;
    for (bool shown : {true, false}) {
        const char *tag = shown ? "date" : "anno";
        QTest::addRow("fine non dopo inizio %s", tag) << shown << QDate(2025, 3, 1) << QDate(2025, 3, 1) << notAfter
                                                       << (shown ? u"deFine"_s : u"cbAnno"_s);
        QTest::addRow("inizio dopo l'anno %s", tag) << shown << QDate(2026, 1, 1) << QDate(2026, 2, 1) << afterYear
                                                     << (shown ? u"deInizio"_s : u"cbAnno"_s);
        QTest::addRow("fine prima dell'anno %s", tag) << shown << QDate(2024, 6, 1) << QDate(2024, 12, 31) << beforeYear
                                                       << (shown ? u"deFine"_s : u"cbAnno"_s);
        QTest::addRow("inizio non dopo l'inizio precedente %s", tag)
            << shown << QDate(2024, 1, 1) << QDate(2025, 12, 31) << previousStart << (shown ? u"deInizio"_s : u"cbAnno"_s);
        QTest::addRow("fine sull'inizio del seguente %s", tag)
            << shown << QDate(2025, 1, 1) << QDate(2026, 1, 1) << nextStart << (shown ? u"deFine"_s : u"cbAnno"_s);
    }
}

// Each refusal keeps the first page, with the focus on the date while the
// dates are shown, else on the year list. The account has 2024 and 2026 rows.
void TstInitAnf::dateMessagesAndFocus()
{
    QFETCH(bool, shown);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TTestDatabase::Exec(u"INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin, fCaiCassaIn, iLocked) "
                        "VALUES (900003, %1, 2026, 0, 0)"_s.arg(Own));
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    TfmEbdInitAnf *w = Open();
    ChooseYear(u"2025"_s);
    Personalise(start, end);
    w->cbPersonalizza->setChecked(shown);
    (*m_messages)->Answers << mrYes << mrYes << mrYes;   // no question may be asked before the refusal
    w->buNext->click();
    QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsSelAnf));
    QCOMPARE((*m_messages)->Texts(), QStringList{message});
    QCOMPARE((*m_messages)->Messages.last().Type, mtError);
    QVERIFY(w->focusWidget());
    QCOMPARE(w->focusWidget()->objectName(), focus);
    QVERIFY(!w->MovePreviousEnd());
}

// The Part's example: 2025 from 01/09/2024 to 31/08/2025 while 2024 ends on
// 31/12/2024; no movement of any account after 31/08/2024.
void TstInitAnf::personalisedYearMovesThePreviousEnd()
{
    TTestDatabase::Exec(u"DELETE FROM TMvm_MovimentiCcp WHERE dMvmDataMov > DATE '2024-08-31'"_s);
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    TfmEbdInitAnf *w = Open();
    QCOMPARE(w->cbAnno->currentText(), u"2025"_s);
    Personalise(QDate(2024, 9, 1), QDate(2025, 8, 31));
    (*m_messages)->Answers << mrYes;
    w->buNext->click();
    QCOMPARE((*m_messages)->Texts(),
             QStringList{u"Attenzione ! \r\nLa data d'inizio non può essere accettata, perchè si sovrappone ad un anno "
                         "finanziario già definito. \r\nModificare automaticamente la data di fine dell'anno 2024 al "
                         "31/08/2024? "_s});
    QCOMPARE((*m_messages)->Messages[0].Type, mtWarning);
    QCOMPARE((*m_messages)->Messages[0].Buttons, mbYes | mbNo);
    QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsRiporti));
    QVERIFY(w->MovePreviousEnd());
    QCOMPARE(w->SelectedYear(), 2024);
    // The amounts: the balance by the working year's collections.
    QVERIFY(w->buOk->isEnabled());
    (*m_messages)->Clear();
    (*m_messages)->Answers << mrYes;
    w->buOk->click();
    QCOMPARE((*m_messages)->Texts(), QStringList({Question, Done}));
    QCOMPARE(w->result(), int(QDialog::Accepted));
    QCOMPARE(Db(u"SELECT dCaiFineAnno FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2024"_s, {Own}).toDate(),
             QDate(2024, 8, 31));
    QCOMPARE(Db(u"SELECT dCaiInizioAnno FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2025"_s, {Own}).toDate(),
             QDate(2024, 9, 1));
    QCOMPARE(Db(u"SELECT dCaiFineAnno FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2025"_s, {Own}).toDate(),
             QDate(2025, 8, 31));
    QCOMPARE(Db(u"SELECT iLocked FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2025"_s, {Own}).toInt(), 1);
}

void TstInitAnf::aMovementAfterTheDayRefusesTheMove()
{
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    TfmEbdInitAnf *w = Open();
    Personalise(QDate(2024, 9, 1), QDate(2025, 8, 31));
    (*m_messages)->Answers << mrYes;
    w->buNext->click();
    QCOMPARE((*m_messages)->Texts().size(), 2);
    QCOMPARE((*m_messages)->LastText(),
             u"Attenzione ! \r\nCi sono dei movimenti caricati in data successiva al 31/08/2024. \r\nImpossibile "
             "modificare la data di fine anno 2024. \r\nEliminare questi movimenti e rifare il nuovo anno. "_s);
    QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsSelAnf));
    QVERIFY(!w->MovePreviousEnd());
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->deInizio));
    // No refuses as well, without looking at the movements.
    (*m_messages)->Clear();
    (*m_messages)->Answers << mrNo;
    w->buNext->click();
    QCOMPARE((*m_messages)->Texts().size(), 1);
    QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsSelAnf));
}

// One day after the previous end is no gap; two days name the missing day
// twice, and both questions must be answered Yes.
void TstInitAnf::gaps()
{
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    TfmEbdInitAnf *w = Open();
    Personalise(QDate(2025, 1, 1), QDate(2025, 12, 31));
    w->buNext->click();
    QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsRiporti));
    QVERIFY((*m_messages)->Messages.isEmpty());
    w->buPrior->click();
    const QString gap = u"Attenzione ! \r\nIl tempo che intercorre tra il 01/01/2025 e il 01/01/2025 non rientra in "
                        "nessun Anno Finanziario definito. \r\nContinuare ? "_s;
    const QString risk = u"Attenzione ! \r\nLa continuazione dell'operazione potrebbe comportare dei problemi al "
                         "corretto funzionamento del programma. \r\nContinuare ? "_s;
    w->deInizio->setDate(QDate(2025, 1, 2));
    (*m_messages)->Answers << mrYes << mrNo;
    w->buNext->click();
    QCOMPARE((*m_messages)->Texts(), QStringList({gap, risk}));
    QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsSelAnf));
    (*m_messages)->Clear();
    (*m_messages)->Answers << mrYes << mrYes;
    w->buNext->click();
    QCOMPARE((*m_messages)->Texts(), QStringList({gap, risk}));
    QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsRiporti));
    // A gap before the next year: from the day after the end to the day before its start.
    w->buPrior->click();
    TTestDatabase::Exec(u"INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin, fCaiCassaIn, iLocked) "
                        "VALUES (900003, %1, 2026, 0, 0)"_s.arg(Own));
    w->deInizio->setDate(QDate(2025, 1, 1));
    w->deFine->setDate(QDate(2025, 12, 29));
    (*m_messages)->Clear();
    (*m_messages)->Answers << mrNo;
    w->buNext->click();
    QCOMPARE((*m_messages)->Texts(),
             QStringList{u"Attenzione ! \r\nIl tempo che intercorre tra il 30/12/2025 e il 31/12/2025 non rientra in "
                         "nessun Anno Finanziario definito. \r\nContinuare ? "_s});
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->deFine));
}

// Accepted once, the move is asked again for new dates: an opening with
// dates that no longer overlap leaves the previous year's end alone.
void TstInitAnf::aStaleMoveIsForgotten()
{
    TTestDatabase::Exec(u"DELETE FROM TMvm_MovimentiCcp WHERE dMvmDataMov > DATE '2024-08-31'"_s);
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    TfmEbdInitAnf *w = Open();
    Personalise(QDate(2024, 9, 1), QDate(2025, 8, 31));
    (*m_messages)->Answers << mrYes;
    w->buNext->click();
    QVERIFY(w->MovePreviousEnd());
    w->buPrior->click();
    w->deInizio->setDate(QDate(2025, 1, 1));
    w->deFine->setDate(QDate(2025, 12, 31));
    w->buNext->click();
    QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsRiporti));
    QVERIFY(!w->MovePreviousEnd());
    (*m_messages)->Clear();
    (*m_messages)->Answers << mrYes;
    w->buOk->click();
    QCOMPARE((*m_messages)->LastText(), Done);
    QVERIFY(Db(u"SELECT dCaiFineAnno FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2024"_s, {Own}).isNull());
}

// A new year: the working year's (2025) payments into the account, by
// top-level typology, a subtype counting for its parent; row 0 their sum.
void TstInitAnf::carryForwardOfANewYear()
{
    QStringList captions;
    int steps = 0;
    TVtWaitWindow::Observer() = [&](const TVtWaitWindow &w, TVtWaitWindow::TEvent e) {
        if (e == TVtWaitWindow::weShow)
            captions << w.Caption();
        if (e == TVtWaitWindow::weStep)
            ++steps;
    };
    TfmEbdInitAnf *w = Open();
    w->buNext->click();
    TVtWaitWindow::Observer() = nullptr;
    QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsRiporti));
    QCOMPARE(captions, QStringList{u"Calcolo dei riporti in corso. Attendere ..."_s});
    QCOMPARE(steps, 4);
    TVtMoney total;
    for (int i = 1; i <= 4; ++i) {
        const TVtMoney expected = TVtMoney::FromVariant(
            Db(u"SELECT SUM(cac.fCacImporto) FROM TCac_CcaAcbCau cac, TCca_CompCausali cca, TTcc_TipoCompCaus tcc "
               "WHERE cca.iCcaId = cac.iCcaId AND tcc.iTccId = cca.iTccId AND tcc.iTccId_P = ? AND cac.iSprIstId = 2 "
               "AND EXTRACT(YEAR FROM cac.dCacDataPagamento) = 2025"_s,
               {w->RowTccId(i)}));
        QCOMPARE(w->Row(i)->Value(), expected);
        total += expected;
    }
    QVERIFY(total > TVtMoney::FromUnits(1000));
    QCOMPARE(w->Row(0)->Value(), total);
    QCOMPARE(w->Differenze()->Value(), TVtMoney());
    QCOMPARE(w->Row(0)->text(), total.FormatPlain());
    QVERIFY(w->buOk->isEnabled());
}

// An existing unlocked year: its current balance, its difference, its split
// by typology (a typology without a row shows 0).
void TstInitAnf::carryForwardOfAnExistingYear()
{
    TTestDatabase::Exec(u"INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin, fCaiCassaIn, fCaiDiffIniz, "
                        "iLocked) VALUES (900002, %1, 2025, 100, 2.5, 0)"_s.arg(Own));
    TTestDatabase::Exec(u"INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (900002, 2, 70)"_s);
    TTestDatabase::Exec(u"INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (900002, 4, 30)"_s);
    TTestRow::Movement(Own, QDate(2025, 3, 1), TVtMoney::FromUnits(15)).Insert();
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    TfmEbdInitAnf *w = Open();
    QCOMPARE(w->cbAnno->currentText(), u"2026"_s);   // after the last year with a row
    ChooseYear(u"2025"_s);                            // unlocked: it may be completed
    QVERIFY((*m_messages)->Messages.isEmpty());
    w->buNext->click();
    QCOMPARE(Rows(w), QStringList({u"Saldo del conto=115,00"_s, u"Tasse=0,00"_s, u"Contributi=70,00"_s, u"Quote=0,00"_s,
                                   u"Diversi=30,00"_s, u"Differenze=2,50"_s}));
    QVERIFY(!w->buOk->isEnabled());   // 100 against 115
}

void TstInitAnf::okFollowsTheBalance()
{
    TTestDatabase::Exec(u"DELETE FROM TCai_CassaIst WHERE iSprIstId = %1"_s.arg(Own));
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    TfmEbdInitAnf *w = Open();
    ChooseYear(u"2025"_s);
    w->buNext->click();
    QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsRiporti));
    Type(w->Row(0), u"100"_s);
    Type(w->Row(1), u"60"_s);
    QVERIFY(!w->buOk->isEnabled());
    Type(w->Row(3), u"40"_s);
    QVERIFY(w->buOk->isEnabled());
    Type(w->Row(3), u"39,99"_s);
    QVERIFY(!w->buOk->isEnabled());
    // The difference is not part of the sum.
    Type(w->Row(3), u"40"_s);
    Type(w->Differenze(), u"5"_s);
    QVERIFY(w->buOk->isEnabled());
    // Four decimals, compared as fixed point.
    Type(w->Row(1), u"33,3333"_s);
    Type(w->Row(2), u"33,3333"_s);
    Type(w->Row(3), u"33,3334"_s);
    QVERIFY(w->buOk->isEnabled());
    QCOMPARE(w->Row(3)->text(), u"33,33"_s);
    Type(w->Row(3), u"33,3333"_s);
    QVERIFY(!w->buOk->isEnabled());
}

void TstInitAnf::arrowsAndHighlight()
{
    TfmEbdInitAnf *w = Open();
    w->buNext->click();
    TVtMoneyEdit *first = w->Row(0);
    Focus(first);
    QCOMPARE(first->palette().color(QPalette::Base), QColor(255, 255, 132));
    QCOMPARE(first->palette().color(QPalette::Text), QColor(Qt::black));
    QTest::keyClick(first, Qt::Key_Up);
    QVERIFY(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Down);
    QVERIFY(w->Row(1)->hasFocus());
    QVERIFY(first->palette().color(QPalette::Base) != QColor(255, 255, 132));
    QTest::keyClick(w->Row(1), Qt::Key_Up);
    QVERIFY(first->hasFocus());
    Focus(w->Differenze());
    QTest::keyClick(w->Differenze(), Qt::Key_Down);
    QVERIFY(w->Differenze()->hasFocus());
    // While edited an amount shows all its decimals, and two otherwise.
    Type(w->Row(2), u"12,3456"_s);
    QCOMPARE(w->Row(2)->text(), u"12,35"_s);
    Focus(w->Row(2));
    QCOMPARE(w->Row(2)->text(), u"12,3456"_s);
}

// Without "Personalizza anno finanziario" the procedure stores no dates,
// though the pickers show the calendar year.
void TstInitAnf::openingWithoutPersonalisedDates()
{
    TfmEbdInitAnf *w = Open();
    w->buNext->click();
    const TVtMoney balance = w->Row(0)->Value();
    (*m_messages)->Answers << mrNo;
    w->buOk->click();
    QCOMPARE((*m_messages)->Texts(), QStringList{Question});
    QCOMPARE((*m_messages)->Messages[0].Type, mtConfirmation);
    QVERIFY(w->isVisible());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCai_CassaIst WHERE iCaiEsercizioFin = 2026"_s).toInt(), 0);
    (*m_messages)->Clear();
    (*m_messages)->Answers << mrYes;
    w->buOk->click();
    QCOMPARE((*m_messages)->Texts(), QStringList({Question, Done}));
    QCOMPARE((*m_messages)->Messages[1].Type, mtInformation);
    QVERIFY(Db(u"SELECT dCaiInizioAnno FROM TCai_CassaIst WHERE iSprIstId = 2 AND iCaiEsercizioFin = 2026"_s).isNull());
    QVERIFY(Db(u"SELECT dCaiFineAnno FROM TCai_CassaIst WHERE iSprIstId = 2 AND iCaiEsercizioFin = 2026"_s).isNull());
    QCOMPARE(TVtMoney::FromVariant(Db(u"SELECT fCaiCassaIn FROM TCai_CassaIst WHERE iSprIstId = 2 AND "
                                      "iCaiEsercizioFin = 2026"_s)),
             balance);
    QCOMPARE(TVtMoney::FromVariant(Db(u"SELECT SUM(t.fCaiTccImportoIniz) FROM TCaiTcc t JOIN TCai_CassaIst c ON "
                                      "c.iCaiId = t.iCaiId WHERE c.iSprIstId = 2 AND c.iCaiEsercizioFin = 2026"_s)),
             balance);
    QCOMPARE(Db(u"SELECT dCaiFineAnno FROM TCai_CassaIst WHERE iSprIstId = 2 AND iCaiEsercizioFin = 2025"_s),
             QVariant(QMetaType(QMetaType::QDate)));
}

// The procedure's own words, then the failure; nothing written, the wizard open.
void TstInitAnf::aRefusalOfTheDatabaseKeepsTheWizardOpen()
{
    TfmEbdInitAnf *w = Open();
    w->buNext->click();
    TTestDatabase::Exec(u"UPDATE TSprIst SET dEnd = DATE '2025-12-31' WHERE iSprIstId = 2"_s);
    (*m_messages)->Answers << mrYes;
    w->buOk->click();
    QCOMPARE((*m_messages)->Texts(), QStringList({Question, u"Il conto corrente non esiste o è chiuso."_s, Failed}));
    QCOMPARE((*m_messages)->Messages[2].Type, mtError);
    QVERIFY(w->isVisible());
    QCOMPARE(w->result(), int(QDialog::Rejected));
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCai_CassaIst WHERE iCaiEsercizioFin = 2026"_s).toInt(), 0);
}

void TstInitAnf::anOpenContiShowsTheNewYear()
{
    std::unique_ptr<TfmEbcCcp> conti(qobject_cast<TfmEbcCcp *>(TVtFormRegistry::CreateForm(u"TfmEbcCcp"_s)));
    conti->show();
    QCOMPARE(dmEbdConn->xqcCai->RecordCount(), 2);
    TfmEbdInitAnf *w = Open();
    w->buNext->click();
    (*m_messages)->Answers << mrYes;
    w->buOk->click();
    QCOMPARE((*m_messages)->LastText(), Done);
    QCOMPARE(dmEbdConn->xqcCai->RecordCount(), 3);
    QVERIFY(dmEbdConn->xqcCai->Locate(u"ICAIESERCIZIOFIN"_s, 2026));
}

// Account 5 of data owner 2: 2024 ends on 20/12/2024, 2025 has an unlocked
// row from 21/12/2024; the user completes it, with the same key.
void TstInitAnf::theUnlockedYearOfGroupTwoIsCompleted()
{
    SetWorkingContext(2, 2024, 2025, 5, 2024);
    TfmEbdInitAnf *w = Open();
    QCOMPARE(w->cbAnno->currentText(), u"2026"_s);
    ChooseYear(u"2025"_s);
    QVERIFY((*m_messages)->Messages.isEmpty());
    Personalise(QDate(2024, 12, 21), QDate(2025, 12, 31));
    w->buNext->click();
    QVERIFY((*m_messages)->Messages.isEmpty());   // no gap, no overlap
    QCOMPARE(Rows(w).mid(1), QStringList({u"Tasse=0,00"_s, u"Contributi=853,50"_s, u"Quote=250,00"_s, u"Diversi=50,00"_s,
                                          u"Differenze=0,00"_s}));
    QCOMPARE(w->Row(0)->Value(), TVtMoney::FromVariant(Db(u"SELECT fCaiCassaAtt FROM TCai_CassaIst WHERE iCaiId = 8002"_s)));
    Type(w->Row(0), u"1153,5"_s);
    QVERIFY(w->buOk->isEnabled());
    (*m_messages)->Answers << mrYes;
    w->buOk->click();
    QCOMPARE((*m_messages)->LastText(), Done);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCai_CassaIst WHERE iSprIstId = 5 AND iCaiEsercizioFin = 2025"_s).toInt(), 1);
    QCOMPARE(Db(u"SELECT iLocked FROM TCai_CassaIst WHERE iCaiId = 8002"_s).toInt(), 1);
    QCOMPARE(Db(u"SELECT dCaiInizioAnno FROM TCai_CassaIst WHERE iCaiId = 8002"_s).toDate(), QDate(2024, 12, 21));
    QCOMPARE(Db(u"SELECT fCaiCassaIn FROM TCai_CassaIst WHERE iCaiId = 8002"_s).toDouble(), 1153.5);
}

// With a typology ended before the school year and one of its own, each
// amount still reaches its typology, and the difference its column.
void TstInitAnf::amountsGoToTheirOwnTypology()
{
    TTestDatabase::Exec(u"UPDATE TTcc_TipoCompCaus SET dEnd = DATE '2024-06-30' WHERE iTccId = 2"_s);
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    TfmEbdInitAnf *w = Open();
    w->buNext->click();
    QCOMPARE(w->RowCount(), 5);
    QCOMPARE(w->RowLabel(2)->text(), u"Quote"_s);
    Type(w->Row(0), u"100"_s);
    Type(w->Row(1), u"10"_s);
    Type(w->Row(2), u"30"_s);
    Type(w->Row(3), u"60"_s);
    Type(w->Differenze(), u"1,25"_s);
    (*m_messages)->Answers << mrYes;
    w->buOk->click();
    QCOMPARE((*m_messages)->LastText(), Done);
    const QVariantList split = TTestDatabase::Column(
        u"SELECT t.iTccId || '=' || CAST(t.fCaiTccImportoIniz AS NUMERIC(18,2)) FROM TCaiTcc t JOIN TCai_CassaIst c ON "
        "c.iCaiId = t.iCaiId WHERE c.iSprIstId = ? AND c.iCaiEsercizioFin = 2025 ORDER BY t.iTccId"_s,
        {Own});
    QCOMPARE(split, QVariantList({u"1=10.00"_s, u"2=0.00"_s, u"3=30.00"_s, u"4=60.00"_s}));
    QCOMPARE(Db(u"SELECT fCaiDiffIniz FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2025"_s, {Own}).toDouble(),
             1.25);
}

void TstInitAnf::anotherTypologyIsNotCarried()
{
    TTestDatabase::Exec(u"INSERT INTO TTcc_TipoCompCaus (iTccId, iTccId_P, sTccSDesc, sTccLDesc, dStart) VALUES "
                        "(9, 9, 'ALT', 'Altre entrate', DATE '2000-01-01')"_s);
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    TfmEbdInitAnf *w = Open();
    w->buNext->click();
    QCOMPARE(w->RowCount(), 7);
    QCOMPARE(w->RowTccId(5), 9);
    Type(w->Row(0), u"100"_s);
    Type(w->Row(1), u"90"_s);
    Type(w->Row(5), u"10"_s);
    QVERIFY(w->buOk->isEnabled());
    w->buOk->click();
    QCOMPARE((*m_messages)->Texts(),
             QStringList{u"Attenzione ! \r\nLa tipologia Altre entrate non può essere riportata: l'apertura dell'anno "
                         "riporta solo le tipologie 1-4. "_s});
    QVERIFY(w->isVisible());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2025"_s, {Own}).toInt(), 0);
    // Nothing on it: the opening goes ahead.
    Type(w->Row(5), u"0"_s);
    Type(w->Row(1), u"100"_s);
    (*m_messages)->Clear();
    (*m_messages)->Answers << mrYes;
    w->buOk->click();
    QCOMPARE((*m_messages)->LastText(), Done);
}

// From "Conti", on a row of account 1 while the working account is 2: that
// row's own amounts are shown and written, with no question and no message.
void TstInitAnf::modificationOfAnotherAccountsRow()
{
    auto *conti = qobject_cast<TfmEbcCcp *>(TVtFormRegistry::CreateForm(u"TfmEbcCcp"_s));
    std::unique_ptr<TfmEbcCcp> owner(conti);
    conti->show();
    QVERIFY(dmEbdConn->xqcSprIst->Locate(u"ISPRISTID"_s, 1));
    QVERIFY(dmEbdConn->xqcCai->Locate(u"ICAIESERCIZIOFIN"_s, 2024));
    const int row = dmEbdConn->xqcCai->FieldByName(u"ICAIID"_s)->AsInteger();
    const QVariantList before2 = TTestDatabase::Column(
        u"SELECT t.fCaiTccImportoIniz FROM TCaiTcc t JOIN TCai_CassaIst c ON c.iCaiId = t.iCaiId WHERE c.iSprIstId = 2 "
        "ORDER BY t.iCaiId, t.iTccId"_s);
    const TVtMoney opening = TVtMoney::FromVariant(Db(u"SELECT fCaiCassaIn FROM TCai_CassaIst WHERE iCaiId = ?"_s, {row}));
    const TVtMoney tasse = TVtMoney::FromVariant(
        Db(u"SELECT fCaiTccImportoIniz FROM TCaiTcc WHERE iCaiId = ? AND iTccId = 1"_s, {row}));
    QVERIFY(conti->frEbcCcpSubDetail->acModificaSaldo->isEnabled());
    bool shown = false;
    conti->OnModificaSaldoShown = [&](TfmEbdInitAnf *w) {
        shown = true;
        w->show();
        QVERIFY(w->ModificaSaldo());
        QCOMPARE(w->Account(), 1);
        QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsRiporti));
        QVERIFY(w->buPrior->isHidden());
        QVERIFY(w->buNext->isHidden());
        QCOMPARE(w->Row(0)->Value(), opening);   // the opening balance, not the current one
        QCOMPARE(w->Row(1)->Value(), tasse);
        QVERIFY(w->buOk->isEnabled());
        Type(w->Row(0), (opening + TVtMoney::FromUnits(10)).FormatPlain());
        Type(w->Row(1), (tasse + TVtMoney::FromUnits(10)).FormatPlain());
        Type(w->Differenze(), u"-3,5"_s);
        QVERIFY(w->buOk->isEnabled());
        w->buOk->click();
        QCOMPARE(w->result(), int(QDialog::Accepted));
    };
    conti->frEbcCcpSubDetail->acModificaSaldo->trigger();
    QVERIFY(shown);
    QVERIFY((*m_messages)->Messages.isEmpty());
    QCOMPARE(TVtMoney::FromVariant(Db(u"SELECT fCaiTccImportoIniz FROM TCaiTcc WHERE iCaiId = ? AND iTccId = 1"_s, {row})),
             tasse + TVtMoney::FromUnits(10));
    QCOMPARE(TVtMoney::FromVariant(Db(u"SELECT fCaiCassaIn FROM TCai_CassaIst WHERE iCaiId = ?"_s, {row})),
             opening + TVtMoney::FromUnits(10));
    QCOMPARE(Db(u"SELECT fCaiDiffIniz FROM TCai_CassaIst WHERE iCaiId = ?"_s, {row}).toDouble(), -3.5);
    QCOMPARE(TTestDatabase::Column(u"SELECT t.fCaiTccImportoIniz FROM TCaiTcc t JOIN TCai_CassaIst c ON c.iCaiId = "
                                   "t.iCaiId WHERE c.iSprIstId = 2 ORDER BY t.iCaiId, t.iTccId"_s),
             before2);
    // The cash frame shows the new opening balance, on the same row.
    QCOMPARE(dmEbdConn->xqcCai->FieldByName(u"ICAIID"_s)->AsInteger(), row);
    QCOMPARE(TVtMoney(dmEbdConn->xqcCai->FieldByName(u"FCAICASSAIN"_s)->AsFloat()), opening + TVtMoney::FromUnits(10));
}

// A cash row with no split is an existing year with zero amounts, and its
// amounts are added rather than lost.
void TstInitAnf::modificationOfARowWithoutSplit()
{
    TTestDatabase::Exec(u"DELETE FROM TCaiTcc WHERE iCaiId = 900001"_s);
    SetWorkingContext(1, 2024, 2025, Own, 2024);
    m_wizard = std::make_unique<TfmEbdInitAnf>();
    TfmEbdInitAnf *w = m_wizard.get();
    w->SetModificaSaldo(900001);
    w->show();
    QCOMPARE(Rows(w), QStringList({u"Saldo del conto=100,00"_s, u"Tasse=0,00"_s, u"Contributi=0,00"_s, u"Quote=0,00"_s,
                                   u"Diversi=0,00"_s, u"Differenze=0,00"_s}));
    QVERIFY(!w->buOk->isEnabled());
    Type(w->Row(2), u"25"_s);
    Type(w->Row(4), u"75"_s);
    QVERIFY(w->buOk->isEnabled());
    w->buOk->click();
    QVERIFY((*m_messages)->Messages.isEmpty());
    QCOMPARE(TTestDatabase::Column(u"SELECT iTccId || '=' || CAST(fCaiTccImportoIniz AS NUMERIC(18,2)) FROM TCaiTcc "
                                   "WHERE iCaiId = 900001 ORDER BY iTccId"_s),
             QVariantList({u"1=0.00"_s, u"2=25.00"_s, u"3=0.00"_s, u"4=75.00"_s}));
    QCOMPARE(Db(u"SELECT fCaiCassaIn FROM TCai_CassaIst WHERE iCaiId = 900001"_s).toDouble(), 100.0);
}

void TstInitAnf::screenshots()
{
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    TfmEbdInitAnf *w = Open();
    w->cbPersonalizza->setChecked(true);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::qWait(20);
    QVERIFY(w->grab().save(dir.filePath(u"inizio_anno_anno.png"_s)));
    CheckNothingCut(w);
    w->buNext->click();
    QTest::qWait(20);
    QVERIFY(w->grab().save(dir.filePath(u"inizio_anno_riporti.png"_s)));
    CheckNothingCut(w);
    // Rows and labels inside the group, none over another.
    const QRect group = w->gbRiporti->contentsRect();
    for (int i = 0; i < w->RowCount(); ++i) {
        QVERIFY(group.contains(w->Row(i)->geometry()));
        QVERIFY(group.contains(w->RowLabel(i)->geometry()));
        QVERIFY(!w->RowLabel(i)->geometry().intersects(w->Row(i)->geometry()));
        QVERIFY(w->RowLabel(i)->fontMetrics().horizontalAdvance(w->RowLabel(i)->text()) <= w->RowLabel(i)->width());
    }
    m_wizard = std::make_unique<TfmEbdInitAnf>();
    m_wizard->SetModificaSaldo(Db(u"SELECT iCaiId FROM TCai_CassaIst WHERE iSprIstId = 2 AND iCaiEsercizioFin = 2025"_s).toInt());
    m_wizard->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_wizard.get()));
    QTest::qWait(20);
    QVERIFY(m_wizard->grab().save(dir.filePath(u"inizio_anno_modifica.png"_s)));
    CheckNothingCut(m_wizard.get());
}

QTEST_MAIN(TstInitAnf)
#include "tst_initanf.moc"

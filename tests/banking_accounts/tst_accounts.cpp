#include "EbcFCcp.h"
#include "EbcRSprIst.h"
#include "EbdMConn.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VardellaModules.h"
#include "TestInput.h"
#include "TestRow.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDBLookupEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtFormRegistry.h"
#include "VtGlobalValuesManager.h"
#include "VtQueryCollection.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <memory>

// The "Conti" window over the demo school's accounts and a few accounts of
// the test's own, whose movements and financial years it controls.
class TstAccounts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void windowOpensOnTheWorkingAccount();
    void kindLabels();
    void newAccountNumbersArePadded_data();
    void newAccountNumbersArePadded();
    void cashBankChoices();
    void requiredFields();
    void openingDateAgainstFirstMovement();
    void closingDateAgainstLastMovement();
    void closingDeclinedCancelsTheEdit();
    void closingRefusedWhileMovimentiIsOpen();
    void closingLocksAndReopeningUnlocks();
    void closedAccountIsReadOnlyButReopenable();
    void deleteIsRefused();
    void gridColours();
    void closingWithAnEditInProgressAsks();

private:
    TVtQueryCollection *Accounts() const { return dmEbdConn->xqcSprIst; }
    TfrEbcSprIst *Frame() const { return m_window->frEbcCcpMaster; }
    bool Leave(TVtDBControl *control);
    void EditAccount(int id);
    static QVariant Db(const QString &sql, const QVariantList &values = {})
    {
        return TTestDatabase::Scalar(sql, values);
    }

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    TfmEbcCcp *m_window = nullptr;
};

namespace {
// Accounts of the test on a branch of bank 4. Plain has cash rows for 2024
// (the calendar year) and 2025 (1 January to 31 August), and movements on
// 2024-03-10, 2024-11-20, 2025-05-02, plus 2019-04-01 and 2025-10-15 that
// fall outside every period of its cash rows.
const int Plain = 900001;
const int Empty = 900002;      // no movements
}

void TstAccounts::initTestCase()
{
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [] {
        const int branch = TTestDatabase::Scalar(QStringLiteral("SELECT MIN(iSprId) FROM TSpr_SportelliCab WHERE iBanId = 4")).toInt();
        QVERIFY(branch > 0);
        TTestRow::Account(branch, QStringLiteral("000000000001")).Set(QStringLiteral("iSprIstId"), Plain).Insert();
        TTestRow::Account(branch, QStringLiteral("000000000002")).Set(QStringLiteral("iSprIstId"), Empty).Insert();
        TTestRow::CashRow(Plain, 2024).Insert();
        TTestRow::CashRow(Plain, 2025)
            .Set(QStringLiteral("dCaiInizioAnno"), QDate(2025, 1, 1))
            .Set(QStringLiteral("dCaiFineAnno"), QDate(2025, 8, 31))
            .Insert();
        for (const QDate &date : {QDate(2024, 3, 10), QDate(2024, 11, 20), QDate(2025, 5, 2), QDate(2019, 4, 1), QDate(2025, 10, 15)})
            TTestRow::Movement(Plain, date, TVtMoney::FromUnits(10)).Insert();
    });
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstAccounts::init()
{
    (*m_messages)->Clear();
    dmEbdConn = new TdmEbdConn;
    dmEbdConn->Settings = m_db->Fresh();
    QVERIFY(dmEbdConn->OpenConnection());
    xgvmGlobalVar->SetValues(QStringLiteral("VTUP_DwgId"), QStringLiteral("1"));
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_SprIstId"), QStringLiteral("2"));
    m_window = qobject_cast<TfmEbcCcp *>(TVtFormRegistry::CreateForm(QStringLiteral("TfmEbcCcp")));
    QVERIFY(m_window);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    // A new window lists the open accounts only.
    QVERIFY(Accounts()->Filtered());
    QVERIFY(!Frame()->acShowClosed->isChecked());
}

void TstAccounts::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete dmEbdConn;
    dmEbdConn = nullptr;
}

void TstAccounts::cleanupTestCase()
{
    m_db.reset();
}

bool TstAccounts::Leave(TVtDBControl *control)
{
    return control->CommitPending();
}

void TstAccounts::EditAccount(int id)
{
    if (!Accounts()->Locate(QStringLiteral("ISPRISTID"), id)) {
        Frame()->acShowClosed->setChecked(true);
        QVERIFY(Accounts()->Locate(QStringLiteral("ISPRISTID"), id));
    }
    QVERIFY(Frame()->xacEdit->Execute());
    QCOMPARE(Accounts()->State(), dsEdit);
}

void TstAccounts::windowOpensOnTheWorkingAccount()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Conti"));
    QVERIFY(Accounts()->Active());
    // The open accounts of the data owner written by this program.
    QCOMPARE(Accounts()->RecordCount(),
             Db(QStringLiteral("SELECT COUNT(*) FROM TSprIst WHERE iDwgId = 1 AND iSprIstPgm = 2 AND dEnd IS NULL")).toInt());
    QCOMPARE(Accounts()->KeyValue().toInt(), 2);
    QVERIFY(Frame()->IsWorkingAccount());
    QVERIFY(Frame()->pcMain->currentIndex() == 0);
    // The closed ones come with "Mostra conti chiusi" and go with it.
    Frame()->acShowClosed->setChecked(true);
    QCOMPARE(Accounts()->RecordCount(),
             Db(QStringLiteral("SELECT COUNT(*) FROM TSprIst WHERE iDwgId = 1 AND iSprIstPgm = 2")).toInt());
    QVERIFY(Accounts()->Locate(QStringLiteral("ISPRISTID"), 4));
    QVERIFY(!Frame()->IsWorkingAccount());
    Frame()->acShowClosed->setChecked(false);
    QVERIFY(!Accounts()->Locate(QStringLiteral("ISPRISTID"), 4));
    // The cash rows follow the current account.
    QVERIFY(Accounts()->Locate(QStringLiteral("ISPRISTID"), Plain));
    QVERIFY(dmEbdConn->xqcCai->Active());
    QCOMPARE(dmEbdConn->xqcCai->RecordCount(), 2);
}

void TstAccounts::kindLabels()
{
    const QList<QPair<int, QString>> expected{{1, "Postale"}, {2, "Bancario"}, {3, "Cassa"}, {Plain, "Bancario"}};
    for (const auto &e : expected) {
        QVERIFY(Accounts()->Locate(QStringLiteral("ISPRISTID"), e.first));
        QCOMPARE(Accounts()->FieldByName(QStringLiteral("sTipoConto"))->AsString(), e.second);
    }
}

void TstAccounts::newAccountNumbersArePadded_data()
{
    QTest::addColumn<int>("bank");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("bank") << 4 << "1234" << "000000001234";
    QTest::newRow("post office") << 2 << "1234" << "00001234";
    QTest::newRow("letters in upper case") << 4 << "12ab" << "0000000012AB";
    QTest::newRow("full length") << 4 << "123456789012" << "123456789012";
}

void TstAccounts::newAccountNumbersArePadded()
{
    QFETCH(int, bank);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    const int before = Db(QStringLiteral("SELECT COUNT(*) FROM TSprIst")).toInt();
    QVERIFY(Frame()->xacInsert->Execute());
    QVERIFY(Frame()->xdlBanAbi->SetKeyValue(bank));
    QVERIFY(Frame()->IBANShown());
    QCOMPARE(Frame()->xdeNumCc->MaxLength(), bank == 2 ? 8 : 12);
    const int branch = Db(QStringLiteral("SELECT MIN(iSprId) FROM TSpr_SportelliCab WHERE iBanId = ?"), {bank}).toInt();
    QVERIFY(Frame()->xdlSprCab->SetKeyValue(branch));
    QCOMPARE(Frame()->xdeSprDesc->Text(), Db(QStringLiteral("SELECT sSprDescS FROM TSpr_SportelliCab WHERE iSprId = ?"), {branch}).toString());
    TypeText(Frame()->xdeNumCc, typed + QStringLiteral("99999"));   // the edit takes no more than the bank's length
    QCOMPARE(Frame()->xdeNumCc->Text().size(), qMin(typed.size() + 5, bank == 2 ? 8 : 12));
    TypeText(Frame()->xdeNumCc, typed);
    QVERIFY(Leave(Frame()->xdeNumCc));
    QCOMPARE(Frame()->xdeNumCc->Text(), stored);
    TypeText(Frame()->xddInizio, QStringLiteral("01/09/2026"));
    TypeText(Frame()->xddFine, QStringLiteral("31/12/2026"));   // a new account is stored open
    QVERIFY(Leave(Frame()->xddFine));
    QVERIFY(Frame()->xacPost->Execute());
    QCOMPARE(Accounts()->State(), dsBrowse);
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TSprIst")).toInt(), before + 1);
    const int id = Accounts()->KeyValue().toInt();
    QCOMPARE(Db(QStringLiteral("SELECT sSprIstNumCc FROM TSprIst WHERE iSprIstId = ?"), {id}).toString(), stored);
    QCOMPARE(Db(QStringLiteral("SELECT iDwgId FROM TSprIst WHERE iSprIstId = ?"), {id}).toInt(), 1);
    QCOMPARE(Db(QStringLiteral("SELECT iSprIstPgm FROM TSprIst WHERE iSprIstId = ?"), {id}).toInt(), 2);
    QVERIFY(Db(QStringLiteral("SELECT dEnd FROM TSprIst WHERE iSprIstId = ?"), {id}).isNull());
    QCOMPARE(Accounts()->FieldByName(QStringLiteral("sTipoConto"))->AsString(),
             bank == 2 ? QStringLiteral("Postale") : QStringLiteral("Bancario"));
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstAccounts::cashBankChoices()
{
    QVERIFY(Frame()->xacInsert->Execute());
    QVERIFY(Frame()->xdlBanAbi->SetKeyValue(4));
    TypeText(Frame()->xdeSprIntest, QStringLiteral("Istituto"));
    QVERIFY(Leave(Frame()->xdeSprIntest));
    QVERIFY(Frame()->xdlBanAbi->SetKeyValue(TfrEbcSprIst::CashBankId));
    QCOMPARE(Accounts()->FieldByName(QStringLiteral("ISPRID"))->AsInteger(), TfrEbcSprIst::CashBranchId);
    QCOMPARE(Accounts()->FieldByName(QStringLiteral("SSPRISTNUMCC"))->AsString(), QStringLiteral("000000000000"));
    QVERIFY(Accounts()->FieldByName(QStringLiteral("SSPRISTINTEST"))->IsNull());
    QVERIFY(!Frame()->IBANShown());
    QVERIFY(Frame()->gbIBAN->isHidden());
    QVERIFY(Frame()->xdeCin->isHidden());
    QVERIFY(Frame()->xddFine->isHidden());
    QCOMPARE(Frame()->xdeBanDesc->Text(), QStringLiteral("Cassa"));
    // Back to a bank: the IBAN controls return and the cash branch goes.
    QVERIFY(Frame()->xdlBanAbi->SetKeyValue(4));
    QVERIFY(Frame()->IBANShown());
    QVERIFY(!Frame()->gbIBAN->isHidden());
    QVERIFY(Accounts()->FieldByName(QStringLiteral("ISPRID"))->IsNull());
    QVERIFY(Frame()->xacCancel->Execute());
    // Browsing the demo cash account hides the IBAN controls as well.
    QVERIFY(Accounts()->Locate(QStringLiteral("ISPRISTID"), 3));
    QVERIFY(!Frame()->IBANShown());
    QVERIFY(Accounts()->Locate(QStringLiteral("ISPRISTID"), 2));
    QVERIFY(Frame()->IBANShown());
}

void TstAccounts::requiredFields()
{
    const int before = Db(QStringLiteral("SELECT COUNT(*) FROM TSprIst")).toInt();
    QVERIFY(Frame()->xacInsert->Execute());
    QVERIFY(Frame()->xdlBanAbi->SetKeyValue(4));
    QVERIFY(!Frame()->xacPost->Execute());
    QCOMPARE(Accounts()->State(), dsInsert);
    QCOMPARE(Frame()->xdlSprCab->ErrorText(), QStringLiteral("Il codice CAB è obbligatorio."));
    QVERIFY(Frame()->xdlSprCab->SetKeyValue(Db(QStringLiteral("SELECT MIN(iSprId) FROM TSpr_SportelliCab WHERE iBanId = 4"))));
    QVERIFY(!Frame()->xacPost->Execute());
    QCOMPARE(Frame()->xdeNumCc->ErrorText(), QStringLiteral("Il numero di conto corrente è obbligatorio."));
    TypeText(Frame()->xdeNumCc, QStringLiteral("55"));
    QVERIFY(!Frame()->xacPost->Execute());
    QCOMPARE(Frame()->xddInizio->ErrorText(), QStringLiteral("La data di apertura del conto è obbigatoria."));
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TSprIst")).toInt(), before);
    QVERIFY(Frame()->xacCancel->Execute());
}

void TstAccounts::openingDateAgainstFirstMovement()
{
    // The 2019 movement lies outside every financial year of the account: the
    // first one that counts is 10/03/2024.
    EditAccount(Plain);
    TypeText(Frame()->xddInizio, QStringLiteral("11/03/2024"));
    QVERIFY(!Leave(Frame()->xddInizio));
    QCOMPARE(Frame()->xddInizio->ErrorText(), QStringLiteral("La data di apertura del conto dev'essere minore o uguale a 10/03/2024."));
    TypeText(Frame()->xddInizio, QStringLiteral("10/03/2024"));
    QVERIFY(Leave(Frame()->xddInizio));
    QVERIFY(Frame()->xacPost->Execute());
    QCOMPARE(Db(QStringLiteral("SELECT dStart FROM TSprIst WHERE iSprIstId = ?"), {Plain}).toDate(), QDate(2024, 3, 10));
    // Without movements any date goes.
    EditAccount(Empty);
    TypeText(Frame()->xddInizio, QStringLiteral("05/05/2030"));
    QVERIFY(Leave(Frame()->xddInizio));
    QVERIFY(Frame()->xacPost->Execute());
    QCOMPARE(Db(QStringLiteral("SELECT dStart FROM TSprIst WHERE iSprIstId = ?"), {Empty}).toDate(), QDate(2030, 5, 5));
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstAccounts::closingDateAgainstLastMovement()
{
    // The last movement inside a year of the account is 02/05/2025 (the one
    // of October 2025 falls after the 2025 cash period).
    EditAccount(Plain);
    TypeText(Frame()->xddFine, QStringLiteral("01/05/2025"));
    QVERIFY(!Leave(Frame()->xddFine));
    QCOMPARE(Frame()->xddFine->ErrorText(), QStringLiteral("La data di chiusura del conto dev'essere maggiore o uguale a 02/05/2025."));
    QVERIFY((*m_messages)->Messages.isEmpty());
    TypeText(Frame()->xddFine, QStringLiteral("01/01/2001"));
    QVERIFY(!Leave(Frame()->xddFine));
    QCOMPARE(Frame()->xddFine->ErrorText(), QStringLiteral("La data di chiusura del conto non può precedere quella di apertura."));
    // Equal to the last movement it is accepted, after the question.
    (*m_messages)->Answers << mrNo;
    TypeText(Frame()->xddFine, QStringLiteral("02/05/2025"));
    Leave(Frame()->xddFine);
    QCOMPARE((*m_messages)->Messages.size(), 1);
    QCOMPARE((*m_messages)->LastText(),
             QStringLiteral("ATTENZIONE !!!\r\nSi sta per avviare la procedura di chiusura del conto corrente.\r\n"
                            "Effettuata la chiusura, non sarà più possibile inserire/modificare/cancellare\r\n"
                            "movimenti dal conto in questione.\r\n\r\nProcedere?"));
    QCOMPARE((*m_messages)->Messages.last().Type, mtConfirmation);
    QVERIFY((*m_messages)->Messages.last().Buttons & mbDefNo);
}

void TstAccounts::closingDeclinedCancelsTheEdit()
{
    EditAccount(Empty);
    TypeText(Frame()->xdeSprIntest, QStringLiteral("Nuovo intestatario"));
    QVERIFY(Leave(Frame()->xdeSprIntest));
    (*m_messages)->Answers << mrNo;
    TypeText(Frame()->xddFine, QStringLiteral("31/12/2030"));
    Leave(Frame()->xddFine);
    QCOMPARE(Accounts()->State(), dsBrowse);
    QVERIFY(!Frame()->ClosingChanged());
    QCOMPARE(Db(QStringLiteral("SELECT sSprIstIntest FROM TSprIst WHERE iSprIstId = ?"), {Empty}).toString(), QStringLiteral("Prova"));
    QVERIFY(Db(QStringLiteral("SELECT dEnd FROM TSprIst WHERE iSprIstId = ?"), {Empty}).isNull());
    QCOMPARE(Accounts()->FieldByName(QStringLiteral("SSPRISTINTEST"))->AsString(), QStringLiteral("Prova"));
}

void TstAccounts::closingRefusedWhileMovimentiIsOpen()
{
    // A window captioned "Movimenti" is not the billing window.
    QWidget other;
    other.setWindowTitle(QStringLiteral("Movimenti"));
    other.show();
    std::unique_ptr<QWidget> billing(TVtFormRegistry::CreateForm(QStringLiteral("TfmEbdAluGen")));
    QVERIFY(billing);
    billing->show();
    QVERIFY(QTest::qWaitForWindowExposed(billing.get()));
    EditAccount(Plain);
    (*m_messages)->Answers << mrYes;
    TypeText(Frame()->xddFine, QStringLiteral("31/12/2025"));
    Leave(Frame()->xddFine);
    QCOMPARE((*m_messages)->Texts().size(), 2);
    QCOMPARE((*m_messages)->LastText(),
             QStringLiteral("Impossibile procedere con la chiusura del conto\r\nin quanto la finestra Intestatari è aperta."));
    QCOMPARE((*m_messages)->Messages.last().Type, mtWarning);
    QCOMPARE(Accounts()->State(), dsBrowse);
    QVERIFY(!Frame()->ClosingChanged());
    QVERIFY(Db(QStringLiteral("SELECT dEnd FROM TSprIst WHERE iSprIstId = ?"), {Plain}).isNull());
}

void TstAccounts::closingLocksAndReopeningUnlocks()
{
    const QString locked = QStringLiteral("SELECT COUNT(*) FROM TMvm_MovimentiCcp WHERE iSprIstId = %1 AND iLocked = 1").arg(Plain);
    const int movements = Db(QStringLiteral("SELECT COUNT(*) FROM TMvm_MovimentiCcp WHERE iSprIstId = ?"), {Plain}).toInt();
    QCOMPARE(Db(locked).toInt(), 0);

    EditAccount(Plain);
    (*m_messages)->Answers << mrYes;
    TypeText(Frame()->xddFine, QStringLiteral("31/12/2025"));
    QVERIFY(Leave(Frame()->xddFine));
    QVERIFY(Frame()->ClosingChanged());
    QVERIFY(Frame()->xacPost->Execute());
    QCOMPARE(Db(QStringLiteral("SELECT dEnd FROM TSprIst WHERE iSprIstId = ?"), {Plain}).toDate(), QDate(2025, 12, 31));
    QCOMPARE(Db(locked).toInt(), movements);
    // Closed, it leaves the list of open accounts; the others stay.
    QVERIFY(!Accounts()->Locate(QStringLiteral("ISPRISTID"), Plain));
    QVERIFY(Accounts()->Locate(QStringLiteral("ISPRISTID"), Empty));
    QCOMPARE(Accounts()->FieldByName(QStringLiteral("SSPRISTINTEST"))->AsString(), QStringLiteral("Prova"));
    QVERIFY(Accounts()->FieldByName(QStringLiteral("DEND"))->IsNull());

    // Reopening: the question, then the procedure unlocks the movements.
    EditAccount(Plain);
    (*m_messages)->Clear();
    (*m_messages)->Answers << mrYes;
    TypeText(Frame()->xddFine, QString());
    QVERIFY(Leave(Frame()->xddFine));
    QCOMPARE((*m_messages)->Texts(),
             QStringList{QStringLiteral("ATTENZIONE !!!\r\nSi sta per annullare la data di chiusura del conto.\r\n"
                                        "Al termine delle operazioni il conto tornerà ad essere aperto.\r\n\r\nProcedere?")});
    QVERIFY(Frame()->xacPost->Execute());
    QVERIFY(Db(QStringLiteral("SELECT dEnd FROM TSprIst WHERE iSprIstId = ?"), {Plain}).isNull());
    QCOMPARE(Db(locked).toInt(), 0);

    // An edit that leaves the closing date alone does not run the procedure:
    // a movement locked by hand stays locked.
    const int first = Db(QStringLiteral("SELECT MIN(iMvmId) FROM TMvm_MovimentiCcp WHERE iSprIstId = ?"), {Plain}).toInt();
    TTestDatabase::Exec(QStringLiteral("UPDATE TMvm_MovimentiCcp SET iLocked = 1 WHERE iMvmId = %1").arg(first));
    EditAccount(Plain);
    TypeText(Frame()->xdeSprIntest, QStringLiteral("Prova bis"));
    QVERIFY(Frame()->xacPost->Execute());
    QCOMPARE(Db(QStringLiteral("SELECT sSprIstIntest FROM TSprIst WHERE iSprIstId = ?"), {Plain}).toString(), QStringLiteral("Prova bis"));
    QCOMPARE(Db(locked).toInt(), 1);
}

void TstAccounts::closedAccountIsReadOnlyButReopenable()
{
    Frame()->acShowClosed->setChecked(true);
    QVERIFY(Accounts()->Locate(QStringLiteral("ISPRISTID"), 4));
    for (TVtDBControl *c : {static_cast<TVtDBControl *>(Frame()->xdeNumCc), static_cast<TVtDBControl *>(Frame()->xdlBanAbi),
                            static_cast<TVtDBControl *>(Frame()->xdlSprCab), static_cast<TVtDBControl *>(Frame()->xddInizio),
                            static_cast<TVtDBControl *>(Frame()->xdeSprIntest), static_cast<TVtDBControl *>(Frame()->xdeStato)})
        QVERIFY2(c->ReadOnly(), qPrintable(c->objectName()));
    QVERIFY(!Frame()->xddFine->ReadOnly());
    QVERIFY(Accounts()->Locate(QStringLiteral("ISPRISTID"), 2));
    QVERIFY(!Frame()->xdeNumCc->ReadOnly());
    // Reopening with No keeps it closed.
    EditAccount(4);
    (*m_messages)->Answers << mrNo;
    TypeText(Frame()->xddFine, QString());
    Leave(Frame()->xddFine);
    QCOMPARE(Accounts()->State(), dsBrowse);
    QCOMPARE(Db(QStringLiteral("SELECT dEnd FROM TSprIst WHERE iSprIstId = 4")).toDate(), QDate(2023, 12, 31));
}

void TstAccounts::deleteIsRefused()
{
    const int before = Db(QStringLiteral("SELECT COUNT(*) FROM TSprIst")).toInt();
    QVERIFY(Accounts()->Locate(QStringLiteral("ISPRISTID"), 2));
    const int rows = Accounts()->RecordCount();
    QVERIFY(!Frame()->xacDelete->Execute());
    QCOMPARE((*m_messages)->LastText(), QStringLiteral("Impossibile cancellare il conto in quanto è quello di lavoro."));
    QCOMPARE((*m_messages)->Messages.last().Type, mtWarning);
    QCOMPARE(Accounts()->RecordCount(), rows);
    QCOMPARE(Accounts()->KeyValue().toInt(), 2);
    // Any other account is closed, not deleted: nothing vanishes from the list.
    QVERIFY(Accounts()->Locate(QStringLiteral("ISPRISTID"), Empty));
    QVERIFY(!Frame()->xacDelete->Execute());
    QCOMPARE((*m_messages)->LastText(), QStringLiteral("Un conto non si cancella: per non usarlo più indicarne la data di chiusura."));
    QCOMPARE(Accounts()->RecordCount(), rows);
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TSprIst")).toInt(), before);
}

void TstAccounts::gridColours()
{
    // The colour a role gives the row of an account; the account must be listed.
    auto colour = [&](int id, int role) {
        QAbstractItemModel *model = Frame()->grMain->model();
        const int key = Accounts()->FieldByName(QStringLiteral("ISPRISTID"))->Index;
        for (int r = 0; r < model->rowCount(); ++r)
            if (Accounts()->RowValue(r, key).toInt() == id)
                return model->data(model->index(r, 0), role).value<QColor>();
        qWarning("account %d is not listed", id);
        return QColor(1, 2, 3);
    };
    auto background = [&](int id) { return colour(id, Qt::BackgroundRole); };
    auto foreground = [&](int id) { return colour(id, Qt::ForegroundRole); };
    auto listed = [&](int id) {
        const int key = Accounts()->FieldByName(QStringLiteral("ISPRISTID"))->Index;
        for (int r = 0; r < Accounts()->RecordCount(); ++r)
            if (Accounts()->RowValue(r, key).toInt() == id)
                return true;
        return false;
    };
    // Both accounts are listed: the colours below are those of real rows.
    QVERIFY(listed(1) && listed(2) && listed(3));
    QCOMPARE(background(2), QColor(255, 255, 132));
    QVERIFY(!background(1).isValid());
    QVERIFY(!background(3).isValid());
    // The highlight follows the working account.
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_SprIstId"), QStringLiteral("3"));
    QCOMPARE(background(3), QColor(255, 255, 132));
    QVERIFY(!background(2).isValid());
    // Painting reads the working account from the kept context, not the database.
    const int reads = xgvmGlobalVar->ReadCount();
    Frame()->grMain->viewport()->grab();
    for (int id : {1, 2, 3})
        background(id);
    QCOMPARE(xgvmGlobalVar->ReadCount(), reads);
    QVERIFY(!listed(4));   // closed accounts are hidden
    Frame()->acShowClosed->setChecked(true);
    QCOMPARE(foreground(4), QColor(255, 0, 0));
    QVERIFY(!foreground(2).isValid());
    Frame()->acShowClosed->setChecked(false);

    // The only account of its data owner is not highlighted.
    delete m_window;
    xgvmGlobalVar->SetValues(QStringLiteral("VTUP_DwgId"), QStringLiteral("2"));
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_SprIstId"), QStringLiteral("5"));
    m_window = new TfmEbcCcp;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QCOMPARE(Accounts()->RecordCount(), 1);
    QVERIFY(Frame()->IsWorkingAccount());
    QVERIFY(!background(5).isValid());
}

void TstAccounts::closingWithAnEditInProgressAsks()
{
    const QString question = QStringLiteral("Salvare le modifiche?");
    auto holder = [&] { return Db(QStringLiteral("SELECT sSprIstIntest FROM TSprIst WHERE iSprIstId = ?"), {Plain}).toString(); };
    // A new window on the account, in edit.
    auto reopenAndEdit = [&] {
        delete m_window;
        m_window = new TfmEbcCcp;
        m_window->show();
        (*m_messages)->Clear();
        EditAccount(Plain);
        return QTest::qWaitForWindowExposed(m_window) && Accounts()->State() == dsEdit;
    };
    EditAccount(Plain);
    TypeText(Frame()->xdeSprIntest, QStringLiteral("Scritto e non salvato"));

    // Cancel: the window stays open with the edit and the typed text.
    (*m_messages)->Answers << mrCancel;
    QVERIFY(!m_window->close());
    QCOMPARE((*m_messages)->Texts(), QStringList{question});
    QCOMPARE((*m_messages)->Messages.first().Type, mtConfirmation);
    QVERIFY(m_window->isVisible());
    QCOMPARE(Accounts()->State(), dsEdit);
    QCOMPARE(Frame()->xdeSprIntest->LineEdit()->text(), QStringLiteral("Scritto e non salvato"));

    // Yes with a value the rules refuse: the save fails, the window stays.
    (*m_messages)->Clear();
    (*m_messages)->Answers << mrYes;
    TypeText(Frame()->xdeNumCc, QString());
    QVERIFY(!m_window->close());
    QVERIFY(m_window->isVisible());
    QCOMPARE(Accounts()->State(), dsEdit);
    QCOMPARE(holder(), QStringLiteral("Prova"));

    // Yes: saved, then closed.
    (*m_messages)->Clear();
    (*m_messages)->Answers << mrYes;
    TypeText(Frame()->xdeNumCc, QStringLiteral("000000000001"));
    QVERIFY(m_window->close());
    QCOMPARE((*m_messages)->Texts(), QStringList{question});
    QCOMPARE(holder(), QStringLiteral("Scritto e non salvato"));

    // No: discarded, then closed.
    QVERIFY(reopenAndEdit());
    TypeText(Frame()->xdeSprIntest, QStringLiteral("Da buttare"));
    (*m_messages)->Answers << mrNo;
    QVERIFY(m_window->close());
    QCOMPARE((*m_messages)->Texts(), QStringList{question});
    QCOMPARE(holder(), QStringLiteral("Scritto e non salvato"));
    QVERIFY(Accounts()->State() != dsEdit);

    // Nothing changed: no question.
    QVERIFY(reopenAndEdit());
    QVERIFY(m_window->close());
    QVERIFY((*m_messages)->Messages.isEmpty());
    QVERIFY(Accounts()->State() != dsEdit);
}

QTEST_MAIN(TstAccounts)
#include "tst_accounts.moc"

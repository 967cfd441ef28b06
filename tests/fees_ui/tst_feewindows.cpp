#include "EbcRCca.h"
#include "EbdMConn.h"
#include "EbsFCau.h"
#include "EbsFCca.h"
#include "EbsFDuplicaCausali.h"
#include "EbsFModPagamento.h"
#include "EbsFTipologie.h"
#include "EbsMDataSets.h"
#include "EbsRCau.h"
#include "EbsRCauCca.h"
#include "EbsRModPagamento.h"
#include "EbsRTipologie.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestRow.h"
#include "TestScreens.h"
#include "VardellaModules.h"
#include "VtDBCheckBox.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDBLookupEdit.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtFormRegistry.h"
#include "VtQueryCollection.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

using namespace Qt::StringLiterals;

// The fee windows on the demo school: payment modes, typologies, reasons
// with their components, the components of a year, and the duplication
// dialog. The working context is the demo's: data owner 1, reasons of
// 2024/2025.
class TstFeeWindows : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void paymentModeFlagsAreDrawnAsSiNo();
    void newPaymentModeIsUpperCaseAndUnticked();
    void paymentModesAreNotDeleted();

    void newTypologyStartsTodayUnlocked();
    void parentTypologyIsAFirstType();
    void typologyTreeStaysWhole();

    void linkStatementsKeepTheReasonInStep();
    void failedLinkLeavesEverythingAsItWas();
    void componentsWindowTwiceInsertsOnce();

    void reasonsOfTheYearWithTheirTotals();
    void vuvezFollowsTheComponents();
    void newReasonGetsItsFirstComponent();
    void ownerlessReasonOffersOwnerlessComponents();
    void reasonsInUseKeepTheirComponents();
    void editingAReasonInUseAsks();
    void closingRefusedForAReasonWithoutComponents();
    void sortedGridEditsTheChosenRow();
    void reasonsAreNotDeleted();
    void duplicateLinkRefused();
    void directionTabs();

    void componentRequiredFields();
    void componentInUseKeepsItsAmounts();
    void typologyPair();
    void ownerFromTheClassification();
    void componentsVisibleToFeeCollectionOnly();
    void componentFlagReachesItsReasons();
    void componentDeleteRefusals();
    void lockedRowsCannotBeEdited();

    void duplicationDialogSourceYear();
    void duplicationDialogCopies();
    void duplicationDialogRefusesDoubles();
    void duplicationFailureRollsBack();

    void commandsOpenTheWindows();
    void screenshots();

private:
    TfmEbsCau *OpenReasons();
    TfmEbsCca *OpenComponents();
    static void SetModes(QWidget *form);
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    static TVtQueryCollection *Reasons() { return dmEbsDataSets->xqcCaus; }
    static TVtQueryCollection *Links() { return dmEbsDataSets->xqcCauCca; }
    static TVtQueryCollection *Components() { return dmEbsDataSets->xqcCompCaus; }
    static QStringList ListedIds(TVtDBLookupEdit *lookup);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    TdmEbsDataSets *m_dataSets = nullptr;
    QList<QWidget *> m_windows;
};

namespace {
const int NoFlagsMode = 900;        // a payment mode for nothing
const int FreeSubtype = 150;        // an unused subtype of type 4
const int CashBookSubtype = 151;    // a subtype with cash-book totals
const int OwnerlessItem = 90;       // an item without owner in aggregate 2
const int OwnedSubItem = 91;        // its sub-item of owner 1
}

void TstFeeWindows::initTestCase()
{
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [] {
        TTestDatabase::Exec(u"INSERT INTO TMpg_ModPagam (iMpgId, sMpgDescS, sMpgDescL, lMpgRisc, lMpgPag) "
                            "VALUES (900, 'NUL', 'Per nulla', 0, 0)"_s);
        TTestDatabase::Exec(u"INSERT INTO TTcc_TipoCompCaus (iTccId, sTccSDesc, sTccLDesc, iTccId_P, dStart) "
                            "VALUES (150, 'LIBERA', 'Tipologia libera', 4, '2000-01-01')"_s);
        TTestDatabase::Exec(u"INSERT INTO TTcc_TipoCompCaus (iTccId, sTccSDesc, sTccLDesc, iTccId_P, dStart) "
                            "VALUES (151, 'CASSA', 'Tipologia con totali di cassa', 4, '2000-01-01')"_s);
        TTestDatabase::Exec(u"INSERT INTO TCaiTcc (iCaiId, iTccId) SELECT FIRST 1 iCaiId, 151 FROM TCai_CassaIst"_s);
        TTestDatabase::Exec(u"INSERT INTO TVpro_VociProgetti (iVproId, iCorId, iAggId, iDwgId, sVproCod, sVproDescS, "
                            "sVproDescL, dStart) VALUES (90, 3, 2, NULL, '90', 'Voce comune', 'Voce comune', '2024-01-01')"_s);
        TTestDatabase::Exec(u"INSERT INTO TSvo_SottoVoci (iSvoId, iCorId, iVproId, iDwgId, sSvoDescS, sSvoDescL, dStart) "
                            "VALUES (91, 3, 90, 1, '001', 'Sottovoce della scuola', '2024-01-01')"_s);
    });
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCaiTcc WHERE iTccId = 151"_s).toInt(), 1);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstFeeWindows::init()
{
    (*m_messages)->Clear();
    dmEbdConn = new TdmEbdConn;
    dmEbdConn->Settings = m_db->Fresh();
    QVERIFY(dmEbdConn->OpenConnection());
    SetWorkingContext(1, 2025, 2025, 2, 2024);
    m_dataSets = new TdmEbsDataSets;
}

void TstFeeWindows::cleanup()
{
    qDeleteAll(m_windows);
    m_windows.clear();
    delete m_dataSets;
    m_dataSets = nullptr;
    delete dmEbdConn;
    dmEbdConn = nullptr;
}

void TstFeeWindows::cleanupTestCase()
{
    m_db.reset();
}

// As the application's command module leaves them: income only, every row,
// no treasury amount.
void TstFeeWindows::SetModes(QWidget *form)
{
    auto *modes = dynamic_cast<TEbsFeeWindowModes *>(form);
    QVERIFY(modes);
    modes->SetFixedDirection(true);
    modes->SetShowAll(true);
    modes->SetShowTreasuryAmount(false);
}

TfmEbsCau *TstFeeWindows::OpenReasons()
{
    auto *w = qobject_cast<TfmEbsCau *>(TVtFormRegistry::CreateForm(u"TfmEbsCau"_s));
    m_windows << w;
    SetModes(w);
    w->show();
    return w;
}

TfmEbsCca *TstFeeWindows::OpenComponents()
{
    auto *w = qobject_cast<TfmEbsCca *>(TVtFormRegistry::CreateForm(u"TfmEbsCca"_s));
    m_windows << w;
    SetModes(w);
    w->show();
    return w;
}

// The keys a lookup offers with the filter it has now.
QStringList TstFeeWindows::ListedIds(TVtDBLookupEdit *lookup)
{
    QStringList ids;
    for (const QVariant &v : TTestDatabase::Column(TVtDBLookupEdit::ListSql(lookup->ListCommandText, lookup->AllCondition())))
        ids << v.toString();
    ids.sort();
    return ids;
}

// ---------------------------------------------------------------- payment modes

void TstFeeWindows::paymentModeFlagsAreDrawnAsSiNo()
{
    auto *w = qobject_cast<TfmEbsModPagamento *>(TVtFormRegistry::CreateForm(u"TfmEbsModPagamento"_s));
    m_windows << w;
    QCOMPARE(w->windowTitle(), u"Modalità di pagamento"_s);
    TVtQueryCollection *modes = dmEbsDataSets->xqcModPagam;
    QVERIFY(modes->Active());   // opened with the window
    TVtDBGrid *grid = w->frEbsModPagamento->grMain;
    QCOMPARE(grid->Columns().size(), 4);
    const int collect = grid->GridModel()->ColumnOfField(u"Riscossione"_s);
    const int pay = grid->GridModel()->ColumnOfField(u"Pagamento"_s);
    const QList<std::tuple<int, QString, QString>> expected{{1, u"SI"_s, u"NO"_s}, {NoFlagsMode, u"NO"_s, u"NO"_s},
                                                            {3, u"SI"_s, u"SI"_s}};
    for (const auto &[id, collects, pays] : expected) {
        QVERIFY(modes->Locate(u"IMPGID"_s, id));
        const int row = grid->ViewRow(modes->RecNo());
        QCOMPARE(grid->model()->index(row, collect).data().toString(), collects);
        QCOMPARE(grid->model()->index(row, pay).data().toString(), pays);
        QCOMPARE(grid->model()->index(row, pay).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    }
    w->close();
    QVERIFY(!modes->Active());   // closed with the window
}

void TstFeeWindows::newPaymentModeIsUpperCaseAndUnticked()
{
    auto *w = qobject_cast<TfmEbsModPagamento *>(TVtFormRegistry::CreateForm(u"TfmEbsModPagamento"_s));
    m_windows << w;
    TfrEbsModPagamento *fr = w->frEbsModPagamento;
    QVERIFY(fr->xacInsert->Execute());
    QVERIFY(!fr->ckRiscossione->Checked());
    QVERIFY(!fr->ckPagamento->Checked());
    TypeText(fr->xdeCodice, u"chq"_s);
    TypeText(fr->xdeDescrizione, u"Assegno circolare"_s);
    QVERIFY(fr->xacPost->Execute());
    const int id = dmEbsDataSets->xqcModPagam->FieldByName(u"IMPGID"_s)->AsInteger();
    QVERIFY(id >= 1000000);
    QCOMPARE(Db(u"SELECT sMpgDescS FROM TMpg_ModPagam WHERE iMpgId = ?"_s, {id}).toString(), u"CHQ"_s);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TMpg_ModPagam WHERE iMpgId = ? AND lMpgRisc = 0 AND lMpgPag = 0"_s, {id}).toInt(), 1);
    QCOMPARE(dmEbsDataSets->xqcModPagam->FieldByName(u"Riscossione"_s)->AsString(), u"NO"_s);
    // Ticking one flag shows in the list once saved.
    QVERIFY(fr->xacEdit->Execute());
    fr->ckPagamento->SetChecked(true);
    QVERIFY(fr->xacPost->Execute());
    QCOMPARE(Db(u"SELECT lMpgPag FROM TMpg_ModPagam WHERE iMpgId = ?"_s, {id}).toInt(), 1);
    QCOMPARE(dmEbsDataSets->xqcModPagam->FieldByName(u"Pagamento"_s)->AsString(), u"SI"_s);
}

void TstFeeWindows::paymentModesAreNotDeleted()
{
    auto *w = qobject_cast<TfmEbsModPagamento *>(TVtFormRegistry::CreateForm(u"TfmEbsModPagamento"_s));
    m_windows << w;
    TfrEbsModPagamento *fr = w->frEbsModPagamento;
    TVtQueryCollection *modes = dmEbsDataSets->xqcModPagam;
    QVERIFY(modes->Locate(u"IMPGID"_s, NoFlagsMode));
    QVERIFY(!fr->xacDelete->isVisible() && !fr->xacDelete->isEnabled());
    QVERIFY(!fr->xacTrash->isVisible());
    const int listed = modes->RecordCount();
    QVERIFY(!modes->Delete());   // reached by other means, still refused
    QCOMPARE((*m_messages)->Messages.size(), 1);
    QCOMPARE((*m_messages)->LastText(), u"Le modalità di pagamento non si possono cancellare."_s);
    QCOMPARE((*m_messages)->Messages.last().Type, mtInformation);
    QCOMPARE(modes->RecordCount(), listed);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TMpg_ModPagam WHERE iMpgId = ?"_s, {NoFlagsMode}).toInt(), 1);
}

// ---------------------------------------------------------------- typologies

void TstFeeWindows::newTypologyStartsTodayUnlocked()
{
    auto *w = qobject_cast<TfmEbsTipologie *>(TVtFormRegistry::CreateForm(u"TfmEbsTipologie"_s));
    m_windows << w;
    QCOMPARE(w->windowTitle(), u"Tipologie componenti causali"_s);
    TfrEbsTipologie *fr = w->frEbsTipologie;
    QVERIFY(w->xqcMaster->Active());
    QVERIFY(fr->xacInsert->Execute());
    TypeText(fr->xdeCodice, u"TRASP"_s);
    TypeText(fr->xdeDescrizione, u"Trasporto scolastico"_s);
    QVERIFY(fr->xdlTipologiaMadre->SetKeyValue(3));
    QCOMPARE(fr->xdlTipologiaMadre->Text(), u"Quote"_s);
    QVERIFY(fr->xacPost->Execute());
    const int id = w->xqcMaster->FieldByName(u"ITCCID"_s)->AsInteger();
    QCOMPARE(Db(u"SELECT dStart FROM TTcc_TipoCompCaus WHERE iTccId = ?"_s, {id}).toDate(), QDate::currentDate());
    QCOMPARE(Db(u"SELECT iLocked FROM TTcc_TipoCompCaus WHERE iTccId = ?"_s, {id}).toInt(), 0);
    QCOMPARE(Db(u"SELECT iTccId_P FROM TTcc_TipoCompCaus WHERE iTccId = ?"_s, {id}).toInt(), 3);
}

void TstFeeWindows::parentTypologyIsAFirstType()
{
    auto *w = qobject_cast<TfmEbsTipologie *>(TVtFormRegistry::CreateForm(u"TfmEbsTipologie"_s));
    m_windows << w;
    TfrEbsTipologie *fr = w->frEbsTipologie;
    QCOMPARE(ListedIds(fr->xdlTipologiaMadre), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s}));
    QVERIFY(w->xqcMaster->Locate(u"ITCCID"_s, FreeSubtype));
    QVERIFY(!fr->xdlTipologiaMadre->EffectiveReadOnly());
    QVERIFY(fr->xacEdit->Execute());
    QVERIFY(!fr->xdlTipologiaMadre->SetKeyValue(101));   // a subtype is no parent
    QVERIFY(!fr->xdlTipologiaMadre->SetKeyValue(5));
    QVERIFY(fr->xdlTipologiaMadre->SetKeyValue(2));
    // Without a parent it would hang from nothing.
    fr->xdlTipologiaMadre->SetText(QString());
    QVERIFY(!fr->xacPost->Execute());
    QCOMPARE(fr->xdlTipologiaMadre->ErrorText(), u"Il campo Tipologia madre è obbligatorio."_s);
    QCOMPARE(Db(u"SELECT iTccId_P FROM TTcc_TipoCompCaus WHERE iTccId = ?"_s, {FreeSubtype}).toInt(), 4);
    QVERIFY(fr->xacCancel->Execute());
    // A first type stays its own parent.
    QVERIFY(w->xqcMaster->Locate(u"ITCCID"_s, 2));
    QVERIFY(fr->xdlTipologiaMadre->EffectiveReadOnly());
}

void TstFeeWindows::typologyTreeStaysWhole()
{
    auto *w = qobject_cast<TfmEbsTipologie *>(TVtFormRegistry::CreateForm(u"TfmEbsTipologie"_s));
    m_windows << w;
    TVtQueryCollection *q = w->xqcMaster;
    const QList<QPair<int, QString>> refused{{3, u"Impossibile cancellare una tipologia di primo livello."_s},
                                             {301, u"Impossibile cancellare la tipologia in quanto è utilizzata."_s},
                                             {CashBookSubtype, u"Impossibile cancellare la tipologia in quanto è utilizzata."_s}};
    for (const auto &[id, text] : refused) {
        (*m_messages)->Clear();
        QVERIFY(q->Locate(u"ITCCID"_s, id));
        QVERIFY(!w->frEbsTipologie->xacDelete->Execute());
        QCOMPARE((*m_messages)->Texts(), QStringList{text});
        QCOMPARE(Db(u"SELECT COUNT(*) FROM TTcc_TipoCompCaus WHERE iTccId = ?"_s, {id}).toInt(), 1);
    }
    (*m_messages)->Clear();
    QVERIFY(q->Locate(u"ITCCID"_s, FreeSubtype));
    QVERIFY(w->frEbsTipologie->xacDelete->Execute());
    QVERIFY((*m_messages)->Texts().isEmpty());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TTcc_TipoCompCaus WHERE iTccId = ?"_s, {FreeSubtype}).toInt(), 0);
}

// ---------------------------------------------------------------- statement lists

void TstFeeWindows::linkStatementsKeepTheReasonInStep()
{
    TVtQueryCollection *reasons = Reasons();
    reasons->Params().ParamByName(u"iAnsId"_s)->SetValue(2024);
    reasons->Params().ParamByName(u"ShowAll"_s)->SetValue(1);
    reasons->Params().ParamByName(u"lCauTipo"_s)->SetValue(0);
    reasons->Open();
    // A reason with no components yet, of nobody.
    const int reason = TTestRow::Reason(u"NUOVA"_s, QDate(2024, 9, 1), QDate(2025, 8, 31)).Set(u"iDwgId"_s, QVariant()).Insert();
    reasons->Refresh();
    QVERIFY(reasons->Locate(u"ICAUID"_s, reason));
    QVERIFY(Links()->Active());
    QCOMPARE(Links()->RecordCount(), 0);
    QVERIFY(reasons->FieldByName(u"FCAUIMPORTOIST"_s)->IsNull());

    // Insert: the link, the reason's Vuvez, the reason's owner.
    auto link = [&](int component, const QVariant &owner) {
        Links()->Insert();
        Links()->FieldByName(u"ICCAID"_s)->SetValue(component);
        Links()->SetEditValue(TdmEbsDataSets::CauCcaOwner, owner);
        QVERIFY(Links()->Post());
    };
    link(2404, 1);   // MENSA1, visible
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCauCca WHERE iCauId = ? AND iCcaId = 2404 AND dStart = '2024-09-01' "
                "AND dEnd = '2025-08-31'"_s, {reason}).toInt(), 1);
    QCOMPARE(Db(u"SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = ?"_s, {reason}).toInt(), 1);
    QCOMPARE(Db(u"SELECT iDwgId FROM TCau_Causali WHERE iCauId = ?"_s, {reason}).toInt(), 1);
    // The reasons list was read again once stored: its totals and owner.
    QVERIFY(reasons->Locate(u"ICAUID"_s, reason));
    QCOMPARE(TVtMoney(reasons->FieldByName(u"FCAUIMPORTOIST"_s)->AsFloat()), TVtMoney::FromUnits(120));
    QCOMPARE(reasons->FieldByName(u"IDWGID"_s)->AsInteger(), 1);

    // Update: the link, then Vuvez (GITA is not visible).
    QVERIFY(Links()->Locate(u"ICCAID"_s, 2404));
    Links()->Edit();
    Links()->FieldByName(u"ICCAID"_s)->SetValue(2407);
    QVERIFY(Links()->Post());
    QCOMPARE(Db(u"SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = ?"_s, {reason}).toInt(), 0);
    // Delete: the link, then Vuvez (no component left: null).
    QVERIFY(Links()->Locate(u"ICCAID"_s, 2407));
    QVERIFY(Links()->Delete());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCauCca WHERE iCauId = ?"_s, {reason}).toInt(), 0);
    QVERIFY(Db(u"SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = ?"_s, {reason}).isNull());
}

void TstFeeWindows::failedLinkLeavesEverythingAsItWas()
{
    // The reason's owner update fails for one owner only.
    TTestDatabase::Exec(u"CREATE EXCEPTION EX_TEST_OWNER 'proprietario rifiutato'"_s);
    TTestDatabase::Exec(u"CREATE TRIGGER TR_TEST_OWNER FOR TCau_Causali BEFORE UPDATE AS BEGIN "
                        "IF (NEW.iDwgId = 99) THEN EXCEPTION EX_TEST_OWNER; END"_s);
    TfmEbsCau *w = OpenReasons();
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, 2402));
    const int rec = Reasons()->RecNo();
    const int links = Links()->RecordCount();
    QVERIFY(w->frEbsCauCca->xacInsert->Execute());
    QVERIFY(w->frEbsCauCca->xdlCodice->SetKeyValue(2407));
    Links()->SetEditValue(TdmEbsDataSets::CauCcaOwner, 99);
    QVERIFY(!w->frEbsCauCca->xacPost->Execute());
    QVERIFY((*m_messages)->LastText().startsWith(u"Impossibile salvare i dati:"_s));
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCauCca WHERE iCauId = 2402"_s).toInt(), 3);
    QCOMPARE(Db(u"SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = 2402"_s).toInt(), 1);
    // The reasons list did not move, and the link is still there to correct.
    QCOMPARE(Reasons()->State(), dsBrowse);
    QCOMPARE(Reasons()->RecNo(), rec);
    QCOMPARE(Reasons()->FieldByName(u"ICAUID"_s)->AsInteger(), 2402);
    QCOMPARE(Links()->State(), dsInsert);
    QCOMPARE(Links()->FieldByName(u"ICCAID"_s)->AsInteger(), 2407);
    QVERIFY(w->frEbsCauCca->xacCancel->Execute());
    QCOMPARE(Links()->RecordCount(), links);
}

void TstFeeWindows::componentsWindowTwiceInsertsOnce()
{
    TfmEbsCca *first = OpenComponents();
    first->close();
    TfmEbsCca *w = OpenComponents();
    TfrEbcCca *fr = w->frEbcCca;
    QVERIFY(fr->xacInsert->Execute());
    TypeText(fr->xdeDescrizione, u"Laboratorio di musica"_s);
    TypeText(fr->xdeCodice, u"MUSICA"_s);
    QVERIFY(fr->xdlTipo->SetKeyValue(401));
    fr->xneImportoIst->SetNumber(12.5);
    fr->xddScadenza->SetDate(QDate(2025, 2, 28));
    QVERIFY(fr->xacPost->Execute());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCca_CompCausali WHERE sCcaSDesc = 'MUSICA'"_s).toInt(), 1);
    QCOMPARE(Db(u"SELECT dStart FROM TCca_CompCausali WHERE sCcaSDesc = 'MUSICA'"_s).toDate(), QDate(2024, 9, 1));
    QCOMPARE(Db(u"SELECT lCcaTipo FROM TCca_CompCausali WHERE sCcaSDesc = 'MUSICA'"_s).toInt(), 0);
    QCOMPARE(Db(u"SELECT fCcaImportoIst FROM TCca_CompCausali WHERE sCcaSDesc = 'MUSICA'"_s).toDouble(), 12.5);
}

// ---------------------------------------------------------------- reasons window

void TstFeeWindows::reasonsOfTheYearWithTheirTotals()
{
    TfmEbsCau *w = OpenReasons();
    QCOMPARE(w->windowTitle(), u"Causali"_s);
    QVERIFY(w->tcTipo->isHidden());   // income only
    QStringList ids;
    for (const QVariant &v : TTestDatabase::Column(u"SELECT iCauId FROM TCau_Causali WHERE dStart = '2024-09-01' AND lCauTipo = 0"_s))
        ids << v.toString();
    QCOMPARE(Reasons()->RecordCount(), ids.size());
    const QList<QPair<int, QString>> totals{{2401, u"54,50"_s}, {2402, u"350,00"_s}, {2403, u"35,00"_s}, {2404, u"0,00"_s}};
    for (const auto &[id, total] : totals) {
        QVERIFY(Reasons()->Locate(u"ICAUID"_s, id));
        QCOMPARE(w->frEbsCau->xneImportoIst->Text(), total);
        QCOMPARE(w->frEbsCau->xdeAnsDesc->Text(), u"2024/2025"_s);
    }
    QVERIFY(!Reasons()->Locate(u"ICAUID"_s, 2405));   // an expense reason
    QVERIFY(!Reasons()->Locate(u"ICAUID"_s, 2501));   // of the next year
    QVERIFY(w->frEbsCau->xneImportoIst->EffectiveReadOnly());
    QVERIFY(w->frEbsCau->xdeAnsDesc->EffectiveReadOnly());
    QVERIFY(w->frEbsCau->xneImportoEra->isHidden());
    w->SetShowTreasuryAmount(true);
    QVERIFY(!w->frEbsCau->xneImportoEra->isHidden());
    QCOMPARE(w->frEbsCau->xneImportoEra->Text(), u"15,13"_s);   // 2404, the tax
    // The components of the selected reason follow it.
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, 2402));
    QCOMPARE(Links()->RecordCount(), 3);
    w->close();
    QVERIFY(!Reasons()->Active() && !Links()->Active());
}

void TstFeeWindows::vuvezFollowsTheComponents()
{
    TfmEbsCau *w = OpenReasons();
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, 2402));
    QCOMPARE(Db(u"SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = 2402"_s).toInt(), 1);
    QVERIFY(w->frEbsCauCca->xacInsert->Execute());
    QVERIFY(w->frEbsCauCca->xdlCodice->SetKeyValue(2407));   // GITA, not visible
    QCOMPARE(w->frEbsCauCca->xdeDescrizione->Text(), u"Uscita didattica di primavera"_s);
    QCOMPARE(w->frEbsCauCca->xneImportoIst->Text(), u"35,00"_s);
    QVERIFY(w->frEbsCauCca->xacPost->Execute());
    QCOMPARE(Db(u"SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = 2402"_s).toInt(), 0);
    // The totals were read again without losing the reason.
    QCOMPARE(Reasons()->FieldByName(u"ICAUID"_s)->AsInteger(), 2402);
    QCOMPARE(w->frEbsCau->xneImportoIst->Text(), u"385,00"_s);
    QCOMPARE(Links()->RecordCount(), 4);
    QVERIFY(Links()->Locate(u"ICCAID"_s, 2407));
    QVERIFY(w->frEbsCauCca->xacDelete->Execute());
    QCOMPARE(Db(u"SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = 2402"_s).toInt(), 1);
    QCOMPARE(w->frEbsCau->xneImportoIst->Text(), u"350,00"_s);
}

void TstFeeWindows::newReasonGetsItsFirstComponent()
{
    TfmEbsCau *w = OpenReasons();
    QVERIFY(w->frEbsCau->xacInsert->Execute());
    TypeText(w->frEbsCau->xdeDescrizione, u"Corso di nuoto"_s);
    TypeText(w->frEbsCau->xdeCodice, u"NUOTO"_s);
    QVERIFY(w->frEbsCau->xacPost->Execute());
    const int reason = Reasons()->FieldByName(u"ICAUID"_s)->AsInteger();
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCau_Causali WHERE iCauId = ? AND lCauTipo = 0 AND lCauVuvez = 1 AND "
                "dStart = '2024-09-01' AND dEnd = '2025-08-31' AND iDwgId IS NULL"_s, {reason}).toInt(), 1);
    // The first link is started at once and cannot be abandoned.
    QCOMPARE(Links()->State(), dsInsert);
    QVERIFY(w->frEbsCauCca->xacCancel->Locked());
    QVERIFY(!w->frEbsCauCca->xacCancel->isEnabled());
    QCOMPARE(w->frEbsCauCca->FilterOwner(), -1);   // any owner's components
    const QStringList any = ListedIds(w->frEbsCauCca->xdlCodice);
    QVERIFY(any.contains(u"2408"_s) && any.contains(u"2404"_s));   // ownerless and owner 1
    QVERIFY(!w->CloseQuery());
    QCOMPARE((*m_messages)->LastText(), u"Almeno un componente deve essere associato alla causale."_s);
    QCOMPARE((*m_messages)->Messages.last().Type, mtError);
    QVERIFY(w->frEbsCauCca->xdlCodice->SetKeyValue(2404));
    QVERIFY(w->frEbsCauCca->xacPost->Execute());
    QVERIFY(!w->frEbsCauCca->xacCancel->Locked());
    QCOMPARE(Db(u"SELECT iDwgId FROM TCau_Causali WHERE iCauId = ?"_s, {reason}).toInt(), 1);
    // From now on only the owner's components.
    QCOMPARE(Reasons()->FieldByName(u"ICAUID"_s)->AsInteger(), reason);
    QCOMPARE(w->frEbsCauCca->FilterOwner(), 1);
    for (const QString &id : ListedIds(w->frEbsCauCca->xdlCodice))
        QCOMPARE(Db(u"SELECT iDwgId FROM TCca_CompCausali WHERE iCcaId = ?"_s, {id.toInt()}).toInt(), 1);
    QVERIFY(w->frEbsCauCca->xacInsert->Execute());
    QVERIFY(!w->frEbsCauCca->xdlCodice->SetKeyValue(2408));   // ownerless
    QVERIFY(w->frEbsCauCca->xacCancel->Execute());            // a second link may be abandoned
    QVERIFY(w->CloseQuery());
}

void TstFeeWindows::ownerlessReasonOffersOwnerlessComponents()
{
    TfmEbsCau *w = OpenReasons();
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, 2404));   // TASSE: ownerless, one ownerless component
    QCOMPARE(w->frEbsCauCca->FilterOwner(), 0);
    const QStringList ids = ListedIds(w->frEbsCauCca->xdlCodice);
    QVERIFY(!ids.isEmpty());
    for (const QString &id : ids)
        QVERIFY(Db(u"SELECT iDwgId FROM TCca_CompCausali WHERE iCcaId = ?"_s, {id.toInt()}).isNull());
    QVERIFY(w->frEbsCauCca->xdlCodice->EffectiveReadOnly());   // 2404 is in use
}

void TstFeeWindows::reasonsInUseKeepTheirComponents()
{
    TfmEbsCau *w = OpenReasons();
    TfrEbsCauCca *links = w->frEbsCauCca;
    for (int used : {2401, 2404}) {
        QVERIFY(Reasons()->Locate(u"ICAUID"_s, used));
        for (TVtDataAction *a : {links->xacInsert, links->xacEdit, links->xacDelete})
            QVERIFY2(a->Locked() && !a->isEnabled(), qPrintable(a->objectName()));
        QVERIFY(links->xdlCodice->EffectiveReadOnly());
    }
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, 2402));
    for (TVtDataAction *a : {links->xacInsert, links->xacEdit, links->xacDelete})
        QVERIFY2(!a->Locked() && a->isEnabled(), qPrintable(a->objectName()));
    QVERIFY(!links->xdlCodice->ReadOnly());
    // A reason keeps its last component.
    const int reason = TTestRow::Reason(u"UNO"_s, QDate(2024, 9, 1), QDate(2025, 8, 31)).Insert();
    TTestRow::ReasonComponent(reason, 2403).Insert();
    Reasons()->Refresh();
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, reason));
    QCOMPARE(Links()->RecordCount(), 1);
    QVERIFY(!links->xacDelete->isEnabled());
}

void TstFeeWindows::editingAReasonInUseAsks()
{
    const QString question = u"Le modifiche apportate alla causale si propagheranno a tutti\r\ni movimenti sui conti "
                             "dell'istituto e/o versamenti sul Registro Tasse\r\ncollegati ad essa.\r\nProcedere?"_s;
    TfmEbsCau *w = OpenReasons();
    TfrEbsCau *fr = w->frEbsCau;
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, 2401));
    QVERIFY(fr->xacEdit->Execute());
    TypeText(fr->xdeDescrizione, u"Contributo scolastico 2024"_s);
    (*m_messages)->Answers << mrNo;
    fr->xdeDescrizione->CommitPending();
    QCOMPARE((*m_messages)->Texts(), QStringList{question});
    QCOMPARE((*m_messages)->Messages.last().Type, mtConfirmation);
    QCOMPARE(Reasons()->State(), dsBrowse);   // No cancels the edit
    QCOMPARE(Db(u"SELECT sCauLDesc FROM TCau_Causali WHERE iCauId = 2401"_s).toString(), u"Contributo scolastico"_s);
    // Yes lets it through, asked once.
    (*m_messages)->Clear();
    QVERIFY(fr->xacEdit->Execute());
    TypeText(fr->xdeDescrizione, u"Contributo scolastico 2024"_s);
    TypeText(fr->xdeCodice, u"CONTR24"_s);
    (*m_messages)->Answers << mrYes;
    QVERIFY(fr->xacPost->Execute());
    QCOMPARE((*m_messages)->Texts(), QStringList{question});
    QCOMPARE(Db(u"SELECT sCauSDesc FROM TCau_Causali WHERE iCauId = 2401"_s).toString(), u"CONTR24"_s);
    // A reason nobody uses is changed without a question.
    (*m_messages)->Clear();
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, 2402));
    QVERIFY(fr->xacEdit->Execute());
    TypeText(fr->xdeDescrizione, u"Mensa"_s);
    QVERIFY(fr->xacPost->Execute());
    QVERIFY((*m_messages)->Texts().isEmpty());
    QCOMPARE(Db(u"SELECT sCauLDesc FROM TCau_Causali WHERE iCauId = 2402"_s).toString(), u"Mensa"_s);
    // Both fields are required.
    QVERIFY(fr->xacEdit->Execute());
    TypeText(fr->xdeCodice, QString());
    QVERIFY(!fr->xacPost->Execute());
    QCOMPARE(fr->xdeCodice->ErrorText(), u"Il campo Codice è obbligatorio."_s);
}

void TstFeeWindows::closingRefusedForAReasonWithoutComponents()
{
    const int reason = TTestRow::Reason(u"VUOTA"_s, QDate(2024, 9, 1), QDate(2025, 8, 31)).Insert();
    TfmEbsCau *w = OpenReasons();
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, reason));
    QVERIFY(Reasons()->FieldByName(u"FCAUIMPORTOIST"_s)->IsNull());
    QVERIFY(!w->close());
    QVERIFY(w->isVisible());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Almeno un componente deve essere associato alla causale."_s});
    QCOMPARE(Links()->State(), dsInsert);
    QVERIFY(w->frEbsCauCca->xacCancel->Locked());
    QVERIFY(w->frEbsCauCca->xdlCodice->SetKeyValue(2403));
    QVERIFY(w->frEbsCauCca->xacPost->Execute());
    QVERIFY(w->close());
}

void TstFeeWindows::sortedGridEditsTheChosenRow()
{
    TfmEbsCau *w = OpenReasons();
    TVtDBGrid *grid = w->frEbsCau->grMain;
    QVERIFY(grid->Sortable());
    grid->SortByColumn(grid->GridModel()->ColumnOfField(u"SCAULDESC"_s), Qt::DescendingOrder);
    QVERIFY(grid->SelectViewRow(0));
    // "Uscita didattica" comes first going down.
    QCOMPARE(Reasons()->FieldByName(u"ICAUID"_s)->AsInteger(), 2403);
    QVERIFY(w->frEbsCau->xacEdit->Execute());
    TypeText(w->frEbsCau->xdeCodice, u"GITA2"_s);
    (*m_messages)->Answers << mrYes;   // 2403 is in use
    QVERIFY(w->frEbsCau->xacPost->Execute());
    QCOMPARE(Db(u"SELECT sCauSDesc FROM TCau_Causali WHERE iCauId = 2403"_s).toString(), u"GITA2"_s);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCau_Causali WHERE sCauSDesc = 'GITA2'"_s).toInt(), 1);
}

void TstFeeWindows::reasonsAreNotDeleted()
{
    TfmEbsCau *w = OpenReasons();
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, 2402));
    QVERIFY(!w->frEbsCau->xacDelete->isVisible() && !w->frEbsCau->xacDelete->isEnabled());
    const int listed = Reasons()->RecordCount();
    QVERIFY(!Reasons()->Delete());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Le causali non si possono cancellare."_s});
    QCOMPARE((*m_messages)->Messages.last().Type, mtInformation);
    QCOMPARE(Reasons()->RecordCount(), listed);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCau_Causali WHERE iCauId = 2402"_s).toInt(), 1);
}

void TstFeeWindows::duplicateLinkRefused()
{
    TfmEbsCau *w = OpenReasons();
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, 2402));
    QVERIFY(w->frEbsCauCca->xacInsert->Execute());
    QVERIFY(!w->frEbsCauCca->xdlCodice->SetKeyValue(2405));   // MENSA2, already there
    QCOMPARE(w->frEbsCauCca->xdlCodice->ErrorText(), u"Il componente è già associato alla causale."_s);
    QVERIFY(w->frEbsCauCca->xacCancel->Execute());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCauCca WHERE iCauId = 2402 AND iCcaId = 2405"_s).toInt(), 1);
    // Changing a link to itself is no double.
    QVERIFY(Links()->Locate(u"ICCAID"_s, 2405));
    QVERIFY(w->frEbsCauCca->xacEdit->Execute());
    QVERIFY(w->frEbsCauCca->xdlCodice->SetKeyValue(2405));
    QVERIFY(w->frEbsCauCca->xacPost->Execute());
}

void TstFeeWindows::directionTabs()
{
    auto *w = qobject_cast<TfmEbsCau *>(TVtFormRegistry::CreateForm(u"TfmEbsCau"_s));
    m_windows << w;
    w->SetFixedDirection(false);
    w->show();
    QVERIFY(!w->tcTipo->isHidden());
    QCOMPARE(w->tcTipo->tabText(0), u"Causali di &entrata"_s);
    QCOMPARE(w->tcTipo->tabText(1), u"Causali di &uscita"_s);
    w->tcTipo->setCurrentIndex(1);
    QCOMPARE(w->Direction(), 1);
    QCOMPARE(Reasons()->RecordCount(), 1);
    QCOMPARE(Reasons()->FieldByName(u"ICAUID"_s)->AsInteger(), 2405);
    QVERIFY(ListedIds(w->frEbsCauCca->xdlCodice).contains(u"2409"_s));   // expense components
    // Not while a reason is being written.
    QVERIFY(w->frEbsCau->xacEdit->Execute());
    w->tcTipo->setCurrentIndex(0);
    QCOMPARE(w->tcTipo->currentIndex(), 1);
    QCOMPARE(w->Direction(), 1);
    QVERIFY(w->frEbsCau->xacCancel->Execute());
    w->tcTipo->setCurrentIndex(0);
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, 2401));
}

// ---------------------------------------------------------------- components window

void TstFeeWindows::componentRequiredFields()
{
    TfmEbsCca *w = OpenComponents();
    QCOMPARE(w->windowTitle(), u"Componenti di causali"_s);
    TfrEbcCca *fr = w->frEbcCca;
    QVERIFY(fr->xacInsert->Execute());
    QCOMPARE(fr->xdeAnsDesc->Text(), u"2024/2025"_s);
    QVERIFY(!fr->ckVuvez->Checked());
    const QList<QPair<TVtDBControl *, QString>> steps{{fr->xdeDescrizione, u"Il campo Descrizione è obbligatorio."_s},
                                                      {fr->xdeCodice, u"Il campo Codice è obbligatorio."_s},
                                                      {fr->xdlTipo, u"Il campo Tipo è obbligatorio."_s},
                                                      {fr->xddScadenza, u"Il campo Data scadenza è obbligatorio."_s}};
    for (const auto &[control, text] : steps) {
        QVERIFY(!fr->xacPost->Execute());
        QCOMPARE(control->ErrorText(), text);
        if (control == fr->xdeDescrizione)
            TypeText(fr->xdeDescrizione, u"Pre-scuola di febbraio"_s);
        else if (control == fr->xdeCodice)
            TypeText(fr->xdeCodice, u"PREFEB"_s);
        else if (control == fr->xdlTipo)
            QVERIFY(fr->xdlTipo->SetKeyValue(303));
        else
            fr->xddScadenza->SetDate(QDate(2025, 2, 1));
    }
    QVERIFY(fr->xacPost->Execute());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCca_CompCausali WHERE sCcaSDesc = 'PREFEB' AND lCcaVuvez = 0 AND "
                "dCcaDataScadenza = '2025-02-01' AND iTccId = 303 AND iDwgId IS NULL"_s).toInt(), 1);
}

void TstFeeWindows::componentInUseKeepsItsAmounts()
{
    TfmEbsCca *w = OpenComponents();
    TfrEbcCca *fr = w->frEbcCca;
    QVERIFY(Components()->Locate(u"ICCAID"_s, 2401));   // CONVOL of a reason with movements
    QVERIFY(fr->InUse());
    for (TVtDBControl *c : std::initializer_list<TVtDBControl *>{fr->xneImportoIst, fr->xneImportoEra, fr->ckVuvez})
        QVERIFY(c->EffectiveReadOnly());
    QVERIFY(!fr->xdlAggregato->EffectiveReadOnly());
    QVERIFY(!fr->xdlVoce->EffectiveReadOnly());
    QVERIFY(fr->xacEdit->Execute());
    QVERIFY(fr->xdlVoce->SetKeyValue(2));   // its classification may be corrected
    QVERIFY(fr->xacPost->Execute());
    QCOMPARE(Db(u"SELECT iVproId FROM TCca_CompCausali WHERE iCcaId = 2401"_s).toInt(), 2);
    QVERIFY(fr->InUse());   // still, after the save
    QVERIFY(Components()->Locate(u"ICCAID"_s, 2404));   // MENSA1: its reason is free
    QVERIFY(!fr->InUse());
    QVERIFY(!fr->xneImportoIst->EffectiveReadOnly());
    QVERIFY(!fr->ckVuvez->EffectiveReadOnly());
}

void TstFeeWindows::typologyPair()
{
    TfmEbsCca *w = OpenComponents();
    TfrEbcCca *fr = w->frEbcCca;
    QVERIFY(Components()->Locate(u"ICCAID"_s, 2404));
    QCOMPARE(fr->xdlTipo->Text(), u"Quote"_s);
    QCOMPARE(fr->xdlSottotipo->Text(), u"Mensa"_s);
    QVERIFY(fr->xdlSottotipo->EffectiveReadOnly());
    QVERIFY(fr->xacEdit->Execute());
    QVERIFY(!fr->xdlTipo->SetKeyValue(304));   // closed before 2024/2025
    QVERIFY(fr->xdlTipo->SetKeyValue(302));
    QCOMPARE(fr->xdlTipo->Text(), u"Quote"_s);
    QCOMPARE(fr->xdlSottotipo->Text(), u"Uscite e viaggi di istruzione"_s);
    QVERIFY(fr->xdlTipo->SetKeyValue(2));       // a first type: no subtype
    QCOMPARE(fr->xdlTipo->Text(), u"Contributi"_s);
    QCOMPARE(fr->xdlSottotipo->Text(), QString());
    QVERIFY(fr->xacCancel->Execute());
    QCOMPARE(fr->xdlSottotipo->Text(), u"Mensa"_s);
    QStringList offered = ListedIds(fr->xdlTipo);
    QVERIFY(offered.contains(u"301"_s) && offered.contains(u"1"_s) && !offered.contains(u"304"_s));
}

void TstFeeWindows::ownerFromTheClassification()
{
    TfmEbsCca *w = OpenComponents();
    TfrEbcCca *fr = w->frEbcCca;
    QVERIFY(fr->xacInsert->Execute());
    QVERIFY(fr->CurrentOwner().isNull());
    TypeText(fr->xdeDescrizione, u"Contributo laboratori"_s);
    TypeText(fr->xdeCodice, u"CLAB"_s);
    QVERIFY(fr->xdlTipo->SetKeyValue(201));
    fr->xddScadenza->SetDate(QDate(2024, 12, 15));
    QVERIFY(!fr->xdlVoce->SetKeyValue(1));      // no aggregate yet: no items
    QVERIFY(fr->xdlAggregato->SetKeyValue(3));  // of the school
    QCOMPARE(fr->CurrentOwner().toInt(), 1);
    QVERIFY(fr->xdlVoce->SetKeyValue(1));
    QVERIFY(fr->xdlSottovoce->SetKeyValue(2));
    QCOMPARE(fr->CurrentOwner().toInt(), 1);
    // Another aggregate: the item of the first no longer applies.
    QVERIFY(fr->xdlAggregato->SetKeyValue(2));   // common to all
    QVERIFY(fr->CurrentOwner().isNull());
    QVERIFY(fr->xdlVoce->KeyValue().isNull());
    QVERIFY(fr->xdlSottovoce->KeyValue().isNull());
    QVERIFY(fr->xdlVoce->SetKeyValue(OwnerlessItem));
    QVERIFY(fr->xdlSottovoce->SetKeyValue(OwnedSubItem));
    QVERIFY(fr->CurrentOwner().isNull());   // the item's owner, not the sub-item's
    QVERIFY(fr->xacPost->Execute());
    QVERIFY(Db(u"SELECT iDwgId FROM TCca_CompCausali WHERE sCcaSDesc = 'CLAB'"_s).isNull());
    QCOMPARE(Db(u"SELECT iSvoId FROM TCca_CompCausali WHERE sCcaSDesc = 'CLAB'"_s).toInt(), OwnedSubItem);
    // The update writes the owner worked out again.
    QVERIFY(fr->xacEdit->Execute());
    QVERIFY(fr->xdlAggregato->SetKeyValue(3));
    QVERIFY(fr->xacPost->Execute());
    QCOMPARE(Db(u"SELECT iDwgId FROM TCca_CompCausali WHERE sCcaSDesc = 'CLAB'"_s).toInt(), 1);
    QVERIFY(Db(u"SELECT iVproId FROM TCca_CompCausali WHERE sCcaSDesc = 'CLAB'"_s).isNull());
    // An expense component has no sub-item and no Vuvez flag.
    w->SetFixedDirection(false);
    w->tcTipo->setCurrentIndex(1);
    QVERIFY(fr->xdlSottovoce->isHidden());
    QVERIFY(fr->ckVuvez->isHidden());
    QVERIFY(ListedIds(fr->xdlAggregato).contains(u"6"_s));
    QVERIFY(!ListedIds(fr->xdlAggregato).contains(u"3"_s));
}

void TstFeeWindows::componentsVisibleToFeeCollectionOnly()
{
    TfmEbsCca *w = OpenComponents();
    w->SetShowAll(false);
    QVERIFY(w->frEbcCca->ckVuvez->isHidden());
    QCOMPARE(Components()->RecordCount(),
             Db(u"SELECT COUNT(*) FROM TCca_CompCausali WHERE dStart = '2024-09-01' AND lCcaTipo = 0 AND lCcaVuvez = 1"_s).toInt());
    QVERIFY(!Components()->Locate(u"ICCAID"_s, 2407));   // GITA is not visible
    TfrEbcCca *fr = w->frEbcCca;
    QVERIFY(fr->xacInsert->Execute());
    TypeText(fr->xdeDescrizione, u"Diario di classe"_s);
    TypeText(fr->xdeCodice, u"DIARIO2"_s);
    QVERIFY(fr->xdlTipo->SetKeyValue(401));
    fr->xddScadenza->SetDate(QDate(2024, 10, 31));
    QVERIFY(fr->xacPost->Execute());
    QCOMPARE(Db(u"SELECT lCcaVuvez FROM TCca_CompCausali WHERE sCcaSDesc = 'DIARIO2'"_s).toInt(), 1);
    w->SetShowAll(true);
    QVERIFY(!fr->ckVuvez->isHidden());
    QVERIFY(Components()->Locate(u"ICCAID"_s, 2407));
}

void TstFeeWindows::componentFlagReachesItsReasons()
{
    TfmEbsCca *w = OpenComponents();
    TfrEbcCca *fr = w->frEbcCca;
    QVERIFY(Components()->Locate(u"ICCAID"_s, 2404));   // MENSA1 of 2402
    QVERIFY(fr->xacEdit->Execute());
    fr->ckVuvez->SetChecked(false);
    QVERIFY(fr->xacPost->Execute());
    QCOMPARE(Db(u"SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = 2402"_s).toInt(), 0);
    QCOMPARE(Db(u"SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = 2401"_s).toInt(), 1);   // not its reason
    QVERIFY(fr->xacEdit->Execute());
    fr->ckVuvez->SetChecked(true);
    QVERIFY(fr->xacPost->Execute());
    QCOMPARE(Db(u"SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = 2402"_s).toInt(), 1);
}

void TstFeeWindows::componentDeleteRefusals()
{
    const int billed = TTestRow::Component(u"BILLED"_s, TVtMoney::FromUnits(5), QDate(2024, 9, 1), QDate(2025, 8, 31))
                           .Set(u"iTccId"_s, 401).Insert();
    const int holderReason = Db(u"SELECT FIRST 1 iAcbCauId FROM TAcbCau"_s).toInt();
    TTestRow::Instalment(holderReason, billed, TVtMoney::FromUnits(5), QDate(2024, 12, 1)).Insert();
    const int free = TTestRow::Component(u"FREE"_s, TVtMoney::FromUnits(5), QDate(2024, 9, 1), QDate(2025, 8, 31))
                         .Set(u"iTccId"_s, 401).Insert();
    TfmEbsCca *w = OpenComponents();
    TfrEbcCca *fr = w->frEbcCca;
    const QList<QPair<int, QString>> refused{
        {2404, u"Impossibile cancellare il componente in quanto è associato ad almeno una causale."_s},
        {billed, u"Impossibile cancellare il componente in quanto è presente in rate degli alunni."_s}};
    for (const auto &[id, text] : refused) {
        (*m_messages)->Clear();
        QVERIFY(Components()->Locate(u"ICCAID"_s, id));
        QVERIFY(!fr->xacDelete->Execute());
        QCOMPARE((*m_messages)->Texts(), QStringList{text});
        QCOMPARE(Db(u"SELECT COUNT(*) FROM TCca_CompCausali WHERE iCcaId = ?"_s, {id}).toInt(), 1);
    }
    (*m_messages)->Clear();
    QVERIFY(Components()->Locate(u"ICCAID"_s, free));
    QVERIFY(fr->xacDelete->Execute());
    QVERIFY((*m_messages)->Texts().isEmpty());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCca_CompCausali WHERE iCcaId = ?"_s, {free}).toInt(), 0);
}

void TstFeeWindows::lockedRowsCannotBeEdited()
{
    TTestDatabase::Exec(u"UPDATE TCca_CompCausali SET iLocked = 1 WHERE iCcaId = 2405"_s);
    TTestDatabase::Exec(u"UPDATE TMpg_ModPagam SET iLocked = 1 WHERE iMpgId = 2"_s);
    TfmEbsCca *w = OpenComponents();
    TfrEbcCca *fr = w->frEbcCca;
    QVERIFY(Components()->Locate(u"ICCAID"_s, 2405));
    QVERIFY(!fr->xacEdit->isEnabled() && !fr->xacDelete->isEnabled());
    // Typing into the detail page does not start an edit either.
    TypeText(fr->xdeCodice, u"X"_s);
    fr->xdeCodice->CommitPending();
    QCOMPARE(Components()->State(), dsBrowse);
    QCOMPARE(Db(u"SELECT sCcaSDesc FROM TCca_CompCausali WHERE iCcaId = 2405"_s).toString(), u"MENSA2"_s);
    QVERIFY(Components()->Locate(u"ICCAID"_s, 2406));
    QVERIFY(fr->xacEdit->isEnabled() && fr->xacDelete->isEnabled());

    auto *modes = qobject_cast<TfmEbsModPagamento *>(TVtFormRegistry::CreateForm(u"TfmEbsModPagamento"_s));
    m_windows << modes;
    QVERIFY(dmEbsDataSets->xqcModPagam->Locate(u"IMPGID"_s, 2));
    QVERIFY(!modes->frEbsModPagamento->xacEdit->isEnabled());
    QVERIFY(dmEbsDataSets->xqcModPagam->Locate(u"IMPGID"_s, 3));
    QVERIFY(modes->frEbsModPagamento->xacEdit->isEnabled());
}

// ---------------------------------------------------------------- duplication dialog

void TstFeeWindows::duplicationDialogSourceYear()
{
    SetWorkingContext(1, 2024, 2025, 2, 2025);
    {
        TfmEbsDuplicaCausali dlg;
        QCOMPARE(dlg.windowTitle(), u"Duplica Causali"_s);
        QCOMPARE(dlg.cbAnno->currentData().toInt(), 2024);   // the application's year
        dlg.SetSource(0, true, 2024);
        QCOMPARE(dlg.SourceAnsId(), 2024);
        // 2024/2025's reasons that 2025/2026 lacks.
        QStringList listed;
        for (int i = 0; i < dlg.lvCausali->topLevelItemCount(); ++i)
            listed << dlg.lvCausali->topLevelItem(i)->text(1);
        listed.sort();
        QCOMPARE(listed, (QStringList{u"2403"_s, u"2404"_s}));
        QCOMPARE(dlg.lvCausali->headerItem()->text(0), u"Causale"_s);
        QCOMPARE(dlg.lvCausali->headerItem()->text(1), u"IdCausale"_s);
        QCOMPARE(dlg.lbAnteprima->text(), u"Anteprima delle causali da creare nell'anno scolastico 2025/2026"_s);
        QCOMPARE(dlg.grAnteprima->rowCount(), 0);
    }
    {
        // No year before the first: no selection, an empty list.
        TfmEbsDuplicaCausali dlg;
        dlg.SetSource(0, true, 2019);
        QCOMPARE(dlg.cbAnno->currentIndex(), -1);
        QCOMPARE(dlg.lvCausali->topLevelItemCount(), 0);
        dlg.cbAnno->setCurrentIndex(dlg.cbAnno->findData(2024));
        QCOMPARE(dlg.lvCausali->topLevelItemCount(), 2);
    }
    // From the reasons window: the year before the reasons' year.
    TfmEbsCau *w = OpenReasons();
    QTimer::singleShot(0, [] {
        auto *dlg = qobject_cast<TfmEbsDuplicaCausali *>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        QCOMPARE(dlg->SourceAnsId(), 2024);
        QCOMPARE(dlg->lvCausali->topLevelItemCount(), 2);
        dlg->reject();
    });
    QVERIFY(w->frEbsCau->acDuplica->isEnabled());
    w->frEbsCau->acDuplica->trigger();
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCau_Causali WHERE dStart = '2025-09-01'"_s).toInt(), 3);   // Cancel wrote nothing
}

void TstFeeWindows::duplicationDialogCopies()
{
    SetWorkingContext(1, 2025, 2025, 2, 2025);
    TfmEbsCau *w = OpenReasons();
    const int before = Reasons()->RecordCount();
    TfmEbsDuplicaCausali dlg(w);
    dlg.SetSource(0, true, 2024);
    // OK with nothing ticked only refreshes.
    dlg.OkClick();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCau_Causali WHERE dStart = '2025-09-01'"_s).toInt(), 3);
    dlg.setResult(0);

    QVERIFY(dlg.SetTicked(2403, true));
    QVERIFY(dlg.SetTicked(2404, true));
    QCOMPARE(dlg.grAnteprima->rowCount(), 2);
    QCOMPARE(dlg.lbRiepilogo->text(),
             u"Causali da creare: 2   Componenti nuovi: 2   Componenti già presenti: 0   Importo istituto totale: 35,00"_s);
    QCOMPARE(dlg.grAnteprima->item(0, 4)->text() + dlg.grAnteprima->item(1, 4)->text(), u"20/03/202630/11/2025"_s);
    QCOMPARE(dlg.grAnteprima->item(0, 5)->text(), u"nuovo"_s);
    QCOMPARE(dlg.grAnteprima->item(0, 3)->text(), u"35,00"_s);
    dlg.OkClick();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QVERIFY((*m_messages)->Texts().isEmpty());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCau_Causali WHERE dStart = '2025-09-01'"_s).toInt(), 5);
    QCOMPARE(Db(u"SELECT cca.dCcaDataScadenza FROM TCca_CompCausali cca WHERE cca.dStart = '2025-09-01' AND "
                "cca.sCcaSDesc = 'GITA'"_s).toDate(), QDate(2026, 3, 20));
    QCOMPARE(Reasons()->RecordCount(), before + 2);   // the calling window's list
    // Nothing more is offered.
    TfmEbsDuplicaCausali again(w);
    again.SetSource(0, true, 2024);
    QCOMPARE(again.lvCausali->topLevelItemCount(), 0);
}

void TstFeeWindows::duplicationDialogRefusesDoubles()
{
    SetWorkingContext(1, 2025, 2025, 2, 2025);
    // Same description as 2025's "Servizio mensa", another code: offered, then refused.
    const int twin = TTestRow::Reason(u"MENSA-B"_s, QDate(2024, 9, 1), QDate(2025, 8, 31))
                         .Set(u"sCauLDesc"_s, u" servizio MENSA "_s).Insert();
    TTestRow::ReasonComponent(twin, 2404).Insert();
    TfmEbsDuplicaCausali dlg;
    dlg.SetSource(0, true, 2024);
    QVERIFY(dlg.SetTicked(twin, true));
    QVERIFY(dlg.SetTicked(2403, true));
    bool refusedRow = false;
    for (int r = 0; r < dlg.grAnteprima->rowCount(); ++r)
        refusedRow |= dlg.grAnteprima->item(r, 5)->text() == u"causale già presente"_s;
    QVERIFY(refusedRow);
    QVERIFY(dlg.lbRiepilogo->text().endsWith(u"   Causali già presenti: 1"_s));
    dlg.OkClick();
    QCOMPARE(dlg.result(), 0);   // stays open
    QCOMPARE((*m_messages)->Texts(),
             QStringList{u"Attenzione!\r\nNell'anno scolastico 2025/2026 esiste già una causale con la stessa descrizione di:\r\n"
                         "servizio MENSA\r\nNessuna causale è stata duplicata: togliere la spunta a queste causali e riprovare."_s});
    QCOMPARE((*m_messages)->Messages.last().Type, mtWarning);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCau_Causali WHERE dStart = '2025-09-01'"_s).toInt(), 3);
    // Two ticked reasons of one description.
    (*m_messages)->Clear();
    QVERIFY(dlg.SetTicked(twin, false));
    const int gita2 = TTestRow::Reason(u"GITA-B"_s, QDate(2024, 9, 1), QDate(2025, 8, 31))
                          .Set(u"sCauLDesc"_s, u"USCITA didattica"_s).Insert();
    dlg.SetSource(0, true, 2024);
    QVERIFY(dlg.SetTicked(2403, true));
    QVERIFY(dlg.SetTicked(gita2, true));
    dlg.OkClick();
    QCOMPARE(dlg.result(), 0);
    QCOMPARE((*m_messages)->Texts(),
             QStringList{u"Attenzione!\r\nTra le causali selezionate ce ne sono più di una con la descrizione:\r\n"
                         "Uscita didattica\r\nNessuna causale è stata duplicata: lasciarne selezionata una sola."_s});
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCau_Causali WHERE dStart = '2025-09-01'"_s).toInt(), 3);
}

void TstFeeWindows::duplicationFailureRollsBack()
{
    SetWorkingContext(1, 2025, 2025, 2, 2025);
    // The second copy of the run fails in the database.
    TTestDatabase::Exec(u"CREATE EXCEPTION EX_TEST_COPY 'copia rifiutata dalla prova'"_s);
    TTestDatabase::Exec(u"CREATE TRIGGER TR_TEST_COPY FOR TCau_Causali BEFORE INSERT AS BEGIN "
                        "IF (NEW.sCauSDesc = 'TASSE') THEN EXCEPTION EX_TEST_COPY; END"_s);
    TfmEbsDuplicaCausali dlg;
    dlg.SetSource(0, true, 2024);
    QVERIFY(dlg.SetTicked(2403, true));
    QVERIFY(dlg.SetTicked(2404, true));
    dlg.OkClick();
    QCOMPARE(dlg.result(), 0);
    QVERIFY(dlg.buOk->isEnabled());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE((*m_messages)->Messages.size(), 1);
    const QString text = (*m_messages)->LastText();
    QVERIFY2(text.startsWith(u"Impossibile duplicare le causali:\r\n"_s), qPrintable(text));
    QVERIFY2(text.contains(u"copia rifiutata dalla prova"_s), qPrintable(text));
    QVERIFY(text.endsWith(u"\r\nNessuna causale è stata duplicata."_s));
    QCOMPARE((*m_messages)->Messages.last().Type, mtError);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCau_Causali WHERE dStart = '2025-09-01'"_s).toInt(), 3);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCca_CompCausali WHERE dStart = '2025-09-01' AND sCcaSDesc = 'GITA'"_s).toInt(), 0);
}

// ---------------------------------------------------------------- commands and screens

void TstFeeWindows::commandsOpenTheWindows()
{
    for (const QString &name : {u"TfmEbsCau"_s, u"TfmEbsCca"_s, u"TfmEbsTipologie"_s, u"TfmEbsModPagamento"_s})
        QVERIFY2(TVtFormRegistry::IsRegistered(name), qPrintable(name));
}

void TstFeeWindows::screenshots()
{
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    SetWorkingContext(1, 2025, 2025, 2, 2024);
    auto shoot = [&](QWidget *w, const QString &file) {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::qWait(20);
        QVERIFY(w->grab().save(dir.filePath(file)));
        CheckNothingCut(w);
    };
    TfmEbsCau *cau = OpenReasons();
    QVERIFY(Reasons()->Locate(u"ICAUID"_s, 2402));
    shoot(cau, u"causali.png"_s);
    cau->close();
    TfmEbsCca *cca = OpenComponents();
    cca->frEbcCca->ShowDetail();
    QVERIFY(Components()->Locate(u"ICCAID"_s, 2404));
    shoot(cca, u"componenti.png"_s);
    cca->close();
    auto *modes = TVtFormRegistry::CreateForm(u"TfmEbsModPagamento"_s);
    m_windows << modes;
    shoot(modes, u"modalita_pagamento.png"_s);
    auto *types = TVtFormRegistry::CreateForm(u"TfmEbsTipologie"_s);
    m_windows << types;
    shoot(types, u"tipologie.png"_s);

    SetWorkingContext(1, 2025, 2025, 2, 2025);
    TfmEbsDuplicaCausali dlg;
    dlg.SetSource(0, true, 2024);
    QVERIFY(dlg.SetTicked(2403, true));
    QVERIFY(dlg.SetTicked(2404, true));
    shoot(&dlg, u"duplica_causali.png"_s);
}

QTEST_MAIN(TstFeeWindows)
#include "tst_feewindows.moc"

#include "EbcFElencoXClassi.h"
#include "EbcFRptSelData.h"
#include "EbcFSelRptClsCau.h"
#include "EbdFRptSelClsComp.h"
#include "EbdUGlobals.h"
#include "EbdURptForms.h"
#include "EbsFSelRptAnnoScolCau.h"
#include "EbsFSelTipoTot.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestScreens.h"
#include "VtFormRegistry.h"
#include "VtParams.h"
#include "VtQueryCollection.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// The dialogs of the classes, components and reasons: due dates and payment
// mode, classes, classes with components, a reason of a year, the reasons
// of a year by direction, and the totals type of the budget aggregates.
class TstRptClasses : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void dueDatesAndPaymentMode();
    void classListOfTheWorkingYear();
    void classListCancelKeepsNothing();
    void componentsOfTheReasonsYear();
    void componentMenuTicksAndInverts();
    void noComponentTickedIsRefused();
    void totalsRangeAndPaymentMode();
    void classGridWithItsSchoolYear();
    void reasonOfAYearReloadsOnAYearChange();
    void classGridOfTheDialogsYear();
    void reasonsByDirection();
    void totalsTypeOkSetsTheChosenId();
    void totalsTypeWithTypeOneDeleted();
    void totalsTypeCancelChangesNothing();
    void screenshots();

private:
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    template <class T> std::unique_ptr<T> Create(const QString &className);
    static void Show(QWidget *w);
    static QStringList Texts(const QComboBox *combo);
    static QStringList Texts(const QListWidget *list);
    static QStringList DbTexts(const QString &sql, const QVariantList &values = {});
    static int Ticked(const QListWidget *list);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
};

namespace {
// The classes of a school year, as the receipts by class list them.
const QString ClassesSQL =
    u"SELECT Cls.iClsId, Cls.sClsSDesc, Cls.sClsDesc, Cls.sSedNomLDesc ssednomldesc FROM VCls_Classi Cls "
    "INNER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cls.dStart_Cls) "
    "WHERE Ans.iAnsId = :iAnsId ORDER BY Cls.sClsSDesc"_s;
// The reasons of a year of one direction, as the reason list reads them.
const QString ReasonsSQL =
    u"SELECT Cau.iCauId, Cau.sCauSDesc, Cau.sCauLDesc FROM TCau_Causali Cau "
    "INNER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cau.dStart AND Ans.dAnsVeltoFine = Cau.dEnd) "
    "WHERE (Ans.iAnsId = :iAnsId) AND (Cau.lCauTipo = :lCauTipo) ORDER BY Cau.sCauLDesc"_s;
constexpr int TestYear = 2030;   // a school year of five components and no reason
}

void TstRptClasses::initTestCase()
{
    RegisterReportForms();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [] {
        TTestDatabase::Exec(u"INSERT INTO TAns_AnniScolast (iAnsId, iAnsValore, sAnsAnnoDesc, dAnsVeltoInizio, "
                            "dAnsVeltoFine, dAnsInizio, dAnsFine) VALUES (2030, 2030, '2030/2031', '2030-09-01', "
                            "'2031-08-31', '2030-09-12', '2031-06-10')"_s);
        const QStringList names{u"Contributo"_s, u"Mensa"_s, u"Diario"_s, u"Assicurazione"_s, u"Gita"_s};
        for (int i = 0; i < names.size(); ++i)
            TTestDatabase::Exec(u"INSERT INTO TCca_CompCausali (iCcaId, sCcaSDesc, sCcaLDesc, iTccId, fCcaImportoIst, "
                                "lCcaVuvez, lCcaTipo, dStart, dEnd) VALUES (%1, 'K%2', '%3', 2, 10, 1, 0, '2030-09-01', "
                                "'2031-08-31')"_s.arg(9301 + i).arg(i + 1).arg(names[i]));
    });
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstRptClasses::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));   // school year and reasons of 2024/2025
}

void TstRptClasses::cleanup()
{
    CloseBillingModule();
}

void TstRptClasses::cleanupTestCase()
{
    m_db.reset();
}

template <class T> std::unique_ptr<T> TstRptClasses::Create(const QString &className)
{
    return std::unique_ptr<T>(qobject_cast<T *>(TVtFormRegistry::CreateForm(className)));
}

void TstRptClasses::Show(QWidget *w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

QStringList TstRptClasses::Texts(const QComboBox *combo)
{
    QStringList t;
    for (int i = 0; i < combo->count(); ++i)
        t << combo->itemText(i);
    return t;
}

QStringList TstRptClasses::Texts(const QListWidget *list)
{
    QStringList t;
    for (int i = 0; i < list->count(); ++i)
        t << list->item(i)->text();
    return t;
}

QStringList TstRptClasses::DbTexts(const QString &sql, const QVariantList &values)
{
    QStringList t;
    for (const QVariant &v : TTestDatabase::Column(sql, values))
        t << v.toString();
    return t;
}

int TstRptClasses::Ticked(const QListWidget *list)
{
    int n = 0;
    for (int i = 0; i < list->count(); ++i)
        n += list->item(i)->checkState() == Qt::Checked;
    return n;
}

void TstRptClasses::dueDatesAndPaymentMode()
{
    auto dlg = Create<TfmEbcRptSelData>(u"TfmEbcRptSelData"_s);
    QVERIFY(dlg);
    QCOMPARE(dlg->laDal->text(), u"Seleziona data scadenza dei movimenti dal"_s);
    QCOMPARE(dlg->laAl->text(), u"Seleziona data scadenza dei movimenti Al"_s);
    QCOMPARE(dlg->laModPagam->text(), u"Modalità di pagamento"_s);
    QCOMPARE(dlg->buOk->text(), u"&OK"_s);
    QCOMPARE(dlg->dtpDal->date(), QDate::currentDate());
    QCOMPARE(dlg->dtpAl->date(), QDate::currentDate());
    // The payment modes followed by "Tutti", which is chosen.
    QCOMPARE(Texts(dlg->cbModPagam), DbTexts(u"SELECT sMpgDescL FROM TMpg_ModPagam"_s) + QStringList{u"Tutti"_s});
    QCOMPARE(dlg->cbModPagam->currentText(), u"Tutti"_s);
    Show(dlg.get());
    dlg->dtpDal->setDate(QDate(2025, 9, 1));
    dlg->dtpAl->setDate(QDate(2025, 11, 30));
    dlg->cbModPagam->setCurrentIndex(dlg->cbModPagam->findText(u"Contanti"_s));
    QVERIFY(!dlg->property("StartDate").toDate().isValid());   // nothing confirmed yet
    dlg->buOk->click();
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QCOMPARE(dlg->property("StartDate").toDate(), QDate(2025, 9, 1));
    QCOMPARE(dlg->property("EndDate").toDate(), QDate(2025, 11, 30));
    QCOMPARE(dlg->property("MpgId").toInt(), 3);
    // "Tutti" is mode 0.
    Show(dlg.get());
    dlg->cbModPagam->setCurrentIndex(dlg->cbModPagam->findText(u"Tutti"_s));
    dlg->buOk->click();
    QCOMPARE(dlg->MpgId(), 0);
}

void TstRptClasses::classListOfTheWorkingYear()
{
    auto dlg = Create<TfmEbcElencoXClassi>(u"TfmEbcElencoXClassi"_s);
    QVERIFY(dlg);
    QCOMPARE(dlg->laModPagam->text(), u"Modalità di pagamento:"_s);
    QCOMPARE(dlg->laDal->text(), u"Data scadenza Dal:"_s);
    QCOMPARE(dlg->laAl->text(), u"Data scadenza Al:"_s);
    QCOMPARE(dlg->dtpDal->date(), QDate::currentDate());
    QCOMPARE(dlg->cbModPagam->itemText(dlg->cbModPagam->count() - 1), u"Tutti"_s);
    dlg->SetCaption(u"Selezione classi per Elenco banca"_s);
    dlg->SetCommandText(ClassesSQL);
    // A year the caller may have set is replaced by the working one.
    dlg->SetParamValue(u"iAnsId"_s, 2025);
    QCOMPARE(dlg->RowCount(), 0);
    Show(dlg.get());
    QCOMPARE(dlg->Params().ParamByName(u"iAnsId"_s)->AsInteger(), 2024);
    QCOMPARE(dlg->RowCount(), Db(u"SELECT COUNT(*) FROM VCls_Classi WHERE dStart_Cls = DATE '2024-09-01'"_s).toInt());
    dlg->SetChecked(0, true);
    dlg->SetChecked(2, true);
    dlg->dtpDal->setDate(QDate(2024, 9, 1));
    dlg->dtpAl->setDate(QDate(2025, 6, 30));
    // With "Tutti" the receipts list every instalment of the range: mode 0.
    dlg->OkClick();
    QCOMPARE(dlg->ModalResult(), int(mrOk));
    QCOMPARE(dlg->property("MpgId").toInt(), 0);
    QCOMPARE(dlg->property("StartDate").toDate(), QDate(2024, 9, 1));
    QCOMPARE(dlg->property("EndDate").toDate(), QDate(2025, 6, 30));
    QCOMPARE(dlg->property("AnsId").toInt(), 2024);
    QCOMPARE(dlg->SelectedKeys().size(), 2);
    // A chosen mode.
    Show(dlg.get());
    dlg->cbModPagam->setCurrentIndex(dlg->cbModPagam->findText(u"Bollettino postale"_s));
    dlg->OkClick();
    QCOMPARE(dlg->MpgId(), 2);

    // The framework's OK comes first: a required tick keeps the dialog open.
    Show(dlg.get());
    dlg->CheckAll(false);
    dlg->AllowEmpty = false;
    dlg->cbModPagam->setCurrentIndex(0);
    dlg->OkClick();
    QVERIFY(dlg->isVisible());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Selezionare almeno un elemento."_s});
    QCOMPARE(dlg->MpgId(), 2);   // not taken
}

void TstRptClasses::classListCancelKeepsNothing()
{
    auto dlg = Create<TfmEbcElencoXClassi>(u"TfmEbcElencoXClassi"_s);
    dlg->SetCommandText(ClassesSQL);
    Show(dlg.get());
    dlg->cbModPagam->setCurrentIndex(0);
    dlg->buCancel->click();
    QCOMPARE(dlg->ModalResult(), int(mrCancel));
    QCOMPARE(dlg->MpgId(), 0);
    QVERIFY(!dlg->StartDate().isValid());
}

void TstRptClasses::componentsOfTheReasonsYear()
{
    auto dlg = Create<TfmEbdRptSelClsComp>(u"TfmEbdRptSelClsComp"_s);
    QVERIFY(dlg);
    QCOMPARE(dlg->gbComponenti->title(), u" &Componenti di causali presenti nella stampa "_s);
    // The components of the reasons' year (2024/2025), ordered by long then
    // short description.
    QCOMPARE(Texts(dlg->lbComponenti),
             DbTexts(u"SELECT sCcaSDesc || ' - ' || sCcaLDesc FROM TCca_CompCausali WHERE dStart = DATE '2024-09-01' "
                     "ORDER BY sCcaLDesc, sCcaSDesc"_s));
    QCOMPARE(dlg->lbComponenti->item(0)->data(Qt::UserRole).toInt(),
             Db(u"SELECT FIRST 1 iCcaId FROM TCca_CompCausali WHERE dStart = DATE '2024-09-01' "
                "ORDER BY sCcaLDesc, sCcaSDesc"_s)
                 .toInt());
    QCOMPARE(Ticked(dlg->lbComponenti), 0);
    // Another reasons' year, another list.
    SetWorkingContext(1, 2024, 2025, 2, 2025);
    dlg->LoadComponents();
    QCOMPARE(dlg->lbComponenti->count(),
             Db(u"SELECT COUNT(*) FROM TCca_CompCausali WHERE dStart = DATE '2025-09-01'"_s).toInt());
    // The school-year combo of the base is hidden.
    Show(dlg.get());
    QVERIFY(!dlg->cbAnnoScol->isVisible());
    QVERIFY(!dlg->laAnnoScol->isVisible());
}

void TstRptClasses::componentMenuTicksAndInverts()
{
    SetWorkingContext(1, 2024, 2025, 2, TestYear);
    auto dlg = Create<TfmEbdRptSelClsComp>(u"TfmEbdRptSelClsComp"_s);
    QCOMPARE(dlg->lbComponenti->count(), 5);
    QCOMPARE(dlg->lbComponenti->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList menu;
    for (QAction *a : dlg->lbComponenti->actions())
        menu << a->text();
    QCOMPARE(menu, (QStringList{u"Seleziona tutto"_s, u"Annulla selezione"_s, u"Inverti selezione"_s}));

    // Two of five ticked: inverting leaves the other three.
    dlg->lbComponenti->item(1)->setCheckState(Qt::Checked);
    dlg->lbComponenti->item(3)->setCheckState(Qt::Checked);
    const QVariantList all = TTestDatabase::Column(
        u"SELECT iCcaId FROM TCca_CompCausali WHERE dStart = DATE '2030-09-01' ORDER BY sCcaLDesc, sCcaSDesc"_s);
    QCOMPARE(dlg->CompIds(), (QVariantList{all[1], all[3]}));
    dlg->acInvert->trigger();
    QCOMPARE(dlg->property("CompIds").toList(), (QVariantList{all[0], all[2], all[4]}));
    dlg->acSelectAll->trigger();
    QCOMPARE(dlg->CompIds(), all);
    dlg->acSelectNone->trigger();
    QVERIFY(dlg->CompIds().isEmpty());
    dlg->acInvert->trigger();
    QCOMPARE(dlg->CompIds(), all);
}

void TstRptClasses::noComponentTickedIsRefused()
{
    auto dlg = Create<TfmEbdRptSelClsComp>(u"TfmEbdRptSelClsComp"_s);
    dlg->SetCaption(u"Configurazione di stampa"_s);
    dlg->SetCommandText(ClassesSQL);
    dlg->SetParamValue(u"iAnsId"_s, 2024);
    Show(dlg.get());
    dlg->SetChecked(0, true);
    dlg->OkClick();
    QVERIFY(dlg->isVisible());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Nessuna componente selezionata: impossibile procedere."_s});
    QCOMPARE((*m_messages)->Messages.first().Type, mtWarning);
    dlg->lbComponenti->item(0)->setCheckState(Qt::Checked);
    dlg->OkClick();
    QVERIFY(!dlg->isVisible());
    QCOMPARE(dlg->ModalResult(), int(mrOk));
    QCOMPARE(dlg->CompIds().size(), 1);
}

void TstRptClasses::totalsRangeAndPaymentMode()
{
    auto dlg = Create<TfmEbdRptSelClsComp>(u"TfmEbdRptSelClsComp"_s);
    QCOMPARE(dlg->laDal->text(), u"Totali dal"_s);
    QCOMPARE(dlg->laAl->text(), u"al"_s);
    QCOMPARE(dlg->laModPagam->text(), u"Modalità di pagamento"_s);
    // The payment modes without "Tutti", none chosen.
    QCOMPARE(Texts(dlg->cbModPagam), DbTexts(u"SELECT sMpgDescL FROM TMpg_ModPagam"_s));
    QCOMPARE(dlg->property("MpgId").toInt(), -1);
    QVERIFY(dlg->property("MpgDesc").toString().isEmpty());
    Show(dlg.get());
    // The lesson days of the working school year.
    QCOMPARE(dlg->property("StartDate").toDate(), QDate(2024, 9, 12));
    QCOMPARE(dlg->property("EndDate").toDate(), QDate(2025, 6, 10));
    QVERIFY(!dlg->cbModPagam->isVisible());
    // Shown for base template 44024.
    QVERIFY(dlg->setProperty("ModPagamVisible", true));
    QVERIFY(dlg->cbModPagam->isVisible());
    QVERIFY(dlg->laModPagam->isVisible());
    dlg->cbModPagam->setCurrentIndex(dlg->cbModPagam->findText(u"RID"_s));
    QCOMPARE(dlg->MpgId(), 1);
    QCOMPARE(dlg->MpgDesc(), u"RID"_s);
    dlg->dtpDal->setDate(QDate(2024, 10, 1));
    QCOMPARE(dlg->StartDate(), QDate(2024, 10, 1));
}

void TstRptClasses::classGridWithItsSchoolYear()
{
    // The class list of the class/component reports, sorted as they offer it.
    auto dlg = Create<TfmEbdRptSelClsComp>(u"TfmEbdRptSelClsComp"_s);
    dlg->SetCommandText(u"SELECT Cls.iClsId, Cls.sClsDesc, Cls.sClsAnnoScol FROM VCls_Classi Cls "
                        "INNER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cls.dStart_Cls) "
                        "WHERE Ans.iAnsId = :iAnsId ORDER BY Cls.sClsAnnoScol, Cls.sClsDesc"_s);
    dlg->SetParamValue(u"iAnsId"_s, 2024);
    dlg->AddSortOrder(u"sClsDesc"_s);
    dlg->AddSortOrder(u"sClsAnnoScol;sClsDesc"_s);
    Show(dlg.get());
    QCOMPARE((*m_messages)->Texts(), QStringList());
    QCOMPARE(dlg->RowCount(), Db(u"SELECT COUNT(*) FROM VCls_Classi WHERE dStart_Cls = DATE '2024-09-01'"_s).toInt());
    for (int r = 0; r < dlg->RowCount(); ++r)
        QCOMPARE(dlg->RowText(r, u"sClsAnnoScol"_s), u"2024/2025"_s);
    dlg->SortBy(u"sClsAnnoScol;sClsDesc"_s);
    QCOMPARE(dlg->RowText(0, u"sClsDesc"_s),
             Db(u"SELECT FIRST 1 sClsDesc FROM VCls_Classi WHERE dStart_Cls = DATE '2024-09-01' "
                "ORDER BY UPPER(sClsDesc)"_s)
                 .toString());
}

void TstRptClasses::reasonOfAYearReloadsOnAYearChange()
{
    auto dlg = Create<TfmEbcSelRptClsCau>(u"TfmEbcSelRptClsCau"_s);
    QVERIFY(dlg);
    QCOMPARE(dlg->gbCausale->title(), u"Causale"_s);
    QCOMPARE(dlg->laCauAnno->text(), u"Anno scolastico causale"_s);
    QCOMPARE(dlg->laCausale->text(), u"Causale"_s);
    QCOMPARE(dlg->laMvmData->text(), u"Movimenti alla data"_s);
    QCOMPARE(dlg->laMovimenti->text(), u"Movimenti"_s);
    QCOMPARE(Texts(dlg->cbMovimenti), (QStringList{u"Effettuati"_s, u"Non effettuati"_s}));
    QCOMPARE(dlg->cbMovimenti->currentText(), u"Effettuati"_s);
    // The years with reasons (2030/2031 has none), preset to the reasons' year.
    QCOMPARE(Texts(dlg->cbCauAnno), (QStringList{u"2024/2025"_s, u"2025/2026"_s}));
    QCOMPARE(dlg->property("CauAnsId").toInt(), 2024);
    const auto incoming = [](int ans) {
        return DbTexts(u"SELECT Cau.sCauLDesc FROM TCau_Causali Cau INNER JOIN TAns_AnniScolast Ans ON "
                       "(Ans.dAnsVeltoInizio = Cau.dStart AND Ans.dAnsVeltoFine = Cau.dEnd) "
                       "WHERE Ans.iAnsId = ? AND Cau.lCauTipo = 0 ORDER BY Cau.sCauLDesc"_s,
                       {ans});
    };
    QCOMPARE(Texts(dlg->cbCausale), incoming(2024));
    QCOMPARE(dlg->cbCausale->currentIndex(), 0);
    QCOMPARE(dlg->property("CauId").toInt(),
             Db(u"SELECT FIRST 1 iCauId FROM TCau_Causali WHERE dStart = DATE '2024-09-01' AND lCauTipo = 0 "
                "ORDER BY sCauLDesc"_s)
                 .toInt());
    dlg->cbCausale->setCurrentIndex(dlg->cbCausale->findText(u"Servizio mensa"_s));
    QCOMPARE(dlg->CauId(), 2402);
    // Another year: its reasons, the first chosen.
    dlg->cbCauAnno->setCurrentIndex(1);
    QCOMPARE(dlg->CauAnsId(), 2025);
    QCOMPARE(Texts(dlg->cbCausale), incoming(2025));
    QCOMPARE(dlg->cbCausale->currentIndex(), 0);
    QCOMPARE(dlg->CauId(), 2501);
    QCOMPARE(dlg->CauDesc(), u"Contributo scolastico"_s);
    dlg->cbMovimenti->setCurrentIndex(1);
    QVERIFY(!dlg->property("MvmDone").toBool());
    dlg->dtpMvmData->setDate(QDate(2025, 10, 31));
    QCOMPARE(dlg->property("MvmDate").toDate(), QDate(2025, 10, 31));

    // Preset to another reasons' year.
    SetWorkingContext(1, 2024, 2025, 2, 2025);
    auto next = Create<TfmEbcSelRptClsCau>(u"TfmEbcSelRptClsCau"_s);
    QCOMPARE(next->CauAnsId(), 2025);
    QCOMPARE(Texts(next->cbCausale), incoming(2025));
}

void TstRptClasses::classGridOfTheDialogsYear()
{
    auto dlg = Create<TfmEbcSelRptClsCau>(u"TfmEbcSelRptClsCau"_s);
    dlg->SetCommandText(ClassesSQL);
    dlg->SetCaption(u"Classi e causale"_s);
    const auto classes = [](int ans) {
        return Db(u"SELECT COUNT(*) FROM VCls_Classi Cls INNER JOIN VAns_AnniScolast Ans "
                  "ON (Ans.dAnsVeltoInizio = Cls.dStart_Cls) WHERE Ans.iAnsId = ?"_s, {ans}).toInt();
    };
    // The dialog's own year is the working one (2024) until changed.
    dlg->SetSelectediAnsId(2025);
    QCOMPARE(dlg->RowCount(), classes(2025));
    Show(dlg.get());
    QCOMPARE(dlg->Params().ParamByName(u"iAnsId"_s)->AsInteger(), 2025);
    QCOMPARE(dlg->RowText(0, u"sClsSDesc"_s),
             Db(u"SELECT FIRST 1 sClsSDesc FROM VCls_Classi WHERE dStart_Cls = DATE '2025-09-01' ORDER BY sClsSDesc"_s)
                 .toString());
    dlg->cbAnnoScol->setCurrentIndex(dlg->cbAnnoScol->findText(u"2030/2031"_s));
    QCOMPARE(dlg->RowCount(), 0);
    // The reasons' year is not the grid's.
    QCOMPARE(dlg->CauAnsId(), 2024);
}

void TstRptClasses::reasonsByDirection()
{
    SetWorkingContext(1, 2024, 2025, 2, 2025);
    auto dlg = Create<TfmEbsSelRptAnnoScolCau>(u"TfmEbsSelRptAnnoScolCau"_s);
    QVERIFY(dlg);
    QCOMPARE(dlg->ckEntrata->text(), u"Causali di entrata"_s);
    QVERIFY(dlg->ckEntrata->isChecked());
    QCOMPARE(dlg->GetSelectediAnsId(), 2024);   // the working year until it shows
    dlg->SetHelpContext(1006);
    dlg->SetCommandText(ReasonsSQL);
    dlg->SetFieldTitle(u"sCauSDesc"_s, u"Codice"_s, 100);
    dlg->SetFieldTitle(u"sCauLDesc"_s, u"Descrizione"_s, 300);
    dlg->SetParamValue(u"iAnsId"_s, 2025);
    Show(dlg.get());
    // On show: the reasons' year, incoming reasons.
    QCOMPARE(dlg->GetSelectediAnsId(), 2025);
    QCOMPARE(dlg->cbAnnoScol->currentText(), u"2025/2026"_s);
    const auto ids = [&] {
        QStringList t;
        for (int r = 0; r < dlg->RowCount(); ++r)
            t << dlg->RowId(r).toString();
        return t;
    };
    const auto reasons = [](int ans, int tipo) {
        return DbTexts(u"SELECT Cau.iCauId FROM TCau_Causali Cau INNER JOIN TAns_AnniScolast Ans ON "
                       "(Ans.dAnsVeltoInizio = Cau.dStart AND Ans.dAnsVeltoFine = Cau.dEnd) "
                       "WHERE Ans.iAnsId = ? AND Cau.lCauTipo = ? ORDER BY Cau.sCauLDesc"_s,
                       {ans, tipo});
    };
    QCOMPARE(ids(), reasons(2025, 0));
    QCOMPARE(ids(), (QStringList{u"2501"_s, u"2502"_s}));
    QCOMPARE(dlg->Params().ParamByName(u"lCauTipo"_s)->AsInteger(), 0);
    // Unticked: the outgoing reasons.
    dlg->ckEntrata->click();
    QCOMPARE(dlg->Params().ParamByName(u"lCauTipo"_s)->AsInteger(), 1);
    QCOMPARE(dlg->property("CauTipo").toInt(), 1);
    QCOMPARE(ids(), reasons(2025, 1));
    QCOMPARE(ids(), QStringList{u"2505"_s});
    // A year change keeps the direction.
    dlg->SetSelectediAnsId(2024);
    QCOMPARE(ids(), reasons(2024, 1));
    QCOMPARE(dlg->property("AnsId").toInt(), 2024);
    dlg->ckEntrata->click();
    QCOMPARE(dlg->CauTipo(), 0);
    QCOMPARE(ids(), reasons(2024, 0));
    QCOMPARE((*m_messages)->Texts(), QStringList());
}

void TstRptClasses::totalsTypeOkSetsTheChosenId()
{
    gFlsId = gTitoId = 0;
    auto dlg = Create<TfmEbsSelTipoTot>(u"TfmEbsSelTipoTot"_s);
    QVERIFY(dlg);
    dlg->setWindowTitle(u"Aggregati"_s);
    QCOMPARE(Texts(dlg->lbTipoTotale), (QStringList{u"IN TOTALE"_s, u"FUORI TOTALE"_s}));
    QCOMPARE(dlg->lbTipoTotale->currentRow(), 0);
    Show(dlg.get());
    QTRY_COMPARE(QApplication::focusWidget(), dlg->lbTipoTotale);
    dlg->lbTipoTotale->setCurrentRow(1);
    QCOMPARE(dlg->property("TitoId").toInt(), 2);
    dlg->buOk->click();
    QCOMPARE(dlg->ModalResult(), int(mrOk));
    QCOMPARE(gFlsId, 1);
    QCOMPARE(gTitoId, 2);
}

void TstRptClasses::totalsTypeWithTypeOneDeleted()
{
    // Type 1 deleted and a third added: positions no longer name the ids.
    TTestDatabase::Exec(u"UPDATE TTito_TipoTotale SET dDelete = CURRENT_TIMESTAMP WHERE iTitoId = 1"_s);
    TTestDatabase::Exec(u"INSERT INTO TTito_TipoTotale (iTitoId, sTitoDescL) VALUES (3, 'Partite di giro')"_s);
    gFlsId = gTitoId = 0;
    auto dlg = Create<TfmEbsSelTipoTot>(u"TfmEbsSelTipoTot"_s);
    QCOMPARE(Texts(dlg->lbTipoTotale), (QStringList{u"FUORI TOTALE"_s, u"PARTITE DI GIRO"_s}));
    Show(dlg.get());
    dlg->OkClick();
    QCOMPARE(gTitoId, 2);   // the first listed is type 2, not position + 1
    QCOMPARE(gFlsId, 1);
    Show(dlg.get());
    dlg->lbTipoTotale->setCurrentRow(1);
    dlg->OkClick();
    QCOMPARE(gTitoId, 3);
}

void TstRptClasses::totalsTypeCancelChangesNothing()
{
    gFlsId = 2;
    gTitoId = 2;
    auto dlg = Create<TfmEbsSelTipoTot>(u"TfmEbsSelTipoTot"_s);
    Show(dlg.get());
    dlg->buCancel->click();
    QCOMPARE(dlg->ModalResult(), int(mrCancel));
    QCOMPARE(gFlsId, 2);
    QCOMPARE(gTitoId, 2);
}

void TstRptClasses::screenshots()
{
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    const auto save = [&](QWidget *w, const QString &name) {
        QTest::qWait(20);
        QVERIFY(w->grab().save(dir.filePath(name)));
        CheckNothingCut(w);
    };

    auto data = Create<TfmEbcRptSelData>(u"TfmEbcRptSelData"_s);
    Show(data.get());
    save(data.get(), u"rpt_selData.png"_s);

    // As the billing module prepares them.
    auto classes = Create<TfmEbcElencoXClassi>(u"TfmEbcElencoXClassi"_s);
    classes->SetCaption(u"Selezione classi per Elenco banca"_s);
    classes->SetCommandText(ClassesSQL);
    classes->SetFieldTitle(u"sClsSDesc"_s, u"Codice"_s, 100);
    classes->SetFieldTitle(u"sClsDesc"_s, u"Classe"_s, 300);
    classes->SetFieldTitle(u"ssednomldesc"_s, u"Sede"_s, 300);
    for (const QString &order : {u"sClsSDesc"_s, u"sClsDesc"_s, u"ssednomldesc"_s})
        classes->AddSortOrder(order);
    classes->SetDialogWidth(780);
    Show(classes.get());
    classes->SetChecked(1, true);
    save(classes.get(), u"rpt_elencoxclassi.png"_s);

    auto clsComp = Create<TfmEbdRptSelClsComp>(u"TfmEbdRptSelClsComp"_s);
    clsComp->SetCaption(u"Configurazione di stampa"_s);
    clsComp->SetCommandText(u"SELECT Cls.iClsId, Cls.sClsDesc, Cls.sClsAnnoScol FROM VCls_Classi Cls "
                            "INNER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cls.dStart_Cls) "
                            "WHERE Ans.iAnsId = :iAnsId ORDER BY Cls.sClsAnnoScol, Cls.sClsDesc"_s);
    clsComp->SetParamValue(u"iAnsId"_s, 2024);
    clsComp->SetFieldTitle(u"sClsDesc"_s, u"Classe"_s, 300);
    clsComp->SetFieldTitle(u"sClsAnnoScol"_s, u"Anno scolastico"_s, 100);
    clsComp->AddSortOrder(u"sClsDesc"_s);
    clsComp->AddSortOrder(u"sClsAnnoScol;sClsDesc"_s);
    clsComp->SetModPagamVisible(true);
    Show(clsComp.get());
    clsComp->lbComponenti->item(0)->setCheckState(Qt::Checked);
    clsComp->SetChecked(0, true);
    save(clsComp.get(), u"rpt_selclscomp.png"_s);

    auto clsCau = Create<TfmEbcSelRptClsCau>(u"TfmEbcSelRptClsCau"_s);
    clsCau->SetCaption(u"Classi e causale"_s);
    clsCau->SetCommandText(ClassesSQL);
    clsCau->SetFieldTitle(u"sClsSDesc"_s, u"Codice"_s, 100);
    clsCau->SetFieldTitle(u"sClsDesc"_s, u"Classe"_s, 200);
    clsCau->SetFieldTitle(u"ssednomldesc"_s, u"Sede"_s, 240);
    clsCau->SetDialogWidth(700);
    Show(clsCau.get());
    save(clsCau.get(), u"rpt_selclscau.png"_s);

    auto cau = Create<TfmEbsSelRptAnnoScolCau>(u"TfmEbsSelRptAnnoScolCau"_s);
    cau->SetCommandText(ReasonsSQL);
    cau->SetFieldTitle(u"sCauSDesc"_s, u"Codice"_s, 100);
    cau->SetFieldTitle(u"sCauLDesc"_s, u"Descrizione"_s, 300);
    cau->AddSortOrder(u"sCauSDesc"_s);
    cau->AddSortOrder(u"sCauLDesc"_s);
    Show(cau.get());
    save(cau.get(), u"rpt_selannoscolcau.png"_s);

    auto tipo = Create<TfmEbsSelTipoTot>(u"TfmEbsSelTipoTot"_s);
    tipo->setWindowTitle(u"Aggregati"_s);
    Show(tipo.get());
    save(tipo.get(), u"rpt_seltipotot.png"_s);
}

QTEST_MAIN(TstRptClasses)
#include "tst_rptclasses.moc"

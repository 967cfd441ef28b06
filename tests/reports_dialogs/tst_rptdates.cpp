#include "EbcFRptSelDateList.h"
#include "EbdFMain.h"
#include "EbdUGlobals.h"
#include "EbdURptForms.h"
#include "EbsFRptSelDate.h"
#include "EbsFRptSelDateCheck.h"
#include "EbsFRptSelDateGrid.h"
#include "EbsFRptSelDateList.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestScreens.h"
#include "VtDateEdit.h"
#include "VtFormRegistry.h"
#include "VtParams.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// The date dialogs: the range with its checks on leaving an edit (the
// cash-book period, the order of the two dates), the component list with its
// tick order and the school-year rewrite, the reasons with movements in the
// range, the outgoing-movements box.
class TstRptDates : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void initialDatesAndOutputs();
    void aDateOutsideThePeriodIsClearedOnLeaving_data();
    void aDateOutsideThePeriodIsClearedOnLeaving();
    void anEndBeforeTheStartClearsTheEditLeft_data();
    void anEndBeforeTheStartClearsTheEditLeft();
    void notADateIsCleared();
    void withoutTheRestrictionAnyDateStays();
    void anUnsetBoundDoesNotRestrict();
    void theDatesOnlyWithoutASelect();
    void componentListKeepsItsTickOrder();
    void schoolYearRewriteAndBackExactly();
    void dateGridFollowsDatesAndType();
    void dateGridReasonTotalOnce();
    void dateCheckBox();
    void screenshots();

private:
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    template <class T> std::unique_ptr<T> Create(const QString &className);
    static void Show(QWidget *w);
    // Types a date into an edit and leaves it with Tab, as the user would.
    static void TypeAndLeave(TVtDateEdit *edit, const QString &text);
    static QWidget *FocusAfterEvents();
    static void TickRow(QListWidget *list, int row, bool on);
    static QString ComponentsSQL();

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
};

void TstRptDates::initTestCase()
{
    RegisterReportForms();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstRptDates::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));   // account 2, financial year 2025
    TfmEbdMain::LoadUserPeriod();
}

void TstRptDates::cleanup()
{
    CloseBillingModule();
    gInizioUtente = gFineUtente = QDate();
}

void TstRptDates::cleanupTestCase()
{
    m_db.reset();
}

template <class T> std::unique_ptr<T> TstRptDates::Create(const QString &className)
{
    return std::unique_ptr<T>(qobject_cast<T *>(TVtFormRegistry::CreateForm(className)));
}

void TstRptDates::Show(QWidget *w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void TstRptDates::TypeAndLeave(TVtDateEdit *edit, const QString &text)
{
    edit->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(edit->hasFocus());
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

QWidget *TstRptDates::FocusAfterEvents()
{
    QTest::qWait(20);
    return QApplication::focusWidget();
}

void TstRptDates::TickRow(QListWidget *list, int row, bool on)
{
    list->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

// The components of 2024/2025 with their top-level typology (1 to 4) as the
// group; the long description also orders them.
QString TstRptDates::ComponentsSQL()
{
    return u"SELECT Cca.iCcaId, Tcc.iTccId_P, Cca.sCcaLDesc FROM TCca_CompCausali Cca "
           "INNER JOIN TTcc_TipoCompCaus Tcc ON (Tcc.iTccId = Cca.iTccId) "
           "INNER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cca.dStart AND Ans.dAnsVeltoFine = Cca.dEnd) "
           "WHERE Ans.iAnsId = 2024 ORDER BY Cca.sCcaLDesc"_s;
}

void TstRptDates::initialDatesAndOutputs()
{
    auto dlg = Create<TfmEbsRptSelDate>(u"TfmEbsRptSelDate"_s);
    QVERIFY(dlg);
    // As a template's <Set> gives them: a date and a text; 0 is no date.
    QVERIFY(dlg->setProperty("InitialStartDate", QDate(2025, 3, 1)));
    QVERIFY(dlg->setProperty("InitialEndDate", u"2025-03-31"_s));
    Show(dlg.get());
    QCOMPARE(dlg->deDal->text(), u"01/03/2025"_s);
    QCOMPARE(dlg->deAl->text(), u"31/03/2025"_s);
    QCOMPARE(dlg->property("StartDate").toDate(), QDate(2025, 3, 1));
    QCOMPARE(dlg->property("EndDate").toDate(), QDate(2025, 3, 31));
    TypeAndLeave(dlg->deAl, u"15/04/2025"_s);
    QCOMPARE(dlg->EndDate(), QDate(2025, 4, 15));
    dlg->OkClick();
    QCOMPARE(dlg->result(), int(QDialog::Accepted));

    dlg->hide();
    QVERIFY(dlg->setProperty("InitialStartDate", 0));
    QVERIFY(dlg->setProperty("InitialEndDate", QVariant()));
    Show(dlg.get());
    QVERIFY(dlg->deDal->text().isEmpty());
    QVERIFY(dlg->deAl->text().isEmpty());
    QVERIFY(!dlg->StartDate().isValid());
    QVERIFY(!dlg->EndDate().isValid());
    QCOMPARE(FocusAfterEvents(), dlg->deDal);
}

void TstRptDates::aDateOutsideThePeriodIsClearedOnLeaving_data()
{
    QTest::addColumn<int>("account");
    QTest::addColumn<QDate>("periodStart");
    QTest::addColumn<QDate>("periodEnd");
    // The bank account's 2025 row spans the calendar year; account 5's 2025
    // row starts on 21 December 2024, after its 2024 row ended.
    QTest::newRow("account 2") << 2 << QDate(2025, 1, 1) << QDate(2025, 12, 31);
    QTest::newRow("account 5") << 5 << QDate(2024, 12, 21) << QDate(2025, 12, 31);
}

void TstRptDates::aDateOutsideThePeriodIsClearedOnLeaving()
{
    QFETCH(int, account);
    QFETCH(QDate, periodStart);
    QFETCH(QDate, periodEnd);
    SetWorkingContext(1, 2024, 2025, account, 2024);
    TfmEbdMain::LoadUserPeriod();
    QCOMPARE(gInizioUtente, periodStart);
    QCOMPARE(gFineUtente, periodEnd);

    auto dlg = Create<TfmEbsRptSelDate>(u"TfmEbsRptSelDate"_s);
    QVERIFY(dlg->setProperty("RestrictToAnf", true));
    Show(dlg.get());
    // One day before the period: cleared, and the focus stays.
    TypeAndLeave(dlg->deDal, periodStart.addDays(-1).toString(u"dd/MM/yyyy"_s));
    QVERIFY(dlg->deDal->text().isEmpty());
    QCOMPARE(FocusAfterEvents(), dlg->deDal);
    // Its first day stays, and the focus moves on.
    TypeAndLeave(dlg->deDal, periodStart.toString(u"dd/MM/yyyy"_s));
    QCOMPARE(dlg->StartDate(), periodStart);
    QCOMPARE(FocusAfterEvents(), dlg->deAl);
    // One day after its end, in the other edit.
    TypeAndLeave(dlg->deAl, periodEnd.addDays(1).toString(u"dd/MM/yyyy"_s));
    QVERIFY(dlg->deAl->text().isEmpty());
    QCOMPARE(FocusAfterEvents(), dlg->deAl);
    TypeAndLeave(dlg->deAl, periodEnd.toString(u"dd/MM/yyyy"_s));
    QCOMPARE(dlg->EndDate(), periodEnd);
    QCOMPARE((*m_messages)->Texts(), QStringList());
}

void TstRptDates::anEndBeforeTheStartClearsTheEditLeft_data()
{
    QTest::addColumn<bool>("startLast");
    QTest::newRow("start typed last") << true;
    QTest::newRow("end typed last") << false;
}

void TstRptDates::anEndBeforeTheStartClearsTheEditLeft()
{
    QFETCH(bool, startLast);
    auto dlg = Create<TfmEbsRptSelDate>(u"TfmEbsRptSelDate"_s);
    Show(dlg.get());
    TVtDateEdit *first = startLast ? dlg->deAl : dlg->deDal;
    TVtDateEdit *last = startLast ? dlg->deDal : dlg->deAl;
    TypeAndLeave(first, startLast ? u"10/03/2025"_s : u"20/03/2025"_s);
    QVERIFY(!first->text().isEmpty());
    TypeAndLeave(last, startLast ? u"20/03/2025"_s : u"10/03/2025"_s);
    QVERIFY(last->text().isEmpty());
    QCOMPARE(first->Date(), startLast ? QDate(2025, 3, 10) : QDate(2025, 3, 20));
    QCOMPARE(FocusAfterEvents(), last);
    // The same day at both ends is a range.
    TypeAndLeave(last, first->text());
    QCOMPARE(last->Date(), first->Date());
    // Enter on OK from within the edit checks it as leaving would.
    last->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(last->hasFocus());
    last->selectAll();
    QTest::keyClicks(last, startLast ? u"25/03/2025"_s : u"05/03/2025"_s);
    QTest::keyClick(last, Qt::Key_Return);
    QVERIFY(dlg->isVisible());
    QVERIFY(last->text().isEmpty());
    QTest::keyClicks(last, first->text());
    QTest::keyClick(last, Qt::Key_Return);
    QVERIFY(!dlg->isVisible());
    QCOMPARE(dlg->ModalResult(), int(mrOk));
}

void TstRptDates::notADateIsCleared()
{
    auto dlg = Create<TfmEbsRptSelDate>(u"TfmEbsRptSelDate"_s);
    Show(dlg.get());
    TypeAndLeave(dlg->deDal, u"31/02/2025"_s);
    QVERIFY(dlg->deDal->text().isEmpty());
    QCOMPARE(FocusAfterEvents(), dlg->deDal);
    // Letters cannot be typed.
    QTest::keyClicks(dlg->deDal, u"1a/3/25"_s);
    QCOMPARE(dlg->deDal->text(), u"1/3/25"_s);
    QTest::keyClick(dlg->deDal, Qt::Key_Tab);
    QCOMPARE(dlg->StartDate(), QDate(2025, 3, 1));
}

void TstRptDates::withoutTheRestrictionAnyDateStays()
{
    auto dlg = Create<TfmEbsRptSelDate>(u"TfmEbsRptSelDate"_s);
    QVERIFY(!dlg->RestrictToAnf());
    Show(dlg.get());
    TypeAndLeave(dlg->deDal, u"01/01/2020"_s);
    QCOMPARE(dlg->StartDate(), QDate(2020, 1, 1));
}

void TstRptDates::anUnsetBoundDoesNotRestrict()
{
    // No cash row for the bank account in 2026: no period at all.
    SetWorkingContext(1, 2025, 2026, 2, 2025);
    TfmEbdMain::LoadUserPeriod();
    QVERIFY(gInizioUtente.isNull() && gFineUtente.isNull());
    auto dlg = Create<TfmEbsRptSelDate>(u"TfmEbsRptSelDate"_s);
    dlg->SetRestrictToAnf(true);
    Show(dlg.get());
    TypeAndLeave(dlg->deDal, u"01/01/2020"_s);
    TypeAndLeave(dlg->deAl, u"31/12/2030"_s);
    QCOMPARE(dlg->StartDate(), QDate(2020, 1, 1));
    QCOMPARE(dlg->EndDate(), QDate(2030, 12, 31));

    // Only the start known: the end is free, the start still checked.
    gInizioUtente = QDate(2026, 1, 1);
    TypeAndLeave(dlg->deDal, u"31/12/2025"_s);
    QVERIFY(dlg->deDal->text().isEmpty());
    TypeAndLeave(dlg->deDal, u"02/01/2026"_s);
    TypeAndLeave(dlg->deAl, u"31/12/2099"_s);
    QCOMPARE(dlg->EndDate(), QDate(2099, 12, 31));
    // Only the end known.
    gInizioUtente = QDate();
    gFineUtente = QDate(2026, 12, 31);
    TypeAndLeave(dlg->deAl, u"01/01/2027"_s);
    QVERIFY(dlg->deAl->text().isEmpty());
    TypeAndLeave(dlg->deDal, u"01/01/1990"_s);
    QCOMPARE(dlg->StartDate(), QDate(1990, 1, 1));
}

void TstRptDates::theDatesOnlyWithoutASelect()
{
    auto dlg = Create<TfmEbsRptSelDate>(u"TfmEbsRptSelDate"_s);
    Show(dlg.get());
    QVERIFY(!dlg->grMain->isVisible());
    QVERIFY(!dlg->buSelectAll->isVisible());
    dlg->hide();
    // With the caller's select the grid is there.
    dlg->SetCommandText(u"SELECT iMpgId, sMpgDescL FROM TMpg_ModPagam ORDER BY iMpgId"_s);
    Show(dlg.get());
    QVERIFY(dlg->grMain->isVisible());
    QCOMPARE(dlg->RowCount(), Db(u"SELECT COUNT(*) FROM TMpg_ModPagam"_s).toInt());
}

void TstRptDates::componentListKeepsItsTickOrder()
{
    auto dlg = Create<TfmEbsRptSelDateList>(u"TfmEbsRptSelDateList"_s);
    QVERIFY(dlg);
    QVERIFY(dlg->setProperty("CompSQL", ComponentsSQL()));
    Show(dlg.get());
    QCOMPARE(dlg->gbIntervallo->title(), u" Intervallo temporale "_s);
    QVERIFY(dlg->gbIntervallo->isAncestorOf(dlg->deDal));
    QCOMPARE(dlg->gbComponenti->title(), u" &Componenti di causali presenti nella stampa "_s);
    const QVariantList ids = TTestDatabase::Column(ComponentsSQL());
    QCOMPARE(dlg->lbComponenti->count(), ids.size());
    QCOMPARE(dlg->lbComponenti->item(0)->text(),
             Db(u"SELECT sCcaLDesc FROM TCca_CompCausali WHERE iCcaId = ?"_s, {ids[0]}).toString());

    const auto groupOf = [](const QVariant &id) {
        return Db(u"SELECT Tcc.iTccId_P FROM TCca_CompCausali Cca INNER JOIN TTcc_TipoCompCaus Tcc "
                  "ON (Tcc.iTccId = Cca.iTccId) WHERE Cca.iCcaId = ?"_s, {id}).toInt();
    };
    TickRow(dlg->lbComponenti, 4, true);
    TickRow(dlg->lbComponenti, 0, true);
    TickRow(dlg->lbComponenti, 6, true);
    QCOMPARE(dlg->CompIds(), (QVariantList{ids[4], ids[0], ids[6]}));
    int expected[5] = {0, 0, 0, 0, 0};
    for (int row : {4, 0, 6})
        ++expected[groupOf(ids[row])];
    for (int g = 1; g <= 4; ++g)
        QCOMPARE(dlg->GroupCount(g), expected[g]);
    QCOMPARE(dlg->property("GroupCount1").toInt(), expected[1]);
    QCOMPARE(dlg->property("GroupCount3").toInt(), expected[3]);
    // Unticking removes the id and counts one less.
    TickRow(dlg->lbComponenti, 0, false);
    --expected[groupOf(ids[0])];
    QCOMPARE(dlg->property("CompIds").toList(), (QVariantList{ids[4], ids[6]}));
    for (int g = 1; g <= 4; ++g)
        QCOMPARE(dlg->GroupCount(g), expected[g]);
    // Ticked again, it comes last.
    TickRow(dlg->lbComponenti, 0, true);
    QCOMPARE(dlg->CompIds(), (QVariantList{ids[4], ids[6], ids[0]}));
    QCOMPARE(dlg->GroupCount(0), 0);
}

void TstRptDates::schoolYearRewriteAndBackExactly()
{
    auto dlg = Create<TfmEbcRptSelDateList>(u"TfmEbcRptSelDateList"_s);
    QVERIFY(dlg);
    QCOMPARE(dlg->ckAnnoScol->text(), u"&Mostra anno scolastico"_s);
    const QString sql = ComponentsSQL();
    dlg->SetCompSQL(sql);
    Show(dlg.get());
    const QVariantList ids = TTestDatabase::Column(sql);
    const QStringList plain = [&] {
        QStringList t;
        for (int i = 0; i < dlg->lbComponenti->count(); ++i)
            t << dlg->lbComponenti->item(i)->text();
        return t;
    }();
    TickRow(dlg->lbComponenti, 2, true);
    TickRow(dlg->lbComponenti, 7, true);
    TickRow(dlg->lbComponenti, 1, true);
    const QVariantList order{ids[2], ids[7], ids[1]};
    const int counts[5] = {0, dlg->GroupCount(1), dlg->GroupCount(2), dlg->GroupCount(3), dlg->GroupCount(4)};
    QCOMPARE(counts[1] + counts[2] + counts[3] + counts[4], 3);
    const auto same = [&] {
        QCOMPARE(dlg->CompIds(), order);
        for (int g = 1; g <= 4; ++g)
            QCOMPARE(dlg->GroupCount(g), counts[g]);
        for (int row : {2, 7, 1})
            QCOMPARE(dlg->ItemOf(ids[row])->checkState(), Qt::Checked);
        int ticked = 0;
        for (int i = 0; i < dlg->lbComponenti->count(); ++i)
            ticked += dlg->lbComponenti->item(i)->checkState() == Qt::Checked;
        QCOMPARE(ticked, 3);
    };

    for (int round = 0; round < 2; ++round) {
        dlg->ckAnnoScol->setChecked(true);
        // Only the column list's description is rewritten: the ORDER BY
        // keeps its own, so the select still runs.
        const QString rewritten = dlg->CompSQL();
        QCOMPARE(rewritten.count(u"Cca.sCcaLDesc || ' - ' || Ans.sAnsAnnoDesc sCcaAnsDesc"_s), 1);
        QVERIFY(rewritten.endsWith(u"ORDER BY Cca.sCcaLDesc"_s));
        QCOMPARE(dlg->lbComponenti->count(), ids.size());
        for (int i = 0; i < plain.size(); ++i)
            QCOMPARE(dlg->lbComponenti->item(i)->text(), plain[i] + u" - 2024/2025"_s);
        same();
        dlg->ckAnnoScol->setChecked(false);
        QCOMPARE(dlg->CompSQL(), sql);
        for (int i = 0; i < plain.size(); ++i)
            QCOMPARE(dlg->lbComponenti->item(i)->text(), plain[i]);
        same();
    }
    QCOMPARE((*m_messages)->Texts(), QStringList());
    // The rewrite of a select with the description twice, and of one without it.
    QCOMPARE(TfmEbcRptSelDateList::WithSchoolYear(u"SELECT Cca.sCcaLDesc FROM T ORDER BY Cca.sCcaLDesc"_s),
             u"SELECT Cca.sCcaLDesc || ' - ' || Ans.sAnsAnnoDesc sCcaAnsDesc FROM T ORDER BY Cca.sCcaLDesc"_s);
    QCOMPARE(TfmEbcRptSelDateList::WithSchoolYear(u"SELECT 1 FROM T"_s), u"SELECT 1 FROM T"_s);
}

void TstRptDates::dateGridFollowsDatesAndType()
{
    auto dlg = Create<TfmEbsRptSelDateGrid>(u"TfmEbsRptSelDateGrid"_s);
    QVERIFY(dlg);
    QCOMPARE(dlg->cbTipo->count(), 2);
    QCOMPARE(dlg->cbTipo->itemText(0), u"ENTRATE"_s);
    QCOMPARE(dlg->cbTipo->itemText(1), u"USCITE"_s);
    QCOMPARE(dlg->cbTipo->currentIndex(), 0);
    dlg->SetCaption(u"Movimenti per causale"_s);
    dlg->SetInitialStartDate(QDate(2024, 1, 1));
    dlg->SetInitialEndDate(QDate(2025, 12, 31));
    Show(dlg.get());
    QVERIFY(!dlg->cbTipo->isVisible());   // only when the caller asks
    const auto reasons = [](const QDate &from, const QDate &to, int tipo) {
        QStringList ids;
        for (const QVariant &v : TTestDatabase::Column(
                 u"SELECT Cau.iCauId FROM TCau_Causali Cau WHERE Cau.lCauTipo = ? AND EXISTS (SELECT 1 FROM "
                 "TMvm_MovimentiCcp Mvm WHERE Mvm.iCauId = Cau.iCauId AND (Mvm.dMvmDataMov BETWEEN ? AND ? OR "
                 "Mvm.dMvmDataEC BETWEEN ? AND ?)) ORDER BY Cau.sCauLDesc"_s,
                 {tipo, from, to, from, to}))
            ids << v.toString();
        return ids;
    };
    const auto shown = [&] {
        QStringList ids;
        for (int r = 0; r < dlg->RowCount(); ++r)
            ids << dlg->RowId(r).toString();
        return ids;
    };
    QCOMPARE(shown(), reasons(QDate(2024, 1, 1), QDate(2025, 12, 31), 0));
    QCOMPARE(shown(), (QStringList{u"2401"_s, u"2403"_s}));

    // A date change runs the grid again.
    TypeAndLeave(dlg->deAl, u"30/09/2024"_s);
    QCOMPARE(dlg->Params().ParamByName(u"dEnd"_s)->Value().toDate(), QDate(2024, 9, 30));
    QCOMPARE(shown(), reasons(QDate(2024, 1, 1), QDate(2024, 9, 30), 0));
    QCOMPARE(shown(), QStringList{u"2401"_s});
    TypeAndLeave(dlg->deDal, u"01/03/2024"_s);
    QVERIFY(shown().isEmpty());
    // And so does the combo: the outgoing reasons of the range.
    dlg->hide();
    dlg->SetTipoVisible(true);
    Show(dlg.get());
    QVERIFY(dlg->cbTipo->isVisible());
    QCOMPARE(dlg->StartDate(), QDate(2024, 1, 1));   // each showing starts from the initial range
    QCOMPARE(shown(), (QStringList{u"2401"_s, u"2403"_s}));
    dlg->cbTipo->setCurrentIndex(1);
    QCOMPARE(dlg->property("CauTipo").toInt(), 1);
    QCOMPARE(dlg->Params().ParamByName(u"lCauTipo"_s)->AsInteger(), 1);
    QCOMPARE(shown(), reasons(QDate(2024, 1, 1), QDate(2025, 12, 31), 1));
    QCOMPARE(shown(), QStringList{u"2405"_s});
    dlg->SetChecked(0, true);
    QCOMPARE(dlg->property("CauIds").toList(), QVariantList{2405});
}

void TstRptDates::dateGridReasonTotalOnce()
{
    auto dlg = Create<TfmEbsRptSelDateGrid>(u"TfmEbsRptSelDateGrid"_s);
    dlg->SetInitialStartDate(QDate(2024, 1, 1));
    dlg->SetInitialEndDate(QDate(2025, 12, 31));
    Show(dlg.get());
    // 2401 has five movements in the range, and one line.
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TMvm_MovimentiCcp WHERE iCauId = 2401 AND dMvmDataMov BETWEEN ? AND ?"_s,
                {QDate(2024, 1, 1), QDate(2025, 12, 31)})
                 .toInt(),
             5);
    int lines = 0, row = -1;
    for (int r = 0; r < dlg->RowCount(); ++r)
        if (dlg->RowId(r).toInt() == 2401) {
            ++lines;
            row = r;
        }
    QCOMPARE(lines, 1);
    QCOMPARE(dlg->RowText(row, u"fImportoCau"_s), u"54,50"_s);
    QCOMPARE(dlg->RowText(row, u"sCauLDesc"_s), u"Contributo scolastico"_s);
    QCOMPARE(dlg->RowText(row, u"sAnsAnnoDesc"_s), u"2024/2025"_s);
    QAbstractItemModel *m = dlg->grMain->model();
    QStringList titles;
    for (int c = 1; c < m->columnCount(); ++c)
        titles << m->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{u"Causale"_s, u"Codice"_s, u"Anno scolastico"_s, u"Importo"_s}));
}

void TstRptDates::dateCheckBox()
{
    auto dlg = Create<TfmEbsRptSelDateCheck>(u"TfmEbsRptSelDateCheck"_s);
    QVERIFY(dlg);
    QCOMPARE(dlg->ckUscite->text(), u"Stampa i movimenti in uscita"_s);
    Show(dlg.get());
    QVERIFY(!dlg->property("PrintOutgoing").toBool());
    dlg->ckUscite->click();
    QVERIFY(dlg->property("PrintOutgoing").toBool());
    TypeAndLeave(dlg->deDal, u"01/02/2025"_s);
    QCOMPARE(dlg->property("StartDate").toDate(), QDate(2025, 2, 1));
}

void TstRptDates::screenshots()
{
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    const auto save = [&](QWidget *w, const QString &name) {
        QTest::qWait(20);
        QVERIFY(w->grab().save(dir.filePath(name)));
        CheckNothingCut(w);
    };

    auto date = Create<TfmEbsRptSelDate>(u"TfmEbsRptSelDate"_s);
    date->SetInitialStartDate(QDate(2025, 1, 1));
    date->SetInitialEndDate(QDate(2025, 3, 31));
    date->SetRestrictToAnf(true);
    Show(date.get());
    save(date.get(), u"rpt_seldate.png"_s);

    auto list = Create<TfmEbsRptSelDateList>(u"TfmEbsRptSelDateList"_s);
    list->SetCompSQL(ComponentsSQL());
    Show(list.get());
    TickRow(list->lbComponenti, 0, true);
    TickRow(list->lbComponenti, 3, true);
    save(list.get(), u"rpt_seldatelist.png"_s);

    auto ebcList = Create<TfmEbcRptSelDateList>(u"TfmEbcRptSelDateList"_s);
    ebcList->SetCompSQL(ComponentsSQL());
    Show(ebcList.get());
    ebcList->ckAnnoScol->setChecked(true);
    TickRow(ebcList->lbComponenti, 1, true);
    save(ebcList.get(), u"rpt_ebcseldatelist.png"_s);

    auto grid = Create<TfmEbsRptSelDateGrid>(u"TfmEbsRptSelDateGrid"_s);
    grid->SetCaption(u"Movimenti per causale"_s);
    grid->SetTipoVisible(true);
    grid->SetInitialStartDate(QDate(2024, 1, 1));
    grid->SetInitialEndDate(QDate(2025, 12, 31));
    Show(grid.get());
    grid->SetChecked(0, true);
    save(grid.get(), u"rpt_seldategrid.png"_s);

    auto check = Create<TfmEbsRptSelDateCheck>(u"TfmEbsRptSelDateCheck"_s);
    check->SetInitialStartDate(QDate(2025, 1, 1));
    check->SetInitialEndDate(QDate(2025, 12, 31));
    Show(check.get());
    check->ckUscite->setChecked(true);
    save(check.get(), u"rpt_seldatecheck.png"_s);
}

QTEST_MAIN(TstRptDates)
#include "tst_rptdates.moc"

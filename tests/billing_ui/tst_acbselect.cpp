#include "EbcRDblLstAcbSelect.h"
#include "EbdFAluGen.h"
#include "EbdMConn.h"
#include "EbdRAluGen.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestScreens.h"
#include "VardellaModules.h"
#include "VtFormRegistry.h"
#include "VtQueryCollection.h"
#include "VtRptFilter.h"
#include "fmVtRptFilter.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <memory>

using namespace Qt::StringLiterals;

// The pupils a multiple insertion writes to, in its two modes, narrowed by
// the filter of EBC_ACBFL; and the holder frame's commands that open the
// data-replace wizard.
class TstAcbSelect : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void holdersModeOffersEachPupilWithoutHolderOnce();
    void reasonsModeListsTheHolderRecordsOfTheYear();
    void filterEmptiesTheSelectionAndToggles();
    void filterDialogNarrowsTheList();
    void everyDefinitionFieldRunsInBothModes();
    void aQuotedSurnameFindsThePupil();
    void classColumnSortsByClassThenName();
    void insertionCommandsWaitForTheWizard();
    void screenshot();

private:
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    std::unique_ptr<TfrEbcDblLstAcbSelect> Frame(TEbcAcbSelectMode mode);
    static QStringList Captions(QTreeWidget *list, int column = 0);
    static TVtRptFilter::TRow Row(TfrEbcDblLstAcbSelect *frame, const QString &name, const QString &op,
                                  const QString &value);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
};

namespace {
// The pupils of 2024/2025 with a class, as the holders list counts them.
const QString PupilsOfTheYear =
    u"SELECT COUNT(DISTINCT Sit.iAnaId) FROM TSit_Situazioni Sit INNER JOIN TClsPst Pst ON Pst.iClsPstId = "
    "Sit.iClsPstId INNER JOIN TCls_Classi Cls ON Cls.iClsId = Pst.iClsId WHERE Cls.dStart = '2024-09-01' "_s;
}

void TstAcbSelect::initTestCase()
{
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstAcbSelect::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));
}

void TstAcbSelect::cleanup()
{
    TVtFormRegistry::UnregisterClass(TfrEbdAluGen::DataReplaceClass);
    CloseBillingModule();
}

void TstAcbSelect::cleanupTestCase()
{
    m_db.reset();
}

std::unique_ptr<TfrEbcDblLstAcbSelect> TstAcbSelect::Frame(TEbcAcbSelectMode mode)
{
    SetEbcAcbSelectMode(mode);
    auto frame = std::make_unique<TfrEbcDblLstAcbSelect>();
    frame->resize(1100, 600);
    return frame;
}

QStringList TstAcbSelect::Captions(QTreeWidget *list, int column)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(column);
    return out;
}

TVtRptFilter::TRow TstAcbSelect::Row(TfrEbcDblLstAcbSelect *frame, const QString &name, const QString &op,
                                     const QString &value)
{
    const TVtRptFilterDef::TField *field = frame->FilterDialog()->Definition().FindField(name);
    return {field ? *field : TVtRptFilterDef::TField{}, op, value};
}

void TstAcbSelect::holdersModeOffersEachPupilWithoutHolderOnce()
{
    auto frame = Frame(TEbcAcbSelectMode::Holders);
    QCOMPARE(frame->lbLeft->text(), u"Alunni disponibili"_s);
    QCOMPARE(frame->lbRight->text(), u"Alunni selezionati"_s);
    QCOMPARE(frame->lvLeft->headerItem()->text(2), u"Intestatario"_s);
    const QVariantList offered = frame->Items(TfrVtDoubleListView::sdLeft);
    // Every pupil of the year that has a relative and no holder record, once.
    const int expected = Db(PupilsOfTheYear + u"AND EXISTS (SELECT 1 FROM TAnaGpt g WHERE g.iAnaId = Sit.iAnaId) "
                                              "AND NOT EXISTS (SELECT 1 FROM TAcb_AluCoordBan a WHERE a.iAnaId = Sit.iAnaId)"_s)
                             .toInt();
    QVERIFY(expected >= 3);
    QCOMPARE(offered.size(), expected);
    QSet<int> distinct;
    for (const QVariant &pupil : offered)
        distinct.insert(pupil.toInt());
    QCOMPARE(distinct.size(), expected);
    for (const QVariant &pupil : offered)
        QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAnaId = ?"_s, {pupil}).toInt(), 0);
    const QStringList names = Captions(frame->lvLeft);
    QVERIFY(!names.contains(u"Nardelli Omar"_s));   // a class but no relative
    QCOMPARE(names.count(u"D'Angelo Viola"_s), 1);   // two guardians of the same degree
    const int viola = names.indexOf(u"D'Angelo Viola"_s);
    QCOMPARE(frame->lvLeft->topLevelItem(viola)->text(2), u"D'Angelo Bruno"_s);
    QCOMPARE(frame->lvLeft->topLevelItem(viola)->text(1), u"3A"_s);
    QCOMPARE(frame->RightCount(), 0);
}

void TstAcbSelect::reasonsModeListsTheHolderRecordsOfTheYear()
{
    auto frame = Frame(TEbcAcbSelectMode::Reasons);
    const QVariantList offered = frame->Items(TfrVtDoubleListView::sdLeft);
    const int expected = Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan a WHERE a.iAnaId IN (SELECT Sit.iAnaId FROM "
                            "TSit_Situazioni Sit INNER JOIN TClsPst Pst ON Pst.iClsPstId = Sit.iClsPstId INNER JOIN "
                            "TCls_Classi Cls ON Cls.iClsId = Pst.iClsId WHERE Cls.dStart = '2024-09-01')"_s).toInt();
    QCOMPARE(offered.size(), expected);
    // The data are holder records: the pupil with two of them is there twice.
    const int pupil = Db(u"SELECT FIRST 1 iAnaId FROM TAcb_AluCoordBan GROUP BY iAnaId HAVING COUNT(*) > 1"_s).toInt();
    const int twice = Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAnaId = ?"_s, {pupil}).toInt();
    int found = 0;
    for (const QVariant &acb : offered)
        found += Db(u"SELECT iAnaId FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {acb}).toInt() == pupil ? 1 : 0;
    QVERIFY(found == 0 || found == twice);
}

void TstAcbSelect::filterEmptiesTheSelectionAndToggles()
{
    auto frame = Frame(TEbcAcbSelectMode::Reasons);
    const int all = frame->LeftCount();
    QVERIFY(!frame->acApplyFilter->isEnabled());
    QCOMPARE(frame->acApplyFilter->property("ImageKey").toString(), u"FILTERAPPLY"_s);
    frame->lvLeft->topLevelItem(0)->setSelected(true);
    frame->lvLeft->topLevelItem(1)->setSelected(true);
    QCOMPARE(frame->MoveSelected(true), 2);

    frame->ApplyCondition(u"(VCls.iAcsId = 1)"_s);
    QCOMPARE(frame->RightCount(), 0);
    const int firstYears = frame->LeftCount();
    QVERIFY(firstYears > 0 && firstYears < all);
    for (const QString &cls : Captions(frame->lvLeft, 1))
        QVERIFY2(cls.startsWith(u'1'), qPrintable(cls));
    QVERIFY(frame->acApplyFilter->isEnabled());
    QCOMPARE(frame->acApplyFilter->property("ImageKey").toString(), u"FILTERAPPLYON"_s);

    frame->MoveAll(true);
    frame->acApplyFilter->trigger();   // off: everything again, nothing chosen
    QCOMPARE(frame->LeftCount(), all);
    QCOMPARE(frame->RightCount(), 0);
    QCOMPARE(frame->acApplyFilter->property("ImageKey").toString(), u"FILTERAPPLY"_s);
    frame->acApplyFilter->trigger();   // on again, with the same condition
    QCOMPARE(frame->LeftCount(), firstYears);
    QCOMPARE(frame->acApplyFilter->property("ImageKey").toString(), u"FILTERAPPLYON"_s);

    frame->ApplyCondition(QString());   // the dialog closed without rows
    QCOMPARE(frame->LeftCount(), all);
    QVERIFY(!frame->acApplyFilter->isEnabled());
    QCOMPARE(frame->acFilter->shortcut(), QKeySequence(u"Ctrl+F"_s));
    QCOMPARE(frame->acApplyFilter->shortcut(), QKeySequence(u"Ctrl+Shift+F"_s));
}

void TstAcbSelect::filterDialogNarrowsTheList()
{
    auto frame = Frame(TEbcAcbSelectMode::Holders);
    frame->show();
    TfmVtRptFilter *dialog = frame->FilterDialog();
    QCOMPARE(frame->FilterDialog(), dialog);   // created once and kept
    QCOMPARE(dialog->Definition().Code(), u"EBC_ACBFL"_s);
    QVERIFY(dialog->Folder().endsWith(u"usr/ebc/filter"_s));
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
        auto *shown = qobject_cast<TfmVtRptFilter *>(QApplication::activeModalWidget());
        if (!shown)
            return;
        TVtRptFilter filter;
        filter.Rows << Row(frame.get(), u"VCls.sClsSDesc"_s, u"eq"_s, u"3A"_s);
        shown->SetFilter(filter);
        answered = true;
        shown->OkClick();
    });
    frame->acFilter->trigger();
    QVERIFY(answered);
    QCOMPARE(frame->Condition(), u"(VCls.sClsSDesc = '3A')"_s);
    QVERIFY(frame->FilterApplied());
    QVERIFY(frame->LeftCount() > 0);
    for (const QString &cls : Captions(frame->lvLeft, 1))
        QCOMPARE(cls, u"3A"_s);
}

void TstAcbSelect::everyDefinitionFieldRunsInBothModes()
{
    for (TEbcAcbSelectMode mode : {TEbcAcbSelectMode::Reasons, TEbcAcbSelectMode::Holders}) {
        auto frame = Frame(mode);
        const TVtRptFilterDef &def = frame->FilterDialog()->Definition();
        QCOMPARE(def.Fields().size(), 7);
        for (const TVtRptFilterDef::TField &field : def.Fields()) {
            const QList<QPair<QString, QString>> values = frame->FilterDialog()->Values(field.Name);
            const QString value = field.Type == TVtRptFilterDef::ftEnum ? values.value(0).first : u"A"_s;
            TVtRptFilter filter;
            filter.Rows << TVtRptFilter::TRow{field, field.Type == TVtRptFilterDef::ftString ? u"contains"_s : u"eq"_s,
                                             value};
            QVERIFY2(!value.isEmpty(), qPrintable(field.Name));
            frame->ApplyCondition(filter.Condition());   // a database refusal would throw
            QVERIFY2(frame->FilterApplied(), qPrintable(field.Name));
        }
    }
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstAcbSelect::aQuotedSurnameFindsThePupil()
{
    auto frame = Frame(TEbcAcbSelectMode::Holders);
    TVtRptFilter filter;
    filter.Rows << Row(frame.get(), u"TAna.sAnaCognome"_s, u"contains"_s, u"D'Angelo"_s);
    QCOMPARE(filter.Condition(), u"(TAna.sAnaCognome CONTAINING 'D''Angelo')"_s);
    frame->ApplyCondition(filter.Condition());
    QCOMPARE(Captions(frame->lvLeft), QStringList{u"D'Angelo Viola"_s});
}

void TstAcbSelect::classColumnSortsByClassThenName()
{
    auto frame = Frame(TEbcAcbSelectMode::Reasons);
    QCOMPARE(frame->SortColumn(), 0);
    QStringList names = Captions(frame->lvLeft);
    for (int i = 1; i < names.size(); ++i)
        QVERIFY(names.at(i - 1).compare(names.at(i), Qt::CaseInsensitive) <= 0);

    emit frame->lvLeft->header()->sectionClicked(1);
    QCOMPARE(frame->SortColumn(), 1);
    const QStringList classes = Captions(frame->lvLeft, 1);
    // A primary and a secondary class may share the short caption: the
    // order is that of the long description, which the item carries.
    QStringList longClasses;
    for (int i = 0; i < frame->lvLeft->topLevelItemCount(); ++i)
        longClasses << frame->lvLeft->topLevelItem(i)->data(1, Qt::UserRole + 1).toString();
    names = Captions(frame->lvLeft);
    int sameClass = 0;
    for (int i = 1; i < names.size(); ++i) {
        QVERIFY(longClasses.at(i - 1).compare(longClasses.at(i), Qt::CaseInsensitive) <= 0);
        if (longClasses.at(i - 1) != longClasses.at(i))
            continue;
        ++sameClass;
        QVERIFY2(names.at(i - 1).compare(names.at(i), Qt::CaseInsensitive) <= 0,
                 qPrintable(names.at(i - 1) + u" / "_s + names.at(i)));
    }
    QVERIFY(sameClass > 100);
    // The classes in the order of their long description: 1A before 1B.
    QVERIFY(classes.indexOf(u"1A"_s) < classes.indexOf(u"1B"_s));

    emit frame->lvLeft->header()->sectionClicked(2);
    const QStringList parents = Captions(frame->lvLeft, 2);
    for (int i = 1; i < parents.size(); ++i)
        QVERIFY(parents.at(i - 1).compare(parents.at(i), Qt::CaseInsensitive) <= 0);
    // A reload sorts by pupil again.
    frame->Reload();
    QCOMPARE(frame->SortColumn(), 0);
}

namespace {
// Stands in for the data-replace wizard: records the mode it was opened in.
class TDataReplaceProbe : public QDialog
{
public:
    static inline int Opened = 0;
    static inline TEbcAcbSelectMode Mode = TEbcAcbSelectMode::Reasons;
    explicit TDataReplaceProbe(QWidget *parent) : QDialog(parent)
    {
        ++Opened;
        Mode = EbcAcbSelectMode();
        QTimer::singleShot(0, this, &QDialog::reject);
    }
};
}

void TstAcbSelect::insertionCommandsWaitForTheWizard()
{
    TVtFormRegistry::UnregisterClass(TfrEbdAluGen::DataReplaceClass);   // a build without the wizard
    auto *window = qobject_cast<TfmEbdAluGen *>(TVtFormRegistry::CreateForm(u"TfmEbdAluGen"_s));
    QVERIFY(window);
    std::unique_ptr<QWidget> owner(window);
    window->show();
    TfrEbdAluGen *frame = window->frEbdAluGen;
    QCOMPARE(frame->acInsMultiploCau->text(), u"Inserimento multiplo causali"_s);
    QCOMPARE(frame->acInsMultiploInt->text(), u"Inserimento multiplo intestatari"_s);
    for (QAction *a : {frame->acInsMultiploCau, frame->acInsMultiploInt, frame->acSostMultiplaDati}) {
        QVERIFY(!a->isEnabled());
        QCOMPARE(a->toolTip(), u"Disponibile con la sostituzione dati"_s);
    }
    TVtFormRegistry::RegisterClass<TDataReplaceProbe>(TfrEbdAluGen::DataReplaceClass);
    frame->UpdateActions();
    QVERIFY(frame->acInsMultiploInt->isEnabled());
    TDataReplaceProbe::Opened = 0;
    frame->acInsMultiploInt->trigger();
    QCOMPARE(TDataReplaceProbe::Opened, 1);
    QCOMPARE(TDataReplaceProbe::Mode, TEbcAcbSelectMode::Holders);
    frame->acInsMultiploCau->trigger();
    QCOMPARE(TDataReplaceProbe::Mode, TEbcAcbSelectMode::Reasons);
    QVERIFY(dmEbdConn->xqcAluGen->Active());
}

void TstAcbSelect::screenshot()
{
    auto frame = Frame(TEbcAcbSelectMode::Holders);
    frame->resize(1000, 560);
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    frame->lvLeft->topLevelItem(0)->setSelected(true);
    frame->MoveSelected(true);
    QTest::qWait(20);
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    QVERIFY(frame->grab().save(dir.filePath(u"selezione_alunni.png"_s)));
    CheckNothingCut(frame.get());
    QVERIFY(frame->tbFilter->geometry().bottom() < frame->lvLeft->geometry().top());
}

QTEST_MAIN(TstAcbSelect)
#include "tst_acbselect.moc"

#include "EbdUGlobals.h"
#include "EbdURptForms.h"
#include "EbsFRptSelAluCau.h"
#include "EbsURptAlunni.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestScreens.h"
#include "VtExecModal.h"
#include "VtFormRegistry.h"
#include "VtGlobalValuesManager.h"
#include "VtParams.h"
#include "VtQueryCollection.h"
#include "fmVtRptFilter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// "Selezione alunni" of the pupils' payment forms: the lists of reasons,
// schools, classes, accounts and categories, the grid following them, the
// filter, the refusal without a reason, and the grid's select handed to the
// caller's collection when the dialog closes.
class TstRptPupils : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void captionsOfTheControls();
    void enrolledPupilsOfTheYearSchoolAndClass();
    void schoolComboOnlyWithSeveralSchools();
    void reasonsOfTheYearAndTheNext();
    void attendingOnly();
    void newEnrolments();
    void anotherBeneficiaryCategory();
    void categoriesOnlyForTheProgram();
    void aYearChangeReloadsTheLists();
    void noReasonIsRefused();
    void accountOfTheProgramOrTheFirst_data();
    void accountOfTheProgramOrTheFirst();
    void barCodeFromItsParameter();
    void textAndParametersCopiedOnClose();
    void filterOnASurnameWithAQuote();
    void screenshots();

private:
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    std::unique_ptr<TfmEbsRptSelAluCau> Create();
    static void Show(QWidget *w);
    static QStringList Texts(const QComboBox *combo);
    static QSet<int> Ids(const TfmEbsRptSelAluCau &dlg);
    static QSet<int> DbIds(const QString &sql, const QVariantList &values = {});
    // The enrolled pupils of a year and school (and class), read apart.
    static QSet<int> Enrolled(int ans, int dwg, int cls = 0, bool attendingOnly = false);
    static void ChooseText(QComboBox *combo, const QString &text);
    static void Prepare(TfmEbsRptSelAluCau &dlg);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
};

void TstRptPupils::initTestCase()
{
    RegisterReportForms();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [] {
        // A school year without reasons.
        TTestDatabase::Exec(u"INSERT INTO TAns_AnniScolast (iAnsId, iAnsValore, sAnsAnnoDesc, dAnsVeltoInizio, "
                            "dAnsVeltoFine) VALUES (2030, 2030, '2030/2031', '2030-09-01', '2031-08-31')"_s);
    });
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstRptPupils::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));   // group 1, school year 2024, financial year 2025
    gApplCode = u"EBC"_s;
}

void TstRptPupils::cleanup()
{
    VtModalRunner() = nullptr;
    CloseBillingModule();
    gApplCode.clear();
}

void TstRptPupils::cleanupTestCase()
{
    m_db.reset();
}

std::unique_ptr<TfmEbsRptSelAluCau> TstRptPupils::Create()
{
    return std::unique_ptr<TfmEbsRptSelAluCau>(
        qobject_cast<TfmEbsRptSelAluCau *>(TVtFormRegistry::CreateForm(u"TfmEbsRptSelAluCau"_s)));
}

void TstRptPupils::Show(QWidget *w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

QStringList TstRptPupils::Texts(const QComboBox *combo)
{
    QStringList t;
    for (int i = 0; i < combo->count(); ++i)
        t << combo->itemText(i);
    return t;
}

QSet<int> TstRptPupils::Ids(const TfmEbsRptSelAluCau &dlg)
{
    QSet<int> ids;
    for (int r = 0; r < dlg.RowCount(); ++r)
        ids << dlg.RowId(r).toInt();
    return ids;
}

QSet<int> TstRptPupils::DbIds(const QString &sql, const QVariantList &values)
{
    QSet<int> ids;
    for (const QVariant &v : TTestDatabase::Column(sql, values))
        ids << v.toInt();
    return ids;
}

QSet<int> TstRptPupils::Enrolled(int ans, int dwg, int cls, bool attendingOnly)
{
    return DbIds(u"SELECT Sit.iAnaId FROM TSit_Situazioni Sit "
                 "INNER JOIN TAnaCag Cag ON (Cag.iAnaId = Sit.iAnaId AND Cag.iCagId = 1) "
                 "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
                 "INNER JOIN TCls_Classi Cls ON (Cls.iClsId = Pst.iClsId) "
                 "INNER JOIN TDwgSed Ds ON (Ds.iDwgSedId = Cls.iDwgSedId) "
                 "WHERE Sit.dStart = ? AND Sit.iSitOrdine = 1 AND Ds.iDwgId = ? AND (Cls.iClsId = ? OR ? = 0) "
                 "AND (Sit.iPosAttId = 1 OR ? = 0)"_s,
                 {QDate(ans, 9, 1), dwg, cls, cls, attendingOnly ? 1 : 0});
}

void TstRptPupils::ChooseText(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
}

// As the fee-structure module prepares the dialog.
void TstRptPupils::Prepare(TfmEbsRptSelAluCau &dlg)
{
    dlg.SetCaption(u"Selezione alunni"_s);
    dlg.SetHelpContext(1008);
    dlg.SetFieldTitle(u"sAnaCognome"_s, u"Cognome"_s, 160);
    dlg.SetFieldTitle(u"sAnaNome"_s, u"Nome"_s, 160);
    dlg.SetFieldTitle(u"sAnaCagCode"_s, u"Codice anagrafico"_s, 130);
    dlg.SetFieldTitle(u"sClsSDesc"_s, u"Classe"_s, 80);
    for (const QString &name : {u"iClsId"_s, u"dAnaNascita"_s, u"sLuogoNascita"_s, u"sProSiglaNascita"_s, u"sAnaSesso"_s})
        dlg.SetFieldVisible(name, false);
    dlg.AddSortOrder(u"sAnaCognome;sAnaNome"_s);
    dlg.AddSortOrder(u"sAnaCagCode"_s);
    dlg.AddSortOrder(u"sClsSDesc;sAnaCognome;sAnaNome"_s);
    QStringList lines;
    LoadXmlArchivio(lines, u"EBT_ALUFLT"_s, u"EBT"_s);
    dlg.SetFilterDefinition(u"EBT_ALUFLT"_s, lines.join(u'\n'));
    dlg.SetFilterFolder(QDir(TTestDatabase::WorkDir()).filePath(u"filtri"_s));
}

void TstRptPupils::captionsOfTheControls()
{
    auto dlg = Create();
    QVERIFY(dlg);
    QCOMPARE(dlg->laCausale->text(), u"&Causale"_s);
    QCOMPARE(dlg->laIstituto->text(), u"&Istituto"_s);
    QCOMPARE(dlg->laClasse->text(), u"Classe"_s);
    QCOMPARE(dlg->laConto->text(), u"Numero conto"_s);
    QCOMPARE(dlg->laBeneficiari->text(), u"Beneficiari"_s);
    QCOMPARE(dlg->ckNuovi->text(), u"Alunni &nuovi iscritti"_s);
    QCOMPARE(dlg->ckFrequentanti->text(), u"Solo frequentanti"_s);
    QCOMPARE(dlg->ckBarCode->text(), u"Stampa codici a &barre"_s);
    QCOMPARE(dlg->buFiltro->text(), u"Filtro..."_s);
    // The grid's text at creation: the enrolled pupils of the working year,
    // school and every class.
    QCOMPARE(dlg->CommandText(), EbsAlunniIscrittiSQL(u"1=1"_s, QString()));
    QVERIFY(!dlg->CommandText().contains(QLatin1String(EbsMyFilterMarker)));
    QVERIFY(dlg->CommandText().contains(u"/*AND VTRPTFILTER*/ ORDER BY"_s));
    QCOMPARE(dlg->Params().ParamByName(u"iAnsId"_s)->AsInteger(), 2024);
    QCOMPARE(dlg->Params().ParamByName(u"iDwgId"_s)->AsInteger(), 1);
    QCOMPARE(dlg->Params().ParamByName(u"iClsId"_s)->AsString(), u"%"_s);
    // The new-enrolments box as the caller wants it.
    dlg->SetNuoviVisible(false);
    Show(dlg.get());
    QVERIFY(!dlg->ckNuovi->isVisible());
    dlg->SetNuoviVisible(true);
    QVERIFY(dlg->ckNuovi->isVisible());
}

void TstRptPupils::enrolledPupilsOfTheYearSchoolAndClass()
{
    auto dlg = Create();
    Prepare(*dlg);
    Show(dlg.get());
    QCOMPARE(dlg->GetSelectediAnsId(), 2024);
    // The schools of the group in 2024/2025, the first chosen.
    QCOMPARE(Texts(dlg->cbIstituto), (QStringList{u"Primaria Rita Vallesi"_s, u"Secondaria Ottavio Brenna"_s}));
    QCOMPARE(dlg->DwgId(), 2);
    // Its classes with the seat's short name, after "every class".
    QStringList classes{QString()};
    for (const QVariant &v : TTestDatabase::Column(
             u"SELECT sClsSDesc || ' - ' || sSedNomSDesc FROM VCls_Classi WHERE dStart_Cls = DATE '2024-09-01' "
             "AND iDwgId = 2 ORDER BY sClsSDesc, sSedNomSDesc"_s))
        classes << v.toString();
    QCOMPARE(Texts(dlg->cbClasse), classes);
    QCOMPARE(dlg->ClsId(), 0);
    QCOMPARE(Ids(*dlg), Enrolled(2024, 2));
    QVERIFY(dlg->RowCount() > 50);
    // Another school, another class list and grid.
    ChooseText(dlg->cbIstituto, u"Secondaria Ottavio Brenna"_s);
    QCOMPARE(dlg->DwgId(), 3);
    QCOMPARE(dlg->cbClasse->count(),
             1 + Db(u"SELECT COUNT(*) FROM VCls_Classi WHERE dStart_Cls = DATE '2024-09-01' AND iDwgId = 3"_s).toInt());
    QCOMPARE(Ids(*dlg), Enrolled(2024, 3));
    QCOMPARE(dlg->Params().ParamByName(u"iDwgId"_s)->AsInteger(), 3);
    // One class.
    dlg->cbClasse->setCurrentIndex(2);
    const int cls = dlg->ClsId();
    QVERIFY(cls > 0);
    QCOMPARE(dlg->Params().ParamByName(u"iClsId"_s)->AsString(), QString::number(cls));
    QCOMPARE(Ids(*dlg), Enrolled(2024, 3, cls));
    QVERIFY(dlg->RowCount() > 0);
    for (int r = 0; r < dlg->RowCount(); ++r)
        QCOMPARE(dlg->RowText(r, u"sClsSDesc"_s), dlg->cbClasse->currentText().section(u" - "_s, 0, 0));
    // Every class again.
    dlg->cbClasse->setCurrentIndex(0);
    QCOMPARE(Ids(*dlg), Enrolled(2024, 3));
    QCOMPARE((*m_messages)->Texts(), QStringList());
}

void TstRptPupils::schoolComboOnlyWithSeveralSchools()
{
    // The primary school alone as the working data owner.
    SetWorkingContext(2, 2024, 2025, 5, 2024);
    auto dlg = Create();
    Show(dlg.get());
    QCOMPARE(Texts(dlg->cbIstituto), QStringList{u"Primaria Rita Vallesi"_s});
    QVERIFY(!dlg->cbIstituto->isVisible());
    QVERIFY(!dlg->laIstituto->isVisible());
    QCOMPARE(dlg->DwgId(), 2);
    QCOMPARE(Ids(*dlg), Enrolled(2024, 2));
    // The group with its two schools shows them.
    dlg->hide();
    SetWorkingContext(1, 2024, 2025, 2, 2024);
    auto group = Create();
    Show(group.get());
    QVERIFY(group->cbIstituto->isVisible());
    QVERIFY(group->laIstituto->isVisible());
}

void TstRptPupils::reasonsOfTheYearAndTheNext()
{
    auto dlg = Create();
    Show(dlg.get());
    // Incoming reasons shown in the fee program, of 2024/2025 and 2025/2026.
    const QStringList visible{u"Contributo scolastico (A.S.: 2024/2025)"_s, u"Contributo scolastico (A.S.: 2025/2026)"_s,
                              u"Servizio mensa (A.S.: 2024/2025)"_s, u"Servizio mensa (A.S.: 2025/2026)"_s,
                              u"Tasse scolastiche (A.S.: 2024/2025)"_s};
    QCOMPARE(Texts(dlg->cbCausale), visible);
    QCOMPARE(dlg->cbCausale->currentIndex(), 0);
    QCOMPARE(dlg->property("CauId").toInt(), 2401);
    ChooseText(dlg->cbCausale, u"Servizio mensa (A.S.: 2025/2026)"_s);
    QCOMPARE(dlg->CauId(), 2502);
    // From 2025/2026 only that year has reasons.
    dlg->SetSelectediAnsId(2025);
    QCOMPARE(Texts(dlg->cbCausale),
             (QStringList{u"Contributo scolastico (A.S.: 2025/2026)"_s, u"Servizio mensa (A.S.: 2025/2026)"_s}));
    QCOMPARE(dlg->CauId(), 2501);

    // With the all-reasons flag: every reason of the two years.
    auto all = Create();
    QVERIFY(all->setProperty("AllCausali", true));
    Show(all.get());
    QCOMPARE(all->cbCausale->count(),
             Db(u"SELECT COUNT(*) FROM TCau_Causali WHERE dStart IN (DATE '2024-09-01', DATE '2025-09-01')"_s).toInt());
    QVERIFY(Texts(all->cbCausale).contains(u"Rimborsi alle famiglie (A.S.: 2024/2025)"_s));
    QVERIFY(Texts(all->cbCausale).contains(u"Uscita didattica (A.S.: 2024/2025)"_s));
}

void TstRptPupils::attendingOnly()
{
    auto dlg = Create();
    Show(dlg.get());
    const QSet<int> everyone = Ids(*dlg);
    // Pupils of the school who no longer attend.
    const QSet<int> leaving = everyone - Enrolled(2024, 2, 0, true);
    QVERIFY(!leaving.isEmpty());
    dlg->ckFrequentanti->click();
    QVERIFY(dlg->property("SoloFrequentanti").toBool());
    QVERIFY(dlg->CommandText().contains(u"AND (iPosAttId=1)"_s));
    QCOMPARE(Ids(*dlg), Enrolled(2024, 2, 0, true));
    QVERIFY(!Ids(*dlg).intersects(leaving));
    QVERIFY(Ids(*dlg).size() < everyone.size());
    dlg->ckFrequentanti->click();
    QVERIFY(dlg->CommandText().contains(u"AND (1=1)"_s));
    QCOMPARE(Ids(*dlg), everyone);
}

void TstRptPupils::newEnrolments()
{
    auto dlg = Create();
    Show(dlg.get());
    dlg->SetSelectediAnsId(2025);
    dlg->ckNuovi->click();
    QVERIFY(dlg->property("NuoviIscritti").toBool());
    // The pupils enrolled in 2025/2026 without a class yet.
    QCOMPARE(Ids(*dlg), (QSet<int>{894, 896, 899, 902}));
    QCOMPARE(Ids(*dlg), DbIds(u"SELECT iAnaId FROM TSit_Situazioni WHERE dStart = DATE '2025-09-01' "
                              "AND iClsPstId IS NULL AND iSitOrdine = 1"_s));
    QVERIFY(dlg->RowText(0, u"sClsSDesc"_s).isEmpty());
    QVERIFY(!dlg->RowText(0, u"sAnaCagCode"_s).isEmpty());
    // None in 2024/2025.
    dlg->SetSelectediAnsId(2024);
    QCOMPARE(dlg->RowCount(), 0);
    dlg->ckNuovi->click();
    QCOMPARE(Ids(*dlg), Enrolled(2024, 2));
}

void TstRptPupils::anotherBeneficiaryCategory()
{
    auto dlg = Create();
    Show(dlg.get());
    QCOMPARE(Texts(dlg->cbBeneficiari), (QStringList{u"Alunni"_s, u"Corsisti EDA"_s}));
    QCOMPARE(dlg->CbmId(), 1);
    QVERIFY(dlg->cbBeneficiari->isEnabled());
    ChooseText(dlg->cbBeneficiari, u"Corsisti EDA"_s);
    QCOMPARE(dlg->property("CbmId").toInt(), 6);
    for (QWidget *w : {static_cast<QWidget *>(dlg->cbClasse), static_cast<QWidget *>(dlg->laClasse),
                       static_cast<QWidget *>(dlg->cbIstituto), static_cast<QWidget *>(dlg->laIstituto),
                       static_cast<QWidget *>(dlg->ckNuovi)})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    // Every person of the registry category of "Corsisti EDA".
    QCOMPARE(Ids(*dlg), DbIds(u"SELECT iAnaId FROM TAnaCag WHERE iCagId = 6"_s));
    QCOMPARE(dlg->RowCount(), 6);
    // The first category again.
    ChooseText(dlg->cbBeneficiari, u"Alunni"_s);
    QVERIFY(dlg->cbClasse->isEnabled());
    QVERIFY(dlg->cbIstituto->isEnabled());
    QVERIFY(dlg->ckNuovi->isEnabled());
    QCOMPARE(Ids(*dlg), Enrolled(2024, 2));
}

void TstRptPupils::categoriesOnlyForTheProgram()
{
    gApplCode = u"EBS"_s;
    auto dlg = Create();
    Show(dlg.get());
    QVERIFY(!dlg->cbBeneficiari->isEnabled());
    QVERIFY(!dlg->laBeneficiari->isEnabled());
    QCOMPARE(dlg->CbmId(), 1);
}

void TstRptPupils::aYearChangeReloadsTheLists()
{
    auto dlg = Create();
    Show(dlg.get());
    ChooseText(dlg->cbIstituto, u"Secondaria Ottavio Brenna"_s);
    dlg->cbClasse->setCurrentIndex(1);
    dlg->SetSelectediAnsId(2025);
    QCOMPARE(dlg->Params().ParamByName(u"iAnsId"_s)->AsInteger(), 2025);
    QCOMPARE(dlg->DwgId(), 3);   // the school stays
    QCOMPARE(dlg->ClsId(), 0);   // a class of 2024/2025 is not one of 2025/2026
    QCOMPARE(dlg->cbClasse->count(),
             1 + Db(u"SELECT COUNT(*) FROM VCls_Classi WHERE dStart_Cls = DATE '2025-09-01' AND iDwgId = 3"_s).toInt());
    QCOMPARE(Ids(*dlg), Enrolled(2025, 3));
    QCOMPARE(dlg->cbCausale->itemText(0), u"Contributo scolastico (A.S.: 2025/2026)"_s);
}

void TstRptPupils::noReasonIsRefused()
{
    auto dlg = Create();
    Show(dlg.get());
    QVERIFY(dlg->SetSelectediAnsId(2030));
    QCOMPARE(dlg->cbCausale->count(), 0);
    QCOMPARE(dlg->CauId(), 0);
    dlg->OkClick();
    QVERIFY(dlg->isVisible());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Nessuna causale selezionata: impossibile procedere."_s});
    QCOMPARE((*m_messages)->Messages.first().Type, mtWarning);
    dlg->SetSelectediAnsId(2024);
    dlg->OkClick();
    QVERIFY(!dlg->isVisible());
    QCOMPARE(dlg->ModalResult(), int(mrOk));
}

void TstRptPupils::accountOfTheProgramOrTheFirst_data()
{
    QTest::addColumn<QString>("applCode");
    QTest::addColumn<QString>("ownAccount");
    QTest::addColumn<QString>("number");
    const QString first = u"57836104"_s, school = u"61920447"_s;   // accounts 1 and 5
    QTest::newRow("unset") << u"EBC"_s << QString() << first;
    QTest::newRow("zero") << u"EBC"_s << u"0"_s << first;
    QTest::newRow("listed") << u"EBC"_s << u"5"_s << school;
    QTest::newRow("a bank account") << u"EBC"_s << u"2"_s << first;
    QTest::newRow("closed") << u"EBC"_s << u"4"_s << first;
    QTest::newRow("another program") << u"EBS"_s << u"5"_s << first;
}

void TstRptPupils::accountOfTheProgramOrTheFirst()
{
    QFETCH(QString, applCode);
    QFETCH(QString, ownAccount);
    QFETCH(QString, number);
    gApplCode = applCode;
    xgvmGlobalVar->SetValues(u"EBCP_SprIstId"_s, ownAccount);
    auto dlg = Create();
    Show(dlg.get());
    // The post-office accounts of the program open in 2025.
    QCOMPARE(Texts(dlg->cbConto), (QStringList{u"57836104"_s, u"61920447"_s}));
    QCOMPARE(dlg->property("NumeroCC").toString(), number);
    QCOMPARE(dlg->SprIstId(), number == u"57836104"_s ? 1 : 5);
}

void TstRptPupils::barCodeFromItsParameter()
{
    xgvmGlobalVar->SetValues(u"EBSP_PrintBarCode"_s, u"1"_s);
    auto on = Create();
    QVERIFY(on->ckBarCode->isChecked());
    QVERIFY(on->property("BarCode").toBool());
    xgvmGlobalVar->SetValues(u"EBSP_PrintBarCode"_s, u"0"_s);
    auto off = Create();
    QVERIFY(!off->BarCode());
    off->ckBarCode->click();
    QVERIFY(off->BarCode());
}

void TstRptPupils::textAndParametersCopiedOnClose()
{
    TVtQueryCollection qquAlunni;
    qquAlunni.CommandText = u"SELECT 1 FROM RDB$DATABASE"_s;
    qquAlunni.Params().CreateParam(QMetaType::Int, u"iStale"_s)->SetValue(1);
    auto dlg = Create();
    QVERIFY(dlg->setProperty("TargetDataSet", QVariant::fromValue(&qquAlunni)));
    QCOMPARE(dlg->TargetDataSet(), &qquAlunni);
    Show(dlg.get());
    ChooseText(dlg->cbIstituto, u"Secondaria Ottavio Brenna"_s);
    dlg->cbClasse->setCurrentIndex(1);
    dlg->ckFrequentanti->click();
    const QSet<int> shown = Ids(*dlg);
    dlg->OkClick();
    QVERIFY(!dlg->isVisible());
    QCOMPARE(qquAlunni.CommandText, dlg->CommandText());
    QVERIFY(qquAlunni.CommandText.contains(u"iPosAttId=1"_s));
    QVERIFY(!qquAlunni.Params().FindParam(u"iStale"_s));
    QCOMPARE(qquAlunni.Params().Count(), 3);
    QCOMPARE(qquAlunni.Params().ParamByName(u"iAnsId"_s)->AsInteger(), 2024);
    QCOMPARE(qquAlunni.Params().ParamByName(u"iDwgId"_s)->AsInteger(), 3);
    QCOMPARE(qquAlunni.Params().ParamByName(u"iClsId"_s)->AsString(), QString::number(dlg->ClsId()));
    // The collection lists what the grid showed.
    qquAlunni.Open();
    QSet<int> listed;
    for (qquAlunni.First(); !qquAlunni.Eof(); qquAlunni.Next())
        listed << qquAlunni.FieldByName(u"iAnaId"_s)->AsInteger();
    QCOMPARE(listed, shown);
    QVERIFY(qquAlunni.FindField(u"sLuogoNascita"_s));
    qquAlunni.Close();

    // Closed with Annulla, the choices shown are copied all the same; the
    // print stops anyway.
    Show(dlg.get());
    dlg->ckNuovi->click();
    dlg->buCancel->click();
    QCOMPARE(qquAlunni.CommandText, TVtRptFilter::ApplyMarkers(TfmEbsRptSelAluCau::NewEnrolmentsSQL(), QString()));
    QCOMPARE(qquAlunni.Params().Count(), 1);
}

void TstRptPupils::filterOnASurnameWithAQuote()
{
    auto dlg = Create();
    Prepare(*dlg);
    QVERIFY(dlg->buFiltro->isEnabled());
    Show(dlg.get());
    const QString surname = u"Dell'Orto"_s;
    // The filter dialog filled in and confirmed as the user would.
    int runs = 0;
    VtModalRunner() = [&](QDialog *shown) {
        ++runs;
        auto *filter = qobject_cast<TfmVtRptFilter *>(shown);
        if (!filter)
            return int(QDialog::Rejected);
        const int row = filter->AddRow();
        filter->FieldBox(row)->setCurrentIndex(filter->FieldBox(row)->findText(u"Cognome"_s));
        filter->OperatorBox(row)->setCurrentIndex(filter->OperatorBox(row)->findText(u"uguale a"_s));
        qobject_cast<QLineEdit *>(filter->ValueEditor(row))->setText(surname);
        filter->show();
        filter->OkClick();
        return filter->result();
    };
    dlg->buFiltro->click();
    QCOMPARE(runs, 1);
    QCOMPARE(dlg->FilterDialog()->Definition().Fields().size(), 4);
    QCOMPARE(dlg->FilterCondition(), u"(sAnaCognome = 'Dell''Orto')"_s);
    QCOMPARE((*m_messages)->Texts(), QStringList());
    QVERIFY(dlg->CommandText().contains(u"AND ((sAnaCognome = 'Dell''Orto'))"_s));
    QSet<int> expected;
    for (int id : Enrolled(2024, 2))
        if (Db(u"SELECT sAnaCognome FROM TAna_Anagrafiche WHERE iAnaId = ?"_s, {id}).toString() == surname)
            expected << id;
    QVERIFY(!expected.isEmpty());
    QCOMPARE(Ids(*dlg), expected);
    for (int r = 0; r < dlg->RowCount(); ++r)
        QCOMPARE(dlg->RowText(r, u"sAnaCognome"_s), surname);
    // The filter stays through the other choices, and in every list.
    ChooseText(dlg->cbIstituto, u"Secondaria Ottavio Brenna"_s);
    for (int r = 0; r < dlg->RowCount(); ++r)
        QCOMPARE(dlg->RowText(r, u"sAnaCognome"_s), surname);
    dlg->SetSelectediAnsId(2025);
    dlg->ckNuovi->click();
    QCOMPARE(dlg->RowCount(), 0);
    dlg->ckNuovi->click();
    ChooseText(dlg->cbBeneficiari, u"Corsisti EDA"_s);
    QCOMPARE(Ids(*dlg), DbIds(u"SELECT Cag.iAnaId FROM TAnaCag Cag INNER JOIN TAna_Anagrafiche Ana "
                              "ON (Ana.iAnaId = Cag.iAnaId) WHERE Cag.iCagId = 6 AND Ana.sAnaCognome = ?"_s,
                              {surname}));
    QCOMPARE((*m_messages)->Texts(), QStringList());
    // The collection of the caller gets the filtered text and runs it.
    ChooseText(dlg->cbBeneficiari, u"Alunni"_s);
    TVtQueryCollection qquAlunni;
    dlg->SetTargetDataSet(&qquAlunni);
    dlg->OkClick();
    QVERIFY(qquAlunni.CommandText.contains(u"'Dell''Orto'"_s));
    qquAlunni.Open();
    QCOMPARE(qquAlunni.RecordCount(), dlg->RowCount());
    qquAlunni.Close();

    // An empty filter lists everyone again.
    Show(dlg.get());
    dlg->ApplyCondition(QString());
    QCOMPARE(Ids(*dlg), Enrolled(2025, 3));
}

void TstRptPupils::screenshots()
{
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    auto dlg = Create();
    Prepare(*dlg);
    Show(dlg.get());
    dlg->ClickTitle(1);
    dlg->SetChecked(0, true);
    dlg->SetChecked(2, true);
    QTest::qWait(20);
    QVERIFY(dlg->grab().save(dir.filePath(u"rpt_selalucau.png"_s)));
    CheckNothingCut(dlg.get());

    // The filter dialog over it, with the surname condition.
    TfmVtRptFilter *filter = dlg->FilterDialog();
    const int row = filter->AddRow();
    qobject_cast<QLineEdit *>(filter->ValueEditor(row))->setText(u"Dell'Orto"_s);
    Show(filter);
    QTest::qWait(20);
    QVERIFY(filter->grab().save(dir.filePath(u"rpt_selalucau_filtro.png"_s)));
    CheckNothingCut(filter);
    filter->reject();
}

QTEST_MAIN(TstRptPupils)
#include "tst_rptpupils.moc"

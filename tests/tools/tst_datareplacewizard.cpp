#include "EbcFDataReplace.h"
#include "EbcRDblLstAcbSelect.h"
#include "EbcUReplaceEditor.h"
#include "EbdFAluGen.h"
#include "EbdMConn.h"
#include "EbdRAluGen.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestScreens.h"
#include "VardellaModules.h"
#include "VtFormRegistry.h"
#include "VtGlobalValuesManager.h"
#include "VtQueryCollection.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

using namespace Qt::StringLiterals;

// The "Sostituzione dati" wizard driven as the office would: its pages in
// the three modes, the editors of the values page, the preview, the run.
class TstDataReplaceWizard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void insertionModesStartOnTheSelection();
    void replacingStartsOnTheFieldList();
    void definitionsThatStopTheWizard_data();
    void definitionsThatStopTheWizard();
    void valuesPageOfAReplacedField();
    void reasonsOfTheReasonsYear();
    void aNewValueMustBeChosen();
    void editorsOfEveryKind();
    void aFailedRunStaysOnThePreview();
    void previewThenRun();
    void noToTheQuestionWritesNothing();
    void holderFrameOpensTheWizard();
    void screenshots();

private:
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    std::unique_ptr<TfmEbcDataReplace> Wizard(TEbcAcbSelectMode mode);
    // Moves the records with these identifiers to "Alunni selezionati".
    static void Pick(TfmEbcDataReplace *w, const QList<int> &ids);
    static void SetDefinition(const QString &xml);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
};

namespace {
constexpr int Rid = 1, Contanti = 3, Bonifico = 4;
}

void TstDataReplaceWizard::initTestCase()
{
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstDataReplaceWizard::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));
}

void TstDataReplaceWizard::cleanup()
{
    CloseBillingModule();
}

void TstDataReplaceWizard::cleanupTestCase()
{
    m_db.reset();
}

std::unique_ptr<TfmEbcDataReplace> TstDataReplaceWizard::Wizard(TEbcAcbSelectMode mode)
{
    SetEbcAcbSelectMode(mode);
    auto w = std::make_unique<TfmEbcDataReplace>();
    if (w->Ready())
        w->show();
    return w;
}

void TstDataReplaceWizard::Pick(TfmEbcDataReplace *w, const QList<int> &ids)
{
    QVariantList data;
    for (int id : ids)
        data << id;
    w->frSelect->Select(TfrVtDoubleListView::sdLeft, data);
    QCOMPARE(w->frSelect->MoveSelected(true), ids.size());
}

void TstDataReplaceWizard::SetDefinition(const QString &xml)
{
    TTestDatabase::Exec(u"UPDATE TYXar_XmlArchivio SET bYXarXmlFile = '%1' WHERE sYXarCodice = 'EBCREPLACE'"_s
                            .arg(QString(xml).replace(u'\'', u"''"_s)));
}

void TstDataReplaceWizard::insertionModesStartOnTheSelection()
{
    for (TEbcAcbSelectMode mode : {TEbcAcbSelectMode::Reasons, TEbcAcbSelectMode::Holders}) {
        auto w = Wizard(mode);
        QVERIFY(w->Ready());
        QCOMPARE(w->windowTitle(), u"Sostituzione dati"_s);
        QCOMPARE(w->ActivePageIndex(), int(TfmEbcDataReplace::pgSelection));
        QCOMPARE(w->Field().Caption, mode == TEbcAcbSelectMode::Reasons ? u"Causale"_s : u"Tipo di pagamento"_s);
        QCOMPARE(w->frSelect->Mode(), mode);
        QVERIFY(!w->buPrior->isEnabled());
        QVERIFY(!w->Prior());   // nor by code
        QCOMPARE(w->ActivePageIndex(), int(TfmEbcDataReplace::pgSelection));
        QVERIFY(!w->buOk->isEnabled());
    }
}

void TstDataReplaceWizard::replacingStartsOnTheFieldList()
{
    auto w = Wizard(TEbcAcbSelectMode::Replace);
    QCOMPARE(w->ActivePageIndex(), int(TfmEbcDataReplace::pgFields));
    QCOMPARE(w->lbFields->count(), 2);
    QCOMPARE(w->lbFields->item(0)->text(), u"Tipo di pagamento dell'intestatario"_s);
    QCOMPARE(w->lbFields->item(1)->text(), u"Sconto predefinito (%)"_s);
    // Holder records, as for reasons.
    QCOMPARE(w->frSelect->Mode(), TEbcAcbSelectMode::Reasons);
    w->lbFields->setCurrentRow(1);
    QVERIFY(w->Next());
    QCOMPARE(w->Field().Name, u"fAcbPercSconto"_s);
    QVERIFY(w->buPrior->isEnabled());
    QVERIFY(w->Prior());
    QCOMPARE(w->ActivePageIndex(), int(TfmEbcDataReplace::pgFields));
}

void TstDataReplaceWizard::definitionsThatStopTheWizard_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("type");
    const QString one = u"<Replace><Fields><Field Caption=\"Causale\" Name=\"iCauId\" Type=\"enum\"/></Fields></Replace>"_s;
    QTest::newRow("no field of the mode") << 1 << one << u"La definizione XML EBCREPLACE non contiene il dato n. 2."_s
                                          << int(mtError);
    QTest::newRow("nothing to replace") << 2 << one << u"La definizione XML EBCREPLACE non contiene dati da sostituire."_s
                                        << int(mtInformation);
    QTest::newRow("malformed") << 0 << u"<Replace><Fields>"_s << u"La definizione XML EBCREPLACE non è valida: "_s
                               << int(mtError);
}

void TstDataReplaceWizard::definitionsThatStopTheWizard()
{
    QFETCH(int, mode);
    QFETCH(QString, xml);
    QFETCH(QString, message);
    QFETCH(int, type);
    SetDefinition(xml);
    auto w = Wizard(TEbcAcbSelectMode(mode));
    QVERIFY(!w->Ready());
    QCOMPARE((*m_messages)->Messages.size(), 1);
    QVERIFY2((*m_messages)->LastText().startsWith(message), qPrintable((*m_messages)->LastText()));
    QCOMPARE(int((*m_messages)->Messages.last().Type), type);
    QCOMPARE(w->exec(), int(QDialog::Rejected));
}

void TstDataReplaceWizard::valuesPageOfAReplacedField()
{
    auto w = Wizard(TEbcAcbSelectMode::Replace);
    QVERIFY(w->Next());
    QVERIFY(w->Next());
    QCOMPARE(w->ActivePageIndex(), int(TfmEbcDataReplace::pgValues));
    QCOMPARE(w->laField->text(), u"Tipo di pagamento dell'intestatario"_s);
    QVERIFY(w->laField->font().bold());
    QVERIFY(w->edOldValue->isVisible() && w->cbAny->isVisible());
    QCOMPARE(w->laOldValue->text(), u"&Sostituire "_s);
    QCOMPARE(w->laNewValue->text(), u"&Inserire "_s);
    auto *old = qobject_cast<QComboBox *>(w->edOldValue->Editor());
    QCOMPARE(old->itemText(0), u"<Vuoto>"_s);
    QCOMPARE(old->currentIndex(), 0);
    QVERIFY(w->edOldValue->Value().isNull());
    QCOMPARE(w->edNewValue->ItemCount(), 6);
    QVERIFY(w->edNewValue->Value().isNull());
    w->cbAny->setChecked(true);
    QVERIFY(!w->edOldValue->isEnabled());
    w->cbAny->setChecked(false);
    QVERIFY(w->edOldValue->isEnabled());
    // The discount: spin boxes.
    QVERIFY(w->Prior() && w->Prior());
    w->lbFields->setCurrentRow(1);
    QVERIFY(w->Next() && w->Next());
    QCOMPARE(w->edNewValue->Kind(), TEbcReplaceField::kInteger);
    QCOMPARE(w->edNewValue->Value(), QVariant(0));
}

void TstDataReplaceWizard::reasonsOfTheReasonsYear()
{
    QStringList lists[2];
    for (int year : {2024, 2025}) {
        xgvmGlobalVar->SetValues(u"EBSP_CauAnsId"_s, QString::number(year));
        auto w = Wizard(TEbcAcbSelectMode::Reasons);
        QVERIFY(w->Next());
        QVERIFY(!w->edOldValue->isVisible() && !w->cbAny->isVisible() && !w->laOldValue->isVisible());
        auto *list = qobject_cast<QComboBox *>(w->edNewValue->Editor());
        for (int i = 0; i < list->count(); ++i)
            lists[year - 2024] << list->itemText(i);
        QCOMPARE(w->edNewValue->ItemCount(),
                 Db(u"SELECT COUNT(*) FROM TCau_Causali WHERE dStart = ?"_s, {QDate(year, 9, 1)}).toInt());
    }
    QVERIFY(!lists[0].isEmpty() && !lists[1].isEmpty());
    QVERIFY(lists[0] != lists[1]);
    // A saved value that is not a year lists nothing, with no database error.
    xgvmGlobalVar->SetValues(u"EBSP_CauAnsId"_s, u"2025) OR (1=1"_s);
    auto w = Wizard(TEbcAcbSelectMode::Reasons);
    QVERIFY(w->Next());
    QCOMPARE(w->edNewValue->ItemCount(), 0);
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstDataReplaceWizard::aNewValueMustBeChosen()
{
    auto w = Wizard(TEbcAcbSelectMode::Holders);
    QVERIFY(w->Next());
    QVERIFY(!w->Next());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Scegliere il valore da inserire."_s});
    QCOMPARE((*m_messages)->Messages.last().Type, mtWarning);
    QCOMPARE(w->ActivePageIndex(), int(TfmEbcDataReplace::pgValues));
}

// A definition of the test's own with a field of each kind after the two
// of the holder frame.
void TstDataReplaceWizard::editorsOfEveryKind()
{
    SetDefinition(uR"(<Replace><Fields><Field Caption="a" Name="iCauId" Type="enum"/><Field Caption="b" Name="iMpgId" Type="enum"/>
      <Field Caption="Classe" Name="iClsId" Type="cxenum" KeyFieldNames="iClsId" ListFieldNames="sClsSDesc"
             ValuesQuery="SELECT iClsId, sClsSDesc, sClsDesc FROM VCls_Classi WHERE dStart_Cls = '2024-09-01' ORDER BY sClsDesc">
        <ListColumns><ListColumn FieldName="sClsSDesc" Caption="Classe" MinWidth="60"/>
          <ListColumn FieldName="sClsDesc" Caption="Descrizione" MinWidth="160"/></ListColumns></Field>
      <Field Caption="Data" Name="dData" Type="date"/>
      <Field Caption="Sì o no" Name="bFlag" Type="boolean"/>
      <Field Caption="Testo" Name="sTesto" Type="string"/>
      </Fields></Replace>)"_s);
    auto w = Wizard(TEbcAcbSelectMode::Replace);
    QCOMPARE(w->lbFields->count(), 4);
    const QList<TEbcReplaceField::TKind> kinds = {TEbcReplaceField::kCxEnum, TEbcReplaceField::kDate,
                                                   TEbcReplaceField::kBoolean, TEbcReplaceField::kText};
    for (int i = 0; i < kinds.size(); ++i) {
        w->SetActivePage(TfmEbcDataReplace::pgFields);
        w->lbFields->setCurrentRow(i);
        QVERIFY(w->Next() && w->Next());
        QCOMPARE(w->edNewValue->Kind(), kinds.at(i));
        QCOMPARE(w->edOldValue->Kind(), kinds.at(i));
    }
    // The grid: "<Vuoto>" first for the old value, the key as value.
    w->SetActivePage(TfmEbcDataReplace::pgFields);
    w->lbFields->setCurrentRow(0);
    QVERIFY(w->Next() && w->Next());
    auto *grid = qobject_cast<QComboBox *>(w->edOldValue->Editor());
    QCOMPARE(grid->currentText(), u"<Vuoto>"_s);
    QVERIFY(w->edOldValue->Value().isNull());
    const int cls = Db(u"SELECT FIRST 1 iClsId FROM VCls_Classi WHERE dStart_Cls = '2024-09-01' ORDER BY sClsDesc"_s).toInt();
    QVERIFY(w->edNewValue->Choose(cls));
    QCOMPARE(w->edNewValue->Value(), QVariant(cls));
    QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(), u"Descrizione"_s);
    // The others as the statements take them.
    w->SetActivePage(TfmEbcDataReplace::pgFields);
    w->lbFields->setCurrentRow(1);
    QVERIFY(w->Next() && w->Next());
    QCOMPARE(w->edNewValue->Value().typeId(), int(QMetaType::QDate));
    w->SetActivePage(TfmEbcDataReplace::pgFields);
    w->lbFields->setCurrentRow(2);
    QVERIFY(w->Next() && w->Next());
    QCOMPARE(w->edNewValue->Value(), QVariant(0));
    QCOMPARE(w->edNewValue->Text(), u"No"_s);
}

void TstDataReplaceWizard::aFailedRunStaysOnThePreview()
{
    auto w = Wizard(TEbcAcbSelectMode::Replace);
    QVERIFY(w->Next());
    const QVariantList holders = w->frSelect->Items(TfrVtDoubleListView::sdLeft);
    Pick(w.get(), {holders.at(0).toInt()});
    QVERIFY(w->Next());
    w->cbAny->setChecked(true);
    QVERIFY(w->edNewValue->Choose(Contanti));
    QVERIFY(w->Next());
    TTestDatabase::Exec(u"CREATE EXCEPTION E_PROVA 'rifiutato dalla prova'"_s);
    TTestDatabase::Exec(u"CREATE TRIGGER T_PROVA FOR TAcb_AluCoordBan BEFORE UPDATE AS BEGIN EXCEPTION E_PROVA; END"_s);
    (*m_messages)->Answers = {int(mrYes)};
    w->OkClick();
    QVERIFY2(w->isVisible(), qPrintable((*m_messages)->Texts().join(u" | "_s)));
    QCOMPARE(w->ActivePageIndex(), int(TfmEbcDataReplace::pgPreview));
    QCOMPARE((*m_messages)->Messages.size(), 2);
    QCOMPARE((*m_messages)->Messages.last().Type, mtError);
    QVERIFY((*m_messages)->LastText().startsWith(u"Impossibile inserire il dato Tipo di pagamento dell'intestatario per "_s
                                                 + w->grPreview->item(0, 0)->text() + u":\r\n"_s));
}

void TstDataReplaceWizard::previewThenRun()
{
    const int rid = Db(u"SELECT FIRST 1 iAcbId FROM TAcb_AluCoordBan a WHERE iMpgId = 1 AND EXISTS (SELECT 1 FROM "
                       "TSit_Situazioni s JOIN TClsPst p ON p.iClsPstId = s.iClsPstId JOIN TCls_Classi c ON c.iClsId = "
                       "p.iClsId WHERE s.iAnaId = a.iAnaId AND c.dStart = '2024-09-01') ORDER BY iAcbId"_s).toInt();
    const int cash = Db(u"SELECT FIRST 1 iAcbId FROM TAcb_AluCoordBan a WHERE iMpgId = 3 AND EXISTS (SELECT 1 FROM "
                        "TSit_Situazioni s JOIN TClsPst p ON p.iClsPstId = s.iClsPstId JOIN TCls_Classi c ON c.iClsId = "
                        "p.iClsId WHERE s.iAnaId = a.iAnaId AND c.dStart = '2024-09-01') ORDER BY iAcbId"_s).toInt();
    auto w = Wizard(TEbcAcbSelectMode::Replace);
    QVERIFY(w->Next());
    Pick(w.get(), {rid, cash});
    QVERIFY(w->Next());
    QVERIFY(w->edOldValue->Choose(Rid));
    QVERIFY(w->edNewValue->Choose(Bonifico));
    QVERIFY(w->Next());
    QCOMPARE(w->ActivePageIndex(), int(TfmEbcDataReplace::pgPreview));
    QVERIFY(w->buOk->isEnabled());
    QCOMPARE(w->laPreview->text(), u"Da modificare: 1 su 2 record selezionati"_s);
    QCOMPARE(w->grPreview->rowCount(), 2);
    // The chosen list is in pupil order: one row per current mode.
    const int ridRow = w->grPreview->item(0, 3)->text() == u"RID"_s ? 0 : 1;
    QCOMPARE(w->grPreview->item(ridRow, 3)->text(), u"RID"_s);
    QCOMPARE(w->grPreview->item(1 - ridRow, 3)->text(), u"Contanti"_s);
    QCOMPARE(w->grPreview->item(ridRow, 4)->text(), u"Bonifico bancario"_s);
    QCOMPARE(w->grPreview->item(ridRow, 5)->text(), u"Da modificare"_s);
    QCOMPARE(w->grPreview->item(1 - ridRow, 5)->text(), u"Invariato"_s);
    QVERIFY(!w->grPreview->item(0, 0)->text().isEmpty());
    // Back to the values, which are kept, and forward again: nothing written.
    QVERIFY(w->Prior());
    QCOMPARE(w->edNewValue->Value(), QVariant(Bonifico));
    QVERIFY(w->Next());
    QCOMPARE(Db(u"SELECT iMpgId FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {rid}).toInt(), Rid);

    (*m_messages)->Answers = {int(mrYes)};
    w->OkClick();
    QCOMPARE(w->result(), int(QDialog::Accepted));
    QCOMPARE((*m_messages)->Texts(), (QStringList{u"Confermi l'inserimento del dato ?"_s,
                                                  u"Inserito il dato Tipo di pagamento dell'intestatario a 1 alunni"_s}));
    QCOMPARE(Db(u"SELECT iMpgId FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {rid}).toInt(), Bonifico);
    QCOMPARE(Db(u"SELECT iMpgId FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {cash}).toInt(), Contanti);
}

void TstDataReplaceWizard::noToTheQuestionWritesNothing()
{
    auto w = Wizard(TEbcAcbSelectMode::Holders);
    const QVariantList pupils = w->frSelect->Items(TfrVtDoubleListView::sdLeft);
    QVERIFY(!pupils.isEmpty());
    Pick(w.get(), {pupils.at(0).toInt()});
    QVERIFY(w->Next());
    QVERIFY(w->edNewValue->Choose(Rid));
    QVERIFY(w->Next());
    QCOMPARE(w->laPreview->text(), u"Da modificare: 1 su 1 record selezionati"_s);
    (*m_messages)->Answers = {int(mrNo)};
    w->OkClick();
    QCOMPARE(w->result(), int(QDialog::Rejected));
    QVERIFY(!w->isVisible());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAnaId = ?"_s, {pupils.at(0)}).toInt(), 0);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TSdt_SostDati"_s).toInt(), 0);
}

void TstDataReplaceWizard::holderFrameOpensTheWizard()
{
    std::unique_ptr<QWidget> window(TVtFormRegistry::CreateForm(u"TfmEbdAluGen"_s));
    auto *holders = qobject_cast<TfmEbdAluGen *>(window.get());
    QVERIFY(holders);
    holders->show();
    TfrEbdAluGen *frame = holders->frEbdAluGen;
    for (QAction *a : {frame->acInsMultiploCau, frame->acInsMultiploInt, frame->acSostMultiplaDati,
                       frame->acAnnullaSostMultipla})
        QVERIFY2(a->isEnabled(), qPrintable(a->text()));
    const int before = dmEbdConn->xqcAluGen->RecordCount();
    // Holder records for two pupils through the wizard; the list shows them after.
    bool ran = false;
    QTimer::singleShot(0, this, [&] {
        auto *w = qobject_cast<TfmEbcDataReplace *>(QApplication::activeModalWidget());
        if (!w)
            return;
        const QVariantList pupils = w->frSelect->Items(TfrVtDoubleListView::sdLeft);
        w->frSelect->Select(TfrVtDoubleListView::sdLeft, pupils.mid(0, 2));
        w->frSelect->MoveSelected(true);
        w->Next();
        w->edNewValue->Choose(2);
        w->Next();
        (*m_messages)->Answers = {int(mrYes)};
        ran = true;
        w->OkClick();
    });
    frame->acInsMultiploInt->trigger();
    QVERIFY(ran);
    QCOMPARE((*m_messages)->LastText(), u"Inserito il dato Tipo di pagamento a 2 alunni"_s);
    QCOMPARE(dmEbdConn->xqcAluGen->RecordCount(), before + 2);
    // And the undo takes them away again.
    (*m_messages)->Answers = {int(mrYes)};
    frame->acAnnullaSostMultipla->trigger();
    QCOMPARE((*m_messages)->LastText(), u"Annullata la sostituzione del dato Tipo di pagamento su 2 alunni"_s);
    QCOMPARE(dmEbdConn->xqcAluGen->RecordCount(), before);
}

void TstDataReplaceWizard::screenshots()
{
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    auto shoot = [&](TfmEbcDataReplace *w, const QString &name) {
        QTest::qWait(20);
        QVERIFY(w->grab().save(dir.filePath(name)));
        CheckNothingCut(w);
    };
    // The preview of field 3 with one record of each outcome: a check of
    // the test's own leaves out holder records without an IBAN.
    QString xml = Db(u"SELECT bYXarXmlFile FROM TYXar_XmlArchivio WHERE sYXarCodice = 'EBCREPLACE'"_s).toString();
    xml.replace(u"<UpdateScript>UPDATE TAcb_AluCoordBan SET iMpgId"_s,
                u"<BeforeExec>SELECT iAcbId FROM TAcb_AluCoordBan WHERE iAcbId = :SELECTEDID AND sAcbIBan IS NULL "
                "AND iMpgId = 1</BeforeExec><UpdateScript>UPDATE TAcb_AluCoordBan SET iMpgId"_s);
    SetDefinition(xml);
    auto w = Wizard(TEbcAcbSelectMode::Replace);
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QVERIFY(w->Next());
    // From the list: a RID with an IBAN, one in cash, a RID left without one.
    QList<int> picked(3, 0);
    for (const QVariant &id : w->frSelect->Items(TfrVtDoubleListView::sdLeft)) {
        const QString kind = Db(u"SELECT iMpgId || CASE WHEN sAcbIBan IS NULL THEN '-' ELSE '+' END FROM "
                                "TAcb_AluCoordBan WHERE iAcbId = ?"_s, {id}).toString();
        const int slot = kind == u"1+"_s ? (picked[0] ? 2 : 0) : kind == u"3-"_s ? 1 : -1;
        if (slot >= 0 && !picked[slot])
            picked[slot] = id.toInt();
    }
    QVERIFY(!picked.contains(0));
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET sAcbIBan = NULL WHERE iAcbId = %1"_s.arg(picked[2]));
    Pick(w.get(), picked);
    w->frSelect->lvLeft->topLevelItem(0)->setSelected(true);
    shoot(w.get(), u"sostituzione_selezione.png"_s);
    QVERIFY(w->Next());
    w->cbAny->setChecked(false);
    QVERIFY(w->edOldValue->Choose(Rid));
    QVERIFY(w->edNewValue->Choose(Bonifico));
    shoot(w.get(), u"sostituzione_valori.png"_s);
    QVERIFY(w->Next());
    shoot(w.get(), u"sostituzione_anteprima.png"_s);
    QStringList outcomes;
    for (int r = 0; r < w->grPreview->rowCount(); ++r)
        outcomes << w->grPreview->item(r, 5)->text();
    outcomes.sort();
    QCOMPARE(outcomes, (QStringList{u"Da modificare"_s, u"Escluso"_s, u"Invariato"_s}));
    for (int c = 0; c < w->grPreview->columnCount(); ++c)
        QVERIFY(w->grPreview->columnWidth(c) >= w->grPreview->horizontalHeader()->fontMetrics().horizontalAdvance(
                                                      w->grPreview->horizontalHeaderItem(c)->text()));
    auto reasons = Wizard(TEbcAcbSelectMode::Reasons);
    QVERIFY(QTest::qWaitForWindowExposed(reasons.get()));
    QVERIFY(reasons->Next());
    shoot(reasons.get(), u"sostituzione_valori_causale.png"_s);
}

QTEST_MAIN(TstDataReplaceWizard)
#include "tst_datareplacewizard.moc"

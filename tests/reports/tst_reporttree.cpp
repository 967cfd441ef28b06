#include "EbdFMain.h"
#include "EbdMAtt.h"
#include "EbdMConn.h"
#include "EbdUGlobals.h"
#include "EbsMDataSets.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestScreens.h"
#include "VardellaModules.h"
#include "VtAttReport.h"
#include "dmVtAttivazioni.h"
#include "VtException.h"
#include "VtGlobalValuesManager.h"
#include "VtQueryCollection.h"
#include "VtRptTreeView.h"
#include "dmVtRptFR.h"
#include "frDBDataSet.h"
#include "frDesigner.h"
#include "frPreviewForm.h"

#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <memory>

using namespace Qt::StringLiterals;

// The report tree of the demo school: what it lists and in which order, the
// filter of the view mode, running a report from it; the report module's
// datasets by name; the designer's field list and its copies.
class TstReportTree : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void foldersTemplatesAndCopies();
    void aDeletedRowIsAbsent();
    void viewModeFilter_data();
    void viewModeFilter();
    void runningFromTheTreeTakesTheImage();
    void aMissingTemplate();
    void dataSetsByName();
    void aDatabaseWithoutTheDemoHasTheTree();
    void designerFieldListAfterTheHook();
    void fieldListWithoutRows();
    void designerCopies();
    void designerRefusesAnInvalidTemplate();
    void screenshot();

private:
    static QStringList Captions(QTreeWidgetItem *parent);
    static QStringList TopCaptions(TVtRptTreeView *tree);
    TVtRptTreeView *Tree();

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    std::unique_ptr<TdmVtAttivazioni> m_owner;
    TVtAttReport *m_command = nullptr;
};

void TstReportTree::initTestCase()
{
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstReportTree::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));
    m_owner = std::make_unique<TdmVtAttivazioni>();
    m_command = new TVtAttReport(m_owner.get(), u"xarReport"_s);
    m_command->CodAppl = u"EBD"_s;
    gVisMode = 2;   // nothing hidden unless a test says so
}

void TstReportTree::cleanup()
{
    m_command = nullptr;
    m_owner.reset();
    CloseBillingModule();
}

void TstReportTree::cleanupTestCase()
{
    m_db.reset();
}

TVtRptTreeView *TstReportTree::Tree()
{
    TVtRptTreeView *tree = m_command->GetRptTreeView();
    tree->Refresh();
    return tree;
}

QStringList TstReportTree::Captions(QTreeWidgetItem *parent)
{
    QStringList captions;
    for (int i = 0; i < parent->childCount(); ++i)
        captions << parent->child(i)->text(0);
    return captions;
}

QStringList TstReportTree::TopCaptions(TVtRptTreeView *tree)
{
    QStringList captions;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        captions << tree->topLevelItem(i)->text(0);
    return captions;
}

void TstReportTree::foldersTemplatesAndCopies()
{
    TVtRptTreeView *tree = Tree();
    QCOMPARE(TopCaptions(tree), QStringList({u"Intestatari e rate"_s, u"Conti e cassa"_s, u"Causali"_s, u"Stampe contestuali"_s}));
    QCOMPARE(Captions(tree->topLevelItem(1)), QStringList({u"Riconciliazione conto corrente postale"_s, u"Giornale di cassa"_s}));
    QVERIFY(!tree->topLevelItem(1)->data(0, TVtRptTreeView::RptIdRole).isValid());   // a folder runs nothing
    const QList<int> ids = tree->RptIds();
    QCOMPARE(ids.size(), 20 + 2);
    // Each copy right after its base, with image 5.
    QCOMPARE(ids.indexOf(1900001), ids.indexOf(44024) + 1);
    QCOMPARE(ids.indexOf(1900002), ids.indexOf(44028) + 1);
    QVERIFY(tree->SelectRptId(1900001));
    QCOMPARE(tree->currentItem()->text(0), u"Totali per classe e componente (copia dell'istituto)"_s);
    QCOMPARE(tree->currentItem()->data(0, TVtRptTreeView::ImageRole).toInt(), 5);
    QVERIFY(tree->SelectRptId(44024));
    QCOMPARE(tree->currentItem()->data(0, TVtRptTreeView::ImageRole).toInt(), 4);
}

void TstReportTree::aDeletedRowIsAbsent()
{
    TTestDatabase::Exec(u"UPDATE TYRpt_RptTemplate SET dDelete = CURRENT_TIMESTAMP WHERE iYRptId = 44029"_s);
    TTestDatabase::Exec(u"UPDATE TYRpc_RptCustom SET dDelete = CURRENT_TIMESTAMP WHERE iYRpcId = 1900001"_s);
    const QList<int> ids = Tree()->RptIds();
    QVERIFY(!ids.contains(44029));
    QVERIFY(!ids.contains(1900001));
    QVERIFY(ids.contains(44024));
}

void TstReportTree::viewModeFilter_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("hidden");
    QTest::newRow("consultazione") << 0 << QList<int>{44028, 1900002};
    QTest::newRow("completa") << 1 << QList<int>{44019, 44026, 44027};
}

// As the first activation sets the tree up.
void TstReportTree::viewModeFilter()
{
    QFETCH(int, mode);
    QFETCH(QList<int>, hidden);
    gVisMode = mode;
    TfmEbdMain::SetUpReportTree(m_command);
    const QList<int> ids = m_command->GetRptTreeView()->RptIds();
    for (int id : hidden)
        QVERIFY2(!ids.contains(id), qPrintable(QString::number(id)));
    QCOMPARE(ids.size(), 22 - hidden.size());
    QVERIFY(m_command->GetRptTreeView()->GetfrReport()->DataModulePatterns().contains(u"dmEbcConn*"_s));
}

void TstReportTree::runningFromTheTreeTakesTheImage()
{
    TVtRptTreeView *tree = Tree();
    TdmVtRptFR *module = tree->GetfrReport();
    // The copy's own layout asks the report modules' dialogs; a plain one shows the image used.
    TTestDatabase::Exec(u"UPDATE TYRpc_RptCustom SET bYRpcTemplate = '<Report Name=\"C\"><Band Type=\"ReportTitle\" "
                        "Height=\"10\"><Text Width=\"150\" Height=\"5\">[Title]</Text></Band></Report>' "
                        "WHERE iYRpcId = 1900001"_s);
    QVERIFY(tree->SelectRptId(1900001));
    emit tree->itemDoubleClicked(tree->currentItem(), 0);
    QCOMPARE(module->RptImageIndex(), 5);
    QCOMPARE(module->frReport->RptId, 1900001);
    QCOMPARE(module->Description(), u"Totali per classe e componente (copia dell'istituto)"_s);
    QVERIFY(module->frReport->Preview());
    QCOMPARE(module->frReport->Preview()->windowTitle(), module->Description());
    module->frReport->Preview()->close();
    QVERIFY(tree->SelectRptId(44024));
    tree->acAnteprima->trigger();
    QCOMPARE(module->RptImageIndex(), 4);
    QCOMPARE(module->Description(), u"Totali per classe e componente"_s);
    QCOMPARE(module->CurrentRptId(), -1);
}

void TstReportTree::aMissingTemplate()
{
    TdmVtRptFR *module = Tree()->GetfrReport();
    QVERIFY(!module->PreviewReportFromVtDB(40001, 4));   // a folder has no template
    QCOMPARE((*m_messages)->LastText(), u"Modello di stampa 40001 non trovato."_s);
    QVERIFY(!module->PreviewReportFromVtDB(1999999, 5));
    QCOMPARE((*m_messages)->LastText(), u"Modello di stampa 1999999 non trovato."_s);
}

void TstReportTree::dataSetsByName()
{
    TdmVtRptFR *module = Tree()->GetfrReport();
    TdmEbsDataSets fees;
    QVERIFY(!module->FindDataSet(u"dmEbcConn.xqcSprIst"_s));   // no pattern yet
    module->AddDataModulePattern(u"dmEbcConn*"_s);
    TfrDBDataSet *accounts = module->FindDataSet(u"dmEbcConn.xqcSprIst"_s);
    QVERIFY(accounts);
    QCOMPARE(accounts->DataSet(), dmEbdConn->xqcSprIst);
    QVERIFY(!module->FindDataSet(u"dmEbsDataSets.xqcCaus"_s));   // a module no pattern names
    QVERIFY(!module->FindDataSet(u"dmEbcConn.xqcNessuna"_s));
    module->AddDataModulePattern(u"dmEbsDataSets*"_s);
    QCOMPARE(module->FindDataSet(u"dmEbsDataSets.xqcCaus"_s)->DataSet(), fees.xqcCaus);
    // Published by bare name, once.
    TVtQueryCollection q1, q2;
    TfrDBDataSet first(u"qProva"_s, &q1), second(u"QPROVA"_s, &q2);
    TdmVtRptFR::PublishDataSet(&first);
    try {
        TdmVtRptFR::PublishDataSet(&second);
        QFAIL("published twice");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), u"Nome di dataset ripetuto: QPROVA"_s);
    }
    QCOMPARE(module->FindDataSet(u"qprova"_s), &first);
    TdmVtRptFR::WithdrawDataSet(&first);
    QVERIFY(!module->FindDataSet(u"qProva"_s));
}

void TstReportTree::aDatabaseWithoutTheDemoHasTheTree()
{
    CloseBillingModule();
    TTestDatabase bare(TTestDatabase::SchemaOnly);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TYRpt_RptTemplate WHERE sYAppCode = 'EBD' AND bYRptTemplate IS NOT NULL"_s)
                 .toInt(), 20);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TYRpt_RptTemplate WHERE bYRptTemplate IS NULL"_s).toInt(), 4);
    QCOMPARE(TTestDatabase::Column(u"SELECT sSccName FROM TScc_StampeCateg ORDER BY iSccId"_s),
             QVariantList({u"Riepilogo"_s, u"Brogliaccio"_s}));
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TStmc_StampeCont"_s).toInt(), 2);
    QVERIFY(TTestDatabase::Scalar(u"SELECT bYRptTemplate FROM TYRpt_RptTemplate WHERE iYRptId = 14010"_s).toString()
                .contains(u"Totali ([COUNT()] movimenti)"_s));
}

void TstReportTree::designerFieldListAfterTheHook()
{
    TVtRptTreeView *tree = Tree();
    TdmVtRptFR *module = tree->GetfrReport();
    module->AddDataModulePattern(u"dmEbcConn*"_s);
    TVtQueryCollection meta;
    meta.CommandText = u"SELECT iAnfId, iAnfValore FROM TAnf_AnniFinanz WHERE 0 = 1"_s;
    TfrDBDataSet published(u"qAnni"_s, &meta);
    TdmVtRptFR::PublishDataSet(&published);
    bool hooked = false;
    module->OnDesignerFieldList = [&](TdmVtRptFR *) {
        hooked = true;
        meta.Open();   // as the report modules do: opened with no rows, then closed
        meta.Close();
    };
    QVERIFY(tree->SelectRptId(14010));
    QVERIFY(tree->EditSelected());
    TfrDesigner *designer = tree->GetfrDesigner();
    QVERIFY(hooked);
    const QList<QTreeWidgetItem *> found = designer->tvCampi->findItems(u"qAnni"_s, Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    QCOMPARE(Captions(found[0]), QStringList({u"IANFID"_s, u"IANFVALORE"_s}));
    // The template's own datasets, with their fields.
    const QList<QTreeWidgetItem *> own = designer->tvCampi->findItems(u"qMov"_s, Qt::MatchRecursive);
    QCOMPARE(own.size(), 1);
    QVERIFY(Captions(own[0]).contains(u"FMVMIMPORTO"_s));
    QVERIFY(!designer->tvCampi->findItems(u"TotalPages"_s, Qt::MatchRecursive).isEmpty());
    TdmVtRptFR::WithdrawDataSet(&published);
    designer->close();
}

// The text and the parameters come back as they were, byte for byte.
void TstReportTree::fieldListWithoutRows()
{
    TVtQueryCollection q;
    const QString text = u"SELECT iAnfId, iAnfValore FROM TAnf_AnniFinanz WHERE iAnfValore >= :iDa /* ONLYMETADATA */ ORDER BY 1"_s;
    q.CommandText = text;
    q.Params().CreateParam(QMetaType::Int, u"iDa"_s)->SetAsInteger(2024);
    int rows = -1;
    q.AfterOpen.Add(this, [&](TVtQueryCollection *ds) { rows = ds->RecordCount(); });
    TdmVtRptFR::OpenForFieldList(&q);
    QCOMPARE(rows, 0);
    QVERIFY(!q.Active());
    QCOMPARE(q.FieldCount(), 2);
    QCOMPARE(q.CommandText, text);
    QCOMPARE(q.Params().ParamByName(u"iDa"_s)->Value(), QVariant(2024));
    q.Open();
    QCOMPARE(q.RecordCount(), 3);
}

// A base template is never written; a copy takes the next id, names the
// same base when copied again, and the tree shows it selected.
void TstReportTree::designerCopies()
{
    TVtRptTreeView *tree = Tree();
    QVERIFY(tree->SelectRptId(44024));
    QVERIFY(tree->EditSelected());
    TfrDesigner *designer = tree->GetfrDesigner();
    const QString base = TTestDatabase::Scalar(u"SELECT bYRptTemplate FROM TYRpt_RptTemplate WHERE iYRptId = 44024"_s).toString();
    QVERIFY(!designer->buSalva->isEnabled());
    QVERIFY(!designer->Save());
    QCOMPARE(TfrDesigner::NextCopyId(), 1900003);
    designer->AskDescription = [](const QString &proposed) {
        return proposed == u"Totali per classe e componente (copia)"_s ? u"Totali della segreteria"_s : QString();
    };
    const QString edited = u"<Report Title=\"Totali della segreteria\"/>"_s;
    designer->meTemplate->setPlainText(edited);
    const int id = designer->SaveAsCopy();
    QCOMPARE(id, 1900003);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT iYRptId FROM TYRpc_RptCustom WHERE iYRpcId = ?"_s, {id}).toInt(), 44024);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT bYRpcTemplate FROM TYRpc_RptCustom WHERE iYRpcId = ?"_s, {id}).toString(), edited);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT bYRptTemplate FROM TYRpt_RptTemplate WHERE iYRptId = 44024"_s).toString(), base);
    QCOMPARE(tree->SelectedRptId(), id);
    QCOMPARE(tree->currentItem()->text(0), u"Totali della segreteria"_s);
    // Now a copy: saved in place.
    QVERIFY(designer->buSalva->isEnabled());
    designer->meTemplate->setPlainText(u"<Report Title=\"Rivisto\"/>"_s);
    QVERIFY(designer->Save());
    QCOMPARE(TTestDatabase::Scalar(u"SELECT bYRpcTemplate FROM TYRpc_RptCustom WHERE iYRpcId = ?"_s, {id}).toString(),
             u"<Report Title=\"Rivisto\"/>"_s);
    // A copy of the copy names the same base.
    designer->AskDescription = [](const QString &) { return u"Ancora una copia"_s; };
    QCOMPARE(designer->SaveAsCopy(), 1900004);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT iYRptId FROM TYRpc_RptCustom WHERE iYRpcId = 1900004"_s).toInt(), 44024);
    designer->close();
}

void TstReportTree::designerRefusesAnInvalidTemplate()
{
    TVtRptTreeView *tree = Tree();
    QVERIFY(tree->SelectRptId(1900001));
    QVERIFY(tree->EditSelected());
    TfrDesigner *designer = tree->GetfrDesigner();
    designer->meTemplate->setPlainText(u"<Report>\n<Band Type=\"Data\">\n"_s);
    QVERIFY(!designer->Save());
    QVERIFY2((*m_messages)->LastText().startsWith(u"Modello non valido alla riga "_s), qPrintable((*m_messages)->LastText()));
    QVERIFY(!designer->Preview());
    QVERIFY(TTestDatabase::Scalar(u"SELECT bYRpcTemplate FROM TYRpc_RptCustom WHERE iYRpcId = 1900001"_s).toString()
                .contains(u"TOT_CLASSE_COMP"_s));
    designer->close();
}

void TstReportTree::screenshot()
{
    TVtRptTreeView *tree = Tree();
    QVERIFY(tree->SelectRptId(14010));
    QVERIFY(tree->EditSelected());
    TfrDesigner *designer = tree->GetfrDesigner();
    designer->resize(1400, 900);
    QVERIFY(QTest::qWaitForWindowExposed(designer));
    QTest::qWait(20);
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    QVERIFY(designer->grab().save(dir.filePath(u"modifica_modello.png"_s)));
    CheckNothingCut(designer);
    designer->close();
}

QTEST_MAIN(TstReportTree)
#include "tst_reporttree.moc"

#include "PdfTools.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "VardellaModules.h"
#include "VtAttReport.h"
#include "VtException.h"
#include "VtRptTreeView.h"
#include "dmVtAttivazioni.h"
#include "dmVtRptFR.h"
#include "frPreviewForm.h"
#include "mbaUStampeContestuali.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// Contextual prints: the templates of a category, the one whose parameters
// match the context chosen, previewed or exported; the parameters' texts and
// how their values compare; the state of the print in progress.
class TstStampeContestuali : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void paramsTexts();
    void valuesCompareAsVariants_data();
    void valuesCompareAsVariants();
    void aCategoryWithoutTemplates();
    void theOnlyTemplateWithParametersPrints();
    void parameterlessWithAndWithoutFallback();
    void filterNamesIgnoreCase();
    void showParameters();
    void exportToPdf();
    void withoutTheCommand();
    void stateAfterAFailingPrint();

private:
    // A category of the test's own: its templates (id, parameters as "name=value" typed by the column).
    void Category(int id, const QString &name, const QList<QPair<int, QStringList>> &links);
    int PrintedId() const { return m_command->GetRptTreeView()->GetfrReport()->frReport->RptId; }

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    std::unique_ptr<TdmVtAttivazioni> m_owner;
    TVtAttReport *m_command = nullptr;
    QString m_home;
};

void TstStampeContestuali::initTestCase()
{
    m_home = QDir(TTestDatabase::WorkDir()).filePath(u"installazione"_s);
    QDir().mkpath(m_home);
    qputenv("VARDELLA_HOME", m_home.toUtf8());
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstStampeContestuali::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));
    // What is chosen and how it prints is tested here, not the layouts: the
    // linked templates print their title alone, without the report modules.
    TTestDatabase::Exec(u"UPDATE TYRpt_RptTemplate SET bYRptTemplate = '<Report Name=\"T\"><Band Type=\"ReportTitle\" "
                        "Height=\"10\"><Text Width=\"150\" Height=\"5\">[Title]</Text></Band></Report>' "
                        "WHERE iYRptId IN (44020, 44021, 44022, 44023)"_s);
    m_owner = std::make_unique<TdmVtAttivazioni>();
    m_command = new TVtAttReport(m_owner.get(), u"xarReport"_s);
    m_command->CodAppl = u"EBD"_s;
}

void TstStampeContestuali::cleanup()
{
    m_owner.reset();
    CloseBillingModule();
}

void TstStampeContestuali::cleanupTestCase()
{
    m_db.reset();
}

void TstStampeContestuali::Category(int id, const QString &name, const QList<QPair<int, QStringList>> &links)
{
    TTestDatabase::Exec(u"INSERT INTO TScc_StampeCateg (iSccId, iYAppId, sSccName) VALUES (%1, 44, '%2')"_s.arg(id).arg(name));
    static int link = 100, param = 100;
    for (const auto &[rpt, params] : links) {
        TTestDatabase::Exec(u"INSERT INTO TStmc_StampeCont (iStmcId, iSccId, iYRptId) VALUES (%1, %2, %3)"_s.arg(++link).arg(id).arg(rpt));
        for (const QString &p : params) {
            // "i:name=44" integer, "f:" float, "d:" date, text otherwise.
            const QString kind = p.left(2);
            const QString body = kind.endsWith(u':') ? p.mid(2) : p;
            const QString n = body.section(u'=', 0, 0), v = body.section(u'=', 1);
            const QString column = kind == u"i:"_s ? u"iStmpValue"_s : kind == u"f:"_s ? u"fStmpValue"_s
                                   : kind == u"d:"_s ? u"dStmpValue"_s : u"sStmpValue"_s;
            const QString value = kind == u"i:"_s || kind == u"f:"_s ? v : u"'%1'"_s.arg(v);
            TTestDatabase::Exec(u"INSERT INTO TStmp_StampePar (iStmpId, iStmcId, sStmpName, %1) VALUES (%2, %3, '%4', %5)"_s
                                    .arg(column).arg(++param).arg(link).arg(n, value));
        }
    }
}

void TstStampeContestuali::paramsTexts()
{
    TRptParams params;
    params.Add(u"Modalita"_s, 1);
    params.Add(u"Classe"_s, u"4A"_s);
    QCOMPARE(params.Text(), u"Lista parametri: (2)\n\rName: Modalita Value: 1;\n\rName: Classe Value: 4A;"_s);
    QCOMPARE(params.FindByName(u"classe"_s)->Value.toString(), u"4A"_s);
    QVERIFY(!params.FindByName(u"Sezione"_s));
    // Stored values read as typed columns and kept as text.
    QCOMPARE(TReport::ValueText(QVariant(44)), u"44"_s);
    QCOMPARE(TReport::ValueText(QVariant(2.5)), u"2.5"_s);
    QCOMPARE(TReport::ValueText(QVariant(QDate(2024, 9, 1))), u"2024-09-01"_s);
}

void TstStampeContestuali::valuesCompareAsVariants_data()
{
    QTest::addColumn<QVariant>("a");
    QTest::addColumn<QVariant>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("44 e \"44\"") << QVariant(44) << QVariant(u"44"_s) << true;
    QTest::newRow("2.5 e \"2,5\"") << QVariant(2.5) << QVariant(u"2,5"_s) << true;
    QTest::newRow("\"2.5\" e \"2,50\"") << QVariant(u"2.5"_s) << QVariant(u"2,50"_s) << true;
    QTest::newRow("data e testo") << QVariant(QDate(2024, 9, 1)) << QVariant(u"2024-09-01"_s) << true;
    QTest::newRow("data diversa") << QVariant(QDate(2024, 9, 1)) << QVariant(u"2024-09-02"_s) << false;
    QTest::newRow("testo e maiuscole") << QVariant(u"Rid"_s) << QVariant(u"RID"_s) << false;
    QTest::newRow("44 e 45") << QVariant(44) << QVariant(u"45"_s) << false;
}

void TstStampeContestuali::valuesCompareAsVariants()
{
    QFETCH(QVariant, a);
    QFETCH(QVariant, b);
    QFETCH(bool, same);
    QCOMPARE(TRptParams::SameValue(a, b), same);
    QCOMPARE(TRptParams::SameValue(b, a), same);
}

void TstStampeContestuali::aCategoryWithoutTemplates()
{
    Category(10, u"Vuota"_s, {});
    TStampeContestuali print(44, u"Vuota"_s);
    print.AttivazioneReport = m_command;
    print.Execute();
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Nessuna stampa associata"_s});
    QCOMPARE((*m_messages)->Messages[0].Type, mtWarning);
}

// With no filter callback the empty filter lets every report through.
void TstStampeContestuali::theOnlyTemplateWithParametersPrints()
{
    Category(11, u"Una"_s, {{44020, {u"i:iMpgId=1"_s}}});
    TStampeContestuali print(44, u"Una"_s);
    print.AttivazioneReport = m_command;
    QCOMPARE(print.Reports().Count(), 1);
    QCOMPARE(print.Reports().Items(0).Params().Text(), u"Lista parametri: (1)\n\rName: iMpgId Value: 1;"_s);
    print.Execute();
    QVERIFY((*m_messages)->Messages.isEmpty());
    QCOMPARE(PrintedId(), 44020);
}

void TstStampeContestuali::parameterlessWithAndWithoutFallback()
{
    // Ordered by description: "Alunni con fratelli" (44023) before "Spesometro" (44022).
    Category(12, u"Due"_s, {{44022, {}}, {44023, {}}});
    TStampeContestuali print(44, u"Due"_s);
    print.AttivazioneReport = m_command;
    print.Execute();
    QCOMPARE((*m_messages)->LastText(), u"Nessuna stampa associata"_s);
    print.Fallback = true;
    (*m_messages)->Clear();
    print.Execute();
    QVERIFY((*m_messages)->Messages.isEmpty());
    QCOMPARE(PrintedId(), 44023);
}

void TstStampeContestuali::filterNamesIgnoreCase()
{
    Category(13, u"Filtro"_s, {{44020, {u"i:iMpgId=1"_s}}, {44021, {u"i:iMpgId=2"_s, u"d:dData=2024-09-01"_s}},
                               {44022, {u"f:fSoglia=2.5"_s}}});
    TStampeContestuali print(44, u"Filtro"_s);
    print.AttivazioneReport = m_command;
    print.OnFillFilterParams = [](TRptParams &f) {
        f.Add(u"IMPGID"_s, u"2"_s);
        f.Add(u"ddata"_s, QDate(2024, 9, 1));
    };
    print.Execute();
    QCOMPARE(PrintedId(), 44021);
    print.OnFillFilterParams = [](TRptParams &f) { f.Add(u"fsoglia"_s, u"2,5"_s); };
    print.Execute();
    QCOMPARE(PrintedId(), 44022);
    // A name the template lacks excludes it.
    print.OnFillFilterParams = [](TRptParams &f) { f.Add(u"sClasse"_s, u"4A"_s); };
    (*m_messages)->Clear();
    print.Execute();
    QCOMPARE((*m_messages)->LastText(), u"Nessuna stampa associata"_s);
}

void TstStampeContestuali::showParameters()
{
    Category(14, u"Mostra"_s, {{44020, {}}});
    TStampeContestuali print(44, u"Mostra"_s);
    print.AttivazioneReport = m_command;
    print.ShowParams = true;
    print.Fallback = true;
    bool inProgress = false;
    print.OnFillReportParams = [&](TRptParams &p) {
        inProgress = TStampeContestuali::PrintInProgress() && TStampeContestuali::CurrentRptId() == 44020;
        p.Add(u"iSprIstId"_s, 2);
    };
    int afterId = 0;
    print.OnAfterPrint = [&](TStampeContestuali *) { afterId = TStampeContestuali::CurrentRptId(); };
    print.Execute();
    QVERIFY(inProgress);
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Report ID: 44020\n\rLista parametri: (1)\n\rName: iSprIstId Value: 2;"_s});
    QCOMPARE((*m_messages)->Messages[0].Type, mtInformation);
    QCOMPARE(afterId, -1);
    QVERIFY(!TStampeContestuali::PrintInProgress());
}

void TstStampeContestuali::exportToPdf()
{
    QDir(QDir(m_home).filePath(u"usr"_s)).removeRecursively();
    Category(15, u"Esporta"_s, {{44022, {}}});
    TStampeContestuali print(44, u"Esporta"_s);
    const QString file = QDir(m_home).filePath(u"usr/mba/ExportStampa.pdf"_s);
    QVERIFY(QDir(QDir(m_home).filePath(u"usr/mba"_s)).exists());   // made on creation
    QCOMPARE(print.ExportFileName + u".pdf"_s, file);
    print.AttivazioneReport = m_command;
    print.OutputMode = 2;
    print.Fallback = true;
    print.Execute();
    QVERIFY(QFile::exists(file));
    QCOMPARE(PdfTools::Info(file, u"Title"_s), u"Spesometro"_s);
    QCOMPARE(PdfTools::Info(file, u"Creator"_s), u"Vardella – conti correnti e contributi delle famiglie"_s);
    QVERIFY(!m_command->GetRptTreeView()->GetfrReport()->frReport->Preview());
}

void TstStampeContestuali::withoutTheCommand()
{
    Category(16, u"Senza"_s, {{44022, {}}});
    TStampeContestuali print(44, u"Senza"_s);
    print.Fallback = true;
    try {
        print.Execute();
        QFAIL("printed without the command");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), u"Proprieta \"AttivazioneReport\" non impostata. Impossibile avviare l'anteprima."_s);
    }
    QVERIFY(!TStampeContestuali::PrintInProgress());
}

// A template that cannot be read: the error goes up, the state is idle again.
void TstStampeContestuali::stateAfterAFailingPrint()
{
    TTestDatabase::Exec(u"UPDATE TYRpt_RptTemplate SET bYRptTemplate = '' WHERE iYRptId = 44022"_s);
    Category(17, u"Guasta"_s, {{44022, {}}});
    TStampeContestuali print(44, u"Guasta"_s);
    print.AttivazioneReport = m_command;
    print.OutputMode = 2;
    print.Fallback = true;
    try {
        print.Execute();
        QFAIL("printed a template that is not there");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), u"Modello di stampa 44022 non trovato."_s);
    }
    QVERIFY(!TStampeContestuali::PrintInProgress());
    QCOMPARE(TStampeContestuali::CurrentRptId(), -1);
}

QTEST_MAIN(TstStampeContestuali)
#include "tst_stampecontestuali.moc"

#include "PdfTools.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "TestScreens.h"
#include "VtException.h"
#include "VtExecModal.h"
#include "VtFormRegistry.h"
#include "VtGlobalValuesManager.h"
#include "VtQueryCollection.h"
#include "VtfrDBDataSet.h"
#include "fmVtMultiSelect.h"
#include "frBarcode.h"
#include "frCSVExport.h"
#include "frPDFExport.h"
#include "frPreviewForm.h"
#include "frReport.h"

#include <QAction>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QTest>
#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The report engine on a real database: the layout of the bands on the
// pages, expressions and formats, the datasets with their dialogs, PDF and
// CSV written and read back, the barcode.
class TstReportEngine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void bandOrderAndPageFooter();
    void headerAndFooterPerMasterRow();
    void emptyDetail();
    void groupsNestedAndTheirTotals();
    void newPageAndABandMovingWhole();
    void sumInEveryScope();
    void pageNumbers();
    void pageNumbersResetPerGroup();
    void overflow();
    void formats_data();
    void formats();
    void expressions();
    void unknownNamesStopThePrint_data();
    void unknownNamesStopThePrint();
    void onlySelectStatements();
    void multiSelectionPrintsTheTickedRows();
    void aRejectedDialogStopsSilently();
    void cancelFromAHandler();
    void aFieldInTheTitleReadsTheFirstRow();
    void aStubTemplatePrintsOneEmptyPage();
    void invalidTemplate();
    void pdfText();
    void pdfIntoAReadOnlyFolder();
    void splitByGroup();
    void previewAndPdfPageCount();
    void csvBytes();
    void csvMastersFirst();
    void barcode();
    void screenshot();

private:
    // Prepares a template over the test's rows; false when it stopped.
    bool Prepare(const QString &bands, const QString &dataSets = QString(), const QString &reportAttributes = QString());
    QString PageText(int page) const { return m_report->Prepared().PageText(page); }
    QStringList Texts(const QString &object) const;
    QString Dir() const { return TTestDatabase::WorkDir(); }

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    std::unique_ptr<TfrReport> m_report;
    QStringList m_ended;   // OnEndPrint: "completed" or "stopped"
};

namespace {
// 12 rows: three groups (A, B, C) of four, two subgroups each.
const QString Rows = u"<DataSet Name=\"q\"><Sql>SELECT iId, sGruppo, sSotto, fImporto, dData, sTesto FROM TTest_Righe "
                     "ORDER BY iId</Sql></DataSet>"_s;
const QString Detail = u"<DataSet Name=\"d\"><Sql>SELECT iId, iRiga, fValore FROM TTest_Dettagli ORDER BY iRiga</Sql>"
                       "</DataSet>"_s;
const QString Footer = u"<Band Type=\"PageFooter\" Height=\"8\"><Text Name=\"piede\" Left=\"0\" Top=\"0\" Width=\"80\" "
                       "Height=\"6\">Pagina [Page] di [TotalPages]</Text></Band>"_s;
}

void TstReportEngine::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::SchemaOnly, [] {
        TTestDatabase::Exec(u"CREATE TABLE TTest_Righe (iId INTEGER NOT NULL PRIMARY KEY, sGruppo VARCHAR(10), "
                            "sSotto VARCHAR(10), fImporto DOUBLE PRECISION, dData DATE, sTesto VARCHAR(100))"_s);
        TTestDatabase::Exec(u"CREATE TABLE TTest_Dettagli (iId INTEGER NOT NULL PRIMARY KEY, iRiga INTEGER, "
                            "fValore DOUBLE PRECISION)"_s);
        for (int i = 1; i <= 12; ++i) {
            const QString group = QString(QChar(u'A' + (i - 1) / 4));
            const QString sub = group + QString::number(((i - 1) % 4) / 2 + 1);
            TTestDatabase::Exec(u"INSERT INTO TTest_Righe VALUES (%1, '%2', '%3', %4, DATE '2024-09-%5', 'Riga %1')"_s
                                    .arg(i).arg(group, sub).arg(i * 10.25).arg(i, 2, 10, QLatin1Char('0')));
        }
        // Details for rows 1 and 3 only.
        TTestDatabase::Exec(u"INSERT INTO TTest_Dettagli VALUES (1, 1, 1.5)"_s);
        TTestDatabase::Exec(u"INSERT INTO TTest_Dettagli VALUES (2, 1, 2.5)"_s);
        TTestDatabase::Exec(u"INSERT INTO TTest_Dettagli VALUES (3, 3, 4)"_s);
    });
    m_messages = std::make_unique<TScopedMessageService>();
    TVtFormRegistry::RegisterClass<TfmVtMultiSelect>(u"TfmVtMultiSelect"_s);
}

void TstReportEngine::init()
{
    m_db->Fresh();
    (*m_messages)->Clear();
    m_report = std::make_unique<TfrReport>();
    m_ended.clear();
    m_report->OnEndPrint = [this](TfrReport *, bool completed, const QStringList &) {
        m_ended << (completed ? u"completed"_s : u"stopped"_s);
    };
}

void TstReportEngine::cleanup()
{
    VtModalRunner() = nullptr;
    m_report.reset();
}

void TstReportEngine::cleanupTestCase()
{
    m_db.reset();
}

bool TstReportEngine::Prepare(const QString &bands, const QString &dataSets, const QString &reportAttributes)
{
    try {
        m_report->LoadFromText(u"<Report Title=\"Prova\" %1>%2%3</Report>"_s.arg(reportAttributes, dataSets.isNull() ? Rows : dataSets,
                                                                                bands));
    } catch (const EVtException &e) {
        qWarning("%s", qPrintable(e.Message()));
        return false;
    }
    return m_report->PrepareReport();
}

QStringList TstReportEngine::Texts(const QString &object) const
{
    QStringList texts;
    for (const TfrPreparedReport::TItem &i : m_report->Prepared().Items)
        if (i.Object == object)
            texts << i.Text;
    return texts;
}

void TstReportEngine::bandOrderAndPageFooter()
{
    QVERIFY(Prepare(u"<Band Type=\"ReportTitle\" Height=\"10\"><Text Name=\"titolo\" Width=\"100\" Height=\"8\">Titolo</Text></Band>"
                    "<Band Type=\"PageHeader\" Height=\"10\"><Text Name=\"testa\" Width=\"100\" Height=\"8\">Testata</Text></Band>"
                    "<Band Type=\"Data\" DataSet=\"q\" Height=\"30\"><Text Name=\"riga\" Width=\"100\" Height=\"8\">[q.STESTO]</Text></Band>"
                    "<Band Type=\"Summary\" Height=\"10\"><Text Name=\"fine\" Width=\"100\" Height=\"8\">Fine</Text></Band>"_s
                    + Footer));
    const TfrPreparedReport &p = m_report->Prepared();
    // 297 - 12 - 12 - 8 = 265 mm for the bands: header 10 + title 10 + 8 rows of 30 on page 1.
    QCOMPARE(p.PageCount, 2);
    QCOMPARE(PageText(0).split(u'\n').mid(0, 3), QStringList({u"Testata"_s, u"Titolo"_s, u"Riga 1"_s}));
    QCOMPARE(PageText(1).split(u'\n').mid(0, 2), QStringList({u"Testata"_s, u"Riga 9"_s}));   // the title only once
    QVERIFY(PageText(1).endsWith(u"Fine\nPagina 2 di 2"_s));
    for (const TfrPreparedReport::TItem *i : p.ItemsOn(0))
        if (i->Object == u"piede"_s)
            QCOMPARE(i->Rect.top(), 297.0 - 12 - 8);
}

void TstReportEngine::headerAndFooterPerMasterRow()
{
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"6\" Visible=\"q.IID &lt;= 3\">"
                    "<Text Name=\"m\" Width=\"50\" Height=\"5\">[q.STESTO]</Text>"
                    "<Band Type=\"Data\" DataSet=\"d\" Height=\"5\"><Text Name=\"v\" Width=\"50\" Height=\"5\">[d.FVALORE]</Text>"
                    "<Band Type=\"Header\" Height=\"5\"><Text Name=\"h\" Width=\"50\" Height=\"5\">Dettagli di [q.IID]</Text></Band>"
                    "<Band Type=\"Footer\" Height=\"5\"><Text Name=\"f\" Width=\"50\" Height=\"5\">Totale [SUM(d.FVALORE)]</Text></Band>"
                    "</Band></Band>"_s,
                    Rows.left(Rows.indexOf(u"ORDER BY"_s)) + u"WHERE iId &lt;= 3 ORDER BY iId</Sql></DataSet>"_s
                        + u"<DataSet Name=\"d\"><Sql>SELECT iId, iRiga, fValore FROM TTest_Dettagli WHERE iRiga = :iRiga</Sql>"
                          "<Param Name=\"iRiga\" Type=\"Integer\" Value=\"[q.IID]\"/></DataSet>"_s));
    // The detail is read for each master row; row 2 has none: neither header nor footer.
    QCOMPARE(Texts(u"h"_s), QStringList({u"Dettagli di 1"_s, u"Dettagli di 3"_s}));
    QCOMPARE(Texts(u"f"_s), QStringList({u"Totale 4"_s, u"Totale 4"_s}));
    QCOMPARE(Texts(u"v"_s), QStringList({u"1,5"_s, u"2,5"_s, u"4"_s}));
}

void TstReportEngine::emptyDetail()
{
    const QString bands = u"<Band Type=\"Data\" DataSet=\"q\" Height=\"5\" %1>"
                          "<Band Type=\"Header\" Height=\"5\"><Text Name=\"h\" Width=\"50\" Height=\"5\">Intestazione</Text></Band>"
                          "<Band Type=\"Footer\" Height=\"5\"><Text Name=\"f\" Width=\"50\" Height=\"5\">Righe [COUNT()]</Text></Band>"
                          "</Band>"_s;
    const QString none = u"<DataSet Name=\"q\"><Sql>SELECT iId FROM TTest_Righe WHERE iId &lt; 0</Sql></DataSet>"_s;
    QVERIFY(Prepare(bands.arg(QString()), none));
    QVERIFY(Texts(u"h"_s).isEmpty());
    QVERIFY(Texts(u"f"_s).isEmpty());
    QCOMPARE(m_report->Prepared().PageCount, 1);
    QVERIFY(Prepare(bands.arg(u"PrintIfEmpty=\"true\""_s), none));
    QCOMPARE(Texts(u"h"_s), QStringList{u"Intestazione"_s});
    QCOMPARE(Texts(u"f"_s), QStringList{u"Righe 0"_s});
}

void TstReportEngine::groupsNestedAndTheirTotals()
{
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"5\"><Text Name=\"r\" Width=\"50\" Height=\"5\">[q.IID]</Text>"
                    "<Band Type=\"GroupHeader\" Condition=\"q.SGRUPPO\" Height=\"5\"><Text Name=\"g\" Width=\"50\" Height=\"5\">Gruppo [q.SGRUPPO]</Text></Band>"
                    "<Band Type=\"GroupHeader\" Condition=\"q.SSOTTO\" Height=\"5\"><Text Name=\"s\" Width=\"50\" Height=\"5\">Sotto [q.SSOTTO]</Text></Band>"
                    "<Band Type=\"GroupFooter\" Condition=\"q.SGRUPPO\" Height=\"5\"><Text Name=\"gf\" Width=\"80\" Height=\"5\">Fine [q.SGRUPPO]: [COUNT()] righe, [SUM(q.FIMPORTO)]</Text></Band>"
                    "<Band Type=\"GroupFooter\" Condition=\"q.SSOTTO\" Height=\"5\"><Text Name=\"sf\" Width=\"80\" Height=\"5\">Fine [q.SSOTTO]: [COUNT()]</Text></Band>"
                    "</Band>"_s));
    QCOMPARE(Texts(u"g"_s), QStringList({u"Gruppo A"_s, u"Gruppo B"_s, u"Gruppo C"_s}));
    QCOMPARE(Texts(u"s"_s).size(), 6);
    QCOMPARE(Texts(u"sf"_s), QStringList({u"Fine A1: 2"_s, u"Fine A2: 2"_s, u"Fine B1: 2"_s, u"Fine B2: 2"_s, u"Fine C1: 2"_s,
                                          u"Fine C2: 2"_s}));
    // 10,25 x (1+2+3+4) = 102,5; the footer reads the group's last row, not the next one.
    QCOMPARE(Texts(u"gf"_s), QStringList({u"Fine A: 4 righe, 102,5"_s, u"Fine B: 4 righe, 266,5"_s, u"Fine C: 4 righe, 430,5"_s}));
    const QStringList page = PageText(0).split(u'\n');
    QCOMPARE(page.mid(0, 8), QStringList({u"Gruppo A"_s, u"Sotto A1"_s, u"1"_s, u"2"_s, u"Fine A1: 2"_s, u"Sotto A2"_s, u"3"_s,
                                          u"4"_s}));
    QCOMPARE(page.mid(8, 3), QStringList({u"Fine A2: 2"_s, u"Fine A: 4 righe, 102,5"_s, u"Gruppo B"_s}));
}

void TstReportEngine::newPageAndABandMovingWhole()
{
    // Bands of 100 mm: two fit on the 273 mm left under the header, the third moves whole.
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"100\" Visible=\"q.IID &lt;= 4\">"
                    "<Text Name=\"r\" Width=\"50\" Height=\"5\">[q.IID]</Text>"
                    "<Band Type=\"Header\" Height=\"5\" RepeatOnNewPage=\"true\"><Text Name=\"h\" Width=\"50\" Height=\"5\">Colonne</Text></Band>"
                    "</Band>"_s));
    const TfrPreparedReport &p = m_report->Prepared();
    QCOMPARE(p.PageCount, 2);
    QCOMPARE(PageText(0), u"Colonne\n1\n2"_s);
    QCOMPARE(PageText(1), u"Colonne\n3\n4"_s);
    for (const TfrPreparedReport::TItem *i : p.ItemsOn(1))
        if (i->Text == u"3"_s)
            QCOMPARE(i->Rect.top(), 12.0 + 5);
    // NewPage on a group header: each group on its own page.
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"5\"><Text Name=\"r\" Width=\"50\" Height=\"5\">[q.IID]</Text>"
                    "<Band Type=\"GroupHeader\" Condition=\"q.SGRUPPO\" Height=\"5\" NewPage=\"true\"><Text Name=\"g\" Width=\"50\" "
                    "Height=\"5\">[q.SGRUPPO]</Text></Band></Band>"_s));
    QCOMPARE(m_report->Prepared().PageCount, 3);
    QCOMPARE(PageText(1).split(u'\n').first(), u"B"_s);
}

void TstReportEngine::sumInEveryScope()
{
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"40\"><Text Name=\"run\" Width=\"80\" Height=\"5\">[q.IID] [SUM(q.FIMPORTO)]</Text>"
                    "<Band Type=\"Footer\" Height=\"5\"><Text Name=\"foot\" Width=\"80\" Height=\"5\">[SUM(q.FIMPORTO)]</Text></Band>"
                    "</Band>"
                    "<Band Type=\"Summary\" Height=\"5\"><Text Name=\"sum\" Width=\"80\" Height=\"5\">[SUM(q.FIMPORTO)] su [COUNT()]</Text></Band>"
                    "<Band Type=\"PageFooter\" Height=\"8\"><Text Name=\"page\" Width=\"80\" Height=\"5\">[SUM(q.FIMPORTO)]</Text></Band>"_s));
    // A running total in the data band.
    QCOMPARE(Texts(u"run"_s).mid(0, 3), QStringList({u"1 10,25"_s, u"2 30,75"_s, u"3 61,5"_s}));
    QCOMPARE(Texts(u"foot"_s), QStringList{u"799,5"_s});   // 10,25 x 78
    QCOMPARE(Texts(u"sum"_s), QStringList{u"799,5 su 12"_s});
    // Pages of 265 mm hold six rows of 40: 10,25 x 21 and x 57.
    QCOMPARE(Texts(u"page"_s), QStringList({u"215,25"_s, u"584,25"_s}));
}

void TstReportEngine::pageNumbers()
{
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"60\"><Text Name=\"r\" Width=\"50\" Height=\"5\">[q.IID]</Text></Band>"_s
                    + Footer));
    QCOMPARE(Texts(u"piede"_s), QStringList({u"Pagina 1 di 3"_s, u"Pagina 2 di 3"_s, u"Pagina 3 di 3"_s}));
}

// Groups of two pages and one page: "1 di 2", "2 di 2", "1 di 1".
void TstReportEngine::pageNumbersResetPerGroup()
{
    const QString two = u"<DataSet Name=\"q\"><Sql>SELECT iId, sGruppo FROM TTest_Righe WHERE iId IN (1, 2, 3, 4, 5) "
                        "ORDER BY iId</Sql></DataSet>"_s;
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"100\"><Text Name=\"r\" Width=\"50\" Height=\"5\">[q.IID]</Text>"
                    "<Band Type=\"GroupHeader\" Condition=\"q.SGRUPPO\" Height=\"5\" ResetPageNumbers=\"true\">"
                    "<Text Name=\"g\" Width=\"50\" Height=\"5\">[q.SGRUPPO]</Text></Band></Band>"_s
                        + Footer,
                    two));
    QCOMPARE(Texts(u"piede"_s), QStringList({u"Pagina 1 di 2"_s, u"Pagina 2 di 2"_s, u"Pagina 1 di 1"_s}));
}

void TstReportEngine::overflow()
{
    const QString text = u"Un testo lungo che non entra in una casella di venti millimetri"_s;
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"5\" Visible=\"q.IID = 1\"><Text Name=\"stretto\" Width=\"20\" Height=\"5\">%1</Text></Band>"_s
                        .arg(text)));
    QCOMPARE(m_report->Prepared().Overflows.size(), 1);
    QCOMPARE(m_report->Prepared().Overflows[0].Object, u"stretto"_s);
    QCOMPARE(m_report->Prepared().Overflows[0].Text, text);
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"5\" Stretch=\"true\" Visible=\"q.IID = 1\"><Text Name=\"largo\" "
                    "Width=\"20\" Height=\"5\" WordWrap=\"true\" Stretch=\"true\">%1</Text></Band>"_s.arg(text)));
    QVERIFY(m_report->Prepared().Overflows.isEmpty());
    QVERIFY(m_report->Prepared().Items[0].Rect.height() > 15);
}

void TstReportEngine::formats_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::newRow("importo") << u"1234.5"_s << u"#,###.00"_s << u"1.234,50"_s;
    QTest::newRow("mezzo") << u"0.5"_s << u"#,###.00"_s << u"0,50"_s;
    QTest::newRow("negativo") << u"-3"_s << u"#,###.00"_s << u"-3,00"_s;
    QTest::newRow("data") << u"q.DDATA"_s << u"dd/MM/yyyy"_s << u"01/09/2024"_s;
    QTest::newRow("nullo") << u"n.NULLO"_s << u"#,###.00"_s << QString();
}

void TstReportEngine::formats()
{
    QFETCH(QString, expression);
    QFETCH(QString, format);
    QFETCH(QString, text);
    QVERIFY(Prepare(u"<Band Type=\"ReportTitle\" Height=\"5\"><Text Name=\"x\" Width=\"50\" Height=\"5\" Format=\"%1\">[%2]</Text></Band>"_s
                        .arg(format, expression),
                    Rows + u"<DataSet Name=\"n\"><Sql>SELECT CAST(NULL AS DOUBLE PRECISION) AS nullo FROM RDB$DATABASE</Sql></DataSet>"_s));
    QCOMPARE(Texts(u"x"_s), QStringList{text});
}

void TstReportEngine::expressions()
{
    xgvmGlobalVar->SetValues(u"EBDP_SprIstId"_s, u"2"_s);
    m_report->OnGetValue = [](TfrReport *, const QString &name, QVariant &value, bool &handled) {
        if (name == u"Data inizio"_s) {
            value = QDate(2024, 9, 1);
            handled = true;
        }
    };
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"5\" Visible=\"q.IID &lt; 3\">"
                    "<Text Name=\"iif\" Width=\"90\" Height=\"5\">[IIF(q.IID = 1, 'primo', 'altro') + ' ' + q.SGRUPPO]</Text>"
                    "<Text Name=\"param\" Width=\"90\" Height=\"5\">[PARAM('EBDP_SprIstId') + 1] [\"Data inizio\"] [[x]</Text>"
                    "<Text Name=\"logic\" Width=\"90\" Height=\"5\">[IIF(NOT (q.IID &gt; 1) AND q.SGRUPPO = 'A' OR 1 = 0, 'sì', 'no')] [q.FIMPORTO * 2 - 0.5] ['l''anno']</Text>"
                    "</Band>"_s));
    QCOMPARE(Texts(u"iif"_s), QStringList({u"primo A"_s, u"altro A"_s}));
    // PARAM reads text: "2" + 1 joins.
    QCOMPARE(Texts(u"param"_s).first(), u"21 01/09/2024 [x]"_s);
    QCOMPARE(Texts(u"logic"_s), QStringList({u"sì 20 l'anno"_s, u"no 40,5 l'anno"_s}));
}

void TstReportEngine::unknownNamesStopThePrint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("dataset") << u"[x.IID]"_s << u"Dataset sconosciuto nel modello: x"_s;
    QTest::newRow("campo") << u"[q.NESSUNO]"_s << u"Campo sconosciuto nel modello: q.NESSUNO"_s;
    QTest::newRow("variabile") << u"[Nessuna]"_s << u"Variabile sconosciuta nel modello: Nessuna"_s;
}

void TstReportEngine::unknownNamesStopThePrint()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    QVERIFY(!Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"5\"><Text Name=\"x\" Width=\"50\" Height=\"5\">%1</Text></Band>"_s.arg(text)));
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Impossibile preparare la stampa:\r\n"_s + message});
    QCOMPARE(m_report->Prepared().PageCount, 0);
    QCOMPARE(m_ended, QStringList{u"stopped"_s});
}

void TstReportEngine::onlySelectStatements()
{
    QVERIFY(!Prepare(u"<Band Type=\"Data\" DataSet=\"u\" Height=\"5\"/>"_s,
                     u"<DataSet Name=\"u\"><Sql>UPDATE TTest_Righe SET sTesto = 'x'</Sql></DataSet>"_s));
    QCOMPARE((*m_messages)->LastText(),
             u"Impossibile preparare la stampa:\r\nIl modello può eseguire solo interrogazioni SELECT: u"_s);
    QVERIFY(!Prepare(u"<Band Type=\"Data\" DataSet=\"u\" Height=\"5\"/>"_s,
                     u"<DataSet Name=\"u\"><Sql>SELECT iId FROM TTest_Righe; DELETE FROM TTest_Righe</Sql></DataSet>"_s));
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TTest_Righe WHERE sTesto = 'x'"_s).toInt(), 0);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TTest_Righe"_s).toInt(), 12);
}

void TstReportEngine::multiSelectionPrintsTheTickedRows()
{
    int shown = 0;
    VtModalRunner() = [&](QDialog *dialog) {
        auto *multi = qobject_cast<TfmVtMultiSelect *>(dialog);
        if (!multi)
            return int(QDialog::Rejected);
        ++shown;
        multi->SetCommandText(u"SELECT iId, sTesto FROM TTest_Righe ORDER BY iId"_s);
        multi->Open();
        multi->SetCheckedId(2, true);
        multi->SetCheckedId(5, true);
        return int(QDialog::Accepted);
    };
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"5\"><Text Name=\"r\" Width=\"50\" Height=\"5\">[q.STESTO]</Text></Band>"_s,
                    u"<DataSet Name=\"q\" SelectForm=\"TfmVtMultiSelect\"><Sql>SELECT iId, sTesto FROM TTest_Righe ORDER BY iId</Sql></DataSet>"_s));
    QCOMPARE(shown, 1);
    QCOMPARE(Texts(u"r"_s), QStringList({u"Riga 2"_s, u"Riga 5"_s}));
    QCOMPARE(m_report->Prepared().Tables[0].Rows.size(), 2);
}

void TstReportEngine::aRejectedDialogStopsSilently()
{
    VtModalRunner() = [](QDialog *) { return int(QDialog::Rejected); };
    const QString file = QDir(Dir()).filePath(u"rifiutata.pdf"_s);
    m_report->RedirectToPdf(file);
    QVERIFY(!Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"5\"><Text Name=\"r\" Width=\"50\" Height=\"5\">[q.STESTO]</Text></Band>"_s,
                     u"<DataSet Name=\"q\" SelectForm=\"TfmVtMultiSelect\"><Sql>SELECT iId, sTesto FROM TTest_Righe</Sql></DataSet>"_s));
    QVERIFY((*m_messages)->Messages.isEmpty());
    QCOMPARE(m_report->Prepared().PageCount, 0);
    QVERIFY(!m_report->ShowPreparedReport());
    QVERIFY(!QFile::exists(file));
    QCOMPARE(m_ended, QStringList{u"stopped"_s});
}

// Cancel() from a before-open handler; a published dataset opened by the
// print is closed again.
void TstReportEngine::cancelFromAHandler()
{
    TVtQueryCollection published;
    published.CommandText = u"SELECT iId FROM TTest_Righe"_s;
    TfrDBDataSet set(u"p"_s, &published);
    m_report->FindDataSet = [&](const QString &name) { return name == u"p"_s ? &set : nullptr; };
    bool called = false;
    m_report->FindHandler = [&](const QString &name) -> TfrReport::THandler {
        if (name != u"Ferma"_s)
            return {};
        return [&](TfrReport *report, TfrDBDataSet *) {
            called = true;
            report->Cancel();
        };
    };
    QVERIFY(!Prepare(u"<Band Type=\"Data\" DataSet=\"p\" Height=\"5\"><Text Width=\"50\" Height=\"5\">[p.IID]</Text></Band>"
                     "<Band Type=\"Data\" DataSet=\"q\" Height=\"5\"/>"_s,
                     u"<DataSet Name=\"q\" BeforeOpen=\"Ferma\"><Sql>SELECT iId FROM TTest_Righe</Sql></DataSet>"_s));
    QVERIFY(called);
    QVERIFY((*m_messages)->Messages.isEmpty());
    QVERIFY(!published.Active());
    QCOMPARE(m_ended, QStringList{u"stopped"_s});
}

void TstReportEngine::aFieldInTheTitleReadsTheFirstRow()
{
    QVERIFY(Prepare(u"<Band Type=\"ReportTitle\" Height=\"5\"><Text Name=\"t\" Width=\"50\" Height=\"5\">[q.STESTO]</Text></Band>"_s));
    QCOMPARE(Texts(u"t"_s), QStringList{u"Riga 1"_s});
}

void TstReportEngine::aStubTemplatePrintsOneEmptyPage()
{
    m_report->LoadFromText(u"<Report Name=\"EBD_RICEVUTE\" Title=\"Ricevute\"/>"_s);
    QVERIFY(m_report->PrepareReport());
    QCOMPARE(m_report->Prepared().PageCount, 1);
    QVERIFY(m_report->Prepared().Items.isEmpty());
}

void TstReportEngine::invalidTemplate()
{
    try {
        m_report->LoadFromText(u"<Report>\n  <Band Type=\"Data\" DataSet=\"q\">\n</Report>"_s);
        QFAIL("accepted");
    } catch (const EVtException &e) {
        QVERIFY2(e.Message().startsWith(u"Modello non valido alla riga 3, colonna "_s), qPrintable(e.Message()));
    }
    try {
        m_report->LoadFromText(u"<Report><Band Type=\"Piede\"/></Report>"_s);
        QFAIL("accepted");
    } catch (const EVtException &e) {
        QVERIFY2(e.Message().startsWith(u"Modello non valido alla riga 1, colonna "_s), qPrintable(e.Message()));
        QVERIFY(e.Message().endsWith(u": tipo di banda sconosciuto \"Piede\""_s));
    }
}

void TstReportEngine::pdfText()
{
    QVERIFY(Prepare(u"<Band Type=\"ReportTitle\" Height=\"10\"><Text Width=\"150\" Height=\"8\">Modalità di pagamento è scelta</Text></Band>"
                    "<Band Type=\"Data\" DataSet=\"q\" Height=\"30\"><Text Width=\"50\" Height=\"6\" Format=\"#,###.00\">[q.FIMPORTO * 100]</Text></Band>"_s
                    + Footer));
    const QString file = QDir(Dir()).filePath(u"prova.pdf"_s);
    TfrPDFExport pdf;
    QVERIFY(m_report->ExportTo(pdf, file));
    const QString text = PdfTools::Text(file);
    QVERIFY2(text.contains(u"Modalità di pagamento è scelta"_s), qPrintable(text));
    QVERIFY(text.contains(u"1.025,00"_s));
    QVERIFY(text.contains(u"12.300,00"_s));
    QCOMPARE(PdfTools::PageCount(file), m_report->Prepared().PageCount);
    QCOMPARE(PdfTools::Info(file, u"Title"_s), u"Prova"_s);
    QCOMPARE(PdfTools::Info(file, u"Creator"_s), u"Vardella – conti correnti e contributi delle famiglie"_s);
    // Ink on the page, none in the margins (12 mm = 23 px at 50 dpi).
    const QImage page = PdfTools::Page(file, 1);
    QVERIFY(!page.isNull());
    int ink = 0, margin = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) > 128)
                continue;
            ++ink;
            if (x < 20 || y < 20 || x >= page.width() - 20 || y >= page.height() - 20)
                ++margin;
        }
    QVERIFY(ink > 100);
    QCOMPARE(margin, 0);
}

void TstReportEngine::pdfIntoAReadOnlyFolder()
{
    QVERIFY(Prepare(u"<Band Type=\"ReportTitle\" Height=\"10\"><Text Width=\"50\" Height=\"8\">Nuovo</Text></Band>"_s));
    auto oldFile = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write("vecchio contenuto") > 0;
    };
    auto untouched = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) && f.readAll() == QByteArray("vecchio contenuto");
    };
    TfrPDFExport pdf;
    // A file where the folder should be: nobody writes there, not even root.
    const QString blocker = QDir(Dir()).filePath(u"occupato"_s);
    QVERIFY(oldFile(blocker));
    const QString inside = blocker + u"/stampa.pdf"_s;
    QVERIFY(!m_report->ExportTo(pdf, inside));
    QVERIFY((*m_messages)->LastText().startsWith(u"Impossibile scrivere il file %1:\r\n"_s.arg(inside)));
    QVERIFY(untouched(blocker));
    // A folder that may only be read (root writes in it all the same).
    const QString folder = QDir(Dir()).filePath(u"solalettura"_s);
    QDir().mkpath(folder);
    const QString file = QDir(folder).filePath(u"vecchio.pdf"_s);
    QVERIFY(oldFile(file));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool root = ::geteuid() == 0;
    const bool written = m_report->ExportTo(pdf, file);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (root)
        return;
    QVERIFY(!written);
    QVERIFY((*m_messages)->LastText().startsWith(u"Impossibile scrivere il file %1:\r\n"_s.arg(file)));
    QVERIFY(untouched(file));
}

void TstReportEngine::splitByGroup()
{
    const QString folder = QDir(Dir()).filePath(u"divisi"_s);
    m_report->RedirectToSplit(u"gruppo"_s, folder, u"'Gruppo ' + q.SGRUPPO + IIF(q.SGRUPPO = 'C', ' è', '')"_s);
    QStringList written;
    m_report->OnEndPrint = [&](TfrReport *, bool completed, const QStringList &files) {
        QVERIFY(completed);
        written = files;
    };
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"80\"><Text Name=\"r\" Width=\"50\" Height=\"5\">[q.STESTO]</Text>"
                    "<Band Type=\"GroupHeader\" Name=\"gruppo\" Condition=\"q.SGRUPPO\" Height=\"5\" ResetPageNumbers=\"true\">"
                    "<Text Width=\"50\" Height=\"5\">[q.SGRUPPO]</Text></Band></Band>"_s
                    + Footer));
    QVERIFY(!m_report->ShowPreparedReport());
    QCOMPARE(written, QStringList({QDir(folder).filePath(u"Gruppo_A.pdf"_s), QDir(folder).filePath(u"Gruppo_B.pdf"_s),
                                   QDir(folder).filePath(u"Gruppo_C_e.pdf"_s)}));
    for (const QString &file : written) {
        const QString text = PdfTools::Text(file);
        QVERIFY2(text.contains(u"Pagina 1 di 2"_s), qPrintable(text));
        QCOMPARE(PdfTools::PageCount(file), 2);
    }
    QVERIFY(PdfTools::Text(written[1]).contains(u"Riga 5"_s));
    QVERIFY(!PdfTools::Text(written[1]).contains(u"Riga 9"_s));
}

void TstReportEngine::previewAndPdfPageCount()
{
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"60\"><Text Name=\"r\" Width=\"50\" Height=\"5\">[q.STESTO]</Text></Band>"_s
                    + Footer));
    TfrPreviewForm *preview = m_report->ShowPreparedReport();
    QVERIFY(preview);
    QCOMPARE(preview->windowTitle(), u"Prova"_s);
    QCOMPARE(preview->laPagina->text(), u"Pagina 1 di 3"_s);
    QCOMPARE(preview->pvMain->pageCount(), 3);
    preview->GoToPage(3);
    QCOMPARE(preview->laPagina->text(), u"Pagina 3 di 3"_s);
    const QString file = QDir(Dir()).filePath(u"anteprima.pdf"_s);
    (*m_messages)->SaveNames << file;
    preview->acEsportaPdf->trigger();
    QCOMPARE(PdfTools::PageCount(file), 3);
    const QString csv = QDir(Dir()).filePath(u"anteprima.csv"_s);
    (*m_messages)->SaveNames << csv;
    preview->acEsportaCsv->trigger();
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll().count("\r\n"), 13);   // the header and the 12 rows
}

void TstReportEngine::csvBytes()
{
    TTestDatabase::Exec(u"UPDATE TTest_Righe SET fImporto = 1234.5, sTesto = 'Rossi; Mario' WHERE iId = 1"_s);
    TTestDatabase::Exec(u"UPDATE TTest_Righe SET fImporto = NULL, dData = NULL, sTesto = 'Il \"Bello\"' WHERE iId = 2"_s);
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"q\" Height=\"5\"/>"_s,
                    u"<DataSet Name=\"q\"><Sql>SELECT iId, fImporto, sTesto, dData FROM TTest_Righe WHERE iId &lt;= 2 ORDER BY iId</Sql></DataSet>"_s));
    QCOMPARE(TfrCSVExport::Bytes(m_report->Prepared(), 0),
             QByteArray("\xEF\xBB\xBFIID;FIMPORTO;STESTO;DDATA\r\n1;1234,50;\"Rossi; Mario\";01/09/2024\r\n"
                        "2;;\"Il \"\"Bello\"\"\";\r\n"));
}

void TstReportEngine::csvMastersFirst()
{
    QVERIFY(Prepare(u"<Band Type=\"Data\" DataSet=\"m\" Height=\"5\"><Band Type=\"Data\" DataSet=\"d\" Height=\"5\"/></Band>"_s,
                    u"<DataSet Name=\"m\"><Sql>SELECT iId, sTesto FROM TTest_Righe WHERE iId = 1</Sql></DataSet>"
                    "<DataSet Name=\"d\"><Sql>SELECT iRiga, fValore FROM TTest_Dettagli WHERE iRiga = 1 ORDER BY iId</Sql></DataSet>"_s));
    QCOMPARE(TfrCSVExport::DeepestTable(m_report->Prepared()), 1);
    QCOMPARE(TfrCSVExport::Bytes(m_report->Prepared(), 1),
             QByteArray("\xEF\xBB\xBFm.IID;m.STESTO;IRIGA;FVALORE\r\n1;Riga 1;1;1,50\r\n1;Riga 1;1;2,50\r\n"));
}

void TstReportEngine::barcode()
{
    const QList<int> values = TfrBarcode::Values(u"PJJ123C"_s);
    QCOMPARE(values.first(), 104);
    QCOMPARE(values[values.size() - 2], 55);
    QCOMPARE(values.last(), 106);
    QCOMPARE(TfrBarcode::Pattern(104), QList<int>({2, 1, 1, 2, 1, 4}));
    QCOMPARE(TfrBarcode::Pattern(106), QList<int>({2, 3, 3, 1, 1, 1, 2}));
    for (int v = 0; v < 106; ++v) {
        int sum = 0;
        for (int w : TfrBarcode::Pattern(v))
            sum += w;
        QCOMPARE(sum, 11);
    }
    // Four digits or more go to subset C, two per symbol.
    QCOMPARE(TfrBarcode::Values(u"123456"_s).mid(0, 4), QList<int>({105, 12, 34, 56}));
    QCOMPARE(TfrBarcode::Values(u"A12345B"_s).mid(0, 6), QList<int>({104, 33, 17, 99, 23, 45}));
}

void TstReportEngine::screenshot()
{
    QVERIFY(Prepare(u"<Band Type=\"PageHeader\" Height=\"12\"><Text Width=\"186\" Height=\"8\" FontSize=\"14\" FontStyle=\"Bold\">Prova di stampa</Text></Band>"
                    "<Band Type=\"Data\" DataSet=\"q\" Height=\"60\"><Text Width=\"40\" Height=\"6\">[q.STESTO]</Text>"
                    "<Text Left=\"50\" Width=\"40\" Height=\"6\" Align=\"Right\" Format=\"#,###.00\">[q.FIMPORTO]</Text>"
                    "<Barcode Left=\"100\" Width=\"60\" Height=\"15\" Value=\"[q.STESTO]\"/></Band>"_s
                    + Footer));
    QCOMPARE(m_report->Prepared().PageCount, 3);
    TfrPreviewForm *preview = m_report->ShowPreparedReport();
    preview->resize(1200, 900);
    QVERIFY(QTest::qWaitForWindowExposed(preview));
    QTest::qWait(50);
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    QVERIFY(preview->grab().save(dir.filePath(u"anteprima_stampa.png"_s)));
    CheckNothingCut(preview);
}

QTEST_MAIN(TstReportEngine)
#include "tst_reportengine.moc"

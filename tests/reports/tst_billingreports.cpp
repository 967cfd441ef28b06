#include "EbcFElencoXClassi.h"
#include "EbcFRptSelData.h"
#include "EbdFRptSelAttestazione.h"
#include "EbdFRptSelClsComp.h"
#include "PdfTools.h"
#include "EbdMReport.h"
#include "EbdURptForms.h"
#include "EbsFRptSelAluCau.h"
#include "EbsFSelRptAnnoScolCau.h"
#include "EbsMReport.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "VardellaModules.h"
#include "VtAttReport.h"
#include "VtExecModal.h"
#include "VtMoney.h"
#include "VtQueryCollection.h"
#include "EbsFRptSelDate.h"
#include "VtDateEdit.h"
#include "VtRptTreeView.h"
#include "dmVtAttivazioni.h"
#include "dmVtRptFR.h"
#include "fmVtMultiSelect.h"
#include "fmVtuSelRptAnnoScol.h"
#include "frCSVExport.h"
#include "frDBDataSet.h"
#include "frPDFExport.h"
#include "frPreviewForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QPainter>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
// The test holder: pupil 208 (Silvia Ferrandi, class 24005) paying by a
// payment mode of the test's own.
constexpr int TestPupil = 208;
constexpr int TestMode = 77;
constexpr int TestHolder = 900001;
}

// The billing and fee-structure report modules on the demo school: every
// default template printed through the real engine and dialogs, and the
// rules of their datasets, variables and handlers checked on rows the test adds.
class TstBillingReports : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void everyDefaultTemplatePrints_data();
    void everyDefaultTemplatePrints();
    void bankListOfOneModeAndTheCsv();
    void bankListWithEveryMode();
    void bankListCancelledDialogPrintsNothing();
    void classComponentTotals();
    void modeComboOnlyForTheTotalsReportAndItsCopy();
    void receiptsByClass();
    void reconciliationPrintsTheTickedPupils();
    void ridFormsAndSpesometro();
    void siblingsAndSeats();
    void feeStructureLists();
    void paymentFormsOfThePupilsChosen();
    void variables();
    void genericHandlers();
    void contextChangesAreFollowed();
    void metadataAndClosing();
    void componentListNeverEmptyInSql();
    void exportSummaryAndDispositions();
    void yearlyStatementOfOneParent();
    void yearlyStatementFiles();
    void yearlyStatementOfAYearWithoutPayments();

private:
    struct TChoices
    {
        QDate From{2024, 9, 1}, To{2025, 8, 31};
        int Mode = 0;                // 0: every mode ("Tutti", or none in the class dialog)
        QVariantList Ticks;          // ids to tick; empty: all
        QVariantList Components;     // empty: all
        bool Entrata = true;
        int Cau = 2401;
        bool BarCode = false;
        bool Reject = false;
        int Year = 2025;
        int Uscita = 0;
    };
    void AddStatementFamily();
    int Answer(QDialog *dialog);
    bool Print(int id);
    QString AllText() const;
    TdmVtRptFR *Engine() { return m_command->GetRptTreeView()->GetfrReport(); }
    void AddTestHolder();

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    std::unique_ptr<TdmVtAttivazioni> m_owner;
    TVtAttReport *m_command = nullptr;
    TdmEbdReport *m_report = nullptr;
    TChoices m_choices;
    QStringList m_dialogs;
    QDialog *m_lastDialog = nullptr;
    std::function<void(QDialog *)> m_inspect;
};

void TstBillingReports::initTestCase()
{
    RegisterVardellaModules();
    RegisterReportForms();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstBillingReports::init()
{
    (*m_messages)->Clear();
    m_dialogs.clear();
    m_choices = TChoices();
    m_inspect = nullptr;
    QVERIFY(OpenBillingModule(*m_db));
    SetWorkingContext(1, 2024, 2025, 2, 2024);
    m_owner = std::make_unique<TdmVtAttivazioni>();
    m_command = new TVtAttReport(m_owner.get(), u"xarReport"_s);
    m_command->CodAppl = u"EBD"_s;
    m_report = new TdmEbdReport;
    m_report->Setup();
    m_report->RouteEvents(Engine());
    VtModalRunner() = [this](QDialog *dialog) { return Answer(dialog); };
}

void TstBillingReports::cleanup()
{
    VtModalRunner() = nullptr;
    delete m_report;
    m_report = nullptr;
    m_owner.reset();
    CloseBillingModule();
}

void TstBillingReports::cleanupTestCase()
{
    m_db.reset();
}

// The dialogs answered as a user would, with the test's choices.
int TstBillingReports::Answer(QDialog *dialog)
{
    m_dialogs << QString::fromLatin1(dialog->metaObject()->className());
    m_lastDialog = dialog;
    const TChoices &c = m_choices;
    if (dialog->windowTitle() == u"Esporta CSV"_s)
        return int(QDialog::Accepted);   // the deepest dataset, chosen by default
    dialog->show();
    QCoreApplication::processEvents();
    if (m_inspect)
        m_inspect(dialog);
    if (c.Reject)
        return int(QDialog::Rejected);
    auto chooseMode = [&](QComboBox *combo) {
        const int i = c.Mode ? combo->findData(c.Mode) : combo->findText(u"Tutti"_s);
        combo->setCurrentIndex(i);
    };
    auto tick = [&](TfmVtMultiSelect *multi) {
        multi->CheckAll(c.Ticks.isEmpty());
        for (const QVariant &id : c.Ticks)
            multi->SetCheckedId(id, true);
    };
    if (auto *d = qobject_cast<TfmEbdRptSelAttestazione *>(dialog)) {
        d->seAnno->setValue(c.Year);
        d->cbUscita->setCurrentIndex(c.Uscita);
        tick(d);
        d->OkClick();
    } else if (auto *d = qobject_cast<TfmEbcRptSelData *>(dialog)) {
        d->dtpDal->setDate(c.From);
        d->dtpAl->setDate(c.To);
        chooseMode(d->cbModPagam);
        d->buOk->click();
    } else if (auto *d = qobject_cast<TfmEbdRptSelClsComp *>(dialog)) {
        d->dtpDal->setDate(c.From);
        d->dtpAl->setDate(c.To);
        d->cbModPagam->setCurrentIndex(c.Mode ? d->cbModPagam->findData(c.Mode) : -1);
        for (int i = 0; i < d->lbComponenti->count(); ++i) {
            QListWidgetItem *item = d->lbComponenti->item(i);
            const bool on = c.Components.isEmpty() || c.Components.contains(item->data(Qt::UserRole));
            item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        }
        tick(d);
        d->OkClick();
    } else if (auto *d = qobject_cast<TfmEbcElencoXClassi *>(dialog)) {
        d->dtpDal->setDate(c.From);
        d->dtpAl->setDate(c.To);
        chooseMode(d->cbModPagam);
        tick(d);
        d->OkClick();
    } else if (auto *d = qobject_cast<TfmEbsRptSelAluCau *>(dialog)) {
        d->cbCausale->setCurrentIndex(d->cbCausale->findData(c.Cau));
        d->ckBarCode->setChecked(c.BarCode);
        QCoreApplication::processEvents();
        tick(d);
        d->OkClick();
    } else if (auto *d = qobject_cast<TfmEbsSelRptAnnoScolCau *>(dialog)) {
        d->ckEntrata->setChecked(c.Entrata);
        tick(d);
        d->OkClick();
    } else if (auto *d = qobject_cast<TfmVtMultiSelect *>(dialog)) {
        tick(d);
        d->OkClick();
    } else {
        return int(QDialog::Rejected);
    }
    const int result = dialog->result();
    dialog->hide();
    return result;
}

bool TstBillingReports::Print(int id)
{
    const bool printed = Engine()->PreviewReportFromVtDB(id, id >= 1000000 ? 5 : 4);
    if (!printed && !(*m_messages)->Messages.isEmpty())
        qWarning("%s", qPrintable((*m_messages)->Texts().join(u" | "_s)));
    if (TfrPreviewForm *preview = Engine()->frReport->Preview())
        preview->close();
    return printed;
}

QString TstBillingReports::AllText() const
{
    const TfrPreparedReport &p = const_cast<TstBillingReports *>(this)->Engine()->frReport->Prepared();
    QString all;
    for (int i = 0; i < p.PageCount; ++i)
        all += p.PageText(i) + u'\n';
    return all;
}

// Pupil 208 gets a holder record of its own payment mode with the canteen
// (120 due 15/10/2024, 120 due 15/01/2025 paid, 110 due 15/04/2025) and the
// school trip (35,50 due 20/03/2025); the database creates the instalments.
void TstBillingReports::AddTestHolder()
{
    TTestDatabase::Exec(u"INSERT INTO TMpg_ModPagam (iMpgId, sMpgDescS, sMpgDescL, lMpgRisc, lMpgPag) "
                        "VALUES (%1, 'PROVA', 'Addebito di prova', 1, 0)"_s.arg(TestMode));
    TTestDatabase::Exec(u"INSERT INTO TAcb_AluCoordBan (iAcbId, iAnaId, iAnaId_Gen, sAcbIBan, sAcbIntestatario, iMpgId, "
                        "fAcbPercSconto) VALUES (%1, %2, NULL, NULL, 'INTESTATARIO DI PROVA', %3, 0)"_s
                            .arg(TestHolder).arg(TestPupil).arg(TestMode));
    TTestDatabase::Exec(u"INSERT INTO TAcbCau (iAcbCauId, iAcbId, iCauId, fAcbCauPercSconto) VALUES (900001, %1, 2402, 0)"_s
                            .arg(TestHolder));
    TTestDatabase::Exec(u"INSERT INTO TAcbCau (iAcbCauId, iAcbId, iCauId, fAcbCauPercSconto) VALUES (900002, %1, 2403, 0)"_s
                            .arg(TestHolder));
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = DATE '2025-01-15' "
                        "WHERE iAcbCauId = 900001 AND iCcaId = 2405"_s);
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET fCacImporto = 35.5 WHERE iAcbCauId = 900002"_s);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCac_CcaAcbCau WHERE iAcbCauId IN (900001, 900002)"_s).toInt(),
             4);
}

// ------------------------------------------------------------ default templates

void TstBillingReports::everyDefaultTemplatePrints_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("expected");
    QTest::newRow("44019") << 44019 << u"Totale generale"_s;
    QTest::newRow("44020") << 44020 << u"Totale classe"_s;
    QTest::newRow("44021") << 44021 << u"AUTORIZZAZIONE ALL'ADDEBITO DIRETTO SEPA (RID)"_s;
    QTest::newRow("44022") << 44022 << u"A.S. 2024/2025"_s;
    QTest::newRow("44023") << 44023 << u"Padre e madre"_s;
    QTest::newRow("44024") << 44024 << u"Modalità di pagamento: TUTTE"_s;
    QTest::newRow("44025") << 44025 << u"Totale classe"_s;
    QTest::newRow("44026") << 44026 << u"Dote scuola residua A.S. 2024/2025"_s;
    QTest::newRow("44027") << 44027 << u"Pagante: "_s;
    QTest::newRow("44028") << 44028 << u"Totale generale"_s;
    QTest::newRow("44029") << 44029 << u"Codice meccanografico"_s;
    QTest::newRow("44031") << 44031 << u"Totali ("_s;
    QTest::newRow("44032") << 44032 << u"Contributo scolastico"_s;
    QTest::newRow("44033") << 44033 << u"Conto corrente n. "_s;
    QTest::newRow("44034") << 44034 << u"Pagate"_s;
    QTest::newRow("44030") << 44030 << u"Totale versato nell'anno"_s;
    QTest::newRow("1900001") << 1900001 << u"(copia dell'istituto)"_s;
    QTest::newRow("1900002") << 1900002 << u"Riepilogo acconti (copia dell'istituto)"_s;
}

void TstBillingReports::everyDefaultTemplatePrints()
{
    QFETCH(int, id);
    QFETCH(QString, expected);
    m_choices.Ticks = {};
    QVERIFY(Print(id));
    const TfrPreparedReport &p = Engine()->frReport->Prepared();
    QVERIFY(p.PageCount > 0);
    QString overflows;
    for (const auto &o : p.Overflows)
        overflows += u"p%1 %2/%3: %4\n"_s.arg(o.Page).arg(o.Band, o.Object, o.Text);
    QVERIFY2(p.Overflows.isEmpty(), qPrintable(overflows.left(2000)));
    const QString text = AllText();
    QVERIFY2(text.contains(expected), qPrintable(text.left(1500)));
    // The statement counts its pages within each parent.
    QVERIFY(p.PageText(0).contains(id == 44030 ? u"Pagina 1 di "_s : u"Pagina 1 di %1"_s.arg(p.PageCount)));
    QVERIFY(!text.contains(u"Variabile sconosciuta"_s));
    // The first page, as the preview paints it.
    const QSizeF mm = p.PageSize;
    QImage image(QSize(int(mm.width() * 4), int(mm.height() * 4)), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        p.PaintPage(painter, 0, 4.0);
    }
    int ink = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            ink += qGray(image.pixel(x, y)) < 128;
    QVERIFY(ink > 50);
    QDir().mkpath(QStringLiteral(VARDELLA_SCREENSHOT_DIR "/reports"));
    QVERIFY(image.save(QStringLiteral(VARDELLA_SCREENSHOT_DIR "/reports/%1.png").arg(id)));
    QCOMPARE(m_report->AllDataSets().size(), 27);
    for (TVtQueryCollection *q : m_report->AllDataSets())
        QVERIFY2(!q->Active(), qPrintable(q->objectName()));
}

// ------------------------------------------------------------ bank list

void TstBillingReports::bankListOfOneModeAndTheCsv()
{
    AddTestHolder();
    m_choices.From = QDate(2024, 10, 1);
    m_choices.To = QDate(2025, 3, 31);
    m_choices.Mode = TestMode;
    QVERIFY(Print(44019));
    QCOMPARE(m_dialogs, QStringList{u"TfmEbcRptSelData"_s});
    const QString text = AllText();
    QVERIFY2(text.contains(u"Modalità di pagamento: Addebito di prova"_s), qPrintable(text));
    QCOMPARE(text.count(u"INTESTATARIO DI PROVA"_s), 2);
    QVERIFY(text.contains(u"15/10/2024"_s));
    QVERIFY(text.contains(u"20/03/2025"_s));
    QVERIFY(!text.contains(u"15/01/2025"_s));   // paid
    QVERIFY(!text.contains(u"15/04/2025"_s));   // after the range
    QVERIFY(text.contains(u"(2 rate)\n155,50"_s));
    QVERIFY(!text.contains(u"Modalità di pagamento: RID"_s));
    // The CSV of the preview holds the holder's lines with the amounts as numbers.
    QVERIFY(Engine()->PreviewReportFromVtDB(44019, 4));
    TfrPreviewForm *preview = Engine()->frReport->Preview();
    QVERIFY(preview);
    preview->resize(1500, 950);
    QCoreApplication::processEvents();
    QVERIFY(preview->grab().save(QStringLiteral(VARDELLA_SCREENSHOT_DIR "/anteprima_elenco_banca.png")));
    const QString csv = QDir(TTestDatabase::WorkDir()).filePath(u"elenco_banca.csv"_s);
    (*m_messages)->SaveNames << csv;
    preview->acEsportaCsv->trigger();
    preview->close();
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());
    QVERIFY(content.contains(u"INTESTATARIO DI PROVA"_s));
    QVERIFY(content.contains(u";35,50;"_s));
    QVERIFY(content.contains(u";120,00;"_s));
}

void TstBillingReports::bankListWithEveryMode()
{
    AddTestHolder();
    m_choices.From = QDate(2024, 10, 1);
    m_choices.To = QDate(2025, 3, 31);
    QVERIFY(Print(44019));
    const QString text = AllText();
    const QVariantList modes = TTestDatabase::Column(
        u"SELECT DISTINCT m.sMpgDescL FROM TCac_CcaAcbCau c JOIN TAcbCau ac ON ac.iAcbCauId = c.iAcbCauId "
        "JOIN TAcb_AluCoordBan b ON b.iAcbId = ac.iAcbId JOIN TMpg_ModPagam m ON m.iMpgId = b.iMpgId "
        "JOIN TCau_Causali cau ON cau.iCauId = ac.iCauId "
        "WHERE c.dCacDataPagamento IS NULL AND c.dCacDataScadenza BETWEEN DATE '2024-10-01' AND DATE '2025-03-31' "
        "AND cau.dStart = DATE '2024-09-01'"_s);
    QVERIFY(modes.size() >= 3);
    for (const QVariant &m : modes)
        QVERIFY2(text.contains(u"Modalità di pagamento: "_s + m.toString()), qPrintable(m.toString()));
    QCOMPARE(text.count(u"Modalità di pagamento: "_s), modes.size());
    // The overall total is every unpaid instalment of enrolled pupils in the range.
    const QString total = TVtMoney::FromVariant(TTestDatabase::Scalar(
        u"SELECT SUM(c.fCacImporto) FROM TCac_CcaAcbCau c JOIN TAcbCau ac ON ac.iAcbCauId = c.iAcbCauId "
        "JOIN TAcb_AluCoordBan b ON b.iAcbId = ac.iAcbId JOIN TSit_Situazioni s ON s.iAnaId = b.iAnaId "
        "AND s.dStart = DATE '2024-09-01' "
        "WHERE c.dCacDataPagamento IS NULL AND c.dCacDataScadenza BETWEEN DATE '2024-10-01' AND DATE '2025-03-31'"_s))
                              .Format();
    QVERIFY2(text.contains(u"Totale generale\n"_s + total), qPrintable(total));
}

void TstBillingReports::bankListCancelledDialogPrintsNothing()
{
    m_choices.Reject = true;
    QVERIFY(!Print(44019));
    QVERIFY((*m_messages)->Messages.isEmpty());
    QCOMPARE(Engine()->frReport->Prepared().PageCount, 0);
    for (TVtQueryCollection *q : m_report->AllDataSets())
        QVERIFY(!q->Active());
}

// ------------------------------------------------------------ classes and components

void TstBillingReports::classComponentTotals()
{
    m_choices.From = QDate(2024, 9, 1);
    m_choices.To = QDate(2024, 12, 31);
    m_choices.Components = {2404, 2401};
    m_choices.Ticks = {24001};
    QVERIFY(Print(44024));
    const QString text = AllText();
    QCOMPARE(m_report->ModeB, -1);
    QVERIFY(text.contains(u"Modalità di pagamento: TUTTE - rate pagate con scadenza dal 01/09/2024 al 31/12/2024"_s));
    auto paid = [](int component) {
        return TVtMoney::FromVariant(TTestDatabase::Scalar(
                   u"SELECT SUM(c.fCacImporto) FROM TCac_CcaAcbCau c JOIN TAcbCau ac ON ac.iAcbCauId = c.iAcbCauId "
                   "JOIN TAcb_AluCoordBan b ON b.iAcbId = ac.iAcbId JOIN TSit_Situazioni s ON s.iAnaId = b.iAnaId "
                   "JOIN TClsPst p ON p.iClsPstId = s.iClsPstId "
                   "WHERE p.iClsId = 24001 AND c.iCcaId = ? AND c.dCacDataPagamento IS NOT NULL "
                   "AND c.dCacDataScadenza BETWEEN DATE '2024-09-01' AND DATE '2024-12-31'"_s,
                   {component}));
    };
    const TVtMoney mensa = paid(2404), convol = paid(2401);
    QVERIFY(!mensa.IsZero());
    QVERIFY2(text.contains(u"MENSA1\n"_s) && text.contains(mensa.Format()), qPrintable(text));
    QVERIFY(text.contains(convol.Format()));
    QVERIFY(!text.contains(u"ASSIC"_s));    // not ticked
    QVERIFY(text.contains(u"Totale generale\n"_s + (mensa + convol).Format()));
    QCOMPARE(text.count(u"Classe 1A"_s), 1);   // the one class ticked
    QVariant start, end;
    QVERIFY(m_report->GetValue(u"Data inizio"_s, start));
    QVERIFY(m_report->GetValue(u"Data fine"_s, end));
    QCOMPARE(start.toDate(), QDate(2024, 9, 1));
    QCOMPARE(end.toDate(), QDate(2024, 12, 31));

    // With a mode: only the holders of that mode.
    m_choices.Mode = 3;
    QVERIFY(Print(44024));
    QCOMPARE(m_report->ModeB, 3);
    QVERIFY(AllText().contains(u"Modalità di pagamento: Contanti"_s));
}

void TstBillingReports::modeComboOnlyForTheTotalsReportAndItsCopy()
{
    QList<bool> visible;
    m_inspect = [&](QDialog *d) {
        if (auto *cls = qobject_cast<TfmEbdRptSelClsComp *>(d))
            visible << cls->ModPagamVisible();
    };
    QVERIFY(Print(44024));
    QVERIFY(Print(1900001));
    QVERIFY(Print(44025));
    QCOMPARE(visible, (QList<bool>{true, true, false}));
    // The template being printed decides, not the tree's selection.
    QCOMPARE(m_report->BaseRptId(), -1);
}

void TstBillingReports::receiptsByClass()
{
    AddTestHolder();
    // "Tutti": paid and unpaid instalments of the class.
    m_choices.Ticks = {24005};
    QVERIFY(Print(44020));
    QString text = AllText();
    QCOMPARE(text.count(u"Ferrandi Silvia"_s), 4);
    // A mode: only what is still to pay of that mode.
    m_choices.Mode = TestMode;
    QVERIFY(Print(44020));
    text = AllText();
    QCOMPARE(text.count(u"Ferrandi Silvia"_s), 3);
    QVERIFY(!text.contains(u"15/01/2025"_s));
    // 44025 keeps the ticked components.
    m_choices = TChoices();
    m_choices.Ticks = {24005};
    m_choices.Components = {2407};
    QVERIFY(Print(44025));
    text = AllText();
    QVERIFY(text.contains(u"GITA"_s));
    QVERIFY(!text.contains(u"MENSA"_s));
}

// ------------------------------------------------------------ reconciliations

void TstBillingReports::reconciliationPrintsTheTickedPupils()
{
    AddTestHolder();
    TTestDatabase::Exec(u"INSERT INTO TCaa_CacAcconti (iCaaId, iCacId, fCaaImporto, dCaaData) SELECT 900001, iCacId, 20, "
                        "DATE '2024-10-01' FROM TCac_CcaAcbCau WHERE iAcbCauId = 900001 AND iCcaId = 2404"_s);
    TTestDatabase::Exec(u"INSERT INTO TCaa_CacAcconti (iCaaId, iCacId, fCaaImporto, dCaaData) SELECT 900002, iCacId, 5.25, "
                        "DATE '2024-10-05' FROM TCac_CcaAcbCau WHERE iAcbCauId = 900001 AND iCcaId = 2404"_s);
    TTestDatabase::Exec(u"INSERT INTO TDos_DoteScuola (iDosId, iAcbId, fDosImporto, dDosData, dDosDataScadenza, "
                        "fDosImportoResiduo, dStart, dEnd) VALUES (900001, %1, 100, DATE '2024-09-20', DATE '2025-06-30', "
                        "60, DATE '2024-09-01', DATE '2025-08-31')"_s.arg(TestHolder));
    TTestDatabase::Exec(u"INSERT INTO TDos_DoteScuola (iDosId, iAcbId, fDosImporto, dDosData, dDosDataScadenza, "
                        "fDosImportoResiduo, dStart, dEnd) VALUES (900002, %1, 50, DATE '2025-09-20', DATE '2026-06-30', "
                        "50, DATE '2025-09-01', DATE '2026-08-31')"_s.arg(TestHolder));
    m_choices.Ticks = {TestPupil};
    QVERIFY(Print(44026));
    const QString text = AllText();
    QCOMPARE(Engine()->frReport->Prepared().PageCount, 1);
    QVERIFY(text.contains(u"Ferrandi Silvia - classe"_s));
    QVERIFY(text.contains(u"25,25"_s));   // the two advances
    QVERIFY2(text.contains(u"Dote scuola residua A.S. 2024/2025: 60,00"_s), qPrintable(text));
    QVERIFY(text.contains(u"Totali (4 rate)"_s));
    // Per paying holder: the ticked record only.
    m_choices.Ticks = {TestHolder};
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET iAnaId_Gen = (SELECT MIN(iAnaId_p) FROM TAnaGpt WHERE iAnaId = %1) "
                        "WHERE iAcbId = %2"_s.arg(TestPupil).arg(TestHolder));
    QVERIFY(Print(44027));
    QCOMPARE(Engine()->frReport->Prepared().PageCount, 1);
    const QString payer = TTestDatabase::Scalar(u"SELECT a.sAnaCognome || ' ' || a.sAnaNome FROM TAcb_AluCoordBan b "
                                                "JOIN TAna_Anagrafiche a ON a.iAnaId = b.iAnaId_Gen WHERE b.iAcbId = ?"_s,
                                                {TestHolder})
                              .toString();
    QVERIFY(!payer.isEmpty());
    QVERIFY2(AllText().contains(u"Pagante: "_s + payer), qPrintable(AllText().left(600)));
}

void TstBillingReports::ridFormsAndSpesometro()
{
    AddTestHolder();
    // Pupil 240003's record and the test holder (no IBAN).
    const int pupil3 = TTestDatabase::Scalar(u"SELECT iAnaId FROM TAnaCag WHERE sAnaCagCode = '240003'"_s).toInt();
    const int acb3 = TTestDatabase::Scalar(u"SELECT MIN(iAcbId) FROM TAcb_AluCoordBan WHERE iAnaId = ?"_s, {pupil3}).toInt();
    m_choices.Ticks = {acb3, TestHolder};
    QVERIFY(Print(44021));
    QCOMPARE(Engine()->frReport->Prepared().PageCount, 2);
    const QString text = AllText();
    QVERIFY(text.contains(u"0000000000240003"_s));
    QVERIFY(text.contains(QString(43, u'_')));

    // The expense statement labels the two school years of the financial year.
    SetWorkingContext(1, 2024, 2024, 2, 2024);
    m_report->Refresh();
    QVERIFY(Print(44022));
    QVERIFY(AllText().contains(u"A.S. 2023/2024"_s));
    QVERIFY(AllText().contains(u"A.S. 2024/2025"_s));
    SetWorkingContext(1, 2024, 2025, 2, 2024);
    m_report->Refresh();
    QVERIFY(Print(44022));
    const QString y2025 = AllText();
    QVERIFY(y2025.contains(u"A.S. 2024/2025"_s));
    QVERIFY(y2025.contains(u"A.S. 2025/2026"_s));
    // The test holder paid 120 in 2025 of its 2024/2025 components (120 + 120 + 110 + 35,50).
    m_report->qquSpesometro->Open();
    QVERIFY(m_report->qquSpesometro->Locate(u"iAcbId"_s, TestHolder));
    QCOMPARE(TVtMoney::FromVariant(m_report->qquSpesometro->FieldByName(u"PagatoAF"_s)->Value()).Format(), u"120,00"_s);
    QCOMPARE(TVtMoney::FromVariant(m_report->qquSpesometro->FieldByName(u"TotaleAS_Ini"_s)->Value()).Format(),
             u"385,00"_s);
    QVERIFY(m_report->qquSpesometro->FieldByName(u"TotaleAS_Fin"_s)->IsNull());
    m_report->CloseDataSets();
}

// ------------------------------------------------------------ siblings and seats

void TstBillingReports::siblingsAndSeats()
{
    m_report->qquGenitori->Open();
    QSet<int> groups;
    for (m_report->qquGenitori->First(); !m_report->qquGenitori->Eof(); m_report->qquGenitori->Next())
        groups << m_report->qquGenitori->FieldByName(u"ord"_s)->Value().toInt();
    QVERIFY(groups.contains(0));
    m_report->CloseDataSets();
    // A father alone and a mother alone: two children of a new father with
    // no mother recorded, two of a new mother with no father.
    const QVariantList kids = TTestDatabase::Column(
        u"SELECT FIRST 4 s.iAnaId FROM TSit_Situazioni s WHERE s.dStart = DATE '2024-09-01' ORDER BY s.iAnaId DESC"_s);
    QCOMPARE(kids.size(), 4);
    TTestDatabase::Exec(u"INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome) VALUES (900200, 'Padreprova', 'Ugo')"_s);
    TTestDatabase::Exec(u"INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome) VALUES (900201, 'Madreprova', 'Ada')"_s);
    for (int i = 0; i < 4; ++i) {
        TTestDatabase::Exec(u"DELETE FROM TAnaGpt WHERE iAnaId = %1"_s.arg(kids[i].toInt()));
        TTestDatabase::Exec(u"INSERT INTO TAnaGpt (iAnaGptId, iAnaId, iAnaId_p, iGptId) VALUES (%1, %2, %3, %4)"_s
                                .arg(900010 + i)
                                .arg(kids[i].toInt())
                                .arg(i < 2 ? 900200 : 900201)
                                .arg(i < 2 ? 1 : 2));
    }
    m_report->qquGenitori->Open();
    const int parents = m_report->qquGenitori->RecordCount();
    m_report->CloseDataSets();
    QVERIFY(Print(44023));
    const QString text = AllText();
    const int pair = text.indexOf(u"Padre e madre"_s), father = text.indexOf(u"Solo il padre"_s),
              mother = text.indexOf(u"Solo la madre"_s);
    QVERIFY(pair >= 0 && pair < father && father < mother);
    QVERIFY(text.indexOf(u"Padreprova Ugo (padre)"_s) > father);
    QVERIFY(text.indexOf(u"Madreprova Ada (madre)"_s) > mother);
    QVERIFY(text.contains(u"Totale: %1 genitori"_s.arg(parents)));
    // Seats: only the main one.
    QVERIFY(Print(44029));
    const int main = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM VSed_Sedi WHERE iDwgId = 1 AND lDwgSedMain = 1"_s).toInt();
    QCOMPARE(AllText().count(u"Codice meccanografico"_s), main);
}

// ------------------------------------------------------------ fee structure

void TstBillingReports::feeStructureLists()
{
    const int all = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCca_CompCausali WHERE dStart = DATE '2024-09-01'"_s).toInt();
    const int sibling = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCca_CompCausali WHERE dStart = DATE '2024-09-01' "
                                              "AND lCcaVuvez = 1 AND lCcaTipo = 0"_s)
                            .toInt();
    QVERIFY(Print(44031));
    QCOMPARE(m_dialogs.last(), u"TfmVtuSelRptAnnoScol"_s);
    QVERIFY(AllText().contains(u"Totali (%1 componenti)"_s.arg(all)));
    QVERIFY(AllText().contains(u"A.S. 2024/2025"_s));
    dmEbsReport->SetAllComponents(false);
    QVERIFY(Print(44031));
    QVERIFY(AllText().contains(u"Totali (%1 componenti)"_s.arg(sibling)));
    dmEbsReport->SetAllComponents(true);

    // A reason without components shows empty totals; outgoing reasons when unticked.
    TTestDatabase::Exec(u"INSERT INTO TCau_Causali (iCauId, sCauSDesc, sCauLDesc, lCauTipo, lCauVuvez, dStart, dEnd) "
                        "VALUES (900001, 'VUOTA', 'Causale senza componenti', 0, 0, DATE '2024-09-01', DATE '2025-08-31')"_s);
    QVERIFY(Print(44032));
    QString text = AllText();
    QVERIFY(text.contains(u"VUOTA\nCausale senza componenti\n"_s));
    QVERIFY(text.contains(u"Contributo scolastico\n54,50"_s));
    QVERIFY(!text.contains(u"Rimborsi alle famiglie"_s));
    m_choices.Entrata = false;
    QVERIFY(Print(44032));
    text = AllText();
    QVERIFY(text.contains(u"Rimborsi alle famiglie"_s));
    QVERIFY(!text.contains(u"Servizio mensa"_s));
}

void TstBillingReports::paymentFormsOfThePupilsChosen()
{
    // Pupil 208 gets a domicile besides the residence.
    TTestDatabase::Exec(u"INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, sAbtCivico, iComCapId) "
                        "SELECT 900001, 'Via del Domicilio', '7', iComCapId FROM TAbt_Abitaz WHERE iAbtId = "
                        "(SELECT MIN(iAbtId) FROM TAbt_Abitaz)"_s);
    TTestDatabase::Exec(u"INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (900001, %1, 900001, 9)"_s
                            .arg(TestPupil));
    TTestDatabase::Exec(u"INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (900001, 900001, 1)"_s);
    // Another pupil the dialog lists.
    QVariant other;
    m_inspect = [&](QDialog *d) {
        auto *pupils = qobject_cast<TfmEbsRptSelAluCau *>(d);
        QVERIFY(pupils);
        QVERIFY(pupils->RowCount() > 2);
        QVERIFY(pupils->SetCheckedId(TestPupil, true));
        other = pupils->RowId(pupils->RowId(0).toInt() == TestPupil ? 1 : 0);
        m_choices.Ticks = {TestPupil, other};
    };
    QVERIFY(Print(44033));
    QCOMPARE(Engine()->frReport->Prepared().PageCount, 2);
    const QString text = AllText();
    QVERIFY(text.contains(u"Via del Domicilio, 7"_s));
    QVERIFY(text.contains(u"Contributo scolastico"_s));
    QVERIFY(text.contains(u"Conto corrente n. "_s + dmEbsReport->AccountNumber()));
    QVERIFY(!dmEbsReport->AccountNumber().isEmpty());
    int barcodes = 0;
    for (const auto &item : Engine()->frReport->Prepared().Items)
        barcodes += item.Kind == TfrPreparedReport::TItem::ikBarcode;
    QCOMPARE(barcodes, 0);
    m_choices.BarCode = true;
    QVERIFY(Print(44033));
    barcodes = 0;
    for (const auto &item : Engine()->frReport->Prepared().Items)
        barcodes += item.Kind == TfrPreparedReport::TItem::ikBarcode;
    QCOMPARE(barcodes, 2);
}

// ------------------------------------------------------------ variables and handlers

void TstBillingReports::variables()
{
    auto value = [this](const QString &name) {
        QVariant v;
        const bool known = m_report->GetValue(name, v);
        return known ? v.toString() : u"?"_s;
    };
    for (const QString &name : TdmEbdReport::VariableNames())
        QVERIFY2(value(name) != u"?"_s, qPrintable(name));
    QCOMPARE(value(u"Sconosciuta"_s), u"?"_s);
    TTestDatabase::Exec(u"UPDATE TSprIst SET sSprIstNumCc = '12345' WHERE iSprIstId = 1"_s);
    SetWorkingContext(1, 2024, 2025, 1, 2024);
    QCOMPARE(value(u"Info conto"_s), u"C/C Postale n. 12345"_s);
    QCOMPARE(value(u"Conto o Cassa"_s), u"CONTO CORRENTE"_s);
    QCOMPARE(value(u"Tipo conto"_s), u"Postale"_s);
    QCOMPARE(value(u"Numero conto"_s), u"12345"_s);
    SetWorkingContext(1, 2024, 2025, 3, 2024);
    QCOMPARE(value(u"Info conto"_s), QString());
    QCOMPARE(value(u"Conto o Cassa"_s), u"CASSA"_s);
    QCOMPARE(value(u"Esercizio finanziario"_s), u"2025"_s);
    m_report->SetRidDates(QDate(2025, 10, 1), QDate(2025, 10, 31));
    QVariant rid;
    QVERIFY(m_report->GetValue(u"dInizioRid"_s, rid));
    QCOMPARE(rid.toDate(), QDate(2025, 10, 1));
    QVERIFY(m_report->GetValue(u"dFineRid"_s, rid));
    QCOMPARE(rid.toDate(), QDate(2025, 10, 31));
    // Through the engine: an unknown one stops the print, a known one prints.
    Engine()->frReport->LoadFromText(
        u"<Report Name=\"V\"><Band Type=\"ReportTitle\" Height=\"10\"><Text Width=\"180\" Height=\"5\">"
        "[\"Conto o Cassa\"] [\"Esercizio finanziario\"]</Text></Band></Report>"_s);
    QVERIFY(Engine()->frReport->PrepareReport());
    QVERIFY(Engine()->frReport->Prepared().PageText(0).contains(u"CASSA 2025"_s));
}

void TstBillingReports::genericHandlers()
{
    SetWorkingContext(1, 2024, 2025, 3, 2024);
    Engine()->frReport->LoadFromText(
        u"<Report Name=\"G\"><DataSet Name=\"qMov\" SelectForm=\"TfmEbsRptSelDate\" AfterSelect=\"SetDateAfterSelectForm\" "
        "BeforeOpen=\"SetSprIstIdBeforeOpen\"><Sql>SELECT COUNT(*) AS N, MIN(dMvmDataMov) AS D FROM TMvm_MovimentiCcp "
        "WHERE iSprIstId = :iSprIstId AND dMvmDataMov BETWEEN :dInizio AND :dFine</Sql></DataSet>"
        "<DataSet Name=\"qDopo\" BeforeOpen=\"SetCommonParamsBeforeOpen\"><Sql>SELECT COUNT(*) AS N FROM TMvm_MovimentiCcp "
        "WHERE iSprIstId = :iSprIstId AND dMvmDataMov &gt;= :dInizio</Sql></DataSet>"
        "<Band Type=\"Data\" DataSet=\"qMov\" Height=\"5\"><Text Width=\"90\" Height=\"5\">[qMov.N]/[qDopo.N]</Text>"
        "</Band></Report>"_s);
    VtModalRunner() = [](QDialog *dialog) {
        auto *dates = qobject_cast<TfmEbsRptSelDate *>(dialog);
        if (!dates)
            return int(QDialog::Rejected);
        dates->deDal->SetDate(QDate(2025, 1, 1));
        dates->CheckDateExit(dates->deDal);
        dates->deAl->SetDate(QDate(2025, 6, 30));
        dates->CheckDateExit(dates->deAl);
        return int(QDialog::Accepted);
    };
    QVERIFY(Engine()->frReport->PrepareReport());
    const int inRange = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TMvm_MovimentiCcp WHERE iSprIstId = 3 AND "
                                              "dMvmDataMov BETWEEN DATE '2025-01-01' AND DATE '2025-06-30'"_s)
                            .toInt();
    const int after = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TMvm_MovimentiCcp WHERE iSprIstId = 3 AND "
                                            "dMvmDataMov >= DATE '2025-01-01'"_s)
                          .toInt();
    QVERIFY(inRange > 0);
    QCOMPARE(Engine()->frReport->Prepared().PageText(0).trimmed(), u"%1/%2"_s.arg(inRange).arg(after));
    QCOMPARE(m_report->ReportStart, QDate(2025, 1, 1));
    QCOMPARE(m_report->ReportEnd, QDate(2025, 6, 30));
}

void TstBillingReports::contextChangesAreFollowed()
{
    auto holdersOf = [](const QString &start) {
        return TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TAcb_AluCoordBan b JOIN TSit_Situazioni s ON s.iAnaId = b.iAnaId "
                                     "AND s.dStart = DATE '%1'"_s.arg(start))
            .toInt();
    };
    m_report->qquAutorizRid->Open();
    QCOMPARE(m_report->qquAutorizRid->RecordCount(), holdersOf(u"2024-09-01"_s));
    m_report->CloseDataSets();
    // The parameter dialog changes the working years; the module follows.
    SetWorkingContext(1, 2025, 2026, 2, 2025);
    m_report->Refresh();
    QCOMPARE(m_report->qquGenitori->Params().ParamByName(u"iAnsId"_s)->AsInteger(), 2025);
    QCOMPARE(m_report->qquAutorizRid->Params().ParamByName(u"iAnsId"_s)->AsInteger(), 2025);
    QCOMPARE(m_report->qquSpesometro->Params().ParamByName(u"iAnfId"_s)->AsInteger(), 2026);
    m_report->qquAutorizRid->Open();
    QCOMPARE(m_report->qquAutorizRid->RecordCount(), holdersOf(u"2025-09-01"_s));
    QVERIFY(holdersOf(u"2025-09-01"_s) != holdersOf(u"2024-09-01"_s));
    m_report->CloseDataSets();
    QVERIFY(Print(44022));
    QVERIFY(AllText().contains(u"Esercizio finanziario 2026"_s));
}

void TstBillingReports::metadataAndClosing()
{
    QList<QPair<QString, QStringList>> before;
    auto snapshot = [this] {
        QList<QPair<QString, QStringList>> out;
        for (TVtQueryCollection *q : m_report->AllClientDataSets()) {
            QStringList params;
            for (int i = 0; i < q->Params().Count(); ++i)
                params << q->Params().Items(i)->Name + u'=' + q->Params().Items(i)->Value().toString();
            out << qMakePair(q->CommandText, params);
        }
        return out;
    };
    before = snapshot();
    QCOMPARE(before.size(), 8);
    for (const auto &[text, params] : before)
        QVERIFY2(text.contains(TdmVtRptFR::MetadataMarker()), qPrintable(text.left(80)));
    m_report->PrepareMetadata();
    QCOMPARE(snapshot(), before);
    for (TVtQueryCollection *q : m_report->AllClientDataSets()) {
        QVERIFY(!q->Active());
        QVERIFY2(q->FieldCount() > 0, qPrintable(q->objectName()));
    }
    // A cancelled print closes everything too.
    m_choices.Reject = true;
    QVERIFY(!Print(44026));
    for (TVtQueryCollection *q : m_report->AllDataSets())
        QVERIFY(!q->Active());
}

// The class/component statements hold no empty list, whatever reaches them.
void TstBillingReports::componentListNeverEmptyInSql()
{
    QVERIFY(m_report->qquCompXCls->CommandText.contains(u"IN (NULL)"_s));
    QVERIFY(!m_report->qquCompXCls->CommandText.contains(u"IN ()"_s));
    // A customised copy of 44025 without the dialog: an empty result, no SQL error.
    Engine()->frReport->LoadFromText(
        u"<Report Name=\"C\"><Band Type=\"Data\" DataSet=\"frdCompXCls\" Height=\"5\" PrintIfEmpty=\"true\">"
        "<Text Width=\"90\" Height=\"5\">[frdCompXCls.SCCASDESC]</Text>"
        "<Band Type=\"Footer\" Height=\"5\"><Text Width=\"90\" Height=\"5\">fine</Text></Band></Band></Report>"_s);
    QVERIFY(Engine()->frReport->PrepareReport());
    QVERIFY((*m_messages)->Messages.isEmpty());
    QVERIFY(Engine()->frReport->Prepared().PageText(0).contains(u"fine"_s));
}

// ------------------------------------------------------------ bank export prints

// The export wizard publishes its instalments and dispositions; here two
// collections stand in for them with the columns the wizard gives.
void TstBillingReports::exportSummaryAndDispositions()
{
    const QString from =
        u" FROM TCac_CcaAcbCau Cac JOIN TAcbCau Ac ON Ac.iAcbCauId = Cac.iAcbCauId "
        "JOIN TAcb_AluCoordBan Acb ON Acb.iAcbId = Ac.iAcbId JOIN TAna_Anagrafiche Ana ON Ana.iAnaId = Acb.iAnaId "
        "JOIN TCca_CompCausali Cca ON Cca.iCcaId = Cac.iCcaId "
        "JOIN TSit_Situazioni Sit ON Sit.iAnaId = Ana.iAnaId AND Sit.dStart = DATE '2024-09-01' "
        "JOIN TClsPst Pst ON Pst.iClsPstId = Sit.iClsPstId JOIN VCls_Classi Cls ON Cls.iClsId = Pst.iClsId "
        "WHERE Acb.iMpgId = 1 AND Cac.dCacDataPagamento IS NULL "
        "AND Cac.dCacDataScadenza BETWEEN DATE '2024-09-01' AND DATE '2025-08-31' "_s;
    TVtQueryCollection leggi, disp;
    leggi.CommandText = u"SELECT Cac.iCacId, Acb.sAcbIntestatario AS DEBITORE, Ana.sAnaCognome, Ana.sAnaNome, "
                        "Cls.sClsDesc AS SCLSDESC, Cca.sCcaLDesc AS CAUSALE, Cac.dCacDataScadenza, "
                        "COALESCE(Cac.fCacImporto, 0) * 100 AS IMPORTO"_s
        + from + u"ORDER BY 2, 3, 4, 1"_s;
    disp.CommandText = u"SELECT Acb.iAnaId_Gen, Acb.sAcbIntestatario AS DEBITORE, Acb.sAcbIBan AS IBAN_DOMICILIATARIA, "
                       "SUBSTRING(Acb.sAcbIBan FROM 6 FOR 5) AS ABI_DOMICILIATARIA, "
                       "SUBSTRING(Acb.sAcbIBan FROM 11 FOR 5) AS CAB_DOMICILIATARIA, "
                       "SUBSTRING(Acb.sAcbIBan FROM 16 FOR 12) AS CC_DOMICILIATARIA, 'Via delle Scuole 4' AS IND_DEBITORE, "
                       "'27010' AS CAP_DEBITORE, 'Valdirame VD' AS COM_DEBITORE, COUNT(*) AS ICNT, "
                       "SUM(COALESCE(Cac.fCacImporto, 0) * 100) AS IMPORTO"_s
        + from + u"GROUP BY Acb.iAnaId_Gen, Acb.sAcbIntestatario, Acb.sAcbIBan ORDER BY 2, 1"_s;
    TfrDBDataSet riepilogo(u"frRiepilogoPagam"_s, &leggi, TfrDBDataSet::dkClientDataSet);
    TfrDBDataSet brogliaccio(u"frBrogliaccioEsp"_s, &disp, TfrDBDataSet::dkClientDataSet);
    TdmVtRptFR::PublishDataSet(&riepilogo);
    TdmVtRptFR::PublishDataSet(&brogliaccio);
    struct TWithdraw
    {
        TfrDBDataSet *A, *B;
        ~TWithdraw()
        {
            TdmVtRptFR::WithdrawDataSet(A);
            TdmVtRptFR::WithdrawDataSet(B);
        }
    } withdraw{&riepilogo, &brogliaccio};
    const int rows = TTestDatabase::Scalar(u"SELECT COUNT(*)"_s + from).toInt();
    QVERIFY(rows > 0);
    const QString total = TVtMoney::FromVariant(TTestDatabase::Scalar(u"SELECT SUM(Cac.fCacImporto)"_s + from)).Format();
    m_report->SetRidDates(QDate(2024, 9, 1), QDate(2025, 8, 31));

    QVERIFY(Print(44040));
    QString text = AllText();
    QVERIFY(text.contains(u"Addebiti diretti con scadenza dal 01/09/2024 al 31/08/2025"_s));
    QVERIFY2(text.contains(u"Totale (%1 rate)\n%2"_s.arg(rows).arg(total)), qPrintable(text.right(300)));
    QVERIFY(Engine()->frReport->Prepared().Overflows.isEmpty());

    QVERIFY(Print(44041));
    text = AllText();
    const int dispositions = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM (SELECT Acb.iAnaId_Gen"_s + from
                                                   + u"GROUP BY Acb.iAnaId_Gen, Acb.sAcbIntestatario, Acb.sAcbIBan)"_s)
                                 .toInt();
    QVERIFY(dispositions > 1 && dispositions < rows);
    QVERIFY2(text.contains(u"Totale (%1 disposizioni)\n%2"_s.arg(dispositions).arg(total)), qPrintable(text.right(300)));
    QVERIFY(Engine()->frReport->Prepared().Overflows.isEmpty());
}

// ------------------------------------------------------------ yearly statement

// Parent 900100 pays for pupils 208 and 295 (two holder records): in 2025 a
// canteen instalment settled on 31/12 (120), one settled on 01/01/2026 (not
// counted), an advance of 20 on an open one, a refund paid in June (-35), a
// trip settled at 0 by its advance of 35, and a canteen instalment of 80 of
// which the grant covered 40 more.
void TstBillingReports::AddStatementFamily()
{
    AddTestHolder();
    TTestDatabase::Exec(u"INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale) "
                        "VALUES (900100, 'Ferrandi', 'Paolo', 'FRRPLA70A01H501Z')"_s);
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET iAnaId_Gen = 900100 WHERE iAcbId = %1"_s.arg(TestHolder));
    TTestDatabase::Exec(u"INSERT INTO TAcb_AluCoordBan (iAcbId, iAnaId, iAnaId_Gen, sAcbIntestatario, iMpgId, fAcbPercSconto) "
                        "VALUES (900002, 295, 900100, 'FERRANDI PAOLO', 2, 0)"_s);
    TTestDatabase::Exec(u"INSERT INTO TAcbCau (iAcbCauId, iAcbId, iCauId, fAcbCauPercSconto) VALUES (900003, 900002, 2403, 0)"_s);
    TTestDatabase::Exec(u"INSERT INTO TAcbCau (iAcbCauId, iAcbId, iCauId, fAcbCauPercSconto) VALUES (900004, 900002, 2405, 0)"_s);
    TTestDatabase::Exec(u"INSERT INTO TAcbCau (iAcbCauId, iAcbId, iCauId, fAcbCauPercSconto) VALUES (900005, 900002, 2402, 0)"_s);
    auto set = [](int acbCau, int cca, const QString &values) {
        TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET %1 WHERE iAcbCauId = %2 AND iCcaId = %3"_s.arg(values).arg(acbCau).arg(cca));
    };
    set(900001, 2404, u"dCacDataPagamento = DATE '2025-12-31'"_s);
    set(900001, 2405, u"dCacDataPagamento = DATE '2026-01-01'"_s);
    TTestDatabase::Exec(u"INSERT INTO TCaa_CacAcconti (iCaaId, iCacId, fCaaImporto, dCaaData) SELECT 900010, iCacId, 20, "
                        "DATE '2025-05-10' FROM TCac_CcaAcbCau WHERE iAcbCauId = 900001 AND iCcaId = 2406"_s);
    set(900004, 2409, u"dCacDataPagamento = DATE '2025-06-20'"_s);
    set(900003, 2407, u"fCacImporto = 0, dCacDataPagamento = DATE '2025-03-20'"_s);
    TTestDatabase::Exec(u"INSERT INTO TCaa_CacAcconti (iCaaId, iCacId, fCaaImporto, dCaaData) SELECT 900011, iCacId, 35, "
                        "DATE '2025-03-01' FROM TCac_CcaAcbCau WHERE iAcbCauId = 900003 AND iCcaId = 2407"_s);
    set(900005, 2405, u"fCacImporto = 80, fCacImpDaDote = 40, dCacDataPagamento = DATE '2025-02-01'"_s);
}

void TstBillingReports::yearlyStatementOfOneParent()
{
    AddStatementFamily();
    const QString year = u"SELECT %1 FROM VPag_PagamentiFamiglie WHERE iAnaId_Gen = 900100 AND "
                         "dPagData BETWEEN DATE '2025-01-01' AND DATE '2025-12-31'"_s;
    QCOMPARE(TVtMoney::FromVariant(TTestDatabase::Scalar(year.arg(u"SUM(fPagImporto)"_s))).Format(), u"220,00"_s);
    QCOMPARE(TVtMoney::FromVariant(TTestDatabase::Scalar(year.arg(u"SUM(fPagDote)"_s))).Format(), u"40,00"_s);
    QCOMPARE(TTestDatabase::Scalar(year.arg(u"COUNT(*)"_s)).toInt(), 5);   // the trip settled at 0 has no row
    QCOMPARE(TTestDatabase::Scalar(year.arg(u"MIN(fPagImporto)"_s)).toDouble(), -35.0);

    m_choices.Ticks = {900100};
    bool hint = false;
    m_inspect = [&](QDialog *d) {
        auto *dlg = qobject_cast<TfmEbdRptSelAttestazione *>(d);
        QVERIFY(dlg);
        hint = dlg->laNota->text().contains(u"non conserva i paganti precedenti"_s);
        QCOMPARE(dlg->seAnno->value(), QDate::currentDate().year() - 1);
        dlg->seAnno->setValue(2025);
        QCOMPARE(dlg->CheckedCount(), dlg->RowCount());   // all ticked at first
        d->resize(1000, 640);
        QVERIFY(d->grab().save(QStringLiteral(VARDELLA_SCREENSHOT_DIR "/attestazione_pagamenti.png")));
    };
    QVERIFY(Print(44030));
    QVERIFY(hint);
    const QString text = AllText();
    QVERIFY2(text.contains(u"ATTESTAZIONE DEI PAGAMENTI EFFETTUATI NELL'ANNO 2025"_s), qPrintable(text));
    QVERIFY(text.contains(u"Alunno/a: Ferrandi Silvia"_s));
    QVERIFY(text.contains(u"Alunno/a: Marinello Giulia"_s));
    QVERIFY(text.contains(u"Rimborso\n-35,00"_s));
    QVERIFY2(text.contains(u"Acconto\n20,00"_s), qPrintable(text));
    QVERIFY(text.contains(u"31/12/2025"_s));
    QVERIFY(!text.contains(u"01/01/2026"_s));
    QVERIFY(text.contains(u"Totale versato nell'anno 2025\n220,00"_s));
    QVERIFY(text.contains(u"Il Dirigente scolastico\nGuarnaschelli Teodoro"_s));
    QVERIFY(text.contains(u"Pagina 1 di 1"_s));
    QVariant y;
    QVERIFY(m_report->GetValue(u"Anno attestazione"_s, y));
    QCOMPARE(y.toInt(), 2025);
}

void TstBillingReports::yearlyStatementFiles()
{
    AddStatementFamily();
    const int other = TTestDatabase::Scalar(u"SELECT FIRST 1 iAnaId_Gen FROM VPag_PagamentiFamiglie WHERE iAnaId_Gen <> 900100 "
                                            "AND dPagData BETWEEN DATE '2025-01-01' AND DATE '2025-12-31' ORDER BY iAnaId_Gen"_s)
                          .toInt();
    const QString folder = QDir(TTestDatabase::WorkDir()).filePath(u"attestazioni"_s);
    QDir(folder).removeRecursively();
    QVERIFY(QDir().mkpath(folder));
    (*m_messages)->Directories << folder;
    m_choices.Ticks = {900100, other};
    m_choices.Uscita = TfmEbdRptSelAttestazione::usPdfPerGenitore;
    QVERIFY(Engine()->PreviewReportFromVtDB(44030, 4));
    QVERIFY(!Engine()->frReport->Preview());
    const QStringList files = QDir(folder).entryList({u"*.pdf"_s}, QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 2);
    QVERIFY2(files.contains(u"Attestazione_2025_FERRANDI_PAOLO_FRRPLA70A01H501Z.pdf"_s), qPrintable(files.join(u' ')));
    for (const QString &f : files)
        QVERIFY(PdfTools::Text(QDir(folder).filePath(f)).contains(u"Pagina 1 di"_s));
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Create 2 attestazioni nella cartella %1."_s.arg(folder)});
    QCOMPARE((*m_messages)->OpenedDocuments, QStringList{folder});

    // One file for all.
    (*m_messages)->Clear();
    (*m_messages)->OpenedDocuments.clear();
    const QString file = QDir(TTestDatabase::WorkDir()).filePath(u"attestazioni.pdf"_s);
    QFile::remove(file);
    (*m_messages)->SaveNames << file;
    m_choices.Uscita = TfmEbdRptSelAttestazione::usPdfUnico;
    QVERIFY(Engine()->PreviewReportFromVtDB(44030, 4));
    QVERIFY(QFile::exists(file));
    const QString text = PdfTools::Text(file);
    QVERIFY(text.contains(u"FERRANDI"_s, Qt::CaseInsensitive));
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Creato il file %1."_s.arg(file)});
}

void TstBillingReports::yearlyStatementOfAYearWithoutPayments()
{
    TfmEbdRptSelAttestazione dlg;
    dlg.show();
    dlg.seAnno->setValue(2030);
    QCOMPARE(dlg.RowCount(), 0);
    dlg.OkClick();
    QVERIFY(dlg.isVisible());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Nessun pagamento registrato nell'anno 2030."_s});
    QCOMPARE((*m_messages)->Messages[0].Type, mtInformation);
    // A year with payments and nothing ticked.
    (*m_messages)->Clear();
    dlg.seAnno->setValue(2025);
    QVERIFY(dlg.RowCount() > 100);
    dlg.CheckAll(false);
    dlg.OkClick();
    QVERIFY(dlg.isVisible());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Selezionare almeno un elemento."_s});
}

QTEST_MAIN(TstBillingReports)
#include "tst_billingreports.moc"

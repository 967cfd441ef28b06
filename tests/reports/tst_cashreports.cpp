#include "EbdFMain.h"
#include "EbdURptForms.h"
#include "EbsFRptSelDate.h"
#include "PdfTools.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "VardellaModules.h"
#include "VtAttReport.h"
#include "VtDateEdit.h"
#include "VtExecModal.h"
#include "VtMoney.h"
#include "VtRptTreeView.h"
#include "dmVtAttivazioni.h"
#include "dmVtRptFR.h"
#include "frCSVExport.h"
#include "frPDFExport.h"
#include "frPreviewForm.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// The two cash-book reports on the demo school, as a new user prints them:
// the dates asked within the financial year, the movements previewed with
// their totals, the PDF and the CSV.
class TstCashReports : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void giornaleDiCassa();
    void datesOutsideTheYearAreRefused();
    void riconciliazionePostale();

private:
    // Prints a template with the date dialog answered: the dates typed, OK.
    bool Print(int id, const QDate &start, const QDate &end);
    TdmVtRptFR *Module() { return m_command->GetRptTreeView()->GetfrReport(); }
    static QString Sum(const QString &sql) { return TVtMoney::FromVariant(TTestDatabase::Scalar(sql)).Format(); }

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    std::unique_ptr<TdmVtAttivazioni> m_owner;
    TVtAttReport *m_command = nullptr;
    QStringList m_dialogs;
};

void TstCashReports::initTestCase()
{
    RegisterVardellaModules();
    RegisterReportForms();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstCashReports::init()
{
    (*m_messages)->Clear();
    m_dialogs.clear();
    QVERIFY(OpenBillingModule(*m_db));
    m_owner = std::make_unique<TdmVtAttivazioni>();
    m_command = new TVtAttReport(m_owner.get(), u"xarReport"_s);
    m_command->CodAppl = u"EBD"_s;
}

void TstCashReports::cleanup()
{
    VtModalRunner() = nullptr;
    m_owner.reset();
    CloseBillingModule();
}

void TstCashReports::cleanupTestCase()
{
    m_db.reset();
}

bool TstCashReports::Print(int id, const QDate &start, const QDate &end)
{
    VtModalRunner() = [this, start, end](QDialog *dialog) {
        auto *dates = qobject_cast<TfmEbsRptSelDate *>(dialog);
        if (!dates)
            return int(QDialog::Rejected);
        m_dialogs << dialog->windowTitle() + (dates->RestrictToAnf() ? u" (esercizio)"_s : QString());
        dates->deDal->SetDate(start);
        if (!dates->CheckDateExit(dates->deDal))
            return int(QDialog::Rejected);
        dates->deAl->SetDate(end);
        if (!dates->CheckDateExit(dates->deAl))
            return int(QDialog::Rejected);
        return int(QDialog::Accepted);
    };
    const bool printed = Module()->PreviewReportFromVtDB(id, 4);
    if (!printed && !(*m_messages)->Messages.isEmpty())
        qWarning("%s", qPrintable((*m_messages)->Texts().join(u" | "_s)));
    return printed;
}

void TstCashReports::giornaleDiCassa()
{
    SetWorkingContext(1, 2024, 2025, 3, 2024);   // the cash account
    TfmEbdMain::LoadUserPeriod();
    QVERIFY(Print(14010, QDate(2025, 1, 1), QDate(2025, 12, 31)));
    QCOMPARE(m_dialogs, QStringList{u"Selezione date (esercizio)"_s});
    const TfrPreparedReport &p = Module()->frReport->Prepared();
    QVERIFY(p.Overflows.isEmpty());
    const QString text = p.PageText(0);
    const int movements = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TMvm_MovimentiCcp WHERE iSprIstId = 3 AND "
                                                 "dMvmDataMov BETWEEN DATE '2025-01-01' AND DATE '2025-12-31'"_s).toInt();
    QVERIFY(movements > 3);
    const QString in = Sum(u"SELECT SUM(fMvmImporto) FROM TMvm_MovimentiCcp WHERE iSprIstId = 3 AND lMvmTipo = 0 AND "
                           "dMvmDataMov BETWEEN DATE '2025-01-01' AND DATE '2025-12-31'"_s);
    const QString out = Sum(u"SELECT SUM(fMvmImporto) FROM TMvm_MovimentiCcp WHERE iSprIstId = 3 AND lMvmTipo = 1 AND "
                            "dMvmDataMov BETWEEN DATE '2025-01-01' AND DATE '2025-12-31'"_s);
    const QString balance = Sum(u"SELECT SUM(IIF(lMvmTipo = 0, fMvmImporto, -fMvmImporto)) FROM TMvm_MovimentiCcp WHERE "
                                "iSprIstId = 3 AND dMvmDataMov BETWEEN DATE '2025-01-01' AND DATE '2025-12-31'"_s);
    const int last = p.PageCount - 1;
    const QString end = p.PageText(last);
    QVERIFY2(end.contains(u"Totali (%1 movimenti)"_s.arg(movements)), qPrintable(end));
    QVERIFY(end.contains(in));
    QVERIFY(end.contains(out));
    QVERIFY(end.contains(u"Differenza (entrate - uscite)\n"_s + balance));
    QVERIFY(text.contains(u"Dal 01/01/2025 al 31/12/2025"_s));
    QVERIFY(text.contains(u"Pagina 1 di %1"_s.arg(p.PageCount)));
    // PDF and CSV, as the preview's buttons write them.
    TfrPreviewForm *preview = Module()->frReport->Preview();
    QVERIFY(preview);
    QCOMPARE(preview->windowTitle(), u"Giornale di cassa"_s);
    const QString pdf = QDir(TTestDatabase::WorkDir()).filePath(u"giornale.pdf"_s);
    const QString csv = QDir(TTestDatabase::WorkDir()).filePath(u"giornale.csv"_s);
    (*m_messages)->SaveNames << pdf << csv;
    preview->acEsportaPdf->trigger();
    preview->acEsportaCsv->trigger();
    QVERIFY(PdfTools::Text(pdf).contains(in));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size() - 2, movements);   // the header, the rows, the empty piece after the last CRLF
    QCOMPARE(lines[0], QByteArray("\xEF\xBB\xBF" "DMVMDATAMOV;IMVMNUMERO;SMVMDESC;LMVMTIPO;FMVMIMPORTO\r"));
    preview->close();
}

// The dates are kept within the cash book's period of the working year.
void TstCashReports::datesOutsideTheYearAreRefused()
{
    SetWorkingContext(1, 2024, 2025, 3, 2024);
    TfmEbdMain::LoadUserPeriod();
    QVERIFY(!Print(14010, QDate(2024, 12, 31), QDate(2025, 12, 31)));
    QVERIFY(!Module()->frReport->Preview());
    QCOMPARE(Module()->frReport->Prepared().PageCount, 0);
}

void TstCashReports::riconciliazionePostale()
{
    SetWorkingContext(1, 2024, 2025, 1, 2024);   // the post-office account
    TfmEbdMain::LoadUserPeriod();
    TTestDatabase::Exec(u"UPDATE TMvm_MovimentiCcp SET dMvmDataEC = NULL WHERE iMvmId = 2"_s);
    TTestDatabase::Exec(u"UPDATE TMvm_MovimentiCcp SET dMvmDataEC = DATE '2026-01-10' WHERE iMvmId = 1"_s);
    QVERIFY(Print(14003, QDate(2025, 1, 1), QDate(2025, 12, 31)));
    const TfrPreparedReport &p = Module()->frReport->Prepared();
    QVERIFY(p.Overflows.isEmpty());
    QString all;
    for (int i = 0; i < p.PageCount; ++i)
        all += p.PageText(i) + u'\n';
    const int apart = all.indexOf(u"Movimenti non ancora in estratto conto"_s);
    QVERIFY(apart > 0);
    const QString after = all.mid(apart);
    QVERIFY(after.contains(u"Quote uscita didattica 4A"_s));
    QVERIFY(after.contains(u"Quote uscita didattica 4B"_s));
    QVERIFY2(after.contains(u"Totale non in estratto (2 movimenti)\n1.015,00"_s), qPrintable(after));
    QVERIFY(all.left(apart).contains(u"20/03/2025\n10/01/2026"_s));
}

QTEST_MAIN(TstCashReports)
#include "tst_cashreports.moc"

#include "frPreviewForm.h"
#include "VtExecModal.h"
#include "VtGuard.h"
#include "VtMessageDlg.h"
#include "frCSVExport.h"
#include "frPDFExport.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
QPrinter *NewPrinter(const TfrPreparedReport &report)
{
    auto *printer = new QPrinter(QPrinter::HighResolution);
    printer->setFullPage(true);
    printer->setPageLayout(QPageLayout(QPageSize(report.Paper), report.Orientation, QMarginsF(0, 0, 0, 0)));
    printer->setDocName(report.Title);
    return printer;
}
}

TfrPreviewForm::TfrPreviewForm(const TfrPreparedReport &report, QWidget *parent)
    : QWidget(parent, Qt::Window), m_report(report), m_printer(NewPrinter(report))
{
    setObjectName(QStringLiteral("frPreviewForm"));
    setWindowTitle(report.Title);
    resize(1000, 820);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tbMain = new QToolBar(this);
    tbMain->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(tbMain);
    pvMain = new QPrintPreviewWidget(m_printer.get(), this);
    layout->addWidget(pvMain, 1);
    connect(pvMain, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) { m_report.Print(printer); });

    auto add = [this](const QString &text, auto slot) {
        QAction *a = tbMain->addAction(text);
        a->setIconText(text);   // the buttons keep their "..."
        connect(a, &QAction::triggered, this, [slot] { VtGuard(slot); });
        return a;
    };
    acStampa = add(QStringLiteral("Stampa..."), [this] { Stampa(); });
    acEsportaPdf = add(QStringLiteral("Esporta PDF..."), [this] { ExportPdf(); });
    acEsportaCsv = add(QStringLiteral("Esporta CSV..."), [this] { ExportCsv(); });
    acEsportaCsv->setEnabled(!m_report.Tables.isEmpty());
    tbMain->addSeparator();
    acPrima = add(QStringLiteral("|<"), [this] { GoToPage(1); });
    acPrecedente = add(QStringLiteral("<"), [this] { GoToPage(CurrentPage() - 1); });
    laPagina = new QLabel(this);
    laPagina->setContentsMargins(8, 0, 8, 0);
    tbMain->addWidget(laPagina);
    acSuccessiva = add(QStringLiteral(">"), [this] { GoToPage(CurrentPage() + 1); });
    acUltima = add(QStringLiteral(">|"), [this] { GoToPage(m_report.PageCount); });
    acPrima->setToolTip(QStringLiteral("Prima pagina"));
    acPrecedente->setToolTip(QStringLiteral("Pagina precedente"));
    acSuccessiva->setToolTip(QStringLiteral("Pagina successiva"));
    acUltima->setToolTip(QStringLiteral("Ultima pagina"));
    tbMain->addSeparator();
    acAdattaLarghezza = add(QStringLiteral("Adatta alla larghezza"), [this] { pvMain->fitToWidth(); });
    acPaginaIntera = add(QStringLiteral("Pagina intera"), [this] { pvMain->fitInView(); });
    acIngrandisci = add(QStringLiteral("Ingrandisci"), [this] { pvMain->zoomIn(); });
    acRiduci = add(QStringLiteral("Riduci"), [this] { pvMain->zoomOut(); });
    tbMain->addSeparator();
    acChiudi = add(QStringLiteral("Chiudi"), [this] { close(); });
    connect(pvMain, &QPrintPreviewWidget::previewChanged, this, [this] { UpdatePage(); });
    pvMain->updatePreview();
    UpdatePage();
}

TfrPreviewForm::~TfrPreviewForm() = default;

int TfrPreviewForm::CurrentPage() const
{
    return pvMain->currentPage();
}

void TfrPreviewForm::GoToPage(int page)
{
    pvMain->setCurrentPage(qBound(1, page, qMax(1, m_report.PageCount)));
    UpdatePage();
}

void TfrPreviewForm::UpdatePage()
{
    laPagina->setText(QStringLiteral("Pagina %1 di %2").arg(qMax(1, CurrentPage())).arg(m_report.PageCount));
}

void TfrPreviewForm::Stampa()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(m_report.Title);
    QPrintDialog dialog(&printer, this);
    if (VtExecModal(&dialog) != QDialog::Accepted)
        return;
    m_report.Print(&printer);
}

bool TfrPreviewForm::ExportPdf()
{
    TfrPDFExport pdf;
    const QString file = VtMessageService().SaveFileName(QStringLiteral("Esporta PDF"), TfrPDFExport::SafeFileName(m_report.Title)
                                                             + QStringLiteral(".pdf"), pdf.FileFilter());
    if (file.isEmpty())
        return false;
    if (pdf.Export(m_report, file))
        return true;
    VtMessageDlg(pdf.ErrorText, mtError, mbOK);
    return false;
}

// The datasets of the print in band order, the deepest chosen.
bool TfrPreviewForm::ExportCsv()
{
    TfrCSVExport csv;
    csv.Table = TfrCSVExport::DeepestTable(m_report);
    if (m_report.Tables.size() > 1) {
        QDialog dialog(this);
        dialog.setWindowTitle(QStringLiteral("Esporta CSV"));
        auto *layout = new QVBoxLayout(&dialog);
        layout->addWidget(new QLabel(QStringLiteral("Dati da esportare:"), &dialog));
        auto *list = new QListWidget(&dialog);
        list->setObjectName(QStringLiteral("lbDataSets"));
        for (const TfrPreparedReport::TTable &t : m_report.Tables)
            list->addItem(t.DataSet);
        list->setCurrentRow(csv.Table);
        layout->addWidget(list);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
        connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        layout->addWidget(buttons);
        if (VtExecModal(&dialog) != QDialog::Accepted)
            return false;
        csv.Table = list->currentRow();
    }
    const QString name = m_report.Tables.value(csv.Table).DataSet;
    const QString file = VtMessageService().SaveFileName(QStringLiteral("Esporta CSV"),
                                                         TfrPDFExport::SafeFileName(name) + QStringLiteral(".csv"), csv.FileFilter());
    if (file.isEmpty())
        return false;
    if (csv.Export(m_report, file))
        return true;
    VtMessageDlg(csv.ErrorText, mtError, mbOK);
    return false;
}

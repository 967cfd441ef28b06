#pragma once
#include "frPreparedReport.h"

#include <QWidget>
#include <memory>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QToolBar;

// The preview of a prepared report: a window of its own over the pages, to
// print them, export them to PDF or a dataset of theirs to CSV, and page
// through them.
class TfrPreviewForm : public QWidget
{
    Q_OBJECT
public:
    explicit TfrPreviewForm(const TfrPreparedReport &report, QWidget *parent = nullptr);
    ~TfrPreviewForm() override;

    const TfrPreparedReport &Report() const { return m_report; }
    QToolBar *tbMain;
    QPrintPreviewWidget *pvMain;
    QAction *acStampa, *acEsportaPdf, *acEsportaCsv, *acPrima, *acPrecedente, *acSuccessiva, *acUltima;
    QAction *acAdattaLarghezza, *acPaginaIntera, *acIngrandisci, *acRiduci, *acChiudi;
    QLabel *laPagina;

    int CurrentPage() const;   // from 1
    void GoToPage(int page);
    // What the two export actions do, the file asked through the message service.
    bool ExportPdf();
    bool ExportCsv();

private:
    void UpdatePage();
    void Stampa();

    TfrPreparedReport m_report;
    std::unique_ptr<QPrinter> m_printer;
};

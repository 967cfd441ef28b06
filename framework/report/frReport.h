#pragma once
#include "frPreparedReport.h"
#include "frTemplate.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

class TfrDBDataSet;
class TfrExportFilter;
class TfrPreviewForm;

// A report: a template and, once prepared, its pages.
//
// Preparing shows, before the first page, the selection dialog of every
// dataset the template uses that has one (in band order; one not confirmed
// stops the print silently), then lays the bands out page by page. A
// handler may call Cancel(), which stops it silently too; any error stops it
// with one message. However it ends, the datasets it opened are closed and
// OnEndPrint is raised.
class TfrReport : public QObject
{
    Q_OBJECT
public:
    explicit TfrReport(QObject *parent = nullptr);
    ~TfrReport() override;

    // Reads the template (raises EVtException when it does not parse).
    void LoadFromText(const QString &xml);
    const TfrTemplate &Template() const { return m_template; }
    QString TemplateText() const { return m_text; }
    // The template's description: the preview's caption, the PDF's title.
    QString Description;
    int RptId = -1;

    bool PrepareReport();
    const TfrPreparedReport &Prepared() const { return m_prepared; }
    // Writes the prepared pages through the filter; false (told) when it fails.
    bool ExportTo(TfrExportFilter &filter, const QString &fileName);
    // The preview of the prepared pages (a window of its own); none when the
    // print went to files.
    TfrPreviewForm *ShowPreparedReport();
    QPointer<TfrPreviewForm> Preview() const { return m_preview; }

    // Stops the print in progress, silently.
    void Cancel() { m_cancelled = true; }
    bool Cancelled() const { return m_cancelled; }
    bool Printing() const { return m_printing; }

    // Sends the print to files instead of the preview; set by a handler that
    // runs before the pages are built.
    void RedirectToPdf(const QString &fileName);
    void RedirectToSplit(const QString &groupBand, const QString &folder, const QString &fileNameExpression);
    bool Redirected() const { return !m_pdfFile.isEmpty() || !m_splitBand.isEmpty(); }
    // The last print went to files: there is nothing to preview.
    bool WentToFiles() const { return m_wentToFiles; }
    QStringList FilesWritten() const { return m_files; }

    // Where the template's datasets and named handlers are found.
    std::function<TfrDBDataSet *(const QString &name)> FindDataSet;
    using THandler = std::function<void(TfrReport *report, TfrDBDataSet *dataSet)>;
    std::function<THandler(const QString &name)> FindHandler;

    // Events
    std::function<void(TfrReport *sender, const QString &name, QVariant &value, bool &handled)> OnGetValue;
    std::function<void(TfrReport *sender)> OnBeginPrint;
    std::function<void(TfrReport *sender, bool completed, const QStringList &files)> OnEndPrint;

    // The current row of a dataset in use, for the handlers; null when none.
    TfrDBDataSet *DataSetInUse(const QString &name) const;

    static QString ErrorCaption() { return QStringLiteral("Impossibile preparare la stampa:\r\n"); }

private:
    class TPrint;
    friend class TPrint;
    bool WriteRedirected();

    TfrTemplate m_template;
    QString m_text;
    TfrPreparedReport m_prepared;
    bool m_cancelled = false;
    bool m_printing = false;
    bool m_wentToFiles = false;
    QString m_pdfFile, m_splitBand, m_splitFolder, m_splitExpression;
    QStringList m_files;
    TPrint *m_print = nullptr;
    QPointer<TfrPreviewForm> m_preview;
};

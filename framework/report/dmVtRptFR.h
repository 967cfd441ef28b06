#pragma once
#include "frReport.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

class TfrDBDataSet;
class TVtQueryCollection;
class TfrExportFilter;
class TfrPDFExport;

// The report module of a report tree: loads a template of the database by
// id (a customised copy when the image index is 5), prepares it, previews or
// exports it. The datasets templates may read are found here: the ones the
// report modules publish by name, and the collections of the data modules
// whose name matches one of the patterns, as "module.collection".
class TdmVtRptFR : public QObject
{
    Q_OBJECT
public:
    explicit TdmVtRptFR(QObject *parent = nullptr);
    ~TdmVtRptFR() override;

    TfrReport *frReport;
    TfrPDFExport *frPDFExport;

    void SetRptImageIndex(int index) { m_imageIndex = index; }
    int RptImageIndex() const { return m_imageIndex; }
    // Reads the template: "Modello di stampa %1 non trovato." when there is none.
    void LoadReportFromVtDB(int id);
    // Loads, prepares and shows the preview; false when the print stopped
    // or the template could not be read (told).
    bool PreviewReportFromVtDB(int id, int imageIndex);
    bool ExportReportFromVtDB(int id, int imageIndex, TfrExportFilter &filter, const QString &fileName);
    // The template being prepared; -1 when none is.
    int CurrentRptId() const { return m_current; }
    // The description of the template loaded.
    QString Description() const { return frReport->Description; }

    void AddDataModulePattern(const QString &pattern);
    QStringList DataModulePatterns() const { return m_patterns; }
    // A dataset by the name a template uses; null when none has it.
    TfrDBDataSet *FindDataSet(const QString &name);
    // The names of the datasets templates may use (for the designer).
    QStringList DataSetNames();

    // Published datasets and handlers, for every report of the process.
    // Two with one name: "Nome di dataset ripetuto: %1".
    static void PublishDataSet(TfrDBDataSet *dataSet);
    static void WithdrawDataSet(TfrDBDataSet *dataSet);
    static void PublishHandler(const QString &name, const TfrReport::THandler &handler);
    static TfrReport::THandler Handler(const QString &name);
    // Data modules whose collections templates may reach through a pattern.
    static void RegisterDataModule(QObject *module);
    // The variables the program declares, for the designer's list.
    static QStringList &DeclaredVariables();

    // Routed to every print of this module (the billing reports module answers them).
    std::function<void(TfrReport *sender, const QString &name, QVariant &value, bool &handled)> OnGetValue;
    std::function<void(TfrReport *sender)> OnBeginPrint;
    std::function<void(TfrReport *sender, bool completed, const QStringList &files)> OnEndPrint;
    // Raised before the designer reads the datasets' field lists.
    std::function<void(TdmVtRptFR *sender)> OnDesignerFieldList;

    // The field list of a client dataset without reading its rows: opened once
    // with the marker "/* ONLYMETADATA */" of its text as " AND (0 = 1) ",
    // closed, its text and parameters as they were.
    static void OpenForFieldList(TVtQueryCollection *dataSet);
    static QString MetadataMarker() { return QStringLiteral("/* ONLYMETADATA */"); }

    // The text of a template: the copy's when imageIndex is 5.
    static QString TemplateText(int id, int imageIndex, QString *description);

private:
    bool Load(int id, int imageIndex);
    int m_imageIndex = 4;
    int m_current = -1;
    QStringList m_patterns;
    std::vector<std::unique_ptr<TfrDBDataSet>> m_moduleSets;
};

#pragma once
#include "mbaUReport.h"

#include <QString>
#include <functional>

class TVtAttReport;

// The contextual print of a category of templates of an application: the
// template that matches the context's parameters is previewed or exported.
class TStampeContestuali
{
public:
    TStampeContestuali(int iApplicationID, const QString &sCategoryName);

    TVtAttReport *AttivazioneReport = nullptr;
    int OutputMode = 1;              // 1 preview, 2 export to PDF
    bool Fallback = false;           // the first parameterless template when no parameterised one matches
    bool ShowParams = false;         // tell the template id and its parameters before printing
    QString ExportFileName;          // <installation>/usr/mba/ExportStampa (".pdf" added)
    QString HeaderLine;              // the creator line of the PDF
    std::function<void(TRptParams &filter)> OnFillFilterParams;
    std::function<void(TRptParams &params)> OnFillReportParams;
    std::function<void(TStampeContestuali *sender)> OnAfterPrint;

    TReportList &Reports() { return m_reports; }
    // The reports a filter lets through, in order.
    std::vector<TReport *> Filtered(const TRptParams &filter);
    void Execute();
    void Print(int iYRptID);

    // The print in progress, for the whole program.
    static bool PrintInProgress();
    static int CurrentRptId();
    static TRptParams &CurrentParams();

private:
    TReportList m_reports;
};

#include "mbaUStampeContestuali.h"
#include "VtAttReport.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtPaths.h"
#include "VtRptTreeView.h"
#include "VtSQLQuery.h"
#include "dmVtRptFR.h"
#include "frPDFExport.h"

#include <QDir>

namespace {
struct TPrintState
{
    bool InProgress = false;
    int Id = -1;
    TRptParams Params;
};

TPrintState &State()
{
    static TPrintState state;
    return state;
}

// The print is over however it ends.
struct TPrintScope
{
    explicit TPrintScope(int id)
    {
        State().InProgress = true;
        State().Id = id;
        State().Params.Clear();
    }
    ~TPrintScope()
    {
        State().InProgress = false;
        State().Id = -1;
    }
};
}

bool TStampeContestuali::PrintInProgress()
{
    return State().InProgress;
}

int TStampeContestuali::CurrentRptId()
{
    return State().Id;
}

TRptParams &TStampeContestuali::CurrentParams()
{
    return State().Params;
}

TStampeContestuali::TStampeContestuali(int iApplicationID, const QString &sCategoryName)
    : HeaderLine(TfrPDFExport::CreatorLine())
{
    const QString folder = VtPaths::DataPath({QStringLiteral("mba")});
    QDir().mkpath(folder);
    ExportFileName = QDir(folder).filePath(QStringLiteral("ExportStampa"));
    TSQLQuery q;
    q.SQL = QStringLiteral("SELECT scc.isccid, stmc.istmcid, stmc.iyrptid, yrpt.syrptdesc FROM tscc_stampecateg scc INNER JOIN "
                           "tstmc_stampecont stmc ON (stmc.isccid = scc.isccid) INNER JOIN tyrpt_rpttemplate yrpt ON "
                           "(yrpt.iyrptid = stmc.iyrptid) WHERE (scc.iyappid = :iApplicationID) AND (scc.ssccname = "
                           ":sCategoryName) ORDER BY yrpt.syrptdesc");
    q.Params().CreateParam(QMetaType::Int, QStringLiteral("iApplicationID"))->SetAsInteger(iApplicationID);
    q.Params().CreateParam(QMetaType::QString, QStringLiteral("sCategoryName"))->SetAsString(sCategoryName);
    for (q.Open(); !q.Eof(); q.Next())
        m_reports.Add(std::make_unique<TReport>(q.Fields(1).toInt(), q.Fields(2).toInt(), q.Fields(0).toInt(),
                                                q.Fields(3).toString()));
    q.Close();
}

std::vector<TReport *> TStampeContestuali::Filtered(const TRptParams &filter)
{
    std::vector<TReport *> out;
    for (int i = 0; i < m_reports.Count(); ++i) {
        TReport &r = m_reports.Items(i);
        bool keep = r.IsParameterless() || filter.Count() == 0;
        if (!keep) {
            keep = true;
            for (int f = 0; f < filter.Count() && keep; ++f) {
                const TRptParam *p = r.Params().FindByName(filter.Items(f).Name);
                keep = p && TRptParams::SameValue(p->Value, filter.Items(f).Value);
            }
        }
        if (keep)
            out.push_back(&r);
    }
    return out;
}

void TStampeContestuali::Execute()
{
    TRptParams filter;
    if (OnFillFilterParams)
        OnFillFilterParams(filter);
    const std::vector<TReport *> list = Filtered(filter);
    for (TReport *r : list)
        if (!r->IsParameterless()) {
            Print(r->iYRptID);
            return;
        }
    if (Fallback && !list.empty()) {
        Print(list.front()->iYRptID);
        return;
    }
    VtMessageDlg(QStringLiteral("Nessuna stampa associata"), mtWarning, mbOK);
}

void TStampeContestuali::Print(int iYRptID)
{
    if (!AttivazioneReport)
        throw EVtException(QStringLiteral("Proprieta \"AttivazioneReport\" non impostata. Impossibile avviare l'anteprima."));
    {
        TPrintScope scope(iYRptID);
        if (OnFillReportParams)
            OnFillReportParams(State().Params);
        if (ShowParams)
            VtMessageDlg(QStringLiteral("Report ID: ") + QString::number(iYRptID) + QStringLiteral("\n\r")
                             + State().Params.Text(),
                         mtInformation, mbOK);
        const int image = TVtRptTreeView::ImageIndexFor(iYRptID);
        TdmVtRptFR *module = AttivazioneReport->GetRptTreeView()->GetfrReport();
        if (OutputMode == 2) {
            module->SetRptImageIndex(image);
            module->LoadReportFromVtDB(iYRptID);
            if (module->frReport->PrepareReport()) {
                TfrPDFExport pdf;
                pdf.Creator = HeaderLine;
                module->frReport->ExportTo(pdf, ExportFileName + QStringLiteral(".pdf"));
            }
        } else {
            module->PreviewReportFromVtDB(iYRptID, image);
        }
    }
    if (OnAfterPrint)
        OnAfterPrint(this);
}

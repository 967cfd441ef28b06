#include "frCSVExport.h"
#include "frPreparedReport.h"
#include "VtCsv.h"

int TfrCSVExport::DeepestTable(const TfrPreparedReport &report)
{
    int best = -1;
    for (int i = 0; i < report.Tables.size(); ++i)
        if (best < 0 || report.Tables[i].Depth > report.Tables[best].Depth)
            best = i;
    return best;
}

QByteArray TfrCSVExport::Bytes(const TfrPreparedReport &report, int table)
{
    if (table < 0 || table >= report.Tables.size())
        return QByteArray("\xEF\xBB\xBF");
    const TfrPreparedReport::TTable &t = report.Tables[table];
    QList<TVtCsvColumn> columns;
    for (int i = 0; i < t.Headers.size(); ++i)
        columns << TVtCsvColumn{t.Headers[i], i < t.Types.size() ? t.Types[i] : QMetaType::QString, 2};
    return VtCsvDocument(columns, t.Rows);
}

bool TfrCSVExport::Export(const TfrPreparedReport &report, const QString &fileName)
{
    ErrorText.clear();
    QString reason;
    if (!VtSaveFileAtomically(fileName, Bytes(report, Table < 0 ? DeepestTable(report) : Table), &reason)) {
        ErrorText = WriteError(fileName, reason);
        return false;
    }
    return true;
}

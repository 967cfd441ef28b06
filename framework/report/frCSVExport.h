#pragma once
#include "frExportFilter.h"

#include <QByteArray>

// CSV of one dataset of the print, as an Italian spreadsheet reads it: UTF-8
// with a byte-order mark, ";" between fields, CRLF; the masters' columns
// first; amounts with two decimals and a decimal comma, dates dd/MM/yyyy,
// null an empty field; a field holding ";", a quote or a line break quoted.
class TfrCSVExport : public TfrExportFilter
{
public:
    QString Caption() const override { return QStringLiteral("CSV"); }
    QString FileFilter() const override { return QStringLiteral("File CSV (*.csv)"); }
    bool Export(const TfrPreparedReport &report, const QString &fileName) override;

    // The dataset exported: an index of the report's tables; -1 the deepest.
    int Table = -1;
    static int DeepestTable(const TfrPreparedReport &report);
    static QByteArray Bytes(const TfrPreparedReport &report, int table);
};

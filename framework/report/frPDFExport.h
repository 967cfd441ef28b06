#pragma once
#include "frExportFilter.h"

#include <QStringList>

// PDF: the pages as printed, fonts embedded and text that can be searched.
// The document's title is the report's, its creator the header line.
class TfrPDFExport : public TfrExportFilter
{
public:
    QString Caption() const override { return QStringLiteral("PDF"); }
    QString FileFilter() const override { return QStringLiteral("Documenti PDF (*.pdf)"); }
    bool Export(const TfrPreparedReport &report, const QString &fileName) override;
    // Pages [from, to] only.
    bool ExportPages(const TfrPreparedReport &report, const QString &fileName, int from, int to, const QString &title);

    // One file per group of the group header named, cut from the prepared
    // pages (no query per group): each file takes the group's pages, and is
    // named by the expression's value at the group's first row, reduced to
    // letters without accents, digits and "_-.", "_2", "_3" added on a clash.
    bool SplitByGroup(const TfrPreparedReport &report, const QString &groupBand, const QString &folder,
                      const QString &fileNameExpression, QStringList *written);

    static QString CreatorLine() { return QStringLiteral("Vardella – conti correnti e contributi delle famiglie"); }
    QString Creator = CreatorLine();

    // A name fit for a file: letters without accents, digits and "_-.".
    static QString SafeFileName(const QString &text);
};

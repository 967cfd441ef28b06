#pragma once
#include <QString>

class TfrPreparedReport;

// A way of writing a prepared report to a file.
class TfrExportFilter
{
public:
    virtual ~TfrExportFilter() = default;
    virtual QString Caption() const = 0;
    virtual QString FileFilter() const = 0;
    // Writes the file; false with ErrorText set when it cannot. A file that
    // cannot be written stays as it was.
    virtual bool Export(const TfrPreparedReport &report, const QString &fileName) = 0;
    QString ErrorText;

    // "Impossibile scrivere il file %1:\r\n%2"
    static QString WriteError(const QString &fileName, const QString &why);
};

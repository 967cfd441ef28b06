#include "frExportFilter.h"

QString TfrExportFilter::WriteError(const QString &fileName, const QString &why)
{
    return QStringLiteral("Impossibile scrivere il file %1:\r\n%2").arg(fileName, why);
}

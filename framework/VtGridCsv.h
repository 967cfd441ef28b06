#pragma once
#include "VtGridModel.h"

#include <QByteArray>
#include <QList>
#include <QString>

class TVtDBGrid;

// The rows of a grid as the grid shows them (its columns and titles, its
// order) in a CSV file for a spreadsheet, with more fields of the rows
// after the grid's; amounts with the decimals of their field's display format.
QByteArray VtGridCsv(const TVtDBGrid &grid, int *rows = nullptr, const QList<TVtGridColumn> &more = {});

// Asks for the file through the message service, proposing the name, and
// writes it: "Esportate %1 righe nel file %2" when done, "Impossibile
// esportare il file %1:\r\n%2" when not; false when cancelled or failed.
bool VtExportGridCsv(const TVtDBGrid &grid, const QString &proposedName, const QList<TVtGridColumn> &more = {});

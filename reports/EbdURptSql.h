#pragma once
#include <QString>

// Pieces of statement text shared by the report modules.

// A person's dwelling as a sub-select giving one column named alias: the
// first dwelling by its number, or, with preferredLoc 1 or 2, the first of
// that location kind (1 domicile, 2 residence) before any other. expr reads
// the aliases Abt (TAbt_Abitaz), Cap (VComCap) and Sta (TSta_Stati), for
// example DwellingAddress(). person is the column of the person's id.
QString FirstDwellingColumn(const QString &expr, const QString &person, const QString &alias, int preferredLoc = 0);

// The street with the house number, as Abt gives it.
QString DwellingAddress();

// A statement of one person's dwelling of a location kind (:iAnaId):
// sIndirizzo, sCapValue, sComDesc, sProSigla, sStaDesc.
QString DwellingOfKindSQL(int locId);

// The list of ids for "IN (%1)": the ids separated by ", ", or NULL for an
// empty list, so that the condition matches nothing rather than failing.
QString InList(const QStringList &ids);

#pragma once
#include <QString>

// The pupils enrolled in a school year, as the pupils' payment forms list
// them and the pupils dialog offers them: category 1, first enrolment
// (iSitOrdine = 1) whose dates are the school year's, in a class of the data
// owner whose id is LIKE the text :iClsId ("%" for every class). Columns:
// iAnaId, sAnaCognome, sAnaNome, sAnaCagCode (pupil code), sClsSDesc,
// iClsId, dAnaNascita, sLuogoNascita (birth town, or the foreign state),
// sProSiglaNascita, sAnaSesso. Parameters: iAnsId, iDwgId (integers) and
// iClsId (text).
//
// The text carries two markers: "**MY_FILTER**", a condition that must be
// replaced ("1=1", or "iPosAttId=1" for the pupils still attending), and
// "/*AND VTRPTFILTER*/" before its ORDER BY, where a filter condition on
// the columns sAnaCognome, sAnaNome, sClsSDesc and sAnaCagCode goes.
QString EbsAlunniIscrittiSQL();

// The text above with "**MY_FILTER**" replaced by myFilter and the filter
// markers by the condition (left as comments when it is empty).
QString EbsAlunniIscrittiSQL(const QString &myFilter, const QString &condition);

// The marker of the pupils' condition.
inline constexpr const char *EbsMyFilterMarker = "**MY_FILTER**";

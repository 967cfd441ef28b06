// The text of an SDD message: amounts as the bank wants them and free text
// reduced to the characters the SEPA schemes let through.
#pragma once

#include <QString>
#include <QtGlobal>

// Whole cents as euros in the shortest decimal form: a point, no thousands
// separator, no exponent, no trailing zeros (1250 -> "12.5", 15000 -> "150",
// 5 -> "0.05", 0 -> "0"); negative amounts get a leading "-".
QString SddAmountText(qint64 cents);

// Free text in the SEPA character set: a-z, A-Z, 0-9, / - ? : ( ) . , ' +
// and the blank. Accented letters lose their accents, typographic
// apostrophes become ', the euro sign becomes "EUR", any other character a
// blank; runs of blanks become one and the text is trimmed. With maxLength
// >= 0 the result is cut to that many characters (and trimmed again).
QString SepaText(const QString &text, int maxLength = -1);

// True when every character of text is in the SEPA character set.
bool IsSepaText(const QString &text);

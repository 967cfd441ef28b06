#pragma once
#include <QString>

// Whole cents as euros in the shortest decimal form with a point.
QString SddAmountText(qint64 cents);
// The text within the SEPA character set, cut to maxLength.
QString SepaText(const QString &text, int maxLength = -1);
bool IsSepaText(const QString &text);

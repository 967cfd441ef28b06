#pragma once
// The amount rule of an instalment, over values.
//
// With I the component's institute amount, P the instalment's discount
// percentage, S its fixed discount, D its grant part and A the sum of its
// advances, the amount to pay is I - I x P / 100 - S - D - A; the recomputing
// statements apply it only where I covers the deductions
// (I >= I x P / 100 + S + D + A). Here every amount is four-decimal fixed
// point, so that comparisons and zero tests carry no floating noise.
#include "VtDBControl.h"
#include "VtMoney.h"

#include <QVariant>

struct TEbdCacParts
{
    TVtMoney Importo;        // I, the component's institute amount
    double PercSconto = 0;   // P, a percentage (10 for 10%)
    TVtMoney ImpSconto;      // S
    TVtMoney ImpDaDote;      // D
    TVtMoney Acconti;        // A
};

// I x P / 100, rounded to four decimals.
TVtMoney EbdCacPercentDiscount(const TEbdCacParts &parts);
// I x P / 100 + S + D + A.
TVtMoney EbdCacDeductions(const TEbdCacParts &parts);
// I - I x P / 100 - S - D - A.
TVtMoney EbdCacAmountToPay(const TEbdCacParts &parts);
// I >= I x P / 100 + S + D + A.
bool EbdCacDeductionsCovered(const TEbdCacParts &parts);
// A stored amount as four-decimal fixed point; null (or not a number) is 0.
TVtMoney EbdCacMoney(const QVariant &value);

// The text of a discount percentage outside 0-100.
inline constexpr const char *EbdPercentualeFuoriIntervallo = "La percentuale di sconto deve essere compresa tra 0 e 100.";
// A discount percentage lies within 0-100 (empty counts as 0).
bool EbdCacIsPercent(const QVariant &value);
// The validation of a discount percentage field.
TVtDBControl::TValidate EbdCacPercentValidation();

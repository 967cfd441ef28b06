#include "EbdUCac.h"

TVtMoney EbdCacPercentDiscount(const TEbdCacParts &parts)
{
    return parts.Importo.Percent(parts.PercSconto);
}

TVtMoney EbdCacDeductions(const TEbdCacParts &parts)
{
    return EbdCacPercentDiscount(parts) + parts.ImpSconto + parts.ImpDaDote + parts.Acconti;
}

TVtMoney EbdCacAmountToPay(const TEbdCacParts &parts)
{
    return parts.Importo - EbdCacDeductions(parts);
}

bool EbdCacDeductionsCovered(const TEbdCacParts &parts)
{
    return parts.Importo >= EbdCacDeductions(parts);
}

TVtMoney EbdCacMoney(const QVariant &value)
{
    bool ok = false;
    const double d = value.isNull() ? 0.0 : value.toDouble(&ok);
    return ok ? TVtMoney(d) : TVtMoney();
}

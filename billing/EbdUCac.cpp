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

bool EbdCacIsPercent(const QVariant &value)
{
    const double p = value.isNull() ? 0.0 : value.toDouble();
    return p >= 0 && p <= 100;
}

TVtDBControl::TValidate EbdCacPercentValidation()
{
    return [](const QVariant &value, QString &msg) {
        if (EbdCacIsPercent(value))
            return true;
        msg = QString::fromUtf8(EbdPercentualeFuoriIntervallo);
        return false;
    };
}

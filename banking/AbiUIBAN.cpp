#include "AbiUIBAN.h"
#include "AbiCBankClass.h"

#include <memory>

namespace {
// Lives from start-up to shut-down; used from the interface thread only.
struct TValidator
{
    TValidator()
    {
        iban = std::make_unique<TIBAN>();
        auto *bban = new TItalianBBAN(iban.get());
        bban->Normalize = true;
        iban->DomesticBBAN = bban;
    }
    std::unique_ptr<TIBAN> iban;
};

TValidator &Validator()
{
    static TValidator v;
    return v;
}
}

TIBAN *IBANValidator()
{
    return Validator().iban.get();
}

bool CheckIBAN(const QString &text)
{
    TIBAN *iban = IBANValidator();
    iban->Validate(text);
    return iban->Valid;
}

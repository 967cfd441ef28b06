// libFuzzer target: CheckIBAN and the BBAN getters must answer any input
// without crashing, and what CheckIBAN accepts must recompose to itself.
#include "AbiCBankClass.h"
#include "AbiUIBAN.h"
#include "VtException.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    if (CheckIBAN(text)) {
        const QString s = text.trimmed();
        TIBAN iban;
        auto *bban = new TItalianBBAN(&iban);
        bban->Normalize = true;
        bban->Bank = s.mid(5, 5);
        bban->Branch = s.mid(10, 5);
        bban->Account = s.right(12);
        iban.DomesticBBAN = bban;
        if (s.size() != 27 || iban.GetIBan() != s)
            std::abort();
    }

    // The same bytes cut into bank, branch and account, with and without normalising.
    const int a = size > 0 ? data[0] % 8 : 0;
    const int b = size > 1 ? data[1] % 8 : 0;
    const QString rest = text.mid(2);
    for (bool normalize : {false, true}) {
        TIBAN iban;
        auto *bban = new TItalianBBAN(&iban);
        bban->Normalize = normalize;
        bban->Bank = rest.left(a);
        bban->Branch = rest.mid(a, b);
        bban->Account = rest.mid(a + b);
        iban.DomesticBBAN = bban;
        try {
            const QString composed = iban.GetIBan();
            if (normalize && composed.size() != 27)
                std::abort();
            // A composed IBAN always validates.
            iban.Validate(composed);
            if (normalize && !iban.Valid)
                std::abort();
        } catch (const EVtException &) {
            // too long a part, or characters that cannot be turned into digits
        }
    }
    return 0;
}

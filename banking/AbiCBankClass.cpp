#include "AbiCBankClass.h"
#include "VtException.h"

#include <cassert>

namespace {
// Odd-position values of the CIN, for 0..9 / A..Z (the digit and the letter
// in the same column share a value); the even value of a digit is the digit,
// of a letter its position in the alphabet.
const int kOddValues[26] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

int Column(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'Z')
        return u - 'A';
    return -1;
}
}

// ---------------------------------------------------------------- TCustomBBAN

TCustomBBAN::TCustomBBAN(QObject *owner) : QObject(owner) {}

QString TCustomBBAN::PadField(QString &field, quint16 length, const QString &tooLongMessage)
{
    if (!Normalize)
        return field;
    if (field.size() > length)
        throw EVtException(tooLongMessage);
    field = field.rightJustified(length, QLatin1Char('0'));
    return field;
}

QString TCustomBBAN::GetBank()
{
    return PadField(Bank, BankLength, QStringLiteral("Codice ABI non può superare i %1 caratteri.").arg(BankLength));
}

QString TCustomBBAN::GetBranch()
{
    return PadField(Branch, BranchLength, QStringLiteral("Codice CAB non può superare i %1 caratteri.").arg(BranchLength));
}

QString TCustomBBAN::GetAccount()
{
    if (!Normalize)
        return Account;
    PadField(Account, AccountLength,
             QStringLiteral("Conto Corrente non può essere di ") + QString::number(AccountLength) + QStringLiteral(" caratteri."));
    Account = Account.toUpper();
    return Account;
}

// ---------------------------------------------------------------- TItalianBBAN

TItalianBBAN::TItalianBBAN(QObject *owner) : TCustomBBAN(owner)
{
    CountryCode = QStringLiteral("IT");
    BankLength = 5;
    BranchLength = 5;
    AccountLength = 12;
}

QChar TItalianBBAN::ComputeCin(const QString &text)
{
    int sum = 0;
    for (int i = 0; i < text.size(); ++i) {
        const int col = Column(text[i]);
        if (col < 0)
            continue;
        // Position i + 1 is odd when i is even.
        sum += (i % 2 == 0) ? kOddValues[col] : col;
    }
    return QChar(u'A' + sum % 26);
}

QString TItalianBBAN::GetCheckDgt()
{
    const QString bank = GetBank();
    const QString branch = GetBranch();
    const QString account = GetAccount();
    CheckDgt = ComputeCin(bank + branch + account);
    return CheckDgt;
}

QString TItalianBBAN::GetBBan()
{
    const QString cin = GetCheckDgt();
    const QString bank = GetBank();
    const QString branch = GetBranch();
    const QString account = GetAccount();
    BBan = cin + bank + branch + account;
    return BBan;
}

// ---------------------------------------------------------------- TIBAN

TIBAN::TIBAN(QObject *owner) : QObject(owner) {}

int TIBAN::Mod97(const QString &text)
{
    QByteArray digits;
    digits.reserve(text.size() * 2);
    for (QChar c : text) {
        const ushort u = c.unicode();
        if (u >= '0' && u <= '9')
            digits += char(u);
        else if (u >= 'A' && u <= 'Z')
            digits += QByteArray::number(u - 'A' + 10);
        else
            return -1;
    }
    // At most nine digits at a time joined to the running remainder (two
    // digits): never above 11 digits, well inside 64 bits.
    qint64 remainder = 0;
    int pos = 0;
    while (pos < digits.size()) {
        const int take = qMin(9, int(digits.size()) - pos);
        qint64 chunk = 0;
        qint64 scale = 1;
        for (int i = 0; i < take; ++i) {
            chunk = chunk * 10 + (digits[pos + i] - '0');
            scale *= 10;
        }
        remainder = (remainder * scale + chunk) % 97;
        pos += take;
    }
    return int(remainder);
}

QString TIBAN::ComputeCheckDigits(const QString &bban, const QString &countryCode)
{
    const int n = Mod97(bban + countryCode + QStringLiteral("00"));
    if (n < 0)
        return QString();
    return QString::number(98 - n).rightJustified(2, QLatin1Char('0'));
}

QString TIBAN::GetIBan()
{
    assert(DomesticBBAN && "TIBAN senza DomesticBBAN");
    const QString bban = DomesticBBAN->GetBBan();
    CheckDigits = ComputeCheckDigits(bban, DomesticBBAN->CountryCode);
    if (CheckDigits.isEmpty())
        throw EVtException(QStringLiteral("Coordinate bancarie con caratteri non validi."));
    IBan = DomesticBBAN->CountryCode + CheckDigits + bban;
    return IBan;
}

void TIBAN::Validate(const QString &text)
{
    assert(DomesticBBAN && "TIBAN senza DomesticBBAN");
    const QString s = text.trimmed();
    TCustomBBAN &b = *DomesticBBAN;
    Valid = false;
    if (s.size() != 5 + b.BankLength + b.BranchLength + b.AccountLength)
        return;
    b.Bank = s.mid(5, b.BankLength);
    b.Branch = s.mid(5 + b.BankLength, b.BranchLength);
    b.Account = s.right(b.AccountLength);
    try {
        Valid = GetIBan() == s;
    } catch (const EVtException &) {
        Valid = false;
    }
}

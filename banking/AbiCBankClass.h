#pragma once
// Italian bank coordinates: the domestic BBAN (CIN, ABI, CAB, account) with
// its check character, and the IBAN built on it with its ISO 13616 check
// digits.
#include <QObject>
#include <QString>

// A domestic account identifier. Owned like any component: an owner frees it.
class TCustomBBAN : public QObject
{
    Q_OBJECT
public:
    explicit TCustomBBAN(QObject *owner = nullptr);

    QString Bank;
    QString Branch;
    QString Account;
    QString CheckDgt;       // last computed check character
    QString BBan;           // last composed BBAN
    bool Normalize = false; // the getters pad and normalise the parts
    quint16 BankLength = 0;
    quint16 BranchLength = 0;
    quint16 AccountLength = 0;
    QString CountryCode;

    virtual QString GetCheckDgt() = 0;
    virtual QString GetBBan() = 0;
    // With Normalize: left-padded with "0" to their length and stored back.
    // A value longer than its length raises EVtException.
    virtual QString GetBank();
    virtual QString GetBranch();
    // With Normalize: padded to AccountLength, upper case, stored back.
    virtual QString GetAccount();

protected:
    QString PadField(QString &field, quint16 length, const QString &tooLongMessage);
};

// The Italian BBAN: 1 + 5 + 5 + 12 characters.
class TItalianBBAN : public TCustomBBAN
{
    Q_OBJECT
public:
    explicit TItalianBBAN(QObject *owner = nullptr);
    QString GetCheckDgt() override;
    QString GetBBan() override;

    // The CIN of ABI + CAB + account (22 characters).
    static QChar ComputeCin(const QString &text);
};

class TIBAN : public QObject
{
    Q_OBJECT
public:
    explicit TIBAN(QObject *owner = nullptr);

    TCustomBBAN *DomesticBBAN = nullptr;
    QString IBan;           // last composed IBAN
    bool Valid = false;     // result of the last Validate
    QString CheckDigits;    // last computed check digits

    QString GetIBan();
    void Validate(const QString &text);

    // Two check digits of a BBAN in a country ("00" .. "98"); empty when the
    // BBAN holds a character that is neither a digit nor an upper-case letter.
    static QString ComputeCheckDigits(const QString &bban, const QString &countryCode);
    // Remainder mod 97 of the digit string made from text (A = 10 ... Z = 35),
    // reduced piecewise; -1 when a character cannot be turned into digits.
    static int Mod97(const QString &text);
};

#pragma once
#include "frVtDBRWGrid.h"

class QAction;
class QGroupBox;
class TVtDBDateEdit;
class TVtDBEdit;
class TVtDBLookupEdit;
class TVtField;

// The institute accounts of the data owner: bank and branch, account number
// with its CIN and IBAN check digits, holder, opening and closing dates.
// Closing an account (its closing date set and confirmed) locks its
// movements; clearing the date reopens it. A closed account can only be
// reopened: every other field is read-only. The cash pseudo-bank 3 has a
// fixed branch, an all-zero number and no IBAN.
class TfrEbcSprIst : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrEbcSprIst(QWidget *parent = nullptr);

    TVtDBLookupEdit *xdlBanAbi;
    TVtDBEdit *xdeBanDesc;
    TVtDBLookupEdit *xdlSprCab;
    TVtDBEdit *xdeSprDesc;
    TVtDBEdit *xdeSprInd;
    TVtDBEdit *xdeNumCc;
    TVtDBEdit *xdeCin;
    QGroupBox *gbIBAN;
    TVtDBEdit *xdeStato;
    TVtDBEdit *xdeCinInt;
    TVtDBDateEdit *xddInizio;
    TVtDBDateEdit *xddFine;
    TVtDBEdit *xdeSprIntest;
    // "&Mostra conti chiusi": lists the closed accounts too while checked.
    QAction *acShowClosed;

    // The cash pseudo-bank, its fixed branch and the post-office category.
    static constexpr int CashBankId = 3;
    static constexpr int CashBranchId = 40299;
    static constexpr int PostOfficeCategory = 7;

    // The closing date was set or cleared in the current edit.
    bool ClosingChanged() const;
    // The current row is the working account of the context.
    bool IsWorkingAccount() const;
    bool IBANShown() const { return m_ibanShown; }
    // Maximum length of the account number for the row's bank.
    int NumberLength() const;
    // The account number left-padded with zeros to the given length.
    static QString PaddedNumber(const QString &number, int length);

    // Delete stays on offer (no statement behind it): the connection
    // module's hook explains why an account is not deleted.
    void UpdateActions() override;

private:
    void xdsMainDataChange(TVtField *field);
    void xdsMainStateChange();
    void xdlBanAbiChangeFKValue(const QVariant &key);
    void xdeNumCcChange();
    bool xddInizioValidate(const QVariant &value, QString &message);
    bool xddFineValidate(const QVariant &value, QString &message);
    void acShowClosedExecute(bool on);
    void grMainRowColors(int row, QColor &text, QColor &background) const;

    void ShowRowKind();
    void ReloadBranchList();
    void SetIBANShown(bool on);
    void SetAccountReadOnly(bool on);
    bool CancelClosing();
    int RowId() const;

    bool m_ibanShown = true;
    bool m_inDataChange = false;
};

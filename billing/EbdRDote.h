#pragma once
#include "VtMoney.h"
#include "frVtDBRWGrid.h"

class TVtDBDateEdit;
class TVtDBNumEdit;

// The school grants of the current holder in the reasons' school year: the
// amount granted, the dates between which it pays instalments, and what is
// left of it to spread. The residue follows the amount as it is typed and
// may never go below zero.
class TfrEbdDote : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrEbdDote(QWidget *parent = nullptr);

    TVtDBNumEdit *xneImporto;
    TVtDBDateEdit *xddData;
    TVtDBDateEdit *xddScadenza;
    TVtDBNumEdit *xneResiduo;

private:
    // The residue an amount leaves: the amount itself for a new grant, the
    // stored residue moved by the change of amount otherwise.
    TVtMoney ResidueFor(const QVariant &amount) const;
    bool ValidateAmount(const QVariant &amount, QString &msg);
    void RestoreAmount();
};

#pragma once
#include "fmVtChildDB.h"

class TfrVtDBRWGrid;
class TVtDBEdit;
class TVtQueryCollection;

// "Altri beneficiari": people and firms paid or collected from that are
// neither pupils, parents nor staff, kept in the registry under category 4:
// list, insert, edit, delete. A new beneficiary is a registry person with
// its category row, written together; deleting one removes its category and,
// when the person belongs to no other category, the person.
class TfmBeneficiari : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmBeneficiari(QWidget *parent = nullptr);

    // Registry category of the other beneficiaries.
    static constexpr int CategoryId = 4;

    TVtQueryCollection *xqcBeneficiari;
    TfrVtDBRWGrid *frBeneficiari;
    TVtDBEdit *xdeCognome;
    TVtDBEdit *xdeNome;
    TVtDBEdit *xdeCodFiscale;
    TVtDBEdit *xdeTelefono;
    TVtDBEdit *xdeEMail;
};

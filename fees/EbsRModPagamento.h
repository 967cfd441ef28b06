#pragma once
#include "EbsRFeeGrid.h"

class TVtDBCheckBox;
class TVtDBEdit;

// The payment modes: code, description and whether the mode serves
// collections, payments or both. Modes are never deleted.
class TfrEbsModPagamento : public TfrEbsFeeGrid
{
    Q_OBJECT
public:
    explicit TfrEbsModPagamento(QWidget *parent = nullptr);

    TVtDBEdit *xdeCodice;
    TVtDBEdit *xdeDescrizione;
    TVtDBCheckBox *ckRiscossione;
    TVtDBCheckBox *ckPagamento;
};

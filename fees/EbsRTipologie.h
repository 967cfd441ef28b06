#pragma once
#include "EbsRFeeGrid.h"

class TVtDBEdit;
class TVtDBLookupEdit;

// The component typologies: a tree of two levels, the top-level types
// (their own parent) and their subtypes. A top-level type keeps itself as
// parent; every other typology hangs from one of the first types.
class TfrEbsTipologie : public TfrEbsFeeGrid
{
    Q_OBJECT
public:
    explicit TfrEbsTipologie(QWidget *parent = nullptr);

    TVtDBEdit *xdeCodice;
    TVtDBEdit *xdeDescrizione;
    TVtDBLookupEdit *xdlTipologiaMadre;

    // The current row is a top-level type.
    bool IsTopLevel() const;

private:
    void xdsMainDataChange(TVtField *field);
};

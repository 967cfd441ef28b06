#pragma once
#include "frVtDBRWGrid.h"

class TVtDBDateEdit;
class TVtDBNumEdit;

// The advances paid on the current instalment, each lowering what is left
// to pay. The advances of a paid instalment are read locked, and a paid
// instalment takes no new one.
class TfrEbdAcconti : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrEbdAcconti(QWidget *parent = nullptr);

    TVtDBNumEdit *xneImporto;
    TVtDBDateEdit *xddData;

    void UpdateActions() override;
};

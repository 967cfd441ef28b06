#pragma once
#include "frVtDBRWGrid.h"

class TVtDBLookupEdit;
class TVtDBMemo;
class TVtDBNumEdit;

// The fee reasons assigned to the current holder: assigning one bills each
// of its components as an instalment, with the assignment's discount.
class TfrEbdAcbCau : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrEbdAcbCau(QWidget *parent = nullptr);

    TVtDBLookupEdit *xdlCausale;
    TVtDBMemo *xdmNote;
    TVtDBNumEdit *xneSconto;

    // The reasons of the reasons' school year on offer (after a change of it).
    void ReloadReasons();
};

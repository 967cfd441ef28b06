#pragma once
#include "frVtDBROGrid.h"

class TVtQueryCollection;

// Dwellings of the person chosen in the registry window, read only (they are
// kept by the registry's own program).
class TfrAnaAbt : public TfrVtDBROGrid
{
    Q_OBJECT
public:
    explicit TfrAnaAbt(QWidget *parent = nullptr);

    TVtQueryCollection *xqcMain;
};

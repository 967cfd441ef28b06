#pragma once
#include "frVtDBRWGrid.h"

class TVtDBEdit;
class TVtQueryCollection;

// Phone numbers of the person chosen in the registry window: list, insert, edit, delete.
class TfrAnaTel : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrAnaTel(QWidget *parent = nullptr);

    TVtQueryCollection *xqcMain;
    TVtDBEdit *xdeNumero;
    TVtDBEdit *xdeDesc;
};

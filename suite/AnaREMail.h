#pragma once
#include "frVtDBRWGrid.h"

class TVtDBEdit;
class TVtQueryCollection;

// E-mail addresses of the person chosen in the registry window: list, insert, edit, delete.
class TfrAnaEMail : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrAnaEMail(QWidget *parent = nullptr);

    TVtQueryCollection *xqcMain;
    TVtDBEdit *xdeIndirizzo;
    TVtDBEdit *xdeDesc;
};

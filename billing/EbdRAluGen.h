#pragma once
#include "frVtDBRWGrid.h"

class TVtDBEdit;
class TVtDBLookupEdit;
class TVtDBNumEdit;

// The holder records of the working school year: for each pupil, who pays
// (a parent), on which IBAN, under which name, with which payment mode and
// default discount.
class TfrEbdAluGen : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrEbdAluGen(QWidget *parent = nullptr);

    TVtDBLookupEdit *xdlAlunno;
    TVtDBLookupEdit *xdlGenitori;
    TVtDBEdit *xdeIBAN;
    TVtDBLookupEdit *xdlTipoPagamento;
    TVtDBEdit *xdeIntestatario;
    TVtDBEdit *xdeClasse;
    TVtDBNumEdit *xneSconto;

private:
    void xdlAlunnoChangeFKValue(const QVariant &key);
    void xdlGenitoriChangeFKValue(const QVariant &key);
    void ReloadParents(const QVariant &pupil);
};

#pragma once
#include "fmVtChildDB.h"

class TfrVtDBRWGrid;
class TVtDBDateEdit;
class TVtDBEdit;
class TVtQueryCollection;

// "Firme": who signs the documents (Dirigente scolastico, DSGA...), in
// which role and period, over TKbs_Firme: list, insert, edit, delete.
class TfmKbsFirme : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmKbsFirme(QWidget *parent = nullptr);

    TVtQueryCollection *xqcFirme;
    TfrVtDBRWGrid *frFirme;
    TVtDBEdit *xdeRuolo;
    TVtDBEdit *xdeCognomeNome;
    TVtDBDateEdit *xddStart;
    TVtDBDateEdit *xddEnd;
};

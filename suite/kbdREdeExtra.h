#pragma once
#include "frVtDBRWGrid.h"

class TVtDBComboBox;
class TVtDBDateEdit;
class TVtDBEdit;
class TVtQueryCollection;

// Occupational states of the adult-education learner chosen in the registry
// window, each with its period and a note: list, insert, edit, delete. Only
// one state may be open (without an end date) at a time.
class TfrkbdEdeExtra : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrkbdEdeExtra(QWidget *parent = nullptr);

    TVtQueryCollection *xqcMain;
    TVtDBComboBox *cbStato;
    TVtDBEdit *xdeNote;
    TVtDBDateEdit *xddStart;
    TVtDBDateEdit *xddEnd;
};

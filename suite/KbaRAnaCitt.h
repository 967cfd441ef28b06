#pragma once
#include "frVtDBRWGrid.h"

class TVtDBComboBox;
class TVtDBDateEdit;
class TVtQueryCollection;

// Citizenships of the person chosen in the registry window, each a state
// with its period: list, insert, edit, delete.
class TfrKbaAnaCitt : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrKbaAnaCitt(QWidget *parent = nullptr);

    TVtQueryCollection *xqcMain;
    TVtDBComboBox *cbStato;
    TVtDBDateEdit *xddStart;
    TVtDBDateEdit *xddEnd;
};

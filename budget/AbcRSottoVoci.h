#pragma once
#include "AbcRBudgetGrid.h"

class TVtDBEdit;

// The sub-items of the current budget item: a code of three digits, a
// description, the accounts (free only when the item has both).
class TfrSottoVoci : public TfrAbcBudgetGrid
{
    Q_OBJECT
public:
    explicit TfrSottoVoci(QWidget *parent = nullptr);

    TVtDBEdit *xdeCodice;
    TVtDBEdit *xdeDescrizione;

    bool PostSubItem();

protected:
    void DoInsert() override;
    void DoTrash() override;
    void DoPost() override;
    void DoCancel() override;

private:
    void RowShown();
    bool ItemHasBoth() const;
    void SetBoxes(bool competenza, bool residui);
};

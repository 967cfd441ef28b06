#pragma once
#include "frVtDBRWGrid.h"

#include <functional>

class QAction;

// "Composizione saldo": for the cash row shown above, each top-level
// typology with its opening amount and what was paid for it in the year.
class TfrEbcTcc : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrEbcTcc(QWidget *parent = nullptr);

    // "Modifica Composizione e Saldo": the opening split of the cash row,
    // in the financial-year wizard.
    QAction *acModificaSaldo = nullptr;
    // Runs the command; set by the window that knows the cash row.
    std::function<void()> OnModificaSaldo;
    // Whether there is a cash row to modify.
    void SetCashRow(bool present);

    void UpdateActions() override;

private:
    bool m_cashRow = false;
};

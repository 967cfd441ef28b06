#pragma once
#include "fmVtChildDB.h"

// A window of the budget over the working financial year and data owner:
// the first activation only remembers them; each later one checks the
// context again, reads the year's dates, shows the year and, when either
// changed, opens the slice anew. A failed context closes the window.
class TfmAbcBudgetWindow : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmAbcBudgetWindow(QWidget *parent = nullptr);

protected:
    // The context checked and the year's dates read; false when the window closes.
    bool StartYear();
    // The rows of the slice for the working year and owner.
    virtual void OpenSlice() = 0;
    // The year's caption after an activation.
    virtual void ShowYear() = 0;
    void RememberContext();

private:
    void Activate();
    int m_anfValore = -1;
    int m_dwgId = -1;
    bool m_closing = false;   // asked to close: no more checks, no second message
};

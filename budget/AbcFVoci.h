#pragma once
#include "AbcFBudgetWindow.h"

class TfrSottoVoci;
class TfrVociProgetti;

// "Voci e Progetti": the budget items of the slice the totals filter chose
// for the working financial year and data owner, with the sub-items of the
// chosen item below (incoming items only).
class TfmVoci : public TfmAbcBudgetWindow
{
    Q_OBJECT
public:
    explicit TfmVoci(QWidget *parent = nullptr);

    TfrVociProgetti *frFVoci;
    TfrSottoVoci *frFSottoVoci;

    static QString ItemsSql();
    // The frame that inserts or edits is saved (Yes), discarded (No) or kept
    // with the window open (Cancel); a refused save keeps the window open.
    bool ConfirmSaveOnClose();
    bool CloseQuery() override;

protected:
    void OpenSlice() override;
    void ShowYear() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FollowEditing();
};

#pragma once
#include "fmVtChildDB.h"

class TfrSottoVoci;
class TfrVociProgetti;

// "Voci e Progetti": the budget items of the slice the totals filter chose
// for the working financial year and data owner, with the sub-items of the
// chosen item below (incoming items only).
class TfmVoci : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmVoci(QWidget *parent = nullptr);

    TfrVociProgetti *frFVoci;
    TfrSottoVoci *frFSottoVoci;

    static QString ItemsSql();
    void OpenItems();
    // The frame that inserts or edits is saved (Yes), discarded (No) or kept
    // with the window open (Cancel); a refused save keeps the window open.
    bool ConfirmSaveOnClose();
    bool CloseQuery() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Activate();
    void FollowEditing();
    int m_anfValore = -1;
    int m_dwgId = -1;
};

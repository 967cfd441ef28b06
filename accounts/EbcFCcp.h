#pragma once
#include "fmVtChildDB.h"

#include <functional>

class QMenuBar;
class QSplitter;
class TfrEbcCassa;
class TfrEbcSprIst;
class TfrEbcTcc;
class TfmEbdInitAnf;

// The "Conti" window: the institute accounts of the data owner, the working
// account shown first; below, the cash rows of the account (the working
// financial year's current) and the split of the current row by typology.
class TfmEbcCcp : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmEbcCcp(QWidget *parent = nullptr);
    ~TfmEbcCcp() override;

    TfrEbcSprIst *frEbcCcpMaster;
    TfrEbcCassa *frEbcCcpDetail;
    TfrEbcTcc *frEbcCcpSubDetail;
    QSplitter *spDetail;
    QMenuBar *mmMain;

    // Runs the balance-modification wizard in place of its modal run (tests
    // drive it there); the window refreshes the cash rows afterwards.
    std::function<void(TfmEbdInitAnf *wizard)> OnModificaSaldoShown;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void CloseQueries();
    void CashRowChanged();
    void ModificaSaldo();
    bool m_shown = false;
};

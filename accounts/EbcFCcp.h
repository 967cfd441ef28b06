#pragma once
#include "fmVtChildDB.h"

class QMenuBar;
class QSplitter;
class TfrEbcCassa;
class TfrEbcSprIst;
class TfrEbcTcc;

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

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void CloseQueries();
    void CashRowChanged();
    bool m_shown = false;
};

#pragma once
#include "fmVtChildDB.h"

class QMenuBar;
class TfrEbcSprIst;

// The "Conti" window: the institute accounts of the data owner, the working
// account shown first. Its cash-book frames stand below the account list.
class TfmEbcCcp : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmEbcCcp(QWidget *parent = nullptr);
    ~TfmEbcCcp() override;

    TfrEbcSprIst *frEbcCcpMaster;
    QMenuBar *mmMain;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void CloseQueries();
    bool m_shown = false;
};

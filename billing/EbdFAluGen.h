#pragma once
#include "fmVtChildDB.h"

class TfrEbdAcbCau;
class TfrEbdAluGen;
class TfrEbdCcaAcbCau;

// "Intestatari": the holder records of the working school year over the
// reasons assigned to the chosen one and its instalments. The grants and
// advances of a holder have their places in the same window.
class TfmEbdAluGen : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmEbdAluGen(QWidget *parent = nullptr);
    ~TfmEbdAluGen() override;

    TfrEbdAluGen *frEbdAluGen;
    TfrEbdAcbCau *frEbdAcbCau;
    TfrEbdCcaAcbCau *frEbdCcaAcbCau;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void CloseQueries();
};

#pragma once
#include "fmVtChildDB.h"

class TfrEbdAcbCau;
class TfrEbdAcconti;
class TfrEbdAluGen;
class TfrEbdCcaAcbCau;
class TfrEbdDote;

// "Intestatari": the holder records of the working school year over the
// reasons assigned to the chosen one and its instalments; beside them the
// holder's school grants and the advances of the current instalment (these
// shown only in the view mode that asks for them).
class TfmEbdAluGen : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmEbdAluGen(QWidget *parent = nullptr);
    ~TfmEbdAluGen() override;

    TfrEbdAluGen *frEbdAluGen;
    TfrEbdAcbCau *frEbdAcbCau;
    TfrEbdCcaAcbCau *frEbdCcaAcbCau;
    TfrEbdDote *frEbdDote;
    TfrEbdAcconti *frEbdAcconti;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void CloseQueries();
};

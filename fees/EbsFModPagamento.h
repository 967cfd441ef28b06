#pragma once
#include "fmVtChildDB.h"

class TfrEbsModPagamento;

// "Modalità di pagamento": the payment modes the holders and instalments choose from.
class TfmEbsModPagamento : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmEbsModPagamento(QWidget *parent = nullptr);
    ~TfmEbsModPagamento() override;

    TfrEbsModPagamento *frEbsModPagamento;

protected:
    void closeEvent(QCloseEvent *event) override;
};

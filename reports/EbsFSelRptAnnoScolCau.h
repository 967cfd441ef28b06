#pragma once
#include "fmVtuSelRptAnnoScol.h"

class QCheckBox;

// "Selezione causali": the fee reasons of a school year. When the dialog
// shows, its school year is the fee-reasons year (EBSP_CauAnsId).
// "Causali di entrata" (ticked at first) runs the grid's select with
// lCauTipo = 0 when ticked, 1 when not. The caller gives the select (with
// the parameters iAnsId and lCauTipo) and the caption.
class TfmEbsSelRptAnnoScolCau : public TfmVtuSelRptAnnoScol
{
    Q_OBJECT
    Q_PROPERTY(int CauTipo READ CauTipo)
public:
    explicit TfmEbsSelRptAnnoScolCau(QWidget *parent = nullptr);

    QCheckBox *ckEntrata;

    // 0 with "Causali di entrata" ticked, 1 without.
    int CauTipo() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void EntrataToggled();
};

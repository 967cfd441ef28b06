#pragma once
#include "fmVtOkCancDlg.h"

class QListWidget;

// The total type of the budget aggregates: the types of TTITO_TIPOTOTALE
// not deleted, in capitals and in id order, the first chosen and the list
// with the focus. OK sets the aggregates' cash flow gFlsId to 1 (incoming)
// and their total type gTitoId to the id of the chosen type. The caller
// gives the caption (its command's).
class TfmEbsSelTipoTot : public TfmVtOkCancDlg
{
    Q_OBJECT
    Q_PROPERTY(int TitoId READ TitoId)
public:
    explicit TfmEbsSelTipoTot(QWidget *parent = nullptr);

    QListWidget *lbTipoTotale;

    // The id of the chosen type; 0 when none is chosen.
    int TitoId() const;

protected:
    bool CanAccept() override;
    void showEvent(QShowEvent *event) override;
};

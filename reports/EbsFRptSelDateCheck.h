#pragma once
#include "EbsFRptSelDate.h"

class QCheckBox;

// "Seleziona date": the date range and "Stampa i movimenti in uscita".
class TfmEbsRptSelDateCheck : public TfmEbsRptSelDate
{
    Q_OBJECT
    Q_PROPERTY(bool PrintOutgoing READ PrintOutgoing WRITE SetPrintOutgoing)
public:
    explicit TfmEbsRptSelDateCheck(QWidget *parent = nullptr);

    QCheckBox *ckUscite;

    bool PrintOutgoing() const;
    void SetPrintOutgoing(bool on);
};

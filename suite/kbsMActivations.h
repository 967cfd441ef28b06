#pragma once
#include "VtApgPage.h"
#include "VtOutlookBar.h"
#include "dmVtAttivazioni.h"

class TVtAttForm;

// Command module of the document signatories: its one command, xafFirme
// ("Firme"), opens the window "TfmKbsFirme" (not modal, one instance) where
// the office keeps who signs the documents and in which period.
class TdmkbsActivations : public TdmVtAttivazioni
{
    Q_OBJECT
public:
    explicit TdmkbsActivations(QObject *owner = nullptr);
    ~TdmkbsActivations() override;

    TVtAttForm *xafFirme;
};

extern TdmkbsActivations *dmkbsActivations;

#pragma once
#include "EbsRFeeGrid.h"

class QAction;
class TVtDBEdit;
class TVtDBNumEdit;

// The fee reasons of the reasons' school year, with their totals (the sum
// of their components' amounts). Reasons are never deleted; a reason that
// movements or tax payments use asks before its code or description change.
class TfrEbsCau : public TfrEbsFeeGrid
{
    Q_OBJECT
public:
    explicit TfrEbsCau(QWidget *parent = nullptr);

    TVtDBEdit *xdeDescrizione;
    TVtDBEdit *xdeCodice;
    TVtDBNumEdit *xneImportoIst;
    TVtDBNumEdit *xneImportoEra;
    TVtDBEdit *xdeAnsDesc;
    // "Duplica Causali": copies reasons of another school year into this one.
    QAction *acDuplica;

    int ReasonId() const;

    void UpdateActions() override;

private:
    bool ValidateInUse(const QString &caption, const QVariant &value, QString &message);
    bool m_questionArmed = false;   // asked once per reason and edit
};

#pragma once
#include "EbsRFeeGrid.h"

class TVtDBDateEdit;
class TVtDBEdit;
class TVtDBLookupEdit;
class TVtDBNumEdit;

// The components of the selected reason: each row links one component of
// the same school year; the component is chosen by its code, and its
// description, amounts and due date are shown as they are. A reason keeps
// at least one component, and all its components share one data owner.
class TfrEbsCauCca : public TfrEbsFeeGrid
{
    Q_OBJECT
public:
    explicit TfrEbsCauCca(QWidget *parent = nullptr);

    TVtDBLookupEdit *xdlCodice;
    TVtDBEdit *xdeDescrizione;
    TVtDBNumEdit *xneImportoIst;
    TVtDBNumEdit *xneImportoEra;
    TVtDBDateEdit *xddScadenza;
    TVtDBEdit *xdeAnsDesc;

    // The components the code lookup offers: those of the school year and
    // direction (only the visible ones unless showAll), of the owner: the
    // owner's own (owner > 0), the ownerless ones (0), or any (-1).
    void SetComponentFilter(bool showAll, int direction, int ansId, int owner);
    int FilterOwner() const { return m_owner; }

    void UpdateActions() override;

private:
    bool xdlCodiceValidate(const QVariant &value, QString &message);
    void xdlCodiceChangeFKValue(const QVariant &key);
    int m_owner = -1;
};

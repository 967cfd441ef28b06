#pragma once
#include "EbsRFeeGrid.h"

class TVtDBCheckBox;
class TVtDBDateEdit;
class TVtDBEdit;
class TVtDBLookupEdit;
class TVtDBNumEdit;

// The components of the reasons' school year: amounts, due date, typology
// (a type and its subtype) and budget classification (aggregate, item and,
// for income, sub-item). A component takes its data owner from the budget
// classification chosen; one that a reason in use bills keeps its amounts.
class TfrEbcCca : public TfrEbsFeeGrid
{
    Q_OBJECT
public:
    explicit TfrEbcCca(QWidget *parent = nullptr);

    TVtDBEdit *xdeDescrizione;
    TVtDBEdit *xdeCodice;
    TVtDBLookupEdit *xdlTipo;
    TVtDBLookupEdit *xdlSottotipo;
    TVtDBLookupEdit *xdlAggregato;
    TVtDBLookupEdit *xdlVoce;
    TVtDBLookupEdit *xdlSottovoce;
    TVtDBNumEdit *xneImportoIst;
    TVtDBNumEdit *xneImportoEra;
    TVtDBCheckBox *ckVuvez;
    TVtDBDateEdit *xddScadenza;
    TVtDBEdit *xdeAnsDesc;

    // The typologies valid in the school year (the Tipo list).
    void SetSchoolYear(int ansId);
    // Income (0) or expense (1): the budget side of the aggregates, and
    // whether sub-items and the Vuvez box exist.
    void SetDirection(int direction);
    // The Vuvez box is shown only when every component is listed.
    void SetVuvezShown(bool on);
    // The owner worked out from the classification (null: none).
    QVariant CurrentOwner() const { return m_owner; }
    // The component is billed by a reason in use: its amounts stay.
    bool InUse() const { return m_inUse; }

private:
    void xdsMainDataChange(TVtField *field);
    void xdsMainStateChange();
    void xdlTipoChangeFKValue();
    void xdlAggregatoChangeFKValue(const QVariant &key);
    void xdlVoceChangeFKValue(const QVariant &key);
    void xdlSottovoceChangeFKValue();
    void SetOwner(const QVariant &owner);
    void BlankSubtype();
    void ReloadItems(const QVariant &aggregate);
    void ReloadSubItems(const QVariant &item);
    void ApplyInUseLock();
    void ApplyDirectionRows();
    static QVariant ListValue(TVtDBLookupEdit *lookup, const QString &column);

    int m_direction = 0;
    bool m_vuvezShown = true;
    bool m_inUse = false;
    bool m_inDataChange = false;
    QVariant m_owner;
};

#pragma once
#include "AbcRBudgetGrid.h"

class TVtDBEdit;
class TVtDBDateEdit;
class TVtDBLookupEdit;

// The budget items and projects of one cash flow and total type: code,
// description, aggregate, accounts and validity. What a budget model refers
// to may be extended, never narrowed, and a frozen model's items keep their
// codes (the save's rules, in their order, are in PostItem).
class TfrVociProgetti : public TfrAbcBudgetGrid
{
    Q_OBJECT
public:
    explicit TfrVociProgetti(QWidget *parent = nullptr);

    TVtDBLookupEdit *xdlAggregato;
    TVtDBEdit *xdeCodice;
    TVtDBEdit *xdeDescrizione;
    TVtDBDateEdit *xddDataInizio;
    TVtDBDateEdit *xddDataFine;

    // The slice shown: flow 1 incoming (codes of two digits, read-only here),
    // any other outgoing (codes of up to five characters).
    void SetSlice(int flsId, int titoId);
    int FlsId() const { return m_flsId; }
    int TitoId() const { return m_titoId; }
    QString SliceCaption() const override;
    // The aggregates of the slice valid in the working year, values bound.
    void BindAggregateList();

    // The save, rule by rule; false (with the message shown) when refused.
    bool PostItem();

protected:
    void DoInsert() override;
    void DoTrash() override;
    void DoPost() override;
    void DoCancel() override;

private:
    void RowShown();
    void BoxClicked();
    void AggregateChosen(const QVariant &key);
    void SetBoxesFromRow();

    int m_flsId = 2;
    int m_titoId = 1;
    bool m_settingBoxes = false;
};

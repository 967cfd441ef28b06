#pragma once
#include "AbcFBudgetWindow.h"

class TfrAggregati;

// "Aggregati": the aggregates of the slice the totals filter chose, valid
// in the working financial year, of the working data owner or shared.
class TfmAggregati : public TfmAbcBudgetWindow
{
    Q_OBJECT
public:
    explicit TfmAggregati(QWidget *parent = nullptr);

    TfrAggregati *frFAggregati;

    // The statement of the slice for the working year and owner, values bound.
    static QString SliceSql();

protected:
    void OpenSlice() override;
    void ShowYear() override;
    void closeEvent(QCloseEvent *event) override;
};

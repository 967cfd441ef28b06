#pragma once
#include "fmVtChildDB.h"

class TfrAggregati;

// "Aggregati": the aggregates of the slice the totals filter chose, valid
// in the working financial year, of the working data owner or shared.
class TfmAggregati : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmAggregati(QWidget *parent = nullptr);

    TfrAggregati *frFAggregati;

    // The statement of the slice for the working year and owner, values bound.
    static QString SliceSql();
    void OpenSlice();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Activate();
    QString YearCaption() const;
    int m_anfValore = -1;
    int m_dwgId = -1;
};

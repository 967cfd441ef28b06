#pragma once
#include "frVtDBRWGrid.h"

// A frame of the fee tables. A row whose iLocked is set is read with its
// lock: it can be neither edited nor deleted. Tables whose rows are never
// deleted do not offer the delete actions at all.
class TfrEbsFeeGrid : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrEbsFeeGrid(QWidget *parent = nullptr);

    // Binds the frame to its collection, which refuses locked rows too.
    void BindDataSet(TVtQueryCollection *dataSet);
    void SetDeleteOffered(bool on);
    bool DeleteOffered() const { return m_deleteOffered; }

    void UpdateActions() override;

private:
    bool m_deleteOffered = true;
};

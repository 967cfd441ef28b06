#pragma once
#include "frVtDBRWGrid.h"

// A frame of the fee tables. A row whose iLocked is set is read with its
// lock: it can be neither edited nor deleted from here. Tables whose rows
// are never deleted do not offer the delete actions at all.
class TfrEbsFeeGrid : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrEbsFeeGrid(QWidget *parent = nullptr);

    // Binds the frame to its collection; an edit or delete of a locked row
    // is refused there too (typing into the detail page starts an edit).
    void BindDataSet(TVtQueryCollection *dataSet);
    // The current row carries a lock.
    bool RowLocked() const;
    void SetDeleteOffered(bool on);
    bool DeleteOffered() const { return m_deleteOffered; }

    void UpdateActions() override;

private:
    bool m_deleteOffered = true;
};

#pragma once
#include "AbcRBudgetGrid.h"

class QAction;
class TVtDBEdit;

// The aggregates of one cash flow and total type: code and description,
// and the validity dates of an aggregate that ends. Listed only: nothing
// is inserted, edited, trashed, deleted or saved here.
class TfrAggregati : public TfrAbcBudgetGrid
{
    Q_OBJECT
public:
    explicit TfrAggregati(QWidget *parent = nullptr);

    TVtDBEdit *xdeCodice;
    TVtDBEdit *xdeDescrizione;
    QLabel *laInizioValidita, *laDataInizio;
    QLabel *laFineValidita, *laDataFine;
    QAction *acEsportaCsv;    // "Esporta in CSV..."

    // The slice shown.
    void SetSlice(int flsId, int titoId);
    int FlsId() const { return m_flsId; }
    int TitoId() const { return m_titoId; }
    QString SliceCaption() const override;
    // Writes the rows as the grid shows them, asking for the file.
    bool ExportCsv();

    void UpdateActions() override;

private:
    void ShowValidity();
    int m_flsId = 1;
    int m_titoId = 1;
};

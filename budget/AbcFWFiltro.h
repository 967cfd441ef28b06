#pragma once
#include "fmVtWizard.h"

class QFrame;
class QLabel;
class QListWidget;

// The totals filter the budget windows open through: a cash flow on the
// first page, a total type on the second, the slice chosen in the summary.
class TfmWFiltro : public TfmVtWizard
{
    Q_OBJECT
public:
    enum TPage { tsFlussoCassa, tsTipoTotale };

    explicit TfmWFiltro(QWidget *parent = nullptr);

    QLabel *laFlussoCassa;
    QListWidget *lbFlussoCassa;
    QLabel *laTipoTotale;
    QListWidget *lbTipoTotale;
    QLabel *laFiltro;
    QFrame *beFiltro;

    // The ids of the rows chosen (-1 when none).
    int ChosenFlsId() const;
    int ChosenTitoId() const;

protected:
    void PageChanged(int page) override;
    bool CanAccept() override;

private:
    void Fill(QListWidget *list, const QString &sql);
    void UpdateSummary();
};

// Shows the filter for the aggregates (kind 1) or the items (kind 2); on
// OK sets gFlsId and gTitoId and returns true. The wizard is freed in
// every case.
bool RunTotalsFilter(int kind);

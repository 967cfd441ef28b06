#pragma once
#include "frVtDBRWGrid.h"

#include <QIcon>

class QAction;
class TVtDBDateEdit;
class TVtDBEdit;
class TVtDBLookupEdit;
class TVtDBMemo;
class TVtDBNumEdit;

// The instalments of the current holder in the reasons' school year: what
// is left to pay of each component after discounts, grants and advances,
// the due date, the payment. Instalments come from the database when a
// reason is assigned, never from here. The two spreading actions pay them
// out of the holder's school grants.
class TfrEbdCcaAcbCau : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrEbdCcaAcbCau(QWidget *parent = nullptr);

    TVtDBEdit *xdeComponente;
    TVtDBNumEdit *xneImportoOriginale;
    TVtDBDateEdit *xddScadenza;
    TVtDBNumEdit *xnePercSconto;
    TVtDBNumEdit *xneImpSconto;
    TVtDBNumEdit *xneImportoDaPagare;
    TVtDBDateEdit *xddPagamento;
    TVtDBMemo *xdmNote;
    TVtDBNumEdit *xneImportoDaDote;
    TVtDBLookupEdit *xdlTipoPagamento;
    // "Spalma dote": the holder's grants over every instalment.
    QAction *acTogliDote;
    // "Spalma dote sulla componente selezionata".
    QAction *acTogliDoteCca;
    // The frame's images; PaidImage is the one drawn in "Pagato".
    QList<QIcon> Images;
    static constexpr int PaidImage = 8;

    // "Importo da pagare" from what the user typed: I - I x P / 100 - S - D - A.
    void RecomputeAmountToPay();
    // Runs a spread (of every instalment, or the selected one) and tells the outcome.
    void Spread(bool selectedOnly);

    void UpdateActions() override;

private:
    void DrawPaid(QPainter *painter, const QRect &cell, int row) const;
};

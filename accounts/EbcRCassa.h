#pragma once
#include "frVtDBRWGrid.h"

class QAction;
class TVtDBDateEdit;
class TVtDBEdit;
class TVtDBNumEdit;

// "Stato del conto": the cash rows of the account, one per financial year,
// with their opening and current balances and the period of the year. Only
// shown: the totals are the database's, the incoming total the
// recalculation's.
class TfrEbcCassa : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrEbcCassa(QWidget *parent = nullptr);

    TVtDBEdit *xdeEsercizio;
    TVtDBNumEdit *xneCassaIn;
    TVtDBNumEdit *xneSaldoIn;
    TVtDBNumEdit *xneSaldoOut;
    TVtDBNumEdit *xneCassaAtt;
    TVtDBNumEdit *xneDiffIniz;
    TVtDBNumEdit *xneDiff;
    // "Ricalcola": the incoming total of the working account's working year.
    QAction *xacRicalcola;
    // "Verifica saldi": the totals of the working financial year that differ.
    QAction *xacVerificaSaldi;

    // The recalculation of the fee book's incoming total of an account's
    // cash row of a financial year (by its value); the statement the bank
    // export runs too, inside the caller's transaction when there is one.
    static void Ricalcola(int iSprIstId, int iAnfValore);

    void UpdateActions() override;

private:
    void xacRicalcolaExecute();
    void xacVerificaSaldiExecute();
};

#pragma once
// Spreading school grants over a holder's instalments, and taking a spread
// grant back. Both walk the holder's instalments of the school year in due
// date order (the instalments list's own order) and compute in four-decimal
// fixed point, so that "covered whole" and "nothing left" carry no floating
// noise.
#include <QString>

class TVtSQLConnection;

struct TEbdSpreadResult
{
    int Grants = 0;         // grants that had something to spread
    int Instalments = 0;    // instalment writes
};

// Spreads the holder's grants of the school year, oldest first, on every
// unpaid instalment due between the grant's date and its expiry (or, with
// onlyCacId, on that instalment alone). A covered instalment is paid on its
// due date. Runs in one transaction scope: inside the caller's transaction
// when there is one, committed here otherwise; on failure nothing is
// written and EVtException is thrown.
TEbdSpreadResult EbdSpalmaDote(int iAcbId, int iAnsId, int onlyCacId = 0);

// What the grant spread and can be given back; empty when the undo may run,
// else the reason it may not: it would have to reopen an instalment that was
// collected with an amount above zero.
QString EbdSpalmaturaNonAnnullabile(int iDosId);

// Gives the spread part of the grant back to the holder's instalments of the
// grant's school year, last due first, clearing their payment date. Writes
// in the running transaction; throws EVtException, writing nothing, when
// EbdSpalmaturaNonAnnullabile refuses.
void EbdAnnullaSpalmatura(int iDosId);

// The texts of the spread's refusals and failures.
inline const char *EbdNessunaDote = "Nessuna dote da spalmare.";
inline const char *EbdSpalmaturaNonEseguita = "Spalmatura della dote non eseguita: nessuna rata è stata modificata.";
inline const char *EbdDoteSuRateRiscosse = "Impossibile annullare la spalmatura: la dote copre in parte rate già riscosse.";
// The grant's own checks.
inline const char *EbdResiduoNegativo = "Impossibile modificare. L'importo residuo andrebbe in negativo.";
inline const char *EbdScadenzaDote = "Data di scadenza minore della data di pagamento";

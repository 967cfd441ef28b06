#pragma once
// The export's rows as the prints and the grid read them: the selected
// instalments ("frRiepilogoPagam") and the direct debits
// ("frBrogliaccioEsp"), with the columns of the selection.
#include "EbdUSddRules.h"
#include "EbdUSddSelezione.h"

class TVtQueryCollection;

// Declares the columns on a closed collection (ICNT is 1 for an instalment).
void DeclareSddColumns(TVtQueryCollection *dataSet);
// Opens the collections on the rows.
void FillSddInstalments(TVtQueryCollection *dataSet, const QVector<TSddRata> &rate, const TSddCreditore &creditore,
                        const TSddSede &sede);
void FillSddDispositions(TVtQueryCollection *dataSet, const QVector<TSddDisposizione> &disposizioni,
                         const TSddCreditore &creditore, const TSddSede &sede);

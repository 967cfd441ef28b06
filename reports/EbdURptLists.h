#pragma once
#include <QString>

class QComboBox;
class QListWidget;

// Lists shared by the report selection dialogs.

// The payment modes: "SELECT iMpgId, sMpgDescL FROM TMpg_ModPagam", then,
// with withTutti, the entry "Tutti" without an id (every mode), which is
// then the chosen one; without it nothing is chosen.
void LoadModPagamList(QComboBox *combo, bool withTutti);

// The id of the combo's chosen entry: 0 when none is chosen or the entry has
// no id ("Tutti").
int ChosenEnumId(const QComboBox *combo);

// Ticks (on) or unticks every item of a check list, or inverts each (invert).
void CheckAllItems(QListWidget *list, bool on);
void InvertItems(QListWidget *list);

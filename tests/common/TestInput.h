#pragma once
#include <QString>

class TVtDBEdit;

// Types a text into a data-aware edit as the user would: the old text is
// selected and replaced (an empty text deletes it). The text stays pending
// until the control is left or the frame posts.
void TypeText(TVtDBEdit *edit, const QString &text);

// The working context as the parameter dialog saves it: data-owner group,
// school year, financial year, working account, school year of the reasons.
void SetWorkingContext(int dwg, int ans, int anf, int account, int cauAns);

#pragma once
#include <QString>

class TIBAN;

// True when the text (blanks around it allowed) is a correct Italian IBAN.
bool CheckIBAN(const QString &text);
// The process-wide validator behind CheckIBAN.
TIBAN *IBANValidator();

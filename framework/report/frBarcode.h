#pragma once
#include <QList>
#include <QString>

// Code 128: subset B, switching to subset C for runs of four digits or more,
// with the check symbol (modulo 103) and the stop pattern.
class TfrBarcode
{
public:
    // Quiet zone on each side, in modules.
    static constexpr int QuietZone = 10;

    // The symbol values: start, data, check, stop (106).
    static QList<int> Values(const QString &text);
    // The bar and space widths (in modules), starting with a bar, without the quiet zones.
    static QList<int> Modules(const QString &text);
    // The widths of one symbol (six, seven for the stop).
    static QList<int> Pattern(int value);
    static int CheckValue(const QList<int> &values);
};

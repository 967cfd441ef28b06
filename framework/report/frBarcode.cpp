#include "frBarcode.h"

namespace {
// Bar and space widths of each value, bar first.
const char *const Patterns[] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213", "221312",
    "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132", "221231", "213212",
    "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211", "212123", "212321", "232121",
    "111323", "131123", "131321", "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331",
    "132131", "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131", "311123",
    "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111", "111224", "111422", "121124",
    "121421", "141122", "141221", "112214", "112412", "122114", "122411", "142112", "142211", "241211", "221114",
    "413111", "241112", "134111", "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112",
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

constexpr int StartB = 104, StartC = 105, CodeB = 100, CodeC = 99, Stop = 106;

int DigitRun(const QString &text, int from)
{
    int n = 0;
    while (from + n < text.size() && text[from + n].isDigit() && text[from + n].unicode() < 128)
        ++n;
    return n;
}

int ValueB(QChar c)
{
    const int code = c.unicode();
    return code >= 32 && code < 128 ? code - 32 : '?' - 32;
}
}

QList<int> TfrBarcode::Values(const QString &text)
{
    QList<int> values;
    int i = 0;
    bool inC = false;
    const int lead = DigitRun(text, 0);
    if (lead >= 4 && lead % 2 == 0) {
        values << StartC;
        inC = true;
    } else {
        values << StartB;
    }
    while (i < text.size()) {
        if (inC) {
            if (DigitRun(text, i) >= 2) {
                values << text.mid(i, 2).toInt();
                i += 2;
                continue;
            }
            values << CodeB;
            inC = false;
            continue;
        }
        const int run = DigitRun(text, i);
        if (run >= 4) {
            if (run % 2 == 1)
                values << ValueB(text[i++]);
            values << CodeC;
            inC = true;
            continue;
        }
        values << ValueB(text[i++]);
    }
    values << CheckValue(values) << Stop;
    return values;
}

int TfrBarcode::CheckValue(const QList<int> &values)
{
    if (values.isEmpty())
        return 0;
    int sum = values[0];
    for (int i = 1; i < values.size(); ++i)
        sum += values[i] * i;
    return sum % 103;
}

QList<int> TfrBarcode::Pattern(int value)
{
    QList<int> widths;
    if (value < 0 || value > Stop)
        return widths;
    for (const char *c = Patterns[value]; *c; ++c)
        widths << (*c - '0');
    return widths;
}

QList<int> TfrBarcode::Modules(const QString &text)
{
    QList<int> modules;
    for (int v : Values(text))
        modules << Pattern(v);
    return modules;
}

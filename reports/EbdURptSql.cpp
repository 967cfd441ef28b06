#include "EbdURptSql.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {
// A function, not a constant: the modules' own constants are built from it
// while the program starts.
QString DwellingJoins()
{
    return u"FROM TAnaAbt Aa INNER JOIN TAbt_Abitaz Abt ON (Abt.iAbtId = Aa.iAbtId) "
                              "LEFT OUTER JOIN VComCap Cap ON (Cap.iComCapId = Abt.iComCapId) "
                              "LEFT OUTER JOIN TSrpc SrpcAbt ON (SrpcAbt.iSrpcId = Cap.iSrpcId) "
                              "LEFT OUTER JOIN TSta_Stati Sta ON (Sta.iStaId = SrpcAbt.iStaId) "_s;
}
}

QString DwellingAddress()
{
    return u"(Abt.sAbtIndirizzo || COALESCE(', ' || Abt.sAbtCivico, ''))"_s;
}

QString FirstDwellingColumn(const QString &expr, const QString &person, const QString &alias, int preferredLoc)
{
    const QString order = preferredLoc > 0
        ? u"ORDER BY IIF(EXISTS(SELECT 1 FROM TAbtLoc Al WHERE Al.iAnaAbtId = Aa.iAnaAbtId AND Al.iLocId = %1), 0, 1), "
          "Aa.iAnaAbtNum, Aa.iAnaAbtId"_s.arg(preferredLoc)
        : u"ORDER BY Aa.iAnaAbtNum, Aa.iAnaAbtId"_s;
    return u"(SELECT FIRST 1 %1 %2WHERE Aa.iAnaId = %3 %4) AS %5"_s.arg(expr, DwellingJoins(), person, order, alias);
}

QString DwellingOfKindSQL(int locId)
{
    return u"SELECT FIRST 1 %1 AS sIndirizzo, Cap.sCapValue, Cap.sComDesc, Cap.sProSigla, Sta.sStaDesc "
           "%2INNER JOIN TAbtLoc Al ON (Al.iAnaAbtId = Aa.iAnaAbtId AND Al.iLocId = %3) "
           "WHERE Aa.iAnaId = :iAnaId ORDER BY Aa.iAnaAbtNum, Aa.iAnaAbtId"_s.arg(DwellingAddress(), DwellingJoins())
        .arg(locId);
}

QString InList(const QStringList &ids)
{
    return ids.isEmpty() ? u"NULL"_s : ids.join(u", "_s);
}

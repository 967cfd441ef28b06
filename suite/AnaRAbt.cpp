#include "AnaRAbt.h"
#include "ModUSuite.h"
#include "VtQueryCollection.h"

TfrAnaAbt::TfrAnaAbt(QWidget *parent)
    : TfrVtDBROGrid(parent)
{
    setObjectName(QStringLiteral("frAnaAbt"));
    // The location kind of a dwelling: residence wins over domicile.
    xqcMain = CreatePersonDataSet(this,
        QStringLiteral("SELECT AnaAbt.iAnaAbtId, AnaAbt.iAnaId, AnaAbt.iAnaAbtNum, Abt.sAbtIndirizzo, Abt.sAbtCivico, "
                       "V.sCapValue, V.sComDesc, V.sProSigla, Abt.sAbtTelefono, "
                       "CASE (SELECT MAX(Loc.iLocId) FROM TAbtLoc Loc WHERE Loc.iAnaAbtId = AnaAbt.iAnaAbtId) "
                       "WHEN 2 THEN 'Residenza' WHEN 1 THEN 'Domicilio' ELSE '' END AS sAbtLocDesc "
                       "FROM TAnaAbt AnaAbt "
                       "INNER JOIN TAbt_Abitaz Abt ON (Abt.iAbtId = AnaAbt.iAbtId) "
                       "LEFT OUTER JOIN VComCap V ON (V.iComCapId = Abt.iComCapId) "
                       "WHERE AnaAbt.iAnaId = :iAnaId "
                       "ORDER BY AnaAbt.iAnaAbtNum, AnaAbt.iAnaAbtId"),
        QStringLiteral("IANAABTID"));
    xqcMain->ReadOnly = true;
    SetDataSet(xqcMain);
    AddColumn(QStringLiteral("SABTLOCDESC"), QStringLiteral("Tipo"), 90);
    AddColumn(QStringLiteral("SABTINDIRIZZO"), QStringLiteral("Indirizzo"), 220);
    AddColumn(QStringLiteral("SABTCIVICO"), QStringLiteral("Civico"), 60);
    AddColumn(QStringLiteral("SCAPVALUE"), QStringLiteral("CAP"), 60);
    AddColumn(QStringLiteral("SCOMDESC"), QStringLiteral("Comune"), 160);
    AddColumn(QStringLiteral("SPROSIGLA"), QStringLiteral("Prov."), 50);
    AddColumn(QStringLiteral("SABTTELEFONO"), QStringLiteral("Telefono"), 120);
}

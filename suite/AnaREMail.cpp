#include "AnaREMail.h"
#include "ModUSuite.h"
#include "VtDBEdit.h"
#include "VtQueryCollection.h"

TfrAnaEMail::TfrAnaEMail(QWidget *parent)
    : TfrVtDBRWGrid(parent)
{
    setObjectName(QStringLiteral("frAnaEMail"));
    xqcMain = CreatePersonDataSet(this,
        QStringLiteral("SELECT Eml.iAnaEmlId, Eml.iAnaId, Eml.sAnaEmlIndirizzo, Eml.sAnaEmlDesc, Eml.iLocked "
                       "FROM TAnaEml Eml WHERE Eml.iAnaId = :iAnaId ORDER BY Eml.iAnaEmlId"),
        QStringLiteral("IANAEMLID"));
    xqcMain->SQLInsert.Add(QStringLiteral(
        "INSERT INTO TAnaEml (iAnaEmlId, iAnaId, sAnaEmlIndirizzo, sAnaEmlDesc) "
        "VALUES (:VTGENID, :iAnaId, :sAnaEmlIndirizzo, :sAnaEmlDesc)"));
    xqcMain->SQLUpdate.Add(QStringLiteral(
        "UPDATE TAnaEml SET sAnaEmlIndirizzo = :sAnaEmlIndirizzo, sAnaEmlDesc = :sAnaEmlDesc WHERE iAnaEmlId = :VTCURRID"));
    xqcMain->SQLDelete.Add(QStringLiteral("DELETE FROM TAnaEml WHERE iAnaEmlId = :VTCURRID"));
    SetDataSet(xqcMain);

    AddColumn(QStringLiteral("SANAEMLINDIRIZZO"), QStringLiteral("Indirizzo e-mail"), 260);
    AddColumn(QStringLiteral("SANAEMLDESC"), QStringLiteral("Descrizione"), 200);
    xdeIndirizzo = AddEdit(QStringLiteral("xdeIndirizzo"), QStringLiteral("SANAEMLINDIRIZZO"), QStringLiteral("Indirizzo e-mail"));
    xdeIndirizzo->OnValidate = [](const QVariant &v, QString &msg) { return CheckEMailAddress(v, true, msg); };
    xdeDesc = AddEdit(QStringLiteral("xdeDesc"), QStringLiteral("SANAEMLDESC"), QStringLiteral("Descrizione"));
}

#include "AnaRTel.h"
#include "ModUSuite.h"
#include "VtDBEdit.h"
#include "VtQueryCollection.h"

TfrAnaTel::TfrAnaTel(QWidget *parent)
    : TfrVtDBRWGrid(parent)
{
    setObjectName(QStringLiteral("frAnaTel"));
    xqcMain = CreatePersonDataSet(this,
        QStringLiteral("SELECT Tel.iAnaTelId, Tel.iAnaId, Tel.sAnaTelNumero, Tel.sAnaTelDesc, Tel.iLocked "
                       "FROM TAnaTel Tel WHERE Tel.iAnaId = :iAnaId ORDER BY Tel.iAnaTelId"),
        QStringLiteral("IANATELID"));
    xqcMain->SQLInsert.Add(QStringLiteral(
        "INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) "
        "VALUES (:VTGENID, :iAnaId, :sAnaTelNumero, :sAnaTelDesc)"));
    xqcMain->SQLUpdate.Add(QStringLiteral(
        "UPDATE TAnaTel SET sAnaTelNumero = :sAnaTelNumero, sAnaTelDesc = :sAnaTelDesc WHERE iAnaTelId = :VTCURRID"));
    xqcMain->SQLDelete.Add(QStringLiteral("DELETE FROM TAnaTel WHERE iAnaTelId = :VTCURRID"));
    SetDataSet(xqcMain);

    AddColumn(QStringLiteral("SANATELNUMERO"), QStringLiteral("Numero"), 160);
    AddColumn(QStringLiteral("SANATELDESC"), QStringLiteral("Descrizione"), 200);
    xdeNumero = AddEdit(QStringLiteral("xdeNumero"), QStringLiteral("SANATELNUMERO"), QStringLiteral("Numero"));
    xdeNumero->OnValidate = [](const QVariant &v, QString &msg) { return CheckPhoneNumber(v, true, msg); };
    xdeDesc = AddEdit(QStringLiteral("xdeDesc"), QStringLiteral("SANATELDESC"), QStringLiteral("Descrizione"));
}

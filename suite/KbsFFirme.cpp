#include "KbsFFirme.h"
#include "ModUSuite.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtQueryCollection.h"
#include "frVtDBRWGrid.h"

TfmKbsFirme::TfmKbsFirme(QWidget *parent)
    : TfmVtChildDB(parent)
{
    setObjectName(QStringLiteral("fmKbsFirme"));
    setWindowTitle(QStringLiteral("Firme"));
    resize(760, 480);

    xqcFirme = new TVtQueryCollection(this);
    xqcFirme->setObjectName(QStringLiteral("xqcFirme"));
    xqcFirme->CommandText = QStringLiteral(
        "SELECT iKbsId, sKbsRuolo, sKbsCognomeNome, dStart, dEnd, iLocked FROM TKbs_Firme "
        "ORDER BY sKbsRuolo, dStart DESC, iKbsId");
    xqcFirme->KeyFields = QStringLiteral("IKBSID");
    xqcFirme->Confirmations = xcoDelete;
    xqcFirme->SQLInsert.Add(QStringLiteral(
        "INSERT INTO TKbs_Firme (iKbsId, sKbsRuolo, sKbsCognomeNome, dStart, dEnd) "
        "VALUES (:VTGENID, :sKbsRuolo, :sKbsCognomeNome, :dStart, :dEnd)"));
    xqcFirme->SQLUpdate.Add(QStringLiteral(
        "UPDATE TKbs_Firme SET sKbsRuolo = :sKbsRuolo, sKbsCognomeNome = :sKbsCognomeNome, "
        "dStart = :dStart, dEnd = :dEnd WHERE iKbsId = :VTCURRID"));
    xqcFirme->SQLDelete.Add(QStringLiteral("DELETE FROM TKbs_Firme WHERE iKbsId = :VTCURRID"));
    xqcFirme->BeforePost = [](TVtQueryCollection *ds) { CheckRowPeriod(ds); };

    frFirme = new TfrVtDBRWGrid(this);
    frFirme->setObjectName(QStringLiteral("frFirme"));
    frFirme->SetDataSet(xqcFirme);
    frFirme->AddColumn(QStringLiteral("SKBSRUOLO"), QStringLiteral("Ruolo"), 200);
    frFirme->AddColumn(QStringLiteral("SKBSCOGNOMENOME"), QStringLiteral("Cognome e nome"), 240);
    frFirme->AddColumn(QStringLiteral("DSTART"), QStringLiteral("Dal"), 90);
    frFirme->AddColumn(QStringLiteral("DEND"), QStringLiteral("Al"), 90);
    xdeRuolo = frFirme->AddEdit(QStringLiteral("xdeRuolo"), QStringLiteral("SKBSRUOLO"), QStringLiteral("Ruolo"));
    xdeRuolo->OnValidate = TVtDBControl::Required(QStringLiteral("Indicare il ruolo del firmatario."));
    xdeCognomeNome = frFirme->AddEdit(QStringLiteral("xdeCognomeNome"), QStringLiteral("SKBSCOGNOMENOME"), QStringLiteral("Cognome e nome"));
    xdeCognomeNome->OnValidate = TVtDBControl::Required(QStringLiteral("Indicare cognome e nome del firmatario."));
    xddStart = frFirme->AddDateEdit(QStringLiteral("xddStart"), QStringLiteral("DSTART"), QStringLiteral("Dal"));
    xddStart->OnValidate = TVtDBControl::Required(QStringLiteral("Indicare la data da cui vale la firma."));
    xddEnd = frFirme->AddDateEdit(QStringLiteral("xddEnd"), QStringLiteral("DEND"), QStringLiteral("Al"));
    AddFrame(frFirme);

    xqcFirme->Open();
}

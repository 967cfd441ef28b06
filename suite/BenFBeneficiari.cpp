#include "BenFBeneficiari.h"
#include "ModUSuite.h"
#include "VtDBEdit.h"
#include "VtQueryCollection.h"
#include "VtSQLConnection.h"
#include "frVtDBRWGrid.h"

TfmBeneficiari::TfmBeneficiari(QWidget *parent)
    : TfmVtChildDB(parent)
{
    setObjectName(QStringLiteral("fmBeneficiari"));
    setWindowTitle(QStringLiteral("Altri beneficiari"));
    resize(860, 520);

    xqcBeneficiari = new TVtQueryCollection(this);
    xqcBeneficiari->setObjectName(QStringLiteral("xqcBeneficiari"));
    xqcBeneficiari->CommandText = QStringLiteral(
        "SELECT Ana.iAnaId, Ana.sAnaCognome, Ana.sAnaNome, Ana.sAnaCodFiscale, Ana.sAnaTelefono, Ana.sAnaEMail, "
        "Ana.iLocked FROM TAna_Anagrafiche Ana "
        "WHERE EXISTS (SELECT 1 FROM TAnaCag Cag WHERE Cag.iAnaId = Ana.iAnaId AND Cag.iCagId = 4) "
        "ORDER BY Ana.sAnaCognome, Ana.sAnaNome, Ana.iAnaId");
    xqcBeneficiari->KeyFields = QStringLiteral("IANAID");
    xqcBeneficiari->Confirmations = xcoDelete;
    // The person, then its category row (key added by the hook below).
    xqcBeneficiari->SQLInsert.Add(QStringLiteral(
        "INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, sAnaTelefono, sAnaEMail) "
        "VALUES (:VTGENID, :sAnaCognome, :sAnaNome, :sAnaCodFiscale, :sAnaTelefono, :sAnaEMail)"));
    xqcBeneficiari->SQLInsert.Add(QStringLiteral(
        "INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId) VALUES (:iAnaCagId, :VTGENID, 4)"));
    xqcBeneficiari->SQLUpdate.Add(QStringLiteral(
        "UPDATE TAna_Anagrafiche SET sAnaCognome = :sAnaCognome, sAnaNome = :sAnaNome, "
        "sAnaCodFiscale = :sAnaCodFiscale, sAnaTelefono = :sAnaTelefono, sAnaEMail = :sAnaEMail "
        "WHERE iAnaId = :VTCURRID"));
    xqcBeneficiari->SQLDelete.Add(QStringLiteral("DELETE FROM TAnaCag WHERE iAnaId = :VTCURRID AND iCagId = 4"));
    xqcBeneficiari->SQLDelete.Add(QStringLiteral(
        "DELETE FROM TAna_Anagrafiche WHERE iAnaId = :VTCURRID "
        "AND NOT EXISTS (SELECT 1 FROM TAnaCag Cag WHERE Cag.iAnaId = :VTCURRID)"));
    xqcBeneficiari->VtBeforeExec = [](TVtQueryCollection *ds, TVtQueryProp &prop, bool &) {
        if (prop.UpdateKind == ukInsert && prop.Index == 1) {
            TVtSQLConnection *conn = ds->Connection ? ds->Connection : qqoVtGlobConn;
            prop.FieldValues->Add(QStringLiteral("iAnaCagId"), conn->NextId());
        }
    };
    // Codes are kept in upper case, without spaces.
    xqcBeneficiari->BeforePost = [](TVtQueryCollection *ds) {
        TVtField *cf = ds->FieldByName(QStringLiteral("SANACODFISCALE"));
        if (!cf->IsNull()) {
            const QString code = cf->AsString().trimmed().toUpper();
            if (code != cf->AsString())
                cf->SetValue(code.isEmpty() ? QVariant() : QVariant(code));
        }
    };

    frBeneficiari = new TfrVtDBRWGrid(this);
    frBeneficiari->setObjectName(QStringLiteral("frBeneficiari"));
    frBeneficiari->SetDataSet(xqcBeneficiari);
    frBeneficiari->AddColumn(QStringLiteral("SANACOGNOME"), QStringLiteral("Cognome / Ragione sociale"), 240);
    frBeneficiari->AddColumn(QStringLiteral("SANANOME"), QStringLiteral("Nome"), 130);
    frBeneficiari->AddColumn(QStringLiteral("SANACODFISCALE"), QStringLiteral("Codice fiscale / Partita IVA"), 160);
    frBeneficiari->AddColumn(QStringLiteral("SANATELEFONO"), QStringLiteral("Telefono"), 110);
    frBeneficiari->AddColumn(QStringLiteral("SANAEMAIL"), QStringLiteral("E-Mail"), 220);
    xdeCognome = frBeneficiari->AddEdit(QStringLiteral("xdeCognome"), QStringLiteral("SANACOGNOME"), QStringLiteral("Cognome / Ragione sociale"));
    xdeCognome->OnValidate = [](const QVariant &v, QString &msg) {
        if (v.toString().trimmed().isEmpty()) {
            msg = QStringLiteral("Indicare il cognome o la ragione sociale.");
            return false;
        }
        return true;
    };
    xdeNome = frBeneficiari->AddEdit(QStringLiteral("xdeNome"), QStringLiteral("SANANOME"), QStringLiteral("Nome"));
    xdeCodFiscale = frBeneficiari->AddEdit(QStringLiteral("xdeCodFiscale"), QStringLiteral("SANACODFISCALE"), QStringLiteral("Codice fiscale / Partita IVA"));
    xdeCodFiscale->SetCharCase(ecUpperCase);
    xdeCodFiscale->OnValidate = [](const QVariant &v, QString &msg) { return CheckFiscalCode(v, msg); };
    xdeTelefono = frBeneficiari->AddEdit(QStringLiteral("xdeTelefono"), QStringLiteral("SANATELEFONO"), QStringLiteral("Telefono"));
    xdeTelefono->OnValidate = [](const QVariant &v, QString &msg) { return CheckPhoneNumber(v, false, msg); };
    xdeEMail = frBeneficiari->AddEdit(QStringLiteral("xdeEMail"), QStringLiteral("SANAEMAIL"), QStringLiteral("E-Mail"));
    xdeEMail->OnValidate = [](const QVariant &v, QString &msg) { return CheckEMailAddress(v, false, msg); };
    AddFrame(frBeneficiari);

    xqcBeneficiari->Open();
}

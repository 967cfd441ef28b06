#include "AnaRGpt.h"
#include "ModUSuite.h"
#include "VtQueryCollection.h"

TfrAnaGpt::TfrAnaGpt(QWidget *parent)
    : TfrVtDBROGrid(parent)
{
    setObjectName(QStringLiteral("frAnaGpt"));
    xqcMain = CreatePersonDataSet(this,
        QStringLiteral("SELECT Gpt.iAnaGptId, Gpt.iAnaId, Gpt.iAnaId_p, Gpt.iGptId, Grado.sGptLDesc, "
                       "Par.sAnaCognome, Par.sAnaNome, Par.sAnaCodFiscale, Par.dAnaNascita, "
                       "(SELECT FIRST 1 Tel.sAnaTelNumero FROM TAnaTel Tel WHERE Tel.iAnaId = Par.iAnaId "
                       " ORDER BY Tel.iAnaTelId) AS sAnaTelNumero, "
                       "(SELECT FIRST 1 Eml.sAnaEmlIndirizzo FROM TAnaEml Eml WHERE Eml.iAnaId = Par.iAnaId "
                       " ORDER BY Eml.iAnaEmlId) AS sAnaEmlIndirizzo "
                       "FROM TAnaGpt Gpt "
                       "INNER JOIN TAna_Anagrafiche Par ON (Par.iAnaId = Gpt.iAnaId_p) "
                       "LEFT OUTER JOIN TGpt_GradoParent Grado ON (Grado.iGptId = Gpt.iGptId) "
                       "WHERE Gpt.iAnaId = :iAnaId "
                       "ORDER BY Gpt.iGptId, Gpt.iAnaGptId"),
        QStringLiteral("IANAGPTID"));
    xqcMain->ReadOnly = true;
    SetDataSet(xqcMain);
    AddColumn(QStringLiteral("SGPTLDESC"), QStringLiteral("Grado di parentela"), 120);
    AddColumn(QStringLiteral("SANACOGNOME"), QStringLiteral("Cognome"), 150);
    AddColumn(QStringLiteral("SANANOME"), QStringLiteral("Nome"), 130);
    AddColumn(QStringLiteral("SANACODFISCALE"), QStringLiteral("Codice fiscale"), 140);
    AddColumn(QStringLiteral("DANANASCITA"), QStringLiteral("Data di nascita"), 90);
    AddColumn(QStringLiteral("SANATELNUMERO"), QStringLiteral("Telefono"), 110);
    AddColumn(QStringLiteral("SANAEMLINDIRIZZO"), QStringLiteral("E-Mail"), 200);
}

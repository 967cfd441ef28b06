#include "kbdREdeExtra.h"
#include "ModUSuite.h"
#include "VtDBComboBox.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtException.h"
#include "VtQueryCollection.h"
#include "VtUtils.h"

TfrkbdEdeExtra::TfrkbdEdeExtra(QWidget *parent)
    : TfrVtDBRWGrid(parent)
{
    setObjectName(QStringLiteral("frkbdEdeExtra"));
    xqcMain = CreatePersonDataSet(this,
        QStringLiteral("SELECT AnaEde.iAnaEdeId, AnaEde.iAnaId, AnaEde.iEdeId, Ede.sEdeDesc, AnaEde.sAnaEdeNote, "
                       "AnaEde.dStart, AnaEde.dEnd, AnaEde.iLocked "
                       "FROM TAnaEde AnaEde INNER JOIN TEde_StatoOccup Ede ON (Ede.iEdeId = AnaEde.iEdeId) "
                       "WHERE AnaEde.iAnaId = :iAnaId ORDER BY AnaEde.dStart, AnaEde.iAnaEdeId"),
        QStringLiteral("IANAEDEID"));
    xqcMain->SQLInsert.Add(QStringLiteral(
        "INSERT INTO TAnaEde (iAnaEdeId, iAnaId, iEdeId, sAnaEdeNote, dStart, dEnd) "
        "VALUES (:VTGENID, :iAnaId, :iEdeId, :sAnaEdeNote, :dStart, :dEnd)"));
    xqcMain->SQLUpdate.Add(QStringLiteral(
        "UPDATE TAnaEde SET iEdeId = :iEdeId, sAnaEdeNote = :sAnaEdeNote, dStart = :dStart, dEnd = :dEnd "
        "WHERE iAnaEdeId = :VTCURRID"));
    xqcMain->SQLDelete.Add(QStringLiteral("DELETE FROM TAnaEde WHERE iAnaEdeId = :VTCURRID"));
    xqcMain->BeforePost = [](TVtQueryCollection *ds) {
        CheckRowPeriod(ds);
        if (!ds->FieldByName(QStringLiteral("DEND"))->IsNull())
            return;
        TVtParams params;
        params.CreateParam(QMetaType::Int, QStringLiteral("iAnaId"))->SetValue(ds->FieldByName(QStringLiteral("IANAID"))->Value());
        const QVariant id = ds->FieldByName(QStringLiteral("IANAEDEID"))->Value();
        params.CreateParam(QMetaType::Int, QStringLiteral("iAnaEdeId"))->SetValue(id.isNull() ? QVariant(0) : id);
        const QList<TVtEnumItem> open = ReadEnumValues(QStringLiteral(
            "SELECT AnaEde.iAnaEdeId, Ede.sEdeDesc FROM TAnaEde AnaEde "
            "INNER JOIN TEde_StatoOccup Ede ON (Ede.iEdeId = AnaEde.iEdeId) "
            "WHERE AnaEde.iAnaId = :iAnaId AND AnaEde.iAnaEdeId <> :iAnaEdeId AND AnaEde.dEnd IS NULL"), &params);
        if (!open.isEmpty())
            throw EVtException(QStringLiteral("Chiudere prima lo stato occupazionale in corso (%1), indicandone la data di fine.")
                                   .arg(open.first().Text));
    };
    xqcMain->AfterPost = [](TVtQueryCollection *ds) { ds->Refresh(); };
    SetDataSet(xqcMain);

    AddColumn(QStringLiteral("SEDEDESC"), QStringLiteral("Stato occupazionale"), 200);
    AddColumn(QStringLiteral("DSTART"), QStringLiteral("Dal"), 90);
    AddColumn(QStringLiteral("DEND"), QStringLiteral("Al"), 90);
    AddColumn(QStringLiteral("SANAEDENOTE"), QStringLiteral("Note"), 220);
    cbStato = AddComboBox(QStringLiteral("cbStato"), QStringLiteral("IEDEID"), QStringLiteral("Stato occupazionale"));
    cbStato->LoadItems(QStringLiteral("SELECT iEdeId, sEdeDesc FROM TEde_StatoOccup ORDER BY iEdeId"));
    cbStato->OnValidate = TVtDBControl::Required(QStringLiteral("Indicare lo stato occupazionale."));
    xddStart = AddDateEdit(QStringLiteral("xddStart"), QStringLiteral("DSTART"), QStringLiteral("Dal"));
    xddEnd = AddDateEdit(QStringLiteral("xddEnd"), QStringLiteral("DEND"), QStringLiteral("Al"));
    xdeNote = AddEdit(QStringLiteral("xdeNote"), QStringLiteral("SANAEDENOTE"), QStringLiteral("Note"));
}

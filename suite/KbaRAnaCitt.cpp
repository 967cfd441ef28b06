#include "KbaRAnaCitt.h"
#include "ModUSuite.h"
#include "VtDBComboBox.h"
#include "VtDBDateEdit.h"
#include "VtException.h"
#include "VtQueryCollection.h"
#include "VtUtils.h"

TfrKbaAnaCitt::TfrKbaAnaCitt(QWidget *parent)
    : TfrVtDBRWGrid(parent)
{
    setObjectName(QStringLiteral("frKbaAnaCitt"));
    xqcMain = CreatePersonDataSet(this,
        QStringLiteral("SELECT Citt.iAnaCittId, Citt.iAnaId, Citt.iStaId, Sta.sStaDesc, Citt.dStart, Citt.dEnd, Citt.iLocked "
                       "FROM TAnaCitt Citt INNER JOIN TSta_Stati Sta ON (Sta.iStaId = Citt.iStaId) "
                       "WHERE Citt.iAnaId = :iAnaId ORDER BY Citt.dStart, Citt.iAnaCittId"),
        QStringLiteral("IANACITTID"));
    xqcMain->SQLInsert.Add(QStringLiteral(
        "INSERT INTO TAnaCitt (iAnaCittId, iAnaId, iStaId, dStart, dEnd) VALUES (:VTGENID, :iAnaId, :iStaId, :dStart, :dEnd)"));
    xqcMain->SQLUpdate.Add(QStringLiteral(
        "UPDATE TAnaCitt SET iStaId = :iStaId, dStart = :dStart, dEnd = :dEnd WHERE iAnaCittId = :VTCURRID"));
    xqcMain->SQLDelete.Add(QStringLiteral("DELETE FROM TAnaCitt WHERE iAnaCittId = :VTCURRID"));
    xqcMain->BeforePost = [](TVtQueryCollection *ds) {
        CheckRowPeriod(ds);
        // The same state twice in overlapping periods makes no sense.
        TVtParams params;
        params.CreateParam(QMetaType::Int, QStringLiteral("iAnaId"))->SetValue(ds->FieldByName(QStringLiteral("IANAID"))->Value());
        params.CreateParam(QMetaType::Int, QStringLiteral("iStaId"))->SetValue(ds->FieldByName(QStringLiteral("ISTAID"))->Value());
        const QVariant id = ds->FieldByName(QStringLiteral("IANACITTID"))->Value();
        params.CreateParam(QMetaType::Int, QStringLiteral("iAnaCittId"))->SetValue(id.isNull() ? QVariant(0) : id);
        const QList<TVtEnumItem> same = ReadEnumValues(QStringLiteral(
            "SELECT Citt.iAnaCittId, Sta.sStaDesc FROM TAnaCitt Citt INNER JOIN TSta_Stati Sta ON (Sta.iStaId = Citt.iStaId) "
            "WHERE Citt.iAnaId = :iAnaId AND Citt.iStaId = :iStaId AND Citt.iAnaCittId <> :iAnaCittId AND Citt.dEnd IS NULL"), &params);
        if (!same.isEmpty() && ds->FieldByName(QStringLiteral("DEND"))->IsNull())
            throw EVtException(QStringLiteral("La persona ha già la cittadinanza %1.").arg(same.first().Text));
    };
    // The state's name in the grid comes from the select.
    xqcMain->AfterPost = [](TVtQueryCollection *ds) { ds->Refresh(); };
    SetDataSet(xqcMain);

    AddColumn(QStringLiteral("SSTADESC"), QStringLiteral("Cittadinanza"), 180);
    AddColumn(QStringLiteral("DSTART"), QStringLiteral("Dal"), 90);
    AddColumn(QStringLiteral("DEND"), QStringLiteral("Al"), 90);
    cbStato = AddComboBox(QStringLiteral("cbStato"), QStringLiteral("ISTAID"), QStringLiteral("Stato"));
    cbStato->LoadItems(QStringLiteral("SELECT iStaId, sStaDesc FROM TSta_Stati ORDER BY sStaDesc"));
    cbStato->OnValidate = TVtDBControl::Required(QStringLiteral("Indicare lo stato di cittadinanza."));
    xddStart = AddDateEdit(QStringLiteral("xddStart"), QStringLiteral("DSTART"), QStringLiteral("Dal"));
    xddEnd = AddDateEdit(QStringLiteral("xddEnd"), QStringLiteral("DEND"), QStringLiteral("Al"));
}

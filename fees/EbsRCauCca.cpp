#include "EbsRCauCca.h"
#include "EbsMDataSets.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBLookupEdit.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtSQLQuery.h"

using namespace Qt::StringLiterals;

namespace {
// %1 show all, %2 direction, %3 school year, %4 the owner X (three times).
const QString ComponentList =
    u" SELECT Cca.iCcaId, Cca.sCcaSDesc, Cca.sCcaLDesc, Cca.fCcaImportoIst, Cca.fCcaImportoEra, Agg.sAggDescS, "
    "Cca.iDwgId, Vpro.sVproCod FROM TCca_CompCausali Cca INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = "
    "Cca.dStart AND Ans.dAnsVeltoFine = Cca.dEnd) LEFT OUTER JOIN TAgg_Aggregati Agg ON (Agg.iAggId = Cca.iAggId) "
    "LEFT OUTER JOIN TVpro_VociProgetti Vpro ON (Vpro.iVproid = Cca.iVproId) WHERE ##WHERE## AND ((Cca.lCcaVuvez = 1) "
    "OR (%1 = 1)) AND (Cca.lCcaTipo = %2) AND (Ans.iAnsId = %3) AND ((Cca.iDwgId = %4) OR (Cca.iDwgId IS NULL) AND "
    "(%4 = 0) OR (%4=-1))"_s;
}

TfrEbsCauCca::TfrEbsCauCca(QWidget *parent) : TfrEbsFeeGrid(parent)
{
    setObjectName(u"frEbsCauCca"_s);
    setToolTip(u"Componenti"_s);
    AddColumn(u"SCCASDESC"_s, u"Codice"_s, 110);
    AddColumn(u"SCCALDESC"_s, u"Descrizione"_s, 300);
    AddColumn(u"DCCADATASCADENZA"_s, u"Data scadenza"_s, 110);
    AddColumn(u"SANSANNODESC"_s, u"Anno scolastico"_s, 120);

    xdlCodice = AddLookup(u"xdlCodice"_s, u"ICCAID"_s, u"Codice"_s, QString(), u"Cca.iCcaId"_s, u"Cca.sCcaSDesc"_s);
    xdlCodice->SetSearchForm(u"Componenti"_s, 720, {{u"SCCASDESC"_s, u"Codice"_s, 110, true},
                                                   {u"SCCALDESC"_s, u"Descrizione"_s, 300, true},
                                                   {u"SAGGDESCS"_s, u"Aggregato"_s, 120, false},
                                                   {u"SVPROCOD"_s, u"Voce"_s, 100, false}});
    xdlCodice->SetCopyFields({u"SCCALDESC"_s, u"FCCAIMPORTOIST"_s, u"FCCAIMPORTOERA"_s});
    xdlCodice->OnValidate = [this](const QVariant &v, QString &msg) { return xdlCodiceValidate(v, msg); };
    xdlCodice->OnChangeFKValue = [this](TVtDBLookupEdit *, const QVariant &key) { xdlCodiceChangeFKValue(key); };
    xdeDescrizione = AddEdit(u"xdeDescrizione"_s, u"SCCALDESC"_s, u"Descrizione"_s, true);
    xneImportoIst = AddNumEdit(u"xneImportoIst"_s, u"FCCAIMPORTOIST"_s, u"Importo istituto"_s, true);
    xneImportoIst->DisplayFormat = u"#,###.00"_s;
    xneImportoEra = AddNumEdit(u"xneImportoEra"_s, u"FCCAIMPORTOERA"_s, u"Importo erario"_s, true);
    xneImportoEra->DisplayFormat = u"#,###.00"_s;
    xddScadenza = AddDateEdit(u"xddScadenza"_s, u"DCCADATASCADENZA"_s, u"Data scadenza"_s, true);
    xdeAnsDesc = AddEdit(u"xdeAnsDesc"_s, u"SANSANNODESC"_s, u"A.S. causale"_s, true);
}

void TfrEbsCauCca::SetComponentFilter(bool showAll, int direction, int ansId, int owner)
{
    m_owner = owner;
    const QString sql = ComponentList.arg(showAll ? 1 : 0).arg(direction).arg(ansId).arg(owner);
    if (sql == xdlCodice->ListCommandText)
        return;
    xdlCodice->ListCommandText = sql;
    xdlCodice->RefreshList();
}

// A component is billed once per reason.
bool TfrEbsCauCca::xdlCodiceValidate(const QVariant &value, QString &message)
{
    if (value.isNull()) {
        message = u"Il campo Codice è obbligatorio."_s;
        return false;
    }
    TSQLQuery q;
    q.SQL = u"SELECT 1 FROM TCauCca WHERE iCauId = :iCauId AND iCcaId = :iCcaId AND iCauCcaId IS DISTINCT FROM :iCauCcaId"_s;
    q.Params().CreateParam(QMetaType::Int, u"iCauId"_s)->SetValue(DataSet()->Params().ParamByName(u"iCauId"_s)->Value());
    q.Params().CreateParam(QMetaType::Int, u"iCcaId"_s)->SetValue(value);
    q.Params().CreateParam(QMetaType::Int, u"iCauCcaId"_s)->SetValue(FieldByName(u"ICAUCCAID"_s)->Value());
    q.Open();
    const bool linked = !q.IsEmpty();
    q.Close();
    if (linked)
        message = u"Il componente è già associato alla causale."_s;
    return !linked;
}

// The reason takes the owner of the component it is given.
void TfrEbsCauCca::xdlCodiceChangeFKValue(const QVariant &key)
{
    TVtQueryCollection *list = xdlCodice->ListDataSet();
    const QVariant owner = key.isNull() || !list->Active() || list->IsEmpty() ? QVariant()
                                                                              : list->FieldByName(u"IDWGID"_s)->Value();
    DataSet()->SetEditValue(TdmEbsDataSets::CauCcaOwner, owner);
}

// The last component of a reason stays.
void TfrEbsCauCca::UpdateActions()
{
    TfrEbsFeeGrid::UpdateActions();
    TVtQueryCollection *ds = DataSet();
    if (ds && ds->Active() && ds->RecordCount() == 1)
        xacDelete->SetAvailable(false);
}

#include "EbsRTipologie.h"
#include "VtDBEdit.h"
#include "VtDBLookupEdit.h"
#include "VtDataSource.h"

using namespace Qt::StringLiterals;

namespace {
// Only the first types can be parents.
const QString ParentList = u"SELECT iTccId, sTccSDesc, sTccLDesc FROM TTcc_TipoCompCaus WHERE (iTccId < 5) AND ##WHERE##"_s;
}

TfrEbsTipologie::TfrEbsTipologie(QWidget *parent) : TfrEbsFeeGrid(parent)
{
    setObjectName(u"frEbsTipologie"_s);
    AddColumn(u"STCCSDESC"_s, u"Codice"_s, 110);
    AddColumn(u"STCCLDESC"_s, u"Descrizione"_s, 360);

    xdeCodice = AddEdit(u"xdeCodice"_s, u"STCCSDESC"_s, u"Codice"_s);
    xdeCodice->SetInput(ecNormal, cfAny, 20);
    xdeDescrizione = AddEdit(u"xdeDescrizione"_s, u"STCCLDESC"_s, u"Descrizione"_s);
    xdeDescrizione->SetInput(ecNormal, cfAny, 100);
    xdlTipologiaMadre = AddLookup(u"xdlTipologiaMadre"_s, u"ITCCID_P"_s, u"Tipologia madre"_s, ParentList,
                                  u"iTccId"_s, u"sTccLDesc"_s);
    xdlTipologiaMadre->SetSearchForm(u"Tipologie"_s, 460, {{u"STCCSDESC"_s, u"Codice"_s, 100, true},
                                                          {u"STCCLDESC"_s, u"Descrizione"_s, 320, true}});
    // A typology without a parent would be counted under no type.
    xdlTipologiaMadre->OnValidate = TVtDBControl::Required(u"Il campo Tipologia madre è obbligatorio."_s);
    xdsMain->OnDataChange = [this](TVtDataSource *, TVtField *field) { xdsMainDataChange(field); };
}

bool TfrEbsTipologie::IsTopLevel() const
{
    TVtQueryCollection *ds = DataSet();
    if (!ds || !ds->Active() || ds->IsEmpty() || ds->State() == dsInsert)
        return false;
    const QVariant id = FieldByName(u"ITCCID"_s)->Value();
    return !id.isNull() && id == FieldByName(u"ITCCID_P"_s)->OldValue();
}

// A top-level type stays its own parent.
void TfrEbsTipologie::xdsMainDataChange(TVtField *field)
{
    if (!field)
        xdlTipologiaMadre->SetReadOnly(IsTopLevel());
}

#include "EbcRCca.h"
#include "EbdUContext.h"
#include "EbdUGlobals.h"
#include "EbsMDataSets.h"
#include "VtDBCheckBox.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDBLookupEdit.h"
#include "VtDBNumEdit.h"
#include "VtDataSource.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {
// %1 the reasons' school year: the typologies valid in it.
const QString TypologyList =
    u" SELECT Tcc.iTccId, Tcc_P.sTccLDesc LDesc_P, Tcc.sTccLDesc LDesc FROM TTcc_TipoCompCaus Tcc INNER JOIN "
    "TTcc_TipoCompCaus Tcc_P ON (Tcc_P.iTccId = Tcc.iTccId_P) INNER JOIN TAns_AnniScolast Ans ON (Tcc.dStart <= "
    "Ans.dAnsVeltoInizio AND (Tcc.dEnd IS NULL OR Tcc.dEnd >= Ans.dAnsVeltoFine))                                    "
    "OR (Tcc.dStart > Ans.dAnsVeltoInizio) WHERE (Ans.iAnsId = %1) AND ##WHERE##"_s;
// %1 the data owner, %2 the budget side (1 income, 2 expense).
const QString AggregateList =
    u" SELECT Agg.iAggId, Agg.sAggDescS, Agg.sAggDescL, Agg.dStart, Agg.dEnd, Agg.iDwgId FROM TAgg_Aggregati Agg WHERE "
    "##WHERE## AND (Agg.iDwgId IS NULL OR (Agg.iDwgId = %1)) AND (Agg.iFlsId = %2)"_s;
// %1 the aggregate, %2 the data owner.
const QString ItemList =
    u" SELECT iVproId, sVproCod, sVproDescS, dStart, dEnd, iDwgId FROM TVpro_VociProgetti WHERE (iAggId = %1) AND  "
    "(TVpro_VociProgetti.iDwgId IS NULL OR (TVpro_VociProgetti.iDwgId = %2)) AND ##WHERE##"_s;
// %1 the item, %2 the data owner.
const QString SubItemList =
    u" SELECT iSvoId, sSvoDescS, sSvoDescL, iDwgId FROM TSvo_SottoVoci WHERE (iVproId = %1) AND  "
    "(TSvo_SottoVoci.iDwgId IS NULL OR (TSvo_SottoVoci.iDwgId = %2)) AND ##WHERE##"_s;

int KeyOrNone(const QVariant &key)
{
    return key.isNull() ? -1 : key.toInt();
}

int DataOwner()
{
    return TEbdContext::GetOr0(TEbdCtx::DwgId);
}
}

TfrEbcCca::TfrEbcCca(QWidget *parent) : TfrEbsFeeGrid(parent)
{
    setObjectName(u"frEbcCca"_s);
    AddColumn(u"SCCALDESC"_s, u"Descrizione"_s, 280);
    AddColumn(u"SCCASDESC"_s, u"Codice"_s, 110);
    AddColumn(u"STCCSDESC"_s, u"Tipo-Sottotipo"_s, 120);
    AddColumn(u"SANSANNODESC"_s, u"Anno scolastico"_s, 120);
    AddColumn(u"DCCADATASCADENZA"_s, u"Data Scadenza"_s, 110);
    grMain->SetSortable(true);

    xdeDescrizione = AddEdit(u"xdeDescrizione"_s, u"SCCALDESC"_s, u"Descrizione"_s);
    xdeDescrizione->SetInput(ecNormal, cfAny, 100);
    xdeDescrizione->OnValidate = TVtDBControl::Required(u"Il campo Descrizione è obbligatorio."_s);
    xdeCodice = AddEdit(u"xdeCodice"_s, u"SCCASDESC"_s, u"Codice"_s);
    xdeCodice->SetInput(ecNormal, cfAny, 20);
    xdeCodice->OnValidate = TVtDBControl::Required(u"Il campo Codice è obbligatorio."_s);

    xdlTipo = AddLookup(u"xdlTipo"_s, u"ITCCID"_s, u"Tipo - Sottotipo"_s, QString(), u"Tcc.iTccId"_s, u"Tcc_P.sTccLDesc"_s);
    xdlTipo->ListColumn = u"LDESC_P"_s;
    xdlTipo->SetSearchForm(u"Tipologie"_s, 560, {{u"LDESC_P"_s, u"Tipo"_s, 240, true}, {u"LDESC"_s, u"Sottotipo"_s, 260, true}});
    xdlTipo->OnValidate = TVtDBControl::Required(u"Il campo Tipo è obbligatorio."_s);
    xdlTipo->OnChangeFKValue = [this](TVtDBLookupEdit *, const QVariant &) { xdlTipoChangeFKValue(); };
    xdlSottotipo = AddLookup(u"xdlSottotipo"_s, u"ITCCID"_s, QString(), QString(), u"Tcc.iTccId"_s, u"Tcc.sTccLDesc"_s, true);
    xdlSottotipo->ListColumn = u"LDESC"_s;

    const QVector<TVtDBLookupEdit::TSearchColumn> budgetColumns{{u"SAGGDESCS"_s, u"Codice"_s, 90, true},
                                                               {u"SAGGDESCL"_s, u"Descrizione"_s, 300, true},
                                                               {u"DSTART"_s, u"Inizio valid."_s, 100, false},
                                                               {u"DEND"_s, u"Fine valid."_s, 100, false}};
    xdlAggregato = AddLookup(u"xdlAggregato"_s, u"IAGGID"_s, u"Aggregato"_s, QString(), u"Agg.iAggId"_s, u"Agg.sAggDescL"_s);
    xdlAggregato->SetSearchForm(u"Aggregati"_s, 640, budgetColumns);
    xdlAggregato->OnChangeFKValue = [this](TVtDBLookupEdit *, const QVariant &key) { xdlAggregatoChangeFKValue(key); };
    xdlVoce = AddLookup(u"xdlVoce"_s, u"IVPROID"_s, u"Voce"_s, ItemList.arg(-1).arg(DataOwner()), u"iVproId"_s, u"sVproDescS"_s);
    xdlVoce->SetSearchForm(u"Voci"_s, 640, {{u"SVPROCOD"_s, u"Codice"_s, 90, true},
                                           {u"SVPRODESCS"_s, u"Descrizione"_s, 300, true},
                                           {u"DSTART"_s, u"Inizio valid."_s, 100, false},
                                           {u"DEND"_s, u"Fine valid."_s, 100, false}});
    xdlVoce->OnChangeFKValue = [this](TVtDBLookupEdit *, const QVariant &key) { xdlVoceChangeFKValue(key); };
    xdlSottovoce = AddLookup(u"xdlSottovoce"_s, u"ISVOID"_s, u"Sottovoce"_s, SubItemList.arg(-1).arg(DataOwner()),
                             u"iSvoId"_s, u"sSvoDescL"_s);
    xdlSottovoce->SetSearchForm(u"Sottovoci"_s, 520, {{u"SSVODESCS"_s, u"Codice"_s, 90, true},
                                                     {u"SSVODESCL"_s, u"Descrizione"_s, 340, true}});
    xdlSottovoce->OnChangeFKValue = [this](TVtDBLookupEdit *, const QVariant &) { xdlSottovoceChangeFKValue(); };

    xneImportoIst = AddNumEdit(u"xneImportoIst"_s, u"FCCAIMPORTOIST"_s, u"Importo istituto"_s);
    xneImportoIst->DisplayFormat = u"#,###.00"_s;
    xneImportoEra = AddNumEdit(u"xneImportoEra"_s, u"FCCAIMPORTOERA"_s, u"Importo erario"_s);
    xneImportoEra->DisplayFormat = u"#,###.00"_s;
    ckVuvez = AddCheckBox(u"ckVuvez"_s, u"LCCAVUVEZ"_s, u"Visibile nel programma Vuvez"_s);
    xddScadenza = AddDateEdit(u"xddScadenza"_s, u"DCCADATASCADENZA"_s, u"Data scadenza versamento"_s);
    xddScadenza->OnValidate = TVtDBControl::Required(u"Il campo Data scadenza è obbligatorio."_s);
    xdeAnsDesc = AddEdit(u"xdeAnsDesc"_s, u"SANSANNODESC"_s, u"A.S. causale"_s, true);

    SetSchoolYear(TEbdContext::GetOr0(TEbdCtx::CauAnsId));
    SetDirection(0);
    xdsMain->OnDataChange = [this](TVtDataSource *, TVtField *field) { xdsMainDataChange(field); };
    xdsMain->OnStateChange = [this](TVtDataSource *) { xdsMainStateChange(); };
}

void TfrEbcCca::SetSchoolYear(int ansId)
{
    xdlTipo->ListCommandText = TypologyList.arg(ansId);
    xdlSottotipo->ListCommandText = xdlTipo->ListCommandText;
    xdlTipo->RefreshList();
    xdlSottotipo->RefreshList();
    BlankSubtype();
}

void TfrEbcCca::SetDirection(int direction)
{
    m_direction = direction;
    xdlAggregato->ListCommandText = AggregateList.arg(DataOwner()).arg(direction == 0 ? 1 : 2);
    xdlAggregato->RefreshList();
    ApplyDirectionRows();
}

void TfrEbcCca::SetVuvezShown(bool on)
{
    m_vuvezShown = on;
    ApplyDirectionRows();
}

// Sub-items and the Vuvez flag belong to income components only.
void TfrEbcCca::ApplyDirectionRows()
{
    SetDetailVisible(xdlSottovoce, m_direction == 0);
    SetDetailVisible(ckVuvez, m_direction == 0 && m_vuvezShown);
}

QVariant TfrEbcCca::ListValue(TVtDBLookupEdit *lookup, const QString &column)
{
    TVtQueryCollection *list = lookup->ListDataSet();
    if (lookup->KeyValue().isNull() || !list->Active() || list->IsEmpty())
        return QVariant();
    return list->FieldByName(column)->Value();
}

void TfrEbcCca::SetOwner(const QVariant &owner)
{
    m_owner = owner;
    if (xdsMain->Editing())
        DataSet()->SetEditValue(TdmEbsDataSets::CompCausOwner, owner);
}

// "Sottotipo" names the subtype only: nothing for a type of the first level.
void TfrEbcCca::BlankSubtype()
{
    const QVariant key = xdlSottotipo->KeyValue();
    if (key.isNull() || key.toInt() < 100 || xdlSottotipo->Text() == xdlTipo->Text())
        xdlSottotipo->LineEdit()->clear();
}

void TfrEbcCca::ReloadItems(const QVariant &aggregate)
{
    xdlVoce->ListCommandText = ItemList.arg(KeyOrNone(aggregate)).arg(DataOwner());
    if (!xdlVoce->RefreshList() && xdsMain->Editing() && !xdlVoce->KeyValue().isNull())
        xdlVoce->ClearKey();   // an item of another aggregate no longer applies
}

void TfrEbcCca::ReloadSubItems(const QVariant &item)
{
    xdlSottovoce->ListCommandText = SubItemList.arg(KeyOrNone(item)).arg(DataOwner());
    if (!xdlSottovoce->RefreshList() && xdsMain->Editing() && !xdlSottovoce->KeyValue().isNull())
        xdlSottovoce->ClearKey();
}

void TfrEbcCca::xdlTipoChangeFKValue()
{
    xdlSottotipo->UpdateFromField();
    BlankSubtype();
}

// The owner follows the classification: the aggregate's, then the item's.
void TfrEbcCca::xdlAggregatoChangeFKValue(const QVariant &key)
{
    const QVariant owner = ListValue(xdlAggregato, u"IDWGID"_s);
    ReloadItems(key);
    ReloadSubItems(xdlVoce->KeyValue());
    SetOwner(owner);
}

void TfrEbcCca::xdlVoceChangeFKValue(const QVariant &key)
{
    const QVariant owner = ListValue(xdlVoce, u"IDWGID"_s);
    ReloadSubItems(key);
    SetOwner(owner);
}

void TfrEbcCca::xdlSottovoceChangeFKValue()
{
    SetOwner(ListValue(xdlVoce, u"IDWGID"_s));
}

// A component that a reason in use bills keeps its amounts and flag; its
// classification may still be corrected.
void TfrEbcCca::ApplyInUseLock()
{
    TVtQueryCollection *ds = DataSet();
    m_inUse = ds && ds->Active() && !ds->IsEmpty() && ds->State() != dsInsert
              && CcaIsUsed(FieldByName(u"ICCAID"_s)->AsInteger(), true);
    for (TVtDBControl *c : std::initializer_list<TVtDBControl *>{xneImportoIst, xneImportoEra, ckVuvez})
        c->SetReadOnly(m_inUse);
}

void TfrEbcCca::xdsMainDataChange(TVtField *field)
{
    TVtQueryCollection *ds = DataSet();
    if (m_inDataChange || !ds || !ds->Active())
        return;
    m_inDataChange = true;
    if (!field && ds->State() != dsInsert) {
        m_owner = ds->IsEmpty() ? QVariant() : FieldByName(u"IDWGID"_s)->Value();
        ReloadItems(ds->IsEmpty() ? QVariant() : FieldByName(u"IAGGID"_s)->Value());
        ReloadSubItems(ds->IsEmpty() ? QVariant() : FieldByName(u"IVPROID"_s)->Value());
        ApplyInUseLock();
    }
    if (!field || field->FieldName.compare(u"ITCCID"_s, Qt::CaseInsensitive) == 0)
        BlankSubtype();
    m_inDataChange = false;
}

// A new component starts without classification or owner, in the reasons' year.
void TfrEbcCca::xdsMainStateChange()
{
    if (xdsMain->State() != dsInsert || m_inDataChange)
        return;
    m_inDataChange = true;
    ReloadItems(QVariant());
    ReloadSubItems(QVariant());
    SetOwner(QVariant());
    FieldByName(u"SANSANNODESC"_s)->SetAsString(GetParamAnsDesc(QString::fromLatin1(PrmCauAnsId)));
    ApplyInUseLock();
    m_inDataChange = false;
}

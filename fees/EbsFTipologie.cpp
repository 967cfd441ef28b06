#include "EbsFTipologie.h"
#include "EbsRTipologie.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"
#include "VtSQLQuery.h"

#include <QCloseEvent>

using namespace Qt::StringLiterals;

TfmEbsTipologie::TfmEbsTipologie(QWidget *parent) : TfmVtChildDB(parent), xqcMaster(new TVtQueryCollection(this))
{
    setObjectName(u"fmEbsTipologie"_s);
    setWindowTitle(u"Tipologie componenti causali"_s);
    resize(640, 460);

    xqcMaster->setObjectName(u"xqcMaster"_s);
    xqcMaster->KeyFields = u"ITCCID"_s;
    xqcMaster->CommandText = u"SELECT iTccId, sTccSDesc, sTccLDesc, iTccId_p, dStart, iLocked FROM TTcc_TipoCompCaus;"_s;
    xqcMaster->AddField(u"STCCSDESC"_s, QMetaType::QString, 20)->DisplayLabel = u"Codice"_s;
    xqcMaster->AddField(u"STCCLDESC"_s, QMetaType::QString, 100)->DisplayLabel = u"Descrizione"_s;
    xqcMaster->AddField(u"ITCCID_P"_s, QMetaType::Int)->DisplayLabel = u"Tipologia madre"_s;
    xqcMaster->SQLInsert.Add(u"INSERT INTO TTCC_TIPOCOMPCAUS (ITCCID,STCCSDESC,STCCLDESC,ITCCID_P,DSTART,ILOCKED) VALUES "
                             "(:VTGENID,:STCCSDESC,:STCCLDESC,:ITCCID_P,:DSTART,:ILOCKED)"_s);
    xqcMaster->SQLUpdate.Add(u"UPDATE TTcc_TipoCompCaus SET sTccSDesc=:sTccSDesc, sTccLDesc=:sTccLDesc, "
                             "iTccId_p=:iTccId_P WHERE iTccId=:VTCURRID"_s);
    xqcMaster->SQLDelete.Add(u"DELETE FROM TTcc_TipoCompCaus WHERE iTccId=:VTCURRID"_s);
    xqcMaster->VtBeforeExec = [this](TVtQueryCollection *, TVtQueryProp &prop, bool &) { xqcMasterVtBeforeExec(prop); };
    xqcMaster->BeforeDelete = [this](TVtQueryCollection *) { xqcMasterBeforeDelete(); };

    frEbsTipologie = new TfrEbsTipologie(this);
    frEbsTipologie->BindDataSet(xqcMaster);
    AddFrame(frEbsTipologie);
    xqcMaster->Open();
}

TfmEbsTipologie::~TfmEbsTipologie()
{
    xqcMaster->Close();
}

void TfmEbsTipologie::closeEvent(QCloseEvent *event)
{
    TfmVtChildDB::closeEvent(event);
    if (event->isAccepted())
        xqcMaster->Close();
}

// A new typology is open from today, unlocked.
void TfmEbsTipologie::xqcMasterVtBeforeExec(TVtQueryProp &prop)
{
    if (prop.UpdateKind != ukInsert)
        return;
    prop.FieldValues->Add(u"ILOCKED"_s, 0);
    prop.FieldValues->Add(u"DSTART"_s, QDate::currentDate());
}

// The tree stays whole: the first types, and any typology that has
// subtypes, classifies a component or has cash-book totals, stay.
void TfmEbsTipologie::xqcMasterBeforeDelete()
{
    const QVariant id = xqcMaster->FieldByName(u"ITCCID"_s)->Value();
    if (frEbsTipologie->IsTopLevel()) {
        VtMessageDlg(u"Impossibile cancellare una tipologia di primo livello."_s, mtWarning, mbOK);
        Abort();
    }
    TSQLQuery q;
    q.SQL = u"SELECT 1 FROM RDB$DATABASE WHERE "
            "EXISTS (SELECT 1 FROM TTcc_TipoCompCaus WHERE iTccId_P = :iTccId AND iTccId <> :iTccId) OR "
            "EXISTS (SELECT 1 FROM TCca_CompCausali WHERE iTccId = :iTccId) OR "
            "EXISTS (SELECT 1 FROM TCaiTcc WHERE iTccId = :iTccId)"_s;
    q.Params().CreateParam(QMetaType::Int, u"iTccId"_s)->SetValue(id);
    q.Open();
    const bool used = !q.IsEmpty();
    q.Close();
    if (used) {
        VtMessageDlg(u"Impossibile cancellare la tipologia in quanto è utilizzata."_s, mtWarning, mbOK);
        Abort();
    }
}

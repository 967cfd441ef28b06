#include "EbdRAcbCau.h"
#include "EbdMConn.h"
#include "EbdUCac.h"
#include "EbdUContext.h"
#include "VtDBLookupEdit.h"
#include "VtDBMemo.h"
#include "VtDBNumEdit.h"
#include "VtDataSource.h"

using namespace Qt::StringLiterals;

namespace {
// %1 the reasons' school year: every reason of it, of either direction.
const QString ReasonList =
    u"SELECT TCau.iCauId, TCau.sCauLDesc, TCau.sCauSDesc FROM TCau_Causali TCau INNER JOIN VAns_AnniScolast Ans ON "
    "TCau.dStart = Ans.dAnsVeltoInizio WHERE ##WHERE## AND Ans.iAnsId = %1"_s;
}

TfrEbdAcbCau::TfrEbdAcbCau(QWidget *parent) : TfrVtDBRWGrid(parent)
{
    setObjectName(u"frEbdAcbCau"_s);
    AddColumn(u"SCAUSDESC"_s, u"Codice"_s, 90);
    AddColumn(u"SCAULDESC"_s, u"Causale"_s, 260);

    xdlCausale = AddLookup(u"xdlCausale"_s, u"ICAUID"_s, u"Causale"_s, QString(), u"TCau.iCauId"_s, u"TCau.sCauLDesc"_s);
    xdlCausale->SetSearchForm(u"Causali"_s, 480, {{u"SCAULDESC"_s, u"Causale"_s, 300, true}, {u"SCAUSDESC"_s, u"Codice"_s, 110, true}});
    xdlCausale->SetCopyFields({u"SCAULDESC"_s, u"SCAUSDESC"_s});
    xdlCausale->OnValidate = [](const QVariant &value, QString &msg) {
        if (!value.isNull() && value.toInt() >= 1)
            return true;
        msg = u"Il campo Causale è obbligatorio."_s;
        return false;
    };
    xdmNote = AddMemo(u"xdmNote"_s, u"BACBCAUNOTE"_s, u"Note"_s);
    xneSconto = AddNumEdit(u"xneSconto"_s, u"FACBCAUPERCSCONTO"_s, u"Sconto"_s);
    xneSconto->OnValidate = EbdCacPercentValidation();
    ReloadReasons();
    // A new assignment starts with the holder's own discount.
    xdsMain->OnStateChange = [this](TVtDataSource *) {
        if (xdsMain->State() == dsInsert && dmEbdConn && dmEbdConn->xqcAluGen->Active() && !dmEbdConn->xqcAluGen->IsEmpty())
            FieldByName(u"FACBCAUPERCSCONTO"_s)->SetValue(dmEbdConn->xqcAluGen->FieldByName(u"FACBPERCSCONTO"_s)->Value());
    };
}

void TfrEbdAcbCau::ReloadReasons()
{
    xdlCausale->ListCommandText = ReasonList.arg(TEbdContext::GetOr0(TEbdCtx::CauAnsId));
    xdlCausale->RefreshList();
}

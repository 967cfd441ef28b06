#include "EbdRAcconti.h"
#include "EbdMBilling.h"
#include "EbdMConn.h"
#include "EbdUCac.h"
#include "VtDBDateEdit.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"

using namespace Qt::StringLiterals;

TfrEbdAcconti::TfrEbdAcconti(QWidget *parent) : TfrVtDBRWGrid(parent)
{
    setObjectName(u"frEbdAcconti"_s);
    AddColumn(u"FCAAIMPORTO"_s, u"Importo"_s, 90);
    AddColumn(u"DCAADATA"_s, u"Data"_s, 90);

    xneImporto = AddNumEdit(u"xneImporto"_s, u"FCAAIMPORTO"_s, u"Importo"_s);
    xneImporto->DisplayFormat = u"#,###.00"_s;
    xneImporto->OnValidate = [this](const QVariant &value, QString &msg) {
        const TVtMoney stored = xdsMain->State() == dsEdit ? EbdCacMoney(FieldByName(u"FCAAIMPORTO"_s)->OldValue()) : TVtMoney();
        if (dmEbdConn && TdmEbdBilling::AdvanceFits(dmEbdConn->xqcCacAcbCau, EbdCacMoney(value), stored))
            return true;
        msg = u"Importo"_s;
        return false;
    };
    xddData = AddDateEdit(u"xddData"_s, u"DCAADATA"_s, u"Data"_s);
    xddData->OnValidate = TVtDBControl::Required(u"Data"_s);
}

void TfrEbdAcconti::UpdateActions()
{
    TfrVtDBRWGrid::UpdateActions();
    if (dmEbdConn && TdmEbdBilling::CurrentInstalmentPaid(dmEbdConn->xqcCacAcbCau))
        xacInsert->SetAvailable(false);
}

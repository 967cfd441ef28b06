#include "EbdRDote.h"
#include "EbdUCac.h"
#include "EbdUDote.h"
#include "VtDBDateEdit.h"
#include "VtDBNumEdit.h"
#include "VtDataSource.h"
#include "VtMessageDlg.h"

using namespace Qt::StringLiterals;

TfrEbdDote::TfrEbdDote(QWidget *parent) : TfrVtDBRWGrid(parent)
{
    setObjectName(u"frEbdDote"_s);
    AddColumn(u"FDOSIMPORTO"_s, u"Importo"_s, 90);
    AddColumn(u"DDOSDATA"_s, u"Data"_s, 90);
    AddColumn(u"DDOSDATASCADENZA"_s, u"Data scadenza"_s, 100);
    AddColumn(u"FDOSIMPORTORESIDUO"_s, u"Importo residuo"_s, 110);

    xneImporto = AddNumEdit(u"xneImporto"_s, u"FDOSIMPORTO"_s, u"Importo"_s);
    xneImporto->OnValidate = [this](const QVariant &value, QString &msg) { return ValidateAmount(value, msg); };
    xneImporto->OnChange = [this](TVtDBControl *) {
        FieldByName(u"FDOSIMPORTORESIDUO"_s)->SetValue(ResidueFor(FieldByName(u"FDOSIMPORTO"_s)->Value()).ToDouble());
    };
    xddData = AddDateEdit(u"xddData"_s, u"DDOSDATA"_s, u"Data pagamento"_s);
    xddData->OnValidate = TVtDBControl::Required(u"Data pagamento"_s);
    xddScadenza = AddDateEdit(u"xddScadenza"_s, u"DDOSDATASCADENZA"_s, u"Data scadenza"_s);
    xddScadenza->OnValidate = [this](const QVariant &value, QString &msg) {
        const QDate from = FieldByName(u"DDOSDATA"_s)->Value().toDate();
        if (from.isValid() && (!value.toDate().isValid() || value.toDate() < from)) {
            msg = QString::fromUtf8(EbdScadenzaDote);
            return false;
        }
        return true;
    };
    xneResiduo = AddNumEdit(u"xneResiduo"_s, u"FDOSIMPORTORESIDUO"_s, u"Importo residuo"_s, true);
}

TVtMoney TfrEbdDote::ResidueFor(const QVariant &amount) const
{
    if (xdsMain->State() == dsInsert)
        return EbdCacMoney(amount);
    return EbdCacMoney(FieldByName(u"FDOSIMPORTORESIDUO"_s)->OldValue()) + EbdCacMoney(amount)
           - EbdCacMoney(FieldByName(u"FDOSIMPORTO"_s)->OldValue());
}

// A lowering that would take the residue below zero is refused, and the
// amount and the residue go back to what is stored.
bool TfrEbdDote::ValidateAmount(const QVariant &amount, QString &msg)
{
    if (!ResidueFor(amount).IsNegative())
        return true;
    msg = QString::fromUtf8(EbdResiduoNegativo);
    VtMessageDlg(msg, mtError, mbOK);
    RestoreAmount();
    return false;
}

void TfrEbdDote::RestoreAmount()
{
    FieldByName(u"FDOSIMPORTO"_s)->SetValue(FieldByName(u"FDOSIMPORTO"_s)->OldValue());
    FieldByName(u"FDOSIMPORTORESIDUO"_s)->SetValue(FieldByName(u"FDOSIMPORTORESIDUO"_s)->OldValue());
    xneImporto->UpdateFromField();
    xneImporto->FocusEditor();
}

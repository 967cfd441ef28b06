#include "EbsRModPagamento.h"
#include "VtDBCheckBox.h"
#include "VtDBEdit.h"

using namespace Qt::StringLiterals;

TfrEbsModPagamento::TfrEbsModPagamento(QWidget *parent) : TfrEbsFeeGrid(parent)
{
    setObjectName(u"frEbsModPagamento"_s);
    AddColumn(u"SMPGDESCS"_s, u"Codice"_s, 90);
    AddColumn(u"SMPGDESCL"_s, u"Descrizione"_s, 280);
    AddColumn(u"Riscossione"_s, u"Riscossione"_s, 100);
    AddColumn(u"Pagamento"_s, u"Pagamento"_s, 100);

    xdeCodice = AddEdit(u"xdeCodice"_s, u"SMPGDESCS"_s, u"Codice"_s);
    xdeCodice->SetInput(ecUpperCase, cfAny, 10);
    xdeDescrizione = AddEdit(u"xdeDescrizione"_s, u"SMPGDESCL"_s, u"Modalità pagamento"_s);
    ckRiscossione = AddCheckBox(u"ckRiscossione"_s, u"LMPGRISC"_s, u"Riscossione"_s);
    ckPagamento = AddCheckBox(u"ckPagamento"_s, u"LMPGPAG"_s, u"Pagamento"_s);
    SetDeleteOffered(false);
}

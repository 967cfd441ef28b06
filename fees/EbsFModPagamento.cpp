#include "EbsFModPagamento.h"
#include "EbsMDataSets.h"
#include "EbsRModPagamento.h"

#include <QCloseEvent>

TfmEbsModPagamento::TfmEbsModPagamento(QWidget *parent) : TfmVtChildDB(parent)
{
    setObjectName(QStringLiteral("fmEbsModPagamento"));
    setWindowTitle(QStringLiteral("Modalità di pagamento"));
    resize(720, 460);
    frEbsModPagamento = new TfrEbsModPagamento(this);
    AddFrame(frEbsModPagamento);
    if (dmEbsDataSets) {
        frEbsModPagamento->BindDataSet(dmEbsDataSets->xqcModPagam);
        dmEbsDataSets->xqcModPagam->Open();
    }
}

TfmEbsModPagamento::~TfmEbsModPagamento()
{
    if (dmEbsDataSets)
        dmEbsDataSets->xqcModPagam->Close();
}

void TfmEbsModPagamento::closeEvent(QCloseEvent *event)
{
    TfmVtChildDB::closeEvent(event);
    if (event->isAccepted() && dmEbsDataSets)
        dmEbsDataSets->xqcModPagam->Close();
}

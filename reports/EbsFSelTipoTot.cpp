#include "EbsFSelTipoTot.h"
#include "EbdUGlobals.h"
#include "VtUtils.h"

#include <QListWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfmEbsSelTipoTot::TfmEbsSelTipoTot(QWidget *parent) : TfmVtOkCancDlg(parent)
{
    setObjectName(u"fmEbsSelTipoTot"_s);
    lbTipoTotale = new QListWidget(paClient);
    lbTipoTotale->setObjectName(u"lbTipoTotale"_s);
    ClientLayout()->addWidget(lbTipoTotale);
    LoadEnumValues(lbTipoTotale, u" SELECT TTITO_TIPOTOTALE.ITITOID, TTITO_TIPOTOTALE.STITODESCL FROM TTITO_TIPOTOTALE "
                                 "WHERE TTITO_TIPOTOTALE.DDELETE IS NULL ORDER BY TTITO_TIPOTOTALE.ITITOID"_s);
    for (int i = 0; i < lbTipoTotale->count(); ++i)
        lbTipoTotale->item(i)->setText(lbTipoTotale->item(i)->text().toUpper());
    if (lbTipoTotale->count() > 0)
        lbTipoTotale->setCurrentRow(0);
    resize(340, 220);
}

int TfmEbsSelTipoTot::TitoId() const
{
    const QListWidgetItem *item = lbTipoTotale->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

bool TfmEbsSelTipoTot::CanAccept()
{
    if (!TfmVtOkCancDlg::CanAccept())
        return false;
    gFlsId = 1;
    gTitoId = TitoId();
    return true;
}

void TfmEbsSelTipoTot::showEvent(QShowEvent *event)
{
    TfmVtOkCancDlg::showEvent(event);
    lbTipoTotale->setFocus(Qt::OtherFocusReason);
}

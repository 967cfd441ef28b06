#include "EbsFRptSelDateCheck.h"

#include <QCheckBox>
#include <QGridLayout>

using namespace Qt::StringLiterals;

TfmEbsRptSelDateCheck::TfmEbsRptSelDateCheck(QWidget *parent) : TfmEbsRptSelDate(parent)
{
    setObjectName(u"fmEbsRptSelDateCheck"_s);
    setWindowTitle(u"Seleziona date"_s);
    ckUscite = new QCheckBox(u"Stampa i movimenti in uscita"_s, paClient);
    ckUscite->setObjectName(u"ckUscite"_s);
    DatesLayout()->addWidget(ckUscite, 1, 0, 1, 5);
}

bool TfmEbsRptSelDateCheck::PrintOutgoing() const
{
    return ckUscite->isChecked();
}

void TfmEbsRptSelDateCheck::SetPrintOutgoing(bool on)
{
    ckUscite->setChecked(on);
}

#include "EbdFAluGen.h"
#include "EbdMConn.h"
#include "EbdRAcbCau.h"
#include "EbdRAluGen.h"
#include "EbdRCcaAcbCau.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QTabWidget>

using namespace Qt::StringLiterals;

TfmEbdAluGen::TfmEbdAluGen(QWidget *parent) : TfmVtChildDB(parent)
{
    setObjectName(u"fmEbdAluGen"_s);
    setWindowTitle(u"Intestatari"_s);
    resize(1280, 860);

    frEbdAluGen = new TfrEbdAluGen(this);
    frEbdAluGen->setToolTip(u"Dati intestatario"_s);
    AddFrame(frEbdAluGen, 4);
    // The reasons of the holder beside its instalments.
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    frEbdAcbCau = new TfrEbdAcbCau(row);
    frEbdAcbCau->setToolTip(u"Causali"_s);
    frEbdCcaAcbCau = new TfrEbdCcaAcbCau(row);
    frEbdCcaAcbCau->setToolTip(u"Componenti"_s);
    layout->addWidget(frEbdAcbCau, 2);
    layout->addWidget(frEbdCcaAcbCau, 3);
    AddFrame(row, 5);

    if (!dmEbdConn)
        return;
    frEbdAluGen->SetDataSet(dmEbdConn->xqcAluGen);
    frEbdAcbCau->SetDataSet(dmEbdConn->xqcAcbCau);
    frEbdCcaAcbCau->SetDataSet(dmEbdConn->xqcCacAcbCau);
    for (TfrVtDBRWGrid *fr : std::initializer_list<TfrVtDBRWGrid *>{frEbdAluGen, frEbdAcbCau, frEbdCcaAcbCau})
        fr->pcMain->setCurrentIndex(0);
    // The holders are read again once an edit of one is over (saved or
    // cancelled), never while it runs.
    auto refresh = [](TVtQueryCollection *ds) {
        if (ds->State() == dsBrowse)
            ds->Refresh();
    };
    dmEbdConn->xqcAluGen->AfterPost.Add(this, refresh);
    dmEbdConn->xqcAluGen->AfterCancel.Add(this, refresh);
    dmEbdConn->xqcAluGen->Close();
    dmEbdConn->xqcAluGen->Open();
}

TfmEbdAluGen::~TfmEbdAluGen()
{
    CloseQueries();
}

void TfmEbdAluGen::closeEvent(QCloseEvent *event)
{
    TfmVtChildDB::closeEvent(event);
    if (event->isAccepted())
        CloseQueries();
}

void TfmEbdAluGen::CloseQueries()
{
    if (!dmEbdConn)
        return;
    for (TVtQueryCollection *q : {dmEbdConn->xqcAcconti, dmEbdConn->xqcDote, dmEbdConn->xqcCacAcbCau, dmEbdConn->xqcAcbCau,
                                  dmEbdConn->xqcAluGen})
        q->Close();
}

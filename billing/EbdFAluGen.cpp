#include "EbdFAluGen.h"
#include "EbdMConn.h"
#include "EbdRAcbCau.h"
#include "EbdRAcconti.h"
#include "EbdRAluGen.h"
#include "EbdRCcaAcbCau.h"
#include "EbdRDote.h"
#include "EbdUContext.h"

#include <QCloseEvent>
#include <QSplitter>
#include <QTabWidget>

using namespace Qt::StringLiterals;

TfmEbdAluGen::TfmEbdAluGen(QWidget *parent) : TfmVtChildDB(parent)
{
    setObjectName(u"fmEbdAluGen"_s);
    setWindowTitle(u"Intestatari"_s);
    resize(1580, 880);

    // Left the holders over their reasons and instalments, right the
    // holder's grants over the advances of the instalment.
    auto *columns = new QSplitter(Qt::Horizontal, this);
    auto *left = new QSplitter(Qt::Vertical, columns);
    auto *right = new QSplitter(Qt::Vertical, columns);

    frEbdAluGen = new TfrEbdAluGen(left);
    frEbdAluGen->setToolTip(u"Dati intestatario"_s);
    auto *row = new QSplitter(Qt::Horizontal, left);
    frEbdAcbCau = new TfrEbdAcbCau(row);
    frEbdAcbCau->setToolTip(u"Causali"_s);
    frEbdCcaAcbCau = new TfrEbdCcaAcbCau(row);
    frEbdCcaAcbCau->setToolTip(u"Componenti"_s);

    frEbdDote = new TfrEbdDote(right);
    frEbdDote->setToolTip(u"Dote scuola"_s);
    frEbdAcconti = new TfrEbdAcconti(right);
    frEbdAcconti->setToolTip(u"Acconti"_s);
    // The advances are shown in view mode 1 and above, as set when the
    // window opens.
    frEbdAcconti->setVisible(TEbdContext::GetOr0(TEbdCtx::Vis) != 0);
    // Room for every column and command of each frame at the window's size.
    columns->setSizes({1165, 405});
    row->setSizes({390, 775});
    left->setSizes({380, 480});
    right->setSizes({430, 430});
    AddFrame(columns, 1);

    if (!dmEbdConn)
        return;
    frEbdAluGen->SetDataSet(dmEbdConn->xqcAluGen);
    frEbdAcbCau->SetDataSet(dmEbdConn->xqcAcbCau);
    frEbdCcaAcbCau->SetDataSet(dmEbdConn->xqcCacAcbCau);
    frEbdDote->SetDataSet(dmEbdConn->xqcDote);
    frEbdAcconti->SetDataSet(dmEbdConn->xqcAcconti);
    for (TfrVtDBRWGrid *fr : std::initializer_list<TfrVtDBRWGrid *>{frEbdAluGen, frEbdAcbCau, frEbdCcaAcbCau, frEbdDote,
                                                                     frEbdAcconti})
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

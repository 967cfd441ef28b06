#include "EbcFCcp.h"
#include "EbcRSprIst.h"
#include "EbdUContext.h"
#include "EbdMConn.h"
#include "EbdUGlobals.h"
#include "VtDataSource.h"
#include "VtQueryCollection.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QTabWidget>

TfmEbcCcp::TfmEbcCcp(QWidget *parent)
    : TfmVtChildDB(parent)
{
    setObjectName(QStringLiteral("fmEbcCcp"));
    setWindowTitle(QStringLiteral("Conti"));
    resize(820, 560);

    frEbcCcpMaster = new TfrEbcSprIst(this);
    frEbcCcpMaster->setObjectName(QStringLiteral("frEbcCcpMaster"));
    frEbcCcpMaster->setToolTip(QStringLiteral("Elenco conti"));
    frEbcCcpMaster->pcMain->setCurrentIndex(0);
    if (dmEbdConn)
        frEbcCcpMaster->SetDataSet(dmEbdConn->xqcSprIst);
    AddFrame(frEbcCcpMaster);

    mmMain = new QMenuBar(this);
    mmMain->setObjectName(QStringLiteral("mmMain"));
    QMenu *history = mmMain->addMenu(QStringLiteral("&Storico"));
    history->addAction(frEbcCcpMaster->acShowClosed);
    layout()->setMenuBar(mmMain);
}

TfmEbcCcp::~TfmEbcCcp()
{
    CloseQueries();
}

void TfmEbcCcp::showEvent(QShowEvent *event)
{
    TfmVtChildDB::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TfmEbcCcp::closeEvent(QCloseEvent *event)
{
    TfmVtChildDB::closeEvent(event);
    if (event->isAccepted())
        CloseQueries();
}

// The accounts of the working data owner, on the working account.
void TfmEbcCcp::FormShow()
{
    if (!dmEbdConn)
        return;
    TVtQueryCollection *q = dmEbdConn->xqcSprIst;
    q->Close();
    // The list is shared: a window opens on the open accounts whatever the last one showed.
    q->SetFiltered(!frEbcCcpMaster->acShowClosed->isChecked());
    q->Params().ParamByName(QStringLiteral("iDwgId"))->SetAsInteger(TEbdContext::GetOr0(TEbdCtx::DwgId));
    q->Open();
    const int working = TEbdContext::GetOr0(TEbdCtx::SprIstId);
    if (q->RecordCount() > 1 && working != 0)
        q->Locate(QStringLiteral("ISPRISTID"), working);
}

void TfmEbcCcp::CloseQueries()
{
    if (!dmEbdConn)
        return;
    for (TVtQueryCollection *q : {dmEbdConn->xqcTcc, dmEbdConn->xqcCai, dmEbdConn->xqcSprIst})
        if (q)
            q->Close();
}

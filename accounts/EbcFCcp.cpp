#include "EbcFCcp.h"
#include "EbcRCassa.h"
#include "EbcRSprIst.h"
#include "EbcRTcc.h"
#include "EbdFInitAnf.h"
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
#include <QSplitter>
#include <QTabWidget>

TfmEbcCcp::TfmEbcCcp(QWidget *parent)
    : TfmVtChildDB(parent)
{
    setObjectName(QStringLiteral("fmEbcCcp"));
    setWindowTitle(QStringLiteral("Conti"));
    resize(1100, 760);

    frEbcCcpMaster = new TfrEbcSprIst(this);
    frEbcCcpMaster->setObjectName(QStringLiteral("frEbcCcpMaster"));
    frEbcCcpMaster->setToolTip(QStringLiteral("Elenco conti"));
    frEbcCcpMaster->pcMain->setCurrentIndex(0);
    if (dmEbdConn)
        frEbcCcpMaster->SetDataSet(dmEbdConn->xqcSprIst);
    AddFrame(frEbcCcpMaster, 1);

    spDetail = new QSplitter(Qt::Horizontal, this);
    spDetail->setObjectName(QStringLiteral("spDetail"));
    frEbcCcpDetail = new TfrEbcCassa(spDetail);
    frEbcCcpDetail->setObjectName(QStringLiteral("frEbcCcpDetail"));
    frEbcCcpDetail->pcMain->setCurrentIndex(0);
    frEbcCcpSubDetail = new TfrEbcTcc(spDetail);
    frEbcCcpSubDetail->setObjectName(QStringLiteral("frEbcCcpSubDetail"));
    frEbcCcpSubDetail->pcMain->setCurrentIndex(0);
    spDetail->addWidget(frEbcCcpDetail);
    spDetail->addWidget(frEbcCcpSubDetail);
    spDetail->setSizes({600, 500});
    AddFrame(spDetail, 1);
    if (dmEbdConn) {
        frEbcCcpDetail->SetDataSet(dmEbdConn->xqcCai);
        frEbcCcpSubDetail->SetDataSet(dmEbdConn->xqcTcc);
    }
    frEbcCcpDetail->xdsMain->OnDataChange = [this](TVtDataSource *, TVtField *field) {
        if (!field)
            CashRowChanged();
    };
    frEbcCcpSubDetail->OnModificaSaldo = [this] { ModificaSaldo(); };

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
    TVtQueryCollection *cai = dmEbdConn->xqcCai;
    const QVariant year = GetCurrentAnfValore();
    if (cai->Active() && !year.isNull())
        cai->Locate(QStringLiteral("ICAIESERCIZIOFIN"), year.toInt());
    CashRowChanged();
}

// The split of the current cash row; none without a row.
void TfmEbcCcp::CashRowChanged()
{
    if (!dmEbdConn)
        return;
    TVtQueryCollection *cai = dmEbdConn->xqcCai;
    TVtQueryCollection *tcc = dmEbdConn->xqcTcc;
    const bool row = cai->Active() && !cai->IsEmpty();
    const int account = row ? cai->FieldByName(QStringLiteral("ISPRISTID"))->AsInteger() : 0;
    const int year = row ? cai->FieldByName(QStringLiteral("ICAIESERCIZIOFIN"))->AsInteger() : 0;
    frEbcCcpSubDetail->SetCashRow(row);
    tcc->Close();
    if (!row)
        return;
    tcc->Params().ParamByName(QStringLiteral("iSprIstId"))->SetAsInteger(account);
    tcc->Params().ParamByName(QStringLiteral("iCaiEsercizioFin"))->SetAsInteger(year);
    tcc->Open();
}

// The opening split of the selected cash row, in the financial-year wizard;
// then the cash rows again, and with them the split.
void TfmEbcCcp::ModificaSaldo()
{
    TVtQueryCollection *cai = dmEbdConn->xqcCai;
    if (!cai->Active() || cai->IsEmpty())
        return;
    const int row = cai->FieldByName(QStringLiteral("ICAIID"))->AsInteger();
    TfmEbdInitAnf wizard(this);
    wizard.SetModificaSaldo(row);
    if (OnModificaSaldoShown)
        OnModificaSaldoShown(&wizard);
    else
        wizard.exec();
    cai->Refresh();
    cai->Locate(QStringLiteral("ICAIID"), row);
    CashRowChanged();
}

void TfmEbcCcp::CloseQueries()
{
    if (!dmEbdConn)
        return;
    for (TVtQueryCollection *q : {dmEbdConn->xqcTcc, dmEbdConn->xqcCai, dmEbdConn->xqcSprIst})
        if (q)
            q->Close();
}

#include "EbcRCassa.h"
#include "EbcFVerificaSaldi.h"
#include "EbdUContext.h"
#include "EbdUGlobals.h"
#include "VtDBEdit.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtGuard.h"
#include "VtSQLQuery.h"

#include <QAction>
#include <QToolBar>

using namespace Qt::StringLiterals;

TfrEbcCassa::TfrEbcCassa(QWidget *parent) : TfrVtDBRWGrid(parent)
{
    setObjectName(u"frEbcCassa"_s);
    setToolTip(u"Stato del conto"_s);
    AddColumn(u"ICAIESERCIZIOFIN"_s, u"Esercizio Fin."_s, 100);
    AddColumn(u"FCAICASSAIN"_s, u"Saldo iniziale"_s, 120);
    AddColumn(u"FCAICASSAATT"_s, u"Saldo attuale"_s, 120);
    AddColumn(u"DINIZIOANNO"_s, u"Data inizio"_s, 100);
    AddColumn(u"DFINEANNO"_s, u"Data fine"_s, 100);

    xdeEsercizio = AddEdit(u"xdeEsercizio"_s, u"ICAIESERCIZIOFIN"_s, u"Esercizio finanziario"_s, true);
    xneCassaIn = AddNumEdit(u"xneCassaIn"_s, u"FCAICASSAIN"_s, u"Saldo iniziale"_s, true);
    xneSaldoIn = AddNumEdit(u"xneSaldoIn"_s, u"FCAISALDOIN"_s, u"Saldo entrate"_s, true);
    xneSaldoOut = AddNumEdit(u"xneSaldoOut"_s, u"FCAISALDOOUT"_s, u"Saldo uscite"_s, true);
    xneCassaAtt = AddNumEdit(u"xneCassaAtt"_s, u"FCAICASSAATT"_s, u"Saldo attuale"_s, true);
    xneDiffIniz = AddNumEdit(u"xneDiffIniz"_s, u"FCAIDIFFINIZ"_s, u"Differenza iniziale"_s, true);
    xneDiff = AddNumEdit(u"xneDiff"_s, u"FDIFF"_s, u"Differenza attuale"_s, true);
    for (TVtDBControl *c : DetailControls())
        c->setEnabled(false);
    SetReadOnly(true);

    xacRicalcola = new QAction(u"Ricalcola"_s, this);
    xacRicalcola->setObjectName(u"xacRicalcola"_s);
    xacRicalcola->setToolTip(u"Ricalcola"_s);
    connect(xacRicalcola, &QAction::triggered, this, [this] { VtGuard([this] { xacRicalcolaExecute(); }); });
    tbActions->addSeparator();
    tbActions->addAction(xacRicalcola);
    xacVerificaSaldi = new QAction(u"Verifica saldi"_s, this);
    xacVerificaSaldi->setObjectName(u"xacVerificaSaldi"_s);
    xacVerificaSaldi->setToolTip(u"Verifica saldi"_s);
    connect(xacVerificaSaldi, &QAction::triggered, this, [this] { VtGuard([this] { xacVerificaSaldiExecute(); }); });
    tbActions->addAction(xacVerificaSaldi);
    UpdateActions();
}

void TfrEbcCassa::UpdateActions()
{
    TfrVtDBRWGrid::UpdateActions();
    // Nothing of a cash row is written here.
    for (TVtDataAction *a : {xacInsert, xacEdit, xacPost, xacCancel, xacTrash, xacDelete}) {
        a->SetAvailable(false);
        a->setVisible(false);
    }
}

void TfrEbcCassa::Ricalcola(int iSprIstId, int iAnfValore)
{
    TSQLQuery q;
    q.SQL = u"EXECUTE PROCEDURE PEbc_RicalcSaldoIn(:ISPRISTID, :IESERCIZIOFIN)"_s;
    q.Params().CreateParam(QMetaType::Int, u"ISPRISTID"_s)->SetValue(iSprIstId);
    q.Params().CreateParam(QMetaType::Int, u"IESERCIZIOFIN"_s)->SetValue(iAnfValore);
    q.ExecSQL();
}

// The working account's row of the working financial year, whatever the
// grids show.
void TfrEbcCassa::xacRicalcolaExecute()
{
    Ricalcola(TEbdContext::GetOr0(TEbdCtx::SprIstId), GetCurrentAnfValore().toInt());
    xdsMain->Refresh();
}

void TfrEbcCassa::xacVerificaSaldiExecute()
{
    TfmEbcVerificaSaldi dialog(GetCurrentAnfValore().toInt(), TEbdContext::GetOr0(TEbdCtx::DwgId), window());
    dialog.exec();
}

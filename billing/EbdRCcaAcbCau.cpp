#include "EbdRCcaAcbCau.h"
#include "EbdMConn.h"
#include "EbdUCac.h"
#include "EbdUContext.h"
#include "EbdUDote.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDBLookupEdit.h"
#include "VtDBMemo.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtException.h"
#include "VtGuard.h"
#include "VtMessageDlg.h"
#include "VtSQLQuery.h"
#include "VtUtils.h"

#include <QAction>
#include <QLineEdit>
#include <QPainter>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {
const QString PaymentModeList = u"SELECT TMpg.iMpgId, TMpg.sMpgDescS, TMpg.sMpgDescL FROM TMpg_ModPagam TMpg WHERE ##WHERE##"_s;

// The sum of an instalment's advances, as stored (not the packets loaded).
TVtMoney Advances(const QVariant &iCacId)
{
    TSQLQuery q;
    q.SQL = u"SELECT COALESCE(SUM(fCaaImporto), 0) FROM TCaa_CacAcconti WHERE iCacId = :iCacId"_s;
    q.Params().CreateParam(QMetaType::Int, u"iCacId"_s)->SetValue(iCacId);
    q.Open();
    const TVtMoney sum = EbdCacMoney(q.Fields(0));
    q.Close();
    return sum;
}

// A typed amount or percentage in the Italian form; not a number counts as 0.
TVtMoney Typed(TVtDBNumEdit *edit)
{
    bool ok = false;
    const TVtMoney value = TVtMoney::Parse(edit->LineEdit()->text().trimmed(), &ok);
    return ok ? value : TVtMoney();
}
}

TfrEbdCcaAcbCau::TfrEbdCcaAcbCau(QWidget *parent) : TfrVtDBRWGrid(parent)
{
    setObjectName(u"frEbdCcaAcbCau"_s);
    Images = LoadDefaultImages(1, {u"NUOVO"_s, u"MODIFICA"_s, u"SALVA"_s, u"ANNULLA"_s, u"ELIMINA"_s, u"CANCELLA"_s,
                                   u"AGGIORNA"_s, u"DOTE"_s, u"PAGATO"_s});
    AddColumn(u"SCAULDESC"_s, u"Causale"_s, 170);
    AddColumn(u"SCCALDESC"_s, u"Componente"_s, 200);
    AddColumn(u"FCACIMPORTO"_s, u"Importo"_s, 100);
    AddColumn(u"DCACDATASCADENZA"_s, u"Data scadenza"_s, 110);
    AddColumn(u"DCACDATAPAGAMENTO"_s, u"Pagato"_s, 60);
    grMain->SetSortable(true);
    grMain->SetCellPainter(4, [this](QPainter *p, const QRect &cell, int row) { DrawPaid(p, cell, row); });

    xdeComponente = AddEdit(u"xdeComponente"_s, u"SCCALDESC"_s, u"Componente"_s, true);
    xneImportoOriginale = AddNumEdit(u"xneImportoOriginale"_s, u"FCCAIMPORTOIST"_s, u"Importo originale"_s, true);
    xddScadenza = AddDateEdit(u"xddScadenza"_s, u"DCACDATASCADENZA"_s, u"Data scadenza"_s);
    xddScadenza->OnValidate = TVtDBControl::Required(u"Il campo Data scadenza è obbligatorio."_s);
    xnePercSconto = AddNumEdit(u"xnePercSconto"_s, u"FCACPERCSCONTO"_s, u"Percentuale sconto"_s);
    xnePercSconto->OnValidate = EbdCacPercentValidation();
    xneImpSconto = AddNumEdit(u"xneImpSconto"_s, u"FCACIMPSCONTO"_s, u"Importo sconto"_s);
    xneImpSconto->OnValidate = [](const QVariant &value, QString &msg) {
        if (!EbdCacMoney(value).IsNegative())
            return true;
        msg = u"L'importo dello sconto non può essere negativo."_s;
        return false;
    };
    xneImportoDaPagare = AddNumEdit(u"xneImportoDaPagare"_s, u"FCACIMPORTO"_s, u"Importo da pagare"_s, true);
    xddPagamento = AddDateEdit(u"xddPagamento"_s, u"DCACDATAPAGAMENTO"_s, u"Data pagamento"_s);
    xdmNote = AddMemo(u"xdmNote"_s, u"BCACNOTE"_s, u"Note"_s);
    xneImportoDaDote = AddNumEdit(u"xneImportoDaDote"_s, u"FCACIMPDADOTE"_s, u"Importo da dote"_s, true);
    xdlTipoPagamento = AddLookup(u"xdlTipoPagamento"_s, u"IMPGID"_s, u"Tipo di pagamento\n(se diverso dal generale)"_s,
                                 PaymentModeList, u"TMpg.iMpgId"_s, u"TMpg.sMpgDescL"_s);
    xdlTipoPagamento->SetSearchForm(u"Tipi di pagamento"_s, 420, {{u"SMPGDESCS"_s, u"Codice"_s, 90, true},
                                                                {u"SMPGDESCL"_s, u"Tipo Pagamento"_s, 260, true}});
    for (TVtDBNumEdit *e : {xneImportoOriginale, xneImportoDaPagare, xneImportoDaDote, xneImpSconto})
        e->DisplayFormat = u"#,###.00"_s;
    // "Importo da pagare" follows every key the user types in a discount.
    for (TVtDBNumEdit *e : {xnePercSconto, xneImpSconto})
        connect(e->LineEdit(), &QLineEdit::textEdited, this, [this] { VtGuard([this] { RecomputeAmountToPay(); }); });

    // Instalments are made by the database.
    xacInsert->setVisible(false);
    xacInsert->SetLocked(true);
    acTogliDote = new QAction(u"Spalma dote"_s, this);
    acTogliDote->setObjectName(u"acTogliDote"_s);
    acTogliDoteCca = new QAction(u"Spalma dote sulla componente selezionata"_s, this);
    acTogliDoteCca->setObjectName(u"acTogliDoteCca"_s);
    tbActions->addSeparator();
    tbActions->addAction(acTogliDote);
    tbActions->addAction(acTogliDoteCca);
    connect(acTogliDote, &QAction::triggered, this, [this] { VtGuard([this] { Spread(false); }); });
    connect(acTogliDoteCca, &QAction::triggered, this, [this] { VtGuard([this] { Spread(true); }); });
    UpdateActions();
}

void TfrEbdCcaAcbCau::DrawPaid(QPainter *painter, const QRect &cell, int row) const
{
    TVtQueryCollection *ds = DataSet();
    if (!ds || row < 0 || ds->RowValue(row, FieldByName(u"DCACDATAPAGAMENTO"_s)->Index).isNull())
        return;
    const QPixmap pm = Images[PaidImage].pixmap(16, 16);
    painter->drawPixmap(cell.left() + 12, cell.top() + 2, pm);
}

void TfrEbdCcaAcbCau::RecomputeAmountToPay()
{
    TVtQueryCollection *ds = DataSet();
    if (!ds || !xdsMain->Editing())
        return;
    const TVtMoney percent = Typed(xnePercSconto);
    const TEbdCacParts parts{EbdCacMoney(FieldByName(u"FCCAIMPORTOIST"_s)->Value()), percent.ToDouble(), Typed(xneImpSconto),
                             EbdCacMoney(FieldByName(u"FCACIMPDADOTE"_s)->Value()), Advances(FieldByName(u"ICACID"_s)->Value())};
    FieldByName(u"FCACIMPORTO"_s)->SetValue(EbdCacAmountToPay(parts).ToDouble());
}

// The holder's grants of the reasons' year over its instalments; the list
// shows the database as it is afterwards, whatever happened.
void TfrEbdCcaAcbCau::Spread(bool selectedOnly)
{
    TVtQueryCollection *ds = DataSet();
    if (!ds || !ds->Active() || ds->IsEmpty() || !ds->CheckBrowseModeOk())
        return;
    const int holder = FieldByName(u"IACBID"_s)->AsInteger();
    const int only = selectedOnly ? FieldByName(u"ICACID"_s)->AsInteger() : 0;
    try {
        const TEbdSpreadResult done = EbdSpalmaDote(holder, TEbdContext::GetOr0(TEbdCtx::CauAnsId), only);
        if (done.Grants == 0)
            VtMessageDlg(QString::fromUtf8(EbdNessunaDote), mtInformation, mbOK);
    } catch (const EVtException &e) {
        VtMessageDlg(QString::fromUtf8(EbdSpalmaturaNonEseguita) + u"\r\n"_s + e.Message(), mtError, mbOK);
    }
    ds->Refresh();
}

void TfrEbdCcaAcbCau::UpdateActions()
{
    TfrVtDBRWGrid::UpdateActions();
    TVtQueryCollection *ds = DataSet();
    const bool rows = xdsMain->State() == dsBrowse && ds && ds->Active() && !ds->IsEmpty();
    acTogliDote->setEnabled(rows);
    acTogliDoteCca->setEnabled(rows);
}

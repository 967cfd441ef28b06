#include "EbcRSprIst.h"
#include "EbdMAtt.h"
#include "EbdMConn.h"
#include "EbdUContext.h"
#include "EbdUGlobals.h"
#include "VtAttivazione.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDBLookupEdit.h"
#include "VtDataAction.h"
#include "VtMessageDlg.h"
#include "VtUtils.h"

#include <QGroupBox>

using namespace Qt::StringLiterals;

namespace {
const QString BankList = u" SELECT Ban.iBanId, Ban.sBanAbi, Ban.sBanDescS, iCbaId FROM TBan_Banche Ban WHERE ##WHERE##"_s;

// The branches of the chosen bank (-1 before any bank is chosen).
const QString BranchList =
    u" SELECT iSprId, sSprCab, sSprDescS, sSprIndirizzo, sComDesc, sSprIndirizzo || '-' || sComDesc || ' (' || "
    "sProSigla || ')' sIndCom FROM TSpr_SportelliCab Spr LEFT OUTER JOIN TSrpc ON (Spr.iSrpcId = TSrpc.iSrpcId) "
    "LEFT OUTER JOIN TCom_Comuni Com ON (Com.iComId = TSrpc.iComId) LEFT OUTER JOIN TPro_Province Pro ON "
    "(Pro.iProId = TSrpc.iProId) WHERE (##WHERE## AND (Spr.iBanId = :iBanIdSel))"_s;

const QColor ClosedText(255, 0, 0);
const QColor WorkingBackground(255, 255, 132);

QString ShortDate(const QDate &d)
{
    return TVtField::FormatValue(d, QMetaType::QDate, QString());
}
}

TfrEbcSprIst::TfrEbcSprIst(QWidget *parent)
    : TfrVtDBRWGrid(parent)
{
    setObjectName(u"frEbcSprIst"_s);
    AddColumn(u"SBANABI"_s, u"Codice ABI"_s, 90);
    AddColumn(u"SSPRCAB"_s, u"Codice CAB"_s, 90);
    AddColumn(u"SSPRISTNUMCC"_s, u"Numero conto"_s, 140);
    AddColumn(u"STIPOCONTO"_s, u"Tipo conto"_s, 110);

    xdlBanAbi = AddLookup(u"xdlBanAbi"_s, u"IBANID"_s, u"Codice ABI"_s, BankList, u"Ban.iBanId"_s, u"Ban.sBanAbi"_s);
    xdlBanAbi->SetSearchForm(u"Banche"_s, 500, {{u"SBANABI"_s, u"Codice"_s, 60, true},
                                               {u"SBANDESCS"_s, u"Descrizione"_s, 380, true}});
    xdlBanAbi->SetCopyFields({u"SBANABI"_s, u"SBANDESCS"_s, u"ICBAID"_s});
    xdlBanAbi->OnChangeFKValue = [this](TVtDBLookupEdit *, const QVariant &key) { xdlBanAbiChangeFKValue(key); };
    xdeBanDesc = AddEdit(u"xdeBanDesc"_s, u"SBANDESCS"_s, QString(), true);

    xdlSprCab = AddLookup(u"xdlSprCab"_s, u"ISPRID"_s, u"Codice CAB"_s, BranchList, u"Spr.iSprId"_s, u"Spr.sSprCab"_s);
    xdlSprCab->ListParams().CreateParam(QMetaType::Int, u"iBanIdSel"_s)->SetValue(-1);
    xdlSprCab->SetSearchForm(u"Sportelli"_s, 700, {{u"SSPRCAB"_s, u"Codice CAB"_s, 80, true},
                                                  {u"SSPRDESCS"_s, u"Descrizione"_s, 220, true},
                                                  {u"SSPRINDIRIZZO"_s, u"Indirizzo"_s, 200, false},
                                                  {u"SCOMDESC"_s, u"Comune"_s, 160, true}});
    xdlSprCab->SetCopyFields({u"SSPRCAB"_s, u"SSPRDESCS"_s, u"SINDCOM"_s});
    xdlSprCab->OnValidate = TVtDBControl::Required(u"Il codice CAB è obbligatorio."_s);
    xdeSprDesc = AddEdit(u"xdeSprDesc"_s, u"SSPRDESCS"_s, QString(), true);
    xdeSprInd = AddEdit(u"xdeSprInd"_s, u"SINDCOM"_s, QString(), true);

    xdeNumCc = AddEdit(u"xdeNumCc"_s, u"SSPRISTNUMCC"_s, u"Numero C/C"_s);
    xdeNumCc->SetInput(ecUpperCase, cfLettersDigits, 12);
    xdeNumCc->OnValidate = TVtDBControl::Required(u"Il numero di conto corrente è obbligatorio."_s);
    xdeNumCc->OnChange = [this](TVtDBControl *) { xdeNumCcChange(); };
    xdeCin = AddEdit(u"xdeCin"_s, u"SSPRISTCIN"_s, u"CIN"_s);
    xdeCin->SetInput(ecUpperCase, cfLetters);
    gbIBAN = BeginGroup(u"gbIBAN"_s, u" IBAN "_s);
    xdeStato = AddEdit(u"xdeStato"_s, u"SSPRISTSTATO"_s, u"Stato"_s);
    xdeStato->SetInput(ecUpperCase, cfLetters);
    xdeCinInt = AddEdit(u"xdeCinInt"_s, u"SSPRISTCININT"_s, u"CIN"_s);
    xdeCinInt->SetInput(ecNormal, cfDigits);
    EndGroup();

    xddInizio = AddDateEdit(u"xddInizio"_s, u"DSTART"_s, u"Data apertura conto"_s);
    xddInizio->OnValidate = [this](const QVariant &v, QString &msg) { return xddInizioValidate(v, msg); };
    xddFine = AddDateEdit(u"xddFine"_s, u"DEND"_s, u"Data chiusura conto"_s);
    xddFine->OnValidate = [this](const QVariant &v, QString &msg) { return xddFineValidate(v, msg); };
    xddFine->OnChange = [this](TVtDBControl *) {
        if (xdsMain->State() == dsInsert)   // a new account is always stored open
            FieldByName(u"DEND"_s)->Clear();
    };
    xdeSprIntest = AddEdit(u"xdeSprIntest"_s, u"SSPRISTINTEST"_s, u"Intestatario C/C"_s);

    acShowClosed = AddToggle(u"acShowClosed"_s, u"&Mostra conti chiusi"_s, u"Conto"_s, [this](bool on) {
        DataSet()->SetFiltered(!on);
        grMain->viewport()->update();
    });
    xdsMain->OnDataChange = [this](TVtDataSource *, TVtField *field) { xdsMainDataChange(field); };
    xdsMain->OnStateChange = [this](TVtDataSource *) { xdsMainStateChange(); };
    grMain->OnRowColors() = [this](int row, QColor &text, QColor &background) { grMainRowColors(row, text, background); };
}

int TfrEbcSprIst::RowId() const
{
    return FieldByName(u"ISPRISTID"_s)->AsInteger();
}

bool TfrEbcSprIst::ClosingChanged() const
{
    return DataSet() && DataSet()->EditFlag(TdmEbdConn::SprIstClosingChanged);
}

bool TfrEbcSprIst::IsWorkingAccount() const
{
    return DataSet() && DataSet()->Active() && RowId() != 0 && RowId() == TEbdContext::GetOr0(TEbdCtx::SprIstId);
}

int TfrEbcSprIst::NumberLength() const
{
    return FieldByName(u"ICBAID"_s)->AsInteger() == PostOfficeCategory ? 8 : 12;
}

QString TfrEbcSprIst::PaddedNumber(const QString &number, int length)
{
    return number.isEmpty() || number.size() >= length ? number : number.rightJustified(length, QLatin1Char('0'));
}

// What the row's bank decides: the branches on offer, the IBAN group, the number's length.
void TfrEbcSprIst::ShowRowKind()
{
    const QVariant bank = FieldByName(u"IBANID"_s)->Value();
    TVtParam *branches = xdlSprCab->ListParams().FindParam(u"iBanIdSel"_s);
    if (bank.isNull() || branches->Value().toInt() != bank.toInt()) {
        branches->SetValue(bank.isNull() ? -1 : bank.toInt());
        xdlSprCab->RefreshList();
    }
    SetIBANShown(bank.toInt() != CashBankId);
    xdeNumCc->SetMaxLength(NumberLength());
}

void TfrEbcSprIst::SetIBANShown(bool on)
{
    m_ibanShown = on;
    for (QWidget *w : std::initializer_list<QWidget *>{xdeCin, gbIBAN, xddFine})
        SetDetailVisible(w, on);
}

// A closed account can only be reopened.
void TfrEbcSprIst::SetAccountReadOnly(bool on)
{
    for (TVtDBControl *c : DetailControls())
        if (c != xddFine)
            c->SetReadOnly(on || c == xdeBanDesc || c == xdeSprDesc || c == xdeSprInd);
}

void TfrEbcSprIst::xdsMainDataChange(TVtField *field)
{
    if (m_inDataChange || !DataSet()->Active())
        return;
    m_inDataChange = true;
    ShowRowKind();
    if (!field || field->FieldName == QLatin1String("ISPRISTID"))
        SetAccountReadOnly(RowId() != 0 && SprIstIsClosed(RowId()));
    m_inDataChange = false;
}

void TfrEbcSprIst::xdsMainStateChange()
{
    if (xdsMain->State() == dsInsert) {
        SetIBANShown(true);
        SetAccountReadOnly(false);
    } else if (xdsMain->State() == dsBrowse) {
        ShowRowKind();
    }
}

// A branch of another bank no longer belongs to the account; the cash
// pseudo-bank has its one branch, a number of zeros, no holder and no IBAN.
void TfrEbcSprIst::xdlBanAbiChangeFKValue(const QVariant &key)
{
    if (key.isNull())
        return;
    ShowRowKind();
    const QVariant branch = FieldByName(u"ISPRID"_s)->Value();
    if (!branch.isNull() && !xdlSprCab->SeekByID(branch))
        xdlSprCab->ClearKey();
    TVtField *number = FieldByName(u"SSPRISTNUMCC"_s);
    if (key.toInt() != CashBankId) {
        if (number->AsString().size() > NumberLength())
            number->Clear();
        return;
    }
    xdlSprCab->SetKeyValue(CashBranchId);
    number->SetAsString(QString(12, QLatin1Char('0')));
    FieldByName(u"SSPRISTINTEST"_s)->Clear();
}

// The number is kept at the full length of its bank kind.
void TfrEbcSprIst::xdeNumCcChange()
{
    TVtField *number = FieldByName(u"SSPRISTNUMCC"_s);
    const QString padded = PaddedNumber(number->AsString(), NumberLength());
    if (padded != number->AsString())
        number->SetAsString(padded);
}

bool TfrEbcSprIst::xddInizioValidate(const QVariant &value, QString &message)
{
    const QDate first = xdsMain->State() == dsEdit ? GetMvmDateBound(RowId(), u"MIN"_s) : QDate();
    if (value.isNull())
        message = u"La data di apertura del conto è obbigatoria."_s;
    else if (first.isValid() && value.toDate() > first)
        message = u"La data di apertura del conto dev'essere minore o uguale a %1."_s.arg(ShortDate(first));
    return message.isEmpty();
}

bool TfrEbcSprIst::CancelClosing()
{
    xacCancel->Execute();
    return true;
}

// Setting the closing date (after confirmation, with the movements window
// closed) or clearing it marks the edit for the closing procedure.
bool TfrEbcSprIst::xddFineValidate(const QVariant &value, QString &message)
{
    TVtField *end = FieldByName(u"DEND"_s);
    if (xdsMain->State() != dsEdit || (value.isNull() && end->IsNull()) || value.toDate() == end->AsDate())
        return true;
    DataSet()->SetEditFlag(TdmEbdConn::SprIstClosingChanged);
    if (value.isNull())
        return VtConfirm(u"ATTENZIONE !!!\r\nSi sta per annullare la data di chiusura del conto.\r\n"
                         "Al termine delle operazioni il conto tornerà ad essere aperto.\r\n\r\nProcedere?"_s)
               || CancelClosing();
    const QDate closing = value.toDate();
    const QDate opening = FieldByName(u"DSTART"_s)->AsDate();
    const QDate last = GetMvmDateBound(RowId(), u"MAX"_s);
    if (opening.isValid() && opening > closing)
        message = u"La data di chiusura del conto non può precedere quella di apertura."_s;
    else if (last.isValid() && closing < last)
        message = u"La data di chiusura del conto dev'essere maggiore o uguale a %1."_s.arg(ShortDate(last));
    if (!message.isEmpty())
        return false;
    if (!VtConfirm(u"ATTENZIONE !!!\r\nSi sta per avviare la procedura di chiusura del conto corrente.\r\n"
                   "Effettuata la chiusura, non sarà più possibile inserire/modificare/cancellare\r\n"
                   "movimenti dal conto in questione.\r\n\r\nProcedere?"_s))
        return CancelClosing();
    // The billing window, whichever command opened it.
    const QString billingClass = dmEbdAtt ? dmEbdAtt->xafMovimenti->ClasseForm : u"TfmEbdAluGen"_s;
    if (QWidget *billing = FindForm(billingClass)) {
        VtMessageDlg(u"Impossibile procedere con la chiusura del conto\r\nin quanto la finestra %1 è aperta."_s.arg(billing->windowTitle()),
                     mtWarning, mbOK);
        return CancelClosing();
    }
    return true;
}

void TfrEbcSprIst::UpdateActions()
{
    TfrVtDBRWGrid::UpdateActions();
    xacDelete->SetAvailable(xdsMain->State() == dsBrowse && DataSet() && DataSet()->Active() && !DataSet()->IsEmpty());
}

void TfrEbcSprIst::grMainRowColors(int row, QColor &text, QColor &background) const
{
    const QVariant end = DataSet()->RowValue(row, FieldByName(u"DEND"_s)->Index);
    const QVariant id = DataSet()->RowValue(row, FieldByName(u"ISPRISTID"_s)->Index);
    if (acShowClosed->isChecked() && !end.isNull())
        text = ClosedText;
    if (DataSet()->RecordCount() > 1 && !id.isNull() && id.toInt() == TEbdContext::GetOr0(TEbdCtx::SprIstId))
        background = WorkingBackground;
}

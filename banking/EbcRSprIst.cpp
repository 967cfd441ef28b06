#include "EbcRSprIst.h"
#include "EbdMAtt.h"
#include "EbdUContext.h"
#include "EbdMConn.h"
#include "EbdUGlobals.h"
#include "VtAttivazione.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDBLookupEdit.h"
#include "VtDataSource.h"
#include "VtField.h"
#include "VtMessageDlg.h"
#include "VtParams.h"
#include "VtQueryCollection.h"
#include "VtSQLQuery.h"
#include "VtDataAction.h"
#include "fmVtSearch.h"

#include <QAction>
#include <QFormLayout>
#include <QGroupBox>
#include <QToolBar>

namespace {
const char *const BankList = " SELECT Ban.iBanId, Ban.sBanAbi, Ban.sBanDescS, iCbaId FROM TBan_Banche Ban WHERE ##WHERE##";

// The branches of the chosen bank (-1 before any bank is chosen).
const char *const BranchList =
    " SELECT iSprId, sSprCab, sSprDescS, sSprIndirizzo, sComDesc, sSprIndirizzo || '-' || sComDesc || ' (' || "
    "sProSigla || ')' sIndCom FROM TSpr_SportelliCab Spr LEFT OUTER JOIN TSrpc ON (Spr.iSrpcId = TSrpc.iSrpcId) "
    "LEFT OUTER JOIN TCom_Comuni Com ON (Com.iComId = TSrpc.iComId) LEFT OUTER JOIN TPro_Province Pro ON "
    "(Pro.iProId = TSrpc.iProId) WHERE (##WHERE## AND (Spr.iBanId = :iBanIdSel))";

// Movements of an account inside one of its financial years: the cash row of
// the account whose period (1 January to 31 December of its year unless
// given) holds the movement date, and the financial year of that row.
const char *const MovementDates =
    " SELECT %1(Mvm.dMvmDataMov) FROM TMvm_MovimentiCcp Mvm INNER JOIN TCai_CassaIst Cai ON "
    "((Cai.iSprIstId = Mvm.iSprIstId) AND (Mvm.dMvmDataMov BETWEEN COALESCE(Cai.dCaiInizioAnno, "
    "CAST(Cai.iCaiEsercizioFin || '-01-01' AS DATE)) AND COALESCE(Cai.dCaiFineAnno, "
    "CAST(Cai.iCaiEsercizioFin || '-12-31' AS DATE)))) INNER JOIN TAnf_AnniFinanz Anf ON "
    "(Anf.iAnfValore = Cai.iCaiEsercizioFin) WHERE Mvm.iSprIstId = :iSprIstId";

const QColor ClosedText(255, 0, 0);
const QColor WorkingBackground(255, 255, 132);

void SetSearchColumn(TfmVtSearch *form, const QString &field, const QString &title, int width, bool indexed,
                     bool visible = true)
{
    TVtSearchField *f = form->GetFields()->FindField(field);
    if (!f)
        f = form->GetFields()->Add(field);
    f->Title = title;
    f->Width = width;
    f->Indexed = indexed;
    f->Visible = visible;
}

QString MovimentiCaption()
{
    if (dmEbdAtt && dmEbdAtt->xafMovimenti)
        return dmEbdAtt->xafMovimenti->Caption();
    return QStringLiteral("Movimenti");
}
}

TfrEbcSprIst::TfrEbcSprIst(QWidget *parent)
    : TfrVtDBRWGrid(parent)
{
    setObjectName(QStringLiteral("frEbcSprIst"));
    AddColumn(QStringLiteral("SBANABI"), QStringLiteral("Codice ABI"), 90);
    AddColumn(QStringLiteral("SSPRCAB"), QStringLiteral("Codice CAB"), 90);
    AddColumn(QStringLiteral("SSPRISTNUMCC"), QStringLiteral("Numero conto"), 140);
    AddColumn(QStringLiteral("STIPOCONTO"), QStringLiteral("Tipo conto"), 110);
    BuildControls();

    xdsMain->OnDataChange = [this](TVtDataSource *, TVtField *field) { xdsMainDataChange(field); };
    xdsMain->OnStateChange = [this](TVtDataSource *) { xdsMainStateChange(); };
    grMain->OnRowColors() = [this](int row, QColor &text, QColor &background) { grMainRowColors(row, text, background); };

    acShowClosed = new QAction(QStringLiteral("&Mostra conti chiusi"), this);
    acShowClosed->setObjectName(QStringLiteral("acShowClosed"));
    acShowClosed->setProperty("Category", QStringLiteral("Conto"));
    acShowClosed->setCheckable(true);
    connect(acShowClosed, &QAction::toggled, this, [this](bool on) { acShowClosedExecute(on); });
    tbActions->addSeparator();
    tbActions->addAction(acShowClosed);

    if (dmEbdConn) {
        dmEbdConn->SprIstClosingChanged = [this] { return m_closingChanged; };
        dmEbdConn->SprIstIsWorkingAccount = [this] { return m_isWorkingAccount; };
    }
    ReloadBranchList(-1);
}

TfrEbcSprIst::~TfrEbcSprIst()
{
    if (dmEbdConn) {
        dmEbdConn->SprIstClosingChanged = nullptr;
        dmEbdConn->SprIstIsWorkingAccount = nullptr;
    }
}

void TfrEbcSprIst::BuildControls()
{
    xdlBanAbi = AddLookup(QStringLiteral("IBANID"), QStringLiteral("Codice ABI"), QString::fromLatin1(BankList),
                          QStringLiteral("Ban.iBanId"), QStringLiteral("Ban.sBanAbi"));
    xdlBanAbi->setObjectName(QStringLiteral("xdlBanAbi"));
    xdlBanAbi->OnShowSearchForm = [](TVtDBLookupEdit *, TfmVtSearch *form) {
        form->SetCaption(QStringLiteral("Banche"));
        form->SetWidth(500);
        SetSearchColumn(form, QStringLiteral("IBANID"), QString(), 0, false, false);
        SetSearchColumn(form, QStringLiteral("SBANABI"), QStringLiteral("Codice"), 60, true);
        SetSearchColumn(form, QStringLiteral("SBANDESCS"), QStringLiteral("Descrizione"), 380, true);
        SetSearchColumn(form, QStringLiteral("ICBAID"), QString(), 0, false, false);
    };
    xdlBanAbi->OnChangeFKValue = [this](TVtDBLookupEdit *, const QVariant &key) { xdlBanAbiChangeFKValue(key); };
    xdeBanDesc = AddEdit(QStringLiteral("SBANDESCS"), QString(), true);
    xdeBanDesc->setObjectName(QStringLiteral("xdeBanDesc"));

    xdlSprCab = AddLookup(QStringLiteral("ISPRID"), QStringLiteral("Codice CAB"), QString::fromLatin1(BranchList),
                          QStringLiteral("Spr.iSprId"), QStringLiteral("Spr.sSprCab"));
    xdlSprCab->setObjectName(QStringLiteral("xdlSprCab"));
    xdlSprCab->ListParams().CreateParam(QMetaType::Int, QStringLiteral("iBanIdSel"))->SetValue(-1);
    xdlSprCab->OnShowSearchForm = [](TVtDBLookupEdit *, TfmVtSearch *form) {
        form->SetCaption(QStringLiteral("Sportelli"));
        form->SetWidth(700);
        SetSearchColumn(form, QStringLiteral("ISPRID"), QString(), 0, false, false);
        SetSearchColumn(form, QStringLiteral("SSPRCAB"), QStringLiteral("Codice CAB"), 80, true);
        SetSearchColumn(form, QStringLiteral("SSPRDESCS"), QStringLiteral("Descrizione"), 220, true);
        SetSearchColumn(form, QStringLiteral("SSPRINDIRIZZO"), QStringLiteral("Indirizzo"), 200, false);
        SetSearchColumn(form, QStringLiteral("SCOMDESC"), QStringLiteral("Comune"), 160, true);
        SetSearchColumn(form, QStringLiteral("SINDCOM"), QString(), 0, false, false);
    };
    xdlSprCab->OnChangeFKValue = [this](TVtDBLookupEdit *, const QVariant &key) { xdlSprCabChangeFKValue(key); };
    xdlSprCab->OnValidate = TVtDBControl::Required(QStringLiteral("Il codice CAB è obbligatorio."));
    xdeSprDesc = AddEdit(QStringLiteral("SSPRDESCS"), QString(), true);
    xdeSprDesc->setObjectName(QStringLiteral("xdeSprDesc"));
    xdeSprInd = AddEdit(QStringLiteral("SINDCOM"), QString(), true);
    xdeSprInd->setObjectName(QStringLiteral("xdeSprInd"));

    xdeNumCc = AddEdit(QStringLiteral("SSPRISTNUMCC"), QStringLiteral("Numero C/C"));
    xdeNumCc->setObjectName(QStringLiteral("xdeNumCc"));
    xdeNumCc->SetCharCase(ecUpperCase);
    xdeNumCc->SetFilter(cfLettersDigits);
    xdeNumCc->SetMaxLength(12);
    xdeNumCc->OnValidate = TVtDBControl::Required(QStringLiteral("Il numero di conto corrente è obbligatorio."));
    xdeNumCc->OnChange = [this](TVtDBControl *) { xdeNumCcChange(); };

    xdeCin = AddEdit(QStringLiteral("SSPRISTCIN"), QStringLiteral("CIN"));
    xdeCin->setObjectName(QStringLiteral("xdeCin"));
    xdeCin->SetCharCase(ecUpperCase);
    xdeCin->SetFilter(cfLetters);

    // The IBAN group: country code and check digits.
    gbIBAN = new QGroupBox(QStringLiteral(" IBAN "), this);
    gbIBAN->setObjectName(QStringLiteral("gbIBAN"));
    auto *ibanLayout = new QFormLayout(gbIBAN);
    xdeStato = new TVtDBEdit(gbIBAN);
    xdeStato->setObjectName(QStringLiteral("xdeStato"));
    xdeStato->Bind(xdsMain, QStringLiteral("SSPRISTSTATO"));
    xdeStato->SetCharCase(ecUpperCase);
    xdeStato->SetFilter(cfLetters);
    xdeCinInt = new TVtDBEdit(gbIBAN);
    xdeCinInt->setObjectName(QStringLiteral("xdeCinInt"));
    xdeCinInt->Bind(xdsMain, QStringLiteral("SSPRISTCININT"));
    xdeCinInt->SetFilter(cfDigits);
    ibanLayout->addRow(QStringLiteral("Stato:"), xdeStato);
    ibanLayout->addRow(QStringLiteral("CIN:"), xdeCinInt);
    AddDetailWidget(QString(), gbIBAN);

    xddInizio = AddDateEdit(QStringLiteral("DSTART"), QStringLiteral("Data apertura conto"));
    xddInizio->setObjectName(QStringLiteral("xddInizio"));
    xddInizio->OnValidate = [this](const QVariant &v, QString &msg) { return xddInizioValidate(v, msg); };
    xddFine = AddDateEdit(QStringLiteral("DEND"), QStringLiteral("Data chiusura conto"));
    xddFine->setObjectName(QStringLiteral("xddFine"));
    xddFine->OnValidate = [this](const QVariant &v, QString &msg) { return xddFineValidate(v, msg); };
    xddFine->OnChange = [this](TVtDBControl *) { xddFineChange(); };
    xdeSprIntest = AddEdit(QStringLiteral("SSPRISTINTEST"), QStringLiteral("Intestatario C/C"));
    xdeSprIntest->setObjectName(QStringLiteral("xdeSprIntest"));
}

TVtField *TfrEbcSprIst::Field(const char *name) const
{
    TVtQueryCollection *ds = DataSet();
    return ds ? ds->FindField(QString::fromLatin1(name)) : nullptr;
}

QVariant TfrEbcSprIst::RowBankId() const
{
    TVtField *f = Field("IBANID");
    return f ? f->Value() : QVariant();
}

int TfrEbcSprIst::NumberLength() const
{
    TVtField *cba = Field("ICBAID");
    return cba && cba->AsInteger() == PostOfficeCategory ? 8 : 12;
}

QString TfrEbcSprIst::PaddedNumber(const QString &number, int length)
{
    return number.isEmpty() || number.size() >= length ? number : number.rightJustified(length, QLatin1Char('0'));
}

bool TfrEbcSprIst::SprIstIsClosed(int iSprIstId)
{
    TSQLQuery q;
    q.SQL = QStringLiteral(" SELECT %1 FROM TSprIst WHERE iSprIstId = :iSprIstId").arg(QStringLiteral("dEnd"));
    q.Params().CreateParam(QMetaType::Int, QStringLiteral("iSprIstId"))->SetAsInteger(iSprIstId);
    q.Open();
    const bool closed = !q.Eof() && !q.Fields(0).isNull();
    q.Close();
    return closed;
}

QDate TfrEbcSprIst::MovementDate(int iSprIstId, bool latest)
{
    TSQLQuery q;
    q.SQL = QString::fromLatin1(MovementDates).arg(latest ? QStringLiteral("MAX") : QStringLiteral("MIN"));
    q.Params().CreateParam(QMetaType::Int, QStringLiteral("iSprIstId"))->SetAsInteger(iSprIstId);
    q.Open();
    const QDate d = q.Eof() ? QDate() : q.Fields(0).toDate();
    q.Close();
    return d;
}

void TfrEbcSprIst::ReloadBranchList(const QVariant &bankId)
{
    const int bank = bankId.isNull() ? -1 : bankId.toInt();
    TVtParam *p = xdlSprCab->ListParams().FindParam(QStringLiteral("iBanIdSel"));
    if (p->Value().isValid() && p->Value().toInt() == bank && bank != -1)
        return;
    p->SetValue(bank);
    if (DataSet() && DataSet()->Active())
        xdlSprCab->RefreshList();
}

void TfrEbcSprIst::SetIBANShown(bool on)
{
    m_ibanShown = on;
    SetDetailVisible(xdeCin, on);
    SetDetailVisible(gbIBAN, on);
    SetDetailVisible(xddFine, on);
}

void TfrEbcSprIst::SetAccountReadOnly(bool on)
{
    for (TVtDBControl *c : {static_cast<TVtDBControl *>(xdlBanAbi), static_cast<TVtDBControl *>(xdlSprCab),
                            static_cast<TVtDBControl *>(xdeNumCc), static_cast<TVtDBControl *>(xdeCin),
                            static_cast<TVtDBControl *>(xdeStato), static_cast<TVtDBControl *>(xdeCinInt),
                            static_cast<TVtDBControl *>(xdeSprIntest), static_cast<TVtDBControl *>(xddInizio)})
        c->SetReadOnly(on);
}

// Current row (or one of its fields) changed.
void TfrEbcSprIst::xdsMainDataChange(TVtField *field)
{
    if (m_inDataChange || !DataSet() || !DataSet()->Active())
        return;
    m_inDataChange = true;
    const QVariant bank = RowBankId();
    ReloadBranchList(bank);
    SetIBANShown(bank.isNull() || bank.toInt() != CashBankId);
    xdeNumCc->SetMaxLength(NumberLength());

    TVtField *key = Field("ISPRISTID");
    const int id = key && !key->IsNull() ? key->AsInteger() : 0;
    if (!field && dmEbdConn && dmEbdConn->xqcCai && !dmEbdConn->xqcCai->CommandText.isEmpty()) {
        TVtQueryCollection *cai = dmEbdConn->xqcCai;
        cai->Close();
        cai->Params().ParamByName(QStringLiteral("iSprIstId"))->SetAsInteger(id);
        cai->Open();
    }
    if (!field || field == key)
        SetAccountReadOnly(id != 0 && SprIstIsClosed(id));
    m_isWorkingAccount = id != 0 && id == TEbdContext::GetOr0(TEbdCtx::SprIstId);
    m_inDataChange = false;
}

void TfrEbcSprIst::xdsMainStateChange()
{
    const TVtDataSetState state = xdsMain->State();
    if (state == dsInsert) {
        SetIBANShown(true);
        SetAccountReadOnly(false);
    } else if (state == dsBrowse) {
        m_closingChanged = false;
        const QVariant bank = RowBankId();
        SetIBANShown(bank.isNull() || bank.toInt() != CashBankId);
        ReloadBranchList(bank);
    }
}

void TfrEbcSprIst::xdlBanAbiChangeFKValue(const QVariant &key)
{
    if (key.isNull() || key.toInt() == -1)
        return;
    TVtQueryCollection *list = xdlBanAbi->ListDataSet();
    Field("SBANABI")->SetValue(list->FieldByName(QStringLiteral("SBANABI"))->Value());
    Field("SBANDESCS")->SetValue(list->FieldByName(QStringLiteral("SBANDESCS"))->Value());
    Field("ICBAID")->SetValue(list->FieldByName(QStringLiteral("ICBAID"))->Value());
    // A branch of another bank no longer belongs to the account.
    TVtField *branch = Field("ISPRID");
    ReloadBranchList(key);
    if (!branch->IsNull() && !xdlSprCab->SeekByID(branch->Value())) {
        branch->Clear();
        Field("SSPRCAB")->Clear();
        Field("SSPRDESCS")->Clear();
        Field("SINDCOM")->Clear();
    }
    if (key.toInt() != CashBankId) {
        SetIBANShown(true);
        xdeNumCc->SetMaxLength(NumberLength());
        TVtField *number = Field("SSPRISTNUMCC");
        if (number->AsString().size() > NumberLength())
            number->Clear();
        return;
    }
    // The cash pseudo-bank: its one branch, a number of zeros, no holder, no IBAN.
    xdlSprCab->SetKeyValue(CashBranchId);
    xdeNumCc->SetMaxLength(12);
    Field("SSPRISTNUMCC")->SetAsString(QString(12, QLatin1Char('0')));
    Field("SSPRISTINTEST")->Clear();
    SetIBANShown(false);
}

void TfrEbcSprIst::xdlSprCabChangeFKValue(const QVariant &key)
{
    if (key.isNull() || key.toInt() == -1)
        return;
    TVtQueryCollection *list = xdlSprCab->ListDataSet();
    Field("SSPRCAB")->SetValue(list->FieldByName(QStringLiteral("SSPRCAB"))->Value());
    Field("SSPRDESCS")->SetValue(list->FieldByName(QStringLiteral("SSPRDESCS"))->Value());
    Field("SINDCOM")->SetValue(list->FieldByName(QStringLiteral("SINDCOM"))->Value());
}

// The number is kept at the full length of its bank kind.
void TfrEbcSprIst::xdeNumCcChange()
{
    TVtField *number = Field("SSPRISTNUMCC");
    const QString padded = PaddedNumber(number->AsString(), NumberLength());
    if (padded != number->AsString())
        number->SetAsString(padded);
}

bool TfrEbcSprIst::xddInizioValidate(const QVariant &value, QString &message)
{
    if (value.isNull()) {
        message = QStringLiteral("La data di apertura del conto è obbigatoria.");
        return false;
    }
    if (xdsMain->State() != dsEdit)
        return true;
    const QDate first = MovementDate(Field("ISPRISTID")->AsInteger(), false);
    if (first.isValid() && value.toDate() > first) {
        message = QStringLiteral("La data di apertura del conto dev'essere minore o uguale a %1.")
                      .arg(first.toString(QStringLiteral("dd/MM/yyyy")));
        return false;
    }
    return true;
}

void TfrEbcSprIst::xddFineChange()
{
    if (xdsMain->State() == dsInsert) {
        // A new account is always stored open.
        Field("DEND")->Clear();
        return;
    }
    if (xdsMain->State() == dsEdit)
        m_closingChanged = true;
}

void TfrEbcSprIst::CancelClosing()
{
    m_closingChanged = false;
    xacCancel->Execute();
}

bool TfrEbcSprIst::xddFineValidate(const QVariant &value, QString &message)
{
    if (xdsMain->State() != dsEdit)
        return true;
    TVtField *end = Field("DEND");
    if (value.toDate() != end->AsDate() || value.isNull() != end->IsNull())
        m_closingChanged = true;
    if (!value.isNull()) {
        const QDate closing = value.toDate();
        const QDate opening = Field("DSTART")->AsDate();
        if (opening.isValid() && opening > closing) {
            message = QStringLiteral("La data di chiusura del conto non può precedere quella di apertura.");
            return false;
        }
        const QDate last = MovementDate(Field("ISPRISTID")->AsInteger(), true);
        if (last.isValid() && closing < last) {
            message = QStringLiteral("La data di chiusura del conto dev'essere maggiore o uguale a %1.")
                          .arg(last.toString(QStringLiteral("dd/MM/yyyy")));
            return false;
        }
        if (VtMessageDlg(QStringLiteral("ATTENZIONE !!!\r\nSi sta per avviare la procedura di chiusura del conto corrente.\r\n"
                                        "Effettuata la chiusura, non sarà più possibile inserire/modificare/cancellare\r\n"
                                        "movimenti dal conto in questione.\r\n\r\nProcedere?"),
                         mtConfirmation, mbYes | mbNo | mbDefNo) != mrYes) {
            CancelClosing();
            return true;
        }
        const QString movimenti = MovimentiCaption();
        if (FindFormByCaption(movimenti)) {
            VtMessageDlg(QStringLiteral("Impossibile procedere con la chiusura del conto\r\nin quanto la finestra %1 è aperta.")
                             .arg(movimenti),
                         mtWarning, mbOK);
            CancelClosing();
        }
        return true;
    }
    if (m_closingChanged
        && VtMessageDlg(QStringLiteral("ATTENZIONE !!!\r\nSi sta per annullare la data di chiusura del conto.\r\n"
                                       "Al termine delle operazioni il conto tornerà ad essere aperto.\r\n\r\nProcedere?"),
                        mtConfirmation, mbYes | mbNo | mbDefNo) != mrYes)
        CancelClosing();
    return true;
}

void TfrEbcSprIst::UpdateActions()
{
    TfrVtDBRWGrid::UpdateActions();
    TVtQueryCollection *ds = DataSet();
    xacDelete->SetAvailable(xdsMain->State() == dsBrowse && ds && ds->Active() && !ds->IsEmpty());
}

void TfrEbcSprIst::acShowClosedExecute(bool on)
{
    if (TVtQueryCollection *ds = DataSet())
        ds->SetFiltered(!on);
    grMain->viewport()->update();
}

void TfrEbcSprIst::grMainRowColors(int row, QColor &text, QColor &background) const
{
    TVtQueryCollection *ds = DataSet();
    if (!ds)
        return;
    TVtField *end = ds->FindField(QStringLiteral("DEND"));
    TVtField *key = ds->FindField(QStringLiteral("ISPRISTID"));
    if (acShowClosed->isChecked() && end && !ds->RowValue(row, end->Index).isNull())
        text = ClosedText;
    if (ds->RecordCount() > 1 && key) {
        const QVariant id = ds->RowValue(row, key->Index);
        if (!id.isNull() && id.toInt() == TEbdContext::GetOr0(TEbdCtx::SprIstId))
            background = WorkingBackground;
    }
}

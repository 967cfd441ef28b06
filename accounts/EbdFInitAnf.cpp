#include "EbdFInitAnf.h"
#include "EbdMConn.h"
#include "EbdUContext.h"
#include "EbdUGlobals.h"
#include "VtDatabaseError.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtMoneyEdit.h"
#include "VtQueryCollection.h"
#include "VtSQLConnection.h"
#include "VtSQLQuery.h"
#include "VtTransaction.h"
#include "VtWaitCursor.h"
#include "VtWaitWindow.h"
#include "fmVtMDIMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
// The amount rows, 24 pixels apart, below the group's title.
constexpr int RowTop = 30;
constexpr int RowStep = 24;
constexpr int LabelLeft = 16;
constexpr int LabelWidth = 190;
constexpr int EditLeft = 220;
constexpr int EditWidth = 150;

// The typologies the opening of a year carries: Tasse, Contributi, Quote, Diversi.
constexpr int FirstCarried = 1;
constexpr int LastCarried = 4;

const QString Years =
    u"SELECT Anf.iAnfId, CAST(Anf.iAnfValore AS VARCHAR(4)) sAnfAnnoDesc FROM TAnf_AnniFinanz Anf INNER JOIN TSprIst "
    "Ist ON ((Anf.dAnfVeltoInizio >= Ist.dStart) OR ((Ist.dStart >= Anf.dAnfVeltoInizio) AND (Ist.dStart < "
    "Anf.dAnfVeltoFine))) WHERE Ist.iSprIstId = :iSprIstId ORDER BY Anf.iAnfValore"_s;
const QString LastOpened =
    u" SELECT MAX(Anf.iAnfId) nLastAnfId FROM TAnf_AnniFinanz Anf INNER JOIN TCai_CassaIst Cai ON "
    "(Cai.iCaiEsercizioFin = Anf.iAnfValore) WHERE Cai.iSprIstId = :iSprIstId"_s;
const QString Locked =
    u" SELECT iLocked FROM TCai_CassaIst WHERE (iSprIstId = :iSprIstId) AND (iCaiEsercizioFin = :iEsercizioFin)"_s;
// Listed by id, so that each amount goes to its own typology.
const QString Typologies =
    u"SELECT Tcc.iTccId, Tcc.sTccLDesc FROM TTcc_TipoCompCaus Tcc INNER JOIN TAns_AnniScolast Ans ON "
    "((Tcc.dStart <= Ans.dAnsVeltoInizio) AND ((Tcc.dEnd IS NULL) OR (Tcc.dEnd >= Ans.dAnsVeltoFine))) WHERE "
    "(Ans.iAnsId = :iAnsId) AND (Tcc.iTccId = Tcc.iTccId_P) ORDER BY Tcc.iTccId"_s;
const QString NeighbourSql =
    u"SELECT FIRST 1 COALESCE(cai.DCAIINIZIOANNO, CAST(cai.ICAIESERCIZIOFIN || '-01-01' AS DATE)) AS INIZIOUTENTE, "
    "anf.DANFVELTOINIZIO AS INIZIOVELTO, COALESCE(cai.DCAIFINEANNO, CAST(cai.ICAIESERCIZIOFIN || '-12-31' AS DATE)) "
    "AS FINEUTENTE, anf.DANFVELTOFINE AS FINEVELTO, cai.ICAIESERCIZIOFIN AS ANNOFIN FROM TCAI_CASSAIST cai LEFT JOIN "
    "TANF_ANNIFINANZ anf ON (cai.ICAIESERCIZIOFIN = anf.IANFVALORE) WHERE cai.ISPRISTID = :ISPRISTID AND "
    "cai.ICAIESERCIZIOFIN %1 :IANFVALORE ORDER BY cai.ICAIESERCIZIOFIN %2"_s;
const QString MovementsAfterSql = u"SELECT iMvmId FROM TMVM_MOVIMENTICCP WHERE dMvmDataMov > :dMvmDataMov;"_s;
// A cash row without typology rows is still an existing year.
const QString ExistingYear =
    u" SELECT Cai.iCaiId, Cai.fCaiCassaIn, Cai.fCaiCassaAtt, Cai.fCaiDiffIniz, Ccc.iTccId, Ccc.fCaiTccImportoIniz FROM "
    "TCai_CassaIst Cai LEFT JOIN TCaiTcc Ccc ON (Ccc.iCaiId = Cai.iCaiId) WHERE (Cai.iSprIstId = :iSprIstId) AND "
    "(Cai.iCaiEsercizioFin = :iEsercizioFin) ORDER BY Ccc.iTccId"_s;
const QString Payments =
    u"SELECT SUM(Cac.fCacImporto) FROM TCAC_CCAACBCAU Cac INNER JOIN TCCA_COMPCAUSALI Cca ON (Cca.iCcaId = "
    "Cac.iCcaId) INNER JOIN TTCC_TIPOCOMPCAUS Tcc ON (Tcc.iTccId = Cca.iTccId) INNER JOIN TAnf_AnniFinanz anf ON "
    "(Cac.dCacDataPagamento BETWEEN anf.dAnfVeltoInizio AND anf.dAnfVeltoFine) WHERE (Cac.iSprIstId = :iSprIstId) "
    "AND (anf.iAnfvalore = :iAnfValore) AND (Tcc.iTccId_p = :iTccId)"_s;
const QString OpenYearSql =
    u"EXECUTE PROCEDURE PEBC_INITANNOFIN (:ieserciziofin, :ispristid, :fsaldo, :ftasse, :fcontributi, :fquote, "
    ":fdiversi, :fdifferenze, :dinizioannofin, :dfineannofin)"_s;
const QString MovePreviousEndSql =
    u"UPDATE TCAI_CASSAIST SET DCAIFINEANNO = :DCAIFINEANNO WHERE ICAIESERCIZIOFIN = :IANFVALORE AND ISPRISTID = "
    ":ISPRISTID"_s;
// Written or added: a typology the row has no amount for would otherwise be lost.
const QString WriteTypology =
    u" UPDATE OR INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (:iCaiId, :iTccId, :fTccImporto) "
    "MATCHING (iCaiId, iTccId)"_s;
const QString WriteBalance =
    u" UPDATE TCai_CassaIst SET fCaiCassaIn = ( SELECT SUM(CaiTcc.fCaiTccImportoIniz) FROM TCaiTcc CaiTcc WHERE "
    "CaiTcc.iCaiId = :iCaiId),     fCaiDiffIniz = :fCaiDiffIniz WHERE TCai_CassaIst.iCaiId = :iCaiId"_s;

const QString Caption = u"Inizio anno finanziario"_s;
const QString WaitCaption = u"Calcolo dei riporti in corso. Attendere ..."_s;
const QString Question = u"Si vuole procedere con la creazione del nuovo anno finanziario?"_s;
const QString Done = u"Creazione del nuovo anno finanziario conclusa con successo."_s;
const QString Failed = u"Creazione del nuovo anno finanziario fallita."_s;
const QString EndNotAfterStart = u"La data di fine anno dev'essere maggiore della data di inizio."_s;
const QString LockedYear = u"Le operazioni di inizio anno per l'anno finanziario %1 sono già state fatte.\r\nScegliere un altro anno."_s;
const QString StartAfterYear =
    u"Attenzione ! \r\nLa data d'inizio non può essere accettata in quanto maggiore dell'anno finanziario selezionato. "_s;
const QString EndBeforeYear =
    u"Attenzione ! \r\nLa data di fine non può essere accettata in quanto minore dell'anno finanziario selezionato. "_s;
const QString StartNotAfterPrevious =
    u"Attenzione ! \r\nLa data d'inizio non può essere accettata, perchè non è successiva all'inizio dell'anno "
    "finanziario %1 (%2). "_s;
const QString Overlap =
    u"Attenzione ! \r\nLa data d'inizio non può essere accettata, perchè si sovrappone ad un anno finanziario già "
    "definito. \r\nModificare automaticamente la data di fine dell'anno %1 al %2? "_s;
const QString MovementsLater =
    u"Attenzione ! \r\nCi sono dei movimenti caricati in data successiva al %1. \r\nImpossibile modificare la data di "
    "fine anno %2. \r\nEliminare questi movimenti e rifare il nuovo anno. "_s;
const QString Gap =
    u"Attenzione ! \r\nIl tempo che intercorre tra il %1 e il %2 non rientra in nessun Anno Finanziario definito. "
    "\r\nContinuare ? "_s;
const QString GapRisk =
    u"Attenzione ! \r\nLa continuazione dell'operazione potrebbe comportare dei problemi al corretto funzionamento "
    "del programma. \r\nContinuare ? "_s;
const QString EndOverlap =
    u"Attenzione ! \r\nLa data di fine dell'Anno Finanziario non può essere accettata, perchè si sovrappone ad un anno "
    "finanziario già definito. \r\nL'anno finanziario può terminare al massimo il %1 . "_s;
const QString NotCarried =
    u"Attenzione ! \r\nLa tipologia %1 non può essere riportata: l'apertura dell'anno riporta solo le tipologie 1-4. "_s;

QString DateText(const QDate &d)
{
    return d.toString(u"dd/MM/yyyy"_s);
}

QVariant NullDate()
{
    return QVariant(QMetaType(QMetaType::QDate));
}

void IntParam(TSQLQuery &q, const QString &name, int value)
{
    q.Params().CreateParam(QMetaType::Int, name)->SetAsInteger(value);
}

void MoneyParam(TSQLQuery &q, const QString &name, const TVtMoney &value)
{
    q.Params().CreateParam(QMetaType::Double, name)->SetValue(value.ToVariant());
}

void DateParam(TSQLQuery &q, const QString &name, const QVariant &value)
{
    q.Params().CreateParam(QMetaType::QDate, name)->SetValue(value);
}

QDate DateOf(const QVariant &v)
{
    return v.isNull() ? QDate() : v.toDate();
}
}

TfmEbdInitAnf::TfmEbdInitAnf(QWidget *parent)
    : TfmVtWizard(parent)
{
    // 1-2: both flags clear, the pages' tabs hidden (the framework's wizard has none).
    setObjectName(u"fmEbdInitAnf"_s);
    setWindowTitle(Caption);
    setModal(true);
    AddPage(MakeSelAnfPage());
    AddPage(MakeRiportiPage());
    // 3-5: the account, its years, the year after the last one opened.
    m_account = TEbdContext::GetOr0(TEbdCtx::SprIstId);
    FillYears();
    PreselectNextYear();
    // 6: the dates only on request.
    cbPersonalizza->setVisible(true);
    cbPersonalizza->setChecked(false);
    gbDate->setVisible(false);
    // 7-8: the amount rows with their behaviour.
    BuildAmountRows();
    // 9: the calendar dates of the year, or of 1900.
    SetCalendarDates(cbAnno->currentIndex() >= 0 ? ChosenYear() : 1900);
    connect(cbAnno, &QComboBox::currentIndexChanged, this, [this] { YearChanged(); });
    connect(cbPersonalizza, &QCheckBox::toggled, gbDate, &QWidget::setVisible);
    SetActivePage(tsSelAnf);
    resize(520, qMax(380, sizeHint().height()));
}

// The edit with the focus loses it while the dialog goes: by then there is
// no wizard left to tell.
TfmEbdInitAnf::~TfmEbdInitAnf()
{
    for (const TAmountRow &row : m_rows) {
        row.Edit->removeEventFilter(this);
        disconnect(row.Edit, nullptr, this, nullptr);
    }
}

QWidget *TfmEbdInitAnf::MakeSelAnfPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(u"tsSelAnf"_s);
    auto *layout = new QVBoxLayout(page);
    auto *year = new QFormLayout;
    year->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    cbAnno = new QComboBox(page);
    cbAnno->setObjectName(u"cbAnno"_s);
    cbAnno->setMinimumWidth(120);
    year->addRow(u"Anno finanziario"_s, cbAnno);
    layout->addLayout(year);
    cbPersonalizza = new QCheckBox(u"Personalizza anno finanziario"_s, page);
    cbPersonalizza->setObjectName(u"cbPersonalizza"_s);
    layout->addWidget(cbPersonalizza);
    gbDate = new QGroupBox(u"Date anno finanziario"_s, page);
    gbDate->setObjectName(u"gbDate"_s);
    auto *dates = new QFormLayout(gbDate);
    dates->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    for (QDateEdit **edit : {&deInizio, &deFine}) {
        *edit = new QDateEdit(gbDate);
        (*edit)->setDisplayFormat(u"dd/MM/yyyy"_s);
        (*edit)->setCalendarPopup(true);
        (*edit)->setMinimumWidth(130);
    }
    deInizio->setObjectName(u"deInizio"_s);
    deFine->setObjectName(u"deFine"_s);
    dates->addRow(u"Data inizio"_s, deInizio);
    dates->addRow(u"Data fine"_s, deFine);
    layout->addWidget(gbDate);
    layout->addStretch(1);
    return page;
}

QWidget *TfmEbdInitAnf::MakeRiportiPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(u"tsRiporti"_s);
    auto *layout = new QVBoxLayout(page);
    gbRiporti = new QGroupBox(u" &Riporti "_s, page);
    gbRiporti->setObjectName(u"gbRiporti"_s);
    layout->addWidget(gbRiporti);
    layout->addStretch(1);
    AddAmountRow(u"Saldo del conto"_s, 0);
    return page;
}

// ------------------------------------------------------------------- years

void TfmEbdInitAnf::FillYears()
{
    m_selecting = true;
    cbAnno->clear();
    TSQLQuery q;
    q.SQL = Years;
    IntParam(q, u"iSprIstId"_s, m_account);
    for (q.Open(); !q.Eof(); q.Next())
        cbAnno->addItem(q.Fields(1).toString(), q.Fields(0));
    q.Close();
    cbAnno->setCurrentIndex(-1);
    m_selecting = false;
}

void TfmEbdInitAnf::PreselectNextYear()
{
    TSQLQuery q;
    q.SQL = LastOpened;
    IntParam(q, u"iSprIstId"_s, m_account);
    q.Open();
    const QVariant last = q.Fields(0);
    q.Close();
    if (last.isNull())
        return;
    m_selecting = true;
    cbAnno->setCurrentIndex(cbAnno->findData(last.toInt() + 1));
    m_selecting = false;
}

void TfmEbdInitAnf::SelectYearText(const QString &text)
{
    m_selecting = true;
    int index = cbAnno->findText(text);
    if (index < 0) {
        // A row of a year before the account's opening: still the row's own.
        cbAnno->addItem(text, QVariant());
        index = cbAnno->count() - 1;
    }
    cbAnno->setCurrentIndex(index);
    m_selecting = false;
}

int TfmEbdInitAnf::ChosenYear() const
{
    bool ok = false;
    const int year = cbAnno->currentText().toInt(&ok);
    return ok ? year : -1;
}

void TfmEbdInitAnf::SetCalendarDates(int year)
{
    deInizio->setDate(QDate(year, 1, 1));
    deFine->setDate(QDate(year, 12, 31));
}

// A locked year is refused; any other takes its calendar dates.
void TfmEbdInitAnf::YearChanged()
{
    if (m_selecting)
        return;
    if (cbAnno->currentIndex() >= 0) {
        const QString text = cbAnno->currentText();
        TSQLQuery q;
        q.SQL = Locked;
        IntParam(q, u"iSprIstId"_s, m_account);
        IntParam(q, u"iEsercizioFin"_s, ChosenYear());
        q.Open();
        const bool locked = !q.IsEmpty() && q.Fields(0).toInt() == 1;
        q.Close();
        if (locked) {
            VtMessageDlg(LockedYear.arg(text), mtWarning, mbOK);
            m_selecting = true;
            cbAnno->setCurrentIndex(-1);
            m_selecting = false;
        } else {
            SetCalendarDates(ChosenYear());
        }
    }
    CheckButtons();
}

void TfmEbdInitAnf::SetModificaSaldo(int iCaiId)
{
    TSQLQuery q;
    q.SQL = u"SELECT iSprIstId, iCaiEsercizioFin FROM TCai_CassaIst WHERE iCaiId = :iCaiId"_s;
    IntParam(q, u"iCaiId"_s, iCaiId);
    q.Open();
    if (q.IsEmpty())
        throw EVtException(u"Il saldo selezionato non esiste più."_s);
    const int account = q.Fields(0).toInt();
    const QString year = q.Fields(1).toString();
    q.Close();
    m_modification = true;
    m_caiId = iCaiId;
    if (account != m_account) {
        m_account = account;
        FillYears();
    }
    SelectYearText(year);
    SetCalendarDates(ChosenYear());
}

// ------------------------------------------------------------- amount rows

void TfmEbdInitAnf::AddAmountRow(const QString &caption, int tccId)
{
    const int i = m_rows.size();
    TAmountRow row;
    row.TccId = tccId;
    row.Label = new QLabel(caption, gbRiporti);
    row.Label->setGeometry(LabelLeft, RowTop + RowStep * i + 3, LabelWidth, 18);
    row.Edit = new TVtMoneyEdit(gbRiporti);
    row.Edit->setObjectName(i == 0 ? u"neSaldo"_s : u"neRiporto%1"_s.arg(i));
    row.Edit->setGeometry(EditLeft, RowTop + RowStep * i, EditWidth, 22);
    row.Label->setBuddy(row.Edit);
    if (!m_rows.isEmpty())
        setTabOrder(m_rows.last().Edit, row.Edit);
    m_rows << row;
    gbRiporti->setMinimumSize(EditLeft + EditWidth + 24, RowTop + RowStep * m_rows.size() + 10);
}

void TfmEbdInitAnf::BuildAmountRows()
{
    TSQLQuery q;
    q.SQL = Typologies;
    IntParam(q, u"iAnsId"_s, TEbdContext::GetOr0(TEbdCtx::AnsId));
    for (q.Open(); !q.Eof(); q.Next())
        AddAmountRow(q.Fields(1).toString(), q.Fields(0).toInt());
    q.Close();
    AddAmountRow(u"Differenze"_s, 0);
    m_rows.last().Edit->setObjectName(u"neDifferenze"_s);
    for (const TAmountRow &row : m_rows) {
        row.Edit->installEventFilter(this);
        connect(row.Edit, &TVtMoneyEdit::Entered, this, [this, e = row.Edit] { Highlight(e, true); });
        connect(row.Edit, &TVtMoneyEdit::Left, this, [this, e = row.Edit] {
            Highlight(e, false);
            UpdateOk();
        });
    }
}

void TfmEbdInitAnf::Highlight(TVtMoneyEdit *edit, bool on)
{
    if (!on) {
        edit->setPalette(QPalette());
        return;
    }
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, HighlightColour());
    p.setColor(QPalette::Text, Qt::black);
    edit->setPalette(p);
}

bool TfmEbdInitAnf::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        for (int i = 0; i < m_rows.size(); ++i) {
            if (m_rows[i].Edit != watched)
                continue;
            if (key == Qt::Key_Down && i + 1 < m_rows.size()) {
                m_rows[i + 1].Edit->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (key == Qt::Key_Up && i > 0) {
                m_rows[i - 1].Edit->setFocus(Qt::BacktabFocusReason);
                return true;
            }
        }
    }
    return TfmVtWizard::eventFilter(watched, event);
}

bool TfmEbdInitAnf::AmountsBalance() const
{
    TVtMoney sum;
    for (int i = 1; i + 1 < m_rows.size(); ++i)
        sum += m_rows[i].Edit->Value();
    return sum == m_rows[0].Edit->Value();
}

void TfmEbdInitAnf::UpdateOk()
{
    m_balanced = AmountsBalance();
    CheckButtons();
}

// ------------------------------------------------------------------- pages

bool TfmEbdInitAnf::CanGoNext(int page) const
{
    return page != tsSelAnf || cbAnno->currentIndex() >= 0;
}

bool TfmEbdInitAnf::CanFinish(int page) const
{
    return page == tsRiporti && m_balanced;
}

void TfmEbdInitAnf::PageChanging(int fromPage, int toPage, bool &allow)
{
    TfmVtWizard::PageChanging(fromPage, toPage, allow);
    if (!allow || fromPage != tsSelAnf || toPage != tsRiporti)
        return;
    if (deFine->date() <= deInizio->date()) {
        allow = Refuse(deFine, EndNotAfterStart);
        return;
    }
    allow = ValidateDates();
}

void TfmEbdInitAnf::PageChanged(int page)
{
    TfmVtWizard::PageChanged(page);
    if (page == tsRiporti && m_rows.size() > 1)
        LoadAmounts();
}

void TfmEbdInitAnf::showEvent(QShowEvent *event)
{
    TfmVtWizard::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    if (m_modification) {
        buPrior->hide();
        buNext->hide();
        SetActivePage(tsRiporti);
    }
}

// ---------------------------------------------------------------- the dates

// The focus on the date while the dates are shown, else on the year list.
bool TfmEbdInitAnf::Refuse(QWidget *date, const QString &text)
{
    VtMessageDlg(text, mtError, mbOK);
    (gbDate->isVisible() ? date : static_cast<QWidget *>(cbAnno))->setFocus();
    return false;
}

bool TfmEbdInitAnf::GapAccepted(const QDate &from, const QDate &to)
{
    if (VtMessageDlg(Gap.arg(DateText(from), DateText(to)), mtWarning, mbYes | mbNo) != mrYes)
        return false;
    return VtMessageDlg(GapRisk, mtWarning, mbYes | mbNo) == mrYes;
}

TfmEbdInitAnf::TNeighbour TfmEbdInitAnf::Neighbour(int year, bool previous) const
{
    TSQLQuery q;
    q.SQL = NeighbourSql.arg(previous ? u"<"_s : u">"_s, previous ? u"DESC"_s : u"ASC"_s);
    IntParam(q, u"ISPRISTID"_s, m_account);
    IntParam(q, u"IANFVALORE"_s, year);
    q.Open();
    TNeighbour n;
    if (!q.IsEmpty()) {
        n.Year = q.FieldByName(u"ANNOFIN"_s).toInt();
        n.Start = DateOf(q.FieldByName(u"INIZIOUTENTE"_s));
        if (!n.Start.isValid())
            n.Start = DateOf(q.FieldByName(u"INIZIOVELTO"_s));
        n.End = DateOf(q.FieldByName(u"FINEUTENTE"_s));
        if (!n.End.isValid())
            n.End = DateOf(q.FieldByName(u"FINEVELTO"_s));
    }
    q.Close();
    return n;
}

bool TfmEbdInitAnf::MovementsAfter(const QDate &day) const
{
    TSQLQuery q;
    q.SQL = MovementsAfterSql;
    DateParam(q, u"dMvmDataMov"_s, day);
    q.Open();
    const bool found = !q.IsEmpty();
    q.Close();
    return found;
}

// S and E against the chosen year and the account's neighbouring years.
bool TfmEbdInitAnf::ValidateDates()
{
    m_movePreviousEnd = false;   // asked again for these dates
    const QDate s = deInizio->date(), e = deFine->date();
    const int y = ChosenYear();
    if (s > QDate(y, 12, 31))
        return Refuse(deInizio, StartAfterYear);
    if (e < QDate(y, 1, 1))
        return Refuse(deFine, EndBeforeYear);
    const TNeighbour p = Neighbour(y, true), n = Neighbour(y, false);
    m_selectedYear = p.Year;
    if (p.Exists() && s <= p.End) {
        // Ending the previous year the day before would end it before it begins.
        if (s <= p.Start)
            return Refuse(deInizio, StartNotAfterPrevious.arg(p.Year).arg(DateText(p.Start)));
        if (VtMessageDlg(Overlap.arg(p.Year).arg(DateText(s.addDays(-1))), mtWarning, mbYes | mbNo) != mrYes) {
            (gbDate->isVisible() ? static_cast<QWidget *>(deInizio) : cbAnno)->setFocus();
            return false;
        }
        m_movePreviousEnd = true;
        if (MovementsAfter(s.addDays(-1))) {
            m_movePreviousEnd = false;
            return Refuse(deInizio, MovementsLater.arg(DateText(s.addDays(-1))).arg(p.Year));
        }
    }
    if (p.Exists() && p.End.addDays(1) < s && !GapAccepted(p.End.addDays(1), s.addDays(-1))) {
        (gbDate->isVisible() ? static_cast<QWidget *>(deInizio) : cbAnno)->setFocus();
        return false;
    }
    if (n.Exists() && e >= n.Start)
        return Refuse(deFine, EndOverlap.arg(DateText(n.Start.addDays(-1))));
    if (n.Exists() && n.Start.addDays(-1) > e && !GapAccepted(e.addDays(1), n.Start.addDays(-1))) {
        (gbDate->isVisible() ? static_cast<QWidget *>(deFine) : cbAnno)->setFocus();
        return false;
    }
    return true;
}

// -------------------------------------------------------- the carry-forward

void TfmEbdInitAnf::LoadAmounts()
{
    if (!LoadExistingYear())
        LoadNewYear();
    UpdateOk();
}

// A year without a cash row: what the working financial year collected, by typology.
void TfmEbdInitAnf::LoadNewYear()
{
    for (const TAmountRow &row : m_rows)
        row.Edit->SetValue(TVtMoney());
    const int types = m_rows.size() - 2;
    TVtWaitWindow wait(WaitCaption, 0, qMax(0, types - 1), this);
    const QVariant working = GetCurrentAnfValore();
    TSQLQuery q;
    q.SQL = Payments;
    IntParam(q, u"iSprIstId"_s, m_account);
    q.Params().CreateParam(QMetaType::Int, u"iAnfValore"_s)->SetValue(working.isNull() ? QVariant() : QVariant(working.toInt()));
    TVtParam *tcc = q.Params().CreateParam(QMetaType::Int, u"iTccId"_s);
    TVtMoney total;
    for (int i = 1; i <= types; ++i) {
        tcc->SetAsInteger(m_rows[i].TccId);
        q.Open();
        const TVtMoney paid = TVtMoney::FromVariant(q.Fields(0));
        q.Close();
        m_rows[i].Edit->SetValue(paid);
        total += paid;
        wait.Step();
    }
    m_rows[0].Edit->SetValue(total);
    Differenze()->SetValue(TVtMoney());
    wait.Close();
}

// A year with a cash row: its balance (its opening one when modifying), its
// difference and its split, each amount on its own typology's row.
bool TfmEbdInitAnf::LoadExistingYear()
{
    TSQLQuery q;
    q.SQL = ExistingYear;
    IntParam(q, u"iSprIstId"_s, m_account);
    IntParam(q, u"iEsercizioFin"_s, ChosenYear());
    q.Open();
    if (q.IsEmpty())
        return false;
    if (!m_modification || m_caiId == 0)
        m_caiId = q.Fields(0).toInt();
    m_rows[0].Edit->SetValue(TVtMoney::FromVariant(q.Fields(m_modification ? 1 : 2)));
    Differenze()->SetValue(TVtMoney::FromVariant(q.Fields(3)));
    QHash<int, TVtMoney> split;
    for (; !q.Eof(); q.Next())
        if (!q.Fields(4).isNull())
            split.insert(q.Fields(4).toInt(), TVtMoney::FromVariant(q.Fields(5)));
    q.Close();
    for (int i = 1; i + 1 < m_rows.size(); ++i)
        m_rows[i].Edit->SetValue(split.value(m_rows[i].TccId));
    return true;
}

// ------------------------------------------------------------- confirmation

// The amount of a typology's row; 0 when the typology has no row.
TVtMoney TfmEbdInitAnf::AmountOf(int tccId) const
{
    for (int i = 1; i + 1 < m_rows.size(); ++i)
        if (m_rows[i].TccId == tccId)
            return m_rows[i].Edit->Value();
    return TVtMoney();
}

// Only typologies 1-4 are carried: an amount on any other would be lost.
bool TfmEbdInitAnf::OtherTypologiesEmpty()
{
    for (int i = 1; i + 1 < m_rows.size(); ++i) {
        const TAmountRow &row = m_rows[i];
        if ((row.TccId < FirstCarried || row.TccId > LastCarried) && !row.Edit->Value().IsZero()) {
            VtMessageDlg(NotCarried.arg(row.Label->text()), mtError, mbOK);
            row.Edit->setFocus();
            return false;
        }
    }
    return true;
}

bool TfmEbdInitAnf::CanAccept()
{
    if (ActivePageIndex() != tsRiporti || !TfmVtWizard::CanAccept() || !OtherTypologiesEmpty())
        return false;
    if (m_modification) {
        WriteSplit();
        return true;
    }
    if (VtMessageDlg(Question, mtConfirmation, mbYes | mbNo) != mrYes)
        return false;
    if (!OpenYear())
        return false;
    AfterOpening();
    return true;
}

// The procedure, the move of the previous year's end and the commit: all of
// it or nothing.
bool TfmEbdInitAnf::OpenYear()
{
    TSQLQuery proc;
    proc.SQL = OpenYearSql;
    IntParam(proc, u"ieserciziofin"_s, ChosenYear());
    IntParam(proc, u"ispristid"_s, m_account);
    MoneyParam(proc, u"fsaldo"_s, m_rows[0].Edit->Value());
    MoneyParam(proc, u"ftasse"_s, AmountOf(1));
    MoneyParam(proc, u"fcontributi"_s, AmountOf(2));
    MoneyParam(proc, u"fquote"_s, AmountOf(3));
    MoneyParam(proc, u"fdiversi"_s, AmountOf(4));
    MoneyParam(proc, u"fdifferenze"_s, Differenze()->Value());
    const bool own = cbPersonalizza->isChecked();
    DateParam(proc, u"dinizioannofin"_s, own ? QVariant(deInizio->date()) : NullDate());
    DateParam(proc, u"dfineannofin"_s, own ? QVariant(deFine->date()) : NullDate());
    TVtTransaction transaction(qqoVtGlobConn);
    try {
        transaction.StartTransaction();
    } catch (const EVtException &) {
        return false;
    }
    TVtWaitCursor hourglass;
    try {
        proc.ExecSQL();
        if (m_movePreviousEnd) {
            TSQLQuery move;
            move.SQL = MovePreviousEndSql;
            DateParam(move, u"DCAIFINEANNO"_s, deInizio->date().addDays(-1));
            IntParam(move, u"IANFVALORE"_s, m_selectedYear);
            IntParam(move, u"ISPRISTID"_s, m_account);
            move.ExecSQL();
        }
        transaction.Commit();
    } catch (const EVtDatabaseError &e) {
        // A refusal of the database's rules is told in its own words.
        VtMessageDlg(e.Error().Kind == TVtEngineError::ekRefused ? e.Error().Sentence() : e.Message(), mtError, mbOK);
        VtMessageDlg(Failed, mtError, mbOK);
        return false;
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), mtError, mbOK);
        VtMessageDlg(Failed, mtError, mbOK);
        return false;
    }
    VtMessageDlg(Done, mtInformation, mbOK);
    return true;
}

// The opening split and difference of the cash row, in one transaction;
// an error reaches the program's error reporting and nothing is written.
void TfmEbdInitAnf::WriteSplit()
{
    TSQLQuery *q = dmEbdConn->qquTmp;
    TVtTransaction transaction(qqoVtGlobConn);
    transaction.StartTransaction();
    q->Close();
    q->SQL = WriteTypology;
    q->Params().Clear();
    TVtParam *cai = q->Params().CreateParam(QMetaType::Int, u"iCaiId"_s);
    TVtParam *tcc = q->Params().CreateParam(QMetaType::Int, u"iTccId"_s);
    TVtParam *amount = q->Params().CreateParam(QMetaType::Double, u"fTccImporto"_s);
    cai->SetAsInteger(m_caiId);
    for (int id = FirstCarried; id <= LastCarried; ++id) {
        tcc->SetAsInteger(id);
        amount->SetValue(AmountOf(id).ToVariant());
        q->ExecSQL();
    }
    q->SQL = WriteBalance;
    q->Params().Clear();
    q->Params().CreateParam(QMetaType::Int, u"iCaiId"_s)->SetAsInteger(m_caiId);
    q->Params().CreateParam(QMetaType::Double, u"fCaiDiffIniz"_s)->SetValue(Differenze()->Value().ToVariant());
    q->ExecSQL();
    transaction.Commit();
}

// The status panels follow a moved year end; an open "Conti" shows the new year.
void TfmEbdInitAnf::AfterOpening()
{
    if (TfmVtMDIMain *main = TfmVtMDIMain::Instance())
        main->RefreshPanels();
    if (dmEbdConn && dmEbdConn->xqcCai->Active())
        dmEbdConn->xqcCai->Refresh();
}

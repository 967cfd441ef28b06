#include "EbdFwExport_Banche.h"

#include "EbdMAtt.h"
#include "EbdMReport.h"
#include "EbdUContext.h"
#include "EbdUGlobals.h"
#include "EbdUSddDataSets.h"
#include "VtClock.h"
#include "VtDBGrid.h"
#include "VtMoney.h"
#include "VtDataSource.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtPaths.h"
#include "VtQueryCollection.h"
#include "VtSQLQuery.h"
#include "VtWaitCursor.h"
#include "dmVtRptFR.h"
#include "frDBDataSet.h"
#include "mbaUStampeContestuali.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString PaymentModesSql = u"SELECT iMpgId, sMpgDescL FROM TMPG_MODPAGAM;"_s;
const QString ComponentsSql =
    u"SELECT iCcaId, sCcaLDesc FROM TCca_CompCausali cca  INNER JOIN TANS_ANNISCOLAST ans on cca.dstart = "
    "ans.DANSVELTOINIZIO WHERE ans.IANSID = :iAnsId ORDER BY sCcaLDesc"_s;
const QString ClassesSql = u"SELECT iClsId, sClsDesc FROM VCLS_CLASSI WHERE SCLSANNOSCOL = :sAnnoScol ORDER BY sClsDesc"_s;
const QString ComponentsNote = u"Selezionando le seguenti componenti da esportare verranno ignorate le date di esportazione"_s;
const QString NoPaymentMode = u"Scegliere la modalità di pagamento."_s;

QDateEdit *NewDate(QWidget *parent, const QString &name)
{
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(u"dd/MM/yyyy"_s);
    return edit;
}

QLineEdit *NewEdit(QWidget *parent, const QString &name, int maxLength)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    return edit;
}

QString Today(const QString &format)
{
    return VtClock::Today().toString(format);
}

} // namespace

TfwEbdExport_Banche::TfwEbdExport_Banche(QWidget *parent) : TfmVtWizard(parent)
{
    setObjectName(u"fwEbdExport_Banche"_s);
    setWindowTitle(u"Export banche"_s);
    QDir().mkpath(QFileInfo(SettingsFileName()).absolutePath());
    m_settings = std::make_unique<QSettings>(SettingsFileName(), QSettings::IniFormat);

    qquAlunni = new TVtQueryCollection(this);
    qquAlunni->setObjectName(u"qquAlunni"_s);
    cdsLeggi = new TVtQueryCollection(this);
    cdsLeggi->setObjectName(u"cdsLeggi"_s);
    cdsDisp = new TVtQueryCollection(this);
    cdsDisp->setObjectName(u"cdsDisp"_s);
    DeclareSddColumns(cdsLeggi);
    DeclareSddColumns(cdsDisp);
    m_dsAlunni = new TVtDataSource(this);
    m_dsAlunni->SetDataSet(qquAlunni);
    m_dsDisp = new TVtDataSource(this);
    m_dsDisp->SetDataSet(cdsDisp);

    AddPage(BuildParamPage(), u"Parametri di esportazione"_s);
    AddPage(BuildClsAluPage(), u"Classi e alunni"_s);
    AddPage(BuildExportPage(), u"Dati dell'esportazione"_s);
    AddPage(BuildControlliPage(), u"Controlli prima dell'esportazione"_s);
    seGiorniPreavviso->setValue(m_settings->value(u"Dati/GiorniPreavviso"_s, 14).toInt());
    deDataDal->setDate(VtClock::Today());
    deDataAl->setDate(VtClock::Today());
    resize(1100, 720);
}

TfwEbdExport_Banche::~TfwEbdExport_Banche() = default;

QString TfwEbdExport_Banche::SettingsFileName()
{
    return VtPaths::DataPath({u"Ebd"_s, u"xba"_s, u"Banca.ini"_s});
}

void TfwEbdExport_Banche::WriteDemoSettings()
{
    if (QFileInfo::exists(SettingsFileName()))
        return;
    QDir().mkpath(QFileInfo(SettingsFileName()).absolutePath());
    QSettings settings(SettingsFileName(), QSettings::IniFormat);
    settings.setValue(u"Dati/Mittente"_s, u"VALD812C"_s);
    settings.setValue(u"Dati/CreditIdent"_s, u"IT27ZZZ90012340187"_s);
    settings.setValue(u"Dati/Banca"_s, u"Credito Cooperativo di Serralta"_s);
    settings.setValue(u"Dati/GiorniPreavviso"_s, 14);
}

QString TfwEbdExport_Banche::DefaultExportDir()
{
    return QDir(QDir::homePath()).filePath(u"Zedavirid/Banca"_s);
}

// ---------------------------------------------------------------- pages

QWidget *TfwEbdExport_Banche::BuildParamPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(u"tsParam"_s);
    auto *layout = new QVBoxLayout(page);
    auto *form = new QFormLayout;
    deDataDal = NewDate(page, u"deDataDal"_s);
    deDataAl = NewDate(page, u"deDataAl"_s);
    cbModPagam = new QComboBox(page);
    cbModPagam->setObjectName(u"cbModPagam"_s);
    form->addRow(u"Esporta dati dal"_s, deDataDal);
    form->addRow(u"Esporta dati al"_s, deDataAl);
    form->addRow(u"Modalità di pagamento"_s, cbModPagam);
    layout->addLayout(form);
    ckInsMov = new QCheckBox(u"Setta il pagamento per i dati esportati"_s, page);
    ckInsMov->setObjectName(u"ckInsMov"_s);
    layout->addWidget(ckInsMov);
    auto *note = new QLabel(ComponentsNote, page);
    note->setObjectName(u"laComponenti"_s);
    note->setWordWrap(true);
    layout->addWidget(note);
    lwComponenti = new QListWidget(page);
    lwComponenti->setObjectName(u"lwComponenti"_s);
    layout->addWidget(lwComponenti, 1);
    AddCheckListMenu(lwComponenti, {});
    return page;
}

QWidget *TfwEbdExport_Banche::BuildClsAluPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(u"tsClsAlu"_s);
    auto *layout = new QHBoxLayout(page);
    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(u"Classi:"_s, page));
    lwClassi = new QListWidget(page);
    lwClassi->setObjectName(u"lwClassi"_s);
    left->addWidget(lwClassi, 1);
    layout->addLayout(left, 1);
    auto *right = new QVBoxLayout;
    laAlunni = new QLabel(u"Alunni:"_s, page);
    right->addWidget(laAlunni);
    grAlunni = new TVtDBGrid(page);
    grAlunni->setObjectName(u"grAlunni"_s);
    grAlunni->SetDataSource(m_dsAlunni);
    grAlunni->AddColumn(u"sAnaCognome"_s, u"Cognome"_s, 200);
    grAlunni->AddColumn(u"sAnaNome"_s, u"Nome"_s, 200);
    grAlunni->AddColumn(u"sClsDesc"_s, u"Classe"_s, 160);
    grAlunni->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grAlunni->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grAlunni->SetSortable(false);
    connect(grAlunni->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) { SortPupils(c); });
    right->addWidget(grAlunni, 1);
    layout->addLayout(right, 2);
    AddCheckListMenu(lwClassi, [this] { ReloadPupils(); });
    connect(lwClassi, &QListWidget::itemChanged, this, [this] { ReloadPupils(); });
    return page;
}

QWidget *TfwEbdExport_Banche::BuildExportPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(u"tsExport"_s);
    auto *layout = new QVBoxLayout(page);
    gbIntestazione = new QGroupBox(u"Intestazione del file"_s, page);
    auto *grid = new QGridLayout(gbIntestazione);
    cbBanche = new QComboBox(gbIntestazione);
    cbBanche->setObjectName(u"cbBanche"_s);
    edMittente = NewEdit(gbIntestazione, u"edMittente"_s, 10);
    deData_Creazione = NewDate(gbIntestazione, u"deData_Creazione"_s);
    edNOME_SUPPORTO = NewEdit(gbIntestazione, u"edNOME_SUPPORTO"_s, 20);
    edNOME_SUPPORTO->setText(u"SDD"_s);
    deData_Disposizione = NewDate(gbIntestazione, u"deData_Disposizione"_s);
    deData_Valuta = NewDate(gbIntestazione, u"deData_Valuta"_s);
    cbBancaFile = NewEdit(gbIntestazione, u"cbBancaFile"_s, 1024);
    buBancaFile = new QPushButton(u"..."_s, gbIntestazione);
    buBancaFile->setObjectName(u"buBancaFile"_s);
    buBancaFile->setToolTip(u"Scegli il file"_s);
    deDATA_SCADENZA = NewDate(gbIntestazione, u"deDATA_SCADENZA"_s);
    edConto_Tesoreria = NewEdit(gbIntestazione, u"edConto_Tesoreria"_s, 7);
    edCC_ORDINANTE = NewEdit(gbIntestazione, u"edCC_ORDINANTE"_s, 20);
    edCREDITOR_IDENT = NewEdit(gbIntestazione, u"edCREDITOR_IDENT"_s, 50);
    auto *file = new QWidget(gbIntestazione);
    auto *fileRow = new QHBoxLayout(file);
    fileRow->setContentsMargins(0, 0, 0, 0);
    fileRow->addWidget(cbBancaFile, 1);
    fileRow->addWidget(buBancaFile);
    const QList<QPair<QString, QWidget *>> inputs = {
        {u"Banca"_s, cbBanche},
        {u"Codice CUC"_s, edMittente},
        {u"Data creazione"_s, deData_Creazione},
        {u"Nome supporto"_s, edNOME_SUPPORTO},
        {u"Esecuzione disposizione"_s, deData_Disposizione},
        {u"Valuta"_s, deData_Valuta},
        {u"File export"_s, file},
        {u"Scadenza"_s, deDATA_SCADENZA},
        {u"Conto tesoreria"_s, edConto_Tesoreria},
        {u"CC ordinante"_s, edCC_ORDINANTE},
        {u"Creditor Identifier"_s, edCREDITOR_IDENT},
    };
    // Two columns of label and input; the file takes a whole row.
    int row = 0, col = 0;
    for (const auto &[caption, input] : inputs) {
        auto *label = new QLabel(caption, gbIntestazione);
        label->setObjectName(u"la"_s + (input == file ? u"cbBancaFile"_s : input->objectName()));
        label->setBuddy(input == file ? cbBancaFile : input);
        if (input == file) {
            if (col)
                ++row;
            grid->addWidget(label, row, 0);
            grid->addWidget(file, row, 1, 1, 3);
            ++row;
            col = 0;
            continue;
        }
        grid->addWidget(label, row, col * 2);
        grid->addWidget(input, row, col * 2 + 1);
        if (++col == 2) {
            col = 0;
            ++row;
        }
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addWidget(gbIntestazione);

    grDisp = new TVtDBGrid(page);
    grDisp->setObjectName(u"grDisp"_s);
    grDisp->SetDataSource(m_dsDisp);
    grDisp->AddColumn(u"DEBITORE"_s, u"Destinario"_s, 200);
    grDisp->AddColumn(u"IMPORTO"_s, u"Importo in cent."_s, 110);
    grDisp->AddColumn(u"ABI_DOMICILIATARIA"_s, u"ABI"_s, 60);
    grDisp->AddColumn(u"CAB_DOMICILIATARIA"_s, u"CAB"_s, 60);
    grDisp->AddColumn(u"CC_DOMICILIATARIA"_s, u"C/C"_s, 110);
    grDisp->AddColumn(u"IND_DEBITORE"_s, u"Indirizzo"_s, 190);
    grDisp->AddColumn(u"CAP_DEBITORE"_s, u"CAP"_s, 60);
    grDisp->AddColumn(u"COM_DEBITORE"_s, u"Comune"_s, 150);
    grDisp->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(grDisp, 1);
    auto *bottom = new QHBoxLayout;
    laDisp = new QLabel(u"Totale disposizioni: 0"_s, page);
    laDisp->setObjectName(u"laDisp"_s);
    bottom->addWidget(laDisp, 1);
    buStampaRiepilogo = new QPushButton(u"Stampa Riepilogo"_s, page);
    buStampaRiepilogo->setObjectName(u"buStampaRiepilogo"_s);
    buStampaBrogliaccio = new QPushButton(u"Stampa Brogliaccio"_s, page);
    buStampaBrogliaccio->setObjectName(u"buStampaBrogliaccio"_s);
    bottom->addWidget(buStampaRiepilogo);
    bottom->addWidget(buStampaBrogliaccio);
    layout->addLayout(bottom);

    connect(cbBanche, &QComboBox::currentTextChanged, this, [this](const QString &name) {
        if (!name.isEmpty())
            SelectBank(name);
    });
    connect(edMittente, &QLineEdit::editingFinished, this, [this] { RefreshDisposizioni(); });
    connect(edCREDITOR_IDENT, &QLineEdit::editingFinished, this, [this] { RefreshDisposizioni(); });
    connect(deData_Creazione, &QDateEdit::dateChanged, this, [this] { RefreshDisposizioni(); });
    connect(edNOME_SUPPORTO, &QLineEdit::editingFinished, this, [this] { SupportNameLeft(); });
    connect(buBancaFile, &QPushButton::clicked, this, [this] { ChooseFile(); });
    connect(buStampaRiepilogo, &QPushButton::clicked, this, [this] { PrintRiepilogo(); });
    connect(buStampaBrogliaccio, &QPushButton::clicked, this, [this] { PrintBrogliaccio(); });
    return page;
}

void TfwEbdExport_Banche::AddCheckListMenu(QListWidget *list, const std::function<void()> &after)
{
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, list, after](const QPoint &pos) {
        QMenu menu(list);
        const QList<QPair<QString, TCheckAction>> actions = {
            {u"Seleziona tutto"_s, caSelectAll}, {u"Annulla selezione"_s, caClear}, {u"Inverti selezione"_s, caInvert}};
        for (const auto &[text, action] : actions) {
            const TCheckAction a = action;
            menu.addAction(text, this, [this, list, a, after] {
                CheckListAction(list, a);
                if (after)
                    after();
            });
        }
        menu.exec(list->viewport()->mapToGlobal(pos));
    });
}

void TfwEbdExport_Banche::CheckListAction(QListWidget *list, TCheckAction action)
{
    const QSignalBlocker block(list);
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem *item = list->item(i);
        const bool on = action == caSelectAll ? true : action == caClear ? false : item->checkState() != Qt::Checked;
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    if (list == lwClassi)
        ReloadPupils();
}

QList<int> TfwEbdExport_Banche::Checked(const QListWidget *list)
{
    QList<int> ids;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            ids << list->item(i)->data(Qt::UserRole).toInt();
    return ids;
}

namespace {
// Fills a check list from a select of id and text, all unticked.
void FillCheckList(QListWidget *list, TSQLQuery &q)
{
    const QSignalBlocker block(list);
    list->clear();
    for (q.Open(); !q.Eof(); q.Next()) {
        auto *item = new QListWidgetItem(q.Fields(1).toString().trimmed(), list);
        item->setData(Qt::UserRole, q.Fields(0));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    q.Close();
}
} // namespace

// ---------------------------------------------------------------- page 1

void TfwEbdExport_Banche::showEvent(QShowEvent *event)
{
    TfmVtWizard::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    const TVtWaitCursor wait;
    LoadPaymentModes();
    LoadComponents();
}

void TfwEbdExport_Banche::LoadPaymentModes()
{
    TSQLQuery q;
    q.SQL = PaymentModesSql;
    cbModPagam->clear();
    for (q.Open(); !q.Eof(); q.Next())
        cbModPagam->addItem(q.Fields(1).toString().trimmed(), q.Fields(0));
    q.Close();
    cbModPagam->setCurrentIndex(cbModPagam->findText(u"RID"_s));
}

void TfwEbdExport_Banche::LoadComponents()
{
    TSQLQuery q;
    q.SQL = ComponentsSql;
    q.Params().CreateParam(QMetaType::Int, u"iAnsId"_s)->SetAsInteger(TEbdContext::GetOr0(TEbdCtx::CauAnsId));
    FillCheckList(lwComponenti, q);
}

TSddFiltro TfwEbdExport_Banche::Filtro() const
{
    TSddFiltro f;
    f.Dal = deDataDal->date();
    f.Al = deDataAl->date();
    f.IdMpg = cbModPagam->currentData().toInt();
    f.Componenti = Checked(lwComponenti);
    f.Classi = Checked(lwClassi);
    const QModelIndexList picked = grAlunni->selectionModel() ? grAlunni->selectionModel()->selectedRows() : QModelIndexList();
    const TVtField *ana = qquAlunni->Active() ? qquAlunni->FindField(u"iAnaId"_s) : nullptr;
    if (ana && !picked.isEmpty() && picked.size() < qquAlunni->RecordCount())
        for (const QModelIndex &index : picked)
            f.Alunni << qquAlunni->RowValue(grAlunni->DataSetRow(index.row()), ana->Index).toInt();
    f.IdAns = TEbdContext::GetOr0(TEbdCtx::AnsId);
    f.IdSprIst = TEbdContext::GetOr0(TEbdCtx::SprIstId);
    f.IdDwg = TEbdContext::GetOr0(TEbdCtx::DwgId);
    return f;
}

// ---------------------------------------------------------------- page 2

void TfwEbdExport_Banche::EnterClsAlu()
{
    if (dmEbdReport)
        dmEbdReport->SetRidDates(deDataDal->date(), deDataAl->date());
    LoadClasses();
    ReloadPupils();
}

void TfwEbdExport_Banche::LoadClasses()
{
    TSQLQuery q;
    q.SQL = ClassesSql;
    q.Params().CreateParam(QMetaType::QString, u"sAnnoScol"_s)->SetAsString(GetCurrentAnsDesc());
    FillCheckList(lwClassi, q);
}

void TfwEbdExport_Banche::ReloadPupils()
{
    const TVtWaitCursor wait;
    TSddFiltro f = Filtro();
    f.Alunni.clear();
    qquAlunni->Close();
    qquAlunni->CommandText = SddPupilsSql(f, m_pupilOrder);
    TVtParams &p = qquAlunni->Params();
    p.CreateParam(QMetaType::Int, u"iAnsId"_s)->SetAsInteger(f.IdAns);
    p.CreateParam(QMetaType::Int, u"iMpgId"_s)->SetAsInteger(f.IdMpg);
    p.CreateParam(QMetaType::QDate, u"DataScadenzaDal"_s)->SetAsDate(f.Dal);
    p.CreateParam(QMetaType::QDate, u"DataScadenzaAl"_s)->SetAsDate(f.Al);
    qquAlunni->Open();
    grAlunni->clearSelection();
    laAlunni->setText(u"Alunni: %1"_s.arg(qquAlunni->RecordCount()));
}

void TfwEbdExport_Banche::SortPupils(int column)
{
    if (column == 0)
        m_pupilOrder = TSddPupilOrder::ByName;
    else if (column == 2)
        m_pupilOrder = TSddPupilOrder::ByClass;
    else
        return;
    ReloadPupils();
}

// ---------------------------------------------------------------- page 3

void TfwEbdExport_Banche::EnterExport()
{
    const TVtWaitCursor wait;
    deDATA_SCADENZA->setDate(QDate(VtClock::Today().year(), 12, 31));
    const TSddFiltro f = Filtro();
    m_banks = LoadBankList();
    m_rate = ReadSddSelection(f);
    m_creditore = ReadSddCreditore(f.IdSprIst);
    m_sede = ReadSddSede(f.IdDwg);
    cdsLeggi->Close();
    {
        const QSignalBlocker block(cbBanche);
        cbBanche->clear();
        for (const TBancaTracciato &b : m_banks)
            cbBanche->addItem(b.Banca);
        cbBanche->setCurrentIndex(-1);
    }
    {
        const QSignalBlocker block(deData_Creazione);
        deData_Creazione->setDate(VtClock::Today());
    }
    QDir().mkpath(DefaultExportDir());
    cbBancaFile->setText(QDir::toNativeSeparators(
        QDir(DefaultExportDir()).filePath(edNOME_SUPPORTO->text() + Today(u"yyyyMMdd"_s) + u".xml"_s)));
    LoadSettings();
    if (cbBanche->currentIndex() < 0 && m_banks.size() == 1)
        cbBanche->setCurrentIndex(0);
    if (cbBanche->currentIndex() < 0)
        RefreshDisposizioni();
}

void TfwEbdExport_Banche::LoadSettings()
{
    m_settings->sync();
    edMittente->setText(m_settings->value(u"Dati/Mittente"_s).toString());
    edCREDITOR_IDENT->setText(m_settings->value(u"Dati/CreditIdent"_s).toString());
    edConto_Tesoreria->setText(m_settings->value(u"Dati/Conto_Tesoreria"_s).toString());
    QString bank = m_settings->value(u"Dati/Banca"_s).toString();
    if (bank.isEmpty())
        for (const TBancaTracciato &b : m_banks)
            if (b.ABI == m_creditore.Abi) {
                bank = b.Banca;
                break;
            }
    const int index = cbBanche->findText(bank);
    if (index >= 0)
        cbBanche->setCurrentIndex(index);
}

void TfwEbdExport_Banche::SelectBank(const QString &name)
{
    auto it = std::find_if(m_banks.begin(), m_banks.end(), [&name](const TBancaTracciato &b) { return b.Banca == name; });
    Q_ASSERT(it != m_banks.end());
    if (it == m_banks.end())
        return;
    m_layout = LoadBankLayout(it->CodTracciato);
    m_headerFields = LoadHeaderFields(it->CodTracciato);
    ShowHeaderFields();
    RefreshDisposizioni();
}

void TfwEbdExport_Banche::ShowHeaderFields()
{
    QList<QWidget *> inputs;
    for (QWidget *w : gbIntestazione->findChildren<QWidget *>()) {
        const QString name = w->objectName();
        if ((qobject_cast<QLineEdit *>(w) || qobject_cast<QDateEdit *>(w))
            && (name.startsWith(u"ed"_s) || name.startsWith(u"de"_s))) {
            w->setVisible(false);
            inputs << w;
        }
    }
    for (const TCampoIntestazione &field : m_headerFields) {
        const QString name = (field.ColType == u"D"_s ? u"de"_s : u"ed"_s) + field.FieldName;
        QWidget *input = gbIntestazione->findChild<QWidget *>(name);
        Q_ASSERT_X(input, "ShowHeaderFields", qPrintable(name));
        if (input)
            input->setVisible(true);
    }
    for (QLabel *label : gbIntestazione->findChildren<QLabel *>())
        if (label->buddy())
            label->setVisible(!label->buddy()->isHidden());
}

TSddIntestazione TfwEbdExport_Banche::Intestazione() const
{
    return {edMittente->text().trimmed(), edNOME_SUPPORTO->text() + Today(u"yyyyMMdd"_s), deData_Creazione->date(),
            edCREDITOR_IDENT->text().trimmed()};
}

void TfwEbdExport_Banche::RefreshDisposizioni()
{
    m_disposizioni = BuildDispositions(m_rate, Intestazione(), m_escluse);
    FillSddDispositions(cdsDisp, m_disposizioni, m_creditore, m_sede);
    laDisp->setText(u"Totale disposizioni: %1"_s.arg(m_disposizioni.size()));
}

void TfwEbdExport_Banche::SupportNameLeft()
{
    const QString clean = CleanSupportName(edNOME_SUPPORTO->text());
    if (clean != edNOME_SUPPORTO->text())
        edNOME_SUPPORTO->setText(clean);
    const QString dir = QFileInfo(QDir::fromNativeSeparators(cbBancaFile->text())).absolutePath();
    cbBancaFile->setText(QDir::toNativeSeparators(QDir(dir).filePath(clean + Today(u"yyyyMMdd"_s) + u".xml"_s)));
}

void TfwEbdExport_Banche::ChooseFile()
{
    const QString name = VtMessageService().SaveFileName(u"File export"_s, QDir::fromNativeSeparators(cbBancaFile->text()),
                                                          u"File XML (*.xml)"_s);
    if (!name.isEmpty())
        cbBancaFile->setText(QDir::toNativeSeparators(name));
}

// ---------------------------------------------------------------- prints

void TfwEbdExport_Banche::Print(const QString &category)
{
    if (!cdsLeggi->Active())
        FillSddInstalments(cdsLeggi, m_rate, m_creditore, m_sede);
    TfrDBDataSet riepilogo(u"frRiepilogoPagam"_s, cdsLeggi, TfrDBDataSet::dkClientDataSet);
    TfrDBDataSet brogliaccio(u"frBrogliaccioEsp"_s, cdsDisp, TfrDBDataSet::dkClientDataSet);
    TdmVtRptFR::PublishDataSet(&riepilogo);
    TdmVtRptFR::PublishDataSet(&brogliaccio);
    struct TWithdraw
    {
        TfrDBDataSet *A, *B;
        ~TWithdraw()
        {
            TdmVtRptFR::WithdrawDataSet(A);
            TdmVtRptFR::WithdrawDataSet(B);
        }
    } withdraw{&riepilogo, &brogliaccio};
    TStampeContestuali print(44, category);
    print.AttivazioneReport = dmEbdAtt ? dmEbdAtt->xarReport : nullptr;
    print.Fallback = true;
    print.OutputMode = 1;
    print.Execute();
}

void TfwEbdExport_Banche::PrintRiepilogo()
{
    Print(u"Riepilogo"_s);
}

void TfwEbdExport_Banche::PrintBrogliaccio()
{
    Print(u"Brogliaccio"_s);
}

// ---------------------------------------------------------------- moving

void TfwEbdExport_Banche::PageChanging(int fromPage, int toPage, bool &allow)
{
    TfmVtWizard::PageChanging(fromPage, toPage, allow);
    if (!allow || toPage <= fromPage)
        return;
    try {
        if (toPage == tsClsAlu) {
            if (cbModPagam->currentIndex() < 0) {
                VtMessageDlg(NoPaymentMode, mtWarning, mbOK);
                allow = false;
                return;
            }
            EnterClsAlu();
        } else if (toPage == tsExport) {
            EnterExport();
        } else if (toPage == tsControlli) {
            RefreshDisposizioni();
            RunChecks();
        }
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), mtError, mbOK);
        allow = false;
    }
}


bool TfwEbdExport_Banche::CanFinish(int page) const
{
    return page == tsControlli && SddCanExport(m_disposizioni, m_controlli);
}

bool TfwEbdExport_Banche::CanAccept()
{
    if (TfmVtWizard::CanAccept())
        Export();
    return false;   // the wizard stays open: prints, another export
}

// ---------------------------------------------------------------- page 4

QWidget *TfwEbdExport_Banche::BuildControlliPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(u"tsControlli"_s);
    auto *layout = new QVBoxLayout(page);
    auto *top = new QHBoxLayout;
    auto *label = new QLabel(u"Giorni di preavviso"_s, page);
    seGiorniPreavviso = new QSpinBox(page);
    seGiorniPreavviso->setObjectName(u"seGiorniPreavviso"_s);
    seGiorniPreavviso->setRange(0, 60);
    label->setBuddy(seGiorniPreavviso);
    top->addWidget(label);
    top->addWidget(seGiorniPreavviso);
    top->addStretch(1);
    buEscludiErrori = new QPushButton(u"Escludi le righe con errori"_s, page);
    buEscludiErrori->setObjectName(u"buEscludiErrori"_s);
    top->addWidget(buEscludiErrori);
    layout->addLayout(top);
    grControlli = new QTableWidget(0, 6, page);
    grControlli->setObjectName(u"grControlli"_s);
    grControlli->setHorizontalHeaderLabels(
        {u"Escludi"_s, u"Destinatario"_s, u"Importo"_s, u"Data incasso"_s, u"Sequenza"_s, u"Problema"_s});
    grControlli->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grControlli->setSelectionBehavior(QAbstractItemView::SelectRows);
    grControlli->verticalHeader()->setVisible(false);
    for (const auto &[column, width] : QList<QPair<int, int>>{{0, 60}, {1, 220}, {2, 90}, {3, 90}, {4, 75}})
        grControlli->setColumnWidth(column, width);
    grControlli->horizontalHeader()->setStretchLastSection(true);
    grControlli->setWordWrap(true);
    layout->addWidget(grControlli, 1);
    laProblemi = new QLabel(page);
    laProblemi->setObjectName(u"laProblemi"_s);
    laDaEsportare = new QLabel(page);
    laDaEsportare->setObjectName(u"laDaEsportare"_s);
    layout->addWidget(laProblemi);
    layout->addWidget(laDaEsportare);

    connect(seGiorniPreavviso, &QSpinBox::valueChanged, this, [this] {
        if (ActivePageIndex() == tsControlli)
            RunChecks();
    });
    connect(buEscludiErrori, &QPushButton::clicked, this, [this] { ExcludeErrors(); });
    connect(grControlli, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (m_filling || item->column() != 0)
            return;
        const int d = item->data(Qt::UserRole).toInt();
        if (d >= 0)
            SetExcluded(d, item->checkState() == Qt::Checked);
    });
    return page;
}

void TfwEbdExport_Banche::RunChecks()
{
    const TSddFiltro f = Filtro();
    TSddContesto c;
    c.Cuc = edMittente->text();
    c.CreditorIdent = edCREDITOR_IDENT->text();
    c.Creditore = m_creditore;
    c.Sede = m_sede;
    c.Oggi = VtClock::Today();
    c.GiorniPreavviso = seGiorniPreavviso->value();
    c.FrstPresentati = ReadFrstPresentations(f.IdSprIst);
    m_controlli = SddChecks(m_disposizioni, c);
    FillChecklist();
    CheckButtons();
}

void TfwEbdExport_Banche::FillChecklist()
{
    m_filling = true;
    grControlli->setRowCount(0);
    int errors = 0, warnings = 0, problems = 0;
    for (const TSddControllo &c : m_controlli) {
        problems += c.Problemi.isEmpty() ? 0 : 1;
        const int row = grControlli->rowCount();
        grControlli->insertRow(row);
        auto *exclude = new QTableWidgetItem;
        exclude->setData(Qt::UserRole, c.Disposizione);
        exclude->setFlags(Qt::ItemIsEnabled);
        if (c.Disposizione >= 0) {
            const TSddDisposizione &d = m_disposizioni[c.Disposizione];
            exclude->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            exclude->setCheckState(d.Esclusa ? Qt::Checked : Qt::Unchecked);
            grControlli->setItem(row, 1, new QTableWidgetItem(d.Ultima.Debitore));
            auto *amount = new QTableWidgetItem(TVtMoney::FromCents(d.Importo).Format());
            amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grControlli->setItem(row, 2, amount);
            grControlli->setItem(row, 3, new QTableWidgetItem(d.Ultima.Scadenza.toString(u"dd/MM/yyyy"_s)));
            grControlli->setItem(row, 4, new QTableWidgetItem(d.Ultima.TipoSequenza));
        } else {
            grControlli->setItem(row, 1, new QTableWidgetItem(u"Intestazione del file"_s));
        }
        grControlli->setItem(row, 0, exclude);
        grControlli->setItem(row, 5, new QTableWidgetItem(c.Problemi.join(u"; "_s)));
        errors += c.Errore ? 1 : 0;
        warnings += c.Problemi.join(u"; "_s).contains(u"Avviso: "_s) ? 1 : 0;
    }
    m_filling = false;
    laProblemi->setText(problems == 0
                            ? u"Nessun problema rilevato."_s
                            : u"Disposizioni con problemi: %1 (errori: %2, avvisi: %3)"_s.arg(problems)
                                  .arg(errors)
                                  .arg(warnings));
    int count = 0, excluded = 0;
    qint64 cents = 0;
    for (const TSddDisposizione &d : m_disposizioni) {
        if (d.Esclusa) {
            ++excluded;
            continue;
        }
        ++count;
        cents += d.Importo;
    }
    laDaEsportare->setText(count == 0 ? u"Nessuna disposizione da esportare."_s
                                      : u"Da esportare: %1 disposizioni per %2 €. Escluse: %3."_s.arg(count)
                                            .arg(TVtMoney::FromCents(cents).Format())
                                            .arg(excluded));
}

void TfwEbdExport_Banche::SetExcluded(int disposizione, bool excluded)
{
    if (disposizione < 0 || disposizione >= m_disposizioni.size())
        return;
    const QString key = m_disposizioni[disposizione].Chiave();
    m_escluse.removeAll(key);
    if (excluded)
        m_escluse << key;
    m_disposizioni[disposizione].Esclusa = excluded;
    FillChecklist();
    CheckButtons();
}

void TfwEbdExport_Banche::ExcludeErrors()
{
    for (const TSddControllo &c : m_controlli)
        if (c.Errore && c.Disposizione >= 0) {
            const QString key = m_disposizioni[c.Disposizione].Chiave();
            if (!m_escluse.contains(key))
                m_escluse << key;
            m_disposizioni[c.Disposizione].Esclusa = true;
        }
    FillChecklist();
    CheckButtons();
}

void TfwEbdExport_Banche::SaveSettings()
{
    m_settings->setValue(u"Dati/Mittente"_s, edMittente->text());
    m_settings->setValue(u"Dati/CreditIdent"_s, edCREDITOR_IDENT->text());
    if (cbBanche->currentIndex() >= 0)
        m_settings->setValue(u"Dati/Banca"_s, cbBanche->currentText());
    m_settings->setValue(u"Dati/GiorniPreavviso"_s, seGiorniPreavviso->value());
    m_settings->sync();
}

void TfwEbdExport_Banche::Export()
{
    const TVtWaitCursor wait;
    RefreshDisposizioni();
    RunChecks();
    m_esito = {};
    if (SddCanExport(m_disposizioni, m_controlli)) {
        const TSddFiltro f = Filtro();
        const QDateTime now = VtClock::Now();
        TSddRichiesta r;
        r.Rate = m_rate;
        r.Disposizioni = m_disposizioni;
        r.Sede = ReadSddSede(f.IdDwg);
        r.Creditore = m_creditore;
        r.Testata = {QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second())),
                     edMittente->text(), edCREDITOR_IDENT->text()};
        r.FileName = cbBancaFile->text();
        r.RegistraPagamenti = ckInsMov->isChecked();
        r.AnfValore = GetCurrentAnfValore().toInt();
        r.IdSprIst = f.IdSprIst;
        r.IdDwg = f.IdDwg;
        m_esito = RunSddExport(r);
    }
    SaveSettings();
    if (m_esito.Scritto && ckInsMov->isChecked()) {
        // The collected instalments are paid now: they drop out.
        m_rate = ReadSddSelection(Filtro());
        cdsLeggi->Close();
        RefreshDisposizioni();
        RunChecks();
    }
    if (m_esito.Scritto
        && VtMessageDlg(u"File prodotto con successo. Si vuole aprire la cartella relativa?"_s, mtInformation, mbYes | mbNo)
               == mrYes)
        VtMessageService().OpenDocument(QFileInfo(QDir::fromNativeSeparators(cbBancaFile->text())).absolutePath());
}

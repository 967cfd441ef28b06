#include "EbdFStornoRid.h"

#include "EbdUContext.h"
#include "VtDBGrid.h"
#include "VtDataSource.h"
#include "VtDatabaseError.h"
#include "VtException.h"
#include "VtGuard.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"
#include "VtSQLConnection.h"
#include "VtSQLQuery.h"
#include "VtTransaction.h"
#include "VtWaitCursor.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyleOptionButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The working account's exports, latest first, with how many of their
// debits were logged and how many of them are cancelled.
const QString ExportsSql =
    u"SELECT Esd.iEsdId, Esd.dEsdCreazione, Esd.sEsdFile, Esd.iEsdNumTx, Esd.iEsdTotCent, Esd.lEsdPagamenti,"
    " (SELECT COUNT(*) FROM TEtx_TransazSdd Etx WHERE Etx.iEsdId = Esd.iEsdId) AS iDisposizioni,"
    " (SELECT COUNT(*) FROM TEtx_TransazSdd Etx WHERE Etx.iEsdId = Esd.iEsdId AND Etx.dEtxStorno IS NOT NULL)"
    " AS iStornate"
    " FROM TEsd_EsportazSdd Esd WHERE Esd.iSprIstId = :iSprIstId"
    " ORDER BY Esd.dEsdCreazione DESC, Esd.iEsdId DESC"_s;
const QString DebitsSql =
    u"SELECT iEtxId, iEtxNum, sEtxDebitore, sEtxIban, sEtxMndtId, sEtxSeqTp, dEtxIncasso, iEtxCent, dEtxStorno"
    " FROM TEtx_TransazSdd WHERE iEsdId = :iEsdId ORDER BY iEtxNum, iEtxId"_s;
const QString CancelSql = u"EXECUTE PROCEDURE PEbd_SddStorno(:iEtxId)"_s;

const QString Caption = u"Storno esportazioni Rid"_s;
const QString Question =
    u"Stornare le disposizioni selezionate (%1) per un totale di %2 €?\r\nLe rate relative torneranno da pagare."_s;
const QString Done = u"Storno eseguito: %1 rate riaperte."_s;
const QString Failed = u"Storno non eseguito:\r\n"_s;
const QString YesText = u"Sì"_s, NoText = u"No"_s;
const QString PartlyCancelled = u"Stornata in parte"_s, Cancelled = u"Stornata"_s;

// The columns of the two lists, in the order of their rows' values.
struct TColumn
{
    const char *Name;
    QMetaType::Type Type;
};
const TColumn ExportColumns[] = {
    {"IESDID", QMetaType::Int},       {"DESDCREAZIONE", QMetaType::QDateTime}, {"SESDFILE", QMetaType::QString},
    {"IESDNUMTX", QMetaType::Int},    {"SIMPORTO", QMetaType::QString},        {"SPAGAMENTI", QMetaType::QString},
    {"SSTATO", QMetaType::QString},
};
const TColumn DebitColumns[] = {
    {"IETXID", QMetaType::Int},         {"STORNA", QMetaType::QString},     {"IETXNUM", QMetaType::Int},
    {"SETXDEBITORE", QMetaType::QString}, {"SETXIBAN", QMetaType::QString}, {"SETXMNDTID", QMetaType::QString},
    {"SETXSEQTP", QMetaType::QString},  {"DETXINCASSO", QMetaType::QDate},  {"IETXCENT", QMetaType::LongLong},
    {"SIMPORTO", QMetaType::QString},   {"DSTORNO", QMetaType::QDate},
};

template <size_t N>
void Declare(TVtQueryCollection *collection, const TColumn (&columns)[N])
{
    for (const TColumn &c : columns)
        collection->AddField(QString::fromLatin1(c.Name), c.Type);
}

TVtField *Field(const TVtQueryCollection *collection, const char *name)
{
    return collection->FieldByName(QString::fromLatin1(name));
}

QVariant NullOf(QMetaType::Type type)
{
    return QVariant(QMetaType(type));
}

QString Amount(const QVariant &cents)
{
    return TVtMoney::FromCents(cents.toLongLong()).Format();
}

QString State(int debits, int cancelled)
{
    if (cancelled <= 0)
        return QString();
    return cancelled < debits ? PartlyCancelled : Cancelled;
}

TVtDBGrid *NewGrid(QWidget *parent, const QString &name, TVtDataSource *source)
{
    auto *grid = new TVtDBGrid(parent);
    grid->setObjectName(name);
    grid->SetDataSource(source);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->SetSortable(false);
    return grid;
}

QPushButton *NewButton(QWidget *parent, const QString &name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfmEbdStornoRid::TfmEbdStornoRid(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"fmEbdStornoRid"_s);
    setWindowTitle(Caption);
    setModal(true);

    cdsEsportazioni = new TVtQueryCollection(this);
    cdsEsportazioni->setObjectName(u"cdsEsportazioni"_s);
    cdsEsportazioni->ReadOnly = true;
    Declare(cdsEsportazioni, ExportColumns);
    Field(cdsEsportazioni, "DESDCREAZIONE")->DisplayFormat = u"dd/MM/yyyy HH:mm"_s;
    Field(cdsEsportazioni, "SIMPORTO")->Alignment = int(Qt::AlignRight | Qt::AlignVCenter);
    cdsDisposizioni = new TVtQueryCollection(this);
    cdsDisposizioni->setObjectName(u"cdsDisposizioni"_s);
    cdsDisposizioni->ReadOnly = true;
    Declare(cdsDisposizioni, DebitColumns);
    Field(cdsDisposizioni, "SIMPORTO")->Alignment = int(Qt::AlignRight | Qt::AlignVCenter);
    m_dsEsportazioni = new TVtDataSource(this);
    m_dsEsportazioni->SetDataSet(cdsEsportazioni);
    m_dsDisposizioni = new TVtDataSource(this);
    m_dsDisposizioni->SetDataSet(cdsDisposizioni);

    auto *layout = new QVBoxLayout(this);
    laEsportazioni = new QLabel(u"Esportazioni del conto:"_s, this);
    laEsportazioni->setObjectName(u"laEsportazioni"_s);
    layout->addWidget(laEsportazioni);
    grEsportazioni = NewGrid(this, u"grEsportazioni"_s, m_dsEsportazioni);
    grEsportazioni->AddColumn(u"DESDCREAZIONE"_s, u"Data"_s, 130);
    grEsportazioni->AddColumn(u"SESDFILE"_s, u"File"_s, 450);
    grEsportazioni->AddColumn(u"IESDNUMTX"_s, u"Disposizioni"_s, 100);
    grEsportazioni->AddColumn(u"SIMPORTO"_s, u"Importo"_s, 120);
    grEsportazioni->AddColumn(u"SPAGAMENTI"_s, u"Pagamenti registrati"_s, 160);
    grEsportazioni->AddColumn(u"SSTATO"_s, u"Stato"_s, 140);
    layout->addWidget(grEsportazioni, 2);

    laDisposizioni = new QLabel(u"Disposizioni dell'esportazione:"_s, this);
    laDisposizioni->setObjectName(u"laDisposizioni"_s);
    layout->addWidget(laDisposizioni);
    grDisposizioni = NewGrid(this, u"grDisposizioni"_s, m_dsDisposizioni);
    grDisposizioni->AddColumn(u"STORNA"_s, u"Storna"_s, 60);
    grDisposizioni->AddColumn(u"IETXNUM"_s, u"N."_s, 50);
    grDisposizioni->AddColumn(u"SETXDEBITORE"_s, u"Destinatario"_s, 230);
    grDisposizioni->AddColumn(u"SETXIBAN"_s, u"IBAN"_s, 240);
    grDisposizioni->AddColumn(u"SETXMNDTID"_s, u"Mandato"_s, 160);
    grDisposizioni->AddColumn(u"SETXSEQTP"_s, u"Sequenza"_s, 80);
    grDisposizioni->AddColumn(u"DETXINCASSO"_s, u"Data incasso"_s, 100);
    grDisposizioni->AddColumn(u"SIMPORTO"_s, u"Importo"_s, 100);
    grDisposizioni->AddColumn(u"DSTORNO"_s, u"Stornata il"_s, 100);
    grDisposizioni->SetCellPainter(0, [this](QPainter *p, const QRect &cell, int row) { PaintTick(p, cell, row); });
    grDisposizioni->installEventFilter(this);
    layout->addWidget(grDisposizioni, 3);

    auto *buttons = new QHBoxLayout;
    buSelezionaTutto = NewButton(this, u"buSelezionaTutto"_s, u"Seleziona tutto"_s);
    buStorna = NewButton(this, u"buStorna"_s, u"Storna"_s);
    buChiudi = NewButton(this, u"buChiudi"_s, u"Chiudi"_s);
    buttons->addWidget(buSelezionaTutto);
    buttons->addStretch(1);
    buttons->addWidget(buStorna);
    buttons->addWidget(buChiudi);
    layout->addLayout(buttons);

    // Another export chosen: its debits, none ticked.
    cdsEsportazioni->AfterScroll = [this](TVtQueryCollection *) {
        if (!m_loading)
            LoadDebits();
    };
    // A click on a debit's box ticks it or takes the tick away.
    connect(grDisposizioni, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (index.column() == 0)
            Toggle(grDisposizioni->DataSetRow(index.row()));
    });
    connect(buSelezionaTutto, &QPushButton::clicked, this, [this] { SelectAll(); });
    connect(buStorna, &QPushButton::clicked, this, [this] { VtGuard([this] { Storna(); }); });
    connect(buChiudi, &QPushButton::clicked, this, &QDialog::reject);

    resize(1180, 720);
    Refresh();
}

TfmEbdStornoRid::~TfmEbdStornoRid()
{
    // The collections go with the window: no more rows to follow.
    cdsEsportazioni->AfterScroll = nullptr;
    grDisposizioni->removeEventFilter(this);
}

// ------------------------------------------------------------------- lists

void TfmEbdStornoRid::Refresh()
{
    const TVtWaitCursor wait;
    LoadExports(CurrentExport());
    LoadDebits();
}

void TfmEbdStornoRid::LoadExports(int keep)
{
    const QScopedValueRollback<bool> loading(m_loading, true);
    TSQLQuery q;
    q.SQL = ExportsSql;
    q.Params().CreateParam(QMetaType::Int, u"iSprIstId"_s)->SetValue(TEbdContext::Bindable(TEbdCtx::SprIstId));
    QVector<QVector<QVariant>> rows;
    for (q.Open(); !q.Eof(); q.Next()) {
        const QVariant created = q.FieldByName(u"dEsdCreazione"_s);
        rows.push_back({q.FieldByName(u"iEsdId"_s).toInt(),
                        created.isNull() ? NullOf(QMetaType::QDateTime) : QVariant(created.toDateTime()),
                        q.FieldByName(u"sEsdFile"_s).toString(), q.FieldByName(u"iEsdNumTx"_s).toInt(),
                        Amount(q.FieldByName(u"iEsdTotCent"_s)),
                        q.FieldByName(u"lEsdPagamenti"_s).toInt() == 1 ? YesText : NoText,
                        State(q.FieldByName(u"iDisposizioni"_s).toInt(), q.FieldByName(u"iStornate"_s).toInt())});
    }
    q.Close();
    cdsEsportazioni->OpenRows(rows);
    if (keep)
        cdsEsportazioni->Locate(u"IESDID"_s, keep);
}

void TfmEbdStornoRid::LoadDebits()
{
    m_ticked.clear();
    TSQLQuery q;
    q.SQL = DebitsSql;
    q.Params().CreateParam(QMetaType::Int, u"iEsdId"_s)->SetAsInteger(CurrentExport());
    QVector<QVector<QVariant>> rows;
    for (q.Open(); !q.Eof(); q.Next()) {
        const QVariant cancelled = q.FieldByName(u"dEtxStorno"_s);
        const QVariant cents = q.FieldByName(u"iEtxCent"_s);
        rows.push_back({q.FieldByName(u"iEtxId"_s).toInt(), QString(), q.FieldByName(u"iEtxNum"_s).toInt(),
                        q.FieldByName(u"sEtxDebitore"_s).toString().trimmed(),
                        q.FieldByName(u"sEtxIban"_s).toString().trimmed(),
                        q.FieldByName(u"sEtxMndtId"_s).toString().trimmed(),
                        q.FieldByName(u"sEtxSeqTp"_s).toString().trimmed(), q.FieldByName(u"dEtxIncasso"_s).toDate(),
                        cents.toLongLong(), Amount(cents),
                        cancelled.isNull() ? NullOf(QMetaType::QDate) : QVariant(cancelled.toDateTime().date())});
    }
    q.Close();
    cdsDisposizioni->OpenRows(rows);
    UpdateButtons();
    grDisposizioni->viewport()->update();
}

int TfmEbdStornoRid::CurrentExport() const
{
    if (!cdsEsportazioni->Active() || cdsEsportazioni->IsEmpty())
        return 0;
    return Field(cdsEsportazioni, "IESDID")->AsInteger();
}

bool TfmEbdStornoRid::SelectExport(int iEsdId)
{
    if (CurrentExport() == iEsdId)
        return true;
    return cdsEsportazioni->Locate(u"IESDID"_s, iEsdId);
}

// ------------------------------------------------------------------- ticks

int TfmEbdStornoRid::DebitId(int row) const
{
    if (row < 0 || row >= cdsDisposizioni->RecordCount())
        return 0;
    return cdsDisposizioni->RowValue(row, Field(cdsDisposizioni, "IETXID")->Index).toInt();
}

bool TfmEbdStornoRid::Tickable(int row) const
{
    return DebitId(row) != 0 && cdsDisposizioni->RowValue(row, Field(cdsDisposizioni, "DSTORNO")->Index).isNull();
}

bool TfmEbdStornoRid::Ticked(int row) const
{
    return Tickable(row) && m_ticked.contains(DebitId(row));
}

void TfmEbdStornoRid::SetTicked(int row, bool on)
{
    if (!Tickable(row))
        return;
    if (on)
        m_ticked.insert(DebitId(row));
    else
        m_ticked.remove(DebitId(row));
    UpdateButtons();
    grDisposizioni->viewport()->update();
}

void TfmEbdStornoRid::Toggle(int row)
{
    SetTicked(row, !Ticked(row));
}

void TfmEbdStornoRid::SelectAll()
{
    for (int row = 0; row < cdsDisposizioni->RecordCount(); ++row)
        if (Tickable(row))
            m_ticked.insert(DebitId(row));
    UpdateButtons();
    grDisposizioni->viewport()->update();
}

QList<int> TfmEbdStornoRid::TickedDebits() const
{
    QList<int> ids;
    for (int row = 0; row < cdsDisposizioni->RecordCount(); ++row)
        if (Ticked(row))
            ids << DebitId(row);
    return ids;
}

TVtMoney TfmEbdStornoRid::TickedTotal() const
{
    TVtMoney total;
    const int cents = Field(cdsDisposizioni, "IETXCENT")->Index;
    for (int row = 0; row < cdsDisposizioni->RecordCount(); ++row)
        if (Ticked(row))
            total += TVtMoney::FromCents(cdsDisposizioni->RowValue(row, cents).toLongLong());
    return total;
}

void TfmEbdStornoRid::UpdateButtons()
{
    bool any = false;
    for (int row = 0; row < cdsDisposizioni->RecordCount() && !any; ++row)
        any = Tickable(row);
    buSelezionaTutto->setEnabled(any);
    buStorna->setEnabled(!TickedDebits().isEmpty());
}

// The box of a debit not cancelled, in the middle of the cell.
void TfmEbdStornoRid::PaintTick(QPainter *painter, const QRect &cell, int row) const
{
    if (!Tickable(row))
        return;
    const QStyle *style = grDisposizioni->style();
    QStyleOptionButton box;
    box.initFrom(grDisposizioni);
    const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &box, grDisposizioni);
    const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &box, grDisposizioni);
    box.rect = QRect(cell.x() + (cell.width() - w) / 2, cell.y() + (cell.height() - h) / 2, w, h);
    box.state = QStyle::State_Enabled | (Ticked(row) ? QStyle::State_On : QStyle::State_Off);
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, grDisposizioni);
}

// The space bar ticks the current debit, as a click on its box does.
bool TfmEbdStornoRid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grDisposizioni && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space && grDisposizioni->currentIndex().isValid()) {
        Toggle(grDisposizioni->DataSetRow(grDisposizioni->currentIndex().row()));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ------------------------------------------------------------ cancellation

void TfmEbdStornoRid::Storna()
{
    const QList<int> debits = TickedDebits();
    if (debits.isEmpty())
        return;
    if (!VtConfirm(Question.arg(debits.size()).arg(TickedTotal().Format())))
        return;
    int reopened = 0;
    try {
        const TVtWaitCursor wait;
        reopened = CancelDebits(debits);
    } catch (const EVtDatabaseError &e) {
        // A rule of the database tells the reason in its own words.
        VtMessageDlg(Failed + (e.Error().Kind == TVtEngineError::ekRefused ? e.Error().Sentence() : e.Message()),
                     mtError, mbOK);
        return;
    } catch (const EVtException &e) {
        VtMessageDlg(Failed + e.Message(), mtError, mbOK);
        return;
    }
    VtMessageDlg(Done.arg(reopened), mtInformation, mbOK);
    Refresh();
}

// Every debit or none: the first refusal rolls back the ones before it.
int TfmEbdStornoRid::CancelDebits(const QList<int> &debits)
{
    TVtTransaction transaction(qqoVtGlobConn);
    transaction.StartTransaction();
    qqoVtGlobConn->CheckWritable();
    int reopened = 0;
    TSQLQuery q;
    q.SQL = CancelSql;
    TVtParam *debit = q.Params().CreateParam(QMetaType::Int, u"iEtxId"_s);
    // The incoming totals once for the whole batch, not after each debit.
    TSQLQuery defer;
    defer.SQL = u"SELECT RDB$SET_CONTEXT('USER_TRANSACTION', 'SDD_RICALCOLO', 'DIFFERITO') FROM RDB$DATABASE"_s;
    defer.Open();
    defer.Close();
    for (int id : debits) {
        debit->SetAsInteger(id);
        // An executable procedure gives its one row of outputs: read once.
        q.Open();
        reopened += q.FieldByName(u"iRiaperte"_s).toInt();
        q.Close();
    }
    TSQLQuery totals;
    totals.SQL = u"EXECUTE PROCEDURE PEbd_SddRicalcola"_s;
    totals.ExecSQL();
    transaction.Commit();
    return reopened;
}

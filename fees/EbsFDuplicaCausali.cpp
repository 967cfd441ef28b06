#include "EbsFDuplicaCausali.h"
#include "EbdUContext.h"
#include "EbsMDataSets.h"
#include "EbsUDuplicaCausali.h"
#include "VtEngineError.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtSQLQuery.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {
const QString ReasonsOfYear =
    u" SELECT Cau.iCauId, Cau.sCauLDesc, Cau.sCauSDesc FROM TCau_Causali Cau INNER JOIN TAns_AnniScolast Ans ON "
    "(Ans.dAnsVeltoInizio = Cau.dStart AND Ans.dAnsVeltoFine = Cau.dEnd) WHERE ((Cau.iDwgId IS NULL) OR (Cau.iDwgId = "
    ":iDwgId)) AND (Ans.iAnsId = :iAnsId) AND (Cau.lCauTipo = :lCauTipo) AND ((Cau.lCauVuvez = 1) OR (:ShowAll = 1))"_s;

struct TReason
{
    int Id;
    QString LDesc, SDesc;
};

QList<TReason> ReadReasons(int ansId, int direction, bool showAll)
{
    TSQLQuery q;
    q.SQL = ReasonsOfYear;
    q.Params().CreateParam(QMetaType::Int, u"iDwgId"_s)->SetValue(TEbdContext::GetOr0(TEbdCtx::DwgId));
    q.Params().CreateParam(QMetaType::Int, u"iAnsId"_s)->SetValue(ansId);
    q.Params().CreateParam(QMetaType::Int, u"lCauTipo"_s)->SetValue(direction);
    q.Params().CreateParam(QMetaType::Int, u"ShowAll"_s)->SetValue(showAll ? 1 : 0);
    QList<TReason> reasons;
    for (q.Open(); !q.Eof(); q.Next())
        reasons.append({q.Fields(0).toInt(), q.Fields(1).toString(), q.Fields(2).toString()});
    q.Close();
    return reasons;
}

// The hourglass while the copy runs, given back whatever happens.
class TWaitCursor
{
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
};

QString AmountText(const QVariant &amount)
{
    return amount.isNull() ? QString() : TVtMoney(amount.toDouble()).Format();
}
}

TfmEbsDuplicaCausali::TfmEbsDuplicaCausali(QWidget *parent) : TfmVtOkCancDlg(parent)
{
    setObjectName(u"fmEbsDuplicaCausali"_s);
    setWindowTitle(u"Duplica Causali"_s);
    resize(900, 640);

    auto *form = new QFormLayout;
    cbAnno = new QComboBox(paClient);
    cbAnno->setObjectName(u"cbAnno"_s);
    form->addRow(u"Anno Scolastico di provenienza:"_s, cbAnno);
    ClientLayout()->addLayout(form);

    lvCausali = new QTreeWidget(paClient);
    lvCausali->setObjectName(u"lvCausali"_s);
    lvCausali->setHeaderLabels({u"Causale"_s, u"IdCausale"_s});
    lvCausali->setRootIsDecorated(false);
    lvCausali->header()->resizeSection(0, 560);
    ClientLayout()->addWidget(lvCausali, 2);

    lbAnteprima = new QLabel(paClient);
    lbAnteprima->setObjectName(u"lbAnteprima"_s);
    ClientLayout()->addWidget(lbAnteprima);
    grAnteprima = new QTableWidget(0, 6, paClient);
    grAnteprima->setObjectName(u"grAnteprima"_s);
    grAnteprima->setHorizontalHeaderLabels({u"Causale"_s, u"Componente"_s, u"Descrizione componente"_s,
                                            u"Importo istituto"_s, u"Data scadenza"_s, u"Stato"_s});
    grAnteprima->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grAnteprima->setSelectionBehavior(QAbstractItemView::SelectRows);
    grAnteprima->verticalHeader()->hide();
    for (auto [column, width] : {std::pair{0, 190}, {1, 100}, {2, 220}, {3, 110}, {4, 100}, {5, 150}})
        grAnteprima->setColumnWidth(column, width);
    grAnteprima->horizontalHeader()->setStretchLastSection(true);
    ClientLayout()->addWidget(grAnteprima, 3);
    lbRiepilogo = new QLabel(paClient);
    lbRiepilogo->setObjectName(u"lbRiepilogo"_s);
    ClientLayout()->addWidget(lbRiepilogo);

    FillYears();
    connect(cbAnno, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            FillList();
    });
    connect(lvCausali, &QTreeWidget::itemChanged, this, [this] {
        if (!m_filling)
            UpdatePreview();
    });
    UpdatePreview();
}

// Every school year, on the application's one.
void TfmEbsDuplicaCausali::FillYears()
{
    m_filling = true;
    TSQLQuery q;
    q.SQL = u" SELECT VAns.iAnsId, VAns.sAnsAnnoDesc FROM VAns_AnniScolast VAns ORDER BY VAns.iAnsValore"_s;
    for (q.Open(); !q.Eof(); q.Next())
        cbAnno->addItem(q.Fields(1).toString(), q.Fields(0).toInt());
    q.Close();
    cbAnno->setCurrentIndex(cbAnno->findData(TEbdContext::GetOr0(TEbdCtx::AnsId)));
    m_filling = false;
}

void TfmEbsDuplicaCausali::SetSource(int direction, bool showAll, int sourceAnsId)
{
    m_direction = direction;
    m_showAll = showAll;
    m_filling = true;
    cbAnno->setCurrentIndex(cbAnno->findData(sourceAnsId));
    m_filling = false;
    FillList();
}

int TfmEbsDuplicaCausali::SourceAnsId() const
{
    return cbAnno->currentIndex() < 0 ? 0 : cbAnno->currentData().toInt();
}

// The source year's reasons that the target year does not have with the
// same description and code.
void TfmEbsDuplicaCausali::FillList()
{
    m_filling = true;
    lvCausali->clear();
    if (SourceAnsId() != 0) {
        const QList<TReason> target = ReadReasons(TEbdContext::GetOr0(TEbdCtx::CauAnsId), m_direction, true);
        for (const TReason &r : ReadReasons(SourceAnsId(), m_direction, m_showAll)) {
            const bool there = std::any_of(target.begin(), target.end(), [&](const TReason &t) {
                return t.LDesc == r.LDesc && t.SDesc == r.SDesc;
            });
            if (there)
                continue;
            auto *item = new QTreeWidgetItem(lvCausali, {r.LDesc, QString::number(r.Id)});
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Unchecked);
        }
    }
    m_filling = false;
    UpdatePreview();
}

QList<int> TfmEbsDuplicaCausali::TickedReasons() const
{
    QList<int> ids;
    for (int i = 0; i < lvCausali->topLevelItemCount(); ++i)
        if (lvCausali->topLevelItem(i)->checkState(0) == Qt::Checked)
            ids << lvCausali->topLevelItem(i)->text(1).toInt();
    return ids;
}

bool TfmEbsDuplicaCausali::SetTicked(int cauId, bool on)
{
    for (int i = 0; i < lvCausali->topLevelItemCount(); ++i)
        if (lvCausali->topLevelItem(i)->text(1).toInt() == cauId) {
            lvCausali->topLevelItem(i)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
            return true;
        }
    return false;
}

void TfmEbsDuplicaCausali::UpdatePreview()
{
    ShowPreview(EbsPreviewDuplicaCausali(TEbdContext::GetOr0(TEbdCtx::CauAnsId), TickedReasons()));
}

void TfmEbsDuplicaCausali::ShowPreview(const TEbsDuplicaPreview &preview)
{
    lbAnteprima->setText(u"Anteprima delle causali da creare nell'anno scolastico %1"_s.arg(preview.AnnoDestinazione));
    grAnteprima->setRowCount(0);
    grAnteprima->setRowCount(preview.Rows.size());
    for (int r = 0; r < preview.Rows.size(); ++r) {
        const TEbsDuplicaRow &row = preview.Rows[r];
        const QStringList texts{row.Causale, row.Componente, row.DescComponente, AmountText(row.ImportoIst),
                                row.Scadenza.isValid() ? row.Scadenza.toString(u"dd/MM/yyyy"_s) : QString(), row.Stato};
        for (int c = 0; c < texts.size(); ++c) {
            auto *cell = new QTableWidgetItem(texts[c]);
            if (c == 3)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grAnteprima->setItem(r, c, cell);
        }
    }
    lbRiepilogo->setText(preview.Summary());
}

// What the copy would double is refused before anything is written.
bool TfmEbsDuplicaCausali::RefusedBeforeWriting(const TEbsDuplicaPreview &preview)
{
    if (!preview.ExistingInTarget.isEmpty()) {
        VtMessageDlg(u"Attenzione!\r\nNell'anno scolastico %1 esiste già una causale con la stessa descrizione di:\r\n%2\r\n"
                     "Nessuna causale è stata duplicata: togliere la spunta a queste causali e riprovare."_s
                         .arg(preview.AnnoDestinazione, preview.ExistingInTarget.join(u"\r\n"_s)),
                     mtWarning, mbOK);
        return true;
    }
    if (!preview.Conflict.isEmpty()) {
        VtMessageDlg(u"Attenzione!\r\nTra le causali selezionate ce ne sono più di una con la descrizione:\r\n%1\r\n"
                     "Nessuna causale è stata duplicata: lasciarne selezionata una sola."_s.arg(preview.Conflict),
                     mtWarning, mbOK);
        return true;
    }
    return false;
}

bool TfmEbsDuplicaCausali::Copy(const QList<int> &reasons)
{
    m_copying = true;
    buOk->setEnabled(false);
    bool done = false;
    try {
        TWaitCursor wait;
        EbsDuplicaCausali(TEbdContext::GetOr0(TEbdCtx::CauAnsId), reasons);
        done = true;
    } catch (const EVtException &e) {
        // The database's own words; the engine's details would split the sentence.
        const QString text = e.Message().section(TVtEngineError::DetailsMarker(), 0, 0);
        VtMessageDlg(u"Impossibile duplicare le causali:\r\n%1\r\nNessuna causale è stata duplicata."_s.arg(text),
                     mtError, mbOK);
    }
    buOk->setEnabled(true);
    m_copying = false;
    return done;
}

bool TfmEbsDuplicaCausali::CanAccept()
{
    if (m_copying)
        return false;
    const QList<int> reasons = TickedReasons();
    bool done = true;
    if (!reasons.isEmpty()) {
        const TEbsDuplicaPreview preview = EbsPreviewDuplicaCausali(TEbdContext::GetOr0(TEbdCtx::CauAnsId), reasons);
        done = !RefusedBeforeWriting(preview) && Copy(reasons);
    }
    // The calling window lists what is there now, whatever happened.
    if (dmEbsDataSets && dmEbsDataSets->xqcCaus->State() == dsBrowse)
        dmEbsDataSets->xqcCaus->Refresh();
    return done && TfmVtOkCancDlg::CanAccept();
}

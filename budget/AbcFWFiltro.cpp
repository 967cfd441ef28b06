#include "AbcFWFiltro.h"
#include "AbcMVproDBQuery.h"
#include "AbcUVociProgetti.h"
#include "EbdUGlobals.h"
#include "VtSQLQuery.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString Flows = u" SELECT TFLS_FLUSSOCASSA.IFLSID, TFLS_FLUSSOCASSA.SFLSDESCL FROM TFLS_FLUSSOCASSA"
                      " WHERE TFLS_FLUSSOCASSA.DDELETE IS NULL ORDER BY TFLS_FLUSSOCASSA.IFLSID"_s;
const QString TotalTypes = u" SELECT TTITO_TIPOTOTALE.ITITOID, TTITO_TIPOTOTALE.STITODESCL FROM TTITO_TIPOTOTALE"
                           " WHERE TTITO_TIPOTOTALE.DDELETE IS NULL ORDER BY TTITO_TIPOTOTALE.ITITOID"_s;

QListWidget *SelectionPage(TfmVtWizard *wizard, const QString &name, QLabel *&label, QWidget *&page)
{
    page = new QWidget;
    page->setObjectName(name);
    auto *layout = new QVBoxLayout(page);
    label = new QLabel(u"Selezione:"_s, page);
    auto *list = new QListWidget(page);
    layout->addWidget(label);
    layout->addWidget(list, 1);
    wizard->AddPage(page);
    return list;
}

int ChosenId(const QListWidget *list)
{
    const QListWidgetItem *item = list->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}
}

TfmWFiltro::TfmWFiltro(QWidget *parent) : TfmVtWizard(parent)
{
    setObjectName(u"fmWFiltro"_s);
    QWidget *page = nullptr;
    lbFlussoCassa = SelectionPage(this, u"tsFlussoCassa"_s, laFlussoCassa, page);
    lbFlussoCassa->setObjectName(u"lbFlussoCassa"_s);
    lbTipoTotale = SelectionPage(this, u"tsTipoTotale"_s, laTipoTotale, page);
    lbTipoTotale->setObjectName(u"lbTipoTotale"_s);
    laFiltro = new QLabel(u"Filtro"_s, page);
    laFiltro->setObjectName(u"laFiltro"_s);
    beFiltro = new QFrame(page);
    beFiltro->setFrameShape(QFrame::HLine);
    beFiltro->setFrameShadow(QFrame::Sunken);
    static_cast<QVBoxLayout *>(page->layout())->addWidget(laFiltro);
    static_cast<QVBoxLayout *>(page->layout())->addWidget(beFiltro);
    Fill(lbFlussoCassa, Flows);
    Fill(lbTipoTotale, TotalTypes);
    connect(lbTipoTotale, &QListWidget::currentRowChanged, this, [this] { UpdateSummary(); });
    connect(lbFlussoCassa, &QListWidget::currentRowChanged, this, [this] { CheckButtons(); });
    resize(420, 320);
    SetActivePage(tsFlussoCassa);
}

// The rows in upper case, each with its id; the first one chosen.
void TfmWFiltro::Fill(QListWidget *list, const QString &sql)
{
    TSQLQuery *q = dmVproDBQuery ? dmVproDBQuery->qquTmp : nullptr;
    TSQLQuery own;
    if (!q)
        q = &own;
    q->Close();
    q->SQL = sql;
    q->Open();
    for (; !q->Eof(); q->Next()) {
        auto *item = new QListWidgetItem(q->Fields(1).toString().trimmed().toUpper(), list);
        item->setData(Qt::UserRole, q->Fields(0).toInt());
    }
    q->Close();
    if (list->count() > 0)
        list->setCurrentRow(0);
}

int TfmWFiltro::ChosenFlsId() const
{
    return ChosenId(lbFlussoCassa);
}

int TfmWFiltro::ChosenTitoId() const
{
    return ChosenId(lbTipoTotale);
}

void TfmWFiltro::PageChanged(int page)
{
    TfmVtWizard::PageChanged(page);
    if (page == tsTipoTotale && lbTipoTotale->count() > 0) {
        lbTipoTotale->setCurrentRow(0);
        UpdateSummary();
    }
}

void TfmWFiltro::UpdateSummary()
{
    const QListWidgetItem *flow = lbFlussoCassa->currentItem();
    const QListWidgetItem *type = lbTipoTotale->currentItem();
    laFiltro->setText(flow && type ? flow->text() + u" - "_s + type->text() : u"Filtro"_s);
    CheckButtons();
}

// The ids of the rows chosen, whatever their places in the lists.
bool TfmWFiltro::CanAccept()
{
    if (ChosenFlsId() < 0 || ChosenTitoId() < 0)
        return false;
    gFlsId = ChosenFlsId();
    gTitoId = ChosenTitoId();
    return true;
}

bool RunTotalsFilter(int kind)
{
    TfmWFiltro wizard;
    wizard.setWindowTitle(kind == 1 ? u"Aggregati"_s : u"Voci e Progetti"_s);
    return wizard.exec() == QDialog::Accepted;
}

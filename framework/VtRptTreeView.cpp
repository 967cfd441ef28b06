#include "VtRptTreeView.h"
#include "VtGuard.h"
#include "VtSQLQuery.h"
#include "dmVtRptFR.h"
#include "frDesigner.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>

TVtRptTreeView::TVtRptTreeView(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("tvReport"));
    setHeaderHidden(true);
    setColumnCount(1);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *, int) { RunCurrent(); });
    pmReport = new QMenu(this);
    acAnteprima = pmReport->addAction(QStringLiteral("Anteprima"));
    acModificaModello = pmReport->addAction(QStringLiteral("Modifica modello..."));
    connect(acAnteprima, &QAction::triggered, this, [this] { RunCurrent(); });
    connect(acModificaModello, &QAction::triggered, this, [this] { VtGuard([this] { EditSelected(); }); });
}

TVtRptTreeView::~TVtRptTreeView()
{
    delete m_designer.data();
}

TdmVtRptFR *TVtRptTreeView::GetfrReport()
{
    if (!m_report)
        m_report = new TdmVtRptFR(this);
    return m_report;
}

TfrDesigner *TVtRptTreeView::GetfrDesigner()
{
    if (!m_designer)
        m_designer = new TfrDesigner(GetfrReport(), this);
    return m_designer;
}

bool TVtRptTreeView::EditSelected()
{
    const int id = SelectedRptId();
    if (id < 0)
        return false;
    TfrDesigner *designer = GetfrDesigner();
    if (!designer->Edit(id, ImageIndexFor(id)))
        return false;
    designer->show();
    designer->raise();
    return true;
}

void TVtRptTreeView::contextMenuEvent(QContextMenuEvent *event)
{
    const bool report = SelectedRptId() >= 0;
    acAnteprima->setEnabled(report);
    acModificaModello->setEnabled(report);
    pmReport->popup(event->globalPos());
}

void TVtRptTreeView::LoadFromVtDB(const QString &codAppl)
{
    struct TRow
    {
        int Id, Parent;
        QString Desc;
        bool Folder;
    };
    QList<TRow> rows;
    TSQLQuery q;
    q.SQL = QStringLiteral("SELECT iYRptId, iYRptId_P, sYRptDesc, CASE WHEN bYRptTemplate IS NULL THEN 1 ELSE 0 END FROM "
                           "TYRpt_RptTemplate WHERE sYAppCode = :sYAppCode AND dDelete IS NULL ORDER BY iYRptOrdine, "
                           "sYRptDesc");
    q.Params().CreateParam(QMetaType::QString, QStringLiteral("sYAppCode"))->SetAsString(codAppl);
    for (q.Open(); !q.Eof(); q.Next())
        rows << TRow{q.Fields(0).toInt(), q.Fields(1).isNull() ? 0 : q.Fields(1).toInt(), q.Fields(2).toString(),
                     q.Fields(3).toInt() == 1};
    q.Close();
    QMultiHash<int, QPair<int, QString>> copies;
    q.SQL = QStringLiteral("SELECT c.iYRpcId, c.iYRptId, c.sYRpcDesc FROM TYRpc_RptCustom c WHERE c.dDelete IS NULL "
                           "ORDER BY c.iYRpcId");
    q.Params().Clear();
    for (q.Open(); !q.Eof(); q.Next())
        copies.insert(q.Fields(1).toInt(), {q.Fields(0).toInt(), q.Fields(2).toString()});
    q.Close();
    const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon file = style()->standardIcon(QStyle::SP_FileIcon);
    const QIcon copy = style()->standardIcon(QStyle::SP_FileLinkIcon);
    QHash<int, QTreeWidgetItem *> items;
    std::function<void(int, QTreeWidgetItem *)> add = [&](int parent, QTreeWidgetItem *into) {
        for (const TRow &r : rows) {
            if (r.Parent != parent || items.contains(r.Id))
                continue;
            QTreeWidgetItem *item = r.Folder ? AddFolder(into, r.Desc) : AddReport(into, r.Desc, r.Id);
            items.insert(r.Id, item);
            item->setIcon(0, r.Folder ? folder : file);
            if (!r.Folder) {
                item->setData(0, ImageRole, 4);
                QList<QPair<int, QString>> own = copies.values(r.Id);
                std::sort(own.begin(), own.end());
                for (const auto &[id, desc] : own) {
                    QTreeWidgetItem *c = AddReport(into, desc, id);
                    c->setIcon(0, copy);
                    c->setData(0, ImageRole, 5);
                }
            }
            add(r.Id, item);
        }
    };
    add(0, nullptr);
    // A row whose parent is missing or deleted stands at the top.
    for (const TRow &r : rows)
        if (!items.contains(r.Id)) {
            QTreeWidgetItem *item = r.Folder ? AddFolder(nullptr, r.Desc) : AddReport(nullptr, r.Desc, r.Id);
            items.insert(r.Id, item);
        }
}

QTreeWidgetItem *TVtRptTreeView::AddFolder(QTreeWidgetItem *parent, const QString &caption)
{
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, caption);
    return item;
}

QTreeWidgetItem *TVtRptTreeView::AddReport(QTreeWidgetItem *parent, const QString &caption, int rptId)
{
    auto *item = AddFolder(parent, caption);
    item->setData(0, RptIdRole, rptId);
    return item;
}

namespace {
void Collect(QTreeWidgetItem *item, QList<QTreeWidgetItem *> &out)
{
    out << item;
    for (int i = 0; i < item->childCount(); ++i)
        Collect(item->child(i), out);
}
}

void TVtRptTreeView::ApplyFilter()
{
    if (!Filter)
        return;
    QList<QTreeWidgetItem *> all;
    for (int i = 0; i < topLevelItemCount(); ++i)
        Collect(topLevelItem(i), all);
    for (int i = all.size() - 1; i >= 0; --i) {
        QTreeWidgetItem *item = all[i];
        const QVariant id = item->data(0, RptIdRole);
        if (id.isValid() && !Filter(id.toInt()))
            delete item;
    }
}

void TVtRptTreeView::Refresh()
{
    clear();
    if (OnLoad)
        OnLoad(this);
    ApplyFilter();
}

int TVtRptTreeView::SelectedRptId() const
{
    QTreeWidgetItem *item = currentItem();
    if (!item)
        return -1;
    const QVariant id = item->data(0, RptIdRole);
    return id.isValid() ? id.toInt() : -1;
}

bool TVtRptTreeView::SelectRptId(int rptId)
{
    QList<QTreeWidgetItem *> all;
    for (int i = 0; i < topLevelItemCount(); ++i)
        Collect(topLevelItem(i), all);
    for (QTreeWidgetItem *item : all) {
        const QVariant id = item->data(0, RptIdRole);
        if (id.isValid() && id.toInt() == rptId) {
            setCurrentItem(item);
            return true;
        }
    }
    return false;
}

QList<int> TVtRptTreeView::RptIds() const
{
    QList<QTreeWidgetItem *> all;
    for (int i = 0; i < topLevelItemCount(); ++i)
        Collect(topLevelItem(i), all);
    QList<int> ids;
    for (QTreeWidgetItem *item : all) {
        const QVariant id = item->data(0, RptIdRole);
        if (id.isValid())
            ids << id.toInt();
    }
    return ids;
}

void TVtRptTreeView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        RunCurrent();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void TVtRptTreeView::RunCurrent()
{
    const int id = SelectedRptId();
    if (id >= 0 && OnRunReport)
        OnRunReport(this, id);
}

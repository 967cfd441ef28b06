#include "VtRptTreeView.h"

#include <QKeyEvent>

TVtRptTreeView::TVtRptTreeView(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("tvReport"));
    setHeaderHidden(true);
    setColumnCount(1);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *, int) { RunCurrent(); });
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

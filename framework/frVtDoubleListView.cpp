#include "frVtDoubleListView.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QTreeWidget *MakeList(QWidget *parent, const QString &name)
{
    auto *l = new QTreeWidget(parent);
    l->setObjectName(name);
    l->setRootIsDecorated(false);
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    l->setAllColumnsShowFocus(true);
    l->setUniformRowHeights(true);
    return l;
}

QToolButton *MakeButton(QWidget *parent, const QString &name, const QString &text, const QString &tip)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    return b;
}
}

TfrVtDoubleListView::TfrVtDoubleListView(QWidget *parent) : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    lbLeft = new QLabel(QStringLiteral("Disponibili"), this);
    lbRight = new QLabel(QStringLiteral("Selezionati"), this);
    lvLeft = MakeList(this, QStringLiteral("lvLeft"));
    lvRight = MakeList(this, QStringLiteral("lvRight"));
    auto *buttons = new QVBoxLayout;
    buMoveRight = MakeButton(this, QStringLiteral("buMoveRight"), QStringLiteral(">"), QStringLiteral("Sposta i selezionati"));
    buMoveAllRight = MakeButton(this, QStringLiteral("buMoveAllRight"), QStringLiteral(">>"), QStringLiteral("Sposta tutti"));
    buMoveLeft = MakeButton(this, QStringLiteral("buMoveLeft"), QStringLiteral("<"), QStringLiteral("Togli i selezionati"));
    buMoveAllLeft = MakeButton(this, QStringLiteral("buMoveAllLeft"), QStringLiteral("<<"), QStringLiteral("Togli tutti"));
    buttons->addStretch();
    buttons->addWidget(buMoveRight);
    buttons->addWidget(buMoveAllRight);
    buttons->addSpacing(12);
    buttons->addWidget(buMoveLeft);
    buttons->addWidget(buMoveAllLeft);
    buttons->addStretch();
    grid->addWidget(lbLeft, 0, 0);
    grid->addWidget(lbRight, 0, 2);
    grid->addWidget(lvLeft, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(lvRight, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);

    connect(buMoveRight, &QToolButton::clicked, this, [this] { MoveSelected(true); });
    connect(buMoveAllRight, &QToolButton::clicked, this, [this] { MoveAll(true); });
    connect(buMoveLeft, &QToolButton::clicked, this, [this] { MoveSelected(false); });
    connect(buMoveAllLeft, &QToolButton::clicked, this, [this] { MoveAll(false); });
    connect(lvLeft, &QTreeWidget::itemDoubleClicked, this, [this] { MoveSelected(true); });
    connect(lvRight, &QTreeWidget::itemDoubleClicked, this, [this] { MoveSelected(false); });
    connect(lvLeft, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(lvRight, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    UpdateButtons();
}

void TfrVtDoubleListView::SetCaptions(const QString &left, const QString &right)
{
    lbLeft->setText(left);
    lbRight->setText(right);
}

void TfrVtDoubleListView::SetColumns(const QStringList &titles)
{
    for (QTreeWidget *l : {lvLeft, lvRight}) {
        l->setColumnCount(titles.size());
        l->setHeaderLabels(titles);
    }
}

QTreeWidgetItem *TfrVtDoubleListView::AddItem(TSide side, const QStringList &texts, const QVariant &data)
{
    auto *item = new QTreeWidgetItem(List(side), texts);
    item->setData(0, Qt::UserRole, data);
    UpdateButtons();
    return item;
}

void TfrVtDoubleListView::Clear()
{
    lvLeft->clear();
    lvRight->clear();
    UpdateButtons();
}

int TfrVtDoubleListView::Move(QTreeWidget *from, QTreeWidget *to, bool onlySelected)
{
    QList<QTreeWidgetItem *> moving;
    for (int i = 0; i < from->topLevelItemCount(); ++i)
        if (!onlySelected || from->topLevelItem(i)->isSelected())
            moving << from->topLevelItem(i);
    if (moving.isEmpty())
        return 0;
    to->clearSelection();
    for (QTreeWidgetItem *item : moving) {
        from->takeTopLevelItem(from->indexOfTopLevelItem(item));
        to->addTopLevelItem(item);
        item->setSelected(true);
    }
    if (to->isSortingEnabled())
        to->sortItems(to->sortColumn(), to->header()->sortIndicatorOrder());
    UpdateButtons();
    if (OnMove)
        OnMove(this);
    return moving.size();
}

int TfrVtDoubleListView::MoveSelected(bool toRight)
{
    return toRight ? Move(lvLeft, lvRight, true) : Move(lvRight, lvLeft, true);
}

int TfrVtDoubleListView::MoveAll(bool toRight)
{
    return toRight ? Move(lvLeft, lvRight, false) : Move(lvRight, lvLeft, false);
}

int TfrVtDoubleListView::LeftCount() const { return lvLeft->topLevelItemCount(); }
int TfrVtDoubleListView::RightCount() const { return lvRight->topLevelItemCount(); }
int TfrVtDoubleListView::LeftSelCount() const { return lvLeft->selectedItems().size(); }
int TfrVtDoubleListView::RightSelCount() const { return lvRight->selectedItems().size(); }

QVariantList TfrVtDoubleListView::Items(TSide side) const
{
    QVariantList out;
    QTreeWidget *l = List(side);
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        out << l->topLevelItem(i)->data(0, Qt::UserRole);
    return out;
}

QVariantList TfrVtDoubleListView::Selection(TSide side) const
{
    QVariantList out;
    QTreeWidget *l = List(side);
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        if (l->topLevelItem(i)->isSelected())
            out << l->topLevelItem(i)->data(0, Qt::UserRole);
    return out;
}

void TfrVtDoubleListView::Select(TSide side, const QVariantList &data)
{
    QTreeWidget *l = List(side);
    for (int i = 0; i < l->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = l->topLevelItem(i);
        for (const QVariant &d : data)
            if (item->data(0, Qt::UserRole) == d)
                item->setSelected(true);
    }
}

void TfrVtDoubleListView::UpdateButtons()
{
    buMoveRight->setEnabled(LeftSelCount() > 0);
    buMoveAllRight->setEnabled(LeftCount() > 0);
    buMoveLeft->setEnabled(RightSelCount() > 0);
    buMoveAllLeft->setEnabled(RightCount() > 0);
}

#include "VtOutlookBar.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Keeps a button's visibility in step with its action's.
class TVisibilitySync : public QObject
{
public:
    TVisibilitySync(QToolButton *button, QAction *action) : QObject(button), m_button(button)
    {
        connect(action, &QAction::changed, this, [this, action] { m_button->setVisible(action->isVisible()); });
        m_button->setVisible(action->isVisible());
    }

private:
    QToolButton *m_button;
};
}

TVtOutlookBar::TVtOutlookBar(QWidget *parent)
    : QToolBox(parent)
{
    setObjectName(QStringLiteral("xobMain"));
    setMinimumWidth(150);
}

QIcon TVtOutlookBar::Image(int index) const
{
    return index >= 0 && index < Images.size() ? Images[index] : QIcon();
}

QWidget *TVtOutlookBar::AddBarPage(const QString &caption, int order)
{
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    layout->addStretch(1);
    scroll->setWidget(content);
    content->setProperty("VtBarPage", caption);

    int index = 0;
    for (const auto &entry : m_orders) {
        if (entry.first <= order)
            ++index;
    }
    m_orders.insert(index, qMakePair(order, static_cast<QWidget *>(content)));
    insertItem(index, scroll, caption);
    return content;
}

void TVtOutlookBar::RemoveBarPage(QWidget *content)
{
    for (int i = 0; i < m_orders.size(); ++i) {
        if (m_orders[i].second == content) {
            QWidget *page = widget(i);
            removeItem(i);
            m_orders.removeAt(i);
            delete page;
            return;
        }
    }
}

QToolButton *TVtOutlookBar::AddButton(QWidget *content, QAction *action, int imageIndex)
{
    auto *button = new QToolButton(content);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(ButtonIconSize, ButtonIconSize));
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    if (imageIndex >= 0 && action->icon().isNull())
        action->setIcon(Image(imageIndex));
    button->setDefaultAction(action);
    button->setObjectName(action->objectName());
    new TVisibilitySync(button, action);
    auto *layout = static_cast<QVBoxLayout *>(content->layout());
    layout->insertWidget(layout->count() - 1, button);   // before the stretch
    // Wide enough for the longest caption: no clipped text.
    const int needed = button->sizeHint().width() + 2 * layout->contentsMargins().left() + 24;
    if (minimumWidth() < needed)
        setMinimumWidth(needed);
    return button;
}

void TVtOutlookBar::AddWidget(QWidget *content, QWidget *widget)
{
    auto *layout = static_cast<QVBoxLayout *>(content->layout());
    // A filling widget takes the stretch's place.
    if (layout->count() > 0 && layout->itemAt(layout->count() - 1)->spacerItem())
        delete layout->takeAt(layout->count() - 1);
    layout->addWidget(widget, 1);
}

QMenu *TVtOutlookBar::AddMenu(const QString &caption)
{
    if (!MenuBar)
        return nullptr;
    auto *menu = new QMenu(caption, MenuBar);
    if (MenuBefore)
        MenuBar->insertMenu(MenuBefore, menu);
    else
        MenuBar->addMenu(menu);
    return menu;
}

QList<QToolButton *> TVtOutlookBar::Buttons(QWidget *content) const
{
    QList<QToolButton *> list;
    auto *layout = content->layout();
    for (int i = 0; i < layout->count(); ++i)
        if (auto *b = qobject_cast<QToolButton *>(layout->itemAt(i)->widget()))
            list << b;
    return list;
}

int TVtOutlookBar::IndexOfCaption(const QString &caption) const
{
    for (int i = 0; i < count(); ++i)
        if (itemText(i) == caption)
            return i;
    return -1;
}

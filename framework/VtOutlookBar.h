#pragma once
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QToolBox>

class QAction;
class QMenu;
class QMenuBar;
class QToolButton;

// The command bar at the left of the main window: one page (with its
// header) per command page, holding large buttons (icon over caption). The
// command modules fill it in their Execute; the main window gives it the
// image list and the menu bar where the modules add their menus.
class TVtOutlookBar : public QToolBox
{
    Q_OBJECT
public:
    explicit TVtOutlookBar(QWidget *parent = nullptr);

    // Icons the commands' ImageIndex refers to.
    QList<QIcon> Images;
    int ButtonIconSize = 32;
    // Where the modules add a menu per page: before MenuBefore (at the end
    // when null).
    QPointer<QMenuBar> MenuBar;
    QPointer<QAction> MenuBefore;

    QIcon Image(int index) const;

    // Adds a page at the position its order gives among the pages present;
    // returns the page's content widget (a vertical list).
    QWidget *AddBarPage(const QString &caption, int order);
    void RemoveBarPage(QWidget *content);
    // Adds a large button for an action to a page made by AddBarPage.
    QToolButton *AddButton(QWidget *content, QAction *action, int imageIndex);
    // Adds any widget (such as a report tree) to a page, taking the space left.
    void AddWidget(QWidget *content, QWidget *widget);
    // Adds a menu for a page to the menu bar; null when there is no menu bar.
    QMenu *AddMenu(const QString &caption);

    // The buttons of a page, in display order.
    QList<QToolButton *> Buttons(QWidget *content) const;
    int IndexOfCaption(const QString &caption) const;

private:
    QList<QPair<int, QWidget *>> m_orders;   // page order by content widget
};

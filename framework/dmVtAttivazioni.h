#pragma once
#include <QList>
#include <QObject>
#include <QPointer>

class QMenu;
class TVtApgPage;
class TVtAttivazione;
class TVtOutlookBar;

// Base of a command module: owns pages and commands (created with the
// module as their owner) and shows its pages in the command bar.
//
//   SetContainer(bar)  the command bar (the main window's outlook bar);
//   Execute()          builds, in the bar, one page per visible page of the
//                      module in page order, each with a large button per
//                      visible command on it (commands moved here from other
//                      modules included), and one menu per visible InMenu
//                      page in the main window's menu bar. Running it again
//                      rebuilds what it built before.
class TdmVtAttivazioni : public QObject
{
    Q_OBJECT
public:
    explicit TdmVtAttivazioni(QObject *parent = nullptr);
    ~TdmVtAttivazioni() override;

    void SetContainer(TVtOutlookBar *container);
    TVtOutlookBar *Container() const;
    void Execute();

    // Pages in page order, commands in creation order.
    QList<TVtApgPage *> Pages() const;
    QList<TVtAttivazione *> Commands() const;
    TVtApgPage *FindPage(const QString &name) const;
    TVtAttivazione *FindCommand(const QString &name) const;

    // What Execute built: the bar page and the menu of a page.
    QWidget *BarPage(const TVtApgPage *page) const;
    QMenu *Menu(const TVtApgPage *page) const;

private:
    friend class TVtApgPage;
    void RegisterPage(TVtApgPage *page);
    void UnregisterPage(TVtApgPage *page);
    void ClearBuilt();

    struct TBuilt
    {
        QPointer<TVtApgPage> Page;
        QPointer<QWidget> Content;
        QPointer<QMenu> Menu;
    };
    QList<QPointer<TVtApgPage>> m_pages;
    QPointer<TVtOutlookBar> m_container;
    QList<TBuilt> m_built;
};

#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class TdmVtAttivazioni;
class TVtAttivazione;

// A page of a command module: one page of the command bar (and, when
// InMenu, one menu of the main window). Commands join it by setting their
// ParentPage; commands of other modules may be moved into it.
class TVtApgPage : public QObject
{
    Q_OBJECT
public:
    TVtApgPage(TdmVtAttivazioni *owner, const QString &name, const QString &caption, int order,
               bool sorted = true, bool inMenu = true, bool visible = true);
    ~TVtApgPage() override;

    TdmVtAttivazioni *Owner() const { return m_owner; }

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption) { m_caption = caption; }
    int Order() const { return m_order; }
    void SetOrder(int order) { m_order = order; }
    // Sorted: commands shown by their Order (ties keep the order they joined
    // in); not sorted: in the order they joined.
    bool Sorted() const { return m_sorted; }
    void SetSorted(bool on) { m_sorted = on; }
    bool InMenu() const { return m_inMenu; }
    void SetInMenu(bool on) { m_inMenu = on; }
    // A hidden page shows neither in the bar nor in the menus.
    bool Visible() const { return m_visible; }
    void SetVisible(bool on) { m_visible = on; }

    // The page's commands in display order (hidden ones included).
    QList<TVtAttivazione *> Commands() const;

private:
    friend class TVtAttivazione;
    void Attach(TVtAttivazione *command);
    void Detach(TVtAttivazione *command);

    QPointer<TdmVtAttivazioni> m_owner;
    QString m_caption;
    int m_order;
    bool m_sorted, m_inMenu, m_visible;
    QList<QPointer<TVtAttivazione>> m_commands;
};

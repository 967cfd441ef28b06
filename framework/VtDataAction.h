#pragma once
#include <QAction>
#include <QPointer>
#include <functional>

class TVtDataSource;

// A command of a data frame (insert, edit, post...). Running it calls
// OnExecute when set, which replaces the default behaviour (a handler can
// still run it with ExecuteDefault). An EVtAbort thrown inside refuses
// silently; an EVtException shows its message. The owner computes whether
// the action is available for the collection's state; Locked keeps it
// disabled whatever the state.
class TVtDataAction : public QAction
{
    Q_OBJECT
public:
    using TExecute = std::function<void(TVtDataAction *)>;

    TVtDataAction(const QString &caption, QObject *parent = nullptr);

    TVtDataSource *DataSource = nullptr;
    TExecute OnExecute;
    TExecute DefaultExecute;

    // Runs the action; false when it was refused (abort or error) or disabled.
    bool Execute();
    // The default behaviour, for handlers that extend rather than replace it.
    void ExecuteDefault();

    bool Locked() const { return m_locked; }
    void SetLocked(bool on);
    bool Available() const { return m_available; }
    void SetAvailable(bool on);

private:
    void UpdateEnabled();
    bool m_locked = false;
    bool m_available = true;
    bool m_running = false;
};

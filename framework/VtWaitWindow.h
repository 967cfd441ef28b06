#pragma once
#include <QPointer>
#include <QString>
#include <functional>

class QLabel;
class QProgressBar;
class QWidget;

// The wait window: a caption and a progress bar, shown while a long
// operation runs on the user-interface thread. Safe without a display or
// without widgets (a QCoreApplication): then it only keeps its state.
//
//   TVtWaitWindow wait(QStringLiteral("Calcolo in corso. Attendere ..."), 0, rows - 1);
//   for (...) { ...; wait.Step(); }
//   wait.Close();   // or let it go out of scope
class TVtWaitWindow
{
public:
    enum TEvent { weShow, weStep, weClose };

    TVtWaitWindow(const QString &caption, int min = 0, int max = 100, QWidget *parent = nullptr);
    ~TVtWaitWindow();
    TVtWaitWindow(const TVtWaitWindow &) = delete;
    TVtWaitWindow &operator=(const TVtWaitWindow &) = delete;

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    int Min() const { return m_min; }
    int Max() const { return m_max; }
    void SetRange(int min, int max);
    void SetMax(int max) { SetRange(m_min, max); }
    int Position() const { return m_position; }
    void SetPosition(int position);
    int StepSize = 1;
    // Advances the bar by StepSize (never past Max).
    void Step();
    void Close();
    bool Visible() const { return m_open; }

    // Observer of every wait window (tests record captions and steps).
    static std::function<void(const TVtWaitWindow &, TEvent)> &Observer();

private:
    void Notify(TEvent event);
    void Repaint();

    QString m_caption;
    int m_min, m_max, m_position;
    bool m_open = false;
    QPointer<QWidget> m_window;
    QLabel *m_label = nullptr;
    QProgressBar *m_bar = nullptr;
};

#include "VtWaitWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWidget>

std::function<void(const TVtWaitWindow &, TVtWaitWindow::TEvent)> &TVtWaitWindow::Observer()
{
    static std::function<void(const TVtWaitWindow &, TEvent)> observer;
    return observer;
}

TVtWaitWindow::TVtWaitWindow(const QString &caption, int min, int max, QWidget *parent)
    : m_caption(caption), m_min(min), m_max(qMax(min, max)), m_position(min)
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        auto *w = new QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        w->setObjectName(QStringLiteral("fmVtWait"));
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->setWindowModality(Qt::ApplicationModal);
        w->setWindowTitle(QApplication::applicationDisplayName());
        auto *layout = new QVBoxLayout(w);
        m_label = new QLabel(caption, w);
        m_bar = new QProgressBar(w);
        m_bar->setRange(m_min, m_max);
        m_bar->setValue(m_position);
        layout->addWidget(m_label);
        layout->addWidget(m_bar);
        w->setMinimumWidth(380);
        m_window = w;
        w->show();
    }
    m_open = true;
    Notify(weShow);
    Repaint();
}

TVtWaitWindow::~TVtWaitWindow()
{
    Close();
}

void TVtWaitWindow::SetCaption(const QString &caption)
{
    m_caption = caption;
    if (m_window)
        m_label->setText(caption);
    Repaint();
}

void TVtWaitWindow::SetRange(int min, int max)
{
    m_min = min;
    m_max = qMax(min, max);
    m_position = qBound(m_min, m_position, m_max);
    if (m_window)
        m_bar->setRange(m_min, m_max);
}

void TVtWaitWindow::SetPosition(int position)
{
    m_position = qBound(m_min, position, m_max);
    if (m_window)
        m_bar->setValue(m_position);
    Notify(weStep);
    Repaint();
}

void TVtWaitWindow::Step()
{
    SetPosition(m_position + StepSize);
}

void TVtWaitWindow::Close()
{
    if (!m_open)
        return;
    m_open = false;
    if (m_window)
        m_window->close();
    Notify(weClose);
}

void TVtWaitWindow::Notify(TEvent event)
{
    if (Observer())
        Observer()(*this, event);
}

void TVtWaitWindow::Repaint()
{
    if (m_window)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

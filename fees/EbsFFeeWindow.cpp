#include "EbsFFeeWindow.h"
#include "VtQueryCollection.h"

#include <QCloseEvent>
#include <QTabBar>
#include <QVBoxLayout>

TfmEbsFeeWindow::TfmEbsFeeWindow(const QString &incomeTab, const QString &expenseTab, QWidget *parent)
    : TfmVtChildDB(parent)
{
    tcTipo = new QTabBar(this);
    tcTipo->setObjectName(QStringLiteral("tcTipo"));
    tcTipo->addTab(incomeTab);
    tcTipo->addTab(expenseTab);
    tcTipo->setExpanding(false);
    ClientLayout()->addWidget(tcTipo);
    connect(tcTipo, &QTabBar::currentChanged, this, [this](int index) { tcTipoChange(index); });
}

int TfmEbsFeeWindow::Direction() const
{
    return m_fixedDirection ? 0 : m_direction;
}

void TfmEbsFeeWindow::SetFixedDirection(bool on)
{
    m_fixedDirection = on;
    tcTipo->setVisible(!on);
    if (on && tcTipo->currentIndex() != 0)
        tcTipo->setCurrentIndex(0);
}

// The direction changes only while nothing is being written.
void TfmEbsFeeWindow::tcTipoChange(int index)
{
    if (m_changingTab)
        return;
    TVtQueryCollection *list = DirectionList();
    if (list && (list->State() == dsInsert || list->State() == dsEdit)) {
        m_changingTab = true;
        tcTipo->setCurrentIndex(m_direction);
        m_changingTab = false;
        return;
    }
    m_direction = index;
    DirectionChanged();
}

void TfmEbsFeeWindow::showEvent(QShowEvent *event)
{
    TfmVtChildDB::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TfmEbsFeeWindow::closeEvent(QCloseEvent *event)
{
    TfmVtChildDB::closeEvent(event);
    if (event->isAccepted())
        CloseQueries();
}

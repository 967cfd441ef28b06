#include "fmVtChildDB.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QTimer>
#include <QVBoxLayout>

TfmVtChildDB::TfmVtChildDB(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    paInfo = new QLabel(this);
    paInfo->setObjectName(QStringLiteral("paInfo"));
    QFont f = paInfo->font();
    f.setBold(true);
    paInfo->setFont(f);
    paInfo->hide();
    layout->addWidget(paInfo);
    m_client = new QVBoxLayout;
    layout->addLayout(m_client, 1);
    resize(800, 560);
}

void TfmVtChildDB::SetInfoCaption(const QString &text)
{
    paInfo->setText(text);
    paInfo->setVisible(!text.isEmpty());
}

QString TfmVtChildDB::InfoCaption() const
{
    return paInfo->text();
}

void TfmVtChildDB::AddFrame(QWidget *frame, int stretch)
{
    m_client->addWidget(frame, stretch);
}

void TfmVtChildDB::FormActivate()
{
    ++m_activations;
    if (OnActivate)
        OnActivate(this);
}

bool TfmVtChildDB::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TfmVtChildDB::CloseForm()
{
    if (auto *sw = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sw->close();
    else
        close();
}

void TfmVtChildDB::PostClose()
{
    QTimer::singleShot(0, this, [this] { CloseForm(); });
}

void TfmVtChildDB::closeEvent(QCloseEvent *event)
{
    if (!CloseQuery()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TfmVtChildDB::changeEvent(QEvent *event)
{
    // A child shown outside the main window is activated as a window of its own.
    if (event->type() == QEvent::ActivationChange && isWindow() && isActiveWindow())
        FormActivate();
    QWidget::changeEvent(event);
}

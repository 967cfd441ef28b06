#include "fmVtChildDB.h"
#include "VtDBControl.h"
#include "VtDataSource.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"

#include <algorithm>

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

// An edit in progress is never dropped without a word: the user saves it,
// discards it, or keeps the window open. A save that fails keeps it open.
bool TfmVtChildDB::SaveOrDiscardEdits()
{
    QList<TVtQueryCollection *> editing;
    for (TVtDataSource *ds : findChildren<TVtDataSource *>())
        if (ds->DataSet() && ds->Editing() && !editing.contains(ds->DataSet()))
            editing << ds->DataSet();
    if (editing.isEmpty())
        return true;
    QList<TVtDBControl *> pending;
    for (TVtDBControl *c : findChildren<TVtDBControl *>())
        if (c->Pending())
            pending << c;
    const bool changed = !pending.isEmpty() || std::any_of(editing.begin(), editing.end(), [](TVtQueryCollection *q) {
        return q->State() == dsInsert || q->Modified();
    });
    const int answer = changed ? VtMessageDlg(QStringLiteral("Salvare le modifiche?"), mtConfirmation, mbYes | mbNo | mbCancel)
                               : int(mrNo);
    if (answer == mrYes) {
        for (TVtDBControl *c : pending)
            if (!c->CommitPending())
                return false;
        for (TVtQueryCollection *q : editing)
            if (!q->Post())
                return false;
        return true;
    }
    if (answer == mrNo) {
        for (TVtQueryCollection *q : editing)
            q->Cancel();
        return true;
    }
    return false;
}

bool TfmVtChildDB::CloseQuery()
{
    if (!SaveOrDiscardEdits())
        return false;
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

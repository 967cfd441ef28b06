#include "fmVtWizard.h"
#include "VtException.h"
#include "VtGuard.h"
#include "VtMessageDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

TfmVtWizard::TfmVtWizard(QWidget *parent)
    : QDialog(parent)
{
    auto *layout = new QVBoxLayout(this);
    laTitle = new QLabel(this);
    laTitle->setObjectName(QStringLiteral("laTitle"));
    QFont f = laTitle->font();
    f.setBold(true);
    laTitle->setFont(f);
    laTitle->hide();
    layout->addWidget(laTitle);
    pcWizard = new QStackedWidget(this);
    pcWizard->setObjectName(QStringLiteral("pcWizard"));
    layout->addWidget(pcWizard, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buPrior = new QPushButton(QStringLiteral("< Indietro"), this);
    buPrior->setObjectName(QStringLiteral("buPrior"));
    buNext = new QPushButton(QStringLiteral("Avanti >"), this);
    buNext->setObjectName(QStringLiteral("buNext"));
    buOk = new QPushButton(QStringLiteral("OK"), this);
    buOk->setObjectName(QStringLiteral("buOk"));
    buCancel = new QPushButton(QStringLiteral("Annulla"), this);
    buCancel->setObjectName(QStringLiteral("buCancel"));
    for (QPushButton *b : {buPrior, buNext, buOk, buCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    connect(buPrior, &QPushButton::clicked, this, [this] { VtGuard([this] { Prior(); }); });
    connect(buNext, &QPushButton::clicked, this, [this] { VtGuard([this] { Next(); }); });
    connect(buOk, &QPushButton::clicked, this, &TfmVtWizard::OkClick);
    connect(buCancel, &QPushButton::clicked, this, &QDialog::reject);
    CheckButtons();
}

int TfmVtWizard::AddPage(QWidget *page, const QString &title)
{
    const int index = pcWizard->addWidget(page);
    m_titles.insert(index, title);
    if (index == 0)
        SetActivePage(0);
    else
        CheckButtons();
    return index;
}

int TfmVtWizard::PageCount() const
{
    return pcWizard->count();
}

QWidget *TfmVtWizard::Page(int index) const
{
    return pcWizard->widget(index);
}

QString TfmVtWizard::PageTitle(int index) const
{
    return index >= 0 && index < m_titles.size() ? m_titles[index] : QString();
}

int TfmVtWizard::ActivePageIndex() const
{
    return pcWizard->currentIndex();
}

QWidget *TfmVtWizard::ActivePage() const
{
    return pcWizard->currentWidget();
}

bool TfmVtWizard::GoToPage(int index)
{
    const int from = ActivePageIndex();
    if (index < 0 || index >= PageCount() || index == from)
        return false;
    bool allow = true;
    try {
        PageChanging(from, index, allow);
    } catch (const EVtAbort &) {
        allow = false;
    }
    if (!allow) {
        CheckButtons();
        return false;
    }
    SetActivePage(index);
    return true;
}

void TfmVtWizard::SetActivePage(int index)
{
    if (index < 0 || index >= PageCount())
        return;
    pcWizard->setCurrentIndex(index);
    const QString title = PageTitle(index);
    laTitle->setText(title);
    laTitle->setVisible(!title.isEmpty());
    PageChanged(index);
    CheckButtons();
}

void TfmVtWizard::PageChanging(int fromPage, int toPage, bool &allow)
{
    if (OnPageChanging)
        OnPageChanging(this, fromPage, toPage, allow);
}

void TfmVtWizard::PageChanged(int page)
{
    if (OnPageChanged)
        OnPageChanged(this, page);
}

bool TfmVtWizard::CanGoNext(int) const
{
    return true;
}

bool TfmVtWizard::CanFinish(int) const
{
    return true;
}

void TfmVtWizard::CheckButtons()
{
    const int page = ActivePageIndex();
    const int last = PageCount() - 1;
    buPrior->setEnabled(page > 0);
    buNext->setEnabled(page >= 0 && page < last && CanGoNext(page));
    buOk->setEnabled(page >= 0 && (page == last || OkOnEveryPage) && CanFinish(page));
    if (OnCheckButtons)
        OnCheckButtons(this);
}

bool TfmVtWizard::CanAccept()
{
    bool allow = true;
    if (OnOkClick)
        OnOkClick(this, allow);
    return allow;
}

void TfmVtWizard::OkClick()
{
    VtGuard([this] {
        if (CanAccept())
            accept();
    });
}

int TfmVtWizard::ModalResult() const
{
    return result() == QDialog::Accepted ? mrOk : mrCancel;
}

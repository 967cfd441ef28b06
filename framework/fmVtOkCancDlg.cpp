#include "fmVtOkCancDlg.h"
#include "VtException.h"
#include "VtGuard.h"
#include "VtMessageDlg.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TfmVtOkCancDlg::TfmVtOkCancDlg(QWidget *parent)
    : QDialog(parent)
{
    auto *layout = new QVBoxLayout(this);
    paClient = new QWidget(this);
    paClient->setObjectName(QStringLiteral("paClient"));
    m_client = new QVBoxLayout(paClient);
    m_client->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(paClient, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buOk = new QPushButton(QStringLiteral("OK"), this);
    buOk->setObjectName(QStringLiteral("buOk"));
    buOk->setDefault(true);
    buCancel = new QPushButton(QStringLiteral("Annulla"), this);
    buCancel->setObjectName(QStringLiteral("buCancel"));
    buttons->addWidget(buOk);
    buttons->addWidget(buCancel);
    layout->addLayout(buttons);
    connect(buOk, &QPushButton::clicked, this, &TfmVtOkCancDlg::OkClick);
    connect(buCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfmVtOkCancDlg::CanAccept()
{
    bool allow = true;
    if (OnOkClick)
        OnOkClick(this, allow);
    return allow;
}

void TfmVtOkCancDlg::OkClick()
{
    VtGuard([this] {
        if (CanAccept())
            accept();
    });
}

int TfmVtOkCancDlg::ModalResult() const
{
    return result() == QDialog::Accepted ? mrOk : mrCancel;
}

#include "EbcRTcc.h"
#include "VtDataAction.h"
#include "VtGuard.h"

#include <QAction>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

using namespace Qt::StringLiterals;

TfrEbcTcc::TfrEbcTcc(QWidget *parent) : TfrVtDBRWGrid(parent)
{
    setObjectName(u"frEbcTcc"_s);
    setToolTip(u"Composizione saldo"_s);
    AddColumn(u"STCCLDESC"_s, u"Componente"_s, 260);
    AddColumn(u"FTCCIMPORTO_INIZ"_s, u"Importo Iniziale"_s, 130);
    AddColumn(u"FTCCIMPORTO"_s, u"Importo Attuale"_s, 130);
    pcMain->tabBar()->hide();
    SetReadOnly(true);

    acModificaSaldo = new QAction(u"Modifica Composizione e Saldo"_s, this);
    acModificaSaldo->setObjectName(u"acModificaSaldo"_s);
    acModificaSaldo->setToolTip(u"Modifica Composizione e Saldo"_s);
    connect(acModificaSaldo, &QAction::triggered, this, [this] {
        VtGuard([this] {
            if (OnModificaSaldo)
                OnModificaSaldo();
        });
    });
    tbActions->addSeparator();
    tbActions->addAction(acModificaSaldo);
    UpdateActions();
}

void TfrEbcTcc::SetCashRow(bool present)
{
    m_cashRow = present;
    UpdateActions();
}

void TfrEbcTcc::UpdateActions()
{
    TfrVtDBRWGrid::UpdateActions();
    for (TVtDataAction *a : {xacInsert, xacEdit, xacPost, xacCancel, xacTrash, xacDelete}) {
        a->SetAvailable(false);
        a->setVisible(false);
    }
    if (acModificaSaldo)
        acModificaSaldo->setEnabled(m_cashRow && OnModificaSaldo != nullptr);
}

#include "AbcRBudgetGrid.h"
#include "VtMessageDlg.h"
#include "VtSQLConnection.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

bool UserMayWriteBudget()
{
    return qqoVtGlobConn && (qqoVtGlobConn->UserRights & BudgetWriteRights) == BudgetWriteRights;
}

TfrAbcBudgetGrid::TfrAbcBudgetGrid(QWidget *parent) : TfrVtDBRWGrid(parent)
{
}

void TfrAbcBudgetGrid::AddCaption()
{
    laCaption = new QLabel(this);
    laCaption->setObjectName(u"laCaption"_s);
    QFont bold = laCaption->font();
    bold.setBold(true);
    laCaption->setFont(bold);
    static_cast<QVBoxLayout *>(layout())->insertWidget(0, laCaption);
}

void TfrAbcBudgetGrid::SetYearCaption(const QString &text)
{
    m_yearCaption = text;
    if (laCaption)
        laCaption->setText(text.isEmpty() ? SliceCaption() : SliceCaption() + u"    "_s + text);
}

void TfrAbcBudgetGrid::AddAccounts()
{
    gbConto = new QGroupBox(u"Conto"_s, this);
    gbConto->setObjectName(u"gbConto"_s);
    auto *box = new QHBoxLayout(gbConto);
    ckCompetenza = new QCheckBox(u"Competenza"_s, gbConto);
    ckCompetenza->setObjectName(u"ckCompetenza"_s);
    ckResidui = new QCheckBox(u"Residui"_s, gbConto);
    ckResidui->setObjectName(u"ckResidui"_s);
    box->addWidget(ckCompetenza);
    box->addWidget(ckResidui);
    box->addStretch(1);
    AddDetailWidget(QString(), gbConto);
}

bool TfrAbcBudgetGrid::Refuse(const QString &text, QWidget *focus)
{
    VtMessageDlg(text, mtError, mbOK);
    if (focus)
        focus->setFocus();
    return false;
}

void TfrAbcBudgetGrid::DoEdit()
{
    if (UserMayWriteBudget())
        TfrVtDBRWGrid::DoEdit();
}

void TfrAbcBudgetGrid::TrashUnlessReferenced(bool referenced)
{
    if (referenced) {
        Refuse(u"Attenzione!\r\nL'elemento selezionato non può essere eliminato perchè esistono uno o più modelli che "
               "fanno riferimento ad esso"_s);
        return;
    }
    TfrVtDBRWGrid::DoTrash();
}

#include "frVtDBROGrid.h"
#include "VtDBGrid.h"
#include "VtDataSource.h"

#include <QVBoxLayout>

TfrVtDBROGrid::TfrVtDBROGrid(QWidget *parent) : TfrVtDB(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    grMain = new TVtDBGrid(this);
    grMain->setObjectName(QStringLiteral("grMain"));
    grMain->SetDataSource(xdsMain);
    layout->addWidget(grMain);
    connect(grMain, &TVtDBGrid::RowActivated, this, [this] {
        if (OnRowActivated)
            OnRowActivated(this);
    });
}

void TfrVtDBROGrid::AddColumn(const QString &fieldName, const QString &title, int width)
{
    grMain->AddColumn(fieldName, title, width);
}

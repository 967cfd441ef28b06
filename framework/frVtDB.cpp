#include "frVtDB.h"
#include "VtDataSource.h"
#include "VtException.h"

TfrVtDB::TfrVtDB(QWidget *parent) : QWidget(parent)
{
    xdsMain = new TVtDataSource(this);
    xdsMain->setObjectName(QStringLiteral("xdsMain"));
}

TVtQueryCollection *TfrVtDB::DataSet() const
{
    return xdsMain->DataSet();
}

TVtField *TfrVtDB::FieldByName(const QString &name) const
{
    if (!DataSet())
        throw EVtException(QStringLiteral("Campo '%1' non trovato.").arg(name));
    return DataSet()->FieldByName(name);
}

void TfrVtDB::SetDataSet(TVtQueryCollection *dataSet)
{
    xdsMain->SetDataSet(dataSet);
    UpdateActions();
}

bool TfrVtDB::ReadOnly() const
{
    return xdsMain->ReadOnly();
}

void TfrVtDB::SetReadOnly(bool on)
{
    xdsMain->SetReadOnly(on);
    UpdateActions();
}

void VtSetFramesReadOnly(QWidget *root, bool on)
{
    if (!root)
        return;
    if (auto *f = qobject_cast<TfrVtDB *>(root))
        f->SetReadOnly(on);
    for (TfrVtDB *f : root->findChildren<TfrVtDB *>())
        f->SetReadOnly(on);
}

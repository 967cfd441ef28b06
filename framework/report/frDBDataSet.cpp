#include "frDBDataSet.h"
#include "VtQueryCollection.h"

TfrDBDataSet::TfrDBDataSet(const QString &name, TVtQueryCollection *dataSet, TKind kind, QObject *parent)
    : QObject(parent), m_dataSet(dataSet), m_kind(kind)
{
    setObjectName(name);
}

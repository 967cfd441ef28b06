#pragma once
#include <QObject>
#include <QPointer>
#include <QString>

#include "VtQueryCollection.h"

// A dataset a report may read, published under a name: a read-only
// collection. Its kind tells a plain statement from a client dataset, whose
// text and parameters the field-list step may rewrite for a moment.
class TfrDBDataSet : public QObject
{
    Q_OBJECT
public:
    enum TKind { dkStatement, dkClientDataSet };

    TfrDBDataSet(const QString &name, TVtQueryCollection *dataSet, TKind kind = dkClientDataSet, QObject *parent = nullptr);

    QString Name() const { return objectName(); }
    TVtQueryCollection *DataSet() const { return m_dataSet; }
    TKind Kind() const { return m_kind; }

private:
    QPointer<TVtQueryCollection> m_dataSet;
    TKind m_kind;
};

#pragma once
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>

class QObject;
class TfrDBDataSet;
class TVtQueryCollection;

// What the report modules share in building their datasets.

// The datasets of a report module: each collection read-only, owned by the
// module, published to the templates by name (with its selection dialog when
// form names one), withdrawn when the list goes.
class TRptDataSetList
{
public:
    explicit TRptDataSetList(QObject *owner) : m_owner(owner) {}
    ~TRptDataSetList();

    TVtQueryCollection *NewQuery(const QString &name, bool client);
    TfrDBDataSet *Publish(const QString &name, TVtQueryCollection *q, bool client, const QString &form = QString());

    QList<TVtQueryCollection *> DataSets() const { return m_dataSets; }
    QList<TVtQueryCollection *> ClientDataSets() const { return m_clientDataSets; }
    void CloseAll();

private:
    QObject *m_owner;
    QList<TVtQueryCollection *> m_dataSets;
    QList<TVtQueryCollection *> m_clientDataSets;
    QList<TfrDBDataSet *> m_published;
};

// Sets a parameter of a dataset, creating it of that type when absent.
void SetReportParam(TVtQueryCollection *q, const QString &name, QMetaType::Type type, const QVariant &value);

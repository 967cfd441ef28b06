#pragma once
#include "EbdURptDataSets.h"
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

class QWidget;
class TfrDBDataSet;
class TVtfrDBDataSet;
class TVtQueryCollection;

// The data the fee-structure templates read: the components of a school
// year, the reasons with their components, and the pupils' payment forms of
// a reason with their addresses, the school's data and the reason's totals.
// Created by the billing-reports module, which forwards it three variables.
class TdmEbsReport : public QObject
{
    Q_OBJECT
public:
    explicit TdmEbsReport(QObject *parent = nullptr);
    ~TdmEbsReport() override;

    TVtQueryCollection *qquCompCau;
    TVtQueryCollection *qquCau;
    TVtQueryCollection *qquCompXCau;
    TVtQueryCollection *qquAlunni;
    TVtQueryCollection *qquCauBollettino;
    TVtQueryCollection *qquDomicilio;
    TVtQueryCollection *qquResidenza;
    TVtQueryCollection *qquDatiScuola;

    TVtfrDBDataSet *frdCompCau;
    TVtfrDBDataSet *frdCau;
    TVtfrDBDataSet *frdAlunni;
    TfrDBDataSet *frdCompXCau;
    TfrDBDataSet *frdCauBollettino;
    TfrDBDataSet *frdDomicilio;
    TfrDBDataSet *frdResidenza;
    TfrDBDataSet *frdDatiScuola;

    // Texts and parameters of the datasets (with the billing module's).
    void Setup();

    // The component list holds every component (on), or only the incoming
    // ones of the sibling fee program; the pupils dialog lists every reason.
    bool AllComponents() const { return m_allComponents; }
    void SetAllComponents(bool on);
    bool ShowNewEnrolments = true;
    bool BarCode() const { return m_barCode; }
    QString AccountNumber() const { return m_accountNumber; }
    // The school year of the last component or reason dialog.
    int AnsId() const { return m_ansId; }

    // "Anno scolastico", "BarCode" and "NumeroCC"; false for any other name.
    bool GetValue(const QString &name, QVariant &value) const;

    QList<TVtQueryCollection *> DataSets() const { return m_sets.DataSets(); }
    QList<TVtQueryCollection *> ClientDataSets() const { return m_sets.ClientDataSets(); }
    void CloseDataSets();

    // The component list's text for the flag.
    static QString CompCauSQL(bool allComponents);

private:
    TVtQueryCollection *NewQuery(const QString &name, bool client) { return m_sets.NewQuery(name, client); }
    TfrDBDataSet *Publish(const QString &name, TVtQueryCollection *q, bool client, const QString &form = QString())
    {
        return m_sets.Publish(name, q, client, form);
    }

    void CompCauBeforeSelect(QWidget *form);
    void CompCauAfterSelect(QWidget *form);
    void CauBeforeSelect(QWidget *form);
    void CauAfterSelect(QWidget *form);
    void AlunniBeforeSelect(QWidget *form);
    void AlunniAfterSelect(QWidget *form);
    void CauAfterScroll();
    void AlunniAfterScroll();

    bool m_allComponents = true;
    bool m_barCode = false;
    QString m_accountNumber;
    int m_ansId = 0;
    TRptDataSetList m_sets{this};
};

// The process-wide fee-structure reports module; null when none exists.
extern TdmEbsReport *dmEbsReport;

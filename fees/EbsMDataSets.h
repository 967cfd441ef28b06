#pragma once
#include "VtQueryCollection.h"

#include <QObject>

// The fee-structure data sets: reasons and components of a school year,
// shared by the reasons and components windows.
class TdmEbsDataSets : public QObject
{
    Q_OBJECT
public:
    explicit TdmEbsDataSets(QObject *parent = nullptr);
    ~TdmEbsDataSets() override;

    // Reasons of a school year (parameters iAnsId, ShowAll, lCauTipo).
    TVtQueryCollection *xqcCaus;
    // Components of a school year (parameters iAnsId, ShowAll, lCcaTipo).
    TVtQueryCollection *xqcCompCaus;

private:
    void SetupCaus();
    void SetupCompCaus();
};

extern TdmEbsDataSets *dmEbsDataSets;

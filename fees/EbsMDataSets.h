#pragma once
#include "VtQueryCollection.h"

#include <QDate>
#include <QObject>

// The fee-structure data sets: reasons, their components and the components
// of a school year, and the payment modes; shared by the fee windows. Every
// write rule of these tables is a hook here.
class TdmEbsDataSets : public QObject
{
    Q_OBJECT
public:
    explicit TdmEbsDataSets(QObject *parent = nullptr);
    ~TdmEbsDataSets() override;

    // Reasons of a school year (parameters iAnsId, ShowAll, lCauTipo).
    TVtQueryCollection *xqcCaus;
    // Components linked to one reason (parameter iCauId).
    TVtQueryCollection *xqcCauCca;
    // Components of a school year (parameters iAnsId, ShowAll, lCcaTipo).
    TVtQueryCollection *xqcCompCaus;
    // Payment modes.
    TVtQueryCollection *xqcModPagam;

    // Edit value of xqcCauCca: the owner (iDwgId, null for none) of the
    // component chosen in the link's lookup; the link's insert writes it
    // into the reason.
    static inline const QString CauCcaOwner = QStringLiteral("OwnerOfComponent");
    // Edit value of xqcCompCaus: the owner the component frame worked out
    // from the budget classification.
    static inline const QString CompCausOwner = QStringLiteral("OwnerOfClassification");

    // The bounds of the reasons' school year (EBSP_CauAnsId); null dates
    // when the year is unset or unknown.
    static void CauAnsBounds(QDate &start, QDate &end);

private:
    // The write statements of the components, replacing whatever the list
    // held: set once, so that no window can make an insert run twice.
    static void SetCompCausStatements(TVtQueryCollection *q);
    void SetupCaus();
    void SetupCauCca();
    void SetupCompCaus();
    void SetupModPagam();

    void xqcCausVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop, bool &execute);
    void xqcCauCcaVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop, bool &execute);
    void xqcCauCcaAfterWrite(TVtQueryCollection *ds);
    void xqcCompCausVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop, bool &execute);
    void xqcCompCausBeforeDelete(TVtQueryCollection *ds);
    void xqcModPagamCalcFields(TVtQueryCollection *ds);
    void xqcModPagamNewRecord(TVtQueryCollection *ds);
    static void AddBounds(TVtFieldValue *values);
};

extern TdmEbsDataSets *dmEbsDataSets;

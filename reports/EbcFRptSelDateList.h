#pragma once
#include "EbsFRptSelDateList.h"

class QCheckBox;

// The component dialog with "&Mostra anno scolastico": ticked, the list's
// select shows each component with its school year (the first
// "Cca.sCcaLDesc" of the caller's select, the one of its column list,
// becomes "Cca.sCcaLDesc || ' - ' || Ans.sAnsAnnoDesc sCcaAnsDesc");
// unticked, the caller's select comes back as it was given. The list is read
// again each time and the ticked components stay ticked.
class TfmEbcRptSelDateList : public TfmEbsRptSelDateList
{
    Q_OBJECT
    Q_PROPERTY(bool MostraAnnoScol READ MostraAnnoScol WRITE SetMostraAnnoScol)
public:
    explicit TfmEbcRptSelDateList(QWidget *parent = nullptr);

    QCheckBox *ckAnnoScol;

    bool MostraAnnoScol() const;
    void SetMostraAnnoScol(bool on);

    // The select with the school year in the component text.
    static QString WithSchoolYear(const QString &sql);

private:
    void AnnoScolToggled(bool on);

    QString m_callerSQL;
};

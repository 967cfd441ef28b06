#pragma once
#include "fmVtuSelRptAnnoScol.h"

#include <QDate>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;

// A fee reason of a school year and the movements at a date, beside the
// multi-selection grid of the caller (who sets the caption). In the group
// "Causale": the school years that have reasons (preset to the fee-reasons
// year, EBSP_CauAnsId), that year's incoming reasons (the first chosen,
// read again when the year changes), "Movimenti alla data" and "Movimenti"
// ("Effettuati" or "Non effettuati"). When the dialog shows, the grid's
// select gets iAnsId from the dialog's own school-year combo and runs.
class TfmEbcSelRptClsCau : public TfmVtuSelRptAnnoScol
{
    Q_OBJECT
    Q_PROPERTY(int CauAnsId READ CauAnsId)
    Q_PROPERTY(int CauId READ CauId)
    Q_PROPERTY(QString CauDesc READ CauDesc)
    Q_PROPERTY(QDate MvmDate READ MvmDate)
    Q_PROPERTY(bool MvmDone READ MvmDone)
public:
    explicit TfmEbcSelRptClsCau(QWidget *parent = nullptr);

    QGroupBox *gbCausale;
    QLabel *laCauAnno;
    QComboBox *cbCauAnno;
    QLabel *laCausale;
    QComboBox *cbCausale;
    QLabel *laMvmData;
    QDateEdit *dtpMvmData;
    QLabel *laMovimenti;
    QComboBox *cbMovimenti;

    // The school year of the reasons and the chosen reason (0 when none).
    int CauAnsId() const;
    int CauId() const;
    QString CauDesc() const;
    QDate MvmDate() const;
    // True for "Effettuati", false for "Non effettuati".
    bool MvmDone() const;

    // Reads the reasons of the chosen year, the first one chosen.
    void LoadCausali();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QGroupBox *MakeCausaleBox();
};

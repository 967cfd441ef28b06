#pragma once
#include "fmVtMultiSelect.h"

#include <QDate>

class QComboBox;
class QLabel;
class QSpinBox;

// The payers of a calendar year for the yearly statement of school fees
// paid: the year, the payers with payments in it (all ticked at first) and
// where the letters go (preview, one PDF per parent, one PDF for all).
class TfmEbdRptSelAttestazione : public TfmVtMultiSelect
{
    Q_OBJECT
    Q_PROPERTY(int Anno READ Anno WRITE SetAnno)
    Q_PROPERTY(int Uscita READ Uscita)
    Q_PROPERTY(QString Destinazione READ Destinazione)
public:
    enum TUscita { usAnteprima, usPdfPerGenitore, usPdfUnico };

    explicit TfmEbdRptSelAttestazione(QWidget *parent = nullptr);

    QLabel *laAnno;
    QSpinBox *seAnno;
    QLabel *laUscita;
    QComboBox *cbUscita;
    QLabel *laNota;

    int Anno() const;
    void SetAnno(int year);
    int Uscita() const;
    // The folder (one PDF per parent) or the file (one PDF), asked on OK.
    QString Destinazione() const { return m_destination; }
    // The ticked payers' ids for "IN (%1)".
    QString SelectedPayers() const;

    static QDate YearStart(int year) { return QDate(year, 1, 1); }
    static QDate YearEnd(int year) { return QDate(year, 12, 31); }

protected:
    bool CanAccept() override;

private:
    void YearChanged();
    QString m_destination;
};

#pragma once
#include "fmVtMultiSelect.h"

#include <QDate>

class QComboBox;
class QDateEdit;
class QLabel;

// "Elenco Classi": the classes of the receipts by class, with the payment
// mode and the due dates. When the dialog shows, the class select (set by
// the caller) gets iAnsId := the working school year and runs. OK, once the
// multi-selection allows it, keeps the dates and the mode (0 for "Tutti").
class TfmEbcElencoXClassi : public TfmVtMultiSelect
{
    Q_OBJECT
    Q_PROPERTY(QDate StartDate READ StartDate)
    Q_PROPERTY(QDate EndDate READ EndDate)
    Q_PROPERTY(int MpgId READ MpgId)
    Q_PROPERTY(int AnsId READ AnsId)
public:
    explicit TfmEbcElencoXClassi(QWidget *parent = nullptr);

    QLabel *laModPagam;
    QComboBox *cbModPagam;
    QLabel *laDal;
    QDateEdit *dtpDal;
    QLabel *laAl;
    QDateEdit *dtpAl;

    // The choices kept by the last OK (null dates and 0 before it).
    QDate StartDate() const { return m_start; }
    QDate EndDate() const { return m_end; }
    int MpgId() const { return m_mpgId; }
    // The school year the class select ran for.
    int AnsId() const;

protected:
    bool CanAccept() override;
    void showEvent(QShowEvent *event) override;

private:
    QDate m_start;
    QDate m_end;
    int m_mpgId = 0;
};

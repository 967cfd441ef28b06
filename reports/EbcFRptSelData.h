#pragma once
#include <QDate>
#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

// "Seleziona data": the due dates and the payment mode of the bank list.
// Both dates are today when the dialog is created; "&OK" closes it with OK
// and keeps the choices, read as StartDate, EndDate and MpgId (0 for "Tutti").
class TfmEbcRptSelData : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(QDate StartDate READ StartDate)
    Q_PROPERTY(QDate EndDate READ EndDate)
    Q_PROPERTY(int MpgId READ MpgId)
public:
    explicit TfmEbcRptSelData(QWidget *parent = nullptr);

    QLabel *laDal;
    QDateEdit *dtpDal;
    QLabel *laAl;
    QDateEdit *dtpAl;
    QLabel *laModPagam;
    QComboBox *cbModPagam;
    QPushButton *buOk;

    // The choices confirmed by the last OK (null dates and 0 before it).
    QDate StartDate() const { return m_start; }
    QDate EndDate() const { return m_end; }
    int MpgId() const { return m_mpgId; }

public slots:
    void OkClick();

private:
    QDate m_start;
    QDate m_end;
    int m_mpgId = 0;
};

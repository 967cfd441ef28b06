#pragma once
#include "fmVtMultiSelect.h"

#include <QDate>

class QGridLayout;
class QLabel;
class TVtDateEdit;

// "Selezione date": a date range above the multi-selection grid. The caller
// gives the initial dates (0 or an empty value: none) and may restrict both
// dates to the cash-book period of the working account and financial year
// (gInizioUtente, gFineUtente; a bound that is not set does not restrict).
// Leaving an edit clears it, and gives it the focus back, when its date is
// not a date, lies outside that period, or, with both dates set, makes the
// end come before the start. The grid shows only when the caller gave it a
// select.
class TfmEbsRptSelDate : public TfmVtMultiSelect
{
    Q_OBJECT
    Q_PROPERTY(QDate StartDate READ StartDate)
    Q_PROPERTY(QDate EndDate READ EndDate)
    Q_PROPERTY(QVariant InitialStartDate READ InitialStartDate WRITE SetInitialStartDate)
    Q_PROPERTY(QVariant InitialEndDate READ InitialEndDate WRITE SetInitialEndDate)
    Q_PROPERTY(bool RestrictToAnf READ RestrictToAnf WRITE SetRestrictToAnf)
public:
    explicit TfmEbsRptSelDate(QWidget *parent = nullptr);

    QLabel *laDal;
    TVtDateEdit *deDal;
    QLabel *laAl;
    TVtDateEdit *deAl;

    QDate StartDate() const;
    QDate EndDate() const;

    // A date, its text (yyyy-MM-dd or dd/MM/yyyy), or 0 / empty for none.
    QVariant InitialStartDate() const { return m_initialStart; }
    void SetInitialStartDate(const QVariant &date);
    QVariant InitialEndDate() const { return m_initialEnd; }
    void SetInitialEndDate(const QVariant &date);
    bool RestrictToAnf() const { return m_restrictToAnf; }
    void SetRestrictToAnf(bool on) { m_restrictToAnf = on; }

    // What leaving the edit does (the edit is deDal or deAl); false when the
    // date was cleared.
    bool CheckDateExit(TVtDateEdit *edit);

protected:
    // OK pressed from within an edit leaves it: its date is checked first.
    bool CanAccept() override;
    void showEvent(QShowEvent *event) override;
    // The layout of the two dates, for the dialogs that add beside them.
    QGridLayout *DatesLayout() const { return m_dates; }
    // Where the dates sit: the client area, or a box of a derived dialog.
    void MoveDatesInto(QWidget *box);
    // Called when either date changed (typed, set or cleared).
    virtual void DatesChanged() {}
    // True for a dialog with a list of its own below the dates, which keeps
    // its size without the grid.
    virtual bool HasOwnList() const { return false; }

private:
    static QDate ToDate(const QVariant &value);
    bool OutsidePeriod(const QDate &date) const;

    QGridLayout *m_dates;
    QWidget *m_datesBox;
    QVariant m_initialStart;
    QVariant m_initialEnd;
    bool m_restrictToAnf = false;
};

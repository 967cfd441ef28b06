#pragma once
#include "VtMoney.h"
#include "fmVtWizard.h"

#include <QColor>
#include <QDate>
#include <QList>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class TVtMoneyEdit;

// "Inizio anno finanziario": opens a financial year for the working account.
// The first page picks the year and, optionally, its own start and end; the
// second shows what is carried forward (the balance, its split by top-level
// typology, the difference) and OK opens the year in the database, moving the
// previous year's end when the user agreed to it.
//
// In balance-modification mode (SetModificaSaldo) the wizard opens straight
// on the amounts of an existing cash row, of that row's own account and year,
// and OK rewrites its opening split and difference.
class TfmEbdInitAnf : public TfmVtWizard
{
    Q_OBJECT
public:
    enum TPage { tsSelAnf, tsRiporti };

    explicit TfmEbdInitAnf(QWidget *parent = nullptr);
    ~TfmEbdInitAnf() override;

    // Balance-modification mode on the cash row iCaiId.
    void SetModificaSaldo(int iCaiId);
    bool ModificaSaldo() const { return m_modification; }

    QComboBox *cbAnno;
    QCheckBox *cbPersonalizza;
    QGroupBox *gbDate;
    QDateEdit *deInizio;
    QDateEdit *deFine;
    QGroupBox *gbRiporti;

    int Account() const { return m_account; }
    // The chosen year's value; after the dates are validated, the previous
    // year with a cash row for the account (-1 without one).
    int SelectedYear() const { return m_selectedYear; }
    bool MovePreviousEnd() const { return m_movePreviousEnd; }

    // The amount rows: 0 "Saldo del conto", 1..n the typologies, the last
    // "Differenze".
    int RowCount() const { return m_rows.size(); }
    TVtMoneyEdit *Row(int i) const { return m_rows[i].Edit; }
    QLabel *RowLabel(int i) const { return m_rows[i].Label; }
    // The typology of a row; 0 for the first and the last.
    int RowTccId(int i) const { return m_rows[i].TccId; }
    TVtMoneyEdit *Differenze() const { return m_rows.last().Edit; }
    // Rows 1..n add up to row 0, to the ten-thousandth.
    bool AmountsBalance() const;

    static QColor HighlightColour() { return QColor(255, 255, 132); }

protected:
    void PageChanging(int fromPage, int toPage, bool &allow) override;
    void PageChanged(int page) override;
    bool CanGoNext(int page) const override;
    bool CanFinish(int page) const override;
    bool CanAccept() override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TAmountRow
    {
        TVtMoneyEdit *Edit = nullptr;
        QLabel *Label = nullptr;
        int TccId = 0;
    };
    struct TNeighbour
    {
        int Year = -1;
        QDate Start, End;
        bool Exists() const { return Year >= 0; }
    };

    QWidget *MakeSelAnfPage();
    QWidget *MakeRiportiPage();
    void FillYears();
    void PreselectNextYear();
    void SelectYearText(const QString &text);
    void YearChanged();
    void SetCalendarDates(int year);
    int ChosenYear() const;
    void AddAmountRow(const QString &caption, int tccId);
    void BuildAmountRows();
    void Highlight(TVtMoneyEdit *edit, bool on);
    void UpdateOk();

    bool ValidateDates();
    bool Refuse(QWidget *date, const QString &text);
    bool GapAccepted(const QDate &from, const QDate &to);
    TNeighbour Neighbour(int year, bool previous) const;
    bool MovementsAfter(const QDate &day) const;

    void LoadAmounts();
    void LoadNewYear();
    bool LoadExistingYear();
    TVtMoney AmountOf(int tccId) const;
    bool OtherTypologiesEmpty();
    bool OpenYear();
    void WriteSplit();
    void AfterOpening();

    int m_account = 0;
    int m_selectedYear = -1;
    bool m_movePreviousEnd = false;
    bool m_modification = false;
    int m_caiId = 0;
    bool m_selecting = false;   // a selection made by the program, not the user
    bool m_activated = false;
    bool m_balanced = false;
    QList<TAmountRow> m_rows;
};

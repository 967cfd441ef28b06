#pragma once
#include "EbsUFeeWindow.h"
#include "fmVtChildDB.h"

class QTabBar;
class TVtQueryCollection;

// A window of the fee structure over one list of a direction: tabs for
// income and expense above it (hidden, and income only, with a fixed
// direction), the show-all and treasury modes the command module sets, the
// list opened when first shown and closed with the window.
class TfmEbsFeeWindow : public TfmVtChildDB, public TEbsFeeWindowModes
{
    Q_OBJECT
public:
    TfmEbsFeeWindow(const QString &incomeTab, const QString &expenseTab, QWidget *parent = nullptr);

    QTabBar *tcTipo;

    void SetFixedDirection(bool on) override;
    // 0 income, 1 expense.
    int Direction() const;
    bool FixedDirection() const { return m_fixedDirection; }
    bool ShowAll() const { return m_showAll; }

protected:
    // The list whose edit keeps the direction as it is.
    virtual TVtQueryCollection *DirectionList() const = 0;
    // The direction changed: the lists follow it.
    virtual void DirectionChanged() = 0;
    virtual void FormShow() = 0;
    virtual void CloseQueries() = 0;

    bool m_showAll = true;

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void tcTipoChange(int index);

    bool m_fixedDirection = false;
    int m_direction = 0;
    bool m_shown = false;
    bool m_changingTab = false;
};

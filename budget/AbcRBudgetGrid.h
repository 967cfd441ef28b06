#pragma once
#include "frVtDBRWGrid.h"

class QCheckBox;
class QGroupBox;
class QLabel;

// Rights an office user needs to insert, edit, trash and save budget items.
constexpr int BudgetWriteRights = 0x3C0;
bool UserMayWriteBudget();

// A frame of the budget windows: the caption line with the slice and the
// year, the "Conto" group of the accounts, refusals shown as errors, and
// writing only with the office user's rights.
class TfrAbcBudgetGrid : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrAbcBudgetGrid(QWidget *parent = nullptr);

    QLabel *laCaption = nullptr;     // with AddCaption
    QGroupBox *gbConto = nullptr;    // with AddAccounts
    QCheckBox *ckCompetenza = nullptr;
    QCheckBox *ckResidui = nullptr;

    // The slice shown, such as "Voci Progetti - Uscite - In totale".
    virtual QString SliceCaption() const { return QString(); }
    // The caption line: the slice, then the year's caption.
    void SetYearCaption(const QString &text);

protected:
    // The caption line again, after the slice changed.
    void RefreshCaption() { SetYearCaption(m_yearCaption); }
    void AddCaption();
    void AddAccounts();
    bool Refuse(const QString &text, QWidget *focus = nullptr);
    void DoEdit() override;
    // Trashes the row, with the rights, unless a budget model refers to it.
    void TrashUnlessReferenced(bool referenced);

private:
    QString m_yearCaption;
};

#pragma once
#include "fmVtMultiSelect.h"

class QComboBox;
class QHBoxLayout;
class QLabel;

// The multi-selection dialog of a school year: a combo of the school years
// (by iAnsValore) above the grid, preset to the working school year
// (VTUP_AnsId). Choosing another year sets the grid's parameter iAnsId and
// runs the select again; the combo and its label can be hidden.
class TfmVtuSelRptAnnoScol : public TfmVtMultiSelect
{
    Q_OBJECT
    Q_PROPERTY(int AnsId READ GetSelectediAnsId WRITE SetSelectediAnsId)
    Q_PROPERTY(bool AnnoScolVisible READ AnnoScolVisible WRITE SetAnnoScolVisible)
public:
    explicit TfmVtuSelRptAnnoScol(QWidget *parent = nullptr);

    QLabel *laAnnoScol;
    QComboBox *cbAnnoScol;

    // The chosen school year; 0 when none is chosen.
    int GetSelectediAnsId() const;
    // Chooses a year as the user would (the grid follows); false when the
    // year is not listed.
    bool SetSelectediAnsId(int iAnsId);

    bool AnnoScolVisible() const { return !m_annoScolHidden; }
    void SetAnnoScolVisible(bool on);

    // The row holding the year's label and combo, for the dialogs that put
    // their own choices beside it.
    QHBoxLayout *AnnoScolRow() const { return m_annoScolRow; }

protected:
    // After the user (or SetSelectediAnsId) chose a year: by default the
    // grid's iAnsId takes it and the select runs again.
    virtual void AnnoScolChanged();
    // Runs the grid's select again when it has one.
    void Requery();

private:
    QHBoxLayout *m_annoScolRow;
    bool m_annoScolHidden = false;
};

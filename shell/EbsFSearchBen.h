#pragma once
#include "fmVtSearch.h"

class QComboBox;
class QLabel;

// Search form over beneficiaries narrowed to a school year: the top panel
// holds the school years that have classes, newest first; choosing one
// reopens the search with the parameter iAnsId of that year.
class TfmEbsSearchBen : public TfmVtSearch
{
    Q_OBJECT
public:
    explicit TfmEbsSearchBen(QWidget *parent = nullptr);
    ~TfmEbsSearchBen() override;

    QLabel *lbAnnoScol;
    QComboBox *cbAnnoScol;

    // The school years offered: those with classes, newest first.
    static QString AnsListSQL();

    // The year remembered (0 until chosen) and the one selected in the list
    // (0 when none).
    int ChosenAnsId() const { return m_ansId; }
    int SelectedAnsId() const;

    // Remembers the year, refills the list and selects the year, or the
    // working school year when the year is below 1; then refreshes the
    // search for the selected year.
    void LoadAnnoScol(int iAnsId);

    // Reopens the search with the year's parameters (skipped while the form
    // has no select).
    virtual void RefreshSearchYear(int iAnsId);
    // Sets the search's parameters before the framework (re)opens it.
    void RefreshSearch() override;

protected:
    // Puts the form's own parameters into the search dataset.
    virtual void SetSearchParams(int iAnsId);

private:
    int m_ansId = 0;
};

#pragma once
#include "EbsFSearchBen.h"

class QComboBox;
class QLabel;

// Beneficiary search narrowed to a school year and, for pupils (kind 1) of a
// group with more than one school, to one school of the working group.
// Kinds 1, 3 and 5 reopen the search with iAnsId (and iDwgId when the select
// has it); other kinds keep the search as the framework built it.
class TfmEbcSearchBen : public TfmEbsSearchBen
{
    Q_OBJECT
public:
    explicit TfmEbcSearchBen(QWidget *parent = nullptr);
    ~TfmEbcSearchBen() override;

    QLabel *lbIstituto;
    QComboBox *cbIstituto;

    // The beneficiary kind, set by the caller before the form shows (-1 at creation).
    int Kind() const { return m_kind; }
    void SetKind(int kind) { m_kind = kind; }

    // The chosen school (0 when none).
    int DwgId() const { return m_dwgId; }
    // Remembers the school, selects it and refreshes the search for the
    // selected school year.
    void ChooseIstituto(int iDwgId);

    void RefreshSearchYear(int iAnsId) override;
    // The school choice shows only for kind 1 with more than one school.
    void Activate() override;

protected:
    void SetSearchParams(int iAnsId) override;

private:
    bool KindUsesYear() const { return m_kind == 1 || m_kind == 3 || m_kind == 5; }

    int m_kind = -1;
    int m_dwgId = 0;
};

// Registers the beneficiary search forms by class name (program start) and
// removes them (program end).
void RegisterSearchForms();
void UnregisterSearchForms();

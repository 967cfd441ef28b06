#pragma once
#include "EbsFFeeWindow.h"

class TfrEbsCau;
class TfrEbsCauCca;
class TVtField;

// "Causali": the fee reasons of the reasons' school year over the
// components of the selected one. Every reason keeps at least one
// component; a reason in use by movements or tax payments keeps its
// components as they are.
class TfmEbsCau : public TfmEbsFeeWindow
{
    Q_OBJECT
public:
    explicit TfmEbsCau(QWidget *parent = nullptr);
    ~TfmEbsCau() override;

    TfrEbsCau *frEbsCau;
    TfrEbsCauCca *frEbsCauCca;

    void SetShowAll(bool on) override;
    void SetShowTreasuryAmount(bool on) override;

    // Opens the duplication dialog for the reasons' school year (the
    // action "Duplica Causali").
    void DuplicateReasons();

    bool CloseQuery() override;

protected:
    TVtQueryCollection *DirectionList() const override;
    void DirectionChanged() override;
    void FormShow() override;
    void CloseQueries() override;

private:
    void xqcCausAfterScroll();
    void xqcCausAfterPost();
    void RefreshComponentLookup();
    void ForceFirstComponent();
    void frEbsCauCcaStateChange();
    void ApplyInUseLocks();

    bool m_reasonWasNew = false;
};

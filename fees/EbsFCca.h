#pragma once
#include "EbsFFeeWindow.h"

class TfrEbcCca;

// "Componenti di causali": the components of the reasons' school year.
class TfmEbsCca : public TfmEbsFeeWindow
{
    Q_OBJECT
public:
    explicit TfmEbsCca(QWidget *parent = nullptr);
    ~TfmEbsCca() override;

    TfrEbcCca *frEbcCca;

    void SetShowAll(bool on) override;
    void SetShowTreasuryAmount(bool on) override;

protected:
    TVtQueryCollection *DirectionList() const override;
    void DirectionChanged() override;
    void FormShow() override;
    void CloseQueries() override;

private:
    void Reopen();
};

#pragma once

// The modes the application's command module sets on the reasons and
// components windows right after creating them: fixed direction (income
// only), every row shown, treasury amount hidden.
class TEbsFeeWindowModes
{
public:
    virtual ~TEbsFeeWindowModes() = default;
    virtual void SetFixedDirection(bool on) = 0;
    virtual void SetShowAll(bool on) = 0;
    virtual void SetShowTreasuryAmount(bool on) = 0;
};

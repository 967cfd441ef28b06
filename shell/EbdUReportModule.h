#pragma once

class TdmVtRptFR;

// The billing-reports module as the shell sees it: it is created by the
// program entry above the shell, set up at the main window's first
// activation, refreshed when the working context changes, and it answers the
// events of the report tree's engine.
class TEbdReportModule
{
public:
    virtual ~TEbdReportModule() = default;
    // The statements' texts and parameters (the first activation).
    virtual void Setup() = 0;
    // The same again, so that what was set at once follows a changed context.
    virtual void Refresh() = 0;
    // The engine's variables, print events and the designer's field list.
    virtual void RouteEvents(TdmVtRptFR *engine) = 0;
};

// The process-wide billing-reports module; null when none was created.
extern TEbdReportModule *gEbdReportModule;

#pragma once
#include "VtException.h"
#include "VtMessageDlg.h"

#include <functional>

// The one boundary between the framework and the code it calls (hooks,
// events, handlers, page changes): an Abort stays silent, an EVtException
// becomes a message of its severity, any other exception an error message.
// Returns false when the call did not complete.
bool VtGuard(const std::function<void()> &call);

// The message type that shows an error of the severity.
TVtMsgDlgType VtSeverityType(TVtSeverity severity);

// Shows the exception in flight the way VtGuard does (to be called from a
// catch block only); an Abort shows nothing.
void VtShowCurrentException();

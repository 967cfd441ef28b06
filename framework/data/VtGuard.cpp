#include "VtGuard.h"
#include "VtDatabaseError.h"
#include "VtSQLConnection.h"

#include <exception>

TVtMsgDlgType VtSeverityType(TVtSeverity severity)
{
    switch (severity) {
    case TVtSeverity::Information:
        return mtInformation;
    case TVtSeverity::Warning:
        return mtWarning;
    case TVtSeverity::Error:
    case TVtSeverity::Fatal:
        break;
    }
    return mtError;
}

void VtShowCurrentException()
{
    try {
        throw;
    } catch (const EVtAbort &) {
    } catch (const EVtDatabaseError &e) {
        // The server went away: the message comes with the offer to reconnect.
        if (!e.Error().ConnectionGone() || !qqoVtGlobConn || !qqoVtGlobConn->AskToReconnect(e.Message()))
            VtMessageDlg(e.Message(), VtSeverityType(e.Severity()), mbOK);
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), VtSeverityType(e.Severity()), mbOK);
    } catch (const std::exception &e) {
        VtMessageDlg(QStringLiteral("Errore imprevisto:\r\n%1").arg(QString::fromLocal8Bit(e.what())), mtError, mbOK);
    } catch (...) {
        VtMessageDlg(QStringLiteral("Errore imprevisto."), mtError, mbOK);
    }
}

bool VtGuard(const std::function<void()> &call)
{
    try {
        call();
        return true;
    } catch (...) {
        VtShowCurrentException();
        return false;
    }
}

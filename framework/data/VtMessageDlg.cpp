#include "VtMessageDlg.h"

#include <cstdio>

namespace {
std::shared_ptr<IVtMessageService> &DefaultService()
{
    static std::shared_ptr<IVtMessageService> service = std::make_shared<TVtHeadlessMessageService>();
    return service;
}

std::shared_ptr<IVtMessageService> &CurrentService()
{
    static std::shared_ptr<IVtMessageService> service = DefaultService();
    return service;
}
}

bool VtConfirm(const QString &text)
{
    return VtMessageDlg(text, mtConfirmation, mbYes | mbNo | mbDefNo) == mrYes;
}

int VtMessageDlg(const QString &text, TVtMsgDlgType type, TVtMsgDlgButtons buttons, const QString &title)
{
    return VtMessageService().MessageDlg(text, type, buttons, title);
}

IVtMessageService &VtMessageService()
{
    return *CurrentService();
}

std::shared_ptr<IVtMessageService> SetVtMessageService(std::shared_ptr<IVtMessageService> service)
{
    auto previous = CurrentService();
    CurrentService() = service ? std::move(service) : DefaultService();
    return previous;
}

void SetVtDefaultMessageService(std::shared_ptr<IVtMessageService> service)
{
    if (!service)
        service = std::make_shared<TVtHeadlessMessageService>();
    if (CurrentService() == DefaultService())
        CurrentService() = service;
    DefaultService() = std::move(service);
}

int TVtHeadlessMessageService::MessageDlg(const QString &text, TVtMsgDlgType, TVtMsgDlgButtons buttons, const QString &)
{
    std::fprintf(stderr, "%s\n", qPrintable(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
    if ((buttons & mbDefNo) && (buttons & mbNo))
        return mrNo;
    if (buttons & mbOK)
        return mrOk;
    if (buttons & mbYes)
        return mrYes;
    if (buttons & mbNo)
        return mrNo;
    return buttons & mbCancel ? mrCancel : mrOk;
}

bool TVtHeadlessMessageService::OpenDocument(const QString &)
{
    return false;
}

QString TVtHeadlessMessageService::SaveFileName(const QString &, const QString &, const QString &)
{
    return QString();
}

QString TVtHeadlessMessageService::OpenFileName(const QString &, const QString &, const QString &)
{
    return QString();
}

QString TVtHeadlessMessageService::ExistingDirectory(const QString &, const QString &)
{
    return QString();
}


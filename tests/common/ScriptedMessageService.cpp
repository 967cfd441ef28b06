#include "ScriptedMessageService.h"

int TScriptedMessageService::MessageDlg(const QString &text, TVtMsgDlgType type, TVtMsgDlgButtons buttons,
                                        const QString &title)
{
    Messages.append({text, type, buttons, title});
    if (!Answers.isEmpty())
        return Answers.takeFirst();
    return (buttons & mbOK) ? mrOk : mrNo;
}

bool TScriptedMessageService::OpenDocument(const QString &path)
{
    OpenedDocuments << path;
    return DesktopOpens;
}

QString TScriptedMessageService::SaveFileName(const QString &, const QString &, const QString &)
{
    return SaveNames.isEmpty() ? QString() : SaveNames.takeFirst();
}

QString TScriptedMessageService::OpenFileName(const QString &, const QString &, const QString &)
{
    return OpenNames.isEmpty() ? QString() : OpenNames.takeFirst();
}

QString TScriptedMessageService::ExistingDirectory(const QString &, const QString &)
{
    return Directories.isEmpty() ? QString() : Directories.takeFirst();
}

QStringList TScriptedMessageService::Texts() const
{
    QStringList t;
    for (const Message &m : Messages)
        t << m.Text;
    return t;
}

TScopedMessageService::TScopedMessageService()
    : m_service(std::make_shared<TScriptedMessageService>())
{
    m_previous = SetVtMessageService(m_service);
}

TScopedMessageService::~TScopedMessageService()
{
    SetVtMessageService(m_previous);
}

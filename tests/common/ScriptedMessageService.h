#pragma once
#include "VtMessageDlg.h"

#include <QList>
#include <QString>
#include <QStringList>

// Records every message the program shows and answers from a queue.
class TScriptedMessageService : public IVtMessageService
{
public:
    struct Message
    {
        QString Text;
        TVtMsgDlgType Type;
        TVtMsgDlgButtons Buttons;
        QString Title;
    };

    QList<Message> Messages;
    QList<int> Answers;          // taken in order; when empty: OK, or No for questions
    QStringList OpenedDocuments;
    bool DesktopOpens = true;    // false: no program of the desktop opens a document
    QStringList SaveNames;       // answers of SaveFileName
    QStringList OpenNames;       // answers of OpenFileName
    QStringList Directories;     // answers of ExistingDirectory

    int MessageDlg(const QString &text, TVtMsgDlgType type, TVtMsgDlgButtons buttons, const QString &title) override;
    bool OpenDocument(const QString &path) override;
    QString SaveFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString OpenFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString ExistingDirectory(const QString &caption, const QString &dir) override;

    QStringList Texts() const;
    QString LastText() const { return Messages.isEmpty() ? QString() : Messages.last().Text; }
    void Clear() { Messages.clear(); Answers.clear(); }
};

// Installs a scripted service for the lifetime of the object.
class TScopedMessageService
{
public:
    TScopedMessageService();
    ~TScopedMessageService();
    TScriptedMessageService *operator->() const { return m_service.get(); }
    TScriptedMessageService &operator*() const { return *m_service; }

private:
    std::shared_ptr<TScriptedMessageService> m_service;
    std::shared_ptr<IVtMessageService> m_previous;
};

#pragma once
#include "VtMessageDlg.h"

// The desktop's service: message boxes in Italian, documents opened with the
// associated program, file and folder dialogs.
class TVtInteractiveMessageService : public IVtMessageService
{
public:
    int MessageDlg(const QString &text, TVtMsgDlgType type, TVtMsgDlgButtons buttons, const QString &title) override;
    bool OpenDocument(const QString &path) override;
    QString SaveFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString OpenFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString ExistingDirectory(const QString &caption, const QString &dir) override;
};

#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

enum TVtMsgDlgType { mtError, mtWarning, mtInformation, mtConfirmation };

// mbDefNo makes No the default button of a Yes/No question.
enum TVtMsgDlgBtn { mbNone = 0, mbOK = 1, mbYes = 2, mbNo = 4, mbCancel = 8, mbDefNo = 16 };
using TVtMsgDlgButtons = int;

enum TVtModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// Everything the program asks of the desktop goes through this service, so
// tests can replace it with one that records and answers.
class IVtMessageService
{
public:
    virtual ~IVtMessageService() = default;
    // An empty title: the window names the kind of message.
    virtual int MessageDlg(const QString &text, TVtMsgDlgType type, TVtMsgDlgButtons buttons, const QString &title) = 0;
    // Opens a document or folder with the desktop's associated program.
    virtual bool OpenDocument(const QString &path) = 0;
    // Asks for a file to save; empty when cancelled.
    virtual QString SaveFileName(const QString &caption, const QString &dir, const QString &filter) = 0;
    // Asks for an existing file to open; empty when cancelled.
    virtual QString OpenFileName(const QString &caption, const QString &dir, const QString &filter) = 0;
    // Asks for an existing folder; empty when cancelled.
    virtual QString ExistingDirectory(const QString &caption, const QString &dir) = 0;
};

// Shows a message through the current service; returns the modal result.
int VtMessageDlg(const QString &text, TVtMsgDlgType type, TVtMsgDlgButtons buttons, const QString &title = QString());

// Asks a Yes/No question with No as the default answer; true on Yes.
bool VtConfirm(const QString &text);

// The current service: the default one unless replaced.
IVtMessageService &VtMessageService();
// Replaces the service; returns the previous one. Null restores the default.
std::shared_ptr<IVtMessageService> SetVtMessageService(std::shared_ptr<IVtMessageService> service);
// The default service: the desktop's once the widget layer installs it
// (TVtApplication does), else the headless one below. Replaces the current
// service too when that is the default.
void SetVtDefaultMessageService(std::shared_ptr<IVtMessageService> service);

// Without a desktop: messages are written to the standard error and every
// question gets its default answer (No when mbDefNo, else the first button
// offered); nothing is opened or chosen.
class TVtHeadlessMessageService : public IVtMessageService
{
public:
    int MessageDlg(const QString &text, TVtMsgDlgType type, TVtMsgDlgButtons buttons, const QString &title) override;
    bool OpenDocument(const QString &path) override;
    QString SaveFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString OpenFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString ExistingDirectory(const QString &caption, const QString &dir) override;
};

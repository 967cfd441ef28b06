#pragma once
#include "VtAttivazione.h"

// Command that opens a file: a document (or a folder) with the desktop's
// associated program through the message service's OpenDocument, a program
// by starting it. FileName is taken under Directory unless it is absolute;
// a missing file is reported ("Impossibile trovare il file %s.") and the
// command stops. WaitEndOfProcess waits for a started program to end (a
// document handed to the desktop cannot be waited for).
class TVtAttShell : public TVtAttivazione
{
    Q_OBJECT
public:
    explicit TVtAttShell(TdmVtAttivazioni *owner, const QString &name = QString());

    QString FileName;
    QString Directory;
    QString Parameters;          // arguments of a program, separated by blanks
    bool WaitEndOfProcess = false;

    // The full path the command opens.
    QString FullPath() const;

protected:
    bool DoExecute() override;
};

#pragma once
#include "VtAttivazione.h"
#include "VtMessageDlg.h"

#include <QString>
#include <functional>

class QWidget;

// Command that opens a form of a registered class (TVtFormRegistry).
//   not modal: the form opens as a child window of the main window (a
//     top-level window when there is none) and stays open;
//   modal: the form runs modally (a QDialog is exec()'d, any other widget is
//     wrapped in one); then OnModalExit is raised and the form is freed.
// Without MultipleInstance, a form of the class already open is brought to
// the front instead (no new form, no OnInizializedForm).
class TVtAttForm : public TVtAttivazione
{
    Q_OBJECT
public:
    using TFormEvent = std::function<void(TVtAttForm *sender, QWidget *form)>;

    explicit TVtAttForm(TdmVtAttivazioni *owner, const QString &name = QString());

    QString ClasseForm;
    bool ModalForm = false;
    bool MultipleInstance = false;

    // Raised once the form exists, before it shows.
    TFormEvent OnInizializedForm;
    // Raised after a modal form closes, before it is freed.
    TFormEvent OnModalExit;

    // Only a window that this build registers can open.
    bool Available() const override;

    // The form the last execution opened or brought forward (null once freed).
    QWidget *Form() const { return m_form; }
    // Modal result of the last modal run (TVtModalResult).
    int ModalResult() const { return m_modalResult; }

protected:
    bool DoExecute() override;

private:
    QPointer<QWidget> m_form;
    int m_modalResult = mrNone;
};

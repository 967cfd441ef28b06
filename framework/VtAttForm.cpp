#include "VtAttForm.h"
#include "VtException.h"
#include "VtFormRegistry.h"
#include "VtUtils.h"
#include "fmVtMDIMain.h"

#include <QApplication>
#include <QDialog>
#include <QMdiSubWindow>
#include <QVBoxLayout>

TVtAttForm::TVtAttForm(TdmVtAttivazioni *owner, const QString &name)
    : TVtAttivazione(owner, name)
{
}

bool TVtAttForm::Available() const
{
    return ClasseForm.isEmpty() || TVtFormRegistry::IsRegistered(ClasseForm);
}

bool TVtAttForm::DoExecute()
{
    if (ClasseForm.isEmpty())
        throw EVtException(QStringLiteral("Il comando %1 non indica la finestra da aprire.").arg(objectName()));
    if (!MultipleInstance) {
        if (QWidget *open = FindForm(ClasseForm)) {
            m_form = open;
            if (TfmVtMDIMain *main = TfmVtMDIMain::Instance())
                main->BringToFront(open);
            else {
                open->raise();
                open->activateWindow();
            }
            return true;
        }
    }
    if (!Available())
        throw EVtException(UnavailableHint());

    TfmVtMDIMain *main = TfmVtMDIMain::Instance();
    if (!ModalForm) {
        QWidget *form = TVtFormRegistry::CreateForm(ClasseForm, nullptr);
        m_form = form;
        form->setAttribute(Qt::WA_DeleteOnClose);
        if (HelpContext() != 0 && !form->property("HelpContext").isValid())
            form->setProperty("HelpContext", HelpContext());
        if (OnInizializedForm)
            OnInizializedForm(this, form);
        if (!m_form)
            return false;
        if (main)
            main->AddChild(form);
        else
            form->show();
        return true;
    }

    QWidget *parent = main ? static_cast<QWidget *>(main) : QApplication::activeWindow();
    QWidget *form = TVtFormRegistry::CreateForm(ClasseForm, parent);
    m_form = form;
    if (HelpContext() != 0 && !form->property("HelpContext").isValid())
        form->setProperty("HelpContext", HelpContext());
    if (OnInizializedForm)
        OnInizializedForm(this, form);
    if (!m_form)
        return false;

    QPointer<QDialog> wrapper;
    auto *dialog = qobject_cast<QDialog *>(form);
    if (!dialog) {
        wrapper = new QDialog(parent);
        wrapper->setWindowTitle(form->windowTitle());
        auto *layout = new QVBoxLayout(wrapper);
        layout->setContentsMargins(0, 0, 0, 0);
        form->setParent(wrapper);
        form->setWindowFlags(Qt::Widget);
        layout->addWidget(form);
        dialog = wrapper;
    }
    const int result = dialog->exec();
    m_modalResult = result == QDialog::Accepted ? mrOk : (result == QDialog::Rejected ? mrCancel : result);
    if (OnModalExit && m_form)
        OnModalExit(this, m_form);
    if (m_form)
        m_form->deleteLater();
    if (wrapper)
        wrapper->deleteLater();
    return true;
}

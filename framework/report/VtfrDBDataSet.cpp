#include "VtfrDBDataSet.h"
#include "VtException.h"
#include "VtExecModal.h"
#include "VtFormRegistry.h"

#include <QApplication>
#include <QDialog>

TVtfrDBDataSet::~TVtfrDBDataSet()
{
    FreeForm();
}

bool TVtfrDBDataSet::ShowSelectForm()
{
    FreeForm();
    m_confirmed = false;
    if (SelectForm.isEmpty())
        return m_confirmed = true;
    if (!TVtFormRegistry::IsRegistered(SelectForm))
        throw EVtException(QStringLiteral("La finestra di selezione %1 non è disponibile.").arg(SelectForm));
    m_form = TVtFormRegistry::CreateForm(SelectForm, QApplication::activeWindow());
    auto *dialog = qobject_cast<QDialog *>(m_form.data());
    if (!dialog)
        throw EVtException(QStringLiteral("La finestra %1 non è una finestra di selezione.").arg(SelectForm));
    if (OnBeforeSelect)
        OnBeforeSelect(this, m_form);
    m_confirmed = VtExecModal(dialog) == QDialog::Accepted;
    return m_confirmed;
}

void TVtfrDBDataSet::DoAfterSelect(bool confirmed)
{
    if (OnAfterSelect)
        OnAfterSelect(this, m_form, confirmed);
}

void TVtfrDBDataSet::FreeForm()
{
    delete m_form.data();
    m_form = nullptr;
}

#include "ModMAnaAtt.h"
#include "ModFAnagrafica.h"
#include "ModUSuite.h"
#include "VtAttForm.h"
#include "VtFormRegistry.h"
#include "VtSQLConnection.h"
#include "VtUtils.h"
#include "fmVtMDIMain.h"

TdmModAnaAtt *dmModAnaAtt = nullptr;

TdmModAnaAtt::TdmModAnaAtt(QObject *owner)
    : TdmVtAttivazioni(owner)
{
    setObjectName(QStringLiteral("dmModAnaAtt"));
    if (!dmModAnaAtt)
        dmModAnaAtt = this;
    RegisterSuiteForms();

    xafAnagrafica = new TVtAttForm(this, QStringLiteral("xafAnagrafica"));
    xafAnagrafica->SetCaption(QStringLiteral("Anagrafica"));
    xafAnagrafica->ClasseForm = QStringLiteral("TfmModAnagrafica");
    xafAnagrafica->ModalForm = false;
    // One window per caption: the same command serves several categories
    // (pupils, parents, staff...), each in a window of its own; running it
    // again for a category whose window is open brings that window forward.
    xafAnagrafica->MultipleInstance = true;
    xafAnagrafica->BeforeExecute = [this](TVtAttivazione *, bool &allow) {
        for (QWidget *open : FindForms(xafAnagrafica->ClasseForm)) {
            if (open->windowTitle() != xafAnagrafica->Caption())
                continue;
            if (TfmVtMDIMain *main = TfmVtMDIMain::Instance())
                main->BringToFront(open);
            else {
                open->raise();
                open->activateWindow();
            }
            allow = false;
            return;
        }
    };
    xafAnagrafica->OnInizializedForm = [this](TVtAttForm *sender, QWidget *form) {
        auto *fm = qobject_cast<TfmModAnagrafica *>(form);
        if (!fm)
            return;
        fm->setWindowTitle(sender->Caption());
        fm->SetConnection(m_conn);
        QList<QPair<QString, QString>> frames;
        if (OnGetFrameList)
            OnGetFrameList(AdmittedCategories.value(0, 0), frames);
        fm->Setup(AdmittedCategories, HiddenCategories, FilterSpecifics, frames);
    };
}

TdmModAnaAtt::~TdmModAnaAtt()
{
    if (dmModAnaAtt == this)
        dmModAnaAtt = nullptr;
}

void TdmModAnaAtt::SetConnection(TVtSQLConnection *conn)
{
    m_conn = conn;
}

TVtSQLConnection *TdmModAnaAtt::Connection() const
{
    return m_conn;
}

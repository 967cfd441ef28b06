#include "kbsMActivations.h"
#include "ModUSuite.h"
#include "VtAttForm.h"

TdmkbsActivations *dmkbsActivations = nullptr;

TdmkbsActivations::TdmkbsActivations(QObject *owner)
    : TdmVtAttivazioni(owner)
{
    setObjectName(QStringLiteral("dmkbsActivations"));
    if (!dmkbsActivations)
        dmkbsActivations = this;
    RegisterSuiteForms();

    xafFirme = new TVtAttForm(this, QStringLiteral("xafFirme"));
    xafFirme->SetCaption(QStringLiteral("Firme"));
    xafFirme->SetHint(QStringLiteral("Firmatari dei documenti"));
    xafFirme->ClasseForm = QStringLiteral("TfmKbsFirme");
    xafFirme->ModalForm = false;
    xafFirme->MultipleInstance = false;
    xafFirme->OnInizializedForm = [](TVtAttForm *sender, QWidget *form) { form->setWindowTitle(sender->Caption()); };
}

TdmkbsActivations::~TdmkbsActivations()
{
    if (dmkbsActivations == this)
        dmkbsActivations = nullptr;
}

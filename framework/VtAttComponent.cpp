#include "VtAttComponent.h"

TVtAttComponent::TVtAttComponent(TdmVtAttivazioni *owner, const QString &name)
    : TVtAttivazione(owner, name)
{
}

bool TVtAttComponent::DoExecute()
{
    if (OnExecute)
        OnExecute(this);
    return true;
}

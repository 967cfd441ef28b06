#pragma once
#include "VtAttivazione.h"

#include <functional>

// Command whose work is a handler of the program's (OnExecute).
class TVtAttComponent : public TVtAttivazione
{
    Q_OBJECT
public:
    explicit TVtAttComponent(TdmVtAttivazioni *owner, const QString &name = QString());

    std::function<void(TVtAttComponent *sender)> OnExecute;

protected:
    bool DoExecute() override;
};

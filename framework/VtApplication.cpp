#include "VtApplication.h"
#include "VtGuard.h"
#include "VtInteractiveMessageService.h"

TVtApplication::TVtApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    SetVtDefaultMessageService(std::make_shared<TVtInteractiveMessageService>());
}

bool TVtApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        VtShowCurrentException();
        return false;
    }
}

#include "VtApplication.h"
#include "VtGuard.h"

TVtApplication::TVtApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TVtApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        VtShowCurrentException();
        return false;
    }
}

#include "VtWaitCursor.h"

#include <QApplication>

TVtWaitCursor::TVtWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

TVtWaitCursor::~TVtWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

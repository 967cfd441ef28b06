#include "VtException.h"

EVtException::EVtException(const QString &message, TVtSeverity severity)
    : std::runtime_error(message.toStdString()), m_message(message), m_severity(severity)
{
}

void Abort()
{
    throw EVtAbort();
}

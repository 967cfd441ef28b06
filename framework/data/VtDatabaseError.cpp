#include "VtDatabaseError.h"

EVtDatabaseError::EVtDatabaseError(const TVtEngineError &error, const QString &doing)
    : EVtException(doing.isEmpty() ? error.Text() : doing + QStringLiteral("\r\n") + error.Text()), m_error(error)
{
}

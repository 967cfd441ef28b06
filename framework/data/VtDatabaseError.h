#pragma once
#include "VtEngineError.h"
#include "VtException.h"

// An EVtException raised by the database engine: its message is the Italian
// sentence (after what the program was doing, when given), and the engine's
// error stays at hand for who must tell one cause from another.
class EVtDatabaseError : public EVtException
{
public:
    explicit EVtDatabaseError(const TVtEngineError &error, const QString &doing = QString());
    const TVtEngineError &Error() const { return m_error; }

private:
    TVtEngineError m_error;
};

#pragma once
#include <QString>
#include <stdexcept>

enum class TVtSeverity { Information, Warning, Error, Fatal };

// Error raised by the framework and by the application's rules.
class EVtException : public std::runtime_error
{
public:
    explicit EVtException(const QString &message, TVtSeverity severity = TVtSeverity::Error);
    const QString &Message() const { return m_message; }
    TVtSeverity Severity() const { return m_severity; }

private:
    QString m_message;
    TVtSeverity m_severity;
};

// Silent refusal: stops the running command or post without a message.
class EVtAbort : public std::exception
{
public:
    const char *what() const noexcept override { return "Operazione annullata"; }
};

[[noreturn]] void Abort();

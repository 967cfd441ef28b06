#pragma once
#include <QList>
#include <QString>
#include <cstdint>

class QSqlError;

// What went wrong in the database engine, read from its error codes and told
// in Italian with what to do about it. The engine's own text follows as
// "Dettagli", for whoever gives support.
class TVtEngineError
{
public:
    enum TKind {
        ekNone,
        ekUnknown,
        ekNotDatabase,
        ekDamaged,
        ekWrongVersion,
        ekMissingFile,
        ekNoFileAccess,
        ekNoPermission,
        ekFileInUse,
        ekServerUnreachable,
        ekConnectionLost,
        ekLogin,
        ekLockConflict,
        ekTooLong,
        ekOverflow,
        ekDuplicateKey,
        ekReferenced,
        ekDiskFull,
        ekReadOnly,
        ekCancelled,
        ekRefused       // a rule of the database (a user exception) refused the operation
    };

    TKind Kind = ekNone;
    QString Subject;    // the file, server or field the sentence names
    int Limit = 0;      // the field's length, for a text too long
    QString Details;    // the engine's text

    // From the codes of a status vector (each isc_arg_gds in order) and the
    // operating system's error number, when the engine gives one.
    static TVtEngineError FromCodes(const QList<long> &codes, int osError, const QString &details);
    // From a status vector of the client library.
    static TVtEngineError FromStatus(const intptr_t *status);
    // From an error of the Qt driver, which passes on only the SQLCODE.
    static TVtEngineError FromSqlCode(int sqlCode, const QString &details);
    static TVtEngineError FromSqlError(const QSqlError &error);

    bool IsError() const { return Kind != ekNone; }
    // The connection itself is gone: reconnecting may help.
    bool ConnectionGone() const { return Kind == ekConnectionLost || Kind == ekServerUnreachable; }
    QString Sentence() const;
    // The sentence, then the engine's text as "Dettagli".
    QString Text() const;

    // The message of a user exception in the engine's text ("exception N",
    // its name, the message, then where it was raised); empty when the text
    // holds none.
    static QString UserExceptionText(const QString &engineText);

    // Separates the details from a message built by Text().
    static QString DetailsMarker() { return QStringLiteral("\r\n\r\nDettagli: "); }
};

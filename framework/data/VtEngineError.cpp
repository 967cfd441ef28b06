#include "VtEngineError.h"

#include <ibase.h>

#include <QRegularExpression>
#include <QSqlError>
#include <cerrno>

namespace {
struct TCodeKind
{
    long Code;
    TVtEngineError::TKind Kind;
};

// The engine's codes a user can meet, most specific first: a status vector
// is read code by code and the first one listed here decides.
const TCodeKind GdsKinds[] = {
    {isc_except, TVtEngineError::ekRefused},
    {isc_already_opened, TVtEngineError::ekFileInUse},
    {isc_lock_dir_access, TVtEngineError::ekFileInUse},
    {isc_bad_db_format, TVtEngineError::ekNotDatabase},
    {isc_db_corrupt, TVtEngineError::ekDamaged},
    {isc_bad_checksum, TVtEngineError::ekDamaged},
    {isc_random, TVtEngineError::ekDamaged},      // "File size is less than expected", and the like
    {isc_wrong_ods, TVtEngineError::ekWrongVersion},
    {isc_badodsver, TVtEngineError::ekWrongVersion},
    {isc_login, TVtEngineError::ekLogin},
    {isc_net_connect_err, TVtEngineError::ekServerUnreachable},
    {isc_net_read_err, TVtEngineError::ekConnectionLost},
    {isc_net_write_err, TVtEngineError::ekConnectionLost},
    {isc_conn_lost, TVtEngineError::ekConnectionLost},
    {isc_lost_db_connection, TVtEngineError::ekConnectionLost},
    {isc_att_shutdown, TVtEngineError::ekConnectionLost},
    {isc_shutdown, TVtEngineError::ekConnectionLost},
    {isc_network_error, TVtEngineError::ekServerUnreachable},
    {isc_read_only_database, TVtEngineError::ekReadOnly},
    {isc_read_only_trans, TVtEngineError::ekReadOnly},
    {isc_no_priv, TVtEngineError::ekNoPermission},
    {isc_lock_conflict, TVtEngineError::ekLockConflict},
    {isc_deadlock, TVtEngineError::ekLockConflict},
    {isc_update_conflict, TVtEngineError::ekLockConflict},
    {isc_lock_timeout, TVtEngineError::ekLockConflict},
    {isc_unique_key_violation, TVtEngineError::ekDuplicateKey},
    {isc_no_dup, TVtEngineError::ekDuplicateKey},
    {isc_foreign_key, TVtEngineError::ekReferenced},
    {isc_string_truncation, TVtEngineError::ekTooLong},
    {isc_arith_except, TVtEngineError::ekOverflow},
    {isc_cancelled, TVtEngineError::ekCancelled},
};

// What the Qt driver passes on: the SQLCODE, coarser than the codes above.
const TCodeKind SqlCodeKinds[] = {
    {-836, TVtEngineError::ekRefused},
    {-803, TVtEngineError::ekDuplicateKey},
    {-530, TVtEngineError::ekReferenced},
    {-913, TVtEngineError::ekLockConflict},
    {-802, TVtEngineError::ekOverflow},
    {-551, TVtEngineError::ekNoPermission},
    {-552, TVtEngineError::ekNoPermission},
    {-817, TVtEngineError::ekReadOnly},
    {-902, TVtEngineError::ekConnectionLost},
};

QString Named(const QString &what, const QString &subject)
{
    return subject.isEmpty() ? what : QStringLiteral("%1 %2").arg(what, subject);
}
}

TVtEngineError TVtEngineError::FromCodes(const QList<long> &codes, int osError, const QString &details)
{
    TVtEngineError e;
    e.Details = details;
    if (codes.isEmpty())
        return e;
    e.Kind = ekUnknown;
    if (osError == ENOSPC) {
        e.Kind = ekDiskFull;
        return e;
    }
    for (const TCodeKind &ck : GdsKinds)
        if (codes.contains(ck.Code)) {
            e.Kind = ck.Kind;
            break;
        }
    if (e.Kind == ekUnknown && codes.contains(isc_io_error)) {
        if (osError == ENOENT || osError == ENOTDIR)
            e.Kind = ekMissingFile;
        else if (osError == EACCES || osError == EPERM || osError == EROFS)
            e.Kind = ekNoFileAccess;
        else
            e.Kind = ekDamaged;
    }
    if (e.Kind == ekNoPermission && details.contains(QLatin1String("access to database")))
        e.Kind = ekNoFileAccess;   // the file's rights, not the user's grants
    return e;
}

TVtEngineError TVtEngineError::FromStatus(const intptr_t *status)
{
    QList<long> codes;
    int osError = 0;
    QString subject;
    for (int i = 0; status[i] != isc_arg_end && i < ISC_STATUS_LENGTH - 1;) {
        const intptr_t type = status[i];
        if (type == isc_arg_gds)
            codes << long(status[i + 1]);
        else if (type == isc_arg_unix)
            osError = int(status[i + 1]);
        i += type == isc_arg_cstring ? 3 : 2;
    }
    QString text;
    char buffer[512];
    const ISC_STATUS *p = status;
    while (fb_interpret(buffer, sizeof buffer, &p)) {
        if (!text.isEmpty())
            text += QStringLiteral(" - ");
        text += QString::fromUtf8(buffer);
    }
    return FromCodes(codes, osError, text);
}

TVtEngineError TVtEngineError::FromSqlCode(int sqlCode, const QString &details)
{
    TVtEngineError e;
    e.Details = details;
    e.Kind = ekUnknown;
    for (const TCodeKind &ck : SqlCodeKinds)
        if (ck.Code == sqlCode) {
            e.Kind = ck.Kind;
            break;
        }
    return e;
}

TVtEngineError TVtEngineError::FromSqlError(const QSqlError &error)
{
    if (!error.isValid())
        return {};
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    const QString details = error.text().trimmed();
    if (ok)
        return FromSqlCode(code, details);
    TVtEngineError e;
    e.Kind = ekUnknown;
    e.Details = details;
    return e;
}

QString TVtEngineError::Sentence() const
{
    switch (Kind) {
    case ekNone:
        return QString();
    case ekUnknown:
        return QStringLiteral("Il database ha segnalato un errore.");
    case ekNotDatabase:
        return QStringLiteral("%1 non è un database: controllare nelle impostazioni di connessione il nome del file.")
            .arg(Named(QStringLiteral("Il file"), Subject));
    case ekDamaged:
        return QStringLiteral("%1 è danneggiato o incompleto: ripristinare l'ultima copia di sicurezza.")
            .arg(Named(QStringLiteral("Il database"), Subject));
    case ekWrongVersion:
        return QStringLiteral("%1 è stato creato da una versione di Firebird diversa da quella installata: "
                              "convertirlo con gli strumenti di Firebird o aggiornare il motore.")
            .arg(Named(QStringLiteral("Il database"), Subject));
    case ekMissingFile:
        return QStringLiteral("%1 non esiste: controllare il percorso nelle impostazioni di connessione e, se il file "
                              "è su una cartella condivisa, che la cartella sia collegata.")
            .arg(Named(QStringLiteral("Il file"), Subject));
    case ekNoFileAccess:
        return QStringLiteral("Mancano i permessi per leggere e scrivere %1: chiedere all'amministratore del computer "
                              "di concederli all'utente che avvia il programma.")
            .arg(Subject.isEmpty() ? QStringLiteral("il file del database") : QStringLiteral("il file %1").arg(Subject));
    case ekNoPermission:
        return QStringLiteral("L'utente del database non ha i permessi necessari su questi dati: chiedere "
                              "all'amministratore del database di assegnargli il ruolo VARDELLA.");
    case ekFileInUse:
        return QStringLiteral("%1 è già aperto da un altro programma (per esempio un server Firebird): chiudere "
                              "l'altro programma, oppure indicare nelle impostazioni il database sul server.")
            .arg(Named(QStringLiteral("Il file"), Subject));
    case ekServerUnreachable:
        return QStringLiteral("%1 non risponde: controllare che sia acceso, che il servizio Firebird sia avviato e "
                              "che la rete sia collegata.")
            .arg(Named(QStringLiteral("Il server"), Subject));
    case ekConnectionLost:
        return QStringLiteral("La connessione al database si è interrotta: controllare la rete e il server, poi "
                              "riconnettersi.");
    case ekLogin:
        return QStringLiteral("Nome utente o password del database non validi: controllare le impostazioni di "
                              "connessione.");
    case ekLockConflict:
        return QStringLiteral("Il record è in uso da parte di un altro utente: riprovare tra poco.");
    case ekTooLong:
        if (Subject.isEmpty())
            return QStringLiteral("Un testo è troppo lungo per il campo in cui va scritto: abbreviarlo.");
        return QStringLiteral("Il testo del campo %1 è troppo lungo: al massimo %2 caratteri.").arg(Subject).arg(Limit);
    case ekOverflow:
        return QStringLiteral("Un valore è troppo lungo o troppo grande per il campo in cui va scritto.");
    case ekDuplicateKey:
        return QStringLiteral("Esiste già un record con gli stessi dati, che devono essere unici.");
    case ekReferenced:
        return QStringLiteral("Il record è collegato ad altri dati (o rimanda a dati che non esistono più): "
                              "l'operazione non è possibile.");
    case ekDiskFull:
        return QStringLiteral("Lo spazio sul disco del database è esaurito: liberare spazio e riprovare.");
    case ekReadOnly:
        return QStringLiteral("Il database è in sola lettura: le modifiche non possono essere salvate.");
    case ekCancelled:
        return QStringLiteral("L'operazione è stata interrotta.");
    case ekRefused: {
        const QString own = UserExceptionText(Details);
        return own.isEmpty() ? QStringLiteral("Il database non consente l'operazione.") : own;
    }
    }
    return QString();
}

// The engine tells a user exception as "exception 2 - NAME - message - At
// procedure 'P' line: 1, col: 9" (the driver may add its own words after
// it); the place where it was raised comes last and starts with "At".
QString TVtEngineError::UserExceptionText(const QString &engineText)
{
    static const QRegularExpression head(QStringLiteral("(?:^|\\s-\\s)exception \\d+ - [^\\r\\n]*? - "));
    static const QRegularExpression place(
        QStringLiteral(" - At (?:procedure|function|trigger|block|package|sub-procedure|sub-function)\\b"));
    const QRegularExpressionMatch m = head.match(engineText);
    if (!m.hasMatch())
        return QString();
    const QString rest = engineText.mid(m.capturedEnd());
    int end = -1;
    QRegularExpressionMatchIterator it = place.globalMatch(rest);
    while (it.hasNext())
        end = it.next().capturedStart();
    return (end < 0 ? rest : rest.left(end)).trimmed();
}

QString TVtEngineError::Text() const
{
    if (Details.isEmpty())
        return Sentence();
    return Sentence() + DetailsMarker() + Details;
}

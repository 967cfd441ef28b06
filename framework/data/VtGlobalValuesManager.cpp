#include "VtGlobalValuesManager.h"
#include "VtDatabaseError.h"
#include "VtException.h"
#include "VtSQLConnection.h"
#include "VtTransaction.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {
TVtGlobalValuesManager &Instance()
{
    static TVtGlobalValuesManager manager;
    return manager;
}

void Fail(const QSqlQuery &q, const QString &what)
{
    throw EVtDatabaseError(TVtEngineError::FromSqlError(q.lastError()), what + QLatin1Char('.'));
}
}

TVtGlobalValuesManager *xgvmGlobalVar = &Instance();

TVtSQLConnection *TVtGlobalValuesManager::Conn() const
{
    TVtSQLConnection *c = Connection ? Connection : qqoVtGlobConn;
    if (!c || !c->Connected())
        throw EVtException(QStringLiteral("Connessione al database non disponibile per i parametri."));
    return c;
}

QString TVtGlobalValuesManager::UserKey() const
{
    if (!m_userKey.isEmpty())
        return m_userKey;
    TVtSQLConnection *c = Connection ? Connection : qqoVtGlobConn;
    return c ? c->UserKey() : QString();
}

void TVtGlobalValuesManager::SetUserKey(const QString &key)
{
    m_userKey = key;
    Invalidate();
}

void TVtGlobalValuesManager::Invalidate()
{
    m_cache.clear();
    m_cacheScope.clear();
}

QString TVtGlobalValuesManager::CacheScope() const
{
    const TVtSQLConnection *c = Conn();
    return QStringLiteral("%1#%2|%3").arg(c->ConnectionName()).arg(c->OpenSerial()).arg(UserKey());
}

QVariant TVtGlobalValuesManager::GetValues(const QString &name) const
{
    const QString scope = CacheScope();
    if (scope != m_cacheScope) {
        m_cache.clear();
        m_cacheScope = scope;
    }
    const QString key = name.toUpper();
    const auto it = m_cache.constFind(key);
    if (it != m_cache.constEnd())
        return it.value();
    QSqlQuery q(Conn()->Database());
    q.prepare(QStringLiteral("SELECT SVALORE FROM TVT_PARAMVALORI WHERE SUTENTE = :SUTENTE AND SPARNOME = :SPARNOME"));
    q.bindValue(QStringLiteral(":SUTENTE"), UserKey());
    q.bindValue(QStringLiteral(":SPARNOME"), key);
    ++m_reads;
    if (!q.exec())
        Fail(q, QStringLiteral("Lettura del parametro %1 non riuscita").arg(name));
    const QVariant value = (!q.next() || q.value(0).isNull()) ? QVariant() : QVariant(q.value(0).toString());
    m_cache.insert(key, value);
    return value;
}

void TVtGlobalValuesManager::SetValues(const QString &name, const QVariant &value)
{
    TVtTransaction tr(Conn());
    tr.StartTransaction();
    Conn()->CheckWritable();
    QSqlQuery q(Conn()->Database());
    if (value.isNull()) {
        q.prepare(QStringLiteral("DELETE FROM TVT_PARAMVALORI WHERE SUTENTE = :SUTENTE AND SPARNOME = :SPARNOME"));
    } else {
        q.prepare(QStringLiteral("UPDATE OR INSERT INTO TVT_PARAMVALORI (SUTENTE, SPARNOME, SVALORE) "
                                 "VALUES (:SUTENTE, :SPARNOME, :SVALORE) MATCHING (SUTENTE, SPARNOME)"));
        q.bindValue(QStringLiteral(":SVALORE"), value.toString());
    }
    q.bindValue(QStringLiteral(":SUTENTE"), UserKey());
    q.bindValue(QStringLiteral(":SPARNOME"), name.toUpper());
    if (!q.exec()) {
        Invalidate();
        Fail(q, QStringLiteral("Salvataggio del parametro %1 non riuscito").arg(name));
    }
    // Inside a larger operation the value is not stored until it commits.
    Conn()->OnOutermostRollback(Conn(), [this] { Invalidate(); });
    tr.Commit();
    if (m_cacheScope == CacheScope())
        m_cache.insert(name.toUpper(), value.isNull() ? QVariant() : QVariant(value.toString()));
}

int TVtGlobalValuesManager::AdoptDefaults()
{
    if (UserKey() == DefaultsKey() || !Names().isEmpty())
        return 0;
    if (Conn()->ReadOnly()) {
        // Nothing can be stored: the new user reads the installation's
        // context as it is.
        SetUserKey(DefaultsKey());
        return 0;
    }
    TVtTransaction tr(Conn());
    tr.StartTransaction();
    QSqlQuery q(Conn()->Database());
    q.prepare(QStringLiteral("INSERT INTO TVT_PARAMVALORI (SUTENTE, SPARNOME, SVALORE) "
                             "SELECT :SUTENTE, SPARNOME, SVALORE FROM TVT_PARAMVALORI WHERE SUTENTE = :SDEFAULT"));
    q.bindValue(QStringLiteral(":SUTENTE"), UserKey());
    q.bindValue(QStringLiteral(":SDEFAULT"), DefaultsKey());
    if (!q.exec())
        Fail(q, QStringLiteral("Lettura dei parametri predefiniti non riuscita"));
    const int adopted = q.numRowsAffected();
    tr.Commit();
    Invalidate();
    return adopted;
}

QStringList TVtGlobalValuesManager::Names() const
{
    QSqlQuery q(Conn()->Database());
    q.prepare(QStringLiteral("SELECT SPARNOME FROM TVT_PARAMVALORI WHERE SUTENTE = :SUTENTE ORDER BY SPARNOME"));
    q.bindValue(QStringLiteral(":SUTENTE"), UserKey());
    if (!q.exec())
        Fail(q, QStringLiteral("Lettura dei parametri non riuscita"));
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QVariant GetVtuParamValue(const QString &name)
{
    return xgvmGlobalVar->GetValues(name);
}

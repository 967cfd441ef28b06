#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

class TVtSQLConnection;

// The saved values of the parameter dialog (the working context and the
// application's settings), kept as text per user in TVT_PARAMVALORI.
class TVtGlobalValuesManager
{
public:
    // The connection the values live on; the global one when null.
    TVtSQLConnection *Connection = nullptr;

    // The saved text of a parameter as a string variant; a null variant when
    // nothing is saved for the current user. Values are read once and kept
    // until they change through SetValues, the user or the database changes,
    // or Invalidate is called.
    QVariant GetValues(const QString &name) const;
    // Forgets the kept values (after writing the table by other means).
    void Invalidate();
    // How many times a value was read from the database.
    int ReadCount() const { return m_reads; }
    // Saves the text of the value for the current user (inside the running
    // transaction when there is one); a null value removes the saved one.
    void SetValues(const QString &name, const QVariant &value);
    void Clear(const QString &name) { SetValues(name, QVariant()); }
    // Names with a saved value for the current user.
    QStringList Names() const;

    // The installation's defaults are saved under this user key; a user who
    // has saved nothing yet starts from them (AdoptDefaults).
    static QString DefaultsKey() { return QStringLiteral("*"); }
    // Gives a user without any saved value the installation's defaults;
    // returns how many values were taken. A user with values keeps them.
    int AdoptDefaults();

    // Whom the values belong to: the connection's user key unless set here.
    QString UserKey() const;
    void SetUserKey(const QString &key);

private:
    TVtSQLConnection *Conn() const;
    // The kept values belong to one user on one opening of one database.
    QString CacheScope() const;
    QString m_userKey;
    mutable QHash<QString, QVariant> m_cache;
    mutable QString m_cacheScope;
    mutable int m_reads = 0;
};

// The program's values manager.
extern TVtGlobalValuesManager *xgvmGlobalVar;

// The saved value of a parameter of the framework's own (VTUP_...) or of the
// application; null when unset.
QVariant GetVtuParamValue(const QString &name);

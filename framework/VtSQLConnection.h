#pragma once
#include "VtConnectionSettings.h"

#include <QObject>
#include <QSqlDatabase>
#include <QVariant>

// The program's database connection (Firebird through QIBASE).
class TVtSQLConnection : public QObject
{
    Q_OBJECT
public:
    explicit TVtSQLConnection(QObject *parent = nullptr);
    ~TVtSQLConnection() override;

    QString CodAppl;                 // application code, such as "EBD"
    QString DBVersion;               // schema version the program needs
    int UserRights = 0;

    // Opens the database of the settings and checks that it is a Vardella
    // database of DBVersion; on failure returns false with an Italian message.
    bool Open(const TVtConnectionSettings &settings, QString *error);
    void Close();
    bool Connected() const;
    QSqlDatabase Database() const;
    QString ConnectionName() const { return m_name; }

    // Nested transactions over the one database transaction: only the
    // outermost StartTransaction/Commit pair reaches the database; a rollback
    // anywhere rolls back everything.
    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return m_depth > 0; }
    int TransactionGeneration() const { return m_generation; }

    // Next key of the framework's generator.
    int NextId();
    // Who saved parameter values belong to.
    QString UserKey() const;
    // Bytes the engine reports per character of a text column.
    int BytesPerChar() const { return m_charSet.compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0 ? 4 : 1; }

    // Reads the schema version written in a database; empty when the
    // database holds none.
    static QString ReadSchemaVersion(const QSqlDatabase &db, bool *isVardella);

private:
    QString m_name;
    QString m_user;
    QString m_charSet;
    int m_depth = 0;
    int m_generation = 0;
};

// The open connection every query runs on.
extern TVtSQLConnection *qqoVtGlobConn;

// The schema version this build of the program creates and expects.
inline constexpr const char *VtSchemaVersion = "6.94.02";

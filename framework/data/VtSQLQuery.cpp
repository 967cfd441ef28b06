#include "VtSQLQuery.h"
#include "VtException.h"
#include "VtSQLConnection.h"
#include "VtSqlText.h"
#include "VtTransaction.h"

#include <QSqlQuery>

TSQLQuery::TSQLQuery(QObject *parent) : QObject(parent) {}

TSQLQuery::~TSQLQuery() = default;

TVtSQLConnection *TSQLQuery::Conn() const
{
    TVtSQLConnection *c = SQLConnection ? SQLConnection : qqoVtGlobConn;
    if (!c || !c->Connected())
        throw EVtException(QStringLiteral("Connessione al database non attiva."));
    return c;
}

void TSQLQuery::Prepare()
{
    Close();
    m_query = std::make_unique<QSqlQuery>(Conn()->Database());
    m_query->setForwardOnly(true);
    VtExecSql(*m_query, SQL, [this](const QString &name, QVariant &value) {
        TVtParam *p = m_params.FindParam(name);
        if (!p)
            return false;
        value = p->Value();
        return true;
    });
}

void TSQLQuery::Open()
{
    Prepare();
    m_record = m_query->record();
    m_active = true;
    m_eof = !m_query->next();
    m_empty = m_eof;
}

void TSQLQuery::Close()
{
    m_query.reset();
    m_record = QSqlRecord();
    m_active = false;
    m_eof = true;
    m_empty = true;
}

void TSQLQuery::Next()
{
    if (!m_active || m_eof)
        return;
    m_eof = !m_query->next();
}

QVariant TSQLQuery::FieldByName(const QString &name) const
{
    const int i = m_record.indexOf(name);
    if (!m_active || i < 0)
        throw EVtException(QStringLiteral("Campo '%1' non trovato.").arg(name));
    return m_eof ? QVariant() : m_query->value(i);
}

QVariant TSQLQuery::Fields(int i) const
{
    if (!m_active || i < 0 || i >= m_record.count())
        throw EVtException(QStringLiteral("Campo %1 non trovato.").arg(i));
    return m_eof ? QVariant() : m_query->value(i);
}

QString TSQLQuery::FieldName(int i) const
{
    return m_record.fieldName(i);
}

int TSQLQuery::FieldCount() const
{
    return m_active ? m_record.count() : 0;
}

int TSQLQuery::ExecSQL()
{
    // A write runs inside the caller's scope, or in one of its own that
    // commits it: never in the driver's autocommit.
    TVtTransaction tr(Conn());
    tr.StartTransaction();
    Conn()->CheckWritable();
    Prepare();
    const int n = m_query->numRowsAffected();
    m_query.reset();
    tr.Commit();
    return n;
}

#include "VtTransaction.h"
#include "VtException.h"
#include "VtSQLConnection.h"

TVtTransaction::TVtTransaction(TVtSQLConnection *connection)
    : m_conn(connection ? connection : qqoVtGlobConn)
{
}

TVtTransaction::~TVtTransaction()
{
    if (m_active)
        Rollback();
}

void TVtTransaction::StartTransaction()
{
    if (m_active)
        return;
    if (!m_conn || !m_conn->Connected())
        throw EVtException(QStringLiteral("Connessione al database non attiva."));
    m_conn->StartTransaction();
    m_active = true;
}

void TVtTransaction::Commit()
{
    if (!m_active)
        throw EVtException(QStringLiteral("Nessuna transazione attiva da confermare."));
    m_active = false;
    m_conn->Commit();
}

void TVtTransaction::Rollback()
{
    if (!m_active)
        return;
    m_active = false;
    m_conn->Rollback();
}

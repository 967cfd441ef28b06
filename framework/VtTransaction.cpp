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
    m_conn->StartTransaction();
    m_generation = m_conn->TransactionGeneration();
    m_active = true;
}

void TVtTransaction::Commit()
{
    if (!m_active)
        throw EVtException(QStringLiteral("Nessuna transazione attiva da confermare."));
    m_active = false;
    if (m_conn->TransactionGeneration() != m_generation)
        throw EVtException(QStringLiteral("La transazione è stata annullata e non può essere confermata."));
    m_conn->Commit();
}

void TVtTransaction::Rollback()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_conn->TransactionGeneration() == m_generation)
        m_conn->Rollback();
}

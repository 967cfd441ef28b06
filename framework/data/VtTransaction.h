#pragma once

class TVtSQLConnection;

// A transaction scope: committed on request, rolled back when it ends
// without a commit. Scopes nest: an inner scope that ends without its commit
// dooms the outermost one, whose commit then fails and rolls everything back.
class TVtTransaction
{
public:
    explicit TVtTransaction(TVtSQLConnection *connection = nullptr);
    ~TVtTransaction();
    TVtTransaction(const TVtTransaction &) = delete;
    TVtTransaction &operator=(const TVtTransaction &) = delete;

    void StartTransaction();
    void Commit();
    void Rollback();
    bool Active() const { return m_active; }

private:
    TVtSQLConnection *m_conn;
    bool m_active = false;
};

#include "TestBillingModule.h"
#include "EbdMConn.h"
#include "TestDatabase.h"
#include "TestInput.h"

bool OpenBillingModule(TTestDatabase &db)
{
    dmEbdConn = new TdmEbdConn;
    dmEbdConn->Settings = db.Fresh();
    if (!dmEbdConn->OpenConnection())
        return false;
    SetWorkingContext(1, 2024, 2025, 2, 2024);
    return true;
}

void CloseBillingModule()
{
    delete dmEbdConn;
    dmEbdConn = nullptr;
}

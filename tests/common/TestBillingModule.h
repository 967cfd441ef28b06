#pragma once

class TTestDatabase;

// The connection module of the billing windows on a fresh copy of the test's
// database, in the working context of 2024/2025 (data owner 1, financial
// year 2025, account 2, reasons of 2024/2025); false when it does not open.
bool OpenBillingModule(TTestDatabase &db);
// Frees the connection module.
void CloseBillingModule();

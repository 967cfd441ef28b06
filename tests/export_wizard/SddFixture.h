#pragma once
// The bank export tests' own rows on the demo school: pupils placed in a
// class of 2024/2025, their paying parents and holder records, reasons of
// the year whose components the database bills, and the export log.
#include "VtMoney.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace sddfix {

constexpr int Rid = 1, Contanti = 3;
constexpr int Account = 2;   // the demo's working account
const QDate YearStart(2024, 9, 1), YearEnd(2025, 8, 31);

int AddPerson(const QString &surname, const QString &name);
// A pupil placed in the class for 2024/2025, with a registration code
// (none when empty).
int AddPupil(const QString &surname, const QString &name, int classId, const QString &code);
int AddHolder(int pupil, int parent, const QString &iban, int mode = Rid, const QDate &mandate = QDate());
// A dwelling of a person of a location kind (2 residence, 1 domicile).
void AddDwelling(int person, const QString &street, int kind, int number);

struct TComponent
{
    QString Desc;
    TVtMoney Amount;
    QDate Due;
};
struct TReason
{
    int Id = 0;
    QList<int> Components;
};
TReason AddReason(const QString &desc, const QList<TComponent> &components);
// Assigns the reason: the database bills each component; the assignment.
int Assign(int holder, int reason);
int InstalmentOf(int assignment, int component);
void Pay(int instalment, const QDate &date, int account = Account);

int LogExport(const QDateTime &created, const QString &msgId, bool paymentsRecorded, int account = Account);
int LogTransaction(int exportId, int number, const QString &mandate, const QString &iban, const QString &seq,
                   const QDate &collection, qint64 cents, int parent = 0);
void LinkInstalment(int transaction, int instalment, qint64 cents);

QString Mandate(const QString &code);

} // namespace sddfix

namespace sddfix {
// A class of 2024/2025 like the demo's class 24001, empty.
int AddClass();
// count pupils in the class, each with its own paying parent, holder
// record on RID and the reason assigned; their ids in order.
QList<int> AddManyPupils(int classId, int count, int reason);
// The shipped bank files, copied into the installation folder of the test.
void InstallBankFiles(const QString &home);
} // namespace sddfix

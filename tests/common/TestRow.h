#pragma once
#include "VtMoney.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// A row for a test's database, built column by column and inserted with
// bound values. The builders below give each kind of row the columns that
// the schema requires and sensible values for the rest; a test overrides
// what it is about with Set, by column name:
//
//     const int account = TTestRow::Account(branch).Set("dEnd", QDate(2024, 8, 31)).Insert();
class TTestRow
{
public:
    TTestRow(const QString &table, const QString &keyColumn);

    // Sets (or replaces) the value of a column; a null QVariant stores NULL.
    TTestRow &Set(const QString &column, const QVariant &value);
    TTestRow &Set(const QString &column, const TVtMoney &amount) { return Set(column, amount.ToVariant()); }
    QVariant Value(const QString &column) const;
    // Inserts the row on the global connection and returns its key, taken
    // from the generator when the key column was not set. Fails the test
    // (fatally) when the database refuses the row.
    int Insert() const;

    // An institute account (TSprIst) on a branch, open since 2018, of the
    // data owner group 1.
    static TTestRow Account(int branchId, const QString &number = QStringLiteral("000000123456"));
    // The cash row (TCai_CassaIst) of an account for a financial year.
    static TTestRow CashRow(int accountId, int financialYear);
    // An incoming movement (TMvm_MovimentiCcp) of an account.
    static TTestRow Movement(int accountId, const QDate &date, const TVtMoney &amount);
    // The paying parent of a pupil (TAcb_AluCoordBan).
    static TTestRow Holder(int pupilId, const QString &name, const QString &iban = QString());
    // A fee reason (TCau_Causali) of a school year.
    static TTestRow Reason(const QString &shortDesc, const QDate &start, const QDate &end);
    // A component (TCca_CompCausali) of a school year, with its amount.
    static TTestRow Component(const QString &shortDesc, const TVtMoney &amount, const QDate &start, const QDate &end);
    // The link between a reason and one of its components (TCauCca).
    static TTestRow ReasonComponent(int reasonId, int componentId);
    // A reason assigned to a paying parent (TAcbCau).
    static TTestRow HolderReason(int holderId, int reasonId);
    // An instalment (TCac_CcaAcbCau): a component of an assigned reason.
    static TTestRow Instalment(int holderReasonId, int componentId, const TVtMoney &amount, const QDate &due);

private:
    int Column(const QString &column) const;
    QString m_table;
    QString m_key;
    QList<QPair<QString, QVariant>> m_values;
};

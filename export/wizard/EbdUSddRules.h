#pragma once
// The rules of the bank export that need neither widgets nor the database:
// the instalment rows of a selection, their merging into one direct debit
// per paying parent and account, the payment groups of the file, the
// remittance text of merged siblings, the collection calendar, the creditor
// identifier and the name of the file.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <optional>

// Whole cents of an instalment's amount as the database stores it: taken
// to four decimals, then rounded half away from zero (4.35 gives 435,
// 12.34449 gives 1234, 0.005 gives 1). Null, zero, negative amounts and
// amounts that round to no cent give nothing: they are not collected.
std::optional<qint64> SddCents(const QVariant &amount);

// An IBAN as the file carries it: without blanks, in upper case.
QString CompactIban(const QString &iban);

// One selected instalment: a row of the selection, in its order.
struct TSddRata
{
    int IdCac = 0;
    int IdAcb = 0;
    int IdAna = 0;       // the pupil
    int IdAnaGen = 0;    // the paying parent
    int IdCca = 0;
    int IdCau = 0;
    int IdSit = 0;
    int IdCls = 0;
    QString Debitore;    // the account holder
    qint64 Importo = 0;  // cents
    QString Iban;        // compact
    QString Matricola;   // the pupil's code
    QString Causale;     // the component's long description
    QDate Scadenza;
    QString Cognome, Nome, Classe;
    QDate Nascita;
    QDate DataMandato;
    QString TipoSequenza;
    QString Indirizzo, Cap, Comune;

    // The mandate: the pupil's code padded with zeros to 16 characters;
    // empty without a code.
    QString CodDebitore() const;
};

// The values of the file header the wizard copies into every disposition.
struct TSddIntestazione
{
    QString Mittente;       // "Codice CUC"
    QString NomeSupporto;   // "Nome supporto" + the date
    QDate DataCreazione;
    QString CreditorIdent;
};

// One direct debit: the instalments of one paying parent from one account.
struct TSddDisposizione
{
    TSddRata Ultima;        // the parent's last instalment in the selection order
    qint64 Importo = 0;     // cents, the sum of the instalments
    int Cnt = 0;            // how many instalments
    QVector<int> Rate;      // their positions in the selection, in its order
    QString Remittance;     // RmtInf/Ustrd
    TSddIntestazione Intestazione;
    bool Esclusa = false;   // left out on the checklist

    // The merge key: the paying parent and the compact IBAN.
    QString Chiave() const;
};

// The direct debits of a selection: one per paying parent and IBAN, ordered
// by the position of each one's last instalment; each carries the sum and
// the count of its instalments and every other value of the last one. The
// exclusions of an earlier build survive, by merge key.
QVector<TSddDisposizione> BuildDispositions(const QVector<TSddRata> &rate, const TSddIntestazione &intestazione,
                                            const QStringList &escluse = {});

// A pupil's part of a merged debit.
struct TSddQuota
{
    QString Cognome, Nome;
    qint64 Cents = 0;
};
// The remittance text: the reason alone for one pupil; for several,
// "<reason> - <surname> <name> <amount>, ..." within 140 characters of the
// SEPA set (without the reason when too long, then with first names only,
// then cut).
QString SiblingsRemittance(const QString &causale, const QList<TSddQuota> &quote);

// A payment block of the file: a collection date and a sequence type.
struct TSddGruppo
{
    QDate Incasso;
    QString TipoSequenza;
    bool operator==(const TSddGruppo &o) const { return Incasso == o.Incasso && TipoSequenza == o.TipoSequenza; }
};
// The blocks of the dispositions written (not excluded): by collection
// date, FRST before RCUR.
QVector<TSddGruppo> PaymentGroups(const QVector<TSddDisposizione> &disposizioni);

// Easter Sunday of a year (Gregorian computus).
QDate EasterSunday(int year);
// True on the days the TARGET2 system is closed: Saturdays, Sundays,
// 1 January, Good Friday, Easter Monday, 1 May, 25 and 26 December.
bool IsTarget2Closed(const QDate &date);

// A SEPA creditor identifier of Italy ("IT", two check digits, a business
// code of three characters, the national identifier), blanks and lower
// case allowed: the check digits are verified (ISO 7064, mod 97).
bool CheckCreditorIdentifier(const QString &text);
QString CompactCreditorIdentifier(const QString &text);

// "Nome supporto" without the characters a file name cannot hold
// (/ \ : * ? " < > |).
QString CleanSupportName(const QString &name);

#pragma once
// What the bank export reads: the instalments to collect (one row each),
// the pupils that have some, the creditor account and the school's seat.
#include "EbdUSddRules.h"

#include <QDate>
#include <QList>
#include <QString>

class TVtSQLConnection;

// The choices of the first two pages.
struct TSddFiltro
{
    QDate Dal, Al;              // the due-date range, unless components are ticked
    int IdMpg = 0;              // payment mode
    QList<int> Componenti;      // ticked components: the range is ignored
    QList<int> Classi;          // ticked classes
    QList<int> Alunni;          // picked pupils; empty: every pupil of the classes
    int IdAns = 0;              // school year (VTUP_AnsId)
    int IdSprIst = 0;           // the working account (EBDP_SprIstId)
    int IdDwg = 0;              // data owner (VTUP_DwgId)
};

// The working account's stored parts.
struct TSddCreditore
{
    QString Stato, Ckd, Cin, Abi, Cab, Cc;
    // Country, check digits, CIN, ABI, CAB and the number padded to 12.
    QString Iban() const;
};

// The data owner's main seat.
struct TSddSede
{
    bool Trovata = false;
    QString Nome, Indirizzo, Cap, Comune, CodiceFiscale;
    // Name, street, " - ", postcode and town, as the prints show it.
    QString Testo() const;
};

// A condition "column IN (...)" for any number of ids: lists of at most
// 1,000 joined by OR; "column IN (NULL)" (nothing) for none.
QString SddIdCondition(const QString &column, const QList<int> &ids);

// The pupils of the ticked classes that have an instalment to collect:
// iAnaId, sAnaNome, sAnaCognome, sClsDesc; parameters iAnsId, iMpgId and,
// without components, DataScadenzaDal and DataScadenzaAl. Ordered by class,
// surname and name, or by surname, name and class.
enum class TSddPupilOrder { ByClass, ByName };
QString SddPupilsSql(const TSddFiltro &filtro, TSddPupilOrder order = TSddPupilOrder::ByClass);

// The instalments to collect, in the order of the file: by account holder,
// pupil (surname, name), due date, instalment. Each carries its paying parent's first
// dwelling and the sequence type of its holder record.
QVector<TSddRata> ReadSddSelection(const TSddFiltro &filtro, TVtSQLConnection *conn = nullptr);

TSddCreditore ReadSddCreditore(int idSprIst, TVtSQLConnection *conn = nullptr);
TSddSede ReadSddSede(int idDwg, TVtSQLConnection *conn = nullptr);

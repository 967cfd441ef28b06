#pragma once
// The SDD file of a set of debits: the CBI request message filled from the
// debits not excluded, their payment blocks, the school's seat and the
// working account, every text within the SEPA set and its length.
#include "EbdUSddRules.h"
#include "EbdUSddSelezione.h"
#include "ebdUXmlSDD.h"

#include <QDateTime>

#include <memory>

struct TSddTestata
{
    QDateTime Creazione;      // CreDtTm; MsgId is "SDD" + its time stamp
    QString Cuc;              // "Codice CUC"
    QString CreditorIdent;    // "Creditor Identifier"
};

// A debit as written: its position among the debits, its number
// (EndToEndId) and its block.
struct TSddScritta
{
    int Disposizione = 0;
    int Numero = 0;
    TSddGruppo Gruppo;
};

struct TSddMessaggio
{
    std::unique_ptr<TXMLCBISDDReqLogMsg000100> Xml;
    QVector<TSddScritta> Scritte;
    qint64 TotaleCent = 0;
    QString MsgId;
};

QString SddMsgId(const QDateTime &creazione);
// The mandate's signature date written when the holder record has none.
QDate DefaultMandateDate();

// The message; Scritte is empty (and nothing should be written) when every
// debit is excluded.
TSddMessaggio BuildSddMessage(const QVector<TSddDisposizione> &disposizioni, const TSddSede &sede,
                              const TSddCreditore &creditore, const TSddTestata &testata);

#pragma once
// The checks made before an SDD file is written: errors (the file, or the
// debit, cannot be written as it is) and warnings (the bank may refuse or
// move the debit).
#include "EbdUSddRules.h"
#include "EbdUSddSelezione.h"

#include <QDate>
#include <QHash>

struct TSddControllo
{
    int Disposizione = -1;   // -1: the file's header
    QStringList Problemi;    // "Errore: ..." / "Avviso: ..."
    bool Errore = false;
};

struct TSddContesto
{
    QString Cuc;
    QString CreditorIdent;
    TSddCreditore Creditore;
    TSddSede Sede;
    QDate Oggi;
    int GiorniPreavviso = 14;
    // The latest earlier FRST presentation from the account, by mandate and
    // IBAN ("mandate|iban").
    QHash<QString, QDate> FrstPresentati;
};

// The rows with a problem, and the excluded debits: those of the file's
// header first, then the debits', in their order.
QVector<TSddControllo> SddChecks(const QVector<TSddDisposizione> &disposizioni, const TSddContesto &contesto);
// True when the file can be written: no header error, no error on a debit
// that is not excluded, at least one debit to write.
bool SddCanExport(const QVector<TSddDisposizione> &disposizioni, const QVector<TSddControllo> &controlli);

// The earlier FRST presentations of the log from an account.
QHash<QString, QDate> ReadFrstPresentations(int idSprIst);

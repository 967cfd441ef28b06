#pragma once
// Writing an SDD file and logging it, all or nothing: the message is built,
// validated and saved beside the chosen file; the log rows and, when asked,
// the payments go in one transaction, and the file takes the chosen name
// only as that transaction commits. Whatever fails, the chosen file stays as
// it was and nothing is recorded.
#include "EbdUSddWriter.h"

struct TSddRichiesta
{
    QVector<TSddRata> Rate;
    QVector<TSddDisposizione> Disposizioni;
    TSddSede Sede;
    TSddCreditore Creditore;
    TSddTestata Testata;
    QString FileName;
    bool RegistraPagamenti = false;
    int AnfValore = 0;
    int IdSprIst = 0;
    int IdDwg = 0;
};

struct TSddEsito
{
    bool Scritto = false;
    int IdEsd = 0;
    int NumTx = 0;
    int Registrate = 0;
    QString MsgId;
};

// The bank's schema when the installation has it
// (etc/Ebd/exp_banche/CBISDDReqLogMsg.00.01.00.xsd); empty: the model's.
QString SddSchemaFile();

// Runs the export, asking and telling through the message service: the
// refusal to replace the file of an export whose payments are recorded, the
// question before replacing a file, and every error.
TSddEsito RunSddExport(TSddRichiesta richiesta);

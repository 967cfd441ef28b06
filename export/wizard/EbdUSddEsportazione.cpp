#include "EbdUSddEsportazione.h"

#include "VtBatchInsert.h"
#include "VtDatabaseError.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtPreparedStatement.h"
#include "VtSQLConnection.h"
#include "VtSQLQuery.h"
#include "VtTransaction.h"
#include "ebdUSddText.h"
#include "ebdUSddValidate.h"
#include "EbdUTracciatiBanche.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

const QString ErrorHead = u"Errore in esportazione XML: \r\n"_s;
const QString NotValid = u"Il file generato non è conforme allo schema:\r\n"_s;
const QString Replace = u"Il file esiste già. Sostituirlo ?"_s;
const QString Recorded = u"Il file %1 contiene un'esportazione i cui pagamenti sono già registrati: scegliere un altro nome."_s;

bool Exists(const QString &sql, const QVariantMap &values)
{
    TSQLQuery q;
    q.SQL = sql;
    for (auto it = values.begin(); it != values.end(); ++it)
        q.Params().CreateParam(QMetaType::Type(it.value().typeId()), it.key())->SetValue(it.value());
    q.Open();
    const bool found = !q.Eof();
    q.Close();
    return found;
}

bool HoldsRecordedExport(const QString &file)
{
    return Exists(u"SELECT FIRST 1 1 FROM TEsd_EsportazSdd Esd WHERE Esd.sEsdFile = :sFile AND Esd.lEsdPagamenti = 1"
                  " AND EXISTS (SELECT 1 FROM TEtx_TransazSdd Etx WHERE Etx.iEsdId = Esd.iEsdId AND Etx.dEtxStorno IS NULL)"_s,
                  {{u"sFile"_s, file}});
}

// One second later while an export of the log has the same MsgId.
QDateTime UniqueCreation(QDateTime at)
{
    while (Exists(u"SELECT 1 FROM TEsd_EsportazSdd WHERE sEsdMsgId = :sMsgId"_s, {{u"sMsgId"_s, SddMsgId(at)}}))
        at = at.addSecs(1);
    return at;
}

QString TemporaryName(const QString &file)
{
    const QFileInfo info(file);
    return info.absoluteDir().filePath(u"."_s + info.fileName() + u"."_s
                                       + QUuid::createUuid().toString(QUuid::Id128).left(12) + u".tmp"_s);
}

void WriteLog(const TSddRichiesta &r, const TSddMessaggio &m, TSddEsito &esito)
{
    TVtSQLConnection *conn = qqoVtGlobConn;
    esito.IdEsd = conn->NextId();
    TVtPreparedStatement(u"INSERT INTO TEsd_EsportazSdd (iEsdId, iSprIstId, iDwgId, dEsdCreazione, sEsdMsgId, sEsdFile, "
                         "sEsdCreditorId, iEsdNumTx, iEsdTotCent, lEsdPagamenti) VALUES (:iEsdId, :iSprIstId, :iDwgId, "
                         ":dEsdCreazione, :sEsdMsgId, :sEsdFile, :sEsdCreditorId, :iEsdNumTx, :iEsdTotCent, 0)"_s)
        .Exec({{u"iEsdId"_s, esito.IdEsd},
               {u"iSprIstId"_s, r.IdSprIst},
               {u"iDwgId"_s, r.IdDwg},
               {u"dEsdCreazione"_s, r.Testata.Creazione},
               {u"sEsdMsgId"_s, m.MsgId},
               {u"sEsdFile"_s, r.FileName},
               {u"sEsdCreditorId"_s, CompactCreditorIdentifier(r.Testata.CreditorIdent).left(35)},
               {u"iEsdNumTx"_s, int(m.Scritte.size())},
               {u"iEsdTotCent"_s, m.TotaleCent}});
    // The keys of the debits in one call to the generator.
    TSQLQuery ids;
    ids.SQL = u"SELECT GEN_ID(GEN_VTID, %1) FROM RDB$DATABASE"_s.arg(m.Scritte.size());
    ids.Open();
    const int first = ids.Fields(0).toInt() - int(m.Scritte.size()) + 1;
    ids.Close();
    TVtBatchInsert tx(u"TEtx_TransazSdd"_s, {{u"iEtxId"_s, u"INTEGER"_s}, {u"iEsdId"_s, u"INTEGER"_s},
                                             {u"iEtxNum"_s, u"INTEGER"_s}, {u"iAnaId_Gen"_s, u"INTEGER"_s},
                                             {u"sEtxDebitore"_s, u"VARCHAR(70)"_s}, {u"sEtxIban"_s, u"VARCHAR(34)"_s},
                                             {u"sEtxMndtId"_s, u"VARCHAR(35)"_s}, {u"sEtxSeqTp"_s, u"VARCHAR(4)"_s},
                                             {u"dEtxIncasso"_s, u"DATE"_s}, {u"iEtxCent"_s, u"BIGINT"_s}});
    TVtBatchInsert link(u"TEtxCac"_s, {{u"iEtxId"_s, u"INTEGER"_s}, {u"iCacId"_s, u"INTEGER"_s},
                                       {u"iEtxCacCent"_s, u"BIGINT"_s}});
    for (int i = 0; i < m.Scritte.size(); ++i) {
        const TSddScritta &s = m.Scritte[i];
        const TSddDisposizione &d = r.Disposizioni[s.Disposizione];
        const int etx = first + i;
        tx.Add({etx, esito.IdEsd, s.Numero, d.Ultima.IdAnaGen, SepaText(d.Ultima.Debitore, 70), d.Ultima.Iban,
                d.Ultima.CodDebitore(), s.Gruppo.TipoSequenza, s.Gruppo.Incasso, d.Importo});
    }
    tx.Flush();
    // The instalments once their debits are there.
    for (int i = 0; i < m.Scritte.size(); ++i)
        for (int p : r.Disposizioni[m.Scritte[i].Disposizione].Rate)
            link.Add({first + i, r.Rate[p].IdCac, r.Rate[p].Importo});
    link.Flush();
    esito.NumTx = int(m.Scritte.size());
}

int RecordPayments(int idEsd, int anfValore)
{
    TVtPreparedStatement record(u"EXECUTE PROCEDURE PEbd_SddRegistra(:iEsdId, :iAnfValore)"_s);
    record.Exec({{u"iEsdId"_s, idEsd}, {u"iAnfValore"_s, anfValore}});
    return record.Query().next() ? record.Query().value(0).toInt() : 0;
}

void Tell(const QString &text)
{
    VtMessageDlg(ErrorHead + text, mtError, mbOK);
}

} // namespace

QString SddSchemaFile()
{
    const QString bank = QDir(ExportBancheDir()).filePath(u"CBISDDReqLogMsg.00.01.00.xsd"_s);
    return QFileInfo::exists(bank) ? bank : QString();
}

TSddEsito RunSddExport(TSddRichiesta r)
{
    TSddEsito esito;
    r.FileName = QFileInfo(QDir::fromNativeSeparators(r.FileName)).absoluteFilePath();
    if (HoldsRecordedExport(r.FileName)) {
        VtMessageDlg(Recorded.arg(QDir::toNativeSeparators(r.FileName)), mtWarning, mbOK);
        return esito;
    }
    if (QFileInfo::exists(r.FileName) && VtMessageDlg(Replace, mtWarning, mbYes | mbNo) != mrYes)
        return esito;
    r.Testata.Creazione = UniqueCreation(r.Testata.Creazione);
    const TSddMessaggio m = BuildSddMessage(r.Disposizioni, r.Sede, r.Creditore, r.Testata);
    if (m.Scritte.isEmpty())
        return esito;
    // Saved and checked beside the chosen file, under a name of its own.
    const QString temporary = TemporaryName(r.FileName);
    QString error;
    if (!SaveCBISDDReqLogMsg(*m.Xml, temporary, &error)) {
        QFile::remove(temporary);
        Tell(error);
        return esito;
    }
    const QStringList invalid = ValidateCBISDDReqLogMsgFile(temporary, SddSchemaFile(), 5);
    if (!invalid.isEmpty()) {
        QFile::remove(temporary);
        Tell(NotValid + invalid.join(u"\r\n"_s));
        return esito;
    }
    const QString previous = r.FileName + u".prec"_s;
    bool moved = false, kept = false;
    try {
        TVtTransaction transaction;
        transaction.StartTransaction();
        WriteLog(r, m, esito);
        if (r.RegistraPagamenti)
            esito.Registrate = RecordPayments(esito.IdEsd, r.AnfValore);
        if (QFileInfo::exists(r.FileName)) {
            QFile::remove(previous);
            if (!QFile::rename(r.FileName, previous))
                throw EVtException(u"Impossibile sostituire il file %1."_s.arg(QDir::toNativeSeparators(r.FileName)));
            kept = true;
        }
        if (!QFile::rename(temporary, r.FileName))
            throw EVtException(u"Impossibile scrivere il file %1."_s.arg(QDir::toNativeSeparators(r.FileName)));
        moved = true;
        transaction.Commit();
    } catch (const EVtException &e) {
        if (moved)
            QFile::remove(r.FileName);
        if (kept)
            QFile::rename(previous, r.FileName);
        QFile::remove(temporary);
        esito = {};
        Tell(e.Message());
        return esito;
    }
    if (kept)
        QFile::remove(previous);
    esito.Scritto = true;
    esito.MsgId = m.MsgId;
    return esito;
}

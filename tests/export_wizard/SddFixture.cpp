#include "SddFixture.h"

#include "TestDatabase.h"
#include "TestRow.h"

using namespace Qt::StringLiterals;

namespace sddfix {

int AddPerson(const QString &surname, const QString &name)
{
    return TTestRow(u"TAna_Anagrafiche"_s, u"iAnaId"_s).Set(u"sAnaCognome"_s, surname).Set(u"sAnaNome"_s, name).Insert();
}

int AddPupil(const QString &surname, const QString &name, int classId, const QString &code)
{
    const int pupil = AddPerson(surname, name);
    if (!code.isNull())
        TTestRow(u"TAnaCag"_s, u"iAnaCagId"_s).Set(u"iAnaId"_s, pupil).Set(u"iCagId"_s, 1).Set(u"sAnaCagCode"_s, code).Insert();
    const int place = TTestRow(u"TClsPst"_s, u"iClsPstId"_s).Set(u"iClsId"_s, classId).Set(u"iClsPstNum"_s, 99).Insert();
    TTestRow(u"TSit_Situazioni"_s, u"iSitId"_s)
        .Set(u"iAnaId"_s, pupil)
        .Set(u"iClsPstId"_s, place)
        .Set(u"dStart"_s, YearStart)
        .Set(u"dEnd"_s, YearEnd)
        .Insert();
    return pupil;
}

int AddHolder(int pupil, int parent, const QString &iban, int mode, const QDate &mandate)
{
    const QString name = TTestDatabase::Scalar(u"SELECT UPPER(sAnaCognome || ' ' || sAnaNome) FROM TAna_Anagrafiche "
                                               "WHERE iAnaId = ?"_s, {parent}).toString();
    return TTestRow::Holder(pupil, name, iban)
        .Set(u"iAnaId_Gen"_s, parent)
        .Set(u"iMpgId"_s, mode)
        .Set(u"dAcbDataMandato"_s, mandate.isValid() ? QVariant(mandate) : QVariant())
        .Insert();
}

void AddDwelling(int person, const QString &street, int kind, int number)
{
    const int home = TTestRow(u"TAbt_Abitaz"_s, u"iAbtId"_s).Set(u"sAbtIndirizzo"_s, street).Set(u"iComCapId"_s, 1).Insert();
    const int link = TTestRow(u"TAnaAbt"_s, u"iAnaAbtId"_s)
                         .Set(u"iAnaId"_s, person)
                         .Set(u"iAbtId"_s, home)
                         .Set(u"iAnaAbtNum"_s, number)
                         .Insert();
    TTestRow(u"TAbtLoc"_s, u"iAbtLocId"_s).Set(u"iAnaAbtId"_s, link).Set(u"iLocId"_s, kind).Insert();
}

TReason AddReason(const QString &desc, const QList<TComponent> &components)
{
    TReason r;
    r.Id = TTestRow::Reason(desc, YearStart, YearEnd).Insert();
    for (const TComponent &c : components) {
        const int cca = TTestRow::Component(c.Desc.left(20), c.Amount, YearStart, YearEnd)
                            .Set(u"sCcaLDesc"_s, c.Desc)
                            .Set(u"dCcaDataScadenza"_s, c.Due)
                            .Insert();
        TTestRow::ReasonComponent(r.Id, cca).Insert();
        r.Components << cca;
    }
    return r;
}

int Assign(int holder, int reason)
{
    return TTestRow::HolderReason(holder, reason).Insert();
}

int InstalmentOf(int assignment, int component)
{
    return TTestDatabase::Scalar(u"SELECT iCacId FROM TCac_CcaAcbCau WHERE iAcbCauId = ? AND iCcaId = ?"_s,
                                 {assignment, component}).toInt();
}

void Pay(int instalment, const QDate &date, int account)
{
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '%1', iSprIstId = %2 WHERE iCacId = %3"_s
                            .arg(date.toString(Qt::ISODate)).arg(account).arg(instalment));
}

int LogExport(const QDateTime &created, const QString &msgId, bool paymentsRecorded, int account)
{
    return TTestRow(u"TEsd_EsportazSdd"_s, u"iEsdId"_s)
        .Set(u"iSprIstId"_s, account)
        .Set(u"iDwgId"_s, 1)
        .Set(u"dEsdCreazione"_s, created)
        .Set(u"sEsdMsgId"_s, msgId)
        .Set(u"sEsdFile"_s, u"/tmp/"_s + msgId + u".xml"_s)
        .Set(u"iEsdNumTx"_s, 0)
        .Set(u"iEsdTotCent"_s, 0)
        .Set(u"lEsdPagamenti"_s, paymentsRecorded ? 1 : 0)
        .Insert();
}

int LogTransaction(int exportId, int number, const QString &mandate, const QString &iban, const QString &seq,
                   const QDate &collection, qint64 cents, int parent)
{
    return TTestRow(u"TEtx_TransazSdd"_s, u"iEtxId"_s)
        .Set(u"iEsdId"_s, exportId)
        .Set(u"iEtxNum"_s, number)
        .Set(u"iAnaId_Gen"_s, parent ? QVariant(parent) : QVariant())
        .Set(u"sEtxIban"_s, iban)
        .Set(u"sEtxMndtId"_s, mandate)
        .Set(u"sEtxSeqTp"_s, seq)
        .Set(u"dEtxIncasso"_s, collection)
        .Set(u"iEtxCent"_s, cents)
        .Insert();
}

void LinkInstalment(int transaction, int instalment, qint64 cents)
{
    TTestDatabase::Exec(u"INSERT INTO TEtxCac (iEtxId, iCacId, iEtxCacCent) VALUES (%1, %2, %3)"_s
                            .arg(transaction).arg(instalment).arg(cents));
}

QString Mandate(const QString &code)
{
    return code.rightJustified(16, u'0');
}

} // namespace sddfix

#include <QDir>
#include <QFile>

namespace sddfix {

int AddClass()
{
    const int id = TTestDatabase::Scalar(u"SELECT NEXT VALUE FOR GEN_VTID FROM RDB$DATABASE"_s).toInt();
    TTestDatabase::Exec(u"INSERT INTO TCls_Classi (iClsId, iAcsId, iSezId, iIndId, iDwgSedId, dStart, dEnd) "
                        "SELECT %1, iAcsId, iSezId, iIndId, iDwgSedId, dStart, dEnd FROM TCls_Classi WHERE iClsId = 24001"_s
                            .arg(id));
    return id;
}

QList<int> AddManyPupils(int classId, int count, int reason)
{
    const int first = TTestDatabase::Scalar(u"SELECT GEN_ID(GEN_VTID, %1) FROM RDB$DATABASE"_s.arg(count * 2)).toInt()
        - count * 2 + 1;
    TTestDatabase::Exec(
        u"EXECUTE BLOCK AS DECLARE i INTEGER = 0; DECLARE a INTEGER; DECLARE g INTEGER; BEGIN "
        "WHILE (i < %2) DO BEGIN a = %1 + 2 * i; g = a + 1; "
        "INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome) VALUES (:a, 'Massa', 'Alunno ' || :i); "
        "INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome) VALUES (:g, 'Massa', 'Genitore ' || :i); "
        "INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (:a, :a, 1, 'M' || :i); "
        "INSERT INTO TClsPst (iClsPstId, iClsId, iClsPstNum) VALUES (:a, %3, :i); "
        "INSERT INTO TSit_Situazioni (iSitId, iAnaId, iClsPstId, dStart, dEnd) VALUES (:a, :a, :a, '2024-09-01', '2025-08-31'); "
        "INSERT INTO TAcb_AluCoordBan (iAcbId, iAnaId, iAnaId_Gen, sAcbIBan, sAcbIntestatario, iMpgId) "
        "VALUES (:a, :a, :g, 'IT60X0542811101000000123456', 'MASSA GENITORE ' || :i, 1); "
        "INSERT INTO TAcbCau (iAcbCauId, iAcbId, iCauId, fAcbCauPercSconto) VALUES (:a, :a, %4, 0); "
        "i = i + 1; END END"_s.arg(first).arg(count).arg(classId).arg(reason));
    QList<int> ids;
    for (int i = 0; i < count; ++i)
        ids << first + 2 * i;
    return ids;
}

void InstallBankFiles(const QString &home)
{
    const QDir source(QStringLiteral(VARDELLA_SOURCE_DIR "/etc/Ebd/exp_banche"));
    const QDir target(QDir(home).filePath(u"etc/Ebd/exp_banche"_s));
    QDir().mkpath(target.path());
    for (const QString &name : source.entryList(QDir::Files)) {
        QFile::remove(target.filePath(name));
        QFile::copy(source.filePath(name), target.filePath(name));
    }
}

} // namespace sddfix

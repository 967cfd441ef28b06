#include "EbdUGlobals.h"
#include "EbdUContext.h"

#include "VtAttReport.h"
#include "VtException.h"
#include "VtGlobalValuesManager.h"
#include "VtMessageDlg.h"
#include "VtMoney.h"
#include "VtParams.h"
#include "VtSQLConnection.h"
#include "fmVtMDIMain.h"
#include "frVtDB.h"

#include <QApplication>
#include <QComboBox>
#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

int gAnfValore = -1;
int gDwgId = -1;
QDate gAnfInizio;
QDate gAnfFine;
bool gUseDwgAnfDates = true;
QList<TVtEnumItem> gDwgList;
int gVisMode = 0;
QString gApplCode;
QDate gInizioUtente;
QDate gFineUtente;
int gFlsId = 0;
int gTitoId = 0;

namespace {
// A short read on the global connection: prepared, bound by name, run.
class TShortQuery
{
public:
    explicit TShortQuery(const QString &sql)
    {
        if (!qqoVtGlobConn || !qqoVtGlobConn->Connected())
            throw EVtException(QStringLiteral("Connessione al database non aperta"));
        m_query = QSqlQuery(qqoVtGlobConn->Database());
        m_query.setForwardOnly(true);
        if (!m_query.prepare(sql))
            throw EVtException(QStringLiteral("Errore nella lettura dal database:\r\n%1").arg(m_query.lastError().text()));
    }
    TShortQuery &Bind(const QString &name, const QVariant &value)
    {
        m_query.bindValue(QLatin1Char(':') + name, value);
        return *this;
    }
    // Runs the select; true when it has a first row (then current).
    bool Open()
    {
        if (!m_query.exec())
            throw EVtException(QStringLiteral("Errore nella lettura dal database:\r\n%1").arg(m_query.lastError().text()));
        return m_query.next();
    }
    bool Next() { return m_query.next(); }
    QVariant Value(int i) const { return m_query.value(i); }
    QVariant Value(const QString &name) const { return m_query.value(name); }

private:
    QSqlQuery m_query;
};

QVariant ScalarInt(const QString &sql, const QString &name, const QVariant &value)
{
    TShortQuery q(sql);
    q.Bind(name, value);
    if (!q.Open() || q.Value(0).isNull())
        return QVariant();
    return q.Value(0).toInt();
}

bool Exists(const QString &sql, const QString &name, int value)
{
    TShortQuery q(sql);
    q.Bind(name, value);
    return q.Open();
}

QDate DateOf(const QVariant &v)
{
    if (v.isNull())
        return QDate();
    return v.toDate();
}

bool SameName(const QString &a, const char *b)
{
    return a.trimmed().compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

QString ParamPhrase(const QString &name)
{
    if (SameName(name, PrmDwgId))
        return QStringLiteral(" l'istituto di lavoro");
    if (SameName(name, PrmAnfId))
        return QStringLiteral(" l'anno finanziario");
    if (SameName(name, PrmSprIstId))
        return QStringLiteral(" il conto");
    if (SameName(name, PrmCauAnsId))
        return QStringLiteral(" l'anno scolastico delle causali");
    if (SameName(name, PrmAnsId))
        return QStringLiteral(" l'anno scolastico di lavoro");
    // A name without a phrase of its own is named as it is, so that the
    // message never ends with a dangling separator.
    return QStringLiteral(" il parametro ") + name.trimmed();
}

QPointer<TVtAttReport> g_rptCommand;
}

// ---------------------------------------------------------------------------
int GetParamInt(const QString &name)
{
    if (const std::optional<TEbdCtx> part = TEbdContext::FromName(name))
        return TEbdContext::GetOr0(*part);
    if (!xgvmGlobalVar)
        return 0;
    const QVariant v = xgvmGlobalVar->GetValues(name);
    if (v.isNull())
        return 0;
    bool ok = false;
    const int i = v.toString().trimmed().toInt(&ok);
    return ok ? i : 0;
}

// ---------------------------------------------------------------------------
QString FormatAnsDesc(int iAnsId)
{
    return QStringLiteral("%1/%2").arg(iAnsId).arg(iAnsId + 1);
}

QString GetAnsAnnoDesc(int iAnsId)
{
    TShortQuery q(QStringLiteral("SELECT sAnsAnnoDesc FROM VAns_AnniScolast WHERE iAnsId = :iAnsId"));
    q.Bind(QStringLiteral("iAnsId"), iAnsId);
    return q.Open() ? q.Value(0).toString() : QString();
}

QString GetCurrentAnsDesc()
{
    const QVariant v = GetVtuParamValue(QString::fromLatin1(PrmAnsId));
    if (v.isNull())
        return QString();
    bool ok = false;
    const int id = v.toString().trimmed().toInt(&ok);
    return ok ? FormatAnsDesc(id) : QString();
}

QString GetParamAnsDesc(const QString &paramName)
{
    const QVariant v = xgvmGlobalVar ? xgvmGlobalVar->GetValues(paramName) : QVariant();
    if (v.isNull() || v.toString().trimmed().isEmpty())
        return QString();
    if (!SameName(paramName, PrmCauAnsId))
        throw EVtException(QStringLiteral("Parametro %1 non definito").arg(paramName));
    bool ok = false;
    const int id = v.toString().trimmed().toInt(&ok);
    return ok ? GetAnsAnnoDesc(id) : QString();
}

QVariant GetParamAnfValore(const QString &paramName)
{
    if (SameName(paramName, VtuPrmAnfId)) {
        const QVariant v = GetVtuParamValue(paramName);
        bool ok = false;
        const int i = v.toString().trimmed().toInt(&ok);
        return ok ? QVariant(i) : QVariant();
    }
    const QVariant v = xgvmGlobalVar ? xgvmGlobalVar->GetValues(paramName) : QVariant();
    if (v.isNull())
        return QVariant();
    bool ok = false;
    const int id = v.toString().trimmed().toInt(&ok);
    if (!ok)
        return QVariant();
    return ScalarInt(QStringLiteral("SELECT iAnfValore FROM TAnf_AnniFinanz WHERE iAnfId = :iAnfId"),
                     QStringLiteral("iAnfId"), id);
}

QVariant GetCurrentAnfValore()
{
    return GetParamAnfValore(QString::fromLatin1(PrmAnfId));
}

void GetAnfDates(int valore, int dwg, QDate &start, QDate &end)
{
    start = QDate();
    end = QDate();
    if (gUseDwgAnfDates) {
        TShortQuery q(QStringLiteral(
            "SELECT Anf.IANFID, Anf.IANFVALORE, Anf.DANFVELTOINIZIO, Anf.DANFVELTOFINE, "
            "Dwa.DDWGANFINIZIO, Dwa.DDWGANFFINE "
            "FROM TANF_ANNIFINANZ Anf "
            "INNER JOIN TDWGANF Dwa ON (Dwa.IANFID = Anf.IANFID AND Dwa.DDELETE IS NULL) "
            "WHERE Anf.IANFVALORE = :iAnfValore AND Dwa.IDWGID = :iDwgId"));
        q.Bind(QStringLiteral("iAnfValore"), valore).Bind(QStringLiteral("iDwgId"), dwg);
        if (!q.Open())
            return;
        start = DateOf(q.Value(4));
        if (!start.isValid())
            start = DateOf(q.Value(2));
        end = DateOf(q.Value(5));
        if (!end.isValid())
            end = DateOf(q.Value(3));
        return;
    }
    TShortQuery q(QStringLiteral("SELECT DANFVELTOINIZIO, DANFVELTOFINE FROM TANF_ANNIFINANZ WHERE IANFVALORE = :iAnfValore"));
    q.Bind(QStringLiteral("iAnfValore"), valore);
    if (!q.Open())
        return;
    start = DateOf(q.Value(0));
    end = DateOf(q.Value(1));
}

bool CheckAnfContext(int valore, int dwg)
{
    QDate start, end;
    GetAnfDates(valore, dwg, start, end);
    bool ok = true;
    if (valore == -1) {
        VtMessageDlg(QStringLiteral("Anno Finanziario corrente non settato"), mtError, mbOK);
        ok = false;
    }
    if (dwg == -1) {
        VtMessageDlg(QStringLiteral("Istituto corrente non settato"), mtError, mbOK);
        ok = false;
    }
    if (!start.isValid()) {
        VtMessageDlg(QStringLiteral("Data di inizio dell'anno finanziario corrente non settata"), mtError, mbOK);
        ok = false;
    }
    if (!end.isValid()) {
        VtMessageDlg(QStringLiteral("Data di fine dell'anno finanziario corrente non settata"), mtError, mbOK);
        ok = false;
    }
    return ok;
}

// ---------------------------------------------------------------------------
QString ParamsNotSetMessage(const QString &paramList)
{
    QString msg = QStringLiteral("E' necessario impostare");
    int unset = 0;
    const QStringList names = paramList.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &raw : names) {
        const QString name = raw.trimmed();
        if (name.isEmpty())
            continue;
        if (GetParamInt(name) != 0)
            continue;
        if (unset > 0)
            msg += QLatin1Char(',');
        msg += ParamPhrase(name);
        ++unset;
    }
    if (unset == 0)
        return QString();
    const int last = msg.lastIndexOf(QLatin1Char(','));
    if (last >= 0)
        msg.replace(last, 1, QStringLiteral(" e"));
    msg += QLatin1Char('.');
    return msg;
}

bool CheckParamsSet(const QString &paramList)
{
    const QString msg = ParamsNotSetMessage(paramList);
    if (msg.isEmpty())
        return true;
    VtMessageDlg(msg, mtWarning, mbOK);
    return false;
}

bool CanEditParams()
{
    TfmVtMDIMain *main = TfmVtMDIMain::Instance();
    if (main && main->MDIChildCount() > 0) {
        VtMessageDlg(QStringLiteral("Bisogna chiudere tutte le finestre attive per modificare i parametri."), mtWarning,
                     mbOK);
        return false;
    }
    return true;
}

QWidget *FindFormByCaption(const QString &caption)
{
    if (TfmVtMDIMain *main = TfmVtMDIMain::Instance()) {
        for (QWidget *w : main->ChildForms())
            if (w && w->windowTitle() == caption)
                return w;
    }
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w && w->isVisible() && w->windowTitle() == caption)
            return w;
    return nullptr;
}

// ---------------------------------------------------------------------------
QDate GetMvmDateBound(int iSprIstId, const QString &aggregate)
{
    // The aggregate goes into the statement's text: only the two known ones.
    const QString agg = aggregate.trimmed().toUpper();
    if (agg != QLatin1String("MIN") && agg != QLatin1String("MAX"))
        throw EVtException(QStringLiteral("Funzione di aggregazione %1 non ammessa").arg(aggregate));
    TShortQuery q(QStringLiteral(
                      "SELECT %1(Mvm.dMvmDataMov) FROM TMvm_MovimentiCcp Mvm "
                      "WHERE Mvm.iSprIstId = :iSprIstId AND EXISTS (SELECT 1 FROM TCai_CassaIst Cai "
                      "INNER JOIN TAnf_AnniFinanz Anf ON (Anf.iAnfValore = Cai.iCaiEsercizioFin) "
                      "WHERE Cai.iSprIstId = Mvm.iSprIstId AND Mvm.dMvmDataMov BETWEEN "
                      "COALESCE(Cai.dCaiInizioAnno, CAST(Cai.iCaiEsercizioFin || '-01-01' AS DATE)) AND "
                      "COALESCE(Cai.dCaiFineAnno, CAST(Cai.iCaiEsercizioFin || '-12-31' AS DATE)))")
                      .arg(agg));
    q.Bind(QStringLiteral("iSprIstId"), iSprIstId);
    return q.Open() ? DateOf(q.Value(0)) : QDate();
}

bool SprIstIsClosed(int iSprIstId)
{
    return Exists(QStringLiteral("SELECT 1 FROM TSprIst WHERE iSprIstId = :iSprIstId AND dEnd IS NOT NULL"),
                  QStringLiteral("iSprIstId"), iSprIstId);
}

QString GetSprIstNumCc(int iSprIstId)
{
    TShortQuery q(QStringLiteral("SELECT sSprIstNumCc FROM TSprIst WHERE iSprIstId = :iSprIstId"));
    q.Bind(QStringLiteral("iSprIstId"), iSprIstId);
    return q.Open() ? q.Value(0).toString() : QString();
}

QString GetCurrentSprIstNumCc()
{
    return GetSprIstNumCc(TEbdContext::GetOr0(TEbdCtx::SprIstId));
}

QString GetSprIstKind(int iSprIstId)
{
    TShortQuery q(QStringLiteral(
        "SELECT Ban.iCbaId, Ban.iBanId FROM TSprIst Ist "
        "INNER JOIN TSpr_SportelliCab Spr ON (Spr.iSprId = Ist.iSprId) "
        "INNER JOIN TBan_Banche Ban ON (Ban.iBanId = Spr.iBanId) "
        "WHERE Ist.iSprIstId = :iSprIstId"));
    q.Bind(QStringLiteral("iSprIstId"), iSprIstId);
    return q.Open() ? SprIstKindOf(q.Value(0), q.Value(1)) : QString();
}

QString SprIstKindOf(const QVariant &iCbaId, const QVariant &iBanId)
{
    switch (iCbaId.isNull() ? 0 : iCbaId.toInt()) {
    case 7:
        return QStringLiteral("Postale");
    case 8:
        return QStringLiteral("Cassa");
    case 0:
        return !iBanId.isNull() && iBanId.toInt() == 1 ? QStringLiteral("Bancario") : QString();
    default:
        return QStringLiteral("Bancario");
    }
}

QString GetCurrentSprIstKind()
{
    return GetSprIstKind(TEbdContext::GetOr0(TEbdCtx::SprIstId));
}

int GetSprProvId(int iSprId)
{
    return ScalarInt(QStringLiteral("SELECT Srpc.iProId FROM TSpr_SportelliCab Spr "
                                    "INNER JOIN TSrpc Srpc ON (Srpc.iSrpcId = Spr.iSrpcId) "
                                    "WHERE Spr.iSprId = :iSprId"),
                     QStringLiteral("iSprId"), iSprId)
        .toInt();
}

int GetPostSprId(int iSrpcId)
{
    // A branch in the town itself comes before the others of the province.
    TShortQuery q(QStringLiteral(
        "SELECT Spr.iSprId FROM TSpr_SportelliCab Spr "
        "INNER JOIN TSrpc Srpc ON (Srpc.iSrpcId = Spr.iSrpcId) "
        "INNER JOIN TSrpc Twn ON (Twn.iProId = Srpc.iProId) "
        "WHERE Spr.iBanId = 2 AND Twn.iSrpcId = :iSrpcId "
        "ORDER BY CASE WHEN Spr.iSrpcId = Twn.iSrpcId THEN 0 ELSE 1 END, Spr.sSprCab, Spr.iSprId"));
    q.Bind(QStringLiteral("iSrpcId"), iSrpcId);
    return q.Open() ? q.Value(0).toInt() : 0;
}

bool CauIsUsed(int iCauId)
{
    return Exists(QStringLiteral("SELECT 1 FROM RDB$DATABASE WHERE "
                                 "EXISTS (SELECT 1 FROM TMvm_MovimentiCcp WHERE iCauId = :iCauId) OR "
                                 "EXISTS (SELECT 1 FROM TVrs_VersRegTasse WHERE iCauId = :iCauId)"),
                  QStringLiteral("iCauId"), iCauId);
}

bool CcaIsUsed(int iCcaId, bool withMovements)
{
    if (!withMovements)
        return Exists(QStringLiteral("SELECT 1 FROM RDB$DATABASE WHERE "
                                     "EXISTS (SELECT 1 FROM TCauCca WHERE iCcaId = :iCcaId)"),
                      QStringLiteral("iCcaId"), iCcaId);
    return Exists(QStringLiteral("SELECT 1 FROM RDB$DATABASE WHERE EXISTS (SELECT 1 FROM TCauCca CauCca "
                                 "WHERE CauCca.iCcaId = :iCcaId AND ("
                                 "EXISTS (SELECT 1 FROM TMvm_MovimentiCcp Mvm WHERE Mvm.iCauId = CauCca.iCauId) OR "
                                 "EXISTS (SELECT 1 FROM TVrs_VersRegTasse Vrs WHERE Vrs.iCauId = CauCca.iCauId)))"),
                  QStringLiteral("iCcaId"), iCcaId);
}

void LoadCausaliList(QComboBox *combo, int iAnsId, int tipo, bool all)
{
    Q_ASSERT(combo);
    QString sql = QStringLiteral(
        "SELECT Cau.iCauId, Cau.sCauLDesc FROM TCau_Causali Cau "
        "INNER JOIN VAns_AnniScolast Ans ON (Cau.dStart = Ans.dAnsVeltoInizio AND Cau.dEnd = Ans.dAnsVeltoFine) "
        "WHERE Ans.iAnsId = :iAnsId AND Cau.lCauTipo = :lCauTipo");
    if (!all)
        sql += QStringLiteral(" AND Cau.lCauVuvez = 1");
    sql += QStringLiteral(" ORDER BY Cau.sCauLDesc");
    TVtParams params;
    params.CreateParam(QMetaType::Int, QStringLiteral("iAnsId"))->SetAsInteger(iAnsId);
    params.CreateParam(QMetaType::Int, QStringLiteral("lCauTipo"))->SetAsInteger(tipo);
    LoadEnumFromQuery(combo, sql, &params);
    combo->addItem(QString(), QVariant());
}

QString FormatAmountStr(const QString &text, bool currency)
{
    // Italian text first, "1234.56" as a fallback; anything else counts as 0.
    // The amount is rounded half away from zero to the cent.
    const TVtMoney amount = TVtMoney::Parse(text).RoundedToCents();
    if (currency) {
        const QLocale it(QLocale::Italian, QLocale::Italy);
        return it.toCurrencyString(amount.ToDouble(), it.currencySymbol(), 2);
    }
    return amount.FormatPlain();
}

// ---------------------------------------------------------------------------
void SetFramesReadOnly(QWidget *control, bool on)
{
    VtSetFramesReadOnly(control, on);
}

void ClearParam(TVtParam *param, QMetaType::Type type)
{
    Q_ASSERT(param);
    param->DataType = type;
    param->Clear();
    param->Bound = true;
}

bool DwgIsGroup(int dwg)
{
    TShortQuery q(QStringLiteral("SELECT iDowId FROM TDwg_DataOwnerGrp WHERE iDwgId = :iDwgId"));
    q.Bind(QStringLiteral("iDwgId"), dwg);
    return q.Open() && q.Value(0).isNull();
}

bool LoadDwgList(QList<TVtEnumItem> &list, int dwg)
{
    list.clear();
    const bool isGroup = DwgIsGroup(dwg);
    if (!isGroup) {
        TShortQuery q(QStringLiteral("SELECT Dow.sDowSDesc FROM TDwg_DataOwnerGrp Dwg "
                                     "INNER JOIN TDow_DataOwner Dow ON (Dow.iDowId = Dwg.iDowId) "
                                     "WHERE Dwg.iDwgId = :iDwgId"));
        q.Bind(QStringLiteral("iDwgId"), dwg);
        if (q.Open())
            list << TVtEnumItem{q.Value(0).toString(), dwg};
        return isGroup;
    }
    const QVariant ans = GetVtuParamValue(QString::fromLatin1(PrmAnsId));
    if (ans.isNull() || ans.toString().trimmed().isEmpty())
        return isGroup;
    TShortQuery q(QStringLiteral(
        "SELECT Dow.iDwgId, Dow.sDowSDesc FROM VDow_DataOwner Dow, VAns_AnniScolast Ans "
        "WHERE Ans.iAnsId = :iAnsId AND Dow.iDwgId_Grp = :iDwgId AND Dow.iDowId IS NOT NULL "
        "AND (Dow.dStart_Dwg IS NULL OR Dow.dStart_Dwg <= Ans.dAnsVeltoInizio) "
        "AND (Dow.dEnd_Dwg IS NULL OR Dow.dEnd_Dwg >= Ans.dAnsVeltoInizio) "
        "AND (Dow.dStart_OtgDwg IS NULL OR Dow.dStart_OtgDwg <= Ans.dAnsVeltoInizio) "
        "AND (Dow.dEnd_OtgDwg IS NULL OR Dow.dEnd_OtgDwg >= Ans.dAnsVeltoInizio) "
        "ORDER BY Dow.sDowSDesc, Dow.dStart_Dwg"));
    q.Bind(QStringLiteral("iAnsId"), ans.toString().trimmed().toInt()).Bind(QStringLiteral("iDwgId"), dwg);
    if (q.Open()) {
        do
            list << TVtEnumItem{q.Value(1).toString(), q.Value(0).toInt()};
        while (q.Next());
    }
    return isGroup;
}

void LoadXmlArchivio(QStringList &lines, const QString &code, const QString &listCode)
{
    const QString lst = listCode.isEmpty() ? QStringLiteral("EBC") : listCode;
    TShortQuery q(QStringLiteral("SELECT Xar.bYXarXmlFile FROM TYXar_XmlArchivio Xar "
                                 "INNER JOIN TYXls_XmlLista Xls ON (Xls.iYXlsId = Xar.iYXlsId) "
                                 "WHERE Xar.sYXarCodice = :sYXarCodice AND Xls.sYXlsCodice = :sYXlsCodice"));
    q.Bind(QStringLiteral("sYXarCodice"), code).Bind(QStringLiteral("sYXlsCodice"), lst);
    if (!q.Open())
        throw EVtException(QStringLiteral("XML codice %1 Non trovato nel DB").arg(code));
    QString text = q.Value(0).toString();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
}

void LoadEnumFromQuery(QList<TVtEnumItem> &list, const QString &select, const TVtParams *params)
{
    list.clear();
    for (const TVtEnumItem &item : ReadEnumValues(select, params))
        list << TVtEnumItem{item.Text, item.Id.isNull() ? QVariant() : QVariant(item.Id.toInt())};
}

void LoadEnumFromQuery(QComboBox *combo, const QString &select, const TVtParams *params)
{
    Q_ASSERT(combo);
    QList<TVtEnumItem> items;
    LoadEnumFromQuery(items, select, params);
    combo->clear();
    for (const TVtEnumItem &item : items)
        combo->addItem(item.Text, item.Id);
}

// ---------------------------------------------------------------------------
int MapCustomRptId(int rptId)
{
    if (rptId < 1000000)
        return rptId;
    const QVariant base = ScalarInt(QStringLiteral("SELECT iYRptId FROM TYRpc_RptCustom WHERE iYRpcId = :iYRpcId;"),
                                    QStringLiteral("iYRpcId"), rptId);
    return base.isNull() ? rptId : base.toInt();
}

int GetSelectedRptId(TVtAttReport *reportCommand)
{
    if (!reportCommand)
        return -1;
    const int id = reportCommand->GetRptId();
    return id < 0 ? id : MapCustomRptId(id);
}

void SetSelectedRptCommand(TVtAttReport *reportCommand)
{
    g_rptCommand = reportCommand;
}

int GetSelectedRptId()
{
    return GetSelectedRptId(g_rptCommand.data());
}

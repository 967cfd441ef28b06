#include "EbsMParam.h"

#include "EbdUGlobals.h"
#include "VtGlobalValuesManager.h"
#include "VtMessageDlg.h"
#include "VtMoney.h"
#include "VtParams.h"
#include "VtSQLConnection.h"
#include "VtUtils.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSqlError>
#include <QSqlQuery>

namespace {
const QString CauAnsId = QString::fromLatin1(PrmCauAnsId);
const QString CausaleInId = QStringLiteral("EBSP_CausaleInId");
const QString CausaleOutId = QStringLiteral("EBSP_CausaleOutId");
const QString ImpIstCauIn = QStringLiteral("EBSP_ImpIstCauIn");
const QString ImpEraCauIn = QStringLiteral("EBSP_ImpEraCauIn");
const QString ImpIstCauOut = QStringLiteral("EBSP_ImpIstCauOut");
const QString SprCabProvId = QStringLiteral("EBSP_SprCabProvId");
const QString SprComuneId = QStringLiteral("EBSP_SprComuneId");
const QString AppEbd = QStringLiteral("EBD");

// Selects the item whose id equals the value; keeps nothing chosen when none does.
void SelectId(QComboBox *combo, int id)
{
    const QSignalBlocker block(combo);
    SelectEnumId(combo, id == 0 ? QVariant() : QVariant(id));
}

// Amount text of the hidden edits: fixed format of the Italian locale.
QString AmountText(const TVtMoney &value)
{
    return value.FormatPlain();
}
}

TdmEbsParam::TdmEbsParam(QObject *parent)
    : TdmVtuParams(parent)
{
    SetShowAggregate(true);
    m_dlgAnsId = 0;
    m_dlgCauAnsId = 0;
    m_allCausali = true;

    TVtParamManager *pm = xpmVtuParams;
    pm->AddCategory(MovimentiCategory(), QStringLiteral("Movimenti"));
    pm->AddCategory(DefaultCategory(), QStringLiteral("Valori di default."));

    pm->AddParam(CauAnsId, MovimentiCategory(), QStringLiteral("Anno scolastico delle causali"), pkCombo,
                 QStringLiteral("0"), AppEbd);
    pm->AddParam(CausaleInId, DefaultCategory(), QStringLiteral("Causale di ingresso"), pkCombo, QStringLiteral("0"),
                 AppEbd);
    pm->AddParam(ImpIstCauIn, DefaultCategory(), QStringLiteral("Importo istituto della causale di ingresso"), pkEdit,
                 QString(), AppEbd);
    pm->AddParam(ImpEraCauIn, DefaultCategory(), QStringLiteral("Importo erario della causale di ingresso"), pkEdit,
                 QString(), AppEbd);
    pm->AddParam(CausaleOutId, DefaultCategory(), QStringLiteral("Causale di uscita"), pkCombo, QStringLiteral("0"),
                 AppEbd);
    pm->AddParam(ImpIstCauOut, DefaultCategory(), QStringLiteral("Importo istituto della causale di uscita"), pkEdit,
                 QString(), AppEbd);
    pm->AddParam(SprCabProvId, DefaultCategory(), QStringLiteral("Ufficio postale (provincia)"), pkCombo,
                 QStringLiteral("0"), AppEbd);
    pm->AddParam(SprComuneId, DefaultCategory(), QStringLiteral("Comune"), pkCombo, QStringLiteral("0"), AppEbd);
}

TdmEbsParam::~TdmEbsParam() = default;

QString TdmEbsParam::CauAnsListSQL(int iAnsId)
{
    return QStringLiteral("SELECT DISTINCT VAns.iAnsId, VAns.sAnsAnnoDesc FROM VAns_AnniScolast VAns "
                          "WHERE VAns.iAnsId = %1 OR VAns.iAnsId = %2 ORDER BY VAns.iAnsValore")
        .arg(iAnsId)
        .arg(iAnsId + 1);
}

QString TdmEbsParam::BranchListSQL()
{
    return QStringLiteral(" SELECT Spr.iSprId, Spr.sSprCab || ' - ' || Com.sComDesc sSprCabCom FROM TSpr_SportelliCab Spr "
                          "LEFT OUTER JOIN TSrpc Srpc ON (Spr.iSrpcId = Srpc.iSrpcId) "
                          "LEFT OUTER JOIN TCom_Comuni Com ON (Com.iComId = Srpc.iComId) "
                          "WHERE Spr.iBanId = 2 ORDER BY Spr.sSprCab");
}

QString TdmEbsParam::TownListSQL()
{
    return QStringLiteral(" SELECT Srpc.iSrpcId, Com.sComDesc FROM TSrpc Srpc "
                          "INNER JOIN TCom_Comuni Com ON (Com.iComId = Srpc.iComId) "
                          "WHERE Srpc.dEnd IS NULL ORDER BY Com.sComDesc");
}

int TdmEbsParam::ComboId(const QComboBox *combo)
{
    if (!combo || combo->currentIndex() < 0)
        return 0;
    const QVariant id = combo->currentData();
    return id.isNull() ? 0 : id.toInt();
}

// ---------------------------------------------------------------------------
// Dialog events
// ---------------------------------------------------------------------------
void TdmEbsParam::xpmVtuParamsAfterCreateCtrl(QWidget *ctrl, TVtXMLParam *param, bool &doDefault)
{
    TdmVtuParams::xpmVtuParamsAfterCreateCtrl(ctrl, param, doDefault);
    auto *cb = qobject_cast<QComboBox *>(ctrl);
    if (cb && param->Category.compare(MovimentiCategory(), Qt::CaseInsensitive) == 0)
        cb->setFixedWidth(200);

    // Change handlers follow the user's choice (activated), so building and
    // reading the dialog never raises them; a handler the control already
    // had stays connected and runs first.
    if (cb && param->IsNamed(QString::fromLatin1(PrmAnsId))) {
        m_dlgAnsId = 0;
        m_cbAnsId = cb;
        connect(cb, &QComboBox::activated, this, [this] { AnsIdChanged(); });
    } else if (cb && param->IsNamed(CauAnsId)) {
        m_dlgCauAnsId = 0;
        m_cbCauAnsId = cb;
        connect(cb, &QComboBox::activated, this, [this] { CauAnsIdChanged(); });
    } else if (cb && param->IsNamed(CausaleInId)) {
        m_cbCausaleIn = cb;
        connect(cb, &QComboBox::activated, this, [this, cb] { CausaleChanged(cb); });
    } else if (cb && param->IsNamed(CausaleOutId)) {
        m_cbCausaleOut = cb;
        connect(cb, &QComboBox::activated, this, [this, cb] { CausaleChanged(cb); });
    } else if (cb && param->IsNamed(SprCabProvId)) {
        m_cbBranch = cb;
        connect(cb, &QComboBox::activated, this, [this] { BranchChanged(); });
    } else if (cb && param->IsNamed(SprComuneId)) {
        m_cbTown = cb;
        connect(cb, &QComboBox::activated, this, [this] { TownChanged(); });
    } else if (param->Name.startsWith(QLatin1String("EBSP_Imp"), Qt::CaseInsensitive)) {
        if (auto *ed = qobject_cast<QLineEdit *>(ctrl)) {
            ed->hide();
            m_amountEdits.insert(param->Name.toUpper(), ed);
        }
    }
}

void TdmEbsParam::xpmVtuParamsFillListParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault)
{
    TdmVtuParams::xpmVtuParamsFillListParam(ctrl, param, doDefault);
    auto *cb = qobject_cast<QComboBox *>(ctrl);
    if (!cb)
        return;
    if (param->IsNamed(CauAnsId)) {
        doDefault = false;
        LoadEnumValues(cb, CauAnsListSQL(GetParamInt(QString::fromLatin1(PrmAnsId))));
    } else if (param->IsNamed(CausaleInId) || param->IsNamed(CausaleOutId)) {
        doDefault = false;
        FillCausali(cb, param->IsNamed(CausaleInId) ? 0 : 1);
    } else if (param->IsNamed(SprCabProvId)) {
        doDefault = false;
        LoadEnumValues(cb, BranchListSQL());
        cb->addItem(QString(), QVariant());
        cb->setCurrentIndex(-1);
    } else if (param->IsNamed(SprComuneId)) {
        doDefault = false;
        FillTowns(0);
    }
}

void TdmEbsParam::xpmVtuParamsReadParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault)
{
    TdmVtuParams::xpmVtuParamsReadParam(ctrl, param, doDefault);
    auto *cb = qobject_cast<QComboBox *>(ctrl);
    if (!cb)
        return;
    if (param->IsNamed(CauAnsId) || param->IsNamed(CausaleInId) || param->IsNamed(CausaleOutId)
        || param->IsNamed(SprCabProvId) || param->IsNamed(SprComuneId)) {
        doDefault = false;
        bool ok = false;
        const int id = param->Value.trimmed().toInt(&ok);
        SelectId(cb, ok ? id : 0);
        if (param->IsNamed(SprCabProvId))
            FillTowns(ComboId(cb));
    }
}

void TdmEbsParam::xpmVtuParamsWriteParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault)
{
    TdmVtuParams::xpmVtuParamsWriteParam(ctrl, param, doDefault);
    auto *cb = qobject_cast<QComboBox *>(ctrl);
    if (!cb)
        return;
    if (param->IsNamed(CauAnsId) || param->IsNamed(CausaleInId) || param->IsNamed(CausaleOutId)
        || param->IsNamed(SprCabProvId) || param->IsNamed(SprComuneId)) {
        doDefault = false;
        const int id = ComboId(cb);
        param->Value = id == 0 ? QStringLiteral("0") : QString::number(id);
    }
}

// ---------------------------------------------------------------------------
// Lists
// ---------------------------------------------------------------------------
int TdmEbsParam::CausaliAnsId() const
{
    if (m_dlgCauAnsId != 0 && m_dlgCauAnsId != -1)
        return m_dlgCauAnsId;
    return GetParamInt(CauAnsId);
}

void TdmEbsParam::FillCauAnsList(int iAnsId)
{
    if (!m_cbCauAnsId)
        return;
    const int chosen = ComboId(m_cbCauAnsId);
    LoadEnumValues(m_cbCauAnsId, CauAnsListSQL(iAnsId));
    SelectId(m_cbCauAnsId, chosen);
}

void TdmEbsParam::FillCausali(QComboBox *combo, int tipo)
{
    const QSignalBlocker block(combo);
    LoadCausaliList(combo, CausaliAnsId(), tipo, m_allCausali);
    combo->setCurrentIndex(-1);
}

void TdmEbsParam::FillTowns(int iSprId)
{
    if (!m_cbTown)
        return;
    const int chosen = ComboId(m_cbTown);
    if (iSprId == 0) {
        LoadEnumValues(m_cbTown, TownListSQL());
    } else {
        TVtParams params;
        params.CreateParam(QMetaType::Int, QStringLiteral("iProId"))->SetAsInteger(GetSprProvId(iSprId));
        LoadEnumValues(m_cbTown,
                       QStringLiteral(" SELECT Srpc.iSrpcId, Com.sComDesc FROM TSrpc Srpc "
                                      "INNER JOIN TCom_Comuni Com ON (Com.iComId = Srpc.iComId) "
                                      "WHERE Srpc.dEnd IS NULL AND Srpc.iProId = :iProId ORDER BY Com.sComDesc"),
                       &params);
    }
    const QSignalBlocker block(m_cbTown);
    m_cbTown->addItem(QString(), QVariant());
    SelectId(m_cbTown, chosen);
}

QLineEdit *TdmEbsParam::AmountEdit(const QString &name) const
{
    return m_amountEdits.value(name.toUpper()).data();
}

QLineEdit *TdmEbsParam::OutAmountEdit() const
{
    for (auto it = m_amountEdits.cbegin(); it != m_amountEdits.cend(); ++it)
        if (it.key() != ImpIstCauIn.toUpper() && it.key() != ImpEraCauIn.toUpper() && it.value())
            return it.value().data();
    return nullptr;
}

// ---------------------------------------------------------------------------
// Cascades
// ---------------------------------------------------------------------------
void TdmEbsParam::AnsIdChanged()
{
    if (!m_cbAnsId)
        return;
    m_dlgAnsId = m_cbAnsId->currentIndex() < 0 ? -1 : ComboId(m_cbAnsId);
    const int cauAnsBefore = CausaliAnsId();
    FillCauAnsList(m_dlgAnsId);
    if (m_cbCauAnsId) {
        const int id = ComboId(m_cbCauAnsId);
        m_dlgCauAnsId = id == 0 ? -1 : id;
        if (CausaliAnsId() != cauAnsBefore)
            CauAnsIdChanged();
    }
    if (GetParamInt(CausaleInId) != 0 || GetParamInt(CausaleOutId) != 0)
        VtMessageDlg(QStringLiteral("Impostare il parametro causale di ingresso e/o il parametro causale di uscita\r\n"
                                    "nella categoria 'Valori di default.'"),
                     mtWarning, mbOK);
}

void TdmEbsParam::CauAnsIdChanged()
{
    if (!m_cbCauAnsId)
        return;
    const int id = ComboId(m_cbCauAnsId);
    m_dlgCauAnsId = id == 0 ? -1 : id;
    // The default reasons belong to the reasons' year: list that year's.
    for (QComboBox *cb : {m_cbCausaleIn.data(), m_cbCausaleOut.data()}) {
        if (!cb)
            continue;
        const int chosen = ComboId(cb);
        FillCausali(cb, cb == m_cbCausaleIn ? 0 : 1);
        SelectId(cb, chosen);
        if (ComboId(cb) != chosen)
            CausaleChanged(cb);
    }
}

void TdmEbsParam::CausaleChanged(QComboBox *combo)
{
    if (!combo)
        return;
    // The amounts shown are the reason's; when they cannot be read the
    // fields stay empty and the office is told, never a made-up zero.
    QString ist, era;
    const int iCauId = ComboId(combo);
    if (iCauId == 0) {
        ist = era = AmountText(TVtMoney());
    } else {
        QSqlQuery q(qqoVtGlobConn->Database());
        q.prepare(QStringLiteral("SELECT SUM(Cca.fCcaImportoIst) fCauImportoIst, SUM(Cca.fCcaImportoEra) fCauImportoEra "
                                 "FROM TCca_CompCausali Cca INNER JOIN TCauCca CauCca ON (CauCca.iCcaId = Cca.iCcaId) "
                                 "WHERE CauCca.iCauId = :iCauId"));
        q.bindValue(QStringLiteral(":iCauId"), iCauId);
        if (q.exec() && q.next()) {
            // A reason without components sums to null: no amount.
            ist = AmountText(TVtMoney::FromVariant(q.value(0)));
            era = AmountText(TVtMoney::FromVariant(q.value(1)));
        } else {
            VtMessageDlg(QStringLiteral("Impossibile leggere gli importi della causale:\r\n%1").arg(q.lastError().text()),
                         mtError, mbOK);
        }
    }
    if (combo == m_cbCausaleIn) {
        if (QLineEdit *ed = AmountEdit(ImpIstCauIn))
            ed->setText(ist);
        if (QLineEdit *ed = AmountEdit(ImpEraCauIn))
            ed->setText(era);
    } else if (combo == m_cbCausaleOut) {
        if (QLineEdit *ed = OutAmountEdit())
            ed->setText(ist);
    }
}

void TdmEbsParam::BranchChanged()
{
    FillTowns(ComboId(m_cbBranch));
}

void TdmEbsParam::TownChanged()
{
    if (!m_cbBranch)
        return;
    const int town = ComboId(m_cbTown);
    if (town == 0)
        return;
    SelectId(m_cbBranch, GetPostSprId(town));
}

#include "EbdMParam.h"

#include "EbdUGlobals.h"
#include "VtParams.h"
#include "VtUtils.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QSignalBlocker>

TdmEbdParam *dmEbdParam = nullptr;

namespace {
const QString PrmSprIst = QString::fromLatin1(PrmSprIstId);
const QString AnfId = QString::fromLatin1(PrmAnfId);
const QString Vis = QString::fromLatin1(PrmVis);
const QString DwgId = QString::fromLatin1(PrmDwgId);

void SelectId(QComboBox *combo, int id)
{
    const QSignalBlocker block(combo);
    SelectEnumId(combo, id == 0 ? QVariant() : QVariant(id));
}

void FillCombo(QComboBox *combo, const QList<TVtEnumItem> &items)
{
    const QSignalBlocker block(combo);
    combo->clear();
    for (const TVtEnumItem &item : items)
        combo->addItem(item.Text, item.Id);
    combo->setCurrentIndex(-1);
}
}

TdmEbdParam::TdmEbdParam(QObject *parent)
    : TdmEbsParam(parent)
{
    if (!dmEbdParam)
        dmEbdParam = this;
    xpmVtuParams->ApplCodeList = QStringList{QStringLiteral("EBD="), QStringLiteral("KBA=1.0"), QStringLiteral("VT=")};

    const QString app = QStringLiteral("EBD");
    xpmVtuParams->AddParam(PrmSprIst, MovimentiCategory(), QStringLiteral("Conto di lavoro"), pkCombo,
                           QStringLiteral("0"), app);
    xpmVtuParams->AddParam(AnfId, MovimentiCategory(), QStringLiteral("Anno finanziario di lavoro"), pkCombo,
                           QStringLiteral("0"), app);
    TVtXMLParam *vis = xpmVtuParams->AddParam(Vis, MovimentiCategory(), QStringLiteral("Modalità di visualizzazione"),
                                              pkCombo, QStringLiteral("0"), app);
    vis->Items = QStringList{QStringLiteral("0"), QStringLiteral("1")};
}

TdmEbdParam::~TdmEbdParam()
{
    if (dmEbdParam == this)
        dmEbdParam = nullptr;
}

QString TdmEbdParam::AnfListSQL(int iSprIstId)
{
    return QStringLiteral(" SELECT Anf.iAnfId, CAST(Anf.iAnfValore AS VARCHAR(4)) sAnfAnnoDesc FROM TAnf_AnniFinanz Anf "
                          "INNER JOIN TCai_CassaIst Cai ON (Cai.iCaiEsercizioFin = Anf.iAnfValore) "
                          "WHERE Cai.iSprIstId = %1 ORDER BY iAnfValore")
        .arg(iSprIstId);
}

QString TdmEbdParam::DwgAnfListSQL(int iDwgId)
{
    return QStringLiteral(" SELECT DISTINCT Anf.iAnfId, CAST(Anf.iAnfValore AS VARCHAR(4)) sAnfAnnoDesc "
                          "FROM TAnf_AnniFinanz Anf "
                          "INNER JOIN TCai_CassaIst Cai ON (Cai.iCaiEsercizioFin = Anf.iAnfValore) "
                          "INNER JOIN TSprIst Spr ON (Spr.iSprIstId = Cai.iSprIstId) "
                          "WHERE Spr.iDwgId = %1 ORDER BY iAnfValore")
        .arg(iDwgId);
}

QList<TVtEnumItem> TdmEbdParam::ReadAccounts(int iDwgId, int iAnfId)
{
    const QString base = QStringLiteral(
        "SELECT Ist.iSprIstId, Ist.sSprIstNumCc FROM TSprIst Ist "
        "INNER JOIN TSpr_SportelliCab Spr ON (Spr.iSprId = Ist.iSprId) ");
    const QString where = QStringLiteral("WHERE Ist.iDwgId = :iDwgId AND Ist.iSprIstPgm = 2 ");
    const QString order = QStringLiteral("ORDER BY Ist.sSprIstNumCc, Ist.iSprIstId");
    TVtParams params;
    params.CreateParam(QMetaType::Int, QStringLiteral("iDwgId"))->SetAsInteger(iDwgId);
    params.CreateParam(QMetaType::Int, QStringLiteral("iAnfId"))->SetAsInteger(iAnfId);
    QList<TVtEnumItem> items;
    if (iAnfId != 0) {
        items = ReadEnumValues(
            base + QStringLiteral("INNER JOIN TAnf_AnniFinanz Anf ON (Anf.iAnfId = :iAnfId) ") + where
                + QStringLiteral("AND ((Ist.dStart <= Anf.dAnfVeltoInizio AND (Ist.dEnd IS NULL OR Ist.dEnd > Anf.dAnfVeltoInizio)) "
                                 "OR (Ist.dStart >= Anf.dAnfVeltoInizio AND Ist.dStart < Anf.dAnfVeltoFine)) ")
                + order,
            &params);
    }
    // No account valid in the year: every account of the group.
    if (items.isEmpty())
        items = ReadEnumValues(base + where + order, &params);
    return items;
}

// ---------------------------------------------------------------------------
// Dialog events
// ---------------------------------------------------------------------------
void TdmEbdParam::xpmVtuParamsAfterCreateCtrl(QWidget *ctrl, TVtXMLParam *param, bool &doDefault)
{
    TdmEbsParam::xpmVtuParamsAfterCreateCtrl(ctrl, param, doDefault);
    auto *cb = qobject_cast<QComboBox *>(ctrl);
    if (!cb)
        return;
    if (param->IsNamed(DwgId)) {
        m_cbDwg = cb;
        connect(cb, &QComboBox::activated, this, [this] { DwgChanged(); });
    } else if (param->IsNamed(AnfId)) {
        m_cbAnf = cb;
        connect(cb, &QComboBox::activated, this, [this] { AnfChanged(); });
    } else if (param->IsNamed(PrmSprIst)) {
        m_cbSprIst = cb;
        m_sprIstId = 0;
        connect(cb, &QComboBox::activated, this, [this] { SprIstChanged(); });
        // The account's kind, right of the combo (4 pixels lower, 5 after it).
        auto *label = new QLabel(cb->parentWidget());
        label->setObjectName(QStringLiteral("lbSprIstKind"));
        m_lbKind = label;
        cb->installEventFilter(this);
        RefreshKindLabel(GetParamInt(PrmSprIst));
        label->show();
        PlaceKindLabel();
    }
}

void TdmEbdParam::xpmVtuParamsFillListParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault)
{
    TdmEbsParam::xpmVtuParamsFillListParam(ctrl, param, doDefault);
    auto *cb = qobject_cast<QComboBox *>(ctrl);
    if (!cb)
        return;
    if (param->IsNamed(PrmSprIst)) {
        doDefault = false;
        FillCombo(cb, ReadAccounts(GetParamInt(DwgId), GetParamInt(AnfId)));
    } else if (param->IsNamed(AnfId)) {
        doDefault = false;
        LoadEnumValues(cb, AnfListSQL(GetParamInt(PrmSprIst)));
    }
}

void TdmEbdParam::xpmVtuParamsReadParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault)
{
    TdmEbsParam::xpmVtuParamsReadParam(ctrl, param, doDefault);
    auto *cb = qobject_cast<QComboBox *>(ctrl);
    if (cb && (param->IsNamed(PrmSprIst) || param->IsNamed(AnfId))) {
        doDefault = false;
        bool ok = false;
        const int id = param->Value.trimmed().toInt(&ok);
        SelectId(cb, ok ? id : 0);
        if (param->IsNamed(PrmSprIst))
            m_sprIstId = ComboId(cb);
    }
    if (param->Category.compare(MovimentiCategory(), Qt::CaseInsensitive) == 0 && m_sprIstId == 0)
        m_sprIstId = GetParamInt(PrmSprIst);
}

void TdmEbdParam::xpmVtuParamsWriteParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault)
{
    TdmEbsParam::xpmVtuParamsWriteParam(ctrl, param, doDefault);
    auto *cb = qobject_cast<QComboBox *>(ctrl);
    if (param->IsNamed(DwgId)) {
        // The base has saved the new group already.
        LoadDwgList(gDwgList, GetParamInt(DwgId));
    } else if (cb && (param->IsNamed(PrmSprIst) || param->IsNamed(AnfId))) {
        doDefault = false;
        const int id = ComboId(cb);
        param->Value = id == 0 ? QStringLiteral("0") : QString::number(id);
    } else if (cb && param->IsNamed(Vis)) {
        doDefault = false;
        const int index = cb->currentIndex() < 0 ? 0 : cb->currentIndex();
        param->Value = QString::number(index);
        gVisMode = index;
    }
}

// ---------------------------------------------------------------------------
// Cascades
// ---------------------------------------------------------------------------
void TdmEbdParam::FillAccounts(int iDwgId, int iAnfId)
{
    if (!m_cbSprIst)
        return;
    const int chosen = ComboId(m_cbSprIst);
    FillCombo(m_cbSprIst, ReadAccounts(iDwgId, iAnfId));
    SelectId(m_cbSprIst, chosen);
    m_sprIstId = ComboId(m_cbSprIst);
    RefreshKindLabel(m_sprIstId);
}

void TdmEbdParam::DwgChanged()
{
    const int dwg = m_cbDwg ? ComboId(m_cbDwg) : GetParamInt(DwgId);
    if (m_cbAnf) {
        const int chosen = ComboId(m_cbAnf);
        LoadEnumValues(m_cbAnf, DwgAnfListSQL(dwg));
        SelectId(m_cbAnf, chosen);
    }
    FillAccounts(dwg, m_cbAnf ? ComboId(m_cbAnf) : 0);
}

void TdmEbdParam::AnfChanged()
{
    const int dwg = m_cbDwg ? ComboId(m_cbDwg) : GetParamInt(DwgId);
    FillAccounts(dwg, m_cbAnf ? ComboId(m_cbAnf) : 0);
}

void TdmEbdParam::SprIstChanged()
{
    m_sprIstId = ComboId(m_cbSprIst);
    if (m_cbAnf) {
        const int chosen = ComboId(m_cbAnf);
        LoadEnumValues(m_cbAnf, AnfListSQL(m_sprIstId));
        SelectId(m_cbAnf, chosen);
    }
    RefreshKindLabel(m_sprIstId);
}

void TdmEbdParam::RefreshKindLabel(int iSprIstId)
{
    if (!m_lbKind)
        return;
    m_lbKind->setText(iSprIstId == 0 ? QString() : GetSprIstKind(iSprIstId));
    m_lbKind->adjustSize();
}

void TdmEbdParam::PlaceKindLabel()
{
    if (!m_lbKind || !m_cbSprIst)
        return;
    const QRect r = m_cbSprIst->geometry();
    m_lbKind->move(r.x() + r.width() + 5, r.y() + 4);
    m_lbKind->raise();
}

bool TdmEbdParam::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_cbSprIst && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        PlaceKindLabel();
    return TdmEbsParam::eventFilter(watched, event);
}

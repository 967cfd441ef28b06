#include "EbsFRptSelAluCau.h"
#include "EbdUContext.h"
#include "EbdUGlobals.h"
#include "EbdURptLists.h"
#include "EbsURptAlunni.h"
#include "VtExecModal.h"
#include "VtGuard.h"
#include "VtMessageDlg.h"
#include "VtPaths.h"
#include "VtRptFilter.h"
#include "VtUtils.h"
#include "fmVtRptFilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
// The columns of every select of the grid, as the enrolled pupils' text has them.
const QString PersonColumns =
    u"Ana.iAnaId, Ana.sAnaCognome, Ana.sAnaNome, Cag.sAnaCagCode, CAST(NULL AS VARCHAR(20)) sClsSDesc, "
    "CAST(NULL AS INTEGER) iClsId, Ana.dAnaNascita, COALESCE(ComNas.sComDesc, StaNas.sStaDesc) sLuogoNascita, "
    "ProNas.sProSigla sProSiglaNascita, Ana.sAnaSesso "_s;
const QString BirthPlace =
    u"LEFT OUTER JOIN TSrpc SrpcNas ON (SrpcNas.iSrpcId = Ana.iSrpcId_Nascita) "
    "LEFT OUTER JOIN TCom_Comuni ComNas ON (ComNas.iComId = SrpcNas.iComId) "
    "LEFT OUTER JOIN TPro_Province ProNas ON (ProNas.iProId = SrpcNas.iProId) "
    "LEFT OUTER JOIN TSta_Stati StaNas ON (StaNas.iStaId = SrpcNas.iStaId) "_s;
const QString PersonOrder = u"WHERE (1 = 1) /*AND VTRPTFILTER*/ ORDER BY Alu.sAnaCognome, Alu.sAnaNome, Alu.iAnaId"_s;

// Schools of the working group valid at the start of the year; the group
// itself when it is one school.
const QString SchoolsSQL =
    u"SELECT Dow.iDwgId, Dow.sDowSDesc FROM VDow_DataOwner Dow, VAns_AnniScolast Ans "
    "WHERE Ans.iAnsId = :iAnsId AND Dow.iDwgId_Grp = :iDwgId AND Dow.iDowId IS NOT NULL "
    "AND (Dow.dStart_Dwg IS NULL OR Dow.dStart_Dwg <= Ans.dAnsVeltoInizio) "
    "AND (Dow.dEnd_Dwg IS NULL OR Dow.dEnd_Dwg >= Ans.dAnsVeltoInizio) "
    "AND (Dow.dStart_OtgDwg IS NULL OR Dow.dStart_OtgDwg <= Ans.dAnsVeltoInizio) "
    "AND (Dow.dEnd_OtgDwg IS NULL OR Dow.dEnd_OtgDwg >= Ans.dAnsVeltoInizio) "
    "ORDER BY Dow.sDowSDesc, Dow.dStart_Dwg"_s;
const QString OwnSchoolSQL =
    u"SELECT Dwg.iDwgId, Dow.sDowSDesc FROM TDwg_DataOwnerGrp Dwg "
    "INNER JOIN TDow_DataOwner Dow ON (Dow.iDowId = Dwg.iDowId) WHERE Dwg.iDwgId = :iDwgId"_s;
const QString ClassesSQL =
    u"SELECT Cls.iClsId, Cls.sClsSDesc || COALESCE(' - ' || Cls.sSedNomSDesc, '') sClsSede FROM VCls_Classi Cls "
    "INNER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cls.dStart_Cls) "
    "WHERE Ans.iAnsId = :iAnsId AND Cls.iDwgId = :iDwgId ORDER BY Cls.sClsSDesc, Cls.sSedNomSDesc"_s;
const QString ReasonsSQL =
    u"SELECT Cau.iCauId, Cau.sCauLDesc || ' (A.S.: ' || Ans.iAnsValore || '/' || (Ans.iAnsValore + 1) || ')' sCauAnsDesc "
    "FROM TCau_Causali Cau "
    "INNER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cau.dStart AND Ans.dAnsVeltoFine = Cau.dEnd) "
    "INNER JOIN VAns_AnniScolast Sel ON (Sel.iAnsId = :iAnsId) "
    "WHERE (Ans.iAnsValore = Sel.iAnsValore OR Ans.iAnsValore = Sel.iAnsValore + 1) "
    "AND ((Cau.lCauVuvez = 1 AND Cau.lCauTipo = 0) OR (:AllCausali = 1)) "
    "ORDER BY 2"_s;
// Post-office accounts of the program open during the working financial year.
const QString AccountsSQL =
    u"SELECT Spi.iSprIstId, Spi.sSprIstNumCc FROM TSprIst Spi "
    "INNER JOIN TSpr_SportelliCab Spr ON (Spr.iSprId = Spi.iSprId) "
    "INNER JOIN TBan_Banche Ban ON (Ban.iBanId = Spr.iBanId) "
    "INNER JOIN TAnf_AnniFinanz Anf ON (Anf.iAnfId = :iAnfId) "
    "WHERE (Spi.iSprIstPgm = 2) AND (Ban.iCbaId = 7) "
    "AND (Spi.dStart IS NULL OR Spi.dStart <= Anf.dAnfVeltoFine) "
    "AND (Spi.dEnd IS NULL OR Spi.dEnd >= Anf.dAnfVeltoInizio) "
    "ORDER BY Spi.sSprIstNumCc"_s;
const QString CategoriesSQL =
    u"SELECT Cbm.iCbmId, Cbm.sCbmDesc FROM TCbm_CatBenefMvm Cbm WHERE Cbm.iCbmId IN (1, 6) ORDER BY Cbm.iCbmId"_s;

TVtParams IntParams(std::initializer_list<std::pair<const char *, QVariant>> values)
{
    TVtParams params;
    for (const auto &v : values)
        params.CreateParam(QMetaType::Int, QString::fromLatin1(v.first))->SetValue(v.second);
    return params;
}
}

TfmEbsRptSelAluCau::TfmEbsRptSelAluCau(QWidget *parent) : TfmVtuSelRptAnnoScol(parent)
{
    setObjectName(u"fmEbsRptSelAluCau"_s);
    ClientLayout()->insertWidget(1, MakeChoices());
    ckBarCode->setChecked(GetParamInt(u"EBSP_PrintBarCode"_s) != 0);
    m_filterFolder = VtPaths::DataPath({u"ebt"_s, u"filter"_s});

    SetCommandText(EbsAlunniIscrittiSQL(u"1=1"_s, QString()));
    SetParamValue(u"iAnsId"_s, TEbdContext::GetOr0(TEbdCtx::AnsId));
    SetParamValue(u"iDwgId"_s, TEbdContext::GetOr0(TEbdCtx::DwgId));
    SetParamValue(u"iClsId"_s, u"%"_s, QMetaType::QString);

    for (QComboBox *combo : {cbIstituto, cbClasse})
        connect(combo, &QComboBox::currentIndexChanged, this, [this, combo] {
            if (m_loading)
                return;
            VtGuard([this, combo] {
                if (combo == cbIstituto)
                    LoadClassi();
                Requery();
            });
        });
    connect(cbBeneficiari, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_loading)
            VtGuard([this] { FollowBeneficiari(); Requery(); });
    });
    for (QCheckBox *box : {ckNuovi, ckFrequentanti})
        connect(box, &QCheckBox::toggled, this, [this] {
            if (!m_loading)
                VtGuard([this] { Requery(); });
        });
    connect(buFiltro, &QPushButton::clicked, this, [this] { VtGuard([this] { FilterClick(); }); });
    resize(720, 640);
}

TfmEbsRptSelAluCau::~TfmEbsRptSelAluCau() = default;

QWidget *TfmEbsRptSelAluCau::MakeChoices()
{
    auto *box = new QWidget(paClient);
    box->setObjectName(u"paScelte"_s);
    auto label = [box](const QString &text) { return new QLabel(text, box); };
    auto combo = [box](const QString &name) {
        auto *c = new QComboBox(box);
        c->setObjectName(name);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(16);
        return c;
    };
    laCausale = label(u"&Causale"_s);
    cbCausale = combo(u"cbCausale"_s);
    cbCausale->setMinimumContentsLength(40);
    laIstituto = label(u"&Istituto"_s);
    cbIstituto = combo(u"cbIstituto"_s);
    laClasse = label(u"Classe"_s);
    cbClasse = combo(u"cbClasse"_s);
    laConto = label(u"Numero conto"_s);
    cbConto = combo(u"cbConto"_s);
    laBeneficiari = label(u"Beneficiari"_s);
    cbBeneficiari = combo(u"cbBeneficiari"_s);
    laCausale->setBuddy(cbCausale);
    laIstituto->setBuddy(cbIstituto);
    laClasse->setBuddy(cbClasse);
    laConto->setBuddy(cbConto);
    laBeneficiari->setBuddy(cbBeneficiari);
    ckNuovi = new QCheckBox(u"Alunni &nuovi iscritti"_s, box);
    ckNuovi->setObjectName(u"ckNuovi"_s);
    ckFrequentanti = new QCheckBox(u"Solo frequentanti"_s, box);
    ckFrequentanti->setObjectName(u"ckFrequentanti"_s);
    ckBarCode = new QCheckBox(u"Stampa codici a &barre"_s, box);
    ckBarCode->setObjectName(u"ckBarCode"_s);
    buFiltro = new QPushButton(u"Filtro..."_s, box);
    buFiltro->setObjectName(u"buFiltro"_s);
    buFiltro->setEnabled(false);

    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(laCausale, 0, 0);
    grid->addWidget(cbCausale, 0, 1, 1, 3);
    grid->addWidget(laIstituto, 1, 0);
    grid->addWidget(cbIstituto, 1, 1);
    grid->addWidget(laClasse, 1, 2);
    grid->addWidget(cbClasse, 1, 3);
    grid->addWidget(laConto, 2, 0);
    grid->addWidget(cbConto, 2, 1);
    grid->addWidget(laBeneficiari, 2, 2);
    grid->addWidget(cbBeneficiari, 2, 3);
    auto *checks = new QHBoxLayout;
    checks->addWidget(ckNuovi);
    checks->addWidget(ckFrequentanti);
    checks->addWidget(ckBarCode);
    checks->addStretch(1);
    checks->addWidget(buFiltro);
    grid->addLayout(checks, 3, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return box;
}

QString TfmEbsRptSelAluCau::NewEnrolmentsSQL()
{
    return u"SELECT * FROM (SELECT "_s + PersonColumns +
           u"FROM TAna_Anagrafiche Ana "
           "INNER JOIN TAnaCag Cag ON (Cag.iAnaId = Ana.iAnaId AND Cag.iCagId = 1) "
           "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = Ana.iAnaId) "
           "INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Sit.dStart) "_s +
           BirthPlace +
           u"WHERE (Ans.iAnsId = :iAnsId) AND (Sit.iSitOrdine = 1) AND (Sit.iClsPstId IS NULL)) Alu "_s + PersonOrder;
}

QString TfmEbsRptSelAluCau::CategorySQL()
{
    return u"SELECT * FROM (SELECT "_s + PersonColumns +
           u"FROM TAna_Anagrafiche Ana "
           "INNER JOIN TAnaCag Cag ON (Cag.iAnaId = Ana.iAnaId) "
           "INNER JOIN TCbm_CatBenefMvm Cbm ON (Cbm.iCagId = Cag.iCagId) "_s +
           BirthPlace + u"WHERE (Cbm.iCbmId = :iCbmId)) Alu "_s + PersonOrder;
}

int TfmEbsRptSelAluCau::CauId() const
{
    return ChosenEnumId(cbCausale);
}

QString TfmEbsRptSelAluCau::CauDesc() const
{
    return cbCausale->currentIndex() < 0 ? QString() : cbCausale->currentText();
}

int TfmEbsRptSelAluCau::DwgId() const
{
    return ChosenEnumId(cbIstituto);
}

int TfmEbsRptSelAluCau::ClsId() const
{
    return ChosenEnumId(cbClasse);
}

int TfmEbsRptSelAluCau::SprIstId() const
{
    return ChosenEnumId(cbConto);
}

QString TfmEbsRptSelAluCau::NumeroCC() const
{
    return cbConto->currentIndex() < 0 ? QString() : cbConto->currentText();
}

int TfmEbsRptSelAluCau::CbmId() const
{
    return ChosenEnumId(cbBeneficiari);
}

bool TfmEbsRptSelAluCau::BarCode() const
{
    return ckBarCode->isChecked();
}

bool TfmEbsRptSelAluCau::NuoviIscritti() const
{
    return m_nuoviVisible && ckNuovi->isChecked();
}

bool TfmEbsRptSelAluCau::SoloFrequentanti() const
{
    return ckFrequentanti->isChecked();
}

void TfmEbsRptSelAluCau::SetNuoviVisible(bool on)
{
    m_nuoviVisible = on;
    ckNuovi->setVisible(on);
    if (!on)
        ckNuovi->setChecked(false);
}

void TfmEbsRptSelAluCau::LoadAll()
{
    m_loading = true;
    LoadIstituti();
    LoadClassi();
    LoadCausali();
    LoadConti();
    LoadBeneficiari();
    m_loading = false;
    FollowBeneficiari();
    Requery();
}

void TfmEbsRptSelAluCau::LoadIstituti()
{
    const int group = TEbdContext::GetOr0(TEbdCtx::DwgId);
    // The school chosen so far, or at first the one the caller gave the grid.
    QVariant wanted = DwgId();
    if (wanted.toInt() == 0)
        if (const TVtParam *p = xqcMain->Params().FindParam(u"iDwgId"_s))
            wanted = p->Value();
    const TVtParams params = IntParams({{"iAnsId", GetSelectediAnsId()}, {"iDwgId", group}});
    const bool oneSchool = !DwgIsGroup(group);
    const bool wasLoading = std::exchange(m_loading, true);
    LoadEnumValues(cbIstituto, oneSchool ? OwnSchoolSQL : SchoolsSQL, &params);
    if (SelectEnumId(cbIstituto, wanted) < 0 && cbIstituto->count() > 0)
        cbIstituto->setCurrentIndex(0);
    m_loading = wasLoading;
    const bool several = cbIstituto->count() > 1;
    laIstituto->setVisible(several);
    cbIstituto->setVisible(several);
}

void TfmEbsRptSelAluCau::LoadClassi()
{
    const int wanted = ClsId();
    const TVtParams params = IntParams({{"iAnsId", GetSelectediAnsId()}, {"iDwgId", DwgId()}});
    const bool wasLoading = std::exchange(m_loading, true);
    LoadEnumValues(cbClasse, ClassesSQL, &params);
    cbClasse->insertItem(0, QString(), QVariant());
    if (wanted == 0 || SelectEnumId(cbClasse, wanted) < 0)
        cbClasse->setCurrentIndex(0);
    m_loading = wasLoading;
}

void TfmEbsRptSelAluCau::LoadCausali()
{
    const TVtParams params = IntParams({{"iAnsId", GetSelectediAnsId()}, {"AllCausali", BoolToInt(m_allCausali)}});
    LoadEnumValues(cbCausale, ReasonsSQL, &params);
    if (cbCausale->count() > 0)
        cbCausale->setCurrentIndex(0);
}

void TfmEbsRptSelAluCau::LoadConti()
{
    const TVtParams params = IntParams({{"iAnfId", TEbdContext::Bindable(TEbdCtx::AnfId)}});
    LoadEnumValues(cbConto, AccountsSQL, &params);
    // The program's own account when it names a listed one; else the first.
    int index = -1;
    if (gApplCode == u"EBC"_s) {
        const int own = GetParamInt(u"EBCP_SprIstId"_s);
        if (own != 0)
            index = cbConto->findText(GetSprIstNumCc(own));
    }
    if (index < 0 && cbConto->count() > 0)
        index = 0;
    cbConto->setCurrentIndex(index);
}

void TfmEbsRptSelAluCau::LoadBeneficiari()
{
    const int wanted = CbmId();
    LoadEnumValues(cbBeneficiari, CategoriesSQL);
    if (SelectEnumId(cbBeneficiari, wanted) < 0 && cbBeneficiari->count() > 0)
        cbBeneficiari->setCurrentIndex(0);
    const bool ebc = gApplCode == u"EBC"_s;
    laBeneficiari->setEnabled(ebc);
    cbBeneficiari->setEnabled(ebc);
}

bool TfmEbsRptSelAluCau::OtherCategory() const
{
    return cbBeneficiari->currentIndex() > 0;
}

void TfmEbsRptSelAluCau::FollowBeneficiari()
{
    const bool pupils = !OtherCategory();
    for (QWidget *w : {static_cast<QWidget *>(laClasse), static_cast<QWidget *>(cbClasse),
                       static_cast<QWidget *>(laIstituto), static_cast<QWidget *>(cbIstituto),
                       static_cast<QWidget *>(ckNuovi)})
        w->setEnabled(pupils);
}

void TfmEbsRptSelAluCau::Requery()
{
    QString sql;
    xqcMain->Close();
    if (OtherCategory()) {
        sql = CategorySQL();
        Params().Clear();
        SetParamValue(u"iCbmId"_s, CbmId());
    } else if (ckNuovi->isChecked()) {
        sql = NewEnrolmentsSQL();
        Params().Clear();
        SetParamValue(u"iAnsId"_s, GetSelectediAnsId());
    } else {
        sql = EbsAlunniIscrittiSQL(ckFrequentanti->isChecked() ? u"iPosAttId=1"_s : u"1=1"_s, QString());
        Params().Clear();
        SetParamValue(u"iAnsId"_s, GetSelectediAnsId());
        SetParamValue(u"iDwgId"_s, DwgId());
        SetParamValue(u"iClsId"_s, ClsId() != 0 ? QString::number(ClsId()) : u"%"_s, QMetaType::QString);
    }
    SetCommandText(TVtRptFilter::ApplyMarkers(sql, m_condition));
    Open();
}

void TfmEbsRptSelAluCau::AnnoScolChanged()
{
    m_loading = true;
    LoadIstituti();
    LoadClassi();
    LoadCausali();
    m_loading = false;
    Requery();
}

void TfmEbsRptSelAluCau::SetFilterDefinition(const QString &code, const QString &xml)
{
    m_filterCode = code;
    m_filterXml = xml;
    if (m_filterDialog)
        m_filterDialog->SetDefinition(code, xml);
    buFiltro->setEnabled(!xml.isEmpty());
}

void TfmEbsRptSelAluCau::SetFilterFolder(const QString &folder)
{
    m_filterFolder = folder;
    if (m_filterDialog)
        m_filterDialog->SetFolder(folder);
}

TfmVtRptFilter *TfmEbsRptSelAluCau::FilterDialog()
{
    if (!m_filterDialog) {
        auto *dialog = new TfmVtRptFilter(this);
        dialog->SetDefinition(m_filterCode, m_filterXml);
        dialog->SetFolder(m_filterFolder);
        m_filterDialog = dialog;
    }
    return m_filterDialog;
}

void TfmEbsRptSelAluCau::FilterClick()
{
    if (m_filterXml.isEmpty())
        return;
    TfmVtRptFilter *dialog = FilterDialog();
    if (dialog->Execute())
        ApplyCondition(dialog->Condition());
}

void TfmEbsRptSelAluCau::ApplyCondition(const QString &condition)
{
    m_condition = condition;
    Requery();
}

bool TfmEbsRptSelAluCau::CanAccept()
{
    if (CauId() == 0) {
        VtMessageDlg(u"Nessuna causale selezionata: impossibile procedere."_s, mtWarning, mbOK);
        return false;
    }
    return TfmVtuSelRptAnnoScol::CanAccept();
}

void TfmEbsRptSelAluCau::CopyToTarget()
{
    if (!m_target)
        return;
    m_target->Close();
    m_target->CommandText = CommandText();
    m_target->Params().Clear();
    for (int i = 0; i < Params().Count(); ++i) {
        const TVtParam *p = Params().Items(i);
        m_target->Params().CreateParam(p->DataType, p->Name, p->ParamType)->SetValue(p->Value());
    }
}

void TfmEbsRptSelAluCau::done(int result)
{
    VtGuard([this] { CopyToTarget(); });
    TfmVtuSelRptAnnoScol::done(result);
}

void TfmEbsRptSelAluCau::showEvent(QShowEvent *event)
{
    LoadAll();
    TfmVtuSelRptAnnoScol::showEvent(event);
}

#include "EbsMAtt.h"
#include "EbdUGlobals.h"
#include "EbdUContext.h"
#include "VtAttForm.h"
#include "VtException.h"
#include "VtGlobalValuesManager.h"
#include "VtMessageDlg.h"
#include "VtUtils.h"
#include "fmVtChildDB.h"
#include "fmVtMDIMain.h"

TdmEbsAtt *dmEbsAtt = nullptr;
QPointer<QWidget> fmEbsCau;
QPointer<QWidget> fmEbsCca;

TVtAttForm *TdmEbsAtt::NewFormCommand(const QString &name, const QString &caption, const QString &formClass)
{
    auto *cmd = new TVtAttForm(this, name);
    cmd->SetCaption(caption);
    cmd->ClasseForm = formClass;
    return cmd;
}

TdmEbsAtt::TdmEbsAtt(QObject *owner) : TdmVtAttivazioni(owner)
{
    xafAggregati = NewFormCommand(QStringLiteral("xafAggregati"), QStringLiteral("Aggregati"), QStringLiteral("TfmAggregati"));
    xafVoci = NewFormCommand(QStringLiteral("xafVoci"), QStringLiteral("Voci"), QStringLiteral("TfmVoci"));
    xafCausali = NewFormCommand(QStringLiteral("xafCausali"), QStringLiteral("Causali"), QStringLiteral("TfmEbsCau"));
    xafCompCaus = NewFormCommand(QStringLiteral("xafCompCaus"), QStringLiteral("Componenti di causali"), QStringLiteral("TfmEbsCca"));
    xafTipoCompCau = NewFormCommand(QStringLiteral("xafTipoCompCau"), QStringLiteral("Tipologie componenti"),
                                    QStringLiteral("TfmEbsTipologie"));
    xafTipoPagamento = NewFormCommand(QStringLiteral("xafTipoPagamento"), QStringLiteral("Modalità di pagamento"),
                                      QStringLiteral("TfmEbsModPagamento"));

    if (CreateDataSetsModule)
        m_dataSets = CreateDataSetsModule(this);

    xafCausali->SetHelpContext(1000);
    xafCompCaus->SetHelpContext(1001);
    xafAggregati->SetHelpContext(1002);
    xafVoci->SetHelpContext(1003);

    xafCausali->OnInizializedForm = [](TVtAttForm *, QWidget *form) { fmEbsCau = form; };
    xafCompCaus->OnInizializedForm = [](TVtAttForm *, QWidget *form) { fmEbsCca = form; };
    auto clearInfo = [](TVtAttForm *, QWidget *form) {
        if (auto *child = qobject_cast<TfmVtChildDB *>(form))
            child->SetInfoCaption(QString());
    };
    xafAggregati->OnInizializedForm = clearInfo;
    xafVoci->OnInizializedForm = clearInfo;
    auto budgetBefore = [this](TVtAttivazione *sender, bool &allow) { xafBudgetBeforeExecute(sender, allow); };
    xafAggregati->BeforeExecute = budgetBefore;
    xafVoci->BeforeExecute = budgetBefore;
    if (!dmEbsAtt)
        dmEbsAtt = this;
}

TdmEbsAtt::~TdmEbsAtt()
{
    delete m_dataSets;
    delete m_budgetQuery;
    if (dmEbsAtt == this)
        dmEbsAtt = nullptr;
}

void TdmEbsAtt::xafBudgetBeforeExecute(TVtAttivazione *sender, bool &allow)
{
    allow = false;
    if (ParamAnfIdName.isEmpty()) {
        VtMessageDlg(QStringLiteral("Impostare la proprietà 'ParamAnfIdName' del datamodule"), mtWarning, mbOK);
        return;
    }
    bool isInt = false;
    const int anfId = xgvmGlobalVar ? xgvmGlobalVar->GetValues(ParamAnfIdName).toString().toInt(&isInt) : 0;
    if (!isInt || anfId == 0) {
        VtMessageDlg(QStringLiteral("E' necessario impostare l'anno finanziario di lavoro."), mtWarning, mbOK);
        return;
    }
    const QVariant valore = GetParamAnfValore(ParamAnfIdName);
    gAnfValore = valore.isNull() ? -1 : valore.toInt();
    gDwgId = TEbdContext::GetOr0(TEbdCtx::DwgId);
    gUseDwgAnfDates = false;
    if (!m_budgetQuery && CreateBudgetQueryModule)
        m_budgetQuery = CreateBudgetQueryModule(this);

    auto *cmd = static_cast<TVtAttForm *>(sender);
    if (QWidget *open = FindForm(cmd->ClasseForm)) {
        if (TfmVtMDIMain *main = TfmVtMDIMain::Instance())
            main->BringToFront(open);
        return;
    }
    const int kind = cmd == xafAggregati ? 1 : 2;
    allow = !RunTotalsFilter || RunTotalsFilter(kind);
}

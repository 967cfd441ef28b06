#include "VardellaModules.h"
#include "AbcFAggregati.h"
#include "AbcFVoci.h"
#include "AbcFWFiltro.h"
#include "AbcMVproDBQuery.h"
#include "EbcFCcp.h"
#include "EbcFDataReplace.h"
#include "EbdFInitAnf.h"
#include "EbdFStornoRid.h"
#include "EbdFwExport_Banche.h"
#include "EbcUDataReplace.h"
#include "EbdRAluGen.h"
#include "EbdFAluGen.h"
#include "EbdMBilling.h"
#include "EbsFCau.h"
#include "EbsFCca.h"
#include "EbsFModPagamento.h"
#include "EbsFTipologie.h"
#include "EbsMAtt.h"
#include "EbsMDataSets.h"
#include "VtFormRegistry.h"

void RegisterVardellaModules()
{
    TdmEbdBilling::Register();
    TVtFormRegistry::RegisterClass<TfmEbcCcp>(QStringLiteral("TfmEbcCcp"));
    TVtFormRegistry::RegisterClass<TfmEbdInitAnf>(QStringLiteral("TfmEbdInitAnf"));
    TVtFormRegistry::RegisterClass<TfwEbdExport_Banche>(QStringLiteral("TfwEbdExport_Banche"));
    TVtFormRegistry::RegisterClass<TfmEbdStornoRid>(QStringLiteral("TfmEbdStornoRid"));
    TVtFormRegistry::RegisterClass<TfmEbcDataReplace>(TfrEbdAluGen::DataReplaceClass);
    TfrEbdAluGen::UndoLastReplace = EbcUndoLastReplace;
    TVtFormRegistry::RegisterClass<TfmEbdAluGen>(QStringLiteral("TfmEbdAluGen"));
    TVtFormRegistry::RegisterClass<TfmEbsCau>(QStringLiteral("TfmEbsCau"));
    TVtFormRegistry::RegisterClass<TfmEbsCca>(QStringLiteral("TfmEbsCca"));
    TVtFormRegistry::RegisterClass<TfmEbsModPagamento>(QStringLiteral("TfmEbsModPagamento"));
    TVtFormRegistry::RegisterClass<TfmEbsTipologie>(QStringLiteral("TfmEbsTipologie"));
    TdmEbsAtt::CreateDataSetsModule = [](QObject *owner) -> QObject * { return new TdmEbsDataSets(owner); };
    TVtFormRegistry::RegisterClass<TfmAggregati>(QStringLiteral("TfmAggregati"));
    TVtFormRegistry::RegisterClass<TfmVoci>(QStringLiteral("TfmVoci"));
    TdmEbsAtt::RunTotalsFilter = RunTotalsFilter;
    TdmEbsAtt::CreateBudgetQueryModule = [](QObject *owner) -> QObject * { return new TdmVproDBQuery(owner); };
}

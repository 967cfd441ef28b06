#include "VardellaModules.h"
#include "EbcFCcp.h"
#include "EbsMAtt.h"
#include "EbsMDataSets.h"
#include "VtFormRegistry.h"

void RegisterVardellaModules()
{
    TVtFormRegistry::RegisterClass<TfmEbcCcp>(QStringLiteral("TfmEbcCcp"));
    TdmEbsAtt::CreateDataSetsModule = [](QObject *owner) -> QObject * { return new TdmEbsDataSets(owner); };
}

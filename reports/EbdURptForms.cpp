#include "EbdURptForms.h"
#include "VtFormRegistry.h"
#include "fmVtMultiSelect.h"

void RegisterReportForms()
{
    TVtFormRegistry::RegisterClass<TfmVtMultiSelect>(QStringLiteral("TfmVtMultiSelect"));
}

#include "EbdURptForms.h"
#include "EbcFElencoXClassi.h"
#include "EbcFRptSelData.h"
#include "EbcFRptSelDateList.h"
#include "EbcFSelRptClsCau.h"
#include "EbdFRptSelAttestazione.h"
#include "EbdFRptSelClsComp.h"
#include "EbsFRptSelAluCau.h"
#include "EbsFRptSelDate.h"
#include "EbsFRptSelDateCheck.h"
#include "EbsFRptSelDateGrid.h"
#include "EbsFRptSelDateList.h"
#include "EbsFSelRptAnnoScolCau.h"
#include "EbsFSelTipoTot.h"
#include "VtFormRegistry.h"
#include "fmVtMultiSelect.h"
#include "fmVtuSelRptAnnoScol.h"

void RegisterReportForms()
{
    TVtFormRegistry::RegisterClass<TfmVtMultiSelect>(QStringLiteral("TfmVtMultiSelect"));
    TVtFormRegistry::RegisterClass<TfmVtuSelRptAnnoScol>(QStringLiteral("TfmVtuSelRptAnnoScol"));
    TVtFormRegistry::RegisterClass<TfmEbcRptSelData>(QStringLiteral("TfmEbcRptSelData"));
    TVtFormRegistry::RegisterClass<TfmEbcElencoXClassi>(QStringLiteral("TfmEbcElencoXClassi"));
    TVtFormRegistry::RegisterClass<TfmEbdRptSelClsComp>(QStringLiteral("TfmEbdRptSelClsComp"));
    TVtFormRegistry::RegisterClass<TfmEbsRptSelDate>(QStringLiteral("TfmEbsRptSelDate"));
    TVtFormRegistry::RegisterClass<TfmEbsRptSelDateList>(QStringLiteral("TfmEbsRptSelDateList"));
    TVtFormRegistry::RegisterClass<TfmEbcRptSelDateList>(QStringLiteral("TfmEbcRptSelDateList"));
    TVtFormRegistry::RegisterClass<TfmEbsRptSelDateGrid>(QStringLiteral("TfmEbsRptSelDateGrid"));
    TVtFormRegistry::RegisterClass<TfmEbsRptSelDateCheck>(QStringLiteral("TfmEbsRptSelDateCheck"));
    TVtFormRegistry::RegisterClass<TfmEbcSelRptClsCau>(QStringLiteral("TfmEbcSelRptClsCau"));
    TVtFormRegistry::RegisterClass<TfmEbsSelRptAnnoScolCau>(QStringLiteral("TfmEbsSelRptAnnoScolCau"));
    TVtFormRegistry::RegisterClass<TfmEbsRptSelAluCau>(QStringLiteral("TfmEbsRptSelAluCau"));
    TVtFormRegistry::RegisterClass<TfmEbsSelTipoTot>(QStringLiteral("TfmEbsSelTipoTot"));
    TVtFormRegistry::RegisterClass<TfmEbdRptSelAttestazione>(QStringLiteral("TfmEbdRptSelAttestazione"));
}

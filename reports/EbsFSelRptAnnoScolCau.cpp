#include "EbsFSelRptAnnoScolCau.h"
#include "EbdUContext.h"
#include "VtGuard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>

using namespace Qt::StringLiterals;

TfmEbsSelRptAnnoScolCau::TfmEbsSelRptAnnoScolCau(QWidget *parent) : TfmVtuSelRptAnnoScol(parent)
{
    setObjectName(u"fmEbsSelRptAnnoScolCau"_s);
    setWindowTitle(u"Selezione causali"_s);
    ckEntrata = new QCheckBox(u"Causali di entrata"_s, paClient);
    ckEntrata->setObjectName(u"ckEntrata"_s);
    ckEntrata->setChecked(true);
    AnnoScolRow()->insertWidget(2, ckEntrata);
    AnnoScolRow()->insertSpacing(2, 24);
    connect(ckEntrata, &QCheckBox::toggled, this, [this] { VtGuard([this] { EntrataToggled(); }); });
}

int TfmEbsSelRptAnnoScolCau::CauTipo() const
{
    return ckEntrata->isChecked() ? 0 : 1;
}

void TfmEbsSelRptAnnoScolCau::EntrataToggled()
{
    SetParamValue(u"lCauTipo"_s, CauTipo());
    Requery();
}

void TfmEbsSelRptAnnoScolCau::showEvent(QShowEvent *event)
{
    {
        const QSignalBlocker block(cbAnnoScol);
        SetSelectediAnsId(TEbdContext::GetOr0(TEbdCtx::CauAnsId));
    }
    SetParamValue(u"lCauTipo"_s, CauTipo());
    SetParamValue(u"iAnsId"_s, GetSelectediAnsId());
    if (!CommandText().isEmpty())
        Open();
    TfmVtuSelRptAnnoScol::showEvent(event);
}

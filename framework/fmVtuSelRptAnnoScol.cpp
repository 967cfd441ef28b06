#include "fmVtuSelRptAnnoScol.h"
#include "VtGlobalValuesManager.h"
#include "VtGuard.h"
#include "VtParams.h"
#include "VtUtils.h"
#include "dmVtuParams.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
const QString YearsSQL = QStringLiteral("SELECT VAns.iAnsId, VAns.sAnsAnnoDesc FROM VAns_AnniScolast VAns ORDER BY VAns.iAnsValore");
}

TfmVtuSelRptAnnoScol::TfmVtuSelRptAnnoScol(QWidget *parent)
    : TfmVtMultiSelect(parent)
{
    setObjectName(QStringLiteral("fmVtuSelRptAnnoScol"));
    laAnnoScol = new QLabel(QStringLiteral("Anno scolastico"), paClient);
    laAnnoScol->setObjectName(QStringLiteral("laAnnoScol"));
    cbAnnoScol = new QComboBox(paClient);
    cbAnnoScol->setObjectName(QStringLiteral("cbAnnoScol"));
    cbAnnoScol->setMinimumContentsLength(10);
    laAnnoScol->setBuddy(cbAnnoScol);
    m_annoScolRow = new QHBoxLayout;
    m_annoScolRow->addWidget(laAnnoScol);
    m_annoScolRow->addWidget(cbAnnoScol);
    m_annoScolRow->addStretch(1);
    ClientLayout()->insertLayout(0, m_annoScolRow);

    LoadEnumValues(cbAnnoScol, YearsSQL);
    {
        const QSignalBlocker block(cbAnnoScol);
        SelectEnumId(cbAnnoScol, GetVtuParamValue(QString::fromLatin1(VtuPrmAnsId)));
    }
    connect(cbAnnoScol, &QComboBox::currentIndexChanged, this, [this] { VtGuard([this] { AnnoScolChanged(); }); });
}

int TfmVtuSelRptAnnoScol::GetSelectediAnsId() const
{
    return cbAnnoScol->currentIndex() < 0 ? 0 : cbAnnoScol->currentData().toInt();
}

bool TfmVtuSelRptAnnoScol::SetSelectediAnsId(int iAnsId)
{
    const int index = cbAnnoScol->findData(iAnsId);
    if (index < 0)
        return false;
    cbAnnoScol->setCurrentIndex(index);
    return true;
}

void TfmVtuSelRptAnnoScol::SetAnnoScolVisible(bool on)
{
    m_annoScolHidden = !on;
    laAnnoScol->setVisible(on);
    cbAnnoScol->setVisible(on);
}

void TfmVtuSelRptAnnoScol::AnnoScolChanged()
{
    SetParamValue(QStringLiteral("iAnsId"), GetSelectediAnsId());
    Requery();
}

void TfmVtuSelRptAnnoScol::Requery()
{
    if (!CommandText().isEmpty())
        Open();
}

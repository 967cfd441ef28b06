#include "EbcFSearchBen.h"

#include "EbdUGlobals.h"
#include "VtFormRegistry.h"
#include "VtParams.h"
#include "VtQueryCollection.h"
#include "VtUtils.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

TfmEbcSearchBen::TfmEbcSearchBen(QWidget *parent)
    : TfmEbsSearchBen(parent)
{
    m_kind = -1;
    lbIstituto = new QLabel(QStringLiteral("&Istituto"), TopPanel());
    lbIstituto->setObjectName(QStringLiteral("lbIstituto"));
    cbIstituto = new QComboBox(TopPanel());
    cbIstituto->setObjectName(QStringLiteral("cbIstituto"));
    cbIstituto->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lbIstituto->setBuddy(cbIstituto);
    if (auto *layout = qobject_cast<QHBoxLayout *>(TopPanel()->layout())) {
        // Before the stretch that closes the school-year row.
        const int at = qMax(0, layout->count() - 1);
        layout->insertWidget(at, lbIstituto);
        layout->insertWidget(at + 1, cbIstituto);
    }
    {
        const QSignalBlocker block(cbIstituto);
        for (const TVtEnumItem &item : gDwgList)
            cbIstituto->addItem(item.Text, item.Id);
        cbIstituto->setCurrentIndex(cbIstituto->count() > 0 ? 0 : -1);
    }
    // Until the user chooses, the search covers the first school listed.
    if (cbIstituto->count() > 0)
        m_dwgId = cbIstituto->itemData(0).toInt();
    lbIstituto->hide();
    cbIstituto->hide();
    connect(cbIstituto, &QComboBox::activated, this, [this](int index) {
        const QVariant id = cbIstituto->itemData(index);
        ChooseIstituto(id.isNull() ? 0 : id.toInt());
    });
}

TfmEbcSearchBen::~TfmEbcSearchBen() = default;

void TfmEbcSearchBen::Activate()
{
    TfmEbsSearchBen::Activate();
    const bool show = m_kind == 1 && gDwgList.size() > 1;
    lbIstituto->setVisible(show);
    cbIstituto->setVisible(show);
}

void TfmEbcSearchBen::ChooseIstituto(int iDwgId)
{
    m_dwgId = iDwgId;
    {
        const QSignalBlocker block(cbIstituto);
        SelectEnumId(cbIstituto, iDwgId);
    }
    if (cbIstituto->currentIndex() >= 0)
        RefreshSearchYear(SelectedAnsId());
}

void TfmEbcSearchBen::RefreshSearchYear(int iAnsId)
{
    if (!KindUsesYear())
        return;
    TfmEbsSearchBen::RefreshSearchYear(iAnsId);
}

void TfmEbcSearchBen::SetSearchParams(int iAnsId)
{
    if (!KindUsesYear())
        return;
    TfmEbsSearchBen::SetSearchParams(iAnsId);
    if (TVtQueryCollection *ds = GetDataSet())
        if (TVtParam *p = ds->Params().FindParam(QStringLiteral("iDwgId")))
            p->SetAsInteger(m_dwgId);
}

void RegisterSearchForms()
{
    TVtFormRegistry::RegisterClass<TfmEbsSearchBen>(QStringLiteral("TfmEbsSearchBen"));
    TVtFormRegistry::RegisterClass<TfmEbcSearchBen>(QStringLiteral("TfmEbcSearchBen"));
}

void UnregisterSearchForms()
{
    TVtFormRegistry::UnregisterClass(QStringLiteral("TfmEbsSearchBen"));
    TVtFormRegistry::UnregisterClass(QStringLiteral("TfmEbcSearchBen"));
}

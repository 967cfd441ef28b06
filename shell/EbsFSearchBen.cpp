#include "EbsFSearchBen.h"

#include "EbdUGlobals.h"
#include "VtParams.h"
#include "VtQueryCollection.h"
#include "VtUtils.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

TfmEbsSearchBen::TfmEbsSearchBen(QWidget *parent)
    : TfmVtSearch(parent)
{
    lbAnnoScol = new QLabel(QStringLiteral("&Anno scolastico"), TopPanel());
    lbAnnoScol->setObjectName(QStringLiteral("lbAnnoScol"));
    cbAnnoScol = new QComboBox(TopPanel());
    cbAnnoScol->setObjectName(QStringLiteral("cbAnnoScol"));
    cbAnnoScol->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lbAnnoScol->setBuddy(cbAnnoScol);
    if (auto *layout = qobject_cast<QHBoxLayout *>(TopPanel()->layout())) {
        layout->addWidget(lbAnnoScol);
        layout->addWidget(cbAnnoScol);
        layout->addStretch(1);
    }
    connect(cbAnnoScol, &QComboBox::activated, this, [this](int index) {
        const QVariant id = cbAnnoScol->itemData(index);
        LoadAnnoScol(id.isNull() ? 0 : id.toInt());
    });

    LoadAnnoScol(m_ansId);
    cbAnnoScol->show();
}

TfmEbsSearchBen::~TfmEbsSearchBen() = default;

QString TfmEbsSearchBen::AnsListSQL()
{
    // The sort column is selected too: Firebird orders a DISTINCT select only
    // by the columns it returns.
    return QStringLiteral(" SELECT DISTINCT VAns.iAnsId, VAns.sAnsAnnoDesc, VAns.iAnsValore FROM VAns_AnniScolast VAns "
                          "  INNER JOIN TCls_Classi cls ON cls.dStart BETWEEN VAns.dAnsVeltoInizio AND VAns.dAnsVeltoFine "
                          " ORDER BY VAns.iAnsValore DESC");
}

int TfmEbsSearchBen::SelectedAnsId() const
{
    if (cbAnnoScol->currentIndex() < 0)
        return 0;
    const QVariant id = cbAnnoScol->currentData();
    return id.isNull() ? 0 : id.toInt();
}

void TfmEbsSearchBen::LoadAnnoScol(int iAnsId)
{
    m_ansId = iAnsId;
    {
        const QSignalBlocker block(cbAnnoScol);
        LoadEnumValues(cbAnnoScol, AnsListSQL());
        const int wanted = m_ansId < 1 ? GetParamInt(QString::fromLatin1(PrmAnsId)) : m_ansId;
        SelectEnumId(cbAnnoScol, wanted);
    }
    const int selected = SelectedAnsId();
    if (selected != 0)
        RefreshSearchYear(selected);
}

void TfmEbsSearchBen::SetSearchParams(int iAnsId)
{
    TVtQueryCollection *ds = GetDataSet();
    if (!ds)
        return;
    TVtParam *p = ds->Params().FindParam(QStringLiteral("iAnsId"));
    if (!p)
        p = ds->Params().CreateParam(QMetaType::Int, QStringLiteral("iAnsId"));
    p->SetAsInteger(iAnsId);
}

void TfmEbsSearchBen::RefreshSearchYear(int iAnsId)
{
    TVtQueryCollection *ds = GetDataSet();
    if (!ds || CommandText().trimmed().isEmpty())
        return;
    ds->Close();
    SetSearchParams(iAnsId);
    TfmVtSearch::RefreshSearch();
}

void TfmEbsSearchBen::RefreshSearch()
{
    if (SelectedAnsId() != 0)
        SetSearchParams(SelectedAnsId());
    TfmVtSearch::RefreshSearch();
}

#include "EbcFSelRptClsCau.h"
#include "EbdURptLists.h"
#include "EbdUContext.h"
#include "VtGuard.h"
#include "VtParams.h"
#include "VtUtils.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString YearsWithReasonsSQL =
    u"SELECT DISTINCT Ans.iAnsId, Ans.sAnsAnnoDesc, Ans.iAnsValore FROM VAns_AnniScolast Ans "
    "INNER JOIN TCau_Causali Cau ON (Cau.dStart = Ans.dAnsVeltoInizio AND Cau.dEnd = Ans.dAnsVeltoFine) "
    "ORDER BY Ans.iAnsValore"_s;
const QString IncomingReasonsSQL =
    u"SELECT Cau.iCauId, Cau.sCauLDesc FROM TCau_Causali Cau "
    "INNER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cau.dStart AND Ans.dAnsVeltoFine = Cau.dEnd) "
    "WHERE (Ans.iAnsId = :iAnsId) AND (Cau.lCauTipo = 0) ORDER BY Cau.sCauLDesc"_s;
}

TfmEbcSelRptClsCau::TfmEbcSelRptClsCau(QWidget *parent) : TfmVtuSelRptAnnoScol(parent)
{
    setObjectName(u"fmEbcSelRptClsCau"_s);
    ClientLayout()->insertWidget(1, MakeCausaleBox());
    LoadEnumValues(cbCauAnno, YearsWithReasonsSQL);
    SelectEnumId(cbCauAnno, TEbdContext::GetOr0(TEbdCtx::CauAnsId));
    LoadCausali();
    connect(cbCauAnno, &QComboBox::currentIndexChanged, this, [this] { VtGuard([this] { LoadCausali(); }); });
    resize(600, 560);
}

QGroupBox *TfmEbcSelRptClsCau::MakeCausaleBox()
{
    gbCausale = new QGroupBox(u"Causale"_s, paClient);
    gbCausale->setObjectName(u"gbCausale"_s);
    laCauAnno = new QLabel(u"Anno scolastico causale"_s, gbCausale);
    cbCauAnno = new QComboBox(gbCausale);
    cbCauAnno->setObjectName(u"cbCauAnno"_s);
    laCausale = new QLabel(u"Causale"_s, gbCausale);
    cbCausale = new QComboBox(gbCausale);
    cbCausale->setObjectName(u"cbCausale"_s);
    cbCausale->setMinimumContentsLength(30);
    laMvmData = new QLabel(u"Movimenti alla data"_s, gbCausale);
    dtpMvmData = new QDateEdit(QDate::currentDate(), gbCausale);
    dtpMvmData->setObjectName(u"dtpMvmData"_s);
    dtpMvmData->setDisplayFormat(u"dd/MM/yyyy"_s);
    dtpMvmData->setCalendarPopup(true);
    laMovimenti = new QLabel(u"Movimenti"_s, gbCausale);
    cbMovimenti = new QComboBox(gbCausale);
    cbMovimenti->setObjectName(u"cbMovimenti"_s);
    cbMovimenti->addItems({u"Effettuati"_s, u"Non effettuati"_s});
    cbMovimenti->setCurrentIndex(0);
    laCauAnno->setBuddy(cbCauAnno);
    laCausale->setBuddy(cbCausale);
    laMvmData->setBuddy(dtpMvmData);
    laMovimenti->setBuddy(cbMovimenti);

    auto *grid = new QGridLayout(gbCausale);
    grid->addWidget(laCauAnno, 0, 0);
    grid->addWidget(cbCauAnno, 0, 1);
    grid->addWidget(laCausale, 1, 0);
    grid->addWidget(cbCausale, 1, 1, 1, 4);
    grid->addWidget(laMvmData, 2, 0);
    grid->addWidget(dtpMvmData, 2, 1);
    grid->addWidget(laMovimenti, 2, 2);
    grid->addWidget(cbMovimenti, 2, 3);
    grid->setColumnStretch(4, 1);
    return gbCausale;
}

void TfmEbcSelRptClsCau::LoadCausali()
{
    TVtParams params;
    params.CreateParam(QMetaType::Int, u"iAnsId"_s)->SetValue(CauAnsId());
    LoadEnumValues(cbCausale, IncomingReasonsSQL, &params);
    if (cbCausale->count() > 0)
        cbCausale->setCurrentIndex(0);
}

int TfmEbcSelRptClsCau::CauAnsId() const
{
    return ChosenEnumId(cbCauAnno);
}

int TfmEbcSelRptClsCau::CauId() const
{
    return ChosenEnumId(cbCausale);
}

QString TfmEbcSelRptClsCau::CauDesc() const
{
    return cbCausale->currentIndex() < 0 ? QString() : cbCausale->currentText();
}

QDate TfmEbcSelRptClsCau::MvmDate() const
{
    return dtpMvmData->date();
}

bool TfmEbcSelRptClsCau::MvmDone() const
{
    return cbMovimenti->currentIndex() != 1;
}

void TfmEbcSelRptClsCau::showEvent(QShowEvent *event)
{
    SetParamValue(u"iAnsId"_s, GetSelectediAnsId());
    if (!CommandText().isEmpty())
        Open();
    TfmVtuSelRptAnnoScol::showEvent(event);
}

#include "EbcFElencoXClassi.h"
#include "EbdUContext.h"
#include "EbdURptLists.h"
#include "VtQueryCollection.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfmEbcElencoXClassi::TfmEbcElencoXClassi(QWidget *parent) : TfmVtMultiSelect(parent)
{
    setObjectName(u"fmEbcElencoXClassi"_s);
    setWindowTitle(u"Elenco Classi"_s);
    laModPagam = new QLabel(u"Modalità di pagamento:"_s, paClient);
    cbModPagam = new QComboBox(paClient);
    cbModPagam->setObjectName(u"cbModPagam"_s);
    LoadModPagamList(cbModPagam, true);
    laDal = new QLabel(u"Data scadenza Dal:"_s, paClient);
    laAl = new QLabel(u"Data scadenza Al:"_s, paClient);
    for (QDateEdit **edit : {&dtpDal, &dtpAl}) {
        *edit = new QDateEdit(QDate::currentDate(), paClient);
        (*edit)->setDisplayFormat(u"dd/MM/yyyy"_s);
        (*edit)->setCalendarPopup(true);
    }
    dtpDal->setObjectName(u"dtpDal"_s);
    dtpAl->setObjectName(u"dtpAl"_s);
    laModPagam->setBuddy(cbModPagam);
    laDal->setBuddy(dtpDal);
    laAl->setBuddy(dtpAl);

    auto *grid = new QGridLayout;
    grid->addWidget(laModPagam, 0, 0);
    grid->addWidget(cbModPagam, 0, 1);
    grid->addWidget(laDal, 1, 0);
    grid->addWidget(dtpDal, 1, 1);
    grid->addWidget(laAl, 2, 0);
    grid->addWidget(dtpAl, 2, 1);
    grid->setColumnStretch(2, 1);
    ClientLayout()->insertLayout(0, grid);
}

int TfmEbcElencoXClassi::AnsId() const
{
    const TVtParam *p = xqcMain->Params().FindParam(u"iAnsId"_s);
    return p ? p->AsInteger() : 0;
}

bool TfmEbcElencoXClassi::CanAccept()
{
    if (!TfmVtMultiSelect::CanAccept())
        return false;
    m_start = dtpDal->date();
    m_end = dtpAl->date();
    m_mpgId = ChosenEnumId(cbModPagam);
    return true;
}

void TfmEbcElencoXClassi::showEvent(QShowEvent *event)
{
    SetParamValue(u"iAnsId"_s, TEbdContext::GetOr0(TEbdCtx::AnsId));
    if (!CommandText().isEmpty())
        Open();
    TfmVtMultiSelect::showEvent(event);
}

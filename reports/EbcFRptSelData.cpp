#include "EbcFRptSelData.h"
#include "EbdURptLists.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
QDateEdit *DatePicker(QWidget *parent, const QString &name)
{
    auto *edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(u"dd/MM/yyyy"_s);
    edit->setCalendarPopup(true);
    return edit;
}
}

TfmEbcRptSelData::TfmEbcRptSelData(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"fmEbcRptSelData"_s);
    setWindowTitle(u"Seleziona data"_s);
    laDal = new QLabel(u"Seleziona data scadenza dei movimenti dal"_s, this);
    dtpDal = DatePicker(this, u"dtpDal"_s);
    laAl = new QLabel(u"Seleziona data scadenza dei movimenti Al"_s, this);
    dtpAl = DatePicker(this, u"dtpAl"_s);
    laModPagam = new QLabel(u"Modalità di pagamento"_s, this);
    cbModPagam = new QComboBox(this);
    cbModPagam->setObjectName(u"cbModPagam"_s);
    LoadModPagamList(cbModPagam, true);
    laDal->setBuddy(dtpDal);
    laAl->setBuddy(dtpAl);
    laModPagam->setBuddy(cbModPagam);
    buOk = new QPushButton(u"&OK"_s, this);
    buOk->setObjectName(u"buOk"_s);
    buOk->setDefault(true);
    connect(buOk, &QPushButton::clicked, this, &TfmEbcRptSelData::OkClick);

    auto *grid = new QGridLayout;
    grid->addWidget(laDal, 0, 0);
    grid->addWidget(dtpDal, 0, 1);
    grid->addWidget(laAl, 1, 0);
    grid->addWidget(dtpAl, 1, 1);
    grid->addWidget(laModPagam, 2, 0);
    grid->addWidget(cbModPagam, 2, 1);
    grid->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(buOk);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);
}

void TfmEbcRptSelData::OkClick()
{
    m_start = dtpDal->date();
    m_end = dtpAl->date();
    m_mpgId = ChosenEnumId(cbModPagam);
    accept();
}

#include "EbdFRptSelClsComp.h"
#include "EbdUContext.h"
#include "EbdURptLists.h"
#include "VtMessageDlg.h"
#include "VtSQLQuery.h"
#include "VtUtils.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString ComponentsSQL =
    u"SELECT DISTINCT Cca.iCcaId, Cca.sCcaSDesc || ' - ' || Cca.sCcaLDesc sCcaDesc, Cca.sCcaLDesc, Cca.sCcaSDesc "
    "FROM TCca_CompCausali Cca "
    "INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cca.dStart) "
    "WHERE Ans.iAnsId = :iAnsId "
    "ORDER BY Cca.sCcaLDesc, Cca.sCcaSDesc"_s;
}

TfmEbdRptSelClsComp::TfmEbdRptSelClsComp(QWidget *parent) : TfmVtuSelRptAnnoScol(parent)
{
    setObjectName(u"fmEbdRptSelClsComp"_s);
    SetAnnoScolVisible(false);

    laDal = new QLabel(u"Totali dal"_s, paClient);
    laAl = new QLabel(u"al"_s, paClient);
    for (QDateEdit **edit : {&dtpDal, &dtpAl}) {
        *edit = new QDateEdit(QDate::currentDate(), paClient);
        (*edit)->setDisplayFormat(u"dd/MM/yyyy"_s);
        (*edit)->setCalendarPopup(true);
    }
    dtpDal->setObjectName(u"dtpDal"_s);
    dtpAl->setObjectName(u"dtpAl"_s);
    laDal->setBuddy(dtpDal);
    laAl->setBuddy(dtpAl);
    laModPagam = new QLabel(u"Modalità di pagamento"_s, paClient);
    cbModPagam = new QComboBox(paClient);
    cbModPagam->setObjectName(u"cbModPagam"_s);
    laModPagam->setBuddy(cbModPagam);
    LoadModPagamList(cbModPagam, false);
    SetModPagamVisible(false);

    auto *dates = new QGridLayout;
    dates->addWidget(laDal, 0, 0);
    dates->addWidget(dtpDal, 0, 1);
    dates->addWidget(laAl, 0, 2);
    dates->addWidget(dtpAl, 0, 3);
    dates->addWidget(laModPagam, 1, 0);
    dates->addWidget(cbModPagam, 1, 1, 1, 3);
    dates->setColumnStretch(4, 1);

    gbComponenti = new QGroupBox(u" &Componenti di causali presenti nella stampa "_s, paClient);
    gbComponenti->setObjectName(u"gbComponenti"_s);
    lbComponenti = new QListWidget(gbComponenti);
    lbComponenti->setObjectName(u"lbComponenti"_s);
    lbComponenti->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *boxLayout = new QVBoxLayout(gbComponenti);
    boxLayout->addWidget(lbComponenti);
    acSelectAll = new QAction(u"Seleziona tutto"_s, lbComponenti);
    acSelectNone = new QAction(u"Annulla selezione"_s, lbComponenti);
    acInvert = new QAction(u"Inverti selezione"_s, lbComponenti);
    lbComponenti->addActions({acSelectAll, acSelectNone, acInvert});
    connect(acSelectAll, &QAction::triggered, this, [this] { CheckAllItems(lbComponenti, true); });
    connect(acSelectNone, &QAction::triggered, this, [this] { CheckAllItems(lbComponenti, false); });
    connect(acInvert, &QAction::triggered, this, [this] { InvertItems(lbComponenti); });

    ClientLayout()->insertLayout(1, dates);
    ClientLayout()->insertWidget(2, gbComponenti, 1);
    LoadComponents();
    resize(640, 620);
}

void TfmEbdRptSelClsComp::LoadComponents()
{
    TVtParams params;
    params.CreateParam(QMetaType::Int, u"iAnsId"_s)->SetValue(TEbdContext::Bindable(TEbdCtx::CauAnsId));
    LoadEnumValues(lbComponenti, ComponentsSQL, &params);
    for (int i = 0; i < lbComponenti->count(); ++i)
        lbComponenti->item(i)->setCheckState(Qt::Unchecked);
}

QVariantList TfmEbdRptSelClsComp::CompIds() const
{
    QVariantList ids;
    for (int i = 0; i < lbComponenti->count(); ++i)
        if (lbComponenti->item(i)->checkState() == Qt::Checked)
            ids << lbComponenti->item(i)->data(Qt::UserRole);
    return ids;
}

QDate TfmEbdRptSelClsComp::StartDate() const
{
    return dtpDal->date();
}

QDate TfmEbdRptSelClsComp::EndDate() const
{
    return dtpAl->date();
}

int TfmEbdRptSelClsComp::MpgId() const
{
    return cbModPagam->currentIndex() < 0 ? -1 : cbModPagam->currentData().toInt();
}

QString TfmEbdRptSelClsComp::MpgDesc() const
{
    return cbModPagam->currentIndex() < 0 ? QString() : cbModPagam->currentText();
}

void TfmEbdRptSelClsComp::SetModPagamVisible(bool on)
{
    m_modPagamHidden = !on;
    laModPagam->setVisible(on);
    cbModPagam->setVisible(on);
}

bool TfmEbdRptSelClsComp::CanAccept()
{
    if (CompIds().isEmpty()) {
        VtMessageDlg(u"Nessuna componente selezionata: impossibile procedere."_s, mtWarning, mbOK);
        return false;
    }
    return TfmVtuSelRptAnnoScol::CanAccept();
}

void TfmEbdRptSelClsComp::showEvent(QShowEvent *event)
{
    SetYearDates();
    TfmVtuSelRptAnnoScol::showEvent(event);
}

void TfmEbdRptSelClsComp::SetYearDates()
{
    TSQLQuery q;
    q.SQL = u"SELECT Ans.dAnsInizio, Ans.dAnsFine FROM TAns_AnniScolast Ans WHERE Ans.iAnsId = :iAnsId"_s;
    q.Params().CreateParam(QMetaType::Int, u"iAnsId"_s)->SetValue(TEbdContext::Bindable(TEbdCtx::AnsId));
    q.Open();
    if (!q.IsEmpty()) {
        if (!q.FieldByName(u"dAnsInizio"_s).isNull())
            dtpDal->setDate(q.FieldByName(u"dAnsInizio"_s).toDate());
        if (!q.FieldByName(u"dAnsFine"_s).isNull())
            dtpAl->setDate(q.FieldByName(u"dAnsFine"_s).toDate());
    }
    q.Close();
}

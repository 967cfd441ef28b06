#include "EbsFRptSelDateGrid.h"
#include "VtDateEdit.h"
#include "VtGuard.h"

#include <QComboBox>
#include <QGridLayout>

using namespace Qt::StringLiterals;

TfmEbsRptSelDateGrid::TfmEbsRptSelDateGrid(QWidget *parent) : TfmEbsRptSelDate(parent)
{
    setObjectName(u"fmEbsRptSelDateGrid"_s);
    setWindowTitle(QString());   // the caller gives it
    cbTipo = new QComboBox(paClient);
    cbTipo->setObjectName(u"cbTipo"_s);
    cbTipo->addItems({u"ENTRATE"_s, u"USCITE"_s});
    cbTipo->setCurrentIndex(0);
    DatesLayout()->setColumnStretch(4, 0);
    DatesLayout()->setColumnMinimumWidth(4, 16);
    DatesLayout()->addWidget(cbTipo, 0, 5);
    DatesLayout()->setColumnStretch(6, 1);
    SetTipoVisible(false);
    connect(cbTipo, &QComboBox::currentIndexChanged, this, [this] { VtGuard([this] { Requery(); }); });

    SetCommandText(ReasonsSQL());
    SetFieldTitle(u"sCauLDesc"_s, u"Causale"_s, 260);
    SetFieldTitle(u"sCauSDesc"_s, u"Codice"_s, 90);
    SetFieldTitle(u"sAnsAnnoDesc"_s, u"Anno scolastico"_s, 110);
    SetFieldTitle(u"fImportoCau"_s, u"Importo"_s, 90);
    SetFieldFormat(u"fImportoCau"_s, u"#,###.00"_s);
    SetFieldVisible(u"lCauTipo"_s, false);
    SetParamValue(u"dStart"_s, QVariant(), QMetaType::QDate);
    SetParamValue(u"dEnd"_s, QVariant(), QMetaType::QDate);
    SetParamValue(u"lCauTipo"_s, 0);
    resize(680, 440);
}

QString TfmEbsRptSelDateGrid::ReasonsSQL()
{
    return u"SELECT Cau.iCauId, Cau.sCauLDesc, Cau.sCauSDesc, Ans.sAnsAnnoDesc, "
           "(SELECT SUM(Cca.FCCAIMPORTOIST) FROM TCca_CompCausali Cca "
           "INNER JOIN TCauCca Ccc ON (Ccc.iCcaId = Cca.iCcaId) WHERE Ccc.iCauId = Cau.iCauId) fImportoCau, "
           "Cau.lCauTipo "
           "FROM TCau_Causali Cau "
           "LEFT OUTER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cau.dStart AND Ans.dAnsVeltoFine = Cau.dEnd) "
           "WHERE EXISTS (SELECT 1 FROM TMvm_MovimentiCcp Mvm WHERE (Mvm.iCauId = Cau.iCauId) "
           "AND ((Mvm.DMVMDATAMOV BETWEEN :dStart AND :dEnd) OR (Mvm.DMVMDATAEC BETWEEN :dStart AND :dEnd))) "
           "AND ((Cau.lCauTipo = :lCauTipo) OR (:lCauTipo = 2)) "
           "ORDER BY Cau.lCauTipo, Cau.sCauLDesc"_s;
}

void TfmEbsRptSelDateGrid::SetTipoVisible(bool on)
{
    m_tipoVisible = on;
    cbTipo->setVisible(on);
}

int TfmEbsRptSelDateGrid::CauTipo() const
{
    return qMax(0, cbTipo->currentIndex());
}

void TfmEbsRptSelDateGrid::Requery()
{
    SetParamValue(u"dStart"_s, StartDate().isValid() ? QVariant(StartDate()) : QVariant(), QMetaType::QDate);
    SetParamValue(u"dEnd"_s, EndDate().isValid() ? QVariant(EndDate()) : QVariant(), QMetaType::QDate);
    SetParamValue(u"lCauTipo"_s, CauTipo());
    Open();
}

void TfmEbsRptSelDateGrid::showEvent(QShowEvent *event)
{
    TfmEbsRptSelDate::showEvent(event);
    Requery();
}

void TfmEbsRptSelDateGrid::DatesChanged()
{
    if (isVisible())
        Requery();
}

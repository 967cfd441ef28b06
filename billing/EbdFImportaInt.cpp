#include "EbdFImportaInt.h"
#include "VtException.h"
#include "VtMessageDlg.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
QString OutcomeText(TEbdImportaInt::TOutcome outcome)
{
    switch (outcome) {
    case TEbdImportaInt::oNew:
        return u"Nuovo"_s;
    case TEbdImportaInt::oUpdated:
        return u"Aggiornato"_s;
    default:
        return u"Scartato"_s;
    }
}
}

TfmEbdImportaInt::TfmEbdImportaInt(QWidget *parent) : TfmVtOkCancDlg(parent)
{
    setObjectName(u"fmEbdImportaInt"_s);
    setWindowTitle(u"Importazione intestatari"_s);
    buOk->setText(u"Importa"_s);
    grRows = new QTableWidget(0, 7, paClient);
    grRows->setObjectName(u"grRows"_s);
    grRows->setHorizontalHeaderLabels({u"Riga"_s, u"Alunno"_s, u"Genitore"_s, u"Codice IBAN"_s, u"Tipo pagamento"_s,
                                       u"Esito"_s, u"Motivo"_s});
    grRows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grRows->setSelectionBehavior(QAbstractItemView::SelectRows);
    grRows->verticalHeader()->hide();
    grRows->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {50, 200, 200, 250, 150, 90};
    for (int c = 0; c < 6; ++c)
        grRows->setColumnWidth(c, widths[c]);
    lbCount = new QLabel(paClient);
    lbCount->setObjectName(u"lbCount"_s);
    ClientLayout()->addWidget(grRows);
    ClientLayout()->addWidget(lbCount);
    resize(1260, 600);
    ShowRows();
}

bool TfmEbdImportaInt::LoadFile(const QString &fileName)
{
    try {
        m_import.LoadFile(fileName);
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), mtError, mbOK);
        return false;
    }
    ShowRows();
    return true;
}

void TfmEbdImportaInt::ShowRows()
{
    const QList<TEbdImportaInt::TRow> &rows = m_import.Rows();
    grRows->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        const TEbdImportaInt::TRow &row = rows.at(r);
        const QStringList texts = {QString::number(row.Line), row.Pupil, row.Parent, row.Iban, row.PaymentMode,
                                   OutcomeText(row.Outcome), row.Reason};
        for (int c = 0; c < texts.size(); ++c)
            grRows->setItem(r, c, new QTableWidgetItem(texts.at(c)));
        grRows->item(r, 0)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    lbCount->setText(u"%1 righe accettate, %2 scartate"_s.arg(m_import.AcceptedCount())
                         .arg(m_import.Count(TEbdImportaInt::oRefused)));
    buOk->setEnabled(m_import.AcceptedCount() > 0);
}

bool TfmEbdImportaInt::CanAccept()
{
    if (m_import.AcceptedCount() == 0)
        return false;
    try {
        m_import.Write();
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), mtError, mbOK);
        return false;
    }
    VtMessageDlg(u"Importati %1 intestatari: %2 nuovi, %3 aggiornati."_s.arg(m_import.AcceptedCount())
                     .arg(m_import.Count(TEbdImportaInt::oNew))
                     .arg(m_import.Count(TEbdImportaInt::oUpdated)),
                 mtInformation, mbOK);
    return true;
}

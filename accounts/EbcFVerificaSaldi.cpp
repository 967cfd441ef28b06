#include "EbcFVerificaSaldi.h"
#include "EbdUGlobals.h"
#include "VtField.h"
#include "VtGuard.h"
#include "VtSQLQuery.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPagedPaintDevice>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString Amount = u"#,###.00"_s;
const QStringList Headers = {u"Conto"_s, u"Tipo conto"_s, u"Esercizio Fin."_s, u"Voce"_s, u"Registrato"_s,
                             u"Ricalcolato"_s, u"Differenza"_s};
}

TfmEbcVerificaSaldi::TfmEbcVerificaSaldi(int iEsercizioFin, int iDwgId, QWidget *parent)
    : QDialog(parent), m_year(iEsercizioFin), m_dwg(iDwgId), m_when(QDateTime::currentDateTime())
{
    setObjectName(u"fmEbcVerificaSaldi"_s);
    setWindowTitle(u"Verifica saldi"_s);
    setModal(true);
    resize(960, 520);
    auto *layout = new QVBoxLayout(this);
    laTitolo = new QLabel(u"Esercizio finanziario %1 - verifica del %2"_s.arg(m_year)
                              .arg(m_when.toString(u"dd/MM/yyyy hh:mm"_s)), this);
    laTitolo->setObjectName(u"laTitolo"_s);
    layout->addWidget(laTitolo);
    grDifferenze = new QTableWidget(0, Headers.size(), this);
    grDifferenze->setObjectName(u"grDifferenze"_s);
    grDifferenze->setHorizontalHeaderLabels(Headers);
    grDifferenze->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grDifferenze->verticalHeader()->hide();
    grDifferenze->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {130, 100, 110, 130, 130, 130};
    for (int c = 0; c < 6; ++c)
        grDifferenze->setColumnWidth(c, widths[c]);
    layout->addWidget(grDifferenze);
    laNessuna = new QLabel(u"Nessuna differenza: i saldi dell'esercizio finanziario %1 corrispondono ai pagamenti e ai "
                           "movimenti."_s.arg(m_year), this);
    laNessuna->setObjectName(u"laNessuna"_s);
    laNessuna->setWordWrap(true);
    layout->addWidget(laNessuna);
    layout->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buStampa = new QPushButton(u"Stampa..."_s, this);
    buChiudi = new QPushButton(u"Chiudi"_s, this);
    buttons->addWidget(buStampa);
    buttons->addWidget(buChiudi);
    layout->addLayout(buttons);
    connect(buChiudi, &QPushButton::clicked, this, &QDialog::accept);
    connect(buStampa, &QPushButton::clicked, this, [this] { VtGuard([this] { Stampa(); }); });
    Read();
}

TfmEbcVerificaSaldi::~TfmEbcVerificaSaldi() = default;

void TfmEbcVerificaSaldi::Read()
{
    TSQLQuery q;
    q.SQL = u"SELECT v.iSprIstId, v.sVoce, v.fRegistrato, v.fRicalcolato FROM PEbc_CaiVerifica(:iEsercizioFin, :iDwgId) v"_s;
    q.Params().CreateParam(QMetaType::Int, u"iEsercizioFin"_s)->SetValue(m_year);
    q.Params().CreateParam(QMetaType::Int, u"iDwgId"_s)->SetValue(m_dwg);
    for (q.Open(); !q.Eof(); q.Next()) {
        const int account = q.Fields(0).toInt();
        const double stored = q.Fields(2).toDouble(), computed = q.Fields(3).toDouble();
        const QStringList texts = {GetSprIstNumCc(account), GetSprIstKind(account), QString::number(m_year),
                                   q.Fields(1).toString(), TVtField::FormatNumber(stored, Amount),
                                   TVtField::FormatNumber(computed, Amount),
                                   TVtField::FormatNumber(stored - computed, Amount)};
        const int r = grDifferenze->rowCount();
        grDifferenze->insertRow(r);
        for (int c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(texts.at(c));
            if (c >= 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grDifferenze->setItem(r, c, item);
        }
    }
    const bool any = grDifferenze->rowCount() > 0;
    grDifferenze->setVisible(any);
    laNessuna->setVisible(!any);
}

int TfmEbcVerificaSaldi::RowCount() const
{
    return grDifferenze->rowCount();
}

std::unique_ptr<QTextDocument> TfmEbcVerificaSaldi::Document() const
{
    QString html = u"<h2>Verifica saldi</h2><p>%1</p>"_s.arg(laTitolo->text().toHtmlEscaped());
    if (RowCount() == 0) {
        html += u"<p>%1</p>"_s.arg(laNessuna->text().toHtmlEscaped());
    } else {
        html += u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><tr>"_s;
        for (const QString &h : Headers)
            html += u"<th>%1</th>"_s.arg(h.toHtmlEscaped());
        html += u"</tr>"_s;
        for (int r = 0; r < RowCount(); ++r) {
            html += u"<tr>"_s;
            for (int c = 0; c < Headers.size(); ++c)
                html += (c >= 4 ? u"<td align=\"right\">%1</td>"_s : u"<td>%1</td>"_s)
                            .arg(grDifferenze->item(r, c)->text().toHtmlEscaped());
            html += u"</tr>"_s;
        }
        html += u"</table>"_s;
    }
    auto doc = std::make_unique<QTextDocument>();
    doc->setHtml(html);
    return doc;
}

void TfmEbcVerificaSaldi::PrintOn(QPagedPaintDevice *device) const
{
    // Laid out by the printing itself, the document gets page numbers.
    Document()->print(device);
}

void TfmEbcVerificaSaldi::Stampa()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(u"Stampa verifica saldi"_s);
    if (dialog.exec() == QDialog::Accepted)
        PrintOn(&printer);
}

#include "EbdFRptSelAttestazione.h"
#include "EbdUContext.h"
#include "EbdURptSql.h"
#include "VtGuard.h"
#include "VtMessageDlg.h"

#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString PayersSQL =
    u"SELECT Gen.iAnaId, Gen.sAnaCognome, Gen.sAnaNome, Gen.sAnaCodFiscale, "
    "CAST(LIST(DISTINCT Alu.sAnaCognome || ' ' || Alu.sAnaNome, ', ') AS VARCHAR(1000)) AS sAlunni "
    "FROM VPag_PagamentiFamiglie Pag "
    "INNER JOIN TAna_Anagrafiche Gen ON (Gen.iAnaId = Pag.iAnaId_Gen) "
    "INNER JOIN TAna_Anagrafiche Alu ON (Alu.iAnaId = Pag.iAnaId) "
    "WHERE Pag.dPagData BETWEEN :dDal AND :dAl AND (Pag.iDwgId IS NULL OR Pag.iDwgId = :iDwgId) "
    "GROUP BY Gen.iAnaId, Gen.sAnaCognome, Gen.sAnaNome, Gen.sAnaCodFiscale "
    "ORDER BY Gen.sAnaCognome, Gen.sAnaNome, Gen.iAnaId"_s;
}

TfmEbdRptSelAttestazione::TfmEbdRptSelAttestazione(QWidget *parent) : TfmVtMultiSelect(parent)
{
    setObjectName(u"fmEbdRptSelAttestazione"_s);
    SetCaption(u"Attestazione dei pagamenti"_s);
    auto *row = new QHBoxLayout;
    laAnno = new QLabel(u"Anno &solare"_s, paClient);
    seAnno = new QSpinBox(paClient);
    seAnno->setObjectName(u"seAnno"_s);
    seAnno->setRange(2000, 2100);
    seAnno->setValue(QDate::currentDate().year() - 1);
    laAnno->setBuddy(seAnno);
    laUscita = new QLabel(u"&Uscita"_s, paClient);
    cbUscita = new QComboBox(paClient);
    cbUscita->setObjectName(u"cbUscita"_s);
    cbUscita->addItems({u"Anteprima"_s, u"Un file PDF per ogni genitore"_s, u"Un unico file PDF"_s});
    laUscita->setBuddy(cbUscita);
    row->addWidget(laAnno);
    row->addWidget(seAnno);
    row->addSpacing(24);
    row->addWidget(laUscita);
    row->addWidget(cbUscita);
    row->addStretch();
    laNota = new QLabel(u"Il pagante è il genitore che paga oggi per l'alunno: l'archivio non conserva i paganti "
                        "precedenti."_s,
                        paClient);
    laNota->setWordWrap(true);
    ClientLayout()->insertLayout(0, row);
    ClientLayout()->insertWidget(1, laNota);

    KeyField = u"iAnaId"_s;
    AllowEmpty = false;
    SetCommandText(PayersSQL);
    SetFieldTitle(u"sAnaCognome"_s, u"Cognome"_s, 160);
    SetFieldTitle(u"sAnaNome"_s, u"Nome"_s, 140);
    SetFieldTitle(u"sAnaCodFiscale"_s, u"Codice fiscale"_s, 150);
    SetFieldTitle(u"sAlunni"_s, u"Alunni"_s, 300);
    AddSortOrder(u"sAnaCognome;sAnaNome"_s);
    SetDialogWidth(860);
    resize(860, 560);
    YearChanged();
    connect(seAnno, &QSpinBox::valueChanged, this, [this] { VtGuard([this] { YearChanged(); }); });
}

int TfmEbdRptSelAttestazione::Anno() const
{
    return seAnno->value();
}

void TfmEbdRptSelAttestazione::SetAnno(int year)
{
    seAnno->setValue(year);
}

int TfmEbdRptSelAttestazione::Uscita() const
{
    return cbUscita->currentIndex();
}

void TfmEbdRptSelAttestazione::YearChanged()
{
    SetParamValue(u"dDal"_s, YearStart(Anno()), QMetaType::QDate);
    SetParamValue(u"dAl"_s, YearEnd(Anno()), QMetaType::QDate);
    SetParamValue(u"iDwgId"_s, TEbdContext::Bindable(TEbdCtx::DwgId));
    Open();
    CheckAll(true);
}

QString TfmEbdRptSelAttestazione::SelectedPayers() const
{
    QStringList ids;
    for (const QVariant &id : SelectedKeys())
        ids << QString::number(id.toInt());
    return InList(ids);
}

bool TfmEbdRptSelAttestazione::CanAccept()
{
    if (RowCount() == 0) {
        VtMessageDlg(u"Nessun pagamento registrato nell'anno %1."_s.arg(Anno()), mtInformation, mbOK);
        return false;
    }
    if (!TfmVtMultiSelect::CanAccept())
        return false;
    m_destination.clear();
    if (Uscita() == usPdfPerGenitore)
        m_destination = VtMessageService().ExistingDirectory(u"Cartella delle attestazioni"_s, QString());
    else if (Uscita() == usPdfUnico)
        m_destination = VtMessageService().SaveFileName(u"File delle attestazioni"_s,
                                                        u"Attestazioni_%1.pdf"_s.arg(Anno()), u"PDF (*.pdf)"_s);
    return Uscita() == usAnteprima || !m_destination.isEmpty();
}

#include "EbcFDataReplace.h"
#include "EbcRDblLstAcbSelect.h"
#include "EbcUReplaceEditor.h"
#include "EbdUContext.h"
#include "VtException.h"
#include "VtMessageDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
// The reasons of the reasons' school year, for a new reason.
const QString ReasonsOfTheYear =
    u"SELECT ICAUID, sCauLDesc FROM TCau_Causali cau INNER JOIN VAns_AnniScolast Ans ON cau.dStart = "
    "Ans.dAnsVeltoInizio WHERE (ans.iAnsId = :iAnsId) ORDER BY sCauLDesc"_s;

// Replacing lists the fields from the third on: the first two serve the
// holder frame's insertions.
constexpr int FirstReplaceField = 2;

QString OutcomeText(TEbcPreviewOutcome outcome)
{
    switch (outcome) {
    case poExcluded:
        return u"Escluso"_s;
    case poUnchanged:
        return u"Invariato"_s;
    default:
        return u"Da modificare"_s;
    }
}
}

TfmEbcDataReplace::TfmEbcDataReplace(QWidget *parent) : TfmVtWizard(parent), m_mode(EbcAcbSelectMode())
{
    setObjectName(u"fmEbcDataReplace"_s);
    setWindowTitle(u"Sostituzione dati"_s);
    setModal(true);
    resize(1040, 660);
    try {
        m_def = EbcLoadReplaceDef();
        if (m_mode == TEbcAcbSelectMode::Replace && m_def.Fields.size() <= FirstReplaceField) {
            VtMessageDlg(u"La definizione XML %1 non contiene dati da sostituire."_s.arg(m_def.Code), mtInformation, mbOK);
            return;
        }
        if (m_mode != TEbcAcbSelectMode::Replace)
            m_field = m_def.FieldAt(int(m_mode));
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), mtError, mbOK);
        return;
    }
    AddPage(MakeFieldsPage(), u"Dato da sostituire"_s);
    frSelect = new TfrEbcDblLstAcbSelect(this);
    AddPage(frSelect, u"Alunni"_s);
    AddPage(MakeValuesPage(), u"Valori"_s);
    AddPage(MakePreviewPage(), u"Anteprima"_s);
    OnCheckButtons = [this](TfmVtWizard *) {
        // The field list is never seen when the field is the mode's own.
        if (ActivePageIndex() == pgSelection && m_mode != TEbcAcbSelectMode::Replace)
            buPrior->setEnabled(false);
    };
    m_ready = true;
    SetActivePage(m_mode == TEbcAcbSelectMode::Replace ? pgFields : pgSelection);
}

TfmEbcDataReplace::~TfmEbcDataReplace() = default;

int TfmEbcDataReplace::exec()
{
    return m_ready ? TfmVtWizard::exec() : int(QDialog::Rejected);
}

QWidget *TfmEbcDataReplace::MakeFieldsPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(u"Scegliere il dato da sostituire:"_s, page));
    lbFields = new QListWidget(page);
    lbFields->setObjectName(u"lbFields"_s);
    for (int i = FirstReplaceField; i < m_def.Fields.size(); ++i)
        lbFields->addItem(m_def.Fields.at(i).Caption);
    lbFields->setCurrentRow(0);
    layout->addWidget(lbFields);
    return page;
}

QWidget *TfmEbcDataReplace::MakeValuesPage()
{
    tsValues = new QWidget(this);
    auto *grid = new QGridLayout(tsValues);
    grid->addWidget(new QLabel(u"Dato scelto:"_s, tsValues), 0, 0);
    laField = new QLabel(tsValues);
    laField->setObjectName(u"laField"_s);
    QFont bold = laField->font();
    bold.setBold(true);
    laField->setFont(bold);
    grid->addWidget(laField, 0, 1, 1, 3);
    laOldValue = new QLabel(u"&Sostituire "_s, tsValues);
    grid->addWidget(laOldValue, 1, 0);
    cbAny = new QCheckBox(u"&Qualunque valore"_s, tsValues);
    cbAny->setObjectName(u"cbAny"_s);
    grid->addWidget(cbAny, 1, 2);
    laNewValue = new QLabel(u"&Inserire "_s, tsValues);
    grid->addWidget(laNewValue, 2, 0);
    grid->setColumnStretch(3, 1);   // the box stands beside the editor
    grid->setRowStretch(3, 1);
    connect(cbAny, &QCheckBox::toggled, this, [this](bool on) {
        if (edOldValue)
            edOldValue->setEnabled(!on);
    });
    return tsValues;
}

QWidget *TfmEbcDataReplace::MakePreviewPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    laPreview = new QLabel(page);
    laPreview->setObjectName(u"laPreview"_s);
    layout->addWidget(laPreview);
    grPreview = new QTableWidget(0, 6, page);
    grPreview->setObjectName(u"grPreview"_s);
    grPreview->setHorizontalHeaderLabels({u"Alunno"_s, u"Classe"_s, u"Intestatario"_s, u"Valore attuale"_s,
                                          u"Nuovo valore"_s, u"Esito"_s});
    grPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grPreview->setSelectionBehavior(QAbstractItemView::SelectRows);
    grPreview->verticalHeader()->hide();
    grPreview->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {200, 70, 200, 170, 170};
    for (int c = 0; c < 5; ++c)
        grPreview->setColumnWidth(c, widths[c]);
    layout->addWidget(grPreview);
    return page;
}

int TfmEbcDataReplace::FieldIndex() const
{
    if (m_mode != TEbcAcbSelectMode::Replace)
        return int(m_mode);
    return FirstReplaceField + qMax(0, lbFields->currentRow());
}

// The two editors of the current field: only a new value for a reason or
// a payment mode.
void TfmEbcDataReplace::BuildValues()
{
    auto *grid = qobject_cast<QGridLayout *>(tsValues->layout());
    delete edOldValue;
    delete edNewValue;
    laField->setText(m_field.Caption);
    const bool oldValue = !m_field.NewValueOnly();
    edOldValue = new TEbcReplaceEditor(m_field, true, tsValues);
    edOldValue->setObjectName(u"edOldValue"_s);
    const bool reasons = m_field.Name.compare(u"iCauId"_s, Qt::CaseInsensitive) == 0;
    edNewValue = reasons ? new TEbcReplaceEditor(m_field, false, tsValues, ReasonsOfTheYear,
                                                 TEbdContext::Bindable(TEbdCtx::CauAnsId))
                         : new TEbcReplaceEditor(m_field, false, tsValues);
    edNewValue->setObjectName(u"edNewValue"_s);
    grid->addWidget(edOldValue, 1, 1);
    grid->addWidget(edNewValue, 2, 1);
    laOldValue->setBuddy(edOldValue->Editor());
    laNewValue->setBuddy(edNewValue->Editor());
    for (QWidget *w : std::initializer_list<QWidget *>{laOldValue, edOldValue, cbAny})
        w->setVisible(oldValue);
    cbAny->setChecked(false);
    edOldValue->setEnabled(true);
}

TEbcReplaceRequest TfmEbcDataReplace::Request() const
{
    TEbcReplaceRequest r;
    r.Code = m_def.Code;
    r.Mode = int(m_mode);
    r.Field = m_field;
    if (edNewValue) {
        r.NewValue = edNewValue->Value();
        r.NewText = edNewValue->Text();
    }
    if (edOldValue && !m_field.NewValueOnly())
        r.OldValue = edOldValue->Value();
    r.Any = !m_field.NewValueOnly() && cbAny->isChecked();
    for (const TfrEbcDblLstAcbSelect::TPicked &p : frSelect->Picked()) {
        r.Selected << p.Id.toInt();
        r.Names << p.Pupil;
    }
    return r;
}

void TfmEbcDataReplace::PageChanging(int fromPage, int toPage, bool &allow)
{
    TfmVtWizard::PageChanging(fromPage, toPage, allow);
    if (!allow)
        return;
    if (toPage == pgFields && m_mode != TEbcAcbSelectMode::Replace) {
        allow = false;
        return;
    }
    if (fromPage == pgValues && toPage == pgPreview && edNewValue &&
        (edNewValue->Kind() == TEbcReplaceField::kEnum || edNewValue->Kind() == TEbcReplaceField::kCxEnum) &&
        edNewValue->Value().isNull()) {
        VtMessageDlg(u"Scegliere il valore da inserire."_s, mtWarning, mbOK);
        allow = false;
    }
}

void TfmEbcDataReplace::PageChanged(int page)
{
    m_field = m_def.FieldAt(FieldIndex());
    // Built on the way forward; back from the preview it keeps its values.
    if (page == pgValues && (!edNewValue || m_previousPage < pgValues))
        BuildValues();
    m_previousPage = page;
    if (page == pgPreview)
        ShowPreview();
    TfmVtWizard::PageChanged(page);
}

void TfmEbcDataReplace::ShowPreview()
{
    const TEbcReplaceRequest request = Request();
    const QList<TfrEbcDblLstAcbSelect::TPicked> picked = frSelect->Picked();
    const QList<TEbcPreviewRow> rows = EbcReplacePreview(request);
    grPreview->setRowCount(rows.size());
    int modify = 0;
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList texts = {picked.at(r).Pupil, picked.at(r).Class, picked.at(r).Parent, rows.at(r).CurrentText,
                                   request.NewText, OutcomeText(rows.at(r).Outcome)};
        for (int c = 0; c < texts.size(); ++c)
            grPreview->setItem(r, c, new QTableWidgetItem(texts.at(c)));
        modify += rows.at(r).Outcome == poModify ? 1 : 0;
    }
    laPreview->setText(u"Da modificare: %1 su %2 record selezionati"_s.arg(modify).arg(rows.size()));
}

bool TfmEbcDataReplace::CanAccept()
{
    if (!TfmVtWizard::CanAccept())
        return false;
    if (VtMessageDlg(u"Confermi l'inserimento del dato ?"_s, mtConfirmation, mbYes | mbNo) != mrYes) {
        reject();
        return false;
    }
    int count = 0;
    try {
        count = EbcReplaceRun(Request());
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), mtError, mbOK);
        return false;
    }
    VtMessageDlg(u"Inserito il dato %1 a %2 alunni"_s.arg(m_field.Caption).arg(count), mtInformation, mbOK);
    return true;
}

#include "EbdRAluGen.h"
#include "EbcUAcbSelectMode.h"
#include "EbdFImportaInt.h"
#include "EbdUCac.h"
#include "AbiUIBAN.h"
#include "EbdUContext.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDBLookupEdit.h"
#include "VtDBNumEdit.h"
#include "VtDataSource.h"
#include "VtFormRegistry.h"
#include "VtGuard.h"
#include "VtMessageDlg.h"
#include "VtPaths.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
// %1 the school year: its pupils, by class, surname and name.
const QString PupilList =
    u" SELECT TAna.iAnaId, ac.sAnaCagCode, TAna.sAnaCognome, TAna.sAnaNome, TAna.sAnaCognome || ' ' || TAna.sAnaNome "
    "AS sCognomeNome, VCls_Classi.sClsDesc FROM TAna_Anagrafiche TAna INNER JOIN TAnaCag ac ON ((ac.iAnaId = "
    "TAna.iAnaId) AND (ac.iCagId = 1)) INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = TAna.iAnaId) INNER JOIN TClsPst "
    "Pst ON (Pst.iClsPstId = Sit.iClsPstId) INNER JOIN VCls_Classi ON (VCls_Classi.iClsId = Pst.iClsId) INNER JOIN "
    "VAns_AnniScolast Ans ON (EXTRACT(YEAR FROM VCls_Classi.dStart_Cls) = EXTRACT(YEAR FROM Ans.dAnsVeltoInizio)) "
    "WHERE ##WHERE## AND (Ans.iAnsId = %1) ORDER BY VCls_Classi.sClsDesc, TAna.sAnaCognome, TAna.sAnaNome"_s;

// The relatives of the chosen pupil (0 until there is one).
const QString ParentList =
    u" SELECT TAnaGen.iAnaId, TAnaGen.sAnaCognome, TAnaGen.sAnaNome, TAnaGen.sAnaCognome || ' ' || TAnaGen.sAnaNome AS "
    "sCognomeNomeGen, Gpt.sGptLDesc FROM TAnaGpt INNER JOIN TAna_Anagrafiche TAnaGen ON (TAnaGen.iAnaId = "
    "TAnaGpt.iAnaId_p) INNER JOIN tgpt_gradoparent Gpt ON (Gpt.iGptId = TAnaGpt.iGptId) WHERE (##WHERE## AND "
    "(TAnaGpt.iAnaId = :iAnaIdAlu))"_s;

const QString PaymentModeList = u"SELECT TMpg.iMpgId, TMpg.sMpgDescS, TMpg.sMpgDescL FROM TMpg_ModPagam TMpg WHERE ##WHERE##"_s;

TVtDBControl::TValidate Chosen(const QString &message)
{
    return [message](const QVariant &value, QString &msg) {
        if (value.isNull() || value.toInt() <= 0) {
            msg = message;
            return false;
        }
        return true;
    };
}
}

TfrEbdAluGen::TfrEbdAluGen(QWidget *parent) : TfrVtDBRWGrid(parent)
{
    setObjectName(u"frEbdAluGen"_s);
    AddColumn(u"SACBINTESTATARIO"_s, u"Intestatario"_s, 200);
    AddColumn(u"SCOGNOMENOMEALU"_s, u"Alunno"_s, 200);
    AddColumn(u"SANACAGCODE"_s, u"Matricola"_s, 90);
    AddColumn(u"SCLSDESC"_s, u"Classe"_s, 150);
    AddColumn(u"SACBIBAN"_s, u"IBAN"_s, 240);
    AddColumn(u"SMPGDESCL"_s, u"Tipo pagamento"_s, 140);
    grMain->SetSortable(true);

    xdlAlunno = AddLookup(u"xdlAlunno"_s, u"IANAID"_s, u"Alunno"_s,
                          PupilList.arg(TEbdContext::GetOr0(TEbdCtx::AnsId)), u"TAna.iAnaId"_s,
                          u"TAna.sAnaCognome || ' ' || TAna.sAnaNome"_s);
    xdlAlunno->ListColumn = u"SCOGNOMENOME"_s;
    xdlAlunno->SetSearchForm(u"Alunni"_s, 620, {{u"SANACAGCODE"_s, u"Matricola"_s, 90, true},
                                               {u"SANACOGNOME"_s, u"Cognome"_s, 170, true},
                                               {u"SANANOME"_s, u"Nome"_s, 150, true},
                                               {u"SCLSDESC"_s, u"Classe"_s, 150, true}});
    xdlAlunno->SetCopyFields({u"SANACAGCODE"_s, u"SCLSDESC"_s});
    xdlAlunno->OnValidate = Chosen(u"Alunno obbligatorio"_s);
    xdlAlunno->OnChangeFKValue = [this](TVtDBLookupEdit *, const QVariant &key) { xdlAlunnoChangeFKValue(key); };

    xdlGenitori = AddLookup(u"xdlGenitori"_s, u"IANAID_P"_s, u"Genitori"_s, ParentList, u"TAnaGen.iAnaId"_s,
                            u"TAnaGen.sAnaCognome || ' ' || TAnaGen.sAnaNome"_s);
    xdlGenitori->ListColumn = u"SCOGNOMENOMEGEN"_s;
    xdlGenitori->ListParams().CreateParam(QMetaType::Int, u"iAnaIdAlu"_s)->SetValue(0);
    xdlGenitori->SetSearchForm(u"Genitori"_s, 620, {{u"SANACOGNOME"_s, u"Cognome"_s, 150, true},
                                                   {u"SANANOME"_s, u"Nome"_s, 130, true},
                                                   {u"SCOGNOMENOMEGEN"_s, u"Cognome Nome"_s, 200, false},
                                                   {u"SGPTLDESC"_s, u"Parentela"_s, 110, false}});
    xdlGenitori->SetCopyFields({u"SCOGNOMENOMEGEN"_s});
    xdlGenitori->OnValidate = Chosen(u"Genitore obbligatorio"_s);
    xdlGenitori->OnChangeFKValue = [this](TVtDBLookupEdit *, const QVariant &key) { xdlGenitoriChangeFKValue(key); };

    xdeIBAN = AddEdit(u"xdeIBAN"_s, u"SACBIBAN"_s, u"Codice IBAN"_s);
    xdeIBAN->SetInput(ecUpperCase, cfLettersDigits, 34);
    xdeIBAN->OnValidate = [](const QVariant &value, QString &msg) {
        const QString iban = value.toString().trimmed();
        if (iban.isEmpty() || CheckIBAN(iban))
            return true;
        msg = u"Codice IBAN non valido"_s;
        return false;
    };
    xdlTipoPagamento = AddLookup(u"xdlTipoPagamento"_s, u"IMPGID"_s, u"Tipo di pagamento"_s, PaymentModeList,
                                 u"TMpg.iMpgId"_s, u"TMpg.sMpgDescL"_s);
    xdlTipoPagamento->SetSearchForm(u"Tipi di pagamento"_s, 420, {{u"SMPGDESCS"_s, u"Codice"_s, 90, true},
                                                                {u"SMPGDESCL"_s, u"Tipo Pagamento"_s, 260, true}});
    xdlTipoPagamento->SetCopyFields({u"SMPGDESCL"_s});
    xdlTipoPagamento->OnValidate = Chosen(u"Tipo pagamento"_s);
    xdeIntestatario = AddEdit(u"xdeIntestatario"_s, u"SACBINTESTATARIO"_s, u"Intestatario"_s);
    xdeIntestatario->SetInput(ecNormal, cfAny, 120);
    xdeClasse = AddEdit(u"xdeClasse"_s, u"SCLSDESC"_s, u"Classe"_s, true);
    xneSconto = AddNumEdit(u"xneSconto"_s, u"FACBPERCSCONTO"_s, u"Sconto"_s);
    xneSconto->OnValidate = EbdCacPercentValidation();
    xddDataMandato = AddDateEdit(u"xddDataMandato"_s, u"DACBDATAMANDATO"_s, u"Data firma mandato"_s);

    xdsMain->OnDataChange = [this](TVtDataSource *, TVtField *field) {
        if (!field && DataSet() && DataSet()->Active())
            ReloadParents(DataSet()->IsEmpty() ? QVariant() : FieldByName(u"IANAID"_s)->Value());
    };

    // The commands on many records at once, under one button.
    auto *menu = new QMenu(this);
    menu->setToolTipsVisible(true);
    auto command = [this, menu](const QString &name, const QString &caption, std::function<void()> run) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(name);
        a->setProperty("Category", u"Intestatari"_s);
        connect(a, &QAction::triggered, this, [run] { VtGuard(run); });
        return a;
    };
    acInsMultiploCau = command(u"acInsMultiploCau"_s, u"Inserimento multiplo causali"_s,
                               [this] { InsMultiplo(int(TEbcAcbSelectMode::Reasons)); });
    acInsMultiploInt = command(u"acInsMultiploInt"_s, u"Inserimento multiplo intestatari"_s,
                               [this] { InsMultiplo(int(TEbcAcbSelectMode::Holders)); });
    acSostMultiplaDati = command(u"acSostMultiplaDati"_s, u"Sostituzione multipla dati"_s,
                                 [this] { InsMultiplo(int(TEbcAcbSelectMode::Replace)); });
    acAnnullaSostMultipla = command(u"acAnnullaSostMultipla"_s, u"Annulla ultima sostituzione multipla"_s, [this] {
        if (UndoLastReplace && UndoLastReplace())
            DoRefresh();
    });
    menu->addSeparator();
    acImportaInt = command(u"acImportaInt"_s, u"Importa intestatari..."_s, [this] { acImportaIntExecute(); });
    auto *button = new QToolButton(this);
    button->setObjectName(u"buMultiplo"_s);
    button->setText(u"Inserimento multiplo"_s);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    tbActions->addSeparator();
    tbActions->addWidget(button);
    UpdateActions();
}

const QString TfrEbdAluGen::DataReplaceClass = u"TfmEbcDataReplace"_s;
std::function<bool()> TfrEbdAluGen::UndoLastReplace;

void TfrEbdAluGen::UpdateActions()
{
    TfrVtDBRWGrid::UpdateActions();
    if (!acImportaInt)
        return;   // still being built
    const bool browse = xdsMain->State() == dsBrowse && DataSet() && DataSet()->Active() && !ReadOnly();
    const bool replace = TVtFormRegistry::IsRegistered(DataReplaceClass);
    for (QAction *a : {acInsMultiploCau, acInsMultiploInt, acSostMultiplaDati}) {
        a->setEnabled(browse && replace);
        a->setToolTip(replace ? a->text() : u"Disponibile con la sostituzione dati"_s);
    }
    acAnnullaSostMultipla->setEnabled(browse && UndoLastReplace != nullptr);
    acImportaInt->setEnabled(browse);
}

// The wizard works in the mode set here; the holder list is read again
// when it closes.
void TfrEbdAluGen::InsMultiplo(int mode)
{
    SetEbcAcbSelectMode(TEbcAcbSelectMode(mode));
    std::unique_ptr<QWidget> form(TVtFormRegistry::CreateForm(DataReplaceClass, window()));
    if (auto *dialog = qobject_cast<QDialog *>(form.get()))
        dialog->exec();
    DoRefresh();
}

void TfrEbdAluGen::acImportaIntExecute()
{
    const QString file = VtMessageService().OpenFileName(
        u"Importa intestatari"_s, VtPaths::DataPath({u"ebd"_s, u"import"_s}),
        u"File CSV (*.csv *.txt);;Tutti i file (*)"_s);
    if (file.isEmpty())
        return;
    TfmEbdImportaInt dialog(window());
    if (dialog.LoadFile(file) && dialog.exec() == QDialog::Accepted)
        DoRefresh();
}

void TfrEbdAluGen::ReloadParents(const QVariant &pupil)
{
    TVtParam *p = xdlGenitori->ListParams().FindParam(u"iAnaIdAlu"_s);
    if (p->Value().toInt() == pupil.toInt() && !pupil.isNull())
        return;
    p->SetValue(pupil.isNull() ? 0 : pupil.toInt());
    xdlGenitori->RefreshList();
}

// A pupil's relatives are the parents on offer; its class is shown.
void TfrEbdAluGen::xdlAlunnoChangeFKValue(const QVariant &key)
{
    ReloadParents(key);
    if (TVtQueryCollection *list = xdlAlunno->ListDataSet(); !key.isNull() && list->Active() && !list->IsEmpty())
        FieldByName(u"SCOGNOMENOMEALU"_s)->SetValue(list->FieldByName(u"SCOGNOMENOME"_s)->Value());
    const QVariant parent = FieldByName(u"IANAID_P"_s)->Value();
    if (!parent.isNull() && !xdlGenitori->SeekByID(parent))
        xdlGenitori->ClearKey();   // a parent of another pupil
}

// The account holder's name is the parent's, until the user changes it.
void TfrEbdAluGen::xdlGenitoriChangeFKValue(const QVariant &key)
{
    if (!key.isNull())
        FieldByName(u"SACBINTESTATARIO"_s)->SetAsString(xdlGenitori->Text());
}

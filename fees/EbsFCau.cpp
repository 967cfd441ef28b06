#include "EbsFCau.h"
#include "EbdUContext.h"
#include "EbdUGlobals.h"
#include "EbsFDuplicaCausali.h"
#include "EbsMDataSets.h"
#include "EbsRCau.h"
#include "EbsRCauCca.h"
#include "VtDBLookupEdit.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtMessageDlg.h"

#include <QAction>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {
const QString AtLeastOneComponent = u"Almeno un componente deve essere associato alla causale."_s;

TVtQueryCollection *Reasons() { return dmEbsDataSets ? dmEbsDataSets->xqcCaus : nullptr; }
TVtQueryCollection *Links() { return dmEbsDataSets ? dmEbsDataSets->xqcCauCca : nullptr; }
}

TfmEbsCau::TfmEbsCau(QWidget *parent) : TfmEbsFeeWindow(u"Causali di &entrata"_s, u"Causali di &uscita"_s, parent)
{
    setObjectName(u"fmEbsCau"_s);
    setWindowTitle(u"Causali"_s);
    resize(860, 640);

    frEbsCau = new TfrEbsCau(this);
    AddFrame(frEbsCau, 3);
    frEbsCauCca = new TfrEbsCauCca(this);
    AddFrame(frEbsCauCca, 2);
    frEbsCau->pcMain->setCurrentIndex(0);
    frEbsCauCca->pcMain->setCurrentIndex(0);

    if (TVtQueryCollection *reasons = Reasons()) {
        frEbsCau->BindDataSet(reasons);
        frEbsCauCca->BindDataSet(Links());
        reasons->BeforePost.Add(this, [this](TVtQueryCollection *ds) { m_reasonWasNew = ds->State() == dsInsert; });
        reasons->AfterPost.Add(this, [this](TVtQueryCollection *) { xqcCausAfterPost(); });
    }
    frEbsCau->xdsMain->OnDataChange.Add(this, [this](TVtDataSource *, TVtField *field) {
        if (!field)
            xqcCausAfterScroll();
    });
    frEbsCauCca->xdsMain->OnDataChange.Add(this, [this](TVtDataSource *, TVtField *field) {
        if (!field)
            RefreshComponentLookup();
    });
    frEbsCauCca->xdsMain->OnStateChange.Add(this, [this](TVtDataSource *) { frEbsCauCcaStateChange(); });
    connect(frEbsCau->acDuplica, &QAction::triggered, this, [this] { DuplicateReasons(); });

    SetShowTreasuryAmount(false);
}

TfmEbsCau::~TfmEbsCau()
{
    CloseQueries();
}

TVtQueryCollection *TfmEbsCau::DirectionList() const
{
    return Reasons();
}

void TfmEbsCau::SetShowAll(bool on)
{
    m_showAll = on;
    if (TVtQueryCollection *reasons = Reasons(); reasons && reasons->Active()) {
        reasons->Params().ParamByName(u"ShowAll"_s)->SetValue(on ? 1 : 0);
        reasons->Refresh();
    }
    RefreshComponentLookup();
}

void TfmEbsCau::SetShowTreasuryAmount(bool on)
{
    frEbsCau->SetDetailVisible(frEbsCau->xneImportoEra, on);
    frEbsCauCca->SetDetailVisible(frEbsCauCca->xneImportoEra, on);
}

// The reasons of the reasons' school year, direction and visibility.
void TfmEbsCau::FormShow()
{
    TVtQueryCollection *reasons = Reasons();
    if (!reasons)
        return;
    reasons->Close();
    reasons->Params().ParamByName(u"iAnsId"_s)->SetValue(TEbdContext::Bindable(TEbdCtx::CauAnsId));
    reasons->Params().ParamByName(u"ShowAll"_s)->SetValue(m_showAll ? 1 : 0);
    reasons->Params().ParamByName(u"lCauTipo"_s)->SetValue(Direction());
    reasons->Open();
}

void TfmEbsCau::CloseQueries()
{
    if (Links())
        Links()->Close();
    if (Reasons())
        Reasons()->Close();
}

// Owner of the reason: until it has its first component any owner's
// components may be added; from then on only those of its owner (the
// ownerless ones for an ownerless reason).
void TfmEbsCau::RefreshComponentLookup()
{
    TVtQueryCollection *reasons = Reasons();
    TVtQueryCollection *links = Links();
    if (!reasons)
        return;
    int owner = -1;
    if (reasons->Active() && !reasons->IsEmpty() && reasons->State() != dsInsert && links->Active() && !links->IsEmpty()
        && !(links->State() == dsInsert && links->RecordCount() == 1))
        owner = reasons->FieldByName(u"IDWGID"_s)->AsInteger();
    frEbsCauCca->SetComponentFilter(m_showAll, Direction(), TEbdContext::GetOr0(TEbdCtx::CauAnsId), owner);
}

void TfmEbsCau::xqcCausAfterScroll()
{
    RefreshComponentLookup();
    ApplyInUseLocks();
}

// A reason that movements or tax payments use keeps its components.
void TfmEbsCau::ApplyInUseLocks()
{
    TVtQueryCollection *reasons = Reasons();
    const bool used = reasons && reasons->Active() && !reasons->IsEmpty() && reasons->State() != dsInsert
                      && CauIsUsed(frEbsCau->ReasonId());
    for (TVtDataAction *a : {frEbsCauCca->xacInsert, frEbsCauCca->xacEdit, frEbsCauCca->xacDelete})
        a->SetLocked(used);
    frEbsCauCca->xdlCodice->SetReadOnly(used);
}

// A new reason is given its first component at once: the link cannot be
// abandoned until it is saved.
void TfmEbsCau::xqcCausAfterPost()
{
    if (!m_reasonWasNew)
        return;
    m_reasonWasNew = false;
    ForceFirstComponent();
}

void TfmEbsCau::ForceFirstComponent()
{
    ApplyInUseLocks();
    RefreshComponentLookup();
    if (frEbsCauCca->xacInsert->Execute())
        frEbsCauCca->xacCancel->SetLocked(Links()->State() == dsInsert);
}

void TfmEbsCau::frEbsCauCcaStateChange()
{
    if (Links() && Links()->State() != dsInsert)
        frEbsCauCca->xacCancel->SetLocked(false);
}

void TfmEbsCau::DirectionChanged()
{
    if (TVtQueryCollection *reasons = Reasons(); reasons && reasons->Active()) {
        reasons->Params().ParamByName(u"lCauTipo"_s)->SetValue(Direction());
        reasons->Close();
        reasons->Open();
    }
    RefreshComponentLookup();
}

void TfmEbsCau::DuplicateReasons()
{
    TfmEbsDuplicaCausali dialog(this);
    dialog.SetSource(Direction(), m_showAll, TEbdContext::GetOr0(TEbdCtx::CauAnsId) - 1);
    dialog.exec();
}

// Every reason keeps at least one component.
bool TfmEbsCau::CloseQuery()
{
    TVtQueryCollection *reasons = Reasons();
    TVtQueryCollection *links = Links();
    if (reasons && reasons->State() == dsInsert) {
        VtMessageDlg(AtLeastOneComponent, mtError, mbOK);
        return false;
    }
    if (frEbsCauCca->xacCancel->Locked() && frEbsCauCca->xdlCodice->KeyValue().isNull()) {
        VtMessageDlg(AtLeastOneComponent, mtError, mbOK);
        return false;
    }
    if (!TfmVtChildDB::CloseQuery())
        return false;
    if (reasons && reasons->Active() && !reasons->IsEmpty() && links && links->Active() && links->IsEmpty()) {
        ForceFirstComponent();
        VtMessageDlg(AtLeastOneComponent, mtError, mbOK);
        return false;
    }
    return true;
}

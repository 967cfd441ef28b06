#include "EbsFCca.h"
#include "EbcRCca.h"
#include "EbdUContext.h"
#include "EbsMDataSets.h"
#include "VtDBNumEdit.h"

#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {
TVtQueryCollection *Components() { return dmEbsDataSets ? dmEbsDataSets->xqcCompCaus : nullptr; }
}

TfmEbsCca::TfmEbsCca(QWidget *parent)
    : TfmEbsFeeWindow(u"Componenti di &entrata"_s, u"Componenti di &uscita"_s, parent)
{
    setObjectName(u"fmEbsCca"_s);
    setWindowTitle(u"Componenti di causali"_s);
    resize(860, 620);

    frEbcCca = new TfrEbcCca(this);
    frEbcCca->pcMain->setCurrentIndex(0);
    AddFrame(frEbcCca);
    // The statements are the data module's own: set once, never appended to.
    if (TVtQueryCollection *components = Components())
        frEbcCca->BindDataSet(components);
    SetShowTreasuryAmount(false);
}

TfmEbsCca::~TfmEbsCca()
{
    CloseQueries();
}

TVtQueryCollection *TfmEbsCca::DirectionList() const
{
    return Components();
}

void TfmEbsCca::CloseQueries()
{
    if (Components())
        Components()->Close();
}

void TfmEbsCca::SetShowAll(bool on)
{
    m_showAll = on;
    frEbcCca->SetVuvezShown(on);
    if (Components() && Components()->Active())
        Reopen();
}

void TfmEbsCca::SetShowTreasuryAmount(bool on)
{
    frEbcCca->SetDetailVisible(frEbcCca->xneImportoEra, on);
}

void TfmEbsCca::FormShow()
{
    frEbcCca->SetSchoolYear(TEbdContext::GetOr0(TEbdCtx::CauAnsId));
    Reopen();
}

// The components of the reasons' school year, direction and visibility.
void TfmEbsCca::Reopen()
{
    TVtQueryCollection *components = Components();
    if (!components)
        return;
    components->Close();
    components->Params().ParamByName(u"iAnsId"_s)->SetValue(TEbdContext::Bindable(TEbdCtx::CauAnsId));
    components->Params().ParamByName(u"ShowAll"_s)->SetValue(m_showAll ? 1 : 0);
    components->Params().ParamByName(u"lCcaTipo"_s)->SetValue(Direction());
    components->Open();
}

void TfmEbsCca::DirectionChanged()
{
    frEbcCca->SetDirection(Direction());
    if (Components() && Components()->Active())
        Reopen();
}

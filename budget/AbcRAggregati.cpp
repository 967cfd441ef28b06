#include "AbcRAggregati.h"
#include "EbdUGlobals.h"
#include "VtDBEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtGridCsv.h"
#include "VtQueryCollection.h"

#include <QAction>
#include <QFormLayout>
#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfrAggregati::TfrAggregati(QWidget *parent) : TfrAbcBudgetGrid(parent)
{
    setObjectName(u"frFAggregati"_s);
    AddCaption();

    AddColumn(u"SAGGDESCS"_s, u"Codice"_s, 90);
    AddColumn(u"SAGGDESCL"_s, u"Descrizione"_s, 520);
    // Read-only: typing would start an edit that nothing may save.
    xdeCodice = AddEdit(u"xdeCodice"_s, u"SAGGDESCS"_s, u"Codice"_s, true);
    xdeDescrizione = AddEdit(u"xdeDescrizione"_s, u"SAGGDESCL"_s, u"Descrizione"_s, true);
    xdeDescrizione->SetInput(ecNormal, cfAny, 120);
    laInizioValidita = new QLabel(u"Inizio validità"_s, this);
    laDataInizio = new QLabel(this);
    laDataInizio->setObjectName(u"laDataInizio"_s);
    laFineValidita = new QLabel(u"Fine validità"_s, this);
    laDataFine = new QLabel(this);
    laDataFine->setObjectName(u"laDataFine"_s);
    DetailLayout()->addRow(laInizioValidita, laDataInizio);
    DetailLayout()->addRow(laFineValidita, laDataFine);

    acEsportaCsv = new QAction(u"Esporta in CSV..."_s, this);
    acEsportaCsv->setObjectName(u"acEsportaCsv"_s);
    tbActions->addAction(acEsportaCsv);
    connect(acEsportaCsv, &QAction::triggered, this, [this] { ExportCsv(); });

    // The aggregates are only listed: no action writes anything (a delete
    // would drop the row from the list and leave it in the table).
    for (TVtDataAction *a : {xacInsert, xacEdit, xacTrash, xacDelete, xacPost})
        a->SetLocked(true);
    xdsMain->OnDataChange = [this](TVtDataSource *, TVtField *field) {
        if (!field)
            ShowValidity();
    };
    ShowValidity();
}

void TfrAggregati::SetSlice(int flsId, int titoId)
{
    m_flsId = flsId;
    m_titoId = titoId;
    xdeCodice->SetInput(ecUpperCase, flsId == 1 ? cfDigits : cfAny, flsId == 1 ? 2 : 1);
    RefreshCaption();
}

QString TfrAggregati::SliceCaption() const
{
    return (m_flsId == 1 ? u"Aggregati - Entrate"_s : u"Aggregati - Uscite"_s)
        + (m_titoId == 1 ? u" - In totale"_s : u" - Fuori totale"_s);
}

// Both dates of an aggregate that ends; nothing of one that stays open.
void TfrAggregati::ShowValidity()
{
    TVtQueryCollection *ds = DataSet();
    const bool ends = ds && ds->Active() && !ds->IsEmpty() && !ds->FieldByName(u"DEND"_s)->IsNull();
    for (QLabel *l : {laInizioValidita, laDataInizio, laFineValidita, laDataFine})
        l->setVisible(ends);
    if (ends) {
        laDataInizio->setText(ds->FieldByName(u"DSTART"_s)->AsDate().toString(u"dd/MM/yyyy"_s));
        laDataFine->setText(ds->FieldByName(u"DEND"_s)->AsDate().toString(u"dd/MM/yyyy"_s));
    }
}

bool TfrAggregati::ExportCsv()
{
    return VtExportGridCsv(*grMain, SliceCaption() + u" - %1.csv"_s.arg(gAnfValore),
                           {{u"DSTART"_s, u"Inizio validità"_s, 0}, {u"DEND"_s, u"Fine validità"_s, 0}});
}

void TfrAggregati::UpdateActions()
{
    TfrVtDBRWGrid::UpdateActions();
    acEsportaCsv->setEnabled(DataSet() && DataSet()->Active());
}

#include "EbsRCau.h"
#include "EbdUGlobals.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtMessageDlg.h"

#include <QAction>
#include <QToolBar>

using namespace Qt::StringLiterals;

TfrEbsCau::TfrEbsCau(QWidget *parent) : TfrEbsFeeGrid(parent)
{
    setObjectName(u"frEbsCau"_s);
    AddColumn(u"SCAUSDESC"_s, u"Codice"_s, 110);
    AddColumn(u"SCAULDESC"_s, u"Descrizione"_s, 340);
    AddColumn(u"SANSANNODESC"_s, u"Anno scolastico"_s, 120);
    grMain->SetSortable(true);

    xdeDescrizione = AddEdit(u"xdeDescrizione"_s, u"SCAULDESC"_s, u"Descrizione"_s);
    xdeDescrizione->SetInput(ecNormal, cfAny, 100);
    xdeDescrizione->OnValidate = [this](const QVariant &v, QString &msg) { return ValidateInUse(u"Descrizione"_s, v, msg); };
    xdeCodice = AddEdit(u"xdeCodice"_s, u"SCAUSDESC"_s, u"Codice"_s);
    xdeCodice->SetInput(ecNormal, cfAny, 20);
    xdeCodice->OnValidate = [this](const QVariant &v, QString &msg) { return ValidateInUse(u"Codice"_s, v, msg); };
    xneImportoIst = AddNumEdit(u"xneImportoIst"_s, u"FCAUIMPORTOIST"_s, u"Importo istituto"_s, true);
    xneImportoIst->DisplayFormat = u"#,###.00"_s;
    xneImportoEra = AddNumEdit(u"xneImportoEra"_s, u"FCAUIMPORTOERA"_s, u"Importo erario"_s, true);
    xneImportoEra->DisplayFormat = u"#,###.00"_s;
    xdeAnsDesc = AddEdit(u"xdeAnsDesc"_s, u"SANSANNODESC"_s, u"A.S. causale"_s, true);

    acDuplica = new QAction(u"Duplica Causali"_s, this);
    acDuplica->setObjectName(u"acDuplica"_s);
    tbActions->addSeparator();
    tbActions->addAction(acDuplica);
    SetDeleteOffered(false);
    xdsMain->OnDataChange.Add(this, [this](TVtDataSource *, TVtField *field) {
        if (!field)
            m_questionArmed = true;
    });
    xdsMain->OnStateChange.Add(this, [this](TVtDataSource *) {
        if (xdsMain->State() == dsEdit)
            m_questionArmed = true;
    });
}

int TfrEbsCau::ReasonId() const
{
    TVtQueryCollection *ds = DataSet();
    return ds && ds->Active() && !ds->IsEmpty() ? FieldByName(u"ICAUID"_s)->AsInteger() : 0;
}

// Required; and a change to a reason that movements or tax payments use
// reaches them all, so the user is asked first (No cancels the edit).
bool TfrEbsCau::ValidateInUse(const QString &caption, const QVariant &value, QString &message)
{
    if (value.toString().trimmed().isEmpty()) {
        message = u"Il campo %1 è obbligatorio."_s.arg(caption);
        return false;
    }
    if (xdsMain->State() != dsEdit || !m_questionArmed || !CauIsUsed(ReasonId()))
        return true;
    m_questionArmed = false;
    if (VtConfirm(u"Le modifiche apportate alla causale si propagheranno a tutti\r\ni movimenti sui conti dell'istituto "
                  "e/o versamenti sul Registro Tasse\r\ncollegati ad essa.\r\nProcedere?"_s))
        return true;
    xacCancel->Execute();
    return true;
}

void TfrEbsCau::UpdateActions()
{
    TfrEbsFeeGrid::UpdateActions();
    acDuplica->setEnabled(xdsMain->State() == dsBrowse);
}

#include "frVtDBRWGrid.h"
#include "VtDBCheckBox.h"
#include "VtDBComboBox.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDBLookupEdit.h"
#include "VtDBMemo.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtException.h"
#include "VtGuard.h"

#include <QAction>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

TfrVtDBRWGrid::TfrVtDBRWGrid(QWidget *parent) : TfrVtDB(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tbActions = new QToolBar(this);
    tbActions->setObjectName(QStringLiteral("tbActions"));
    tbActions->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(tbActions);

    pcMain = new QTabWidget(this);
    pcMain->setObjectName(QStringLiteral("pcMain"));
    tsGrid = new QWidget;
    tsGrid->setObjectName(QStringLiteral("tsGrid"));
    auto *gridLayout = new QVBoxLayout(tsGrid);
    gridLayout->setContentsMargins(2, 2, 2, 2);
    grMain = new TVtDBGrid(tsGrid);
    grMain->setObjectName(QStringLiteral("grMain"));
    grMain->SetDataSource(xdsMain);
    gridLayout->addWidget(grMain);
    pcMain->addTab(tsGrid, QStringLiteral("Elenco"));

    tsDetail = new QWidget;
    tsDetail->setObjectName(QStringLiteral("tsDetail"));
    auto *detailLayout = new QVBoxLayout(tsDetail);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(tsDetail);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *formHost = new QWidget;
    m_form = new QFormLayout(formHost);
    m_target = m_form;
    m_form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    scroll->setWidget(formHost);
    detailLayout->addWidget(scroll);
    pcMain->addTab(tsDetail, QStringLiteral("Dettaglio"));
    layout->addWidget(pcMain, 1);

    xacInsert = MakeAction(QStringLiteral("xacInsert"), QStringLiteral("Nuovo"), &TfrVtDBRWGrid::DoInsert);
    xacEdit = MakeAction(QStringLiteral("xacEdit"), QStringLiteral("Modifica"), &TfrVtDBRWGrid::DoEdit);
    xacPost = MakeAction(QStringLiteral("xacPost"), QStringLiteral("Salva"), &TfrVtDBRWGrid::DoPost);
    xacCancel = MakeAction(QStringLiteral("xacCancel"), QStringLiteral("Annulla"), &TfrVtDBRWGrid::DoCancel);
    xacTrash = MakeAction(QStringLiteral("xacTrash"), QStringLiteral("Elimina"), &TfrVtDBRWGrid::DoTrash);
    xacDelete = MakeAction(QStringLiteral("xacDelete"), QStringLiteral("Cancella"), &TfrVtDBRWGrid::DoDelete);
    xacRefresh = MakeAction(QStringLiteral("xacRefresh"), QStringLiteral("Aggiorna"), &TfrVtDBRWGrid::DoRefresh);

    connect(xdsMain, &TVtDataSource::StateChanged, this, [this] { StateChanged(); });
    connect(xdsMain, &TVtDataSource::DataChanged, this, [this](TVtField *f) {
        if (!f)
            UpdateActions();
    });
    connect(xdsMain, &TVtDataSource::SettingsChanged, this, [this] { UpdateActions(); });
    connect(grMain, &TVtDBGrid::RowActivated, this, [this] { ShowDetail(); });
    connect(pcMain, &QTabWidget::currentChanged, this, [this](int i) { PageChanged(i); });
    UpdateActions();
}

TVtDataAction *TfrVtDBRWGrid::MakeAction(const QString &name, const QString &caption, void (TfrVtDBRWGrid::*slot)())
{
    auto *a = new TVtDataAction(caption, this);
    a->setObjectName(name);
    a->DataSource = xdsMain;
    a->DefaultExecute = [this, slot](TVtDataAction *) { (this->*slot)(); };
    tbActions->addAction(a);
    addAction(a);
    return a;
}

QList<TVtDataAction *> TfrVtDBRWGrid::Actions() const
{
    return {xacInsert, xacEdit, xacPost, xacCancel, xacTrash, xacDelete, xacRefresh};
}

QAction *TfrVtDBRWGrid::AddToggle(const QString &name, const QString &caption, const QString &category,
                                  std::function<void(bool on)> toggled)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    action->setProperty("Category", category);
    action->setCheckable(true);
    connect(action, &QAction::toggled, this, [toggled](bool on) { VtGuard([&] { toggled(on); }); });
    tbActions->addSeparator();
    tbActions->addAction(action);
    return action;
}

void TfrVtDBRWGrid::AddColumn(const QString &fieldName, const QString &title, int width)
{
    grMain->AddColumn(fieldName, title, width);
}

TVtDBControl *TfrVtDBRWGrid::AddDetailField(const TVtDetailField &def)
{
    TVtDBControl *c = nullptr;
    QString caption = def.Caption;
    switch (def.Kind) {
    case dkEdit: c = new TVtDBEdit; break;
    case dkDate: c = new TVtDBDateEdit; break;
    case dkNumeric: c = new TVtDBNumEdit; break;
    case dkCheck:
        c = new TVtDBCheckBox(def.Caption);
        caption.clear();
        break;
    case dkMemo: c = new TVtDBMemo; break;
    case dkCombo: c = new TVtDBComboBox; break;
    case dkLookup: {
        auto *l = new TVtDBLookupEdit;
        l->ListCommandText = def.ListCommandText;
        l->KeyField = def.KeyField;
        l->ListField = def.ListField;
        c = l;
        break;
    }
    }
    c->setObjectName(def.Name.isEmpty() ? QStringLiteral("xdc") + def.FieldName : def.Name);
    c->SetReadOnly(def.ReadOnly);
    c->OnValidate = def.Validate;
    c->Bind(xdsMain, def.FieldName);
    m_target->addRow(caption.isEmpty() ? QString() : caption + QLatin1Char(':'), c);
    m_controls << c;
    return c;
}

TVtDBEdit *TfrVtDBRWGrid::AddEdit(const QString &name, const QString &fieldName, const QString &caption, bool readOnly)
{
    return static_cast<TVtDBEdit *>(AddDetailField({dkEdit, fieldName, caption, readOnly, {}, name, {}, {}, {}}));
}

TVtDBDateEdit *TfrVtDBRWGrid::AddDateEdit(const QString &name, const QString &fieldName, const QString &caption, bool readOnly)
{
    return static_cast<TVtDBDateEdit *>(AddDetailField({dkDate, fieldName, caption, readOnly, {}, name, {}, {}, {}}));
}

TVtDBNumEdit *TfrVtDBRWGrid::AddNumEdit(const QString &name, const QString &fieldName, const QString &caption, bool readOnly)
{
    return static_cast<TVtDBNumEdit *>(AddDetailField({dkNumeric, fieldName, caption, readOnly, {}, name, {}, {}, {}}));
}

TVtDBCheckBox *TfrVtDBRWGrid::AddCheckBox(const QString &name, const QString &fieldName, const QString &caption, bool readOnly)
{
    return static_cast<TVtDBCheckBox *>(AddDetailField({dkCheck, fieldName, caption, readOnly, {}, name, {}, {}, {}}));
}

TVtDBMemo *TfrVtDBRWGrid::AddMemo(const QString &name, const QString &fieldName, const QString &caption, bool readOnly)
{
    return static_cast<TVtDBMemo *>(AddDetailField({dkMemo, fieldName, caption, readOnly, {}, name, {}, {}, {}}));
}

TVtDBComboBox *TfrVtDBRWGrid::AddComboBox(const QString &name, const QString &fieldName, const QString &caption, bool readOnly)
{
    return static_cast<TVtDBComboBox *>(AddDetailField({dkCombo, fieldName, caption, readOnly, {}, name, {}, {}, {}}));
}

TVtDBLookupEdit *TfrVtDBRWGrid::AddLookup(const QString &name, const QString &fieldName, const QString &caption,
                                          const QString &listCommandText, const QString &keyField,
                                          const QString &listField, bool readOnly)
{
    return static_cast<TVtDBLookupEdit *>(
        AddDetailField({dkLookup, fieldName, caption, readOnly, {}, name, listCommandText, keyField, listField}));
}

void TfrVtDBRWGrid::AddDetailWidget(const QString &caption, QWidget *widget)
{
    m_target->addRow(caption.isEmpty() ? QString() : caption + QLatin1Char(':'), widget);
}

QGroupBox *TfrVtDBRWGrid::BeginGroup(const QString &name, const QString &title)
{
    EndGroup();
    auto *group = new QGroupBox(title);
    group->setObjectName(name);
    m_form->addRow(QString(), group);
    m_target = new QFormLayout(group);
    return group;
}

void TfrVtDBRWGrid::EndGroup()
{
    m_target = m_form;
}

TVtDBControl *TfrVtDBRWGrid::FindControl(const QString &fieldName) const
{
    for (TVtDBControl *c : m_controls)
        if (c->DataField().compare(fieldName, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void TfrVtDBRWGrid::SetDetailVisible(QWidget *control, bool visible)
{
    auto *layout = control->parentWidget() ? qobject_cast<QFormLayout *>(control->parentWidget()->layout()) : nullptr;
    if (layout && layout->indexOf(control) >= 0)
        layout->setRowVisible(control, visible);
    else
        control->setVisible(visible);
}

void TfrVtDBRWGrid::ShowGrid()
{
    m_switching = true;
    pcMain->setCurrentWidget(tsGrid);
    m_switching = false;
}

void TfrVtDBRWGrid::ShowDetail()
{
    m_switching = true;
    pcMain->setCurrentWidget(tsDetail);
    m_switching = false;
}

bool TfrVtDBRWGrid::DetailShown() const
{
    return pcMain->currentWidget() == tsDetail;
}

void TfrVtDBRWGrid::PageChanged(int index)
{
    if (m_switching || pcMain->widget(index) != tsGrid || !xdsMain->Editing())
        return;
    // Leaving the detail page during an edit posts it; a refusal keeps the page.
    if (!PostEdit())
        ShowDetail();
}

void TfrVtDBRWGrid::FocusFirstControl()
{
    for (TVtDBControl *c : m_controls)
        if (!c->isHidden() && !c->EffectiveReadOnly()) {
            c->FocusEditor();
            return;
        }
}

void TfrVtDBRWGrid::StateChanged()
{
    const bool editing = xdsMain->Editing();
    if (editing && !m_wasEditing)
        ShowDetail();
    else if (!editing && m_wasEditing)
        ShowGrid();
    m_wasEditing = editing;
    UpdateActions();
}

void TfrVtDBRWGrid::UpdateActions()
{
    TVtQueryCollection *ds = DataSet();
    const TVtDataSetState st = xdsMain->State();
    const bool browse = st == dsBrowse;
    const bool editing = st == dsEdit || st == dsInsert;
    const bool ro = ReadOnly();
    const bool hasRow = ds && ds->Active() && !ds->IsEmpty();
    xacInsert->SetAvailable(browse && !ro);
    xacEdit->SetAvailable(browse && !ro && hasRow);
    xacPost->SetAvailable(editing);
    xacCancel->SetAvailable(editing);
    xacTrash->SetAvailable(browse && !ro && hasRow && ds->CanTrash());
    // Offered only where rows can be marked deleted.
    xacTrash->setVisible(ds && ds->Active() && ds->CanTrash());
    xacDelete->SetAvailable(browse && !ro && hasRow && (ds->SQLDelete.Count() > 0 || ds->AutoBuildSQL));
    xacRefresh->SetAvailable(browse);
    if (RowLocked()) {
        xacEdit->SetAvailable(false);
        xacDelete->SetAvailable(false);
        xacTrash->SetAvailable(false);
    }
}

bool TfrVtDBRWGrid::RowLocked() const
{
    TVtQueryCollection *ds = DataSet();
    if (!ds || !ds->Active() || ds->IsEmpty() || ds->State() == dsInsert)
        return false;
    TVtField *lock = ds->FindField(QStringLiteral("ILOCKED"));
    return lock && lock->AsInteger() != 0;
}

void TfrVtDBRWGrid::RefuseLockedRows()
{
    TVtQueryCollection *ds = DataSet();
    if (!ds)
        return;
    auto refuseLocked = [this](TVtQueryCollection *) {
        if (RowLocked())
            Abort();
    };
    ds->BeforeEdit.Add(this, refuseLocked);
    ds->BeforeDelete.Add(this, refuseLocked);
}

bool TfrVtDBRWGrid::PostEdit()
{
    TVtQueryCollection *ds = DataSet();
    if (!ds || !xdsMain->Editing())
        return true;
    if (!xdsMain->CommitControls()) {
        ShowDetail();
        return false;
    }
    if (!ds->Post()) {
        ShowDetail();
        return false;
    }
    return true;
}

void TfrVtDBRWGrid::DoInsert()
{
    TVtQueryCollection *ds = DataSet();
    if (!ds)
        return;
    if (!PostEdit())
        Abort();
    ds->Insert();
    if (xdsMain->Editing()) {
        ShowDetail();
        FocusFirstControl();
    }
}

void TfrVtDBRWGrid::DoEdit()
{
    TVtQueryCollection *ds = DataSet();
    if (!ds || ds->IsEmpty())
        return;
    ds->Edit();
    if (xdsMain->Editing()) {
        ShowDetail();
        FocusFirstControl();
    }
}

void TfrVtDBRWGrid::DoPost()
{
    if (PostEdit())
        ShowGrid();
    else
        Abort();
}

void TfrVtDBRWGrid::DoCancel()
{
    if (TVtQueryCollection *ds = DataSet())
        ds->Cancel();
    ShowGrid();
}

void TfrVtDBRWGrid::DoTrash()
{
    if (TVtQueryCollection *ds = DataSet(); ds && !ds->Trash())
        Abort();
}

void TfrVtDBRWGrid::DoDelete()
{
    if (TVtQueryCollection *ds = DataSet(); ds && !ds->Delete())
        Abort();
}

void TfrVtDBRWGrid::DoRefresh()
{
    xdsMain->Refresh();
}

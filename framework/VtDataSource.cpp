#include "VtDataSource.h"
#include "VtDBControl.h"
#include "VtGuard.h"
#include "VtException.h"
#include "VtMessageDlg.h"

TVtDataSource::TVtDataSource(QObject *parent) : QObject(parent) {}

TVtDataSource::~TVtDataSource()
{
    for (const auto &c : m_connections)
        disconnect(c);
}

void TVtDataSource::SetDataSet(TVtQueryCollection *dataSet)
{
    if (m_dataSet == dataSet)
        return;
    for (const auto &c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_dataSet = dataSet;
    if (dataSet) {
        m_connections << connect(dataSet, &TVtQueryCollection::CurrentChanged, this, [this] { EmitDataChanged(nullptr); });
        m_connections << connect(dataSet, &TVtQueryCollection::Reopened, this, [this] { EmitDataChanged(nullptr); });
        m_connections << connect(dataSet, &TVtQueryCollection::FieldChanged, this, [this](TVtField *f) { EmitDataChanged(f); });
        m_connections << connect(dataSet, &TVtQueryCollection::StateChanged, this, [this] { EmitStateChanged(); });
        m_connections << connect(dataSet, &QObject::destroyed, this, [this] { m_dataSet = nullptr; emit SettingsChanged(); });
    }
    emit SettingsChanged();
    EmitStateChanged();
    EmitDataChanged(nullptr);
}

void TVtDataSource::SetEnabled(bool on)
{
    if (m_enabled == on)
        return;
    m_enabled = on;
    emit SettingsChanged();
    EmitDataChanged(nullptr);
}

TVtDataSetState TVtDataSource::State() const
{
    if (!m_dataSet || !m_enabled)
        return dsInactive;
    return m_dataSet->State();
}

void TVtDataSource::SetReadOnly(bool on)
{
    if (!m_dataSet || m_dataSet->ReadOnly == on)
        return;
    m_dataSet->ReadOnly = on;
    emit SettingsChanged();
}

void TVtDataSource::Refresh()
{
    if (m_dataSet)
        m_dataSet->Refresh();
}

bool TVtDataSource::Edit()
{
    if (!m_dataSet || !m_enabled)
        return false;
    if (Editing())
        return true;
    if (m_dataSet->State() != dsBrowse || m_dataSet->IsEmpty() || m_dataSet->ReadOnly)
        return false;
    if (!VtGuard([this] { m_dataSet->Edit(); }))
        return false;
    return Editing();
}

bool TVtDataSource::CommitControls()
{
    for (TVtDBControl *c : Controls())
        if (!c->CheckForPost()) {
            c->FocusEditor();
            return false;
        }
    return true;
}

void TVtDataSource::NotifyChange()
{
    emit SettingsChanged();
    EmitDataChanged(nullptr);
}

QList<TVtDBControl *> TVtDataSource::Controls() const
{
    QList<TVtDBControl *> list;
    for (const auto &c : m_controls)
        if (c)
            list << c.data();
    return list;
}

void TVtDataSource::RegisterControl(TVtDBControl *control)
{
    for (const auto &c : m_controls)
        if (c == control)
            return;
    m_controls << control;
}

void TVtDataSource::UnregisterControl(TVtDBControl *control)
{
    for (int i = m_controls.size() - 1; i >= 0; --i)
        if (!m_controls[i] || m_controls[i] == control)
            m_controls.removeAt(i);
}

void TVtDataSource::EmitDataChanged(TVtField *field)
{
    emit DataChanged(field);
    if (OnDataChange && m_enabled)
        VtGuard([&] { OnDataChange(this, field); });
}

void TVtDataSource::EmitStateChanged()
{
    emit StateChanged();
    if (OnStateChange && m_enabled)
        VtGuard([this] { OnStateChange(this); });
}

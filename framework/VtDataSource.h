#pragma once
#include "VtQueryCollection.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class TVtDBControl;

// Binds data-aware controls, grids and frames to one collection. Controls
// follow the collection through the source's signals; the source also knows
// every control bound to it, so that a post can first commit what the user
// typed and is still pending in a control.
class TVtDataSource : public QObject
{
    Q_OBJECT
public:
    using TDataChange = TVtEvent<TVtDataSource *, TVtField *>;
    using TNotify = TVtEvent<TVtDataSource *>;

    explicit TVtDataSource(QObject *parent = nullptr);
    ~TVtDataSource() override;

    TVtQueryCollection *DataSet() const { return m_dataSet; }
    void SetDataSet(TVtQueryCollection *dataSet);

    // A disabled source shows nothing: controls are emptied and disabled.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on);

    // dsInactive when there is no collection, it is closed or the source is disabled.
    TVtDataSetState State() const;
    bool Editing() const { const auto s = State(); return s == dsEdit || s == dsInsert; }

    // The collection's read-only switch; controls and frames follow it.
    bool ReadOnly() const { return m_dataSet && m_dataSet->ReadOnly; }
    void SetReadOnly(bool on);

    // Reopens the collection keeping the current row.
    void Refresh();
    // Starts an edit when browsing a row; true when the collection is then in edit or insert.
    bool Edit();
    // Writes into the collection the text every bound control still holds,
    // then runs the validations not yet passed. False (with the message shown
    // at the first refusing control, which gets the focus) when one refuses.
    bool CommitControls();
    // Tells every follower to read again (after changing the read-only flag of fields, say).
    void NotifyChange();

    QList<TVtDBControl *> Controls() const;
    void RegisterControl(TVtDBControl *control);
    void UnregisterControl(TVtDBControl *control);

    // Raised after the followers: field is null when the current row changed
    // (scroll, open, refresh, post, cancel), else the field that changed.
    TDataChange OnDataChange;
    // Raised after the followers when the state changes.
    TNotify OnStateChange;

signals:
    void DataChanged(TVtField *field);
    void StateChanged();
    // Enabled or read-only switched, or NotifyChange called.
    void SettingsChanged();

private:
    void EmitDataChanged(TVtField *field);
    void EmitStateChanged();

    QPointer<TVtQueryCollection> m_dataSet;
    QList<QPointer<TVtDBControl>> m_controls;
    QList<QMetaObject::Connection> m_connections;
    bool m_enabled = true;
};

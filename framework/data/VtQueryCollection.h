#pragma once
#include "VtEvent.h"
#include "VtField.h"
#include "VtFieldValue.h"
#include "VtFilter.h"
#include "VtParams.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QSqlQuery;
class TVtSQLConnection;

enum TVtDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum TVtConfirmation { xcoTrash = 1, xcoDisable = 2, xcoDelete = 4 };
using TVtConfirmations = int;

// A list of write statements; each item is one SQL text.
class TVtSQLList
{
public:
    void Add(const QString &sql) { m_items << sql; }
    void Clear() { m_items.clear(); }
    int Count() const { return m_items.size(); }
    QString operator[](int i) const { return m_items[i]; }
    const QStringList &Items() const { return m_items; }

private:
    QStringList m_items;
};

// A client dataset over a select: the rows live in memory, a grid shows
// them through the table model, and edits are written back by the statement
// lists inside one transaction, with hooks before and after each statement.
class TVtQueryCollection : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Hooks take any number of subscribers (see TVtEvent).
    using TNotify = TVtEvent<TVtQueryCollection *>;
    using TBeforeExec = TVtEvent<TVtQueryCollection *, TVtQueryProp &, bool &>;
    using TAfterExec = TVtEvent<TVtQueryCollection *, TVtQueryProp &>;

    explicit TVtQueryCollection(QObject *parent = nullptr);
    ~TVtQueryCollection() override;

    // Set-up
    TVtSQLConnection *Connection = nullptr;   // the global connection when null
    QString CommandText;
    TVtParams &Params() { return m_params; }
    // A parameter whose value comes from elsewhere (the working context):
    // read each time the collection opens, before BeforeOpen. A null value
    // clears the parameter.
    using TParamSource = std::function<QVariant()>;
    void BindParam(const QString &name, QMetaType::Type type, TParamSource source);
    bool AutoBuildSQL = false;
    QString TableName;                        // for generated statements; from CommandText when empty
    QString KeyFields;                        // key field(s); the first field when empty
    TVtSQLList SQLInsert, SQLUpdate, SQLDelete;
    TVtConfirmations Confirmations = 0;
    bool PostError = false;                   // true: a failed post raises instead of showing the error
    int PacketRecords = -1;                   // rows per fetch; -1 all at once
    bool ReadOnly = false;

    // Master and detail: while the master is open, the detail is reopened
    // whenever the master's current row changes (scroll, open, post, cancel),
    // its parameter set to the master's field; it closes with the master.
    void SetMaster(TVtQueryCollection *master, const QString &paramName, const QString &masterField);

    // Persistent and calculated fields, declared before opening.
    TVtField *AddField(const QString &name, QMetaType::Type type, int size = 0, bool required = false);
    TVtField *AddCalcField(const QString &name, QMetaType::Type type, int size = 0);

    // Events
    TNotify BeforeOpen, AfterOpen, BeforeClose, AfterScroll, AfterRefresh, OnCalcFields;
    TNotify BeforeInsert, OnNewRecord, AfterInsert, BeforeEdit, AfterEdit;
    TNotify BeforePost, AfterPost, BeforeCancel, AfterCancel, BeforeDelete, AfterDelete;
    TBeforeExec VtBeforeExec;
    TAfterExec VtAfterExec;

    // Opening
    void Open();
    // An in-memory dataset: opens without a statement on the declared fields
    // (AddField, in declaration order), holding these rows, one value per
    // data field; calculated fields are computed. Grids, filters and the
    // report engine read it as any other collection; it writes nothing.
    void OpenRows(const QVector<QVector<QVariant>> &rows);
    void Close();
    bool Active() const { return m_state != dsInactive; }
    void SetActive(bool on) { on ? Open() : Close(); }
    // Reopens keeping the current row (by key) when it is still there.
    void Refresh();
    bool AllFetched() const { return m_allFetched; }
    // Fetches the next packet; false when nothing more came.
    bool FetchNextPacket(bool notify = true);

    // Fields
    int FieldCount() const { return int(m_fields.size()); }
    TVtField *Fields(int i) const { return m_fields[size_t(i)].get(); }
    TVtField *FindField(const QString &name) const;
    TVtField *FieldByName(const QString &name) const;   // throws when absent

    // Navigation over the visible (filtered) rows
    int RecordCount() const { return m_visible.size(); }
    bool IsEmpty() const { return m_visible.isEmpty(); }
    int RecNo() const { return m_cur; }                  // 0-based, -1 when empty
    void SetRecNo(int row);
    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    bool Locate(const QString &fields, const QVariantList &values);
    bool Locate(const QString &field, const QVariant &value) { return Locate(field, QVariantList{value}); }
    QVariant KeyValue() const;

    // Client-side filter
    QString Filter() const { return m_filterText; }
    void SetFilter(const QString &text);
    bool Filtered() const { return m_filtered; }
    void SetFiltered(bool on);

    // Editing
    TVtDataSetState State() const { return m_state; }
    bool Modified() const { return m_modified; }
    void Insert();
    void Append() { Insert(); }
    void Edit();
    // Writes the row; false when refused or failed (the row stays in edit).
    bool Post();
    void Cancel();
    // Deletes the current row; false when refused, skipped or failed.
    bool Delete();
    // Marks the row deleted (its DDELETE set to today) and hides it.
    bool Trash();
    bool CanTrash() const { return FindField(QStringLiteral("DDELETE")) != nullptr; }
    // Flags a window raises during one edit for the write hooks to read (say,
    // "the closing date was changed in this edit"); all of them are cleared
    // when the edit ends (stored post, cancel) and when the collection closes.
    void SetEditFlag(const QString &name, bool on = true);
    bool EditFlag(const QString &name) const;
    // A value a window hands over for the same edit (say, the owner of the
    // component chosen in a lookup); cleared with the flags. Null when unset.
    void SetEditValue(const QString &name, const QVariant &value);
    QVariant EditValue(const QString &name) const;
    bool HasEditValue(const QString &name) const;
    void CheckBrowseMode();   // posts a pending edit; aborts silently when that fails
    bool CheckBrowseModeOk(); // posts a pending edit; false when that fails

    // Row access used by fields and views
    QVariant ActiveValue(int index) const;
    QVariant OldValue(int index) const;
    void SetActiveValue(TVtField *field, const QVariant &value);
    QVariant RowValue(int visibleRow, int index) const;

    // Table model
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

signals:
    void StateChanged();
    void CurrentChanged();
    void FieldChanged(TVtField *field);
    void Reopened();

private:
    using Row = QVector<QVariant>;

    TVtSQLConnection *Conn() const;
    void CreateFieldsFromQuery(QSqlQuery &q);
    void CalcRow(Row &row);
    void RebuildVisible();
    bool RowMatches(const Row &row) const;
    void SetCurrent(int visibleRow, bool notify = true);
    void DoScroll();
    Row *CurrentRow();
    const Row *CurrentRow() const;
    QStringList KeyFieldList() const;
    QString EffectiveTableName() const;
    QString WrittenTable(const QString &statement) const;
    bool UpdateWritesTrashMark() const;
    bool WriteTrashMark(const QDate &day);
    QStringList BuildStatements(TVtUpdateKind kind) const;
    bool RunStatements(TVtUpdateKind kind, TVtFieldValue &values, bool *skipped);
    struct TWrittenColumns
    {
        QString Table, Key;
        QVector<QPair<QString, TVtField *>> Columns;   // column, field of its value
    };
    TWrittenColumns WrittenColumns() const;
    bool StoredRowUnchanged(TVtUpdateKind kind, TVtFieldValue &values);
    void RereadChangedRow();
    bool CheckRequired();
    void SetState(TVtDataSetState s);
    bool FetchNextPacketNotify();
    void RemoveCurrentRow();
    void ReportError(const QString &text);
    // Runs a statement with parameters looked up first in the values, then in the active row.
    void ExecStatement(const QString &sql, TVtFieldValue &values);
    void ExecBound(QSqlQuery &q, const QString &sql, TVtFieldValue &values);
    // The after-write hook runs once the write is stored.
    void AfterWrite(const TNotify &hook);
    void RefreshAfterRollback();
    void FollowMaster();

    TVtParams m_params;
    QVector<QPair<QString, TParamSource>> m_paramSources;
    std::vector<std::unique_ptr<TVtField>> m_fields;
    QVector<Row> m_rows;
    QVector<int> m_visible;
    int m_cur = -1;
    bool m_eof = true, m_bof = true;
    TVtDataSetState m_state = dsInactive;
    Row m_buffer, m_old;
    int m_insertRow = -1;                     // row index of a pending insert
    bool m_modified = false;
    Row *m_calcRow = nullptr;                 // row of OnCalcFields, read and written by it
    std::unique_ptr<QSqlQuery> m_query;
    bool m_allFetched = true;
    QString m_filterText;
    TVtFilter m_filter;
    bool m_filtered = false;
    bool m_refreshOnRollback = false;
    QVariantMap m_editFlags;                  // flags and values of the edit, by lower-case name
    QPointer<TVtQueryCollection> m_master;
    QString m_masterParam, m_masterField;
};

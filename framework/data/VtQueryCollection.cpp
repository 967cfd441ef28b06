#include "VtQueryCollection.h"
#include "VtClock.h"
#include "VtDatabaseError.h"
#include "VtException.h"
#include "VtGuard.h"
#include "VtLockWatch.h"
#include "VtMessageDlg.h"
#include "VtSQLConnection.h"
#include "VtSqlText.h"
#include "VtTransaction.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

TVtQueryCollection::TVtQueryCollection(QObject *parent) : QAbstractTableModel(parent) {}

TVtQueryCollection::~TVtQueryCollection() = default;

TVtSQLConnection *TVtQueryCollection::Conn() const
{
    TVtSQLConnection *c = Connection ? Connection : qqoVtGlobConn;
    // A connection lost and not yet restored is still this collection's:
    // its failures offer to reconnect.
    if (!c || !c->Opened())
        throw EVtException(QStringLiteral("Connessione al database non attiva."));
    return c;
}

// ---------------------------------------------------------------- fields

TVtField *TVtQueryCollection::AddField(const QString &name, QMetaType::Type type, int size, bool required)
{
    if (Active())
        throw EVtException(QStringLiteral("Impossibile aggiungere il campo %1 a un dataset aperto.").arg(name));
    auto f = std::make_unique<TVtField>(this, name, type, size, TVtFieldKind::Data);
    f->Required = required;
    f->Persistent = true;
    f->Index = int(m_fields.size());
    m_fields.push_back(std::move(f));
    return m_fields.back().get();
}

TVtField *TVtQueryCollection::AddCalcField(const QString &name, QMetaType::Type type, int size)
{
    if (Active())
        throw EVtException(QStringLiteral("Impossibile aggiungere il campo %1 a un dataset aperto.").arg(name));
    auto f = std::make_unique<TVtField>(this, name, type, size, TVtFieldKind::Calculated);
    f->Persistent = true;
    f->Index = int(m_fields.size());
    m_fields.push_back(std::move(f));
    return m_fields.back().get();
}

TVtField *TVtQueryCollection::FindField(const QString &name) const
{
    for (const auto &f : m_fields)
        if (f->FieldName.compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TVtField *TVtQueryCollection::FieldByName(const QString &name) const
{
    if (TVtField *f = FindField(name))
        return f;
    throw EVtException(QStringLiteral("Campo '%1' non trovato.").arg(name));
}

// ---------------------------------------------------------------- opening

void TVtQueryCollection::CreateFieldsFromQuery(QSqlQuery &q)
{
    const QSqlRecord rec = q.record();
    // Drop fields made by an earlier open; keep the declared ones.
    m_fields.erase(std::remove_if(m_fields.begin(), m_fields.end(), [](const auto &f) { return !f->Persistent; }),
                   m_fields.end());
    for (int i = 0; i < rec.count(); ++i) {
        const QSqlField qf = rec.field(i);
        TVtField *f = FindField(qf.name());
        if (!f) {
            QMetaType::Type type = QMetaType::Type(qf.metaType().id());
            int size = qf.length();
            if (type == QMetaType::QByteArray) {
                type = QMetaType::QString;   // text blobs: no length
                size = 0;
            } else if (type == QMetaType::QString && size > 0) {
                size /= Conn()->BytesPerChar();   // the engine counts bytes
            }
            if (type == QMetaType::Short)
                type = QMetaType::Int;
            auto nf = std::make_unique<TVtField>(this, qf.name(), type, size, TVtFieldKind::Data);
            m_fields.push_back(std::move(nf));
        } else if (f->IsCalculated()) {
            throw EVtException(QStringLiteral("Il campo calcolato %1 è anche una colonna della select.").arg(f->FieldName));
        }
    }
    for (size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->Index = int(i);
    for (const auto &f : m_fields)
        if (!f->IsCalculated() && rec.indexOf(f->FieldName) < 0) {
            // indexOf is case-insensitive in QSqlRecord
            throw EVtException(QStringLiteral("Campo '%1' non restituito dalla select.").arg(f->FieldName));
        }
}

void TVtQueryCollection::BindParam(const QString &name, QMetaType::Type type, TParamSource source)
{
    m_params.CreateParam(type, name, ptInput);
    m_paramSources.push_back({name, std::move(source)});
}

void TVtQueryCollection::Open()
{
    if (Active())
        return;
    for (const auto &bound : m_paramSources) {
        const QVariant v = bound.second();
        TVtParam *p = m_params.ParamByName(bound.first);
        if (v.isNull())
            p->Clear();
        else
            p->SetValue(v);
    }
    try {
        if (BeforeOpen)
            BeforeOpen(this);
    } catch (const EVtAbort &) {
        return;
    }
    TVtSQLConnection *conn = Conn();
    auto q = std::make_unique<QSqlQuery>(conn->Database());
    q->setForwardOnly(true);
    VtExecSql(*q, CommandText, [this](const QString &name, QVariant &value) {
        TVtParam *p = m_params.FindParam(name);
        if (!p)
            return false;
        value = p->Value();
        return true;
    });
    beginResetModel();
    m_rows.clear();
    m_visible.clear();
    CreateFieldsFromQuery(*q);
    // Column positions of the data fields in the select, read once.
    m_query = std::move(q);
    m_allFetched = false;
    m_state = dsBrowse;
    FetchNextPacket(false);
    endResetModel();
    m_cur = -1;
    SetCurrent(m_visible.isEmpty() ? -1 : 0, false);
    if (AfterOpen)
        AfterOpen(this);
    emit Reopened();
    emit StateChanged();
    DoScroll();
}

void TVtQueryCollection::OpenRows(const QVector<QVector<QVariant>> &rows)
{
    Close();
    QVector<int> data;   // row positions of the data fields, in declaration order
    for (const auto &f : m_fields)
        if (!f->IsCalculated())
            data.push_back(f->Index);
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(rows.size());
    const int width = int(m_fields.size());
    for (const QVector<QVariant> &values : rows) {
        Row row(width);
        for (int c = 0; c < data.size() && c < values.size(); ++c)
            row[data[c]] = values[c];
        if (OnCalcFields)
            CalcRow(row);
        m_rows.push_back(std::move(row));
    }
    RebuildVisible();
    m_query.reset();
    m_allFetched = true;
    m_state = dsBrowse;
    endResetModel();
    m_cur = -1;
    SetCurrent(m_visible.isEmpty() ? -1 : 0, false);
    if (AfterOpen)
        AfterOpen(this);
    emit Reopened();
    emit StateChanged();
    DoScroll();
}

bool TVtQueryCollection::FetchNextPacket(bool notify)
{
    if (m_allFetched || !m_query)
        return false;
    const int firstRow = m_rows.size();
    const int wanted = PacketRecords > 0 ? PacketRecords : INT_MAX;
    // Field positions of the data fields, in select order.
    QVector<QPair<int, int>> cols;   // (select column, row index)
    const QSqlRecord rec = m_query->record();
    QVector<QMetaType::Type> types;
    for (const auto &f : m_fields)
        if (!f->IsCalculated()) {
            cols.push_back({rec.indexOf(f->FieldName), f->Index});
            types.push_back(f->DataType);
        }
    const int width = int(m_fields.size());
    // Texts repeat much down a column (descriptions of joined rows): equal
    // texts share one copy, which keeps a large select small in memory.
    QVector<QHash<QString, QVariant>> shared(cols.size());
    int fetched = 0;
    while (fetched < wanted && m_query->next()) {
        Row row(width);
        for (int c = 0; c < cols.size(); ++c) {
            QVariant v = m_query->value(cols[c].first);
            const QMetaType::Type t = types[c];
            if (!v.isNull() && v.typeId() != t && t != QMetaType::UnknownType) {
                if (v.typeId() == QMetaType::QByteArray && t == QMetaType::QString)
                    v = QString::fromUtf8(v.toByteArray());
                else
                    v = m_fields[size_t(cols[c].second)]->Coerce(v);
            }
            if (t == QMetaType::QString && !v.isNull()) {
                QHash<QString, QVariant> &seen = shared[c];
                const QString text = v.toString();
                auto it = seen.constFind(text);
                if (it != seen.constEnd())
                    v = it.value();
                else if (seen.size() < 4096)
                    seen.insert(text, v);
            }
            row[cols[c].second] = std::move(v);
        }
        if (OnCalcFields)
            CalcRow(row);
        m_rows.push_back(std::move(row));
        ++fetched;
    }
    if (fetched < wanted || PacketRecords <= 0) {
        if (m_query->lastError().isValid() && m_query->lastError().type() != QSqlError::NoError)
            VtMessageDlg(QStringLiteral("Errore nella lettura dei dati:\r\n%1")
                             .arg(TVtEngineError::FromSqlError(m_query->lastError()).Text()),
                         mtError, mbOK);
        m_query.reset();
        m_allFetched = true;
    }
    // Visible rows of the new packet
    QVector<int> added;
    for (int i = firstRow; i < m_rows.size(); ++i)
        if (RowMatches(m_rows[i]))
            added.push_back(i);
    if (!added.isEmpty()) {
        if (notify)
            beginInsertRows(QModelIndex(), m_visible.size(), m_visible.size() + added.size() - 1);
        m_visible += added;
        if (notify)
            endInsertRows();
    }
    return fetched > 0;
}

void TVtQueryCollection::Close()
{
    if (!Active())
        return;
    if (m_state == dsEdit || m_state == dsInsert)
        Cancel();
    if (BeforeClose)
        BeforeClose(this);
    beginResetModel();
    m_query.reset();
    m_rows.clear();
    m_visible.clear();
    m_cur = -1;
    m_eof = m_bof = true;
    m_state = dsInactive;
    m_allFetched = true;
    m_editFlags.clear();
    endResetModel();
    emit StateChanged();
}

void TVtQueryCollection::Refresh()
{
    if (!Active()) {
        Open();
        return;
    }
    if (!CheckBrowseModeOk())
        return;
    const QStringList keys = KeyFieldList();
    QVariantList keyValues;
    if (CurrentRow())
        for (const QString &k : keys)
            keyValues << FieldByName(k)->Value();
    const int oldRec = m_cur;
    Close();
    Open();
    if (!keyValues.isEmpty() && !Locate(keys.join(QLatin1Char(';')), keyValues) && !m_visible.isEmpty())
        SetCurrent(qMin(oldRec, m_visible.size() - 1));
    if (AfterRefresh)
        AfterRefresh(this);
}

void TVtQueryCollection::CalcRow(Row &row)
{
    m_calcRow = &row;
    try {
        OnCalcFields(this);
    } catch (...) {
        m_calcRow = nullptr;
        throw;
    }
    m_calcRow = nullptr;
}

// ---------------------------------------------------------------- filter

bool TVtQueryCollection::RowMatches(const Row &row) const
{
    if (!m_filtered || m_filter.IsEmpty())
        return true;
    return m_filter.Matches([&](const QString &name) {
        TVtField *f = FindField(name);
        if (!f)
            throw EVtException(QStringLiteral("Campo '%1' del filtro non trovato.").arg(name));
        return row.value(f->Index);
    });
}

void TVtQueryCollection::RebuildVisible()
{
    m_visible.clear();
    m_visible.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i)
        if (RowMatches(m_rows[i]))
            m_visible.push_back(i);
}

void TVtQueryCollection::SetFilter(const QString &text)
{
    m_filter = TVtFilter::Parse(text);
    m_filterText = text;
    if (m_filtered && Active())
        SetFiltered(true);
}

void TVtQueryCollection::SetFiltered(bool on)
{
    m_filtered = on;
    if (!Active())
        return;
    if (!CheckBrowseModeOk())
        return;
    const QVariantList key = CurrentRow() ? QVariantList{KeyValue()} : QVariantList{};
    beginResetModel();
    RebuildVisible();
    endResetModel();
    emit Reopened();
    if (key.isEmpty() || !Locate(KeyFieldList().value(0), key))
        SetCurrent(m_visible.isEmpty() ? -1 : 0);
}

// ---------------------------------------------------------------- navigation

TVtQueryCollection::Row *TVtQueryCollection::CurrentRow()
{
    return (m_cur >= 0 && m_cur < m_visible.size()) ? &m_rows[m_visible[m_cur]] : nullptr;
}

const TVtQueryCollection::Row *TVtQueryCollection::CurrentRow() const
{
    return (m_cur >= 0 && m_cur < m_visible.size()) ? &m_rows[m_visible[m_cur]] : nullptr;
}

void TVtQueryCollection::SetCurrent(int visibleRow, bool notify)
{
    const int old = m_cur;
    m_cur = visibleRow;
    m_eof = m_visible.isEmpty();
    m_bof = m_visible.isEmpty() || visibleRow <= 0;
    if (old != m_cur || notify)
        emit CurrentChanged();
    if (notify)
        DoScroll();
}

void TVtQueryCollection::DoScroll()
{
    // The row has moved whatever the hook does: its failure is only told.
    if (AfterScroll)
        VtGuard([this] { AfterScroll(this); });
}

bool TVtQueryCollection::CheckBrowseModeOk()
{
    if (m_state == dsEdit || m_state == dsInsert)
        return Post();
    return true;
}

void TVtQueryCollection::CheckBrowseMode()
{
    if (!CheckBrowseModeOk())
        Abort();
}

void TVtQueryCollection::SetRecNo(int row)
{
    if (!Active() || row == m_cur)
        return;
    while (row >= m_visible.size() && FetchNextPacketNotify())
        ;
    if (row < 0 || row >= m_visible.size())
        return;
    if (!CheckBrowseModeOk())
        return;
    SetCurrent(row);
}

void TVtQueryCollection::First()
{
    if (!Active() || !CheckBrowseModeOk())
        return;
    SetCurrent(m_visible.isEmpty() ? -1 : 0);
    m_bof = true;
}

void TVtQueryCollection::Last()
{
    if (!Active() || !CheckBrowseModeOk())
        return;
    while (FetchNextPacketNotify())
        ;
    SetCurrent(m_visible.size() - 1);
    m_eof = true;
}

void TVtQueryCollection::Next()
{
    if (!Active() || !CheckBrowseModeOk())
        return;
    if (m_cur + 1 >= m_visible.size())
        FetchNextPacketNotify();
    if (m_cur + 1 < m_visible.size()) {
        SetCurrent(m_cur + 1);
        m_eof = false;
    } else {
        m_eof = true;
    }
}

void TVtQueryCollection::Prior()
{
    if (!Active() || !CheckBrowseModeOk())
        return;
    if (m_cur > 0) {
        SetCurrent(m_cur - 1);
        m_bof = false;
    } else {
        m_bof = true;
    }
}

bool TVtQueryCollection::FetchNextPacketNotify()
{
    return FetchNextPacket(true);
}

bool TVtQueryCollection::Locate(const QString &fields, const QVariantList &values)
{
    if (!Active())
        return false;
    QVector<TVtField *> fs;
    for (const QString &n : fields.split(QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts))
        fs << FieldByName(n.trimmed());
    if (fs.size() != values.size())
        throw EVtException(QStringLiteral("Locate: numero di valori diverso dal numero di campi."));
    auto matches = [&](const Row &row) {
        for (int i = 0; i < fs.size(); ++i) {
            const QVariant &v = row[fs[i]->Index];
            const QVariant want = fs[i]->Coerce(values[i]);
            if (v.isNull() != want.isNull())
                return false;
            if (!v.isNull() && v != want)
                return false;
        }
        return true;
    };
    for (;;) {
        for (int i = 0; i < m_visible.size(); ++i)
            if (matches(m_rows[m_visible[i]])) {
                if (!CheckBrowseModeOk())
                    return false;
                SetCurrent(i);
                return true;
            }
        if (!FetchNextPacketNotify())
            return false;
    }
}

QStringList TVtQueryCollection::KeyFieldList() const
{
    if (!KeyFields.isEmpty())
        return KeyFields.split(QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts);
    for (const auto &f : m_fields)
        if (!f->IsCalculated())
            return {f->FieldName};
    return {};
}

QVariant TVtQueryCollection::KeyValue() const
{
    const QStringList keys = KeyFieldList();
    if (keys.isEmpty())
        return QVariant();
    TVtField *f = FindField(keys.first());
    return f ? f->Value() : QVariant();
}

// ---------------------------------------------------------------- values

QVariant TVtQueryCollection::ActiveValue(int index) const
{
    if (m_calcRow)
        return m_calcRow->value(index);
    if (m_state == dsEdit || m_state == dsInsert)
        return m_buffer.value(index);
    const Row *row = CurrentRow();
    return row ? row->value(index) : QVariant();
}

QVariant TVtQueryCollection::OldValue(int index) const
{
    if (m_state == dsEdit || m_state == dsInsert)
        return m_old.value(index);
    return ActiveValue(index);
}

void TVtQueryCollection::SetActiveValue(TVtField *field, const QVariant &value)
{
    const QVariant v = field->Coerce(value);
    if (v.isNull() && !value.isNull() && !(value.typeId() == QMetaType::QString && value.toString().isEmpty()))
        throw EVtException(QStringLiteral("Valore '%1' non valido per il campo %2.").arg(value.toString(), field->FieldName));
    if (m_calcRow) {
        if (!field->IsCalculated())
            throw EVtException(QStringLiteral("Nel calcolo si possono impostare solo i campi calcolati (%1).").arg(field->FieldName));
        (*m_calcRow)[field->Index] = v;
        return;
    }
    if (m_state != dsEdit && m_state != dsInsert)
        throw EVtException(QStringLiteral("Il dataset non è in modifica."));
    if (m_buffer.value(field->Index) == v && m_buffer.value(field->Index).isNull() == v.isNull())
        return;
    m_buffer[field->Index] = v;
    m_modified = true;
    if (OnCalcFields && !field->IsCalculated())
        CalcRow(m_buffer);
    if (m_cur >= 0)
        emit dataChanged(index(m_cur, 0), index(m_cur, columnCount() - 1));
    emit FieldChanged(field);
}

QVariant TVtQueryCollection::RowValue(int visibleRow, int idx) const
{
    if (visibleRow == m_cur && (m_state == dsEdit || m_state == dsInsert))
        return m_buffer.value(idx);
    if (visibleRow < 0 || visibleRow >= m_visible.size())
        return QVariant();
    return m_rows[m_visible[visibleRow]].value(idx);
}

// ---------------------------------------------------------------- editing

void TVtQueryCollection::SetState(TVtDataSetState s)
{
    if (m_state == s)
        return;
    m_state = s;
    emit StateChanged();
}

void TVtQueryCollection::Insert()
{
    if (!Active())
        throw EVtException(QStringLiteral("Il dataset non è aperto."));
    if (ReadOnly)
        throw EVtException(QStringLiteral("I dati sono in sola lettura."));
    if (!CheckBrowseModeOk())
        return;
    try {
        if (BeforeInsert)
            BeforeInsert(this);
    } catch (const EVtAbort &) {
        return;
    }
    while (FetchNextPacketNotify())
        ;
    m_buffer = Row(int(m_fields.size()));
    m_old = m_buffer;
    const int vis = m_visible.size();
    beginInsertRows(QModelIndex(), vis, vis);
    m_rows.push_back(m_buffer);
    m_insertRow = m_rows.size() - 1;
    m_visible.push_back(m_insertRow);
    endInsertRows();
    m_state = dsInsert;
    SetCurrent(vis);
    if (OnNewRecord)
        OnNewRecord(this);
    m_modified = false;
    emit StateChanged();
    if (AfterInsert)
        AfterInsert(this);
}

void TVtQueryCollection::Edit()
{
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    if (!Active() || !CurrentRow())
        throw EVtException(QStringLiteral("Nessun record da modificare."));
    if (ReadOnly)
        throw EVtException(QStringLiteral("I dati sono in sola lettura."));
    try {
        if (BeforeEdit)
            BeforeEdit(this);
    } catch (const EVtAbort &) {
        return;
    }
    m_buffer = *CurrentRow();
    m_old = m_buffer;
    m_modified = false;
    SetState(dsEdit);
    if (AfterEdit)
        AfterEdit(this);
}

void TVtQueryCollection::Cancel()
{
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    if (BeforeCancel)
        BeforeCancel(this);
    const bool wasInsert = m_state == dsInsert;
    m_state = dsBrowse;
    if (wasInsert) {
        const int vis = m_visible.indexOf(m_insertRow);
        if (vis >= 0) {
            beginRemoveRows(QModelIndex(), vis, vis);
            m_visible.remove(vis);
            m_rows.remove(m_insertRow);
            endRemoveRows();
        }
        m_insertRow = -1;
        SetCurrent(m_visible.isEmpty() ? -1 : qMin(m_cur, m_visible.size() - 1));
    } else if (m_cur >= 0) {
        emit dataChanged(index(m_cur, 0), index(m_cur, columnCount() - 1));
    }
    m_buffer.clear();
    m_old.clear();
    m_modified = false;
    m_editFlags.clear();
    emit StateChanged();
    emit CurrentChanged();
    if (AfterCancel)
        AfterCancel(this);
}

bool TVtQueryCollection::CheckRequired()
{
    const QStringList keys = KeyFieldList();
    for (const auto &f : m_fields) {
        if (!f->Required || f->IsCalculated() || !m_buffer.value(f->Index).isNull())
            continue;
        if (m_state == dsInsert && keys.contains(f->FieldName, Qt::CaseInsensitive))
            continue;   // the key comes from the generator
        VtMessageDlg(QStringLiteral("Il campo '%1' deve avere un valore.").arg(f->Title()), mtWarning, mbOK);
        return false;
    }
    return true;
}

QString TVtQueryCollection::EffectiveTableName() const
{
    if (!TableName.isEmpty())
        return TableName;
    static const QRegularExpression re(QStringLiteral("\\bFROM\\s+([A-Za-z_][A-Za-z0-9_$]*)"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(CommandText);
    return m.hasMatch() ? m.captured(1) : QString();
}

// The table a statement writes (INSERT INTO, UPDATE, DELETE FROM ...); the
// collection's own for one that names none, such as EXECUTE PROCEDURE.
QString TVtQueryCollection::WrittenTable(const QString &statement) const
{
    static const QRegularExpression procedure(QStringLiteral("^\\s*EXECUTE\\b"), QRegularExpression::CaseInsensitiveOption);
    const QString named = procedure.match(statement).hasMatch() ? QString() : VtStatementTable(statement);
    return named.isEmpty() ? EffectiveTableName().toUpper() : named;
}

QStringList TVtQueryCollection::BuildStatements(TVtUpdateKind kind) const
{
    const QString table = EffectiveTableName();
    if (table.isEmpty())
        throw EVtException(QStringLiteral("Impossibile generare le istruzioni di scrittura: tabella non indicata."));
    QSqlQuery q(Conn()->Database());
    q.prepare(QStringLiteral("SELECT TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = ?"));
    q.addBindValue(table.toUpper());
    if (!q.exec())
        throw EVtDatabaseError(TVtEngineError::FromSqlError(q.lastError()));
    QStringList tableColumns;
    while (q.next())
        tableColumns << q.value(0).toString();
    if (tableColumns.isEmpty())
        throw EVtException(QStringLiteral("Tabella %1 non trovata.").arg(table));
    const QString key = KeyFieldList().value(0);
    QStringList cols;
    for (const auto &f : m_fields)
        if (!f->IsCalculated() && tableColumns.contains(f->FieldName.toUpper()))
            cols << f->FieldName;
    switch (kind) {
    case ukInsert: {
        QStringList values;
        for (const QString &c : cols) {
            const bool genKey = c.compare(key, Qt::CaseInsensitive) == 0
                                && m_buffer.value(FieldByName(c)->Index).isNull();
            values << (genKey ? QStringLiteral(":VTGENID") : QLatin1Char(':') + c);
        }
        return {QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, cols.join(QStringLiteral(", ")),
                                                                      values.join(QStringLiteral(", ")))};
    }
    case ukModify: {
        QStringList sets;
        for (const QString &c : cols)
            if (c.compare(key, Qt::CaseInsensitive) != 0)
                sets << QStringLiteral("%1 = :%1").arg(c);
        return {QStringLiteral("UPDATE %1 SET %2 WHERE %3 = :VTCURRID").arg(table, sets.join(QStringLiteral(", ")), key)};
    }
    case ukDelete:
        return {QStringLiteral("DELETE FROM %1 WHERE %2 = :VTCURRID").arg(table, key)};
    }
    return {};
}

void TVtQueryCollection::ExecStatement(const QString &sql, TVtFieldValue &values)
{
    QSqlQuery q(Conn()->Database());
    try {
        ExecBound(q, sql, values);
    } catch (const EVtDatabaseError &e) {
        TVtField *f = e.Error().Kind == TVtEngineError::ekTooLong ? FindField(e.Error().Subject) : nullptr;
        if (!f)
            throw;
        TVtEngineError named = e.Error();
        named.Subject = f->Title();
        throw EVtDatabaseError(named);
    }
}

void TVtQueryCollection::ExecBound(QSqlQuery &q, const QString &sql, TVtFieldValue &values)
{
    VtExecSql(q, sql, [&](const QString &name, QVariant &value) {
        const int i = values.IndexOf(name);
        if (i >= 0) {
            value = values.Value(i);
            return true;
        }
        if (TVtField *f = FindField(name)) {
            value = ActiveValue(f->Index);
            return true;
        }
        return false;
    });
}

bool TVtQueryCollection::RunStatements(TVtUpdateKind kind, TVtFieldValue &values, bool *skipped)
{
    *skipped = false;
    const TVtSQLList &list = kind == ukInsert ? SQLInsert : (kind == ukModify ? SQLUpdate : SQLDelete);
    const QStringList statements = (AutoBuildSQL && list.Count() == 0) ? BuildStatements(kind) : list.Items();
    if (statements.isEmpty())
        return true;
    TVtSQLConnection *conn = Conn();
    if (kind == ukInsert && statements.join(QLatin1Char(' ')).contains(QStringLiteral("VTGENID"), Qt::CaseInsensitive))
        values.Add(QStringLiteral("VTGENID"), conn->NextId());
    if (kind != ukInsert) {
        const QString key = KeyFieldList().value(0);
        TVtField *kf = key.isEmpty() ? nullptr : FindField(key);
        values.Add(QStringLiteral("VTCURRID"), kf ? (kind == ukModify ? m_old.value(kf->Index) : kf->Value()) : QVariant());
    }
    TVtTransaction tr(conn);
    try {
        tr.StartTransaction();
        if (kind != ukInsert && !StoredRowUnchanged(kind, values)) {
            tr.Rollback();
            RereadChangedRow();
            return false;
        }
        for (int i = 0; i < statements.size(); ++i) {
            TVtQueryProp prop;
            prop.FieldValues = &values;
            prop.TableName = WrittenTable(statements[i]);
            prop.UpdateKind = kind;
            prop.Index = i;
            prop.SQL = statements[i];
            bool execute = true;
            if (VtBeforeExec)
                VtBeforeExec(this, prop, execute);
            if (!execute) {
                *skipped = true;
                continue;
            }
            conn->CheckWritable();
            ExecStatement(prop.SQL, values);
            if (VtAfterExec)
                VtAfterExec(this, prop);
        }
        tr.Commit();
        return true;
    } catch (const EVtAbort &) {
        tr.Rollback();
        return false;
    } catch (const EVtException &e) {
        tr.Rollback();
        // A lost connection comes with the offer to reconnect; the edit
        // stays, to be saved again.
        if (PostError || !Conn()->AskToReconnect(QStringLiteral("Impossibile salvare i dati:\r\n%1").arg(e.Message())))
            ReportError(e.Message());
        return false;
    } catch (...) {
        tr.Rollback();
        throw;
    }
}

// The columns a save writes, as the update statement names them: the table,
// its key and, for each column, the field whose value goes into it.
TVtQueryCollection::TWrittenColumns TVtQueryCollection::WrittenColumns() const
{
    static const QRegularExpression update(
        QStringLiteral("^\\s*UPDATE\\s+(\\S+)\\s+SET\\s+(.*)\\s+WHERE\\s+(\\w+)\\s*=\\s*:VTCURRID\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression assignment(QStringLiteral("(\\w+)\\s*=\\s*:(\\w+)"));
    const QStringList statements = (AutoBuildSQL && SQLUpdate.Count() == 0) ? BuildStatements(ukModify) : SQLUpdate.Items();
    TWrittenColumns written;
    for (const QString &sql : statements) {
        const QRegularExpressionMatch m = update.match(sql);
        if (!m.hasMatch())
            continue;
        written.Table = m.captured(1);
        written.Key = m.captured(3);
        for (auto it = assignment.globalMatch(m.captured(2)); it.hasNext();) {
            const QRegularExpressionMatch a = it.next();
            if (TVtField *f = FindField(a.captured(2)); f && !f->IsCalculated())
                written.Columns.append({a.captured(1), f});
        }
        break;
    }
    return written;
}

// Inside the save's transaction, with the stored row locked: does it still
// hold what this copy read? Another user's change in between would
// otherwise be overwritten without a word.
bool TVtQueryCollection::StoredRowUnchanged(TVtUpdateKind kind, TVtFieldValue &values)
{
    const TWrittenColumns written = WrittenColumns();
    if (written.Table.isEmpty() || written.Columns.isEmpty())
        return true;
    QStringList columns;
    for (const auto &c : written.Columns)
        columns << c.first;
    QSqlQuery q(Conn()->Database());
    q.setForwardOnly(true);
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :VTCURRID WITH LOCK")
                            .arg(columns.join(QStringLiteral(", ")), written.Table, written.Key);
    // The lock is taken as the row is fetched: that is where the wait for
    // another user's transaction happens, and what the watch bounds.
    TVtLockWatch watch(q);
    VtExecSql(q, sql, [&](const QString &name, QVariant &value) {
        if (name.compare(QStringLiteral("VTCURRID"), Qt::CaseInsensitive) != 0)
            return false;
        value = values.GetValues(QStringLiteral("VTCURRID"));
        return true;
    });
    const bool found = q.next();
    const bool waitedTooLong = watch.Stop();
    if (!found && q.lastError().isValid()) {
        TVtEngineError error = TVtEngineError::FromSqlError(q.lastError());
        if (waitedTooLong)
            error.Kind = TVtEngineError::ekLockConflict;
        else if (q.lastError().nativeErrorCode() == QLatin1String("-913"))
            return false;   // changed and committed by another user while this save waited
        throw EVtDatabaseError(error);
    }
    if (!found)
        return false;   // deleted by someone else
    const Row &read = kind == ukModify ? m_old : *CurrentRow();
    for (int i = 0; i < written.Columns.size(); ++i) {
        TVtField *f = written.Columns[i].second;
        const QVariant stored = q.value(i), mine = read.value(f->Index);
        if (stored.isNull() != mine.isNull() || (!stored.isNull() && f->Coerce(stored) != mine))
            return false;
    }
    return true;
}

void TVtQueryCollection::RereadChangedRow()
{
    const QString text = QStringLiteral("Attenzione!\r\nIl record è stato modificato da un altro utente dopo la lettura.\r\n"
                                        "I dati sono stati riletti: ripetere la modifica.");
    if (Conn()->InTransaction()) {
        // Part of a larger operation: it fails as a whole, and the
        // collection is re-read when it has been rolled back.
        AfterWrite(TNotify());
        throw EVtException(text);
    }
    Cancel();
    Refresh();
    if (PostError)
        throw EVtException(text);
    VtMessageDlg(text, mtWarning, mbOK);
}

void TVtQueryCollection::SetMaster(TVtQueryCollection *master, const QString &paramName, const QString &masterField)
{
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    m_masterParam = paramName;
    m_masterField = masterField;
    if (!master)
        return;
    connect(master, &TVtQueryCollection::CurrentChanged, this, [this] { VtGuard([this] { FollowMaster(); }); });
    connect(master, &TVtQueryCollection::StateChanged, this, [this] {
        if (!m_master->Active())
            Close();
    });
}

void TVtQueryCollection::FollowMaster()
{
    if (!m_master->Active()) {
        Close();
        return;
    }
    Close();
    m_params.ParamByName(m_masterParam)->SetValue(m_master->FieldByName(m_masterField)->Value());
    Open();
}

void TVtQueryCollection::SetEditFlag(const QString &name, bool on)
{
    if (on)
        m_editFlags.insert(name.toLower(), true);
    else
        m_editFlags.remove(name.toLower());
}

bool TVtQueryCollection::EditFlag(const QString &name) const
{
    return m_editFlags.value(name.toLower()).toBool();
}

void TVtQueryCollection::SetEditValue(const QString &name, const QVariant &value)
{
    m_editFlags.insert(name.toLower(), value);
}

QVariant TVtQueryCollection::EditValue(const QString &name) const
{
    return m_editFlags.value(name.toLower());
}

bool TVtQueryCollection::HasEditValue(const QString &name) const
{
    return m_editFlags.contains(name.toLower());
}

void TVtQueryCollection::AfterWrite(const TNotify &hook)
{
    TVtSQLConnection *conn = Conn();
    // Inside a larger operation the write is not stored until the outermost
    // scope commits: the hook runs then, and a rollback re-reads the rows.
    if (conn->InTransaction() && !m_refreshOnRollback) {
        m_refreshOnRollback = true;
        conn->OnOutermostRollback(this, [this] { RefreshAfterRollback(); });
    }
    if (hook)
        conn->OnOutermostCommit(this, [this, hook] { hook(this); });
}

void TVtQueryCollection::RefreshAfterRollback()
{
    m_refreshOnRollback = false;
    if (!Active())
        return;
    Cancel();
    Refresh();
}

void TVtQueryCollection::ReportError(const QString &text)
{
    const QString msg = QStringLiteral("Impossibile salvare i dati:\r\n%1").arg(text);
    if (PostError)
        throw EVtException(msg);
    VtMessageDlg(msg, mtError, mbOK);
}

bool TVtQueryCollection::Post()
{
    if (m_state != dsEdit && m_state != dsInsert)
        return true;
    try {
        if (BeforePost)
            BeforePost(this);
    } catch (const EVtAbort &) {
        return false;
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), mtError, mbOK);
        return false;
    }
    if (!CheckRequired())
        return false;
    const TVtUpdateKind kind = m_state == dsInsert ? ukInsert : ukModify;
    TVtFieldValue values;
    bool skipped = false;
    if (!RunStatements(kind, values, &skipped))
        return false;
    if (kind == ukInsert) {
        const QString key = KeyFieldList().value(0);
        TVtField *kf = key.isEmpty() ? nullptr : FindField(key);
        if (kf && m_buffer.value(kf->Index).isNull() && values.IndexOf(QStringLiteral("VTGENID")) >= 0)
            m_buffer[kf->Index] = kf->Coerce(values.GetValues(QStringLiteral("VTGENID")));
    }
    if (OnCalcFields)
        CalcRow(m_buffer);
    const int rowIndex = kind == ukInsert ? m_insertRow : m_visible.value(m_cur, -1);
    if (rowIndex >= 0)
        m_rows[rowIndex] = m_buffer;
    m_insertRow = -1;
    m_buffer.clear();
    m_old.clear();
    m_modified = false;
    m_editFlags.clear();
    m_state = dsBrowse;
    if (m_cur >= 0)
        emit dataChanged(index(m_cur, 0), index(m_cur, columnCount() - 1));
    // A row that no longer passes the filter leaves the view.
    // (Views may move the current row while the row goes: keep its position.)
    if (rowIndex >= 0 && m_filtered && !RowMatches(m_rows[rowIndex])) {
        const int vis = m_visible.indexOf(rowIndex);
        beginRemoveRows(QModelIndex(), vis, vis);
        m_visible.remove(vis);
        endRemoveRows();
        SetCurrent(m_visible.isEmpty() ? -1 : qMin(vis, int(m_visible.size()) - 1), false);
    }
    emit StateChanged();
    emit CurrentChanged();
    AfterWrite(AfterPost);
    return true;
}

bool TVtQueryCollection::Delete()
{
    if (m_state == dsInsert) {
        Cancel();
        return true;
    }
    if (m_state == dsEdit)
        Cancel();
    if (!Active() || !CurrentRow())
        return false;
    if (ReadOnly)
        throw EVtException(QStringLiteral("I dati sono in sola lettura."));
    if ((Confirmations & xcoDelete)
        && VtMessageDlg(QStringLiteral("Confermi la cancellazione del record?"), mtConfirmation, mbYes | mbNo) != mrYes)
        return false;
    try {
        if (BeforeDelete)
            BeforeDelete(this);
    } catch (const EVtAbort &) {
        return false;
    }
    TVtFieldValue values;
    bool skipped = false;
    if (!RunStatements(ukDelete, values, &skipped) || skipped)
        return false;
    RemoveCurrentRow();
    AfterWrite(AfterDelete);
    return true;
}

void TVtQueryCollection::RemoveCurrentRow()
{
    const int vis = m_cur;
    const int rowIndex = m_visible[vis];
    beginRemoveRows(QModelIndex(), vis, vis);
    m_visible.remove(vis);
    m_rows.remove(rowIndex);
    for (int &v : m_visible)
        if (v > rowIndex)
            --v;
    endRemoveRows();
    SetCurrent(m_visible.isEmpty() ? -1 : qMin(vis, m_visible.size() - 1));
}

bool TVtQueryCollection::Trash()
{
    TVtField *del = FindField(QStringLiteral("DDELETE"));
    if (!del || !Active() || !CurrentRow())
        return false;
    if ((Confirmations & xcoTrash)
        && VtMessageDlg(QStringLiteral("Confermi l'eliminazione del record?"), mtConfirmation, mbYes | mbNo) != mrYes)
        return false;
    const QDate today = VtClock::Today();
    if (UpdateWritesTrashMark()) {
        Edit();
        del->SetAsDate(today);
        if (!Post())
            return false;
    } else if (!WriteTrashMark(today)) {
        return false;
    }
    if (CurrentRow())
        RemoveCurrentRow();
    return true;
}

bool TVtQueryCollection::UpdateWritesTrashMark() const
{
    static const QRegularExpression mark(QStringLiteral("\\bDDELETE\\s*="), QRegularExpression::CaseInsensitiveOption);
    const QStringList statements = (AutoBuildSQL && SQLUpdate.Count() == 0) ? BuildStatements(ukModify) : SQLUpdate.Items();
    for (const QString &s : statements)
        if (mark.match(s).hasMatch())
            return true;
    return false;
}

// An update list that leaves DDELETE alone (it saves what the user edits)
// would let a trashed row vanish from the list and stay in the table: the
// mark is written on its own, with the row's key.
bool TVtQueryCollection::WriteTrashMark(const QDate &day)
{
    const QString table = EffectiveTableName();
    const QString key = KeyFieldList().value(0);
    TVtField *kf = key.isEmpty() ? nullptr : FindField(key);
    if (table.isEmpty() || !kf) {
        ReportError(QStringLiteral("la tabella o la chiave del record non sono note."));
        return false;
    }
    TVtSQLConnection *conn = Conn();
    TVtTransaction tr(conn);
    try {
        tr.StartTransaction();
        conn->CheckWritable();
        TVtFieldValue values;
        values.Add(QStringLiteral("DDELETE"), QDateTime(day, QTime()));
        values.Add(QStringLiteral("VTCURRID"), kf->Value());
        ExecStatement(QStringLiteral("UPDATE %1 SET DDELETE = :DDELETE WHERE %2 = :VTCURRID").arg(table, key), values);
        tr.Commit();
    } catch (const EVtException &e) {
        tr.Rollback();
        ReportError(e.Message());
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- model

int TVtQueryCollection::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_visible.size();
}

int TVtQueryCollection::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant TVtQueryCollection::data(const QModelIndex &idx, int role) const
{
    if (!idx.isValid() || idx.column() >= int(m_fields.size()))
        return QVariant();
    const TVtField *f = m_fields[size_t(idx.column())].get();
    switch (role) {
    case Qt::DisplayRole:
        return TVtField::FormatValue(RowValue(idx.row(), f->Index), f->DataType, f->DisplayFormat);
    case Qt::EditRole:
        return RowValue(idx.row(), f->Index);
    case Qt::TextAlignmentRole:
        if (f->Alignment)
            return f->Alignment;
        if (f->DataType == QMetaType::Double || f->DataType == QMetaType::Int || f->DataType == QMetaType::LongLong)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant TVtQueryCollection::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal && section >= 0 && section < int(m_fields.size()))
        return m_fields[size_t(section)]->Title();
    return section + 1;
}

bool TVtQueryCollection::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_allFetched;
}

void TVtQueryCollection::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid())
        FetchNextPacketNotify();
}

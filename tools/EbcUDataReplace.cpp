#include "EbcUDataReplace.h"
#include "EbdUGlobals.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtPreparedStatement.h"
#include "VtSQLConnection.h"
#include "VtTransaction.h"
#include "VtWaitWindow.h"

#include <QDate>
#include <QLocale>
#include <QSqlRecord>
#include <QXmlStreamReader>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
// The items of a Field, each an attribute or a child element.
void SetItem(TEbcReplaceField &f, const QString &name, const QString &value)
{
    const struct { const char *Name; QString TEbcReplaceField::*Member; } items[] = {
        {"Caption", &TEbcReplaceField::Caption},           {"Name", &TEbcReplaceField::Name},
        {"Type", &TEbcReplaceField::Type},                 {"ValuesQuery", &TEbcReplaceField::ValuesQuery},
        {"KeyFieldNames", &TEbcReplaceField::KeyFieldNames}, {"ListFieldNames", &TEbcReplaceField::ListFieldNames},
        {"UpdateScript", &TEbcReplaceField::UpdateScript}, {"BeforeExec", &TEbcReplaceField::BeforeExec},
        {"OldValueQuery", &TEbcReplaceField::OldValueQuery}, {"UndoCheck", &TEbcReplaceField::UndoCheck},
        {"UndoScript", &TEbcReplaceField::UndoScript}};
    for (const auto &item : items)
        if (name.compare(QLatin1String(item.Name), Qt::CaseInsensitive) == 0)
            f.*item.Member = value.trimmed();
}

TEbcReplaceColumn ReadColumn(QXmlStreamReader &xml)
{
    TEbcReplaceColumn c;
    auto set = [&c](QStringView name, const QString &value) {
        if (name.compare(u"FieldName"_s, Qt::CaseInsensitive) == 0)
            c.FieldName = value.trimmed();
        else if (name.compare(u"Caption"_s, Qt::CaseInsensitive) == 0)
            c.Caption = value.trimmed();
        else if (name.compare(u"MinWidth"_s, Qt::CaseInsensitive) == 0)
            c.MinWidth = value.trimmed().toInt();
    };
    for (const QXmlStreamAttribute &a : xml.attributes())
        set(a.name(), a.value().toString());
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        set(name, xml.readElementText(QXmlStreamReader::IncludeChildElements));
    }
    return c;
}

TEbcReplaceField ReadField(QXmlStreamReader &xml)
{
    TEbcReplaceField f;
    for (const QXmlStreamAttribute &a : xml.attributes())
        SetItem(f, a.name().toString(), a.value().toString());
    while (xml.readNextStartElement()) {
        if (xml.name().compare(u"ListColumns"_s, Qt::CaseInsensitive) == 0) {
            while (xml.readNextStartElement()) {
                if (xml.name().compare(u"ListColumn"_s, Qt::CaseInsensitive) == 0)
                    f.ListColumns << ReadColumn(xml);
                else
                    xml.skipCurrentElement();
            }
        } else {
            const QString name = xml.name().toString();
            SetItem(f, name, xml.readElementText(QXmlStreamReader::IncludeChildElements));
        }
    }
    return f;
}

bool IsNull(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

TVtSQLConnection *Conn()
{
    if (!qqoVtGlobConn || !qqoVtGlobConn->Connected())
        throw EVtException(u"Connessione al database non attiva."_s);
    return qqoVtGlobConn;
}

// The record's current value: the first column of OldValueQuery, and its
// text (the second column, or the value in the Italian locale).
struct TCurrent
{
    QVariant Value;
    QString Text;
};

class TOldValueReader
{
public:
    explicit TOldValueReader(const QString &sql)
    {
        if (!sql.isEmpty())
            m_query = std::make_unique<TVtPreparedStatement>(sql);
    }
    bool Present() const { return m_query != nullptr; }
    TCurrent Read(int selected)
    {
        TCurrent c;
        if (!m_query)
            return c;
        m_query->Exec({{u"SELECTEDID"_s, selected}});
        QSqlQuery &q = m_query->Query();
        if (q.next()) {
            c.Value = q.value(0);
            c.Text = q.record().count() > 1 ? q.value(1).toString() : EbcReplaceDisplayText(c.Value);
        }
        q.finish();
        return c;
    }

private:
    std::unique_ptr<TVtPreparedStatement> m_query;
};

// BeforeExec: a row means the record is left out.
class TExclusion
{
public:
    TExclusion(const QString &sql, const QVariant &newValue) : m_newValue(newValue)
    {
        if (!sql.trimmed().isEmpty())
            m_query = std::make_unique<TVtPreparedStatement>(sql);
    }
    bool Excluded(int selected)
    {
        if (!m_query)
            return false;
        m_query->Exec({{u"SELECTEDID"_s, selected}, {u"NEWVALUE"_s, m_newValue}});
        const bool found = m_query->Query().next();
        m_query->Query().finish();
        return found;
    }

private:
    std::unique_ptr<TVtPreparedStatement> m_query;
    QVariant m_newValue;
};

// A value bound with the field's type.
QVariant Typed(const QVariant &value, QMetaType::Type type)
{
    if (IsNull(value))
        return QVariant(QMetaType(type));
    QVariant v = value;
    if (type == QMetaType::Int && v.typeId() != QMetaType::Int && v.canConvert(QMetaType(QMetaType::Int)))
        v.convert(QMetaType(QMetaType::Int));
    return v;
}

bool SameValue(const QVariant &a, const QVariant &b)
{
    if (IsNull(a) || IsNull(b))
        return IsNull(a) && IsNull(b);
    return EbcReplaceValueText(a) == EbcReplaceValueText(b);
}
}

// ---------------------------------------------------------------- definition

TEbcReplaceField::TKind TEbcReplaceField::Kind() const
{
    const QString t = Type.trimmed().toLower();
    if (t == "enum"_L1)
        return kEnum;
    if (t == "cxenum"_L1)
        return kCxEnum;
    if (t == "integer"_L1)
        return kInteger;
    if (t == "date"_L1)
        return kDate;
    if (t == "boolean"_L1)
        return kBoolean;
    return kText;
}

QMetaType::Type TEbcReplaceField::ParamType() const
{
    switch (Kind()) {
    case kEnum:
    case kCxEnum:
    case kInteger:
        return QMetaType::Int;
    case kDate:
        return QMetaType::QDate;
    default:
        return QMetaType::QString;
    }
}

bool TEbcReplaceField::NewValueOnly() const
{
    return Name.compare(u"iCauId"_s, Qt::CaseInsensitive) == 0 || Name.compare(u"iMpgId"_s, Qt::CaseInsensitive) == 0;
}

const TEbcReplaceField &TEbcReplaceDef::FieldAt(int index) const
{
    if (index < 0 || index >= Fields.size())
        throw EVtException(u"La definizione XML %1 non contiene il dato n. %2."_s.arg(Code).arg(index + 1));
    return Fields.at(index);
}

TEbcReplaceDef EbcReadReplaceDef(const QString &code, const QString &text)
{
    TEbcReplaceDef def;
    def.Code = code;
    QXmlStreamReader xml(text);
    if (xml.readNextStartElement()) {
        while (xml.readNextStartElement()) {
            if (xml.name().compare(u"Fields"_s, Qt::CaseInsensitive) != 0) {
                xml.skipCurrentElement();
                continue;
            }
            while (xml.readNextStartElement()) {
                if (xml.name().compare(u"Field"_s, Qt::CaseInsensitive) == 0)
                    def.Fields << ReadField(xml);
                else
                    xml.skipCurrentElement();
            }
        }
    }
    if (!xml.hasError())
        while (!xml.atEnd())
            xml.readNext();
    if (xml.hasError())
        throw EVtException(u"La definizione XML %1 non è valida: %2"_s.arg(code, xml.errorString()));
    return def;
}

TEbcReplaceDef EbcLoadReplaceDef(const QString &code)
{
    QStringList lines;
    LoadXmlArchivio(lines, code, u"EBC"_s);
    return EbcReadReplaceDef(code, lines.join(u'\n'));
}

QString EbcReplaceValueText(const QVariant &value)
{
    if (IsNull(value))
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDateTime().date().toString(Qt::ISODate);
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return value.toBool() ? u"1"_s : u"0"_s;
    default:
        return value.toString();
    }
}

QString EbcReplaceDisplayText(const QVariant &value)
{
    if (IsNull(value))
        return QString();
    const QLocale it(QLocale::Italian, QLocale::Italy);
    switch (value.typeId()) {
    case QMetaType::QDate:
        return it.toString(value.toDate(), u"dd/MM/yyyy"_s);
    case QMetaType::QDateTime:
        return it.toString(value.toDateTime().date(), u"dd/MM/yyyy"_s);
    case QMetaType::Double:
    case QMetaType::Float:
        return it.toString(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

// ---------------------------------------------------------------- run

QString EbcReplaceScript(const TEbcReplaceRequest &request)
{
    QString script = request.Field.UpdateScript;
    if (IsNull(request.OldValue))
        script.replace(u"= :OLDVALUE"_s, u"IS NULL"_s);
    return script;
}

QList<TEbcPreviewRow> EbcReplacePreview(const TEbcReplaceRequest &request)
{
    const QMetaType::Type type = request.Field.ParamType();
    TOldValueReader current(request.Field.OldValueQuery);
    TExclusion exclusion(request.Field.BeforeExec, Typed(request.NewValue, type));
    const bool compares = !request.Field.NewValueOnly() && !request.Any;
    QList<TEbcPreviewRow> rows;
    for (int selected : request.Selected) {
        TEbcPreviewRow row;
        const TCurrent c = current.Read(selected);
        row.Current = c.Value;
        row.CurrentText = c.Text;
        if (exclusion.Excluded(selected))
            row.Outcome = poExcluded;
        else if (compares && current.Present() && !SameValue(c.Value, request.OldValue))
            row.Outcome = poUnchanged;
        rows << row;
    }
    return rows;
}

int EbcReplaceRun(const TEbcReplaceRequest &request)
{
    const TEbcReplaceField &field = request.Field;
    const QMetaType::Type type = field.ParamType();
    const QVariant newValue = Typed(request.NewValue, type);
    const QVariant oldValue = Typed(request.OldValue, type);
    int count = 0;
    int row = 0;
    TVtTransaction transaction(Conn());
    transaction.StartTransaction();
    TVtWaitWindow wait(u"Sostituzione dati in corso. Attendere ..."_s, 0, qMax(0, int(request.Selected.size()) - 1));
    try {
        const int logId = Conn()->NextId();
        TVtPreparedStatement header(
            u"INSERT INTO TSdt_SostDati (iSdtId, sSdtXmlCodice, lSdtModo, sSdtNome, sSdtCaption, sSdtTipo, "
            "sSdtNuovoValore, sSdtNuovoTesto, sSdtUtente, dSdtData, iSdtNumero, bSdtUndoCheck, bSdtUndoScript) VALUES "
            "(:iSdtId, :sCodice, :lModo, :sNome, :sCaption, :sTipo, :sValore, :sTesto, :sUtente, CURRENT_TIMESTAMP, 0, "
            ":bCheck, :bScript)"_s);
        header.Exec({{u"iSdtId"_s, logId}, {u"sCodice"_s, request.Code}, {u"lModo"_s, request.Mode},
                     {u"sNome"_s, field.Name}, {u"sCaption"_s, field.Caption}, {u"sTipo"_s, field.Type},
                     {u"sValore"_s, EbcReplaceValueText(newValue)}, {u"sTesto"_s, request.NewText},
                     {u"sUtente"_s, Conn()->UserKey()},
                     {u"bCheck"_s, field.UndoCheck.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : field.UndoCheck},
                     {u"bScript"_s, field.UndoScript.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : field.UndoScript}});
        TOldValueReader current(field.OldValueQuery);
        TExclusion exclusion(field.BeforeExec, newValue);
        TVtPreparedStatement update(EbcReplaceScript(request));
        TVtPreparedStatement logRow(
            u"INSERT INTO TSdr_SostDatiRighe (iSdrId, iSdtId, iSdrSelId, sSdrVecchioValore) "
            "VALUES (GEN_ID(GEN_VTID, 1), :iSdtId, :iSel, :sVecchio)"_s);
        QVariantMap values{{u"NEWVALUE"_s, newValue}, {u"OLDVALUE"_s, oldValue}, {u"ANY"_s, request.Any ? 1 : 0}};
        for (; row < request.Selected.size(); ++row) {
            const int selected = request.Selected.at(row);
            if (!exclusion.Excluded(selected)) {
                const QString before = EbcReplaceValueText(current.Read(selected).Value);
                values.insert(u"SELECTEDID"_s, selected);
                update.Exec(values);
                const int touched = qMax(0, update.RowsAffected());
                count += touched;
                if (touched > 0)
                    logRow.Exec({{u"iSdtId"_s, logId}, {u"iSel"_s, selected},
                                 {u"sVecchio"_s, before.isNull() ? QVariant(QMetaType(QMetaType::QString)) : before}});
            }
            wait.Step();
        }
        TVtPreparedStatement total(u"UPDATE TSdt_SostDati SET iSdtNumero = :iNumero WHERE iSdtId = :iSdtId"_s);
        total.Exec({{u"iNumero"_s, count}, {u"iSdtId"_s, logId}});
    } catch (const EVtException &e) {
        wait.Close();
        transaction.Rollback();
        throw EVtException(u"Impossibile inserire il dato %1 per %2:\r\n%3\r\nNessun dato è stato modificato."_s
                               .arg(field.Caption, request.Names.value(row, QString::number(request.Selected.value(row))),
                                    e.Message()));
    }
    wait.Close();
    transaction.Commit();
    return count;
}

// ---------------------------------------------------------------- undo

std::optional<TEbcReplaceLog> EbcLastReplace()
{
    TVtPreparedStatement q(
        u"SELECT FIRST 1 iSdtId, sSdtXmlCodice, lSdtModo, sSdtNome, sSdtCaption, sSdtTipo, sSdtNuovoValore, "
        "sSdtNuovoTesto, sSdtUtente, dSdtData, iSdtNumero, bSdtUndoCheck, bSdtUndoScript, dSdtAnnullata "
        "FROM TSdt_SostDati ORDER BY dSdtData DESC, iSdtId DESC"_s);
    q.Exec({});
    QSqlQuery &r = q.Query();
    if (!r.next())
        return std::nullopt;
    TEbcReplaceLog log;
    log.Id = r.value(0).toInt();
    log.Code = r.value(1).toString();
    log.Mode = r.value(2).toInt();
    log.Name = r.value(3).toString();
    log.Caption = r.value(4).toString();
    log.Type = r.value(5).toString();
    log.NewValue = r.value(6).toString();
    log.NewText = r.value(7).toString();
    log.User = r.value(8).toString();
    log.Date = r.value(9).toDateTime();
    log.Count = r.value(10).toInt();
    log.UndoCheck = r.value(11).toString();
    log.UndoScript = r.value(12).toString();
    log.Undone = !r.value(13).isNull();
    return log;
}

int EbcUndoReplace(const TEbcReplaceLog &log)
{
    TVtTransaction transaction(Conn());
    transaction.StartTransaction();
    QList<QPair<int, QVariant>> rows;
    {
        TVtPreparedStatement read(
            u"SELECT iSdrSelId, sSdrVecchioValore FROM TSdr_SostDatiRighe WHERE iSdtId = :iSdtId ORDER BY iSdrId"_s);
        read.Exec({{u"iSdtId"_s, log.Id}});
        while (read.Query().next())
            rows.append({read.Query().value(0).toInt(), read.Query().value(1)});
    }
    TVtWaitWindow wait(u"Annullamento in corso. Attendere ..."_s, 0, qMax(0, int(rows.size()) * 2 - 1));
    const QVariant newValue = log.NewValue.isNull() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(log.NewValue);
    auto values = [&](const QPair<int, QVariant> &row) {
        return QVariantMap{{u"SELECTEDID"_s, row.first}, {u"OLDVALUE"_s, row.second}, {u"NEWVALUE"_s, newValue}};
    };
    int changed = 0;
    if (!log.UndoCheck.trimmed().isEmpty()) {
        TVtPreparedStatement check(log.UndoCheck);
        for (const auto &row : rows) {
            check.Exec(values(row));
            changed += check.Query().next() ? 1 : 0;
            check.Query().finish();
            wait.Step();
        }
    }
    if (changed > 0) {
        wait.Close();
        transaction.Rollback();
        throw EVtException(u"Impossibile annullare la sostituzione del dato %1: %2 record sono cambiati dopo la "
                           "sostituzione."_s.arg(log.Caption).arg(changed));
    }
    TVtPreparedStatement undo(log.UndoScript);
    for (const auto &row : rows) {
        undo.Exec(values(row));
        wait.Step();
    }
    TVtPreparedStatement mark(u"UPDATE TSdt_SostDati SET dSdtAnnullata = CURRENT_TIMESTAMP WHERE iSdtId = :iSdtId"_s);
    mark.Exec({{u"iSdtId"_s, log.Id}});
    wait.Close();
    transaction.Commit();
    return int(rows.size());
}

bool EbcUndoLastReplace()
{
    const std::optional<TEbcReplaceLog> log = EbcLastReplace();
    if (!log || log->Undone || log->Count == 0) {
        VtMessageDlg(u"Nessuna sostituzione multipla da annullare."_s, mtInformation, mbOK);
        return false;
    }
    if (log->UndoScript.trimmed().isEmpty()) {
        VtMessageDlg(u"La sostituzione del dato %1 non può essere annullata."_s.arg(log->Caption), mtInformation, mbOK);
        return false;
    }
    if (!VtConfirm(u"Annullare l'ultima sostituzione multipla?\r\nDato: %1\r\nEseguita il %2 da %3 su %4 alunni"_s
                       .arg(log->Caption, log->Date.toString(u"dd/MM/yyyy hh:mm"_s), log->User)
                       .arg(log->Count)))
        return false;
    try {
        const int restored = EbcUndoReplace(*log);
        VtMessageDlg(u"Annullata la sostituzione del dato %1 su %2 alunni"_s.arg(log->Caption).arg(restored),
                     mtInformation, mbOK);
        return true;
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), mtError, mbOK);
        return false;
    }
}

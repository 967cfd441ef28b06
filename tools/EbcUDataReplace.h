#pragma once
#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <optional>

// The bulk data replace: what can be written is read from an XML definition
// of the archive (code EBCREPLACE, list EBC); each field carries the
// statement run once per picked record and, optionally, the ones that read
// its current value and check and undo a run. A run is logged in the same
// transaction, so that the last one can be undone, also after a restart.

struct TEbcReplaceColumn
{
    QString FieldName;
    QString Caption;
    int MinWidth = 0;
};

struct TEbcReplaceField
{
    enum TKind { kEnum, kCxEnum, kInteger, kDate, kBoolean, kText };

    QString Caption;
    QString Name;
    QString Type;             // as written
    QString ValuesQuery;
    QString KeyFieldNames, ListFieldNames;
    QList<TEbcReplaceColumn> ListColumns;
    QString UpdateScript;
    QString BeforeExec;
    QString OldValueQuery;    // the record's value (column 1) and its text (column 2, optional)
    QString UndoCheck;        // a row: that record cannot be put back
    QString UndoScript;       // puts the old value back

    TKind Kind() const;
    // The type its values are bound with: integer, date or text.
    QMetaType::Type ParamType() const;
    // The fields that only take a new value (a reason, a payment mode).
    bool NewValueOnly() const;
};

struct TEbcReplaceDef
{
    QString Code;
    QList<TEbcReplaceField> Fields;

    // The field at a 0-based position; throws when the definition has none there.
    const TEbcReplaceField &FieldAt(int index) const;
};

inline const QString EbcReplaceCode = QStringLiteral("EBCREPLACE");

// Reads a definition's XML; throws EVtException when it does not parse.
TEbcReplaceDef EbcReadReplaceDef(const QString &code, const QString &xml);
// Reads the definition stored in the archive (list EBC).
TEbcReplaceDef EbcLoadReplaceDef(const QString &code = EbcReplaceCode);

// A value as the log keeps it: numbers with a point, dates yyyy-mm-dd, null
// as a null text.
QString EbcReplaceValueText(const QVariant &value);
// A value as the user reads it, in the Italian locale.
QString EbcReplaceDisplayText(const QVariant &value);

// One run: the field, its values, the picked records in list order (with
// the pupil's name of each, for the messages).
struct TEbcReplaceRequest
{
    QString Code = EbcReplaceCode;
    int Mode = 0;
    TEbcReplaceField Field;
    QVariant NewValue;
    QString NewText;          // the new value as the editor shows it
    QVariant OldValue;        // null: "<Vuoto>"
    bool Any = false;
    QList<int> Selected;
    QStringList Names;
};

// The update script with "= :OLDVALUE" made "IS NULL" for a null old value.
QString EbcReplaceScript(const TEbcReplaceRequest &request);

enum TEbcPreviewOutcome { poModify, poUnchanged, poExcluded };
struct TEbcPreviewRow
{
    QVariant Current;
    QString CurrentText;
    TEbcPreviewOutcome Outcome = poModify;
};
// What a run would do to each picked record; reads only.
QList<TEbcPreviewRow> EbcReplacePreview(const TEbcReplaceRequest &request);

// Runs the update for every picked record in one transaction, with the wait
// window, and logs it; the number of rows the updates touched. On a failure
// nothing is written and EVtException says which record failed.
int EbcReplaceRun(const TEbcReplaceRequest &request);

// The newest run of the database.
struct TEbcReplaceLog
{
    int Id = 0;
    QString Code, Name, Caption, Type, NewValue, NewText, User;
    int Mode = 0;
    QDateTime Date;
    int Count = 0;
    QString UndoCheck, UndoScript;
    bool Undone = false;
};
std::optional<TEbcReplaceLog> EbcLastReplace();

// Puts back the values a run replaced, in one transaction; throws (and
// writes nothing) when a record changed since. The number of records.
int EbcUndoReplace(const TEbcReplaceLog &log);

// The undo of the last run as the user asks for it: the checks, the
// question, the outcome. True when something was undone.
bool EbcUndoLastReplace();

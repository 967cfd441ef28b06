#pragma once
#include <QDate>
#include <QMetaType>
#include <QString>
#include <QVariant>

class TVtQueryCollection;

enum class TVtFieldKind { Data, Calculated };

// One column of a collection; reads and writes the collection's active row.
class TVtField
{
public:
    TVtField(TVtQueryCollection *dataSet, const QString &name, QMetaType::Type type, int size, TVtFieldKind kind);

    TVtQueryCollection *DataSet() const { return m_dataSet; }
    QString FieldName;
    QString DisplayLabel;          // grid title; the field name when empty
    QMetaType::Type DataType;
    int Size;
    TVtFieldKind Kind;
    int Index = -1;                // position in the row
    bool Required = false;
    bool ReadOnly = false;
    bool Visible = true;
    bool Persistent = false;       // declared before opening
    QString DisplayFormat;         // such as "#,###.00" or "dd/MM/yyyy"
    int DisplayWidth = 0;
    int Alignment = 0;             // Qt::Alignment of the grid cell; 0: by type (numbers right, text left)

    bool IsCalculated() const { return Kind == TVtFieldKind::Calculated; }
    QVariant Value() const;
    QVariant OldValue() const;     // value before the edit began
    void SetValue(const QVariant &value);
    void Clear() { SetValue(QVariant()); }
    bool IsNull() const { return Value().isNull(); }
    int AsInteger() const { return Value().toInt(); }
    void SetAsInteger(int v) { SetValue(v); }
    double AsFloat() const { return Value().toDouble(); }
    void SetAsFloat(double v) { SetValue(v); }
    QString AsString() const { return Value().toString(); }
    void SetAsString(const QString &v) { SetValue(v); }
    QDate AsDate() const { return Value().toDate(); }
    void SetAsDate(const QDate &v) { SetValue(v); }
    bool AsBoolean() const { return Value().toInt() != 0; }
    QString DisplayText() const { return FormatValue(Value(), DataType, DisplayFormat); }
    QString Title() const { return DisplayLabel.isEmpty() ? FieldName : DisplayLabel; }

    // Converts a value to the field's type; an invalid QVariant when it cannot.
    QVariant Coerce(const QVariant &value) const;
    // Text of a value in the Italian locale: dates dd/MM/yyyy, amounts with
    // a format such as "#,###.00".
    static QString FormatValue(const QVariant &value, QMetaType::Type type, const QString &format);
    static QString FormatNumber(double value, const QString &format);

private:
    TVtQueryCollection *m_dataSet;
};

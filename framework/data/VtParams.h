#pragma once
#include <QDate>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

enum TVtParamType { ptUnknown, ptInput, ptOutput, ptInputOutput };

// One named parameter of a select.
class TVtParam
{
public:
    TVtParam(const QString &name, QMetaType::Type dataType, TVtParamType paramType)
        : Name(name), DataType(dataType), ParamType(paramType) {}

    QString Name;
    QMetaType::Type DataType;
    TVtParamType ParamType;
    bool Bound = false;

    QVariant Value() const { return m_value; }
    void SetValue(const QVariant &value);
    void Clear();
    bool IsNull() const { return m_value.isNull(); }
    int AsInteger() const { return m_value.toInt(); }
    void SetAsInteger(int v) { SetValue(v); }
    QString AsString() const { return m_value.toString(); }
    void SetAsString(const QString &v) { SetValue(v); }
    double AsFloat() const { return m_value.toDouble(); }
    void SetAsFloat(double v) { SetValue(v); }
    void SetAsDate(const QDate &v) { SetValue(v); }

private:
    QVariant m_value;
};

// The parameters of a select, found by name without regard to case.
class TVtParams
{
public:
    TVtParam *CreateParam(QMetaType::Type dataType, const QString &name, TVtParamType paramType = ptInput);
    TVtParam *FindParam(const QString &name) const;
    // Throws EVtException when there is no such parameter.
    TVtParam *ParamByName(const QString &name) const;
    int Count() const { return int(m_items.size()); }
    TVtParam *Items(int i) const { return m_items[size_t(i)].get(); }
    void Clear() { m_items.clear(); }
    // Copies the values of the parameters with the same name.
    void AssignValues(const TVtParams &other);

private:
    std::vector<std::unique_ptr<TVtParam>> m_items;
};

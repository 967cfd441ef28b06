#include "VtParams.h"
#include "VtException.h"

void TVtParam::SetValue(const QVariant &value)
{
    if (value.isNull()) {
        m_value = QVariant();
    } else {
        QVariant v = value;
        if (DataType != QMetaType::UnknownType && v.metaType().id() != DataType && v.canConvert(QMetaType(DataType)))
            v.convert(QMetaType(DataType));
        m_value = v;
    }
    Bound = true;
}

void TVtParam::Clear()
{
    m_value = QVariant();
}

TVtParam *TVtParams::CreateParam(QMetaType::Type dataType, const QString &name, TVtParamType paramType)
{
    if (TVtParam *p = FindParam(name)) {
        p->DataType = dataType;
        p->ParamType = paramType;
        return p;
    }
    m_items.push_back(std::make_unique<TVtParam>(name, dataType, paramType));
    return m_items.back().get();
}

TVtParam *TVtParams::FindParam(const QString &name) const
{
    for (const auto &p : m_items)
        if (p->Name.compare(name, Qt::CaseInsensitive) == 0)
            return p.get();
    return nullptr;
}

TVtParam *TVtParams::ParamByName(const QString &name) const
{
    if (TVtParam *p = FindParam(name))
        return p;
    throw EVtException(QStringLiteral("Parametro '%1' non trovato.").arg(name));
}

void TVtParams::AssignValues(const TVtParams &other)
{
    for (const auto &p : m_items)
        if (TVtParam *o = other.FindParam(p->Name))
            p->SetValue(o->Value());
}

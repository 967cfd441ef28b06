#include "VtRptFilterDef.h"
#include "VtException.h"

#include <QDomDocument>
#include <QDomElement>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {
TVtRptFilterDef::TType TypeOf(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == "enum"_L1)
        return TVtRptFilterDef::ftEnum;
    if (t == "integer"_L1)
        return TVtRptFilterDef::ftInteger;
    if (t == "date"_L1)
        return TVtRptFilterDef::ftDate;
    return TVtRptFilterDef::ftString;
}

QString ValuesQueryOf(const QDomElement &e)
{
    if (e.hasAttribute(u"ValuesQuery"_s))
        return e.attribute(u"ValuesQuery"_s).trimmed();
    return e.firstChildElement(u"ValuesQuery"_s).text().trimmed();
}

TVtRptFilterDef::TField FieldOf(const QDomElement &e)
{
    TVtRptFilterDef::TField f;
    f.Name = e.attribute(u"Name"_s);
    f.Caption = e.attribute(u"Caption"_s).trimmed();
    if (f.Caption.isEmpty())
        f.Caption = f.Name;
    f.Type = TypeOf(e.attribute(u"Type"_s));
    if (f.Type == TVtRptFilterDef::ftEnum)
        f.ValuesQuery = ValuesQueryOf(e);
    return f;
}
}

TVtRptFilterDef TVtRptFilterDef::FromXml(const QString &code, const QString &xml)
{
    QDomDocument doc;
    if (!doc.setContent(xml) || doc.documentElement().tagName() != "Filter"_L1)
        throw EVtException(u"La definizione del filtro \"%1\" non è valida."_s.arg(code));
    TVtRptFilterDef def;
    def.m_code = code;
    const QDomElement fields = doc.documentElement().firstChildElement(u"Fields"_s);
    for (QDomElement e = fields.firstChildElement(u"Field"_s); !e.isNull(); e = e.nextSiblingElement(u"Field"_s)) {
        const TField f = FieldOf(e);
        if (IsFieldName(f.Name))
            def.m_fields << f;
    }
    return def;
}

bool TVtRptFilterDef::IsFieldName(const QString &name)
{
    static const QRegularExpression re(
        QRegularExpression::anchoredPattern(u"[A-Za-z_][A-Za-z0-9_$]*(\\.[A-Za-z_][A-Za-z0-9_$]*)?"_s));
    return re.match(name).hasMatch();
}

const TVtRptFilterDef::TField *TVtRptFilterDef::FindField(const QString &name) const
{
    for (const TField &f : m_fields)
        if (f.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

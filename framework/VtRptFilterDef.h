#pragma once
#include <QList>
#include <QString>

// The fields a report or a selection list can be filtered on, read from the
// XML of its archive definition:
//   <Filter><Fields>
//     <Field Caption="Anno di corso" Name="VCls.iAcsId" Type="enum"
//            ValuesQuery="SELECT iAcsId, sAcsLDesc FROM TAcs_AnniCorso"/>
//   </Fields></Filter>
// The values of an "enum" field come from its select (id, caption); the
// select may also be the text of a child element <ValuesQuery>.
class TVtRptFilterDef
{
public:
    enum TType { ftString, ftEnum, ftInteger, ftDate };
    struct TField
    {
        QString Caption;
        QString Name;           // column, optionally "alias.column"
        TType Type = ftString;
        QString ValuesQuery;    // "enum" only
    };

    // The fields of the XML; those whose name is not a column name are left
    // out. Throws EVtException when the XML is not a filter definition.
    static TVtRptFilterDef FromXml(const QString &code, const QString &xml);
    // A column name the conditions may be written on: an identifier,
    // optionally qualified by an alias.
    static bool IsFieldName(const QString &name);

    QString Code() const { return m_code; }
    const QList<TField> &Fields() const { return m_fields; }
    // The field of that name (without regard to case); null when absent.
    const TField *FindField(const QString &name) const;

private:
    QString m_code;
    QList<TField> m_fields;
};

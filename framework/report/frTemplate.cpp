#include "frTemplate.h"
#include "VtException.h"

#include <QDomDocument>
#include <functional>

namespace {
[[noreturn]] void Invalid(int line, int column, const QString &what)
{
    throw EVtException(QStringLiteral("Modello non valido alla riga %1, colonna %2: %3").arg(line).arg(column).arg(what));
}

[[noreturn]] void Invalid(const QDomElement &e, const QString &what)
{
    Invalid(e.lineNumber(), e.columnNumber(), what);
}

double Number(const QDomElement &e, const char *attribute, double fallback)
{
    const QString text = e.attribute(QLatin1String(attribute));
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok)
        Invalid(e, QStringLiteral("l'attributo %1 non è un numero: \"%2\"").arg(QLatin1String(attribute), text));
    return v;
}

bool Flag(const QDomElement &e, const char *attribute)
{
    const QString v = e.attribute(QLatin1String(attribute)).trimmed().toLower();
    return v == QLatin1String("true") || v == QLatin1String("1") || v == QLatin1String("yes");
}

// Expressions and texts carry their place in the XML when they do not parse.
template <typename T>
T Parsed(const QDomElement &e, const QString &text)
{
    try {
        return T(text);
    } catch (const EVtException &ex) {
        Invalid(e, ex.Message());
    }
}

Qt::Alignment Align(const QDomElement &e)
{
    const QString a = e.attribute(QStringLiteral("Align")).toLower();
    if (a == QLatin1String("right"))
        return Qt::AlignRight;
    if (a == QLatin1String("center"))
        return Qt::AlignHCenter;
    if (a == QLatin1String("justify"))
        return Qt::AlignJustify;
    return Qt::AlignLeft;
}

Qt::Alignment VAlign(const QDomElement &e)
{
    const QString a = e.attribute(QStringLiteral("VAlign")).toLower();
    if (a == QLatin1String("bottom"))
        return Qt::AlignBottom;
    if (a == QLatin1String("center") || a == QLatin1String("middle"))
        return Qt::AlignVCenter;
    return Qt::AlignTop;
}

TfrTemplate::TObject ReadObject(const QDomElement &e)
{
    TfrTemplate::TObject o;
    const QString tag = e.tagName();
    if (tag == QLatin1String("Text"))
        o.Kind = TfrTemplate::TObject::okText;
    else if (tag == QLatin1String("Line"))
        o.Kind = TfrTemplate::TObject::okLine;
    else if (tag == QLatin1String("Rect"))
        o.Kind = TfrTemplate::TObject::okRect;
    else if (tag == QLatin1String("Barcode"))
        o.Kind = TfrTemplate::TObject::okBarcode;
    else
        Invalid(e, QStringLiteral("elemento sconosciuto <%1>").arg(tag));
    o.Line = e.lineNumber();
    o.Name = e.attribute(QStringLiteral("Name"));
    o.Rect = QRectF(Number(e, "Left", 0), Number(e, "Top", 0), Number(e, "Width", 0), Number(e, "Height", 0));
    o.Font = e.attribute(QStringLiteral("Font"));
    o.FontSize = Number(e, "FontSize", 0);
    const QString style = e.attribute(QStringLiteral("FontStyle")).toLower();
    o.Bold = style.contains(QLatin1String("bold"));
    o.Italic = style.contains(QLatin1String("italic"));
    o.Underline = style.contains(QLatin1String("underline"));
    o.Align = Align(e);
    o.VAlign = VAlign(e);
    o.WordWrap = Flag(e, "WordWrap");
    o.Stretch = Flag(e, "Stretch");
    o.Frame = e.attribute(QStringLiteral("Frame")).toUpper();
    o.FrameWidth = Number(e, "FrameWidth", 0.2);
    o.Format = e.attribute(QStringLiteral("Format"));
    o.Visible = Parsed<TfrExpression>(e, e.attribute(QStringLiteral("Visible")));
    if (o.Kind == TfrTemplate::TObject::okBarcode) {
        o.Text = Parsed<TfrTextTemplate>(e, e.attribute(QStringLiteral("Value")));
        o.ShowText = !e.hasAttribute(QStringLiteral("ShowText")) || Flag(e, "ShowText");
    } else if (o.Kind == TfrTemplate::TObject::okText) {
        o.Text = Parsed<TfrTextTemplate>(e, e.text());
    }
    return o;
}

TfrTemplate::TBand::TKind BandKind(const QDomElement &e)
{
    static const QHash<QString, TfrTemplate::TBand::TKind> kinds{
        {QStringLiteral("ReportTitle"), TfrTemplate::TBand::bkReportTitle},
        {QStringLiteral("PageHeader"), TfrTemplate::TBand::bkPageHeader},
        {QStringLiteral("PageFooter"), TfrTemplate::TBand::bkPageFooter},
        {QStringLiteral("Summary"), TfrTemplate::TBand::bkSummary},
        {QStringLiteral("Data"), TfrTemplate::TBand::bkData},
        {QStringLiteral("Header"), TfrTemplate::TBand::bkHeader},
        {QStringLiteral("Footer"), TfrTemplate::TBand::bkFooter},
        {QStringLiteral("GroupHeader"), TfrTemplate::TBand::bkGroupHeader},
        {QStringLiteral("GroupFooter"), TfrTemplate::TBand::bkGroupFooter}};
    const QString type = e.attribute(QStringLiteral("Type"));
    if (!kinds.contains(type))
        Invalid(e, QStringLiteral("tipo di banda sconosciuto \"%1\"").arg(type));
    return kinds.value(type);
}

TfrTemplate::TBand ReadBand(const QDomElement &e, bool nested)
{
    TfrTemplate::TBand b;
    b.Kind = BandKind(e);
    b.Line = e.lineNumber();
    const bool child = b.Kind == TfrTemplate::TBand::bkHeader || b.Kind == TfrTemplate::TBand::bkFooter
                       || b.Kind == TfrTemplate::TBand::bkGroupHeader || b.Kind == TfrTemplate::TBand::bkGroupFooter;
    if (child && !nested)
        Invalid(e, QStringLiteral("la banda %1 deve stare in una banda Data").arg(e.attribute(QStringLiteral("Type"))));
    if (nested && !child && b.Kind != TfrTemplate::TBand::bkData)
        Invalid(e, QStringLiteral("la banda %1 non può stare in una banda Data").arg(e.attribute(QStringLiteral("Type"))));
    b.Name = e.attribute(QStringLiteral("Name"));
    b.DataSet = e.attribute(QStringLiteral("DataSet"));
    if (b.Kind == TfrTemplate::TBand::bkData && b.DataSet.isEmpty())
        Invalid(e, QStringLiteral("la banda Data non indica il suo DataSet"));
    b.Height = Number(e, "Height", 0);
    b.Stretch = Flag(e, "Stretch");
    b.NewPage = Flag(e, "NewPage");
    b.RepeatOnNewPage = Flag(e, "RepeatOnNewPage");
    b.PrintIfEmpty = Flag(e, "PrintIfEmpty");
    b.ResetPageNumbers = Flag(e, "ResetPageNumbers");
    b.Visible = Parsed<TfrExpression>(e, e.attribute(QStringLiteral("Visible")));
    b.Condition = Parsed<TfrExpression>(e, e.attribute(QStringLiteral("Condition")));
    if ((b.Kind == TfrTemplate::TBand::bkGroupHeader || b.Kind == TfrTemplate::TBand::bkGroupFooter) && b.Condition.IsEmpty())
        Invalid(e, QStringLiteral("la banda di gruppo non ha la sua Condition"));
    for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
        if (c.tagName() == QLatin1String("Band")) {
            if (b.Kind != TfrTemplate::TBand::bkData)
                Invalid(c, QStringLiteral("solo una banda Data contiene altre bande"));
            b.Children << ReadBand(c, true);
        } else {
            b.Objects << ReadObject(c);
        }
    }
    return b;
}

TfrTemplate::TDataSet ReadDataSet(const QDomElement &e)
{
    TfrTemplate::TDataSet d;
    d.Name = e.attribute(QStringLiteral("Name"));
    if (d.Name.isEmpty())
        Invalid(e, QStringLiteral("il DataSet non ha il suo Name"));
    d.SelectForm = e.attribute(QStringLiteral("SelectForm"));
    d.BeforeOpen = e.attribute(QStringLiteral("BeforeOpen"));
    d.AfterSelect = e.attribute(QStringLiteral("AfterSelect"));
    for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
        const QString tag = c.tagName();
        if (tag == QLatin1String("Sql"))
            d.Sql = c.text().trimmed();
        else if (tag == QLatin1String("Param"))
            d.Params << TfrTemplate::TParam{c.attribute(QStringLiteral("Name")), c.attribute(QStringLiteral("Type")),
                                            Parsed<TfrExpression>(c, c.attribute(QStringLiteral("Value")))};
        else if (tag == QLatin1String("Set"))
            d.Sets << TfrTemplate::TSet{c.attribute(QStringLiteral("Property")),
                                        Parsed<TfrTextTemplate>(c, c.attribute(QStringLiteral("Value")))};
        else
            Invalid(c, QStringLiteral("elemento sconosciuto <%1>").arg(tag));
    }
    return d;
}
}

QList<const TfrTemplate::TBand *> TfrTemplate::TBand::ChildrenOf(TKind kind) const
{
    QList<const TBand *> bands;
    for (const TBand &b : Children)
        if (b.Kind == kind)
            bands << &b;
    return bands;
}

QSizeF TfrTemplate::PageSize() const
{
    const QSizeF s = QPageSize::size(Paper, QPageSize::Millimeter);
    return Orientation == QPageLayout::Landscape ? s.transposed() : s;
}

TfrTemplate TfrTemplate::Parse(const QString &xml)
{
    QDomDocument doc;
    QString error;
    int line = 0, column = 0;
    if (!doc.setContent(xml, &error, &line, &column))
        Invalid(line, column, error);
    const QDomElement root = doc.documentElement();
    if (root.tagName() != QLatin1String("Report"))
        Invalid(root, QStringLiteral("l'elemento principale dev'essere <Report>"));
    TfrTemplate t;
    t.Name = root.attribute(QStringLiteral("Name"));
    t.Title = root.attribute(QStringLiteral("Title"));
    const QString paper = root.attribute(QStringLiteral("Paper"), QStringLiteral("A4")).toUpper();
    if (paper == QLatin1String("A5"))
        t.Paper = QPageSize::A5;
    else if (paper != QLatin1String("A4"))
        Invalid(root, QStringLiteral("formato di pagina \"%1\" non previsto (A4 o A5)").arg(paper));
    const QString orientation = root.attribute(QStringLiteral("Orientation"), QStringLiteral("Portrait"));
    if (orientation.compare(QLatin1String("Landscape"), Qt::CaseInsensitive) == 0)
        t.Orientation = QPageLayout::Landscape;
    else if (orientation.compare(QLatin1String("Portrait"), Qt::CaseInsensitive) != 0)
        Invalid(root, QStringLiteral("orientamento \"%1\" non previsto").arg(orientation));
    const QString margins = root.attribute(QStringLiteral("Margins"));
    if (!margins.isEmpty()) {
        const QStringList m = margins.simplified().split(QLatin1Char(' '));
        QList<double> v;
        for (const QString &s : m) {
            bool ok = false;
            v << s.toDouble(&ok);
            if (!ok)
                Invalid(root, QStringLiteral("margini \"%1\" non validi").arg(margins));
        }
        if (v.size() != 4)
            Invalid(root, QStringLiteral("i margini sono quattro: sopra, destra, sotto, sinistra"));
        t.Margins = QMarginsF(v[3], v[0], v[1], v[2]);
    }
    if (root.hasAttribute(QStringLiteral("Font")))
        t.Font = root.attribute(QStringLiteral("Font"));
    t.FontSize = Number(root, "FontSize", 9);
    for (QDomElement c = root.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
        if (c.tagName() == QLatin1String("DataSet"))
            t.DataSets << ReadDataSet(c);
        else if (c.tagName() == QLatin1String("Band"))
            t.Bands << ReadBand(c, false);
        else
            Invalid(c, QStringLiteral("elemento sconosciuto <%1>").arg(c.tagName()));
    }
    return t;
}

const TfrTemplate::TBand *TfrTemplate::TopBand(TBand::TKind kind) const
{
    for (const TBand &b : Bands)
        if (b.Kind == kind)
            return &b;
    return nullptr;
}

QList<const TfrTemplate::TBand *> TfrTemplate::AllBands() const
{
    QList<const TBand *> all;
    std::function<void(const TBand &)> walk = [&](const TBand &b) {
        all << &b;
        for (const TBand &c : b.Children)
            walk(c);
    };
    for (const TBand &b : Bands)
        walk(b);
    return all;
}

const TfrTemplate::TBand *TfrTemplate::FindBand(const QString &name) const
{
    for (const TBand *b : AllBands())
        if (b->Name.compare(name, Qt::CaseInsensitive) == 0)
            return b;
    return nullptr;
}

const TfrTemplate::TDataSet *TfrTemplate::FindDataSet(const QString &name) const
{
    for (const TDataSet &d : DataSets)
        if (d.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &d;
    return nullptr;
}

#pragma once
#include "frExpression.h"

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>

// A report template read from its XML: the page, the datasets the template
// defines itself, and the bands with their objects. Units are millimetres.
class TfrTemplate
{
public:
    struct TObject
    {
        enum TKind { okText, okLine, okRect, okBarcode } Kind = okText;
        QString Name;
        QRectF Rect;
        TfrTextTemplate Text;        // okText; okBarcode: Value
        QString Font;                // empty: the report's
        double FontSize = 0;         // 0: the report's
        bool Bold = false, Italic = false, Underline = false;
        Qt::Alignment Align = Qt::AlignLeft;
        Qt::Alignment VAlign = Qt::AlignTop;
        bool WordWrap = false;
        bool Stretch = false;
        QString Frame;               // any of L, T, R, B
        double FrameWidth = 0.2;
        QString Format;
        TfrExpression Visible;
        bool ShowText = true;        // okBarcode
        int Line = 0;                // where it stands in the XML
    };

    struct TBand
    {
        enum TKind { bkReportTitle, bkPageHeader, bkPageFooter, bkSummary, bkData, bkHeader, bkFooter, bkGroupHeader,
                     bkGroupFooter } Kind = bkData;
        QString Name;
        QString DataSet;             // bkData
        double Height = 0;
        bool Stretch = false;
        bool NewPage = false;
        bool RepeatOnNewPage = false;
        bool PrintIfEmpty = false;
        bool ResetPageNumbers = false;
        TfrExpression Visible;
        TfrExpression Condition;     // bkGroupHeader, bkGroupFooter
        QList<TObject> Objects;
        QList<TBand> Children;       // bkData: its headers, footers, groups and nested data bands
        int Line = 0;

        // A band's own children of a kind, in order.
        QList<const TBand *> ChildrenOf(TKind kind) const;
    };

    struct TParam
    {
        QString Name;
        QString Type;                // Integer, Float, Date, String
        TfrExpression Value;
    };
    struct TSet
    {
        QString Property;
        TfrTextTemplate Value;
    };
    struct TDataSet
    {
        QString Name;
        QString Sql;
        QString SelectForm;
        QString BeforeOpen;
        QString AfterSelect;
        QList<TParam> Params;
        QList<TSet> Sets;
    };

    QString Name;
    QString Title;
    QPageSize::PageSizeId Paper = QPageSize::A4;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    QMarginsF Margins{12, 12, 12, 12};   // left, top, right, bottom
    QString Font = QStringLiteral("DejaVu Sans");
    double FontSize = 9;
    QList<TDataSet> DataSets;
    QList<TBand> Bands;

    // The page in millimetres, as oriented.
    QSizeF PageSize() const;

    // Reads a template; raises EVtException "Modello non valido alla riga
    // %1, colonna %2: %3" for text that does not parse or an unknown element.
    static TfrTemplate Parse(const QString &xml);
    // The first band of a kind among the top-level ones; null when none.
    const TBand *TopBand(TBand::TKind kind) const;
    // Every band, depth first, in the order they stand.
    QList<const TBand *> AllBands() const;
    const TBand *FindBand(const QString &name) const;
    const TDataSet *FindDataSet(const QString &name) const;
};

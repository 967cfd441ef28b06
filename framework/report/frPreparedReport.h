#pragma once
#include <QFont>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVariant>

class QPagedPaintDevice;
class QPainter;
class QFontMetricsF;

// The pages of a prepared report: what each page holds, where (in
// millimetres from the page's top left corner), with which font; the text
// that did not fit its box; where each group began; and a copy of every row
// printed, per dataset, for the CSV export. Painting draws the same items on
// any paged device: a PDF writer, a printer, the preview.
class TfrPreparedReport
{
public:
    struct TItem
    {
        enum TKind { ikText, ikLine, ikRect, ikBarcode } Kind = ikText;
        int Page = 0;                 // from 0
        QRectF Rect;                  // millimetres
        QString Text;
        QFont Font;
        Qt::Alignment Align = Qt::AlignLeft | Qt::AlignTop;
        bool WordWrap = false;
        QString Frame;                // any of L, T, R, B
        double FrameWidth = 0.2;
        QList<int> Modules;           // ikBarcode: bar, space, bar, ... widths in modules
        bool ShowText = false;        // ikBarcode
        QString Band;
        QString Object;
    };
    struct TOverflow
    {
        int Page = 0;
        QString Band, Object, Text;
    };
    // A group that began: the band, its first page, the rows then current.
    struct TGroupStart
    {
        QString Band;
        int Page = 0;
        QHash<QString, QHash<QString, QVariant>> Rows;   // dataset (upper case) -> field (upper case) -> value
    };
    // The rows printed from one dataset, with the current rows of its masters.
    struct TTable
    {
        QString DataSet;
        int Depth = 0;                // 0 for a top-level band
        QStringList Headers;          // masters' "dataset.FIELD", then the dataset's own titles
        QList<QMetaType::Type> Types;
        QList<QVariantList> Rows;
    };

    QString Title;
    QPageSize::PageSizeId Paper = QPageSize::A4;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    QSizeF PageSize{210, 297};
    int PageCount = 0;
    QList<TItem> Items;
    QList<TOverflow> Overflows;
    QList<TGroupStart> Groups;
    QList<TTable> Tables;

    void Clear();
    QList<const TItem *> ItemsOn(int page) const;
    // The texts of a page in the order they were placed, one per line.
    QString PageText(int page) const;

    // Paints pages [from, to] (from 0) on a device already set to the
    // report's paper; each page after the first starts with newPage().
    void Print(QPagedPaintDevice *device, int from = 0, int to = -1) const;
    void PaintPage(QPainter &painter, int page, double pxPerMm) const;

    // Text is measured once, at this resolution, without hinting, so that
    // every device breaks pages alike.
    static constexpr double MeasureDpi = 1200;
    static QFontMetricsF Metrics(const QFont &font);
    static QFont UnhintedFont(const QString &family, double pointSize, bool bold, bool italic, bool underline);
    // The size a text takes (millimetres), in a box of that width when wrapped.
    static QSizeF TextSize(const QString &text, const QFont &font, double widthMm, bool wrap);
};

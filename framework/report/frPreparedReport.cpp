#include "frPreparedReport.h"
#include "frBarcode.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {
// The device text is measured on: an image that claims the measuring resolution.
QPaintDevice *MeasureDevice()
{
    static QImage image = [] {
        QImage i(4, 4, QImage::Format_RGB32);
        const int dpm = int(TfrPreparedReport::MeasureDpi / 0.0254 + 0.5);
        i.setDotsPerMeterX(dpm);
        i.setDotsPerMeterY(dpm);
        return i;
    }();
    return &image;
}

constexpr double MmPerInch = 25.4;

int TextFlags(const TfrPreparedReport::TItem &item)
{
    return int(item.Align) | (item.WordWrap ? int(Qt::TextWordWrap) : 0);
}

void PaintFrame(QPainter &p, const QRectF &r, const QString &frame, double widthPx)
{
    if (frame.isEmpty())
        return;
    QPen pen(Qt::black);
    pen.setWidthF(widthPx);
    p.setPen(pen);
    if (frame.contains(QLatin1Char('L')))
        p.drawLine(r.topLeft(), r.bottomLeft());
    if (frame.contains(QLatin1Char('T')))
        p.drawLine(r.topLeft(), r.topRight());
    if (frame.contains(QLatin1Char('R')))
        p.drawLine(r.topRight(), r.bottomRight());
    if (frame.contains(QLatin1Char('B')))
        p.drawLine(r.bottomLeft(), r.bottomRight());
}
}

void TfrPreparedReport::Clear()
{
    *this = TfrPreparedReport();
}

QList<const TfrPreparedReport::TItem *> TfrPreparedReport::ItemsOn(int page) const
{
    QList<const TItem *> items;
    for (const TItem &i : Items)
        if (i.Page == page)
            items << &i;
    return items;
}

QString TfrPreparedReport::PageText(int page) const
{
    QStringList lines;
    for (const TItem *i : ItemsOn(page))
        if (i->Kind == TItem::ikText)
            lines << i->Text;
    return lines.join(QLatin1Char('\n'));
}

QFontMetricsF TfrPreparedReport::Metrics(const QFont &font)
{
    return QFontMetricsF(font, MeasureDevice());
}

QFont TfrPreparedReport::UnhintedFont(const QString &family, double pointSize, bool bold, bool italic, bool underline)
{
    QFont f(family);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

QSizeF TfrPreparedReport::TextSize(const QString &text, const QFont &font, double widthMm, bool wrap)
{
    const double pxPerMm = MeasureDpi / MmPerInch;
    const QFontMetricsF m = Metrics(font);
    if (!wrap) {
        double width = 0;
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (const QString &l : lines)
            width = qMax(width, m.horizontalAdvance(l));
        return QSizeF(width / pxPerMm, m.height() * lines.size() / pxPerMm);
    }
    const QRectF box(0, 0, widthMm * pxPerMm, 1e7);
    const QRectF used = m.boundingRect(box, Qt::TextWordWrap, text);
    return QSizeF(used.width() / pxPerMm, used.height() / pxPerMm);
}

void TfrPreparedReport::PaintPage(QPainter &p, int page, double pxPerMm) const
{
    auto px = [pxPerMm](const QRectF &r) {
        return QRectF(r.left() * pxPerMm, r.top() * pxPerMm, r.width() * pxPerMm, r.height() * pxPerMm);
    };
    for (const TItem *item : ItemsOn(page)) {
        const QRectF r = px(item->Rect);
        p.save();
        switch (item->Kind) {
        case TItem::ikText: {
            p.setClipRect(r.adjusted(-0.5, -0.5, 0.5, 0.5));
            p.setFont(item->Font);
            p.setPen(Qt::black);
            p.drawText(r, TextFlags(*item), item->Text);
            p.setClipping(false);
            PaintFrame(p, r, item->Frame, item->FrameWidth * pxPerMm);
            break;
        }
        case TItem::ikLine: {
            QPen pen(Qt::black);
            pen.setWidthF(item->FrameWidth * pxPerMm);
            p.setPen(pen);
            p.drawLine(r.topLeft(), r.bottomRight());
            break;
        }
        case TItem::ikRect: {
            QPen pen(Qt::black);
            pen.setWidthF(item->FrameWidth * pxPerMm);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
            break;
        }
        case TItem::ikBarcode: {
            int modules = 0;
            for (int w : item->Modules)
                modules += w;
            if (modules == 0)
                break;
            const double textHeight = item->ShowText ? Metrics(item->Font).height() / (MeasureDpi / MmPerInch) * pxPerMm : 0;
            const double unit = r.width() / (modules + 2 * TfrBarcode::QuietZone);
            const double barHeight = qMax(1.0, r.height() - textHeight);
            double x = r.left() + TfrBarcode::QuietZone * unit;
            bool bar = true;
            for (int w : item->Modules) {
                if (bar)
                    p.fillRect(QRectF(x, r.top(), w * unit, barHeight), Qt::black);
                x += w * unit;
                bar = !bar;
            }
            if (item->ShowText) {
                p.setFont(item->Font);
                p.setPen(Qt::black);
                p.drawText(QRectF(r.left(), r.top() + barHeight, r.width(), textHeight), Qt::AlignHCenter | Qt::AlignTop,
                           item->Text);
            }
            break;
        }
        }
        p.restore();
    }
}

void TfrPreparedReport::Print(QPagedPaintDevice *device, int from, int to) const
{
    if (to < 0 || to >= PageCount)
        to = PageCount - 1;
    device->setPageLayout(QPageLayout(QPageSize(Paper), Orientation, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(device))
        return;
    const double pxPerMm = device->logicalDpiX() / MmPerInch;
    for (int page = from; page <= to; ++page) {
        if (page > from)
            device->newPage();
        PaintPage(painter, page, pxPerMm);
    }
    painter.end();
}

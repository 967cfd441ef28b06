#include "VtUtils.h"
#include "VtException.h"
#include "VtFormRegistry.h"
#include "VtParams.h"
#include "VtSQLConnection.h"
#include "fmVtMDIMain.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

// ---------------------------------------------------------------- lists

QList<TVtEnumItem> ReadEnumValues(const QString &select, const TVtParams *params)
{
    if (!qqoVtGlobConn || !qqoVtGlobConn->Connected())
        throw EVtException(QStringLiteral("Connessione al database non disponibile."));
    QSqlQuery q(qqoVtGlobConn->Database());
    q.setForwardOnly(true);
    if (!q.prepare(select))
        throw EVtException(QStringLiteral("Errore nella lettura dell'elenco:\r\n%1").arg(q.lastError().text()));
    if (params) {
        // Bind by name without regard to case: the statement's own spelling wins.
        static const QRegularExpression re(QStringLiteral(":([A-Za-z_][A-Za-z0-9_]*)"));
        auto it = re.globalMatch(select);
        QStringList seen;
        while (it.hasNext()) {
            const QString name = it.next().captured(1);
            if (seen.contains(name, Qt::CaseInsensitive))
                continue;
            seen << name;
            if (TVtParam *p = params->FindParam(name))
                q.bindValue(QLatin1Char(':') + name, p->Value());
        }
    }
    if (!q.exec())
        throw EVtException(QStringLiteral("Errore nella lettura dell'elenco:\r\n%1").arg(q.lastError().text()));
    QList<TVtEnumItem> items;
    while (q.next()) {
        QVariant id = q.value(0);
        switch (id.metaType().id()) {
        case QMetaType::Short:
        case QMetaType::Int:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::UShort:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            id = id.isNull() ? QVariant() : QVariant(id.toInt());
            break;
        default:
            break;
        }
        items << TVtEnumItem{q.value(1).toString(), id};
    }
    return items;
}

int LoadEnumValues(QList<TVtEnumItem> &items, const QString &select, const TVtParams *params)
{
    items = ReadEnumValues(select, params);
    return items.size();
}

int LoadEnumValues(QComboBox *combo, const QString &select, const TVtParams *params)
{
    const QList<TVtEnumItem> items = ReadEnumValues(select, params);
    const QSignalBlocker block(combo);
    combo->clear();
    for (const TVtEnumItem &item : items)
        combo->addItem(item.Text, item.Id);
    combo->setCurrentIndex(-1);
    return items.size();
}

int LoadEnumValues(QListWidget *list, const QString &select, const TVtParams *params)
{
    const QList<TVtEnumItem> items = ReadEnumValues(select, params);
    const QSignalBlocker block(list);
    list->clear();
    for (const TVtEnumItem &item : items) {
        auto *li = new QListWidgetItem(item.Text, list);
        li->setData(Qt::UserRole, item.Id);
    }
    return items.size();
}

int SelectEnumId(QComboBox *combo, const QVariant &id)
{
    int index = -1;
    const QString wanted = id.toString().trimmed();
    if (!id.isNull() && !wanted.isEmpty()) {
        for (int i = 0; i < combo->count(); ++i) {
            const QVariant d = combo->itemData(i);
            if (!d.isNull() && d.toString() == wanted) {
                index = i;
                break;
            }
        }
    }
    combo->setCurrentIndex(index);
    return index;
}

// ---------------------------------------------------------------- forms

QList<QWidget *> FindForms(const QString &className)
{
    QList<QWidget *> found;
    auto matches = [&](QWidget *w) {
        return w && TVtFormRegistry::ClassNameOf(w).compare(className, Qt::CaseInsensitive) == 0;
    };
    if (TfmVtMDIMain *main = TfmVtMDIMain::Instance()) {
        for (QMdiSubWindow *sw : main->MdiArea()->subWindowList()) {
            if (sw->isHidden())
                continue;
            QWidget *w = sw->widget();
            if (w && !w->isHidden() && matches(w) && !found.contains(w))
                found << w;
        }
    }
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && matches(w) && !found.contains(w))
            found << w;
    return found;
}

QWidget *FindForm(const QString &className)
{
    const QList<QWidget *> forms = FindForms(className);
    return forms.isEmpty() ? nullptr : forms.first();
}

// ---------------------------------------------------------------- strings

QString GetFieldFromList(const QString &list, int index, QChar sep)
{
    if (index < 0)
        return QString();
    const QStringList parts = list.split(sep);
    return index < parts.size() ? parts[index] : QString();
}

int RPos(const QString &sub, const QString &text)
{
    if (sub.isEmpty())
        return -1;
    return int(text.lastIndexOf(sub));
}

// ---------------------------------------------------------------- images

namespace {
// Tile colours, picked by the key so a key always looks the same.
const QColor Palette[] = {QColor(0x2e, 0x7d, 0x32), QColor(0x15, 0x65, 0xc0), QColor(0xc6, 0x28, 0x28),
                          QColor(0x6a, 0x1b, 0x9a), QColor(0xef, 0x6c, 0x00), QColor(0x00, 0x83, 0x8f),
                          QColor(0x45, 0x5a, 0x64), QColor(0xad, 0x14, 0x57), QColor(0x55, 0x8b, 0x2f),
                          QColor(0x4e, 0x34, 0x2e)};

// The framework's own keys: a short label and a colour each.
struct TKnownKey
{
    const char *Key;
    const char *Label;
    int Color;
};
const TKnownKey KnownKeys[] = {
    {"CAUSALI", "Ca", 0},        {"ISTCASSIERE", "Ic", 1},   {"ALUNNI", "Al", 2},
    {"TUTORI", "Tu", 3},         {"DATIANAGRAFICI", "Da", 4}, {"BENEFICIARI", "Be", 5},
    {"CAUSALICCP", "Cp", 6},     {"COMPCAU", "Cc", 7},       {"AGGREGATI", "Ag", 8},
    {"VOCI", "Vo", 9},           {"PARAMETRI", "Pa", 6},     {"NEWYEAR", "An", 1},
    {"FIRME", "Fi", 3},          {"CONSUNTIVO", "Cs", 5},    {"MODPAGAMENTO", "Mp", 4},
    {"EXPORT", "Ex", 0},
};

const TKnownKey *FindKnown(const QString &key)
{
    for (const TKnownKey &k : KnownKeys)
        if (key.compare(QLatin1String(k.Key), Qt::CaseInsensitive) == 0)
            return &k;
    return nullptr;
}

QColor TileColor(const QString &key)
{
    if (const TKnownKey *k = FindKnown(key))
        return Palette[k->Color];
    uint h = 0;
    for (QChar c : key.toUpper())
        h = h * 31u + c.unicode();
    return Palette[h % (sizeof(Palette) / sizeof(Palette[0]))];
}

QString Initials(const QString &key)
{
    if (const TKnownKey *k = FindKnown(key))
        return QString::fromLatin1(k->Label);
    QString letters;
    for (QChar c : key)
        if (c.isLetterOrNumber())
            letters += letters.isEmpty() ? c.toUpper() : c.toLower();
    return letters.left(2);
}

void DrawPerson(QPainter &p, qreal cx, qreal top, qreal s)
{
    p.drawEllipse(QPointF(cx, top + s * 0.18), s * 0.16, s * 0.16);
    QPainterPath body;
    body.moveTo(cx - s * 0.30, top + s * 0.75);
    body.quadTo(cx, top + s * 0.20, cx + s * 0.30, top + s * 0.75);
    body.closeSubpath();
    p.drawPath(body);
}

// Draws a simple white glyph for the keys the framework knows; false when
// the key has none.
bool DrawGlyph(QPainter &p, const QString &key, const QRectF &r)
{
    const QString k = key.toUpper();
    const qreal s = r.width();
    const qreal x = r.left(), y = r.top();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    if (k == QLatin1String("ALUNNI") || k == QLatin1String("TUTORI")) {
        if (k == QLatin1String("TUTORI")) {
            DrawPerson(p, x + s * 0.36, y + s * 0.12, s * 0.8);
            DrawPerson(p, x + s * 0.66, y + s * 0.22, s * 0.62);
        } else {
            DrawPerson(p, x + s * 0.5, y + s * 0.12, s * 0.85);
        }
        return true;
    }
    if (k == QLatin1String("PARAMETRI")) {
        const QPointF c(x + s / 2, y + s / 2);
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(c);
            p.rotate(i * 45.0);
            p.drawRect(QRectF(-s * 0.06, -s * 0.36, s * 0.12, s * 0.14));
            p.restore();
        }
        p.drawEllipse(c, s * 0.25, s * 0.25);
        p.setBrush(TileColor(key));
        p.drawEllipse(c, s * 0.10, s * 0.10);
        return true;
    }
    if (k == QLatin1String("EXPORT")) {
        QPolygonF arrow;
        arrow << QPointF(x + s * 0.20, y + s * 0.42) << QPointF(x + s * 0.55, y + s * 0.42)
              << QPointF(x + s * 0.55, y + s * 0.25) << QPointF(x + s * 0.82, y + s * 0.50)
              << QPointF(x + s * 0.55, y + s * 0.75) << QPointF(x + s * 0.55, y + s * 0.58)
              << QPointF(x + s * 0.20, y + s * 0.58);
        p.drawPolygon(arrow);
        return true;
    }
    if (k == QLatin1String("NEWYEAR")) {
        p.drawRect(QRectF(x + s * 0.22, y + s * 0.26, s * 0.56, s * 0.52));
        p.setBrush(TileColor(key));
        p.drawRect(QRectF(x + s * 0.27, y + s * 0.40, s * 0.46, s * 0.33));
        p.setBrush(Qt::white);
        for (int i = 0; i < 3; ++i)
            p.drawRect(QRectF(x + s * (0.31 + i * 0.14), y + s * 0.46, s * 0.09, s * 0.09));
        return true;
    }
    if (k == QLatin1String("PAGATO")) {
        // A tick.
        QPen pen(Qt::white, s * 0.14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF{QPointF(x + s * 0.24, y + s * 0.52), QPointF(x + s * 0.43, y + s * 0.70),
                                 QPointF(x + s * 0.78, y + s * 0.30)});
        return true;
    }
    if (k == QLatin1String("ISTCASSIERE")) {
        // A bank front: roof, columns, base.
        QPolygonF roof;
        roof << QPointF(x + s * 0.18, y + s * 0.38) << QPointF(x + s * 0.5, y + s * 0.18)
             << QPointF(x + s * 0.82, y + s * 0.38);
        p.drawPolygon(roof);
        for (int i = 0; i < 4; ++i)
            p.drawRect(QRectF(x + s * (0.23 + i * 0.15), y + s * 0.42, s * 0.08, s * 0.30));
        p.drawRect(QRectF(x + s * 0.18, y + s * 0.74, s * 0.64, s * 0.07));
        return true;
    }
    return false;
}

QPixmap DrawTile(const QString &key, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, size - 1.0, size - 1.0);
    const QColor base = TileColor(key);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, base.lighter(125));
    g.setColorAt(1, base);
    p.setPen(QPen(base.darker(130), size >= 24 ? 1.0 : 0.6));
    p.setBrush(g);
    p.drawRoundedRect(r, size * 0.18, size * 0.18);
    if (!DrawGlyph(p, key, r)) {
        QFont f = p.font();
        const QString text = Initials(key);
        f.setBold(true);
        f.setPixelSize(qMax(6, int(size * (text.size() > 1 ? 0.42 : 0.55))));
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(r, Qt::AlignCenter, text);
    }
    return pm;
}
}

int VtImageSize(int kind)
{
    switch (kind) {
    case 1: return 16;
    case 2: return 24;
    case 4: return 48;
    default: return 32;
    }
}

QList<QIcon> LoadDefaultImages(int kind, const QStringList &keys)
{
    QList<QIcon> icons;
    const int nominal = VtImageSize(kind);
    for (const QString &key : keys) {
        QIcon icon;
        icon.addPixmap(DrawTile(key, nominal));
        for (int size : {16, 24, 32, 48})
            if (size != nominal)
                icon.addPixmap(DrawTile(key, size));
        icons << icon;
    }
    return icons;
}

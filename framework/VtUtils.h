#pragma once
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class QComboBox;
class QListWidget;
class QWidget;
class TVtParams;

// One entry of a list filled from a select: the text shown and its id.
struct TVtEnumItem
{
    QString Text;
    QVariant Id;
};

// Runs a two-column select on the global connection (first column the id,
// second the text, in this order) with the given parameters copied by name,
// and returns its rows as (text, id) pairs. Integer ids come back as int.
// A failing select raises EVtException.
QList<TVtEnumItem> ReadEnumValues(const QString &select, const TVtParams *params = nullptr);

// Clears the list and fills it with the (text, id) pairs of the select; the id
// is the item's data (Qt::UserRole). Returns the number of rows read.
int LoadEnumValues(QComboBox *combo, const QString &select, const TVtParams *params = nullptr);
int LoadEnumValues(QListWidget *list, const QString &select, const TVtParams *params = nullptr);
int LoadEnumValues(QList<TVtEnumItem> &items, const QString &select, const TVtParams *params = nullptr);

// Selects the combo's item whose id equals the value (compared as text);
// nothing selected (-1) when none does. Returns the selected index.
int SelectEnumId(QComboBox *combo, const QVariant &id);

// The open form of that class: the class name given when the form was
// registered (see TVtFormRegistry) or its C++ class name. Looks at the main
// window's child windows first, then at every top-level window. Null when
// none is open.
QWidget *FindForm(const QString &className);
// Every open form of that class, in the same order.
QList<QWidget *> FindForms(const QString &className);

// The item at a 0-based position of a list separated by sep ("0,12,15");
// empty when the position is out of range.
QString GetFieldFromList(const QString &list, int index, QChar sep = QLatin1Char(','));

// 0-based position of the last occurrence of sub in text, -1 when absent.
int RPos(const QString &sub, const QString &text);

inline int BoolToInt(bool value) { return value ? 1 : 0; }

// Icons for image keys, drawn on the spot: a coloured rounded tile with a
// glyph for the keys the framework knows and the key's initials for the
// others. kind gives the nominal size: 1 = 16, 2 = 24, 3 = 32, 4 = 48 pixels
// (every icon also carries the other sizes). One icon per key, in order;
// the same key always gives the same picture.
QList<QIcon> LoadDefaultImages(int kind, const QStringList &keys);
// Nominal pixel size of an image kind.
int VtImageSize(int kind);

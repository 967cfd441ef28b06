#pragma once
#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

// CSV as an Italian spreadsheet reads it: UTF-8 with a byte-order mark (so
// "à" and "è" come out right), ";" between fields, CRLF line ends, a header
// row of titles; numbers with a decimal comma and no thousands separator,
// dates dd/MM/yyyy, null an empty field; a field holding ";", a double
// quote or a line break is enclosed in double quotes, inner quotes doubled.
struct TVtCsvColumn
{
    QString Title;
    QMetaType::Type Type = QMetaType::QString;
    int Decimals = 2;   // of a floating-point number
};

// One value as a field of the file.
QString VtCsvField(const QVariant &value, QMetaType::Type type, int decimals = 2);
// The whole file: the byte-order mark, the titles, the rows.
QByteArray VtCsvDocument(const QList<TVtCsvColumn> &columns, const QList<QVariantList> &rows);
// Decimals of a display format such as "#,###.00" (2); -1 when it names none.
int VtFormatDecimals(const QString &format);
// Writes the file whole or not at all: an error leaves an existing file as
// it was; false with the reason.
bool VtSaveFileAtomically(const QString &fileName, const QByteArray &bytes, QString *error);

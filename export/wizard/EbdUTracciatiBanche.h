#pragma once
// The banks the export writes for and their layout files, under the
// installation's etc/Ebd/exp_banche: the bank list "Tracciati.xml", and for
// each layout code its record layout (<code>.Xml) and the header fields it
// asks for (<code>_X.Xml).
#include <QList>
#include <QString>

struct TBancaTracciato
{
    QString Banca;          // display name
    QString ABI;
    QString CodTracciato;   // base name of the layout files
};

struct TCampoTracciato
{
    int Ord = 0;
    QString Record, PosTipoRecord, Pos, FieldName;
};

struct TCampoIntestazione
{
    QString FieldName;
    QString ColType;   // "AN" text, "D" date
};

QString ExportBancheDir();
// Each raises EVtException naming the file when it is missing or malformed.
QList<TBancaTracciato> LoadBankList();
QList<TCampoTracciato> LoadBankLayout(const QString &codTracciato);
QList<TCampoIntestazione> LoadHeaderFields(const QString &codTracciato);

#include "EbdUSddDataSets.h"

#include "VtQueryCollection.h"

using namespace Qt::StringLiterals;

namespace {

struct TColumn
{
    const char *Name;
    QMetaType::Type Type;
    int Size;
};

const TColumn Columns[] = {
    {"ORDINAMENTO", QMetaType::QString, 120},   {"DEBITORE", QMetaType::QString, 120},
    {"MITTENTE", QMetaType::QString, 10},       {"IBAN_STATO_RICEVENTE", QMetaType::QString, 2},
    {"IBAN_CKD_RICEVENTE", QMetaType::QString, 2}, {"CIN_RICEVENTE", QMetaType::QString, 1},
    {"ABI_RICEVENTE", QMetaType::QString, 5},   {"CAB_RICEVENTE", QMetaType::QString, 5},
    {"CC_RICEVENTE", QMetaType::QString, 60},   {"DATA_CREAZIONE", QMetaType::QDate, 0},
    {"DATA_VALUTA", QMetaType::QDate, 0},       {"NOME_SUPPORTO", QMetaType::QString, 20},
    {"IMPORTO", QMetaType::LongLong, 0},        {"IBAN_DOMICILIATARIA", QMetaType::QString, 34},
    {"ABI_DOMICILIATARIA", QMetaType::QString, 5}, {"CAB_DOMICILIATARIA", QMetaType::QString, 5},
    {"CC_DOMICILIATARIA", QMetaType::QString, 12}, {"COD_DEBITORE", QMetaType::QString, 16},
    {"CREDITORE", QMetaType::QString, 300},     {"IND_DEBITORE", QMetaType::QString, 100},
    {"CAP_DEBITORE", QMetaType::QString, 10},   {"COM_DEBITORE", QMetaType::QString, 100},
    {"CAUSALE", QMetaType::QString, 100},       {"DATA_SCADENZA", QMetaType::QString, 6},
    {"DATA_DEFAULT", QMetaType::QString, 6},    {"DCACDATASCADENZA", QMetaType::QDate, 0},
    {"ICCAID", QMetaType::Int, 0},              {"ICAUID", QMetaType::Int, 0},
    {"IANAID", QMetaType::Int, 0},              {"ISITID", QMetaType::Int, 0},
    {"SANANOME", QMetaType::QString, 60},       {"SANACOGNOME", QMetaType::QString, 60},
    {"DANANASCITA", QMetaType::QDate, 0},       {"ICLSID", QMetaType::Int, 0},
    {"SCLSDESC", QMetaType::QString, 100},      {"MATRICOLA", QMetaType::QString, 20},
    {"IANAID_GEN", QMetaType::Int, 0},          {"ICACID", QMetaType::Int, 0},
    {"TIPO_SEQUENZA", QMetaType::QString, 4},   {"CREDITOR_IDENT", QMetaType::QString, 35},
    {"ICNT", QMetaType::Int, 0},
};

QVariant NullOf(QMetaType::Type type)
{
    return QVariant(QMetaType(type));
}

QVariant TextOrNull(const QString &text, QMetaType::Type type = QMetaType::QString)
{
    return text.isEmpty() ? NullOf(type) : QVariant(text);
}

// A row in the order of Columns; the header values are the disposition's
// (null for a plain instalment).
QVector<QVariant> Values(const TSddRata &r, qint64 cents, int count, const TSddIntestazione *h,
                         const TSddCreditore &c, const TSddSede &s)
{
    const QString creditor = s.Trovata ? s.Testo() : QString();
    return {
        r.Debitore, r.Debitore, h ? TextOrNull(h->Mittente) : NullOf(QMetaType::QString),
        c.Stato, c.Ckd, c.Cin, c.Abi, c.Cab, c.Cc,
        h && h->DataCreazione.isValid() ? QVariant(h->DataCreazione) : NullOf(QMetaType::QDate),
        NullOf(QMetaType::QDate), h ? TextOrNull(h->NomeSupporto) : NullOf(QMetaType::QString),
        cents, TextOrNull(r.Iban), TextOrNull(r.Iban.mid(5, 5)), TextOrNull(r.Iban.mid(10, 5)),
        TextOrNull(r.Iban.mid(15, 12)), TextOrNull(r.CodDebitore()), TextOrNull(creditor),
        TextOrNull(r.Indirizzo), TextOrNull(r.Cap), TextOrNull(r.Comune), r.Causale,
        r.Scadenza.toString(u"ddMMyy"_s), u"010212"_s, r.Scadenza, r.IdCca, r.IdCau, r.IdAna, r.IdSit,
        r.Nome, r.Cognome, r.Nascita.isValid() ? QVariant(r.Nascita) : NullOf(QMetaType::QDate), r.IdCls, r.Classe,
        TextOrNull(r.Matricola), r.IdAnaGen, r.IdCac, r.TipoSequenza,
        h ? TextOrNull(h->CreditorIdent) : NullOf(QMetaType::QString), count,
    };
}

} // namespace

void DeclareSddColumns(TVtQueryCollection *dataSet)
{
    for (const TColumn &c : Columns)
        dataSet->AddField(QString::fromLatin1(c.Name), c.Type, c.Size);
}

void FillSddInstalments(TVtQueryCollection *dataSet, const QVector<TSddRata> &rate, const TSddCreditore &creditore,
                        const TSddSede &sede)
{
    QVector<QVector<QVariant>> rows;
    rows.reserve(rate.size());
    for (const TSddRata &r : rate)
        rows.append(Values(r, r.Importo, 1, nullptr, creditore, sede));
    dataSet->OpenRows(rows);
}

void FillSddDispositions(TVtQueryCollection *dataSet, const QVector<TSddDisposizione> &disposizioni,
                         const TSddCreditore &creditore, const TSddSede &sede)
{
    QVector<QVector<QVariant>> rows;
    rows.reserve(disposizioni.size());
    for (const TSddDisposizione &d : disposizioni)
        rows.append(Values(d.Ultima, d.Importo, d.Cnt, &d.Intestazione, creditore, sede));
    dataSet->OpenRows(rows);
}

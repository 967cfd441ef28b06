#include "EbdUSddControlli.h"

#include "AbiUIBAN.h"
#include "EbdUSddWriter.h"
#include "VtSQLQuery.h"

using namespace Qt::StringLiterals;

namespace {

QString Day(const QDate &d)
{
    return d.toString(u"dd/MM/yyyy"_s);
}

QStringList HeaderErrors(const TSddContesto &c)
{
    QStringList errors;
    if (c.Cuc.trimmed().isEmpty())
        errors << u"Codice CUC mancante"_s;
    if (!CheckCreditorIdentifier(c.CreditorIdent))
        errors << u"Creditor Identifier mancante o non valido"_s;
    if (!CheckIBAN(c.Creditore.Iban()))
        errors << u"IBAN del conto di accredito non valido"_s;
    if (!c.Sede.Trovata || c.Sede.Nome.trimmed().isEmpty() || c.Sede.CodiceFiscale.trimmed().isEmpty())
        errors << u"Sede principale dell'istituto senza nome o codice fiscale"_s;
    return errors;
}

void Check(const TSddDisposizione &d, const TSddContesto &c, QStringList &errors, QStringList &warnings)
{
    const TSddRata &r = d.Ultima;
    if (r.Iban.isEmpty())
        errors << u"IBAN mancante"_s;
    else if (!CheckIBAN(r.Iban))
        errors << u"IBAN non valido"_s;
    if (r.CodDebitore().isEmpty())
        errors << u"Riferimento del mandato mancante"_s;
    if (r.TipoSequenza == u"FRST"_s) {
        const QDate before = c.FrstPresentati.value(r.CodDebitore() + u'|' + r.Iban);
        if (before.isValid())
            warnings << u"FRST già presentato per questo mandato il %1"_s.arg(Day(before));
    }
    if (IsTarget2Closed(r.Scadenza))
        warnings << u"Data di incasso %1 non lavorativa per TARGET2"_s.arg(Day(r.Scadenza));
    if (c.Oggi.daysTo(r.Scadenza) < c.GiorniPreavviso)
        warnings << u"Data di incasso %1 con preavviso inferiore a %2 giorni"_s.arg(Day(r.Scadenza)).arg(c.GiorniPreavviso);
    if (!r.DataMandato.isValid())
        warnings << u"Data di firma del mandato mancante: sarà indicata %1"_s.arg(Day(DefaultMandateDate()));
}

QStringList Prefixed(const QStringList &errors, const QStringList &warnings)
{
    QStringList out;
    for (const QString &e : errors)
        out << u"Errore: "_s + e;
    for (const QString &w : warnings)
        out << u"Avviso: "_s + w;
    return out;
}

} // namespace

QVector<TSddControllo> SddChecks(const QVector<TSddDisposizione> &disposizioni, const TSddContesto &contesto)
{
    QVector<TSddControllo> rows;
    const QStringList header = HeaderErrors(contesto);
    if (!header.isEmpty())
        rows.append({-1, Prefixed(header, {}), true});
    for (int i = 0; i < disposizioni.size(); ++i) {
        QStringList errors, warnings;
        Check(disposizioni[i], contesto, errors, warnings);
        // An excluded debit stays listed, so that it can be taken back.
        if (!errors.isEmpty() || !warnings.isEmpty() || disposizioni[i].Esclusa)
            rows.append({i, Prefixed(errors, warnings), !errors.isEmpty()});
    }
    return rows;
}

bool SddCanExport(const QVector<TSddDisposizione> &disposizioni, const QVector<TSddControllo> &controlli)
{
    for (const TSddControllo &c : controlli)
        if (c.Errore && (c.Disposizione < 0 || !disposizioni[c.Disposizione].Esclusa))
            return false;
    return std::any_of(disposizioni.begin(), disposizioni.end(), [](const TSddDisposizione &d) { return !d.Esclusa; });
}

QHash<QString, QDate> ReadFrstPresentations(int idSprIst)
{
    QHash<QString, QDate> out;
    TSQLQuery q;
    q.SQL = u"SELECT Etx.sEtxMndtId, Etx.sEtxIban, MAX(Esd.dEsdCreazione) FROM TEtx_TransazSdd Etx"
            " INNER JOIN TEsd_EsportazSdd Esd ON (Esd.iEsdId = Etx.iEsdId)"
            " WHERE Esd.iSprIstId = :iSprIstId AND Etx.sEtxSeqTp = 'FRST' AND Etx.dEtxStorno IS NULL"
            " GROUP BY Etx.sEtxMndtId, Etx.sEtxIban"_s;
    q.Params().CreateParam(QMetaType::Int, u"iSprIstId"_s)->SetAsInteger(idSprIst);
    for (q.Open(); !q.Eof(); q.Next())
        out.insert(q.Fields(0).toString().trimmed() + u'|' + q.Fields(1).toString().trimmed(), q.Fields(2).toDate());
    q.Close();
    return out;
}

#include "EbsUDuplicaCausali.h"
#include "VtException.h"
#include "VtSQLConnection.h"
#include "VtSqlText.h"
#include "VtTransaction.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>

namespace {
// Ids bound in one IN list: well below the engine's limit of 1,500.
constexpr int IdsPerQuery = 500;

TVtSQLConnection *Connection()
{
    if (!qqoVtGlobConn || !qqoVtGlobConn->Connected())
        throw EVtException(QStringLiteral("Connessione al database non attiva."));
    return qqoVtGlobConn;
}

// Runs a select with its values bound by name (any case).
void Select(QSqlQuery &q, const QString &sql, const QHash<QString, QVariant> &values)
{
    q.setForwardOnly(true);
    VtExecSql(q, sql, [&values](const QString &name, QVariant &value) {
        const auto it = values.constFind(name.toLower());
        if (it == values.constEnd())
            return false;
        value = *it;
        return true;
    });
}

// The engine's TRIM: blanks only, not every white space.
QString TrimBlanks(const QString &s)
{
    int b = 0, e = s.size();
    while (b < e && s[b] == QLatin1Char(' '))
        ++b;
    while (e > b && s[e - 1] == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}

QString TrimTrailingBlanks(const QString &s)
{
    int e = s.size();
    while (e > 0 && s[e - 1] == QLatin1Char(' '))
        --e;
    return s.left(e);
}

// A column's value as the engine compares it with IS NOT DISTINCT FROM:
// null only equals null, texts ignore trailing blanks.
QString TextPart(const QVariant &v)
{
    return v.isNull() ? QStringLiteral("\x01") : QLatin1Char('=') + TrimTrailingBlanks(v.toString());
}

QString NumberPart(const QVariant &v)
{
    return v.isNull() ? QStringLiteral("\x01") : QLatin1Char('=') + QString::number(v.toLongLong());
}

bool SameNumber(const QVariant &a, const QVariant &b)
{
    return a.isNull() ? b.isNull() : !b.isNull() && a.toLongLong() == b.toLongLong();
}

QVariant Amount(const QVariant &v)
{
    return v.isNull() ? QVariant() : QVariant(v.toDouble());
}

// A component as the procedure matches it in the target year: code,
// description, direction and owner.
QString ComponentKey(const QVariant &code, const QVariant &desc, const QVariant &tipo, const QVariant &owner)
{
    return TextPart(code) + QChar(0x1f) + TextPart(desc) + QChar(0x1f) + NumberPart(tipo) + QChar(0x1f) + NumberPart(owner);
}

struct TReasonKey
{
    QVariant Tipo;
    QString Desc;     // trimmed, upper case
    QVariant Owner;
    QString Label;    // trimmed, as written
};

TReasonKey ReasonKey(const QVariant &tipo, const QVariant &desc, const QVariant &owner)
{
    const QString trimmed = TrimBlanks(desc.toString());
    return {tipo, trimmed.toUpper(), owner, trimmed};
}

// Rule R: same direction, same description, owners equal or one missing.
bool SameReason(const TReasonKey &a, const TReasonKey &b)
{
    return SameNumber(a.Tipo, b.Tipo) && a.Desc == b.Desc
           && (a.Owner.isNull() || b.Owner.isNull() || a.Owner.toLongLong() == b.Owner.toLongLong());
}

struct TSourceComponent
{
    QVariant Code, Desc, Tipo, Owner, Amount;
    QDate Due;
};

struct TSourceReason
{
    QVariant LDesc, Tipo, Owner;
    QDate Start;
    QVector<TSourceComponent> Components;   // in link order
};

struct TTargetComponent
{
    QVariant Amount;
    QDate Due;
};

// ":c0, :c1, ..." for a chunk of ids, with their values.
QString IdList(const QList<int> &ids, int from, int count, QHash<QString, QVariant> &values)
{
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("c%1").arg(i);
        names << QLatin1Char(':') + name;
        values.insert(name, ids[from + i]);
    }
    return names.join(QStringLiteral(", "));
}
}

QString TEbsDuplicaPreview::Summary() const
{
    QString text = QStringLiteral("Causali da creare: %1   Componenti nuovi: %2   Componenti già presenti: %3   "
                                  "Importo istituto totale: %4")
                       .arg(NewReasons).arg(NewComponents).arg(ExistingComponents).arg(Total.Format());
    if (Refused())
        text += QStringLiteral("   Causali già presenti: %1").arg(RefusedReasons);
    return text;
}

TEbsDuplicaPreview EbsPreviewDuplicaCausali(int targetAnsId, const QList<int> &sourceCauIds)
{
    TVtSQLConnection *conn = Connection();
    TEbsDuplicaPreview preview;
    QSqlQuery q(conn->Database());

    // The target year.
    Select(q, QStringLiteral("SELECT sAnsAnnoDesc, dAnsVeltoInizio, dAnsVeltoFine FROM VAns_AnniScolast "
                             "WHERE iAnsId = :iAnsId"),
           {{QStringLiteral("iansid"), targetAnsId}});
    if (!q.next())
        throw EVtException(QStringLiteral("Anno scolastico di destinazione non trovato."));
    preview.AnnoDestinazione = q.value(0).toString();
    const QDate start = q.value(1).toDate();
    const QDate end = q.value(2).toDate();
    const QHash<QString, QVariant> bounds = {{QStringLiteral("dinizio"), start}, {QStringLiteral("dfine"), end}};

    // The source reasons and their components in link order.
    QList<int> ids;
    QSet<int> seen;
    for (int id : sourceCauIds)
        if (!seen.contains(id)) {
            seen.insert(id);
            ids << id;
        }
    QHash<int, TSourceReason> sources;
    for (int from = 0; from < ids.size(); from += IdsPerQuery) {
        const int count = qMin(IdsPerQuery, int(ids.size()) - from);
        QHash<QString, QVariant> values;
        const QString list = IdList(ids, from, count, values);
        Select(q, QStringLiteral("SELECT iCauId, sCauLDesc, lCauTipo, iDwgId, dStart FROM TCau_Causali WHERE iCauId IN (%1)")
                      .arg(list),
               values);
        while (q.next()) {
            TSourceReason &r = sources[q.value(0).toInt()];
            r.LDesc = q.value(1);
            r.Tipo = q.value(2);
            r.Owner = q.value(3);
            r.Start = q.value(4).toDate();
        }
        Select(q, QStringLiteral("SELECT l.iCauId, ca.sCcaSDesc, ca.sCcaLDesc, ca.lCcaTipo, ca.iDwgId, ca.fCcaImportoIst, "
                                 "ca.dCcaDataScadenza FROM TCauCca l INNER JOIN TCca_CompCausali ca ON ca.iCcaId = l.iCcaId "
                                 "WHERE l.iCauId IN (%1) ORDER BY l.iCauId, l.iCauCcaId")
                      .arg(list),
               values);
        while (q.next()) {
            const auto it = sources.find(q.value(0).toInt());
            if (it != sources.end())
                it->Components.append({q.value(1), q.value(2), q.value(3), q.value(4), Amount(q.value(5)),
                                       q.value(6).toDate()});
        }
    }
    for (int id : ids)
        if (!sources.contains(id))
            throw EVtException(QStringLiteral("Causale da duplicare non trovata."));

    // What the target year holds: its reasons (rule R) and its components,
    // the first of each kind (lowest key) being the one the procedure links.
    QVector<TReasonKey> existing;
    Select(q, QStringLiteral("SELECT lCauTipo, sCauLDesc, iDwgId FROM TCau_Causali WHERE dStart = :dInizio AND dEnd = :dFine"),
           bounds);
    while (q.next())
        existing.append(ReasonKey(q.value(0), q.value(1), q.value(2)));
    QHash<QString, TTargetComponent> components;
    Select(q, QStringLiteral("SELECT sCcaSDesc, sCcaLDesc, lCcaTipo, iDwgId, fCcaImportoIst, dCcaDataScadenza "
                             "FROM TCca_CompCausali WHERE dStart = :dInizio AND dEnd = :dFine ORDER BY iCcaId"),
           bounds);
    while (q.next()) {
        const QString key = ComponentKey(q.value(0), q.value(1), q.value(2), q.value(3));
        if (!components.contains(key))
            components.insert(key, {Amount(q.value(4)), q.value(5).toDate()});
    }
    q.finish();

    // The selection in order, as the procedure's calls will go.
    QVector<TReasonKey> created;
    for (int id : sourceCauIds) {
        const TSourceReason &src = sources[id];
        const TReasonKey key = ReasonKey(src.Tipo, src.LDesc, src.Owner);
        const int years = src.Start.isValid() ? start.year() - src.Start.year() : 0;
        bool refused = false;
        for (const TReasonKey &e : existing)
            if (SameReason(key, e)) {
                refused = true;
                preview.ExistingInTarget << key.Label;
                break;
            }
        if (!refused)
            for (const TReasonKey &c : created)
                if (SameReason(key, c)) {
                    refused = true;
                    if (preview.Conflict.isEmpty())
                        preview.Conflict = c.Label;
                    break;
                }

        TEbsDuplicaRow row;
        row.CauId = id;
        row.Causale = src.LDesc.toString();
        if (refused) {
            ++preview.RefusedReasons;
            row.Stato = QString::fromUtf8(EbsStatoCausalePresente);
            if (src.Components.isEmpty())
                preview.Rows.append(row);
            for (const TSourceComponent &c : src.Components) {
                row.Componente = c.Code.toString();
                row.DescComponente = c.Desc.toString();
                row.ImportoIst = c.Amount;
                row.Scadenza = c.Due.isValid() ? c.Due.addYears(years) : QDate();
                preview.Rows.append(row);
            }
            continue;
        }

        created.append(key);
        ++preview.NewReasons;
        if (src.Components.isEmpty()) {
            row.Stato = QString::fromUtf8(EbsStatoNuovo);
            preview.Rows.append(row);
            continue;
        }
        QSet<QString> linked;   // a reason never links one component twice
        for (const TSourceComponent &c : src.Components) {
            const QString ck = ComponentKey(c.Code, c.Desc, c.Tipo, c.Owner);
            if (linked.contains(ck))
                continue;
            linked.insert(ck);
            row.Componente = c.Code.toString();
            row.DescComponente = c.Desc.toString();
            const auto found = components.constFind(ck);
            if (found != components.constEnd()) {
                row.ImportoIst = found->Amount;
                row.Scadenza = found->Due;
                row.Stato = QString::fromUtf8(EbsStatoPresente);
                ++preview.ExistingComponents;
            } else {
                row.ImportoIst = c.Amount;
                row.Scadenza = c.Due.isValid() ? c.Due.addYears(years) : QDate();
                row.Stato = QString::fromUtf8(EbsStatoNuovo);
                components.insert(ck, {row.ImportoIst, row.Scadenza});
                ++preview.NewComponents;
            }
            preview.Total += TVtMoney::FromVariant(row.ImportoIst);
            preview.Rows.append(row);
        }
    }
    return preview;
}

void EbsDuplicaCausali(int targetAnsId, const QList<int> &sourceCauIds)
{
    TVtSQLConnection *conn = Connection();
    TVtTransaction tr(conn);
    tr.StartTransaction();
    {
        QSqlQuery q(conn->Database());
        for (int id : sourceCauIds) {
            conn->CheckWritable();
            VtExecSql(q, QStringLiteral("EXECUTE PROCEDURE PEBS_DUPLICACAUS(:iAnsId, :iCauId)"),
                      [&](const QString &name, QVariant &value) {
                          if (name.compare(QLatin1String("iAnsId"), Qt::CaseInsensitive) == 0)
                              value = targetAnsId;
                          else if (name.compare(QLatin1String("iCauId"), Qt::CaseInsensitive) == 0)
                              value = id;
                          else
                              return false;
                          return true;
                      });
        }
    }
    tr.Commit();
}

#include "EbdUImportaInt.h"
#include "AbiUIBAN.h"
#include "EbdUContext.h"
#include "VtException.h"
#include "VtSQLConnection.h"
#include "VtSQLQuery.h"
#include "VtTransaction.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

const QString TEbdImportaInt::BadHeader = u"Il file non ha le colonne attese: alunno;genitore;iban;tipo_pagamento"_s;

namespace {
const QStringList Header = {u"alunno"_s, u"genitore"_s, u"iban"_s, u"tipo_pagamento"_s};

bool IsNumber(const QString &text)
{
    static const QRegularExpression digits(u"^[0-9]{1,9}$"_s);
    return digits.match(text).hasMatch();
}

// A person by key, or by fiscal code in any case.
void BindPerson(TSQLQuery &q, const QString &text)
{
    q.Params().CreateParam(QMetaType::Int, u"iId"_s)->SetValue(IsNumber(text) ? text.toInt() : -1);
    q.Params().CreateParam(QMetaType::QString, u"sCf"_s)->SetValue(text.toUpper());
}
}

QStringList TEbdImportaInt::SplitLine(const QString &line, QChar separator)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            fields << field.trimmed();
            field.clear();
        } else {
            field += c;
        }
    }
    if (quoted)
        return {};
    fields << field.trimmed();
    return fields;
}

void TEbdImportaInt::LoadFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EVtException(u"Impossibile leggere il file %1: %2"_s.arg(fileName, file.errorString()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    LoadText(utf8.decode(file.readAll()));
}

void TEbdImportaInt::LoadText(QString text)
{
    m_rows.clear();
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QRegularExpression(u"\r\n|\n|\r"_s));
    int headerAt = 0;
    while (headerAt < lines.size() && lines.at(headerAt).trimmed().isEmpty())
        ++headerAt;
    if (headerAt == lines.size())
        throw EVtException(BadHeader);
    const QString headerLine = lines.at(headerAt);
    const QChar separator = headerLine.contains(u';') ? u';' : u',';
    QStringList header = SplitLine(headerLine, separator);
    for (QString &h : header)
        h = h.toLower();
    if (header != Header)
        throw EVtException(BadHeader);

    m_modes.clear();
    m_modeIds.clear();
    TSQLQuery modes;
    modes.SQL = u"SELECT iMpgId, sMpgDescS, sMpgDescL FROM TMpg_ModPagam ORDER BY iMpgId"_s;
    for (modes.Open(); !modes.Eof(); modes.Next()) {
        m_modeIds << modes.Fields(0).toInt();
        m_modes.append({modes.Fields(1).toString().trimmed(), modes.Fields(2).toString().trimmed()});
    }

    for (int i = headerAt + 1; i < lines.size(); ++i) {
        if (lines.at(i).trimmed().isEmpty())
            continue;
        TRow row;
        row.Line = i + 1;
        Check(row, SplitLine(lines.at(i), separator));
        m_rows << row;
    }
}

// The checks of one row, in the order the reasons are given.
void TEbdImportaInt::Check(TRow &row, const QStringList &fields) const
{
    auto refuse = [&row](const QString &reason) {
        row.Outcome = oRefused;
        row.Reason = reason;
    };
    if (fields.size() != Header.size())
        return refuse(u"Riga non valida"_s);
    row.Pupil = fields.at(0);
    row.Parent = fields.at(1);
    row.Iban = QString(fields.at(2)).remove(QRegularExpression(u"\\s"_s)).toUpper();
    row.PaymentMode = fields.at(3);

    if (const QString r = FindPupil(row, fields.at(0)); !r.isEmpty())
        return refuse(r);
    if (fields.at(1).isEmpty())
        return refuse(u"Genitore obbligatorio"_s);
    if (const QString r = FindParent(row, fields.at(1)); !r.isEmpty())
        return refuse(r);
    if (!row.Iban.isEmpty() && !CheckIBAN(row.Iban))
        return refuse(u"Codice IBAN non valido"_s);
    if (fields.at(3).isEmpty())
        return refuse(u"Tipo pagamento"_s);
    for (int m = 0; m < m_modes.size() && !row.MpgId; ++m)
        if (fields.at(3).compare(m_modes.at(m).first, Qt::CaseInsensitive) == 0 ||
            fields.at(3).compare(m_modes.at(m).second, Qt::CaseInsensitive) == 0) {
            row.MpgId = m_modeIds.at(m);
            row.PaymentMode = m_modes.at(m).second;
        }
    if (!row.MpgId)
        return refuse(u"Tipo pagamento non trovato"_s);
    for (const TRow &earlier : m_rows)
        if (earlier.Outcome != oRefused && earlier.AnaId == row.AnaId && earlier.ParentId == row.ParentId)
            return refuse(u"Riga ripetuta (riga %1)"_s.arg(earlier.Line));

    TSQLQuery existing;
    existing.SQL = u"SELECT FIRST 1 iAcbId FROM TAcb_AluCoordBan WHERE iAnaId = :iAnaId AND iAnaId_Gen = :iAnaIdGen "
                   "ORDER BY iAcbId"_s;
    existing.Params().CreateParam(QMetaType::Int, u"iAnaId"_s)->SetValue(row.AnaId);
    existing.Params().CreateParam(QMetaType::Int, u"iAnaIdGen"_s)->SetValue(row.ParentId);
    existing.Open();
    row.AcbId = existing.Eof() ? 0 : existing.Fields(0).toInt();
    row.Outcome = row.AcbId ? oUpdated : oNew;
}

// The pupil, and its class in the working school year; the reason of a
// refusal, empty when found.
QString TEbdImportaInt::FindPupil(TRow &row, const QString &text) const
{
    TSQLQuery pupil;
    pupil.SQL = u"SELECT FIRST 1 TAna.iAnaId, TRIM(TAna.sAnaCognome || ' ' || COALESCE(TAna.sAnaNome, '')) AS sNome "
                "FROM TAna_Anagrafiche TAna WHERE (TAna.iAnaId = :iId) OR (UPPER(TAna.sAnaCodFiscale) = :sCf) "
                "ORDER BY TAna.iAnaId"_s;
    BindPerson(pupil, text);
    pupil.Open();
    if (text.isEmpty() || pupil.Eof())
        return u"Alunno non trovato"_s;
    row.AnaId = pupil.Fields(0).toInt();
    row.Pupil = pupil.Fields(1).toString();

    TSQLQuery cls;
    cls.SQL = u"SELECT FIRST 1 VCls.sClsSDesc FROM TSit_Situazioni Sit "
              "INNER JOIN TAnaCag ac ON ((ac.iAnaId = Sit.iAnaId) AND (ac.iCagId = 1)) "
              "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
              "INNER JOIN VCls_Classi VCls ON (VCls.iClsId = Pst.iClsId) "
              "INNER JOIN VAns_AnniScolast Ans ON (EXTRACT(YEAR FROM VCls.dStart_Cls) = EXTRACT(YEAR FROM "
              "Ans.dAnsVeltoInizio)) WHERE (Sit.iAnaId = :iAnaId) AND (Ans.iAnsId = :iAnsId)"_s;
    cls.Params().CreateParam(QMetaType::Int, u"iAnaId"_s)->SetValue(row.AnaId);
    cls.Params().CreateParam(QMetaType::Int, u"iAnsId"_s)->SetValue(TEbdContext::GetOr0(TEbdCtx::AnsId));
    cls.Open();
    return cls.Eof() ? u"Alunno senza classe nell'anno scolastico"_s : QString();
}

// The parent among the pupil's relatives.
QString TEbdImportaInt::FindParent(TRow &row, const QString &text) const
{
    TSQLQuery parent;
    parent.SQL = u"SELECT FIRST 1 g.iAnaId_p, TRIM(p.sAnaCognome || ' ' || COALESCE(p.sAnaNome, '')) AS sNome "
                 "FROM TAnaGpt g INNER JOIN TAna_Anagrafiche p ON (p.iAnaId = g.iAnaId_p) "
                 "WHERE (g.iAnaId = :iAnaId) AND ((g.iAnaId_p = :iId) OR (UPPER(p.sAnaCodFiscale) = :sCf)) "
                 "ORDER BY g.iGptId, g.iAnaGptId"_s;
    parent.Params().CreateParam(QMetaType::Int, u"iAnaId"_s)->SetValue(row.AnaId);
    BindPerson(parent, text);
    parent.Open();
    if (parent.Eof())
        return u"Genitore non trovato tra i parenti dell'alunno"_s;
    row.ParentId = parent.Fields(0).toInt();
    row.Parent = parent.Fields(1).toString();
    return {};
}

int TEbdImportaInt::Count(TOutcome outcome) const
{
    int n = 0;
    for (const TRow &row : m_rows)
        n += row.Outcome == outcome ? 1 : 0;
    return n;
}

void TEbdImportaInt::Write() const
{
    TVtTransaction transaction;
    transaction.StartTransaction();
    for (const TRow &row : m_rows) {
        if (row.Outcome == oRefused)
            continue;
        TSQLQuery q;
        const QVariant iban = row.Iban.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(row.Iban);
        if (row.Outcome == oNew) {
            q.SQL = u"INSERT INTO TAcb_AluCoordBan (iAcbId, iMpgId, iAnaId, iAnaId_Gen, sAcbIBan, sAcbIntestatario, "
                    "fAcbPercSconto) VALUES (:iAcbId, :iMpgId, :iAnaId, :iAnaIdGen, :sIban, :sNome, 0)"_s;
            q.Params().CreateParam(QMetaType::Int, u"iAcbId"_s)->SetValue(qqoVtGlobConn->NextId());
            q.Params().CreateParam(QMetaType::Int, u"iAnaId"_s)->SetValue(row.AnaId);
            q.Params().CreateParam(QMetaType::Int, u"iAnaIdGen"_s)->SetValue(row.ParentId);
            q.Params().CreateParam(QMetaType::QString, u"sNome"_s)->SetValue(row.Parent);
        } else {
            q.SQL = u"UPDATE TAcb_AluCoordBan SET sAcbIBan = :sIban, iMpgId = :iMpgId WHERE iAcbId = :iAcbId"_s;
            q.Params().CreateParam(QMetaType::Int, u"iAcbId"_s)->SetValue(row.AcbId);
        }
        q.Params().CreateParam(QMetaType::Int, u"iMpgId"_s)->SetValue(row.MpgId);
        q.Params().CreateParam(QMetaType::QString, u"sIban"_s)->SetValue(iban);
        q.ExecSQL();
    }
    transaction.Commit();
}

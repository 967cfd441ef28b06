#include "EbdFAluGen.h"
#include "EbdMConn.h"
#include "EbdRCcaAcbCau.h"
#include "EbdRDote.h"
#include "EbdUCac.h"
#include "EbdUDote.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestRow.h"
#include "VardellaModules.h"
#include "VtDBDateEdit.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtGlobalValuesManager.h"
#include "VtFormRegistry.h"
#include "VtQueryCollection.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// Random sequences of what the office does to holders, through the real
// collections, hooks, frames and the spread, advances and grant edits
// included: after every operation the money of every holder must still add
// up, to the cent.
//
// VARDELLA_PROPERTY_SEED fixes the seed, VARDELLA_PROPERTY_RUNS and
// VARDELLA_PROPERTY_OPS the number of sequences and of operations in each.
class TstBillingProperty : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void moneyAddsUpAfterEveryOperation();

private:
    bool RunSequence(quint64 seed, int ops, QStringList &log, QString &failure);
    QString Step(QRandomGenerator &rnd, int holder, bool &refused);
    static QStringList Snapshot(int holder);
    static QString CheckInvariants(int holder);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    TfmEbdAluGen *m_window = nullptr;
    QList<int> m_holders, m_reasons;
};

namespace {
const QDate YearStart(2024, 9, 1), YearEnd(2025, 8, 31);
const QList<double> Percents{0, 5, 10, 12.5, 33.33};

QSqlQuery Select(const QString &sql, int holder)
{
    QSqlQuery q(qqoVtGlobConn->Database());
    q.prepare(sql);
    q.addBindValue(holder);
    if (!q.exec())
        qFatal("%s", qPrintable(sql));
    return q;
}

int EnvInt(const char *name, int fallback)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v > 0 ? v : fallback;
}

QString Money(const TVtMoney &m)
{
    return m.Format();
}

// Equal to the cent: less than half a cent apart (sums of four-decimal
// amounts may straddle a cent by a ten-thousandth).
bool SameToTheCent(const TVtMoney &a, const TVtMoney &b)
{
    return qAbs(a.Raw() - b.Raw()) < 50;
}
}

void TstBillingProperty::initTestCase()
{
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [] {
        // Reasons of the test's own, with amounts that make floating noise.
        const QList<QList<QPair<double, QDate>>> reasons{
            {{6.40, QDate(2024, 10, 15)}, {50.30, QDate(2024, 12, 15)}, {33.33, QDate(2025, 2, 15)}},
            {{100.0, QDate(2024, 11, 30)}, {100.0, QDate(2025, 3, 31)}},
            {{33.33, QDate(2024, 9, 30)}, {0.0, QDate(2025, 5, 31)}}};
        int n = 0;
        for (const auto &components : reasons) {
            const QString code = u"PROP%1"_s.arg(++n);
            const int reason = TTestRow::Reason(code, YearStart, YearEnd).Insert();
            int i = 0;
            for (const auto &[amount, due] : components) {
                const int c = TTestRow::Component(u"%1-%2"_s.arg(code).arg(++i), TVtMoney(amount), YearStart, YearEnd)
                                  .Set(u"dCcaDataScadenza"_s, due).Set(u"iTccId"_s, 301).Insert();
                TTestRow::ReasonComponent(reason, c).Insert();
            }
        }
    });
    for (const QVariant &v : TTestDatabase::Column(u"SELECT iCauId FROM TCau_Causali WHERE sCauSDesc STARTING WITH 'PROP' "
                                                    "OR iCauId IN (2401, 2402, 2404) ORDER BY iCauId"_s))
        m_reasons << v.toInt();
    QCOMPARE(m_reasons.size(), 6);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstBillingProperty::cleanupTestCase()
{
    m_db.reset();
}

void TstBillingProperty::moneyAddsUpAfterEveryOperation()
{
    const quint64 seed = qEnvironmentVariableIsSet("VARDELLA_PROPERTY_SEED")
                             ? qEnvironmentVariable("VARDELLA_PROPERTY_SEED").toULongLong()
                             : QRandomGenerator::global()->generate64();
    const int runs = EnvInt("VARDELLA_PROPERTY_RUNS", 50);
    const int ops = EnvInt("VARDELLA_PROPERTY_OPS", 30);
    qInfo("seed %llu, %d sequences of %d operations", seed, runs, ops);
    for (int run = 0; run < runs; ++run) {
        QStringList log;
        QString failure;
        const quint64 runSeed = seed + quint64(run);
        const bool ok = RunSequence(runSeed, ops, log, failure);
        if (!ok)
            QFAIL(qPrintable(u"VARDELLA_PROPERTY_SEED=%1 (sequence %2): %3\n%4"_s.arg(seed).arg(run).arg(failure, log.join(u'\n'))));
    }
}

bool TstBillingProperty::RunSequence(quint64 seed, int ops, QStringList &log, QString &failure)
{
    QRandomGenerator rnd(seed);
    (*m_messages)->Clear();
    dmEbdConn = new TdmEbdConn;
    dmEbdConn->Settings = m_db->Fresh();
    struct TCleanup
    {
        TfmEbdAluGen *&Window;
        ~TCleanup()
        {
            delete Window;
            Window = nullptr;
            delete dmEbdConn;
            dmEbdConn = nullptr;
        }
    } cleanup{m_window};
    if (!dmEbdConn->OpenConnection()) {
        failure = u"connessione non aperta"_s;
        return false;
    }
    SetWorkingContext(1, 2024, 2025, 2, 2024);
    xgvmGlobalVar->SetValues(u"EBDP_Vis"_s, u"1"_s);   // the advances shown
    m_window = qobject_cast<TfmEbdAluGen *>(TVtFormRegistry::CreateForm(u"TfmEbdAluGen"_s));
    m_window->show();
    // Three holders of the test's own, second paying parents of demo pupils.
    m_holders.clear();
    TVtQueryCollection *holders = dmEbdConn->xqcAluGen;
    QList<int> pupils;
    for (holders->First(); !holders->Eof() && m_holders.size() < 3; holders->Next()) {
        const int pupil = holders->FieldByName(u"IANAID"_s)->AsInteger();
        if (pupils.contains(pupil))
            continue;
        pupils << pupil;
        m_holders << TTestRow::Holder(pupil, u"Aaa Prova %1"_s.arg(pupils.size()))
                         .Set(u"iAnaId_Gen"_s, holders->FieldByName(u"IANAID_GEN"_s)->Value())
                         .Set(u"iMpgId"_s, 1).Insert();
    }
    holders->Refresh();
    for (int i = 0; i < ops; ++i) {
        const int holder = m_holders[int(rnd.bounded(m_holders.size()))];
        if (!holders->Locate(u"IACBID"_s, holder)) {
            failure = u"intestatario %1 non in elenco"_s.arg(holder);
            return false;
        }
        const QStringList before = Snapshot(holder);
        bool refused = false;
        (*m_messages)->Clear();
        const QString op = Step(rnd, holder, refused);
        log << u"%1. %2 -> %3 %4"_s.arg(i + 1).arg(op, refused ? u"rifiutata"_s : u"eseguita"_s, (*m_messages)->Texts().join(u" | "_s));
        (*m_messages)->Answers.clear();
        if (refused && Snapshot(holder) != before) {
            failure = u"un'operazione rifiutata ha cambiato i dati"_s;
            return false;
        }
        for (int h : m_holders) {
            failure = CheckInvariants(h);
            if (!failure.isEmpty()) {
                failure += u"\n"_s + Snapshot(h).join(u'\n');
                return false;
            }
        }
    }
    return true;
}

QString TstBillingProperty::Step(QRandomGenerator &rnd, int holder, bool &refused)
{
    TVtQueryCollection *assigned = dmEbdConn->xqcAcbCau;
    TVtQueryCollection *instalments = dmEbdConn->xqcCacAcbCau;
    TVtQueryCollection *grants = dmEbdConn->xqcDote;
    TfrEbdCcaAcbCau *frame = m_window->frEbdCcaAcbCau;
    auto pickRow = [&](TVtQueryCollection *q) {
        q->SetRecNo(int(rnd.bounded(q->RecordCount())));
        return q->FieldByName(q->KeyFields)->AsInteger();
    };
    TVtQueryCollection *advances = dmEbdConn->xqcAcconti;
    // An advance amount: within what is left to pay, all of it, a cent too
    // much, nothing.
    auto advanceAmount = [&](double extra) {
        const double left = instalments->FieldByName(u"FCACIMPORTO"_s)->AsFloat() + extra;
        static const QList<double> shares{0.25, 1.0, -1, 0};
        const double share = shares[int(rnd.bounded(shares.size()))];
        return share < 0 ? left + 0.01 : share * left;
    };
    switch (rnd.bounded(12)) {
    case 0: {
        const int reason = m_reasons[int(rnd.bounded(m_reasons.size()))];
        const double perc = Percents[int(rnd.bounded(Percents.size()))];
        assigned->Insert();
        assigned->FieldByName(u"ICAUID"_s)->SetValue(reason);
        assigned->FieldByName(u"FACBCAUPERCSCONTO"_s)->SetValue(perc);
        refused = !assigned->Post();
        if (refused)
            assigned->Cancel();
        return u"causale %1 assegnata con sconto %2"_s.arg(reason).arg(perc);
    }
    case 1: {
        if (assigned->IsEmpty())
            return u"nessuna causale da modificare"_s;
        const int id = pickRow(assigned);
        const double perc = rnd.bounded(6) == 0 ? 150.0 : Percents[int(rnd.bounded(Percents.size()))];
        assigned->Edit();
        assigned->FieldByName(u"FACBCAUPERCSCONTO"_s)->SetValue(perc);
        refused = !assigned->Post();
        if (refused)
            assigned->Cancel();
        return u"sconto %1 sulla causale assegnata %2"_s.arg(perc).arg(id);
    }
    case 2: {
        if (instalments->IsEmpty())
            return u"nessuna rata da modificare"_s;
        const int id = pickRow(instalments);
        const bool percent = rnd.bounded(2) == 0;
        static const QStringList percents{u"0"_s, u"5"_s, u"10"_s, u"12,5"_s, u"33,33"_s, u"101"_s};
        static const QStringList discounts{u"0"_s, u"1,5"_s, u"3,33"_s, u"200"_s, u"-2"_s, u"0,01"_s};
        const QString typed = (percent ? percents : discounts)[int(rnd.bounded(6))];
        frame->xacEdit->Execute();
        TypeText(percent ? frame->xnePercSconto : frame->xneImpSconto, typed);
        refused = !frame->xacPost->Execute();
        if (refused)
            frame->xacCancel->Execute();
        return u"rata %1: %2 %3"_s.arg(id).arg(percent ? u"percentuale"_s : u"importo sconto"_s, typed);
    }
    case 3: {
        static const QList<double> amounts{5.76, 33.3333, 150, 20};
        const double amount = amounts[int(rnd.bounded(amounts.size()))];
        const QDate from = YearStart.addMonths(int(rnd.bounded(7)));
        const QDate to = from.addMonths(2 + int(rnd.bounded(7)));
        TTestRow(u"TDos_DoteScuola"_s, u"iDosId"_s)
            .Set(u"iAcbId"_s, holder).Set(u"fDosImporto"_s, amount).Set(u"fDosImportoResiduo"_s, amount)
            .Set(u"dDosData"_s, from).Set(u"dDosDataScadenza"_s, to).Set(u"dStart"_s, YearStart).Set(u"dEnd"_s, YearEnd)
            .Insert();
        grants->Refresh();
        return u"dote di %1 dal %2 al %3"_s.arg(amount).arg(from.toString(u"dd/MM/yyyy"_s), to.toString(u"dd/MM/yyyy"_s));
    }
    case 4:
        if (instalments->IsEmpty())
            return u"nessuna rata per la dote"_s;
        frame->acTogliDote->trigger();
        return u"Spalma dote"_s;
    case 5: {
        if (instalments->IsEmpty())
            return u"nessuna rata per la dote"_s;
        const int id = pickRow(instalments);
        frame->acTogliDoteCca->trigger();
        return u"Spalma dote sulla rata %1"_s.arg(id);
    }
    case 6: {
        grants->Refresh();
        if (grants->IsEmpty())
            return u"nessuna dote da togliere"_s;
        const int id = pickRow(grants);
        static const QList<int> answers{int(mrYes), int(mrNo), int(mrCancel)};
        const int answer = answers[int(rnd.bounded(3))];
        (*m_messages)->Answers << mrYes << answer;
        refused = !grants->Delete();
        return u"dote %1 tolta, risposta %2"_s.arg(id).arg(answer);
    }
    case 8: {
        if (instalments->IsEmpty())
            return u"nessuna rata per l'acconto"_s;
        const int id = pickRow(instalments);
        const double amount = advanceAmount(0);
        advances->Insert();
        if (advances->State() != dsInsert) {
            refused = true;   // a paid instalment
            return u"acconto sulla rata pagata %1"_s.arg(id);
        }
        advances->FieldByName(u"FCAAIMPORTO"_s)->SetValue(amount);
        advances->FieldByName(u"DCAADATA"_s)->SetValue(QDate(2024, 10, 1));
        refused = !advances->Post();
        if (refused)
            advances->Cancel();
        return u"acconto di %1 sulla rata %2"_s.arg(amount).arg(id);
    }
    case 9:
    case 10: {
        if (instalments->IsEmpty())
            return u"nessuna rata con acconti"_s;
        const int id = pickRow(instalments);
        if (advances->IsEmpty())
            return u"nessun acconto sulla rata %1"_s.arg(id);
        const int advance = pickRow(advances);
        if (rnd.bounded(2) == 0) {
            (*m_messages)->Answers << mrYes;
            refused = !advances->Delete();
            return u"acconto %1 tolto"_s.arg(advance);
        }
        const double amount = advanceAmount(advances->FieldByName(u"FCAAIMPORTO"_s)->AsFloat());
        advances->Edit();
        if (advances->State() != dsEdit) {
            refused = true;
            return u"acconto %1 della rata pagata"_s.arg(advance);
        }
        advances->FieldByName(u"FCAAIMPORTO"_s)->SetValue(amount);
        refused = !advances->Post();
        if (refused)
            advances->Cancel();
        return u"acconto %1 portato a %2"_s.arg(advance).arg(amount);
    }
    case 11: {
        grants->Refresh();
        if (grants->IsEmpty())
            return u"nessuna dote da modificare"_s;
        const int id = pickRow(grants);
        static const QStringList typed{u"10"_s, u"150"_s, u"0,01"_s, u"333,3333"_s, u"0"_s};
        const QString value = typed[int(rnd.bounded(typed.size()))];
        TfrEbdDote *dote = m_window->frEbdDote;
        dote->xacEdit->Execute();
        TypeText(dote->xneImporto, value);
        refused = !dote->xacPost->Execute();
        if (dote->xdsMain->State() != dsBrowse)
            dote->xacCancel->Execute();
        return u"dote %1 portata a %2"_s.arg(id).arg(value);
    }
    default: {
        if (instalments->IsEmpty())
            return u"nessuna rata da pagare"_s;
        const int id = pickRow(instalments);
        frame->xacEdit->Execute();
        frame->xddPagamento->SetDate(instalments->FieldByName(u"DCACDATASCADENZA"_s)->AsDate());
        refused = !frame->xacPost->Execute();
        if (refused)
            frame->xacCancel->Execute();
        return u"rata %1 pagata"_s.arg(id);
    }
    }
}

QStringList TstBillingProperty::Snapshot(int holder)
{
    QStringList rows;
    QSqlQuery q = Select(u"SELECT cac.iCacId, cac.fCacImporto, cac.fCacImpDaDote, cac.fCacPercSconto, cac.fCacImpSconto, "
                         "cac.dCacDataPagamento FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId "
                         "WHERE ac.iAcbId = ? ORDER BY cac.iCacId"_s, holder);
    while (q.next())
        rows << u"rata %1 %2 %3 %4 %5 %6"_s.arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                               q.value(3).toString(), q.value(4).toString(), q.value(5).toString());
    QSqlQuery g = Select(u"SELECT iDosId, fDosImporto, fDosImportoResiduo FROM TDos_DoteScuola WHERE iAcbId = ? ORDER BY iDosId"_s, holder);
    while (g.next())
        rows << u"dote %1 %2 %3"_s.arg(g.value(0).toString(), g.value(1).toString(), g.value(2).toString());
    QSqlQuery c = Select(u"SELECT caa.iCaaId, caa.fCaaImporto FROM TCaa_CacAcconti caa JOIN TCac_CcaAcbCau cac ON "
                         "cac.iCacId = caa.iCacId JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId WHERE ac.iAcbId = ? "
                         "ORDER BY caa.iCaaId"_s, holder);
    while (c.next())
        rows << u"acconto %1 %2"_s.arg(c.value(0).toString(), c.value(1).toString());
    QSqlQuery a = Select(u"SELECT iAcbCauId, iCauId, fAcbCauPercSconto FROM TAcbCau WHERE iAcbId = ? ORDER BY iAcbCauId"_s, holder);
    while (a.next())
        rows << u"causale %1 %2 %3"_s.arg(a.value(0).toString(), a.value(1).toString(), a.value(2).toString());
    return rows;
}

// (i) nothing below zero, (ii) each instalment keeps the amount rule,
// (iii) the holder's total to pay adds up, (iv) the grants' spent part is
// the holder's grant parts, each residue within [0, amount].
QString TstBillingProperty::CheckInvariants(int holder)
{
    QSqlQuery q = Select(u"SELECT cac.iCacId, cac.fCacImporto, cca.fCcaImportoIst, cac.fCacPercSconto, cac.fCacImpSconto, "
                         "cac.fCacImpDaDote, (SELECT COALESCE(SUM(fCaaImporto), 0) FROM TCaa_CacAcconti caa WHERE caa.iCacId = "
                         "cac.iCacId) FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId JOIN "
                         "TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId WHERE ac.iAcbId = ?"_s, holder);
    TVtMoney toPay, expected, grantParts;
    while (q.next()) {
        const TVtMoney amount = EbdCacMoney(q.value(1));
        const TEbdCacParts parts{EbdCacMoney(q.value(2)), q.value(3).isNull() ? 0.0 : q.value(3).toDouble(),
                                 EbdCacMoney(q.value(4)), EbdCacMoney(q.value(5)), EbdCacMoney(q.value(6))};
        if (amount.Cents() < 0 || parts.ImpDaDote.Cents() < 0)
            return u"(i) rata %1 sotto zero: %2, dote %3"_s.arg(q.value(0).toInt()).arg(Money(amount), Money(parts.ImpDaDote));
        if (!SameToTheCent(amount, EbdCacAmountToPay(parts)))
            return u"(ii) rata %1: %2 invece di %3"_s.arg(q.value(0).toInt()).arg(Money(amount), Money(EbdCacAmountToPay(parts)));
        toPay += amount;
        expected += EbdCacAmountToPay(parts);
        grantParts += parts.ImpDaDote;
    }
    if (!SameToTheCent(toPay, expected))
        return u"(iii) intestatario %1: %2 da pagare invece di %3"_s.arg(holder).arg(Money(toPay), Money(expected));
    QSqlQuery g = Select(u"SELECT iDosId, fDosImporto, fDosImportoResiduo FROM TDos_DoteScuola WHERE iAcbId = ?"_s, holder);
    TVtMoney spent;
    while (g.next()) {
        const TVtMoney amount = EbdCacMoney(g.value(1)), residue = EbdCacMoney(g.value(2));
        if (residue.Cents() < 0 || residue.Cents() > amount.Cents())
            return u"(iv) dote %1: residuo %2 su %3"_s.arg(g.value(0).toInt()).arg(Money(residue), Money(amount));
        spent += amount - residue;
    }
    if (!SameToTheCent(spent, grantParts))
        return u"(iv) intestatario %1: doti spese %2, quote da dote %3"_s.arg(holder).arg(Money(spent), Money(grantParts));
    return QString();
}

QTEST_MAIN(TstBillingProperty)
#include "tst_billingproperty.moc"

#include "EbdUSddWriter.h"
#include "ebdUSddText.h"
#include "ebdUSddValidate.h"
#include "sddtestsupport.h"

#include <QDomElement>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace sddtest;

// The SDD file of a small export, element by element in schema order,
// written from debits made by hand.
class TstSddFile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void header();
    void blocksAndTransactions();
    void addressesWithoutEmptyParts();
    void everyTextInTheSepaSet();
    void excludedDebitsAreLeftOut();

private:
    QByteArray Saved(const TSddMessaggio &m);
    QTemporaryDir m_dir;
    TSddSede m_sede;
    TSddCreditore m_creditore;
    TSddTestata m_testata;
    QVector<TSddDisposizione> m_disp;
};

namespace {
TSddDisposizione Debit(const QString &holder, qint64 cents, const QDate &due, const QString &seq, const QString &code,
                       const QString &iban)
{
    TSddDisposizione d;
    d.Ultima.Debitore = holder;
    d.Ultima.Iban = iban;
    d.Ultima.Matricola = code;
    d.Ultima.Scadenza = due;
    d.Ultima.TipoSequenza = seq;
    d.Ultima.Causale = u"Mensa"_s;
    d.Ultima.Indirizzo = u"Via Roma 1"_s;
    d.Ultima.Cap = u"27010"_s;
    d.Ultima.Comune = u"Valdirame VD"_s;
    d.Importo = cents;
    d.Remittance = u"Mensa"_s;
    return d;
}
const QDate Jan(2025, 1, 15), Feb(2025, 2, 17);
} // namespace

void TstSddFile::initTestCase()
{
    m_sede = {true, u"Istituto Comprensivo Statale \"Giosuè Carducci\" di Sant’Agata Bolognese - Scuola dell’infanzia"_s,
              u"Piazza della Libertà 4"_s, u"27010"_s, u"Valdirame"_s, u"90012340187"_s};
    m_creditore = {u"IT"_s, u"83"_s, u"M"_s, u"08571"_s, u"14031"_s, u"1234"_s};
    m_testata = {QDateTime(QDate(2025, 1, 10), QTime(9, 5, 7)), u" VALD812C "_s, u"it27 zzz 90012340187"_s};
    m_disp = {Debit(u"D’Amico Nicolò"_s, 1250, Jan, u"FRST"_s, u"240003"_s, u"IT60X0542811101000000123456"_s),
              Debit(u"Rossi Mario"_s, 15000, Feb, u"RCUR"_s, u"240006"_s, u"IT02L1234512345123456789012"_s),
              Debit(u"Bianchi Luisa"_s, 1234, Jan, u"FRST"_s, u"240009"_s, u"IT40S0542811101000000123499"_s)};
    m_disp[0].Ultima.DataMandato = QDate(2019, 9, 20);
    m_disp[0].Remittance = u"Mensa - D’Amico Nicolò 6.25, D’Amico Zoë 6.25"_s;
}

QByteArray TstSddFile::Saved(const TSddMessaggio &m)
{
    const QString file = m_dir.filePath(u"sdd.xml"_s);
    QString error;
    if (!SaveCBISDDReqLogMsg(*m.Xml, file, &error))
        qFatal("%s", qPrintable(error));
    const QStringList invalid = ValidateCBISDDReqLogMsgFile(file);
    if (!invalid.isEmpty())
        qWarning("%s", qPrintable(invalid.join(u'\n')));
    return invalid.isEmpty() ? readFile(file) : QByteArray();
}

void TstSddFile::header()
{
    const TSddMessaggio m = BuildSddMessage(m_disp, m_sede, m_creditore, m_testata);
    QCOMPARE(m.MsgId, u"SDD20250110090507"_s);
    const QByteArray xml = Saved(m);
    QVERIFY(!xml.isEmpty());
    const QDomElement root = documentElement(xml);
    const QDomElement hdr = at(root, u"GrpHdr"_s);
    QCOMPARE(childNames(hdr), (QStringList{u"MsgId"_s, u"CreDtTm"_s, u"NbOfTxs"_s, u"CtrlSum"_s, u"InitgPty"_s}));
    QCOMPARE(at(hdr, u"MsgId"_s).text(), u"SDD20250110090507"_s);
    QCOMPARE(at(hdr, u"CreDtTm"_s).text(), u"2025-01-10T09:05:07"_s);
    QCOMPARE(at(hdr, u"NbOfTxs"_s).text(), u"3"_s);
    QCOMPARE(at(hdr, u"CtrlSum"_s).text(), u"174.84"_s);
    // The seat's name cleaned and cut to 70.
    QCOMPARE(at(hdr, u"InitgPty/Nm"_s).text(), u"Istituto Comprensivo Statale Giosue Carducci di Sant'Agata Bolognese -"_s);
    QCOMPARE(at(hdr, u"InitgPty/Nm"_s).text().size(), 70);
    QCOMPARE(at(hdr, u"InitgPty/Id/OrgId/Othr/Id"_s).text(), u"VALD812C"_s);
    QCOMPARE(at(hdr, u"InitgPty/Id/OrgId/Othr/Issr"_s).text(), u"CBI"_s);
}

void TstSddFile::blocksAndTransactions()
{
    const TSddMessaggio m = BuildSddMessage(m_disp, m_sede, m_creditore, m_testata);
    const QDomElement root = documentElement(Saved(m));
    const QList<QDomElement> blocks = childrenNamed(root, u"PmtInf"_s);
    QCOMPARE(blocks.size(), 2);
    const QDomElement first = blocks[0];
    QCOMPARE(childNames(first), (QStringList{u"PmtInfId"_s, u"PmtMtd"_s, u"BtchBookg"_s, u"PmtTpInf"_s, u"ReqdColltnDt"_s,
                                             u"Cdtr"_s, u"CdtrAcct"_s, u"CdtrAgt"_s, u"CdtrSchmeId"_s, u"DrctDbtTxInf"_s,
                                             u"DrctDbtTxInf"_s}));
    QCOMPARE(at(first, u"PmtInfId"_s).text(), u"1"_s);
    QCOMPARE(at(first, u"PmtMtd"_s).text(), u"DD"_s);
    QCOMPARE(at(first, u"BtchBookg"_s).text(), u"false"_s);
    QCOMPARE(at(first, u"PmtTpInf/SvcLvl/Cd"_s).text(), u"SEPA"_s);
    QCOMPARE(at(first, u"PmtTpInf/LclInstrm/Cd"_s).text(), u"CORE"_s);
    QCOMPARE(at(first, u"PmtTpInf/SeqTp"_s).text(), u"FRST"_s);
    QCOMPARE(at(first, u"ReqdColltnDt"_s).text(), u"2025-01-15"_s);
    QCOMPARE(at(first, u"Cdtr/Nm"_s).text().size(), 70);
    QCOMPARE(at(first, u"CdtrSchmeId/Nm"_s).text(), at(first, u"Cdtr/Nm"_s).text());
    QCOMPARE(childNames(at(first, u"Cdtr/PstlAdr"_s)), (QStringList{u"PstCd"_s, u"TwnNm"_s, u"Ctry"_s, u"AdrLine"_s, u"AdrLine"_s}));
    const QList<QDomElement> lines = childrenNamed(at(first, u"Cdtr/PstlAdr"_s), u"AdrLine"_s);
    QCOMPARE(lines[0].text(), u"Piazza della Liberta 4"_s);
    QCOMPARE(lines[1].text(), u"27010 - Valdirame"_s);
    QCOMPARE(at(first, u"Cdtr/Id/PrvtId/Othr/Id"_s).text(), u"90012340187"_s);
    QCOMPARE(at(first, u"Cdtr/Id/PrvtId/Othr/Issr"_s).text(), u"ADE"_s);
    QCOMPARE(at(first, u"CdtrAcct/Id/IBAN"_s).text(), u"IT83M0857114031000000001234"_s);
    QCOMPARE(at(first, u"CdtrAgt/FinInstnId/ClrSysMmbId/MmbId"_s).text(), u"08571"_s);
    QCOMPARE(at(first, u"CdtrSchmeId/Id/PrvtId/Othr/Id"_s).text(), u"IT27ZZZ90012340187"_s);
    // The two FRST debits of 15 January, numbered across the file.
    const QList<QDomElement> txs = childrenNamed(first, u"DrctDbtTxInf"_s);
    QCOMPARE(at(txs[0], u"PmtId/InstrId"_s).text(), u"1"_s);
    QCOMPARE(at(txs[0], u"PmtId/EndToEndId"_s).text(), u"1"_s);
    QCOMPARE(at(txs[0], u"InstdAmt"_s).text(), u"12.5"_s);
    QCOMPARE(at(txs[0], u"InstdAmt"_s).attribute(u"Ccy"_s), u"EUR"_s);
    QCOMPARE(at(txs[0], u"DrctDbtTx/MndtRltdInf/MndtId"_s).text(), u"0000000000240003"_s);
    QCOMPARE(at(txs[0], u"DrctDbtTx/MndtRltdInf/DtOfSgntr"_s).text(), u"2019-09-20"_s);
    QCOMPARE(at(txs[0], u"Dbtr/Nm"_s).text(), u"D'Amico Nicolo"_s);
    QCOMPARE(at(txs[0], u"DbtrAcct/Id/IBAN"_s).text(), u"IT60X0542811101000000123456"_s);
    QCOMPARE(at(txs[0], u"RmtInf/Ustrd"_s).text(), u"Mensa - D'Amico Nicolo 6.25, D'Amico Zoe 6.25"_s);
    QCOMPARE(at(txs[1], u"PmtId/EndToEndId"_s).text(), u"2"_s);
    QCOMPARE(at(txs[1], u"InstdAmt"_s).text(), u"12.34"_s);
    QCOMPARE(at(txs[1], u"DrctDbtTx/MndtRltdInf/DtOfSgntr"_s).text(), u"2012-02-01"_s);
    const QDomElement second = blocks[1];
    QCOMPARE(at(second, u"PmtInfId"_s).text(), u"2"_s);
    QCOMPARE(at(second, u"PmtTpInf/SeqTp"_s).text(), u"RCUR"_s);
    QCOMPARE(at(second, u"ReqdColltnDt"_s).text(), u"2025-02-17"_s);
    QCOMPARE(at(second, u"DrctDbtTxInf/PmtId/EndToEndId"_s).text(), u"3"_s);
    QCOMPARE(at(second, u"DrctDbtTxInf/InstdAmt"_s).text(), u"150"_s);
    // What the log keeps of each written debit.
    QCOMPARE(m.Scritte.size(), 3);
    QCOMPARE(m.Scritte[1].Disposizione, 2);
    QCOMPARE(m.Scritte[1].Numero, 2);
    QCOMPARE(m.Scritte[2].Gruppo, (TSddGruppo{Feb, u"RCUR"_s}));
    QCOMPARE(m.TotaleCent, qint64(17484));
}

void TstSddFile::addressesWithoutEmptyParts()
{
    QVector<TSddDisposizione> d{m_disp[0], m_disp[1]};
    d[0].Ultima.Indirizzo.clear();
    d[0].Ultima.Cap.clear();
    d[0].Ultima.Comune.clear();
    d[1].Ultima.Indirizzo.clear();
    d[1].Ultima.Cap.clear();
    TSddSede sede = m_sede;
    sede.Cap.clear();
    const QDomElement root = documentElement(Saved(BuildSddMessage(d, sede, m_creditore, m_testata)));
    const QList<QDomElement> blocks = childrenNamed(root, u"PmtInf"_s);
    QVERIFY(at(blocks[0], u"DrctDbtTxInf/Dbtr/PstlAdr"_s).isNull());   // no dwelling, no address
    QCOMPARE(childNames(at(blocks[1], u"DrctDbtTxInf/Dbtr/PstlAdr"_s)), (QStringList{u"TwnNm"_s, u"Ctry"_s, u"AdrLine"_s}));
    QCOMPARE(at(blocks[1], u"DrctDbtTxInf/Dbtr/PstlAdr/AdrLine"_s).text(), u"Valdirame VD"_s);
    const QList<QDomElement> seat = childrenNamed(at(blocks[0], u"Cdtr/PstlAdr"_s), u"AdrLine"_s);
    QCOMPARE(seat.size(), 2);
    QCOMPARE(seat[1].text(), u"Valdirame"_s);
}

void TstSddFile::everyTextInTheSepaSet()
{
    QVector<TSddDisposizione> d = m_disp;
    d[1].Ultima.Debitore = u"Società «Genitori & Amici» di Nicolò e Françoise – "_s.repeated(2) + u"€"_s;
    d[1].Remittance = u"Quota 10 € per l’attività “extra”"_s;
    const QByteArray xml = Saved(BuildSddMessage(d, m_sede, m_creditore, m_testata));
    QVERIFY(!xml.isEmpty());
    const QDomElement root = documentElement(xml);
    int elements = 0;
    std::function<void(const QDomElement &)> walk = [&](const QDomElement &e) {
        ++elements;
        const QStringList children = childNames(e);
        if (children.isEmpty()) {
            QVERIFY2(!e.text().isEmpty(), qPrintable(e.tagName()));   // no empty element
            QVERIFY2(IsSepaText(e.text()), qPrintable(e.tagName() + u": "_s + e.text()));
        }
        for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
            walk(c);
    };
    walk(root);
    QVERIFY(elements > 60);
    const QDomElement tx = childrenNamed(childrenNamed(root, u"PmtInf"_s)[1], u"DrctDbtTxInf"_s)[0];
    QCOMPARE(at(tx, u"Dbtr/Nm"_s).text().size(), 70);
    QVERIFY(at(tx, u"Dbtr/Nm"_s).text().startsWith(u"Societa Genitori Amici di Nicolo e Francoise"_s));
    QCOMPARE(at(tx, u"RmtInf/Ustrd"_s).text(), u"Quota 10 EUR per l'attivita extra"_s);
}

void TstSddFile::excludedDebitsAreLeftOut()
{
    QVector<TSddDisposizione> d = m_disp;
    d[1].Esclusa = true;
    const TSddMessaggio m = BuildSddMessage(d, m_sede, m_creditore, m_testata);
    const QDomElement root = documentElement(Saved(m));
    QCOMPARE(childrenNamed(root, u"PmtInf"_s).size(), 1);
    QCOMPARE(at(root, u"GrpHdr/NbOfTxs"_s).text(), u"2"_s);
    QCOMPARE(at(root, u"GrpHdr/CtrlSum"_s).text(), u"24.84"_s);
    for (TSddDisposizione &x : d)
        x.Esclusa = true;
    QVERIFY(BuildSddMessage(d, m_sede, m_creditore, m_testata).Scritte.isEmpty());
}

QTEST_GUILESS_MAIN(TstSddFile)
#include "tst_sddfile.moc"

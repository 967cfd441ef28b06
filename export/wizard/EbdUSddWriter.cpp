#include "EbdUSddWriter.h"

#include "ebdUSddText.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int NameLength = 70, AddressLength = 70, TownLength = 35, PostcodeLength = 16, RemittanceLength = 140;

QString IsoDate(const QDate &d)
{
    return d.toString(u"yyyy-MM-dd"_s);
}

// The second address line: postcode " - " town, or the one present.
QString PostcodeAndTown(const QString &postcode, const QString &town)
{
    if (!postcode.isEmpty() && !town.isEmpty())
        return postcode + u" - "_s + town;
    return postcode + town;
}

// A postal address without empty parts; nothing when every part is empty.
void FillAddress(const std::function<TXMLCBIPostalAddress6 *()> &address, const QString &rawStreet,
                 const QString &rawPostcode, const QString &rawTown)
{
    const QString street = SepaText(rawStreet, AddressLength);
    const QString postcode = SepaText(rawPostcode, PostcodeLength);
    const QString town = SepaText(rawTown, TownLength);
    if (street.isEmpty() && postcode.isEmpty() && town.isEmpty())
        return;
    TXMLCBIPostalAddress6 *a = address();
    if (!postcode.isEmpty())
        a->SetPstCd(postcode);
    if (!town.isEmpty())
        a->SetTwnNm(town);
    a->SetCtry(u"IT"_s);
    if (!street.isEmpty())
        a->AdrLine()->Add(street);
    const QString line = SepaText(PostcodeAndTown(SepaText(rawPostcode), SepaText(rawTown)), AddressLength);
    if (!line.isEmpty())
        a->AdrLine()->Add(line);
}

void FillHeader(TXMLCBIGroupHeader2 *hdr, const TSddMessaggio &m, int count, const QString &seat,
                const TSddTestata &t)
{
    hdr->SetMsgId(m.MsgId);
    hdr->SetCreDtTm(t.Creazione.toString(u"yyyy-MM-dd'T'HH:mm:ss"_s));
    hdr->SetNbOfTxs(QString::number(count));
    hdr->SetCtrlSum(SddAmountText(m.TotaleCent));
    if (!seat.isEmpty())
        hdr->InitgPty()->SetNm(seat);
    const QString cuc = SepaText(t.Cuc.trimmed());
    if (!cuc.isEmpty()) {
        TXMLCBIGenericIdentification1 *initiator = hdr->InitgPty()->Id()->OrgId()->Add();
        initiator->SetId(cuc);
        initiator->SetIssr(u"CBI"_s);
    }
}

void FillBlock(TXMLPaymentInstructionInformation2 *pmt, int number, const TSddGruppo &g, const TSddSede &sede,
               const TSddCreditore &creditore, const TSddTestata &t)
{
    const QString seat = SepaText(sede.Nome, NameLength);
    pmt->SetPmtInfId(QString::number(number));
    pmt->SetPmtMtd(u"DD"_s);
    pmt->SetBtchBookg(u"false"_s);
    pmt->PmtTpInf()->SvcLvl()->SetCd(u"SEPA"_s);
    pmt->PmtTpInf()->LclInstrm()->SetCd(u"CORE"_s);
    pmt->PmtTpInf()->SetSeqTp(g.TipoSequenza);
    pmt->SetReqdColltnDt(IsoDate(g.Incasso));
    if (!seat.isEmpty())
        pmt->Cdtr()->SetNm(seat);
    FillAddress([pmt] { return pmt->Cdtr()->PstlAdr(); }, sede.Indirizzo, sede.Cap, sede.Comune);
    const QString fiscalCode = SepaText(sede.CodiceFiscale);
    if (!fiscalCode.isEmpty()) {
        pmt->Cdtr()->Id()->PrvtId()->Othr()->SetId(fiscalCode);
        pmt->Cdtr()->Id()->PrvtId()->Othr()->SetIssr(u"ADE"_s);
    }
    const QString iban = CompactIban(creditore.Iban());
    if (!iban.isEmpty())
        pmt->CdtrAcct()->Id()->SetIBAN(iban);
    if (!creditore.Abi.isEmpty())
        pmt->CdtrAgt()->FinInstnId()->ClrSysMmbId()->SetMmbId(creditore.Abi);
    if (!seat.isEmpty())
        pmt->CdtrSchmeId()->SetNm(seat);
    const QString creditorId = CompactCreditorIdentifier(t.CreditorIdent);
    if (!creditorId.isEmpty())
        pmt->CdtrSchmeId()->Id()->PrvtId()->Othr()->SetId(SepaText(creditorId));
}

void FillTransaction(TXMLDirectDebitTransactionInformation1 *tx, int number, const TSddDisposizione &d)
{
    const TSddRata &r = d.Ultima;
    tx->PmtId()->SetInstrId(QString::number(number));
    tx->PmtId()->SetEndToEndId(QString::number(number));
    tx->SetInstdAmtCcy(u"EUR"_s);
    tx->SetInstdAmt(SddAmountText(d.Importo));
    const QString mandate = r.CodDebitore();
    if (!mandate.isEmpty())
        tx->DrctDbtTx()->MndtRltdInf()->SetMndtId(SepaText(mandate));
    tx->DrctDbtTx()->MndtRltdInf()->SetDtOfSgntr(
        IsoDate(r.DataMandato.isValid() ? r.DataMandato : DefaultMandateDate()));
    const QString debtor = SepaText(r.Debitore, NameLength);
    if (!debtor.isEmpty())
        tx->Dbtr()->SetNm(debtor);
    FillAddress([tx] { return tx->Dbtr()->PstlAdr(); }, r.Indirizzo, r.Cap, r.Comune);
    if (!r.Iban.isEmpty())
        tx->DbtrAcct()->Id()->SetIBAN(r.Iban);
    const QString remittance = SepaText(d.Remittance, RemittanceLength);
    if (!remittance.isEmpty())
        tx->RmtInf()->Ustrd()->Add(remittance);
}

} // namespace

QString SddMsgId(const QDateTime &creazione)
{
    return u"SDD"_s + creazione.toString(u"yyyyMMddHHmmss"_s);
}

QDate DefaultMandateDate()
{
    return QDate(2012, 2, 1);
}

TSddMessaggio BuildSddMessage(const QVector<TSddDisposizione> &disposizioni, const TSddSede &sede,
                              const TSddCreditore &creditore, const TSddTestata &testata)
{
    TSddMessaggio m;
    m.MsgId = SddMsgId(testata.Creazione);
    m.Xml = NewCBISDDReqLogMsg();
    const QVector<TSddGruppo> groups = PaymentGroups(disposizioni);
    // The debits of each block in their own order, numbered across the file.
    int number = 0;
    for (const TSddGruppo &g : groups)
        for (int i = 0; i < disposizioni.size(); ++i) {
            const TSddDisposizione &d = disposizioni[i];
            if (!d.Esclusa && d.Ultima.Scadenza == g.Incasso && d.Ultima.TipoSequenza == g.TipoSequenza) {
                m.Scritte.append({i, ++number, g});
                m.TotaleCent += d.Importo;
            }
        }
    FillHeader(m.Xml->GrpHdr(), m, m.Scritte.size(), SepaText(sede.Nome, NameLength), testata);
    TXMLPaymentInstructionInformation2 *pmt = nullptr;
    int block = 0;
    for (const TSddScritta &s : m.Scritte) {
        if (!pmt || !(s.Gruppo == m.Scritte[s.Numero - 2].Gruppo))
            FillBlock(pmt = m.Xml->PmtInf()->Add(), ++block, s.Gruppo, sede, creditore, testata);
        FillTransaction(pmt->DrctDbtTxInf()->Add(), s.Numero, disposizioni[s.Disposizione]);
    }
    return m;
}

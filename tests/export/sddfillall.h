// Fills every member of every message type: the children of each node in
// the reverse of their schema order, each repeating child twice (Add, then
// Insert at 0), so that the output shows whether the model puts them back in
// order. Update it with the model when a type gains or loses a child.
#pragma once

#include "ebdUXmlSDD.h"

namespace sddfill {

// Every value differs from the others and fits the element's type: text,
// then the typed values (dates, identifiers, codes) the schema asks for.
struct Filler
{
    int next = 0;
    QString text() { return QStringLiteral("v%1").arg(++next); }
    QString amount() { return QStringLiteral("%1.25").arg(++next); }
    QString number() { return QString::number(++next); }
    QString date() { return QStringLiteral("2024-%1-%2").arg(++next % 12 + 1, 2, 10, QLatin1Char('0')).arg(next % 28 + 1, 2, 10, QLatin1Char('0')); }
    QString dateTime() { return date() + QStringLiteral("T09:05:07"); }
    QString iban() { return QStringLiteral("IT60X0542811101%1").arg(++next, 12, 10, QLatin1Char('0')); }
    QString bic() { return QStringLiteral("BPMOIT2") + QChar(u'0' + ++next % 10); }
    QString phone() { return QStringLiteral("+39-051%1").arg(++next); }
    // A value of a code list (or a country): the given one.
    QString code(const char *value)
    {
        ++next;
        return QString::fromLatin1(value);
    }
};

inline void fill(TXMLContactDetails2 *n, Filler &f);
inline void fill(TXMLGenericPersonIdentification1 *n, Filler &f);
inline void fill(TXMLDateAndPlaceOfBirth *n, Filler &f);
inline void fill(TXMLPersonIdentification5 *n, Filler &f);
inline void fill(TXMLOrganisationIdentificationSchemeName1Choice *n, Filler &f);
inline void fill(TXMLGenericOrganisationIdentification1 *n, Filler &f);
inline void fill(TXMLOrganisationIdentification4 *n, Filler &f);
inline void fill(TXMLParty6Choice *n, Filler &f);
inline void fill(TXMLPartyIdentification32 *n, Filler &f);
inline void fill(TXMLCreditorReferenceType1Choice *n, Filler &f);
inline void fill(TXMLCreditorReferenceType2 *n, Filler &f);
inline void fill(TXMLCreditorReferenceInformation2 *n, Filler &f);
inline void fill(TXMLDocumentAdjustment1 *n, Filler &f);
inline void fill(TXMLRemittanceAmount1 *n, Filler &f);
inline void fill(TXMLReferredDocumentType1Choice *n, Filler &f);
inline void fill(TXMLReferredDocumentType2 *n, Filler &f);
inline void fill(TXMLReferredDocumentInformation3 *n, Filler &f);
inline void fill(TXMLStructuredRemittanceInformation7 *n, Filler &f);
inline void fill(TXMLRemittanceInformation5 *n, Filler &f);
inline void fill(TXMLCBIStructuredRegulatoryReporting1 *n, Filler &f);
inline void fill(TXMLCBIRegulatoryReporting1 *n, Filler &f);
inline void fill(TXMLCBIPurpose1Choice *n, Filler &f);
inline void fill(TXMLCBIFinancialInstitutionIdentification5Choice *n, Filler &f);
inline void fill(TXMLCBIBranchAndFinancialInstitutionIdentification3 *n, Filler &f);
inline void fill(TXMLGenericFinancialIdentification1 *n, Filler &f);
inline void fill(TXMLFinancialInstitutionIdentification7 *n, Filler &f);
inline void fill(TXMLBranchAndFinancialInstitutionIdentification3 *n, Filler &f);
inline void fill(TXMLCBIPartyIdentification4 *n, Filler &f);
inline void fill(TXMLCBIFinancialInstitutionIdentification7 *n, Filler &f);
inline void fill(TXMLBranchAndFinancialInstitutionIdentification4 *n, Filler &f);
inline void fill(TXMLCBIPartyIdentification6 *n, Filler &f);
inline void fill(TXMLAmendmentInformationDetails1 *n, Filler &f);
inline void fill(TXMLMandateRelatedInformation1 *n, Filler &f);
inline void fill(TXMLDirectDebitTransaction1 *n, Filler &f);
inline void fill(TXMLActiveOrHistoricCurrencyAndAmount *n, Filler &f);
inline void fill(TXMLCBIPaymentTypeInformation2 *n, Filler &f);
inline void fill(TXMLCBIPaymentIdentification1 *n, Filler &f);
inline void fill(TXMLDirectDebitTransactionInformation1 *n, Filler &f);
inline void fill(TXMLPersonIdentificationSchemeName1Choice *n, Filler &f);
inline void fill(TXMLCBIGenericIdentification2 *n, Filler &f);
inline void fill(TXMLCBIPersonIdentification2 *n, Filler &f);
inline void fill(TXMLCBIParty4Choice *n, Filler &f);
inline void fill(TXMLCBIPartyIdentification2 *n, Filler &f);
inline void fill(TXMLCBIClearingSystemMemberIdentification1 *n, Filler &f);
inline void fill(TXMLCBIFinancialInstitutionIdentification1 *n, Filler &f);
inline void fill(TXMLCBIBranchAndFinancialInstitutionIdentification1 *n, Filler &f);
inline void fill(TXMLAccountIdentification3Choice *n, Filler &f);
inline void fill(TXMLCBICashAccount7 *n, Filler &f);
inline void fill(TXMLCBIPersonIdentification1 *n, Filler &f);
inline void fill(TXMLCBIOrganisationIdentification2 *n, Filler &f);
inline void fill(TXMLCBIParty1Choice *n, Filler &f);
inline void fill(TXMLCBIPostalAddress6 *n, Filler &f);
inline void fill(TXMLCBIPartyIdentification3 *n, Filler &f);
inline void fill(TXMLPaymentCategoryPurpose1Code *n, Filler &f);
inline void fill(TXMLLocalInstrument1Choice *n, Filler &f);
inline void fill(TXMLCBIServiceLevel3Choice *n, Filler &f);
inline void fill(TXMLCBIPaymentTypeInformation2_1 *n, Filler &f);
inline void fill(TXMLPaymentInstructionInformation2 *n, Filler &f);
inline void fill(TXMLCBIOrganisationIdentification1 *n, Filler &f);
inline void fill(TXMLCBIGenericIdentification1 *n, Filler &f);
inline void fill(TXMLCBIIdType1 *n, Filler &f);
inline void fill(TXMLCBIPartyIdentification1 *n, Filler &f);
inline void fill(TXMLCBIGroupHeader2 *n, Filler &f);
inline void fill(TXMLCBISDDReqLogMsg000100 *n, Filler &f);
inline void fill(TXMLCBISDDReqLogMsg000100 *n, Filler &f)
{
    fill(n->PmtInf()->Add(), f);
    fill(n->PmtInf()->Insert(0), f);
    fill(n->GrpHdr(), f);
}

inline void fill(TXMLCBIGroupHeader2 *n, Filler &f)
{
    fill(n->InitgPty(), f);
    n->SetCtrlSum(f.amount());
    n->SetNbOfTxs(f.number());
    n->SetCreDtTm(f.dateTime());
    n->SetMsgId(f.text());
}

inline void fill(TXMLCBIPartyIdentification1 *n, Filler &f)
{
    fill(n->Id(), f);
    n->SetNm(f.text());
}

inline void fill(TXMLCBIIdType1 *n, Filler &f)
{
    fill(n->OrgId(), f);
}

inline void fill(TXMLCBIGenericIdentification1 *n, Filler &f)
{
    n->SetIssr(f.text());
    n->SetId(f.text());
}

inline void fill(TXMLCBIOrganisationIdentification1 *n, Filler &f)
{
    fill(n->Add(), f);
    fill(n->Insert(0), f);
}

inline void fill(TXMLPaymentInstructionInformation2 *n, Filler &f)
{
    fill(n->DrctDbtTxInf()->Add(), f);
    fill(n->DrctDbtTxInf()->Insert(0), f);
    fill(n->CdtrSchmeId(), f);
    fill(n->ChrgsAcct(), f);
    n->SetChrgBr(f.code("SLEV"));
    fill(n->UltmtCdtr(), f);
    fill(n->CdtrAgt(), f);
    fill(n->CdtrAcct(), f);
    fill(n->Cdtr(), f);
    n->SetReqdColltnDt(f.date());
    fill(n->PmtTpInf(), f);
    n->SetBtchBookg(f.code("true"));
    n->SetPmtMtd(f.code("DD"));
    n->SetPmtInfId(f.text());
}

inline void fill(TXMLCBIPaymentTypeInformation2_1 *n, Filler &f)
{
    fill(n->CtgyPurp(), f);
    n->SetSeqTp(f.code("FRST"));
    fill(n->LclInstrm(), f);
    fill(n->SvcLvl(), f);
}

inline void fill(TXMLCBIServiceLevel3Choice *n, Filler &f)
{
    n->SetCd(f.code("SEPA"));
}

inline void fill(TXMLLocalInstrument1Choice *n, Filler &f)
{
    n->SetCd(f.code("CORE"));
}

inline void fill(TXMLPaymentCategoryPurpose1Code *n, Filler &f)
{
    n->SetCd(f.code("OTHR"));
}

inline void fill(TXMLCBIPartyIdentification3 *n, Filler &f)
{
    fill(n->Id(), f);
    fill(n->PstlAdr(), f);
    n->SetNm(f.text());
}

inline void fill(TXMLCBIPostalAddress6 *n, Filler &f)
{
    n->AdrLine()->Add(f.text());
    n->AdrLine()->Insert(0, f.text());
    n->SetCtry(f.code("IT"));
    n->SetCtrySubDvsn(f.text());
    n->SetTwnNm(f.text());
    n->SetPstCd(f.text());
    n->SetBldgNb(f.text());
    n->SetStrtNm(f.text());
    n->SetSubDept(f.text());
    n->SetDept(f.text());
    n->SetAdrTp(f.code("ADDR"));
}

inline void fill(TXMLCBIParty1Choice *n, Filler &f)
{
    fill(n->PrvtId(), f);
    fill(n->OrgId(), f);
}

inline void fill(TXMLCBIOrganisationIdentification2 *n, Filler &f)
{
    fill(n->Othr(), f);
    n->SetBICOrBEI(f.bic());
}

inline void fill(TXMLCBIPersonIdentification1 *n, Filler &f)
{
    fill(n->Othr(), f);
}

inline void fill(TXMLCBICashAccount7 *n, Filler &f)
{
    fill(n->Id(), f);
}

inline void fill(TXMLAccountIdentification3Choice *n, Filler &f)
{
    n->SetIBAN(f.iban());
}

inline void fill(TXMLCBIBranchAndFinancialInstitutionIdentification1 *n, Filler &f)
{
    fill(n->FinInstnId(), f);
}

inline void fill(TXMLCBIFinancialInstitutionIdentification1 *n, Filler &f)
{
    fill(n->ClrSysMmbId(), f);
}

inline void fill(TXMLCBIClearingSystemMemberIdentification1 *n, Filler &f)
{
    n->SetMmbId(f.text());
}

inline void fill(TXMLCBIPartyIdentification2 *n, Filler &f)
{
    n->SetCtryOfRes(f.code("IT"));
    fill(n->Id(), f);
    fill(n->PstlAdr(), f);
    n->SetNm(f.text());
}

inline void fill(TXMLCBIParty4Choice *n, Filler &f)
{
    fill(n->PrvtId(), f);
}

inline void fill(TXMLCBIPersonIdentification2 *n, Filler &f)
{
    fill(n->Othr(), f);
}

inline void fill(TXMLCBIGenericIdentification2 *n, Filler &f)
{
    n->SetIssr(f.text());
    fill(n->SchmeNm(), f);
    n->SetId(f.text());
}

inline void fill(TXMLPersonIdentificationSchemeName1Choice *n, Filler &f)
{
    n->SetPrtry(f.text());
    n->SetCd(f.code("SOSE"));
}

inline void fill(TXMLDirectDebitTransactionInformation1 *n, Filler &f)
{
    fill(n->RmtInf(), f);
    fill(n->RgltryRptg()->Add(), f);
    fill(n->RgltryRptg()->Insert(0), f);
    fill(n->Purp(), f);
    n->SetInstrForCdtrAgt(f.text());
    fill(n->UltmtDbtr(), f);
    fill(n->DbtrAcct(), f);
    fill(n->Dbtr(), f);
    fill(n->DbtrAgt(), f);
    fill(n->UltmtCdtr(), f);
    fill(n->DrctDbtTx(), f);
    n->SetChrgBr(f.code("SLEV"));
    n->SetInstdAmtCcy(QStringLiteral("EUR"));
    n->SetInstdAmt(f.amount());
    fill(n->PmtTpInf(), f);
    fill(n->PmtId(), f);
}

inline void fill(TXMLCBIPaymentIdentification1 *n, Filler &f)
{
    n->SetEndToEndId(f.text());
    n->SetInstrId(f.text());
}

inline void fill(TXMLCBIPaymentTypeInformation2 *n, Filler &f)
{
    fill(n->CtgyPurp(), f);
}

inline void fill(TXMLActiveOrHistoricCurrencyAndAmount *n, Filler &f)
{
    n->SetCcy(QStringLiteral("EUR"));
    n->SetText(f.amount());
}

inline void fill(TXMLDirectDebitTransaction1 *n, Filler &f)
{
    n->SetPreNtfctnDt(f.date());
    n->SetPreNtfctnId(f.text());
    fill(n->MndtRltdInf(), f);
}

inline void fill(TXMLMandateRelatedInformation1 *n, Filler &f)
{
    n->SetFrqcy(f.code("MNTH"));
    n->SetFnlColltnDt(f.date());
    n->SetFrstColltnDt(f.date());
    n->SetElctrncSgntr(f.text());
    fill(n->AmdmntInfDtls(), f);
    n->SetAmdmntInd(true);
    n->SetDtOfSgntr(f.date());
    n->SetMndtId(f.text());
}

inline void fill(TXMLAmendmentInformationDetails1 *n, Filler &f)
{
    n->SetOrgnlFrqcy(f.code("YEAR"));
    n->SetOrgnlFnlColltnDt(f.date());
    fill(n->OrgnlDbtrAgt(), f);
    fill(n->OrgnlDbtrAcct(), f);
    fill(n->OrgnlDbtr(), f);
    fill(n->OrgnlCdtrAgt(), f);
    fill(n->OrgnlCdtrSchmeId(), f);
    n->SetOrgnlMndtId(f.text());
}

inline void fill(TXMLCBIPartyIdentification6 *n, Filler &f)
{
    n->SetCtryOfRes(f.code("IT"));
    fill(n->Id(), f);
    fill(n->PstlAdr(), f);
    n->SetNm(f.text());
}

inline void fill(TXMLBranchAndFinancialInstitutionIdentification4 *n, Filler &f)
{
    fill(n->FinInstnId(), f);
}

inline void fill(TXMLCBIFinancialInstitutionIdentification7 *n, Filler &f)
{
    fill(n->ClrSysMmbId(), f);
    n->SetBIC(f.bic());
}

inline void fill(TXMLCBIPartyIdentification4 *n, Filler &f)
{
    n->SetCtryOfRes(f.code("IT"));
    fill(n->Id(), f);
    fill(n->PstlAdr(), f);
    n->SetNm(f.text());
}

inline void fill(TXMLBranchAndFinancialInstitutionIdentification3 *n, Filler &f)
{
    fill(n->FinInstnId(), f);
}

inline void fill(TXMLFinancialInstitutionIdentification7 *n, Filler &f)
{
    fill(n->Othr(), f);
    fill(n->ClrSysMmbId(), f);
    n->SetBIC(f.bic());
}

inline void fill(TXMLGenericFinancialIdentification1 *n, Filler &f)
{
    n->SetId(f.text());
}

inline void fill(TXMLCBIBranchAndFinancialInstitutionIdentification3 *n, Filler &f)
{
    fill(n->FinInstnId(), f);
}

inline void fill(TXMLCBIFinancialInstitutionIdentification5Choice *n, Filler &f)
{
    n->SetBIC(f.bic());
}

inline void fill(TXMLCBIPurpose1Choice *n, Filler &f)
{
    n->SetCd(f.code("EDUC"));
}

inline void fill(TXMLCBIRegulatoryReporting1 *n, Filler &f)
{
    fill(n->Dtls(), f);
    n->SetDbtCdtRptgInd(f.code("DEBT"));
}

inline void fill(TXMLCBIStructuredRegulatoryReporting1 *n, Filler &f)
{
    n->SetInf(f.text());
    fill(n->Amt(), f);
    n->SetCd(f.text());
}

inline void fill(TXMLRemittanceInformation5 *n, Filler &f)
{
    fill(n->Strd()->Add(), f);
    fill(n->Strd()->Insert(0), f);
    n->Ustrd()->Add(f.text());
    n->Ustrd()->Insert(0, f.text());
}

inline void fill(TXMLStructuredRemittanceInformation7 *n, Filler &f)
{
    n->AddtlRmtInf()->Add(f.text());
    n->AddtlRmtInf()->Insert(0, f.text());
    fill(n->Invcee(), f);
    fill(n->Invcr(), f);
    fill(n->CdtrRefInf(), f);
    fill(n->RfrdDocAmt(), f);
    fill(n->RfrdDocInf()->Add(), f);
    fill(n->RfrdDocInf()->Insert(0), f);
}

inline void fill(TXMLReferredDocumentInformation3 *n, Filler &f)
{
    n->SetRltdDt(f.date());
    n->SetNb(f.text());
    fill(n->Tp(), f);
}

inline void fill(TXMLReferredDocumentType2 *n, Filler &f)
{
    n->SetIssr(f.text());
    fill(n->CdOrPrtry(), f);
}

inline void fill(TXMLReferredDocumentType1Choice *n, Filler &f)
{
    n->SetPrtry(f.text());
    n->SetCd(f.code("CINV"));
}

inline void fill(TXMLRemittanceAmount1 *n, Filler &f)
{
    fill(n->RmtdAmt(), f);
    fill(n->AdjstmntAmtAndRsn()->Add(), f);
    fill(n->AdjstmntAmtAndRsn()->Insert(0), f);
    fill(n->TaxAmt(), f);
    fill(n->CdtNoteAmt(), f);
    fill(n->DscntApldAmt(), f);
    fill(n->DuePyblAmt(), f);
}

inline void fill(TXMLDocumentAdjustment1 *n, Filler &f)
{
    n->SetAddtlInf(f.text());
    n->SetRsn(f.code("R001"));
    n->SetCdtDbtInd(f.code("DBIT"));
    fill(n->Amt(), f);
}

inline void fill(TXMLCreditorReferenceInformation2 *n, Filler &f)
{
    n->SetRef(f.text());
    fill(n->Tp(), f);
}

inline void fill(TXMLCreditorReferenceType2 *n, Filler &f)
{
    n->SetIssr(f.text());
    fill(n->CdOrPrtry(), f);
}

inline void fill(TXMLCreditorReferenceType1Choice *n, Filler &f)
{
    n->SetPrtry(f.text());
    n->SetCd(f.code("SCOR"));
}

inline void fill(TXMLPartyIdentification32 *n, Filler &f)
{
    fill(n->CtctDtls(), f);
    n->SetCtryOfRes(f.code("IT"));
    fill(n->Id(), f);
    fill(n->PstlAdr(), f);
    n->SetNm(f.text());
}

inline void fill(TXMLParty6Choice *n, Filler &f)
{
    fill(n->PrvtId(), f);
    fill(n->OrgId(), f);
}

inline void fill(TXMLOrganisationIdentification4 *n, Filler &f)
{
    fill(n->Othr()->Add(), f);
    fill(n->Othr()->Insert(0), f);
    n->SetBICOrBEI(f.bic());
}

inline void fill(TXMLGenericOrganisationIdentification1 *n, Filler &f)
{
    n->SetIssr(f.text());
    fill(n->SchmeNm(), f);
    n->SetId(f.text());
}

inline void fill(TXMLOrganisationIdentificationSchemeName1Choice *n, Filler &f)
{
    n->SetPrtry(f.text());
    n->SetCd(f.code("BANK"));
}

inline void fill(TXMLPersonIdentification5 *n, Filler &f)
{
    fill(n->Othr()->Add(), f);
    fill(n->Othr()->Insert(0), f);
    fill(n->DtAndPlcOfBirth(), f);
}

inline void fill(TXMLDateAndPlaceOfBirth *n, Filler &f)
{
    n->SetCtryOfBirth(f.code("IT"));
    n->SetCityOfBirth(f.text());
    n->SetPrvcOfBirth(f.text());
    n->SetBirthDt(f.date());
}

inline void fill(TXMLGenericPersonIdentification1 *n, Filler &f)
{
    n->SetIssr(f.text());
    fill(n->SchmeNm(), f);
    n->SetId(f.text());
}

inline void fill(TXMLContactDetails2 *n, Filler &f)
{
    n->SetOthr(f.text());
    n->SetEmailAdr(f.text());
    n->SetFaxNb(f.phone());
    n->SetMobNb(f.phone());
    n->SetPhneNb(f.phone());
    n->SetNm(f.text());
    n->SetNmPrfx(f.code("MIST"));
}

constexpr int kElementsBelowRoot = 2177;

} // namespace sddfill

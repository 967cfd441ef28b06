// The CBI SDD request message "CBISDDReqLogMsg" 00.01.00: one class per
// schema type, each a declaration of its children in schema order over the
// XML layer's element nodes, and the saving of a message to a file.
//
// Text children have a getter and a setter (the setter creates the element);
// complex children are created on first access, so reading one makes it
// appear in the output; repeating children are reached through list objects
// (Add, Insert, Count, Items). Every child is optional and is written only
// once created.
#pragma once

#include "VtXmlDocument.h"
#include "VtXmlNode.h"

#include <QByteArray>
#include <QString>

#include <memory>

extern const char *const CBISDDReqLogMsgNamespace;      // "urn:CBI:xsd:CBISDDReqLogMsg.00.01.00"
extern const char *const CBISDDReqLogMsgSchemaLocation; // namespace and schema file name
extern const char *const XMLSchemaInstanceNamespace;

class TXMLCBISDDReqLogMsg000100;
class TXMLCBIGroupHeader2;
class TXMLCBIPartyIdentification1;
class TXMLCBIIdType1;
class TXMLCBIGenericIdentification1;
class TXMLCBIOrganisationIdentification1;
class TXMLPaymentInstructionInformation2;
class TXMLCBIPaymentTypeInformation2_1;
class TXMLCBIServiceLevel3Choice;
class TXMLLocalInstrument1Choice;
class TXMLPaymentCategoryPurpose1Code;
class TXMLCBIPartyIdentification3;
class TXMLCBIPostalAddress6;
class TXMLCBIParty1Choice;
class TXMLCBIOrganisationIdentification2;
class TXMLCBIPersonIdentification1;
class TXMLCBICashAccount7;
class TXMLAccountIdentification3Choice;
class TXMLCBIBranchAndFinancialInstitutionIdentification1;
class TXMLCBIFinancialInstitutionIdentification1;
class TXMLCBIClearingSystemMemberIdentification1;
class TXMLCBIPartyIdentification2;
class TXMLCBIParty4Choice;
class TXMLCBIPersonIdentification2;
class TXMLCBIGenericIdentification2;
class TXMLPersonIdentificationSchemeName1Choice;
class TXMLDirectDebitTransactionInformation1;
class TXMLCBIPaymentIdentification1;
class TXMLCBIPaymentTypeInformation2;
class TXMLActiveOrHistoricCurrencyAndAmount;
class TXMLDirectDebitTransaction1;
class TXMLMandateRelatedInformation1;
class TXMLAmendmentInformationDetails1;
class TXMLCBIPartyIdentification6;
class TXMLBranchAndFinancialInstitutionIdentification4;
class TXMLCBIFinancialInstitutionIdentification7;
class TXMLCBIPartyIdentification4;
class TXMLBranchAndFinancialInstitutionIdentification3;
class TXMLFinancialInstitutionIdentification7;
class TXMLGenericFinancialIdentification1;
class TXMLCBIBranchAndFinancialInstitutionIdentification3;
class TXMLCBIFinancialInstitutionIdentification5Choice;
class TXMLCBIPurpose1Choice;
class TXMLCBIRegulatoryReporting1;
class TXMLCBIStructuredRegulatoryReporting1;
class TXMLRemittanceInformation5;
class TXMLStructuredRemittanceInformation7;
class TXMLReferredDocumentInformation3;
class TXMLReferredDocumentType2;
class TXMLReferredDocumentType1Choice;
class TXMLRemittanceAmount1;
class TXMLDocumentAdjustment1;
class TXMLCreditorReferenceInformation2;
class TXMLCreditorReferenceType2;
class TXMLCreditorReferenceType1Choice;
class TXMLPartyIdentification32;
class TXMLParty6Choice;
class TXMLOrganisationIdentification4;
class TXMLGenericOrganisationIdentification1;
class TXMLOrganisationIdentificationSchemeName1Choice;
class TXMLPersonIdentification5;
class TXMLDateAndPlaceOfBirth;
class TXMLGenericPersonIdentification1;
class TXMLContactDetails2;

using TXMLCBIRegulatoryReporting1List = TVtXMLNodeList<TXMLCBIRegulatoryReporting1>;
using TXMLDirectDebitTransactionInformation1List = TVtXMLNodeList<TXMLDirectDebitTransactionInformation1>;
using TXMLDocumentAdjustment1List = TVtXMLNodeList<TXMLDocumentAdjustment1>;
using TXMLGenericOrganisationIdentification1List = TVtXMLNodeList<TXMLGenericOrganisationIdentification1>;
using TXMLGenericPersonIdentification1List = TVtXMLNodeList<TXMLGenericPersonIdentification1>;
using TXMLPaymentInstructionInformation2List = TVtXMLNodeList<TXMLPaymentInstructionInformation2>;
using TXMLReferredDocumentInformation3List = TVtXMLNodeList<TXMLReferredDocumentInformation3>;
using TXMLStructuredRemittanceInformation7List = TVtXMLNodeList<TXMLStructuredRemittanceInformation7>;

// Repeating text children of at most 70 characters (AdrLine).
class TXMLMax70TextList : public TVtXMLTextList
{
public:
    using TVtXMLTextList::TVtXMLTextList;
};

// Repeating text children of at most 140 characters (Ustrd, AddtlRmtInf).
class TXMLMax140TextList : public TVtXMLTextList
{
public:
    using TVtXMLTextList::TVtXMLTextList;
};

// An amount: the element's text, with the currency in the attribute Ccy.
class TXMLActiveOrHistoricCurrencyAndAmount : public TVtXMLNode
{
public:
    using TVtXMLNode::TVtXMLNode;

    QString Ccy() const { return Attribute(QStringLiteral("Ccy")); }
    void SetCcy(const QString &value) { SetAttribute(QStringLiteral("Ccy"), value); }
};

class TXMLCBISDDReqLogMsg000100 : public TVtXMLNode
{
public:
    explicit TXMLCBISDDReqLogMsg000100(const QString &nodeName = QStringLiteral("CBISDDReqLogMsg"));
    ~TXMLCBISDDReqLogMsg000100() override;

    TVtXMLDocument *OwnerDocument() const override;

    TXMLCBIGroupHeader2 *GrpHdr();
    TXMLPaymentInstructionInformation2List *PmtInf();

protected:
    const QStringList &ChildOrder() const override;

private:
    mutable TVtXMLDocument m_document; // the root owns its document
};

class TXMLCBIGroupHeader2 : public TVtXMLNode
{
public:
    explicit TXMLCBIGroupHeader2(const QString &nodeName);

    QString MsgId() const;
    void SetMsgId(const QString &value);
    QString CreDtTm() const;
    void SetCreDtTm(const QString &value);
    QString NbOfTxs() const;
    void SetNbOfTxs(const QString &value);
    QString CtrlSum() const;
    void SetCtrlSum(const QString &value);
    TXMLCBIPartyIdentification1 *InitgPty();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIPartyIdentification1 : public TVtXMLNode
{
public:
    explicit TXMLCBIPartyIdentification1(const QString &nodeName);

    QString Nm() const;
    void SetNm(const QString &value);
    TXMLCBIIdType1 *Id();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIIdType1 : public TVtXMLNode
{
public:
    explicit TXMLCBIIdType1(const QString &nodeName);

    TXMLCBIOrganisationIdentification1 *OrgId();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIGenericIdentification1 : public TVtXMLNode
{
public:
    explicit TXMLCBIGenericIdentification1(const QString &nodeName);

    QString Id() const;
    void SetId(const QString &value);
    QString Issr() const;
    void SetIssr(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

// OrgId: the element is itself the list of its Othr children.
class TXMLCBIOrganisationIdentification1 : public TVtXMLNode, public TVtXMLNodeList<TXMLCBIGenericIdentification1>
{
public:
    explicit TXMLCBIOrganisationIdentification1(const QString &nodeName);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLPaymentInstructionInformation2 : public TVtXMLNode
{
public:
    explicit TXMLPaymentInstructionInformation2(const QString &nodeName);

    QString PmtInfId() const;
    void SetPmtInfId(const QString &value);
    QString PmtMtd() const;
    void SetPmtMtd(const QString &value);
    QString BtchBookg() const;
    void SetBtchBookg(const QString &value);
    TXMLCBIPaymentTypeInformation2_1 *PmtTpInf();
    QString ReqdColltnDt() const;
    void SetReqdColltnDt(const QString &value);
    TXMLCBIPartyIdentification3 *Cdtr();
    TXMLCBICashAccount7 *CdtrAcct();
    TXMLCBIBranchAndFinancialInstitutionIdentification1 *CdtrAgt();
    TXMLCBIPartyIdentification3 *UltmtCdtr();
    QString ChrgBr() const;
    void SetChrgBr(const QString &value);
    TXMLCBICashAccount7 *ChrgsAcct();
    TXMLCBIPartyIdentification2 *CdtrSchmeId();
    TXMLDirectDebitTransactionInformation1List *DrctDbtTxInf();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIPaymentTypeInformation2_1 : public TVtXMLNode
{
public:
    explicit TXMLCBIPaymentTypeInformation2_1(const QString &nodeName);

    TXMLCBIServiceLevel3Choice *SvcLvl();
    TXMLLocalInstrument1Choice *LclInstrm();
    QString SeqTp() const;
    void SetSeqTp(const QString &value);
    TXMLPaymentCategoryPurpose1Code *CtgyPurp();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIServiceLevel3Choice : public TVtXMLNode
{
public:
    explicit TXMLCBIServiceLevel3Choice(const QString &nodeName);

    QString Cd() const;
    void SetCd(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLLocalInstrument1Choice : public TVtXMLNode
{
public:
    explicit TXMLLocalInstrument1Choice(const QString &nodeName);

    QString Cd() const;
    void SetCd(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLPaymentCategoryPurpose1Code : public TVtXMLNode
{
public:
    explicit TXMLPaymentCategoryPurpose1Code(const QString &nodeName);

    QString Cd() const;
    void SetCd(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIPartyIdentification3 : public TVtXMLNode
{
public:
    explicit TXMLCBIPartyIdentification3(const QString &nodeName);

    QString Nm() const;
    void SetNm(const QString &value);
    TXMLCBIPostalAddress6 *PstlAdr();
    TXMLCBIParty1Choice *Id();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIPostalAddress6 : public TVtXMLNode
{
public:
    explicit TXMLCBIPostalAddress6(const QString &nodeName);

    QString AdrTp() const;
    void SetAdrTp(const QString &value);
    QString Dept() const;
    void SetDept(const QString &value);
    QString SubDept() const;
    void SetSubDept(const QString &value);
    QString StrtNm() const;
    void SetStrtNm(const QString &value);
    QString BldgNb() const;
    void SetBldgNb(const QString &value);
    QString PstCd() const;
    void SetPstCd(const QString &value);
    QString TwnNm() const;
    void SetTwnNm(const QString &value);
    QString CtrySubDvsn() const;
    void SetCtrySubDvsn(const QString &value);
    QString Ctry() const;
    void SetCtry(const QString &value);
    TXMLMax70TextList *AdrLine();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIParty1Choice : public TVtXMLNode
{
public:
    explicit TXMLCBIParty1Choice(const QString &nodeName);

    TXMLCBIOrganisationIdentification2 *OrgId();
    TXMLCBIPersonIdentification1 *PrvtId();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIOrganisationIdentification2 : public TVtXMLNode
{
public:
    explicit TXMLCBIOrganisationIdentification2(const QString &nodeName);

    QString BICOrBEI() const;
    void SetBICOrBEI(const QString &value);
    TXMLCBIGenericIdentification1 *Othr();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIPersonIdentification1 : public TVtXMLNode
{
public:
    explicit TXMLCBIPersonIdentification1(const QString &nodeName);

    TXMLCBIGenericIdentification1 *Othr();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBICashAccount7 : public TVtXMLNode
{
public:
    explicit TXMLCBICashAccount7(const QString &nodeName);

    TXMLAccountIdentification3Choice *Id();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLAccountIdentification3Choice : public TVtXMLNode
{
public:
    explicit TXMLAccountIdentification3Choice(const QString &nodeName);

    QString IBAN() const;
    void SetIBAN(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIBranchAndFinancialInstitutionIdentification1 : public TVtXMLNode
{
public:
    explicit TXMLCBIBranchAndFinancialInstitutionIdentification1(const QString &nodeName);

    TXMLCBIFinancialInstitutionIdentification1 *FinInstnId();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIFinancialInstitutionIdentification1 : public TVtXMLNode
{
public:
    explicit TXMLCBIFinancialInstitutionIdentification1(const QString &nodeName);

    TXMLCBIClearingSystemMemberIdentification1 *ClrSysMmbId();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIClearingSystemMemberIdentification1 : public TVtXMLNode
{
public:
    explicit TXMLCBIClearingSystemMemberIdentification1(const QString &nodeName);

    QString MmbId() const;
    void SetMmbId(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIPartyIdentification2 : public TVtXMLNode
{
public:
    explicit TXMLCBIPartyIdentification2(const QString &nodeName);

    QString Nm() const;
    void SetNm(const QString &value);
    TXMLCBIPostalAddress6 *PstlAdr();
    TXMLCBIParty4Choice *Id();
    QString CtryOfRes() const;
    void SetCtryOfRes(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIParty4Choice : public TVtXMLNode
{
public:
    explicit TXMLCBIParty4Choice(const QString &nodeName);

    TXMLCBIPersonIdentification2 *PrvtId();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIPersonIdentification2 : public TVtXMLNode
{
public:
    explicit TXMLCBIPersonIdentification2(const QString &nodeName);

    TXMLCBIGenericIdentification2 *Othr();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIGenericIdentification2 : public TVtXMLNode
{
public:
    explicit TXMLCBIGenericIdentification2(const QString &nodeName);

    QString Id() const;
    void SetId(const QString &value);
    TXMLPersonIdentificationSchemeName1Choice *SchmeNm();
    QString Issr() const;
    void SetIssr(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLPersonIdentificationSchemeName1Choice : public TVtXMLNode
{
public:
    explicit TXMLPersonIdentificationSchemeName1Choice(const QString &nodeName);

    QString Cd() const;
    void SetCd(const QString &value);
    QString Prtry() const;
    void SetPrtry(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLDirectDebitTransactionInformation1 : public TVtXMLNode
{
public:
    explicit TXMLDirectDebitTransactionInformation1(const QString &nodeName);

    TXMLCBIPaymentIdentification1 *PmtId();
    TXMLCBIPaymentTypeInformation2 *PmtTpInf();
    // Currency code written as the attribute Ccy of InstdAmt by SetInstdAmt.
    const QString &InstdAmtCcy() const { return m_instdAmtCcy; }
    void SetInstdAmtCcy(const QString &value) { m_instdAmtCcy = value; }
    QString InstdAmt() const;
    // Writes the attribute Ccy from InstdAmtCcy, then the amount text.
    void SetInstdAmt(const QString &value);
    QString ChrgBr() const;
    void SetChrgBr(const QString &value);
    TXMLDirectDebitTransaction1 *DrctDbtTx();
    TXMLCBIPartyIdentification3 *UltmtCdtr();
    TXMLCBIBranchAndFinancialInstitutionIdentification3 *DbtrAgt();
    TXMLCBIPartyIdentification4 *Dbtr();
    TXMLCBICashAccount7 *DbtrAcct();
    TXMLCBIPartyIdentification4 *UltmtDbtr();
    QString InstrForCdtrAgt() const;
    void SetInstrForCdtrAgt(const QString &value);
    TXMLCBIPurpose1Choice *Purp();
    TXMLCBIRegulatoryReporting1List *RgltryRptg();
    TXMLRemittanceInformation5 *RmtInf();

protected:
    const QStringList &ChildOrder() const override;

private:
    QString m_instdAmtCcy;
};

class TXMLCBIPaymentIdentification1 : public TVtXMLNode
{
public:
    explicit TXMLCBIPaymentIdentification1(const QString &nodeName);

    QString InstrId() const;
    void SetInstrId(const QString &value);
    QString EndToEndId() const;
    void SetEndToEndId(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIPaymentTypeInformation2 : public TVtXMLNode
{
public:
    explicit TXMLCBIPaymentTypeInformation2(const QString &nodeName);

    TXMLPaymentCategoryPurpose1Code *CtgyPurp();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLDirectDebitTransaction1 : public TVtXMLNode
{
public:
    explicit TXMLDirectDebitTransaction1(const QString &nodeName);

    TXMLMandateRelatedInformation1 *MndtRltdInf();
    QString PreNtfctnId() const;
    void SetPreNtfctnId(const QString &value);
    QString PreNtfctnDt() const;
    void SetPreNtfctnDt(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLMandateRelatedInformation1 : public TVtXMLNode
{
public:
    explicit TXMLMandateRelatedInformation1(const QString &nodeName);

    QString MndtId() const;
    void SetMndtId(const QString &value);
    QString DtOfSgntr() const;
    void SetDtOfSgntr(const QString &value);
    bool AmdmntInd() const;
    void SetAmdmntInd(bool value);
    TXMLAmendmentInformationDetails1 *AmdmntInfDtls();
    QString ElctrncSgntr() const;
    void SetElctrncSgntr(const QString &value);
    QString FrstColltnDt() const;
    void SetFrstColltnDt(const QString &value);
    QString FnlColltnDt() const;
    void SetFnlColltnDt(const QString &value);
    QString Frqcy() const;
    void SetFrqcy(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLAmendmentInformationDetails1 : public TVtXMLNode
{
public:
    explicit TXMLAmendmentInformationDetails1(const QString &nodeName);

    QString OrgnlMndtId() const;
    void SetOrgnlMndtId(const QString &value);
    TXMLCBIPartyIdentification6 *OrgnlCdtrSchmeId();
    TXMLBranchAndFinancialInstitutionIdentification4 *OrgnlCdtrAgt();
    TXMLCBIPartyIdentification4 *OrgnlDbtr();
    TXMLCBICashAccount7 *OrgnlDbtrAcct();
    TXMLBranchAndFinancialInstitutionIdentification3 *OrgnlDbtrAgt();
    QString OrgnlFnlColltnDt() const;
    void SetOrgnlFnlColltnDt(const QString &value);
    QString OrgnlFrqcy() const;
    void SetOrgnlFrqcy(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIPartyIdentification6 : public TVtXMLNode
{
public:
    explicit TXMLCBIPartyIdentification6(const QString &nodeName);

    QString Nm() const;
    void SetNm(const QString &value);
    TXMLCBIPostalAddress6 *PstlAdr();
    TXMLCBIParty4Choice *Id();
    QString CtryOfRes() const;
    void SetCtryOfRes(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLBranchAndFinancialInstitutionIdentification4 : public TVtXMLNode
{
public:
    explicit TXMLBranchAndFinancialInstitutionIdentification4(const QString &nodeName);

    TXMLCBIFinancialInstitutionIdentification7 *FinInstnId();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIFinancialInstitutionIdentification7 : public TVtXMLNode
{
public:
    explicit TXMLCBIFinancialInstitutionIdentification7(const QString &nodeName);

    QString BIC() const;
    void SetBIC(const QString &value);
    TXMLCBIClearingSystemMemberIdentification1 *ClrSysMmbId();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIPartyIdentification4 : public TVtXMLNode
{
public:
    explicit TXMLCBIPartyIdentification4(const QString &nodeName);

    QString Nm() const;
    void SetNm(const QString &value);
    TXMLCBIPostalAddress6 *PstlAdr();
    TXMLCBIParty1Choice *Id();
    QString CtryOfRes() const;
    void SetCtryOfRes(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLBranchAndFinancialInstitutionIdentification3 : public TVtXMLNode
{
public:
    explicit TXMLBranchAndFinancialInstitutionIdentification3(const QString &nodeName);

    TXMLFinancialInstitutionIdentification7 *FinInstnId();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLFinancialInstitutionIdentification7 : public TVtXMLNode
{
public:
    explicit TXMLFinancialInstitutionIdentification7(const QString &nodeName);

    QString BIC() const;
    void SetBIC(const QString &value);
    TXMLCBIClearingSystemMemberIdentification1 *ClrSysMmbId();
    TXMLGenericFinancialIdentification1 *Othr();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLGenericFinancialIdentification1 : public TVtXMLNode
{
public:
    explicit TXMLGenericFinancialIdentification1(const QString &nodeName);

    QString Id() const;
    void SetId(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIBranchAndFinancialInstitutionIdentification3 : public TVtXMLNode
{
public:
    explicit TXMLCBIBranchAndFinancialInstitutionIdentification3(const QString &nodeName);

    TXMLCBIFinancialInstitutionIdentification5Choice *FinInstnId();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIFinancialInstitutionIdentification5Choice : public TVtXMLNode
{
public:
    explicit TXMLCBIFinancialInstitutionIdentification5Choice(const QString &nodeName);

    QString BIC() const;
    void SetBIC(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIPurpose1Choice : public TVtXMLNode
{
public:
    explicit TXMLCBIPurpose1Choice(const QString &nodeName);

    QString Cd() const;
    void SetCd(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIRegulatoryReporting1 : public TVtXMLNode
{
public:
    explicit TXMLCBIRegulatoryReporting1(const QString &nodeName);

    QString DbtCdtRptgInd() const;
    void SetDbtCdtRptgInd(const QString &value);
    TXMLCBIStructuredRegulatoryReporting1 *Dtls();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCBIStructuredRegulatoryReporting1 : public TVtXMLNode
{
public:
    explicit TXMLCBIStructuredRegulatoryReporting1(const QString &nodeName);

    QString Cd() const;
    void SetCd(const QString &value);
    TXMLActiveOrHistoricCurrencyAndAmount *Amt();
    QString Inf() const;
    void SetInf(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLRemittanceInformation5 : public TVtXMLNode
{
public:
    explicit TXMLRemittanceInformation5(const QString &nodeName);

    TXMLMax140TextList *Ustrd();
    TXMLStructuredRemittanceInformation7List *Strd();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLStructuredRemittanceInformation7 : public TVtXMLNode
{
public:
    explicit TXMLStructuredRemittanceInformation7(const QString &nodeName);

    TXMLReferredDocumentInformation3List *RfrdDocInf();
    TXMLRemittanceAmount1 *RfrdDocAmt();
    TXMLCreditorReferenceInformation2 *CdtrRefInf();
    TXMLPartyIdentification32 *Invcr();
    TXMLPartyIdentification32 *Invcee();
    TXMLMax140TextList *AddtlRmtInf();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLReferredDocumentInformation3 : public TVtXMLNode
{
public:
    explicit TXMLReferredDocumentInformation3(const QString &nodeName);

    TXMLReferredDocumentType2 *Tp();
    QString Nb() const;
    void SetNb(const QString &value);
    QString RltdDt() const;
    void SetRltdDt(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLReferredDocumentType2 : public TVtXMLNode
{
public:
    explicit TXMLReferredDocumentType2(const QString &nodeName);

    TXMLReferredDocumentType1Choice *CdOrPrtry();
    QString Issr() const;
    void SetIssr(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLReferredDocumentType1Choice : public TVtXMLNode
{
public:
    explicit TXMLReferredDocumentType1Choice(const QString &nodeName);

    QString Cd() const;
    void SetCd(const QString &value);
    QString Prtry() const;
    void SetPrtry(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLRemittanceAmount1 : public TVtXMLNode
{
public:
    explicit TXMLRemittanceAmount1(const QString &nodeName);

    TXMLActiveOrHistoricCurrencyAndAmount *DuePyblAmt();
    TXMLActiveOrHistoricCurrencyAndAmount *DscntApldAmt();
    TXMLActiveOrHistoricCurrencyAndAmount *CdtNoteAmt();
    TXMLActiveOrHistoricCurrencyAndAmount *TaxAmt();
    TXMLDocumentAdjustment1List *AdjstmntAmtAndRsn();
    TXMLActiveOrHistoricCurrencyAndAmount *RmtdAmt();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLDocumentAdjustment1 : public TVtXMLNode
{
public:
    explicit TXMLDocumentAdjustment1(const QString &nodeName);

    TXMLActiveOrHistoricCurrencyAndAmount *Amt();
    QString CdtDbtInd() const;
    void SetCdtDbtInd(const QString &value);
    QString Rsn() const;
    void SetRsn(const QString &value);
    QString AddtlInf() const;
    void SetAddtlInf(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCreditorReferenceInformation2 : public TVtXMLNode
{
public:
    explicit TXMLCreditorReferenceInformation2(const QString &nodeName);

    TXMLCreditorReferenceType2 *Tp();
    QString Ref() const;
    void SetRef(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCreditorReferenceType2 : public TVtXMLNode
{
public:
    explicit TXMLCreditorReferenceType2(const QString &nodeName);

    TXMLCreditorReferenceType1Choice *CdOrPrtry();
    QString Issr() const;
    void SetIssr(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLCreditorReferenceType1Choice : public TVtXMLNode
{
public:
    explicit TXMLCreditorReferenceType1Choice(const QString &nodeName);

    QString Cd() const;
    void SetCd(const QString &value);
    QString Prtry() const;
    void SetPrtry(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLPartyIdentification32 : public TVtXMLNode
{
public:
    explicit TXMLPartyIdentification32(const QString &nodeName);

    QString Nm() const;
    void SetNm(const QString &value);
    TXMLCBIPostalAddress6 *PstlAdr();
    TXMLParty6Choice *Id();
    QString CtryOfRes() const;
    void SetCtryOfRes(const QString &value);
    TXMLContactDetails2 *CtctDtls();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLParty6Choice : public TVtXMLNode
{
public:
    explicit TXMLParty6Choice(const QString &nodeName);

    TXMLOrganisationIdentification4 *OrgId();
    TXMLPersonIdentification5 *PrvtId();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLOrganisationIdentification4 : public TVtXMLNode
{
public:
    explicit TXMLOrganisationIdentification4(const QString &nodeName);

    QString BICOrBEI() const;
    void SetBICOrBEI(const QString &value);
    TXMLGenericOrganisationIdentification1List *Othr();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLGenericOrganisationIdentification1 : public TVtXMLNode
{
public:
    explicit TXMLGenericOrganisationIdentification1(const QString &nodeName);

    QString Id() const;
    void SetId(const QString &value);
    TXMLOrganisationIdentificationSchemeName1Choice *SchmeNm();
    QString Issr() const;
    void SetIssr(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLOrganisationIdentificationSchemeName1Choice : public TVtXMLNode
{
public:
    explicit TXMLOrganisationIdentificationSchemeName1Choice(const QString &nodeName);

    QString Cd() const;
    void SetCd(const QString &value);
    QString Prtry() const;
    void SetPrtry(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLPersonIdentification5 : public TVtXMLNode
{
public:
    explicit TXMLPersonIdentification5(const QString &nodeName);

    TXMLDateAndPlaceOfBirth *DtAndPlcOfBirth();
    TXMLGenericPersonIdentification1List *Othr();

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLDateAndPlaceOfBirth : public TVtXMLNode
{
public:
    explicit TXMLDateAndPlaceOfBirth(const QString &nodeName);

    QString BirthDt() const;
    void SetBirthDt(const QString &value);
    QString PrvcOfBirth() const;
    void SetPrvcOfBirth(const QString &value);
    QString CityOfBirth() const;
    void SetCityOfBirth(const QString &value);
    QString CtryOfBirth() const;
    void SetCtryOfBirth(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLGenericPersonIdentification1 : public TVtXMLNode
{
public:
    explicit TXMLGenericPersonIdentification1(const QString &nodeName);

    QString Id() const;
    void SetId(const QString &value);
    TXMLPersonIdentificationSchemeName1Choice *SchmeNm();
    QString Issr() const;
    void SetIssr(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

class TXMLContactDetails2 : public TVtXMLNode
{
public:
    explicit TXMLContactDetails2(const QString &nodeName);

    QString NmPrfx() const;
    void SetNmPrfx(const QString &value);
    QString Nm() const;
    void SetNm(const QString &value);
    QString PhneNb() const;
    void SetPhneNb(const QString &value);
    QString MobNb() const;
    void SetMobNb(const QString &value);
    QString FaxNb() const;
    void SetFaxNb(const QString &value);
    QString EmailAdr() const;
    void SetEmailAdr(const QString &value);
    QString Othr() const;
    void SetOthr(const QString &value);

protected:
    const QStringList &ChildOrder() const override;
};

// A new, empty message: its document declares version 1.0 and UTF-8, and the
// document element carries the default namespace, the "xsi" prefix and
// "xsi:schemaLocation". The returned root owns its document.
std::unique_ptr<TXMLCBISDDReqLogMsg000100> NewCBISDDReqLogMsg();

// The line without any blank followed by an empty default-namespace
// declaration (xmlns="", in any case); every other byte is kept.
QByteArray RemoveEmptyNamespaceDeclarations(QByteArray line);

// RemoveEmptyNamespaceDeclarations for a text that comes in pieces: Feed
// appends to out the cleaned text of what it was given so far, holding back
// the last few bytes when they may start a declaration that the next piece
// ends; Finish appends the rest.
class TEmptyNamespaceCleaner
{
public:
    void Feed(const char *data, qsizetype size, QByteArray &out);
    void Finish(QByteArray &out);

private:
    QByteArray m_pending;
};

// Cleans a saved message file of empty default-namespace declarations: the
// file is moved to fileName + ".old" and copied back line by line without
// them, then the ".old" is deleted. On failure the file is restored from the
// ".old" copy and errorText tells why.
bool CleanCBISDDReqLogMsgFile(const QString &fileName, QString *errorText = nullptr);

// Saves the message under fileName without empty default-namespace
// declarations: the bytes are cleaned as RemoveEmptyNamespaceDeclarations
// cleans a line on their way to the file, so the file holds what saving
// and then CleanCBISDDReqLogMsgFile would leave. A stale ".old" is deleted
// before anything is written; the text goes to a temporary file in the same
// folder that replaces fileName only once complete. Returns false with the
// reason in errorText when a step fails: an existing file is then left as
// it was.
bool SaveCBISDDReqLogMsg(const TXMLCBISDDReqLogMsg000100 &message, const QString &fileName,
                         QString *errorText = nullptr);

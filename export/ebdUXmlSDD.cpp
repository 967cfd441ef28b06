#include "ebdUXmlSDD.h"

#include "VtXmlFile.h"

#include <QDir>
#include <QSaveFile>

const char *const CBISDDReqLogMsgNamespace = "urn:CBI:xsd:CBISDDReqLogMsg.00.01.00";
const char *const CBISDDReqLogMsgSchemaLocation =
    "urn:CBI:xsd:CBISDDReqLogMsg.00.01.00 CBISDDReqLogMsg.00.01.00.xsd";
const char *const XMLSchemaInstanceNamespace = "http://www.w3.org/2001/XMLSchema-instance";

namespace {

QString BoolToText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

bool TextToBool(const QString &text)
{
    const QString t = text.trimmed();
    return t == QLatin1String("true") || t == QLatin1String("1");
}

} // namespace

// ---------------------------------------------------------------------------
// The document element

TXMLCBISDDReqLogMsg000100::TXMLCBISDDReqLogMsg000100(const QString &nodeName)
    : TVtXMLNode(nodeName)
    , m_document(this)
{
    m_document.SetVersion(QStringLiteral("1.0"));
    m_document.SetEncoding(QStringLiteral("UTF-8"));
    SetNamespaceURI(QString::fromLatin1(CBISDDReqLogMsgNamespace));
    DeclareNamespace(QStringLiteral("xsi"), QString::fromLatin1(XMLSchemaInstanceNamespace));
    SetAttribute(QStringLiteral("xsi:schemaLocation"), QString::fromLatin1(CBISDDReqLogMsgSchemaLocation));
}

TXMLCBISDDReqLogMsg000100::~TXMLCBISDDReqLogMsg000100() = default;

TVtXMLDocument *TXMLCBISDDReqLogMsg000100::OwnerDocument() const
{
    return &m_document;
}

TXMLCBIGroupHeader2 *TXMLCBISDDReqLogMsg000100::GrpHdr() { return Child<TXMLCBIGroupHeader2>(QStringLiteral("GrpHdr")); }
TXMLPaymentInstructionInformation2List *TXMLCBISDDReqLogMsg000100::PmtInf() { return List<TXMLPaymentInstructionInformation2List>(QStringLiteral("PmtInf")); }
const QStringList &TXMLCBISDDReqLogMsg000100::ChildOrder() const
{
    static const QStringList order{QStringLiteral("GrpHdr"), QStringLiteral("PmtInf")};
    return order;
}

TXMLCBIGroupHeader2::TXMLCBIGroupHeader2(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIGroupHeader2::MsgId() const { return ChildText(QStringLiteral("MsgId")); }
void TXMLCBIGroupHeader2::SetMsgId(const QString &value) { SetChildText(QStringLiteral("MsgId"), value); }
QString TXMLCBIGroupHeader2::CreDtTm() const { return ChildText(QStringLiteral("CreDtTm")); }
void TXMLCBIGroupHeader2::SetCreDtTm(const QString &value) { SetChildText(QStringLiteral("CreDtTm"), value); }
QString TXMLCBIGroupHeader2::NbOfTxs() const { return ChildText(QStringLiteral("NbOfTxs")); }
void TXMLCBIGroupHeader2::SetNbOfTxs(const QString &value) { SetChildText(QStringLiteral("NbOfTxs"), value); }
QString TXMLCBIGroupHeader2::CtrlSum() const { return ChildText(QStringLiteral("CtrlSum")); }
void TXMLCBIGroupHeader2::SetCtrlSum(const QString &value) { SetChildText(QStringLiteral("CtrlSum"), value); }
TXMLCBIPartyIdentification1 *TXMLCBIGroupHeader2::InitgPty() { return Child<TXMLCBIPartyIdentification1>(QStringLiteral("InitgPty")); }
const QStringList &TXMLCBIGroupHeader2::ChildOrder() const
{
    static const QStringList order{QStringLiteral("MsgId"), QStringLiteral("CreDtTm"), QStringLiteral("NbOfTxs"), QStringLiteral("CtrlSum"), QStringLiteral("InitgPty")};
    return order;
}

TXMLCBIPartyIdentification1::TXMLCBIPartyIdentification1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIPartyIdentification1::Nm() const { return ChildText(QStringLiteral("Nm")); }
void TXMLCBIPartyIdentification1::SetNm(const QString &value) { SetChildText(QStringLiteral("Nm"), value); }
TXMLCBIIdType1 *TXMLCBIPartyIdentification1::Id() { return Child<TXMLCBIIdType1>(QStringLiteral("Id")); }
const QStringList &TXMLCBIPartyIdentification1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Nm"), QStringLiteral("Id")};
    return order;
}

TXMLCBIIdType1::TXMLCBIIdType1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCBIOrganisationIdentification1 *TXMLCBIIdType1::OrgId() { return Child<TXMLCBIOrganisationIdentification1>(QStringLiteral("OrgId")); }
const QStringList &TXMLCBIIdType1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("OrgId")};
    return order;
}

TXMLCBIGenericIdentification1::TXMLCBIGenericIdentification1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIGenericIdentification1::Id() const { return ChildText(QStringLiteral("Id")); }
void TXMLCBIGenericIdentification1::SetId(const QString &value) { SetChildText(QStringLiteral("Id"), value); }
QString TXMLCBIGenericIdentification1::Issr() const { return ChildText(QStringLiteral("Issr")); }
void TXMLCBIGenericIdentification1::SetIssr(const QString &value) { SetChildText(QStringLiteral("Issr"), value); }
const QStringList &TXMLCBIGenericIdentification1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Id"), QStringLiteral("Issr")};
    return order;
}

TXMLCBIOrganisationIdentification1::TXMLCBIOrganisationIdentification1(const QString &nodeName)
    : TVtXMLNode(nodeName)
    , TVtXMLNodeList<TXMLCBIGenericIdentification1>(this, QStringLiteral("Othr"))
{
}

const QStringList &TXMLCBIOrganisationIdentification1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Othr")};
    return order;
}

TXMLPaymentInstructionInformation2::TXMLPaymentInstructionInformation2(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLPaymentInstructionInformation2::PmtInfId() const { return ChildText(QStringLiteral("PmtInfId")); }
void TXMLPaymentInstructionInformation2::SetPmtInfId(const QString &value) { SetChildText(QStringLiteral("PmtInfId"), value); }
QString TXMLPaymentInstructionInformation2::PmtMtd() const { return ChildText(QStringLiteral("PmtMtd")); }
void TXMLPaymentInstructionInformation2::SetPmtMtd(const QString &value) { SetChildText(QStringLiteral("PmtMtd"), value); }
QString TXMLPaymentInstructionInformation2::BtchBookg() const { return ChildText(QStringLiteral("BtchBookg")); }
void TXMLPaymentInstructionInformation2::SetBtchBookg(const QString &value) { SetChildText(QStringLiteral("BtchBookg"), value); }
TXMLCBIPaymentTypeInformation2_1 *TXMLPaymentInstructionInformation2::PmtTpInf() { return Child<TXMLCBIPaymentTypeInformation2_1>(QStringLiteral("PmtTpInf")); }
QString TXMLPaymentInstructionInformation2::ReqdColltnDt() const { return ChildText(QStringLiteral("ReqdColltnDt")); }
void TXMLPaymentInstructionInformation2::SetReqdColltnDt(const QString &value) { SetChildText(QStringLiteral("ReqdColltnDt"), value); }
TXMLCBIPartyIdentification3 *TXMLPaymentInstructionInformation2::Cdtr() { return Child<TXMLCBIPartyIdentification3>(QStringLiteral("Cdtr")); }
TXMLCBICashAccount7 *TXMLPaymentInstructionInformation2::CdtrAcct() { return Child<TXMLCBICashAccount7>(QStringLiteral("CdtrAcct")); }
TXMLCBIBranchAndFinancialInstitutionIdentification1 *TXMLPaymentInstructionInformation2::CdtrAgt() { return Child<TXMLCBIBranchAndFinancialInstitutionIdentification1>(QStringLiteral("CdtrAgt")); }
TXMLCBIPartyIdentification3 *TXMLPaymentInstructionInformation2::UltmtCdtr() { return Child<TXMLCBIPartyIdentification3>(QStringLiteral("UltmtCdtr")); }
QString TXMLPaymentInstructionInformation2::ChrgBr() const { return ChildText(QStringLiteral("ChrgBr")); }
void TXMLPaymentInstructionInformation2::SetChrgBr(const QString &value) { SetChildText(QStringLiteral("ChrgBr"), value); }
TXMLCBICashAccount7 *TXMLPaymentInstructionInformation2::ChrgsAcct() { return Child<TXMLCBICashAccount7>(QStringLiteral("ChrgsAcct")); }
TXMLCBIPartyIdentification2 *TXMLPaymentInstructionInformation2::CdtrSchmeId() { return Child<TXMLCBIPartyIdentification2>(QStringLiteral("CdtrSchmeId")); }
TXMLDirectDebitTransactionInformation1List *TXMLPaymentInstructionInformation2::DrctDbtTxInf() { return List<TXMLDirectDebitTransactionInformation1List>(QStringLiteral("DrctDbtTxInf")); }
const QStringList &TXMLPaymentInstructionInformation2::ChildOrder() const
{
    static const QStringList order{QStringLiteral("PmtInfId"), QStringLiteral("PmtMtd"), QStringLiteral("BtchBookg"), QStringLiteral("PmtTpInf"), QStringLiteral("ReqdColltnDt"), QStringLiteral("Cdtr"), QStringLiteral("CdtrAcct"), QStringLiteral("CdtrAgt"), QStringLiteral("UltmtCdtr"), QStringLiteral("ChrgBr"), QStringLiteral("ChrgsAcct"), QStringLiteral("CdtrSchmeId"), QStringLiteral("DrctDbtTxInf")};
    return order;
}

TXMLCBIPaymentTypeInformation2_1::TXMLCBIPaymentTypeInformation2_1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCBIServiceLevel3Choice *TXMLCBIPaymentTypeInformation2_1::SvcLvl() { return Child<TXMLCBIServiceLevel3Choice>(QStringLiteral("SvcLvl")); }
TXMLLocalInstrument1Choice *TXMLCBIPaymentTypeInformation2_1::LclInstrm() { return Child<TXMLLocalInstrument1Choice>(QStringLiteral("LclInstrm")); }
QString TXMLCBIPaymentTypeInformation2_1::SeqTp() const { return ChildText(QStringLiteral("SeqTp")); }
void TXMLCBIPaymentTypeInformation2_1::SetSeqTp(const QString &value) { SetChildText(QStringLiteral("SeqTp"), value); }
TXMLPaymentCategoryPurpose1Code *TXMLCBIPaymentTypeInformation2_1::CtgyPurp() { return Child<TXMLPaymentCategoryPurpose1Code>(QStringLiteral("CtgyPurp")); }
const QStringList &TXMLCBIPaymentTypeInformation2_1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("SvcLvl"), QStringLiteral("LclInstrm"), QStringLiteral("SeqTp"), QStringLiteral("CtgyPurp")};
    return order;
}

TXMLCBIServiceLevel3Choice::TXMLCBIServiceLevel3Choice(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIServiceLevel3Choice::Cd() const { return ChildText(QStringLiteral("Cd")); }
void TXMLCBIServiceLevel3Choice::SetCd(const QString &value) { SetChildText(QStringLiteral("Cd"), value); }
const QStringList &TXMLCBIServiceLevel3Choice::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Cd")};
    return order;
}

TXMLLocalInstrument1Choice::TXMLLocalInstrument1Choice(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLLocalInstrument1Choice::Cd() const { return ChildText(QStringLiteral("Cd")); }
void TXMLLocalInstrument1Choice::SetCd(const QString &value) { SetChildText(QStringLiteral("Cd"), value); }
const QStringList &TXMLLocalInstrument1Choice::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Cd")};
    return order;
}

TXMLPaymentCategoryPurpose1Code::TXMLPaymentCategoryPurpose1Code(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLPaymentCategoryPurpose1Code::Cd() const { return ChildText(QStringLiteral("Cd")); }
void TXMLPaymentCategoryPurpose1Code::SetCd(const QString &value) { SetChildText(QStringLiteral("Cd"), value); }
const QStringList &TXMLPaymentCategoryPurpose1Code::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Cd")};
    return order;
}

TXMLCBIPartyIdentification3::TXMLCBIPartyIdentification3(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIPartyIdentification3::Nm() const { return ChildText(QStringLiteral("Nm")); }
void TXMLCBIPartyIdentification3::SetNm(const QString &value) { SetChildText(QStringLiteral("Nm"), value); }
TXMLCBIPostalAddress6 *TXMLCBIPartyIdentification3::PstlAdr() { return Child<TXMLCBIPostalAddress6>(QStringLiteral("PstlAdr")); }
TXMLCBIParty1Choice *TXMLCBIPartyIdentification3::Id() { return Child<TXMLCBIParty1Choice>(QStringLiteral("Id")); }
const QStringList &TXMLCBIPartyIdentification3::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Nm"), QStringLiteral("PstlAdr"), QStringLiteral("Id")};
    return order;
}

TXMLCBIPostalAddress6::TXMLCBIPostalAddress6(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIPostalAddress6::AdrTp() const { return ChildText(QStringLiteral("AdrTp")); }
void TXMLCBIPostalAddress6::SetAdrTp(const QString &value) { SetChildText(QStringLiteral("AdrTp"), value); }
QString TXMLCBIPostalAddress6::Dept() const { return ChildText(QStringLiteral("Dept")); }
void TXMLCBIPostalAddress6::SetDept(const QString &value) { SetChildText(QStringLiteral("Dept"), value); }
QString TXMLCBIPostalAddress6::SubDept() const { return ChildText(QStringLiteral("SubDept")); }
void TXMLCBIPostalAddress6::SetSubDept(const QString &value) { SetChildText(QStringLiteral("SubDept"), value); }
QString TXMLCBIPostalAddress6::StrtNm() const { return ChildText(QStringLiteral("StrtNm")); }
void TXMLCBIPostalAddress6::SetStrtNm(const QString &value) { SetChildText(QStringLiteral("StrtNm"), value); }
QString TXMLCBIPostalAddress6::BldgNb() const { return ChildText(QStringLiteral("BldgNb")); }
void TXMLCBIPostalAddress6::SetBldgNb(const QString &value) { SetChildText(QStringLiteral("BldgNb"), value); }
QString TXMLCBIPostalAddress6::PstCd() const { return ChildText(QStringLiteral("PstCd")); }
void TXMLCBIPostalAddress6::SetPstCd(const QString &value) { SetChildText(QStringLiteral("PstCd"), value); }
QString TXMLCBIPostalAddress6::TwnNm() const { return ChildText(QStringLiteral("TwnNm")); }
void TXMLCBIPostalAddress6::SetTwnNm(const QString &value) { SetChildText(QStringLiteral("TwnNm"), value); }
QString TXMLCBIPostalAddress6::CtrySubDvsn() const { return ChildText(QStringLiteral("CtrySubDvsn")); }
void TXMLCBIPostalAddress6::SetCtrySubDvsn(const QString &value) { SetChildText(QStringLiteral("CtrySubDvsn"), value); }
QString TXMLCBIPostalAddress6::Ctry() const { return ChildText(QStringLiteral("Ctry")); }
void TXMLCBIPostalAddress6::SetCtry(const QString &value) { SetChildText(QStringLiteral("Ctry"), value); }
TXMLMax70TextList *TXMLCBIPostalAddress6::AdrLine() { return List<TXMLMax70TextList>(QStringLiteral("AdrLine")); }
const QStringList &TXMLCBIPostalAddress6::ChildOrder() const
{
    static const QStringList order{QStringLiteral("AdrTp"), QStringLiteral("Dept"), QStringLiteral("SubDept"), QStringLiteral("StrtNm"), QStringLiteral("BldgNb"), QStringLiteral("PstCd"), QStringLiteral("TwnNm"), QStringLiteral("CtrySubDvsn"), QStringLiteral("Ctry"), QStringLiteral("AdrLine")};
    return order;
}

TXMLCBIParty1Choice::TXMLCBIParty1Choice(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCBIOrganisationIdentification2 *TXMLCBIParty1Choice::OrgId() { return Child<TXMLCBIOrganisationIdentification2>(QStringLiteral("OrgId")); }
TXMLCBIPersonIdentification1 *TXMLCBIParty1Choice::PrvtId() { return Child<TXMLCBIPersonIdentification1>(QStringLiteral("PrvtId")); }
const QStringList &TXMLCBIParty1Choice::ChildOrder() const
{
    static const QStringList order{QStringLiteral("OrgId"), QStringLiteral("PrvtId")};
    return order;
}

TXMLCBIOrganisationIdentification2::TXMLCBIOrganisationIdentification2(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIOrganisationIdentification2::BICOrBEI() const { return ChildText(QStringLiteral("BICOrBEI")); }
void TXMLCBIOrganisationIdentification2::SetBICOrBEI(const QString &value) { SetChildText(QStringLiteral("BICOrBEI"), value); }
TXMLCBIGenericIdentification1 *TXMLCBIOrganisationIdentification2::Othr() { return Child<TXMLCBIGenericIdentification1>(QStringLiteral("Othr")); }
const QStringList &TXMLCBIOrganisationIdentification2::ChildOrder() const
{
    static const QStringList order{QStringLiteral("BICOrBEI"), QStringLiteral("Othr")};
    return order;
}

TXMLCBIPersonIdentification1::TXMLCBIPersonIdentification1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCBIGenericIdentification1 *TXMLCBIPersonIdentification1::Othr() { return Child<TXMLCBIGenericIdentification1>(QStringLiteral("Othr")); }
const QStringList &TXMLCBIPersonIdentification1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Othr")};
    return order;
}

TXMLCBICashAccount7::TXMLCBICashAccount7(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLAccountIdentification3Choice *TXMLCBICashAccount7::Id() { return Child<TXMLAccountIdentification3Choice>(QStringLiteral("Id")); }
const QStringList &TXMLCBICashAccount7::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Id")};
    return order;
}

TXMLAccountIdentification3Choice::TXMLAccountIdentification3Choice(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLAccountIdentification3Choice::IBAN() const { return ChildText(QStringLiteral("IBAN")); }
void TXMLAccountIdentification3Choice::SetIBAN(const QString &value) { SetChildText(QStringLiteral("IBAN"), value); }
const QStringList &TXMLAccountIdentification3Choice::ChildOrder() const
{
    static const QStringList order{QStringLiteral("IBAN")};
    return order;
}

TXMLCBIBranchAndFinancialInstitutionIdentification1::TXMLCBIBranchAndFinancialInstitutionIdentification1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCBIFinancialInstitutionIdentification1 *TXMLCBIBranchAndFinancialInstitutionIdentification1::FinInstnId() { return Child<TXMLCBIFinancialInstitutionIdentification1>(QStringLiteral("FinInstnId")); }
const QStringList &TXMLCBIBranchAndFinancialInstitutionIdentification1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("FinInstnId")};
    return order;
}

TXMLCBIFinancialInstitutionIdentification1::TXMLCBIFinancialInstitutionIdentification1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCBIClearingSystemMemberIdentification1 *TXMLCBIFinancialInstitutionIdentification1::ClrSysMmbId() { return Child<TXMLCBIClearingSystemMemberIdentification1>(QStringLiteral("ClrSysMmbId")); }
const QStringList &TXMLCBIFinancialInstitutionIdentification1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("ClrSysMmbId")};
    return order;
}

TXMLCBIClearingSystemMemberIdentification1::TXMLCBIClearingSystemMemberIdentification1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIClearingSystemMemberIdentification1::MmbId() const { return ChildText(QStringLiteral("MmbId")); }
void TXMLCBIClearingSystemMemberIdentification1::SetMmbId(const QString &value) { SetChildText(QStringLiteral("MmbId"), value); }
const QStringList &TXMLCBIClearingSystemMemberIdentification1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("MmbId")};
    return order;
}

TXMLCBIPartyIdentification2::TXMLCBIPartyIdentification2(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIPartyIdentification2::Nm() const { return ChildText(QStringLiteral("Nm")); }
void TXMLCBIPartyIdentification2::SetNm(const QString &value) { SetChildText(QStringLiteral("Nm"), value); }
TXMLCBIPostalAddress6 *TXMLCBIPartyIdentification2::PstlAdr() { return Child<TXMLCBIPostalAddress6>(QStringLiteral("PstlAdr")); }
TXMLCBIParty4Choice *TXMLCBIPartyIdentification2::Id() { return Child<TXMLCBIParty4Choice>(QStringLiteral("Id")); }
QString TXMLCBIPartyIdentification2::CtryOfRes() const { return ChildText(QStringLiteral("CtryOfRes")); }
void TXMLCBIPartyIdentification2::SetCtryOfRes(const QString &value) { SetChildText(QStringLiteral("CtryOfRes"), value); }
const QStringList &TXMLCBIPartyIdentification2::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Nm"), QStringLiteral("PstlAdr"), QStringLiteral("Id"), QStringLiteral("CtryOfRes")};
    return order;
}

TXMLCBIParty4Choice::TXMLCBIParty4Choice(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCBIPersonIdentification2 *TXMLCBIParty4Choice::PrvtId() { return Child<TXMLCBIPersonIdentification2>(QStringLiteral("PrvtId")); }
const QStringList &TXMLCBIParty4Choice::ChildOrder() const
{
    static const QStringList order{QStringLiteral("PrvtId")};
    return order;
}

TXMLCBIPersonIdentification2::TXMLCBIPersonIdentification2(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCBIGenericIdentification2 *TXMLCBIPersonIdentification2::Othr() { return Child<TXMLCBIGenericIdentification2>(QStringLiteral("Othr")); }
const QStringList &TXMLCBIPersonIdentification2::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Othr")};
    return order;
}

TXMLCBIGenericIdentification2::TXMLCBIGenericIdentification2(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIGenericIdentification2::Id() const { return ChildText(QStringLiteral("Id")); }
void TXMLCBIGenericIdentification2::SetId(const QString &value) { SetChildText(QStringLiteral("Id"), value); }
TXMLPersonIdentificationSchemeName1Choice *TXMLCBIGenericIdentification2::SchmeNm() { return Child<TXMLPersonIdentificationSchemeName1Choice>(QStringLiteral("SchmeNm")); }
QString TXMLCBIGenericIdentification2::Issr() const { return ChildText(QStringLiteral("Issr")); }
void TXMLCBIGenericIdentification2::SetIssr(const QString &value) { SetChildText(QStringLiteral("Issr"), value); }
const QStringList &TXMLCBIGenericIdentification2::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Id"), QStringLiteral("SchmeNm"), QStringLiteral("Issr")};
    return order;
}

TXMLPersonIdentificationSchemeName1Choice::TXMLPersonIdentificationSchemeName1Choice(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLPersonIdentificationSchemeName1Choice::Cd() const { return ChildText(QStringLiteral("Cd")); }
void TXMLPersonIdentificationSchemeName1Choice::SetCd(const QString &value) { SetChildText(QStringLiteral("Cd"), value); }
QString TXMLPersonIdentificationSchemeName1Choice::Prtry() const { return ChildText(QStringLiteral("Prtry")); }
void TXMLPersonIdentificationSchemeName1Choice::SetPrtry(const QString &value) { SetChildText(QStringLiteral("Prtry"), value); }
const QStringList &TXMLPersonIdentificationSchemeName1Choice::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Cd"), QStringLiteral("Prtry")};
    return order;
}

TXMLDirectDebitTransactionInformation1::TXMLDirectDebitTransactionInformation1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCBIPaymentIdentification1 *TXMLDirectDebitTransactionInformation1::PmtId() { return Child<TXMLCBIPaymentIdentification1>(QStringLiteral("PmtId")); }
TXMLCBIPaymentTypeInformation2 *TXMLDirectDebitTransactionInformation1::PmtTpInf() { return Child<TXMLCBIPaymentTypeInformation2>(QStringLiteral("PmtTpInf")); }
QString TXMLDirectDebitTransactionInformation1::InstdAmt() const { return ChildText(QStringLiteral("InstdAmt")); }
void TXMLDirectDebitTransactionInformation1::SetInstdAmt(const QString &value)
{
    TVtXMLNode *amount = Child<TVtXMLNode>(QStringLiteral("InstdAmt"));
    amount->SetAttribute(QStringLiteral("Ccy"), m_instdAmtCcy);
    amount->SetText(value);
}
QString TXMLDirectDebitTransactionInformation1::ChrgBr() const { return ChildText(QStringLiteral("ChrgBr")); }
void TXMLDirectDebitTransactionInformation1::SetChrgBr(const QString &value) { SetChildText(QStringLiteral("ChrgBr"), value); }
TXMLDirectDebitTransaction1 *TXMLDirectDebitTransactionInformation1::DrctDbtTx() { return Child<TXMLDirectDebitTransaction1>(QStringLiteral("DrctDbtTx")); }
TXMLCBIPartyIdentification3 *TXMLDirectDebitTransactionInformation1::UltmtCdtr() { return Child<TXMLCBIPartyIdentification3>(QStringLiteral("UltmtCdtr")); }
TXMLCBIBranchAndFinancialInstitutionIdentification3 *TXMLDirectDebitTransactionInformation1::DbtrAgt() { return Child<TXMLCBIBranchAndFinancialInstitutionIdentification3>(QStringLiteral("DbtrAgt")); }
TXMLCBIPartyIdentification4 *TXMLDirectDebitTransactionInformation1::Dbtr() { return Child<TXMLCBIPartyIdentification4>(QStringLiteral("Dbtr")); }
TXMLCBICashAccount7 *TXMLDirectDebitTransactionInformation1::DbtrAcct() { return Child<TXMLCBICashAccount7>(QStringLiteral("DbtrAcct")); }
TXMLCBIPartyIdentification4 *TXMLDirectDebitTransactionInformation1::UltmtDbtr() { return Child<TXMLCBIPartyIdentification4>(QStringLiteral("UltmtDbtr")); }
QString TXMLDirectDebitTransactionInformation1::InstrForCdtrAgt() const { return ChildText(QStringLiteral("InstrForCdtrAgt")); }
void TXMLDirectDebitTransactionInformation1::SetInstrForCdtrAgt(const QString &value) { SetChildText(QStringLiteral("InstrForCdtrAgt"), value); }
TXMLCBIPurpose1Choice *TXMLDirectDebitTransactionInformation1::Purp() { return Child<TXMLCBIPurpose1Choice>(QStringLiteral("Purp")); }
TXMLCBIRegulatoryReporting1List *TXMLDirectDebitTransactionInformation1::RgltryRptg() { return List<TXMLCBIRegulatoryReporting1List>(QStringLiteral("RgltryRptg")); }
TXMLRemittanceInformation5 *TXMLDirectDebitTransactionInformation1::RmtInf() { return Child<TXMLRemittanceInformation5>(QStringLiteral("RmtInf")); }
const QStringList &TXMLDirectDebitTransactionInformation1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("PmtId"), QStringLiteral("PmtTpInf"), QStringLiteral("InstdAmt"), QStringLiteral("ChrgBr"), QStringLiteral("DrctDbtTx"), QStringLiteral("UltmtCdtr"), QStringLiteral("DbtrAgt"), QStringLiteral("Dbtr"), QStringLiteral("DbtrAcct"), QStringLiteral("UltmtDbtr"), QStringLiteral("InstrForCdtrAgt"), QStringLiteral("Purp"), QStringLiteral("RgltryRptg"), QStringLiteral("RmtInf")};
    return order;
}

TXMLCBIPaymentIdentification1::TXMLCBIPaymentIdentification1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIPaymentIdentification1::InstrId() const { return ChildText(QStringLiteral("InstrId")); }
void TXMLCBIPaymentIdentification1::SetInstrId(const QString &value) { SetChildText(QStringLiteral("InstrId"), value); }
QString TXMLCBIPaymentIdentification1::EndToEndId() const { return ChildText(QStringLiteral("EndToEndId")); }
void TXMLCBIPaymentIdentification1::SetEndToEndId(const QString &value) { SetChildText(QStringLiteral("EndToEndId"), value); }
const QStringList &TXMLCBIPaymentIdentification1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("InstrId"), QStringLiteral("EndToEndId")};
    return order;
}

TXMLCBIPaymentTypeInformation2::TXMLCBIPaymentTypeInformation2(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLPaymentCategoryPurpose1Code *TXMLCBIPaymentTypeInformation2::CtgyPurp() { return Child<TXMLPaymentCategoryPurpose1Code>(QStringLiteral("CtgyPurp")); }
const QStringList &TXMLCBIPaymentTypeInformation2::ChildOrder() const
{
    static const QStringList order{QStringLiteral("CtgyPurp")};
    return order;
}

TXMLDirectDebitTransaction1::TXMLDirectDebitTransaction1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLMandateRelatedInformation1 *TXMLDirectDebitTransaction1::MndtRltdInf() { return Child<TXMLMandateRelatedInformation1>(QStringLiteral("MndtRltdInf")); }
QString TXMLDirectDebitTransaction1::PreNtfctnId() const { return ChildText(QStringLiteral("PreNtfctnId")); }
void TXMLDirectDebitTransaction1::SetPreNtfctnId(const QString &value) { SetChildText(QStringLiteral("PreNtfctnId"), value); }
QString TXMLDirectDebitTransaction1::PreNtfctnDt() const { return ChildText(QStringLiteral("PreNtfctnDt")); }
void TXMLDirectDebitTransaction1::SetPreNtfctnDt(const QString &value) { SetChildText(QStringLiteral("PreNtfctnDt"), value); }
const QStringList &TXMLDirectDebitTransaction1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("MndtRltdInf"), QStringLiteral("PreNtfctnId"), QStringLiteral("PreNtfctnDt")};
    return order;
}

TXMLMandateRelatedInformation1::TXMLMandateRelatedInformation1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLMandateRelatedInformation1::MndtId() const { return ChildText(QStringLiteral("MndtId")); }
void TXMLMandateRelatedInformation1::SetMndtId(const QString &value) { SetChildText(QStringLiteral("MndtId"), value); }
QString TXMLMandateRelatedInformation1::DtOfSgntr() const { return ChildText(QStringLiteral("DtOfSgntr")); }
void TXMLMandateRelatedInformation1::SetDtOfSgntr(const QString &value) { SetChildText(QStringLiteral("DtOfSgntr"), value); }
bool TXMLMandateRelatedInformation1::AmdmntInd() const { return TextToBool(ChildText(QStringLiteral("AmdmntInd"))); }
void TXMLMandateRelatedInformation1::SetAmdmntInd(bool value) { SetChildText(QStringLiteral("AmdmntInd"), BoolToText(value)); }
TXMLAmendmentInformationDetails1 *TXMLMandateRelatedInformation1::AmdmntInfDtls() { return Child<TXMLAmendmentInformationDetails1>(QStringLiteral("AmdmntInfDtls")); }
QString TXMLMandateRelatedInformation1::ElctrncSgntr() const { return ChildText(QStringLiteral("ElctrncSgntr")); }
void TXMLMandateRelatedInformation1::SetElctrncSgntr(const QString &value) { SetChildText(QStringLiteral("ElctrncSgntr"), value); }
QString TXMLMandateRelatedInformation1::FrstColltnDt() const { return ChildText(QStringLiteral("FrstColltnDt")); }
void TXMLMandateRelatedInformation1::SetFrstColltnDt(const QString &value) { SetChildText(QStringLiteral("FrstColltnDt"), value); }
QString TXMLMandateRelatedInformation1::FnlColltnDt() const { return ChildText(QStringLiteral("FnlColltnDt")); }
void TXMLMandateRelatedInformation1::SetFnlColltnDt(const QString &value) { SetChildText(QStringLiteral("FnlColltnDt"), value); }
QString TXMLMandateRelatedInformation1::Frqcy() const { return ChildText(QStringLiteral("Frqcy")); }
void TXMLMandateRelatedInformation1::SetFrqcy(const QString &value) { SetChildText(QStringLiteral("Frqcy"), value); }
const QStringList &TXMLMandateRelatedInformation1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("MndtId"), QStringLiteral("DtOfSgntr"), QStringLiteral("AmdmntInd"), QStringLiteral("AmdmntInfDtls"), QStringLiteral("ElctrncSgntr"), QStringLiteral("FrstColltnDt"), QStringLiteral("FnlColltnDt"), QStringLiteral("Frqcy")};
    return order;
}

TXMLAmendmentInformationDetails1::TXMLAmendmentInformationDetails1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLAmendmentInformationDetails1::OrgnlMndtId() const { return ChildText(QStringLiteral("OrgnlMndtId")); }
void TXMLAmendmentInformationDetails1::SetOrgnlMndtId(const QString &value) { SetChildText(QStringLiteral("OrgnlMndtId"), value); }
TXMLCBIPartyIdentification6 *TXMLAmendmentInformationDetails1::OrgnlCdtrSchmeId() { return Child<TXMLCBIPartyIdentification6>(QStringLiteral("OrgnlCdtrSchmeId")); }
TXMLBranchAndFinancialInstitutionIdentification4 *TXMLAmendmentInformationDetails1::OrgnlCdtrAgt() { return Child<TXMLBranchAndFinancialInstitutionIdentification4>(QStringLiteral("OrgnlCdtrAgt")); }
TXMLCBIPartyIdentification4 *TXMLAmendmentInformationDetails1::OrgnlDbtr() { return Child<TXMLCBIPartyIdentification4>(QStringLiteral("OrgnlDbtr")); }
TXMLCBICashAccount7 *TXMLAmendmentInformationDetails1::OrgnlDbtrAcct() { return Child<TXMLCBICashAccount7>(QStringLiteral("OrgnlDbtrAcct")); }
TXMLBranchAndFinancialInstitutionIdentification3 *TXMLAmendmentInformationDetails1::OrgnlDbtrAgt() { return Child<TXMLBranchAndFinancialInstitutionIdentification3>(QStringLiteral("OrgnlDbtrAgt")); }
QString TXMLAmendmentInformationDetails1::OrgnlFnlColltnDt() const { return ChildText(QStringLiteral("OrgnlFnlColltnDt")); }
void TXMLAmendmentInformationDetails1::SetOrgnlFnlColltnDt(const QString &value) { SetChildText(QStringLiteral("OrgnlFnlColltnDt"), value); }
QString TXMLAmendmentInformationDetails1::OrgnlFrqcy() const { return ChildText(QStringLiteral("OrgnlFrqcy")); }
void TXMLAmendmentInformationDetails1::SetOrgnlFrqcy(const QString &value) { SetChildText(QStringLiteral("OrgnlFrqcy"), value); }
const QStringList &TXMLAmendmentInformationDetails1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("OrgnlMndtId"), QStringLiteral("OrgnlCdtrSchmeId"), QStringLiteral("OrgnlCdtrAgt"), QStringLiteral("OrgnlDbtr"), QStringLiteral("OrgnlDbtrAcct"), QStringLiteral("OrgnlDbtrAgt"), QStringLiteral("OrgnlFnlColltnDt"), QStringLiteral("OrgnlFrqcy")};
    return order;
}

TXMLCBIPartyIdentification6::TXMLCBIPartyIdentification6(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIPartyIdentification6::Nm() const { return ChildText(QStringLiteral("Nm")); }
void TXMLCBIPartyIdentification6::SetNm(const QString &value) { SetChildText(QStringLiteral("Nm"), value); }
TXMLCBIPostalAddress6 *TXMLCBIPartyIdentification6::PstlAdr() { return Child<TXMLCBIPostalAddress6>(QStringLiteral("PstlAdr")); }
TXMLCBIParty4Choice *TXMLCBIPartyIdentification6::Id() { return Child<TXMLCBIParty4Choice>(QStringLiteral("Id")); }
QString TXMLCBIPartyIdentification6::CtryOfRes() const { return ChildText(QStringLiteral("CtryOfRes")); }
void TXMLCBIPartyIdentification6::SetCtryOfRes(const QString &value) { SetChildText(QStringLiteral("CtryOfRes"), value); }
const QStringList &TXMLCBIPartyIdentification6::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Nm"), QStringLiteral("PstlAdr"), QStringLiteral("Id"), QStringLiteral("CtryOfRes")};
    return order;
}

TXMLBranchAndFinancialInstitutionIdentification4::TXMLBranchAndFinancialInstitutionIdentification4(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCBIFinancialInstitutionIdentification7 *TXMLBranchAndFinancialInstitutionIdentification4::FinInstnId() { return Child<TXMLCBIFinancialInstitutionIdentification7>(QStringLiteral("FinInstnId")); }
const QStringList &TXMLBranchAndFinancialInstitutionIdentification4::ChildOrder() const
{
    static const QStringList order{QStringLiteral("FinInstnId")};
    return order;
}

TXMLCBIFinancialInstitutionIdentification7::TXMLCBIFinancialInstitutionIdentification7(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIFinancialInstitutionIdentification7::BIC() const { return ChildText(QStringLiteral("BIC")); }
void TXMLCBIFinancialInstitutionIdentification7::SetBIC(const QString &value) { SetChildText(QStringLiteral("BIC"), value); }
TXMLCBIClearingSystemMemberIdentification1 *TXMLCBIFinancialInstitutionIdentification7::ClrSysMmbId() { return Child<TXMLCBIClearingSystemMemberIdentification1>(QStringLiteral("ClrSysMmbId")); }
const QStringList &TXMLCBIFinancialInstitutionIdentification7::ChildOrder() const
{
    static const QStringList order{QStringLiteral("BIC"), QStringLiteral("ClrSysMmbId")};
    return order;
}

TXMLCBIPartyIdentification4::TXMLCBIPartyIdentification4(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIPartyIdentification4::Nm() const { return ChildText(QStringLiteral("Nm")); }
void TXMLCBIPartyIdentification4::SetNm(const QString &value) { SetChildText(QStringLiteral("Nm"), value); }
TXMLCBIPostalAddress6 *TXMLCBIPartyIdentification4::PstlAdr() { return Child<TXMLCBIPostalAddress6>(QStringLiteral("PstlAdr")); }
TXMLCBIParty1Choice *TXMLCBIPartyIdentification4::Id() { return Child<TXMLCBIParty1Choice>(QStringLiteral("Id")); }
QString TXMLCBIPartyIdentification4::CtryOfRes() const { return ChildText(QStringLiteral("CtryOfRes")); }
void TXMLCBIPartyIdentification4::SetCtryOfRes(const QString &value) { SetChildText(QStringLiteral("CtryOfRes"), value); }
const QStringList &TXMLCBIPartyIdentification4::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Nm"), QStringLiteral("PstlAdr"), QStringLiteral("Id"), QStringLiteral("CtryOfRes")};
    return order;
}

TXMLBranchAndFinancialInstitutionIdentification3::TXMLBranchAndFinancialInstitutionIdentification3(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLFinancialInstitutionIdentification7 *TXMLBranchAndFinancialInstitutionIdentification3::FinInstnId() { return Child<TXMLFinancialInstitutionIdentification7>(QStringLiteral("FinInstnId")); }
const QStringList &TXMLBranchAndFinancialInstitutionIdentification3::ChildOrder() const
{
    static const QStringList order{QStringLiteral("FinInstnId")};
    return order;
}

TXMLFinancialInstitutionIdentification7::TXMLFinancialInstitutionIdentification7(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLFinancialInstitutionIdentification7::BIC() const { return ChildText(QStringLiteral("BIC")); }
void TXMLFinancialInstitutionIdentification7::SetBIC(const QString &value) { SetChildText(QStringLiteral("BIC"), value); }
TXMLCBIClearingSystemMemberIdentification1 *TXMLFinancialInstitutionIdentification7::ClrSysMmbId() { return Child<TXMLCBIClearingSystemMemberIdentification1>(QStringLiteral("ClrSysMmbId")); }
TXMLGenericFinancialIdentification1 *TXMLFinancialInstitutionIdentification7::Othr() { return Child<TXMLGenericFinancialIdentification1>(QStringLiteral("Othr")); }
const QStringList &TXMLFinancialInstitutionIdentification7::ChildOrder() const
{
    static const QStringList order{QStringLiteral("BIC"), QStringLiteral("ClrSysMmbId"), QStringLiteral("Othr")};
    return order;
}

TXMLGenericFinancialIdentification1::TXMLGenericFinancialIdentification1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLGenericFinancialIdentification1::Id() const { return ChildText(QStringLiteral("Id")); }
void TXMLGenericFinancialIdentification1::SetId(const QString &value) { SetChildText(QStringLiteral("Id"), value); }
const QStringList &TXMLGenericFinancialIdentification1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Id")};
    return order;
}

TXMLCBIBranchAndFinancialInstitutionIdentification3::TXMLCBIBranchAndFinancialInstitutionIdentification3(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCBIFinancialInstitutionIdentification5Choice *TXMLCBIBranchAndFinancialInstitutionIdentification3::FinInstnId() { return Child<TXMLCBIFinancialInstitutionIdentification5Choice>(QStringLiteral("FinInstnId")); }
const QStringList &TXMLCBIBranchAndFinancialInstitutionIdentification3::ChildOrder() const
{
    static const QStringList order{QStringLiteral("FinInstnId")};
    return order;
}

TXMLCBIFinancialInstitutionIdentification5Choice::TXMLCBIFinancialInstitutionIdentification5Choice(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIFinancialInstitutionIdentification5Choice::BIC() const { return ChildText(QStringLiteral("BIC")); }
void TXMLCBIFinancialInstitutionIdentification5Choice::SetBIC(const QString &value) { SetChildText(QStringLiteral("BIC"), value); }
const QStringList &TXMLCBIFinancialInstitutionIdentification5Choice::ChildOrder() const
{
    static const QStringList order{QStringLiteral("BIC")};
    return order;
}

TXMLCBIPurpose1Choice::TXMLCBIPurpose1Choice(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIPurpose1Choice::Cd() const { return ChildText(QStringLiteral("Cd")); }
void TXMLCBIPurpose1Choice::SetCd(const QString &value) { SetChildText(QStringLiteral("Cd"), value); }
const QStringList &TXMLCBIPurpose1Choice::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Cd")};
    return order;
}

TXMLCBIRegulatoryReporting1::TXMLCBIRegulatoryReporting1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIRegulatoryReporting1::DbtCdtRptgInd() const { return ChildText(QStringLiteral("DbtCdtRptgInd")); }
void TXMLCBIRegulatoryReporting1::SetDbtCdtRptgInd(const QString &value) { SetChildText(QStringLiteral("DbtCdtRptgInd"), value); }
TXMLCBIStructuredRegulatoryReporting1 *TXMLCBIRegulatoryReporting1::Dtls() { return Child<TXMLCBIStructuredRegulatoryReporting1>(QStringLiteral("Dtls")); }
const QStringList &TXMLCBIRegulatoryReporting1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("DbtCdtRptgInd"), QStringLiteral("Dtls")};
    return order;
}

TXMLCBIStructuredRegulatoryReporting1::TXMLCBIStructuredRegulatoryReporting1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCBIStructuredRegulatoryReporting1::Cd() const { return ChildText(QStringLiteral("Cd")); }
void TXMLCBIStructuredRegulatoryReporting1::SetCd(const QString &value) { SetChildText(QStringLiteral("Cd"), value); }
TXMLActiveOrHistoricCurrencyAndAmount *TXMLCBIStructuredRegulatoryReporting1::Amt() { return Child<TXMLActiveOrHistoricCurrencyAndAmount>(QStringLiteral("Amt")); }
QString TXMLCBIStructuredRegulatoryReporting1::Inf() const { return ChildText(QStringLiteral("Inf")); }
void TXMLCBIStructuredRegulatoryReporting1::SetInf(const QString &value) { SetChildText(QStringLiteral("Inf"), value); }
const QStringList &TXMLCBIStructuredRegulatoryReporting1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Cd"), QStringLiteral("Amt"), QStringLiteral("Inf")};
    return order;
}

TXMLRemittanceInformation5::TXMLRemittanceInformation5(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLMax140TextList *TXMLRemittanceInformation5::Ustrd() { return List<TXMLMax140TextList>(QStringLiteral("Ustrd")); }
TXMLStructuredRemittanceInformation7List *TXMLRemittanceInformation5::Strd() { return List<TXMLStructuredRemittanceInformation7List>(QStringLiteral("Strd")); }
const QStringList &TXMLRemittanceInformation5::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Ustrd"), QStringLiteral("Strd")};
    return order;
}

TXMLStructuredRemittanceInformation7::TXMLStructuredRemittanceInformation7(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLReferredDocumentInformation3List *TXMLStructuredRemittanceInformation7::RfrdDocInf() { return List<TXMLReferredDocumentInformation3List>(QStringLiteral("RfrdDocInf")); }
TXMLRemittanceAmount1 *TXMLStructuredRemittanceInformation7::RfrdDocAmt() { return Child<TXMLRemittanceAmount1>(QStringLiteral("RfrdDocAmt")); }
TXMLCreditorReferenceInformation2 *TXMLStructuredRemittanceInformation7::CdtrRefInf() { return Child<TXMLCreditorReferenceInformation2>(QStringLiteral("CdtrRefInf")); }
TXMLPartyIdentification32 *TXMLStructuredRemittanceInformation7::Invcr() { return Child<TXMLPartyIdentification32>(QStringLiteral("Invcr")); }
TXMLPartyIdentification32 *TXMLStructuredRemittanceInformation7::Invcee() { return Child<TXMLPartyIdentification32>(QStringLiteral("Invcee")); }
TXMLMax140TextList *TXMLStructuredRemittanceInformation7::AddtlRmtInf() { return List<TXMLMax140TextList>(QStringLiteral("AddtlRmtInf")); }
const QStringList &TXMLStructuredRemittanceInformation7::ChildOrder() const
{
    static const QStringList order{QStringLiteral("RfrdDocInf"), QStringLiteral("RfrdDocAmt"), QStringLiteral("CdtrRefInf"), QStringLiteral("Invcr"), QStringLiteral("Invcee"), QStringLiteral("AddtlRmtInf")};
    return order;
}

TXMLReferredDocumentInformation3::TXMLReferredDocumentInformation3(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLReferredDocumentType2 *TXMLReferredDocumentInformation3::Tp() { return Child<TXMLReferredDocumentType2>(QStringLiteral("Tp")); }
QString TXMLReferredDocumentInformation3::Nb() const { return ChildText(QStringLiteral("Nb")); }
void TXMLReferredDocumentInformation3::SetNb(const QString &value) { SetChildText(QStringLiteral("Nb"), value); }
QString TXMLReferredDocumentInformation3::RltdDt() const { return ChildText(QStringLiteral("RltdDt")); }
void TXMLReferredDocumentInformation3::SetRltdDt(const QString &value) { SetChildText(QStringLiteral("RltdDt"), value); }
const QStringList &TXMLReferredDocumentInformation3::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Tp"), QStringLiteral("Nb"), QStringLiteral("RltdDt")};
    return order;
}

TXMLReferredDocumentType2::TXMLReferredDocumentType2(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLReferredDocumentType1Choice *TXMLReferredDocumentType2::CdOrPrtry() { return Child<TXMLReferredDocumentType1Choice>(QStringLiteral("CdOrPrtry")); }
QString TXMLReferredDocumentType2::Issr() const { return ChildText(QStringLiteral("Issr")); }
void TXMLReferredDocumentType2::SetIssr(const QString &value) { SetChildText(QStringLiteral("Issr"), value); }
const QStringList &TXMLReferredDocumentType2::ChildOrder() const
{
    static const QStringList order{QStringLiteral("CdOrPrtry"), QStringLiteral("Issr")};
    return order;
}

TXMLReferredDocumentType1Choice::TXMLReferredDocumentType1Choice(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLReferredDocumentType1Choice::Cd() const { return ChildText(QStringLiteral("Cd")); }
void TXMLReferredDocumentType1Choice::SetCd(const QString &value) { SetChildText(QStringLiteral("Cd"), value); }
QString TXMLReferredDocumentType1Choice::Prtry() const { return ChildText(QStringLiteral("Prtry")); }
void TXMLReferredDocumentType1Choice::SetPrtry(const QString &value) { SetChildText(QStringLiteral("Prtry"), value); }
const QStringList &TXMLReferredDocumentType1Choice::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Cd"), QStringLiteral("Prtry")};
    return order;
}

TXMLRemittanceAmount1::TXMLRemittanceAmount1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLActiveOrHistoricCurrencyAndAmount *TXMLRemittanceAmount1::DuePyblAmt() { return Child<TXMLActiveOrHistoricCurrencyAndAmount>(QStringLiteral("DuePyblAmt")); }
TXMLActiveOrHistoricCurrencyAndAmount *TXMLRemittanceAmount1::DscntApldAmt() { return Child<TXMLActiveOrHistoricCurrencyAndAmount>(QStringLiteral("DscntApldAmt")); }
TXMLActiveOrHistoricCurrencyAndAmount *TXMLRemittanceAmount1::CdtNoteAmt() { return Child<TXMLActiveOrHistoricCurrencyAndAmount>(QStringLiteral("CdtNoteAmt")); }
TXMLActiveOrHistoricCurrencyAndAmount *TXMLRemittanceAmount1::TaxAmt() { return Child<TXMLActiveOrHistoricCurrencyAndAmount>(QStringLiteral("TaxAmt")); }
TXMLDocumentAdjustment1List *TXMLRemittanceAmount1::AdjstmntAmtAndRsn() { return List<TXMLDocumentAdjustment1List>(QStringLiteral("AdjstmntAmtAndRsn")); }
TXMLActiveOrHistoricCurrencyAndAmount *TXMLRemittanceAmount1::RmtdAmt() { return Child<TXMLActiveOrHistoricCurrencyAndAmount>(QStringLiteral("RmtdAmt")); }
const QStringList &TXMLRemittanceAmount1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("DuePyblAmt"), QStringLiteral("DscntApldAmt"), QStringLiteral("CdtNoteAmt"), QStringLiteral("TaxAmt"), QStringLiteral("AdjstmntAmtAndRsn"), QStringLiteral("RmtdAmt")};
    return order;
}

TXMLDocumentAdjustment1::TXMLDocumentAdjustment1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLActiveOrHistoricCurrencyAndAmount *TXMLDocumentAdjustment1::Amt() { return Child<TXMLActiveOrHistoricCurrencyAndAmount>(QStringLiteral("Amt")); }
QString TXMLDocumentAdjustment1::CdtDbtInd() const { return ChildText(QStringLiteral("CdtDbtInd")); }
void TXMLDocumentAdjustment1::SetCdtDbtInd(const QString &value) { SetChildText(QStringLiteral("CdtDbtInd"), value); }
QString TXMLDocumentAdjustment1::Rsn() const { return ChildText(QStringLiteral("Rsn")); }
void TXMLDocumentAdjustment1::SetRsn(const QString &value) { SetChildText(QStringLiteral("Rsn"), value); }
QString TXMLDocumentAdjustment1::AddtlInf() const { return ChildText(QStringLiteral("AddtlInf")); }
void TXMLDocumentAdjustment1::SetAddtlInf(const QString &value) { SetChildText(QStringLiteral("AddtlInf"), value); }
const QStringList &TXMLDocumentAdjustment1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Amt"), QStringLiteral("CdtDbtInd"), QStringLiteral("Rsn"), QStringLiteral("AddtlInf")};
    return order;
}

TXMLCreditorReferenceInformation2::TXMLCreditorReferenceInformation2(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCreditorReferenceType2 *TXMLCreditorReferenceInformation2::Tp() { return Child<TXMLCreditorReferenceType2>(QStringLiteral("Tp")); }
QString TXMLCreditorReferenceInformation2::Ref() const { return ChildText(QStringLiteral("Ref")); }
void TXMLCreditorReferenceInformation2::SetRef(const QString &value) { SetChildText(QStringLiteral("Ref"), value); }
const QStringList &TXMLCreditorReferenceInformation2::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Tp"), QStringLiteral("Ref")};
    return order;
}

TXMLCreditorReferenceType2::TXMLCreditorReferenceType2(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLCreditorReferenceType1Choice *TXMLCreditorReferenceType2::CdOrPrtry() { return Child<TXMLCreditorReferenceType1Choice>(QStringLiteral("CdOrPrtry")); }
QString TXMLCreditorReferenceType2::Issr() const { return ChildText(QStringLiteral("Issr")); }
void TXMLCreditorReferenceType2::SetIssr(const QString &value) { SetChildText(QStringLiteral("Issr"), value); }
const QStringList &TXMLCreditorReferenceType2::ChildOrder() const
{
    static const QStringList order{QStringLiteral("CdOrPrtry"), QStringLiteral("Issr")};
    return order;
}

TXMLCreditorReferenceType1Choice::TXMLCreditorReferenceType1Choice(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLCreditorReferenceType1Choice::Cd() const { return ChildText(QStringLiteral("Cd")); }
void TXMLCreditorReferenceType1Choice::SetCd(const QString &value) { SetChildText(QStringLiteral("Cd"), value); }
QString TXMLCreditorReferenceType1Choice::Prtry() const { return ChildText(QStringLiteral("Prtry")); }
void TXMLCreditorReferenceType1Choice::SetPrtry(const QString &value) { SetChildText(QStringLiteral("Prtry"), value); }
const QStringList &TXMLCreditorReferenceType1Choice::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Cd"), QStringLiteral("Prtry")};
    return order;
}

TXMLPartyIdentification32::TXMLPartyIdentification32(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLPartyIdentification32::Nm() const { return ChildText(QStringLiteral("Nm")); }
void TXMLPartyIdentification32::SetNm(const QString &value) { SetChildText(QStringLiteral("Nm"), value); }
TXMLCBIPostalAddress6 *TXMLPartyIdentification32::PstlAdr() { return Child<TXMLCBIPostalAddress6>(QStringLiteral("PstlAdr")); }
TXMLParty6Choice *TXMLPartyIdentification32::Id() { return Child<TXMLParty6Choice>(QStringLiteral("Id")); }
QString TXMLPartyIdentification32::CtryOfRes() const { return ChildText(QStringLiteral("CtryOfRes")); }
void TXMLPartyIdentification32::SetCtryOfRes(const QString &value) { SetChildText(QStringLiteral("CtryOfRes"), value); }
TXMLContactDetails2 *TXMLPartyIdentification32::CtctDtls() { return Child<TXMLContactDetails2>(QStringLiteral("CtctDtls")); }
const QStringList &TXMLPartyIdentification32::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Nm"), QStringLiteral("PstlAdr"), QStringLiteral("Id"), QStringLiteral("CtryOfRes"), QStringLiteral("CtctDtls")};
    return order;
}

TXMLParty6Choice::TXMLParty6Choice(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLOrganisationIdentification4 *TXMLParty6Choice::OrgId() { return Child<TXMLOrganisationIdentification4>(QStringLiteral("OrgId")); }
TXMLPersonIdentification5 *TXMLParty6Choice::PrvtId() { return Child<TXMLPersonIdentification5>(QStringLiteral("PrvtId")); }
const QStringList &TXMLParty6Choice::ChildOrder() const
{
    static const QStringList order{QStringLiteral("OrgId"), QStringLiteral("PrvtId")};
    return order;
}

TXMLOrganisationIdentification4::TXMLOrganisationIdentification4(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLOrganisationIdentification4::BICOrBEI() const { return ChildText(QStringLiteral("BICOrBEI")); }
void TXMLOrganisationIdentification4::SetBICOrBEI(const QString &value) { SetChildText(QStringLiteral("BICOrBEI"), value); }
TXMLGenericOrganisationIdentification1List *TXMLOrganisationIdentification4::Othr() { return List<TXMLGenericOrganisationIdentification1List>(QStringLiteral("Othr")); }
const QStringList &TXMLOrganisationIdentification4::ChildOrder() const
{
    static const QStringList order{QStringLiteral("BICOrBEI"), QStringLiteral("Othr")};
    return order;
}

TXMLGenericOrganisationIdentification1::TXMLGenericOrganisationIdentification1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLGenericOrganisationIdentification1::Id() const { return ChildText(QStringLiteral("Id")); }
void TXMLGenericOrganisationIdentification1::SetId(const QString &value) { SetChildText(QStringLiteral("Id"), value); }
TXMLOrganisationIdentificationSchemeName1Choice *TXMLGenericOrganisationIdentification1::SchmeNm() { return Child<TXMLOrganisationIdentificationSchemeName1Choice>(QStringLiteral("SchmeNm")); }
QString TXMLGenericOrganisationIdentification1::Issr() const { return ChildText(QStringLiteral("Issr")); }
void TXMLGenericOrganisationIdentification1::SetIssr(const QString &value) { SetChildText(QStringLiteral("Issr"), value); }
const QStringList &TXMLGenericOrganisationIdentification1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Id"), QStringLiteral("SchmeNm"), QStringLiteral("Issr")};
    return order;
}

TXMLOrganisationIdentificationSchemeName1Choice::TXMLOrganisationIdentificationSchemeName1Choice(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLOrganisationIdentificationSchemeName1Choice::Cd() const { return ChildText(QStringLiteral("Cd")); }
void TXMLOrganisationIdentificationSchemeName1Choice::SetCd(const QString &value) { SetChildText(QStringLiteral("Cd"), value); }
QString TXMLOrganisationIdentificationSchemeName1Choice::Prtry() const { return ChildText(QStringLiteral("Prtry")); }
void TXMLOrganisationIdentificationSchemeName1Choice::SetPrtry(const QString &value) { SetChildText(QStringLiteral("Prtry"), value); }
const QStringList &TXMLOrganisationIdentificationSchemeName1Choice::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Cd"), QStringLiteral("Prtry")};
    return order;
}

TXMLPersonIdentification5::TXMLPersonIdentification5(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
TXMLDateAndPlaceOfBirth *TXMLPersonIdentification5::DtAndPlcOfBirth() { return Child<TXMLDateAndPlaceOfBirth>(QStringLiteral("DtAndPlcOfBirth")); }
TXMLGenericPersonIdentification1List *TXMLPersonIdentification5::Othr() { return List<TXMLGenericPersonIdentification1List>(QStringLiteral("Othr")); }
const QStringList &TXMLPersonIdentification5::ChildOrder() const
{
    static const QStringList order{QStringLiteral("DtAndPlcOfBirth"), QStringLiteral("Othr")};
    return order;
}

TXMLDateAndPlaceOfBirth::TXMLDateAndPlaceOfBirth(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLDateAndPlaceOfBirth::BirthDt() const { return ChildText(QStringLiteral("BirthDt")); }
void TXMLDateAndPlaceOfBirth::SetBirthDt(const QString &value) { SetChildText(QStringLiteral("BirthDt"), value); }
QString TXMLDateAndPlaceOfBirth::PrvcOfBirth() const { return ChildText(QStringLiteral("PrvcOfBirth")); }
void TXMLDateAndPlaceOfBirth::SetPrvcOfBirth(const QString &value) { SetChildText(QStringLiteral("PrvcOfBirth"), value); }
QString TXMLDateAndPlaceOfBirth::CityOfBirth() const { return ChildText(QStringLiteral("CityOfBirth")); }
void TXMLDateAndPlaceOfBirth::SetCityOfBirth(const QString &value) { SetChildText(QStringLiteral("CityOfBirth"), value); }
QString TXMLDateAndPlaceOfBirth::CtryOfBirth() const { return ChildText(QStringLiteral("CtryOfBirth")); }
void TXMLDateAndPlaceOfBirth::SetCtryOfBirth(const QString &value) { SetChildText(QStringLiteral("CtryOfBirth"), value); }
const QStringList &TXMLDateAndPlaceOfBirth::ChildOrder() const
{
    static const QStringList order{QStringLiteral("BirthDt"), QStringLiteral("PrvcOfBirth"), QStringLiteral("CityOfBirth"), QStringLiteral("CtryOfBirth")};
    return order;
}

TXMLGenericPersonIdentification1::TXMLGenericPersonIdentification1(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLGenericPersonIdentification1::Id() const { return ChildText(QStringLiteral("Id")); }
void TXMLGenericPersonIdentification1::SetId(const QString &value) { SetChildText(QStringLiteral("Id"), value); }
TXMLPersonIdentificationSchemeName1Choice *TXMLGenericPersonIdentification1::SchmeNm() { return Child<TXMLPersonIdentificationSchemeName1Choice>(QStringLiteral("SchmeNm")); }
QString TXMLGenericPersonIdentification1::Issr() const { return ChildText(QStringLiteral("Issr")); }
void TXMLGenericPersonIdentification1::SetIssr(const QString &value) { SetChildText(QStringLiteral("Issr"), value); }
const QStringList &TXMLGenericPersonIdentification1::ChildOrder() const
{
    static const QStringList order{QStringLiteral("Id"), QStringLiteral("SchmeNm"), QStringLiteral("Issr")};
    return order;
}

TXMLContactDetails2::TXMLContactDetails2(const QString &nodeName)
    : TVtXMLNode(nodeName)
{
}
QString TXMLContactDetails2::NmPrfx() const { return ChildText(QStringLiteral("NmPrfx")); }
void TXMLContactDetails2::SetNmPrfx(const QString &value) { SetChildText(QStringLiteral("NmPrfx"), value); }
QString TXMLContactDetails2::Nm() const { return ChildText(QStringLiteral("Nm")); }
void TXMLContactDetails2::SetNm(const QString &value) { SetChildText(QStringLiteral("Nm"), value); }
QString TXMLContactDetails2::PhneNb() const { return ChildText(QStringLiteral("PhneNb")); }
void TXMLContactDetails2::SetPhneNb(const QString &value) { SetChildText(QStringLiteral("PhneNb"), value); }
QString TXMLContactDetails2::MobNb() const { return ChildText(QStringLiteral("MobNb")); }
void TXMLContactDetails2::SetMobNb(const QString &value) { SetChildText(QStringLiteral("MobNb"), value); }
QString TXMLContactDetails2::FaxNb() const { return ChildText(QStringLiteral("FaxNb")); }
void TXMLContactDetails2::SetFaxNb(const QString &value) { SetChildText(QStringLiteral("FaxNb"), value); }
QString TXMLContactDetails2::EmailAdr() const { return ChildText(QStringLiteral("EmailAdr")); }
void TXMLContactDetails2::SetEmailAdr(const QString &value) { SetChildText(QStringLiteral("EmailAdr"), value); }
QString TXMLContactDetails2::Othr() const { return ChildText(QStringLiteral("Othr")); }
void TXMLContactDetails2::SetOthr(const QString &value) { SetChildText(QStringLiteral("Othr"), value); }
const QStringList &TXMLContactDetails2::ChildOrder() const
{
    static const QStringList order{QStringLiteral("NmPrfx"), QStringLiteral("Nm"), QStringLiteral("PhneNb"), QStringLiteral("MobNb"), QStringLiteral("FaxNb"), QStringLiteral("EmailAdr"), QStringLiteral("Othr")};
    return order;
}

// ---------------------------------------------------------------------------
// Creating and saving

std::unique_ptr<TXMLCBISDDReqLogMsg000100> NewCBISDDReqLogMsg()
{
    return std::make_unique<TXMLCBISDDReqLogMsg000100>();
}

QByteArray RemoveEmptyNamespaceDeclarations(QByteArray line)
{
    static const QByteArray declaration = QByteArrayLiteral(" xmlns=\"\"");
    // Case-insensitive over ASCII: lowering bytes keeps UTF-8 sequences and
    // positions intact.
    QByteArray lowered = line.toLower();
    qsizetype at = lowered.lastIndexOf(declaration);
    while (at >= 0) {
        line.remove(at, declaration.size());
        at = at > 0 ? lowered.lastIndexOf(declaration, at - 1) : -1;
    }
    return line;
}

// The declaration never spans a line, and two of them cannot overlap, so one
// pass over the whole text finds the same ones as the line-by-line cleaning.
namespace {

constexpr qsizetype kDeclarationLength = 9; // ' xmlns=""'

bool isDeclarationAt(const char *p)
{
    static const char name[] = "xmlns";
    if (p[0] != ' ')
        return false;
    for (int i = 0; i < 5; ++i) {
        char c = p[1 + i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != name[i])
            return false;
    }
    return true;
}

// Appends text to out without its declarations, holding back up to hold
// bytes at the end that are not part of one; returns how many it held.
qsizetype cleanInto(const QByteArray &text, qsizetype hold, QByteArray &out)
{
    const char *const begin = text.constData();
    const qsizetype size = text.size();
    qsizetype copied = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf("=\"\"", from);
        if (at < 0)
            break;
        const qsizetype start = at - 6;
        if (start >= copied && isDeclarationAt(begin + start)) {
            out.append(begin + copied, start - copied);
            copied = start + kDeclarationLength;
        }
        from = at + 1;
    }
    const qsizetype end = qMax(copied, size - hold);
    out.append(begin + copied, end - copied);
    return size - end;
}

} // namespace

void TEmptyNamespaceCleaner::Feed(const char *data, qsizetype size, QByteArray &out)
{
    m_pending.append(data, size);
    // The last bytes may be the start of a declaration the next piece ends.
    const qsizetype kept = cleanInto(m_pending, kDeclarationLength - 1, out);
    m_pending.remove(0, m_pending.size() - kept);
}

void TEmptyNamespaceCleaner::Finish(QByteArray &out)
{
    cleanInto(m_pending, 0, out);
    m_pending.clear();
}

bool CleanCBISDDReqLogMsgFile(const QString &fileName, QString *errorText)
{
    return VtRewriteFileLines(
        fileName,
        [](QByteArray &line, QString *) {
            line = RemoveEmptyNamespaceDeclarations(line);
            return true;
        },
        errorText);
}

namespace {

QString saveError(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Impossibile scrivere il file \"%1\": %2").arg(QDir::toNativeSeparators(fileName), reason);
}

} // namespace

bool SaveCBISDDReqLogMsg(const TXMLCBISDDReqLogMsg000100 &message, const QString &fileName,
                         QString *errorText)
{
    // The stale copy goes first, so that failing to delete it leaves the
    // user's file untouched.
    if (!VtRemoveSideCopy(fileName, errorText))
        return false;

    // Written under a temporary name in the same folder and put in place by
    // commit(): until then an existing file is left as it was, and a
    // failure leaves nothing behind.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (errorText)
            *errorText = saveError(fileName, file.errorString());
        return false;
    }
    TEmptyNamespaceCleaner filter;
    QByteArray cleaned;
    const auto write = [&file, &cleaned] {
        const bool ok = file.write(cleaned) == cleaned.size();
        cleaned.resize(0);
        return ok;
    };
    const bool written = message.OwnerDocument()->Write([&](const char *data, qsizetype size) {
        filter.Feed(data, size, cleaned);
        return write();
    });
    if (written) {
        filter.Finish(cleaned);
        if (write() && file.commit())
            return true;
    }
    if (errorText)
        *errorText = saveError(fileName, file.errorString());
    file.cancelWriting();
    return false;
}

#include "EbdMConn.h"

TdmEbdConn *dmEbdConn = nullptr;

TdmEbdConn::TdmEbdConn(QObject *parent)
    : TdmVtConnection(parent),
      xqcSprIst(new TVtQueryCollection(this)),
      xqcCai(new TVtQueryCollection(this)),
      xqcTcc(new TVtQueryCollection(this)),
      qquTmp(new TSQLQuery(this)),
      xqcAluGen(new TVtQueryCollection(this)),
      xqcAcbCau(new TVtQueryCollection(this)),
      xqcCacAcbCau(new TVtQueryCollection(this)),
      xqcDote(new TVtQueryCollection(this)),
      xqcAcconti(new TVtQueryCollection(this))
{
    xqoMain->CodAppl = QStringLiteral("EBD");
    xqoMain->DBVersion = QStringLiteral("6.94.02");
    xqcSprIstISPRISTID = xqcSprIstSSPRISTSTATO = xqcSprIstSSPRISTCININT = xqcSprIstSSPRISTCIN = nullptr;
    xqcSprIstSSPRISTNUMCC = xqcSprIstSSPRISTINTEST = xqcSprIstDSTART = xqcSprIstDEND = nullptr;
    xqcSprIstISPRID = xqcSprIstSSPRCAB = xqcSprIstSSPRDESCS = xqcSprIstSINDCOM = nullptr;
    xqcSprIstIBANID = xqcSprIstSBANABI = xqcSprIstSBANDESCS = xqcSprIstICBAID = xqcSprIstsTipoConto = nullptr;
}

TdmEbdConn::~TdmEbdConn() = default;

void TdmEbdConn::RefreshCompCaus() {}
void TdmEbdConn::SetupSprIst() {}
void TdmEbdConn::SetupCai() {}
void TdmEbdConn::SetupTcc() {}
void TdmEbdConn::SetupAluGen() {}
void TdmEbdConn::SetupAcbCau() {}
void TdmEbdConn::SetupCacAcbCau() {}
void TdmEbdConn::SetupDote() {}
void TdmEbdConn::SetupAcconti() {}
void TdmEbdConn::xqcSprIstCalcFields(TVtQueryCollection *) {}
void TdmEbdConn::xqcCaiAfterOpen(TVtQueryCollection *) {}
void TdmEbdConn::xqcTccAfterOpen(TVtQueryCollection *) {}
void TdmEbdConn::xqcAluGenBeforeOpen(TVtQueryCollection *) {}

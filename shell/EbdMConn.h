#pragma once
#include <QPointer>
#include "dmVtConnection.h"
#include "VtQueryCollection.h"
#include "VtSQLQuery.h"

#include <functional>

// The program's connection module: it owns the database connection and the
// query collections that several windows share (institute accounts, cash
// rows and totals, pupils' bank coordinates with their fee reasons,
// instalments, grants and advances).
class TdmEbdConn : public TdmVtConnection
{
    Q_OBJECT
public:
    explicit TdmEbdConn(QObject *parent = nullptr);
    ~TdmEbdConn() override;

    // Institute accounts of the data-owner group (closed ones hidden by the
    // filter "dEnd IS NULL" until a window switches it off).
    TVtQueryCollection *xqcSprIst;
    // Cash rows of an account, one per financial year.
    TVtQueryCollection *xqcCai;
    // Totals by component typology of an account and financial year.
    TVtQueryCollection *xqcTcc;
    // Persistent fields of xqcSprIst.
    TVtField *xqcSprIstISPRISTID;
    TVtField *xqcSprIstSSPRISTSTATO;
    TVtField *xqcSprIstSSPRISTCININT;
    TVtField *xqcSprIstSSPRISTCIN;
    TVtField *xqcSprIstSSPRISTNUMCC;
    TVtField *xqcSprIstSSPRISTINTEST;
    TVtField *xqcSprIstDSTART;
    TVtField *xqcSprIstDEND;
    TVtField *xqcSprIstISPRID;
    TVtField *xqcSprIstSSPRCAB;
    TVtField *xqcSprIstSSPRDESCS;
    TVtField *xqcSprIstSINDCOM;
    TVtField *xqcSprIstIBANID;
    TVtField *xqcSprIstSBANABI;
    TVtField *xqcSprIstSBANDESCS;
    TVtField *xqcSprIstICBAID;
    TVtField *xqcSprIstsTipoConto;
    // Scratch query for one-off reads.
    TSQLQuery *qquTmp;
    // Pupils' bank coordinates of the working school year.
    TVtQueryCollection *xqcAluGen;
    // Fee reasons of one pupil's coordinates.
    TVtQueryCollection *xqcAcbCau;
    // Instalments of one pupil's coordinates.
    TVtQueryCollection *xqcCacAcbCau;
    // School grants of one pupil's coordinates in a school year.
    TVtQueryCollection *xqcDote;
    // Advances of one instalment (fetched 25 at a time).
    TVtQueryCollection *xqcAcconti;

    // Edit flag of xqcSprIst raised by the window when the closing date was
    // set or cleared in this edit: only then the update runs the procedure
    // that locks or unlocks the account's movements.
    static inline const QString SprIstClosingChanged = QStringLiteral("ClosingChanged");
    void xqcSprIstVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop, bool &execute);
    // Accounts are closed, not deleted: the working account refuses with its
    // own warning, any other with the hint to close it.
    void xqcSprIstBeforeDelete(TVtQueryCollection *ds);

    // The rules of the collections that belong to a subsystem above the
    // shell (the billing hooks): installed on every connection module from
    // its creation on, once registered by the program's composition.
    using THookInstaller = std::function<void(TdmEbdConn *module)>;
    static void AddHookInstaller(THookInstaller installer);

    // Refreshes the fee data-sets module's components and reasons, each only
    // when it is open. That module adds its two collections when created.
    void RefreshCompCaus();
    void AddCompCausView(TVtQueryCollection *collection);

private:
    QList<QPointer<TVtQueryCollection>> m_compCausViews;
    void SetupSprIst();
    void SetupCai();
    void SetupTcc();
    void SetupAluGen();
    void SetupAcbCau();
    void SetupCacAcbCau();
    void SetupDote();
    void SetupAcconti();
    void xqcSprIstCalcFields(TVtQueryCollection *ds);
    void xqcCaiAfterOpen(TVtQueryCollection *ds);
    void xqcTccAfterOpen(TVtQueryCollection *ds);
};

extern TdmEbdConn *dmEbdConn;

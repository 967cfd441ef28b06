#pragma once
#include "VtMoney.h"

#include <QObject>

class TdmEbdConn;
class TVtQueryCollection;
class TVtQueryProp;

// The write rules of the billing collections of the connection module:
// holders, their assigned reasons, instalments, grants and advances. Installed on the
// module when it is created (owned by it), so the collections keep their
// rules whichever window, or none, works on them.
class TdmEbdBilling : public QObject
{
    Q_OBJECT
public:
    explicit TdmEbdBilling(TdmEbdConn *conn);

    // Registers the installation with the connection module (the program's
    // composition does it once, before any connection module is created).
    static void Register();

    // Edit flag of xqcDote: the user chose to give the spread part back
    // before the grant goes.
    static inline const QString UndoSpread = QStringLiteral("UndoSpread");

    // The assignment's unpaid instalments take the percentage, where the
    // component covers the deductions.
    static void ApplyPercentage(int iAcbCauId, double percentage);
    // An instalment of the assignment (of any assignment of the holder, in
    // any year) carries money: a payment date, a grant part of a whole euro
    // or more, or an advance.
    static bool AssignmentHasMoney(int iAcbCauId);
    static bool HolderHasMoney(int iAcbId);
    // The current instalment of the list has a payment date.
    static bool CurrentInstalmentPaid(TVtQueryCollection *instalments);
    // An advance of the amount fits the current instalment of the list:
    // above zero and within what is left to pay as stored (plus the stored
    // amount of the advance being edited).
    static bool AdvanceFits(TVtQueryCollection *instalments, const TVtMoney &amount, const TVtMoney &stored);

private:
    void xqcAluGenBeforeOpen();
    void xqcAluGenBeforeDelete(TVtQueryCollection *ds);
    void xqcAcbCauVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop);
    void xqcAcbCauVtAfterExec(TVtQueryCollection *ds, TVtQueryProp &prop);
    void xqcAcbCauBeforePost(TVtQueryCollection *ds);
    void xqcAcbCauBeforeDelete(TVtQueryCollection *ds);
    void xqcCacAcbCauVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop);
    void xqcCacAcbCauBeforePost(TVtQueryCollection *ds);
    void xqcCacAcbCauBeforeDelete(TVtQueryCollection *ds);
    void xqcDoteBeforeDelete(TVtQueryCollection *ds);
    void xqcDoteVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop);
    void xqcDoteBeforePost(TVtQueryCollection *ds);
    void xqcAccontiBeforeInsert();
    void xqcAccontiRefuseLocked(TVtQueryCollection *ds);
    void xqcAccontiBeforePost(TVtQueryCollection *ds);
    void xqcAccontiVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop);
    void xqcAccontiVtAfterExec(TVtQueryCollection *ds, TVtQueryProp &prop);
    void RefreshInstalments();

    TdmEbdConn *m_conn;
};

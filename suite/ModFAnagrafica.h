#pragma once
#include "fmVtChildDB.h"

#include <QList>
#include <QPair>
#include <QVariant>

class QTabWidget;
class TfrVtDB;
class TfrVtDBROGrid;
class TVtParams;
class TVtQueryCollection;
class TVtSQLConnection;

// The people registry window: the people of the admitted categories (grid
// frAnagrafica over xqcAnagrafica: surname, name, fiscal code, birth date,
// town of the first dwelling) above the detail tabs pcDettagli, one per
// detail frame, each following the person chosen in the grid.
class TfmModAnagrafica : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmModAnagrafica(QWidget *parent = nullptr);

    TVtQueryCollection *xqcAnagrafica;
    TfrVtDBROGrid *frAnagrafica;
    QTabWidget *pcDettagli;

    // Connection of the window's collections (the global one when null).
    void SetConnection(TVtSQLConnection *conn);
    // Builds the list for the categories and the filter (see TdmModAnaAtt),
    // creates the detail frames by class name, with their tab captions, in the
    // given order, and opens everything. A class that is not registered, or
    // that is no data frame, is skipped.
    void Setup(const QList<int> &admitted, const QList<int> &hidden, const QString &filterSpecifics,
               const QList<QPair<QString, QString>> &frames);

    QList<TfrVtDB *> DetailFrames() const { return m_details; }
    // The person the detail frames show (null when none).
    QVariant CurrentAnaId() const { return m_anaId; }

    // The registry select for the categories and the filter specifics; the
    // filter's values become parameters of params.
    static QString BuildCommandText(const QList<int> &admitted, const QList<int> &hidden,
                                    const QString &filterSpecifics, TVtParams &params);

private:
    void FollowPerson(bool force);

    QList<TfrVtDB *> m_details;
    TVtSQLConnection *m_conn = nullptr;
    QVariant m_anaId;
    bool m_followed = false;
};

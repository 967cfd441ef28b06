#pragma once
#include <QDate>
#include <QObject>
#include <QString>

class TSQLQuery;
class TVtQueryCollection;
class TVtQueryProp;

// The budget's query module: the aggregates, the items and projects and
// their sub-items on the global connection, 25 rows at a time, and what the
// two frames of the items window share while one of them saves.
class TdmVproDBQuery : public QObject
{
    Q_OBJECT
public:
    explicit TdmVproDBQuery(QObject *owner = nullptr);
    ~TdmVproDBQuery() override;

    TVtQueryCollection *xqcAggregati;
    TVtQueryCollection *xqcVoci;
    TVtQueryCollection *xqcSottoVoci;
    TSQLQuery *qquTmp;

    // Shared by the frames.
    int CurrentVproId = -1;        // the current item
    int VproCorId = 0;             // account kind to write for the item: 1, 2, 3
    int SvoCorId = 0;              // and for the sub-item
    int TckId = -1;                // ITCKID to write on an insert; -1 none
    bool VproCompetenza = false;   // the stored flags of the current item
    bool VproResidui = false;
    bool SvoCompetenza = false;    // and of the current sub-item
    bool SvoResidui = false;
    QDate VproStart, VproEnd;      // the dates of the item being saved

    // "SI"/"NO" of the competence and residues accounts of a kind (empty
    // for any kind but 1, 2, 3).
    static QString Competenza(int corId);
    static QString Residui(int corId);

private:
    void SetupAggregati();
    void SetupVoci();
    void SetupSottoVoci();
    void xqcAggregatiVtBeforeExec(TVtQueryProp &prop);
    void xqcVociAfterScroll();
    void xqcVociVtBeforeExec(TVtQueryProp &prop);
    void xqcVociVtAfterExec(TVtQueryProp &prop);
    void xqcSottoVociVtBeforeExec(TVtQueryProp &prop);
};

// The module once created (by the budget commands, on first use).
extern TdmVproDBQuery *dmVproDBQuery;

#pragma once
#include "EbdURptDataSets.h"
#include "EbdUReportModule.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

class QWidget;
class TdmEbsReport;
class TdmVtRptFR;
class TfrDBDataSet;
class TfrReport;
class TVtfrDBDataSet;
class TVtQueryCollection;

// The data the billing templates read: the bank list by payment mode, class
// and holder, receipts, totals per class and component, reconciliations per
// pupil and per paying holder, direct-debit authorisations, the expense
// statement, siblings and seats. Its handlers ask the selection dialogs,
// fill the parameters and chain masters and details while the engine prints;
// it answers the engine's variables. It creates the fee-structure module.
class TdmEbdReport : public QObject, public TEbdReportModule
{
    Q_OBJECT
public:
    explicit TdmEbdReport(QObject *parent = nullptr);
    ~TdmEbdReport() override;

    TdmEbsReport *EbsReport() const { return m_ebs; }

    TVtQueryCollection *qquClassi;
    TVtQueryCollection *qquCompXCls;
    TVtQueryCollection *qquRicevutaXClasse;
    TVtQueryCollection *qquElencoXClasse;
    TVtQueryCollection *qquTipoPagam;
    TVtQueryCollection *qquClasse;
    TVtQueryCollection *qquIntestatario;
    TVtQueryCollection *qquRicevuta_Tutto;
    TVtQueryCollection *qquRiscontroAlu;
    TVtQueryCollection *qquRiscontroAluPag;
    TVtQueryCollection *qquVersamenti;
    TVtQueryCollection *qquVersamentiPag;
    TVtQueryCollection *qquDoteResidua;
    TVtQueryCollection *qquAutorizRid;
    TVtQueryCollection *qquSpesometro;
    TVtQueryCollection *qquGenitori;
    TVtQueryCollection *qquFratelli;
    TVtQueryCollection *qquSedi;
    TVtQueryCollection *qquAttestazione;

    TVtfrDBDataSet *frdClassi;
    TVtfrDBDataSet *frbElencoXClasse;
    TVtfrDBDataSet *frdRiscontroAlu;
    TVtfrDBDataSet *frdRiscontroAluPag;
    TVtfrDBDataSet *frdAutorizRid;
    TVtfrDBDataSet *frdAttestazione;

    // TEbdReportModule
    void Setup() override;
    void Refresh() override;
    void RouteEvents(TdmVtRptFR *engine) override;

    // The engine's variables; false for a name neither module knows.
    bool GetValue(const QString &name, QVariant &value) const;
    // The names it answers, for the designer.
    static QStringList VariableNames();

    // The dates of the direct debits being exported (the bank export wizard).
    void SetRidDates(const QDate &start, const QDate &end);

    // The template being printed, a customised copy mapped to its base; -1
    // when nothing prints.
    int BaseRptId() const;

    // Shared state of the handlers.
    QDate RangeAStart, RangeAEnd;   // bank list
    int ModeA = 0;                  // 0: every mode
    QDate RangeBStart, RangeBEnd;   // totals and receipts per class
    int ModeB = -1;                 // -1: every mode
    QString ModeBDesc;
    int ModeC = 0;                  // receipts by class; 0: none
    QDate ReportStart, ReportEnd;   // "Data inizio", "Data fine"
    QDate RidStart, RidEnd;         // dInizioRid, dFineRid

    // Every dataset of both modules; the client datasets of both.
    QList<TVtQueryCollection *> AllDataSets() const;
    QList<TVtQueryCollection *> AllClientDataSets() const;
    void CloseDataSets();
    // The field-list step of the designer: each client dataset opened once
    // without rows, its text and parameters as they were.
    void PrepareMetadata();

    // The generic handlers, published by name for templates with datasets of their own.
    void SetDateAfterSelectForm(TfrReport *report, TfrDBDataSet *dataSet);
    void SetSprIstIdBeforeOpen(TfrReport *report, TfrDBDataSet *dataSet);
    void SetCommonParamsBeforeOpen(TfrReport *report, TfrDBDataSet *dataSet);

    // The yearly statement's rows of the payers in the list ("IN (%1)").
    static QString AttestazioneSQL(const QString &payers);

    // The text of the receipts' statement with its two conditions.
    QString RicevutaXClasseSQL(const QString &first, const QString &second) const;
    QString CompXClsSQL(const QString &components) const;

private:
    TVtQueryCollection *NewQuery(const QString &name, bool client) { return m_sets.NewQuery(name, client); }
    TfrDBDataSet *Publish(const QString &name, TVtQueryCollection *q, bool client, const QString &form = QString())
    {
        return m_sets.Publish(name, q, client, form);
    }
    void SetTexts();

    // Bank list
    void TipoPagamBeforeOpen();
    void TipoPagamAfterScroll();
    void ClasseBeforeOpen();
    void ClasseAfterScroll();
    void IntestatarioBeforeOpen();
    // Classes and components
    void ClassiBeforeSelect(QWidget *form);
    void ClassiAfterSelect(QWidget *form);
    void ClassiAfterScroll();
    // Receipts by class
    void ElencoXClasseBeforeSelect(QWidget *form);
    void ElencoXClasseAfterSelect(QWidget *form, bool confirmed);
    void ElencoXClasseAfterScroll();
    void RicevutaXClasseBeforeOpen();
    // Reconciliations
    void RiscontroBeforeSelect(QWidget *form, bool perHolder);
    void RiscontroAluAfterScroll();
    void RiscontroAluPagAfterScroll();
    void ReopenDoteResidua(const QVariant &iAcbId);
    // Others
    void AutorizRidBeforeSelect(QWidget *form);
    void GenitoriAfterScroll();
    // Yearly statement
    void AttestazioneAfterSelect(QWidget *form);
    void TellStatementFiles(bool completed, const QStringList &files);
    int m_statementYear = 0;
    int m_statementOutput = 0;
    QString m_statementTarget;

    TdmEbsReport *m_ebs = nullptr;
    QPointer<TdmVtRptFR> m_engine;
    QPointer<TfrReport> m_printing;
    int m_ansElenco = 0;            // the class dialog's school year
    QStringList m_componentIds;     // the ticked components of the class dialog
    TRptDataSetList m_sets{this};
};

extern TdmEbdReport *dmEbdReport;

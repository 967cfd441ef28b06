#pragma once
// "Storno esportazioni Rid": the SEPA direct-debit files written from the
// working account, latest first, with their debits. The debits the bank
// returned are ticked and cancelled together: their instalments are open
// again (when the export recorded the payments), all of them or none.
#include "VtMoney.h"

#include <QDialog>
#include <QList>
#include <QSet>

class QLabel;
class QPainter;
class QPushButton;
class TVtDataSource;
class TVtDBGrid;
class TVtQueryCollection;

class TfmEbdStornoRid : public QDialog
{
    Q_OBJECT
public:
    explicit TfmEbdStornoRid(QWidget *parent = nullptr);
    ~TfmEbdStornoRid() override;

    QLabel *laEsportazioni;
    TVtDBGrid *grEsportazioni;
    QLabel *laDisposizioni;
    TVtDBGrid *grDisposizioni;
    QPushButton *buSelezionaTutto;
    QPushButton *buStorna;
    QPushButton *buChiudi;

    // The exports of the working account and the debits of the chosen one.
    TVtQueryCollection *cdsEsportazioni;
    TVtQueryCollection *cdsDisposizioni;

    // Reads both lists again, keeping the chosen export when it is still there.
    void Refresh();
    // The chosen export; 0 when the account has none.
    int CurrentExport() const;
    // Chooses an export (its debits are read); false when it is not listed.
    bool SelectExport(int iEsdId);

    // The debits' ticks, by row of cdsDisposizioni: only a debit not yet
    // cancelled has one.
    bool Tickable(int row) const;
    bool Ticked(int row) const;
    void SetTicked(int row, bool on);
    // "Seleziona tutto": every debit not cancelled.
    void SelectAll();
    // The ticked debits not cancelled (iEtxId), in the order of the list.
    QList<int> TickedDebits() const;
    // Their total.
    TVtMoney TickedTotal() const;
    // "Storna": asks, then cancels the ticked debits in one transaction.
    void Storna();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void LoadExports(int keep);
    void LoadDebits();
    void UpdateButtons();
    void Toggle(int row);
    void PaintTick(QPainter *painter, const QRect &cell, int row) const;
    int DebitId(int row) const;
    // Runs the cancellation of the debits; the instalments opened again.
    static int CancelDebits(const QList<int> &debits);

    TVtDataSource *m_dsEsportazioni;
    TVtDataSource *m_dsDisposizioni;
    QSet<int> m_ticked;        // iEtxId
    bool m_loading = false;    // the exports are being read: the debits follow after
};

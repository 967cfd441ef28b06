#pragma once
#include "fmVtuSelRptAnnoScol.h"

#include <QDate>
#include <QVariantList>

class QAction;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QListWidget;

// The classes, fee components and totals range of the class/component
// reports; the caller sets the caption and the class select. The school-year
// combo is hidden. The check list holds the components of the fee-reasons
// year (EBSP_CauAnsId); its pop-up menu ticks, unticks or inverts them all.
// When the dialog shows, "Totali dal" and "al" take the working school
// year's dAnsInizio and dAnsFine. The payment mode is offered only when the
// caller shows it (ModPagamVisible, for base template 44024). OK with no
// component ticked is refused.
class TfmEbdRptSelClsComp : public TfmVtuSelRptAnnoScol
{
    Q_OBJECT
    Q_PROPERTY(QVariantList CompIds READ CompIds)
    Q_PROPERTY(QDate StartDate READ StartDate)
    Q_PROPERTY(QDate EndDate READ EndDate)
    Q_PROPERTY(int MpgId READ MpgId)
    Q_PROPERTY(QString MpgDesc READ MpgDesc)
    Q_PROPERTY(bool ModPagamVisible READ ModPagamVisible WRITE SetModPagamVisible)
public:
    explicit TfmEbdRptSelClsComp(QWidget *parent = nullptr);

    QLabel *laDal;
    QDateEdit *dtpDal;
    QLabel *laAl;
    QDateEdit *dtpAl;
    QLabel *laModPagam;
    QComboBox *cbModPagam;
    QGroupBox *gbComponenti;
    QListWidget *lbComponenti;
    QAction *acSelectAll;
    QAction *acSelectNone;
    QAction *acInvert;

    // Ids of the ticked components, in list order.
    QVariantList CompIds() const;
    QDate StartDate() const;
    QDate EndDate() const;
    // The chosen payment mode; -1 and an empty text when none is chosen.
    int MpgId() const;
    QString MpgDesc() const;

    bool ModPagamVisible() const { return !m_modPagamHidden; }
    void SetModPagamVisible(bool on);

    // Reads the components of the fee-reasons year again (ticks are lost).
    void LoadComponents();

protected:
    bool CanAccept() override;
    void showEvent(QShowEvent *event) override;

private:
    void SetYearDates();

    bool m_modPagamHidden = true;
};

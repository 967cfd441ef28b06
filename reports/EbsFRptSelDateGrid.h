#pragma once
#include "EbsFRptSelDate.h"

class QComboBox;

// The date range and the fee reasons with account movements in it: the
// grid lists each reason once (with its school year and the sum of its
// components' institute amounts) that has a movement whose movement date or
// statement date lies in the range, of the type chosen in the combo
// ("ENTRATE" incoming, "USCITE" outgoing; the combo shows only when the
// caller asks for it). The grid is read again when the dialog shows and on
// every change of the combo or of either date. The caller sets the caption.
class TfmEbsRptSelDateGrid : public TfmEbsRptSelDate
{
    Q_OBJECT
    Q_PROPERTY(bool TipoVisible READ TipoVisible WRITE SetTipoVisible)
    Q_PROPERTY(int CauTipo READ CauTipo)
    Q_PROPERTY(QVariantList CauIds READ SelectedKeys)
public:
    explicit TfmEbsRptSelDateGrid(QWidget *parent = nullptr);

    QComboBox *cbTipo;

    bool TipoVisible() const { return m_tipoVisible; }
    void SetTipoVisible(bool on);
    // The combo's index: 0 incoming, 1 outgoing.
    int CauTipo() const;

    // The select of the reasons.
    static QString ReasonsSQL();
    // Runs the select for the dates and the type shown.
    void Requery();

protected:
    void showEvent(QShowEvent *event) override;
    void DatesChanged() override;

private:
    bool m_tipoVisible = false;
};

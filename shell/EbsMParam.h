#pragma once
#include "dmVtuParams.h"

#include <QMap>
#include <QPointer>

class QComboBox;
class QLineEdit;

// Parameters of the fee structure: the school year of the reasons, the
// default incoming and outgoing reasons with their amounts, the post-office
// branch and the town. Extends the framework's parameter module with these
// parameters and the cascades of their combos.
class TdmEbsParam : public TdmVtuParams
{
    Q_OBJECT
public:
    explicit TdmEbsParam(QObject *parent = nullptr);
    ~TdmEbsParam() override;

    // Categories of the program's parameters.
    static QString MovimentiCategory() { return QStringLiteral("EBCC_Movimenti"); }
    static QString DefaultCategory() { return QStringLiteral("EBSC_Default"); }

    // Choices made in the open dialog: the working school year and the
    // school year of the reasons (0 until chosen, -1 when cleared).
    int DlgAnsId() const { return m_dlgAnsId; }
    int DlgCauAnsId() const { return m_dlgCauAnsId; }
    bool AllCausali() const { return m_allCausali; }
    void SetAllCausali(bool on) { m_allCausali = on; }

    // Selects of the combos (first column id, second text).
    static QString CauAnsListSQL(int iAnsId);
    static QString BranchListSQL();
    static QString TownListSQL();

    // Cascades (raised by the user's choice in a combo; callable directly).
    void AnsIdChanged();
    void CauAnsIdChanged();
    void CausaleChanged(QComboBox *combo);
    void BranchChanged();
    void TownChanged();

protected:
    void xpmVtuParamsAfterCreateCtrl(QWidget *ctrl, TVtXMLParam *param, bool &doDefault) override;
    void xpmVtuParamsFillListParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault) override;
    void xpmVtuParamsReadParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault) override;
    void xpmVtuParamsWriteParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault) override;

    // The id of the combo's chosen item; 0 when none (or the empty item).
    static int ComboId(const QComboBox *combo);

private:
    int CausaliAnsId() const;
    void FillCauAnsList(int iAnsId);
    void FillCausali(QComboBox *combo, int tipo);
    void FillTowns(int iSprId);
    QLineEdit *AmountEdit(const QString &name) const;
    QLineEdit *OutAmountEdit() const;

    int m_dlgAnsId = 0;
    int m_dlgCauAnsId = 0;
    bool m_allCausali = true;
    QPointer<QComboBox> m_cbAnsId;
    QPointer<QComboBox> m_cbCauAnsId;
    QPointer<QComboBox> m_cbCausaleIn;
    QPointer<QComboBox> m_cbCausaleOut;
    QPointer<QComboBox> m_cbBranch;
    QPointer<QComboBox> m_cbTown;
    QMap<QString, QPointer<QLineEdit>> m_amountEdits;   // by upper-case name
};

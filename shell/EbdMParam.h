#pragma once
#include "EbsMParam.h"
#include "VtUtils.h"

#include <QLabel>
#include <QList>
#include <QPointer>

class QComboBox;

// The program's parameter module: the working account, the working
// financial year and the view mode on top of the fee-structure parameters,
// with the cascades group -> financial years -> accounts and
// account -> financial years, and the account's kind shown beside its combo.
class TdmEbdParam : public TdmEbsParam
{
    Q_OBJECT
public:
    explicit TdmEbdParam(QObject *parent = nullptr);
    ~TdmEbdParam() override;

    // Selects of the combos. anfId 0: accounts without the year condition.
    static QString AnfListSQL(int iSprIstId);
    static QString DwgAnfListSQL(int iDwgId);
    // Accounts of the group valid in the financial year (all the group's
    // accounts when none is, or when anfId is 0), as (number, id).
    static QList<TVtEnumItem> ReadAccounts(int iDwgId, int iAnfId);

    // The kind label beside the account combo of the open dialog.
    QLabel *KindLabel() const { return m_lbKind.data(); }
    // The account id being edited in the open dialog.
    int SprIstId() const { return m_sprIstId; }

    // Cascades (raised by the user's choice; callable directly).
    void DwgChanged();
    void AnfChanged();
    void SprIstChanged();

protected:
    void xpmVtuParamsAfterCreateCtrl(QWidget *ctrl, TVtXMLParam *param, bool &doDefault) override;
    void xpmVtuParamsFillListParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault) override;
    void xpmVtuParamsReadParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault) override;
    void xpmVtuParamsWriteParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FillAccounts(int iDwgId, int iAnfId);
    void RefreshKindLabel(int iSprIstId);
    void PlaceKindLabel();

    QPointer<QComboBox> m_cbDwg;
    QPointer<QComboBox> m_cbSprIst;
    QPointer<QComboBox> m_cbAnf;
    QPointer<QLabel> m_lbKind;
    int m_sprIstId = 0;
};

extern TdmEbdParam *dmEbdParam;

#pragma once
#include "VtParamManager.h"

#include <QObject>

// Names of the framework's own working-context parameters.
inline constexpr const char *VtuPrmAnsId = "VTUP_AnsId";
inline constexpr const char *VtuPrmDwgId = "VTUP_DwgId";
// The framework's own financial year, which some programs use instead of theirs.
inline constexpr const char *VtuPrmAnfId = "VTUP_AnfId";

// The parameter data module: owns the manager xpmVtuParams with the
// framework's own parameters and handles its events through the virtual
// handlers below. An application's parameter module derives from it,
// registers its parameters in its constructor and overrides the handlers,
// each of which first calls the base class's handler.
//
// The framework's parameters (category "VTUP_Generale", page "Generale"):
//   VTUP_AnsId  working school year: combo of VAns_AnniScolast
//               (sAnsAnnoDesc, iAnsId), by iAnsValore;
//   VTUP_DwgId  data-owner group: combo of TDwg_DataOwnerGrp (its
//               description, iDwgId); schools only, and the groups of
//               schools too when SetShowAggregate(true).
// Both save the chosen id in decimal ("0" when none is chosen); their
// handlers save the value at once, so an override that calls the base
// WriteParam first finds it already in the store.
class TdmVtuParams : public QObject
{
    Q_OBJECT
public:
    explicit TdmVtuParams(QObject *parent = nullptr);
    ~TdmVtuParams() override;

    TVtParamManager *xpmVtuParams;

    void SetShowAggregate(bool on) { m_showAggregate = on; }
    bool ShowAggregate() const { return m_showAggregate; }

    static QString CategoryName() { return QStringLiteral("VTUP_Generale"); }

    // Selects of the two framework combos (first column id, second text).
    QString AnsListSQL() const;
    QString DwgListSQL() const;

protected:
    virtual void xpmVtuParamsBeforeCreateCtrl(QWidget *&ctrl, TVtXMLParam *param, bool &doDefault);
    virtual void xpmVtuParamsAfterCreateCtrl(QWidget *ctrl, TVtXMLParam *param, bool &doDefault);
    virtual void xpmVtuParamsFillListParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault);
    virtual void xpmVtuParamsReadParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault);
    virtual void xpmVtuParamsWriteParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault);

private:
    bool m_showAggregate = false;
};

// Text shown for the saved value of a framework parameter: the school
// year's description for VTUP_AnsId, the group's description for
// VTUP_DwgId; empty when unset or not found. Other names: the saved text.
QString GetVtuParamText(const QString &name);
// Description of a data-owner group (its own, or its school's short one).
QString GetDwgDesc(int iDwgId);

#pragma once
#include "dmVtAttivazioni.h"

#include <QPointer>
#include <QString>
#include <functional>

class TVtAttForm;

// Command module of the fee-structure and budget tables: reasons,
// components, aggregates, budget items, component typologies and payment
// modes. The application's command module moves these commands onto its
// own pages.
class TdmEbsAtt : public TdmVtAttivazioni
{
    Q_OBJECT
public:
    explicit TdmEbsAtt(QObject *owner = nullptr);
    ~TdmEbsAtt() override;

    TVtAttForm *xafAggregati;
    TVtAttForm *xafVoci;
    TVtAttForm *xafCausali;
    TVtAttForm *xafCompCaus;
    TVtAttForm *xafTipoCompCau;
    TVtAttForm *xafTipoPagamento;

    // Name of the financial-year parameter the budget commands read.
    QString ParamAnfIdName;
    QString HelpFileName;

    // Totals filter of the budget windows (kind 1 aggregates, 2 items):
    // true when the user confirmed it. Set by the budget module; until then
    // the budget windows open without a filter step.
    static inline std::function<bool(int kind)> RunTotalsFilter;
    // Creates the fee data-sets module with the command module (set by the
    // program's composition before the command modules are created).
    static inline std::function<QObject *(QObject *owner)> CreateDataSetsModule;
    // Creates the budget query module on first use (set by the budget module).
    static inline std::function<QObject *(QObject *owner)> CreateBudgetQueryModule;

    QObject *BudgetQueryModule() const { return m_budgetQuery; }

private:
    void xafBudgetBeforeExecute(TVtAttivazione *sender, bool &allow);
    TVtAttForm *NewFormCommand(const QString &name, const QString &caption, const QString &formClass);

    QPointer<QObject> m_budgetQuery;
    QPointer<QObject> m_dataSets;
};

extern TdmEbsAtt *dmEbsAtt;
// Windows the fee-structure commands opened (null once closed).
extern QPointer<QWidget> fmEbsCau;
extern QPointer<QWidget> fmEbsCca;

#pragma once
#include "fmVtChildDB.h"

class TfrEbsTipologie;
class TVtQueryCollection;
class TVtQueryProp;

// "Tipologie componenti causali": the typology tree the components are
// classified by and the cash book adds up to.
class TfmEbsTipologie : public TfmVtChildDB
{
    Q_OBJECT
public:
    explicit TfmEbsTipologie(QWidget *parent = nullptr);
    ~TfmEbsTipologie() override;

    TVtQueryCollection *xqcMaster;
    TfrEbsTipologie *frEbsTipologie;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void xqcMasterVtBeforeExec(TVtQueryProp &prop);
    void xqcMasterBeforeDelete();
};

#include "TestInput.h"
#include "VtDBEdit.h"
#include "VtGlobalValuesManager.h"

#include <QLineEdit>
#include <QTest>

void TypeText(TVtDBEdit *edit, const QString &text)
{
    edit->LineEdit()->setFocus();
    edit->LineEdit()->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit->LineEdit(), Qt::Key_Delete);
    else
        QTest::keyClicks(edit->LineEdit(), text);
}

void SetWorkingContext(int dwg, int ans, int anf, int account, int cauAns)
{
    xgvmGlobalVar->SetValues(QStringLiteral("VTUP_DwgId"), QString::number(dwg));
    xgvmGlobalVar->SetValues(QStringLiteral("VTUP_AnsId"), QString::number(ans));
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_AnfId"), QString::number(anf));
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_SprIstId"), QString::number(account));
    xgvmGlobalVar->SetValues(QStringLiteral("EBSP_CauAnsId"), QString::number(cauAns));
}

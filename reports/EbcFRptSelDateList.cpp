#include "EbcFRptSelDateList.h"
#include "VtGuard.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfmEbcRptSelDateList::TfmEbcRptSelDateList(QWidget *parent) : TfmEbsRptSelDateList(parent)
{
    setObjectName(u"fmEbcRptSelDateList"_s);
    ckAnnoScol = new QCheckBox(u"&Mostra anno scolastico"_s, gbComponenti);
    ckAnnoScol->setObjectName(u"ckAnnoScol"_s);
    gbComponenti->layout()->addWidget(ckAnnoScol);
    connect(ckAnnoScol, &QCheckBox::toggled, this, [this](bool on) { VtGuard([this, on] { AnnoScolToggled(on); }); });
}

bool TfmEbcRptSelDateList::MostraAnnoScol() const
{
    return ckAnnoScol->isChecked();
}

void TfmEbcRptSelDateList::SetMostraAnnoScol(bool on)
{
    ckAnnoScol->setChecked(on);
}

QString TfmEbcRptSelDateList::WithSchoolYear(const QString &sql)
{
    const QString field = u"Cca.sCcaLDesc"_s;
    const int at = sql.indexOf(field, 0, Qt::CaseInsensitive);
    if (at < 0)
        return sql;
    QString text = sql;
    text.insert(at + field.size(), u" || ' - ' || Ans.sAnsAnnoDesc sCcaAnsDesc"_s);
    return text;
}

void TfmEbcRptSelDateList::AnnoScolToggled(bool on)
{
    if (on) {
        m_callerSQL = CompSQL();
        SetCompSQL(WithSchoolYear(m_callerSQL));
    } else {
        SetCompSQL(m_callerSQL);
    }
    if (isVisible())
        LoadComponents();
}

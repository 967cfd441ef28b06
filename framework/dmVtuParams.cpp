#include "dmVtuParams.h"
#include "VtGlobalValuesManager.h"
#include "VtSQLConnection.h"
#include "VtUtils.h"

#include <QComboBox>
#include <QSqlQuery>

namespace {
bool IsFrameworkCombo(const TVtXMLParam *param)
{
    return param->IsNamed(QString::fromLatin1(VtuPrmAnsId)) || param->IsNamed(QString::fromLatin1(VtuPrmDwgId));
}

QVariant ScalarOf(const QString &sql, const QString &param, const QVariant &value)
{
    if (!qqoVtGlobConn || !qqoVtGlobConn->Connected())
        return QVariant();
    QSqlQuery q(qqoVtGlobConn->Database());
    q.prepare(sql);
    q.bindValue(param, value);
    if (!q.exec() || !q.next())
        return QVariant();
    return q.value(0);
}
}

TdmVtuParams::TdmVtuParams(QObject *parent)
    : QObject(parent), xpmVtuParams(new TVtParamManager(this))
{
    xpmVtuParams->setObjectName(QStringLiteral("xpmVtuParams"));
    xpmVtuParams->AddCategory(CategoryName(), QStringLiteral("Generale"));
    xpmVtuParams->AddParam(QString::fromLatin1(VtuPrmAnsId), CategoryName(), QStringLiteral("Anno scolastico di lavoro"),
                           pkCombo, QString(), QStringLiteral("VT"));
    xpmVtuParams->AddParam(QString::fromLatin1(VtuPrmDwgId), CategoryName(), QStringLiteral("Istituto di lavoro"),
                           pkCombo, QString(), QStringLiteral("VT"));

    xpmVtuParams->BeforeCreateCtrl = [this](QWidget *&c, TVtXMLParam *p, bool &d) { xpmVtuParamsBeforeCreateCtrl(c, p, d); };
    xpmVtuParams->AfterCreateCtrl = [this](QWidget *c, TVtXMLParam *p, bool &d) { xpmVtuParamsAfterCreateCtrl(c, p, d); };
    xpmVtuParams->FillListParam = [this](QWidget *c, TVtXMLParam *p, bool &d) { xpmVtuParamsFillListParam(c, p, d); };
    xpmVtuParams->ReadParam = [this](QWidget *c, TVtXMLParam *p, bool &d) { xpmVtuParamsReadParam(c, p, d); };
    xpmVtuParams->WriteParam = [this](QWidget *c, TVtXMLParam *p, bool &d) { xpmVtuParamsWriteParam(c, p, d); };
}

TdmVtuParams::~TdmVtuParams() = default;

QString TdmVtuParams::AnsListSQL() const
{
    return QStringLiteral("SELECT VAns.iAnsId, VAns.sAnsAnnoDesc FROM VAns_AnniScolast VAns ORDER BY VAns.iAnsValore");
}

QString TdmVtuParams::DwgListSQL() const
{
    QString sql = QStringLiteral(
        "SELECT Dwg.iDwgId, COALESCE(Dwg.sDwgDesc, Dow.sDowSDesc) sDwgDesc "
        "FROM TDwg_DataOwnerGrp Dwg LEFT OUTER JOIN TDow_DataOwner Dow ON (Dow.iDowId = Dwg.iDowId) "
        "WHERE (Dwg.dEnd IS NULL OR Dwg.dEnd >= CURRENT_DATE)");
    if (!m_showAggregate)
        sql += QStringLiteral(" AND Dwg.iDowId IS NOT NULL");
    sql += QStringLiteral(" ORDER BY 2");
    return sql;
}

void TdmVtuParams::xpmVtuParamsBeforeCreateCtrl(QWidget *&, TVtXMLParam *, bool &)
{
}

void TdmVtuParams::xpmVtuParamsAfterCreateCtrl(QWidget *ctrl, TVtXMLParam *param, bool &)
{
    if (IsFrameworkCombo(param)) {
        if (auto *cb = qobject_cast<QComboBox *>(ctrl))
            if (param->Width <= 0)
                cb->setMinimumWidth(260);
    }
}

void TdmVtuParams::xpmVtuParamsFillListParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault)
{
    auto *cb = qobject_cast<QComboBox *>(ctrl);
    if (!cb || !IsFrameworkCombo(param))
        return;
    doDefault = false;
    LoadEnumValues(cb, param->IsNamed(QString::fromLatin1(VtuPrmAnsId)) ? AnsListSQL() : DwgListSQL());
}

void TdmVtuParams::xpmVtuParamsReadParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault)
{
    auto *cb = qobject_cast<QComboBox *>(ctrl);
    if (!cb || !IsFrameworkCombo(param))
        return;
    doDefault = false;
    SelectEnumId(cb, param->Value.trimmed());
}

void TdmVtuParams::xpmVtuParamsWriteParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault)
{
    auto *cb = qobject_cast<QComboBox *>(ctrl);
    if (!cb || !IsFrameworkCombo(param))
        return;
    doDefault = false;
    TVtParamManager::DefaultWrite(cb, param);
    xpmVtuParams->SaveParam(param);
}

QString GetDwgDesc(int iDwgId)
{
    return ScalarOf(QStringLiteral("SELECT COALESCE(Dwg.sDwgDesc, Dow.sDowSDesc) FROM TDwg_DataOwnerGrp Dwg "
                                   "LEFT OUTER JOIN TDow_DataOwner Dow ON (Dow.iDowId = Dwg.iDowId) "
                                   "WHERE Dwg.iDwgId = :iDwgId"),
                    QStringLiteral(":iDwgId"), iDwgId)
        .toString();
}

QString GetVtuParamText(const QString &name)
{
    const QVariant v = GetVtuParamValue(name);
    if (v.isNull())
        return QString();
    bool ok = false;
    const int id = v.toString().trimmed().toInt(&ok);
    if (name.compare(QLatin1String(VtuPrmDwgId), Qt::CaseInsensitive) == 0)
        return ok ? GetDwgDesc(id) : QString();
    if (name.compare(QLatin1String(VtuPrmAnsId), Qt::CaseInsensitive) == 0)
        return ok ? ScalarOf(QStringLiteral("SELECT sAnsAnnoDesc FROM VAns_AnniScolast WHERE iAnsId = :iAnsId"),
                             QStringLiteral(":iAnsId"), id)
                        .toString()
                  : QString();
    return v.toString();
}

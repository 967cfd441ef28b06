#include "ModFAnagrafica.h"
#include "ModUSuite.h"
#include "VtFormRegistry.h"
#include "VtParams.h"
#include "VtQueryCollection.h"
#include "frVtDB.h"
#include "frVtDBROGrid.h"

#include <QLabel>
#include <QStringList>
#include <QTabWidget>

namespace {
QString IdList(const QList<int> &ids)
{
    QStringList parts;
    for (int id : ids)
        parts << QString::number(id);
    return parts.join(QStringLiteral(", "));
}
}

TfmModAnagrafica::TfmModAnagrafica(QWidget *parent)
    : TfmVtChildDB(parent)
{
    setObjectName(QStringLiteral("fmModAnagrafica"));
    setWindowTitle(QStringLiteral("Anagrafica"));
    resize(900, 640);

    xqcAnagrafica = new TVtQueryCollection(this);
    xqcAnagrafica->setObjectName(QStringLiteral("xqcAnagrafica"));
    xqcAnagrafica->KeyFields = QStringLiteral("IANAID");
    xqcAnagrafica->ReadOnly = true;

    frAnagrafica = new TfrVtDBROGrid(this);
    frAnagrafica->setObjectName(QStringLiteral("frAnagrafica"));
    frAnagrafica->SetDataSet(xqcAnagrafica);
    frAnagrafica->AddColumn(QStringLiteral("SANACOGNOME"), QStringLiteral("Cognome"), 160);
    frAnagrafica->AddColumn(QStringLiteral("SANANOME"), QStringLiteral("Nome"), 140);
    frAnagrafica->AddColumn(QStringLiteral("SANACODFISCALE"), QStringLiteral("Codice fiscale"), 150);
    frAnagrafica->AddColumn(QStringLiteral("DANANASCITA"), QStringLiteral("Data di nascita"), 100);
    frAnagrafica->AddColumn(QStringLiteral("SCOMDESC"), QStringLiteral("Comune"), 160);
    AddFrame(frAnagrafica, 3);

    pcDettagli = new QTabWidget(this);
    pcDettagli->setObjectName(QStringLiteral("pcDettagli"));
    AddFrame(pcDettagli, 2);

    connect(xqcAnagrafica, &TVtQueryCollection::CurrentChanged, this, [this] { FollowPerson(false); });
    connect(xqcAnagrafica, &TVtQueryCollection::Reopened, this, [this] { FollowPerson(true); });
}

void TfmModAnagrafica::SetConnection(TVtSQLConnection *conn)
{
    m_conn = conn;
    xqcAnagrafica->Connection = conn;
    for (TfrVtDB *f : m_details)
        if (f->DataSet())
            f->DataSet()->Connection = conn;
}

QString TfmModAnagrafica::BuildCommandText(const QList<int> &admitted, const QList<int> &hidden,
                                           const QString &filterSpecifics, TVtParams &params)
{
    QString sql = QStringLiteral(
        "SELECT Ana.iAnaId, Ana.sAnaCognome, Ana.sAnaNome, Ana.sAnaCodFiscale, Ana.dAnaNascita, Ana.sAnaSesso, "
        "(SELECT FIRST 1 V.sComDesc FROM TAnaAbt AnaAbt "
        " INNER JOIN TAbt_Abitaz Abt ON (Abt.iAbtId = AnaAbt.iAbtId) "
        " INNER JOIN VComCap V ON (V.iComCapId = Abt.iComCapId) "
        " WHERE AnaAbt.iAnaId = Ana.iAnaId ORDER BY AnaAbt.iAnaAbtNum, AnaAbt.iAnaAbtId) AS sComDesc "
        "FROM TAna_Anagrafiche Ana WHERE (1 = 1)");
    // Categories are integers of the caller, written as numbers.
    if (!admitted.isEmpty())
        sql += QStringLiteral(" AND EXISTS (SELECT 1 FROM TAnaCag Cag WHERE Cag.iAnaId = Ana.iAnaId AND Cag.iCagId IN (%1))")
                   .arg(IdList(admitted));
    if (!hidden.isEmpty())
        sql += QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM TAnaCag Cag WHERE Cag.iAnaId = Ana.iAnaId AND Cag.iCagId IN (%1))")
                   .arg(IdList(hidden));

    for (const QString &item : filterSpecifics.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = item.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString name = item.left(eq).trimmed();
        const QString value = item.mid(eq + 1).trimmed();
        bool ok = false;
        const int number = value.toInt(&ok);
        if (name.compare(QLatin1String("AnsId"), Qt::CaseInsensitive) == 0 && ok) {
            sql += QStringLiteral(
                " AND EXISTS (SELECT 1 FROM TSit_Situazioni Sit "
                "INNER JOIN TAns_AnniScolast Ans ON (Sit.dStart BETWEEN Ans.dAnsVeltoInizio AND Ans.dAnsVeltoFine) "
                "WHERE Sit.iAnaId = Ana.iAnaId AND Ans.iAnsId = :iAnsId)");
            params.CreateParam(QMetaType::Int, QStringLiteral("iAnsId"))->SetValue(number);
        } else if (name.compare(QLatin1String("DwgId"), Qt::CaseInsensitive) == 0 && ok) {
            sql += QStringLiteral(
                " AND EXISTS (SELECT 1 FROM TSit_Situazioni Sit "
                "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
                "INNER JOIN TCls_Classi Cls ON (Cls.iClsId = Pst.iClsId) "
                "INNER JOIN TDwgSed DwgSed ON (DwgSed.iDwgSedId = Cls.iDwgSedId) "
                "WHERE Sit.iAnaId = Ana.iAnaId AND DwgSed.iDwgId = :iDwgId)");
            params.CreateParam(QMetaType::Int, QStringLiteral("iDwgId"))->SetValue(number);
        } else if (name.compare(QLatin1String("Cognome"), Qt::CaseInsensitive) == 0 && !value.isEmpty()) {
            sql += QStringLiteral(" AND UPPER(Ana.sAnaCognome) STARTING WITH UPPER(CAST(:sCognome AS VARCHAR(60)))");
            params.CreateParam(QMetaType::QString, QStringLiteral("sCognome"))->SetValue(value);
        }
    }
    sql += QStringLiteral(" ORDER BY Ana.sAnaCognome, Ana.sAnaNome, Ana.iAnaId");
    return sql;
}

void TfmModAnagrafica::Setup(const QList<int> &admitted, const QList<int> &hidden, const QString &filterSpecifics,
                             const QList<QPair<QString, QString>> &frames)
{
    xqcAnagrafica->Close();
    xqcAnagrafica->Params().Clear();
    xqcAnagrafica->CommandText = BuildCommandText(admitted, hidden, filterSpecifics, xqcAnagrafica->Params());

    while (pcDettagli->count() > 0) {
        QWidget *page = pcDettagli->widget(0);
        pcDettagli->removeTab(0);
        delete page;
    }
    m_details.clear();
    for (const auto &entry : frames) {
        QWidget *w = TVtFormRegistry::CreateForm(entry.first, pcDettagli);
        auto *frame = qobject_cast<TfrVtDB *>(w);
        if (!frame) {
            delete w;
            continue;
        }
        if (frame->DataSet() && m_conn)
            frame->DataSet()->Connection = m_conn;
        pcDettagli->addTab(frame, entry.second);
        m_details << frame;
    }
    pcDettagli->setVisible(!m_details.isEmpty());
    m_followed = false;
    xqcAnagrafica->Open();
    FollowPerson(true);
}

void TfmModAnagrafica::FollowPerson(bool force)
{
    const QVariant id = xqcAnagrafica->Active() && !xqcAnagrafica->IsEmpty()
                            ? xqcAnagrafica->FieldByName(QStringLiteral("IANAID"))->Value()
                            : QVariant();
    if (!force && m_followed && id == m_anaId)
        return;
    m_anaId = id;
    m_followed = true;
    for (TfrVtDB *f : m_details) {
        TVtQueryCollection *ds = f->DataSet();
        if (ds && ds->Params().FindParam(QStringLiteral("iAnaId")))
            OpenForPerson(ds, id);
    }
}

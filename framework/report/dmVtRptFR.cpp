#include "dmVtRptFR.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"
#include "VtSQLQuery.h"
#include "frDBDataSet.h"
#include "frPDFExport.h"

#include <QRegularExpression>

namespace {
QList<QPointer<TfrDBDataSet>> &Published()
{
    static QList<QPointer<TfrDBDataSet>> sets;
    return sets;
}

QHash<QString, TfrReport::THandler> &Handlers()
{
    static QHash<QString, TfrReport::THandler> handlers;
    return handlers;
}

QList<QPointer<QObject>> &Modules()
{
    static QList<QPointer<QObject>> modules;
    return modules;
}
}

TdmVtRptFR::TdmVtRptFR(QObject *parent) : QObject(parent), frReport(new TfrReport(this)), frPDFExport(new TfrPDFExport)
{
    setObjectName(QStringLiteral("dmVtRptFR"));
    frReport->FindDataSet = [this](const QString &name) { return FindDataSet(name); };
    frReport->FindHandler = [](const QString &name) { return Handler(name); };
    frReport->OnGetValue = [this](TfrReport *r, const QString &name, QVariant &value, bool &handled) {
        if (OnGetValue)
            OnGetValue(r, name, value, handled);
    };
    frReport->OnBeginPrint = [this](TfrReport *r) {
        m_current = r->RptId;
        if (OnBeginPrint)
            OnBeginPrint(r);
    };
    frReport->OnEndPrint = [this](TfrReport *r, bool completed, const QStringList &files) {
        m_current = -1;
        if (OnEndPrint)
            OnEndPrint(r, completed, files);
    };
}

TdmVtRptFR::~TdmVtRptFR()
{
    delete frPDFExport;
}

QString TdmVtRptFR::TemplateText(int id, int imageIndex, QString *description)
{
    TSQLQuery q;
    q.SQL = imageIndex == 5 ? QStringLiteral("SELECT bYRpcTemplate, sYRpcDesc FROM TYRpc_RptCustom WHERE iYRpcId = :id")
                            : QStringLiteral("SELECT bYRptTemplate, sYRptDesc FROM TYRpt_RptTemplate WHERE iYRptId = :id");
    q.Params().CreateParam(QMetaType::Int, QStringLiteral("id"))->SetAsInteger(id);
    q.Open();
    const bool found = !q.IsEmpty() && !q.Fields(0).isNull() && !q.Fields(0).toString().trimmed().isEmpty();
    const QString text = found ? q.Fields(0).toString() : QString();
    if (description)
        *description = found ? q.Fields(1).toString() : QString();
    q.Close();
    if (!found)
        throw EVtException(QStringLiteral("Modello di stampa %1 non trovato.").arg(id));
    return text;
}

void TdmVtRptFR::LoadReportFromVtDB(int id)
{
    QString description;
    const QString text = TemplateText(id, m_imageIndex, &description);
    frReport->LoadFromText(text);
    frReport->Description = description;
    frReport->RptId = id;
}

bool TdmVtRptFR::Load(int id, int imageIndex)
{
    SetRptImageIndex(imageIndex);
    try {
        LoadReportFromVtDB(id);
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), mtError, mbOK);
        return false;
    }
    return true;
}

bool TdmVtRptFR::PreviewReportFromVtDB(int id, int imageIndex)
{
    if (!Load(id, imageIndex) || !frReport->PrepareReport())
        return false;
    frReport->ShowPreparedReport();
    return true;
}

bool TdmVtRptFR::ExportReportFromVtDB(int id, int imageIndex, TfrExportFilter &filter, const QString &fileName)
{
    return Load(id, imageIndex) && frReport->PrepareReport() && frReport->ExportTo(filter, fileName);
}

void TdmVtRptFR::OpenForFieldList(TVtQueryCollection *dataSet)
{
    const QString text = dataSet->CommandText;
    QList<QPair<QString, QVariant>> values;
    for (int i = 0; i < dataSet->Params().Count(); ++i)
        values << qMakePair(dataSet->Params().Items(i)->Name, dataSet->Params().Items(i)->Value());
    const bool wasActive = dataSet->Active();
    struct TRestore
    {
        TVtQueryCollection *DataSet;
        const QString &Text;
        const QList<QPair<QString, QVariant>> &Values;
        ~TRestore()
        {
            DataSet->CommandText = Text;
            for (const auto &[name, value] : Values)
                DataSet->Params().ParamByName(name)->SetValue(value);
        }
    } restore{dataSet, text, values};
    if (wasActive)
        return;
    dataSet->CommandText = QString(text).replace(MetadataMarker(), QStringLiteral(" AND (0 = 1) "));
    dataSet->Open();
    dataSet->Close();
}

void TdmVtRptFR::AddDataModulePattern(const QString &pattern)
{
    if (!m_patterns.contains(pattern, Qt::CaseInsensitive))
        m_patterns << pattern;
}

void TdmVtRptFR::PublishDataSet(TfrDBDataSet *dataSet)
{
    QList<QPointer<TfrDBDataSet>> &sets = Published();
    sets.removeAll(nullptr);
    for (const QPointer<TfrDBDataSet> &s : sets)
        if (s != dataSet && s->Name().compare(dataSet->Name(), Qt::CaseInsensitive) == 0)
            throw EVtException(QStringLiteral("Nome di dataset ripetuto: %1").arg(dataSet->Name()));
    if (!sets.contains(dataSet))
        sets << dataSet;
}

void TdmVtRptFR::WithdrawDataSet(TfrDBDataSet *dataSet)
{
    Published().removeAll(dataSet);
}

void TdmVtRptFR::PublishHandler(const QString &name, const TfrReport::THandler &handler)
{
    Handlers().insert(name.toUpper(), handler);
}

TfrReport::THandler TdmVtRptFR::Handler(const QString &name)
{
    return Handlers().value(name.toUpper());
}

void TdmVtRptFR::RegisterDataModule(QObject *module)
{
    Modules().removeAll(nullptr);
    if (!Modules().contains(module))
        Modules() << module;
}

QStringList &TdmVtRptFR::DeclaredVariables()
{
    static QStringList names;
    return names;
}

TfrDBDataSet *TdmVtRptFR::FindDataSet(const QString &name)
{
    for (const QPointer<TfrDBDataSet> &s : Published())
        if (s && s->Name().compare(name, Qt::CaseInsensitive) == 0)
            return s;
    const int dot = int(name.indexOf(QLatin1Char('.')));
    if (dot <= 0)
        return nullptr;
    const QString moduleName = name.left(dot), collection = name.mid(dot + 1);
    for (const QPointer<QObject> &module : Modules()) {
        if (!module || module->objectName().compare(moduleName, Qt::CaseInsensitive) != 0)
            continue;
        bool matched = false;
        for (const QString &p : m_patterns)
            matched = matched || QRegularExpression(QRegularExpression::wildcardToRegularExpression(p),
                                                    QRegularExpression::CaseInsensitiveOption)
                                     .match(module->objectName()).hasMatch();
        if (!matched)
            continue;
        for (TVtQueryCollection *q : module->findChildren<TVtQueryCollection *>()) {
            if (q->objectName().compare(collection, Qt::CaseInsensitive) != 0)
                continue;
            for (const auto &s : m_moduleSets)
                if (s->DataSet() == q)
                    return s.get();
            m_moduleSets.push_back(std::make_unique<TfrDBDataSet>(name, q));
            return m_moduleSets.back().get();
        }
    }
    return nullptr;
}

QStringList TdmVtRptFR::DataSetNames()
{
    QStringList names;
    for (const QPointer<TfrDBDataSet> &s : Published())
        if (s)
            names << s->Name();
    for (const QPointer<QObject> &module : Modules()) {
        if (!module)
            continue;
        bool matched = false;
        for (const QString &p : m_patterns)
            matched = matched || QRegularExpression(QRegularExpression::wildcardToRegularExpression(p),
                                                    QRegularExpression::CaseInsensitiveOption)
                                     .match(module->objectName()).hasMatch();
        if (!matched)
            continue;
        for (TVtQueryCollection *q : module->findChildren<TVtQueryCollection *>())
            if (!q->objectName().isEmpty())
                names << module->objectName() + QLatin1Char('.') + q->objectName();
    }
    return names;
}

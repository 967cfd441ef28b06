#include "frDesigner.h"
#include "VtException.h"
#include "VtExecModal.h"
#include "VtGuard.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"
#include "VtRptTreeView.h"
#include "VtSQLQuery.h"
#include "VtTransaction.h"
#include "VtSQLConnection.h"
#include "dmVtRptFR.h"
#include "frDBDataSet.h"
#include "frTemplate.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

TfrDesigner::TfrDesigner(TdmVtRptFR *module, TVtRptTreeView *tree, QWidget *parent)
    : QWidget(parent, Qt::Window), m_module(module), m_tree(tree)
{
    setObjectName(QStringLiteral("frDesigner"));
    setWindowTitle(QStringLiteral("Modifica modello"));
    resize(1200, 800);
    auto *layout = new QVBoxLayout(this);
    auto *split = new QSplitter(Qt::Horizontal, this);
    meTemplate = new QPlainTextEdit(split);
    meTemplate->setObjectName(QStringLiteral("meTemplate"));
    meTemplate->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::Monospace);
    meTemplate->setFont(mono);
    tvCampi = new QTreeWidget(split);
    tvCampi->setObjectName(QStringLiteral("tvCampi"));
    tvCampi->setHeaderLabels({QStringLiteral("Dati e variabili")});
    split->addWidget(meTemplate);
    split->addWidget(tvCampi);
    split->setSizes({850, 350});
    layout->addWidget(split, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buAnteprima = new QPushButton(QStringLiteral("Anteprima"), this);
    buSalva = new QPushButton(QStringLiteral("Salva"), this);
    buSalvaCopia = new QPushButton(QStringLiteral("Salva come copia..."), this);
    buChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    for (QPushButton *b : {buAnteprima, buSalva, buSalvaCopia, buChiudi})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(buAnteprima, &QPushButton::clicked, this, [this] { VtGuard([this] { Preview(); }); });
    connect(buSalva, &QPushButton::clicked, this, [this] { VtGuard([this] { Save(); }); });
    connect(buSalvaCopia, &QPushButton::clicked, this, [this] { VtGuard([this] { SaveAsCopy(); }); });
    connect(buChiudi, &QPushButton::clicked, this, &QWidget::close);
    AskDescription = [this](const QString &proposed) {
        QInputDialog dialog(this);
        dialog.setWindowTitle(QStringLiteral("Salva come copia"));
        dialog.setLabelText(QStringLiteral("Descrizione della copia:"));
        dialog.setTextValue(proposed);
        dialog.setOkButtonText(QStringLiteral("OK"));
        dialog.setCancelButtonText(QStringLiteral("Annulla"));
        return VtExecModal(&dialog) == QDialog::Accepted ? dialog.textValue().trimmed() : QString();
    };
}

bool TfrDesigner::Edit(int id, int imageIndex)
{
    QString description;
    QString text;
    try {
        text = TdmVtRptFR::TemplateText(id, imageIndex, &description);
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), mtError, mbOK);
        return false;
    }
    m_id = id;
    m_imageIndex = imageIndex;
    m_description = description;
    m_baseId = id;
    if (imageIndex == 5) {
        TSQLQuery q;
        q.SQL = QStringLiteral("SELECT iYRptId FROM TYRpc_RptCustom WHERE iYRpcId = :id");
        q.Params().CreateParam(QMetaType::Int, QStringLiteral("id"))->SetAsInteger(id);
        q.Open();
        m_baseId = q.IsEmpty() ? id : q.Fields(0).toInt();
        q.Close();
    }
    meTemplate->setPlainText(text);
    setWindowTitle(QStringLiteral("Modifica modello - %1").arg(description));
    buSalva->setEnabled(EditingCopy());
    buSalva->setToolTip(EditingCopy() ? QString() : QStringLiteral("Un modello di base non si modifica: salvarlo come copia."));
    LoadFieldList();
    return true;
}

bool TfrDesigner::Parses()
{
    try {
        TfrTemplate::Parse(meTemplate->toPlainText());
        return true;
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), mtError, mbOK);
        return false;
    }
}

// The report modules answer first (their client datasets opened once with no
// rows); the fields then stay known while the datasets are closed.
void TfrDesigner::LoadFieldList()
{
    tvCampi->clear();
    if (m_module->OnDesignerFieldList)
        m_module->OnDesignerFieldList(m_module);
    auto *sets = new QTreeWidgetItem(tvCampi, {QStringLiteral("Dati")});
    for (const QString &name : m_module->DataSetNames()) {
        auto *item = new QTreeWidgetItem(sets, {name});
        TfrDBDataSet *ds = m_module->FindDataSet(name);
        TVtQueryCollection *q = ds ? ds->DataSet() : nullptr;
        for (int i = 0; q && i < q->FieldCount(); ++i)
            new QTreeWidgetItem(item, {q->Fields(i)->FieldName});
    }
    auto *own = new QTreeWidgetItem(tvCampi, {QStringLiteral("Dati del modello")});
    try {
        const TfrTemplate t = TfrTemplate::Parse(meTemplate->toPlainText());
        for (const TfrTemplate::TDataSet &d : t.DataSets) {
            auto *item = new QTreeWidgetItem(own, {d.Name});
            TVtQueryCollection q;
            q.ReadOnly = true;
            q.CommandText = d.Sql;
            for (const TfrTemplate::TParam &p : d.Params)
                q.Params().CreateParam(QMetaType::QString, p.Name);
            try {
                q.Open();
                for (int i = 0; i < q.FieldCount(); ++i)
                    new QTreeWidgetItem(item, {q.Fields(i)->FieldName});
                q.Close();
            } catch (const EVtException &) {
                new QTreeWidgetItem(item, {QStringLiteral("(campi non disponibili)")});
            }
        }
    } catch (const EVtException &) {
    }
    auto *vars = new QTreeWidgetItem(tvCampi, {QStringLiteral("Variabili")});
    for (const QString &v : QStringList{QStringLiteral("Page"), QStringLiteral("TotalPages"), QStringLiteral("Date"),
                                        QStringLiteral("Time"), QStringLiteral("Title")}
                                + TdmVtRptFR::DeclaredVariables())
        new QTreeWidgetItem(vars, {v});
    tvCampi->expandToDepth(0);
}

bool TfrDesigner::Preview()
{
    if (!Parses())
        return false;
    TfrReport *report = m_module->frReport;
    report->LoadFromText(meTemplate->toPlainText());
    report->Description = m_description;
    report->RptId = m_id;
    if (!report->PrepareReport())
        return false;
    report->ShowPreparedReport();
    return true;
}

bool TfrDesigner::Save()
{
    if (!EditingCopy() || !Parses())
        return false;
    TSQLQuery q;
    q.SQL = QStringLiteral("UPDATE TYRpc_RptCustom SET bYRpcTemplate = :text WHERE iYRpcId = :id");
    q.Params().CreateParam(QMetaType::QString, QStringLiteral("text"))->SetAsString(meTemplate->toPlainText());
    q.Params().CreateParam(QMetaType::Int, QStringLiteral("id"))->SetAsInteger(m_id);
    q.ExecSQL();
    return true;
}

int TfrDesigner::NextCopyId()
{
    TSQLQuery q;
    q.SQL = QStringLiteral("SELECT MAX(iYRpcId) FROM TYRpc_RptCustom");
    q.Open();
    const QVariant last = q.Fields(0);
    q.Close();
    return last.isNull() ? 1000000 : qMax(1000000, last.toInt() + 1);
}

int TfrDesigner::SaveAsCopy()
{
    if (!Parses())
        return 0;
    const QString description = AskDescription ? AskDescription(m_description + QStringLiteral(" (copia)")) : QString();
    if (description.isEmpty())
        return 0;
    TVtTransaction transaction(qqoVtGlobConn);
    transaction.StartTransaction();
    const int id = NextCopyId();
    TSQLQuery q;
    q.SQL = QStringLiteral("INSERT INTO TYRpc_RptCustom (iYRpcId, iYRptId, sYRpcDesc, bYRpcTemplate) VALUES (:id, :base, "
                           ":description, :text)");
    q.Params().CreateParam(QMetaType::Int, QStringLiteral("id"))->SetAsInteger(id);
    q.Params().CreateParam(QMetaType::Int, QStringLiteral("base"))->SetAsInteger(m_baseId);
    q.Params().CreateParam(QMetaType::QString, QStringLiteral("description"))->SetAsString(description);
    q.Params().CreateParam(QMetaType::QString, QStringLiteral("text"))->SetAsString(meTemplate->toPlainText());
    q.ExecSQL();
    transaction.Commit();
    m_id = id;
    m_imageIndex = 5;
    m_description = description;
    setWindowTitle(QStringLiteral("Modifica modello - %1").arg(description));
    buSalva->setEnabled(true);
    buSalva->setToolTip(QString());
    if (m_tree) {
        m_tree->Refresh();
        m_tree->SelectRptId(id);
    }
    return id;
}

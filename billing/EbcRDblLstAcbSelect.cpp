#include "EbcRDblLstAcbSelect.h"
#include "VtWaitCursor.h"
#include "EbdUContext.h"
#include "EbdUGlobals.h"
#include "VtGuard.h"
#include "VtPaths.h"
#include "VtSQLQuery.h"
#include "VtUtils.h"
#include "fmVtRptFilter.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
// The holder records of the school year, with the pupil's class.
const QString HolderRecords =
    u"SELECT TAcb.iAcbId, TAcb.iMpgId, TAna.iAnaId, TAcb.iAnaId_Gen, TAcb.sAcbIBan, TAcb.sAcbIntestatario, "
    "TAnaGen.iAnaId AS iAnaId_p, TAnaGen.sAnaCognome || ' ' || TAnaGen.sAnaNome AS sCognomeNomeGen, "
    "TAna.sAnaCognome || ' ' || TAna.sAnaNome AS sCognomeNomeAlu, TAna.sAnaCognome, TAna.sAnaNome, TMpg.iMpgId, "
    "TMpg.sMpgDescL, VCls.sClsDesc, VCls.sClsSDesc, VCls.iAcsId, VCls.iSezId, VCls.iIndId, VCls.iDwgSedId "
    "FROM TAcb_AluCoordBan TAcb "
    "INNER JOIN TAna_Anagrafiche TAna ON (TAna.iAnaId = TAcb.iAnaId) "
    "INNER JOIN TAna_Anagrafiche TAnaGen ON (TAnaGen.iAnaId = TAcb.iAnaId_Gen) "
    "INNER JOIN TMpg_ModPagam TMpg ON (TMpg.iMpgId = TAcb.iMpgId) "
    "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = TAna.iAnaId) "
    "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
    "INNER JOIN VCls_Classi VCls ON (VCls.iClsId = Pst.iClsId) "
    "INNER JOIN VAns_AnniScolast Ans ON (EXTRACT(YEAR FROM VCls.dStart_Cls) = EXTRACT(YEAR FROM Ans.dAnsVeltoInizio)) "
    "WHERE Ans.iAnsId = :iAnsId /*AND VTRPTFILTER*/"_s;

// The pupils of the school year without a holder record, each once, with
// the relative of lowest degree (and of lowest link key between equals).
const QString PupilsWithoutHolder =
    u"SELECT TAna.iAnaId, ag.iAnaId_p, TAnaGen.sAnaCognome || ' ' || TAnaGen.sAnaNome AS sCognomeNomeGen, "
    "TAna.sAnaCognome || ' ' || TAna.sAnaNome AS sCognomeNomeAlu, TAna.sAnaCognome, TAna.sAnaNome, VCls.sClsDesc, "
    "VCls.sClsSDesc, VCls.iAcsId, VCls.iSezId, VCls.iIndId, VCls.iDwgSedId "
    "FROM TAna_Anagrafiche TAna "
    "INNER JOIN TAnaGpt ag ON ((ag.iAnaId = TAna.iAnaId) AND (ag.iAnaGptId = (SELECT FIRST 1 g.iAnaGptId FROM "
    "TAnaGpt g WHERE g.iAnaId = TAna.iAnaId ORDER BY g.iGptId, g.iAnaGptId))) "
    "INNER JOIN TAna_Anagrafiche TAnaGen ON (TAnaGen.iAnaId = ag.iAnaId_p) "
    "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = TAna.iAnaId) "
    "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
    "INNER JOIN VCls_Classi VCls ON (VCls.iClsId = Pst.iClsId) "
    "INNER JOIN VAns_AnniScolast Ans ON (EXTRACT(YEAR FROM VCls.dStart_Cls) = EXTRACT(YEAR FROM Ans.dAnsVeltoInizio)) "
    "WHERE (TAna.iAnaId NOT IN (SELECT iAnaId FROM TAcb_AluCoordBan)) AND (Ans.iAnsId = :iAnsId) "
    "/*AND VTRPTFILTER*/"_s;

constexpr int ClassRole = Qt::UserRole + 1;   // the class's long description, for sorting

QString SortKey(const QTreeWidgetItem *item, int column)
{
    if (column == 1)
        return item->data(1, ClassRole).toString() + item->text(0);
    return item->text(column == 2 ? 2 : 0);
}
}

TfrEbcDblLstAcbSelect::TfrEbcDblLstAcbSelect(QWidget *parent)
    : TfrVtDoubleListView(parent),
      m_mode(EbcAcbSelectMode() == TEbcAcbSelectMode::Holders ? TEbcAcbSelectMode::Holders : TEbcAcbSelectMode::Reasons),
      m_query(std::make_unique<TSQLQuery>())
{
    setObjectName(u"frEbcDblLstAcbSelect"_s);
    SetCaptions(u"Alunni disponibili"_s, u"Alunni selezionati"_s);
    SetColumns({u"Alunno"_s, u"Classe"_s, u"Intestatario"_s});

    tbFilter = new QToolBar(this);
    tbFilter->setObjectName(u"tbFilter"_s);
    tbFilter->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const QList<QIcon> icons = LoadDefaultImages(1, {u"FILTEROPT"_s});
    acFilter = tbFilter->addAction(icons.at(0), u"Filtro"_s);
    acFilter->setObjectName(u"acFilter"_s);
    acFilter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    acApplyFilter = tbFilter->addAction(u"Applica filtro"_s);
    acApplyFilter->setObjectName(u"acApplyFilter"_s);
    acApplyFilter->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    for (QAction *a : {acFilter, acApplyFilter}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        a->setToolTip(a->text() + u" ("_s + a->shortcut().toString(QKeySequence::NativeText) + u')');
        addAction(a);
    }
    connect(acFilter, &QAction::triggered, this, [this] { VtGuard([this] { acFilterExecute(); }); });
    connect(acApplyFilter, &QAction::triggered, this, [this] { VtGuard([this] { acApplyFilterExecute(); }); });

    // The filter tools sit above the list they narrow.
    auto *grid = qobject_cast<QGridLayout *>(layout());
    grid->removeWidget(lbLeft);
    auto *top = new QHBoxLayout;
    top->addWidget(lbLeft);
    top->addStretch();
    top->addWidget(tbFilter);
    grid->addLayout(top, 0, 0);

    for (QTreeWidget *list : {lvLeft, lvRight}) {
        list->header()->setSectionsClickable(true);
        list->header()->setSortIndicatorShown(true);
        list->setColumnWidth(0, 220);
        list->setColumnWidth(1, 70);
        connect(list->header(), &QHeaderView::sectionClicked, this, [this, list](int column) { SortBy(column, list); });
    }
    OnMove = [this](TfrVtDoubleListView *) {
        SortList(lvLeft);
        SortList(lvRight);
    };

    ShowFilterState();
    Reload();
}

TfrEbcDblLstAcbSelect::~TfrEbcDblLstAcbSelect() = default;

QString TfrEbcDblLstAcbSelect::Statement(TEbcAcbSelectMode mode, const QString &condition)
{
    return TVtRptFilter::ApplyMarkers(mode == TEbcAcbSelectMode::Reasons ? HolderRecords : PupilsWithoutHolder,
                                      condition);
}

void TfrEbcDblLstAcbSelect::Reload()
{
    m_query->Close();
    m_query->SQL = Statement(m_mode, m_applied ? m_condition : QString());
    m_query->Params().Clear();
    m_query->Params().CreateParam(QMetaType::Int, u"iAnsId"_s)->SetValue(TEbdContext::GetOr0(TEbdCtx::AnsId));
    Clear();
    {
        TVtWaitCursor hourglass;
        const QString key = m_mode == TEbcAcbSelectMode::Reasons ? u"IACBID"_s : u"IANAID"_s;
        QList<QTreeWidgetItem *> items;
        for (m_query->Open(); !m_query->Eof(); m_query->Next()) {
            auto *item = new QTreeWidgetItem({m_query->FieldByName(u"SCOGNOMENOMEALU"_s).toString(),
                                              m_query->FieldByName(u"SCLSSDESC"_s).toString(),
                                              m_query->FieldByName(u"SCOGNOMENOMEGEN"_s).toString()});
            item->setData(0, Qt::UserRole, m_query->FieldByName(key));
            item->setData(1, ClassRole, m_query->FieldByName(u"SCLSDESC"_s).toString());
            items << item;
        }
        m_query->Close();
        lvLeft->addTopLevelItems(items);
    }
    m_sortColumn = 0;
    SortList(lvLeft);
    SortList(lvRight);
    if (OnMove)
        OnMove(this);
}

QList<TfrEbcDblLstAcbSelect::TPicked> TfrEbcDblLstAcbSelect::Picked() const
{
    QList<TPicked> rows;
    for (int i = 0; i < lvRight->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = lvRight->topLevelItem(i);
        rows.append({item->data(0, Qt::UserRole), item->text(0), item->text(1), item->text(2)});
    }
    return rows;
}

void TfrEbcDblLstAcbSelect::SortBy(int column, QTreeWidget *list)
{
    m_sortColumn = qBound(0, column, 2);
    SortList(list);
}

void TfrEbcDblLstAcbSelect::SortList(QTreeWidget *list)
{
    QList<QTreeWidgetItem *> items;
    while (list->topLevelItemCount() > 0)
        items << list->takeTopLevelItem(0);
    const int column = m_sortColumn;
    std::stable_sort(items.begin(), items.end(), [column](const QTreeWidgetItem *a, const QTreeWidgetItem *b) {
        return SortKey(a, column).compare(SortKey(b, column), Qt::CaseInsensitive) < 0;
    });
    list->addTopLevelItems(items);
    list->header()->setSortIndicator(column, Qt::AscendingOrder);
}

TfmVtRptFilter *TfrEbcDblLstAcbSelect::FilterDialog()
{
    if (!m_filterDialog) {
        QStringList lines;
        LoadXmlArchivio(lines, u"EBC_ACBFL"_s, u"EBC"_s);
        auto *dialog = new TfmVtRptFilter(this);
        dialog->SetDefinition(u"EBC_ACBFL"_s, lines.join(u'\n'));
        dialog->SetFolder(VtPaths::DataPath({u"ebc"_s, u"filter"_s}));
        m_filterDialog = dialog;
    }
    return m_filterDialog;
}

void TfrEbcDblLstAcbSelect::acFilterExecute()
{
    TfmVtRptFilter *dialog = FilterDialog();
    if (dialog->Execute())
        ApplyCondition(dialog->Condition());
}

void TfrEbcDblLstAcbSelect::ApplyCondition(const QString &condition)
{
    m_condition = condition;
    m_applied = !condition.isEmpty();
    Reload();
    ShowFilterState();
}

void TfrEbcDblLstAcbSelect::acApplyFilterExecute()
{
    if (m_condition.isEmpty())
        return;
    m_applied = !m_applied;
    Reload();
    ShowFilterState();
}

void TfrEbcDblLstAcbSelect::ShowFilterState()
{
    const QString key = m_applied ? u"FILTERAPPLYON"_s : u"FILTERAPPLY"_s;
    acApplyFilter->setIcon(LoadDefaultImages(1, {key}).at(0));
    acApplyFilter->setProperty("ImageKey", key);
    acApplyFilter->setEnabled(!m_condition.isEmpty());
}

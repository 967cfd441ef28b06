#include "frReport.h"
#include "VtException.h"
#include "VtField.h"
#include "VtGlobalValuesManager.h"
#include "VtMessageDlg.h"
#include "VtMoney.h"
#include "VtQueryCollection.h"
#include "VtfrDBDataSet.h"
#include "fmVtMultiSelect.h"
#include "frBarcode.h"
#include "frPDFExport.h"
#include "frPreviewForm.h"

#include <QDate>
#include <QRegularExpression>
#include <QSet>
#include <QTime>
#include <map>

using TBand = TfrTemplate::TBand;
using TObject = TfrTemplate::TObject;
using TNode = TfrExpression::TNode;

namespace {
// Page numbers are known only when the last page is laid out: the texts
// carry these marks until then.
const QString PageMark = QStringLiteral("\x01PG\x01");
const QString TotalPagesMark = QStringLiteral("\x01TP\x01");

QMetaType::Type TypeOf(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Double: case QMetaType::Float:
        return QMetaType::Double;
    case QMetaType::Int: case QMetaType::Short: case QMetaType::UInt:
        return QMetaType::Int;
    case QMetaType::LongLong: case QMetaType::ULongLong:
        return QMetaType::LongLong;
    case QMetaType::QDate:
        return QMetaType::QDate;
    case QMetaType::QDateTime:
        return QMetaType::QDateTime;
    default:
        return QMetaType::QString;
    }
}

bool IsSelect(const QString &sql)
{
    static const QRegularExpression head(QStringLiteral("^\\s*SELECT\\b"), QRegularExpression::CaseInsensitiveOption);
    QString body = sql.trimmed();
    while (body.endsWith(QLatin1Char(';')))
        body.chop(1);
    return head.match(body).hasMatch() && !body.contains(QLatin1Char(';'));
}

QMetaType::Type ParamType(const QString &type)
{
    const QString t = type.toLower();
    if (t == QLatin1String("integer"))
        return QMetaType::Int;
    if (t == QLatin1String("float") || t == QLatin1String("double") || t == QLatin1String("currency"))
        return QMetaType::Double;
    if (t == QLatin1String("date"))
        return QMetaType::QDate;
    if (t == QLatin1String("datetime"))
        return QMetaType::QDateTime;
    return QMetaType::QString;
}
}

// ----------------------------------------------------------------- the print

class TfrReport::TPrint : public TfrExpression::TContext
{
public:
    TPrint(TfrReport &report) : r(report), t(report.m_template), out(report.m_prepared) {}
    ~TPrint() override { Finish(); }

    void Run();
    TfrDBDataSet *InUse(const QString &name) const
    {
        const TDs *ds = FindDs(name);
        return ds ? ds->Set : nullptr;
    }

    // Expression context
    QVariant Field(const QString &dataSet, const QString &field) override;
    QVariant Variable(const QString &name) override;
    QVariant FormProperty(const QString &name) override;
    QVariant Param(const QString &name) override;
    QVariant Aggregate(const TNode &node) override;

private:
    struct TDs
    {
        QString Name;
        TfrDBDataSet *Set = nullptr;
        std::unique_ptr<TVtQueryCollection> OwnQuery;
        std::unique_ptr<TVtfrDBDataSet> Own;
        const TfrTemplate::TDataSet *Def = nullptr;
        bool OpenedHere = false;
        bool Filtered = false;
        QSet<QString> Keys;
        const QHash<QString, QVariant> *Snapshot = nullptr;   // the row a group footer reads
        TVtQueryCollection *Query() const { return Set ? Set->DataSet() : nullptr; }
        QWidget *Form() const
        {
            auto *vt = qobject_cast<TVtfrDBDataSet *>(Set);
            return vt ? vt->Form() : nullptr;
        }
    };
    struct TAcc
    {
        enum TScope { scRun, scGroup, scPage, scWhole } Scope = scRun;
        const TNode *Node = nullptr;
        const TBand *Target = nullptr;     // the data band whose rows it counts
        const TBand *Reset = nullptr;      // scRun: the band whose run starts it anew (Target when null)
        const TBand *Owner = nullptr;      // scGroup: the group header
        TVtMoney Sum;
        qlonglong Count = 0;
    };
    struct TRun
    {
        const TBand *Band = nullptr;
        TDs *Ds = nullptr;
        bool HeaderPrinted = false;
        QList<const TBand *> Groups;       // group headers, outermost first
        QList<const TBand *> GroupFooters;
        QList<QVariant> GroupValues;
        bool GroupsStarted = false;
    };

    // Set-up
    void CheckNames();
    TDs *Ds(const QString &name);
    const TDs *FindDs(const QString &name) const;
    void UsedInOrder(QList<TDs *> &order);
    void ShowSelectForms();
    void OpenDs(TDs &ds);
    void AssignAggregates();
    const TBand *ParentData(const TBand *band) const;
    bool Inside(const TBand *band, const TBand *ancestor) const;
    const TBand *DataBandReading(const TNode *node) const;

    // Layout
    void NewPage();
    void FinishPage();
    double Bottom() const;
    double Height(const TBand &band);
    void PrintBand(const TBand *band, bool allowBreak = true);
    void Place(const TBand &band, double height, double y);
    void RunData(const TBand &band);
    void StartGroup(TRun &run, int level);
    void EndGroups(TRun &run, int fromLevel, const QHash<QString, QVariant> &lastRow);
    void Accumulate(const TBand &band);
    void ResetAccs(TAcc::TScope scope, const TBand *target, const TBand *owner = nullptr);
    void KeepRow(TRun &run);
    QString Text(const TObject &o, const TfrTextTemplate &text);
    void ResolvePageNumbers();
    void Finish();
    void CheckCancel() const
    {
        if (r.m_cancelled)
            throw EVtAbort();
    }

    TfrReport &r;
    const TfrTemplate &t;
    TfrPreparedReport &out;
    std::map<QString, TDs> m_ds;        // by upper-case name
    QHash<const TNode *, TAcc> m_accs;
    QList<TRun *> m_runs;
    QHash<const TBand *, int> m_tables;
    QHash<const TBand *, int> m_bandOrder;
    const TBand *m_band = nullptr;      // the band being printed
    TDs *m_own = nullptr;               // the dataset whose dialog SelectForm names
    int m_page = -1;
    double m_y = 0, m_contentTop = 0;
    QList<int> m_segmentOf;             // page -> page-number segment
    int m_segments = 0;
    bool m_finished = false;
};

void TfrReport::TPrint::Run()
{
    out.Clear();
    out.Title = r.Description.isEmpty() ? t.Title : r.Description;
    out.Paper = t.Paper;
    out.Orientation = t.Orientation;
    out.PageSize = t.PageSize();
    int order = 0;
    for (const TBand *b : t.AllBands())
        m_bandOrder.insert(b, order++);
    CheckNames();
    AssignAggregates();
    ShowSelectForms();
    NewPage();
    if (const TBand *title = t.TopBand(TBand::bkReportTitle))
        PrintBand(title);
    for (const TBand &b : t.Bands)
        if (b.Kind == TBand::bkData)
            RunData(b);
    if (const TBand *summary = t.TopBand(TBand::bkSummary))
        PrintBand(summary);
    FinishPage();
    ResolvePageNumbers();
    // The datasets in the order their bands stand.
    QList<QPair<int, TfrPreparedReport::TTable>> tables;
    for (auto it = m_tables.constBegin(); it != m_tables.constEnd(); ++it)
        tables << qMakePair(m_bandOrder.value(it.key()), out.Tables[it.value()]);
    std::sort(tables.begin(), tables.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    out.Tables.clear();
    for (const auto &t : tables)
        out.Tables << t.second;
}

// -------------------------------------------------------------- datasets

const TfrReport::TPrint::TDs *TfrReport::TPrint::FindDs(const QString &name) const
{
    const auto it = m_ds.find(name.toUpper());
    return it == m_ds.end() ? nullptr : &it->second;
}

// The template's own datasets first, then the published ones.
TfrReport::TPrint::TDs *TfrReport::TPrint::Ds(const QString &name)
{
    const QString key = name.toUpper();
    auto it = m_ds.find(key);
    if (it != m_ds.end())
        return &it->second;
    TDs ds;
    ds.Name = name;
    if (const TfrTemplate::TDataSet *def = t.FindDataSet(name)) {
        if (!IsSelect(def->Sql))
            throw EVtException(QStringLiteral("Il modello può eseguire solo interrogazioni SELECT: %1").arg(def->Name));
        ds.Def = def;
        ds.OwnQuery = std::make_unique<TVtQueryCollection>();
        ds.OwnQuery->setObjectName(def->Name);
        ds.OwnQuery->ReadOnly = true;
        ds.Own = std::make_unique<TVtfrDBDataSet>(def->Name, ds.OwnQuery.get(), TfrDBDataSet::dkStatement);
        ds.Own->SelectForm = def->SelectForm;
        ds.Set = ds.Own.get();
    } else if (r.FindDataSet) {
        ds.Set = r.FindDataSet(name);
    }
    if (!ds.Set || !ds.Query())
        throw EVtException(QStringLiteral("Dataset sconosciuto nel modello: %1").arg(name));
    return &m_ds.emplace(key, std::move(ds)).first->second;
}

// Every dataset the bands and their texts name must exist before anything shows.
void TfrReport::TPrint::CheckNames()
{
    for (const TBand *b : t.AllBands()) {
        if (b->Kind == TBand::bkData)
            Ds(b->DataSet);
        QList<TNode *> nodes = b->Visible.Nodes() + b->Condition.Nodes();
        for (const TObject &o : b->Objects)
            nodes << o.Text.Nodes() << o.Visible.Nodes();
        for (const TNode *n : nodes)
            if (n->Kind == TfrExpression::ekField)
                Ds(n->DataSet);
    }
}

void TfrReport::TPrint::UsedInOrder(QList<TDs *> &order)
{
    auto add = [&](const QString &name) {
        TDs *ds = Ds(name);
        if (!order.contains(ds))
            order << ds;
    };
    for (const TBand *b : t.AllBands()) {
        if (b->Kind == TBand::bkData)
            add(b->DataSet);
        for (const TObject &o : b->Objects)
            for (const TNode *n : o.Text.Nodes())
                if (n->Kind == TfrExpression::ekField)
                    add(n->DataSet);
    }
}

void TfrReport::TPrint::ShowSelectForms()
{
    QList<TDs *> order;
    UsedInOrder(order);
    for (TDs *ds : order) {
        auto *vt = qobject_cast<TVtfrDBDataSet *>(ds->Set);
        if (!vt || vt->SelectForm.isEmpty())
            continue;
        if (ds->Def) {
            vt->OnBeforeSelect = [this, ds](TVtfrDBDataSet *, QWidget *form) {
                m_own = ds;
                for (const TfrTemplate::TSet &set : ds->Def->Sets) {
                    const QVariant value = [&] {
                        const auto &parts = set.Value.Parts();
                        if (parts.size() == 1 && !parts[0].Expression.IsEmpty())
                            return parts[0].Expression.Evaluate(*this);
                        QString text;
                        for (const auto &p : parts)
                            text += p.Expression.IsEmpty() ? p.Literal : p.Expression.Evaluate(*this).toString();
                        return QVariant(text);
                    }();
                    form->setProperty(set.Property.toLatin1().constData(), value);
                }
            };
            if (!ds->Def->AfterSelect.isEmpty()) {
                const THandler handler = r.FindHandler ? r.FindHandler(ds->Def->AfterSelect) : THandler();
                if (!handler)
                    throw EVtException(QStringLiteral("Gestore sconosciuto nel modello: %1").arg(ds->Def->AfterSelect));
                vt->OnAfterSelect = [this, handler](TVtfrDBDataSet *set, QWidget *, bool confirmed) {
                    if (confirmed)
                        handler(&r, set);
                };
            }
        }
        const bool confirmed = vt->ShowSelectForm();
        CheckCancel();
        if (!confirmed) {
            // The module may read what the dialog held however it closed.
            vt->DoAfterSelect(false);
            throw EVtAbort();
        }
        vt->DoAfterSelect(true);
        CheckCancel();
        // A multi-selection that listed rows: only the ticked ones print.
        auto *multi = qobject_cast<TfmVtMultiSelect *>(vt->Form());
        if (multi && !multi->CommandText().isEmpty()) {
            ds->Filtered = true;
            for (const QVariant &key : multi->SelectedKeys())
                ds->Keys.insert(key.toString());
        }
    }
}

void TfrReport::TPrint::OpenDs(TDs &ds)
{
    TVtQueryCollection *q = ds.Query();
    if (q->Active())
        return;
    if (ds.Def) {
        q->CommandText = ds.Def->Sql;
        // Parameters an after-select handler set stay as it set them.
        TDs *saved = m_own;
        m_own = &ds;
        for (const TfrTemplate::TParam &p : ds.Def->Params) {
            TVtParam *param = q->Params().FindParam(p.Name);
            if (!param)
                param = q->Params().CreateParam(ParamType(p.Type), p.Name);
            if (!p.Value.IsEmpty())
                param->SetValue(p.Value.Evaluate(*this));
        }
        m_own = saved;
        if (!ds.Def->BeforeOpen.isEmpty()) {
            const THandler handler = r.FindHandler ? r.FindHandler(ds.Def->BeforeOpen) : THandler();
            if (!handler)
                throw EVtException(QStringLiteral("Gestore sconosciuto nel modello: %1").arg(ds.Def->BeforeOpen));
            handler(&r, ds.Set);
            CheckCancel();
        }
    }
    q->Open();
    ds.OpenedHere = true;
}

// ------------------------------------------------------------ aggregates

const TBand *TfrReport::TPrint::ParentData(const TBand *band) const
{
    for (const TBand *b : t.AllBands())
        for (const TBand &c : b->Children)
            if (&c == band)
                return b;
    return nullptr;
}

bool TfrReport::TPrint::Inside(const TBand *band, const TBand *ancestor) const
{
    for (const TBand *b = band; b; b = ParentData(b))
        if (b == ancestor)
            return true;
    return false;
}

// The data band over the dataset an aggregate reads (the first one when it reads none).
const TBand *TfrReport::TPrint::DataBandReading(const TNode *node) const
{
    QString dataSet;
    std::function<void(const TNode *)> find = [&](const TNode *n) {
        if (dataSet.isEmpty() && n->Kind == TfrExpression::ekField)
            dataSet = n->DataSet;
        for (const auto &a : n->Args)
            find(a.get());
    };
    find(node);
    for (const TBand *b : t.AllBands())
        if (b->Kind == TBand::bkData && (dataSet.isEmpty() || b->DataSet.compare(dataSet, Qt::CaseInsensitive) == 0))
            return b;
    return nullptr;
}

void TfrReport::TPrint::AssignAggregates()
{
    for (const TBand *b : t.AllBands()) {
        QList<TNode *> nodes = b->Visible.Nodes();
        for (const TObject &o : b->Objects)
            nodes << o.Text.Nodes() << o.Visible.Nodes();
        for (const TNode *n : nodes) {
            if (n->Kind != TfrExpression::ekSum && n->Kind != TfrExpression::ekCount)
                continue;
            TAcc acc;
            acc.Node = n;
            switch (b->Kind) {
            case TBand::bkData:
                acc.Target = b;
                acc.Scope = TAcc::scRun;
                break;
            case TBand::bkHeader:
            case TBand::bkFooter: {
                // A total of a detail's rows counts every row of the detail
                // printed within this band's run.
                const TBand *own = ParentData(b);
                const TBand *reading = DataBandReading(n);
                acc.Target = reading && reading != own && Inside(reading, own) ? reading : own;
                acc.Reset = own;
                acc.Scope = TAcc::scRun;
                break;
            }
            case TBand::bkGroupHeader:
            case TBand::bkGroupFooter: {
                acc.Target = ParentData(b);
                acc.Scope = TAcc::scGroup;
                const QList<const TBand *> headers = acc.Target->ChildrenOf(TBand::bkGroupHeader);
                const QList<const TBand *> footers = acc.Target->ChildrenOf(TBand::bkGroupFooter);
                int level = b->Kind == TBand::bkGroupHeader ? int(headers.indexOf(b)) : int(footers.indexOf(b));
                acc.Owner = level >= 0 && level < headers.size() ? headers[level] : nullptr;
                break;
            }
            case TBand::bkPageHeader:
            case TBand::bkPageFooter:
                acc.Target = DataBandReading(n);
                acc.Scope = TAcc::scPage;
                break;
            default:
                acc.Target = DataBandReading(n);
                acc.Scope = TAcc::scWhole;
                break;
            }
            m_accs.insert(n, acc);
        }
    }
}

void TfrReport::TPrint::ResetAccs(TAcc::TScope scope, const TBand *target, const TBand *owner)
{
    for (TAcc &a : m_accs)
        if (a.Scope == scope && (!target || (a.Reset ? a.Reset : a.Target) == target) && (!owner || a.Owner == owner)) {
            a.Sum = TVtMoney();
            a.Count = 0;
        }
}

void TfrReport::TPrint::Accumulate(const TBand &band)
{
    for (TAcc &a : m_accs) {
        if (a.Target != &band)
            continue;
        ++a.Count;
        if (a.Node->Kind == TfrExpression::ekSum) {
            const QVariant v = TfrExpression::Evaluate(*a.Node->Args[0], *this);
            bool ok = false;
            const double d = v.isNull() ? 0.0 : v.toString().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
            a.Sum += TVtMoney(ok || v.isNull() ? d : v.toDouble());
        }
    }
}

QVariant TfrReport::TPrint::Aggregate(const TNode &node)
{
    const auto it = m_accs.constFind(&node);
    if (it == m_accs.constEnd())
        return QVariant();
    if (node.Kind == TfrExpression::ekCount)
        return it->Count;
    return it->Sum.ToDouble();
}

// ------------------------------------------------------------ expressions

QVariant TfrReport::TPrint::Field(const QString &dataSet, const QString &field)
{
    TDs *ds = Ds(dataSet);
    if (ds->Snapshot) {
        const auto it = ds->Snapshot->constFind(field.toUpper());
        if (it != ds->Snapshot->constEnd())
            return *it;
    }
    OpenDs(*ds);
    TVtQueryCollection *q = ds->Query();
    TVtField *f = q->FindField(field);
    if (!f)
        throw EVtException(QStringLiteral("Campo sconosciuto nel modello: %1.%2").arg(dataSet, field));
    return q->IsEmpty() ? QVariant() : f->Value();
}

QVariant TfrReport::TPrint::Variable(const QString &name)
{
    if (name.compare(QLatin1String("Page"), Qt::CaseInsensitive) == 0)
        return PageMark;
    if (name.compare(QLatin1String("TotalPages"), Qt::CaseInsensitive) == 0)
        return TotalPagesMark;
    if (name.compare(QLatin1String("Date"), Qt::CaseInsensitive) == 0)
        return QDate::currentDate();
    if (name.compare(QLatin1String("Time"), Qt::CaseInsensitive) == 0)
        return QTime::currentTime().toString(QStringLiteral("hh:mm"));
    if (name.compare(QLatin1String("Title"), Qt::CaseInsensitive) == 0)
        return out.Title;
    QVariant value;
    bool handled = false;
    if (r.OnGetValue)
        r.OnGetValue(&r, name, value, handled);
    CheckCancel();
    if (!handled)
        throw EVtException(QStringLiteral("Variabile sconosciuta nel modello: %1").arg(name));
    return value;
}

// The dialog of the dataset in question, else the first dialog shown.
QVariant TfrReport::TPrint::FormProperty(const QString &name)
{
    QWidget *form = m_own ? m_own->Form() : nullptr;
    for (auto it = m_ds.begin(); !form && it != m_ds.end(); ++it)
        form = it->second.Form();
    const QVariant value = form ? form->property(name.toLatin1().constData()) : QVariant();
    if (!value.isValid())
        throw EVtException(QStringLiteral("Variabile sconosciuta nel modello: SelectForm.%1").arg(name));
    return value;
}

QVariant TfrReport::TPrint::Param(const QString &name)
{
    return xgvmGlobalVar ? xgvmGlobalVar->GetValues(name) : QVariant();
}

QString TfrReport::TPrint::Text(const TObject &o, const TfrTextTemplate &text)
{
    QString s;
    for (const TfrTextTemplate::TPart &p : text.Parts()) {
        if (p.Expression.IsEmpty()) {
            s += p.Literal;
            continue;
        }
        const QVariant v = p.Expression.Evaluate(*this);
        const QMetaType::Type type = TypeOf(v);
        s += type == QMetaType::QString ? v.toString() : TVtField::FormatValue(v, type, o.Format);
    }
    return s;
}

// ---------------------------------------------------------------- layout

double TfrReport::TPrint::Bottom() const
{
    double footer = 0;
    if (const TBand *f = t.TopBand(TBand::bkPageFooter))
        footer = f->Height;
    return out.PageSize.height() - t.Margins.bottom() - footer;
}

void TfrReport::TPrint::NewPage()
{
    if (m_page >= 0)
        FinishPage();
    ++m_page;
    out.PageCount = m_page + 1;
    m_segmentOf << m_segments;
    ResetAccs(TAcc::scPage, nullptr);
    m_y = t.Margins.top();
    if (const TBand *header = t.TopBand(TBand::bkPageHeader))
        PrintBand(header, false);
    // The headers of the bands in progress come again.
    for (TRun *run : m_runs) {
        if (!run->HeaderPrinted)
            continue;
        for (const TBand *h : run->Band->ChildrenOf(TBand::bkHeader))
            if (h->RepeatOnNewPage)
                PrintBand(h, false);
        if (run->GroupsStarted)
            for (const TBand *g : run->Groups)
                if (g->RepeatOnNewPage)
                    PrintBand(g, false);
    }
    m_contentTop = m_y;
}

void TfrReport::TPrint::FinishPage()
{
    const TBand *footer = t.TopBand(TBand::bkPageFooter);
    if (!footer || m_page < 0)
        return;
    const TBand *saved = m_band;
    if (footer->Visible.IsEmpty() || TfrExpression::IsTrue(footer->Visible.Evaluate(*this)))
        Place(*footer, footer->Height, out.PageSize.height() - t.Margins.bottom() - footer->Height);
    m_band = saved;
}

double TfrReport::TPrint::Height(const TBand &band)
{
    double h = band.Height;
    if (!band.Stretch)
        return h;
    const TBand *saved = m_band;
    m_band = &band;
    for (const TObject &o : band.Objects) {
        if (o.Kind != TObject::okText || !o.Stretch)
            continue;
        if (!o.Visible.IsEmpty() && !TfrExpression::IsTrue(o.Visible.Evaluate(*this)))
            continue;
        const QFont font = TfrPreparedReport::UnhintedFont(o.Font.isEmpty() ? t.Font : o.Font,
                                                           o.FontSize > 0 ? o.FontSize : t.FontSize, o.Bold, o.Italic, o.Underline);
        const QSizeF size = TfrPreparedReport::TextSize(Text(o, o.Text), font, o.Rect.width(), o.WordWrap);
        h = qMax(h, o.Rect.top() + qMax(o.Rect.height(), size.height()));
    }
    m_band = saved;
    return h;
}

void TfrReport::TPrint::PrintBand(const TBand *band, bool allowBreak)
{
    CheckCancel();
    const TBand *saved = m_band;
    m_band = band;
    if (!band->Visible.IsEmpty() && !TfrExpression::IsTrue(band->Visible.Evaluate(*this))) {
        m_band = saved;
        return;
    }
    const double h = Height(*band);
    if (allowBreak && band->NewPage && m_y > m_contentTop + 0.001)
        NewPage();
    if (allowBreak && m_y + h > Bottom() + 0.001 && m_y > m_contentTop + 0.001)
        NewPage();
    m_band = band;
    Place(*band, h, m_y);
    m_y += h;
    m_band = saved;
}

void TfrReport::TPrint::Place(const TBand &band, double height, double y)
{
    const TBand *saved = m_band;
    m_band = &band;
    const QString bandName = band.Name.isEmpty() ? QStringLiteral("Banda alla riga %1").arg(band.Line) : band.Name;
    for (const TObject &o : band.Objects) {
        if (!o.Visible.IsEmpty() && !TfrExpression::IsTrue(o.Visible.Evaluate(*this)))
            continue;
        TfrPreparedReport::TItem item;
        item.Page = m_page;
        item.Band = bandName;
        item.Object = o.Name.isEmpty() ? QStringLiteral("Oggetto alla riga %1").arg(o.Line) : o.Name;
        item.Rect = QRectF(t.Margins.left() + o.Rect.left(), y + o.Rect.top(), o.Rect.width(), o.Rect.height());
        item.FrameWidth = o.FrameWidth;
        item.Frame = o.Frame;
        item.Font = TfrPreparedReport::UnhintedFont(o.Font.isEmpty() ? t.Font : o.Font,
                                                     o.FontSize > 0 ? o.FontSize : t.FontSize, o.Bold, o.Italic, o.Underline);
        switch (o.Kind) {
        case TObject::okText: {
            item.Kind = TfrPreparedReport::TItem::ikText;
            item.Text = Text(o, o.Text);
            item.Align = o.Align | o.VAlign;
            item.WordWrap = o.WordWrap;
            const QSizeF size = TfrPreparedReport::TextSize(item.Text, item.Font, o.Rect.width(), o.WordWrap);
            if (o.Stretch && band.Stretch)
                item.Rect.setHeight(qMax(o.Rect.height(), qMin(size.height(), height - o.Rect.top())));
            const bool tooWide = !o.WordWrap && size.width() > o.Rect.width() + 0.01;
            const bool tooTall = size.height() > item.Rect.height() + 0.01;
            if (tooWide || tooTall)
                out.Overflows << TfrPreparedReport::TOverflow{m_page, bandName, item.Object, item.Text};
            break;
        }
        case TObject::okLine:
            item.Kind = TfrPreparedReport::TItem::ikLine;
            break;
        case TObject::okRect:
            item.Kind = TfrPreparedReport::TItem::ikRect;
            break;
        case TObject::okBarcode:
            item.Kind = TfrPreparedReport::TItem::ikBarcode;
            item.Text = Text(o, o.Text);
            item.Modules = TfrBarcode::Modules(item.Text);
            item.ShowText = o.ShowText;
            break;
        }
        out.Items << item;
    }
    m_band = saved;
}

void TfrReport::TPrint::StartGroup(TRun &run, int level)
{
    const TBand *header = run.Groups[level];
    ResetAccs(TAcc::scGroup, run.Band, header);
    if (header->ResetPageNumbers) {
        if (m_y > m_contentTop + 0.001)
            NewPage();
        m_segmentOf[m_page] = ++m_segments;
    }
    TfrPreparedReport::TGroupStart start;
    start.Band = header->Name;
    for (auto &[key, ds] : m_ds) {
        TVtQueryCollection *q = ds.Query();
        if (!q || !q->Active() || q->IsEmpty())
            continue;
        QHash<QString, QVariant> row;
        for (int i = 0; i < q->FieldCount(); ++i)
            row.insert(q->Fields(i)->FieldName.toUpper(), q->Fields(i)->Value());
        start.Rows.insert(key, row);
    }
    const int groupsBefore = int(out.Groups.size());
    PrintBand(header);
    // The group begins where its header went.
    start.Page = m_page;
    out.Groups.insert(groupsBefore, start);
}

void TfrReport::TPrint::EndGroups(TRun &run, int fromLevel, const QHash<QString, QVariant> &lastRow)
{
    run.Ds->Snapshot = &lastRow;
    for (int level = int(run.Groups.size()) - 1; level >= fromLevel; --level)
        if (level < run.GroupFooters.size())
            PrintBand(run.GroupFooters[level]);
    run.Ds->Snapshot = nullptr;
}

void TfrReport::TPrint::KeepRow(TRun &run)
{
    int index = m_tables.value(run.Band, -1);
    TVtQueryCollection *q = run.Ds->Query();
    if (index < 0) {
        TfrPreparedReport::TTable table;
        table.DataSet = run.Ds->Name;
        table.Depth = int(m_runs.size()) - 1;
        for (TRun *master : m_runs) {
            if (master == &run)
                break;
            TVtQueryCollection *mq = master->Ds->Query();
            for (int i = 0; i < mq->FieldCount(); ++i) {
                table.Headers << master->Ds->Name + QLatin1Char('.') + mq->Fields(i)->FieldName;
                table.Types << mq->Fields(i)->DataType;
            }
        }
        for (int i = 0; i < q->FieldCount(); ++i) {
            table.Headers << q->Fields(i)->Title();
            table.Types << q->Fields(i)->DataType;
        }
        index = int(out.Tables.size());
        out.Tables << table;
        m_tables.insert(run.Band, index);
    }
    QVariantList row;
    for (TRun *master : m_runs) {
        if (master == &run)
            break;
        TVtQueryCollection *mq = master->Ds->Query();
        for (int i = 0; i < mq->FieldCount(); ++i)
            row << mq->Fields(i)->Value();
    }
    for (int i = 0; i < q->FieldCount(); ++i)
        row << q->Fields(i)->Value();
    out.Tables[index].Rows << row;
}

void TfrReport::TPrint::RunData(const TBand &band)
{
    TDs *ds = Ds(band.DataSet);
    // A detail of the template's own, over its master's values, is read anew for each master row.
    if (ds->Def && !ds->Def->Params.isEmpty() && !m_runs.isEmpty() && ds->Query()->Active())
        ds->Query()->Close();
    OpenDs(*ds);
    TVtQueryCollection *q = ds->Query();
    TRun run;
    run.Band = &band;
    run.Ds = ds;
    run.Groups = band.ChildrenOf(TBand::bkGroupHeader);
    run.GroupFooters = band.ChildrenOf(TBand::bkGroupFooter);
    ResetAccs(TAcc::scRun, &band);
    auto selected = [&] { return !ds->Filtered || ds->Keys.contains(q->KeyValue().toString()); };
    bool any = false;
    for (q->First(); !q->Eof() && !any; q->Next())
        any = selected();
    if (!any) {
        if (band.PrintIfEmpty) {
            for (const TBand *h : band.ChildrenOf(TBand::bkHeader))
                PrintBand(h);
            for (const TBand *f : band.ChildrenOf(TBand::bkFooter))
                PrintBand(f);
        }
        return;
    }
    m_runs << &run;
    TDs *savedOwn = m_own;
    m_own = ds;
    q->First();
    while (!q->Eof() && !selected())
        q->Next();
    for (const TBand *h : band.ChildrenOf(TBand::bkHeader))
        PrintBand(h);
    run.HeaderPrinted = true;
    QHash<QString, QVariant> lastRow;
    bool first = true;
    for (; !q->Eof(); q->Next()) {
        if (!selected())
            continue;
        CheckCancel();
        QList<QVariant> values;
        for (const TBand *g : run.Groups)
            values << g->Condition.Evaluate(*this);
        int changed = first ? 0 : -1;
        for (int level = 0; !first && level < values.size(); ++level)
            if (TfrExpression::Compare(values[level], run.GroupValues[level]) != 0) {
                changed = level;
                break;
            }
        if (!first && changed >= 0)
            EndGroups(run, changed, lastRow);
        run.GroupValues = values;
        if (changed >= 0 && !run.Groups.isEmpty()) {
            // While groups begin, the ended ones do not come again on a new page.
            run.GroupsStarted = false;
            for (int level = changed; level < run.Groups.size(); ++level)
                StartGroup(run, level);
            run.GroupsStarted = true;
        }
        first = false;
        // Placed first, so that a running total and the page's totals count the row where it lands.
        const TBand *saved = m_band;
        m_band = &band;
        const bool visible = band.Visible.IsEmpty() || TfrExpression::IsTrue(band.Visible.Evaluate(*this));
        m_band = saved;
        if (visible) {
            const double h = Height(band);
            if (band.NewPage && m_y > m_contentTop + 0.001)
                NewPage();
            if (m_y + h > Bottom() + 0.001 && m_y > m_contentTop + 0.001)
                NewPage();
            Accumulate(band);
            Place(band, h, m_y);
            m_y += h;
        } else {
            Accumulate(band);
        }
        KeepRow(run);
        lastRow.clear();
        for (int i = 0; i < q->FieldCount(); ++i)
            lastRow.insert(q->Fields(i)->FieldName.toUpper(), q->Fields(i)->Value());
        for (const TBand &child : band.Children)
            if (child.Kind == TBand::bkData)
                RunData(child);
    }
    EndGroups(run, 0, lastRow);
    run.GroupsStarted = false;
    ds->Snapshot = &lastRow;
    for (const TBand *f : band.ChildrenOf(TBand::bkFooter))
        PrintBand(f);
    ds->Snapshot = nullptr;
    m_own = savedOwn;
    m_runs.removeLast();
}

void TfrReport::TPrint::ResolvePageNumbers()
{
    QHash<int, int> total;
    QList<int> number;
    for (int page = 0; page < m_segmentOf.size(); ++page) {
        const int segment = m_segmentOf[page];
        number << ++total[segment];
    }
    for (TfrPreparedReport::TItem &item : out.Items) {
        if (!item.Text.contains(QLatin1Char('\x01')))
            continue;
        const int segment = m_segmentOf.value(item.Page);
        item.Text.replace(PageMark, QString::number(number.value(item.Page)));
        item.Text.replace(TotalPagesMark, QString::number(total.value(segment)));
    }
    for (TfrPreparedReport::TOverflow &o : out.Overflows) {
        o.Text.replace(PageMark, QString::number(number.value(o.Page)));
        o.Text.replace(TotalPagesMark, QString::number(total.value(m_segmentOf.value(o.Page))));
    }
}

// The datasets opened here are closed, the dialogs freed.
void TfrReport::TPrint::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    for (auto &[key, ds] : m_ds) {
        ds.Snapshot = nullptr;
        if (ds.OpenedHere && ds.Query())
            ds.Query()->Close();
        if (auto *vt = qobject_cast<TVtfrDBDataSet *>(ds.Set))
            vt->FreeForm();
    }
}

// -------------------------------------------------------------- TfrReport

TfrReport::TfrReport(QObject *parent) : QObject(parent)
{
    LoadFromText(QStringLiteral("<Report/>"));
}

TfrReport::~TfrReport()
{
    if (m_preview)
        m_preview->deleteLater();
}

void TfrReport::LoadFromText(const QString &xml)
{
    m_template = TfrTemplate::Parse(xml);
    m_text = xml;
    m_prepared.Clear();
    m_wentToFiles = false;
}

TfrDBDataSet *TfrReport::DataSetInUse(const QString &name) const
{
    return m_print ? m_print->InUse(name) : nullptr;
}

void TfrReport::RedirectToPdf(const QString &fileName)
{
    m_pdfFile = fileName;
    m_splitBand.clear();
}

void TfrReport::RedirectToSplit(const QString &groupBand, const QString &folder, const QString &fileNameExpression)
{
    m_splitBand = groupBand;
    m_splitFolder = folder;
    m_splitExpression = fileNameExpression;
    m_pdfFile.clear();
}

bool TfrReport::WriteRedirected()
{
    TfrPDFExport pdf;
    if (!m_pdfFile.isEmpty()) {
        if (!pdf.Export(m_prepared, m_pdfFile)) {
            VtMessageDlg(pdf.ErrorText, mtError, mbOK);
            return false;
        }
        m_files << m_pdfFile;
        return true;
    }
    if (!pdf.SplitByGroup(m_prepared, m_splitBand, m_splitFolder, m_splitExpression, &m_files)) {
        VtMessageDlg(pdf.ErrorText, mtError, mbOK);
        return false;
    }
    return true;
}

bool TfrReport::PrepareReport()
{
    if (m_printing)
        return false;
    m_printing = true;
    m_cancelled = false;
    m_files.clear();
    m_prepared.Clear();
    bool completed = false;
    {
        TPrint print(*this);
        m_print = &print;
        try {
            if (OnBeginPrint)
                OnBeginPrint(this);
            if (m_cancelled)
                throw EVtAbort();
            print.Run();
            completed = !m_cancelled;
        } catch (const EVtAbort &) {
            completed = false;
        } catch (const EVtException &e) {
            VtMessageDlg(ErrorCaption() + e.Message(), mtError, mbOK);
        } catch (const std::exception &e) {
            VtMessageDlg(ErrorCaption() + QString::fromLocal8Bit(e.what()), mtError, mbOK);
        }
        m_print = nullptr;
    }
    if (!completed)
        m_prepared.Clear();
    m_wentToFiles = Redirected();
    if (completed && m_wentToFiles)
        completed = WriteRedirected();
    // A redirection holds for one print.
    m_pdfFile.clear();
    m_splitBand.clear();
    m_printing = false;
    if (OnEndPrint)
        OnEndPrint(this, completed, m_files);
    return completed;
}

bool TfrReport::ExportTo(TfrExportFilter &filter, const QString &fileName)
{
    if (filter.Export(m_prepared, fileName)) {
        m_files << fileName;
        return true;
    }
    VtMessageDlg(filter.ErrorText, mtError, mbOK);
    return false;
}

TfrPreviewForm *TfrReport::ShowPreparedReport()
{
    if (m_wentToFiles || m_prepared.PageCount == 0)
        return nullptr;
    if (m_preview)
        m_preview->deleteLater();
    m_preview = new TfrPreviewForm(m_prepared);
    m_preview->setAttribute(Qt::WA_DeleteOnClose);
    m_preview->show();
    return m_preview;
}

#include "VtDBLookupEdit.h"
#include "VtDataSource.h"
#include "VtGuard.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"
#include "fmVtSearch.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace {
const QString WhereMarker = QStringLiteral("##WHERE##");
const QString KeyParam = QStringLiteral("VTLKPKEY");
const QString TextParam = QStringLiteral("VTLKPTEXT");

bool SameKey(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.toString() == b.toString();
}
}

TVtDBLookupEdit::TVtDBLookupEdit(QWidget *parent) : TVtDBControl(parent)
{
    auto *box = new QWidget(this);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    m_edit = new QLineEdit(box);
    m_edit->setObjectName(QStringLiteral("edLookup"));
    m_edit->setToolTip(QStringLiteral("Invio o F2 per cercare"));
    m_edit->installEventFilter(this);
    m_button = new QToolButton(box);
    m_button->setObjectName(QStringLiteral("buCerca"));
    m_button->setText(QStringLiteral("..."));
    m_button->setToolTip(QStringLiteral("Cerca"));
    m_button->setFocusPolicy(Qt::NoFocus);
    row->addWidget(m_edit, 1);
    row->addWidget(m_button);
    box->setFocusProxy(m_edit);
    SetEditor(box);
    m_list = new TVtQueryCollection(this);
    m_list->ReadOnly = true;
    connect(m_edit, &QLineEdit::textEdited, this, [this] { UserEdited(); });
    connect(m_button, &QToolButton::clicked, this, [this] {
        if (EffectiveReadOnly())
            return;
        VtGuard([this] {
            if (Pending())
                CommitPending();
            else
                ShowSearchForm();
        });
    });
}

TVtDBLookupEdit::~TVtDBLookupEdit()
{
    delete m_searchForm.data();
}

TVtParams &TVtDBLookupEdit::ListParams()
{
    return m_list->Params();
}

TfmVtSearch *TVtDBLookupEdit::SearchForm()
{
    if (m_searchForm && m_searchFormClass.compare(SearchFormClass, Qt::CaseInsensitive) != 0) {
        delete m_searchForm.data();
        m_searchForm = nullptr;
    }
    if (!m_searchForm) {
        m_searchForm = CreateVtSearchForm(SearchFormClass, window());
        m_searchFormClass = SearchFormClass;
    }
    return m_searchForm;
}

QString TVtDBLookupEdit::ListSql(const QString &listCommandText, const QString &condition)
{
    QString sql = listCommandText;
    sql.replace(WhereMarker, condition);
    return sql;
}

QString TVtDBLookupEdit::KeyCondition() const
{
    return QStringLiteral("(%1 = :%2)").arg(KeyField, KeyParam);
}

QString TVtDBLookupEdit::TextCondition() const
{
    return QStringLiteral("(%1 CONTAINING :%2)").arg(ListField, TextParam);
}

QString TVtDBLookupEdit::ColumnName(const QString &name) const
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? name.mid(dot + 1).trimmed() : name.trimmed();
}

void TVtDBLookupEdit::OpenList(const QString &condition)
{
    m_list->Close();
    m_list->Params().CreateParam(QMetaType::UnknownType, KeyParam);
    m_list->Params().CreateParam(QMetaType::UnknownType, TextParam);
    m_list->CommandText = ListCommandText.contains(WhereMarker) ? ListSql(ListCommandText, condition) : ListCommandText;
    m_shownSql = ListCommandText;
    m_list->Open();
}

QVariant TVtDBLookupEdit::ListKey() const
{
    if (!m_list->Active() || m_list->IsEmpty())
        return QVariant();
    TVtField *f = m_list->FindField(ColumnName(KeyField));
    return f ? f->Value() : QVariant();
}

QString TVtDBLookupEdit::ListText() const
{
    if (!m_list->Active() || m_list->IsEmpty())
        return QString();
    TVtField *f = m_list->FindField(ListColumn.isEmpty() ? ColumnName(ListField) : ListColumn);
    return f ? f->DisplayText() : QString();
}

bool TVtDBLookupEdit::SeekByID(const QVariant &id)
{
    m_shownKey = QVariant();
    if (id.isNull() || ListCommandText.isEmpty()) {
        m_edit->setText(id.isNull() ? QString() : id.toString());
        return false;
    }
    m_list->Params().CreateParam(QMetaType::UnknownType, KeyParam)->SetValue(id);
    OpenList(KeyCondition());
    bool found = !m_list->IsEmpty();
    if (!ListCommandText.contains(WhereMarker))
        found = m_list->Locate(ColumnName(KeyField), id);
    else if (found && !SameKey(ListKey(), id))
        found = m_list->Locate(ColumnName(KeyField), id);
    if (found)
        m_shownKey = id;
    m_edit->setText(found ? ListText() : QString());
    return found;
}

bool TVtDBLookupEdit::RefreshList()
{
    m_list->Close();
    TVtField *f = Field();
    const QVariant key = f && DataSource() && DataSource()->State() != dsInactive ? f->Value() : m_shownKey;
    if (Pending())
        return SeekByID(key) || key.isNull();
    return SeekByID(key);
}

QVariant TVtDBLookupEdit::KeyValue() const
{
    TVtField *f = Field();
    return f ? f->Value() : QVariant();
}

QString TVtDBLookupEdit::Text() const
{
    return m_edit->text();
}

void TVtDBLookupEdit::SetText(const QString &text)
{
    m_edit->setText(text);
    UserEdited();
}

bool TVtDBLookupEdit::ChooseKey(const QVariant &key)
{
    TVtField *f = Field();
    const bool changed = !f || !SameKey(f->Value(), key);
    const QVariant previous = m_shownKey;
    m_shownKey = key;
    if (!AcceptValue(key)) {
        m_shownKey = previous;
        return false;
    }
    m_edit->setText(key.isNull() ? QString() : ListText());
    if (changed)
        CopyListFields(key.isNull());
    if (changed && OnChangeFKValue)
        VtGuard([&] { OnChangeFKValue(this, key); });
    return true;
}

void TVtDBLookupEdit::SetSearchForm(const QString &caption, int width, const QVector<TSearchColumn> &columns)
{
    SearchCaption = caption;
    SearchWidth = width;
    m_searchColumns = columns;
}

void TVtDBLookupEdit::SetCopyFields(const QStringList &columns)
{
    m_copyFields = columns;
}

void TVtDBLookupEdit::CopyListFields(bool clear)
{
    TVtQueryCollection *ds = DataSource() ? DataSource()->DataSet() : nullptr;
    if (!ds || m_copyFields.isEmpty())
        return;
    for (const QString &column : m_copyFields) {
        TVtField *target = ds->FieldByName(column);
        if (clear)
            target->Clear();
        else
            target->SetValue(m_list->FieldByName(column)->Value());
    }
}

void TVtDBLookupEdit::ClearKey()
{
    TVtField *f = Field();
    if (!f || f->IsNull())
        return;
    f->Clear();
    m_shownKey = QVariant();
    m_edit->clear();
    CopyListFields(true);
    if (OnChangeFKValue)
        VtGuard([&] { OnChangeFKValue(this, QVariant()); });
}

void TVtDBLookupEdit::ApplySearchColumns(TfmVtSearch *form) const
{
    if (!SearchCaption.isEmpty())
        form->SetCaption(SearchCaption);
    if (SearchWidth > 0)
        form->SetWidth(SearchWidth);
    if (m_searchColumns.isEmpty())
        return;
    for (int i = 0; i < form->GetFields()->Count(); ++i)
        form->GetFields()->Items(i)->Visible = false;
    for (const TSearchColumn &c : m_searchColumns) {
        TVtSearchField *sf = form->GetFields()->FindField(c.FieldName);
        if (!sf)
            throw EVtException(QStringLiteral("Campo '%1' non trovato.").arg(c.FieldName));
        sf->Title = c.Title;
        sf->Width = c.Width;
        sf->Indexed = c.Indexed;
        sf->Visible = true;
    }
}

bool TVtDBLookupEdit::TakeListRow()
{
    return ChooseKey(ListKey());
}

bool TVtDBLookupEdit::SetKeyValue(const QVariant &id)
{
    if (id.isNull())
        return ChooseKey(QVariant());
    if (!SeekByID(id))
        return false;
    return ChooseKey(id);
}

bool TVtDBLookupEdit::Search()
{
    const QString text = m_edit->text().trimmed();
    if (text.isEmpty())
        return ChooseKey(QVariant());
    if (ListCommandText.isEmpty())
        return false;
    const QString listColumn = ListColumn.isEmpty() ? ColumnName(ListField) : ListColumn;
    QVector<int> matches;
    try {
        m_list->Params().CreateParam(QMetaType::UnknownType, TextParam)->SetValue(text);
        OpenList(TextCondition());
        m_list->Last();
        TVtField *lf = m_list->FieldByName(listColumn);
        const bool inMemory = !ListCommandText.contains(WhereMarker);
        for (int r = 0; r < m_list->RecordCount(); ++r)
            if (!inMemory || m_list->RowValue(r, lf->Index).toString().contains(text, Qt::CaseInsensitive))
                matches << r;
        if (matches.size() > 1) {
            QVector<int> exact;
            for (int r : matches)
                if (m_list->RowValue(r, lf->Index).toString().trimmed().compare(text, Qt::CaseInsensitive) == 0)
                    exact << r;
            if (exact.size() == 1)
                matches = exact;
        }
    } catch (const EVtException &e) {
        ShowError(e.Message());
        return false;
    }
    if (matches.isEmpty()) {
        ShowError(QStringLiteral("Nessun elemento corrisponde a \"%1\".").arg(text));
        return false;
    }
    if (matches.size() == 1) {
        m_list->SetRecNo(matches.first());
        return TakeListRow();
    }
    // Several rows: the user chooses; Annulla keeps the key as it was (not a refusal).
    const bool chosen = ShowSearchForm(text);
    return chosen || !HasError();
}

bool TVtDBLookupEdit::ShowSearchForm(const QString &text)
{
    if (ListCommandText.isEmpty() || EffectiveReadOnly())
        return false;
    TfmVtSearch *form = SearchForm();
    QString sql = ListCommandText.contains(WhereMarker) ? ListSql(ListCommandText, AllCondition()) : ListCommandText;
    if (OnSetSearchQuery && !VtGuard([&] { OnSetSearchQuery(this, sql); }))
        return false;
    form->SetCommandText(sql);
    TVtParams &params = form->GetDataSet()->Params();
    for (int i = 0; i < m_list->Params().Count(); ++i) {
        const TVtParam *p = m_list->Params().Items(i);
        if (p->Name.compare(KeyParam, Qt::CaseInsensitive) != 0 && p->Name.compare(TextParam, Qt::CaseInsensitive) != 0
            && !params.FindParam(p->Name))
            params.CreateParam(p->DataType, p->Name, p->ParamType)->SetValue(p->Value());
    }
    const bool firstTime = form->GetFields()->Count() == 0;
    try {
        form->RefreshSearch();
    } catch (const EVtException &e) {
        VtMessageDlg(e.Message(), mtError, mbOK);
        return false;
    }
    if (firstTime) {
        // Defaults until the caller says otherwise: the key hidden, the shown field searched.
        for (int i = 0; i < form->GetFields()->Count(); ++i) {
            TVtSearchField *sf = form->GetFields()->Items(i);
            if (sf->FieldName.compare(ColumnName(KeyField), Qt::CaseInsensitive) == 0)
                sf->Visible = false;
            if (sf->FieldName.compare((ListColumn.isEmpty() ? ColumnName(ListField) : ListColumn), Qt::CaseInsensitive) == 0)
                sf->Indexed = true;
        }
    }
    form->SetSearchText(text);
    if (!VtGuard([&] { ApplySearchColumns(form); }))
        return false;
    if (OnShowSearchForm && !VtGuard([&] { OnShowSearchForm(this, form); }))
        return false;
    if (!form->Execute()) {
        UpdateFromField();
        return false;
    }
    TVtField *kf = form->GetDataSet()->FindField(ColumnName(KeyField));
    const QVariant key = kf ? kf->Value() : QVariant();
    if (key.isNull()) {
        UpdateFromField();
        return false;
    }
    SeekByID(key);
    return ChooseKey(key);
}

bool TVtDBLookupEdit::CommitPending()
{
    if (!Pending())
        return true;
    if (!DataSource() || !DataSource()->Editing()) {
        UpdateFromField();
        return true;
    }
    if (m_searching)
        return false;
    m_searching = true;
    bool ok = false;
    try {
        ok = Search();
    } catch (...) {
        m_searching = false;
        throw;
    }
    m_searching = false;
    return ok;
}

bool TVtDBLookupEdit::EditorValue(QVariant &value, QString &) const
{
    value = KeyValue();
    return true;
}

void TVtDBLookupEdit::LoadEditor(const QVariant &value)
{
    if (value.isNull()) {
        m_edit->clear();
        return;
    }
    if (ListCommandText.isEmpty()) {
        m_edit->setText(value.toString());
        return;
    }
    if (m_list->Active() && m_shownSql == ListCommandText && SameKey(m_shownKey, value) && SameKey(ListKey(), value)) {
        m_edit->setText(ListText());
        return;
    }
    try {
        SeekByID(value);
    } catch (const EVtException &) {
        m_edit->setText(value.toString());
    }
}

void TVtDBLookupEdit::ApplyReadOnly(bool readOnly)
{
    m_edit->setReadOnly(readOnly);
    m_button->setEnabled(!readOnly);
}

bool TVtDBLookupEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit) {
        if (event->type() == QEvent::KeyPress) {
            auto *ke = static_cast<QKeyEvent *>(event);
            if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
                if (Pending()) {
                    VtGuard([this] { CommitPending(); });
                    return true;
                }
            } else if (ke->key() == Qt::Key_F2 && !EffectiveReadOnly()) {
                VtGuard([this] {
                    if (Pending())
                        CommitPending();
                    else
                        ShowSearchForm();
                });
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && !m_searching) {
            VtGuard([this] { LeaveControl(); });
        }
    }
    return TVtDBControl::eventFilter(watched, event);
}

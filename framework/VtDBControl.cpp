#include "VtDBControl.h"
#include "VtDataSource.h"
#include "VtGuard.h"
#include "VtException.h"
#include "VtMessageDlg.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
bool SameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}
}

TVtDBControl::TVtDBControl(QWidget *parent) : QWidget(parent)
{
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(1);
    m_errorLabel = new QLabel(this);
    m_errorLabel->setObjectName(QStringLiteral("lbErrore"));
    m_errorLabel->setStyleSheet(QStringLiteral("QLabel { color: #c00000; }"));
    m_errorLabel->setWordWrap(true);
    m_errorLabel->hide();
    m_layout->addWidget(m_errorLabel);
}

TVtDBControl::~TVtDBControl()
{
    for (const auto &c : m_connections)
        disconnect(c);
    if (m_source)
        m_source->UnregisterControl(this);
}

void TVtDBControl::SetEditor(QWidget *editor)
{
    m_editor = editor;
    m_layout->insertWidget(0, editor);
    setFocusProxy(editor);
    m_baseToolTip = editor->toolTip();
}

void TVtDBControl::SetDataSource(TVtDataSource *source)
{
    if (m_source == source)
        return;
    for (const auto &c : m_connections)
        disconnect(c);
    m_connections.clear();
    if (m_source)
        m_source->UnregisterControl(this);
    m_source = source;
    if (source) {
        source->RegisterControl(this);
        m_connections << connect(source, &TVtDataSource::DataChanged, this, [this](TVtField *f) { OnDataChanged(f); });
        m_connections << connect(source, &TVtDataSource::StateChanged, this, [this] { OnStateChanged(); });
        m_connections << connect(source, &TVtDataSource::SettingsChanged, this, [this] { UpdateReadOnly(); });
    }
    UpdateFromField();
}

void TVtDBControl::SetDataField(const QString &fieldName)
{
    m_dataField = fieldName;
    UpdateFromField();
}

void TVtDBControl::Bind(TVtDataSource *source, const QString &fieldName)
{
    m_dataField = fieldName;
    SetDataSource(source);
    UpdateFromField();
}

TVtField *TVtDBControl::Field() const
{
    if (!m_source || !m_source->DataSet() || m_dataField.isEmpty() || !m_source->DataSet()->Active())
        return nullptr;
    return m_source->DataSet()->FindField(m_dataField);
}

void TVtDBControl::SetReadOnly(bool on)
{
    m_readOnly = on;
    UpdateReadOnly();
}

bool TVtDBControl::EffectiveReadOnly() const
{
    if (m_readOnly || !m_source || m_source->State() == dsInactive || m_source->ReadOnly())
        return true;
    TVtField *f = Field();
    return !f || f->ReadOnly || f->IsCalculated();
}

void TVtDBControl::UpdateReadOnly()
{
    ApplyReadOnly(EffectiveReadOnly());
}

void TVtDBControl::UpdateFromField()
{
    m_pending = false;
    TVtField *f = Field();
    if (f)
        FieldBound(f);
    m_loading = true;
    LoadEditor(f && m_source->State() != dsInactive && !m_source->DataSet()->IsEmpty() ? f->Value() : QVariant());
    m_loading = false;
    UpdateReadOnly();
}

void TVtDBControl::OnDataChanged(TVtField *field)
{
    if (field && field != Field())
        return;
    if (!field) {
        // A new row or a reopened collection: the validation starts again.
        m_validated = false;
        if (!m_source || !m_source->Editing())
            ClearError();
    }
    if (m_pending && field == nullptr && m_source && m_source->Editing())
        return;   // keep what the user is typing while the edit starts
    UpdateFromField();
}

void TVtDBControl::OnStateChanged()
{
    if (!m_source || !m_source->Editing()) {
        m_pending = false;
        m_validated = false;
        ClearError();
        UpdateFromField();
        return;
    }
    if (!m_pending)
        UpdateFromField();
    else
        UpdateReadOnly();
}

bool TVtDBControl::UserEdited()
{
    if (m_loading)
        return true;
    if (!m_source || EffectiveReadOnly()) {
        UpdateFromField();
        return false;
    }
    m_pending = true;
    if (!m_source->Editing() && !m_source->Edit()) {
        UpdateFromField();
        return false;
    }
    m_pending = true;
    return true;
}

bool TVtDBControl::ValidateValue(const QVariant &value)
{
    if (!OnValidate) {
        ClearError();
        return true;
    }
    QString message;
    bool ok = false;
    try {
        ok = OnValidate(value, message);
    } catch (const EVtAbort &) {
        ok = false;
    } catch (const EVtException &e) {
        ok = false;
        message = e.Message();
    } catch (const std::exception &e) {
        ok = false;
        message = QStringLiteral("Errore imprevisto:\r\n%1").arg(QString::fromLocal8Bit(e.what()));
    }
    if (!ok) {
        ShowError(message.isEmpty() ? QStringLiteral("Valore non valido.") : message);
        return false;
    }
    ClearError();
    return true;
}

bool TVtDBControl::AcceptValue(const QVariant &value)
{
    TVtField *f = Field();
    if (!f || !m_source)
        return false;
    if (!m_source->Editing() && !m_source->Edit()) {
        UpdateFromField();
        return false;
    }
    const QVariant coerced = f->Coerce(value);
    if (!ValidateValue(coerced))
        return false;
    m_pending = false;
    // The validation may have cancelled the edit.
    if (!m_source->Editing()) {
        UpdateFromField();
        return false;
    }
    try {
        f->SetValue(coerced);
    } catch (const EVtAbort &) {
        UpdateFromField();
        return false;
    } catch (const EVtException &e) {
        ShowError(e.Message());
        m_pending = true;
        return false;
    }
    m_validated = true;
    m_validatedValue = f->Value();
    if (OnChange)
        VtGuard([this] { OnChange(this); });
    return true;
}

bool TVtDBControl::CommitPending()
{
    if (!m_pending)
        return true;
    if (!m_source || !m_source->Editing()) {
        // The edit ended meanwhile (cancelled, say): the text is stale.
        UpdateFromField();
        return true;
    }
    QVariant value;
    QString message;
    if (!EditorValue(value, message)) {
        ShowError(message);
        return false;
    }
    return AcceptValue(value);
}

bool TVtDBControl::CheckForPost()
{
    if (isHidden() || EffectiveReadOnly()) {
        m_pending = false;
        return true;
    }
    if (m_pending)
        return CommitPending();
    TVtField *f = Field();
    if (!f || !OnValidate)
        return true;
    const QVariant v = f->Value();
    if (m_validated && SameValue(v, m_validatedValue))
        return true;
    if (!ValidateValue(v))
        return false;
    m_validated = true;
    m_validatedValue = v;
    return true;
}

void TVtDBControl::LeaveControl()
{
    if (m_pending)
        CommitPending();
    if (OnExit && !HasError())
        OnExit(this);
}

void TVtDBControl::ShowError(const QString &message)
{
    m_errorText = message;
    m_errorLabel->setText(message);
    m_errorLabel->show();
    if (m_editor) {
        m_editor->setToolTip(message);
        m_editor->setProperty("vtError", true);
    }
}

void TVtDBControl::ClearError()
{
    if (m_errorText.isEmpty())
        return;
    m_errorText.clear();
    m_errorLabel->clear();
    m_errorLabel->hide();
    if (m_editor) {
        m_editor->setToolTip(m_baseToolTip);
        m_editor->setProperty("vtError", false);
    }
}

void TVtDBControl::FocusEditor()
{
    if (m_editor)
        m_editor->setFocus(Qt::OtherFocusReason);
}

TVtDBControl::TValidate TVtDBControl::Required(const QString &message)
{
    return [message](const QVariant &value, QString &msg) {
        if (value.isNull() || value.toString().trimmed().isEmpty()) {
            msg = message;
            return false;
        }
        return true;
    };
}

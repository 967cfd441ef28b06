#pragma once
#include "VtEvent.h"
#include "VtDataSource.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <functional>

class QLabel;
class QVBoxLayout;
class TVtDataSource;
class TVtField;

// Base of the data-aware controls: an editor bound to one field of a data
// source, with the field's validation message shown under the editor (a red
// label, and the editor's tooltip) instead of a message box.
//
// What the user types starts an edit of the collection and stays pending in
// the editor until it is committed (Enter, leaving the control, or the post
// of the frame); committing converts the text, runs OnValidate and only then
// writes the field. A refused value is not written: the text stays in the
// editor with the message under it, and CheckForPost refuses until it is
// corrected or the edit is cancelled.
class TVtDBControl : public QWidget
{
    Q_OBJECT
public:
    // False refuses the value; message is the Italian text shown at the field.
    using TValidate = std::function<bool(const QVariant &value, QString &message)>;
    using TNotify = TVtEvent<TVtDBControl *>;

    explicit TVtDBControl(QWidget *parent = nullptr);
    ~TVtDBControl() override;

    TVtDataSource *DataSource() const { return m_source; }
    void SetDataSource(TVtDataSource *source);
    QString DataField() const { return m_dataField; }
    void SetDataField(const QString &fieldName);
    void Bind(TVtDataSource *source, const QString &fieldName);
    // The bound field of the open collection; null when closed or unknown.
    TVtField *Field() const;

    TValidate OnValidate;
    // A validation that refuses an empty value (null or blank) with the message.
    static TValidate Required(const QString &message);
    // After the control wrote a new value into the field.
    TNotify OnChange;
    // After the user left the control (its text committed).
    TNotify OnExit;

    // The control's own read-only switch; the control is also read-only when
    // the field, the collection or the source is.
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool on);
    bool EffectiveReadOnly() const;

    // The editor holds text the user typed that is not in the field yet.
    bool Pending() const { return m_pending; }
    // Writes the pending text through the validation; true when nothing was
    // pending or the value was accepted.
    virtual bool CommitPending();
    // Commits pending text, then validates the field's value when it has not
    // passed the validation in this edit. Skipped for hidden or read-only controls.
    bool CheckForPost();
    // Runs OnValidate on a value and shows or clears the message.
    bool ValidateValue(const QVariant &value);

    QString ErrorText() const { return m_errorText; }
    bool HasError() const { return !m_errorText.isEmpty(); }
    void ShowError(const QString &message);
    void ClearError();
    QLabel *ErrorLabel() const { return m_errorLabel; }
    QWidget *Editor() const { return m_editor; }
    void FocusEditor();

    // Reads the field again into the editor (pending text is dropped).
    void UpdateFromField();

protected:
    // The editor's content as a value of the field; false with a message when
    // the text cannot be read (a malformed date, say).
    virtual bool EditorValue(QVariant &value, QString &message) const = 0;
    // Shows a value of the field (null when there is no row).
    virtual void LoadEditor(const QVariant &value) = 0;
    virtual void ApplyReadOnly(bool readOnly) = 0;
    // Called when the bound field is found again (open, reopen).
    virtual void FieldBound(TVtField *) {}

    void SetEditor(QWidget *editor);
    // The user changed the editor: starts the edit and marks the text pending.
    // False when no edit can start (the editor is then reloaded).
    bool UserEdited();
    // Writes a value (already read from the editor) through the validation.
    bool AcceptValue(const QVariant &value);
    void LeaveControl();
    bool Loading() const { return m_loading; }
    void SetPending(bool on) { m_pending = on; }

private:
    void OnDataChanged(TVtField *field);
    void OnStateChanged();
    void UpdateReadOnly();

    QPointer<TVtDataSource> m_source;
    QString m_dataField;
    QWidget *m_editor = nullptr;
    QLabel *m_errorLabel = nullptr;
    QVBoxLayout *m_layout = nullptr;
    QString m_errorText;
    QString m_baseToolTip;
    bool m_readOnly = false;
    bool m_pending = false;
    bool m_loading = false;
    bool m_validated = false;     // the field's value passed the validation in this edit
    QVariant m_validatedValue;
    QList<QMetaObject::Connection> m_connections;
};

#pragma once
#include "VtDBControl.h"
#include "frVtDB.h"

#include <QString>
#include <functional>

class QAction;
class QFormLayout;
class QGroupBox;
class QTabWidget;
class QToolBar;
class TVtDataAction;
class TVtDBGrid;
class TVtDBEdit;
class TVtDBDateEdit;
class TVtDBNumEdit;
class TVtDBCheckBox;
class TVtDBMemo;
class TVtDBComboBox;
class TVtDBLookupEdit;

enum TVtDetailKind { dkEdit, dkDate, dkNumeric, dkCheck, dkMemo, dkCombo, dkLookup };

// One declared field of a frame's detail page.
struct TVtDetailField
{
    TVtDetailKind Kind = dkEdit;
    QString FieldName;
    QString Caption;
    bool ReadOnly = false;
    TVtDBControl::TValidate Validate;
    QString Name;                 // object name of the control, such as "xdeCodice"
    // Lookups only
    QString ListCommandText;
    QString KeyField;
    QString ListField;
};

// Data frame with a grid page and a detail page (page control pcMain) over
// the collection of xdsMain, and the data actions xacInsert ... xacRefresh.
//
// A subclass (or the caller) declares the grid columns (AddColumn) and the
// detail fields (AddDetailField or the typed Add... helpers, which return the
// control so that its validation and events can be set), and sets hooks on
// xdsMain and on the actions; the frame builds the widgets.
//
// Insert and Edit switch to the detail page, Post and Cancel back to the grid
// (also when the collection changes state by other means). Post first
// commits every control bound to xdsMain through its validation and does not
// post while one refuses. A double click (or Enter) on a grid row opens the
// detail page. Leaving the detail page for the grid during an edit posts it.
class TfrVtDBRWGrid : public TfrVtDB
{
    Q_OBJECT
public:
    explicit TfrVtDBRWGrid(QWidget *parent = nullptr);

    QTabWidget *pcMain;
    QWidget *tsGrid;
    QWidget *tsDetail;
    TVtDBGrid *grMain;
    QToolBar *tbActions;

    TVtDataAction *xacInsert;    // "Nuovo"
    TVtDataAction *xacEdit;      // "Modifica"
    TVtDataAction *xacPost;      // "Salva"
    TVtDataAction *xacCancel;    // "Annulla"
    TVtDataAction *xacTrash;     // "Elimina": marks the row deleted (collections with DDELETE)
    TVtDataAction *xacDelete;    // "Cancella"
    TVtDataAction *xacRefresh;   // "Aggiorna"
    QList<TVtDataAction *> Actions() const;

    // A checkable command after the data actions on the tool bar.
    QAction *AddToggle(const QString &name, const QString &caption, const QString &category,
                       std::function<void(bool on)> toggled);

    // Grid
    void AddColumn(const QString &fieldName, const QString &title, int width = 0);

    // Detail page: each typed helper names the control (its object name),
    // binds it to the field and returns it for its validation and events.
    TVtDBControl *AddDetailField(const TVtDetailField &field);
    TVtDBEdit *AddEdit(const QString &name, const QString &fieldName, const QString &caption,
                              bool readOnly = false);
    TVtDBDateEdit *AddDateEdit(const QString &name, const QString &fieldName, const QString &caption,
                              bool readOnly = false);
    TVtDBNumEdit *AddNumEdit(const QString &name, const QString &fieldName, const QString &caption,
                              bool readOnly = false);
    TVtDBCheckBox *AddCheckBox(const QString &name, const QString &fieldName, const QString &caption,
                              bool readOnly = false);
    TVtDBMemo *AddMemo(const QString &name, const QString &fieldName, const QString &caption,
                              bool readOnly = false);
    TVtDBComboBox *AddComboBox(const QString &name, const QString &fieldName, const QString &caption,
                              bool readOnly = false);
    TVtDBLookupEdit *AddLookup(const QString &name, const QString &fieldName, const QString &caption,
                               const QString &listCommandText, const QString &keyField, const QString &listField,
                               bool readOnly = false);
    // Any other widget on the detail page, with a caption.
    void AddDetailWidget(const QString &caption, QWidget *widget);
    // A titled group on the detail page: the fields declared until EndGroup
    // go inside it.
    QGroupBox *BeginGroup(const QString &name, const QString &title);
    void EndGroup();
    QFormLayout *DetailLayout() const { return m_form; }
    QList<TVtDBControl *> DetailControls() const { return m_controls; }
    // The detail control bound to a field (null when none).
    TVtDBControl *FindControl(const QString &fieldName) const;
    // Shows or hides a detail control together with its caption.
    void SetDetailVisible(QWidget *control, bool visible);

    // Rows that carry ILOCKED read with them are locked: the frame offers
    // neither edit nor delete on them. RefuseLockedRows makes the frame's
    // collection refuse both too (typing into the detail page starts an edit).
    bool RowLocked() const;
    void RefuseLockedRows();

    void ShowGrid();
    void ShowDetail();
    bool DetailShown() const;

    // Commits the controls and posts; false (nothing written) when a
    // validation or the collection refused. The default of xacPost.
    bool PostEdit();

    void UpdateActions() override;

protected:
    // The default behaviours of the actions.
    virtual void DoInsert();
    virtual void DoEdit();
    virtual void DoPost();
    virtual void DoCancel();
    virtual void DoTrash();
    virtual void DoDelete();
    virtual void DoRefresh();

private:
    TVtDataAction *MakeAction(const QString &name, const QString &caption, void (TfrVtDBRWGrid::*slot)());
    void StateChanged();
    void PageChanged(int index);
    void FocusFirstControl();

    QFormLayout *m_form;
    QFormLayout *m_target;        // where the next detail field goes
    QList<TVtDBControl *> m_controls;
    bool m_wasEditing = false;
    bool m_switching = false;
};

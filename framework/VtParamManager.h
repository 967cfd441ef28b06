#pragma once
#include "VtXMLParam.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class TfmVtParamDlg;

// The parameter dialog's manager: holds the parameter definitions, builds
// the dialog and moves values between the saved store (xgvmGlobalVar) and
// the controls.
//
// For each parameter the dialog raises, in this order:
//   BeforeCreateCtrl  before the control exists (ctrl is null): a handler may
//                     create its own control, assign it and clear doDefault;
//                     a null control after the event leaves the parameter out;
//   AfterCreateCtrl   the control is on its page;
//   FillListParam     (after every control exists) fill a combo's list;
//                     the default adds the parameter's fixed Items;
//   ReadParam         put Value into the control;
//   WriteParam        (on OK) put the control's state into Value.
// Every event carries a Boolean, true when raised, that a handler doing the
// work itself clears so the default step is skipped. After WriteParam the
// manager saves Value. All values of one OK are saved in one transaction.
//
// Default controls and texts: combo (QComboBox, id in Qt::UserRole; the
// saved text is the chosen id in decimal, "0" when none is chosen), edit
// (QLineEdit, its text), check (QCheckBox, "1" or "0").
class TVtParamManager : public QObject
{
    Q_OBJECT
public:
    using TCreateEvent = std::function<void(QWidget *&ctrl, TVtXMLParam *param, bool &doDefault)>;
    using TParamEvent = std::function<void(QWidget *ctrl, TVtXMLParam *param, bool &doDefault)>;

    explicit TVtParamManager(QObject *parent = nullptr);
    ~TVtParamManager() override;

    // Applications whose parameters the dialog shows, as "CODE=version"
    // ("EBD=", "KBA=1.0", "VT="). A parameter with an empty ApplCode is
    // always shown; an empty list shows every parameter.
    QStringList ApplCodeList;
    QString Caption = QStringLiteral("Parametri");

    // Definitions, kept in the order of registration (the dialog's order).
    TVtXMLParam *AddParam(const QString &name, const QString &category, const QString &caption,
                          TVtParamKind kind, const QString &defaultValue = QString(),
                          const QString &applCode = QString());
    void AddCategory(const QString &category, const QString &caption);
    QString CategoryCaption(const QString &category) const;
    TVtXMLParam *FindParam(const QString &name) const;
    int ParamCount() const { return int(m_params.size()); }
    TVtXMLParam *Params(int i) const { return m_params[size_t(i)].get(); }
    // Whether the dialog shows the parameter (its application is listed).
    bool IsApplicable(const TVtXMLParam *param) const;

    TCreateEvent BeforeCreateCtrl;
    TParamEvent AfterCreateCtrl, FillListParam, ReadParam, WriteParam;
    // Called with the built dialog just before it runs modally (tests and
    // callers that want to adjust it).
    std::function<void(TfmVtParamDlg *)> OnShowDialog;

    // Shows the modal dialog (over the main window when no parent is given);
    // OK saves the values, Annulla discards them. True when saved.
    bool Execute(QWidget *parent = nullptr);

    // The steps of Execute, usable one by one: builds the dialog with every
    // control filled and read; saves what its controls hold.
    std::unique_ptr<TfmVtParamDlg> CreateDialog(QWidget *parent = nullptr);
    void SaveDialog(TfmVtParamDlg *dialog);

    // The open dialog, null when none; true while it is being built and read
    // (programmatic changes of the controls, not the user's).
    TfmVtParamDlg *Dialog() const;
    bool Loading() const { return m_loading; }
    // The control of a parameter in the open dialog, null when none.
    QWidget *Control(const QString &name) const;

    // Loads the saved text (or the default) into the parameter's Value.
    void LoadValue(TVtXMLParam *param) const;
    // Saves the parameter's Value to the store now.
    void SaveParam(TVtXMLParam *param);

    // Default steps, also callable by handlers.
    static QWidget *CreateDefaultControl(TVtXMLParam *param);
    static void DefaultFillList(QWidget *ctrl, TVtXMLParam *param);
    static void DefaultRead(QWidget *ctrl, TVtXMLParam *param);
    static void DefaultWrite(QWidget *ctrl, TVtXMLParam *param);

private:
    std::vector<std::unique_ptr<TVtXMLParam>> m_params;
    QStringList m_categories;
    QStringList m_categoryCaptions;
    QPointer<TfmVtParamDlg> m_dialog;
    bool m_loading = false;
};

#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QAction;
class TdmVtAttivazioni;
class TVtApgPage;

// Base of the commands of a command module. A command sits on a page
// (ParentPage) of any module, shows there as a large button and in the
// page's menu, and runs through Execute:
//   BeforeExecute (clear allow to refuse) -> the command's own work ->
//   AfterExecute.
// A refusal, or an EVtAbort raised anywhere on the way, stops silently.
// Enabled and Visible govern the button and the menu item; Execute called
// from code runs a disabled command too.
class TVtAttivazione : public QObject
{
    Q_OBJECT
public:
    using TBeforeExecute = std::function<void(TVtAttivazione *sender, bool &allow)>;
    using TNotify = std::function<void(TVtAttivazione *sender)>;

    explicit TVtAttivazione(TdmVtAttivazioni *owner, const QString &name = QString());
    ~TVtAttivazione() override;

    TdmVtAttivazioni *Owner() const { return m_owner; }

    TVtApgPage *ParentPage() const { return m_page; }
    // Moves the command onto a page (of this or another module); null takes
    // it off every page.
    void SetParentPage(TVtApgPage *page);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    QString Hint() const { return m_hint; }
    void SetHint(const QString &hint);
    int Order() const { return m_order; }
    void SetOrder(int order) { m_order = order; }
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index) { m_imageIndex = index; }
    int HelpContext() const { return m_helpContext; }
    void SetHelpContext(int context) { m_helpContext = context; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool on);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on);

    TBeforeExecute BeforeExecute;
    TNotify AfterExecute;

    // Runs the command; true when it ran to the end (AfterExecute raised),
    // false when refused or aborted. Other errors (EVtException) propagate.
    bool Execute();
    // As Execute, for the button and the menu: an error is shown as a
    // message instead of propagating.
    bool ExecuteFromUi();

    // The action shared by the button and the menu item.
    QAction *Action();

    // Whether the program has what the command needs (a command whose window
    // is not part of this build is not); an unavailable command shows
    // disabled, with UnavailableHint as its tooltip.
    virtual bool Available() const { return true; }
    static QString UnavailableHint();

protected:
    // The command's own work; false (or Abort()) stops before AfterExecute.
    virtual bool DoExecute() = 0;

private:
    friend class TVtApgPage;
    void UpdateAction();

    TdmVtAttivazioni *m_owner;
    TVtApgPage *m_page = nullptr;
    QString m_caption, m_hint;
    int m_order = 0;
    int m_imageIndex = -1;
    int m_helpContext = 0;
    bool m_visible = true;
    bool m_enabled = true;
    QPointer<QAction> m_action;
};

#pragma once
#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QPushButton;
class QStackedWidget;

// Base of the wizards: pages whose tabs are hidden, shown one at a time,
// with the buttons "< Indietro", "Avanti >", "OK" and "Annulla".
//
// Moving to another page (the buttons, Next/Prior/GoToPage) is a request:
// PageChanging (by default OnPageChanging) may refuse it; once on the new
// page PageChanged (OnPageChanged) runs and the buttons are checked.
// SetActivePage moves without asking.
//
// CheckButtons enables "< Indietro" past the first page, "Avanti >" before
// the last page when CanGoNext, "OK" on the last page (any page with
// OkOnEveryPage) when CanFinish; OnCheckButtons may then adjust them.
class TfmVtWizard : public QDialog
{
    Q_OBJECT
public:
    explicit TfmVtWizard(QWidget *parent = nullptr);

    QStackedWidget *pcWizard;
    QLabel *laTitle;
    QPushButton *buPrior;
    QPushButton *buNext;
    QPushButton *buOk;
    QPushButton *buCancel;

    // Adds a page (a tab sheet whose tab is hidden); returns its index.
    int AddPage(QWidget *page, const QString &title = QString());
    int PageCount() const;
    QWidget *Page(int index) const;
    QString PageTitle(int index) const;
    int ActivePageIndex() const;
    QWidget *ActivePage() const;

    // Requests a move; true when the wizard is on the page afterwards.
    bool GoToPage(int index);
    bool Next() { return GoToPage(ActivePageIndex() + 1); }
    bool Prior() { return GoToPage(ActivePageIndex() - 1); }
    // Moves without asking (PageChanged still runs).
    void SetActivePage(int index);

    void CheckButtons();
    bool OkOnEveryPage = false;

    std::function<void(TfmVtWizard *sender, int fromPage, int toPage, bool &allow)> OnPageChanging;
    std::function<void(TfmVtWizard *sender, int page)> OnPageChanged;
    std::function<void(TfmVtWizard *sender)> OnCheckButtons;
    // Asked when OK is pressed; clearing allow keeps the wizard open.
    std::function<void(TfmVtWizard *sender, bool &allow)> OnOkClick;

    int ModalResult() const;

public slots:
    void OkClick();

protected:
    virtual void PageChanging(int fromPage, int toPage, bool &allow);
    virtual void PageChanged(int page);
    virtual bool CanGoNext(int page) const;
    virtual bool CanFinish(int page) const;
    virtual bool CanAccept();

private:
    QStringList m_titles;
};

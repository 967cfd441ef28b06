#pragma once
#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSplitter;
class TVtLink;
class TVtOutlookBar;

// Base of the program's main window: the command bar (outlook bar) at the
// left, the child windows' area, the menus (File, the command modules'
// pages, Finestre, Guida), the status panels and the help.
//
// Status panels: panel 0 belongs to this window (user and date); AddPanel
// adds the application's panels 1, 2, ... RefreshPanels sets panel 0 and
// raises the panel-refresh event (RefreshPanel, by default OnRefreshPanel)
// for every other panel with its index and its text to set.
//
// Help: F1 (and "Guida in linea") opens HelpFile through the message
// service; a relative name lies under the installation's etc, and a missing
// ".chm" falls back to the ".html"/".htm" file of the same name.
class TfmVtHelp;

class TfmVtMDIMain : public QMainWindow
{
    Q_OBJECT
public:
    // What "Informazioni su..." shows: the program's version, and the open
    // database with its schema version and revision.
    QString AboutText() const;
    explicit TfmVtMDIMain(QWidget *parent = nullptr);
    ~TfmVtMDIMain() override;

    // The program's main window (the last one created still alive).
    static TfmVtMDIMain *Instance();

    QMdiArea *MdiArea() const { return mdiMain; }
    TVtOutlookBar *OutlookBar() const { return xobMain; }
    TVtLink *Link() const { return xlkMain; }

    // Images of the commands (LoadDefaultImages), shared with the command bar.
    void SetImages(const QList<QIcon> &images);
    QList<QIcon> Images() const;

    // Status panels
    int AddPanel(int width);
    int PanelCount() const { return m_panels.size(); }
    QLabel *Panel(int index) const;
    QString PanelText(int index) const;
    void RefreshPanels();
    std::function<void(TfmVtMDIMain *sender, int index, QString &text)> OnRefreshPanel;

    // Help
    QString HelpFile;
    QString HelpFilePath() const;
    // Opens the guide at the topic, with the desktop's program or, when
    // there is none, in the program's own help window.
    void ShowHelp(int helpContext = 0);
    TfmVtHelp *HelpWindow() const;
    int LastHelpContext() const { return m_lastHelpContext; }
    // Help context of the active child window (its "HelpContext" property).
    int CurrentHelpContext() const;
    // Adds an item to the Guida menu, above "Informazioni su".
    QAction *AddHelpMenuItem(const QString &caption, std::function<void()> handler);

    // Child windows
    QMdiSubWindow *AddChild(QWidget *form);
    QList<QWidget *> ChildForms() const;
    int MDIChildCount() const { return ChildForms().size(); }
    QWidget *ActiveChild() const;
    void BringToFront(QWidget *form);
    // Closes every child window; false when one refused.
    bool CloseAllChildren();

    // Raised on every activation of the main window (the first one included);
    // ActivationCount counts them.
    std::function<void(TfmVtMDIMain *sender)> OnActivate;
    int ActivationCount() const { return m_activations; }

    QMenu *mnFile;
    QMenu *mnWindow;
    QMenu *mnHelp;
    QAction *acExit;
    QAction *acHelp;
    QAction *acAbout;

protected:
    // Text of panel index (1...): the default raises OnRefreshPanel.
    virtual void RefreshPanel(int index, QString &text);
    // Text of panel 0.
    virtual QString BasePanelText() const;
    // Called when the window becomes active; the default raises OnActivate.
    virtual void FormActivate();
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    // Where no window manager activates the window (a kiosk session, a
    // remote or virtual screen) the first activation runs once it is shown.
    void showEvent(QShowEvent *event) override;

private:
    void RebuildWindowMenu();

    QSplitter *m_splitter;
    QMdiArea *mdiMain;
    TVtOutlookBar *xobMain;
    TVtLink *xlkMain;
    void SetPanelText(int index, const QString &text);
    QList<QLabel *> m_panels;
    QAction *m_helpSeparator;
    int m_lastHelpContext = 0;
    QPointer<TfmVtHelp> m_help;
    int m_activations = 0;
    bool m_shown = false;
};

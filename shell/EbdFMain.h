#pragma once
class TVtAttReport;
#include "fmVtMDIMain.h"

#include "VtWaitWindow.h"

#include <QElapsedTimer>
#include <QStringList>
#include <memory>

// The program's main window: the command bar of the application's command
// module, the status panels of the working context, the first-activation
// sequence (connection, command bar, context check) and the release notes.
class TfmEbdMain : public TfmVtMDIMain
{
    Q_OBJECT
public:
    explicit TfmEbdMain(QWidget *parent = nullptr);
    ~TfmEbdMain() override;

    // Image keys of the commands, index = position.
    static QStringList ImageKeys();
    // Whether the report tree shows a report in the view mode (gVisMode): a
    // customised copy counts as its base.
    static bool ReportVisible(int rptId);
    // The report tree's data-module patterns, filter and contents.
    static void SetUpReportTree(TVtAttReport *reports);

    // Panel texts (1 to 5) for the current working context.
    QString PanelTextFor(int index) const;
    // Reloads the cash-book period of the working account and year.
    static void LoadUserPeriod();

    // Set when the first activation could not open the database.
    bool ConnectionFailed() const { return m_connectionFailed; }

protected:
    void RefreshPanel(int index, QString &text) override;
    void FormActivate() override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FirstActivation();
    void ShowCreationProgress(int done, int total);

    std::unique_ptr<TVtWaitWindow> m_creationWait;
    QElapsedTimer m_creationRepaint;
    bool m_opening = false;

    bool m_connectionFailed = false;
    bool m_shownOnce = false;
};

extern TfmEbdMain *fmEbdMain;

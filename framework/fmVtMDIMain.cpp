#include "fmVtMDIMain.h"
#include "VtGuard.h"
#include "fmVtHelp.h"
#include "VtLink.h"
#include "VtMessageDlg.h"
#include "VtOutlookBar.h"
#include "VtPaths.h"
#include "VtException.h"
#include "VtSchemaUpgrader.h"
#include "VtSQLConnection.h"
#include "fmVtChildDB.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QTimer>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QSplitter>
#include <QStatusBar>

namespace {
// A status-bar panel: as wide as designed, wider when its text needs it;
// on a screen too narrow for every panel it gives way and elides its text
// (the whole text stays in the tooltip) instead of overlapping the next one.
class TVtStatusPanel : public QLabel
{
public:
    TVtStatusPanel(int width, QWidget *parent) : QLabel(parent), m_width(width) {}
    QSize sizeHint() const override
    {
        const QSize hint = QLabel::sizeHint();
        return {qMax(m_width, hint.width()), hint.height()};
    }
    QSize minimumSizeHint() const override { return {qMin(m_width, 40), QLabel::minimumSizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        drawFrame(&p);
        const QRect r = contentsRect();
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(text(), Qt::ElideRight, r.width()));
    }

private:
    int m_width;
};

QPointer<TfmVtMDIMain> &MainInstance()
{
    static QPointer<TfmVtMDIMain> instance;
    return instance;
}
}

TfmVtMDIMain::TfmVtMDIMain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("fmVtMDIMain"));
    if (!MainInstance())   // the first main window stays the program's one
        MainInstance() = this;
    resize(1100, 720);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    xobMain = new TVtOutlookBar(m_splitter);
    mdiMain = new QMdiArea(m_splitter);
    mdiMain->setObjectName(QStringLiteral("mdiMain"));
    mdiMain->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiMain->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_splitter->addWidget(xobMain);
    m_splitter->addWidget(mdiMain);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({190, 900});
    setCentralWidget(m_splitter);

    xlkMain = new TVtLink(this);

    mnFile = menuBar()->addMenu(QStringLiteral("&File"));
    acExit = mnFile->addAction(QStringLiteral("&Esci"));
    connect(acExit, &QAction::triggered, this, &QWidget::close);

    mnWindow = menuBar()->addMenu(QStringLiteral("F&inestre"));
    connect(mnWindow, &QMenu::aboutToShow, this, &TfmVtMDIMain::RebuildWindowMenu);
    RebuildWindowMenu();

    mnHelp = menuBar()->addMenu(QStringLiteral("&Guida"));
    acHelp = mnHelp->addAction(QStringLiteral("&Guida in linea"));
    acHelp->setShortcut(QKeySequence(Qt::Key_F1));
    acHelp->setShortcutContext(Qt::ApplicationShortcut);
    connect(acHelp, &QAction::triggered, this, [this] { ShowHelp(CurrentHelpContext()); });
    m_helpSeparator = mnHelp->addSeparator();
    acAbout = mnHelp->addAction(QStringLiteral("&Informazioni su..."));
    connect(acAbout, &QAction::triggered, this, [this] { VtMessageDlg(AboutText(), mtInformation, mbOK); });

    xobMain->MenuBar = menuBar();
    xobMain->MenuBefore = mnWindow->menuAction();

    // Panel 0: user and date.
    AddPanel(220);
    connect(mdiMain, &QMdiArea::subWindowActivated, this, [](QMdiSubWindow *sw) {
        if (sw)
            if (auto *child = qobject_cast<TfmVtChildDB *>(sw->widget()))
                child->FormActivate();
    });
}

TfmVtMDIMain::~TfmVtMDIMain()
{
    if (MainInstance() == this)
        MainInstance() = nullptr;
}

TfmVtMDIMain *TfmVtMDIMain::Instance()
{
    return MainInstance();
}

void TfmVtMDIMain::SetImages(const QList<QIcon> &images)
{
    xobMain->Images = images;
}

QList<QIcon> TfmVtMDIMain::Images() const
{
    return xobMain->Images;
}

int TfmVtMDIMain::AddPanel(int width)
{
    auto *label = new TVtStatusPanel(width, this);
    label->setObjectName(QStringLiteral("paStatus%1").arg(m_panels.size()));
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setContentsMargins(4, 0, 4, 0);
    statusBar()->addWidget(label);
    m_panels << label;
    return m_panels.size() - 1;
}

QLabel *TfmVtMDIMain::Panel(int index) const
{
    return index >= 0 && index < m_panels.size() ? m_panels[index] : nullptr;
}

QString TfmVtMDIMain::PanelText(int index) const
{
    QLabel *label = Panel(index);
    return label ? label->text() : QString();
}

QString TfmVtMDIMain::BasePanelText() const
{
    QString user;
    if (qqoVtGlobConn)
        user = qqoVtGlobConn->UserKey().section(QLatin1Char('@'), 0, 0);
    if (user.isEmpty())
        user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return QStringLiteral("Utente: %1 - %2").arg(user, QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
}

QString TfmVtMDIMain::AboutText() const
{
    QString text = QStringLiteral("%1\r\nVersione %2\r\n\r\n")
                       .arg(QApplication::applicationDisplayName(), QApplication::applicationVersion());
    if (!qqoVtGlobConn || !qqoVtGlobConn->Connected())
        return text + QStringLiteral("Nessun database aperto.");
    QString revision;
    try {
        revision = QStringLiteral(", revisione %1").arg(TVtSchemaUpgrader::ReadRevision(qqoVtGlobConn->Database()));
    } catch (const EVtException &) {
        // The version alone says enough.
    }
    return text + QStringLiteral("Database: %1\r\nVersione del database: %2%3")
                      .arg(qqoVtGlobConn->DatabaseName(), qqoVtGlobConn->SchemaVersion(), revision);
}

void TfmVtMDIMain::RefreshPanel(int index, QString &text)
{
    if (OnRefreshPanel)
        OnRefreshPanel(this, index, text);
}

void TfmVtMDIMain::RefreshPanels()
{
    if (!m_panels.isEmpty())
        SetPanelText(0, BasePanelText());
    for (int i = 1; i < m_panels.size(); ++i) {
        QString text = m_panels[i]->text();
        RefreshPanel(i, text);
        SetPanelText(i, text);
    }
}

// A panel asks for its designed width, or more when its text needs it, so
// that a long school name is shown whole where the screen allows.
void TfmVtMDIMain::SetPanelText(int index, const QString &text)
{
    QLabel *label = m_panels[index];
    label->setText(text);
    label->setToolTip(text);
    label->updateGeometry();
}

QString TfmVtMDIMain::HelpFilePath() const
{
    if (HelpFile.isEmpty())
        return QString();
    QString name = HelpFile;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString path = QFileInfo(name).isAbsolute() ? QDir::cleanPath(name)
                                                      : QDir::cleanPath(QDir(VtPaths::EtcDir()).filePath(name));
    if (QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    if (info.suffix().compare(QLatin1String("chm"), Qt::CaseInsensitive) == 0) {
        for (const char *ext : {"html", "htm"}) {
            const QString alt = info.dir().filePath(info.completeBaseName() + QLatin1Char('.') + QLatin1String(ext));
            if (QFileInfo::exists(alt))
                return alt;
        }
    }
    return path;
}

void TfmVtMDIMain::ShowHelp(int helpContext)
{
    m_lastHelpContext = helpContext;
    const QString path = HelpFilePath();
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        VtMessageDlg(QStringLiteral("Impossibile trovare il file della guida %1.")
                         .arg(QDir::toNativeSeparators(path.isEmpty() ? HelpFile : path)),
                     mtError, mbOK);
        return;
    }
    // An HTML help opens at the topic of the context ("file.html#101").
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool html = suffix == QLatin1String("html") || suffix == QLatin1String("htm");
    if (VtMessageService().OpenDocument(html && helpContext != 0 ? path + QStringLiteral("#%1").arg(helpContext) : path))
        return;
    // No program of the desktop opens it: an HTML guide is read here.
    if (!html) {
        VtMessageDlg(QStringLiteral("Impossibile aprire la guida %1: nessun programma del computer apre questo tipo di file.")
                         .arg(QDir::toNativeSeparators(path)),
                     mtError, mbOK);
        return;
    }
    if (!m_help) {
        m_help = new TfmVtHelp(this);
        m_help->show();
    }
    m_help->ShowTopic(path, helpContext != 0 ? QString::number(helpContext) : QString());
    m_help->raise();
    m_help->activateWindow();
}

int TfmVtMDIMain::CurrentHelpContext() const
{
    QWidget *child = ActiveChild();
    return child ? child->property("HelpContext").toInt() : 0;
}

QAction *TfmVtMDIMain::AddHelpMenuItem(const QString &caption, std::function<void()> handler)
{
    auto *action = new QAction(caption, mnHelp);
    mnHelp->insertAction(m_helpSeparator, action);
    connect(action, &QAction::triggered, this, [handler] {
        if (handler)
            handler();
    });
    return action;
}

QMdiSubWindow *TfmVtMDIMain::AddChild(QWidget *form)
{
    // The size the window gave itself, kept inside the child area.
    const QSize wanted = form->testAttribute(Qt::WA_Resized) ? form->size() : QSize();
    QMdiSubWindow *sw = mdiMain->addSubWindow(form);
    sw->setAttribute(Qt::WA_DeleteOnClose);
    sw->setWindowIcon(form->windowIcon());
    const Qt::WindowStates state = form->windowState();
    if (state & Qt::WindowMaximized) {
        sw->showMaximized();
    } else {
        sw->show();
        if (wanted.isValid()) {
            const QSize area = mdiMain->viewport()->size();
            const QSize size = (wanted + (sw->size() - form->size())).boundedTo(area);
            sw->resize(size);
            sw->move(qBound(0, sw->x(), area.width() - size.width()), qBound(0, sw->y(), area.height() - size.height()));
        }
    }
    form->show();
    mdiMain->setActiveSubWindow(sw);
    return sw;
}

QList<QWidget *> TfmVtMDIMain::ChildForms() const
{
    QList<QWidget *> list;
    for (QMdiSubWindow *sw : mdiMain->subWindowList())
        if (sw->widget() && !sw->isHidden())
            list << sw->widget();
    return list;
}

QWidget *TfmVtMDIMain::ActiveChild() const
{
    QMdiSubWindow *sw = mdiMain->activeSubWindow();
    if (!sw)
        sw = mdiMain->currentSubWindow();
    return sw ? sw->widget() : nullptr;
}

void TfmVtMDIMain::BringToFront(QWidget *form)
{
    for (QMdiSubWindow *sw : mdiMain->subWindowList()) {
        if (sw->widget() == form) {
            if (sw->isMinimized())
                sw->showNormal();
            mdiMain->setActiveSubWindow(sw);
            sw->raise();
            return;
        }
    }
    form->raise();
    form->activateWindow();
}

bool TfmVtMDIMain::CloseAllChildren()
{
    mdiMain->closeAllSubWindows();
    return ChildForms().isEmpty();
}

void TfmVtMDIMain::FormActivate()
{
    if (OnActivate)
        OnActivate(this);
}

void TfmVtMDIMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        ++m_activations;
        VtGuard([this] { FormActivate(); });
    }
}

void TfmVtMDIMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    QTimer::singleShot(0, this, [this] {
        if (m_activations == 0) {
            ++m_activations;
            VtGuard([this] { FormActivate(); });
        }
    });
}

void TfmVtMDIMain::closeEvent(QCloseEvent *event)
{
    if (!CloseAllChildren()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TfmVtMDIMain::RebuildWindowMenu()
{
    mnWindow->clear();
    QAction *cascade = mnWindow->addAction(QStringLiteral("&Sovrapponi"));
    connect(cascade, &QAction::triggered, mdiMain, &QMdiArea::cascadeSubWindows);
    QAction *tile = mnWindow->addAction(QStringLiteral("&Affianca"));
    connect(tile, &QAction::triggered, mdiMain, &QMdiArea::tileSubWindows);
    QAction *closeAll = mnWindow->addAction(QStringLiteral("&Chiudi tutte"));
    connect(closeAll, &QAction::triggered, this, [this] { CloseAllChildren(); });
    const QList<QMdiSubWindow *> windows = mdiMain->subWindowList();
    cascade->setEnabled(!windows.isEmpty());
    tile->setEnabled(!windows.isEmpty());
    closeAll->setEnabled(!windows.isEmpty());
    if (windows.isEmpty())
        return;
    mnWindow->addSeparator();
    int n = 0;
    for (QMdiSubWindow *sw : windows) {
        ++n;
        const QString title = sw->widget() ? sw->widget()->windowTitle() : sw->windowTitle();
        QAction *a = mnWindow->addAction(n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(title) : title);
        a->setCheckable(true);
        a->setChecked(sw == mdiMain->activeSubWindow());
        QPointer<QMdiSubWindow> target(sw);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target)
                mdiMain->setActiveSubWindow(target);
        });
    }
}

TfmVtHelp *TfmVtMDIMain::HelpWindow() const
{
    return m_help;
}

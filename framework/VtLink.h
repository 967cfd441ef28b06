#pragma once
#include <QObject>
#include <QString>

class QWidget;
class TVtParamManager;

// Area of the suite an application belongs to.
enum TVtAreaType { xayNessuna, xayDidattica, xayRisorse, xaySegreteria };

// The main window's link to the suite: the application's area, its release
// notes and its parameter manager.
class TVtLink : public QObject
{
    Q_OBJECT
public:
    explicit TVtLink(QObject *parent = nullptr);

    TVtAreaType AreaType = xayNessuna;
    // Release notes document; a relative name lies under the installation's etc.
    QString ReleaseNotesFileName;
    TVtParamManager *Parametri = nullptr;

    QString ReleaseNotesPath() const;
    // Opens the release notes through the message service; false (after a
    // message) when the file is missing.
    bool ShowReleaseNotes();
    // Runs the parameter dialog of Parametri; false when there is none or it
    // was cancelled.
    bool EditParams(QWidget *parent = nullptr);
};

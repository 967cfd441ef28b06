#pragma once
#include "VtAttForm.h"
#include "dmVtAttivazioni.h"

#include <QPointer>

class TVtApgPage;
class TVtAttComponent;
class TVtAttReport;
class TVtAttShell;
class TdmEbdParam;

// The application's command module: the pages of the command bar and every
// command of the program, with the checks that run before each window opens.
// It creates the parameter module, the registry and signatures modules of
// the suite and the fee-structure command module, whose commands it moves
// onto its own pages.
class TdmEbdAtt : public TdmVtAttivazioni
{
    Q_OBJECT
public:
    explicit TdmEbdAtt(QObject *owner = nullptr);
    ~TdmEbdAtt() override;

    TVtApgPage *xpgGestione;
    TVtApgPage *xpgBeneficiari;
    TVtApgPage *xpgTabelle;
    TVtApgPage *xpgStampe;
    TVtApgPage *xpgTools;

    TVtAttComponent *xacParam;
    TVtAttForm *xafAltri;
    TVtAttForm *xafAlunni;
    TVtAttForm *xafTutori;
    TVtAttForm *xafDipendenti;
    TVtAttForm *xafDatiConto;
    TVtAttForm *xafInitAnf;
    TVtAttForm *xafMovimenti;
    TVtAttReport *xarReport;
    TVtAttShell *xasNotizie;
    TVtAttForm *xafEda;
    TVtAttForm *xafAlunnoGenitoreInt;
    TVtAttForm *xafExportRid;
    TVtAttForm *xafStornoRid;

    // Opens the parameter dialog and refreshes the status panels (used by
    // commands refused for a missing context).
    void EditParams();
    // Detail tabs of the registry window for a category, as (frame class, caption).
    static QList<QPair<QString, QString>> RegistryFrames(int category);

    // Marker file whose presence opens the release notes at start, removed
    // once they are shown: etc/Ebd/Ebd_Version.txt, or Ebd/Ebd_Version.txt in
    // the user's data folder for an installed program, whose etc/ is not
    // the user's to change.
    static QString VersionMarkerPath();

private:
    void CreateCommands();
    void MoveFeeCommands();
    void xafMovimentiBeforeExecute(TVtAttivazione *sender, bool &allow);
    void xafInitAnfBeforeExecute(TVtAttivazione *sender, bool &allow);
    void xarReportBeforeExecute(TVtAttivazione *sender, bool &allow);
    void xasNotizieBeforeExecute(TVtAttivazione *sender, bool &allow);
    void xasNotizieAfterExecute(TVtAttivazione *sender);
    void RegistryBeforeExecute(TVtAttivazione *sender, bool &allow, int category);
    void InstallRegistryHook();

    bool m_registryHookPending = true;
    TVtAttForm::TFormEvent m_oldCausaliInit;
    TVtAttForm::TFormEvent m_oldCompCausInit;
};

extern TdmEbdAtt *dmEbdAtt;
// The "Conti" window while it is open.
extern QPointer<QWidget> fmEbcCcp;

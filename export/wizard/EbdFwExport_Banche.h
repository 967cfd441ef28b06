#pragma once
// "Export banche": the unpaid instalments of a period, payment mode,
// classes and pupils become one SEPA direct debit per paying parent and
// account, written to the bank's SDD file from the working account.
#include "EbdUSddControlli.h"
#include "EbdUSddEsportazione.h"
#include "EbdUSddRules.h"
#include "EbdUSddSelezione.h"
#include "EbdUTracciatiBanche.h"
#include "fmVtWizard.h"

#include <QStringList>

#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSettings;
class QSpinBox;
class QTableWidget;
class TVtDataSource;
class TVtDBGrid;
class TVtQueryCollection;

class TfwEbdExport_Banche : public TfmVtWizard
{
    Q_OBJECT
public:
    enum TPage { tsParam, tsClsAlu, tsExport, tsControlli };

    explicit TfwEbdExport_Banche(QWidget *parent = nullptr);
    ~TfwEbdExport_Banche() override;

    // Page 1
    QDateEdit *deDataDal;
    QDateEdit *deDataAl;
    QComboBox *cbModPagam;
    QCheckBox *ckInsMov;
    QListWidget *lwComponenti;
    // Page 2
    QListWidget *lwClassi;
    TVtDBGrid *grAlunni;
    TVtQueryCollection *qquAlunni;
    QLabel *laAlunni;
    // Page 3
    QGroupBox *gbIntestazione;
    QComboBox *cbBanche;
    QLineEdit *edMittente;
    QDateEdit *deData_Creazione;
    QLineEdit *edNOME_SUPPORTO;
    QDateEdit *deData_Disposizione;
    QDateEdit *deData_Valuta;
    QLineEdit *cbBancaFile;
    QPushButton *buBancaFile;
    QDateEdit *deDATA_SCADENZA;
    QLineEdit *edConto_Tesoreria;
    QLineEdit *edCC_ORDINANTE;
    QLineEdit *edCREDITOR_IDENT;
    TVtDBGrid *grDisp;
    QLabel *laDisp;
    QPushButton *buStampaRiepilogo;
    QPushButton *buStampaBrogliaccio;
    // Page 4
    QTableWidget *grControlli;
    QPushButton *buEscludiErrori;
    QSpinBox *seGiorniPreavviso;
    QLabel *laProblemi;
    QLabel *laDaEsportare;

    // The instalments (the rows of frRiepilogoPagam) and the debits (of
    // frBrogliaccioEsp).
    TVtQueryCollection *cdsLeggi;
    TVtQueryCollection *cdsDisp;

    // What the pages hold now.
    TSddFiltro Filtro() const;
    const QVector<TSddRata> &Rate() const { return m_rate; }
    const QVector<TSddDisposizione> &Disposizioni() const { return m_disposizioni; }
    const TSddCreditore &Creditore() const { return m_creditore; }
    const TSddSede &Sede() const { return m_sede; }
    const QList<TBancaTracciato> &Banche() const { return m_banks; }
    const QList<TCampoIntestazione> &CampiIntestazione() const { return m_headerFields; }
    // The settings file (usr/Ebd/xba/Banca.ini) and the default folder of
    // the files (Zedavirid/Banca under the user's home).
    static QString SettingsFileName();
    static QString DefaultExportDir();
    // The demo school's settings (sender code, creditor identifier, bank,
    // notice days), written unless the settings file exists.
    static void WriteDemoSettings();

    // The popup actions of a check list.
    enum TCheckAction { caSelectAll, caClear, caInvert };
    void CheckListAction(QListWidget *list, TCheckAction action);
    // The pupils' grid sorted as a click on a column title sorts it.
    void SortPupils(int column);
    // Rebuilds the debits from the selection and the header.
    void RefreshDisposizioni();
    // Selects a bank by name: its layouts, its header fields, the debits.
    void SelectBank(const QString &name);
    void PrintRiepilogo();
    void PrintBrogliaccio();
    // The checks of the debits; the checklist's rows.
    void RunChecks();
    const QVector<TSddControllo> &Controlli() const { return m_controlli; }
    // Ticks or clears "Escludi" on a checklist row (a debit's).
    void SetExcluded(int disposizione, bool excluded);
    void ExcludeErrors();
    // The export of OK; the wizard stays open.
    void Export();
    const TSddEsito &UltimoEsito() const { return m_esito; }

protected:
    void PageChanging(int fromPage, int toPage, bool &allow) override;
    bool CanFinish(int page) const override;
    bool CanAccept() override;
    void showEvent(QShowEvent *event) override;

    QVector<TSddRata> m_rate;
    QVector<TSddDisposizione> m_disposizioni;
    QStringList m_escluse;   // merge keys left out
    TSddCreditore m_creditore;
    TSddSede m_sede;
    std::unique_ptr<QSettings> m_settings;

private:
    QWidget *BuildParamPage();
    QWidget *BuildClsAluPage();
    QWidget *BuildExportPage();
    QWidget *BuildControlliPage();
    void FillChecklist();
    void SaveSettings();
    void AddCheckListMenu(QListWidget *list, const std::function<void()> &after);
    void LoadPaymentModes();
    void LoadComponents();
    void LoadClasses();
    void ReloadPupils();
    void EnterClsAlu();
    void EnterExport();
    void LoadSettings();
    void ShowHeaderFields();
    void SupportNameLeft();
    void ChooseFile();
    TSddIntestazione Intestazione() const;
    void Print(const QString &category);
    static QList<int> Checked(const QListWidget *list);

    QList<TBancaTracciato> m_banks;
    QList<TCampoTracciato> m_layout;
    QList<TCampoIntestazione> m_headerFields;
    TVtDataSource *m_dsAlunni;
    TVtDataSource *m_dsDisp;
    TSddPupilOrder m_pupilOrder = TSddPupilOrder::ByClass;
    QVector<TSddControllo> m_controlli;
    TSddEsito m_esito;
    bool m_filling = false;
    bool m_shown = false;
};

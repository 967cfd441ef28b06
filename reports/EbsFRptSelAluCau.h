#pragma once
#include "VtQueryCollection.h"
#include "fmVtuSelRptAnnoScol.h"

#include <QPointer>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TfmVtRptFilter;

// "Selezione alunni": the pupils of the payment forms of a fee reason, with
// the reason, the school, the class, the account whose number the forms
// carry and the beneficiary category. The grid follows the choices: the
// pupils enrolled in the year, school and class (only those still attending
// with "Solo frequentanti"), the pupils of the year not yet in a class
// ("Alunni &nuovi iscritti"), or, for a beneficiary category other than the
// first, every person of that registry category. "Filtro..." narrows the
// grid with a condition composed on the caller's filter definition.
//
// When the dialog closes, the grid's select (with the filter) and its
// parameters are copied into the caller's collection (TargetDataSet).
class TfmEbsRptSelAluCau : public TfmVtuSelRptAnnoScol
{
    Q_OBJECT
    Q_PROPERTY(int CauId READ CauId)
    Q_PROPERTY(QString CauDesc READ CauDesc)
    Q_PROPERTY(int DwgId READ DwgId)
    Q_PROPERTY(int ClsId READ ClsId)
    Q_PROPERTY(int SprIstId READ SprIstId)
    Q_PROPERTY(QString NumeroCC READ NumeroCC)
    Q_PROPERTY(int CbmId READ CbmId)
    Q_PROPERTY(bool BarCode READ BarCode)
    Q_PROPERTY(bool NuoviIscritti READ NuoviIscritti)
    Q_PROPERTY(bool SoloFrequentanti READ SoloFrequentanti)
    Q_PROPERTY(bool AllCausali READ AllCausali WRITE SetAllCausali)
    Q_PROPERTY(bool NuoviVisible READ NuoviVisible WRITE SetNuoviVisible)
    Q_PROPERTY(QString FilterCondition READ FilterCondition WRITE ApplyCondition)
    Q_PROPERTY(TVtQueryCollection *TargetDataSet READ TargetDataSet WRITE SetTargetDataSet)
public:
    explicit TfmEbsRptSelAluCau(QWidget *parent = nullptr);
    ~TfmEbsRptSelAluCau() override;

    QLabel *laCausale;
    QComboBox *cbCausale;
    QLabel *laIstituto;
    QComboBox *cbIstituto;
    QLabel *laClasse;
    QComboBox *cbClasse;
    QLabel *laConto;
    QComboBox *cbConto;
    QLabel *laBeneficiari;
    QComboBox *cbBeneficiari;
    QCheckBox *ckNuovi;
    QCheckBox *ckFrequentanti;
    QCheckBox *ckBarCode;
    QPushButton *buFiltro;

    // The choices.
    int CauId() const;
    QString CauDesc() const;
    int DwgId() const;
    int ClsId() const;        // 0: every class
    int SprIstId() const;
    QString NumeroCC() const; // the chosen account's number
    int CbmId() const;
    bool BarCode() const;
    bool NuoviIscritti() const;
    bool SoloFrequentanti() const;

    // Every reason of the years, not only the incoming ones shown in the
    // fee program (set by the caller before the dialog shows).
    bool AllCausali() const { return m_allCausali; }
    void SetAllCausali(bool on) { m_allCausali = on; }
    // Whether "Alunni &nuovi iscritti" is offered.
    bool NuoviVisible() const { return m_nuoviVisible; }
    void SetNuoviVisible(bool on);

    // The collection that receives the grid's select and parameters when
    // the dialog closes (none: nothing is copied).
    TVtQueryCollection *TargetDataSet() const { return m_target; }
    void SetTargetDataSet(TVtQueryCollection *target) { m_target = target; }

    // The definition the filter is composed on (code and XML of the
    // archive's definition), and the folder of its saved filters.
    void SetFilterDefinition(const QString &code, const QString &xml);
    void SetFilterFolder(const QString &folder);
    // The filter dialog, created at its first use and kept.
    TfmVtRptFilter *FilterDialog();
    // "Filtro...": the filter dialog, and its condition once confirmed.
    void FilterClick();
    QString FilterCondition() const { return m_condition; }
    void ApplyCondition(const QString &condition);

    // The selects of the grid besides the enrolled pupils' (same columns,
    // with the filter markers).
    static QString NewEnrolmentsSQL();
    static QString CategorySQL();

    // Reads every list for the chosen year and runs the grid.
    void LoadAll();
    // Runs the grid's select for the choices shown.
    void Requery();

protected:
    bool CanAccept() override;
    void done(int result) override;
    void showEvent(QShowEvent *event) override;
    void AnnoScolChanged() override;

private:
    QWidget *MakeChoices();
    void LoadIstituti();
    void LoadClassi();
    void LoadCausali();
    void LoadConti();
    void LoadBeneficiari();
    void FollowBeneficiari();
    bool OtherCategory() const;
    void CopyToTarget();

    bool m_allCausali = false;
    bool m_nuoviVisible = true;
    bool m_loading = false;
    QString m_condition;
    QString m_filterCode;
    QString m_filterXml;
    QString m_filterFolder;
    TfmVtRptFilter *m_filterDialog = nullptr;
    QPointer<TVtQueryCollection> m_target;
};

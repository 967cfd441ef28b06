// Parameters: the per-user store, the dialog's five events with their
// do-it-yourself Boolean, and the framework's own combos over the demo school.
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtException.h"
#include "VtGlobalValuesManager.h"
#include "VtParamManager.h"
#include "dmVtuParams.h"
#include "fmVtParamDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {
const QString UserA = QStringLiteral("segreteria.a@banco1");
const QString UserB = QStringLiteral("segreteria.b@banco2");

QStringList ComboTexts(const QComboBox *cb)
{
    QStringList t;
    for (int i = 0; i < cb->count(); ++i)
        t << cb->itemText(i);
    return t;
}

QVariantList ComboIds(const QComboBox *cb)
{
    QVariantList ids;
    for (int i = 0; i < cb->count(); ++i)
        ids << cb->itemData(i);
    return ids;
}

int SavedRows(const QString &user)
{
    return TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM TVT_PARAMVALORI WHERE SUTENTE = ?"), {user}).toInt();
}

// An application's parameter module as the program writes one: it adds its
// own parameters and overrides the handlers, calling the base first.
class TdmTestParams : public TdmVtuParams
{
public:
    QStringList Calls;
    QVariant DwgSeenAfterBaseWrite;

    TdmTestParams()
    {
        xpmVtuParams->AddCategory(QStringLiteral("APP_Vista"), QStringLiteral("Visualizzazione"));
        TVtXMLParam *vis = xpmVtuParams->AddParam(QStringLiteral("EBDP_Vis"), QStringLiteral("APP_Vista"),
                                                  QStringLiteral("Modalità di visualizzazione"), pkCombo,
                                                  QStringLiteral("0"), QStringLiteral("EBD"));
        vis->Items = QStringList{QStringLiteral("0"), QStringLiteral("1")};
    }

protected:
    void xpmVtuParamsFillListParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault) override
    {
        TdmVtuParams::xpmVtuParamsFillListParam(ctrl, param, doDefault);
        Calls << QStringLiteral("fill:%1:%2").arg(param->Name).arg(int(doDefault));
        if (param->IsNamed(QStringLiteral("VTUP_AnsId")))
            static_cast<QComboBox *>(ctrl)->addItem(QString());
    }
    void xpmVtuParamsWriteParam(QWidget *ctrl, TVtXMLParam *param, bool &doDefault) override
    {
        TdmVtuParams::xpmVtuParamsWriteParam(ctrl, param, doDefault);
        if (param->IsNamed(QStringLiteral("VTUP_DwgId")))
            DwgSeenAfterBaseWrite = GetVtuParamValue(QStringLiteral("VTUP_DwgId"));
    }
};
}

class TstVtParams : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void valuesArePerUserAndNullWhenUnset();
    void newUserAdoptsTheDefaults();
    void dialogSavesWhatTheControlsHold();
    void executeOkSavesAndAnnullaDiscards();
    void applicationCodesChooseTheParameters();
    void fiveEventsAndTheDoItYourselfBoolean();
    void frameworkCombosFromTheDemoSchool();
    void subclassHandlersFindBaseWorkDone();

private:
    std::unique_ptr<TTestDatabase> m_db;
};

void TstVtParams::initTestCase()
{
    // The saved values of the demo school are not the test's own.
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [] { TTestDatabase::Exec(QStringLiteral("DELETE FROM TVT_PARAMVALORI")); });
}

void TstVtParams::init()
{
    m_db->Fresh();
    xgvmGlobalVar->SetUserKey(UserA);
}

void TstVtParams::valuesArePerUserAndNullWhenUnset()
{
    QVERIFY(xgvmGlobalVar->GetValues(QStringLiteral("EBDP_AnfId")).isNull());
    QVERIFY(GetVtuParamValue(QStringLiteral("VTUP_AnsId")).isNull());

    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_AnfId"), QStringLiteral("2024"));
    xgvmGlobalVar->SetValues(QStringLiteral("VTUP_AnsId"), 2025);
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("EBDP_AnfId")), QVariant(QStringLiteral("2024")));
    QCOMPARE(GetVtuParamValue(QStringLiteral("vtup_ansid")), QVariant(QStringLiteral("2025")));
    QCOMPARE(SavedRows(UserA), 2);

    // Saving again replaces, an empty text is a value, not an unset one.
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_AnfId"), QStringLiteral("2025"));
    xgvmGlobalVar->SetValues(QStringLiteral("EBSP_CauAnsId"), QString(""));
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("EBDP_AnfId")).toString(), QStringLiteral("2025"));
    const QVariant empty = xgvmGlobalVar->GetValues(QStringLiteral("EBSP_CauAnsId"));
    QVERIFY(!empty.isNull());
    QCOMPARE(empty.toString(), QString());
    QCOMPARE(SavedRows(UserA), 3);

    // Another user sees none of them and keeps his own.
    xgvmGlobalVar->SetUserKey(UserB);
    QVERIFY(xgvmGlobalVar->GetValues(QStringLiteral("EBDP_AnfId")).isNull());
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_AnfId"), QStringLiteral("2026"));
    QCOMPARE(xgvmGlobalVar->Names(), QStringList{QStringLiteral("EBDP_ANFID")});
    xgvmGlobalVar->SetUserKey(UserA);
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("EBDP_AnfId")).toString(), QStringLiteral("2025"));

    // A null value removes the saved one.
    xgvmGlobalVar->Clear(QStringLiteral("EBDP_AnfId"));
    QVERIFY(xgvmGlobalVar->GetValues(QStringLiteral("EBDP_AnfId")).isNull());
    QCOMPARE(SavedRows(UserA), 2);
    QCOMPARE(SavedRows(UserB), 1);

    // Without a key of its own the store uses the connection's user.
    xgvmGlobalVar->SetUserKey(QString());
    QCOMPARE(xgvmGlobalVar->UserKey(), qqoVtGlobConn->UserKey());
    QVERIFY(xgvmGlobalVar->GetValues(QStringLiteral("VTUP_AnsId")).isNull());
}

void TstVtParams::newUserAdoptsTheDefaults()
{
    // The demo school's defaults were deleted by init: saved anew here.
    xgvmGlobalVar->SetUserKey(TVtGlobalValuesManager::DefaultsKey());
    xgvmGlobalVar->SetValues(QStringLiteral("VTUP_DwgId"), QStringLiteral("1"));
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_AnfId"), QStringLiteral("2025"));
    QCOMPARE(xgvmGlobalVar->AdoptDefaults(), 0);   // the defaults themselves adopt nothing

    xgvmGlobalVar->SetUserKey(UserA);
    QCOMPARE(xgvmGlobalVar->AdoptDefaults(), 2);
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("VTUP_DwgId")).toString(), QStringLiteral("1"));
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("EBDP_AnfId")).toString(), QStringLiteral("2025"));
    // Once adopted they are the user's own: changing them leaves the defaults alone.
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_AnfId"), QStringLiteral("2026"));
    QCOMPARE(xgvmGlobalVar->AdoptDefaults(), 0);
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("EBDP_AnfId")).toString(), QStringLiteral("2026"));
    QCOMPARE(SavedRows(TVtGlobalValuesManager::DefaultsKey()), 2);

    // A user who has saved anything keeps to it and takes no default.
    xgvmGlobalVar->SetUserKey(UserB);
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_AnfId"), QStringLiteral("2024"));
    QCOMPARE(xgvmGlobalVar->AdoptDefaults(), 0);
    QVERIFY(xgvmGlobalVar->GetValues(QStringLiteral("VTUP_DwgId")).isNull());
}

void TstVtParams::dialogSavesWhatTheControlsHold()
{
    TVtParamManager pm;
    pm.AddCategory(QStringLiteral("APP_Stampe"), QStringLiteral("Stampe"));
    TVtXMLParam *mode = pm.AddParam(QStringLiteral("APP_Modo"), QStringLiteral("APP_Generale"),
                                    QStringLiteral("Modo di stampa"), pkCombo, QStringLiteral("1"));
    mode->Items = QStringList{QStringLiteral("Anteprima"), QStringLiteral("Stampante"), QStringLiteral("PDF")};
    pm.AddParam(QStringLiteral("APP_Intestazione"), QStringLiteral("APP_Stampe"), QStringLiteral("Intestazione"), pkEdit,
                QStringLiteral("Scuola"));
    pm.AddParam(QStringLiteral("APP_Logo"), QStringLiteral("APP_Stampe"), QStringLiteral("Stampa il logo"), pkCheck);
    TVtXMLParam *hidden = pm.AddParam(QStringLiteral("APP_Nascosto"), QStringLiteral("APP_Stampe"),
                                      QStringLiteral("Nascosto"), pkEdit);
    hidden->Visible = false;

    {
        auto dlg = pm.CreateDialog();
        // Declared categories first, with their captions; the others as met.
        QCOMPARE(dlg->pcParams->count(), 2);
        QCOMPARE(dlg->pcParams->tabText(0), QStringLiteral("Stampe"));
        QCOMPARE(dlg->pcParams->tabText(1), QStringLiteral("APP_Generale"));
        QCOMPARE(dlg->CaptionLabel(QStringLiteral("APP_Modo"))->text(), QStringLiteral("Modo di stampa"));
        QVERIFY(dlg->Control(QStringLiteral("APP_Nascosto"))->isHidden());
        QVERIFY(dlg->CaptionLabel(QStringLiteral("APP_Nascosto"))->isHidden());

        // Nothing saved: the defaults.
        auto *cb = qobject_cast<QComboBox *>(dlg->Control(QStringLiteral("APP_Modo")));
        auto *ed = qobject_cast<QLineEdit *>(dlg->Control(QStringLiteral("APP_Intestazione")));
        auto *ck = qobject_cast<QCheckBox *>(dlg->Control(QStringLiteral("APP_Logo")));
        QVERIFY(cb && ed && ck);
        QCOMPARE(ComboTexts(cb), (QStringList{QStringLiteral("Anteprima"), QStringLiteral("Stampante"), QStringLiteral("PDF")}));
        QCOMPARE(cb->currentIndex(), 1);
        QCOMPARE(ed->text(), QStringLiteral("Scuola"));
        QVERIFY(!ck->isChecked());

        cb->setCurrentIndex(2);
        ed->setText(QStringLiteral("I.C. Valdirame Nord"));
        ck->setChecked(true);
        pm.SaveDialog(dlg.get());
    }
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("APP_Modo")).toString(), QStringLiteral("2"));
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("APP_Intestazione")).toString(), QStringLiteral("I.C. Valdirame Nord"));
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("APP_Logo")).toString(), QStringLiteral("1"));
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("APP_Nascosto")).toString(), QString());

    {
        // The saved texts come back into the controls; a combo with nothing
        // chosen saves "0".
        auto dlg = pm.CreateDialog();
        auto *cb = qobject_cast<QComboBox *>(dlg->Control(QStringLiteral("APP_Modo")));
        QCOMPARE(cb->currentIndex(), 2);
        QCOMPARE(qobject_cast<QLineEdit *>(dlg->Control(QStringLiteral("APP_Intestazione")))->text(),
                 QStringLiteral("I.C. Valdirame Nord"));
        QVERIFY(qobject_cast<QCheckBox *>(dlg->Control(QStringLiteral("APP_Logo")))->isChecked());
        QVERIFY(pm.FindParam(QStringLiteral("app_modo"))->Saved);
        cb->setCurrentIndex(-1);
        qobject_cast<QCheckBox *>(dlg->Control(QStringLiteral("APP_Logo")))->setChecked(false);
        pm.SaveDialog(dlg.get());
    }
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("APP_Modo")).toString(), QStringLiteral("0"));
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("APP_Logo")).toString(), QStringLiteral("0"));
}

void TstVtParams::executeOkSavesAndAnnullaDiscards()
{
    TVtParamManager pm;
    pm.AddParam(QStringLiteral("APP_Cartella"), QStringLiteral("APP_Generale"), QStringLiteral("Cartella"), pkEdit,
                QStringLiteral("Banca"));
    xgvmGlobalVar->SetValues(QStringLiteral("APP_Cartella"), QStringLiteral("Export"));

    QPointer<TfmVtParamDlg> shown;
    pm.OnShowDialog = [&](TfmVtParamDlg *dlg) {
        shown = dlg;
        QCOMPARE(pm.Dialog(), dlg);
        qobject_cast<QLineEdit *>(dlg->Control(QStringLiteral("APP_Cartella")))->setText(QStringLiteral("Altro"));
        QTimer::singleShot(0, dlg->buCancel, &QPushButton::click);
    };
    QVERIFY(!pm.Execute());
    QVERIFY(shown.isNull());          // freed once closed
    QVERIFY(pm.Dialog() == nullptr);
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("APP_Cartella")).toString(), QStringLiteral("Export"));

    pm.OnShowDialog = [&](TfmVtParamDlg *dlg) {
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Parametri"));
        QCOMPARE(dlg->buOk->text(), QStringLiteral("OK"));
        QCOMPARE(dlg->buCancel->text(), QStringLiteral("Annulla"));
        qobject_cast<QLineEdit *>(dlg->Control(QStringLiteral("APP_Cartella")))->setText(QStringLiteral("Altro"));
        QTimer::singleShot(0, dlg->buOk, &QPushButton::click);
    };
    QVERIFY(pm.Execute());
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("APP_Cartella")).toString(), QStringLiteral("Altro"));
}

void TstVtParams::applicationCodesChooseTheParameters()
{
    TVtParamManager pm;
    pm.AddParam(QStringLiteral("EBD_Uno"), QStringLiteral("C"), QStringLiteral("Uno"), pkEdit, QString(), QStringLiteral("EBD"));
    pm.AddParam(QStringLiteral("KBA_Due"), QStringLiteral("C"), QStringLiteral("Due"), pkEdit, QString(), QStringLiteral("KBA"));
    pm.AddParam(QStringLiteral("XYZ_Tre"), QStringLiteral("C"), QStringLiteral("Tre"), pkEdit, QString(), QStringLiteral("XYZ"));
    pm.AddParam(QStringLiteral("ALL_Quattro"), QStringLiteral("C"), QStringLiteral("Quattro"), pkEdit);
    QVERIFY_THROWS_EXCEPTION(EVtException, pm.AddParam(QStringLiteral("ebd_uno"), QStringLiteral("C"), QString(), pkEdit));

    pm.ApplCodeList = QStringList{QStringLiteral("EBD="), QStringLiteral("KBA=1.0"), QStringLiteral("VT=")};
    auto dlg = pm.CreateDialog();
    QVERIFY(dlg->Control(QStringLiteral("EBD_Uno")));
    QVERIFY(dlg->Control(QStringLiteral("KBA_Due")));
    QVERIFY(!dlg->Control(QStringLiteral("XYZ_Tre")));
    QVERIFY(dlg->Control(QStringLiteral("ALL_Quattro")));
    pm.SaveDialog(dlg.get());
    QVERIFY(xgvmGlobalVar->GetValues(QStringLiteral("XYZ_Tre")).isNull());
    QVERIFY(!xgvmGlobalVar->GetValues(QStringLiteral("EBD_Uno")).isNull());
}

void TstVtParams::fiveEventsAndTheDoItYourselfBoolean()
{
    TVtParamManager pm;
    pm.AddParam(QStringLiteral("X_Proprio"), QStringLiteral("C"), QStringLiteral("Controllo proprio"), pkEdit,
                QStringLiteral("7"));
    pm.AddParam(QStringLiteral("X_Lista"), QStringLiteral("C"), QStringLiteral("Lista"), pkCombo);
    pm.AddParam(QStringLiteral("X_Testo"), QStringLiteral("C"), QStringLiteral("Testo"), pkEdit, QStringLiteral("base"));
    pm.AddParam(QStringLiteral("X_Escluso"), QStringLiteral("C"), QStringLiteral("Escluso"), pkEdit);
    xgvmGlobalVar->SetValues(QStringLiteral("X_Lista"), QStringLiteral("20"));

    QStringList events;
    QMap<QString, QWidget *> seen;
    pm.BeforeCreateCtrl = [&](QWidget *&ctrl, TVtXMLParam *p, bool &doDefault) {
        events << QStringLiteral("before:%1").arg(p->Name);
        QVERIFY(ctrl == nullptr);
        QVERIFY(doDefault);
        QVERIFY(pm.Loading());
        if (p->IsNamed(QStringLiteral("X_Proprio"))) {
            auto *spin = new QSpinBox;
            spin->setRange(0, 99);
            ctrl = spin;
            doDefault = false;
        } else if (p->IsNamed(QStringLiteral("X_Escluso"))) {
            doDefault = false;   // no control: the parameter is left out
        }
    };
    pm.AfterCreateCtrl = [&](QWidget *ctrl, TVtXMLParam *p, bool &doDefault) {
        events << QStringLiteral("after:%1").arg(p->Name);
        QVERIFY(doDefault);
        seen.insert(p->Name, ctrl);
    };
    pm.FillListParam = [&](QWidget *ctrl, TVtXMLParam *p, bool &doDefault) {
        events << QStringLiteral("fill:%1").arg(p->Name);
        if (p->IsNamed(QStringLiteral("X_Lista"))) {
            auto *cb = qobject_cast<QComboBox *>(ctrl);
            cb->addItem(QStringLiteral("Primo"), 10);
            cb->addItem(QStringLiteral("Secondo"), 20);
            doDefault = false;
        }
    };
    pm.ReadParam = [&](QWidget *ctrl, TVtXMLParam *p, bool &doDefault) {
        events << QStringLiteral("read:%1").arg(p->Name);
        if (p->IsNamed(QStringLiteral("X_Proprio"))) {
            qobject_cast<QSpinBox *>(ctrl)->setValue(p->Value.toInt());
            doDefault = false;
        }
    };
    pm.WriteParam = [&](QWidget *ctrl, TVtXMLParam *p, bool &doDefault) {
        events << QStringLiteral("write:%1").arg(p->Name);
        QVERIFY(!pm.Loading());
        if (p->IsNamed(QStringLiteral("X_Proprio"))) {
            p->Value = QString::number(qobject_cast<QSpinBox *>(ctrl)->value() * 2);
            doDefault = false;
        } else if (p->IsNamed(QStringLiteral("X_Testo"))) {
            p->Value = QStringLiteral("scartato");   // the Boolean stays: the default step wins
        }
    };

    auto dlg = pm.CreateDialog();
    QCOMPARE(events, (QStringList{
                         QStringLiteral("before:X_Proprio"), QStringLiteral("after:X_Proprio"),
                         QStringLiteral("before:X_Lista"), QStringLiteral("after:X_Lista"),
                         QStringLiteral("before:X_Testo"), QStringLiteral("after:X_Testo"),
                         QStringLiteral("before:X_Escluso"),
                         QStringLiteral("fill:X_Proprio"), QStringLiteral("fill:X_Lista"), QStringLiteral("fill:X_Testo"),
                         QStringLiteral("read:X_Proprio"), QStringLiteral("read:X_Lista"), QStringLiteral("read:X_Testo"),
                     }));
    QVERIFY(!pm.Loading());
    auto *spin = qobject_cast<QSpinBox *>(dlg->Control(QStringLiteral("X_Proprio")));
    QVERIFY(spin);
    QCOMPARE(seen.value(QStringLiteral("X_Proprio")), static_cast<QWidget *>(spin));
    QCOMPARE(spin->value(), 7);
    QVERIFY(!dlg->Control(QStringLiteral("X_Escluso")));
    // The handler's list, read by the default step: saved "20" is "Secondo".
    auto *cb = qobject_cast<QComboBox *>(dlg->Control(QStringLiteral("X_Lista")));
    QCOMPARE(ComboTexts(cb), (QStringList{QStringLiteral("Primo"), QStringLiteral("Secondo")}));
    QCOMPARE(cb->currentText(), QStringLiteral("Secondo"));

    events.clear();
    spin->setValue(21);
    cb->setCurrentIndex(0);
    qobject_cast<QLineEdit *>(dlg->Control(QStringLiteral("X_Testo")))->setText(QStringLiteral("nuovo"));
    pm.SaveDialog(dlg.get());
    QCOMPARE(events, (QStringList{QStringLiteral("write:X_Proprio"), QStringLiteral("write:X_Lista"),
                                  QStringLiteral("write:X_Testo")}));
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("X_Proprio")).toString(), QStringLiteral("42"));
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("X_Lista")).toString(), QStringLiteral("10"));
    QCOMPARE(xgvmGlobalVar->GetValues(QStringLiteral("X_Testo")).toString(), QStringLiteral("nuovo"));
    QVERIFY(xgvmGlobalVar->GetValues(QStringLiteral("X_Escluso")).isNull());
}

void TstVtParams::frameworkCombosFromTheDemoSchool()
{
    xgvmGlobalVar->SetValues(QStringLiteral("VTUP_AnsId"), QStringLiteral("2025"));
    xgvmGlobalVar->SetValues(QStringLiteral("VTUP_DwgId"), QStringLiteral("2"));
    QCOMPARE(GetVtuParamText(QStringLiteral("VTUP_AnsId")), QStringLiteral("2025/2026"));
    QCOMPARE(GetVtuParamText(QStringLiteral("VTUP_DwgId")), QStringLiteral("Primaria Rita Vallesi"));

    TdmVtuParams dm;
    QCOMPARE(dm.xpmVtuParams->objectName(), QStringLiteral("xpmVtuParams"));
    {
        auto dlg = dm.xpmVtuParams->CreateDialog();
        QCOMPARE(dlg->pcParams->tabText(0), QStringLiteral("Generale"));
        QCOMPARE(dlg->CaptionLabel(QStringLiteral("VTUP_AnsId"))->text(), QStringLiteral("Anno scolastico di lavoro"));
        QCOMPARE(dlg->CaptionLabel(QStringLiteral("VTUP_DwgId"))->text(), QStringLiteral("Istituto di lavoro"));
        auto *ans = qobject_cast<QComboBox *>(dlg->Control(QStringLiteral("VTUP_AnsId")));
        auto *dwg = qobject_cast<QComboBox *>(dlg->Control(QStringLiteral("VTUP_DwgId")));
        QVERIFY(ans && dwg);
        QCOMPARE(ComboTexts(ans), (QStringList{QStringLiteral("2024/2025"), QStringLiteral("2025/2026")}));
        QCOMPARE(ComboIds(ans), (QVariantList{2024, 2025}));
        QCOMPARE(ans->currentText(), QStringLiteral("2025/2026"));
        // Schools only, the group of schools left out.
        QCOMPARE(ComboTexts(dwg), (QStringList{QStringLiteral("Primaria Rita Vallesi"), QStringLiteral("Secondaria Ottavio Brenna")}));
        QCOMPARE(ComboIds(dwg), (QVariantList{2, 3}));
        QCOMPARE(dwg->currentData().toInt(), 2);

        ans->setCurrentIndex(0);
        dwg->setCurrentIndex(1);
        dm.xpmVtuParams->SaveDialog(dlg.get());
    }
    QCOMPARE(GetVtuParamValue(QStringLiteral("VTUP_AnsId")).toString(), QStringLiteral("2024"));
    QCOMPARE(GetVtuParamValue(QStringLiteral("VTUP_DwgId")).toString(), QStringLiteral("3"));
    QCOMPARE(GetVtuParamText(QStringLiteral("VTUP_DwgId")), QStringLiteral("Secondaria Ottavio Brenna"));

    dm.SetShowAggregate(true);
    {
        auto dlg = dm.xpmVtuParams->CreateDialog();
        auto *dwg = qobject_cast<QComboBox *>(dlg->Control(QStringLiteral("VTUP_DwgId")));
        QCOMPARE(ComboTexts(dwg), (QStringList{QStringLiteral("Istituto Comprensivo Valdirame Nord"),
                                               QStringLiteral("Primaria Rita Vallesi"), QStringLiteral("Secondaria Ottavio Brenna")}));
        QCOMPARE(ComboIds(dwg), (QVariantList{1, 2, 3}));
        QCOMPARE(dwg->currentText(), QStringLiteral("Secondaria Ottavio Brenna"));
        dwg->setCurrentIndex(0);
        dm.xpmVtuParams->SaveDialog(dlg.get());
    }
    QCOMPARE(GetVtuParamValue(QStringLiteral("VTUP_DwgId")).toString(), QStringLiteral("1"));
    QCOMPARE(GetVtuParamText(QStringLiteral("VTUP_DwgId")), QStringLiteral("Istituto Comprensivo Valdirame Nord"));

    // A saved id no longer listed selects nothing, and nothing saves "0".
    xgvmGlobalVar->SetValues(QStringLiteral("VTUP_AnsId"), QStringLiteral("2019"));
    {
        auto dlg = dm.xpmVtuParams->CreateDialog();
        auto *ans = qobject_cast<QComboBox *>(dlg->Control(QStringLiteral("VTUP_AnsId")));
        QCOMPARE(ans->currentIndex(), -1);
        dm.xpmVtuParams->SaveDialog(dlg.get());
    }
    QCOMPARE(GetVtuParamValue(QStringLiteral("VTUP_AnsId")).toString(), QStringLiteral("0"));
    QCOMPARE(GetVtuParamText(QStringLiteral("VTUP_AnsId")), QString());
}

void TstVtParams::subclassHandlersFindBaseWorkDone()
{
    xgvmGlobalVar->SetValues(QStringLiteral("VTUP_DwgId"), QStringLiteral("2"));
    xgvmGlobalVar->SetValues(QStringLiteral("EBDP_Vis"), QStringLiteral("1"));
    TdmTestParams dm;
    dm.xpmVtuParams->ApplCodeList = QStringList{QStringLiteral("EBD="), QStringLiteral("KBA=1.0"), QStringLiteral("VT=")};
    auto dlg = dm.xpmVtuParams->CreateDialog();
    QCOMPARE(dlg->pcParams->count(), 2);
    QCOMPARE(dlg->pcParams->tabText(1), QStringLiteral("Visualizzazione"));
    // The base filled its combos (and cleared the Boolean) before the override ran.
    QCOMPARE(dm.Calls, (QStringList{QStringLiteral("fill:VTUP_AnsId:0"), QStringLiteral("fill:VTUP_DwgId:0"),
                                    QStringLiteral("fill:EBDP_Vis:1")}));
    auto *ans = qobject_cast<QComboBox *>(dlg->Control(QStringLiteral("VTUP_AnsId")));
    QCOMPARE(ComboTexts(ans), (QStringList{QStringLiteral("2024/2025"), QStringLiteral("2025/2026"), QString()}));
    auto *vis = qobject_cast<QComboBox *>(dlg->Control(QStringLiteral("EBDP_Vis")));
    QCOMPARE(ComboTexts(vis), (QStringList{QStringLiteral("0"), QStringLiteral("1")}));
    QCOMPARE(vis->currentIndex(), 1);

    auto *dwg = qobject_cast<QComboBox *>(dlg->Control(QStringLiteral("VTUP_DwgId")));
    dwg->setCurrentIndex(dwg->findData(3));
    vis->setCurrentIndex(0);
    dm.xpmVtuParams->SaveDialog(dlg.get());
    // The new group was already in the store when the override ran.
    QCOMPARE(dm.DwgSeenAfterBaseWrite.toString(), QStringLiteral("3"));
    QCOMPARE(GetVtuParamValue(QStringLiteral("EBDP_Vis")).toString(), QStringLiteral("0"));
}

QTEST_MAIN(TstVtParams)
#include "tst_vtparams.moc"

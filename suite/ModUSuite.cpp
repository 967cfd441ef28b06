#include "ModUSuite.h"
#include "AnaRAbt.h"
#include "AnaREMail.h"
#include "AnaRGpt.h"
#include "AnaRTel.h"
#include "BenFBeneficiari.h"
#include "KbaRAnaCitt.h"
#include "KbsFFirme.h"
#include "ModFAnagrafica.h"
#include "VtException.h"
#include "VtFormRegistry.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"
#include "kbdREdeExtra.h"

#include <QRegularExpression>

void RegisterSuiteForms()
{
    TVtFormRegistry::RegisterClass<TfmModAnagrafica>(QStringLiteral("TfmModAnagrafica"));
    TVtFormRegistry::RegisterClass<TfmKbsFirme>(QStringLiteral("TfmKbsFirme"));
    TVtFormRegistry::RegisterClass<TfmBeneficiari>(QStringLiteral("TfmBeneficiari"));
    TVtFormRegistry::RegisterClass<TfrAnaTel>(QStringLiteral("TfrAnaTel"));
    TVtFormRegistry::RegisterClass<TfrAnaEMail>(QStringLiteral("TfrAnaEMail"));
    TVtFormRegistry::RegisterClass<TfrAnaAbt>(QStringLiteral("TfrAnaAbt"));
    TVtFormRegistry::RegisterClass<TfrAnaGpt>(QStringLiteral("TfrAnaGpt"));
    TVtFormRegistry::RegisterClass<TfrKbaAnaCitt>(QStringLiteral("TfrKbaAnaCitt"));
    TVtFormRegistry::RegisterClass<TfrkbdEdeExtra>(QStringLiteral("TfrkbdEdeExtra"));
}

bool CheckPhoneNumber(const QVariant &value, bool required, QString &message)
{
    const QString text = value.toString().trimmed();
    if (text.isEmpty()) {
        if (required)
            message = QStringLiteral("Indicare il numero di telefono.");
        return !required;
    }
    static const QRegularExpression allowed(QStringLiteral("^\\+?[0-9 ./-]+$"));
    int digits = 0;
    for (const QChar c : text)
        if (c.isDigit())
            ++digits;
    if (!allowed.match(text).hasMatch() || digits < 5 || digits > 15) {
        message = QStringLiteral("Numero di telefono non valido: sono ammessi da 5 a 15 cifre, spazi e i segni + / . -");
        return false;
    }
    return true;
}

bool CheckEMailAddress(const QVariant &value, bool required, QString &message)
{
    const QString text = value.toString().trimmed();
    if (text.isEmpty()) {
        if (required)
            message = QStringLiteral("Indicare l'indirizzo e-mail.");
        return !required;
    }
    static const QRegularExpression address(
        QStringLiteral("^[A-Za-z0-9._%+'-]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*\\.[A-Za-z]{2,}$"));
    if (!address.match(text).hasMatch() || text.contains(QLatin1String(".."))) {
        message = QStringLiteral("Indirizzo e-mail non valido.");
        return false;
    }
    return true;
}

bool CheckFiscalCode(const QVariant &value, QString &message)
{
    const QString text = value.toString().trimmed().toUpper();
    if (text.isEmpty())
        return true;
    static const QRegularExpression person(QStringLiteral("^[A-Z0-9]{16}$"));
    static const QRegularExpression firm(QStringLiteral("^[0-9]{11}$"));
    if (!person.match(text).hasMatch() && !firm.match(text).hasMatch()) {
        message = QStringLiteral("Il codice fiscale deve avere 16 caratteri, la partita IVA 11 cifre.");
        return false;
    }
    return true;
}

bool CheckPeriod(const QVariant &start, const QVariant &end, QString &message)
{
    if (start.isNull() || end.isNull())
        return true;
    if (end.toDate() < start.toDate()) {
        message = QStringLiteral("La data di fine non può precedere la data di inizio.");
        return false;
    }
    return true;
}

void CheckRowPeriod(TVtQueryCollection *ds)
{
    QString message;
    if (!CheckPeriod(ds->FieldByName(QStringLiteral("DSTART"))->Value(),
                     ds->FieldByName(QStringLiteral("DEND"))->Value(), message))
        throw EVtException(message);
}

TVtQueryCollection *CreatePersonDataSet(QObject *owner, const QString &select, const QString &keyField)
{
    auto *ds = new TVtQueryCollection(owner);
    ds->CommandText = select;
    ds->KeyFields = keyField;
    ds->Confirmations = xcoDelete;
    ds->Params().CreateParam(QMetaType::Int, QStringLiteral("iAnaId"));
    ds->BeforeInsert = [](TVtQueryCollection *self) {
        if (self->Params().ParamByName(QStringLiteral("iAnaId"))->IsNull()) {
            VtMessageDlg(QStringLiteral("Selezionare prima una persona nell'elenco."), mtWarning, mbOK);
            Abort();
        }
    };
    ds->OnNewRecord = [](TVtQueryCollection *self) {
        self->FieldByName(QStringLiteral("IANAID"))->SetValue(self->Params().ParamByName(QStringLiteral("iAnaId"))->Value());
    };
    return ds;
}

void OpenForPerson(TVtQueryCollection *ds, const QVariant &anaId)
{
    if (!ds)
        return;
    if ((ds->State() == dsEdit || ds->State() == dsInsert) && !ds->CheckBrowseModeOk())
        ds->Cancel();
    ds->Close();
    ds->Params().ParamByName(QStringLiteral("iAnaId"))->SetValue(anaId);
    ds->Open();
}

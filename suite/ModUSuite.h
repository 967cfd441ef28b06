#pragma once
#include <QString>
#include <QVariant>

class TVtQueryCollection;

// Shared functions of the suite's sibling modules.

// Registers by name the windows and the registry detail frames of the
// sibling modules (TfmModAnagrafica, TfmKbsFirme, TfmBeneficiari, TfrAnaTel,
// TfrAnaEMail, TfrAnaAbt, TfrAnaGpt, TfrKbaAnaCitt, TfrkbdEdeExtra). Safe to
// call more than once; the command modules call it when they are created.
void RegisterSuiteForms();

// Field validations of the registry: true when the value is acceptable,
// else false with the Italian message shown at the field. An empty value
// is refused only when required.
bool CheckPhoneNumber(const QVariant &value, bool required, QString &message);
bool CheckEMailAddress(const QVariant &value, bool required, QString &message);
bool CheckFiscalCode(const QVariant &value, QString &message);

// A period whose end precedes its start is refused with the Italian message
// (an open end is always accepted).
bool CheckPeriod(const QVariant &start, const QVariant &end, QString &message);

// Refuses the post of a row whose fields dStart/dEnd make a wrong period:
// shows nothing itself, raises EVtException with the message (the collection
// shows it). Meant for BeforePost.
void CheckRowPeriod(TVtQueryCollection *ds);

// A collection of the rows of one person for a registry detail frame: its
// select reads the parameter iAnaId; new rows take that person (field IANAID)
// and are refused while no person is chosen; deletions ask first.
TVtQueryCollection *CreatePersonDataSet(QObject *owner, const QString &select, const QString &keyField);

// Points a detail collection at a person (null: none) and reopens it. An edit
// still pending is posted first; when the post fails the edit is dropped.
void OpenForPerson(TVtQueryCollection *ds, const QVariant &anaId);

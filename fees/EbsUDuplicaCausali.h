#pragma once
// Copy of fee reasons, with their components, into another school year.
// The copy itself is the database's procedure PEBS_DUPLICACAUS, one call per
// reason; the preview tells beforehand, by the same rules and without
// writing, what the copy will create.
//
// Rules of the procedure:
// - rule R: a reason is refused when the target year holds a reason of the
//   same description: same direction (lCauTipo), same sCauLDesc with the blanks
//   around it trimmed and without regard to case, same owner or at least one
//   of the two without owner;
// - each component, in the order of the links, is linked as the target
//   year's own component of the same code, description, direction and owner
//   (null equals null) when there is one: its amount and due date stay;
//   otherwise it is copied, its due date moved by as many years as lie
//   between the source reason's year and the target year (29 February
//   becomes 28 February).

#include "VtMoney.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// One row of the preview: a component of a ticked reason as the copy will
// leave it in the target year (or the reason alone when it has none).
struct TEbsDuplicaRow {
    int CauId = 0;              // the source reason
    QString Causale;            // source sCauLDesc
    QString Componente;         // sCcaSDesc (empty for a reason without components)
    QString DescComponente;     // sCcaLDesc
    QVariant ImportoIst;        // double; null when no component
    QDate Scadenza;             // due date as it will be in the target year
    QString Stato;              // "nuovo", "già presente", "causale già presente"
};

struct TEbsDuplicaPreview {
    QString AnnoDestinazione;   // target sAnsAnnoDesc
    QVector<TEbsDuplicaRow> Rows;
    int NewReasons = 0, NewComponents = 0, ExistingComponents = 0;
    TVtMoney Total;                 // sum of the institute amounts of the rows of the reasons to create
    QStringList ExistingInTarget;   // sCauLDesc trimmed of each ticked reason refused because the target year has it, list order
    QString Conflict;               // trimmed sCauLDesc of the first ticked reason (list order) that conflicts under rule R with another ticked one; empty when none
    int RefusedReasons = 0;         // ticked reasons the copy refuses, for either reason
    bool Refused() const { return !ExistingInTarget.isEmpty() || !Conflict.isEmpty(); }
    // "Causali da creare: %d   Componenti nuovi: %d   Componenti già presenti: %d   Importo istituto totale: %s"
    // (%s = Total.Format(), e.g. "35,00"), plus "   Causali già presenti: %d" (RefusedReasons) when some are refused.
    QString Summary() const;
};

// Row states of the preview.
inline constexpr const char *EbsStatoNuovo = "nuovo";
inline constexpr const char *EbsStatoPresente = "già presente";
inline constexpr const char *EbsStatoCausalePresente = "causale già presente";

// What copying the source reasons (in this order) into the target school
// year would create. Rule R is checked against the target year's reasons
// (whatever their owner) and against those the earlier reasons of the
// selection will create: of two ticked reasons of one description the later
// is refused, and Conflict names the earlier. A component is "già presente"
// when the target year has it or an earlier reason of the selection will
// create it (the row then shows that component's amount and due date).
// Runs a handful of queries whatever the selection's size, writes nothing.
// Raises EVtException with the procedure's text when the target year or a
// source reason does not exist.
TEbsDuplicaPreview EbsPreviewDuplicaCausali(int targetAnsId, const QList<int> &sourceCauIds);

// Copies them in one TVtTransaction on the global connection, calling
// PEBS_DUPLICACAUS once per reason in order, committed at the end (inside a
// caller's scope, when there is one). When a call fails everything is rolled
// back and the EVtException (EVtDatabaseError) raised carries the
// database's text: for the procedure's refusals, its own text first.
void EbsDuplicaCausali(int targetAnsId, const QList<int> &sourceCauIds);

#pragma once
// The working context of the program: the derived globals every module reads
// and the small shared functions that read the context, describe years and
// accounts and check that the context is complete.
//
// Conventions of this unit:
// - ids are int; a saved parameter that may be unset is read as a QVariant
//   (null when unset);
// - the financial-year bounds are QDate: a null QDate stands for "not set"
//   (the -1.0 of the old date arithmetic); the cash-book period globals
//   gInizioUtente/gFineUtente are null when no cash row was found (the old 0);
// - every query runs on the global connection (qqoVtGlobConn) with values
//   bound by name.

#include "EbdUContext.h"
#include "VtUtils.h"   // TVtEnumItem

#include <QDate>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

class QComboBox;
class QWidget;
class TVtAttReport;
class TVtParam;
class TVtParams;

// ---------------------------------------------------------------------------
// Derived globals (initial values in the comments)
// ---------------------------------------------------------------------------
extern int gAnfValore;              // -1: value (calendar year) of the working financial year
extern int gDwgId;                  // -1: working data-owner group
extern QDate gAnfInizio;            // null: start of the working financial year
extern QDate gAnfFine;              // null: end of the working financial year
extern bool gUseDwgAnfDates;        // true: GetAnfDates reads the owner's own bounds (TDWGANF)
extern QList<TVtEnumItem> gDwgList; // empty: schools of the working group (LoadDwgList)
extern int gVisMode;                // 0: view mode (EBDP_Vis)
extern QString gApplCode;           // empty: application code ("EBC" once started)
extern QDate gInizioUtente;         // null: start of the cash-book period of the working account/year
extern QDate gFineUtente;           // null: end of that period
// The slice of the budget aggregates the user chose (totals type dialog or
// totals filter): cash flow (1 incoming, any other outgoing) and total type
// (1 in total, any other outside it), as ids of TFls_FlussoCassa and
// TTito_TipoTotale.
extern int gFlsId;                  // 0: none chosen yet
extern int gTitoId;                 // 0: none chosen yet

// The integer of a saved parameter: 0 when unset, empty or not a number
// (for a part of the working context, TEbdContext::GetOr0).
int GetParamInt(const QString &name);

// ---------------------------------------------------------------------------
// Years
// ---------------------------------------------------------------------------
// "2023/2024" for 2023.
QString FormatAnsDesc(int iAnsId);
// sAnsAnnoDesc of the school year; empty when not found.
QString GetAnsAnnoDesc(int iAnsId);
// FormatAnsDesc of VTUP_AnsId; empty when unset.
QString GetCurrentAnsDesc();
// Empty when the parameter is empty; for EBSP_CauAnsId the description of its
// year (empty when not found). Any other name raises EVtException
// "Parametro %s non definito".
QString GetParamAnsDesc(const QString &paramName);
// iAnfValore of the financial year saved in the parameter (VTUP_AnfId: the
// framework value itself); null when unset or not found.
QVariant GetParamAnfValore(const QString &paramName);
// GetParamAnfValore of the working financial year.
QVariant GetCurrentAnfValore();

// Bounds of the financial year of value `valore` for the group `dwg`.
// With gUseDwgAnfDates: the owner's own bounds of TDWGANF, each falling back
// to the year's own bound when null; both null when the owner has no row.
// Without: the year's own bounds. A bound that is not known is a null QDate.
void GetAnfDates(int valore, int dwg, QDate &start, QDate &end);
// Reads the bounds and shows (error, OK) each missing piece of the context in
// order; true when nothing is missing.
bool CheckAnfContext(int valore, int dwg);

// ---------------------------------------------------------------------------
// Checks of the context
// ---------------------------------------------------------------------------
// The message CheckParamsSet shows for the comma-separated parameter list;
// empty when every parameter is set.
QString ParamsNotSetMessage(const QString &paramList);
// Shows (warning, OK) the message above when a parameter is unset; true when
// all are set.
bool CheckParamsSet(const QString &paramList);
// True when no child window is open; else shows (warning, OK) "Bisogna
// chiudere tutte le finestre attive per modificare i parametri." and returns false.
bool CanEditParams();
// First open form (child window first, then top-level window) whose caption
// equals the text; null when none.
QWidget *FindFormByCaption(const QString &caption);

// ---------------------------------------------------------------------------
// Accounts, branches, reasons
// ---------------------------------------------------------------------------
// Aggregate ("MIN" or "MAX", any case; anything else raises EVtException) of
// the dates of the account's movements that fall inside one of its financial
// years: a financial year with a cash row of the account whose period (1
// January to 31 December of its year unless given) holds the movement date.
// Null when there are none.
QDate GetMvmDateBound(int iSprIstId, const QString &aggregate);
// True when the account has an end date.
bool SprIstIsClosed(int iSprIstId);
// sSprIstNumCc of the account; empty when not found.
QString GetSprIstNumCc(int iSprIstId);
// GetSprIstNumCc of EBDP_SprIstId.
QString GetCurrentSprIstNumCc();
// "Postale", "Cassa", "Bancario" or empty, from the account's branch bank.
QString GetSprIstKind(int iSprIstId);
// The same from the bank's category and the bank: 7 post office, 8 cash, any
// other category a bank; without a category only bank 1 is known to be a bank.
QString SprIstKindOf(const QVariant &iCbaId, const QVariant &iBanId);
// GetSprIstKind of EBDP_SprIstId.
QString GetCurrentSprIstKind();
// iProId of the branch's town; 0 when not found.
int GetSprProvId(int iSprId);
// The post-office branch (bank 2) of the town's province; 0 when none.
int GetPostSprId(int iSrpcId);
// The reason is referenced by a movement or a tax payment.
bool CauIsUsed(int iCauId);
// withMovements: a reason linked to the component is referenced by a movement
// or tax payment; else: the component is linked to any reason.
bool CcaIsUsed(int iCcaId, bool withMovements);
// Fills the combo with (sCauLDesc, iCauId) of the reasons of the school year
// of type tipo (and lCauVuvez = 1 unless all), then one empty item.
void LoadCausaliList(QComboBox *combo, int iAnsId, int tipo, bool all);
// The amount in the text (Italian "1.234,56", or "1234.56"; 0 when not an
// amount) rounded to the cent, in currency or fixed format of the Italian
// locale, two decimals.
QString FormatAmountStr(const QString &text, bool currency);

// ---------------------------------------------------------------------------
// Helpers
// ---------------------------------------------------------------------------
// Sets read-only the dataset of every data frame among the control's
// descendants (the control included).
void SetFramesReadOnly(QWidget *control, bool on);
// Sets the parameter's data type, clears its value and marks it bound.
void ClearParam(TVtParam *param, QMetaType::Type type);

// Data owners: fills the list with the working data owner's own school, or,
// for a group of schools, with the group's member schools valid (own period
// and membership period) at the start of the working school year.
// Returns DwgIsGroup(dwg).
bool LoadDwgList(QList<TVtEnumItem> &list, int dwg);
// True when the group has no data owner of its own (it groups schools).
bool DwgIsGroup(int dwg);

// Text of an XML definition of the database archive, split into lines;
// listCode "EBC" when empty. Raises EVtException "XML codice %s Non trovato
// nel DB" when absent.
void LoadXmlArchivio(QStringList &lines, const QString &code, const QString &listCode = QString());

// Clears the list and adds (second column, first column as integer) for every
// row of the select, run with the given parameters copied by name.
void LoadEnumFromQuery(QList<TVtEnumItem> &list, const QString &select, const TVtParams *params = nullptr);
void LoadEnumFromQuery(QComboBox *combo, const QString &select, const TVtParams *params = nullptr);

// Report of the report command's tree: the selected id, a custom report
// (id >= 1000000) mapped to its base report; -1 when none is selected.
int GetSelectedRptId(TVtAttReport *reportCommand);
// The same on the command registered with SetSelectedRptCommand (the
// command module registers its report command); -1 when none.
void SetSelectedRptCommand(TVtAttReport *reportCommand);
int GetSelectedRptId();
// A custom report id (>= 1000000) mapped to its base report; other ids as
// they are.
int MapCustomRptId(int rptId);

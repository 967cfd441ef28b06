#pragma once
#include "frVtDBRWGrid.h"

#include <functional>

class QAction;
class TVtDBEdit;
class TVtDBLookupEdit;
class TVtDBDateEdit;
class TVtDBNumEdit;

// The holder records of the working school year: for each pupil, who pays
// (a parent), on which IBAN, under which name, with which payment mode and
// default discount.
class TfrEbdAluGen : public TfrVtDBRWGrid
{
    Q_OBJECT
public:
    explicit TfrEbdAluGen(QWidget *parent = nullptr);

    TVtDBLookupEdit *xdlAlunno;
    TVtDBLookupEdit *xdlGenitori;
    TVtDBEdit *xdeIBAN;
    TVtDBLookupEdit *xdlTipoPagamento;
    TVtDBEdit *xdeIntestatario;
    TVtDBEdit *xdeClasse;
    TVtDBNumEdit *xneSconto;
    TVtDBDateEdit *xddDataMandato;

    // Multiple insertion of a reason on many holder records, or of holder
    // records for many pupils, through the data-replace wizard; and the
    // import of holder records from a file.
    QAction *acInsMultiploCau = nullptr;
    QAction *acInsMultiploInt = nullptr;
    QAction *acSostMultiplaDati = nullptr;
    QAction *acAnnullaSostMultipla = nullptr;
    QAction *acImportaInt = nullptr;

    // The class of the data-replace wizard, offered once it is registered,
    // and the undo of its last run, offered once it is set.
    static const QString DataReplaceClass;
    static std::function<bool()> UndoLastReplace;

    void UpdateActions() override;

private:
    void InsMultiplo(int mode);
    void acImportaIntExecute();
    void xdlAlunnoChangeFKValue(const QVariant &key);
    void xdlGenitoriChangeFKValue(const QVariant &key);
    void ReloadParents(const QVariant &pupil);
};

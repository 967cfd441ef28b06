#pragma once
#include "EbdUImportaInt.h"
#include "fmVtOkCancDlg.h"

class QLabel;
class QTableWidget;

// "Importazione intestatari": the rows of a holders file with what importing
// would do to each (new record, update, refusal and its reason); "Importa"
// writes the accepted rows, all of them or none.
class TfmEbdImportaInt : public TfmVtOkCancDlg
{
    Q_OBJECT
public:
    explicit TfmEbdImportaInt(QWidget *parent = nullptr);

    // Reads and checks the file and shows its rows; false (after an error
    // message) when the file cannot be used.
    bool LoadFile(const QString &fileName);
    const TEbdImportaInt &Import() const { return m_import; }

    QTableWidget *grRows;
    QLabel *lbCount;

protected:
    bool CanAccept() override;

private:
    void ShowRows();

    TEbdImportaInt m_import;
};

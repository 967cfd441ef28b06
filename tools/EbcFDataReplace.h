#pragma once
#include "EbcUDataReplace.h"
#include "EbcUAcbSelectMode.h"
#include "fmVtWizard.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QTableWidget;
class TEbcReplaceEditor;
class TfrEbcDblLstAcbSelect;

// "Sostituzione dati": one value written to many holder records (or pupils)
// at once, as the definition EBCREPLACE says. Pages: the field list (shown
// only when replacing), the selection, the values, the preview; OK on the
// preview runs it. The mode is the one the holder frame set.
class TfmEbcDataReplace : public TfmVtWizard
{
    Q_OBJECT
public:
    enum TPage { pgFields, pgSelection, pgValues, pgPreview };

    explicit TfmEbcDataReplace(QWidget *parent = nullptr);
    ~TfmEbcDataReplace() override;

    // False when the definition could not be used (the user was told why):
    // the wizard then does not open.
    bool Ready() const { return m_ready; }
    int exec() override;

    TEbcAcbSelectMode Mode() const { return m_mode; }
    const TEbcReplaceDef &Definition() const { return m_def; }
    const TEbcReplaceField &Field() const { return m_field; }
    // The run the pages describe now.
    TEbcReplaceRequest Request() const;

    QListWidget *lbFields;
    TfrEbcDblLstAcbSelect *frSelect;
    QWidget *tsValues;
    QLabel *laField;
    QLabel *laOldValue;
    QLabel *laNewValue;
    QCheckBox *cbAny;
    TEbcReplaceEditor *edOldValue = nullptr;
    TEbcReplaceEditor *edNewValue = nullptr;
    QLabel *laPreview;
    QTableWidget *grPreview;

protected:
    void PageChanging(int fromPage, int toPage, bool &allow) override;
    void PageChanged(int page) override;
    bool CanAccept() override;

private:
    QWidget *MakeFieldsPage();
    QWidget *MakeValuesPage();
    QWidget *MakePreviewPage();
    void BuildValues();
    void ShowPreview();
    int FieldIndex() const;

    TEbcAcbSelectMode m_mode;
    TEbcReplaceDef m_def;
    TEbcReplaceField m_field;
    bool m_ready = false;
    int m_previousPage = -1;
};

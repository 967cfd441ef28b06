#pragma once
#include "VtRptFilter.h"
#include "VtRptFilterDef.h"
#include "fmVtOkCancDlg.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

class QComboBox;
class QPushButton;
class QRadioButton;
class QTableWidget;

// "Filtro": the conditions of a report or a selection list, composed on the
// fields of an archive definition. Each row is a field, an operator of its
// type and a value in an editor that fits it; the rows are joined by AND
// ("Tutte le condizioni") or OR ("Almeno una condizione"). The rows can be
// saved to and opened from XML files of a folder. After OK, Condition() is
// the SQL condition of the rows. The dialog is meant to be created once and
// kept: the rows stay from one opening to the next, and Annulla brings back
// the ones of the opening.
class TfmVtRptFilter : public TfmVtOkCancDlg
{
    Q_OBJECT
public:
    explicit TfmVtRptFilter(QWidget *parent = nullptr);

    // The definition the conditions are composed on: its code (written in
    // the saved files) and its XML. A different definition empties the rows
    // and reads the values of its "enum" fields on the global connection (a
    // select that fails leaves its list empty). Throws EVtException when the
    // XML is not a filter definition.
    void SetDefinition(const QString &code, const QString &xml);
    const TVtRptFilterDef &Definition() const { return m_definition; }
    // The folder of the saved filters, created when missing.
    void SetFolder(const QString &folder);
    QString Folder() const { return m_folder; }

    // Shows the dialog modally; true on OK.
    bool Execute();
    // The condition of the rows confirmed by the last OK; empty without rows.
    QString Condition() const { return m_condition; }

    // The rows as shown, and shows others (those on fields the definition
    // lacks are left out).
    TVtRptFilter Filter() const;
    void SetFilter(const TVtRptFilter &filter);
    // The values of an "enum" field: id and caption.
    QList<QPair<QString, QString>> Values(const QString &fieldName) const { return m_values.value(fieldName); }

    int RowCount() const;
    // A row on the first field; the index of the new row.
    int AddRow();
    void RemoveRow(int row);
    QComboBox *FieldBox(int row) const;
    QComboBox *OperatorBox(int row) const;
    // A line edit, or a combo box for an "enum" field.
    QWidget *ValueEditor(int row) const;

    // "Salva..." and "Apri...": false when no file was chosen or the chosen
    // one was refused (with a message).
    bool SaveFilter();
    bool OpenFilter();

    QRadioButton *rbAll;
    QRadioButton *rbAny;
    QTableWidget *grConditions;
    QPushButton *buAdd;
    QPushButton *buRemove;
    QPushButton *buOpen;
    QPushButton *buSave;

protected:
    bool CanAccept() override;

private:
    QWidget *MakeJoinChoice();
    QWidget *MakeButtons();
    void ClearRows();
    void LoadValues();
    int RowOf(QWidget *cellWidget) const;
    void FieldChosen(int row);
    void OperatorChosen(int row);
    QWidget *MakeValueEditor(const TVtRptFilterDef::TField &field);
    void ShowRow(int row, const TVtRptFilter::TRow &values);
    TVtRptFilter::TRow RowAt(int row) const;
    void UpdateButtons();

    TVtRptFilterDef m_definition;
    QString m_definitionXml;
    QString m_folder;
    QString m_condition;
    QMap<QString, QList<QPair<QString, QString>>> m_values;
};

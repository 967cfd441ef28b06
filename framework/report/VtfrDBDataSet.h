#pragma once
#include "frDBDataSet.h"

#include <QPointer>
#include <QWidget>
#include <functional>

// A report dataset with its selection dialog: before the report runs the
// dialog is created by class name, prepared (before-select), run modally
// and read (after-select, told whether the user confirmed it).
class TVtfrDBDataSet : public TfrDBDataSet
{
    Q_OBJECT
public:
    using TfrDBDataSet::TfrDBDataSet;
    ~TVtfrDBDataSet() override;

    QString SelectForm;   // a registered class name; empty: no dialog
    std::function<void(TVtfrDBDataSet *sender, QWidget *form)> OnBeforeSelect;
    std::function<void(TVtfrDBDataSet *sender, QWidget *form, bool confirmed)> OnAfterSelect;

    // Creates the dialog, raises before-select, runs it; false when the user
    // did not confirm it. The dialog stays until FreeForm, for the report to read.
    bool ShowSelectForm();
    void DoAfterSelect(bool confirmed);
    QWidget *Form() const { return m_form; }
    bool Confirmed() const { return m_confirmed; }
    void FreeForm();

private:
    QPointer<QWidget> m_form;
    bool m_confirmed = false;
};

#pragma once
#include "VtDBControl.h"

class QCheckBox;

// Check box over a 0/1 flag: ticked writes ValueChecked, unticked
// ValueUnchecked; a null field shows unticked. A click starts the edit and
// writes the value at once (through the validation).
class TVtDBCheckBox : public TVtDBControl
{
    Q_OBJECT
public:
    explicit TVtDBCheckBox(const QString &caption = QString(), QWidget *parent = nullptr);

    QCheckBox *CheckBox() const { return m_check; }
    bool Checked() const;
    // As if the user clicked it into that state.
    void SetChecked(bool on);

    QVariant ValueChecked = 1;
    QVariant ValueUnchecked = 0;

protected:
    bool EditorValue(QVariant &value, QString &message) const override;
    void LoadEditor(const QVariant &value) override;
    void ApplyReadOnly(bool readOnly) override;

private:
    void Clicked();
    QCheckBox *m_check;
};

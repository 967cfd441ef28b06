#pragma once
#include "VtDBEdit.h"

// Numeric edit in the Italian form: decimal comma, dots as thousands
// separators ("1.234,50"). A text with a single dot and no comma reads the dot
// as the decimal point ("12.5" is twelve and a half). Empty is null. The value
// is shown with DisplayFormat (such as "#,###.00"), or the field's when empty.
class TVtDBNumEdit : public TVtDBEdit
{
    Q_OBJECT
public:
    explicit TVtDBNumEdit(QWidget *parent = nullptr);

    QString DisplayFormat;
    // Puts a number in the editor as if typed.
    void SetNumber(double value);

    // The number a text stands for; ok false when it is not a number. Empty gives null and ok.
    static QVariant ParseNumber(const QString &text, bool *ok);

protected:
    bool EditorValue(QVariant &value, QString &message) const override;
    void LoadEditor(const QVariant &value) override;
    void FieldBound(TVtField *field) override;
};

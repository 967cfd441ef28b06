#pragma once
#include "VtMoney.h"

#include <QLineEdit>

// An amount edit over a four-decimal amount: while it has the focus it shows
// the amount with all its decimals ("33,3333"), as the user types it;
// otherwise with two decimals and no thousands separators ("0.00;-0.00" in
// the Italian locale: "1234,50"). What the user types is read in the Italian
// form when the edit loses the focus; a text that is not an amount counts as
// zero.
class TVtMoneyEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TVtMoneyEdit(QWidget *parent = nullptr);

    // The amount; while the user is typing, the amount the text stands for.
    TVtMoney Value() const;
    void SetValue(const TVtMoney &value);
    // Whether the text reads as an amount.
    bool TextIsAmount() const;

    // The text of an amount with every decimal it has, at least two.
    static QString EditText(const TVtMoney &value);

signals:
    // The edit took the focus; it lost it, with what was typed read.
    void Entered();
    void Left();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void ShowValue();
    TVtMoney m_value;
    bool m_editing = false;
};

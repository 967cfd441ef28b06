#pragma once
#include <QDate>
#include <QLineEdit>

// A date typed in the Italian form gg/mm/aaaa, outside any data source; an
// empty text is no date. Also read: d/M/yyyy, dd/MM/yy and ddMMyyyy (as the
// data-aware date edit reads them).
class TVtDateEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TVtDateEdit(QWidget *parent = nullptr);

    // The date of the text; null when the text is empty or not a date.
    QDate Date() const;
    // Shows the date (a null date empties the edit).
    void SetDate(const QDate &date);
    bool IsEmpty() const { return text().trimmed().isEmpty(); }

signals:
    // The user left the edit.
    void Exited();
    // The date of the text changed (typed, set or cleared).
    void DateChanged(const QDate &date);

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    QDate m_last;
};

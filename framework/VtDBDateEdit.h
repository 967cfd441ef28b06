#pragma once
#include "VtDBEdit.h"

#include <QDate>

// Date edit in the Italian form dd/MM/yyyy; an empty text is a null date.
// Also read: d/M/yyyy, dd/MM/yy (years 00-49 are 2000-2049) and ddMMyyyy.
class TVtDBDateEdit : public TVtDBEdit
{
    Q_OBJECT
public:
    explicit TVtDBDateEdit(QWidget *parent = nullptr);

    QDate Date() const;
    // Puts a date in the editor as if typed (a null date empties it).
    void SetDate(const QDate &date);

    // The date a text stands for; invalid when it is not a date. Empty text gives a null date and ok.
    static QDate ParseDate(const QString &text, bool *ok);

protected:
    bool EditorValue(QVariant &value, QString &message) const override;
    void LoadEditor(const QVariant &value) override;
    void FieldBound(TVtField *field) override;
};

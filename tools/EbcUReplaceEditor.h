#pragma once
#include "EbcUDataReplace.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QSpinBox;
class QStandardItemModel;

// The editor of one value of a bulk-replace field, of the field's kind: a
// drop-down list ("enum"), a drop-down grid ("cxenum"), a spin box
// ("integer"), a date ("date"), a check box ("boolean"), a text otherwise.
class TEbcReplaceEditor : public QWidget
{
    Q_OBJECT
public:
    // emptyFirst: the lists start with "<Vuoto>" (value 0), chosen. A list
    // select other than the field's own may be given (with its :iAnsId).
    TEbcReplaceEditor(const TEbcReplaceField &field, bool emptyFirst, QWidget *parent = nullptr,
                      const QString &listSelect = QString(), const QVariant &listAnsId = QVariant());

    TEbcReplaceField::TKind Kind() const { return m_kind; }
    // The value as the field's statements take it: a list's or grid's
    // choice (0 read as null), the integer, the date, 1 or 0, the text.
    QVariant Value() const;
    // The value as shown.
    QString Text() const;
    // The editor inside (the one that takes the focus).
    QWidget *Editor() const { return m_editor; }
    // Chooses the item of a list or grid with this value; false when none has it.
    bool Choose(const QVariant &value);
    int ItemCount() const;

    static const QString EmptyItem;

private:
    void MakeList(const TEbcReplaceField &field, bool emptyFirst, const QString &select, const QVariant &ansId);
    void MakeGrid(const TEbcReplaceField &field, bool emptyFirst);

    TEbcReplaceField::TKind m_kind;
    QWidget *m_editor = nullptr;
    QComboBox *m_combo = nullptr;
    QStandardItemModel *m_model = nullptr;
    int m_keyColumn = 0;
    QSpinBox *m_spin = nullptr;
    QDateEdit *m_date = nullptr;
    QCheckBox *m_check = nullptr;
    QLineEdit *m_line = nullptr;
};

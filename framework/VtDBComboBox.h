#pragma once
#include "VtDBControl.h"

#include <QPair>

class QComboBox;

// Drop-down list of (text, id) pairs over a field that stores the id. The
// choice is written at once (through the validation); a value without an
// item shows no selection.
class TVtDBComboBox : public TVtDBControl
{
    Q_OBJECT
public:
    explicit TVtDBComboBox(QWidget *parent = nullptr);

    QComboBox *ComboBox() const { return m_combo; }
    void AddItem(const QString &text, const QVariant &id);
    // Adds the (id, text) rows of a two-column select on the global connection.
    void LoadItems(const QString &select);
    void SetItems(const QList<QPair<QString, QVariant>> &items);
    void ClearItems();
    int Count() const;
    // Id of the chosen item (null when none).
    QVariant CurrentId() const;
    // As if the user chose the item with that id; false when there is none.
    bool SelectId(const QVariant &id);
    // As if the user chose the item at that position.
    void SelectIndex(int index);

protected:
    bool EditorValue(QVariant &value, QString &message) const override;
    void LoadEditor(const QVariant &value) override;
    void ApplyReadOnly(bool readOnly) override;

private:
    int IndexOfId(const QVariant &id) const;
    void Chosen();
    QComboBox *m_combo;
};

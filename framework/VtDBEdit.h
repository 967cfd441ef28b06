#pragma once
#include "VtDBControl.h"

class QLineEdit;

enum TVtCharCase { ecNormal, ecUpperCase, ecLowerCase };
// Which characters the user may type; cfCustom uses TVtDBEdit::CharFilter.
enum TVtCharFilter { cfAny, cfDigits, cfLetters, cfLettersDigits, cfCustom };

// Single-line text edit of a string field. The maximum length comes from the
// field's size unless set; the character case and filter apply to what is
// typed and pasted (deletion is always allowed).
class TVtDBEdit : public TVtDBControl
{
    Q_OBJECT
public:
    explicit TVtDBEdit(QWidget *parent = nullptr);

    QLineEdit *LineEdit() const { return m_edit; }
    QString Text() const;
    // Puts text in the editor as if the user typed it (starts the edit; still to be committed).
    void SetText(const QString &text);

    // 0: the field's size.
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length);
    TVtCharCase CharCase() const { return m_charCase; }
    void SetCharCase(TVtCharCase charCase);
    TVtCharFilter Filter() const { return m_filter; }
    void SetFilter(TVtCharFilter filter);
    // Case, filter and (when not 0) maximum length at once.
    void SetInput(TVtCharCase charCase, TVtCharFilter filter, int maxLength = 0);
    // Used with cfCustom: true for an allowed character.
    std::function<bool(QChar)> CharFilter;

    // Applies case and filter to a text (what the editor does to typed text).
    QString Normalized(const QString &text) const;

protected:
    bool EditorValue(QVariant &value, QString &message) const override;
    void LoadEditor(const QVariant &value) override;
    void ApplyReadOnly(bool readOnly) override;
    void FieldBound(TVtField *field) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ApplyMaxLength();

    QLineEdit *m_edit;
    int m_maxLength = 0;
    int m_fieldSize = 0;
    TVtCharCase m_charCase = ecNormal;
    TVtCharFilter m_filter = cfAny;
};

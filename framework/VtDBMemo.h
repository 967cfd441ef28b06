#pragma once
#include "VtDBControl.h"

class QPlainTextEdit;

// Multi-line text of a memo (blob text) or long string field; committed when
// the user leaves it or the frame posts.
class TVtDBMemo : public TVtDBControl
{
    Q_OBJECT
public:
    explicit TVtDBMemo(QWidget *parent = nullptr);

    QPlainTextEdit *TextEdit() const { return m_memo; }
    QString Text() const;
    // Puts text in the editor as if typed.
    void SetText(const QString &text);
    // 0: no limit (a text blob has none).
    int MaxLength = 0;

protected:
    bool EditorValue(QVariant &value, QString &message) const override;
    void LoadEditor(const QVariant &value) override;
    void ApplyReadOnly(bool readOnly) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit *m_memo;
};

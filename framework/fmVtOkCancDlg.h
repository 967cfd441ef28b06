#pragma once
#include <QDialog>
#include <functional>

class QPushButton;
class QVBoxLayout;
class QWidget;

// Base of the plain dialogs: a client area above the buttons "OK" and
// "Annulla". OK closes with mrOk when CanAccept (and OnOkClick) allow it.
class TfmVtOkCancDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TfmVtOkCancDlg(QWidget *parent = nullptr);

    QWidget *paClient;
    QPushButton *buOk;
    QPushButton *buCancel;
    QVBoxLayout *ClientLayout() const { return m_client; }

    // Asked when OK is pressed; clearing allow keeps the dialog open.
    std::function<void(TfmVtOkCancDlg *sender, bool &allow)> OnOkClick;

    // TVtModalResult of the last closing.
    int ModalResult() const;

public slots:
    // What OK does; also callable from code.
    void OkClick();

protected:
    virtual bool CanAccept();

private:
    QVBoxLayout *m_client;
};

#pragma once
#include <QWidget>
#include <functional>

class QLabel;
class QVBoxLayout;

// Base of the child windows built of frames: an info panel at the top
// (hidden while its caption is empty) above the frames, stacked vertically.
// Opened by a form command it lives in the main window's child area.
class TfmVtChildDB : public QWidget
{
    Q_OBJECT
public:
    explicit TfmVtChildDB(QWidget *parent = nullptr);

    QLabel *paInfo;

    void SetInfoCaption(const QString &text);
    QString InfoCaption() const;
    // Adds a frame below the ones already there.
    void AddFrame(QWidget *frame, int stretch = 1);
    QVBoxLayout *ClientLayout() const { return m_client; }

    // Raised on every activation of the window; ActivationCount counts them
    // (1 at the first).
    std::function<void(TfmVtChildDB *sender)> OnActivate;
    int ActivationCount() const { return m_activations; }
    // Asked before the window closes; clearing canClose keeps it open.
    std::function<void(TfmVtChildDB *sender, bool &canClose)> OnCloseQuery;

    // Called by the main window when the child becomes active.
    virtual void FormActivate();
    // Whether the window may close now: an edit in progress is saved or
    // discarded as the user answers "Salvare le modifiche?" (Cancel keeps
    // the window open), then OnCloseQuery has its say.
    virtual bool CloseQuery();

    // Closes the window (its child-area frame too).
    void CloseForm();
    // Asks for the window to close once the current event is over.
    void PostClose();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool SaveOrDiscardEdits();
    QVBoxLayout *m_client;
    int m_activations = 0;
};

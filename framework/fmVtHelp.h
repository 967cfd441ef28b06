#pragma once
#include <QDialog>

class QTextBrowser;

// The guide read inside the program, for a desktop that has no browser to
// open it with: the HTML file at the topic of the window in use.
class TfmVtHelp : public QDialog
{
    Q_OBJECT
public:
    explicit TfmVtHelp(QWidget *parent = nullptr);
    // Shows the file at the anchor ("101"), or at its top when empty.
    void ShowTopic(const QString &path, const QString &anchor);
    QTextBrowser *Browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};

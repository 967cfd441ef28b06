#pragma once
#include <QApplication>

// The program's application object. Its event dispatch is the last-resort
// net: an exception that nothing else caught becomes an Italian message
// instead of ending the program.
class TVtApplication : public QApplication
{
    Q_OBJECT
public:
    TVtApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

#include "VtExecModal.h"

#include <QDialog>

std::function<int(QDialog *)> &VtModalRunner()
{
    static std::function<int(QDialog *)> runner;
    return runner;
}

int VtExecModal(QDialog *dialog)
{
    if (const auto &runner = VtModalRunner())
        return runner(dialog);
    return dialog->exec();
}

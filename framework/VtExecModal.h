#pragma once
#include <functional>

class QDialog;

// Runs a dialog modally: exec() in the program. Tests replace the runner
// with one that fills the dialog in and accepts or rejects it; the result is
// the dialog's (QDialog::Accepted or Rejected).
int VtExecModal(QDialog *dialog);
std::function<int(QDialog *dialog)> &VtModalRunner();

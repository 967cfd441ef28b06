#include "VtInteractiveMessageService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace {
QString CaptionFor(TVtMsgDlgType type)
{
    switch (type) {
    case mtError: return QStringLiteral("Errore");
    case mtWarning: return QStringLiteral("Attenzione");
    case mtInformation: return QStringLiteral("Informazione");
    case mtConfirmation: return QStringLiteral("Conferma");
    }
    return QString();
}
}

int TVtInteractiveMessageService::MessageDlg(const QString &text, TVtMsgDlgType type, TVtMsgDlgButtons buttons,
                                             const QString &title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? CaptionFor(type) : title);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    switch (type) {
    case mtError: box.setIcon(QMessageBox::Critical); break;
    case mtWarning: box.setIcon(QMessageBox::Warning); break;
    case mtInformation: box.setIcon(QMessageBox::Information); break;
    case mtConfirmation: box.setIcon(QMessageBox::Question); break;
    }
    QMessageBox::StandardButtons std;
    if (buttons & mbOK) std |= QMessageBox::Ok;
    if (buttons & mbYes) std |= QMessageBox::Yes;
    if (buttons & mbNo) std |= QMessageBox::No;
    if (buttons & mbCancel) std |= QMessageBox::Cancel;
    if (!std) std = QMessageBox::Ok;
    box.setStandardButtons(std);
    if (auto *b = box.button(QMessageBox::Yes)) b->setText(QStringLiteral("&Sì"));
    if (auto *b = box.button(QMessageBox::No)) b->setText(QStringLiteral("&No"));
    if (auto *b = box.button(QMessageBox::Cancel)) b->setText(QStringLiteral("&Annulla"));
    if ((buttons & mbDefNo) && box.button(QMessageBox::No))
        box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Ok: return mrOk;
    case QMessageBox::Yes: return mrYes;
    case QMessageBox::No: return mrNo;
    case QMessageBox::Cancel: return mrCancel;
    default: return mrNone;
    }
}

bool TVtInteractiveMessageService::OpenDocument(const QString &path)
{
    // "file#topic": the file opened at one of its anchors.
    const int hash = path.lastIndexOf(QLatin1Char('#'));
    if (hash > 0 && !QFileInfo::exists(path) && QFileInfo::exists(path.left(hash))) {
        QUrl url = QUrl::fromLocalFile(path.left(hash));
        url.setFragment(path.mid(hash + 1));
        return QDesktopServices::openUrl(url);
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString TVtInteractiveMessageService::SaveFileName(const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, dir, filter);
}

QString TVtInteractiveMessageService::OpenFileName(const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, dir, filter);
}

QString TVtInteractiveMessageService::ExistingDirectory(const QString &caption, const QString &dir)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), caption, dir);
}

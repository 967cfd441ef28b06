#include "ScriptedMessageService.h"
#include "VtInteractiveMessageService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

// The desktop's message box: the title asked for, else the kind of message;
// Italian buttons; the answer clicked. The scripted service keeps the title.
class TstMessageBox : public QObject
{
    Q_OBJECT
private slots:
    void titleAndButtons_data();
    void titleAndButtons();
    void scriptedServiceKeepsTheTitle();
};

void TstMessageBox::titleAndButtons_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("shown");
    QTest::newRow("own title") << QStringLiteral("Attenzione !") << int(mtWarning) << QStringLiteral("Attenzione !");
    QTest::newRow("window caption") << QStringLiteral("Voci e Progetti") << int(mtConfirmation)
                                    << QStringLiteral("Voci e Progetti");
    QTest::newRow("no title: the kind") << QString() << int(mtConfirmation) << QStringLiteral("Conferma");
}

void TstMessageBox::titleAndButtons()
{
    QFETCH(QString, title);
    QFETCH(int, type);
    QFETCH(QString, shown);
    QString windowTitle, text;
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        windowTitle = box->windowTitle();
        text = box->text();
        for (QAbstractButton *b : box->buttons())
            buttons << b->text();
        box->button(QMessageBox::No)->click();
    });
    TVtInteractiveMessageService service;
    const int answer = service.MessageDlg(QStringLiteral("Salvare le modifiche prima di chiudere?\r\nSì o no"),
                                          TVtMsgDlgType(type), mbYes | mbNo | mbCancel, title);
    QCOMPARE(answer, int(mrNo));
    QCOMPARE(windowTitle, shown);
    QCOMPARE(text, QStringLiteral("Salvare le modifiche prima di chiudere?\nSì o no"));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("&Annulla"), QStringLiteral("&No"), QStringLiteral("&Sì")}));
}

void TstMessageBox::scriptedServiceKeepsTheTitle()
{
    TScopedMessageService messages;
    messages->Answers << mrYes;
    QCOMPARE(VtMessageDlg(QStringLiteral("Continuare?"), mtWarning, mbYes | mbNo, QStringLiteral("Attenzione !")), int(mrYes));
    VtMessageDlg(QStringLiteral("Fatto."), mtInformation, mbOK);
    QCOMPARE(messages->Messages[0].Title, QStringLiteral("Attenzione !"));
    QCOMPARE(messages->Messages[1].Title, QString());
}

QTEST_MAIN(TstMessageBox)
#include "tst_messagebox.moc"

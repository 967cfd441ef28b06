// Saving a message: the file on disk, the cleaning of empty namespace
// declarations, and what is left when a step fails.
#include "ebdUXmlSDD.h"
#include "VtXmlFile.h"
#include "sddtestsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace sddtest;

namespace {

bool hasEmptyNamespaceDeclaration(const QByteArray &bytes)
{
    return bytes.toLower().contains("xmlns=\"\"");
}

// Files in the folder other than the ones named.
QStringList strayFiles(const QString &folder, const QStringList &expected)
{
    QStringList stray = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &name : expected)
        stray.removeAll(name);
    return stray;
}

#ifdef Q_OS_UNIX
// Saves as an ordinary user: a root process may write into any folder, so
// the save runs in a child process that has given up root.
bool saveWithoutPrivileges(const TXMLCBISDDReqLogMsg000100 &msg, const QString &fileName, QString *errorText)
{
    if (geteuid() != 0)
        return SaveCBISDDReqLogMsg(msg, fileName, errorText);

    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        QString error;
        bool ok = false;
        if (setgid(65534) == 0 && setuid(65534) == 0)
            ok = SaveCBISDDReqLogMsg(msg, fileName, &error);
        else
            error = QStringLiteral("cannot drop privileges");
        const QByteArray reply = (ok ? "1" : "0") + error.toUtf8();
        const ssize_t written = write(fds[1], reply.constData(), size_t(reply.size()));
        _exit(written == reply.size() ? 0 : 1);
    }
    close(fds[1]);
    QByteArray reply;
    char buffer[512];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        reply.append(buffer, int(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (reply.isEmpty())
        return false;
    if (errorText)
        *errorText = QString::fromUtf8(reply.mid(1));
    return reply.at(0) == '1';
}
#endif

} // namespace

class TestSddSave : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void savedFileHasNoEmptyNamespaceDeclaration();
    void cleaningRemovesEveryCaseAndKeepsOtherBytes();
    void italianTextSurvivesByteForByte();
    void saveReplacesExistingFileAndStaleCopy();
    void unwritableFolderReportsErrorAndKeepsExistingFile();
    void undeletableStaleCopyReportsErrorAndKeepsExistingFile();
    void rewriteFailingMidwayRestoresTheFile();
    void exportFilledFileValidates();

private:
    QString path(const QString &name) const { return QDir(m_dir->path()).filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSddSave::init()
{
    const QString base = qEnvironmentVariable("VARDELLA_TEST_TMP");
    if (!base.isEmpty()) {
        QDir().mkpath(base);
        m_dir = std::make_unique<QTemporaryDir>(QDir(base).filePath(QStringLiteral("save-XXXXXX")));
    } else {
        m_dir = std::make_unique<QTemporaryDir>();
    }
    QVERIFY(m_dir->isValid());
}

void TestSddSave::savedFileHasNoEmptyNamespaceDeclaration()
{
    auto msg = NewCBISDDReqLogMsg();
    fillAsExport(msg.get(), exportSample());
    // Elements put in no namespace below the message's default namespace:
    // the library writes xmlns="" on them, the cleaning must take it away.
    msg->GrpHdr()->SetNamespaceURI(QStringLiteral(""));
    msg->PmtInf()->Items(1)->DrctDbtTxInf()->Items(0)->RmtInf()->SetNamespaceURI(QStringLiteral(""));
    QVERIFY(hasEmptyNamespaceDeclaration(msg->OwnerDocument()->XML()));

    const QString file = path(QStringLiteral("sdd.xml"));
    QString error;
    QVERIFY2(SaveCBISDDReqLogMsg(*msg, file, &error), qPrintable(error));
    QVERIFY(error.isEmpty());

    const QByteArray bytes = readFile(file);
    QVERIFY(!bytes.isEmpty());
    QVERIFY2(!hasEmptyNamespaceDeclaration(bytes), bytes.constData());
    QCOMPARE(elementsOutsideNamespace(documentElement(bytes)), QStringList());
    QCOMPARE(validationErrors(bytes, cbiSchemaPath()), QString());
    QCOMPARE(strayFiles(m_dir->path(), {QStringLiteral("sdd.xml")}), QStringList());
}

void TestSddSave::cleaningRemovesEveryCaseAndKeepsOtherBytes()
{
    const QByteArray before = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                              "<A xmlns=\"urn:x\">\r\n"
                              "  <B xmlns=\"\">caff\xc3\xa8</B><C XMLNS=\"\"/><D XmlNs=\"\" k=\"1\"/>\r\n"
                              "  <E a=\"xmlns=&quot;&quot;\" xmlns=\"urn:y\">d\xe2\x80\x99\x61ltro</E>\n"
                              "\n"
                              "  <F  xmlns=\"\"/></A>";
    const QByteArray after = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                             "<A xmlns=\"urn:x\">\r\n"
                             "  <B>caff\xc3\xa8</B><C/><D k=\"1\"/>\r\n"
                             "  <E a=\"xmlns=&quot;&quot;\" xmlns=\"urn:y\">d\xe2\x80\x99\x61ltro</E>\n"
                             "\n"
                             "  <F /></A>"; // the last line has no line end and gets none
    QCOMPARE(RemoveEmptyNamespaceDeclarations("<F  xmlns=\"\"/>"), QByteArray("<F />"));

    const QString file = path(QStringLiteral("in.xml"));
    QVERIFY(writeFile(file, before));
    QVERIFY(writeFile(file + QStringLiteral(".old"), "stale"));
    QString error;
    QVERIFY2(CleanCBISDDReqLogMsgFile(file, &error), qPrintable(error));
    QCOMPARE(readFile(file), after);
    QCOMPARE(strayFiles(m_dir->path(), {QStringLiteral("in.xml")}), QStringList());
}

void TestSddSave::italianTextSurvivesByteForByte()
{
    const QString holder = QStringLiteral("Niccolò D’Angelo Perché");
    const QString reason = QStringLiteral("Attività: più gite, caffè e così via – già pagato?");
    auto msg = NewCBISDDReqLogMsg();
    TXMLDirectDebitTransactionInformation1 *tx = msg->PmtInf()->Add()->DrctDbtTxInf()->Add();
    tx->Dbtr()->SetNm(holder);
    tx->RmtInf()->Ustrd()->Add(reason);

    const QString file = path(QStringLiteral("italiano.xml"));
    QString error;
    QVERIFY2(SaveCBISDDReqLogMsg(*msg, file, &error), qPrintable(error));
    const QByteArray bytes = readFile(file);
    QVERIFY(bytes.contains("<Nm>" + holder.toUtf8() + "</Nm>"));
    QVERIFY(bytes.contains("<Ustrd>" + reason.toUtf8() + "</Ustrd>"));
    QVERIFY(bytes.contains("Niccol\xc3\xb2 D\xe2\x80\x99" "Angelo"));
    QCOMPARE(bytes, msg->OwnerDocument()->XML());
    const QDomElement root = documentElement(bytes);
    QCOMPARE(at(root, QStringLiteral("PmtInf/DrctDbtTxInf/Dbtr/Nm")).text(), holder);
    QCOMPARE(at(root, QStringLiteral("PmtInf/DrctDbtTxInf/RmtInf/Ustrd")).text(), reason);
}

void TestSddSave::saveReplacesExistingFileAndStaleCopy()
{
    const QString file = path(QStringLiteral("sdd.xml"));
    QVERIFY(writeFile(file, QByteArray(100000, 'x')));
    QVERIFY(writeFile(file + QStringLiteral(".old"), "previous run"));

    auto msg = NewCBISDDReqLogMsg();
    msg->GrpHdr()->SetNbOfTxs(QStringLiteral("0"));
    QString error;
    QVERIFY2(SaveCBISDDReqLogMsg(*msg, file, &error), qPrintable(error));
    QCOMPARE(readFile(file), msg->OwnerDocument()->XML());
    QCOMPARE(strayFiles(m_dir->path(), {QStringLiteral("sdd.xml")}), QStringList());
}

void TestSddSave::unwritableFolderReportsErrorAndKeepsExistingFile()
{
#ifndef Q_OS_UNIX
    QSKIP("needs POSIX permissions");
#else
    QTemporaryDir tmp; // under the system's temporary folder, reachable by any user
    QVERIFY(tmp.isValid());
    const QString folder = QDir(tmp.path()).filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkdir(folder));
    const QString file = QDir(folder).filePath(QStringLiteral("sdd.xml"));
    const QByteArray previous = "<previous export/>\n";
    QVERIFY(writeFile(file, previous));
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                          | QFile::ExeOther);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);

    auto msg = NewCBISDDReqLogMsg();
    fillAsExport(msg.get(), exportSample());
    QString error;
    const bool saved = saveWithoutPrivileges(*msg, file, &error);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(!saved);
    QVERIFY2(error.contains(QDir::toNativeSeparators(file)), qPrintable(error));
    QCOMPARE(readFile(file), previous);
    QCOMPARE(strayFiles(folder, {QStringLiteral("sdd.xml")}), QStringList());
#endif
}

void TestSddSave::undeletableStaleCopyReportsErrorAndKeepsExistingFile()
{
    const QString file = path(QStringLiteral("sdd.xml"));
    const QByteArray previous = "<previous export/>\n";
    QVERIFY(writeFile(file, previous));
    // A folder in the way of the side copy cannot be deleted as a file.
    QVERIFY(QDir().mkpath(QDir(file + QStringLiteral(".old")).filePath(QStringLiteral("inside"))));

    auto msg = NewCBISDDReqLogMsg();
    msg->GrpHdr()->SetMsgId(QStringLiteral("SDD1"));
    QString error;
    QVERIFY(!SaveCBISDDReqLogMsg(*msg, file, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(file + QStringLiteral(".old"))), qPrintable(error));
    QCOMPARE(readFile(file), previous);
}

void TestSddSave::rewriteFailingMidwayRestoresTheFile()
{
    auto msg = NewCBISDDReqLogMsg();
    fillAsExport(msg.get(), exportSample());
    const QString file = path(QStringLiteral("sdd.xml"));
    QString error;
    QVERIFY2(SaveCBISDDReqLogMsg(*msg, file, &error), qPrintable(error));
    const QByteArray saved = readFile(file);

    int lines = 0;
    const bool ok = VtRewriteFileLines(
        file,
        [&lines](QByteArray &line, QString *why) {
            line = "garbage\n";
            if (++lines < 20)
                return true;
            *why = QStringLiteral("disco pieno");
            return false;
        },
        &error);
    QVERIFY(!ok);
    QCOMPARE(lines, 20);
    QCOMPARE(error, QStringLiteral("disco pieno"));
    QCOMPARE(readFile(file), saved);
    QCOMPARE(strayFiles(m_dir->path(), {QStringLiteral("sdd.xml")}), QStringList());
}

void TestSddSave::exportFilledFileValidates()
{
    auto msg = NewCBISDDReqLogMsg();
    fillAsExport(msg.get(), exportSample());
    const QString file = path(QStringLiteral("Export SDD.xml"));
    QString error;
    QVERIFY2(SaveCBISDDReqLogMsg(*msg, file, &error), qPrintable(error));
    const QByteArray bytes = readFile(file);
    qInfo("validating against %s", qPrintable(cbiSchemaPath()));
    QCOMPARE(validationErrors(bytes, cbiSchemaPath()), QString());
    QCOMPARE(childrenNamed(documentElement(bytes), QStringLiteral("PmtInf")).size(), 2);
}

QTEST_GUILESS_MAIN(TestSddSave)
#include "tst_sdd_save.moc"

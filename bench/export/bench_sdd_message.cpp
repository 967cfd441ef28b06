// Builds and saves an SDD request message of 10,000 transactions in 20
// payment blocks, filled as the bank export fills it, and prints the time
// of each phase, the size of the file and the peak memory of the process
// (VmHWM); then validates the saved file against the built-in schema.
#include "BenchFigure.h"
#include "ebdUSddText.h"
#include "ebdUSddValidate.h"
#include "ebdUXmlSDD.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

constexpr int kBlocks = 20;
constexpr int kTransactionsPerBlock = 500;

void build(TXMLCBISDDReqLogMsg000100 *msg)
{
    const QString seat = QStringLiteral("Istituto Comprensivo Statale \"Giosuè Carducci\"");
    TXMLCBIGroupHeader2 *hdr = msg->GrpHdr();
    hdr->SetMsgId(QStringLiteral("SDD20240220090507"));
    hdr->SetCreDtTm(QStringLiteral("2024-02-20T09:05:07"));
    hdr->SetNbOfTxs(QString::number(kBlocks * kTransactionsPerBlock));
    hdr->SetCtrlSum(QStringLiteral("0"));
    hdr->InitgPty()->SetNm(seat);
    TXMLCBIGenericIdentification1 *othr = hdr->InitgPty()->Id()->OrgId()->Add();
    othr->SetId(QStringLiteral("0123456A"));
    othr->SetIssr(QStringLiteral("CBI"));

    int transaction = 0;
    qint64 total = 0;
    for (int b = 1; b <= kBlocks; ++b) {
        TXMLPaymentInstructionInformation2 *pmt = msg->PmtInf()->Add();
        pmt->SetPmtInfId(QString::number(b));
        pmt->SetPmtMtd(QStringLiteral("DD"));
        pmt->SetBtchBookg(QStringLiteral("false"));
        pmt->PmtTpInf()->SvcLvl()->SetCd(QStringLiteral("SEPA"));
        pmt->PmtTpInf()->LclInstrm()->SetCd(QStringLiteral("CORE"));
        pmt->PmtTpInf()->SetSeqTp(b % 2 ? QStringLiteral("FRST") : QStringLiteral("RCUR"));
        pmt->SetReqdColltnDt(QStringLiteral("2024-%1-05").arg(b % 12 + 1, 2, 10, QLatin1Char('0')));
        pmt->Cdtr()->SetNm(seat);
        pmt->Cdtr()->PstlAdr()->SetPstCd(QStringLiteral("40019"));
        pmt->Cdtr()->PstlAdr()->SetTwnNm(QStringLiteral("Sant’Agata Bolognese"));
        pmt->Cdtr()->PstlAdr()->SetCtry(QStringLiteral("IT"));
        pmt->Cdtr()->PstlAdr()->AdrLine()->Add(QStringLiteral("Via della Libertà, 1"));
        pmt->Cdtr()->PstlAdr()->AdrLine()->Add(QStringLiteral("40019 - Sant’Agata Bolognese"));
        pmt->Cdtr()->Id()->PrvtId()->Othr()->SetId(QStringLiteral("91234560371"));
        pmt->Cdtr()->Id()->PrvtId()->Othr()->SetIssr(QStringLiteral("ADE"));
        pmt->CdtrAcct()->Id()->SetIBAN(QStringLiteral("IT02L0103003200000000001234"));
        pmt->CdtrAgt()->FinInstnId()->ClrSysMmbId()->SetMmbId(QStringLiteral("01030"));
        pmt->CdtrSchmeId()->SetNm(seat);
        pmt->CdtrSchmeId()->Id()->PrvtId()->Othr()->SetId(QStringLiteral("IT66ZZZ0000091234560371"));

        for (int t = 0; t < kTransactionsPerBlock; ++t) {
            const qint64 cents = 1000 + (transaction * 37) % 20000;
            total += cents;
            TXMLDirectDebitTransactionInformation1 *tx = pmt->DrctDbtTxInf()->Add();
            tx->PmtId()->SetInstrId(QString::number(++transaction));
            tx->PmtId()->SetEndToEndId(QString::number(transaction));
            tx->SetInstdAmtCcy(QStringLiteral("EUR"));
            tx->SetInstdAmt(SddAmountText(cents));
            tx->DrctDbtTx()->MndtRltdInf()->SetMndtId(QString::number(transaction).rightJustified(16, QLatin1Char('0')));
            tx->DrctDbtTx()->MndtRltdInf()->SetDtOfSgntr(QStringLiteral("2012-02-01"));
            tx->Dbtr()->SetNm(QStringLiteral("Genitore Numero %1").arg(transaction));
            tx->Dbtr()->PstlAdr()->SetPstCd(QStringLiteral("40125"));
            tx->Dbtr()->PstlAdr()->SetTwnNm(QStringLiteral("Bologna"));
            tx->Dbtr()->PstlAdr()->SetCtry(QStringLiteral("IT"));
            tx->Dbtr()->PstlAdr()->AdrLine()->Add(QStringLiteral("Via Indipendenza, %1").arg(transaction % 200 + 1));
            tx->Dbtr()->PstlAdr()->AdrLine()->Add(QStringLiteral("40125 - Bologna"));
            tx->DbtrAcct()->Id()->SetIBAN(QStringLiteral("IT60X0542811101%1").arg(transaction, 12, 10, QLatin1Char('0')));
            tx->RmtInf()->Ustrd()->Add(QStringLiteral("Mensa scolastica - rata di marzo"));
        }
    }
    hdr->SetCtrlSum(SddAmountText(total));
}

// CPU time of the process so far, in ms: steadier than the wall clock when
// the machine is busy with something else.
long long cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// A "Vm..." line of /proc/self/status, in kB (-1 where there is none).
long long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString file = QDir(dir.path()).filePath(QStringLiteral("sdd.xml"));

    const long long startRssKb = statusKb("VmRSS");
    QElapsedTimer timer;
    const long long cpuStart = cpuMs();
    timer.start();
    auto msg = NewCBISDDReqLogMsg();
    build(msg.get());
    const qint64 buildMs = timer.restart();
    const long long buildCpuMs = cpuMs() - cpuStart;
    const long long builtRssKb = statusKb("VmRSS");
    const long long saveCpuStart = cpuMs();
    timer.restart();
    QString error;
    if (!SaveCBISDDReqLogMsg(*msg, file, &error)) {
        std::fprintf(stderr, "save failed: %s\n", qPrintable(error));
        return 1;
    }
    const qint64 saveMs = timer.restart();
    const long long saveCpuMs = cpuMs() - saveCpuStart;
    msg.reset();
    const qint64 freeMs = timer.restart();
    const long long peakKb = statusKb("VmHWM");
    timer.restart();

    const QStringList problems = ValidateCBISDDReqLogMsgFile(file);
    const qint64 validateMs = timer.elapsed();

    std::printf("SDD message, %d transactions in %d payment blocks\n", kBlocks * kTransactionsPerBlock, kBlocks);
    std::printf("  build:            %lld ms\n", static_cast<long long>(buildMs));
    std::printf("  save and clean:   %lld ms\n", static_cast<long long>(saveMs));
    std::printf("  free:             %lld ms\n", static_cast<long long>(freeMs));
    std::printf("  total:            %lld ms\n", static_cast<long long>(buildMs + saveMs + freeMs));
    std::printf("  build plus save:  %lld ms (CPU: build %lld ms, save %lld ms)\n",
                static_cast<long long>(buildMs + saveMs), buildCpuMs, saveCpuMs);
    BenchFigure("SDD model: build and save", double(buildMs + saveMs), "ms", "<", 150);
    std::printf("  file size:        %lld bytes\n", static_cast<long long>(QFileInfo(file).size()));
    std::printf("  VmRSS at start:   %lld kB\n", startRssKb);
    std::printf("  VmRSS after build: %lld kB\n", builtRssKb);
    std::printf("  VmHWM:            %lld kB\n", peakKb);
    BenchFigure("SDD model: peak memory", peakKb / 1024.0, "MB", "<", 60);
    std::printf("  validate file:    %lld ms, %s\n", static_cast<long long>(validateMs),
                problems.isEmpty() ? "valid" : qPrintable(problems.first()));
    std::printf("  VmHWM after validation: %lld kB\n", statusKb("VmHWM"));
    return 0;
}

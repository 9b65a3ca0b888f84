// Submitting a large EPH end to end: a generated v03 sheet of about 10 MB
// (some 10,000 consignments), signed by the stand-in signer in this process
// and sent to orv-portal-sim running as its own process, so only the client's
// and the signer's memory is counted. Reports the time of each stage and its
// peak resident memory above the level before the submission, as a multiple
// of the document's size.
//
//     bench_submit [megabytes]     (default 10)

#include "UBusyCursor.h"
#include "UDMORV.h"
#include "UOrvError.h"
#include "URegistry.h"
#include "URegistryFile.h"
#include "USignerHost.h"
#include "UTestPki.h"
#include "UTextFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

const QString PolicyId = QStringLiteral("urn:oid:1.3.158.48207315.0.0.1.10.4.0.11.1");
const QString KeyPassword = QStringLiteral("bench");

// Resident memory in bytes: now, and the high-water mark since the last reset.
long long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::stoll(line.substr(prefix.size()));
    return -1;
}
long long RssBytes() {
    return StatusKb("VmRSS") * 1024;
}
long long PeakBytes() {
    return StatusKb("VmHWM") * 1024;
}
// Linux lets a process reset its own high-water mark.
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct TStage {
    const char* Name;
    qint64 Ms = 0;
    long long Peak = 0;
};

// Closes a stage at each point the submission passes: the password prompt
// (the data object is made and rendered), the wait cursor's start (signed and
// packaged) and its end (sent and answered).
class TStageClock final : public ISignerPasswordPrompt, public IBusyIndicator {
public:
    void Start() {
        Baseline = RssBytes();
        ResetPeak();
        Timer.start();
    }
    void Close(TStage& stage) {
        stage.Ms = Timer.restart();
        stage.Peak = PeakBytes() - Baseline;
        ResetPeak();
    }
    std::optional<QString> AskPassword(const TSignerPrompt&) override {
        Close(Stages[0]);
        return KeyPassword;
    }
    void Begin() override { Close(Stages[1]); }
    void End() override { Close(Stages[2]); }

    TStage Stages[3] = {{"read, data object, rendering"}, {"sign, package"}, {"encode, send"}};
    long long Baseline = 0;

private:
    QElapsedTimer Timer;
};

QByteArray Between(const QByteArray& text, const QByteArray& open, const QByteArray& close) {
    const qsizetype start = text.indexOf(open);
    const qsizetype end = text.indexOf(close, start);
    return text.mid(start, end + close.size() - start);
}

// The v03 sample with its first consignment repeated until the sheet has
// about `bytes` bytes.
QByteArray GenerateEph(qsizetype bytes, int& count) {
    QFile file(QStringLiteral(ORV_EXAMPLES_DIR "/eph-v03.xml"));
    if (!file.open(QIODevice::ReadOnly))
        throw TOrvError(QStringLiteral("missing sample eph-v03.xml"));
    const QByteArray sample = file.readAll();
    const QByteArray zasielky = Between(sample, "<Zasielky>", "</Zasielky>");
    const QByteArray zasielka = Between(zasielky, "<Zasielka>", "</Zasielka>");
    QByteArray eph = sample.left(sample.indexOf("<Zasielky>")) + "<Zasielky>\r\n";
    const QByteArray tail = "\r\n  </Zasielky>\r\n</EPH>\r\n";
    eph.reserve(bytes + zasielka.size() + tail.size());
    count = 0;
    while (eph.size() + tail.size() < bytes) {
        eph += "    " + zasielka + "\r\n";
        ++count;
    }
    return eph + tail;
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw TOrvError(QStringLiteral("cannot write %1").arg(path));
}

int Run(double megabytes) {
    QTemporaryDir dir;
    const TTestPki pki;
    const QString keyFile = dir.filePath(QStringLiteral("signer.p12"));
    Write(keyFile, pki.Pkcs12(KeyPassword, false));
    TFileRegistry files(
        QFile::encodeName(dir.filePath(QStringLiteral("user.reg"))).toStdString(),
        QFile::encodeName(dir.filePath(QStringLiteral("machine.reg"))).toStdString());
    const TRegistryOverride registry(files);
    Write(dir.filePath(QStringLiteral("machine.reg")),
          "Windows Registry Editor Version 5.00\r\n\r\n"
          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nomir\\DSigXades\\SignaturePolicies]\r\n\r\n"
          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nomir\\DSigXades\\SignaturePolicies\\" +
              PolicyId.toUtf8() +
              "]\r\n\"DigestAlgUri\"=\"http://www.w3.org/2001/04/xmlenc#sha256\"\r\n"
              "\"PolicyDigest\"=\"Qm9ndXMgcG9saWN5IGRpZ2VzdCBmb3IgdGVzdHMgb25seSE=\"\r\n");
    Write(dir.filePath(QStringLiteral("user.reg")),
          "Windows Registry Editor Version 5.00\r\n\r\n"
          "[HKEY_CURRENT_USER\\SOFTWARE\\Nomir\\DSigXades]\r\n\"Pkcs12File\"=\"" +
              keyFile.toUtf8() + "\"\r\n");

    // The simulator as its own process, with its demo account.
    const QString db = dir.filePath(QStringLiteral("portal.db"));
    if (QProcess::execute(
            QStringLiteral(ORV_SIM_EXE),
            {QStringLiteral("seed"), QStringLiteral("--db"), db, QStringLiteral("--demo")}) != 0)
        throw TOrvError(QStringLiteral("the simulator could not seed its database"));
    QProcess sim;
    // Stopped on every way out, the failing ones included.
    const std::unique_ptr<QProcess, void (*)(QProcess*)> stopSim(&sim, [](QProcess* process) {
        process->terminate();
        process->waitForFinished(10000);
    });
    sim.start(QStringLiteral(ORV_SIM_EXE), {QStringLiteral("serve"), QStringLiteral("--db"), db,
                                            QStringLiteral("--port"), QStringLiteral("0")});
    if (!sim.waitForReadyRead(30000))
        throw TOrvError(QStringLiteral("the simulator did not start"));
    const QString url = QString::fromUtf8(sim.readLine()).trimmed();

    int count = 0;
    const QByteArray eph = GenerateEph(qsizetype(megabytes * 1024 * 1024), count);
    const QString path = dir.filePath(QStringLiteral("eph-large.xml"));
    Write(path, eph);
    const double size = double(eph.size());
    std::printf("EPH v03: %d consignments, %.1f MB\n", count, size / 1048576.0);

    auto clock = std::make_shared<TStageClock>();
    const TSignerHost signer(clock);
    SetBusyIndicator(clock.get());
    {
        TDMORV core(nullptr, url);
        core.Subjekt = QStringLiteral("10012345");
        core.Osoba = QStringLiteral("demo");
        core.Heslo = TDMORV::HashHeslo(QStringLiteral("Demo-Heslo-2024"));
        core.SignatureAlgorithm = QStringLiteral("sha256");
        core.SignaturePolicy = PolicyId;
        clock->Start();
        core.PodajEPHv03(QStringLiteral("BENCH-1"), path);
    }
    SetBusyIndicator(nullptr);

    long long peak = 0;
    qint64 total = 0;
    std::printf("%-32s %9s %12s %8s\n", "stage", "ms", "peak MB", "x size");
    for (const TStage& stage : clock->Stages) {
        std::printf("%-32s %9lld %12.1f %8.2f\n", stage.Name, static_cast<long long>(stage.Ms),
                    double(stage.Peak) / 1048576.0, double(stage.Peak) / size);
        peak = std::max(peak, stage.Peak);
        total += stage.Ms;
    }
    std::printf("%-32s %9lld %12.1f %8.2f   (aim: under 16)\n", "whole submission",
                static_cast<long long>(total), double(peak) / 1048576.0, double(peak) / size);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 10.0;
    try {
        return Run(megabytes > 0 ? megabytes : 10.0);
    } catch (const TOrvError& error) {
        std::fprintf(stderr, "%s\n", error.message().toUtf8().constData());
        return 1;
    }
}

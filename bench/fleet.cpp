// bench_fleet: writing several radios at once against writing one. The radios are
// simulators paced at 10 bits per byte. First `baldo7ctl write` with one --port and
// with four, as a dealer runs it; then the window's run (Write to Several Radios)
// with eight radios, each giving its serial number, written and verified, against
// one radio doing the same. The ratio of the times (median of the runs, taken
// alternately) is held to the target: the exchanges share one event loop and must
// not wait for each other.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "bench/ctl_bench.h"
#include "dealer/several_radios_run.h"
#include "sim/memory_file.h"
#include "sim/pty_simulator.h"

using namespace baldo7;
using namespace baldo7::bench;

namespace {
constexpr char kName[] = "bench_fleet";
constexpr double kTarget = 1.10;
constexpr int kRadios = 4;
constexpr int kWindowRadios = 8;

// One run of the window's write to `ports`: seconds, or negative when a radio did
// not end written and verified (said on stderr).
double timeWindowRun(const Document& doc, const QStringList& ports, const QString& jobs) {
    SeveralRadiosContext context;
    context.jobLogFolder = jobs;
    context.dataFile = "radio.rdat";
    SeveralRadiosRun run(context);
    QEventLoop loop;
    QObject::connect(&run, &SeveralRadiosRun::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    QElapsedTimer t;
    t.start();
    if (!run.start(doc, ports, {true, false, true})) return -1;
    loop.exec();
    const double seconds = double(t.nsecsElapsed()) * 1e-9;
    for (const RadioRow& row : run.rows())
        if (row.outcome != JobOutcome::Written || row.entry.serialNumber.isEmpty()) {
            std::fprintf(stderr, "%s: %s: %s\n", kName, qPrintable(row.port), qPrintable(row.said));
            return -1;
        }
    return seconds;
}

// A simulator paced at 10 bits per byte holding `memory`; null when it cannot start
// (said on stderr).
std::unique_ptr<sim::PtySimulator> startPacedRadio(const sim::Memory& memory) {
    auto radio = std::make_unique<sim::PtySimulator>();
    radio->setMemory(memory);
    radio->setPaced(true);
    std::string error;
    if (radio->start(&error)) return radio;
    std::fprintf(stderr, "%s: %s\n", kName, error.c_str());
    return nullptr;
}

// One radio against `count`, timed alternately `runs` times each: the medians and
// their ratio printed under `title`. The ratio, or negative when a run failed.
double compareRuns(const char* title, int runs, int count, const std::function<double()>& one,
                   const std::function<double()>& many) {
    std::vector<double> single, several;
    for (int i = 0; i < runs; ++i) {
        const double s = one(), f = many();
        if (s < 0 || f < 0) return -1;
        single.push_back(s);
        several.push_back(f);
    }
    const double oneS = median(single), manyS = median(several), ratio = manyS / oneS;
    std::printf("%s: %s, %d run%s\n", kName, title, runs, runs == 1 ? "" : "s");
    std::printf("  one radio     %.3f s\n", oneS);
    std::printf("  %d radios      %.3f s  ratio %.3f  %s\n", count, manyS, ratio,
                ratio <= kTarget ? "within 1.10" : "OVER 1.10");
    return ratio;
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const QString bin = QCoreApplication::applicationDirPath();
    const QString ctl = bin + "/baldo7ctl";
    sim::Memory memory;
    memory.fill(0xFF);
    std::string error;
    if (!sim::loadMemoryFile((bin + "/Init.dat").toStdString(), memory, &error)) {
        std::fprintf(stderr, "%s: Init.dat: %s\n", kName, error.c_str());
        return 2;
    }
    std::array<std::unique_ptr<sim::PtySimulator>, kRadios> sims;
    for (auto& sim : sims)
        if (!(sim = startPacedRadio(memory))) return 2;
    QTemporaryDir dir;
    const QString file = dir.filePath("radio.rdat");
    if (!makeDocument(ctl, file)) {
        std::fprintf(stderr, "%s: cannot make the data file\n", kName);
        return 2;
    }
    const QStringList one{"write", "--port", QString::fromStdString(sims[0]->devicePath()),
                          file,    "--yes",  "--quiet"};
    QStringList four{"write"};
    for (const auto& sim : sims) four << "--port" << QString::fromStdString(sim->devicePath());
    four << file << "--yes"
         << "--quiet";

    const double ratio = compareRuns(
        "baldo7ctl write to simulators paced at 9600 baud", runs, kRadios,
        [&] { return timeRun(kName, ctl, one); }, [&] { return timeRun(kName, ctl, four); });
    for (auto& sim : sims) sim->stop();
    if (ratio < 0) return 1;

    // The window's run: radios holding the file's model, each with a serial number.
    Document doc;
    if (!LoadDataFile(doc, file).ok()) return 2;
    std::copy(doc.radioImage.begin(), doc.radioImage.end(), memory.begin());
    std::vector<std::unique_ptr<sim::PtySimulator>> radios;
    QStringList eight;
    for (int i = 0; i < kWindowRadios; ++i) {
        const std::string serial = "SN-" + std::to_string(1000 + i);
        std::copy(serial.begin(), serial.end(), memory.begin() + addr::kLocalSerialNumber.first);
        radios.push_back(startPacedRadio(memory));
        if (!radios.back()) return 2;
        eight << QString::fromStdString(radios.back()->devicePath());
    }
    const double wRatio = compareRuns(
        "Write to Several Radios, serial number and verify", runs, kWindowRadios,
        [&] { return timeWindowRun(doc, eight.mid(0, 1), dir.filePath("jobs")); },
        [&] { return timeWindowRun(doc, eight, dir.filePath("jobs")); });
    for (auto& radio : radios) radio->stop();
    if (wRatio < 0) return 1;
    return ratio <= kTarget && wRatio <= kTarget ? 0 : 1;
}

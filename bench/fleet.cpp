// bench_fleet: writing four radios at once against writing one. The radios are
// simulators paced at 10 bits per byte; the program is `baldo7ctl write` with one
// --port and with four, as a dealer runs it. The ratio of the two command times
// (median of the runs, taken alternately) is held to the target: the exchanges
// share one event loop and must not wait for each other.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/ctl_bench.h"
#include "sim/memory_file.h"
#include "sim/pty_simulator.h"

using namespace baldo7;
using namespace baldo7::bench;

namespace {
constexpr char kName[] = "bench_fleet";
constexpr double kTarget = 1.10;
constexpr int kRadios = 4;
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
    for (auto& sim : sims) {
        sim = std::make_unique<sim::PtySimulator>();
        sim->setMemory(memory);
        sim->setPaced(true);
        if (!sim->start(&error)) {
            std::fprintf(stderr, "%s: %s\n", kName, error.c_str());
            return 2;
        }
    }
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

    std::vector<double> single, fleet;
    for (int i = 0; i < runs; ++i) {
        const double s = timeRun(kName, ctl, one), f = timeRun(kName, ctl, four);
        if (s < 0 || f < 0) return 1;
        single.push_back(s);
        fleet.push_back(f);
    }
    for (auto& sim : sims) sim->stop();
    const double oneS = median(single), fourS = median(fleet), ratio = fourS / oneS;
    std::printf("%s: baldo7ctl write to simulators paced at 9600 baud, %d run%s\n", kName, runs,
                runs == 1 ? "" : "s");
    std::printf("  one radio     %.3f s\n", oneS);
    std::printf("  %d radios      %.3f s  ratio %.3f  %s\n", kRadios, fourS, ratio,
                ratio <= kTarget ? "within 1.10" : "OVER 1.10");
    return ratio <= kTarget ? 0 : 1;
}

// bench_transfer: how close a plain read and a plain write come to what the
// 9600-baud line allows. The radio is the simulator paced at 10 bits per byte; the
// program is `baldo7ctl read` / `baldo7ctl write`, as a user runs it.
//
// The line minimum is every byte the exchange must carry one after another (both
// directions, the end byte aside: it crosses the line during the pause) times
// 10 bits / 9600, plus the 200 ms end pause. The exchange is timed from the
// program's first byte to the command's exit (the ratio held to the target); the
// part on the line (to the end byte, plus the pause) and the whole command,
// start-up included, are shown beside it.
//
// A verified write (write --verify) is a write and then a read-back of the 48 blocks
// written: its line minimum is both exchanges' bytes plus both end pauses, held to
// its own target, from the write's first byte to the command's exit.
//
// The same read and write then run inside this process against the built-in radio's
// port (the simulator engine paced by timers, no pseudo-terminal), timed from the
// exchange's start to its end.
#include <fcntl.h>
#include <limits.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QEventLoop>
#include <memory>

#include "link/exchange_qt_host.h"
#include "sim/memory_file.h"
#include "sim/pty_simulator.h"
#include "sim/simulated_port.h"
#include "storage/data_store.h"

extern char** environ;

using namespace baldo7::sim;
namespace wire = baldo7::wire;

namespace {

constexpr double kTarget = 1.05;
constexpr double kVerifiedTarget = 1.03;
constexpr double kEndPauseS = 0.2;
constexpr std::size_t kHandshakeBytes = 7 + 1 + 1 + 8 + 1 + 1;
constexpr std::size_t kReadBlockBytes = 4 + 20 + 1 + 1;  // request, block, ACK, ACK
constexpr std::size_t kWriteBlockBytes = 20 + 1;         // block, ACK

double nowS() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

std::string binDir() {
    char path[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string p(path, n > 0 ? static_cast<std::size_t>(n) : 0);
    const auto slash = p.rfind('/');
    return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

// Runs a command; returns its exit status (-1 when it could not run) and its
// start and end times.
int run(const std::vector<std::string>& args, double& started, double& ended) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // Its report line is not ours to print.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    started = nowS();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    ended = nowS();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Measure {
    const char* name;
    int blocks;
    double lineMinS;
    std::vector<double> link;      // first byte to end byte, plus the pause
    std::vector<double> exchange;  // first byte to the command's exit
    std::vector<double> command;   // start to exit
};

// One exchange with the in-process radio; false when it did not end well.
bool runInProcess(baldo7::Document& doc, const baldo7::TransferRequest& request,
                  RadioSimulator& radio, double& seconds) {
    baldo7::QtExchangeHost host(doc, request, std::make_unique<SimulatedPort>(radio),
                                QStringLiteral("simulated-radio"));
    host.setFinishDelay(0);
    QEventLoop loop;
    QObject::connect(&host, &baldo7::QtExchangeHost::exchangeFinished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    const double started = nowS();
    host.start();
    if (!host.isFinished()) loop.exec();
    seconds = nowS() - started;
    return host.result().ok();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int runs = 3;
    if (argc > 1) runs = std::max(1, std::atoi(argv[1]));
    const std::string bin = binDir();
    const std::string ctl = bin + "/baldo7ctl";
    if (access(ctl.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "bench_transfer: %s not found\n", ctl.c_str());
        return 2;
    }

    Memory memory;
    memory.fill(0xFF);
    std::string error;
    if (!loadMemoryFile(bin + "/Init.dat", memory, &error)) {
        std::fprintf(stderr, "bench_transfer: Init.dat: %s\n", error.c_str());
        return 2;
    }
    PtySimulator sim;
    sim.setMemory(memory);
    sim.setPaced(true);
    if (!sim.start(&error)) {
        std::fprintf(stderr, "bench_transfer: %s\n", error.c_str());
        return 2;
    }

    char dirTemplate[] = "/tmp/bench_transfer.XXXXXX";
    const char* dirName = mkdtemp(dirTemplate);
    if (!dirName) {
        std::perror("bench_transfer: mkdtemp");
        return 2;
    }
    const std::string dir = dirName;
    const std::string file = dir + "/radio.rdat";
    const double byteS = static_cast<double>(wire::kByteTimeNs) * 1e-9;

    Measure read{"read", 64, (kHandshakeBytes + 64 * kReadBlockBytes) * byteS + kEndPauseS,
                 {},     {}, {}};
    Measure write{"write", 48, (kHandshakeBytes + 48 * kWriteBlockBytes) * byteS + kEndPauseS,
                  {},      {}, {}};
    Measure verified{"write --verify",
                     48,
                     write.lineMinS + (kHandshakeBytes + 48 * kReadBlockBytes) * byteS + kEndPauseS,
                     {},
                     {},
                     {}};
    const std::vector<std::string> readArgs{ctl,  "read", "--port", sim.devicePath(),
                                            "-o", file,   "--quiet"};
    const std::vector<std::string> writeArgs{ctl,  "write", "--port", sim.devicePath(),
                                             file, "--yes", "--quiet"};

    int failures = 0;
    for (int i = 0; i < runs; ++i) {
        for (Measure* m : {&read, &write}) {
            const auto& args = m == &read ? readArgs : writeArgs;
            const int before = sim.stats().sessionsEnded;
            double started = 0, ended = 0;
            const int rc = run(args, started, ended);
            const Stats st = sim.stats();
            if (rc != 0 || st.sessionsEnded != before + 1 || !st.lastEndCompleted) {
                std::fprintf(stderr, "bench_transfer: %s failed (exit status %d)\n", m->name, rc);
                ++failures;
                continue;
            }
            // The simulator saw the identification string complete seven byte
            // times after the program wrote it.
            const double firstByte = static_cast<double>(st.lastSessionStartMs) * 1e-3 -
                                     static_cast<double>(wire::kIdentificationSize) * byteS;
            const double endByte = static_cast<double>(st.lastSessionEndMs) * 1e-3 - byteS;
            m->link.push_back(endByte - firstByte + kEndPauseS);
            m->exchange.push_back(ended - firstByte);
            m->command.push_back(ended - started);
        }
    }
    std::vector<std::string> verifiedArgs = writeArgs;
    verifiedArgs.push_back("--verify");
    for (int i = 0; i < runs; ++i) {
        const int before = sim.stats().sessionsEnded;
        double started = 0, ended = 0;
        const int rc = run(verifiedArgs, started, ended);
        const Stats st = sim.stats();
        if (rc != 0 || st.sessionsEnded != before + 2 || !st.lastEndCompleted) {
            std::fprintf(stderr, "bench_transfer: write --verify failed (exit status %d)\n", rc);
            ++failures;
            continue;
        }
        // From the write's identification string, the session before the read-back.
        const double firstByte = static_cast<double>(st.previousSessionStartMs) * 1e-3 -
                                 static_cast<double>(wire::kIdentificationSize) * byteS;
        verified.exchange.push_back(ended - firstByte);
        verified.command.push_back(ended - started);
    }
    sim.stop();

    Measure readIn{"read", 64, read.lineMinS, {}, {}, {}};
    Measure writeIn{"write", 48, write.lineMinS, {}, {}, {}};
    RadioSimulator radio;
    radio.memory() = memory;
    for (int i = 0; i < runs; ++i) {
        baldo7::Document doc;
        if (!baldo7::LoadTemplate(doc, QString::fromStdString(bin)).ok()) {
            std::fprintf(stderr, "bench_transfer: cannot load the template\n");
            return 2;
        }
        for (Measure* m : {&readIn, &writeIn}) {
            const auto request =
                m == &readIn ? baldo7::TransferRequest::read() : baldo7::TransferRequest::write();
            double seconds = 0;
            if (!runInProcess(doc, request, radio, seconds)) {
                std::fprintf(stderr, "bench_transfer: in-process %s failed\n", m->name);
                ++failures;
                continue;
            }
            m->exchange.push_back(seconds);
        }
    }
    std::remove(file.c_str());
    rmdir(dir.c_str());

    std::printf("bench_transfer: baldo7ctl against the simulator paced at 9600 baud, %d run%s\n",
                runs, runs == 1 ? "" : "s");
    bool over = false;
    for (const Measure* m : {&read, &write}) {
        if (m->exchange.empty()) continue;
        const double ln = median(m->link), ex = median(m->exchange), cmd = median(m->command);
        const double ratio = ex / m->lineMinS;
        over = over || ratio > kTarget;
        std::printf("  %-5s %2d blocks, line minimum %.3f s\n", m->name, m->blocks, m->lineMinS);
        std::printf("        on the line (first byte to end byte, + pause) %.3f s  ratio %.3f\n",
                    ln, ln / m->lineMinS);
        std::printf(
            "        exchange (first byte to exit)                 %.3f s  ratio %.3f  %s\n", ex,
            ratio, ratio <= kTarget ? "within 1.05" : "OVER 1.05");
        std::printf("        whole command, start-up included              %.3f s  ratio %.3f\n",
                    cmd, cmd / m->lineMinS);
    }
    if (!verified.exchange.empty()) {
        const double ex = median(verified.exchange);
        const double ratio = ex / verified.lineMinS;
        over = over || ratio > kVerifiedTarget;
        std::printf("  %s: write + read-back of %d blocks, line minimum %.3f s\n", verified.name,
                    verified.blocks, verified.lineMinS);
        std::printf(
            "        exchange (first byte to exit)                 %.3f s  ratio %.3f  %s\n", ex,
            ratio, ratio <= kVerifiedTarget ? "within 1.03" : "OVER 1.03");
        std::printf("        whole command, start-up included              %.3f s  ratio %.3f\n",
                    median(verified.command), median(verified.command) / verified.lineMinS);
    }
    std::printf("bench_transfer: the built-in radio in-process (timers at 9600 baud), %d run%s\n",
                runs, runs == 1 ? "" : "s");
    for (const Measure* m : {&readIn, &writeIn}) {
        if (m->exchange.empty()) continue;
        const double ex = median(m->exchange);
        const double ratio = ex / m->lineMinS;
        over = over || ratio > kTarget;
        std::printf("  %-5s %2d blocks, line minimum %.3f s\n", m->name, m->blocks, m->lineMinS);
        std::printf(
            "        exchange (start to end)                       %.3f s  ratio %.3f  %s\n", ex,
            ratio, ratio <= kTarget ? "within 1.05" : "OVER 1.05");
    }
    if (failures) return 1;
    return over ? 1 : 0;
}

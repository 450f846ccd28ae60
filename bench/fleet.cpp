// bench_fleet: writing four radios at once against writing one. The radios are
// simulators paced at 10 bits per byte; the program is `baldo7ctl write` with one
// --port and with four, as a dealer runs it. The ratio of the two command times
// (median of the runs, taken alternately) is held to the target: the exchanges
// share one event loop and must not wait for each other.
#include <fcntl.h>
#include <limits.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "sim/memory_file.h"
#include "sim/pty_simulator.h"

extern char** environ;

using namespace baldo7::sim;

namespace {

constexpr double kTarget = 1.10;
constexpr int kRadios = 4;

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

// Runs a command with its output discarded; returns its exit status (-1 when it
// could not run) and how long it took.
int run(const std::vector<std::string>& args, double& seconds) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const double started = nowS();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    seconds = nowS() - started;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    if (argc > 1) runs = std::max(1, std::atoi(argv[1]));
    const std::string bin = binDir();
    const std::string ctl = bin + "/baldo7ctl";
    if (access(ctl.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "bench_fleet: %s not found\n", ctl.c_str());
        return 2;
    }
    Memory memory;
    memory.fill(0xFF);
    std::string error;
    if (!loadMemoryFile(bin + "/Init.dat", memory, &error)) {
        std::fprintf(stderr, "bench_fleet: Init.dat: %s\n", error.c_str());
        return 2;
    }
    std::array<std::unique_ptr<PtySimulator>, kRadios> sims;
    for (auto& sim : sims) {
        sim = std::make_unique<PtySimulator>();
        sim->setMemory(memory);
        sim->setPaced(true);
        if (!sim->start(&error)) {
            std::fprintf(stderr, "bench_fleet: %s\n", error.c_str());
            return 2;
        }
    }
    char dirTemplate[] = "/tmp/bench_fleet.XXXXXX";
    const char* dirName = mkdtemp(dirTemplate);
    if (!dirName) {
        std::perror("bench_fleet: mkdtemp");
        return 2;
    }
    const std::string dir = dirName;
    const std::string file = dir + "/radio.rdat";
    double unused = 0;
    if (run({ctl, "new", "-o", file, "--force"}, unused) != 0) {
        std::fprintf(stderr, "bench_fleet: baldo7ctl new failed\n");
        return 2;
    }
    std::vector<std::string> one{ctl,  "write", "--port", sims[0]->devicePath(),
                                 file, "--yes", "--quiet"};
    std::vector<std::string> four{ctl, "write"};
    for (const auto& sim : sims) {
        four.push_back("--port");
        four.push_back(sim->devicePath());
    }
    for (const char* a : {"--yes", "--quiet"}) four.push_back(a);
    four.insert(four.begin() + 2 + 2 * kRadios, file);

    std::vector<double> single, fleet;
    int failures = 0;
    for (int i = 0; i < runs; ++i) {
        double s = 0;
        if (run(one, s) == 0)
            single.push_back(s);
        else
            ++failures;
        if (run(four, s) == 0)
            fleet.push_back(s);
        else
            ++failures;
    }
    for (auto& sim : sims) sim->stop();
    std::remove(file.c_str());
    rmdir(dir.c_str());
    if (failures) {
        std::fprintf(stderr, "bench_fleet: %d write%s failed\n", failures,
                     failures == 1 ? "" : "s");
        return 1;
    }
    const double one_s = median(single), four_s = median(fleet);
    const double ratio = four_s / one_s;
    std::printf("bench_fleet: baldo7ctl write to simulators paced at 9600 baud, %d run%s\n", runs,
                runs == 1 ? "" : "s");
    std::printf("  one radio     %.3f s\n", one_s);
    std::printf("  %d radios      %.3f s  ratio %.3f  %s\n", kRadios, four_s, ratio,
                ratio <= kTarget ? "within 1.10" : "OVER 1.10");
    return ratio <= kTarget ? 0 : 1;
}

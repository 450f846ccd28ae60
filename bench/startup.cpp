// bench_startup: how long baldo7 takes to show its main window, and how much memory
// it needs, next to a bare Qt program that shows one empty QMainWindow.
//
// Each run starts a fresh process and times it from fork to the "ready" line the
// program prints once its main window is shown and the event loop has gone idle;
// peak memory is the process's maximum resident set. baldo7 runs with
// `--no-splash --exit-when-ready`, the bare program is this executable with
// `--bare`. Runs alternate so all see the same machine state; medians are compared.
// Target: both ratios against the empty window at most 1.5; exit status 1 when one
// is over it. For comparison the bench also times a bare window with one line of
// status-bar text (`--bare-text`): the first text a window draws loads the system's
// font configuration, which the empty window only does on its way out, after
// "ready", and which baldo7 needs before its first word.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double kTarget = 1.5;

double now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

struct Sample {
    bool ok = false;
    double seconds = 0;
    long peakKiB = 0;
};

// Starts argv, waits for "ready" on its stdout, then for its exit.
Sample runOnce(const std::vector<std::string>& args) {
    Sample s;
    int out[2];
    if (pipe(out) != 0) return s;
    const double t0 = now();
    const pid_t pid = fork();
    if (pid < 0) return s;
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) dup2(devNull, STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buf[256];
    double readyAt = 0;
    for (;;) {
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        text.append(buf, std::size_t(n));
        if (readyAt == 0 && text.find("ready\n") != std::string::npos) readyAt = now();
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return s;
    s.ok = readyAt > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    s.seconds = readyAt - t0;
    s.peakKiB = usage.ru_maxrss;
    return s;
}

template <typename T>
T median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? T() : v[v.size() / 2];
}

int bare(int argc, char** argv, bool withText) {
    QApplication app(argc, argv);
    QMainWindow window;
    if (withText) window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.show();
    QTimer::singleShot(0, &app, [] {
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 21;  // start-up times vary by several ms from run to run
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--bare") == 0) return bare(argc, argv, false);
        if (std::strcmp(argv[i], "--bare-text") == 0) return bare(argc, argv, true);
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
    }
    char self[4096];
    const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    if (len <= 0) return 2;
    self[len] = 0;
    const std::string program = folderOf(self) + "/baldo7";
    if (access(program.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "bench_startup: %s not found\n", program.c_str());
        return 2;
    }
    // Without a display both run on the offscreen platform.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);

    struct Subject {
        const char* label;
        std::vector<std::string> argv;
        std::vector<double> times;
        std::vector<long> peaks;
    };
    Subject subjects[] = {
        {"baldo7 --no-splash", {program, "--no-splash", "--exit-when-ready"}, {}, {}},
        {"bare QMainWindow", {self, "--bare"}, {}, {}},
        {"bare, one line of text", {self, "--bare-text"}, {}, {}},
    };
    for (const Subject& s : subjects) runOnce(s.argv);  // warm the file cache for all
    for (int i = 0; i < runs; ++i) {
        for (Subject& subject : subjects) {
            const Sample s = runOnce(subject.argv);
            if (!s.ok) {
                std::fprintf(stderr, "bench_startup: %s did not report ready\n", subject.label);
                return 2;
            }
            subject.times.push_back(s.seconds);
            subject.peaks.push_back(s.peakKiB);
        }
    }
    std::printf("bench_startup: start to main window shown and idle, median of %d runs\n", runs);
    for (const Subject& s : subjects)
        std::printf("  %-24s %7.1f ms   peak %6.1f MiB\n", s.label, median(s.times) * 1e3,
                    median(s.peaks) / 1024.0);
    auto ratio = [&](const Subject& ref, double& time, double& memory) {
        time = median(subjects[0].times) / median(ref.times);
        memory = double(median(subjects[0].peaks)) / double(median(ref.peaks));
    };
    double timeRatio = 0, memRatio = 0, textTime = 0, textMemory = 0;
    ratio(subjects[1], timeRatio, memRatio);
    ratio(subjects[2], textTime, textMemory);
    const bool within = timeRatio <= kTarget && memRatio <= kTarget;
    std::printf("  ratio  time %.2f  memory %.2f   %s\n", timeRatio, memRatio,
                within ? "within 1.5" : "OVER 1.5");
    std::printf("  against the window with text: time %.2f  memory %.2f\n", textTime, textMemory);
    return within ? 0 : 1;
}

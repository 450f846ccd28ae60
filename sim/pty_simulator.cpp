#include "sim/pty_simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace baldo7::sim {

namespace {

std::int64_t monotonicNs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

bool fail(std::string* error, const char* what) {
    if (error) *error = std::string(what) + ": " + std::strerror(errno);
    return false;
}

}  // namespace

PtySimulator::PtySimulator(Config config) : engine_(std::move(config)) {}

PtySimulator::~PtySimulator() {
    stop();
}

bool PtySimulator::start(std::string* error) {
    if (running()) return true;
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) return fail(error, "posix_openpt");
    char name[PATH_MAX] = {};
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0) {
        fail(error, "pseudo-terminal setup");
        closeAll();
        return false;
    }
    devicePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        fail(error, "open pseudo-terminal");
        closeAll();
        return false;
    }
    // Raw from the start: no echo of our replies back to us, no line editing,
    // and every byte value passes, whether or not a program has opened the port.
    termios tio{};
    if (::tcgetattr(slave_, &tio) != 0 || (::cfmakeraw(&tio), ::cfsetspeed(&tio, B9600)) != 0 ||
        ::tcsetattr(slave_, TCSANOW, &tio) != 0) {
        fail(error, "raw mode");
        closeAll();
        return false;
    }
    if (::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK) != 0 ||
        ::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        fail(error, "pipe");
        closeAll();
        return false;
    }
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void PtySimulator::stop() {
    if (thread_.joinable()) {
        stopping_ = true;
        const char b = 'x';
        [[maybe_unused]] const ssize_t n = ::write(wake_[1], &b, 1);
        thread_.join();
    }
    closeAll();
}

void PtySimulator::stopWhenReleased(int timeoutMs) {
    if (!thread_.joinable()) return;
    releaseDeadlineNs_ = monotonicNs() + static_cast<std::int64_t>(timeoutMs) * 1000000LL;
    const char b = 'r';
    [[maybe_unused]] const ssize_t n = ::write(wake_[1], &b, 1);
    thread_.join();
    closeAll();
}

void PtySimulator::closeAll() {
    closeFd(master_);
    closeFd(slave_);
    closeFd(wake_[0]);
    closeFd(wake_[1]);
}

Memory PtySimulator::memory() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return engine_.memory();
}

void PtySimulator::setMemory(const Memory& memory) {
    std::lock_guard<std::mutex> lock(mutex_);
    engine_.memory() = memory;
}

Stats PtySimulator::stats() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return engine_.stats();
}

void PtySimulator::run() {
    if (paced_) {
        // The line's timing is the radio's, not the host's: ask for a real-time
        // slot so a busy machine does not stretch the replies. Best effort.
        sched_param param{};
        param.sched_priority = 1;
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
    }
    bool blocked = false;  // the pty would not take more output
    while (!stopping_) {
        const std::int64_t now = monotonicNs();
        const std::int64_t releaseBy = releaseDeadlineNs_;
        if (releaseBy != 0) {
            // Without our own hold on the slave, the master reports a hang-up as
            // soon as the program has closed the port.
            closeFd(slave_);
            if (now >= releaseBy) break;
        }
        feedDue(now);
        writeDue(now);
        blocked = !outgoing_.empty() && outgoing_.front().atNs <= now;

        std::int64_t deadline = releaseBy != 0 ? releaseBy : INT64_MAX;
        if (!incoming_.empty()) deadline = incoming_.front().atNs;
        if (!outgoing_.empty() && !blocked) deadline = std::min(deadline, outgoing_.front().atNs);

        pollfd fds[2] = {{master_, static_cast<short>(POLLIN | (blocked ? POLLOUT : 0)), 0},
                         {wake_[0], POLLIN, 0}};
        timespec wait{};
        timespec* waitPtr = nullptr;
        if (deadline != INT64_MAX) {
            const std::int64_t left = std::max<std::int64_t>(deadline - monotonicNs(), 0);
            wait.tv_sec = static_cast<time_t>(left / 1000000000LL);
            wait.tv_nsec = static_cast<long>(left % 1000000000LL);
            waitPtr = &wait;
        }
        const int n = ::ppoll(fds, 2, waitPtr, nullptr);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents) {
            char drain[16];
            while (::read(wake_[0], drain, sizeof drain) > 0) {
            }
        }
        if (fds[0].revents & POLLIN) {
            takeInput(monotonicNs());
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            if (releaseDeadlineNs_ != 0) break;
            // Not expected while we hold the slave open; do not spin on it.
            ::usleep(10000);
        }
    }
}

void PtySimulator::takeInput(std::int64_t nowNs) {
    std::uint8_t buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) return;
        if (!paced_) {
            feed(std::vector<std::uint8_t>(buf, buf + n), nowNs);
            continue;
        }
        // Each byte is "received" once its ten bits have crossed the line.
        for (ssize_t i = 0; i < n; ++i) {
            rxFreeNs_ = std::max(rxFreeNs_, nowNs) + wire::kByteTimeNs;
            incoming_.push_back({rxFreeNs_, buf[i]});
        }
    }
}

void PtySimulator::feedDue(std::int64_t nowNs) {
    std::size_t done = 0;
    while (done < incoming_.size() && incoming_[done].atNs <= nowNs) {
        feed({incoming_[done].byte}, incoming_[done].atNs);
        ++done;
    }
    incoming_.erase(incoming_.begin(), incoming_.begin() + static_cast<std::ptrdiff_t>(done));
}

void PtySimulator::feed(const std::vector<std::uint8_t>& bytes, std::int64_t atNs) {
    std::vector<Reply> replies;
    int endedBefore = 0;
    Stats after;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        endedBefore = engine_.stats().sessionsEnded;
        replies = engine_.receive(bytes, atNs / 1000000);
        after = engine_.stats();
    }
    for (const Reply& r : replies) {
        const std::int64_t due = atNs + static_cast<std::int64_t>(r.delayMs) * 1000000LL;
        // One transmitter: a reply never overtakes an earlier (delayed) one.
        for (const std::uint8_t b : r.bytes) {
            txFreeNs_ = std::max(txFreeNs_, due) + (paced_ ? wire::kByteTimeNs : 0);
            outgoing_.push_back({txFreeNs_, b});
        }
    }
    if (after.sessionsEnded != endedBefore && onSessionEnd_) onSessionEnd_(after.lastEndCompleted);
}

void PtySimulator::writeDue(std::int64_t nowNs) {
    std::size_t due = 0;
    while (due < outgoing_.size() && outgoing_[due].atNs <= nowNs) ++due;
    if (due == 0) return;
    std::vector<std::uint8_t> bytes(due);
    for (std::size_t i = 0; i < due; ++i) bytes[i] = outgoing_[i].byte;
    const ssize_t n = ::write(master_, bytes.data(), bytes.size());
    if (n > 0)
        outgoing_.erase(outgoing_.begin(), outgoing_.begin() + static_cast<std::ptrdiff_t>(n));
}

}  // namespace baldo7::sim

// A pseudo-terminal pair for line tests (POSIX only).
#pragma once

#include <QString>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "tests/serial/event_loop.h"

namespace baldo7::testing {

struct PtyPair {
    int master = -1;
    int slave = -1;  // kept open so the master survives the port's close
    QString path;

    PtyPair() {
        // Close-on-exec: a child process must not hold either end.
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
        char name[PATH_MAX] = {};
        if (::ptsname_r(master, name, sizeof name) != 0) return;
        path = QString::fromLocal8Bit(name);
        slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios tio{};
        ::tcgetattr(slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ~PtyPair() {
        if (slave >= 0) ::close(slave);
        if (master >= 0) ::close(master);
    }
    bool ok() const { return slave >= 0; }
    void write(const std::vector<std::uint8_t>& bytes) const {
        [[maybe_unused]] const ssize_t n = ::write(master, bytes.data(), bytes.size());
    }
    // What the port sent, waiting up to a second for `count` bytes.
    std::vector<std::uint8_t> read(std::size_t count) const {
        std::vector<std::uint8_t> out;
        QElapsedTimer t;
        t.start();
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
        while (out.size() < count && t.elapsed() < 1000) {
            std::uint8_t buf[256];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0)
                out.insert(out.end(), buf, buf + n);
            else
                ::usleep(1000);
        }
        return out;
    }
};

}  // namespace baldo7::testing

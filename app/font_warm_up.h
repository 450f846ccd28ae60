#pragma once
// Reads the system's font configuration on a thread of its own while the program
// connects to the display. The main window's first word needs it, and reading it
// (dozens of configuration files) is a good part of the start-up; here it runs on
// another core, or while the main thread waits for the display server.

#include <thread>

namespace baldo7 {

class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp() { wait(); }
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Returns once the configuration is read. Call it before the first text is
    // laid out: a second reader would read it all again rather than wait.
    void wait() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
};

}  // namespace baldo7

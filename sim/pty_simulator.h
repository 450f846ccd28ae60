// A simulated radio on a pseudo-terminal: the program opens devicePath() like any
// serial port, and a worker thread answers it from a RadioSimulator. Usable
// in-process (the GUI's built-in simulated radio) and by the baldo7-sim tool.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/radio_simulator.h"

namespace baldo7::sim {

class PtySimulator {
public:
    explicit PtySimulator(Config config = {});
    ~PtySimulator();
    PtySimulator(const PtySimulator&) = delete;
    PtySimulator& operator=(const PtySimulator&) = delete;

    // Time on the line for each byte in both directions: 10 bits at 9600 baud.
    // Set before start().
    void setPaced(bool paced) { paced_ = paced; }
    // Called on the worker thread when the program ends a session (the end
    // byte); `completed` is false when it ended at the band question. Set before
    // start().
    void setSessionEndHandler(std::function<void(bool completed)> handler) {
        onSessionEnd_ = std::move(handler);
    }

    // Creates the pseudo-terminal and starts answering on it.
    bool start(std::string* error = nullptr);
    void stop();
    // Stops once the program has closed the port, or after `timeoutMs`, so that a
    // program still pausing before its close never sees the line vanish.
    void stopWhenReleased(int timeoutMs);
    bool running() const { return thread_.joinable(); }
    const std::string& devicePath() const { return devicePath_; }

    // Safe from any thread while running.
    Memory memory() const;
    void setMemory(const Memory& memory);
    Stats stats() const;
    template <typename F>
    auto withEngine(F&& f) {
        std::lock_guard<std::mutex> lock(mutex_);
        return f(engine_);
    }

private:
    struct Pending {
        std::int64_t atNs;  // when the byte has crossed the line
        std::uint8_t byte;
    };

    void run();
    void takeInput(std::int64_t nowNs);
    void feedDue(std::int64_t nowNs);
    void feed(const std::vector<std::uint8_t>& bytes, std::int64_t atNs);
    void writeDue(std::int64_t nowNs);
    void closeAll();

    mutable std::mutex mutex_;
    RadioSimulator engine_;
    bool paced_ = false;
    std::function<void(bool)> onSessionEnd_;

    int master_ = -1;
    int slave_ = -1;  // held open so the master never sees a hang-up between sessions
    int wake_[2] = {-1, -1};
    std::string devicePath_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<std::int64_t> releaseDeadlineNs_{0};  // 0: not waiting for the release

    std::vector<Pending> incoming_;  // paced: bytes still on their way in
    std::vector<Pending> outgoing_;  // bytes not yet due, or not yet accepted by the pty
    std::int64_t rxFreeNs_ = 0;
    std::int64_t txFreeNs_ = 0;
};

}  // namespace baldo7::sim

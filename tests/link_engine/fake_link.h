// A scripted radio and a host with a fake clock: the engine runs to its end with
// every wait taken at once, and answers the radio sends late arrive in order at
// their time. Answers are instant unless the line is paced: then each byte takes
// its time at 9600 baud, and an answer's bytes arrive one by one.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>

#include "link/exchange.h"

namespace baldo7::test {

inline const Bytes kIdString{'H', 'X', 'L', 'N', '3', 'B', '7'};

// Answers the protocol from its own 4 KiB; `fault` may replace any answer, `stray`
// put bytes ahead of it and `lateMs` delay it. `previous` is the frame before the
// one being answered.
struct FakeRadio {
    RadioMemory memory;
    std::uint8_t modelDigit = 0x32;
    std::uint8_t specialCode = 0x31;
    std::function<std::optional<Bytes>(const Bytes& frame)> fault;
    std::function<Bytes(const Bytes& frame)> stray;
    std::function<long(const Bytes& frame)> lateMs;
    Bytes previous;

    Bytes answer(const Bytes& f) {
        Bytes r = reply(f);
        if (stray && !r.empty()) {
            const Bytes s = stray(f);
            r.insert(r.begin(), s.begin(), s.end());
        }
        previous = f;
        return r;
    }

    Bytes reply(const Bytes& f) {
        if (fault)
            if (auto r = fault(f)) return *r;
        if (f == kIdString || f == Bytes{wire::kAck}) return {wire::kAck};
        if (f == Bytes{wire::kStart})
            return {wire::kReplyMark, modelDigit, '0', specialCode, '0', '0', '0', '0'};
        const int a = f.size() >= 3 ? f[1] * 256 + f[2] : -1;
        if (f.size() == 4 && f[0] == 'R') {
            Bytes block{'W', f[1], f[2], 0x10};
            for (int i = 0; i < 16; ++i) block.push_back(memory.at(a + i));
            return block;
        }
        if (f.size() == 20 && f[0] == 'W') {
            for (int i = 0; i < 16; ++i) memory.set(a + i, f[static_cast<std::size_t>(4 + i)]);
            return {wire::kAck};
        }
        return {};
    }
};

struct Rig : ExchangeHost {
    Document doc;
    TransferRequest request;  // a read-back's range too
    FakeRadio radio;
    bool portOpens = true;
    bool paced = false;
    bool portOpen = false;
    Bytes inBuffer;
    std::deque<std::pair<long, Bytes>> inFlight;  // due time, bytes; one transmitter
    int threshold = 0;
    int timerMs = -1;
    long timerDue = 0;
    long clockMs = 0;
    std::vector<std::pair<long, Bytes>> sent;
    std::vector<LinkQuestion> asked;
    std::vector<std::string> askedTexts;
    std::deque<bool> answers;  // then Cancel
    std::vector<std::string> labels;
    std::vector<int> pauses;
    std::string portMessage;
    std::optional<ExchangeResult> result;
    std::function<void(Exchange&)> afterSend;
    WrittenBlocks received;  // what the engine took in, as its result says
    Exchange* current = nullptr;

    bool openPort() override { return portOpen = portOpens; }
    void closePort() override { portOpen = false; }
    void send(const Bytes& bytes) override {
        sent.emplace_back(clockMs, bytes);
        const long late = radio.lateMs ? radio.lateMs(bytes) : 0;
        const Bytes reply = radio.answer(bytes);
        // The radio has the frame once it has crossed the line; then its answer.
        const auto lineMs = [&bytes](std::size_t after) {
            return static_cast<long>(((bytes.size() + after) * wire::kByteTimeNs + 999999) /
                                     1000000);
        };
        for (std::size_t i = 0; i < reply.size(); i += paced ? 1 : reply.size()) {
            long due = clockMs + late + (paced ? lineMs(i + 1) : 0);
            if (!inFlight.empty()) due = std::max(due, inFlight.back().first);
            inFlight.emplace_back(due, paced ? Bytes{reply[i]} : reply);
        }
        if (afterSend) afterSend(*current);
    }
    std::int64_t clockNs() override { return clockMs * 1000000LL; }
    void discardInput() override { inBuffer.clear(); }
    void setReceiveThreshold(int count) override { threshold = count; }
    void startTimer(int ms) override {
        timerMs = ms;
        timerDue = clockMs + ms;
    }
    void stopTimer() override { timerMs = -1; }
    void pause(int ms) override { pauses.push_back(ms); }
    bool ask(LinkQuestion q, const std::string& text) override {
        asked.push_back(q);
        askedTexts.push_back(text);
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void portFailed(const std::string& text) override { portMessage = text; }
    void setCaption(const std::string&) override {}
    void progress(double, const std::string& label) override { labels.push_back(label); }
    void finished(const ExchangeResult& r) override {
        result = r;
        received = r.received;
    }

    // Delivers buffered bytes when the threshold is met, else moves the clock on to
    // the next arrival or the timer, whichever comes first (arrivals on a tie).
    bool step(Exchange& ex) {
        while (!inFlight.empty() && inFlight.front().first <= clockMs) {
            const Bytes& b = inFlight.front().second;
            inBuffer.insert(inBuffer.end(), b.begin(), b.end());
            inFlight.pop_front();
        }
        if (threshold > 0 && inBuffer.size() >= static_cast<std::size_t>(threshold)) {
            const Bytes bytes = std::move(inBuffer);
            inBuffer.clear();
            ex.onBytesReceived(bytes);
        } else if (!inFlight.empty() && (timerMs < 0 || inFlight.front().first <= timerDue)) {
            clockMs = inFlight.front().first;
        } else if (timerMs >= 0) {
            clockMs = timerDue;
            timerMs = -1;
            ex.onTimer();
        } else {
            return false;
        }
        return true;
    }

    ExchangeResult run() {
        Exchange ex(doc, *this, request);
        current = &ex;
        ex.start();
        for (int i = 0; i < 100000 && !result; ++i)
            if (!step(ex)) break;
        current = nullptr;
        EXPECT_TRUE(result.has_value()) << "exchange stalled";
        return result.value_or(ExchangeResult{});
    }

    // Frames sent that start with `first`.
    std::vector<Bytes> framesStarting(std::uint8_t first) const {
        std::vector<Bytes> out;
        for (const auto& s : sent)
            if (!s.second.empty() && s.second[0] == first) out.push_back(s.second);
        return out;
    }
    int count(const Bytes& frame) const {
        int n = 0;
        for (const auto& s : sent) n += s.second == frame;
        return n;
    }
};

inline int frameAddress(const Bytes& f) {
    return f[1] * 256 + f[2];
}

}  // namespace baldo7::test

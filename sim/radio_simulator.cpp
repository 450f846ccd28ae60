#include "sim/radio_simulator.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace baldo7::sim {

namespace {

constexpr auto kBlock = static_cast<std::size_t>(kBlockSize);
constexpr auto kFrameSize = static_cast<std::size_t>(kDataFrameSize);

bool blockInMemory(std::uint16_t address) {
    return address + kBlock <= kRadioMemorySize;
}

}  // namespace

RadioSimulator::RadioSimulator(Config config)
    : config_(std::move(config)), seen_(config_.faults.size(), 0) {}

std::vector<Reply> RadioSimulator::receive(const std::uint8_t* data, std::size_t size,
                                           std::int64_t nowMs) {
    std::vector<Reply> out;
    if (size == 0) return out;
    // A program that stopped in mid-frame has given up on it; its next bytes
    // start afresh.
    if (!input_.empty() && nowMs - lastInputMs_ > kFrameGapMs) input_.clear();
    lastInputMs_ = nowMs;
    input_.insert(input_.end(), data, data + size);
    while (!input_.empty() && parseOne(out)) {
    }
    return out;
}

void RadioSimulator::consume(std::size_t n) {
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(n));
}

bool RadioSimulator::parseOne(std::vector<Reply>& out) {
    const std::uint8_t first = input_[0];

    // The identification string restarts the exchange from any phase, but only
    // where a frame may begin, so block data never triggers it.
    if (first == static_cast<std::uint8_t>(wire::kIdentification[0])) {
        const std::size_t have = std::min(input_.size(), wire::kIdentificationSize);
        if (std::memcmp(input_.data(), wire::kIdentification, have) != 0) {
            consume(1);
            return true;
        }
        if (have < wire::kIdentificationSize) return false;
        consume(wire::kIdentificationSize);
        phase_ = Phase::AwaitStx;
        ++stats_.sessionsStarted;
        stats_.previousSessionStartMs = stats_.lastSessionStartMs;
        stats_.lastSessionStartMs = lastInputMs_;
        reply(kStepHello, {wire::kAck}, out);
        return true;
    }

    switch (phase_) {
        case Phase::Idle:
            consume(1);
            return true;

        case Phase::AwaitStx:
            consume(1);
            if (first == wire::kStart) {
                std::vector<std::uint8_t> ident(config_.ident.begin(), config_.ident.end());
                ident[1] = config_.modelDigit.value_or(memory_[addr::kModelDigit]);
                ident[3] = config_.specialCode;
                phase_ = Phase::AwaitGo;
                reply(kStepIdent, std::move(ident), out);
            }
            return true;

        case Phase::AwaitGo:
            consume(1);
            if (first == wire::kAck) {
                phase_ = Phase::Blocks;
                reply(kStepStart, {wire::kAck}, out);
            } else if (first == wire::kEnd) {
                // The program declined (band question): the session ends here.
                phase_ = Phase::Idle;
                ++stats_.sessionsEnded;
                stats_.lastEndCompleted = false;
                stats_.lastSessionEndMs = lastInputMs_;
            }
            return true;

        case Phase::Blocks:
            break;
    }

    switch (first) {
        case wire::kAck:
            consume(1);
            reply(kStepAck, {wire::kAck}, out);
            return true;

        case wire::kEnd:
            consume(1);
            phase_ = Phase::Idle;
            ++stats_.sessionsEnded;
            stats_.lastEndCompleted = true;
            stats_.lastSessionEndMs = lastInputMs_;
            return true;

        case wire::kReadRequest: {
            if (input_.size() < wire::kReadRequestSize) return false;
            const auto address = static_cast<std::uint16_t>(input_[1] << 8 | input_[2]);
            const bool valid = input_[3] == wire::kBlockLength && blockInMemory(address);
            consume(wire::kReadRequestSize);
            if (!valid) {
                ++stats_.framesRefused;
                reply(kStepData, {wire::kNak}, out);
                return true;
            }
            std::vector<std::uint8_t> frame{
                wire::kDataBlock, static_cast<std::uint8_t>(address >> 8),
                static_cast<std::uint8_t>(address & 0xFF), wire::kBlockLength};
            frame.insert(frame.end(), memory_.begin() + address,
                         memory_.begin() + address + kBlock);
            ++stats_.blocksRead;
            reply(kStepData, std::move(frame), out);
            return true;
        }

        case wire::kDataBlock: {
            if (input_.size() < kFrameSize) return false;
            const auto address = static_cast<std::uint16_t>(input_[1] << 8 | input_[2]);
            const bool valid = input_[3] == wire::kBlockLength && blockInMemory(address);
            if (valid) {
                std::copy(input_.begin() + 4, input_.begin() + kFrameSize,
                          memory_.begin() + address);
                if (corruptsWrite())
                    memory_[address] = static_cast<std::uint8_t>(~memory_[address]);
                ++stats_.blocksWritten;
            } else {
                ++stats_.framesRefused;
            }
            consume(kFrameSize);
            reply(kStepAck, {valid ? wire::kAck : wire::kNak}, out);
            return true;
        }

        default:
            // Line noise between frames.
            consume(1);
            return true;
    }
}

bool RadioSimulator::corruptsWrite() {
    bool corrupt = false;
    for (std::size_t i = 0; i < config_.faults.size(); ++i) {
        const Fault& f = config_.faults[i];
        if (f.kind != FaultKind::CorruptWrite || (f.steps & kStepWrite) == 0) continue;
        const int n = seen_[i]++;
        if (n >= f.skip && (f.count == 0 || n < f.skip + f.count)) corrupt = true;
    }
    return corrupt;
}

void RadioSimulator::reply(unsigned step, std::vector<std::uint8_t> bytes,
                           std::vector<Reply>& out) {
    Reply r{std::move(bytes), 0};
    bool silent = false;
    for (std::size_t i = 0; i < config_.faults.size(); ++i) {
        const Fault& f = config_.faults[i];
        // Spoils stored bytes, not replies; counted where blocks are stored.
        if (f.kind == FaultKind::CorruptWrite || (f.steps & step) == 0) continue;
        const int n = seen_[i]++;
        if (n < f.skip || (f.count > 0 && n >= f.skip + f.count)) continue;
        switch (f.kind) {
            case FaultKind::Silence:
                silent = true;
                break;
            case FaultKind::Nak:
                r.bytes = {wire::kNak};
                break;
            case FaultKind::WrongFirstByte:
                if (!r.bytes.empty()) r.bytes[0] = f.value;
                break;
            case FaultKind::BlockAddress:
                if (r.bytes.size() == kFrameSize && r.bytes[0] == wire::kDataBlock) {
                    r.bytes[1] = static_cast<std::uint8_t>(f.address >> 8);
                    r.bytes[2] = static_cast<std::uint8_t>(f.address & 0xFF);
                }
                break;
            case FaultKind::CutShort:
                r.bytes.resize(
                    std::min(r.bytes.size(), static_cast<std::size_t>(std::max(f.keep, 0))));
                break;
            case FaultKind::Delay:
                r.delayMs += std::max(f.delayMs, 0);
                break;
            case FaultKind::Stray:
                r.bytes.insert(r.bytes.begin(), f.value);
                break;
            case FaultKind::CorruptWrite:
                break;
        }
    }
    if (!silent && !r.bytes.empty()) out.push_back(std::move(r));
}

bool parseFaultPlace(const std::string& text, Fault& fault) {
    static const std::pair<const char*, unsigned> kNames[] = {
        {"hello", kStepHello}, {"ident", kStepIdent}, {"start", kStepStart},
        {"data", kStepData},   {"ack", kStepAck},     {"write", kStepWrite},
        {"acks", kStepAcks},   {"block", kStepBlock}, {"any", kStepAny},
    };
    const std::size_t colon = text.find(':');
    const std::string names = text.substr(0, colon);
    unsigned steps = 0;
    std::size_t pos = 0;
    while (pos <= names.size()) {
        const std::size_t plus = std::min(names.find('+', pos), names.size());
        const std::string name = names.substr(pos, plus - pos);
        const auto it = std::find_if(std::begin(kNames), std::end(kNames),
                                     [&](const auto& e) { return name == e.first; });
        if (it == std::end(kNames)) return false;
        steps |= it->second;
        pos = plus + 1;
    }

    int numbers[2] = {0, 0};
    if (colon != std::string::npos) {
        std::string rest = text.substr(colon + 1);
        for (int i = 0; i < 2; ++i) {
            const std::size_t next = rest.find(':');
            const std::string part = rest.substr(0, next);
            char* end = nullptr;
            const long v = std::strtol(part.c_str(), &end, 10);
            if (part.empty() || *end != '\0' || v < 0 || v > 1000000) return false;
            numbers[i] = static_cast<int>(v);
            if (next == std::string::npos) break;
            if (i == 1) return false;
            rest = rest.substr(next + 1);
        }
    }
    fault.steps = steps;
    fault.skip = numbers[0];
    fault.count = numbers[1];
    return true;
}

}  // namespace baldo7::sim

// The radio's side of the programming exchange, as a pure state machine: it is fed
// the bytes the program sends and returns what the radio answers, optionally
// spoiled by injected faults. Time only enters through the caller's clock (to drop
// a stale half frame) and the delays it asks for; pacing is the line's business.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/protocol.h"

namespace baldo7::sim {

using Memory = std::array<std::uint8_t, kRadioMemorySize>;

// The radio's replies, by the step of the exchange they answer. A fault names a
// set of them.
enum Step : unsigned {
    kStepHello = 1u << 0,  // ACK to the identification string
    kStepIdent = 1u << 1,  // the 8-byte identification reply
    kStepStart = 1u << 2,  // ACK to the program's 0x06 that opens the block phase
    kStepData = 1u << 3,   // data block answering a read request
    kStepAck = 1u << 4,    // block-phase ACK: to a block written, or to the ACK after a block read
    kStepWrite = 1u << 5,  // a written data block stored (only --corrupt-write acts on it)
    kStepAcks = kStepHello | kStepStart | kStepAck,
    kStepBlock = kStepData | kStepAck,
    kStepAny = kStepHello | kStepIdent | kStepStart | kStepData | kStepAck | kStepWrite,
};

enum class FaultKind {
    Silence,         // the reply is not sent
    Nak,             // a lone 0x15 is sent instead
    WrongFirstByte,  // the reply's first byte is replaced by `value`
    BlockAddress,    // a data block names `address` (its bytes are still the requested ones)
    CutShort,        // only the first `keep` bytes are sent
    Delay,           // the reply leaves `delayMs` late
    Stray,           // a lone `value` goes out just ahead of the reply
    CorruptWrite,    // a written block is stored with its first byte inverted; still ACKed
};

struct Fault {
    FaultKind kind = FaultKind::Silence;
    unsigned steps = kStepAny;
    // Occurrences of the chosen steps, counted over the simulator's life: the first
    // `skip` pass untouched, then `count` are spoiled (0: every one after).
    int skip = 0;
    int count = 0;
    std::uint8_t value = 0x00;
    std::uint16_t address = 0xFFF0;
    int keep = 10;
    int delayMs = 0;
};

constexpr std::uint16_t kImpossibleAddress = 0xFFF0;

struct Config {
    // Identification reply; byte 1 and byte 3 are overridden below.
    std::array<std::uint8_t, 8> ident{'I', '2', '0', '1', '0', '0', '0', '0'};
    // Byte 1. Unset: the radio's own model digit, memory byte 441.
    std::optional<std::uint8_t> modelDigit;
    // Byte 3: 0x30 means no special code.
    std::uint8_t specialCode = 0x31;
    std::vector<Fault> faults;
};

// What the radio sends: bytes, to leave `delayMs` after the request was received.
struct Reply {
    std::vector<std::uint8_t> bytes;
    int delayMs = 0;
};

enum class Phase {
    Idle,      // waiting for the identification string
    AwaitStx,  // ACKed it, waiting for 0x02
    AwaitGo,   // identification reply sent, waiting for 0x06 (or 0x45)
    Blocks,    // block phase
};

struct Stats {
    int sessionsStarted = 0;                  // identification strings accepted
    int sessionsEnded = 0;                    // end bytes received after a handshake
    bool lastEndCompleted = false;            // the last end byte came in the block phase
    int blocksRead = 0;                       // data blocks sent
    int blocksWritten = 0;                    // data blocks stored
    int framesRefused = 0;                    // read requests or blocks outside memory, NAKed
    std::int64_t lastSessionStartMs = 0;      // when the last identification string was complete
    std::int64_t previousSessionStartMs = 0;  // the same for the session before it
    std::int64_t lastSessionEndMs = 0;        // when the last end byte arrived
};

class RadioSimulator {
public:
    explicit RadioSimulator(Config config = {});

    Memory& memory() { return memory_; }
    const Memory& memory() const { return memory_; }
    const Config& config() const { return config_; }
    Phase phase() const { return phase_; }
    const Stats& stats() const { return stats_; }

    // Bytes from the program, the last of them received at `nowMs`.
    std::vector<Reply> receive(const std::uint8_t* data, std::size_t size, std::int64_t nowMs);
    std::vector<Reply> receive(const std::vector<std::uint8_t>& bytes, std::int64_t nowMs) {
        return receive(bytes.data(), bytes.size(), nowMs);
    }

    // A half frame older than this is dropped when more bytes arrive.
    static constexpr std::int64_t kFrameGapMs = 500;

private:
    // Parses one frame from the front of the input; false when more bytes are needed.
    bool parseOne(std::vector<Reply>& out);
    void reply(unsigned step, std::vector<std::uint8_t> bytes, std::vector<Reply>& out);
    // True when this stored block is to be spoiled (counts the write step).
    bool corruptsWrite();
    void consume(std::size_t n);

    Config config_;
    Memory memory_{};
    Phase phase_ = Phase::Idle;
    Stats stats_;
    std::vector<std::uint8_t> input_;
    std::int64_t lastInputMs_ = 0;
    std::vector<int> seen_;  // per fault: occurrences of its steps so far
};

// Reads the optional where-clause of a fault: STEP[+STEP...][:SKIP[:COUNT]], STEP one
// of hello, ident, start, data, ack, acks, block, any. False on a malformed text.
bool parseFaultPlace(const std::string& text, Fault& fault);

}  // namespace baldo7::sim

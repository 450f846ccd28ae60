// baldo7-sim: a radio on a pseudo-terminal. Prints the device path as its first
// line, then answers the programming exchange until it is told to stop.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "baldo7_version.h"
#include "sim/memory_file.h"
#include "sim/pty_simulator.h"
#include "sim/sample_memory.h"

using namespace baldo7::sim;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitFile = 2;
constexpr int kExitPty = 3;
constexpr int kExitDump = 4;
constexpr int kReleaseTimeoutMs = 2000;

const char kHelp[] = R"(Usage: baldo7-sim [options]

A simulated BALDO-7 radio on a pseudo-terminal. The first line of output is the
device to open as the serial port (e.g. /dev/pts/3); the radio then answers the
programming exchange from its own 4096 bytes of memory until SIGINT or SIGTERM.

Memory:
  --load FILE          load memory: a .rdat data file or a 1041-byte template
                       fills 0x000-0x3FF from its image; any other file of at
                       most 4096 bytes is a raw dump loaded from 0x000
  --fill BYTE          value of every byte the file does not set; without it
                       the memory is 0xFF with a sample radio's service data
                       (dealer record, stun/die and special option blocks,
                       tune tables in 0x300-0x3FF) under what the file sets
  --dump FILE          write the 4096-byte memory to FILE after every session
                       and when the simulator exits (also on SIGINT/SIGTERM)
  --once               exit when the first session ends (the program's end byte,
                       or its refusal at the band question)

Line and identification:
  --pace               take 10 bits at 9600 baud for every byte, both ways
  --model-digit BYTE   identification reply byte 1 (default: memory byte 441,
                       the radio's own model digit; 0x32 is VHF)
  --special-code BYTE  identification reply byte 3 (default 0x31; 0x30 = the
                       radio has no special code)
  --ident HEX          the whole 8-byte identification reply as 16 hex digits
                       (bytes 1 and 3 still follow the two options above)

Faults (each may be given several times; --at applies to the one before it):
  --silent             send no reply
  --nak                send 0x15 instead of the reply (default place: acks)
  --wrong-byte[=BYTE]  replace the reply's first byte (default 0x00)
  --block-address ADDR a data block names ADDR instead of the requested
                       address; its bytes are still the requested ones
                       (default place: data)
  --impossible-address the same with 0xFFF0, outside the radio's memory
  --cut[=N]            send only the first N bytes of a reply (default 10;
                       default place: data)
  --delay MS           send the reply MS milliseconds late
  --stray[=BYTE]       send a lone BYTE (default 0x06) just ahead of the reply
                       (default place: ident+data)
  --corrupt-write      store a written block with its first byte inverted, and
                       still acknowledge it (place: write, the blocks stored)
  --at PLACE           where the fault strikes: STEP[+STEP...][:SKIP[:COUNT]]
                       STEP: hello (ACK to the identification string), ident
                       (identification reply), start (ACK opening the block
                       phase), data (data block answering a read request), ack
                       (block-phase ACK), acks (hello+start+ack), block
                       (data+ack), write (a written block stored), any. Replies of those steps are counted over
                       the simulator's life: the first SKIP pass, then COUNT
                       are spoiled (0 or none: all the rest). Default: any.
  Example: --nak --at hello:0:3   refuses the first three identification
           strings, then behaves.  --cut --at data:5:1   cuts the sixth
           data block short once.  --delay 1100 --at start:0:2   answers
           the first two block phases 1.1 s late, after the program's timeout.
           --corrupt-write --at write:5:1   stores the sixth block written
           wrongly (0x0050 in a plain write).

  -h, --help           show this help
  -v, --version        show the version

Numbers take C notation (0x32, 50). Exit status: 0 stopped normally, 1 bad
usage, 2 memory file refused, 3 no pseudo-terminal, 4 dump not written.
)";

bool parseNumber(const std::string& text, long low, long high, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || v < low || v > high) return false;
    value = v;
    return true;
}

bool parseIdent(const std::string& hex, std::array<std::uint8_t, 8>& ident) {
    if (hex.size() != 16) return false;
    for (std::size_t i = 0; i < 8; ++i) {
        long v = 0;
        if (!std::isxdigit(static_cast<unsigned char>(hex[2 * i])) ||
            !std::isxdigit(static_cast<unsigned char>(hex[2 * i + 1])) ||
            !parseNumber("0x" + hex.substr(2 * i, 2), 0, 255, v))
            return false;
        ident[i] = static_cast<std::uint8_t>(v);
    }
    return true;
}

struct Options {
    Config config;
    std::string load;
    std::string dump;
    std::uint8_t fill = 0xFF;
    bool sample = true;  // no --fill: the sample service data
    bool once = false;
    bool pace = false;
};

int usage(const std::string& message) {
    std::fprintf(stderr, "baldo7-sim: %s\nTry 'baldo7-sim --help'.\n", message.c_str());
    return kExitUsage;
}

// Returns -1 when the options are good, otherwise the exit code.
int parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        bool hasValue = false;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            hasValue = true;
        }
        auto need = [&](std::string& out) {
            if (hasValue) {
                out = value;
                return true;
            }
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        auto addFault = [&](FaultKind kind, unsigned steps) -> Fault& {
            Fault f;
            f.kind = kind;
            f.steps = steps;
            o.config.faults.push_back(f);
            return o.config.faults.back();
        };
        long n = 0;
        std::string v;

        if (arg == "-h" || arg == "--help") {
            std::fputs(kHelp, stdout);
            std::exit(kExitOk);
        } else if (arg == "-v" || arg == "--version") {
            std::fputs("baldo7-sim " BALDO7_VERSION_TEXT "\n", stdout);
            std::exit(kExitOk);
        } else if (arg == "--load") {
            if (!need(o.load)) return usage("--load needs a file");
        } else if (arg == "--dump") {
            if (!need(o.dump)) return usage("--dump needs a file");
        } else if (arg == "--fill") {
            if (!need(v) || !parseNumber(v, 0, 255, n)) return usage("--fill needs a byte");
            o.fill = static_cast<std::uint8_t>(n);
            o.sample = false;
        } else if (arg == "--once") {
            o.once = true;
        } else if (arg == "--pace") {
            o.pace = true;
        } else if (arg == "--model-digit") {
            if (!need(v) || !parseNumber(v, 0, 255, n)) return usage("--model-digit needs a byte");
            o.config.modelDigit = static_cast<std::uint8_t>(n);
        } else if (arg == "--special-code") {
            if (!need(v) || !parseNumber(v, 0, 255, n)) return usage("--special-code needs a byte");
            o.config.specialCode = static_cast<std::uint8_t>(n);
        } else if (arg == "--ident") {
            if (!need(v) || !parseIdent(v, o.config.ident))
                return usage("--ident needs 16 hex digits");
        } else if (arg == "--silent") {
            addFault(FaultKind::Silence, kStepAny);
        } else if (arg == "--nak") {
            addFault(FaultKind::Nak, kStepAcks);
        } else if (arg == "--wrong-byte") {
            if (hasValue && !parseNumber(value, 0, 255, n))
                return usage("--wrong-byte takes a byte");
            addFault(FaultKind::WrongFirstByte, kStepAny).value =
                static_cast<std::uint8_t>(hasValue ? n : 0);
        } else if (arg == "--block-address") {
            if (!need(v) || !parseNumber(v, 0, 0xFFFF, n))
                return usage("--block-address needs an address (0x0000-0xFFFF)");
            addFault(FaultKind::BlockAddress, kStepData).address = static_cast<std::uint16_t>(n);
        } else if (arg == "--impossible-address") {
            addFault(FaultKind::BlockAddress, kStepData).address = kImpossibleAddress;
        } else if (arg == "--cut") {
            if (hasValue && !parseNumber(value, 0, 19, n)) return usage("--cut takes 0 to 19");
            addFault(FaultKind::CutShort, kStepData).keep = hasValue ? static_cast<int>(n) : 10;
        } else if (arg == "--delay") {
            if (!need(v) || !parseNumber(v, 0, 3600000, n)) return usage("--delay needs ms");
            addFault(FaultKind::Delay, kStepAny).delayMs = static_cast<int>(n);
        } else if (arg == "--stray") {
            if (hasValue && !parseNumber(value, 0, 255, n)) return usage("--stray takes a byte");
            addFault(FaultKind::Stray, kStepIdent | kStepData).value =
                static_cast<std::uint8_t>(hasValue ? n : baldo7::wire::kAck);
        } else if (arg == "--corrupt-write") {
            addFault(FaultKind::CorruptWrite, kStepWrite);
        } else if (arg == "--at") {
            if (o.config.faults.empty()) return usage("--at must follow a fault option");
            if (!need(v) || !parseFaultPlace(v, o.config.faults.back()))
                return usage("--at needs STEP[+STEP...][:SKIP[:COUNT]]");
        } else {
            return usage("unknown option " + arg);
        }
    }
    return -1;
}

bool dumpMemory(const Options& o, const PtySimulator& sim) {
    if (o.dump.empty()) return true;
    std::string error;
    if (writeMemoryDump(o.dump, sim.memory(), &error)) return true;
    std::fprintf(stderr, "baldo7-sim: cannot write %s: %s\n", o.dump.c_str(), error.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (const int rc = parseOptions(argc, argv, o); rc >= 0) return rc;

    Memory memory;
    memory.fill(o.fill);
    if (o.sample) {
        fillSampleServiceData(memory);
        fillSampleTuneData(memory);
    }
    if (!o.load.empty()) {
        std::string error;
        if (!loadMemoryFile(o.load, memory, &error)) {
            std::fprintf(stderr, "baldo7-sim: cannot load %s: %s\n", o.load.c_str(), error.c_str());
            return kExitFile;
        }
    }

    // Signals are taken synchronously below; block them before the worker
    // thread exists so it inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) sigaddset(&signals, s);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    PtySimulator sim(o.config);
    sim.setMemory(memory);
    sim.setPaced(o.pace);
    // The worker only signals; files are written on this thread.
    sim.setSessionEndHandler([](bool) { ::kill(::getpid(), SIGUSR1); });
    std::string error;
    if (!sim.start(&error)) {
        std::fprintf(stderr, "baldo7-sim: %s\n", error.c_str());
        return kExitPty;
    }
    std::printf("%s\n", sim.devicePath().c_str());
    std::fflush(stdout);

    bool dumped = true;
    for (;;) {
        int sig = 0;
        if (sigwait(&signals, &sig) != 0) continue;
        if (sig != SIGUSR1) break;
        dumped = dumpMemory(o, sim);
        if (o.once) break;
    }
    // After the session the program still pauses before it closes the port;
    // leaving first would pull the line from under it.
    if (o.once)
        sim.stopWhenReleased(kReleaseTimeoutMs);
    else
        sim.stop();
    dumped = dumpMemory(o, sim) && dumped;
    return dumped ? kExitOk : kExitDump;
}

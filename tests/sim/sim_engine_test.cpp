#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "core/data_file.h"
#include "sim/memory_file.h"
#include "sim/radio_simulator.h"

using namespace baldo7::sim;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes flat(const std::vector<Reply>& replies) {
    Bytes out;
    for (const Reply& r : replies) out.insert(out.end(), r.bytes.begin(), r.bytes.end());
    return out;
}

Bytes identString() {
    return Bytes(kIdentification, kIdentification + kIdentificationSize);
}

Bytes dataFrame(std::uint16_t address, const Bytes& data) {
    Bytes f{kData, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
            0x10};
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

Memory pattern() {
    Memory m;
    for (std::size_t i = 0; i < m.size(); ++i) m[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return m;
}

Bytes slice(const Memory& m, std::size_t from, std::size_t n = kBlockSize) {
    return Bytes(m.begin() + from, m.begin() + from + n);
}

TEST(SimEngine, AnswersHandshakeAndBlockFramesExactly) {
    Config c;
    c.specialCode = 0x30;
    RadioSimulator r(c);
    r.memory() = pattern();
    r.memory()[kModelDigitAddress] = 0x33;

    EXPECT_EQ(flat(r.receive(identString(), 0)), Bytes{kAck});
    EXPECT_EQ(flat(r.receive({kStx}, 0)), (Bytes{'I', 0x33, '0', 0x30, '0', '0', '0', '0'}));
    EXPECT_EQ(flat(r.receive({kAck}, 0)), Bytes{kAck});

    const Memory before = r.memory();
    EXPECT_EQ(flat(r.receive({kRead, 0x0A, 0x80, 0x10}, 0)),
              dataFrame(0x0A80, slice(before, 0x0A80)));
    EXPECT_EQ(flat(r.receive({kAck}, 0)), Bytes{kAck});

    const Bytes block{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(flat(r.receive(dataFrame(0x02F0, block), 0)), Bytes{kAck});
    EXPECT_EQ(slice(r.memory(), 0x02F0), block);
    EXPECT_EQ(slice(r.memory(), 0x02E0, 16), slice(before, 0x02E0, 16));
    EXPECT_EQ(slice(r.memory(), 0x0300, 16), slice(before, 0x0300, 16));

    EXPECT_TRUE(r.receive({kEnd}, 0).empty());
    EXPECT_EQ(r.phase(), Phase::Idle);
    EXPECT_EQ(r.stats().sessionsEnded, 1);
    EXPECT_TRUE(r.stats().lastEndCompleted);
    EXPECT_EQ(r.stats().blocksRead, 1);
    EXPECT_EQ(r.stats().blocksWritten, 1);

    // The model digit follows memory unless configured.
    c.modelDigit = 0x32;
    RadioSimulator vhf(c);
    vhf.receive(identString(), 0);
    EXPECT_EQ(flat(vhf.receive({kStx}, 0))[1], 0x32);
}

TEST(SimEngine, FramingSurvivesSplitsNoiseAndBadAddresses) {
    RadioSimulator r;
    r.memory() = pattern();
    const Memory before = r.memory();

    // Nothing is answered before the handshake, noise is skipped, and the
    // identification string may come a byte at a time.
    EXPECT_TRUE(r.receive({kRead, 0, 0, 0x10}, 0).empty());
    EXPECT_TRUE(r.receive(dataFrame(0, Bytes(16, 0)), 0).empty());
    EXPECT_TRUE(r.receive({'x', 'H', 'X', 'H'}, 0).empty());
    const Bytes id = identString();
    for (std::size_t i = 0; i + 1 < id.size(); ++i) EXPECT_TRUE(r.receive({id[i]}, 0).empty());
    EXPECT_EQ(flat(r.receive({id.back()}, 0)), Bytes{kAck});
    EXPECT_EQ(r.memory(), before);
    r.receive({kStx}, 0);
    r.receive({kAck}, 0);

    // Block data that spells the identification string is data.
    Bytes payload = identString();
    payload.resize(16, 0xAA);
    EXPECT_EQ(flat(r.receive(dataFrame(0x0100, payload), 0)), Bytes{kAck});
    EXPECT_EQ(slice(r.memory(), 0x0100), payload);
    EXPECT_EQ(r.stats().sessionsStarted, 1);

    // Blocks that do not fit the 4 KiB memory, or claim another length, are refused.
    const Memory kept = r.memory();
    EXPECT_EQ(flat(r.receive({kRead, 0x0F, 0xF8, 0x10}, 0)), Bytes{kNak});
    EXPECT_EQ(flat(r.receive({kRead, 0x10, 0x00, 0x10}, 0)), Bytes{kNak});
    EXPECT_EQ(flat(r.receive({kRead, 0x00, 0x00, 0x08}, 0)), Bytes{kNak});
    EXPECT_EQ(flat(r.receive(dataFrame(0xFFF0, Bytes(16, 0)), 0)), Bytes{kNak});
    EXPECT_EQ(flat(r.receive(dataFrame(0x0FF8, Bytes(16, 0)), 0)), Bytes{kNak});
    EXPECT_EQ(r.memory(), kept);
    EXPECT_EQ(r.stats().framesRefused, 5);

    // A frame abandoned half way does not swallow the next restart.
    EXPECT_TRUE(r.receive({kData, 0x01, 0x00, 0x10, 1, 2, 3}, 1000).empty());
    EXPECT_EQ(flat(r.receive(identString(), 1000 + RadioSimulator::kFrameGapMs + 1)), Bytes{kAck});
    EXPECT_EQ(r.phase(), Phase::AwaitStx);

    // Declining at the band question ends the session without a block.
    r.receive({kStx}, 2000);
    EXPECT_TRUE(r.receive({kEnd}, 2000).empty());
    EXPECT_EQ(r.stats().sessionsEnded, 1);
    EXPECT_FALSE(r.stats().lastEndCompleted);
}

// A two-block read session; each fault must spoil exactly the replies it names.
TEST(SimEngine, EachFaultSpoilsTheChosenReplies) {
    const std::vector<Bytes> script = {
        identString(), {kStx}, {kAck}, {kRead, 0, 0, 0x10}, {kAck}, {kRead, 0, 0x10, 0x10}, {kAck},
    };
    enum { kHello, kIdent, kStart, kData0, kAck0, kData1, kAck1 };
    auto run = [&](const Config& c) {
        RadioSimulator r(c);
        r.memory() = pattern();
        std::vector<std::vector<Reply>> out;
        for (const Bytes& b : script) out.push_back(r.receive(b, 0));
        return out;
    };
    const auto clean = run({});

    auto fault = [](FaultKind kind, unsigned steps, auto tweak) {
        Fault f;
        f.kind = kind;
        f.steps = steps;
        tweak(f);
        return f;
    };
    auto none = [](Fault&) {};
    using Edit = std::function<void(int step, Reply& r, bool& sent)>;
    struct Case {
        const char* name;
        Fault fault;
        Edit edit;
    } cases[] = {
        {"silence", fault(FaultKind::Silence, kStepAny, none),
         [](int, Reply&, bool& sent) { sent = false; }},
        {"nak on acks", fault(FaultKind::Nak, kStepAcks, none),
         [](int s, Reply& r, bool&) {
             if (s == kHello || s == kStart || s == kAck0 || s == kAck1) r.bytes = {kNak};
         }},
        {"wrong first byte of data", fault(FaultKind::WrongFirstByte, kStepData, none),
         [](int s, Reply& r, bool&) {
             if (s == kData0 || s == kData1) r.bytes[0] = 0x00;
         }},
        {"second block names 0x0050",
         fault(FaultKind::BlockAddress, kStepData,
               [](Fault& f) {
                   f.address = 0x0050;
                   f.skip = 1;
                   f.count = 1;
               }),
         [](int s, Reply& r, bool&) {
             if (s == kData1) r.bytes[2] = 0x50;
         }},
        {"impossible address", fault(FaultKind::BlockAddress, kStepData, none),
         [](int s, Reply& r, bool&) {
             if (s != kData0 && s != kData1) return;
             r.bytes[1] = 0xFF;
             r.bytes[2] = 0xF0;
         }},
        {"cut short", fault(FaultKind::CutShort, kStepBlock, [](Fault& f) { f.keep = 10; }),
         [](int s, Reply& r, bool&) {
             if (s >= kData0) r.bytes.resize(std::min<std::size_t>(r.bytes.size(), 10));
         }},
        {"cut to nothing", fault(FaultKind::CutShort, kStepIdent, [](Fault& f) { f.keep = 0; }),
         [](int s, Reply&, bool& sent) {
             if (s == kIdent) sent = false;
         }},
        {"delayed acks", fault(FaultKind::Delay, kStepAck, [](Fault& f) { f.delayMs = 1500; }),
         [](int s, Reply& r, bool&) {
             if (s == kAck0 || s == kAck1) r.delayMs = 1500;
         }},
    };
    for (const Case& c : cases) {
        Config config;
        config.faults = {c.fault};
        const auto got = run(config);
        for (int s = 0; s < static_cast<int>(script.size()); ++s) {
            Reply expected = clean[s].at(0);
            bool sent = true;
            c.edit(s, expected, sent);
            ASSERT_EQ(got[s].size(), sent ? 1u : 0u) << c.name << " step " << s;
            if (!sent) continue;
            EXPECT_EQ(got[s][0].bytes, expected.bytes) << c.name << " step " << s;
            EXPECT_EQ(got[s][0].delayMs, expected.delayMs) << c.name << " step " << s;
        }
    }
}

TEST(SimEngine, FaultPlaceCountsOccurrencesOverTheSimulatorsLife) {
    Fault f;
    f.kind = FaultKind::Nak;
    ASSERT_TRUE(parseFaultPlace("hello:1:2", f));
    Config c;
    c.faults = {f};
    RadioSimulator r(c);
    Bytes answers;
    for (int i = 0; i < 4; ++i) answers.push_back(flat(r.receive(identString(), 0)).at(0));
    EXPECT_EQ(answers, (Bytes{kAck, kNak, kNak, kAck}));

    struct Place {
        const char* text;
        bool ok;
        unsigned steps;
        int skip, count;
    } places[] = {
        {"any", true, kStepAny, 0, 0},
        {"data:5", true, kStepData, 5, 0},
        {"hello+ack:0:3", true, kStepHello | kStepAck, 0, 3},
        {"block", true, kStepBlock, 0, 0},
        {"acks:2:1", true, kStepAcks, 2, 1},
        {"", false, 0, 0, 0},
        {"datum", false, 0, 0, 0},
        {"data:", false, 0, 0, 0},
        {"data:1:2:3", false, 0, 0, 0},
        {"data:-1", false, 0, 0, 0},
        {"hello+", false, 0, 0, 0},
    };
    for (const Place& p : places) {
        Fault g;
        EXPECT_EQ(parseFaultPlace(p.text, g), p.ok) << p.text;
        if (!p.ok) continue;
        EXPECT_EQ(g.steps, p.steps) << p.text;
        EXPECT_EQ(g.skip, p.skip) << p.text;
        EXPECT_EQ(g.count, p.count) << p.text;
    }
}

TEST(SimMemoryFile, LoadsDataFilesTemplatesAndDumps) {
    baldo7::RadioImage image;
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i ^ 0x5A);
    baldo7::SoftwareData software;
    software.fill(0x77);
    const Bytes rdat = baldo7::EncodeDataFile(image, software);
    const Bytes tmpl = baldo7::EncodeTemplate(image, software);
    Bytes badHeader = rdat;
    badHeader[0] = 'X';

    struct Case {
        const char* name;
        Bytes file;
        bool namedRdat;
        bool ok;
        std::size_t loaded;  // bytes from address 0 that come from the file
    } cases[] = {
        {"data file", rdat, true, true, 1024},
        {"data file, other name", rdat, false, true, 1024},
        {"template", tmpl, false, true, 1024},
        {"full dump", Bytes(4096, 0x11), false, true, 4096},
        {"short dump", Bytes(100, 0x22), false, true, 100},
        {"too large", Bytes(4097, 0x33), false, false, 0},
        {"named data file, bad header", badHeader, true, false, 0},
    };
    for (const Case& c : cases) {
        Memory m;
        m.fill(0xFF);
        std::string error;
        EXPECT_EQ(loadMemoryBytes(c.file, c.namedRdat, m, &error), c.ok) << c.name;
        EXPECT_EQ(error.empty(), c.ok) << c.name;
        for (std::size_t a = 0; a < m.size(); ++a) {
            const std::uint8_t want =
                a < c.loaded
                    ? (c.file.size() == 1057 || c.file.size() == 1041 ? image[a] : c.file[a])
                    : 0xFF;
            ASSERT_EQ(m[a], want) << c.name << " at " << a;
        }
    }

    const std::string path = ::testing::TempDir() + "sim_dump_test.bin";
    const Memory m = pattern();
    ASSERT_TRUE(writeMemoryDump(path, m, nullptr));
    Memory back{};
    ASSERT_TRUE(loadMemoryFile(path, back, nullptr));
    EXPECT_EQ(back, m);
    std::remove(path.c_str());
}

}  // namespace

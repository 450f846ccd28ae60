#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "core/data_file.h"
#include "sim/memory_file.h"
#include "sim/radio_simulator.h"

using namespace baldo7::sim;
namespace wire = baldo7::wire;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes flat(const std::vector<Reply>& replies) {
    Bytes out;
    for (const Reply& r : replies) out.insert(out.end(), r.bytes.begin(), r.bytes.end());
    return out;
}

Bytes identString() {
    return Bytes(wire::kIdentification, wire::kIdentification + wire::kIdentificationSize);
}

Bytes dataFrame(std::uint16_t address, const Bytes& data) {
    Bytes f{wire::kDataBlock, static_cast<std::uint8_t>(address >> 8),
            static_cast<std::uint8_t>(address), 0x10};
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

Memory pattern() {
    Memory m;
    for (std::size_t i = 0; i < m.size(); ++i) m[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return m;
}

Bytes slice(const Memory& m, std::size_t from, std::size_t n = baldo7::kBlockSize) {
    return Bytes(m.begin() + from, m.begin() + from + n);
}

TEST(SimEngine, AnswersHandshakeAndBlockFramesExactly) {
    Config c;
    c.specialCode = 0x30;
    RadioSimulator r(c);
    r.memory() = pattern();
    r.memory()[baldo7::addr::kModelDigit] = 0x33;

    EXPECT_EQ(flat(r.receive(identString(), 0)), Bytes{wire::kAck});
    EXPECT_EQ(flat(r.receive({wire::kStart}, 0)),
              (Bytes{'I', 0x33, '0', 0x30, '0', '0', '0', '0'}));
    EXPECT_EQ(flat(r.receive({wire::kAck}, 0)), Bytes{wire::kAck});

    const Memory before = r.memory();
    EXPECT_EQ(flat(r.receive({wire::kReadRequest, 0x0A, 0x80, 0x10}, 0)),
              dataFrame(0x0A80, slice(before, 0x0A80)));
    EXPECT_EQ(flat(r.receive({wire::kAck}, 0)), Bytes{wire::kAck});

    const Bytes block{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(flat(r.receive(dataFrame(0x02F0, block), 0)), Bytes{wire::kAck});
    EXPECT_EQ(slice(r.memory(), 0x02F0), block);
    EXPECT_EQ(slice(r.memory(), 0x0300, 16), slice(before, 0x0300, 16));

    EXPECT_TRUE(r.receive({wire::kEnd}, 0).empty());
    EXPECT_EQ(r.phase(), Phase::Idle);
    EXPECT_EQ(r.stats().sessionsEnded, 1);
    EXPECT_TRUE(r.stats().lastEndCompleted);
    EXPECT_EQ(r.stats().blocksRead, 1);
    EXPECT_EQ(r.stats().blocksWritten, 1);

    // The model digit follows memory unless configured.
    c.modelDigit = 0x32;
    RadioSimulator vhf(c);
    vhf.receive(identString(), 0);
    EXPECT_EQ(flat(vhf.receive({wire::kStart}, 0))[1], 0x32);
}

TEST(SimEngine, FramingSurvivesSplitsNoiseAndBadAddresses) {
    RadioSimulator r;
    r.memory() = pattern();
    const Memory before = r.memory();

    // Nothing is answered before the handshake, noise is skipped, and the
    // identification string may come a byte at a time.
    EXPECT_TRUE(r.receive({wire::kReadRequest, 0, 0, 0x10}, 0).empty());
    EXPECT_TRUE(r.receive(dataFrame(0, Bytes(16, 0)), 0).empty());
    EXPECT_TRUE(r.receive({'x', 'H', 'X', 'H'}, 0).empty());
    const Bytes id = identString();
    for (std::size_t i = 0; i + 1 < id.size(); ++i) EXPECT_TRUE(r.receive({id[i]}, 0).empty());
    EXPECT_EQ(flat(r.receive({id.back()}, 0)), Bytes{wire::kAck});
    EXPECT_EQ(r.memory(), before);
    r.receive({wire::kStart}, 0);
    r.receive({wire::kAck}, 0);

    // Block data that spells the identification string is data.
    Bytes payload = identString();
    payload.resize(16, 0xAA);
    EXPECT_EQ(flat(r.receive(dataFrame(0x0100, payload), 0)), Bytes{wire::kAck});
    EXPECT_EQ(slice(r.memory(), 0x0100), payload);
    EXPECT_EQ(r.stats().sessionsStarted, 1);

    // Blocks that do not fit the 4 KiB memory, or claim another length, are refused.
    const Memory kept = r.memory();
    EXPECT_EQ(flat(r.receive({wire::kReadRequest, 0x0F, 0xF8, 0x10}, 0)), Bytes{wire::kNak});
    EXPECT_EQ(flat(r.receive({wire::kReadRequest, 0x00, 0x00, 0x08}, 0)), Bytes{wire::kNak});
    EXPECT_EQ(flat(r.receive(dataFrame(0xFFF0, Bytes(16, 0)), 0)), Bytes{wire::kNak});
    EXPECT_EQ(r.memory(), kept);
    EXPECT_EQ(r.stats().framesRefused, 3);

    // A frame abandoned half way does not swallow the next restart.
    EXPECT_TRUE(r.receive({wire::kDataBlock, 0x01, 0x00, 0x10, 1, 2, 3}, 1000).empty());
    EXPECT_EQ(flat(r.receive(identString(), 1000 + RadioSimulator::kFrameGapMs + 1)),
              Bytes{wire::kAck});
    EXPECT_EQ(r.phase(), Phase::AwaitStx);

    // Declining at the band question ends the session without a block.
    r.receive({wire::kStart}, 2000);
    EXPECT_TRUE(r.receive({wire::kEnd}, 2000).empty());
    EXPECT_EQ(r.stats().sessionsEnded, 1);
    EXPECT_FALSE(r.stats().lastEndCompleted);
}

// A two-block read session; each fault must spoil exactly the replies it names.
TEST(SimEngine, EachFaultSpoilsTheChosenReplies) {
    const std::vector<Bytes> script = {
        identString(), {wire::kStart},
        {wire::kAck},  {wire::kReadRequest, 0, 0, 0x10},
        {wire::kAck},  {wire::kReadRequest, 0, 0x10, 0x10},
        {wire::kAck},
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

    auto fault = [](FaultKind kind, unsigned steps) {
        Fault f;
        f.kind = kind;
        f.steps = steps;
        return f;
    };
    Fault secondNames50 = fault(FaultKind::BlockAddress, kStepData);
    secondNames50.address = 0x0050;
    secondNames50.skip = 1;
    secondNames50.count = 1;
    Fault cut = fault(FaultKind::CutShort, kStepBlock);
    Fault cutAll = fault(FaultKind::CutShort, kStepIdent);
    cutAll.keep = 0;
    Fault delay = fault(FaultKind::Delay, kStepAck);
    delay.delayMs = 1500;
    Fault stray = fault(FaultKind::Stray, kStepIdent | kStepData);
    stray.value = wire::kAck;

    constexpr unsigned kAll = 0x7F, kData = 1 << kData0 | 1 << kData1;
    constexpr unsigned kAcks = 1 << kHello | 1 << kStart | 1 << kAck0 | 1 << kAck1;
    struct Case {
        const char* name;
        Fault fault;
        unsigned hit;  // script steps whose reply changes; empty bytes: none sent
        std::function<void(Reply&)> edit;
    } cases[] = {
        {"silence", fault(FaultKind::Silence, kStepAny), kAll, [](Reply& r) { r.bytes.clear(); }},
        {"nak on acks", fault(FaultKind::Nak, kStepAcks), kAcks,
         [](Reply& r) { r.bytes = {wire::kNak}; }},
        {"wrong first byte", fault(FaultKind::WrongFirstByte, kStepData), kData,
         [](Reply& r) { r.bytes[0] = 0x00; }},
        {"second block names 0x0050", secondNames50, 1 << kData1,
         [](Reply& r) { r.bytes[2] = 0x50; }},
        {"impossible address", fault(FaultKind::BlockAddress, kStepData), kData,
         [](Reply& r) {
             r.bytes[1] = 0xFF;
             r.bytes[2] = 0xF0;
         }},
        {"cut short", cut, kData | 1 << kAck0 | 1 << kAck1,
         [](Reply& r) { r.bytes.resize(std::min<std::size_t>(r.bytes.size(), 10)); }},
        {"cut to nothing", cutAll, 1 << kIdent, [](Reply& r) { r.bytes.clear(); }},
        {"delayed acks", delay, 1 << kAck0 | 1 << kAck1, [](Reply& r) { r.delayMs = 1500; }},
        {"stray ACK ahead", stray, 1 << kIdent | kData,
         [](Reply& r) { r.bytes.insert(r.bytes.begin(), wire::kAck); }},
    };
    for (const Case& c : cases) {
        Config config;
        config.faults = {c.fault};
        const auto got = run(config);
        for (int s = 0; s < static_cast<int>(script.size()); ++s) {
            Reply expected = clean[s].at(0);
            if (c.hit & 1u << s) c.edit(expected);
            ASSERT_EQ(got[s].size(), expected.bytes.empty() ? 0u : 1u) << c.name << " " << s;
            if (expected.bytes.empty()) continue;
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
    EXPECT_EQ(answers, (Bytes{wire::kAck, wire::kNak, wire::kNak, wire::kAck}));

    Fault g;
    ASSERT_TRUE(parseFaultPlace("hello+data:2", g));
    EXPECT_EQ(g.steps, kStepHello | kStepData);
    EXPECT_EQ(g.skip, 2);
    EXPECT_EQ(g.count, 0);
    for (const char* bad : {"", "datum", "data:", "data:1:2:3", "data:-1", "hello+"})
        EXPECT_FALSE(parseFaultPlace(bad, g)) << bad;
}

TEST(SimMemoryFile, LoadsDataFilesTemplatesAndDumps) {
    baldo7::RadioImage image;
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i ^ 0x5A);
    const baldo7::SoftwareData software{};
    const Bytes rdat = baldo7::EncodeDataFile(image, software);
    Bytes badHeader = rdat;
    badHeader[0] = 'X';
    const Bytes imageBytes(image.begin(), image.end());

    struct Case {
        const char* name;
        Bytes file;
        bool namedRdat;
        bool ok;
        Bytes expectedFront;  // memory from 0x000 on; the rest keeps its fill
    } cases[] = {
        {"data file", rdat, true, true, imageBytes},
        {"template", baldo7::EncodeTemplate(image, software), false, true, imageBytes},
        {"short dump", Bytes(100, 0x22), false, true, Bytes(100, 0x22)},
        {"too large", Bytes(4097, 0x33), false, false, {}},
        {"named data file, bad header", badHeader, true, false, {}},
    };
    for (const Case& c : cases) {
        Memory m;
        m.fill(0xFF);
        std::string error;
        EXPECT_EQ(loadMemoryBytes(c.file, c.namedRdat, m, &error), c.ok) << c.name;
        EXPECT_EQ(error.empty(), c.ok) << c.name;
        Bytes expected = c.expectedFront;
        expected.resize(baldo7::kRadioMemorySize, 0xFF);
        EXPECT_EQ(Bytes(m.begin(), m.end()), expected) << c.name;
    }
}

// The dump goes through a temporary file renamed over the old one, under a name
// outside ASCII (as many Windows user folders are), and reads back whole.
TEST(SimMemoryFile, DumpReplacesTheOldOneUnderAUtf8NameAndLoadsBack) {
    namespace fs = std::filesystem;
    const std::string dirName =
        "baldo7 \xe6\xb5\x8b\xe8\xaf\x95 " + std::to_string(std::random_device{}());
    const std::string dir = (fs::temp_directory_path() / fs::u8path(dirName)).u8string();
    const std::string fileName = "\xe9\xa2\x91\xe9\x81\x93.bin";
    const std::string path = dir + "/" + fileName;
    fs::create_directories(fs::u8path(dir));

    Memory first;
    first.fill(0x11);
    const Memory second = pattern();
    std::string error;
    ASSERT_TRUE(writeMemoryDump(path, first, &error)) << error;
    ASSERT_TRUE(writeMemoryDump(path, second, &error)) << error;

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::u8path(dir)))
        names.push_back(entry.path().filename().u8string());
    EXPECT_EQ(names, std::vector<std::string>{fileName});

    Memory loaded;
    loaded.fill(0);
    EXPECT_TRUE(loadMemoryFile(path, loaded, &error)) << error;
    EXPECT_EQ(loaded, second);

    EXPECT_FALSE(writeMemoryDump(dir + "/missing/x.bin", first, &error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(loadMemoryFile(dir + "/absent.bin", loaded, &error));
    EXPECT_FALSE(error.empty());
    fs::remove_all(fs::u8path(dir));
}

}  // namespace

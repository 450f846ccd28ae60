#include "link/exchange.h"

#include "tests/link_engine/fake_link.h"

using namespace baldo7;
using namespace baldo7::test;

namespace {

void fillPattern(RadioMemory& m, int offset) {
    for (int a = 0; a < 0x1000; ++a) m.set(a, static_cast<std::uint8_t>(a * 7 + offset));
}

Rig readRig() {
    Rig rig;
    rig.request = TransferRequest::read();
    fillPattern(rig.radio.memory, 3);
    return rig;
}

Rig writeRig() {
    Rig rig;
    rig.request = TransferRequest::write();
    fillPattern(rig.radio.memory, 0);
    for (int a = 0; a < 0x400; ++a) rig.doc.radioImage[a] = static_cast<std::uint8_t>(a ^ 0x5A);
    rig.doc.radioImage[addr::kModelDigit] = 0x32;
    return rig;
}

}  // namespace

TEST(Handshake, SilentRadioGetsElevenIdStringsOneSecondApart) {
    for (bool retryOnce : {false, true}) {
        Rig rig = readRig();
        rig.radio.fault = [](const Bytes&) { return Bytes{}; };
        if (retryOnce) rig.answers = {true};
        const ExchangeResult r = rig.run();
        const int rounds = retryOnce ? 2 : 1;
        ASSERT_EQ(rig.count(kIdString), 11 * rounds);
        for (int i = 0; i < 11; ++i) EXPECT_EQ(rig.sent[i].first, i * 1000L);
        EXPECT_EQ(rig.asked, std::vector<LinkQuestion>(rounds, LinkQuestion::Retry));
        EXPECT_EQ(r.outcome, ExchangeOutcome::Cancelled);
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(rig.portOpen);
    }
}

TEST(Handshake, WrongFirstByteRestartsAtOnceTenTimes) {
    for (std::uint8_t wrong : {0x15, 0x00, 0x45}) {
        Rig rig = readRig();
        rig.radio.fault = [wrong](const Bytes& f) -> std::optional<Bytes> {
            if (f == kIdString) return Bytes{wrong};
            return std::nullopt;
        };
        rig.run();
        EXPECT_EQ(rig.count(kIdString), 11);
        EXPECT_EQ(rig.sent.back().first, 0);  // no timeout involved
        EXPECT_EQ(rig.asked.size(), 1u);
    }
}

TEST(Handshake, PortThatDoesNotOpenSendsNothing) {
    Rig rig = readRig();
    rig.portOpens = false;
    rig.doc.IsEnglish = true;
    EXPECT_EQ(rig.run().outcome, ExchangeOutcome::PortFailed);
    EXPECT_EQ(rig.portMessage, "Please reselect COM port!");
    EXPECT_TRUE(rig.sent.empty());
    EXPECT_EQ(rig.clockMs, 1);
}

// After the handshake every failure asks at once; Cancel sends no end byte.
TEST(BlockPhase, FailureAsksAtOnce) {
    struct Case {
        const char* name;
        bool read;
        std::function<std::optional<Bytes>(const Bytes&)> fault;
    };
    const auto at = [](int address, Bytes reply) {
        return [address, reply](const Bytes& f) -> std::optional<Bytes> {
            if (f.size() >= 4 && (f[0] == 'R' || f[0] == 'W') && frameAddress(f) == address)
                return reply;
            return std::nullopt;
        };
    };
    const Case cases[] = {
        {"NAK to a read request", true, at(0x0100, {0x15})},
        {"silence after a read request", true, at(0x0100, {})},
        {"frame cut short", true, at(0x0100, {'W', 0x01, 0x00, 0x10, 1, 2, 3})},
        {"NAK to a data block", false, at(0x0100, {0x15})},
        {"silence after a data block", false, at(0x0100, {})},
        {"silence after the identification reply", true,
         [](const Bytes& f) -> std::optional<Bytes> {
             if (f == Bytes{wire::kAck}) return Bytes{};
             return std::nullopt;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig = c.read ? readRig() : writeRig();
        rig.radio.fault = c.fault;
        const RadioImage before = rig.doc.radioImage;
        EXPECT_EQ(rig.run().outcome, ExchangeOutcome::Cancelled);
        EXPECT_EQ(rig.count(kIdString), 1);
        EXPECT_EQ(rig.asked, std::vector<LinkQuestion>{LinkQuestion::Retry});
        EXPECT_EQ(rig.count({wire::kEnd}), 0);
        EXPECT_FALSE(rig.result->ok());
        if (c.read) {
            EXPECT_EQ(rig.doc.radioImage, before);
        }
    }
}

TEST(BlockPhase, RetryRestartsTheHandshakeAndTheRangeFromItsFirstBlock) {
    Rig rig = readRig();
    bool failed = false;
    rig.radio.fault = [&failed](const Bytes& f) -> std::optional<Bytes> {
        if (!failed && f.size() == 4 && frameAddress(f) == 0x0200) {
            failed = true;
            return Bytes{0x15};
        }
        return std::nullopt;
    };
    rig.answers = {true};
    EXPECT_EQ(rig.run().outcome, ExchangeOutcome::Done);
    EXPECT_EQ(rig.asked.size(), 1u);
    // The requests after the last identification string: the whole range again.
    std::size_t lastId = 0;
    for (std::size_t i = 0; i < rig.sent.size(); ++i)
        if (rig.sent[i].second == kIdString) lastId = i;
    std::vector<int> again;
    for (std::size_t i = lastId; i < rig.sent.size(); ++i)
        if (rig.sent[i].second[0] == 'R') again.push_back(frameAddress(rig.sent[i].second));
    ASSERT_EQ(again.size(), 64u);
    EXPECT_EQ(again.front(), 0x0000);
    EXPECT_EQ(again.back(), 0x03F0);
    EXPECT_EQ(rig.doc.radioImage, rig.radio.memory.image);
}

TEST(Identification, BandQuestionOnlyOnWritesAcrossModels) {
    struct Case {
        bool read;
        std::uint8_t imageDigit, radioDigit;
        bool asked;
    };
    const Case cases[] = {{false, 0x32, 0x33, true},
                          {false, 0x33, 0x32, true},
                          {false, 0x32, 0x32, false},
                          {false, 0x33, 0x34, false},
                          {true, 0x32, 0x33, false}};
    for (const Case& c : cases) {
        Rig rig = c.read ? readRig() : writeRig();
        rig.doc.radioImage[addr::kModelDigit] = c.imageDigit;
        rig.radio.modelDigit = c.radioDigit;
        rig.answers = {true};
        EXPECT_EQ(rig.run().outcome, ExchangeOutcome::Done);
        EXPECT_EQ(!rig.asked.empty(), c.asked);
    }
}

// The question says which side is which: the radio's model, the file and its band.
TEST(Identification, BandQuestionNamesBothSides) {
    const struct {
        bool english;
        std::string path;
        std::string asked;
    } cases[] = {
        {true, "/home/a/customer%1A.rdat",
         "Frequency band is different,Overwrite?\n"
         "The radio is UHF; the data to write (customer%1A.rdat) is VHF 136-174MHz."},
        {false, "",
         "与机器频段不同,是否覆盖？\n对讲机是 UHF；要写入的数据（未保存）是 VHF 136-174MHz。"},
    };
    for (const auto& c : cases) {
        Rig rig = writeRig();
        rig.doc.IsEnglish = c.english;
        rig.doc.CurrentFilePath = c.path;
        rig.doc.ModelType = "VHF";
        rig.doc.radioImage[addr::kModelDigit] = 0x32;
        rig.doc.radioImage[addr::kBandCode] = 0x01;
        rig.doc.BandLowMHz = 136;
        rig.doc.BandHighMHz = rig.doc.BandTxHighMHz = 174;
        rig.radio.modelDigit = 0x33;
        rig.answers = {false};
        EXPECT_EQ(rig.run().outcome, ExchangeOutcome::BandDeclined);
        ASSERT_EQ(rig.askedTexts.size(), 1u);
        EXPECT_EQ(rig.askedTexts[0], c.asked);
    }
}

TEST(Identification, DeclinedBandSendsEndInsteadOfAck) {
    Rig rig = writeRig();
    rig.radio.modelDigit = 0x33;
    rig.doc.SpecialCodeSupported = false;
    rig.radio.specialCode = 0x31;
    EXPECT_EQ(rig.run().outcome, ExchangeOutcome::BandDeclined);
    EXPECT_EQ(rig.sent.back().second, Bytes{wire::kEnd});
    EXPECT_TRUE(rig.framesStarting('W').empty());
    EXPECT_FALSE(rig.portOpen);
    EXPECT_FALSE(rig.doc.SpecialCodeSupported);  // left alone
}

TEST(Identification, SpecialCodeCapabilityFromReplyByteThree) {
    for (auto [code, expected] : {std::pair{0x30, false}, {0x31, true}, {0xFF, true}}) {
        Rig rig = readRig();
        rig.doc.SpecialCodeSupported = !expected;
        rig.radio.specialCode = static_cast<std::uint8_t>(code);
        rig.run();
        EXPECT_EQ(rig.doc.SpecialCodeSupported, expected);
    }
}

TEST(PlainRead, SixtyFourBlocksThenEnd) {
    Rig rig = readRig();
    rig.doc.IsEnglish = true;
    rig.radio.memory.set(addr::kModelDigit, 0x33);
    rig.radio.memory.set(addr::kBandCode, 0x93);  // 400-480 MHz
    rig.radio.memory.set(addr::kExtension, 1);
    const ServiceMemory serviceBefore = rig.doc.serviceMemory;
    const ExchangeResult r = rig.run();
    EXPECT_EQ(r.outcome, ExchangeOutcome::Done);
    EXPECT_EQ(r.text, "Read Data OK");
    const auto requests = rig.framesStarting('R');
    ASSERT_EQ(requests.size(), 64u);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(requests[i], ReadRequestFrame(i * 16));
    EXPECT_EQ(requests[63], (Bytes{0x52, 0x03, 0xF0, 0x10}));
    EXPECT_EQ(rig.sent.back().second, Bytes{wire::kEnd});
    EXPECT_EQ(rig.pauses, std::vector<int>{200});
    EXPECT_EQ(rig.doc.radioImage, rig.radio.memory.image);
    EXPECT_EQ(rig.doc.serviceMemory, serviceBefore);
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.reading());
    EXPECT_EQ(r.received.size(), 64u);
    EXPECT_TRUE(r.written.empty());
    // Model and band decoded again, with the band extension.
    EXPECT_EQ(rig.doc.BandLowMHz, 400);
    EXPECT_EQ(rig.doc.BandTxHighMHz, 520);
    // Progress at every ACK: 0 first, 100 only at the last.
    ASSERT_EQ(rig.labels.size(), 65u);
    EXPECT_EQ(rig.labels.front(), "Complete:%");
    EXPECT_EQ(rig.labels[1], "Complete:2%");
    EXPECT_EQ(rig.labels[8], "Complete:13%");
    EXPECT_EQ(rig.labels.back(), "Complete:100%");
    EXPECT_EQ(std::count(rig.labels.begin(), rig.labels.end(), "Complete:100%"), 1);
}

TEST(StagedRead, FailedOrCancelledReadLeavesTheDocumentAlone) {
    enum How { RetryCancelled, CancelButton, ImpossibleAddress };
    for (How how : {RetryCancelled, CancelButton, ImpossibleAddress}) {
        Rig rig = readRig();
        rig.request.area = TransferArea::Tune;  // image and service memory both in play
        fillPattern(rig.radio.memory, 9);
        rig.doc.serviceMemory.fill(0xEE);
        const Document before = rig.doc;
        rig.radio.fault = [how](const Bytes& f) -> std::optional<Bytes> {
            if (how == RetryCancelled && f.size() == 4 && frameAddress(f) == 0x0800)
                return Bytes{0x15};
            if (how == ImpossibleAddress && f.size() == 4 && frameAddress(f) == 0x0800) {
                Bytes b(20, 0xAB);
                b[0] = 'W', b[1] = 0x0F, b[2] = 0xF8;  // its last bytes would be 0x1000..
                return b;
            }
            return std::nullopt;
        };
        if (how == CancelButton)
            rig.afterSend = [](Exchange& ex) {
                if (ex.state().BlockAddrHigh == 0x08) ex.cancel();
            };
        const ExchangeResult r = rig.run();
        EXPECT_EQ(r.outcome,
                  how == CancelButton ? ExchangeOutcome::Aborted : ExchangeOutcome::Cancelled);
        EXPECT_EQ(rig.doc.radioImage, before.radioImage);
        EXPECT_EQ(rig.doc.serviceMemory, before.serviceMemory);
        EXPECT_FALSE(rig.portOpen);
        // Blocks came in before the end, and stayed out of the document.
        EXPECT_FALSE(r.received.empty());
    }
}

TEST(StagedRead, BlockIsStoredAtTheAddressTheRadioNames) {
    Rig rig = readRig();
    rig.radio.fault = [](const Bytes& f) -> std::optional<Bytes> {
        if (f.size() == 4 && frameAddress(f) == 0x0010) {
            Bytes b(20, 0xC3);
            b[0] = 'W', b[1] = 0x0F, b[2] = 0xF0;  // the last block with storage
            return b;
        }
        return std::nullopt;
    };
    const RadioImage before = rig.doc.radioImage;
    EXPECT_TRUE(rig.run().ok());
    EXPECT_EQ(rig.doc.serviceMemory[0x0FF0 - kServiceBase], 0xC3);
    EXPECT_EQ(rig.doc.serviceMemory[0x0FFF - kServiceBase], 0xC3);
    EXPECT_EQ(rig.doc.radioImage[0x0010], before[0x0010]);  // never came
    EXPECT_EQ(rig.doc.radioImage[0x0020], rig.radio.memory.at(0x0020));
}

TEST(Exchange, BytesAfterTheEndAreIgnored) {
    Rig rig = readRig();
    rig.radio.fault = [](const Bytes& f) -> std::optional<Bytes> {
        if (f.size() == 4 && frameAddress(f) == 0x0040) return Bytes{0x15};
        return std::nullopt;
    };
    Exchange ex(rig.doc, rig, rig.request);
    rig.current = &ex;
    ex.start();
    while (!ex.state().LinkDone && rig.step(ex)) {
    }
    const std::size_t sends = rig.sent.size();
    Bytes late(20, 0x77);
    late[0] = 'W';
    ex.onBytesReceived(late);  // a block arriving after Cancel
    EXPECT_EQ(rig.sent.size(), sends);
    while (rig.step(ex)) {
    }
    ASSERT_TRUE(rig.result);
    EXPECT_EQ(rig.result->outcome, ExchangeOutcome::Cancelled);
    EXPECT_NE(rig.doc.radioImage[0], 0x77);
}

TEST(PlainWrite, FortyEightBlocksWithVoxClearedAndPassword) {
    for (bool changePassword : {false, true}) {
        Rig rig = writeRig();
        rig.doc.radioImage[addr::kVox] = 0xA7;
        rig.doc.ChangePasswordFlag = changePassword;
        rig.doc.NewPassword = "1234";
        const ExchangeResult r = rig.run();
        EXPECT_EQ(r.outcome, ExchangeOutcome::Done);
        EXPECT_EQ(rig.doc.radioImage[addr::kVox], 0xA0);
        const auto blocks = rig.framesStarting('W');
        ASSERT_EQ(blocks.size(), 48u);
        for (int i = 0; i < 47; ++i)
            EXPECT_EQ(blocks[i], DataBlockFrame(i * 16, rig.doc.radioImage, rig.doc.serviceMemory));
        Bytes last = DataBlockFrame(0x02F0, rig.doc.radioImage, rig.doc.serviceMemory);
        if (changePassword) std::copy_n("1234\xFF\xFF", 6, last.begin() + 4);
        EXPECT_EQ(blocks[47], last);
        EXPECT_EQ(rig.sent.back().second, Bytes{wire::kEnd});
        EXPECT_EQ(rig.doc.radioImage[0x02F0], (0x02F0 ^ 0x5A) & 0xFF);  // only the frame changed
        EXPECT_EQ(rig.radio.memory.at(0x0300), RadioMemory{}.at(0x0300) + 0);
    }
}

TEST(RangeWrites, TuneWriteFollowsTheBandsTable) {
    struct Case {
        int bandLow;
        std::vector<int> page3;
    };
    const Case cases[] = {
        {136, {0x300, 0x330, 0x360, 0x390, 0x3C0, 0x3D0, 0x3E0, 0x3F0}},
        {400, {0x310, 0x340, 0x370, 0x3A0, 0x3C0, 0x3D0, 0x3E0, 0x3F0}},
        {200, {0x320, 0x350, 0x380, 0x3B0, 0x3C0, 0x3D0, 0x3E0, 0x3F0}},
    };
    for (const Case& c : cases) {
        Rig rig = writeRig();
        rig.request.area = TransferArea::Tune;
        rig.doc.BandLowMHz = c.bandLow;
        rig.doc.radioImage[addr::kVox] = 0x07;
        EXPECT_EQ(rig.run().outcome, ExchangeOutcome::Done);
        std::vector<int> written;
        for (const Bytes& b : rig.framesStarting('W')) written.push_back(frameAddress(b));
        EXPECT_EQ(written, c.page3);
        EXPECT_EQ(rig.doc.radioImage[addr::kVox], 0x07);  // not sent, not touched
        EXPECT_EQ(rig.labels.back(), "完成进度:100%");
    }
}

TEST(RangeTransfers, ServiceRangesMoveTheirBlocks) {
    struct Case {
        TransferArea area;
        bool read;
        std::vector<int> blocks;
    };
    std::vector<int> tune, local;
    for (int a = 0x0300; a < 0x1000; a += 16) tune.push_back(a);
    for (int a = 0x0A80; a < 0x0B80; a += 16) local.push_back(a);
    const Case cases[] = {
        {TransferArea::StunDie, true, {0x0B80, 0x0B90}},
        {TransferArea::StunDie, false, {0x0B80, 0x0B90}},
        {TransferArea::Special, true, {0x0E10}},
        {TransferArea::Special, false, {0x0E10}},
        {TransferArea::Local, true, local},
        {TransferArea::Tune, true, tune},
    };
    for (const Case& c : cases) {
        Rig rig = c.read ? readRig() : writeRig();
        rig.doc.serviceMemory.fill(0x42);
        rig.request.area = c.area;
        const ExchangeResult r = rig.run();
        EXPECT_EQ(r.outcome, ExchangeOutcome::Done);
        std::vector<int> moved;
        for (const Bytes& b : rig.framesStarting(c.read ? 'R' : 'W'))
            moved.push_back(frameAddress(b));
        EXPECT_EQ(moved, c.blocks);
        for (int a : c.blocks)
            for (int i = 0; i < 16; ++i)
                EXPECT_EQ(c.read ? RadioMemory::of(rig.doc).at(a + i) : rig.radio.memory.at(a + i),
                          c.read ? rig.radio.memory.at(a + i) : 0x42);
        // The result names the blocks that moved, each once.
        EXPECT_EQ((c.read ? r.received : r.written).size(), c.blocks.size());
        EXPECT_TRUE((c.read ? r.written : r.received).empty());
    }
}

// An answer that comes after the timeout arrives once the exchange has started
// again; it must cost a restart (or the question), never a reply read one step off.
TEST(LateAnswers, ExchangeStillEndsWithTheRadiosBytes) {
    enum Late { Hello, Start, FirstBlock };
    struct Case {
        const char* name;
        Late late;
        int times;
        std::size_t questions;  // each late block-phase answer asks once
    };
    const Case cases[] = {
        {"ACK to the identification string", Hello, 1, 0}, {"... twice in a row", Hello, 2, 0},
        {"ACK opening the block phase", Start, 1, 1},      {"... twice in a row", Start, 2, 2},
        {"ACK to the first block", FirstBlock, 1, 1},      {"... twice in a row", FirstBlock, 2, 2},
    };
    for (bool read : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(read ? "read: " : "write: ") + c.name);
            Rig rig = read ? readRig() : writeRig();
            rig.doc.SpecialCodeSupported = false;
            rig.answers = {true, true};
            int left = c.times;
            rig.radio.lateMs = [&](const Bytes& f) -> long {
                const Bytes& before = rig.radio.previous;
                const Bytes ack{wire::kAck};
                bool match = false;
                switch (c.late) {
                    case Hello:
                        match = f == kIdString;
                        break;
                    case Start:
                        match = f == ack && before == Bytes{wire::kStart};
                        break;
                    case FirstBlock:
                        match = read ? f == ack && before == ReadRequestFrame(0)
                                     : f.size() == 20 && frameAddress(f) == 0;
                        break;
                }
                if (!match || left == 0) return 0;
                --left;
                return 1100;
            };
            EXPECT_EQ(rig.run().outcome, ExchangeOutcome::Done);
            EXPECT_EQ(left, 0);
            EXPECT_EQ(rig.asked, std::vector<LinkQuestion>(c.questions, LinkQuestion::Retry));
            EXPECT_TRUE(rig.doc.SpecialCodeSupported);
            if (read) {
                EXPECT_EQ(rig.doc.radioImage, rig.radio.memory.image);
            } else {
                const RadioImage& sent = rig.doc.radioImage;
                EXPECT_TRUE(
                    std::equal(sent.begin(), sent.begin() + 0x300, rig.radio.memory.image.begin()));
            }
        }
    }
}

// A lone ACK on the line ahead of the identification reply or a data block is a
// late answer, never part of what follows it.
TEST(StrayBytes, AckAheadOfAReplyIsNotPartOfIt) {
    const Bytes ack{wire::kAck};
    struct Case {
        const char* name;
        bool read;
        Bytes stray;
        bool beforeBlocks;  // else before the identification reply
    };
    const Case cases[] = {
        {"write, before the identification reply", false, ack, false},
        {"read, two before the identification reply", true, {wire::kAck, wire::kAck}, false},
        {"read, before every data block", true, ack, true},
        {"read, two before every data block", true, {wire::kAck, wire::kAck}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig = c.read ? readRig() : writeRig();
        // Read one byte off, reply byte 1 would not be VHF and byte 3 would be 0x32.
        rig.radio.specialCode = 0x30;
        rig.doc.SpecialCodeSupported = true;
        rig.radio.stray = [&c](const Bytes& f) {
            const bool ours =
                c.beforeBlocks ? f.size() == 4 && f[0] == 'R' : f == Bytes{wire::kStart};
            return ours ? c.stray : Bytes{};
        };
        EXPECT_EQ(rig.run().outcome, ExchangeOutcome::Done);
        EXPECT_TRUE(rig.asked.empty());
        EXPECT_FALSE(rig.doc.SpecialCodeSupported);
        if (c.read) {
            EXPECT_EQ(rig.doc.radioImage, rig.radio.memory.image);
        }
    }
}

// The identification reply is known by its content: bytes ahead of it on the first
// attempt leave it whole, on a paced line too where it arrives byte by byte, and
// eight bytes that are no reply start the handshake again.
TEST(Identification, ReplyIsKnownByItsContentWhereverItLies) {
    struct Case {
        const char* name;
        Bytes stray;
        bool noReplyFirst;
        int idStrings;
    };
    const Case cases[] = {
        {"0x00 ahead", {0x00}, false, 1},
        {"\"I\" ahead", {wire::kReplyMark}, false, 1},
        {"a digit ahead", {0x32}, false, 1},
        {"NAK and \"I\" ahead", {0x15, wire::kReplyMark}, false, 1},
        {"eight bytes that are no reply", {}, true, 2},
    };
    for (const bool paced : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(paced ? "paced: " : "") + c.name);
            Rig rig = writeRig();
            rig.paced = paced;
            rig.radio.specialCode = 0x30;
            rig.doc.SpecialCodeSupported = true;
            int asks = 0;
            rig.radio.fault = [&](const Bytes& f) -> std::optional<Bytes> {
                if (f != Bytes{wire::kStart} || ++asks > 1 || !c.noReplyFirst) return std::nullopt;
                return Bytes{0x58, 0x32, 0x30, 0x31, 0x30, 0x30, 0x30, 0x30};
            };
            rig.radio.stray = [&](const Bytes& f) {
                return f == Bytes{wire::kStart} && asks == 1 ? c.stray : Bytes{};
            };
            EXPECT_EQ(rig.run().outcome, ExchangeOutcome::Done);
            // A VHF radio taken for what it is: no band question for a VHF image.
            EXPECT_TRUE(rig.asked.empty());
            EXPECT_FALSE(rig.doc.SpecialCodeSupported);
            EXPECT_EQ(rig.count(kIdString), c.idStrings);
        }
    }
}

// On a paced line an ACK answers a block only once the block has crossed it: an
// ACK sooner than that is surplus (the answer to the block before, when a stray
// one was taken for it), and a refusal of the last block fails the write however
// many ACKs came ahead of it.
TEST(PacedWrite, OneAckPerBlockOnlyOnceTheBlockHasCrossedTheLine) {
    struct Case {
        const char* name;
        int strayFrom, strayTo;  // blocks whose answer has a lone ACK ahead of it
        int refused;             // the block answered 0x15, or -1
        ExchangeOutcome outcome;
    };
    const Case cases[] = {
        {"stray ACKs ahead of eleven answers, the last block refused", 0, 11, 47,
         ExchangeOutcome::Cancelled},
        {"a stray ACK ahead of every answer", 0, 48, -1, ExchangeOutcome::Done},
        {"a stray ACK ahead of the last block's refusal", 47, 48, 47, ExchangeOutcome::Cancelled},
    };
    const auto blockIndex = [](const Bytes& f) {
        return f.size() == 20 && f[0] == wire::kDataBlock ? frameAddress(f) / 16 : -1;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig = writeRig();
        rig.paced = true;
        rig.radio.fault = [&](const Bytes& f) -> std::optional<Bytes> {
            if (c.refused >= 0 && blockIndex(f) == c.refused) return Bytes{0x15};
            return std::nullopt;
        };
        rig.radio.stray = [&](const Bytes& f) {
            const int i = blockIndex(f);
            return i >= c.strayFrom && i < c.strayTo ? Bytes{wire::kAck} : Bytes{};
        };
        EXPECT_EQ(rig.run().outcome, c.outcome);
        // Each block waits for the answer to the one before: 20 bytes and an ACK.
        long previous = -100;
        for (const auto& [at, frame] : rig.sent) {
            if (blockIndex(frame) < 0) continue;
            EXPECT_GE(at - previous, 22) << "block " << blockIndex(frame);
            previous = at;
        }
        EXPECT_EQ(rig.result->ok(), c.outcome == ExchangeOutcome::Done);
        EXPECT_EQ(rig.count({wire::kEnd}), c.outcome == ExchangeOutcome::Done ? 1 : 0);
        if (c.outcome == ExchangeOutcome::Done) {
            const RadioImage& sent = rig.doc.radioImage;
            EXPECT_TRUE(
                std::equal(sent.begin(), sent.begin() + 0x300, rig.radio.memory.image.begin()));
        }
    }
}

// A read-back compares blocks by address: one naming another address than the one
// asked for is a link error, and what it took in is exactly the blocks asked for.
TEST(ReadBack, TakesOnlyTheBlocksAskedFor) {
    for (const bool misaddressed : {false, true}) {
        SCOPED_TRACE(misaddressed ? "misaddressed" : "faithful");
        Rig rig = readRig();
        rig.request.range = TransferRange{0x0000, 0x0300, 0x0000, false};
        rig.radio.fault = [misaddressed](const Bytes& f) -> std::optional<Bytes> {
            if (!misaddressed || f.size() != 4 || frameAddress(f) != 0x0050) return std::nullopt;
            Bytes b(20, 0xC3);
            b[0] = 'W', b[1] = 0x03, b[2] = 0x00, b[3] = 0x10;
            return b;
        };
        const ExchangeResult r = rig.run();
        EXPECT_EQ(r.outcome, misaddressed ? ExchangeOutcome::Cancelled : ExchangeOutcome::Done);
        EXPECT_EQ(rig.asked.size(), misaddressed ? 1u : 0u);
        ASSERT_EQ(rig.received.size(), misaddressed ? 5u : 48u);
        for (std::size_t i = 0; i < rig.received.size(); ++i) {
            const WrittenBlock& b = rig.received[i];
            EXPECT_EQ(b.address, static_cast<int>(i) * 16);
            EXPECT_EQ(b.data[0], rig.radio.memory.at(b.address));
        }
    }
}

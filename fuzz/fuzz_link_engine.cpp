// The link engine fed what a line, a clock and a user can produce: any bytes in any
// pieces, timer ticks, answers to its questions (also while a question is open, as a
// modal box pumps events) and Cancel, for reads and writes of every range. Checked:
// it finishes exactly once and calls its host no more after that; it never stalls
// with no timer running; every block it asks for or sends lies in the range; a read
// that does not complete leaves the document's bytes as they were, a
// write changes no more than the VOX level; nothing is stored outside 0x000-0xFFF
// (the service memory's bounds check throws).
#include <algorithm>
#include <deque>

#include "fuzz/fuzz_check.h"
#include "link/exchange.h"

using namespace baldo7;

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
    bool empty() const { return pos >= size; }
    std::uint8_t next() { return pos < size ? data[pos++] : 0; }
};

const Bytes kIdString(wire::kIdentification, wire::kIdentification + wire::kIdentificationSize);

struct Host : ExchangeHost {
    Host(Input& in, bool portOpens) : in(in), portOpens(portOpens) {}

    Input& in;
    bool portOpens;
    Exchange* engine = nullptr;
    TransferRange range;
    bool readMode = false;
    bool portOpen = false;
    Bytes line;  // arrived, not yet reported
    int threshold = 0;
    bool timerRunning = false;
    int finishedCalls = 0;
    ExchangeResult result;
    Bytes lastFrame;
    std::int64_t now = 0;

    void alive() const { FUZZ_CHECK(finishedCalls == 0); }

    bool openPort() override {
        alive();
        portOpen = portOpens;
        return portOpens;
    }
    void closePort() override {
        alive();
        portOpen = false;
    }
    void send(const Bytes& f) override {
        alive();
        FUZZ_CHECK(portOpen);
        const bool single =
            f.size() == 1 && (f[0] == wire::kStart || f[0] == wire::kAck || f[0] == wire::kEnd);
        const bool request = readMode && f.size() == 4 && f[0] == wire::kReadRequest;
        const bool block = !readMode && f.size() == 20 && f[0] == wire::kDataBlock;
        FUZZ_CHECK(single || request || block || f == kIdString);
        if (request || block) {
            const int a = f[1] * 256 + f[2];
            FUZZ_CHECK(a % kBlockSize == 0 && a >= range.first && a + kBlockSize <= range.end);
            FUZZ_CHECK(f[3] == wire::kBlockLength);
        }
        lastFrame = f;
    }
    // Every look at the clock finds it moved on by 0 to 255 ms.
    std::int64_t clockNs() override {
        alive();
        now += static_cast<std::int64_t>(in.next()) * 1000000;
        return now;
    }
    void discardInput() override {
        alive();
        line.clear();
    }
    void setReceiveThreshold(int count) override {
        alive();
        FUZZ_CHECK(count >= 0 && count <= kDataFrameSize);
        threshold = count;
    }
    void startTimer(int ms) override {
        alive();
        const bool earlyAckWait =
            ms > Exchange::kLineSlackMs && ms <= Exchange::kLineSlackMs + kDataFrameSize * 2;
        FUZZ_CHECK(ms == Exchange::kReplyTimeoutMs || ms == Exchange::kSettleMs ||
                   ms == Exchange::kFinishDelayMs || ms == Exchange::kCloseDelayMs ||
                   ms == Exchange::kDrainMs || earlyAckWait || ms == 0);
        timerRunning = true;
    }
    void stopTimer() override {
        alive();
        timerRunning = false;
    }
    void pause(int ms) override {
        alive();
        FUZZ_CHECK(ms == Exchange::kEndPauseMs);
    }
    // A modal box pumps events: bytes, ticks and Cancel may reach the engine while
    // the question is open.
    bool ask(LinkQuestion, const std::string& text) override {
        alive();
        FUZZ_CHECK(!text.empty());
        const std::uint8_t b = in.next();
        if (b & 2) arrive(1 + in.next() % 24);
        if (b & 4) tick();
        if (b & 8) engine->cancel();
        return b & 1;
    }
    void portFailed(const std::string&) override { alive(); }
    void setCaption(const std::string&) override { alive(); }
    void noAnswer() override { alive(); }
    void progress(double f, const std::string& label) override {
        alive();
        FUZZ_CHECK(f >= 0.0 && f <= 1.0 && !label.empty());
    }
    void finished(const ExchangeResult& r) override {
        alive();
        ++finishedCalls;
        result = r;
    }

    // The port reports everything buffered once the threshold is met.
    void deliver() {
        if (finishedCalls || threshold <= 0 || line.size() < static_cast<std::size_t>(threshold))
            return;
        const Bytes bytes = std::move(line);
        line.clear();
        engine->onBytesReceived(bytes);
    }
    void arrive(int n) {
        for (int i = 0; i < n && !in.empty(); ++i) line.push_back(in.next());
        deliver();
    }
    void tick() {
        if (finishedCalls || !timerRunning) return;
        timerRunning = false;
        engine->onTimer();
    }
    // What a sound radio would answer to the last frame; `how` spoils it a little.
    void radioAnswers(std::uint8_t how) {
        Bytes reply;
        if (lastFrame == kIdString || lastFrame == Bytes{wire::kAck}) {
            reply = {wire::kAck};
        } else if (lastFrame == Bytes{wire::kStart}) {
            reply = {wire::kReplyMark,
                     static_cast<std::uint8_t>(how & 1 ? 0x32 : 0x33),
                     0x30,
                     static_cast<std::uint8_t>(how & 2 ? 0x30 : 0x31),
                     0x30,
                     0x30,
                     0x30,
                     0x30};
        } else if (lastFrame.size() == 4) {
            reply = {wire::kDataBlock, lastFrame[1], lastFrame[2], wire::kBlockLength};
            for (int i = 0; i < kBlockSize; ++i)
                reply.push_back(static_cast<std::uint8_t>(how + i));
        } else if (lastFrame.size() == 20) {
            reply = {wire::kAck};
        }
        if (how & 4) reply.insert(reply.begin(), wire::kAck);  // a late answer ahead
        line.insert(line.end(), reply.begin(), reply.end());
        deliver();
    }
};

TransferRequest requestOf(bool read, int which) {
    static constexpr TransferArea kAreas[] = {TransferArea::Data,    TransferArea::Tune,
                                              TransferArea::Local,   TransferArea::StunDie,
                                              TransferArea::Special, TransferArea::Data};
    TransferRequest request =
        read ? TransferRequest::read(kAreas[which % 6]) : TransferRequest::write(kAreas[which % 6]);
    // A range of its own, as a verified write's read-back asks.
    if (which == 5) request.range = TransferRange{0x0100, 0x0200, 0x0100, false};
    return request;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    const std::uint8_t config = in.next();
    const std::uint8_t more = in.next();
    Document doc;
    const TransferRequest request = requestOf(config & 1, (config >> 1) & 7);
    doc.IsEnglish = config & 0x10;
    doc.ChangePasswordFlag = config & 0x20;
    doc.NewPassword = std::string("12345678").substr(0, more % 9);
    static constexpr int kBandLows[] = {136, 400, 200, 350};
    doc.BandLowMHz = kBandLows[(more >> 4) & 3];
    for (std::size_t a = 0; a < doc.radioImage.size(); ++a)
        doc.radioImage[a] = static_cast<std::uint8_t>(a * 7 + config);
    for (std::size_t a = 0; a < doc.serviceMemory.size(); ++a)
        doc.serviceMemory[a] = static_cast<std::uint8_t>(a * 5 + more);
    doc.radioImage[addr::kModelDigit] = more & 0x40 ? 0x32 : 0x33;
    const Document before = doc;

    Host host(in, !(more & 0x80));
    host.readMode = request.reading();
    host.range = request.moves(doc.BandLowMHz);
    Exchange engine(doc, host, request);
    host.engine = &engine;
    if (config & 0x40) engine.setFinishDelay(0);
    engine.start();

    while (!in.empty() && host.finishedCalls == 0) {
        host.deliver();  // bytes a lowered threshold already meets
        const std::uint8_t op = in.next();
        switch (op % 8) {
            case 0:
            case 1:
            case 2:
                host.arrive(1 + in.next() % 24);
                break;
            case 3:
                host.tick();
                break;
            case 4:
                if (op & 0x80)
                    engine.cancel();
                else
                    host.tick();
                break;
            default:
                host.radioAnswers(op >> 3);
                break;
        }
    }
    // Then the line is silent and every question is answered Cancel: the exchange
    // must come to its end on timer ticks alone.
    for (int i = 0; i < 1000 && host.finishedCalls == 0; ++i) {
        host.deliver();
        if (host.finishedCalls) break;
        FUZZ_CHECK(host.timerRunning);
        host.tick();
    }
    FUZZ_CHECK(host.finishedCalls == 1);
    const bool done = host.result.ok();
    FUZZ_CHECK(host.result.request.direction == request.direction &&
               host.result.request.area == request.area);
    // What the result says moved lies in the range (a plain read stores a block
    // where the radio says), and only in the direction asked for.
    const WrittenBlocks& moved = request.reading() ? host.result.received : host.result.written;
    FUZZ_CHECK((request.reading() ? host.result.written : host.result.received).empty());
    for (const WrittenBlock& b : moved)
        FUZZ_CHECK((request.reading() && !request.range) ||
                   (b.address >= host.range.first && b.address < host.range.end));
    if (host.readMode) {
        if (!done) {
            FUZZ_CHECK(doc.radioImage == before.radioImage);
            FUZZ_CHECK(doc.serviceMemory == before.serviceMemory);
        }
    } else {
        FUZZ_CHECK(doc.serviceMemory == before.serviceMemory);
        for (std::size_t a = 0; a < doc.radioImage.size(); ++a)
            if (a != addr::kVox) FUZZ_CHECK(doc.radioImage[a] == before.radioImage[a]);
        FUZZ_CHECK((doc.radioImage[addr::kVox] & 0xF0) == (before.radioImage[addr::kVox] & 0xF0));
    }
    return 0;
}

// The programming exchange with the radio as an event-driven engine. The host (the
// transfer window, the command line) feeds it the bytes that arrived and the timer
// ticks and carries out what it asks for; nothing here blocks except the host's
// 200 ms end pause.
//
// One engine serves one exchange, like the window it stands for: construct it with
// the request when the window loads, call start(), and it ends with exactly one
// ExchangeHost::finished() call, whose result says how it ended and what moved.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/data_file.h"
#include "core/document.h"
#include "core/texts.h"
#include "link/transfer_ranges.h"
#include "link/transfer_request.h"
#include "link/write_verify.h"

namespace baldo7 {

enum class LinkQuestion {
    Retry,          // "Check connection!Retry or cancel?": error icon, Retry/Cancel
    BandDifferent,  // "Frequency band is different,Overwrite?": warning icon, OK/Cancel
};

// The band question as asked: the program's words, then which side is which: "The
// radio is UHF; the data to write (customerA.rdat) is VHF 136-174MHz."
std::string BandQuestionText(const Document& doc, bool radioVhf);

enum class ExchangeOutcome {
    Done,          // the whole range moved; a read's bytes are in the document
    PortFailed,    // the port did not open
    Cancelled,     // the retry question was answered Cancel
    BandDeclined,  // the band question was answered Cancel; 0x45 was sent
    Aborted,       // the window's Cancel button
};

struct ExchangeResult {
    ExchangeOutcome outcome = ExchangeOutcome::Aborted;
    TransferRequest request;
    std::string text;  // "Read Data OK" / "Write Data OK" when Done, else empty
    // What the last attempt moved: the data blocks a write sent, as they went out,
    // and the blocks a read took in, at the addresses they named.
    WrittenBlocks written;
    WrittenBlocks received;
    // The radio's 8-byte identification reply once it came, else empty.
    Bytes identification;

    bool ok() const { return outcome == ExchangeOutcome::Done; }
    bool reading() const { return request.reading(); }
};

class ExchangeHost {
public:
    virtual ~ExchangeHost() = default;

    virtual bool openPort() = 0;
    virtual void closePort() = 0;
    virtual void send(const Bytes& bytes) = 0;
    // Monotonic time: when bytes arrive, against when what they answer went out.
    virtual std::int64_t clockNs() = 0;
    // Drops every received byte not yet reported: a restart must not take a late
    // answer from before it for an answer of its own.
    virtual void discardInput() = 0;
    // Report received bytes (all that are buffered) once at least `count` are
    // buffered; 0 means no reports.
    virtual void setReceiveThreshold(int count) = 0;
    // One tick after `ms`; starting again replaces a pending tick.
    virtual void startTimer(int ms) = 0;
    virtual void stopTimer() = 0;
    // The end pause: the caller waits.
    virtual void pause(int ms) = 0;
    // True for Retry / OK. The engine ignores bytes and ticks while a question is
    // open, so a host may pump events meanwhile.
    virtual bool ask(LinkQuestion question, const std::string& text) = 0;
    // The port did not open: show `text` (a host may add why).
    virtual void portFailed(const std::string& text) = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // The radio left a handshake step unanswered; the handshake starts again
    // without asking.
    virtual void noAnswer() {}
    virtual void progress(double fraction, const std::string& label) = 0;
    // The last call; the engine may be destroyed afterwards, not from inside.
    virtual void finished(const ExchangeResult& result) = 0;
};

// The exchange's own variables, under the names the rest of the team uses.
struct ExchangeState {
    int LinkState = 0;  // 0 idle, 1 id sent, 2 0x02 sent, 3 ACK awaited, 4 block awaited
    int RetryCount = 0;
    bool DialogShown = false;
    bool AwaitingReply = false;
    bool LinkDone = false;
    int BlockAddrHigh = 0;
    int BlockAddrLow = 0;
    int EndAddrHigh = 0;
    int EndAddrLow = 0;
};

class Exchange {
public:
    static constexpr int kReplyTimeoutMs = 1000;
    static constexpr int kEndPauseMs = 200;
    static constexpr int kFinishDelayMs = 100;
    static constexpr int kCloseDelayMs = 1;
    static constexpr int kRetryLimit = 10;
    // Quiet time after the identification reply before it is taken, after a restart
    // or when it may have something in front: whatever came before it (a late
    // answer to an earlier step) is stray.
    static constexpr int kSettleMs = 30;
    // Stray bytes tolerated within one step before the line counts as broken.
    static constexpr int kStrayLimit = 64;
    // An ACK that comes before what it answers can have crossed the line is kept
    // this long past that moment: when no ACK comes in time, the line is faster than
    // its baud rate (a pseudo-terminal) and the early one was the answer.
    static constexpr int kLineSlackMs = 50;
    // Quiet time after the ACK of a write's last block before the write counts as
    // done: a refusal right behind that ACK still fails it.
    static constexpr int kDrainMs = 10;

    // Window load. A completed read replaces the document's memory; nothing else of
    // the document but the VOX level (below) and the radio's special-code capability
    // changes.
    Exchange(Document& doc, ExchangeHost& host, const TransferRequest& request);

    // The window's Read or Write button, by the request. A write first clears the VOX
    // level (low four bits of byte 309) when the range sends that byte.
    void start();
    void onBytesReceived(const Bytes& reply);
    void onTimer();
    // The window's Cancel button: ends at once, sends nothing.
    void cancel();
    // Time between the end of a successful exchange and the finish step. The
    // transfer window keeps the default so its last progress stays visible; the
    // command line has nothing to show and finishes at once.
    void setFinishDelay(int ms) { finishDelayMs_ = ms; }
    int finishDelay() const { return finishDelayMs_; }

    // The data blocks a write sent in its last attempt, as they went out.
    const WrittenBlocks& written() const { return written_; }
    // The data blocks a read took in its last attempt, at the addresses they named.
    const WrittenBlocks& received() const { return received_; }
    // Whether the pending tick, when it comes, is a reply that did not come in time.
    bool tickIsTimeout() const;

    const ExchangeState& state() const { return s_; }
    const TransferRequest& request() const { return request_; }
    bool readMode() const { return readMode_; }
    bool finished() const { return finished_; }
    const TransferRange& range() const { return range_; }
    // The radio's 8-byte identification reply once it came, else empty.
    const Bytes& identification() const { return identification_; }

private:
    void StartLink(bool retry);
    void replyArrived();
    void identificationAcknowledged(const Bytes& reply);
    void collectIdentification(const Bytes& bytes);
    void identificationReply(const Bytes& reply);
    void ackArrived(const Bytes& reply);
    void blockAcknowledged();
    void drainArrived(const Bytes& reply);
    void collectDataBlock(const Bytes& bytes);
    void dataBlock(const Bytes& frame);
    // Restarts silently until RetryCount passes the limit, then asks first.
    void restartOrAsk();
    void blockPhaseFailure();
    bool askRetry();
    void endAfter(ExchangeOutcome outcome, bool closePortNow);
    void endOfExchange();
    void finish();
    void awaitReply();
    // Sends and notes when the frame will have crossed the line.
    void sendFrame(const Bytes& frame);
    void closePort();
    void initialiseRange();
    void showProgress(int nextAddress);
    const char* text(const BiText& t) const;

    Document& doc_;
    ExchangeHost& host_;
    ExchangeState s_;
    TransferRequest request_;
    TransferRange range_;
    bool readMode_;
    bool changePassword_;
    std::string newPassword_;
    bool portOpen_ = false;
    bool started_ = false;
    bool finished_ = false;
    ExchangeOutcome outcome_ = ExchangeOutcome::Aborted;
    int finishDelayMs_ = kFinishDelayMs;
    // The identification reply (with whatever came around it) or the data block
    // gathered so far.
    Bytes input_;
    bool settling_ = false;
    bool restarted_ = false;
    // A read lands here and replaces the document's memory only once it completed.
    RadioMemory staged_;
    Bytes identification_;
    WrittenBlocks written_;
    WrittenBlocks received_;
    int requested_ = 0;  // the block the last read request asked for
    // When the last frame sent has crossed the line; an ACK held that came sooner;
    // whether the line has shown it answers sooner than its baud rate allows.
    std::int64_t lineClearNs_ = 0;
    bool earlyAck_ = false;
    bool instantLine_ = false;
    bool draining_ = false;
    int drainBytes_ = 0;
};

}  // namespace baldo7

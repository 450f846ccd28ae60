#include "link/exchange.h"

#include <algorithm>

#include "core/model_band.h"
#include "link/exchange_texts.h"

namespace baldo7 {

namespace {
constexpr std::uint8_t kVoxLevelBits = 0x0F;

bool allAcks(const Bytes& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == wire::kAck; });
}
}  // namespace

Exchange::Exchange(Document& doc, ExchangeHost& host, const TransferRequest& request)
    : doc_(doc),
      host_(host),
      request_(request),
      readMode_(request.reading()),
      changePassword_(doc.ChangePasswordFlag),
      newPassword_(doc.NewPassword) {}

std::string BandQuestionText(const Document& doc, bool radioVhf) {
    const bool en = doc.IsEnglish;
    const std::string& path = doc.CurrentFilePath;
    const std::string file = path.empty() ? std::string(link_texts::kUnsavedData.pick(en))
                                          : path.substr(path.find_last_of("/\\") + 1);
    const std::string fills[] = {ModelText(radioVhf ? Model::VHF : Model::UHF), file,
                                 ModelBandText(doc, en)};
    // One pass, so a file name holding "%1" stays as it is.
    std::string sides;
    for (const char* t = link_texts::kBandSides.pick(en); *t; ++t) {
        if (t[0] == '%' && t[1] >= '1' && t[1] <= '3') {
            sides += fills[t[1] - '1'];
            ++t;
        } else {
            sides += *t;
        }
    }
    return std::string(link_texts::kBandDifferent.pick(en)) + "\n" + sides;
}

const char* Exchange::text(const BiText& t) const {
    return t.pick(doc_.IsEnglish);
}

void Exchange::start() {
    if (started_ || finished_) return;
    started_ = true;
    if (readMode_) {
        staged_ = RadioMemory::of(doc_);
    } else if (const TransferRange r = request_.moves(doc_.BandLowMHz);
               r.first <= static_cast<int>(addr::kVox) && static_cast<int>(addr::kVox) < r.end) {
        // The radio's VOX level is always written as 0; the image keeps the change.
        doc_.radioImage[addr::kVox] &= static_cast<std::uint8_t>(~kVoxLevelBits);
    }
    StartLink(false);
}

void Exchange::StartLink(bool retry) {
    s_.LinkState = 0;
    s_.AwaitingReply = true;
    if (!retry) {
        if (!portOpen_) {
            if (!host_.openPort()) {
                host_.portFailed(text(link_texts::kReselectPort));
                if (finished_) return;
                endAfter(ExchangeOutcome::PortFailed, false);
                return;
            }
            portOpen_ = true;
        }
        host_.setCaption(text(readMode_ ? link_texts::kStartRead : link_texts::kStartWrite));
    }
    // Answers still on their way to the last attempt may arrive after this; the
    // steps below tell them apart from their own.
    host_.discardInput();
    restarted_ = restarted_ || retry;
    // A restart moves the range again from its first block.
    written_.clear();
    received_.clear();
    input_.clear();
    settling_ = false;
    earlyAck_ = false;
    draining_ = false;
    s_.LinkState = 1;
    host_.setReceiveThreshold(1);
    host_.startTimer(kReplyTimeoutMs);
    sendFrame(Bytes(wire::kIdentification, wire::kIdentification + wire::kIdentificationSize));
}

void Exchange::onBytesReceived(const Bytes& reply) {
    // Nothing is taken up after the end (a late block must not reopen a cancelled
    // exchange) or while a question is open.
    if (!started_ || finished_ || s_.LinkDone || s_.DialogShown || s_.LinkState == 0) return;
    switch (s_.LinkState) {
        case 1:
            replyArrived();
            identificationAcknowledged(reply);
            break;
        case 2:
            collectIdentification(reply);
            break;
        case 3:
            if (draining_)
                drainArrived(reply);
            else
                ackArrived(reply);
            break;
        case 4:
            collectDataBlock(reply);
            break;
        default:
            break;
    }
}

void Exchange::replyArrived() {
    s_.AwaitingReply = false;
    host_.stopTimer();
}

void Exchange::identificationAcknowledged(const Bytes& reply) {
    // The newest byte answers the newest identification string; a late ACK taken
    // here instead does no harm, the identification reply is found by its end.
    if (reply.empty() || reply.back() != wire::kAck) {
        restartOrAsk();
        return;
    }
    s_.LinkState = 2;
    input_.clear();
    host_.setReceiveThreshold(static_cast<int>(wire::kIdentificationReplySize));
    awaitReply();
    sendFrame({wire::kStart});
}

// The identification reply is known by its content, wherever it lies in what came;
// the last one wins, as it answers the last 0x02 once the line has gone quiet.
void Exchange::collectIdentification(const Bytes& bytes) {
    constexpr std::size_t kSize = wire::kIdentificationReplySize;
    input_.insert(input_.end(), bytes.begin(), bytes.end());
    if (input_.size() < kSize) {
        host_.setReceiveThreshold(static_cast<int>(kSize - input_.size()));
        return;
    }
    replyArrived();
    if (input_.size() > kSize + kStrayLimit) {
        // A line that never goes quiet is not a radio answering.
        settling_ = false;
        restartOrAsk();
        return;
    }
    // A first attempt whose eight bytes came alone and are a reply has nothing
    // stray in front of it: no need to wait.
    if (!restarted_ && input_.size() == kSize && FindIdentificationReply(input_) == 0) {
        const Bytes reply = std::move(input_);
        input_.clear();
        identificationReply(reply);
        return;
    }
    settling_ = true;
    host_.setReceiveThreshold(1);
    host_.startTimer(kSettleMs);
}

void Exchange::identificationReply(const Bytes& reply) {
    identification_ = reply;
    s_.LinkState = 3;
    std::uint8_t answer = wire::kAck;
    if (!readMode_) {
        const bool radioVhf = reply[1] == wire::kVhfDigit;
        const bool imageVhf = doc_.radioImage[addr::kModelDigit] == wire::kVhfDigit;
        if (radioVhf != imageVhf) {
            s_.DialogShown = true;
            const bool overwrite =
                host_.ask(LinkQuestion::BandDifferent, BandQuestionText(doc_, radioVhf));
            if (finished_) return;
            s_.DialogShown = false;
            if (!overwrite) {
                answer = wire::kEnd;
                s_.LinkDone = true;
            }
        }
    }
    if (!s_.LinkDone) doc_.SpecialCodeSupported = reply[3] != wire::kNoSpecialCode;
    initialiseRange();
    if (s_.LinkDone) {
        sendFrame({answer});
        closePort();
        endAfter(ExchangeOutcome::BandDeclined, false);
        return;
    }
    host_.setReceiveThreshold(1);
    awaitReply();
    s_.RetryCount = kRetryLimit;
    sendFrame({answer});
}

// One ACK answers each frame sent, and only once that frame has crossed the line:
// an ACK sooner than that is surplus (a late or stray one). Any other byte is a
// refusal, perhaps of the frame before when a stray ACK was taken for its answer.
void Exchange::ackArrived(const Bytes& reply) {
    if (reply.empty() || !allAcks(reply)) {
        replyArrived();
        blockPhaseFailure();
        return;
    }
    const std::int64_t now = host_.clockNs();
    if (!instantLine_ && now < lineClearNs_) {
        if (!earlyAck_) {
            earlyAck_ = true;
            const auto waitMs = (lineClearNs_ - now + 999999) / 1000000;
            host_.startTimer(static_cast<int>(waitMs) + kLineSlackMs);
        }
        return;
    }
    replyArrived();
    earlyAck_ = false;
    blockAcknowledged();
}

void Exchange::blockAcknowledged() {
    const int next = s_.BlockAddrHigh * 256 + s_.BlockAddrLow;
    showProgress(next);
    if (finished_) return;
    if (RangeFinished(s_.BlockAddrHigh, s_.BlockAddrLow, s_.EndAddrHigh, s_.EndAddrLow)) {
        if (readMode_) {
            endOfExchange();
            return;
        }
        // Done once the line has gone quiet behind the last ACK.
        draining_ = true;
        drainBytes_ = 0;
        host_.setReceiveThreshold(1);
        host_.startTimer(kDrainMs);
        return;
    }
    Bytes frame;
    if (readMode_) {
        requested_ = next;
        frame = ReadRequestFrame(next);
        host_.setReceiveThreshold(kDataFrameSize);
        input_.clear();
        s_.LinkState = 4;
        AdvanceBlock(s_.BlockAddrHigh, s_.BlockAddrLow, false);
    } else {
        frame = DataBlockFrame(next, doc_.radioImage, doc_.serviceMemory);
        if (changePassword_) SubstitutePassword(frame, next, newPassword_);
        RecordWrittenFrame(written_, frame);
        AdvanceBlock(s_.BlockAddrHigh, s_.BlockAddrLow, range_.tuneOrder);
    }
    awaitReply();
    s_.RetryCount = kRetryLimit;
    sendFrame(frame);
}

void Exchange::drainArrived(const Bytes& reply) {
    drainBytes_ += static_cast<int>(reply.size());
    if (!allAcks(reply) || drainBytes_ > kStrayLimit) {
        draining_ = false;
        blockPhaseFailure();
        return;
    }
    host_.startTimer(kDrainMs);
}

void Exchange::collectDataBlock(const Bytes& bytes) {
    input_.insert(input_.end(), bytes.begin(), bytes.end());
    // An ACK ahead of the block is a late answer to an earlier step, never part of
    // the block.
    input_.erase(input_.begin(), std::find_if(input_.begin(), input_.end(),
                                              [](std::uint8_t b) { return b != wire::kAck; }));
    if (input_.empty() || (input_[0] == wire::kDataBlock &&
                           input_.size() < static_cast<std::size_t>(kDataFrameSize))) {
        // The reply's time runs on from the request.
        host_.setReceiveThreshold(kDataFrameSize - static_cast<int>(input_.size()));
        return;
    }
    replyArrived();
    if (input_[0] != wire::kDataBlock) {
        blockPhaseFailure();
        return;
    }
    const Bytes frame(input_.begin(), input_.begin() + kDataFrameSize);
    input_.clear();
    dataBlock(frame);
}

void Exchange::dataBlock(const Bytes& frame) {
    // Stored where the radio says it belongs, provided that has storage at all. A
    // read-back compares blocks by address, so there the address must be the one
    // asked for.
    const int address = frame[1] * 256 + frame[2];
    if (!BlockInStorage(address) || (request_.range && address != requested_)) {
        blockPhaseFailure();
        return;
    }
    for (int i = 0; i < kBlockSize; ++i)
        staged_.set(address + i, frame[static_cast<std::size_t>(4 + i)]);
    RecordWrittenFrame(received_, frame);
    host_.setReceiveThreshold(1);
    s_.LinkState = 3;
    awaitReply();
    s_.RetryCount = kRetryLimit;
    sendFrame({wire::kAck});
}

void Exchange::restartOrAsk() {
    ++s_.RetryCount;
    if (s_.RetryCount > kRetryLimit) {
        s_.RetryCount = 0;
        if (!askRetry()) {
            if (!finished_) endAfter(ExchangeOutcome::Cancelled, true);
            return;
        }
    }
    StartLink(true);
}

void Exchange::blockPhaseFailure() {
    if (!askRetry()) {
        if (!finished_) endAfter(ExchangeOutcome::Cancelled, false);
        return;
    }
    StartLink(true);
    s_.RetryCount = 0;
}

// Asks the retry question; on Retry the exchange may go on (DialogShown is clear
// again), on Cancel or when the exchange ended meanwhile it may not.
bool Exchange::askRetry() {
    s_.DialogShown = true;
    const bool retry = host_.ask(LinkQuestion::Retry, text(link_texts::kCheckConnection));
    if (finished_) return false;
    s_.DialogShown = false;
    return retry;
}

void Exchange::onTimer() {
    if (!started_ || finished_) return;
    host_.stopTimer();
    if (s_.LinkDone) {
        finish();
        return;
    }
    if (settling_) {
        settling_ = false;
        const int at = FindIdentificationReply(input_);
        const Bytes reply =
            at < 0 ? Bytes()
                   : Bytes(input_.begin() + at,
                           input_.begin() + at + static_cast<int>(wire::kIdentificationReplySize));
        input_.clear();
        // What cannot be recognised starts the handshake again.
        if (reply.empty())
            restartOrAsk();
        else
            identificationReply(reply);
        return;
    }
    if (draining_) {
        draining_ = false;
        endOfExchange();
        return;
    }
    if (!s_.AwaitingReply || s_.DialogShown) return;
    if (earlyAck_) {
        // Nothing came once the frame had crossed the line: the early ACK was the
        // answer, and this line answers sooner than its baud rate allows.
        earlyAck_ = false;
        instantLine_ = true;
        replyArrived();
        blockAcknowledged();
        return;
    }
    if (s_.LinkState <= 2) host_.noAnswer();
    // A timeout counts like a wrong handshake reply; in the block phase the count
    // already stands at the limit, so the question comes at once.
    restartOrAsk();
}

void Exchange::cancel() {
    if (finished_) return;
    host_.stopTimer();
    // Already ended (the finish tick is pending): finish as it would have.
    if (!s_.LinkDone) outcome_ = ExchangeOutcome::Aborted;
    finish();
}

void Exchange::endAfter(ExchangeOutcome outcome, bool closePortNow) {
    if (closePortNow) closePort();
    outcome_ = outcome;
    s_.LinkDone = true;
    host_.startTimer(kCloseDelayMs);
}

bool Exchange::tickIsTimeout() const {
    return started_ && !finished_ && s_.AwaitingReply && !s_.LinkDone && !s_.DialogShown &&
           s_.LinkState > 0 && !earlyAck_ && !settling_ && !draining_;
}

void Exchange::endOfExchange() {
    sendFrame({wire::kEnd});
    host_.pause(kEndPauseMs);
    if (finished_) return;
    closePort();
    s_.LinkDone = true;
    outcome_ = ExchangeOutcome::Done;
    if (readMode_) staged_.commitTo(doc_);
    host_.startTimer(finishDelayMs_);
}

void Exchange::finish() {
    s_.LinkDone = false;
    s_.AwaitingReply = false;
    ExchangeResult result;
    result.request = request_;
    result.outcome = outcome_;
    result.written = written_;
    result.received = received_;
    result.identification = identification_;
    if (outcome_ == ExchangeOutcome::Done) {
        result.text = text(readMode_ ? link_texts::kReadOk : link_texts::kWriteOk);
        if (readMode_) {
            AnalyseModel(doc_);
            if (doc_.radioImage[addr::kExtension] == 1) ApplyBandExtension(doc_, true);
        }
    }
    // What unloading the window does.
    closePort();
    host_.setReceiveThreshold(0);
    finished_ = true;
    host_.finished(result);
}

void Exchange::awaitReply() {
    s_.AwaitingReply = true;
    host_.startTimer(kReplyTimeoutMs);
}

void Exchange::sendFrame(const Bytes& frame) {
    lineClearNs_ = host_.clockNs() + static_cast<std::int64_t>(frame.size()) * wire::kByteTimeNs;
    host_.send(frame);
}

void Exchange::closePort() {
    if (!portOpen_) return;
    portOpen_ = false;
    host_.closePort();
}

void Exchange::initialiseRange() {
    range_ = request_.moves(doc_.BandLowMHz);
    s_.BlockAddrHigh = range_.first / 256;
    s_.BlockAddrLow = range_.first % 256;
    s_.EndAddrHigh = range_.end / 256;
    s_.EndAddrLow = range_.end % 256;
}

void Exchange::showProgress(int nextAddress) {
    const double f = ProgressFraction(nextAddress, range_);
    host_.progress(f, std::string(text(link_texts::kProgressPrefix)) + PercentText(f));
}

}  // namespace baldo7

// One radio's job against the simulated radio on its in-process port: the phases it
// reports, the report it ends with, and a write's read-back.
#include "transfer/radio_job.h"

#include <gtest/gtest.h>

#include "sim/simulated_port.h"
#include "tests/serial/event_loop.h"

using namespace baldo7;
using baldo7::testing::app;
using baldo7::testing::pumpUntil;

namespace {

using P = TransferPhase;

std::vector<TransferPhase> phasesOf(const TransferReport& report) {
    std::vector<TransferPhase> out;
    for (const PhaseEntry& e : report.phases) out.push_back(e.phase);
    return out;
}

}  // namespace

TEST(RadioJob, ReportsItsPhasesAndHowItEnded) {
    app();
    enum class Verdict { None, Same, Differs, Unread };
    struct Case {
        const char* name;
        TransferRequest request;
        std::vector<sim::Fault> faults;
        std::uint8_t radioDigit;
        std::vector<TransferPhase> phases;
        ExchangeOutcome outcome;
        Verdict verdict;
    };
    sim::Fault corrupt;
    corrupt.kind = sim::FaultKind::CorruptWrite;
    corrupt.steps = sim::kStepWrite;
    corrupt.skip = 5;
    corrupt.count = 1;
    // Silent once the 48 blocks of the write are in: the read-back gets no data.
    sim::Fault silentReadBack;
    silentReadBack.kind = sim::FaultKind::Silence;
    silentReadBack.steps = sim::kStepData;
    const Case cases[] = {
        {"read",
         TransferRequest::read(),
         {},
         0x32,
         {P::Connecting, P::Reading, P::Ended},
         ExchangeOutcome::Done,
         Verdict::None},
        {"write",
         TransferRequest::write(),
         {},
         0x32,
         {P::Connecting, P::Writing, P::Ended},
         ExchangeOutcome::Done,
         Verdict::None},
        {"verified write",
         TransferRequest::write(TransferArea::Data, true),
         {},
         0x32,
         {P::Connecting, P::Writing, P::Written, P::Verifying, P::Ended},
         ExchangeOutcome::Done,
         Verdict::Same},
        {"a spoiled byte",
         TransferRequest::write(TransferArea::Data, true),
         {corrupt},
         0x32,
         {P::Connecting, P::Writing, P::Written, P::Verifying, P::Ended},
         ExchangeOutcome::Done,
         Verdict::Differs},
        {"a read-back unanswered",
         TransferRequest::write(TransferArea::Special, true),
         {silentReadBack},
         0x32,
         {P::Connecting, P::Writing, P::Written, P::Verifying, P::Ended},
         ExchangeOutcome::Done,
         Verdict::Unread},
        {"the band question declined",
         TransferRequest::write(TransferArea::Data, true),
         {},
         0x33,
         {P::Connecting, P::Ended},
         ExchangeOutcome::BandDeclined,
         Verdict::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Config config;
        config.faults = c.faults;
        sim::RadioSimulator radio(config);
        for (std::size_t a = 0; a < kRadioMemorySize; ++a)
            radio.memory()[a] = static_cast<std::uint8_t>(a * 5);
        radio.memory()[addr::kModelDigit] = c.radioDigit;
        Document doc;
        for (std::size_t a = 0; a < doc.radioImage.size(); ++a)
            doc.radioImage[a] = static_cast<std::uint8_t>(a * 11);
        doc.radioImage[addr::kModelDigit] = 0x32;
        const RadioImage sent = doc.radioImage;

        RadioJob job(doc, c.request, "simulated-radio",
                     std::make_unique<sim::SimulatedPort>(radio, false));
        job.setFinishDelay(0);
        std::vector<TransferPhase> told;
        QObject::connect(&job, &RadioJob::phaseChanged,
                         [&told](TransferPhase p) { told.push_back(p); });
        int finished = 0;
        QObject::connect(&job, &RadioJob::finished, [&finished] { ++finished; });
        job.start();
        ASSERT_TRUE(pumpUntil([&] { return job.isFinished(); }, 10000));

        const TransferReport& r = job.report();
        EXPECT_EQ(told, c.phases);
        EXPECT_EQ(phasesOf(r), c.phases);
        EXPECT_EQ(finished, 1);
        EXPECT_EQ(r.exchange.outcome, c.outcome);
        EXPECT_EQ(r.endedIn(), c.phases[c.phases.size() - 2]);
        EXPECT_EQ(r.radioModel(), c.radioDigit == 0x32 ? "VHF" : "UHF");
        EXPECT_EQ(r.readBack.has_value(), c.verdict != Verdict::None);
        EXPECT_EQ(r.differs(), c.verdict == Verdict::Differs);
        EXPECT_EQ(r.unverified(), c.verdict == Verdict::Unread);
        EXPECT_EQ(r.ok(), c.outcome == ExchangeOutcome::Done &&
                              (c.verdict == Verdict::None || c.verdict == Verdict::Same));
        if (c.verdict == Verdict::Differs) {
            EXPECT_EQ(r.verify->firstAddresses, std::vector<int>{0x0050});
        }
        if (c.request.reading()) {
            // The document holds what the radio held.
            EXPECT_TRUE(
                std::equal(doc.radioImage.begin(), doc.radioImage.end(), radio.memory().begin()));
        } else {
            // A read-back reads into a copy: the document keeps what it sent.
            for (std::size_t a = 0; a < doc.radioImage.size(); ++a) {
                if (a == addr::kVox) continue;
                ASSERT_EQ(doc.radioImage[a], sent[a]) << a;
            }
        }
    }
}

// Several radios: a write waits, written, until its read-back is asked for.
TEST(RadioJob, AWriteCanWaitForItsReadBack) {
    app();
    sim::RadioSimulator radio;
    radio.memory()[addr::kModelDigit] = 0x32;
    Document doc;
    doc.radioImage[addr::kModelDigit] = 0x32;
    RadioJob job(doc, TransferRequest::write(TransferArea::StunDie, true), "simulated-radio",
                 std::make_unique<sim::SimulatedPort>(radio, false));
    job.setFinishDelay(0);
    job.setVerifyLater(true);
    EXPECT_FALSE(job.startVerify());  // nothing written yet
    job.start();
    ASSERT_TRUE(pumpUntil([&] { return job.phase() == TransferPhase::Written; }));
    pumpUntil([] { return false; }, 50);
    EXPECT_EQ(job.phase(), TransferPhase::Written);
    EXPECT_FALSE(job.report().readBack);
    ASSERT_TRUE(job.startVerify());
    ASSERT_TRUE(pumpUntil([&] { return job.isFinished(); }));
    EXPECT_TRUE(job.report().ok());
    ASSERT_TRUE(job.report().verify);
    EXPECT_EQ(job.report().exchange.written.size(), 2u);
}

// The steps around an exchange (which exchanges run, which backups are kept, when
// nothing is sent) with a scripted radio, and the files on either side of a
// transfer.
#include "transfer/transfer_workflow.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "core/model_band.h"
#include "storage/data_store.h"
#include "transfer/transfer_files.h"

using namespace baldo7;

namespace {

constexpr std::uint8_t kHeld = 0x42;  // what the radio holds
constexpr std::uint8_t kEdit = 0x17;  // what the document is about to send

// The first bytes of a range (short of the model record at 0x1B9).
void fill(Document& doc, const TransferRange& range, std::uint8_t value) {
    RadioMemory m = RadioMemory::of(doc);
    for (int a = range.first; a < std::min(range.end, range.first + 0x110); ++a) m.set(a, value);
    m.commitTo(doc);
}

std::string describe(const TransferRequest& r, ExchangePurpose purpose) {
    const std::string area = r.area == TransferArea::Data ? "data" : TransferAreaName(r.area);
    return std::string(purpose == ExchangePurpose::KeepRadio ? "keep " : "") +
           (r.reading() ? "read " : "write ") + area;
}

// The backup's name after its time stamp, without the count of a second backup of
// the same second.
QString stem(const QString& path) {
    return QFileInfo(path).fileName().section('_', 2).remove(QRegularExpression("-\\d+(?=\\.)"));
}

}  // namespace

TEST(TransferWorkflow, KeepsWhatTheRadioHeldAndWhatIsSentBeforeAnythingGoesOut) {
    struct Run {
        TransferRequest request;
        const char* port = "A";
        bool radioAnswers = true;
    };
    struct Case {
        const char* name;
        std::vector<Run> runs;
        bool backupsOn = true;
        bool keepData = false;
        bool folderBroken = false;  // no backup can be written
        bool goOnWithout = false;   // the answer to a failed backup
        std::vector<std::string> exchanges;
        QStringList backups;  // of the last run
        WorkflowStop stopped = WorkflowStop::None;
        bool backupFailed = false;
    };
    using R = TransferRequest;
    const auto tune = TransferArea::Tune, special = TransferArea::Special;
    const Case cases[] = {
        {"a read keeps what was read",
         {{R::read()}},
         true,
         false,
         false,
         false,
         {"read data"},
         {"VHF_read.rdat"}},
        {"no backups: only the exchange",
         {{R::write(tune)}},
         false,
         false,
         false,
         false,
         {"write tune"},
         {}},
        {"a data write keeps what is sent",
         {{R::write()}},
         true,
         false,
         false,
         false,
         {"write data"},
         {"VHF_before-write.rdat"}},
        {"the password change reads the radio first",
         {{R::write()}},
         true,
         true,
         false,
         false,
         {"keep read data", "write data"},
         {"VHF_read.rdat", "VHF_before-write.rdat"}},
        {"a range write reads it first, both named by the radio",
         {{R::write(TransferArea::StunDie)}},
         true,
         false,
         false,
         false,
         {"keep read stundie", "write stundie"},
         {"UHF_stundie-read.bin", "UHF_stundie-before-write.bin"}},
        {"after a read of the range on the port, no second read",
         {{R::read(special)}, {R::write(special)}},
         true,
         false,
         false,
         false,
         {"read special", "write special"},
         {"VHF_special-before-write.bin"}},
        {"a read on another port does not count",
         {{R::read(special)}, {R::write(special), "B"}},
         true,
         false,
         false,
         false,
         {"read special", "keep read special", "write special"},
         {"UHF_special-read.bin", "UHF_special-before-write.bin"}},
        {"a failed read forgets the one before",
         {{R::read(tune)}, {R::read(tune), "A", false}, {R::write(tune)}},
         true,
         false,
         false,
         false,
         {"read tune", "read tune", "keep read tune", "write tune"},
         {"UHF_tune-read.bin", "UHF_tune-before-write.bin"}},
        {"a radio that cannot be read is not written",
         {{R::write(tune), "A", false}},
         true,
         false,
         false,
         false,
         {"keep read tune"},
         {},
         WorkflowStop::RadioNotKept},
        {"a failed backup before a write stops it",
         {{R::write()}},
         true,
         false,
         true,
         false,
         {},
         {},
         WorkflowStop::BackupRefused},
        {"...unless the caller goes on",
         {{R::write()}},
         true,
         false,
         true,
         true,
         {"write data"},
         {},
         WorkflowStop::None,
         true},
        {"a failed backup after a read is only said",
         {{R::read()}},
         true,
         false,
         true,
         false,
         {"read data"},
         {},
         WorkflowStop::None,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir tmp;
        QFile blocker(tmp.filePath("file"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        const QString folder = c.folderBroken ? tmp.filePath("file/backups") : tmp.filePath("b");
        Document doc;
        doc.radioImage[addr::kModelDigit] = 0x32;  // the document's VHF
        AnalyseModel(doc);
        std::vector<std::string> exchanges;
        int failuresSaid = 0;
        bool answers = true;
        TransferWorkflow workflow(
            {[&](Document& d, const TransferRequest& r, ExchangePurpose purpose) {
                 exchanges.push_back(describe(r, purpose));
                 TransferReport report;
                 report.request = r;
                 report.exchange.request = r;
                 report.exchange.outcome =
                     answers ? ExchangeOutcome::Done : ExchangeOutcome::Cancelled;
                 report.exchange.identification = {'I', 0x33, '0', '1', '0', '0', '0', '0'};
                 if (answers && r.reading()) fill(d, r.moves(d.BandLowMHz), kHeld);
                 return report;
             },
             [&](const BackupFailure& f) {
                 ++failuresSaid;
                 EXPECT_EQ(f.beforeSending, !c.runs.back().request.reading());
                 EXPECT_FALSE(f.error.isEmpty());
                 return c.goOnWithout;
             }});
        WorkflowResult result;
        for (const Run& run : c.runs) {
            answers = run.radioAnswers;
            if (!run.request.reading()) fill(doc, run.request.moves(0), kEdit);
            result = workflow.run(doc, run.request, run.port,
                                  {c.backupsOn ? folder : QString(), c.keepData});
        }
        EXPECT_EQ(exchanges, c.exchanges);
        QStringList names;
        for (const QString& path : result.backups) names << stem(path);
        EXPECT_EQ(names, c.backups);
        EXPECT_EQ(result.stopped, c.stopped);
        EXPECT_EQ(result.backupFailed, c.backupFailed);
        EXPECT_EQ(failuresSaid, c.folderBroken ? 1 : 0);
        const Run& last = c.runs.back();
        EXPECT_EQ(result.ok(), c.stopped == WorkflowStop::None && last.radioAnswers);
        // What a backup holds: the radio's bytes as read, or the bytes about to be sent.
        const TransferRange span = last.request.moves(0);
        for (const QString& path : result.backups) {
            const std::uint8_t expected = path.contains("before-write") ? kEdit : kHeld;
            Document kept;
            Bytes bytes;
            if (path.endsWith(".rdat")) {
                ASSERT_TRUE(LoadDataFile(kept, path).ok());
                EXPECT_EQ(kept.radioImage[0x100], expected) << path.toStdString();
            } else {
                ASSERT_TRUE(ReadFileBytes(path, bytes).ok());
                ASSERT_GE(bytes.size(), 16u);
                EXPECT_EQ(bytes.front(), expected) << path.toStdString();
            }
        }
        // The read before a write went into a copy: the document still sends its edit.
        if (!last.request.reading()) {
            EXPECT_EQ(RadioMemory::of(doc).at(span.first), kEdit);
        }
    }
}

TEST(TransferFiles, RawDumpsInAndReadResultsOut) {
    QTemporaryDir tmp;
    auto file = [&](const char* name, Bytes bytes) {
        const QString path = tmp.filePath(name);
        EXPECT_TRUE(WriteFileAtomically(path, bytes));
        return path;
    };
    Bytes memory(kRadioMemorySize);
    for (std::size_t a = 0; a < memory.size(); ++a) memory[a] = static_cast<std::uint8_t>(a * 3);
    struct Case {
        const char* name;
        TransferArea area;
        Bytes bytes;
        bool raw;
        QString error;          // empty: loaded
        int at = 0, first = 0;  // a byte's address and what it must hold from the file
        std::optional<int> rangeFirst;
    };
    const Case cases[] = {
        {"tune page", TransferArea::Tune, Bytes(256, 0x5A), true, "", 0x0300, 0x5A, 0x0300},
        {"tune read", TransferArea::Tune, Bytes(0xD00, 0x6B), true, "", 0x0FFF, 0x6B, 0x0300},
        {"whole memory", TransferArea::Special, memory, true, "", 0x0E10, memory[0x0E10], {}},
        {"stun/die", TransferArea::StunDie, Bytes(32, 0x33), true, "", 0x0B9F, 0x33, {}},
        {"special, wrong size",
         TransferArea::Special,
         Bytes(17, 0),
         true,
         "a special dump is 16 bytes (or a 4096-byte memory dump)",
         0,
         0,
         {}},
        {"tune data file size", TransferArea::Tune, Bytes(1057, 0), false, "", 0, 0, {}},
        {"data", TransferArea::Data, memory, false, "", 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = file("in.bin", c.bytes);
        EXPECT_EQ(WritesRawDump(c.area, static_cast<qint64>(c.bytes.size())), c.raw);
        if (!c.raw) continue;
        Document doc;
        TransferRequest request = TransferRequest::write(c.area);
        QString error;
        EXPECT_EQ(LoadRawDump(doc, request, path, &error), c.error.isEmpty());
        EXPECT_EQ(error, c.error);
        if (!c.error.isEmpty()) continue;
        EXPECT_EQ(RadioMemory::of(doc).at(c.at), c.first);
        EXPECT_EQ(request.range.has_value(), c.rangeFirst.has_value());
        if (request.range) {
            // A tune dump goes back whole, not from the template band's table.
            EXPECT_EQ(request.range->first, *c.rangeFirst);
            EXPECT_EQ(request.range->end, 0x0400);
            EXPECT_FALSE(request.range->tuneOrder);
        }
    }
    Document doc;
    TransferRequest request = TransferRequest::write(TransferArea::Tune);
    QString error;
    EXPECT_FALSE(LoadRawDump(doc, request, tmp.filePath("missing.bin"), &error));
    EXPECT_FALSE(error.isEmpty());

    // A read's result: the data file, or exactly the bytes of the range it moved.
    Document read;
    for (int from = 0; from < 0x1000; from += 0x100)
        fill(read, {from, from + 0x100, 0, false}, 0x24);
    read.radioImage[addr::kModelDigit] = 0x32;
    AnalyseModel(read);
    EXPECT_EQ(SaveReadResult(read, TransferRequest::read(TransferArea::Special),
                             tmp.filePath("s.bin"), &error),
              "s.bin: special 0x0E10-0x0E1F, 16 bytes");
    Bytes saved;
    ASSERT_TRUE(ReadFileBytes(tmp.filePath("s.bin"), saved).ok());
    EXPECT_EQ(saved, Bytes(16, 0x24));
    EXPECT_EQ(SaveReadResult(read, TransferRequest::read(), tmp.filePath("r.rdat"), &error),
              "r.rdat: " + QString::fromStdString(ModelBandText(read, true)));
    Document back;
    ASSERT_TRUE(LoadDataFile(back, tmp.filePath("r.rdat")).ok());
    EXPECT_EQ(back.radioImage, read.radioImage);
    EXPECT_TRUE(
        SaveReadResult(read, TransferRequest::read(), tmp.filePath("no/r.rdat"), &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

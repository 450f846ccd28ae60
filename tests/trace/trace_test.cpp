// The serial trace of baldo7ctl read --trace against baldo7-sim with faults: every
// step on the line, the timeouts and restarts where they happened.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

#include "core/secrets.h"
#include "link/serial_trace.h"
#include "storage/data_store.h"
#include "tests/support/ctl_run.h"
#include "tests/support/owner_only.h"

using namespace baldo7;

namespace {

struct Event {
    qint64 ms;
    QString event;
    QString detail;
};

// The timestamped lines of a trace, after its heading.
std::vector<Event> readTrace(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    static const QRegularExpression line(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d +(\\d+)  (\\S+) *(.*)$"));
    std::vector<Event> out;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const auto m = line.match(QString::fromUtf8(raw));
        if (m.hasMatch()) out.push_back({m.captured(1).toLongLong(), m.captured(2), m.captured(3)});
    }
    return out;
}

std::size_t find(const std::vector<Event>& t, std::size_t from, const QString& event,
                 const QString& detailPart = {}) {
    for (std::size_t i = from; i < t.size(); ++i)
        if (t[i].event == event && t[i].detail.contains(detailPart)) return i;
    return t.size();
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

// A received-bytes line as a trace writes it.
QString recvLine(const QString& detail) {
    return QStringLiteral("10:20:32.200  %1  %2 %3")
        .arg(5, 14)
        .arg(QStringLiteral("recv"), -9)
        .arg(detail);
}

}  // namespace

// Every secret the radio holds, in each exchange that carries it, shows only as
// masked bytes; the frames keep their place and name. Traces are the user's only.
TEST(SerialTrace, SecretsAreMaskedInEveryExchange) {
    QTemporaryDir dir;
    // A radio with a model record and secrets that appear nowhere else.
    QByteArray memory(0x1000, '\0');
    for (int a = 0; a < memory.size(); ++a) memory[a] = char((a * 7 + 3) & 0x3F);
    memory[int(addr::kModelDigit)] = 0x33;
    memory[int(addr::kBandCode)] = char(0x93);
    memory.replace(0x02F0, 6, "Qz7#Kx");
    memory.replace(0x0ABC, 4, "Rp4Z");
    memory.replace(0x0B80, 16, QByteArray::fromHex("0908070605040000 0E0D0C0B0A0E0D0C"));
    memory[0x0B90] = char(0x86);  // the lengths: masked too
    const QString mem = dir.filePath("mem.bin");
    writeBytes(mem, Bytes(memory.begin(), memory.end()));
    QProcess sim;
    sim.start(BALDO7_SIM, {"--load", mem});
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();

    // A document that changes the password on its write.
    const QString rdat = dir.filePath("r.rdat");
    ASSERT_EQ(ctl({"read", "--port", device, "-o", rdat, "-q"}).exitCode, 0);
    Document doc;
    ASSERT_TRUE(LoadDataFile(doc, rdat).ok());
    doc.ProgramPassword = "Op5%Lm";
    doc.NewPassword = "Nw9!Pq";
    doc.ChangePasswordFlag = true;
    ASSERT_TRUE(SaveDataFile(doc, rdat));
    writeBytes(dir.filePath("stundie.bin"),
               Bytes(memory.begin() + 0x0B80, memory.begin() + 0x0BA0));

    const QByteArray secrets[] = {"Qz7#Kx",
                                  "Op5%Lm",
                                  "Nw9!Pq",
                                  "Rp4Z",
                                  QByteArray::fromHex("090807060504"),
                                  QByteArray::fromHex("0E0D0C0B0A0E0D0C")};
    const struct {
        QStringList args;
        const char* frame;   // the start of the line that carries the secret
        const char* masked;  // and what else it says
        int blocks;
    } cases[] = {
        {{"read", "-o", dir.filePath("x.rdat")},
         "recv      57 02 F0 10 ** ** ** ** ** ** ",
         "[masked: programming password]",
         64},
        {{"write", rdat, "--yes"},
         "send      57 02 F0 10 ** ** ** ** ** ** ",
         "[masked: programming password]",
         48},
        {{"read", "--range", "local", "-o", dir.filePath("l.bin")},
         "recv      57 0A B0 10 ",
         "****|  data block 0x0AB0  [masked: local record password]",
         16},
        {{"read", "--range", "stundie", "-o", dir.filePath("s.bin")},
         "recv      57 0B 90 10 ** ",
         "|W...*",
         2},
        {{"write", "--range", "stundie", dir.filePath("stundie.bin"), "--yes"},
         "send      57 0B 80 10 ** ** ** ** ** ** ** ** ** ** ** ** ** ** ** **  "
         "|W...****************|"
         "  data block 0x0B80  [masked: stun code, die code]",
         "",
         2},
    };
    for (const auto& c : cases) {
        const QString trace = dir.filePath("t.txt");
        const CtlRun r =
            ctl(QStringList{c.args[0], "--port", device, "--trace", trace, "-q"} + c.args.mid(1));
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QByteArray text = readAll(trace);
        for (const QByteArray& secret : secrets) {
            EXPECT_FALSE(text.contains(secret)) << c.frame;
            EXPECT_FALSE(text.contains(hexBytes(secret).section("  |", 0, 0).toLatin1()))
                << c.frame;
        }
        const qsizetype at = text.indexOf(c.frame);
        ASSERT_GE(at, 0) << c.frame << "\n" << text.toStdString();
        EXPECT_TRUE(text.mid(at, text.indexOf('\n', at) - at).contains(c.masked)) << c.frame;
        EXPECT_EQ(text.count(c.args[0] == "read" ? "recv      57 " : "send      57 "), c.blocks);
        EXPECT_TRUE(OwnerOnly(trace));
        // Masking the trace again changes nothing.
        EXPECT_EQ(MaskTraceText(QString::fromUtf8(text)), QString::fromUtf8(text));
    }
    sim.terminate();
    sim.waitForFinished();
}

// Frames split anywhere over reads, behind noise, are masked byte for byte; a trace
// an older version wrote in clear is masked the same way when read again.
TEST(SerialTrace, MaskingFollowsFramesOverAnySplit) {
    const QByteArray password = QByteArray::fromHex("57 02F0 10") + "Ab1234" + QByteArray(10, 'z');
    const QByteArray other = QByteArray::fromHex("57 0300 10") + QByteArray(16, 'y');
    const QByteArray stream = QByteArray::fromHex("06 57 02") + password + other + password;
    std::vector<bool> secret(std::size_t(stream.size()), false);
    for (qsizetype p : {qsizetype(3), qsizetype(3 + 2 * kDataFrameSize)})
        for (int k = 4; k < 10; ++k) secret[std::size_t(p + k)] = true;
    for (qsizetype a = 0; a <= stream.size(); ++a) {
        for (qsizetype b = a; b <= stream.size(); b += 7) {
            LineMasker masker;
            std::vector<const SecretRange*> masked;
            QStringList clear, expected;
            for (const QByteArray& chunk : {stream.left(a), stream.mid(a, b - a), stream.mid(b)}) {
                if (chunk.isEmpty()) continue;
                const std::vector<const SecretRange*> m = masker.scan(chunk);
                masked.insert(masked.end(), m.begin(), m.end());
                const bool any = std::any_of(m.begin(), m.end(), [](auto* s) { return s; });
                clear << recvLine(hexBytes(chunk));
                expected << recvLine(
                    hexBytes(chunk, m) +
                    (any ? QStringLiteral("  [masked: programming password]") : QString()));
            }
            ASSERT_EQ(masked.size(), secret.size());
            for (std::size_t i = 0; i < secret.size(); ++i)
                ASSERT_EQ(masked[i] != nullptr, secret[i]) << a << " " << b << " " << i;
            ASSERT_EQ(MaskTraceText(clear.join('\n')), expected.join('\n')) << a << " " << b;
        }
    }
}

// A radio silent to the first identification string and to the third read request:
// a silent restart, then the retry question answered Retry, then a whole read.
TEST(SerialTrace, ReadWithFaultsShowsTimeoutsAndRestartsWhereTheyHappened) {
    QTemporaryDir dir;
    QProcess sim;
    sim.start(BALDO7_SIM, {"--silent", "--at", "hello:0:1", "--silent", "--at", "data:2:1"});
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    const QString trace = dir.filePath("read.trace");
    const CtlRun r = ctl({"read", "--port", device, "-o", dir.filePath("r.rdat"), "--retries", "1",
                          "--trace", trace, "-q"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const std::vector<Event> t = readTrace(trace);
    ASSERT_FALSE(t.empty());

    EXPECT_EQ(t.front().event, "open");
    EXPECT_TRUE(t.front().detail.startsWith(device + ": 9600,N,8,1"));
    // The identification string goes unanswered: a timeout in state 1, a silent restart.
    std::size_t i = find(t, 0, "send", "identification");
    ASSERT_EQ(i, 1u);
    ASSERT_LT(i + 3, t.size());
    EXPECT_EQ(t[i + 1].event, "timeout");
    EXPECT_TRUE(t[i + 1].detail.contains("no answer within 1000 ms (state 1"));
    EXPECT_GE(t[i + 1].ms - t[i].ms, 1000);
    EXPECT_EQ(t[i + 2].event, "restart");
    EXPECT_EQ(t[i + 3].event, "send");
    EXPECT_TRUE(t[i + 3].detail.endsWith("|HXLN3B7|  identification"));
    EXPECT_EQ(t[i + 4].event, "recv");
    EXPECT_TRUE(t[i + 4].detail.endsWith("ACK"));

    // The third read request goes unanswered: a timeout in state 4, the question,
    // Retry, and the whole handshake again.
    i = find(t, 0, "send", "read request 0x0020");
    ASSERT_LT(i + 5, t.size());
    EXPECT_EQ(find(t, 0, "timeout", "state 4"), i + 1);
    EXPECT_EQ(t[i + 2].event, "question");
    EXPECT_EQ(t[i + 2].detail, "Check connection!Retry or cancel?");
    EXPECT_EQ(t[i + 3].event, "answer");
    EXPECT_EQ(t[i + 3].detail, "Retry");
    EXPECT_EQ(t[i + 4].event, "restart");
    EXPECT_TRUE(t[i + 5].detail.endsWith("identification"));
    EXPECT_EQ(find(t, i + 6, "timeout"), t.size());

    // Two blocks before the restart, all 64 after it; then the end byte and the end.
    int blocks = 0;
    for (const Event& e : t) blocks += e.event == "recv" && e.detail.contains("data block 0x");
    EXPECT_EQ(blocks, 66);
    ASSERT_GE(t.size(), 3u);
    EXPECT_TRUE(t[t.size() - 3].detail.endsWith("|E|  end"));
    EXPECT_EQ(t[t.size() - 2].event, "close");
    EXPECT_EQ(t.back().event, "end");
    EXPECT_EQ(t.back().detail, "done: Read Data OK");
    for (std::size_t k = 1; k < t.size(); ++k) EXPECT_GE(t[k].ms, t[k - 1].ms);
    sim.terminate();
    sim.waitForFinished();
}

// A verified write's trace goes on with the read-back and ends with what the
// comparison found.
TEST(SerialTrace, VerifiedWriteEndsWithTheComparison) {
    QTemporaryDir dir;
    const QString rdat = dir.filePath("w.rdat");
    ASSERT_EQ(ctl({"new", "-o", rdat}).exitCode, 0);
    const struct {
        QStringList faults;
        int exitCode;
        const char* verdict;
    } cases[] = {
        {{}, 0, "Verify OK"},
        {{"--corrupt-write", "--at", "write:5:1"},
         6,
         "Verify failed: 1 byte differs from what was written, first at 0x0050"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.verdict);
        QProcess sim;
        sim.start(BALDO7_SIM, QStringList{"--model-digit", "0x32"} + c.faults);
        ASSERT_TRUE(sim.waitForReadyRead(5000));
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        const QString trace = dir.filePath("write.trace");
        const CtlRun r = ctl({"write", "--port", device, rdat, "--verify", "--trace", trace, "-q"});
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        const std::vector<Event> t = readTrace(trace);
        const std::size_t written = find(t, 0, "end", "done: Write Data OK");
        const std::size_t back = find(t, written, "verify", "reading back 0x0000-0x02FF");
        ASSERT_LT(back, t.size());
        EXPECT_LT(find(t, back, "end", "done: Read Data OK"), t.size());
        EXPECT_EQ(t.back().event, "verify");
        EXPECT_EQ(t.back().detail, c.verdict);
        sim.terminate();
        sim.waitForFinished();
    }
}

// Frames are named the way the protocol names them; anything else is left plain.
TEST(SerialTrace, FramesAreNamed) {
    const struct {
        QByteArray bytes;
        bool sent;
        const char* name;
    } cases[] = {
        {"HXLN3B7", true, "identification"},
        {QByteArray(1, 0x06), false, "ACK"},
        {QByteArray(1, 0x15), false, "NAK"},
        {QByteArray(1, 0x02), true, "identification reply asked"},
        {QByteArray(1, 0x45), true, "end"},
        {QByteArray::fromHex("52 02F0 10"), true, "read request 0x02F0"},
        {QByteArray::fromHex("57 0A80 10") + QByteArray(16, 0x20), false, "data block 0x0A80"},
        {QByteArray::fromHex("49 32 30 31 30 30 30 30"), false, "identification reply?"},
        {QByteArray::fromHex("52 02F0"), true, ""},
        {QByteArray(1, 0x45), false, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describeFrame(c.bytes, c.sent), QString(c.name)) << c.bytes.toHex().data();
    EXPECT_EQ(hexBytes(QByteArray::fromHex("48 06 7F")), "48 06 7F  |H..|");
}

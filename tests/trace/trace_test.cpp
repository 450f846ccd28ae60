// The serial trace of baldo7ctl read --trace against baldo7-sim with faults: every
// step on the line, the timeouts and restarts where they happened.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "link/serial_trace.h"
#include "tests/support/ctl_run.h"

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

}  // namespace

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

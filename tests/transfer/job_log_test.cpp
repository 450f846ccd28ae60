// The job log's file: cells a spreadsheet reads back as they were logged (quotes,
// commas, a serial number that looks like a formula), and the checksum of a write.
#include "transfer/job_log.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace baldo7;

TEST(JobLog, CellsComeBackAsLoggedAndNoneIsAFormula) {
    QTemporaryDir dir;
    const QString path = JobLogPath(dir.filePath("jobs"), QDate(2026, 12, 8));
    struct Case {
        QString serial;
        QString stored;  // what the spreadsheet shows
    } cases[] = {
        {"SN-0001", "SN-0001"},
        {"=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")"},
        {"+1", "'+1"},
        {"@A1", "'@A1"},
        {"a,b", "a,b"},
        {"line\nbreak", "line break"},
        {" padded ", " padded "},
    };
    for (const Case& c : cases) {
        JobLogEntry e;
        e.when = QDateTime(QDate(2026, 12, 8), QTime(10, 59, 59));
        e.port = "/dev/ttyUSB0";
        e.outcome = JobOutcome::Written;
        e.serialNumber = c.serial;
        e.dataFile = "customer, v2.rdat";
        QString error;
        ASSERT_TRUE(AppendJobLog(path, e, &error)) << error.toStdString();
    }
    const QList<QStringList> rows = ReadJobLog(path);
    ASSERT_EQ(rows.size(), static_cast<int>(std::size(cases)));
    for (int i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(rows[i].size(), JobLogHeader().size());
        EXPECT_EQ(rows[i][0], "2026-12-08");
        EXPECT_EQ(rows[i][3], "written");
        EXPECT_EQ(rows[i][6], cases[i].stored);
        EXPECT_EQ(rows[i][7], "customer, v2.rdat");
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(
        text.startsWith("\xEF\xBB\xBF"
                        "Date,Time,Port,Outcome,Model,Band,Serial Number"));
    EXPECT_EQ(text.count("\r\n"), static_cast<int>(std::size(cases)) + 1);

    const QList<JobLogDay> days = ListJobLogDays(dir.filePath("jobs"));
    ASSERT_EQ(days.size(), 1);
    EXPECT_EQ(days[0].day, QDate(2026, 12, 8));
}

// CRC-32 over the blocks in address order, a block sent twice counted once.
TEST(JobLog, ChecksumOfTheBytesWritten) {
    WrittenBlock low, high;
    low.address = 0x10;
    for (int i = 0; i < kBlockSize; ++i) low.data[i] = static_cast<std::uint8_t>(i);
    high.address = 0x20;
    high.data.fill(0xAA);
    EXPECT_EQ(WrittenChecksum({low, high}), "A21AC30D");
    EXPECT_EQ(WrittenChecksum({high, low, high}), "A21AC30D");
    EXPECT_EQ(JobLogFolder("/home/dealer/.local/share/baldo7/backups/"),
              "/home/dealer/.local/share/baldo7/jobs");
}

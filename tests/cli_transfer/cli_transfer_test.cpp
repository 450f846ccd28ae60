// baldo7ctl read / write against baldo7-sim over a real pseudo-terminal.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>

#include <sys/resource.h>

#include "channels/channel_record.h"
#include "core/software_data.h"
#include "link/transfer_ranges.h"
#include "storage/backups.h"
#include "storage/data_store.h"
#include "tests/support/ctl_run.h"
#include "tests/support/owner_only.h"
#include "transfer/job_log.h"

using namespace baldo7;

namespace {

// A simulator for the length of a test; its first output line is the device.
struct Sim {
    QProcess process;
    QString device;
    explicit Sim(const QStringList& args) {
        process.start(BALDO7_SIM, args);
        while (!process.canReadLine() && process.waitForReadyRead(5000)) {
        }
        device = QString::fromLocal8Bit(process.readLine()).trimmed();
        EXPECT_TRUE(device.startsWith("/dev/")) << process.readAllStandardError().toStdString();
    }
    bool waitForExit() { return process.waitForFinished(10000); }
    ~Sim() {
        if (process.state() == QProcess::NotRunning) return;
        process.terminate();
        process.waitForFinished(5000);
    }
};

Bytes readBytes(const QString& path) {
    Bytes b;
    EXPECT_TRUE(ReadFileBytes(path, b).ok()) << path.toStdString();
    return b;
}

Bytes slice(const Bytes& b, int from, int to) {
    return Bytes(b.begin() + from, b.begin() + std::min<int>(to, static_cast<int>(b.size())));
}

// A 4 KiB radio memory with a real model record: UHF 400-480 MHz, extension on.
Bytes radioMemory() {
    Bytes m(kRadioMemorySize);
    for (std::size_t a = 0; a < m.size(); ++a) m[a] = static_cast<std::uint8_t>(a * 7 + 3);
    m[addr::kModelDigit] = 0x33;
    m[addr::kBandCode] = 0x93;
    m[addr::kExtension] = 1;
    return m;
}

}  // namespace

TEST(CliRead, ABlankRadiosBandIsUnknownInEveryReport) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("blank.bin"), Bytes(kRadioMemorySize, 0xFF));
    Sim sim({"--load", dir.filePath("blank.bin")});
    const QString rdat = dir.filePath("blank.rdat");
    const CtlRun r = ctl({"read", "--port", sim.device, "-o", rdat, "-q"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "blank.rdat: UHF, band unknown\n");
    const CtlRun shown = ctl({"show", rdat});
    EXPECT_TRUE(shown.out.startsWith("blank.rdat: UHF, band unknown\n\n"))
        << shown.out.toStdString();
    const QJsonObject band =
        QJsonDocument::fromJson(ctl({"show", rdat, "--json"}).out).object()["band"].toObject();
    EXPECT_EQ(band["known"], QJsonValue(false));
}

TEST(CliRead, StoresTheSimulatorsBytes) {
    QTemporaryDir dir;
    const Bytes memory = radioMemory();
    writeBytes(dir.filePath("mem.bin"), memory);
    Sim sim({"--load", dir.filePath("mem.bin")});

    const QString rdat = dir.filePath("read.rdat");
    CtlRun r = ctl({"read", "--port", sim.device, "-o", rdat});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), "read.rdat: UHF 400-480MHz, transmit up to 520MHz");
    EXPECT_TRUE(r.err.startsWith("Complete:0%\nComplete:2%\n")) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith("Complete:100%\n"));
    Document doc;
    ASSERT_TRUE(LoadDataFile(doc, rdat).ok());
    EXPECT_EQ(Bytes(doc.radioImage.begin(), doc.radioImage.end()), slice(memory, 0, 0x400));

    const struct {
        const char* range;
        int from, to;
    } ranges[] = {{"tune", 0x0300, 0x1000},
                  {"local", 0x0A80, 0x0B80},
                  {"stundie", 0x0B80, 0x0BA0},
                  {"special", 0x0E10, 0x0E20}};
    for (const auto& c : ranges) {
        const QString bin = dir.filePath(QString(c.range) + ".bin");
        r = ctl({"read", "--port", sim.device, "--range", c.range, "-o", bin, "--quiet"});
        ASSERT_EQ(r.exitCode, 0) << c.range << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty());
        EXPECT_EQ(readBytes(bin), slice(memory, c.from, c.to)) << c.range;
    }
}

// The radio ends up with the file's 0x000-0x2FF as the write sends it: VOX level
// cleared and the new password in place; nothing above.
TEST(CliWrite, LeavesTheFilesImageInTheRadio) {
    QTemporaryDir dir;
    const QString rdat = dir.filePath("w.rdat");
    ASSERT_EQ(ctl({"new", "-o", rdat}).exitCode, 0);
    Document doc;
    ASSERT_TRUE(LoadDataFile(doc, rdat).ok());
    for (int a = 0; a < 0x400; ++a)
        if (a < 0x100) doc.radioImage[a] = static_cast<std::uint8_t>(a + 1);
    doc.radioImage[addr::kVox] = 0x37;
    doc.ChangePasswordFlag = true;
    doc.NewPassword = "AB12";
    ASSERT_TRUE(SaveDataFile(doc, rdat));
    const Bytes fileBefore = readBytes(rdat);

    Sim sim(
        {"--fill", "0x00", "--model-digit", "0x32", "--once", "--dump", dir.filePath("dump.bin")});
    const CtlRun r = ctl({"write", "--port", sim.device, rdat, "-q"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Write Data OK\n");
    ASSERT_TRUE(sim.waitForExit());
    const Bytes dump = readBytes(dir.filePath("dump.bin"));
    Bytes expected(doc.radioImage.begin(), doc.radioImage.begin() + 0x300);
    expected[addr::kVox] = 0x30;
    const Bytes password{'A', 'B', '1', '2', 0xFF, 0xFF};
    std::copy(password.begin(), password.end(), expected.begin() + 0x2F0);
    EXPECT_EQ(slice(dump, 0, 0x300), expected);
    EXPECT_EQ(slice(dump, 0x300, 0x1000), Bytes(0xD00, 0x00));
    EXPECT_EQ(readBytes(rdat), fileBefore);  // the file is never written back

    // A raw stun/die dump lands at its radio addresses.
    Sim sim2(
        {"--fill", "0x00", "--model-digit", "0x32", "--once", "--dump", dir.filePath("dump2.bin")});
    Bytes stun(32);
    for (int i = 0; i < 32; ++i) stun[i] = static_cast<std::uint8_t>(0xA0 + i);
    writeBytes(dir.filePath("stun.bin"), stun);
    ASSERT_EQ(
        ctl({"write", "--port", sim2.device, "--range", "stundie", dir.filePath("stun.bin"), "-q"})
            .exitCode,
        0);
    ASSERT_TRUE(sim2.waitForExit());
    const Bytes dump2 = readBytes(dir.filePath("dump2.bin"));
    EXPECT_EQ(slice(dump2, 0x0B80, 0x0BA0), stun);
    EXPECT_EQ(slice(dump2, 0, 0x0B80), Bytes(0x0B80, 0x00));
}

// --verify compares the read-back with what went on the wire (VOX cleared, password
// substituted), so a faithful radio passes and a spoiled byte is named; a read-back
// block naming another address is a link error. Success is said only after the
// read-back agrees.
TEST(CliWrite, VerifyReadsBackWhatWasSent) {
    QTemporaryDir dir;
    const QString rdat = dir.filePath("w.rdat");
    ASSERT_EQ(ctl({"new", "-o", rdat}).exitCode, 0);
    Document doc;
    ASSERT_TRUE(LoadDataFile(doc, rdat).ok());
    doc.radioImage[addr::kVox] = 0x37;
    doc.ChangePasswordFlag = true;
    doc.NewPassword = "AB12";
    ASSERT_TRUE(SaveDataFile(doc, rdat));
    writeBytes(dir.filePath("stun.bin"), Bytes(32, 0x5A));
    writeBytes(dir.filePath("special.bin"), Bytes(16, 0xA5));

    const struct {
        QStringList simFaults;
        QStringList range;
        int exitCode;
        const char* out;
        const char* err;  // in the error output
    } cases[] = {
        {{}, {}, 0, "Write Data OK\nVerify OK\n", ""},
        {{"--corrupt-write", "--at", "write:5:1"},
         {},
         6,
         "",
         "write: Verify failed: 1 byte differs from what was written, first at 0x0050\n"
         "baldo7ctl: write: Not as written in the radio: Channel 5.\n"},
        {{"--corrupt-write", "--at", "write:5:1", "--block-address", "0x0300", "--at", "data:5:1"},
         {},
         4,
         "",
         " --verify: the link failed: no answer or a wrong answer from the radio\n"},
        {{"--corrupt-write", "--at", "write:47:1"}, {}, 6, "", "first at 0x02F0\n"},
        {{"--corrupt-write"},
         {"--range", "stundie"},
         6,
         "",
         "2 bytes differ from what was written, first at 0x0B80, 0x0B90\n"},
        {{"--corrupt-write", "--at", "write:2"},
         {"--range", "stundie"},
         0,
         "Write Data OK\nVerify OK\n",
         ""},
        {{}, {"--range", "tune"}, 0, "Write Data OK\nVerify OK\n", ""},
        {{"--corrupt-write", "--at", "write:1:1"}, {"--range", "tune"}, 6, "", "first at 0x0330\n"},
        {{"--corrupt-write"},
         {"--range", "special"},
         6,
         "",
         "1 byte differs from what was written, first at 0x0E10\n"},
    };
    for (const auto& c : cases) {
        const QString what = (c.simFaults + c.range).join(' ');
        Sim sim(QStringList{"--fill", "0x00", "--model-digit", "0x32"} + c.simFaults);
        const QString file =
            c.range.isEmpty() || c.range.contains("tune")
                ? rdat
                : dir.filePath(c.range.contains("special") ? "special.bin" : "stun.bin");
        const CtlRun r =
            ctl(QStringList{"write", "--port", sim.device, "--verify", "-q", file} + c.range);
        EXPECT_EQ(r.exitCode, c.exitCode) << what.toStdString() << r.err.toStdString();
        EXPECT_EQ(r.out, c.out) << what.toStdString();
        EXPECT_TRUE(r.err.contains(c.err)) << what.toStdString() << r.err.toStdString();
        // A difference ends with what to do about it.
        EXPECT_EQ(r.err.endsWith("check that the cable is plugged in firmly at both ends and "
                                 "that the radio's battery is charged.\n"),
                  c.exitCode == 6)
            << what.toStdString();
    }
}

// --backup-dir keeps the bytes read and the file about to be written as dated data
// files; a folder that cannot be made stops a write before the radio is touched.
TEST(CliTransfer, BackupDirKeepsReadsAndFilesBeforeWriting) {
    QTemporaryDir dir;
    const Bytes memory = radioMemory();
    writeBytes(dir.filePath("mem.bin"), memory);
    Sim sim({"--load", dir.filePath("mem.bin"), "--dump", dir.filePath("dump.bin")});
    const QString backups = dir.filePath("backups");
    auto listed = [&](const QString& pattern) {
        return QDir(backups).entryList({pattern}, QDir::Files);
    };

    const QString rdat = dir.filePath("r.rdat");
    CtlRun r = ctl({"read", "--port", sim.device, "-o", rdat, "-q", "--backup-dir", backups});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(listed("*_UHF_read.rdat").size(), 1);
    EXPECT_EQ(readBytes(QDir(backups).filePath(listed("*_UHF_read.rdat")[0])), readBytes(rdat));
    // It holds the passwords: the file, and the folder made for it, are the user's only.
    EXPECT_TRUE(OwnerOnly(backups));
    EXPECT_TRUE(OwnerOnly(QDir(backups).filePath(listed("*_UHF_read.rdat")[0])));

    // The file as it was before the write, whatever the radio then gets.
    r = ctl({"write", "--port", sim.device, rdat, "-q", "--yes", "--backup-dir", backups});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(listed("*_UHF_before-write.rdat").size(), 1);
    EXPECT_EQ(readBytes(QDir(backups).filePath(listed("*_UHF_before-write.rdat")[0])),
              readBytes(rdat));

    // A year and a day old goes, a younger one and a stranger stay.
    for (const char* name : {"2000-01-01_000000_UHF_read.rdat", "notes.txt"})
        writeBytes(QDir(backups).filePath(name), Bytes{1});
    writeBytes(QDir(backups).filePath(
                   QDateTime::currentDateTime().addDays(-300).toString("yyyy-MM-dd_HHmmss") +
                   "_VHF_read.rdat"),
               Bytes{1});
    ASSERT_EQ(
        ctl({"read", "--port", sim.device, "-o", rdat, "-q", "--backup-dir", backups}).exitCode, 0);
    EXPECT_TRUE(listed("2000-*").isEmpty());
    EXPECT_EQ(listed("*_VHF_read.rdat").size(), 1);
    EXPECT_EQ(listed("notes.txt").size(), 1);

    // A file where the folder should be: reported, and the radio never hears of it.
    writeBytes(dir.filePath("blocked"), Bytes{1});
    Document other;
    ASSERT_TRUE(LoadDataFile(other, rdat).ok());
    other.radioImage[0x10] ^= 0xFF;
    ASSERT_TRUE(SaveDataFile(other, dir.filePath("other.rdat")));
    const Bytes before = readBytes(dir.filePath("dump.bin"));
    r = ctl({"write", "--port", sim.device, dir.filePath("other.rdat"), "-q", "--yes",
             "--backup-dir", dir.filePath("blocked/sub")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("write: cannot write the backup in ")) << r.err.toStdString();
    EXPECT_EQ(readBytes(dir.filePath("dump.bin")), before);
    EXPECT_EQ(r.out, "");
    // A read still writes its output, and says the backup failed.
    r = ctl({"read", "--port", sim.device, "-o", dir.filePath("r2.rdat"), "-q", "--backup-dir",
             dir.filePath("blocked/sub")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(QFile::exists(dir.filePath("r2.rdat")));
    // A range read keeps its raw dump.
    EXPECT_EQ(ctl({"read", "--port", sim.device, "--range", "special", "-o", dir.filePath("s.bin"),
                   "-q", "--backup-dir", backups})
                  .exitCode,
              0);
    EXPECT_EQ(listed("*_UHF_special-read.bin").size(), 1);
}

// A full disk, as a file-size limit on the program (the write fails with EFBIG where
// a full disk gives ENOSPC): every file verb ends with exit 2 naming the file and
// the reason, the old file is untouched, no temporary file is left, and a write
// whose backup fails never reaches the radio.
TEST(CliFiles, AFullDiskLeavesTheOldFileAndSendsNothing) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("mem.bin"), radioMemory());
    const QString rdat = dir.filePath("base.rdat");
    ASSERT_EQ(ctl({"new", "-o", rdat}).exitCode, 0);
    ASSERT_EQ(ctl({"export", rdat, "-o", dir.filePath("channels.csv")}).exitCode, 0);
    const QString out = dir.filePath("out");
    QDir(out).mkpath(".");
    const QString backups = QDir(out).filePath("backups");
    QDir(backups).mkpath(".");
    const struct {
        const char* target;  // in `out`; "" when the backup is what fails
        QStringList args;    // PORT is added for read and write
        const char* says;    // part of the error line
    } cases[] = {
        {"x.rdat", {"new", "--force", "-o"}, "new: cannot write "},
        {"x.rdat",
         {"import", dir.filePath("channels.csv"), "--force", "-o"},
         "import: cannot write "},
        {"x.rdat", {"read", "-o"}, "read: cannot write "},
        {"x.bin", {"read", "--range", "tune", "-o"}, "read: cannot write "},
        {"x.pdf", {"print", rdat, "-o"}, "print: cannot write "},
        {"x.html", {"print", rdat, "-o"}, "print: cannot write "},
        {"x.csv", {"export", rdat, "--force", "-o"}, "export: cannot write "},
        {"", {"write", rdat, "--backup-dir", backups}, "write: cannot write the backup in "},
        {"",
         {"write", "--range", "tune", rdat, "--yes", "--backup-dir", backups},
         "write: cannot write the backup in "},
    };
    const Bytes old{'o', 'l', 'd', '\n'};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString() + " " + c.target);
        const QString dump = dir.filePath("dump.bin");
        Sim sim({"--load", dir.filePath("mem.bin"), "--dump", dump});
        const QString target = QDir(out).filePath(c.target);
        if (*c.target) writeBytes(target, old);
        const QStringList before =
            QDir(out).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        QStringList args = c.args;
        if (*c.target) args << target;
        if (args.front() == "read" || args.front() == "write")
            args << "--port" << sim.device << "-q";

        QProcess p;
        p.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{128, 128};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        p.start(BALDO7CTL, args);
        ASSERT_TRUE(p.waitForFinished(60000));
        const QByteArray err = p.readAllStandardError();
        EXPECT_EQ(p.exitCode(), 2) << err.toStdString();
        EXPECT_TRUE(err.contains(c.says)) << err.toStdString();
        EXPECT_TRUE(err.contains("File too large")) << err.toStdString();
        if (*c.target) {
            EXPECT_TRUE(err.contains(target.toUtf8())) << err.toStdString();
            EXPECT_EQ(readBytes(target), old);
        }
        EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), before);
        EXPECT_TRUE(QDir(backups).entryList(QDir::Files).isEmpty());
        if (args.front() == "write") {
            EXPECT_EQ(p.readAllStandardOutput(), "");
            sim.process.terminate();
            ASSERT_TRUE(sim.waitForExit());
            EXPECT_EQ(readBytes(dump), radioMemory());  // nothing was sent
        }
        if (*c.target) QFile::remove(target);
    }

    // Standard output sent to a full disk: the results never arrived.
    QProcess p;
    p.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{128, 128};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    p.setStandardOutputFile(QDir(out).filePath("shown.csv"));
    p.start(BALDO7CTL, {"export", rdat});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(
        p.readAllStandardError().startsWith("baldo7ctl: cannot write the standard output: "));
}

// A service range read keeps the dump it read; a service write first keeps what the
// radio held in the range (read again) and what it sends; and the kept dump, written
// back with --range, puts the radio's bytes back.
TEST(CliTransfer, ServiceRangesAreKeptAndCanBePutBack) {
    QTemporaryDir dir;
    const Bytes memory = radioMemory();
    writeBytes(dir.filePath("mem.bin"), memory);
    Sim sim({"--load", dir.filePath("mem.bin")});
    const QString backups = dir.filePath("backups");
    auto kept = [&](BackupRange range, BackupKind kind) {
        QStringList paths;
        for (const BackupEntry& e : ListBackups(backups))
            if (e.range == range && e.kind == kind && e.model == "UHF") paths << e.path;
        return paths;  // newest first
    };
    const struct {
        const char* name;
        BackupRange range;
        int from, to;  // read
        int sentTo;    // the write's span
    } cases[] = {{"tune", BackupRange::Tune, 0x0300, 0x1000, 0x0400},
                 {"stundie", BackupRange::StunDie, 0x0B80, 0x0BA0, 0x0BA0},
                 {"special", BackupRange::Special, 0x0E10, 0x0E20, 0x0E20},
                 {"local", BackupRange::Local, 0x0A80, 0x0B80, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString out = dir.filePath(QString(c.name) + ".bin");
        CtlRun r = ctl({"read", "--port", sim.device, "--range", c.name, "-o", out, "-q",
                        "--backup-dir", backups});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        ASSERT_EQ(kept(c.range, BackupKind::Read).size(), 1);
        EXPECT_EQ(readBytes(kept(c.range, BackupKind::Read)[0]), slice(memory, c.from, c.to));
        if (!c.sentTo) continue;  // the local message is never written

        const Bytes sent(c.sentTo - c.from, 0x5A);
        writeBytes(dir.filePath("new.bin"), sent);
        r = ctl({"write", "--port", sim.device, "--range", c.name, dir.filePath("new.bin"), "-q",
                 "--yes", "--backup-dir", backups});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QStringList held = kept(c.range, BackupKind::Read);
        ASSERT_EQ(held.size(), 2);
        EXPECT_EQ(readBytes(held[0]), slice(memory, c.from, c.to));
        ASSERT_EQ(kept(c.range, BackupKind::BeforeWrite).size(), 1);
        EXPECT_EQ(readBytes(kept(c.range, BackupKind::BeforeWrite)[0]), sent);
        r = ctl({"read", "--port", sim.device, "--range", c.name, "-o", out, "-q"});
        EXPECT_EQ(slice(readBytes(out), 0, c.sentTo - c.from), sent);

        r = ctl(
            {"write", "--port", sim.device, "--range", c.name, held[0], "-q", "--yes", "--verify"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        ASSERT_EQ(ctl({"read", "--port", sim.device, "--range", c.name, "-o", out, "-q"}).exitCode,
                  0);
        EXPECT_EQ(readBytes(out), slice(memory, c.from, c.to));
    }
}

// Two identification strings go unanswered: one line says what the wait is for.
TEST(CliTransfer, SaysOnceThatItIsWaitingForTheRadio) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("mem.bin"), radioMemory());
    Sim sim({"--load", dir.filePath("mem.bin"), "--silent", "--at", "hello:0:2"});
    const CtlRun r = ctl({"read", "--port", sim.device, "-o", dir.filePath("r.rdat")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray waiting = "read: waiting for the radio on " + sim.device.toUtf8() + "…\n";
    EXPECT_TRUE(r.err.startsWith(waiting)) << r.err.toStdString();
    EXPECT_EQ(r.err.count(waiting), 1);
}

TEST(CliTransfer, FailuresEndInTheirExitCodeWithTheOutputUntouched) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("mem.bin"), radioMemory());
    const QString rdat = dir.filePath("vhf.rdat");
    ASSERT_EQ(ctl({"new", "-o", rdat}).exitCode, 0);
    writeBytes(dir.filePath("bad.rdat"), Bytes(1057, 0x11));
    const struct {
        const char* name;
        QStringList simArgs;
        QStringList ctlArgs;  // PORT and OUT are filled in
        int exitCode;
        const char* says = "";  // part of the error line
    } cases[] = {
        {"silent in the block phase", {"--silent", "--at", "data"}, {"read"}, 4},
        {"NAK to every identification string", {"--nak", "--at", "hello"}, {"read"}, 4},
        {"impossible block address", {"--impossible-address", "--at", "data:2:1"}, {"read"}, 4},
        {"... answered Retry once",
         {"--impossible-address", "--at", "data:2:1"},
         {"read", "--retries", "1"},
         0},
        {"frame cut short", {"--cut", "--at", "data:3:1"}, {"read"}, 4},
        {"stray ACKs ahead of eleven answers, the last block refused",
         {"--pace", "--model-digit", "0x32", "--stray", "--at", "ack:0:11", "--nak", "--at",
          "ack:47:1"},
         {"write", rdat},
         4,
         "the link failed"},
        {"band differs",
         {"--model-digit", "0x33"},
         {"write", rdat},
         5,
         "the radio is UHF but vhf.rdat is VHF"},
        {"band differs, --yes", {"--model-digit", "0x33"}, {"write", rdat, "--yes"}, 0},
        // A pseudo-terminal has no modem lines: asking for cable power must not fail.
        {"cable power on a line without it", {}, {"read", "--dtr", "--rts"}, 0},
        {"refused data file", {}, {"write", dir.filePath("bad.rdat")}, 2},
        {"no such port", {}, {"read", "--port", dir.filePath("nothing")}, 3, ": no such device"},
        {"unknown range", {}, {"read", "--range", "all"}, 1},
        {"output folder missing",
         {"--silent"},  // found before the port is opened, so no wait
         {"read", "-o", dir.filePath("none/x.rdat")},
         2,
         "no such folder"},
    };
    const Bytes sentinel{'o', 'l', 'd'};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sim sim(QStringList{"--load", dir.filePath("mem.bin")} + c.simArgs);
        const QString out = dir.filePath("out.rdat");
        writeBytes(out, sentinel);
        QStringList args = c.ctlArgs;
        if (!args.contains("--port")) args << "--port" << sim.device;
        if (args.front() == "read" && !args.contains("-o")) args << "-o" << out;
        const CtlRun r = ctl(args << "-q");
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        if (c.exitCode != 0) {
            EXPECT_EQ(readBytes(out), sentinel);
            EXPECT_TRUE(r.err.startsWith("baldo7ctl: ")) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
        }
    }
}

// A paced radio whose answer comes 1.1 s late (after the program's timeout), once or
// twice in a row, or with a lone ACK ahead of it: the late answer costs a restart,
// and a read still stores exactly the radio's bytes, a write leaves exactly the
// file's 0x000-0x2FF in the radio.
TEST(CliTransfer, LateOrStrayAnswersCostOnlyARestart) {
    QTemporaryDir dir;
    const Bytes memory = radioMemory();
    writeBytes(dir.filePath("mem.bin"), memory);
    const QString vhf = dir.filePath("vhf.rdat");
    ASSERT_EQ(ctl({"new", "-o", vhf}).exitCode, 0);
    Document file;
    ASSERT_TRUE(LoadDataFile(file, vhf).ok());
    ASSERT_EQ(file.radioImage[addr::kModelDigit], 0x32);
    Bytes written(file.radioImage.begin(), file.radioImage.begin() + 0x300);
    written[addr::kVox] &= 0xF0;

    const QStringList faults[] = {
        {"--delay", "1100", "--at", "hello:0:1"},
        {"--delay", "1100", "--at", "hello:0:2"},
        {"--delay", "1100", "--at", "start:0:1"},
        {"--delay", "1100", "--at", "start:0:2"},
        {"--delay", "1100", "--at", "ack:0:1"},
        {"--delay", "1100", "--at", "ack:0:2"},
        {"--stray"},
        {"--stray=0x41", "--at", "ident:0:1"},
        {"--nak", "--at", "any:1:3"},
    };
    struct Run {
        QString name;
        bool read;
        QString out;
        std::unique_ptr<Sim> sim;
        QProcess ctl;
    };
    std::vector<std::unique_ptr<Run>> runs;
    for (const bool read : {true, false}) {
        for (const QStringList& fault : faults) {
            auto run = std::make_unique<Run>();
            run->read = read;
            run->name = QString(read ? "read " : "write ") + fault.join(' ');
            run->out =
                dir.filePath(QString("run%1.%2").arg(runs.size()).arg(read ? "rdat" : "bin"));
            QStringList simArgs{"--pace"};
            if (read)
                simArgs << "--load" << dir.filePath("mem.bin");
            else
                simArgs << "--fill"
                        << "0x00"
                        << "--model-digit"
                        << "0x32"
                        << "--once"
                        << "--dump" << run->out;
            run->sim = std::make_unique<Sim>(simArgs + fault);
            runs.push_back(std::move(run));
        }
    }
    // Six at a time: each waits on the line far more than it computes.
    constexpr std::size_t kAtOnce = 6;
    for (std::size_t from = 0; from < runs.size(); from += kAtOnce) {
        const std::size_t to = std::min(runs.size(), from + kAtOnce);
        for (std::size_t i = from; i < to; ++i) {
            Run& r = *runs[i];
            QStringList args{
                r.read ? "read" : "write", "--port", r.sim->device, "--retries", "2", "-q"};
            if (r.read)
                args << "-o" << r.out;
            else
                args << vhf;
            r.ctl.start(BALDO7CTL, args);
        }
        for (std::size_t i = from; i < to; ++i) {
            Run& r = *runs[i];
            SCOPED_TRACE(r.name.toStdString());
            ASSERT_TRUE(r.ctl.waitForFinished(60000));
            EXPECT_EQ(r.ctl.exitCode(), 0) << r.ctl.readAllStandardError().toStdString();
            if (r.read) {
                Document doc;
                ASSERT_TRUE(LoadDataFile(doc, r.out).ok());
                EXPECT_EQ(Bytes(doc.radioImage.begin(), doc.radioImage.end()),
                          slice(memory, 0, 0x400));
            } else {
                ASSERT_TRUE(r.sim->waitForExit());
                EXPECT_EQ(slice(readBytes(r.out), 0, 0x300), written);
            }
        }
    }
}

// A port another baldo7ctl holds (waiting for a silent radio) is reported busy with
// that program named; exit code 3, nothing written.
TEST(CliPorts, BusyPortNamesTheProgramHoldingIt) {
    QTemporaryDir dir;
    Sim sim({"--silent"});
    QProcess first;
    first.start(BALDO7CTL, {"read", "--port", sim.device, "-o", dir.filePath("a.rdat")});
    // It says so once its first identification string went unanswered: the port is open.
    while (!first.readAllStandardError().contains("waiting for the radio") &&
           first.waitForReadyRead(5000)) {
    }
    const CtlRun r = ctl({"read", "--port", sim.device, "-o", dir.filePath("b.rdat")});
    EXPECT_EQ(r.exitCode, 3);
    const QString pid = QString::number(first.processId());
    EXPECT_EQ(QString::fromUtf8(r.err), "baldo7ctl: read: Cannot open " + sim.device +
                                            ": it is in use by baldo7ctl (process " + pid +
                                            ").\nClose baldo7ctl (process " + pid +
                                            ") and try again.\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("b.rdat")));
    first.kill();
    first.waitForFinished();
}

// ports --json lists a running simulator's pseudo-terminal as a port this user may open.
TEST(CliPorts, JsonListsTheSimulatorsPort) {
    Sim sim({});
    const CtlRun r = ctl({"ports", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray ports = QJsonDocument::fromJson(r.out).array();
    const auto it = std::find_if(ports.begin(), ports.end(), [&](const QJsonValue& v) {
        return v["device"].toString() == sim.device;
    });
    ASSERT_NE(it, ports.end()) << r.out.toStdString();
    const QJsonObject port = it->toObject();
    EXPECT_TRUE(port["simulated"].toBool());
    EXPECT_TRUE(port["canOpen"].toBool());
    EXPECT_TRUE(port["description"].toString().contains("baldo7-sim, process " +
                                                        QString::number(sim.process.processId())));
    for (const char* key : {"name", "manufacturer", "vendorId", "productId", "serialNumber"})
        EXPECT_TRUE(port.contains(key)) << key;
    const CtlRun text = ctl({"ports"});
    EXPECT_TRUE(text.out.contains(sim.device.toUtf8() + "  BALDO-7 simulated radio"));
}

// Four paced radios written at once, the third falling silent after five blocks: the
// other three hold the file, the third is reported, and the exit code is the link's.
TEST(CliFleetWrite, EveryRadioGetsTheFileAndAFailureIsReported) {
    QTemporaryDir dir;
    const QString file = dir.filePath("vhf.rdat");
    ASSERT_EQ(ctl({"new", "-o", file}).exitCode, 0);
    Document doc;
    ASSERT_TRUE(LoadDataFile(doc, file).ok());
    Bytes written(doc.radioImage.begin(), doc.radioImage.begin() + 0x300);
    written[addr::kVox] &= 0xF0;

    constexpr int kRadios = 4;
    constexpr int kFailing = 2;
    std::vector<std::unique_ptr<Sim>> sims;
    QStringList args{"write"};
    for (int i = 0; i < kRadios; ++i) {
        QStringList simArgs{
            "--pace", "--fill", "0x00",   "--model-digit",
            "0x32",   "--once", "--dump", dir.filePath(QString("radio%1.bin").arg(i))};
        if (i == kFailing)
            simArgs << "--silent"
                    << "--at"
                    << "ack:5:0";
        sims.push_back(std::make_unique<Sim>(simArgs));
        args << "--port" << sims.back()->device;
    }
    const CtlRun r = ctl(args << file << "--yes"
                              << "--trace" << dir.filePath("w.txt"));
    EXPECT_EQ(r.exitCode, 4) << r.err.toStdString();

    const QStringList rows = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), kRadios + 1) << r.out.toStdString();
    EXPECT_TRUE(rows[0].startsWith("PORT")) << rows[0].toStdString();
    for (int i = 0; i < kRadios; ++i) {
        SCOPED_TRACE(i);
        const QStringList cells = rows[i + 1].split(' ', Qt::SkipEmptyParts);
        ASSERT_GE(cells.size(), 5);
        EXPECT_EQ(cells[0], sims[i]->device);
        // The failing radio's session never ended; its dump comes as it is stopped.
        if (i == kFailing) sims[i]->process.terminate();
        ASSERT_TRUE(sims[i]->waitForExit());
        const Bytes radio = readBytes(dir.filePath(QString("radio%1.bin").arg(i)));
        if (i == kFailing) {
            EXPECT_EQ(cells[1] + " " + cells[2], "link failed");
            EXPECT_NE(slice(radio, 0, 0x300), written);
        } else {
            EXPECT_EQ(cells[1], "written");
            EXPECT_EQ(slice(radio, 0, 0x300), written);
            EXPECT_EQ(slice(radio, 0x300, 0x400), Bytes(0x100, 0x00));
        }
        // Each radio its own trace, ending as its row says.
        const QString device = sims[i]->device;
        QFile trace(dir.filePath("w-" + device.mid(5).replace('/', '_') + ".txt"));
        ASSERT_TRUE(trace.open(QIODevice::ReadOnly)) << trace.fileName().toStdString();
        const QByteArray text = trace.readAll();
        EXPECT_TRUE(text.contains("port:     " + device.toUtf8() + "\n"));
        EXPECT_TRUE(text.trimmed().endsWith(i == kFailing ? "cancelled at the retry question"
                                                          : "done: Write Data OK"));
    }
    EXPECT_TRUE(
        r.err.contains("baldo7ctl: write " + sims[kFailing]->device.toUtf8() + ": the link failed"))
        << r.err.toStdString();
    EXPECT_EQ(r.err.count("the link failed"), 1);
}

// --verify with several ports reads each radio back once the writes are done: a
// faithful radio says yes, one that spoiled a byte is named and gives exit code 6.
TEST(CliFleetWrite, VerifyReadsEveryRadioBack) {
    QTemporaryDir dir;
    const QString file = dir.filePath("vhf.rdat");
    ASSERT_EQ(ctl({"new", "-o", file}).exitCode, 0);
    Sim good({"--fill", "0x00", "--model-digit", "0x32"});
    Sim bad({"--fill", "0x00", "--model-digit", "0x32", "--corrupt-write", "--at", "write:5:1"});
    const CtlRun r = ctl(
        {"write", "--port", good.device, "--port", bad.device, "--verify", "--yes", "-q", file});
    EXPECT_EQ(r.exitCode, 6) << r.err.toStdString();
    const QStringList rows = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3) << r.out.toStdString();
    const QStringList first = rows[1].split(' ', Qt::SkipEmptyParts);
    const QStringList second = rows[2].split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(first.size(), 5) << rows[1].toStdString();
    ASSERT_EQ(second.size(), 5) << rows[2].toStdString();
    EXPECT_EQ(first[0] + " " + first[1] + " " + first[4], good.device + " written yes");
    EXPECT_EQ(second[0] + " " + second[1] + " " + second[4], bad.device + " written DIFFERS");
    EXPECT_TRUE(r.err.contains("baldo7ctl: write " + bad.device.toUtf8() +
                               ": Verify failed: 1 byte differs from what was written, first at "
                               "0x0050\n"))
        << r.err.toStdString();
    EXPECT_EQ(r.err.count("Verify failed"), 1) << r.err.toStdString();
}

// The job log: one row per radio, whatever its end, the same checksum for the same
// file; with --backup-dir and no --log the day's file beside the backups; a log that
// cannot be written is said and the exit code says it.
TEST(CliJobLog, EveryWriteLeavesARowPerRadio) {
    QTemporaryDir dir;
    const QString file = dir.filePath("vhf.rdat");
    ASSERT_EQ(ctl({"new", "-o", file}).exitCode, 0);
    Sim good({"--fill", "0x00", "--model-digit", "0x32"});
    Sim bad({"--fill", "0x00", "--model-digit", "0x32", "--corrupt-write", "--at", "write:5:1"});
    Sim silent({"--silent"});
    const QString log = dir.filePath("customer.csv");
    CtlRun r = ctl({"write", "--port", good.device, "--port", bad.device, "--port", silent.device,
                    "--verify", "--yes", "-q", "--log", log, file});
    EXPECT_EQ(r.exitCode, 6) << r.err.toStdString();
    QList<QStringList> rows = ReadJobLog(log);
    ASSERT_EQ(rows.size(), 3);
    const int port = 2, outcome = 3, model = 4, data = 7, crc = 8, verify = 9;
    EXPECT_EQ(rows[0][port], good.device);
    EXPECT_EQ(rows[0][outcome], "written");
    EXPECT_EQ(rows[0][model], "VHF");
    EXPECT_EQ(rows[0][data], "vhf.rdat");
    EXPECT_EQ(rows[0][verify], "yes");
    EXPECT_EQ(rows[1][outcome], "verify differs");
    EXPECT_TRUE(rows[1][verify].startsWith("Verify failed: 1 byte differs") &&
                rows[1][verify].contains("; Not as written in the radio: Channel 5"))
        << rows[1][verify].toStdString();
    EXPECT_EQ(rows[0][crc].size(), 8);
    EXPECT_EQ(rows[0][crc], rows[1][crc]);
    EXPECT_EQ(rows[2][outcome], "no answer");
    EXPECT_EQ(rows[2][model], "");
    EXPECT_EQ(rows[2][crc], "");
    EXPECT_EQ(rows[2][verify], "no");
    // The header once, whatever is appended later.
    r = ctl({"write", "--port", good.device, "--yes", "-q", "--log", log, file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile csv(log);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("Date,Time,Port,Outcome"), 1);
    rows = ReadJobLog(log);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[3][crc], rows[0][crc]);
    EXPECT_EQ(rows[3][verify], "no");

    // --backup-dir: the day's log in jobs/ beside it, naming the backup.
    const QString backups = dir.filePath("backups");
    r = ctl({"write", "--port", good.device, "--yes", "-q", "--backup-dir", backups, file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<JobLogDay> days = ListJobLogDays(dir.filePath("jobs"));
    ASSERT_EQ(days.size(), 1);
    rows = ReadJobLog(days[0].path);
    ASSERT_EQ(rows.size(), 1);
    const QList<BackupEntry> kept = ListBackups(backups);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(rows[0][10], QDir::toNativeSeparators(kept[0].path));

    // A log that cannot be written: the radio is written, the failure said, exit 2.
    r = ctl({"write", "--port", good.device, "--yes", "-q", "--log", file + "/log.csv", file});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.contains("Write Data OK"));
    EXPECT_TRUE(r.err.contains("write: cannot append to the job log")) << r.err.toStdString();
}

// --serial-number: every radio's record is read first; one that never answers is not
// written, the others are written and verified with their serial numbers in the table
// and the log; with one port the number is said before the write's result.
TEST(CliJobLog, SerialNumbersAreReadFirst) {
    QTemporaryDir dir;
    const QString file = dir.filePath("vhf.rdat");
    ASSERT_EQ(ctl({"new", "-o", file}).exitCode, 0);
    Sim sample({});
    Sim blank({"--fill", "0x00", "--model-digit", "0x32"});
    Sim silent({"--silent"});
    const QString log = dir.filePath("jobs.csv");
    CtlRun r =
        ctl({"write", "--port", sample.device, "--port", blank.device, "--port", silent.device,
             "--serial-number", "--verify", "--yes", "-q", "--log", log, file});
    EXPECT_EQ(r.exitCode, 4) << r.err.toStdString();
    const QStringList table = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(table.size(), 4) << r.out.toStdString();
    EXPECT_TRUE(table[0].endsWith("VERIFIED  SERIAL")) << table[0].toStdString();
    auto cells = [&](int row) { return table[row].split(' ', Qt::SkipEmptyParts); };
    EXPECT_EQ(cells(1).mid(1, 1) + cells(1).mid(4),
              QStringList({"written", "yes", "B7V2608150042"}));
    EXPECT_EQ(cells(2).mid(1, 1) + cells(2).mid(4), QStringList({"written", "yes", "-"}));
    EXPECT_EQ(cells(3).mid(1, 2) + cells(3).mid(5), QStringList({"link", "failed", "no", "-"}));
    EXPECT_TRUE(r.err.contains("write " + silent.device.toUtf8() + " --serial-number: "))
        << r.err.toStdString();

    const QList<QStringList> rows = ReadJobLog(log);
    ASSERT_EQ(rows.size(), 3);
    const int outcome = 3, band = 5, serial = 6, crc = 8, verify = 9;
    EXPECT_EQ(rows[0][serial], "B7V2608150042");
    EXPECT_EQ(rows[0][band], "136-174MHz");
    EXPECT_EQ(rows[0][verify], "yes");
    EXPECT_EQ(rows[1][serial], "");
    EXPECT_EQ(rows[1][crc], rows[0][crc]);
    EXPECT_EQ(rows[2][outcome], "no answer");
    EXPECT_EQ(rows[2][crc], "");

    r = ctl({"write", "--port", sample.device, "--serial-number", "--yes", "-q", file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Serial number: B7V2608150042\nWrite Data OK\n");
    r = ctl({"write", "--port", silent.device, "--serial-number", "--yes", "-q", file});
    EXPECT_EQ(r.exitCode, 4) << r.err.toStdString();
    EXPECT_EQ(r.out, "");
}

// Several ports are for writing; a read takes one.
TEST(CliFleetWrite, ReadRefusesSeveralPorts) {
    const CtlRun r = ctl({"read", "--port", "/dev/pts/1", "--port", "/dev/pts/2", "-o", "x.rdat"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("give one --port")) << r.err.toStdString();
}

// diff --port reads the radio into memory only: the radio's bytes stay, no file
// appears, and what differs is named as between two files.
TEST(CliDiff, ComparesAFileWithTheRadioWithoutWritingAnything) {
    QTemporaryDir dir;
    const QString rdat = dir.filePath("sold.rdat");
    ASSERT_EQ(ctl({"new", "-o", rdat}).exitCode, 0);
    Document doc;
    ASSERT_TRUE(LoadDataFile(doc, rdat).ok());
    SetRxFrequency(doc.radioImage, 3, FrequencyToBytes(146.46));
    ApplyNewChannelDefaults(doc.radioImage, 3);
    ASSERT_TRUE(SaveDataFile(doc, rdat));
    Bytes memory(kRadioMemorySize, 0xFF);
    std::copy(doc.radioImage.begin(), doc.radioImage.end(), memory.begin());
    SetRxFrequency(doc.radioImage, 3, FrequencyToBytes(146.5));
    std::copy(doc.radioImage.begin(), doc.radioImage.begin() + 0x300, memory.begin());
    writeBytes(dir.filePath("radio.bin"), memory);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);

    Sim sim({"--load", dir.filePath("radio.bin"), "--dump", dir.filePath("dump.bin")});
    CtlRun r = ctl({"diff", rdat, "--port", sim.device, "-q"});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(), "channel 3  receive  146.46000 → 146.50000\n");
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(readBytes(dir.filePath("dump.bin")), memory);

    // The radio against the file of its own read: the same.
    const QString copy = dir.filePath("copy.rdat");
    ASSERT_EQ(ctl({"read", "--port", sim.device, "-o", copy, "-q"}).exitCode, 0);
    r = ctl({"diff", copy, "--port", sim.device, "-q", "--json"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "{\"differences\":[],\"same\":true}\n");
    EXPECT_EQ(readBytes(dir.filePath("dump.bin")), memory);
    QStringList expected = before + QStringList{"copy.rdat", "dump.bin"};
    expected.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
    sim.process.terminate();
    sim.process.waitForFinished(5000);
    // A radio that never answers is the link's failure, not a difference.
    Sim silent({"--silent", "--at", "data"});
    r = ctl({"diff", rdat, "--port", silent.device, "-q"});
    EXPECT_EQ(r.exitCode, 4) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

// baldo7ctl export / import, run as a user runs them.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "channels/channel_csv.h"
#include "channels/channel_record.h"
#include "channels/frequency_entry.h"
#include "channels/tone_entry.h"
#include "tests/support/ctl_run.h"

using namespace baldo7;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeText(const QString& path, const QByteArray& text) {
    writeBytes(path, Bytes(text.begin(), text.end()));
}

Document load(const QString& path) {
    Document doc;
    EXPECT_TRUE(LoadDataFile(doc, path).ok()) << path.toStdString();
    return doc;
}

}  // namespace

TEST(CliCsv, ExportThenImportIntoTheTemplate) {
    QTemporaryDir dir;
    const QString base = dir.filePath("base.rdat");
    ASSERT_EQ(ctl({"new", "-o", base}).exitCode, 0);
    Document doc = load(base);
    CommitRxFrequency(doc, 2, "145.125");
    CommitTxFrequency(doc, 2, "145.725");
    SetRxTone(doc.radioImage, 2, ToneFromText("D023I", '.').code);
    CommitRxFrequency(doc, 9, "150");
    SetCompand(doc.radioImage, 9, true);
    const QString source = dir.filePath("source.rdat");
    ASSERT_TRUE(SaveDataFile(doc, source));

    // Standard output without -o, a file with it: the same text.
    const CtlRun shown = ctl({"export", source});
    ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_EQ(shown.out.toStdString(), ExportChannelsCsv(doc.radioImage));
    const QString csv = dir.filePath("plan.csv");
    ASSERT_EQ(ctl({"export", source, "-o", csv}).exitCode, 0);
    EXPECT_EQ(readAll(csv), shown.out);
    // An existing CSV is replaced only with --force.
    writeText(csv, "mine\n");
    const CtlRun kept = ctl({"export", source, "-o", csv});
    EXPECT_EQ(kept.exitCode, 2);
    EXPECT_EQ(kept.err,
              "baldo7ctl: export: " + csv.toUtf8() + " exists; give --force to replace it\n");
    EXPECT_EQ(readAll(csv), "mine\n");
    ASSERT_EQ(ctl({"export", source, "-o", csv, "--force"}).exitCode, 0);
    EXPECT_EQ(readAll(csv), shown.out);

    const QString out = dir.filePath("out.rdat");
    const CtlRun r = ctl({"import", csv, "-o", out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_TRUE(r.out.contains("2 channels imported")) << r.out.toStdString();
    const Document back = load(out);
    EXPECT_TRUE(std::equal(back.radioImage.begin(), back.radioImage.end(), doc.radioImage.begin()));
}

TEST(CliCsv, ImportExitCodesAndReport) {
    QTemporaryDir dir;
    const QString base = dir.filePath("uhf.rdat");
    ASSERT_EQ(ctl({"new", "-o", base, "--band", "400-480MHz"}).exitCode, 0);
    const QString csv = dir.filePath("in.csv");
    writeText(csv, "Location,Frequency\n1,440.5\n2,145\n3,\"446,00625\"\n20,446\n");
    const QString out = dir.filePath("out.rdat");

    // Some rows skipped: 7, one stderr line each, the output written all the same.
    CtlRun r = ctl({"import", csv, "-o", out, "--base", base});
    EXPECT_EQ(r.exitCode, 7);
    const QList<QByteArray> lines = r.err.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << r.err.toStdString();
    EXPECT_TRUE(
        lines[0].contains("Line 3: receive frequency 145.000000 MHz is outside the band "
                          "400-480 MHz"))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains("Line 5: Location \"20\"")) << lines[1].toStdString();
    Document doc = load(out);
    EXPECT_EQ(doc.BandLowMHz, 400);
    EXPECT_EQ(DecodeChannel(doc.radioImage, 3, true, '.').rxText, "446.00625");
    EXPECT_FALSE(ChannelInUse(doc.radioImage, 2));

    // An existing output is kept without --force.
    const QByteArray before = readAll(out);
    writeText(csv, "Location,Frequency\n1,450\n");
    r = ctl({"import", csv, "-o", out, "--base", base});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(readAll(out), before);
    r = ctl({"import", csv, "-o", out, "--base", base, "--force"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(DecodeChannel(load(out).radioImage, 1, true, '.').rxText, "450.00000");

    // No usable header, unreadable input, a foreign base: 2 and nothing written.
    writeText(dir.filePath("noheader.csv"), "1,145.125\n");
    writeText(dir.filePath("foreign.rdat"), QByteArray(1057, 'x'));
    const struct {
        QStringList args;
    } refused[] = {
        {{"import", dir.filePath("noheader.csv"), "-o", dir.filePath("x.rdat")}},
        {{"import", dir.filePath("missing.csv"), "-o", dir.filePath("x.rdat")}},
        {{"import", csv, "-o", dir.filePath("x.rdat"), "--base", dir.filePath("foreign.rdat")}},
    };
    for (const auto& c : refused) {
        r = ctl(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("x.rdat")));
    }
    EXPECT_EQ(ctl({"import", csv}).exitCode, 1);
    EXPECT_EQ(ctl({"export"}).exitCode, 1);
    EXPECT_EQ(ctl({"export", dir.filePath("missing.rdat")}).exitCode, 2);
}

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

// A new data file from the template, to be given channels and saved back.
Document newBase(const QString& path) {
    EXPECT_EQ(ctl({"new", "-o", path}).exitCode, 0);
    return load(path);
}

}  // namespace

TEST(CliCsv, ExportThenImportIntoTheTemplate) {
    QTemporaryDir dir;
    const QString base = dir.filePath("base.rdat");
    Document doc = newBase(base);
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

// A list numbered from 0 and one longer than the radio: by Location the first row
// of the one is refused with a hint, in file order (--renumber) both are placed and
// what finds no channel is reported line by line.
TEST(CliCsv, RenumberPlacesRowsInFileOrder) {
    QTemporaryDir dir;
    const QString base = dir.filePath("base.rdat");
    Document baseDoc = newBase(base);
    CommitRxFrequency(baseDoc, 1, "150");
    CommitRxFrequency(baseDoc, 2, "151");
    ASSERT_TRUE(SaveDataFile(baseDoc, base));

    // Locations from..to; the row of `refused` is on a UHF frequency this VHF radio
    // cannot take.
    auto list = [](int from, int to, int refused) {
        QByteArray text =
            "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
            "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,"
            "DVCODE\r\n";
        for (int i = from; i <= to; ++i)
            text += QByteArray::number(i) + ",Ch " + QByteArray::number(i) + "," +
                    (i == refused ? "446.000000" : QByteArray::number(140 + i) + ".500000") +
                    ",,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,4.0W,,,,,\r\n";
        return text;
    };
    const QString zero = dir.filePath("zero.csv"), twenty = dir.filePath("twenty.csv");
    writeText(zero, list(0, 5, -1));
    writeText(twenty, list(1, 20, 3));

    const struct {
        const char* name;
        QString csv;
        QStringList options;
        int exitCode;
        std::vector<const char*> err;  // line ends, in order
        std::vector<std::pair<int, const char*>> channels;
        const char* summary;
        int inWatts;
    } cases[] = {
        {"from 0 by location",
         zero,
         {},
         7,
         {"Line 2: Location \"0\" is not a channel 1-16",
          "the locations start at 0, which is no channel; --renumber would place the rows in "
          "channels 1, 2, ..."},
         {{1, "141.50000"}, {2, "142.50000"}, {5, "145.50000"}, {6, ""}},
         "5 channels imported, 1 row skipped",
         5},
        {"from 0 renumbered",
         zero,
         {"--renumber"},
         0,
         {},
         {{1, "140.50000"}, {2, "141.50000"}, {6, "145.50000"}, {7, ""}},
         "6 channels imported, 0 rows skipped",
         6},
        {"20 rows from 3",
         twenty,
         {"--renumber", "--first", "3"},
         7,
         {"Line 4: receive frequency 446.000000 MHz is outside the band 136-174 MHz",
          "Line 17: no channel left", "Line 18: no channel left", "Line 19: no channel left",
          "Line 20: no channel left", "Line 21: no channel left"},
         {{1, "150.00000"},
          {2, "151.00000"},
          {3, "141.50000"},
          {4, "142.50000"},
          {5, "144.50000"},
          {16, "155.50000"}},
         "14 channels imported, 6 rows skipped",
         14},
    };
    const QString out = dir.filePath("out.rdat");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CtlRun r =
            ctl(QStringList{"import", c.csv, "-o", out, "--base", base, "--force"} + c.options);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        const QList<QByteArray> err =
            r.err.isEmpty() ? QList<QByteArray>() : r.err.trimmed().split('\n');
        ASSERT_EQ(std::size_t(err.size()), c.err.size()) << r.err.toStdString();
        for (std::size_t i = 0; i < c.err.size(); ++i)
            EXPECT_TRUE(err[int(i)].endsWith(c.err[i])) << err[int(i)].toStdString();
        const Document doc = load(out);
        for (const auto& [channel, rx] : c.channels)
            EXPECT_EQ(DecodeChannel(doc.radioImage, channel, true, '.').rxText, rx) << channel;
        const QList<QByteArray> lines = r.out.trimmed().split('\n');
        ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
        EXPECT_EQ(lines[0], "out.rdat: " + QByteArray(c.summary));
        EXPECT_EQ(lines[1], QByteArray::number(c.inWatts) +
                                " power values given in watts were mapped: 4.0W → High");
    }

    // --first is a channel and goes with --renumber.
    for (const QStringList& bad :
         {QStringList{"--renumber", "--first", "0"}, QStringList{"--renumber", "--first", "17"},
          QStringList{"--renumber", "--first", "x"}, QStringList{"--first", "3"}}) {
        const CtlRun r = ctl(QStringList{"import", zero, "-o", dir.filePath("x.rdat")} + bad);
        EXPECT_EQ(r.exitCode, 1) << bad.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("x.rdat")));
    }
}

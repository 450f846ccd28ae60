// baldo7ctl new / show, run as a user runs them.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "core/data_file.h"
#include "core/model_band.h"
#include "storage/data_store.h"
#include "tests/support/ctl_run.h"

using namespace baldo7;

namespace {

std::string js(const QJsonValue& v) {
    return QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).toStdString();
}

Document loadFile(const QString& path) {
    Document doc;
    EXPECT_TRUE(LoadDataFile(doc, path).ok()) << path.toStdString();
    return doc;
}

}  // namespace

TEST(CliNew, TemplateAndRebuiltModelBytes) {
    QTemporaryDir dir;
    const QString plain = dir.filePath("plain.rdat");
    CtlRun r = ctl({"new", "-o", plain});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QFile(plain).size(), 1057);
    Document doc = loadFile(plain);
    EXPECT_EQ(doc.ModelType, "VHF");
    EXPECT_EQ(doc.BandLowMHz, 136);

    const struct {
        QStringList opts;
        std::uint8_t digit, code;
    } cases[] = {
        {{"--model", "UHF", "--band", "440-480MHz"}, 0x33, 0x33},
        {{"--band", "400-480MHz"}, 0x33, 0x93},
        {{"--model", "vhf", "--band", "134-176MHz"}, 0x32, 0x02},
        {{"--model", "UHF"}, 0x33, 0x53},
        {{"--model", "uhf", "--band", "440-480mhz"}, 0x33, 0x33},
        {{"--band", "400-480MHZ"}, 0x33, 0x93},
        {{"--band", "136-174"}, 0x32, 0x01},
        {{"--band", "450-530mhz"}, 0x33, 0x21},
        {{"--band", " 490 - 512 MHz"}, 0x33, 0x83},
    };
    for (const auto& c : cases) {
        const QString out = dir.filePath("m.rdat");
        r = ctl(QStringList{"new", "-o", out, "--force"} + c.opts);
        ASSERT_EQ(r.exitCode, 0) << c.opts.join(' ').toStdString() << r.err.toStdString();
        doc = loadFile(out);
        EXPECT_EQ(doc.radioImage[441], c.digit) << c.opts.join(' ').toStdString();
        EXPECT_EQ(doc.radioImage[445], c.code) << c.opts.join(' ').toStdString();
    }
}

TEST(CliNew, AnExistingFileIsReplacedOnlyWithForce) {
    QTemporaryDir dir;
    const QString out = dir.filePath("kept.rdat");
    writeBytes(out, {'o', 'l', 'd'});
    CtlRun r = ctl({"new", "-o", out, "--model", "UHF"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "baldo7ctl: new: " + out.toUtf8() + " exists; give --force to replace it\n");
    Bytes kept;
    ASSERT_TRUE(ReadFileBytes(out, kept).ok());
    EXPECT_EQ(kept, (Bytes{'o', 'l', 'd'}));
    r = ctl({"new", "-o", out, "--model", "UHF", "--force"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(loadFile(out).ModelType, "UHF");
}

TEST(CliNew, ThePositionalNameIsTheOutput) {
    QTemporaryDir dir;
    const QString out = dir.filePath("customer.rdat");
    const CtlRun r = ctl({"new", out, "--band", "400-480"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "customer.rdat: UHF 400-480MHz\n");
    EXPECT_EQ(loadFile(out).BandLowMHz, 400);
    // Two names, or a name and -o, are one too many.
    for (const QStringList& args :
         {QStringList{"new", dir.filePath("a.rdat"), "-o", dir.filePath("b.rdat")},
          QStringList{"new", dir.filePath("a.rdat"), dir.filePath("b.rdat")}}) {
        EXPECT_EQ(ctl(args).exitCode, 1) << args.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("a.rdat")));
        EXPECT_FALSE(QFile::exists(dir.filePath("b.rdat")));
    }
}

TEST(CliNew, MissingOrShortTemplateStopsCleanly) {
    // A copy of the program in a folder of its own, with no template or a short one.
    QTemporaryDir dir;
    const QString program = dir.filePath("baldo7ctl");
    ASSERT_TRUE(QFile::copy(BALDO7CTL, program));
    for (int templateSize : {-1, 1040}) {
        if (templateSize >= 0) writeBytes(dir.filePath("Init.dat"), Bytes(templateSize, 0xFF));
        QProcess p;
        p.start(program, {"new", "-o", dir.filePath("x.rdat")});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 2) << templateSize;
        const QByteArray err = p.readAllStandardError();
        EXPECT_TRUE(err.contains("Init.dat")) << err.toStdString();
        EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("x.rdat")));
    }
}

TEST(CliNew, UsageErrors) {
    QTemporaryDir dir;
    const QString out = dir.filePath("x.rdat");
    for (const QStringList& args :
         {QStringList{"new"}, QStringList{"new", "-o", out, "--model", "HF"},
          QStringList{"new", "-o", out, "--model", "VHF", "--band", "440-480MHz"},
          QStringList{"new", "-o", out, "--band", "1-2MHz"}, QStringList{"frobnicate"},
          QStringList{"new", "-o", out, "--bogus"}}) {
        const CtlRun r = ctl(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_FALSE(QFile::exists(out)) << args.join(' ').toStdString();
    }
    EXPECT_EQ(ctl({"--version"}).exitCode, 0);
    // Each verb's help names the verb, not the path the program was started by.
    for (const char* verb : {"new", "show", "read", "write"}) {
        const CtlRun help = ctl({verb, "--help"});
        EXPECT_EQ(help.exitCode, 0) << verb;
        EXPECT_TRUE(help.out.startsWith("Usage: baldo7ctl " + QByteArray(verb) + " [options]"))
            << help.out.toStdString();
    }
}

TEST(CliShow, RefusedAndUnreadableFiles) {
    QTemporaryDir dir;
    Bytes good = EncodeDataFile(RadioImage{}, SoftwareData{});
    Bytes foreign = good;
    foreign[0] = 'X';
    const Bytes shortFile(good.begin(), good.begin() + 1000);
    writeBytes(dir.filePath("foreign.rdat"), foreign);
    writeBytes(dir.filePath("short.rdat"), shortFile);
    for (const char* name : {"foreign.rdat", "short.rdat", "missing.rdat"}) {
        const CtlRun r = ctl({"show", dir.filePath(name)});
        EXPECT_EQ(r.exitCode, 2) << name;
        EXPECT_TRUE(r.out.isEmpty()) << name;
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
    EXPECT_TRUE(ctl({"show", dir.filePath("foreign.rdat")}).err.contains("Error file"));
    // A short file says so, with its size, whichever verb reads it.
    for (const QStringList& args :
         {QStringList{"show", dir.filePath("short.rdat")},
          QStringList{"write", "--port", dir.filePath("no-port"), dir.filePath("short.rdat")}}) {
        const CtlRun r = ctl(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains("too short: 1000 bytes, a data file is 1057"))
            << r.err.toStdString();
    }
}

namespace {

// A file a user could have made: three kinds of channel and some odd function bytes.
Bytes handMadeFile() {
    RadioImage image;
    image.fill(0xFF);
    const std::uint8_t model[8] = {0x50, 0x33, 0x32, 0x30, 0x37, 0x33, 0xF8, 0xFF};
    std::copy(model, model + 8, image.begin() + 440);  // UHF 440-480MHz
    image[382] = 0x00;
    image[383] = 0x00;
    // Channel 1: 445.125 both ways, decode 67.0, wide, high, scanned.
    const std::uint8_t ch1[16] = {0x00, 0x25, 0x51, 0x44, 0x00, 0x25, 0x51, 0x44,
                                  0x9E, 0x02, 0xFF, 0xFF, 0x08, 0x01, 0xFF, 0xFF};
    std::copy(ch1, ch1 + 16, image.begin() + 16);
    image[382] |= 0x01;
    // Channel 3: no transmit side, DCS decode inverted, 88.5 encode, every flag set.
    const std::uint8_t ch3[16] = {0x00, 0x00, 0x00, 0x46, 0xFF, 0xFF, 0xFF, 0xFF,
                                  0x13, 0xA0, 0x75, 0x03, 0xE3, 0x10, 0x12, 0x34};
    std::copy(ch3, ch3 + 16, image.begin() + 48);
    // Channel 4: 49.99999 MHz is not a channel in use, whatever its scan bit says.
    const std::uint8_t ch4[4] = {0x99, 0x99, 0x99, 0x04};
    std::copy(ch4, ch4 + 4, image.begin() + 64);
    image[382] |= 0x08;
    image[303] = 0x81 | 0x08;  // save, hopping, voice English
    image[304] = 41;           // out of range: shown as 180
    image[305] = 3;
    image[308] = 0xFF;  // out of range: shown as 3
    image[306] = 0x2F;  // PF1 nibble 15 shows None, PF2 Scan
    // Scan: Fixd, times 2.5 / (27: shown 1.0) / 5.0 / (0xFF: 1.0), revert 3. Priority
    // channel 1 names channel 4, whose scan bit the grid clears: shown as channel 1.
    const std::uint8_t scan[7] = {1, 0xFF, 25, 27, 3, 50, 0xFF};
    std::copy(scan, scan + 7, image.begin() + 288);
    image[312] = 4;
    // Message: gaps and codes outside 20..126 are skipped.
    const std::uint8_t message[5] = {'H', 'I', 0xFF, 'A', 0x7F};
    std::copy(message, message + 5, image.begin() + 768);
    image[805] = 0x00;
    image[806] = '!';
    SoftwareData software;
    software.fill(0xFF);
    software[0] = 'A';
    software[1] = 'B';
    software[12] = 85;
    return EncodeDataFile(image, software);
}

}  // namespace

TEST(CliShow, JsonIsWhatTheEditorsShow) {
    QTemporaryDir dir;
    const QString path = dir.filePath("hand.rdat");
    const Bytes file = handMadeFile();
    writeBytes(path, file);

    const CtlRun r = ctl({"show", path, "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();

    EXPECT_EQ(o["model"].toString(), "UHF");
    EXPECT_EQ(js(o["band"].toObject()),
              js(QJsonObject{{"low", 440}, {"high", 480}, {"txHigh", 480}, {"known", true}}));
    const QJsonArray channels = o["channels"].toArray();
    ASSERT_EQ(channels.size(), 16);
    EXPECT_EQ(js(channels[0].toObject()), js(QJsonObject{{"channel", 1},
                                                         {"inUse", true},
                                                         {"rx", "445.12500"},
                                                         {"tx", "445.12500"},
                                                         {"decode", "67.0"},
                                                         {"encode", "None"},
                                                         {"power", "High"},
                                                         {"scanAdd", true},
                                                         {"spacing", "25K(Wide)"},
                                                         {"busyLock", "None"},
                                                         {"scrambleType", "1"},
                                                         {"scramble", false},
                                                         {"compand", false},
                                                         {"cdcssMode", "Normal Code"}}));
    EXPECT_EQ(js(channels[1].toObject()), js(QJsonObject{{"channel", 2}, {"inUse", false}}));
    EXPECT_EQ(js(channels[2].toObject()), js(QJsonObject{{"channel", 3},
                                                         {"inUse", true},
                                                         {"rx", "460.00000"},
                                                         {"tx", QJsonValue::Null},
                                                         {"decode", "D023I"},
                                                         {"encode", "88.5"},
                                                         {"power", "Low"},
                                                         {"scanAdd", false},
                                                         {"spacing", "12.5K(Narrow)"},
                                                         {"busyLock", "QT/DQT"},
                                                         {"scrambleType", "4"},
                                                         {"scramble", true},
                                                         {"compand", true},
                                                         {"cdcssMode", "Special Code"}}));
    EXPECT_EQ(js(channels[3].toObject()), js(QJsonObject{{"channel", 4}, {"inUse", false}}));

    EXPECT_EQ(js(o["functions"].toObject()), js(QJsonObject{{"tot", "180"},
                                                            {"totWarning", "3"},
                                                            {"squelch", "3"},
                                                            {"voicePrompt", "English"},
                                                            {"batterySave", true},
                                                            {"beep", false},
                                                            {"scramble", false},
                                                            {"roger", false},
                                                            {"freqHopping", true}}));
    EXPECT_EQ(js(o["keys"].toObject()), js(QJsonObject{{"pf1", "None"}, {"pf2", "Scan"}}));
    EXPECT_EQ(js(o["scan"].toObject()),
              js(QJsonObject{{"priority", "Fixd"},
                             {"revertChannel", "Priority+Talk Back"},
                             {"lookBackA", "2.5"},
                             {"lookBackB", "1.0"},
                             {"dropoutDelay", "5.0"},
                             {"txDwell", "1.0"},
                             {"priorityChannels",
                              QJsonArray{QJsonValue::Null, QJsonValue::Null, QJsonValue::Null,
                                         QJsonValue::Null, QJsonValue::Null, QJsonValue::Null,
                                         QJsonValue::Null, QJsonValue::Null}}}));
    EXPECT_EQ(js(o["message"].toArray()), js(QJsonArray{"HIA", "!"}));
    EXPECT_EQ(
        js(o["software"].toObject()),
        js(QJsonObject{{"programPassword", "AB"}, {"newPassword", ""}, {"changePassword", true}}));

    // Showing repairs nothing on disk: not the function bytes, not the scan bit of
    // the channel that is not in use.
    Bytes after;
    ASSERT_TRUE(ReadFileBytes(path, after).ok());
    EXPECT_EQ(after, file);

    // The table names the same values.
    const CtlRun table = ctl({"show", path});
    ASSERT_EQ(table.exitCode, 0);
    QStringList lines;
    for (const QByteArray& line : table.out.split('\n')) lines << QString(line).simplified();
    for (const char* expected :
         {"Revert Channel Priority+Talk Back", "Look Back Time A[s] 2.5", "Priority Channel 1",
          "Priority Channel 2", "Embedded Message 1 \"HIA\"", "Embedded Message 2 \"!\""})
        EXPECT_TRUE(lines.contains(expected)) << expected << "\n" << table.out.toStdString();
    for (const char* expected : {"UHF 440-480MHz", "445.12500", "D023I", "12.5K(Narrow)", "Scan",
                                 "Time Out Timer(TOT)[s]"})
        EXPECT_TRUE(table.out.contains(expected)) << expected << "\n" << table.out.toStdString();
}

TEST(CliShow, TuneRowsAsTheTuneWindowShowsThem) {
    QTemporaryDir dir;
    const QString path = dir.filePath("tune.rdat");
    Bytes file = handMadeFile();  // UHF 440-480: the table at 0x0300
    const std::size_t image = 16;
    for (std::size_t k = 0; k < 16; ++k) {
        file[image + 0x300 + k] = static_cast<std::uint8_t>(0x80 + k);  // SQ keeps 7 bits
        file[image + 0x330 + k] = static_cast<std::uint8_t>(200 + k);
        file[image + 0x360 + k] = static_cast<std::uint8_t>(k);
        file[image + 0x310 + k] = 0x55;  // another band's table
    }
    file[image + 0x390] = 0x40;
    file[image + 0x391] = 0x85;
    file[image + 0x3C0] = 50;
    writeBytes(path, file);

    const CtlRun r = ctl({"show", path, "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject t = QJsonDocument::fromJson(r.out).object()["tune"].toObject();
    const QJsonArray points = t["points"].toArray();
    ASSERT_EQ(points.size(), 16);
    EXPECT_EQ(points[0].toString(), "440");
    EXPECT_EQ(points[1].toString(), "445");
    EXPECT_EQ(points[15].toString(), QString::fromUtf8("515≥"));
    EXPECT_EQ(t["sq"].toArray()[3].toInt(), 3);
    EXPECT_EQ(t["txHigh"].toArray()[15].toInt(), 215);
    EXPECT_EQ(t["txLow"].toArray()[2].toInt(), 2);
    ASSERT_EQ(t["thresholds"].toArray().size(), 8);
    EXPECT_EQ(js(t["thresholds"].toArray()[0]), js(QJsonObject{{"high", 129}, {"low", 5}}));
    EXPECT_EQ(t["maxDeviation"].toInt(), 50);
}

namespace {
QJsonObject showRange(const QString& range, const QString& path) {
    const CtlRun r = ctl({"show", "--range", range, path, "--json"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return QJsonDocument::fromJson(r.out).object();
}
}  // namespace

TEST(CliShow, RangeDumpsAsTheirWindowsShowThem) {
    QTemporaryDir dir;
    // Local message: a hand-made record; a field of 0xFF bytes (never programmed) is empty.
    Bytes local(256, 0x00);
    const std::string head("DEK\0\0\0\x02", 7);
    std::copy(head.begin(), head.end(), local.begin());
    const std::string codes = "U123pw99";
    std::copy(codes.begin(), codes.end(), local.begin() + 0x38);
    std::fill(local.begin() + 0x50, local.begin() + 0x60, 0xFF);  // dealer code
    const QString localPath = dir.filePath("local.bin");
    writeBytes(localPath, local);
    const QJsonObject l = showRange("local", localPath);
    EXPECT_EQ(l["radioType"].toString(), "DEK");
    EXPECT_EQ(l["frequencyArea"].toString(), "400-480MHz");
    EXPECT_EQ(l["userCode"].toString(), "U123");
    EXPECT_EQ(l["serialNumber"].toString(), "");
    EXPECT_EQ(l["dealerCode"].toString(), "");
    EXPECT_EQ(l.size(), 13);
    EXPECT_FALSE(l.contains("password"));

    // Stun/die: the keys 1, 2, a, b, 9 as the window stores them.
    Bytes stun(32, 0xFF);
    const Bytes digits = {1, 2, 10, 11, 9, 0, 0, 0};
    std::copy(digits.begin(), digits.end(), stun.begin());
    stun[0x10] = 0x05;
    const QString stunPath = dir.filePath("stun.bin");
    writeBytes(stunPath, stun);
    EXPECT_EQ(js(showRange("stundie", stunPath)), js(QJsonObject{{"status", "Normal"},
                                                                 {"stunCode", "12AB9"},
                                                                 {"dieCode", ""},
                                                                 {"ackType", "Chord"},
                                                                 {"enabled", false}}));

    // Special option: 0xFF shows level 15; a whole memory dump holds it at 0x0E10.
    Bytes memory(4096, 0xFF);
    memory[0x0E11] = 3;
    const QString specialPath = dir.filePath("special.bin"), memoryPath = dir.filePath("m.bin");
    writeBytes(specialPath, Bytes(16, 0xFF));
    writeBytes(memoryPath, memory);
    EXPECT_EQ(js(showRange("special", specialPath)), js(QJsonObject{{"rxVoiceLevel", "15"}}));
    EXPECT_EQ(js(showRange("special", memoryPath)), js(QJsonObject{{"rxVoiceLevel", "4"}}));

    // The table names the window's fields.
    const CtlRun table = ctl({"show", "--range", "stundie", stunPath});
    ASSERT_EQ(table.exitCode, 0);
    for (const char* expected : {"Stun Code", "12AB9", "Call Response Type", "Chord"})
        EXPECT_TRUE(table.out.contains(expected)) << expected << "\n" << table.out.toStdString();
}

TEST(CliShow, RangeDumpOfTheWrongSizeOrRange) {
    QTemporaryDir dir;
    const QString path = dir.filePath("short.bin");
    writeBytes(path, Bytes(31, 0xFF));
    const struct {
        QStringList args;
        int exitCode;
    } cases[] = {
        {{"show", "--range", "stundie", path}, 2},
        {{"show", "--range", "local", path, "--json"}, 2},
        {{"show", "--range", "special", dir.filePath("missing.bin")}, 2},
        {{"show", "--range", "tune", path}, 1},
    };
    for (const auto& c : cases) {
        const CtlRun r = ctl(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
}

// diff between files: one line per difference, the JSON of show's names, and
// diff(1)'s exit codes.
TEST(CliDiff, FilesTextJsonAndExitCodes) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.rdat"), b = dir.filePath("b.rdat");
    ASSERT_EQ(ctl({"new", "-o", a}).exitCode, 0);
    ASSERT_EQ(ctl({"new", "-o", b}).exitCode, 0);
    Document doc = loadFile(b);
    doc.radioImage[addr::kKeySet] = 0x00;
    ASSERT_TRUE(SaveDataFile(doc, b));
    QFile bad(dir.filePath("bad.rdat"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(1057, 0x11));
    bad.close();

    const CtlRun json = ctl({"diff", a, b, "--json"});
    EXPECT_EQ(json.exitCode, 1);
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(o["same"], QJsonValue(false));
    const QJsonArray d = o["differences"].toArray();
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(js(d[0]),
              R"([{"a":"Monitor","b":"None","field":"pf1","item":null,"section":"keys"}])");
    EXPECT_EQ(d[1].toObject()["field"], QJsonValue("pf2"));

    const struct {
        QStringList args;
        int exitCode;
        const char* out;
    } cases[] = {
        {{a, a}, 0, "no differences\n"},
        {{a, b}, 1, "keys  PF1  Monitor → None\nkeys  PF2  Talk Around → None\n"},
        {{a, dir.filePath("missing.rdat")}, 2, ""},
        {{dir.filePath("bad.rdat"), a}, 2, ""},
        {{a}, 2, ""},
        {{a, b, "--bogus"}, 2, ""},
    };
    for (const auto& c : cases) {
        const CtlRun r = ctl(QStringList{"diff"} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.out.toStdString(), c.out) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err.isEmpty(), c.exitCode != 2) << r.err.toStdString();
    }
}

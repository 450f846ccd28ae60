#include "channels/channel_csv.h"

#include <gtest/gtest.h>

#include "channels/channel_csv_preview.h"

#include <functional>

#include "channels/channel_record.h"
#include "channels/frequency_entry.h"
#include "channels/tone_entry.h"

using namespace baldo7;

namespace {

Document blankDocument(int low = 136, int high = 174) {
    Document doc;
    doc.radioImage.fill(0xFF);
    doc.radioImage[addr::kScanAddBitmap] = 0;
    doc.radioImage[addr::kScanAddBitmap + 1] = 0;
    doc.BandLowMHz = low;
    doc.BandHighMHz = doc.BandTxHighMHz = high;
    doc.IsEnglish = true;
    return doc;
}

// Channel table and scan bitmap: what an import may change.
std::vector<std::uint8_t> channelBytes(const Document& doc) {
    std::vector<std::uint8_t> out(doc.radioImage.begin() + 16, doc.radioImage.begin() + 272);
    out.push_back(doc.radioImage[addr::kScanAddBitmap]);
    out.push_back(doc.radioImage[addr::kScanAddBitmap + 1]);
    return out;
}

// A channel made as a user makes it in the editors.
struct Made {
    const char* rx;
    const char* tx;  // "" = transmit side removed
    const char* decode;
    const char* encode;
    std::function<void(Document&, int)> settings;
};

void make(Document& doc, int ch, const Made& m) {
    CommitRxFrequency(doc, ch, m.rx);
    if (std::string(m.tx) != m.rx) CommitTxFrequency(doc, ch, m.tx);
    auto tone = [&](const char* text) {
        return std::string(text) == "None" ? kNoTone : ToneFromText(text, '.').code;
    };
    SetRxTone(doc.radioImage, ch, tone(m.decode));
    SetTxTone(doc.radioImage, ch, tone(m.encode));
    if (m.settings) m.settings(doc, ch);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (auto nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', at = nl + 1))
        out.push_back(text.substr(at, nl - at));
    return out;
}

const char* kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE,"
    "BusyLock,ScrambleType,Scrambler,Compander,CdcssMode,RxToneCode,TxToneCode";

}  // namespace

TEST(ChannelCsvExport, RowsInTheCommonLayout) {
    Document doc = blankDocument();
    make(doc, 1, {"145.125", "145.125", "None", "None", nullptr});
    make(doc, 3, {"145.5", "146.1", "88.5", "88.5", [](Document& d, int ch) {
                      SetTxPower(d.radioImage, ch, 0);
                      SetSpacing(d.radioImage, ch, 0);
                      SetScanAddBit(d.radioImage, ch, false);
                      SetBusyLock(d.radioImage, ch, 2);
                      SetScrambleType(d.radioImage, ch, 7);
                      SetScrambleOn(d.radioImage, ch, true);
                      SetCdcssMode(d, ch, 1);
                  }});
    make(doc, 4, {"150", "", "D023I", "100.1", nullptr});
    make(doc, 5, {"146", "145.4", "None", "D754N", nullptr});
    const auto out = lines(ExportChannelsCsv(doc.radioImage));
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[0], kHeader);
    EXPECT_EQ(out[1],
              "1,,145.125000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,,"
              "None,1,Off,Off,Normal Code,,");
    EXPECT_EQ(out[2],
              "3,,145.500000,+,0.600000,TSQL,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,S,Low,,,,,,"
              "QT/DQT,8,On,Off,Special Code,,");
    EXPECT_EQ(out[3],
              "4,,150.000000,off,0.000000,Cross,100.1,88.5,023,NR,023,Tone->DTCS,FM,5.00,,High,,,,"
              ",,None,1,Off,Off,Normal Code,,");
    EXPECT_EQ(out[4],
              "5,,146.000000,-,0.600000,Cross,88.5,88.5,754,NN,023,DTCS->,FM,5.00,,High,,,,,,"
              "None,1,Off,Off,Normal Code,,");

    // Copied rows: empty channels keep their place with only their Location.
    const auto rows = lines(ExportChannelRows(doc.radioImage, 1, 2, '\t'));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].substr(0, 18), "Location\tName\tFreq");
    EXPECT_EQ(rows[2], "2" + std::string(27, '\t'));
}

TEST(ChannelCsvRoundTrip, ExportThenImportGivesTheSameBytes) {
    auto settings = [](int power, int spacing, bool scan, int busy, int type, bool scr, bool comp,
                       int cdcss) {
        return [=](Document& d, int ch) {
            SetTxPower(d.radioImage, ch, power);
            SetSpacing(d.radioImage, ch, spacing);
            SetScanAddBit(d.radioImage, ch, scan);
            SetBusyLock(d.radioImage, ch, busy);
            SetScrambleType(d.radioImage, ch, type);
            SetScrambleOn(d.radioImage, ch, scr);
            SetCompand(d.radioImage, ch, comp);
            SetCdcssMode(d, ch, cdcss);
        };
    };
    // Every tone form, transmit absent / above / below, every own list value.
    const std::vector<Made> made = {
        {"145.125", "145.125", "None", "None", nullptr},
        {"145.125", "145.125", "None", "88.5", nullptr},    // Tone
        {"145.125", "145.725", "67.0", "67.0", nullptr},    // TSQL, +
        {"145.725", "145.125", "D023N", "D023N", nullptr},  // DTCS NN, -
        {"146.01", "146.01", "D754I", "D754I", nullptr},    // DTCS RR
        {"146.02", "146.02", "71.9", "88.5", nullptr},      // Tone->Tone
        {"146.03", "146.03", "D023I", "100.0", nullptr},    // Tone->DTCS
        {"146.04", "146.04", "123.0", "D411N", nullptr},    // DTCS->Tone
        {"146.05", "146.05", "254.1", "None", nullptr},     // ->Tone
        {"146.06", "146.06", "D777N", "None", nullptr},     // ->DTCS
        {"146.07", "146.07", "None", "D000I", nullptr},     // DTCS->
        {"146.08", "146.08", "D023N", "D023I", nullptr},    // DTCS->DTCS
        {"146.09", "146.09", "D031N", "D032N", nullptr},    // DTCS->DTCS
        {"146.1", "", "20.0", "123.4", nullptr},            // off, odd tones
        {"173.99999", "136", "None", "None", settings(0, 0, false, 1, 1, true, false, 0)},
        {"136", "174", "None", "None", settings(1, 1, true, 2, 2, false, true, 1)},
        {"150", "150", "None", "None", settings(0, 1, true, 0, 3, true, true, 1)},
        {"150", "150", "None", "None", settings(1, 0, false, 1, 4, false, false, 0)},
        {"150", "150", "None", "None", settings(1, 0, true, 2, 5, true, false, 1)},
        {"150", "150", "None", "None", settings(1, 0, true, 0, 6, false, true, 0)},
        {"150", "150", "None", "None", settings(1, 0, true, 1, 7, true, true, 1)},
    };
    for (std::size_t start = 0; start < made.size(); start += 12) {
        Document doc = blankDocument();
        // Gaps stay empty; channel 16 is always used.
        for (std::size_t i = start; i < std::min(made.size(), start + 12); ++i)
            make(doc, int(i - start) + 1 + int(i - start) / 4, made[i]);
        make(doc, 16, made[start]);
        // Stored odd CTCSS values, which the typed entry would not produce.
        SetRxTone(doc.radioImage, 16, CtcssTone(5));
        SetTxTone(doc.radioImage, 16, CtcssTone(2543));
        const std::string csv = ExportChannelsCsv(doc.radioImage);

        Document blank = blankDocument();
        CsvImport r = ImportChannelsCsv(blank, csv);
        EXPECT_TRUE(r.usable);
        EXPECT_TRUE(r.skipped.empty()) << DescribeCsvSkip(r.skipped.front(), true);
        EXPECT_EQ(channelBytes(blank), channelBytes(doc)) << csv;

        // Into itself: nothing changes. Through tabs: the same.
        Document same = doc;
        ImportChannelsCsv(same, csv);
        EXPECT_EQ(channelBytes(same), channelBytes(doc));
        Document tabs = blankDocument();
        PasteChannelRows(tabs, ExportChannelRows(doc.radioImage, 1, 16, '\t'), 1);
        EXPECT_EQ(channelBytes(tabs), channelBytes(doc));
    }
}

// Every byte value of both tone fields, bits the tone code does not use included,
// comes back as it was stored; the tone text alone (an older export) gives the plain
// tone, and an edited tone wins over the bytes beside it.
TEST(ChannelCsvRoundTrip, EveryToneByteComesBack) {
    Document doc = blankDocument();
    for (int ch = 1; ch <= kChannelCount; ++ch) CommitRxFrequency(doc, ch, "145");
    int restored = 0;
    for (int next = 0; next < 0x10000; next += kChannelCount) {
        for (int ch = 1; ch <= kChannelCount; ++ch) {
            const int rx = next + ch - 1, tx = rx ^ 0xA55A;  // each field sees every value
            SetRxTone(doc.radioImage, ch, {std::uint8_t(rx), std::uint8_t(rx >> 8)});
            SetTxTone(doc.radioImage, ch, {std::uint8_t(tx), std::uint8_t(tx >> 8)});
        }
        const std::string csv = ExportChannelsCsv(doc.radioImage);
        Document back = blankDocument();
        const CsvImport r = ImportChannelsCsv(back, csv);
        ASSERT_TRUE(r.skipped.empty()) << DescribeCsvSkip(r.skipped.front(), true) << csv;
        ASSERT_EQ(channelBytes(back), channelBytes(doc)) << csv;
        for (auto at = csv.find(",0x"); at != std::string::npos; at = csv.find(",0x", at + 1))
            ++restored;
    }
    EXPECT_GT(restored, 0x18000);       // most codes need their bytes
    Document pasted = blankDocument();  // copied grid rows keep them too
    PasteChannelRows(pasted, ExportChannelRows(doc.radioImage, 1, 16, '\t'), 1);
    EXPECT_EQ(channelBytes(pasted), channelBytes(doc));

    // CTCSS 88.5 with 0x80 | 0x40 | 0x10 in the high byte, on a row cut before the
    // code columns, and with the tone edited to 100.0 while the bytes stayed.
    SetRxTone(doc.radioImage, 1, {0x75, 0xD3});
    SetTxTone(doc.radioImage, 1, {0x75, 0xD3});
    std::string row = lines(ExportChannelsCsv(doc.radioImage))[1];
    ASSERT_EQ(row.substr(row.size() - 14), ",0xD375,0xD375");
    const std::string header = std::string(kHeader) + "\n";
    const std::string older =
        header.substr(0, header.find(",RxToneCode")) + "\n" + row.substr(0, row.size() - 14) + "\n";
    for (const auto& [text, tone] :
         {std::pair{older, CtcssTone(885)},
          std::pair{header + row.replace(row.find("88.5,88.5"), 9, "100.0,100.0") + "\n",
                    CtcssTone(1000)}}) {
        Document back = blankDocument();
        ASSERT_EQ(ImportChannelsCsv(back, text).taken.size(), 1u) << text;
        EXPECT_EQ(RxTone(back.radioImage, 1), tone) << text;
        EXPECT_EQ(TxTone(back.radioImage, 1), tone) << text;
    }
}

TEST(ChannelCsvImport, RecordBuiltWholeAndOtherChannelsKept) {
    Document doc = blankDocument();
    make(doc, 2, {"150", "150", "D023N", "88.5", nullptr});
    // Leftovers of an old record: reserved bits, bytes 14-15.
    doc.radioImage[ChannelStart(2) + 13] |= 0xEE;
    doc.radioImage[ChannelStart(2) + 14] = 0x12;
    doc.radioImage[ChannelStart(5)] = 0x42;  // channel 5 is not in the file
    const auto before = doc.radioImage;
    const CsvImport r = ImportChannelsCsv(doc, "Location,Frequency\n2,145.5\n");
    EXPECT_EQ(r.taken, std::vector<int>{2});
    const std::size_t at = ChannelStart(2);
    const std::vector<std::uint8_t> record(doc.radioImage.begin() + at,
                                           doc.radioImage.begin() + at + 16);
    // Missing columns: simplex, no tones, wide, high, scanned; own columns as they were.
    EXPECT_EQ(record, (std::vector<std::uint8_t>{0x00, 0x00, 0x55, 0x14, 0x00, 0x00, 0x55, 0x14,
                                                 0xFF, 0xFF, 0xFF, 0xFF, 0x08, 0x01, 0xFF, 0xFF}));
    EXPECT_TRUE(GetScanAddBit(doc.radioImage, 2));
    for (std::size_t i = 0; i < before.size(); ++i)
        if (i < at || i >= at + 16) {
            EXPECT_EQ(doc.radioImage[i], before[i]) << i;
        }

    // Own columns left out keep the channel's values; the standard ones do not.
    SetBusyLock(doc.radioImage, 2, 1);
    SetScrambleType(doc.radioImage, 2, 4);
    SetCompand(doc.radioImage, 2, true);
    SetTxPower(doc.radioImage, 2, 0);
    ImportChannelsCsv(doc, "Location,Frequency,Scrambler\n2,145.5,On\n3,145.5,\n");
    const ChannelView v = DecodeChannel(doc.radioImage, 2, true, '.');
    EXPECT_EQ(v.busyLockIndex, 1);
    EXPECT_EQ(v.scrambleTypeIndex, 4);
    EXPECT_TRUE(v.compand);
    EXPECT_TRUE(v.scrambleOn);
    EXPECT_EQ(v.powerIndex, 1);
    const ChannelView fresh = DecodeChannel(doc.radioImage, 3, true, '.');
    EXPECT_EQ(fresh.busyLockIndex, 0);
    EXPECT_FALSE(fresh.scrambleOn);

    // A blank Frequency empties the channel.
    ImportChannelsCsv(doc, "Location,Frequency\n2,\n");
    EXPECT_FALSE(ChannelInUse(doc.radioImage, 2));
    EXPECT_FALSE(GetScanAddBit(doc.radioImage, 2));
}

TEST(ChannelCsvImport, TolerantReading) {
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"bom, quotes, order, unknown, comments",
         "\xEF\xBB\xBF# exported by hand\n"
         "\"Frequency\",\"Extra\",\"location\",\"Tone\",\"rToneFreq\",\"Power\"\n"
         "\n"
         "\"145,125\",\"x, y\",1,Tone,\"88,5\",low\n"
         "# a comment between rows\n"
         "146.5,,2,,,High\r\n"
         ",,,,,\n"},
        {"tabs and comma decimals",
         "Location\tFrequency\tTone\trToneFreq\tPower\r\n1\t145,125\tTone\t88,5\tLow\r\n"
         "2\t146,5\t\t\tHigh\r\n"},
        {"semicolons",
         "Location;Frequency;Tone;rToneFreq;Power\n1;145,125;Tone;88,5;Low\n"
         "2;146,50000;;;High\n"},
    };
    for (const Case& c : cases) {
        Document doc = blankDocument();
        const CsvImport r = ImportChannelsCsv(doc, c.text);
        EXPECT_TRUE(r.usable) << c.name;
        EXPECT_EQ(r.taken, (std::vector<int>{1, 2})) << c.name;
        EXPECT_TRUE(r.skipped.empty()) << c.name;
        const ChannelView one = DecodeChannel(doc.radioImage, 1, true, '.');
        EXPECT_EQ(one.rxText, "145.12500") << c.name;
        EXPECT_EQ(one.txToneText, "88.5") << c.name;
        EXPECT_EQ(one.powerIndex, 0) << c.name;
        EXPECT_EQ(DecodeChannel(doc.radioImage, 2, true, '.').rxText, "146.50000") << c.name;
    }
}

TEST(ChannelCsvImport, BadRowsSkippedAndReported) {
    const std::string header =
        "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
        "CrossMode,Mode,Skip,Power,BusyLock,CdcssMode\n";
    const struct {
        const char* row;
        CsvProblem problem;
        const char* column;
    } cases[] = {
        {"17,145.125,,,,,,,,,,,,,", CsvProblem::BadLocation, "Location"},
        {"x,145.125,,,,,,,,,,,,,", CsvProblem::BadLocation, "Location"},
        {"2,145.1250001,,,,,,,,,,,,,", CsvProblem::BadFrequency, "Frequency"},
        {"2,1e2,,,,,,,,,,,,,", CsvProblem::BadFrequency, "Frequency"},
        {"2,175,,,,,,,,,,,,,", CsvProblem::RxOutOfBand, "Frequency"},
        {"2,135.99999,,,,,,,,,,,,,", CsvProblem::RxOutOfBand, "Frequency"},
        {"2,173,+,1.5,,,,,,,,,,,", CsvProblem::TxOutOfBand, "Duplex"},
        {"2,137,-,2,,,,,,,,,,,", CsvProblem::TxOutOfBand, "Duplex"},
        {"2,137,split,,,,,,,,,,,,", CsvProblem::BadFrequency, "Offset"},
        {"2,145,dup,,,,,,,,,,,,", CsvProblem::BadDuplex, "Duplex"},
        {"2,145,+,abc,,,,,,,,,,,", CsvProblem::BadFrequency, "Offset"},
        {"2,145,,,Tone,254.4,,,,,,,,,", CsvProblem::UnknownTone, "rToneFreq"},
        {"2,145,,,TSQL,,88.55,,,,,,,,", CsvProblem::UnknownTone, "cToneFreq"},
        {"2,145,,,DTCS,,,089,NN,,,,,,", CsvProblem::UnknownTone, "DtcsCode"},
        {"2,145,,,DTCS,,,023,NX,,,,,,", CsvProblem::UnknownTone, "DtcsPolarity"},
        {"2,145,,,Cross,,,,,Tone->Bad,,,,,", CsvProblem::UnknownTone, "CrossMode"},
        {"2,145,,,Cross,,,,,->,,,,,", CsvProblem::UnknownTone, "CrossMode"},
        {"2,145,,,DCS,,,,,,,,,,", CsvProblem::UnknownTone, "Tone"},
        {"2,145,,,,,,,,,AM,,,,", CsvProblem::ModeUnsupported, "Mode"},
        {"2,145,,,,,,,,,Digital,,,,", CsvProblem::BadValue, "Mode"},
        {"2,145,,,,,,,,,,X,,,", CsvProblem::BadValue, "Skip"},
        {"2,145,,,,,,,,,,,5,,", CsvProblem::BadValue, "Power"},
        {"2,145,,,,,,,,,,,5 V,,", CsvProblem::BadValue, "Power"},
        {"2,145,,,,,,,,,,,W,,", CsvProblem::BadValue, "Power"},
        {"2,145,,,,,,,,,,,,Busy,", CsvProblem::BadValue, "BusyLock"},
        {"2,145,,,,,,,,,,,,,Special Code", CsvProblem::SpecialCodeUnsupported, "CdcssMode"},
    };
    for (const auto& c : cases) {
        Document doc = blankDocument();
        doc.SpecialCodeSupported = false;
        make(doc, 2, {"150", "150", "None", "None", nullptr});
        const auto before = doc.radioImage;
        const CsvImport r = ImportChannelsCsv(doc, header + "1,145.125\n" + c.row + "\n");
        EXPECT_EQ(r.taken, std::vector<int>{1}) << c.row;
        ASSERT_EQ(r.skipped.size(), 1u) << c.row;
        EXPECT_EQ(r.skipped[0].line, 3) << c.row;
        EXPECT_EQ(r.skipped[0].problem, c.problem) << c.row;
        EXPECT_EQ(r.skipped[0].column, c.column) << c.row;
        for (std::size_t i = ChannelStart(2); i < ChannelStart(3); ++i) {
            EXPECT_EQ(doc.radioImage[i], before[i]) << c.row;
        }
    }

    // Duplicates and the lines they are reported on: only rows that land claim their
    // channel, so the row after a refused one for channel 2 is taken.
    Document doc = blankDocument();
    const CsvImport r =
        ImportChannelsCsv(doc,
                          "# plan\nLocation,Frequency,Tone,rToneFreq,Duplex,Offset\n"
                          "1,145.125\n"
                          "2,300\n"
                          "\n"
                          "1,146\n"
                          "2,146\n"
                          "\"3\",145.5,Tone,\"\n88.5\"\n"
                          "4,150,Cross,,split,\"174,0\"\n"
                          "2,147\n"
                          "5,\"145.5\n"  // a quote never closed takes no rows with it
                          "6,146.5\n");
    EXPECT_EQ(r.taken, (std::vector<int>{1, 2, 3, 4, 6}));
    ASSERT_EQ(r.skipped.size(), 4u);
    EXPECT_EQ(DescribeCsvSkip(r.skipped[0], true),
              "Line 4: receive frequency 300.000000 MHz is outside the band 136-174 MHz");
    EXPECT_EQ(DescribeCsvSkip(r.skipped[1], true), "Line 6: channel 1 was already given on line 3");
    EXPECT_EQ(DescribeCsvSkip(r.skipped[2], false), "第11行：信道2已在第7行给出");
    EXPECT_EQ(DescribeCsvSkip(r.skipped[3], true),
              "Line 12: a quote (\") opened in this row is never closed");
    EXPECT_EQ(DecodeChannel(doc.radioImage, 2, true, '.').rxText, "146.00000");
    EXPECT_EQ(DecodeChannel(doc.radioImage, 1, true, '.').rxText, "145.12500");
    EXPECT_EQ(DecodeChannel(doc.radioImage, 3, true, '.').txToneText, "88.5");
    EXPECT_EQ(DecodeChannel(doc.radioImage, 4, true, '.').txText, "174.00000");
    EXPECT_EQ(DecodeChannel(doc.radioImage, 4, true, '.').rxToneText, "88.5");
}

TEST(ChannelCsvImport, TextWithoutHeaderChangesNothing) {
    for (const char* text : {"", "\xEF\xBB\xBF", "# only a comment\n", "1,145.125,,\n",
                             "Location,Name\n1,x\n", "Frequenz,Ort\n145,1\n"}) {
        Document doc = blankDocument();
        const auto before = doc.radioImage;
        const CsvImport r = ImportChannelsCsv(doc, text);
        EXPECT_FALSE(r.usable) << text;
        EXPECT_TRUE(r.taken.empty()) << text;
        EXPECT_EQ(doc.radioImage, before) << text;
    }
}

TEST(ChannelCsvPaste, RowsFromTheCurrentOneOn) {
    Document source = blankDocument();
    make(source, 3, {"145.125", "145.125", "88.5", "88.5", nullptr});
    make(source, 5, {"146", "", "None", "D023N", nullptr});
    const std::string copied = ExportChannelRows(source.radioImage, 3, 5, '\t');

    Document doc = blankDocument();
    make(doc, 11, {"150", "150", "None", "None", nullptr});
    CsvImport r = PasteChannelRows(doc, copied, 10);
    EXPECT_EQ(r.taken, (std::vector<int>{10, 11, 12}));
    EXPECT_EQ(DecodeChannel(doc.radioImage, 10, true, '.').rxToneText, "88.5");
    EXPECT_FALSE(ChannelInUse(doc.radioImage, 11));  // the copied row was empty
    EXPECT_EQ(DecodeChannel(doc.radioImage, 12, true, '.').txToneText, "D023N");

    // A spreadsheet selection without the header (receive frequencies only, in the
    // grid's first column), past the last channel.
    const std::string sheet = "145.5\r\n146.5\r\n147.5\r\n";
    r = PasteChannelRows(doc, sheet, 15);
    EXPECT_TRUE(r.usable);
    EXPECT_EQ(r.taken, (std::vector<int>{15, 16}));
    ASSERT_EQ(r.skipped.size(), 1u);
    EXPECT_EQ(r.skipped[0].line, 3);
    EXPECT_EQ(r.skipped[0].problem, CsvProblem::BadLocation);
    EXPECT_EQ(DecodeChannel(doc.radioImage, 16, true, '.').rxText, "146.50000");

    // Stray text is no row: nothing is emptied, and the report says so.
    const auto before = doc.radioImage;
    r = PasteChannelRows(doc, "hello world\n", 10);
    EXPECT_TRUE(r.taken.empty());
    ASSERT_EQ(r.skipped.size(), 1u);
    EXPECT_EQ(r.skipped[0].problem, CsvProblem::BadFrequency);
    EXPECT_EQ(doc.radioImage, before);
    EXPECT_EQ(DescribeCsvImport(r, true),
              "Channels imported: 0. Rows skipped: 1.\n"
              "Line 1: Rx Frequency \"hello world\" is not a frequency in MHz on a 10 Hz step");
}

namespace {
std::string shown(const Document& doc, int ch);
}  // namespace

// Text without our header is read in the grid's column order, as the grid shows the
// cells in either language and with either decimal mark; the grid's own headers give
// another order.
TEST(ChannelCsvPaste, CellsInTheGridsOrder) {
    const struct {
        const char* row;
        const char* landed;  // "" emptied; nullptr: skipped with `problem` in `column`
        CsvProblem problem = CsvProblem::BadValue;
        int column = 0;
    } cases[] = {
        {"145.12500\t145.72500\t88.5\tD023I\tLow\tDelete\t12.5K(Narrow)",
         "145.12500|145.72500|88.5|D023I|Low|NFM|skip"},
        {"145,125\t\t\xE6\x97\xA0\tD754N\t\xE9\xAB\x98\t\xE6\xB7\xBB\xE5\x8A\xA0\t25K("
         "\xE5\xAE\xBD\xE5\xB8\xA6)",
         "145.12500||None|D754N|High|FM|scan"},
        {"146.5", "146.50000|146.50000|None|None|High|FM|scan"},
        {"147\t147\tnone\td65i\t4.0W\tadd\t12,5K(Narrow)",
         "147.00000|147.00000|None|D065I|High|NFM|scan"},
        {"\t\t\t\t\t\t", ""},
        {"145\t146\tD023X", nullptr, CsvProblem::UnknownTone, 3},
        {"145\t175", nullptr, CsvProblem::TxOutOfBand, 2},
        {"120\t145", nullptr, CsvProblem::RxOutOfBand, 1},
        {"145\t\tNone\tNone\tMax", nullptr, CsvProblem::BadValue, 5},
        {"145\t\tNone\tNone\tHigh\tSometimes", nullptr, CsvProblem::BadValue, 6},
        {"\t146", nullptr, CsvProblem::BadFrequency, 1},
    };
    std::string text;
    for (const auto& c : cases) text += std::string(c.row) + "\r\n";
    Document doc = blankDocument();
    for (int ch = 1; ch <= kChannelCount; ++ch) make(doc, ch, {"150", "150", "None", "None", {}});
    const CsvPlan plan = PlanPastedRows(doc, text, 1);
    ApplyCsvPlan(doc, plan);
    std::size_t skipped = 0;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].row);
        const int ch = int(i) + 1;
        if (!cases[i].landed) {
            ASSERT_LT(skipped, plan.skipped.size());
            const CsvSkip& s = plan.skipped[skipped++];
            EXPECT_EQ(s.line, ch);
            EXPECT_EQ(s.problem, cases[i].problem);
            EXPECT_EQ(s.gridColumn, cases[i].column);
            EXPECT_EQ(shown(doc, ch), "150.00000|150.00000|None|None|High|FM|scan");
        } else if (*cases[i].landed) {
            EXPECT_EQ(shown(doc, ch), cases[i].landed);
        } else {
            EXPECT_FALSE(ChannelInUse(doc.radioImage, ch));
        }
    }
    EXPECT_EQ(skipped, plan.skipped.size());
    // The column is named as the grid names it, in the language of the report.
    EXPECT_EQ(DescribeCsvSkip(plan.skipped[0], true),
              "Line 6: unknown tone \"D023X\" in CTCSS/DCS Decode");
    EXPECT_EQ(DescribeCsvSkip(plan.skipped[0], false),
              "\xE7\xAC\xAC"
              "6\xE8\xA1\x8C\xEF\xBC\x9A\xE8\xA7\xA3\xE7\xA0\x81\xE4\xB8\xAD\xE6\x97\xA0"
              "\xE6\xB3\x95\xE8\xAF\x86\xE5\x88\xAB\xE7\x9A\x84\xE4\xBA\x9A\xE9\x9F\xB3\xE2\x80\x9C"
              "D023X\xE2\x80\x9D");

    // The grid's headers, copied along from a spreadsheet, give the order.
    Document other = blankDocument();
    const CsvPlan byHeader =
        PlanPastedRows(other, "Tx Power\tRx Frequency\tScan Add\nLow\t145.5\tDelete\n", 4);
    ApplyCsvPlan(other, byHeader);
    EXPECT_EQ(byHeader.taken, std::vector<int>{4});
    EXPECT_EQ(shown(other, 4), "145.50000|145.50000|None|None|Low|FM|skip");
}

// The preview's rows: by channel, in the grid's words and language, an emptied
// channel and a mapped power level shown as such, skipped rows with their reason.
TEST(ChannelCsvPreview, RowsAsTheGridWillShowThem) {
    Document doc = blankDocument();
    const CsvPlan plan = PlanChannelsCsv(doc,
                                         "Location,Frequency,Duplex,Power,Tone,cToneFreq\n"
                                         "9,146.5,off,4.0W,TSQL,100.0\n"
                                         "2,,,,,\n"
                                         "3,999,,,,\n"
                                         "5,145.125,,L,,\n");
    const std::vector<CsvPreviewRow> rows = CsvPreviewRows(plan, false, ',');
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].channel, "2");
    EXPECT_EQ(rows[0].line, "3");
    EXPECT_EQ(rows[0].rx, "\xEF\xBC\x88\xE6\xB8\x85\xE7\xA9\xBA\xEF\xBC\x89");
    EXPECT_EQ(rows[0].power, "");
    EXPECT_EQ(rows[1].channel, "5");
    EXPECT_EQ(rows[1].tx, "145,12500");
    EXPECT_EQ(rows[1].power, "\xE4\xBD\x8E");
    const CsvPreviewRow& nine = rows[2];
    EXPECT_EQ(nine.channel + "|" + nine.rx + "|" + nine.tx + "|" + nine.decode + "|" + nine.encode +
                  "|" + nine.power + "|" + nine.scan + "|" + nine.spacing,
              "9|146,50000||100,0|100,0|\xE9\xAB\x98 (4.0W)|\xE6\xB7\xBB\xE5\x8A\xA0|25K("
              "\xE5\xAE\xBD\xE5\xB8\xA6)");
    const std::vector<CsvPreviewSkip> skips = CsvPreviewSkips(plan, true);
    ASSERT_EQ(skips.size(), 1u);
    EXPECT_EQ(skips[0].line, "4");
    EXPECT_EQ(skips[0].reason, "receive frequency 999.000000 MHz is outside the band 136-174 MHz");
}

namespace {

// A channel as the grid shows it: receive|transmit|decode|encode|power|mode|scan.
std::string shown(const Document& doc, int ch) {
    const ChannelView v = DecodeChannel(doc.radioImage, ch, true, '.');
    return v.rxText + "|" + v.txText + "|" + v.rxToneText + "|" + v.txToneText + "|" +
           (v.powerIndex ? "High" : "Low") + "|" + (v.spacingIndex ? "FM" : "NFM") + "|" +
           (v.scanAdd ? "scan" : "skip");
}

// Channel lists as other programs write them: the 21-column layout (rows numbered
// from 0, CRLF, a mixed VHF/UHF list), its older 18-column form (no CrossMode,
// RxDtcsCode or Power; a Latin-1 comment) and the 14-column form (no D-STAR columns).
const std::string kLayout21 =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
    "0,2m Call,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,"
    "\"Calling, simplex\",,,,\r\n"
    "1,Rpt Tone,146.940000,-,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,4.0W,,,,,\r\n"
    "2,Rpt TSQL,147.255000,+,0.600000,TSQL,88.5,107.2,023,NN,023,Tone->Tone,NFM,12.50,S,1.0W,"
    "Caf\xC3\xA9,,,,\r\n"
    "3,Rpt DTCS,145.230000,-,0.600000,DTCS,88.5,88.5,23,RN,023,Tone->Tone,FM,5.00,P,High,,,,,\r\n"
    "4,DV Rpt,145.380000,-,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,DV,5.00,,High,,CQCQCQ,"
    "N0CALL B,N0CALL G,\r\n"
    "5,UHF Rpt,442.100000,+,5.000000,Tone,123.0,88.5,023,NN,023,Tone->Tone,FM,25.00,,4.0W,,,,,\r\n"
    "6,Split,146.000000,split,147.000000,Cross,88.5,88.5,023,NN,754,Tone->DTCS,FM,5.00,,Low,,,,,"
    "\r\n"
    "7,RX only,162.400000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,L,,,,,\r\n"
    "8,UHF TSQL,446.000000,,0.000000,TSQL,88.5,67.0,023,NN,023,Tone->Tone,NFM,12.50,,0.5 W,,,,,"
    "\r\n"
    "9,UHF DTCS,445.500000,-,5.000000,DTCS,88.5,88.5,0754,NR,023,Tone->Tone,FM,5.00,,Mid,,,,,\r\n"
    "10,X1,145.500000,,0.000000,Cross,88.5,88.5,411,RN,023,DTCS->,FM,5.00,,50W,,,,,\r\n"
    "11,X2,145.520000,,0.000000,Cross,88.5,131.8,023,NN,023,->Tone,FM,5.00,,hi,,,,,\r\n"
    "12,X3,445.600000,,0.000000,Cross,88.5,88.5,023,NR,155,->DTCS,FM,5.00,,Lo,,,,,\r\n"
    "13,X4,146.400000,,0.000000,Cross,88.5,156.7,246,NN,023,DTCS->Tone,FM,5.00,,H,,,,,\r\n"
    "14,X5,446.100000,,0.000000,Cross,77.0,82.5,023,NN,023,Tone->Tone,FM,5.00,,low,,,,,\r\n"
    "15,X6,147.000000,,0.000000,Cross,88.5,88.5,023,RN,754,DTCS->DTCS,FM,5.00,,HIGH,,,,,\r\n"
    "16,Bad tone,146.600000,,0.000000,Tone,254.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n"
    "17,Too high,173.800000,+,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n";

const std::string kLayout18 =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,"
    "TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n"
    "1,Simplex,146.550000,,0.000000,,88.5,88.5,023,NN,FM,5.00,,Caf\xE9 Latin-1,,,,\n"
    "2,Rpt,147.330000,+,0.600000,Tone,131.8,88.5,023,NN,FM,5.00,S,\"on air, Tuesdays\",,,,\n"
    "3,UHF,444.000000,+,5.000000,TSQL,88.5,100.0,023,NN,NFM,12.50,,,,,,\n"
    "4,DCS,146.700000,-,0.600000,DTCS,88.5,88.5,65,NN,FM,5.00,P,,,,,\n"
    "5,UHF DCS,449.000000,-,5.000000,DTCS,88.5,88.5,0131,RR,FM,5.00,,,,,,\n"
    "6,Broadcast,98.100000,,0.000000,,88.5,88.5,023,NN,WFM,100.00,,,,,,\n"
    "3,Also three,145.000000,,0.000000,,88.5,88.5,023,NN,FM,5.00,,,,,,\n"
    "2,Also two,445.000000,,0.000000,,88.5,88.5,023,NN,NFM,5.00,,,,,,\n"
    "1,Twice,146.000000,,0.000000,,88.5,88.5,023,NN,FM,5.00,,,,,,\n";

const std::string kLayout14 =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,"
    "TStep,Skip,Comment\r\n"
    "1,\"Club, Net\",147.000000,+,0.600000,Tone,100.0,88.5,023,NN,FM,5.00,,\r\n"
    "2,UHF Net,443.000000,+,5.000000,TSQL,88.5,88.5,023,NN,FM,5.00,P,\r\n"
    "3,Sat,145.800000,off,0.000000,,88.5,88.5,023,NN,NFM,5.00,S,Downlink\r\n"
    "4,DMR,438.500000,-,7.600000,,88.5,88.5,023,NN,DMR,12.50,,\r\n"
    "5,UHF DCS,462.562500,,0.000000,DTCS,88.5,88.5,74,NN,FM,12.50,,\"Family, 1\"\r\n";

}  // namespace

// Each layout on a VHF and a UHF radio: the rows the band can take land whole (Tone
// encodes only, TSQL both ways, DTCS polarity transmit first, every CrossMode), the
// others are reported by line, and nothing changes until the plan is applied.
TEST(ChannelCsvImport, ListsOfOtherProgramsOnEitherBand) {
    using P = CsvProblem;
    const auto rxOut = P::RxOutOfBand;
    struct Landed {
        int channel, line;
        const char* shown;
    };
    struct Skipped {
        int line;
        CsvProblem problem;
    };
    const struct {
        const char* name;
        const std::string& file;
        int low, high;
        CsvImportOptions options;
        std::vector<Landed> landed;
        std::vector<Skipped> skipped;
        const char* power;
    } cases[] = {
        // clang-format off
        {"21 VHF", kLayout21, 136, 174, {true, 1},
         {{1, 2, "146.52000|146.52000|None|None|High|FM|scan"},
          {2, 3, "146.94000|146.34000|None|100.0|High|FM|scan"},
          {3, 4, "147.25500|147.85500|107.2|107.2|Low|NFM|skip"},
          {4, 5, "145.23000|144.63000|D023N|D023I|High|FM|scan"},
          {5, 8, "146.00000|147.00000|D754N|88.5|Low|FM|scan"},
          {6, 9, "162.40000||None|None|Low|FM|scan"},
          {7, 12, "145.50000|145.50000|None|D411I|High|FM|scan"},
          {8, 13, "145.52000|145.52000|131.8|None|High|FM|scan"},
          {9, 15, "146.40000|146.40000|156.7|D246N|High|FM|scan"},
          {10, 17, "147.00000|147.00000|D754N|D023I|High|FM|scan"}},
         {{6, P::ModeUnsupported}, {7, rxOut}, {10, rxOut}, {11, rxOut}, {14, rxOut},
          {16, rxOut}, {18, P::UnknownTone}, {19, P::TxOutOfBand}},
         "4 power values given in watts were mapped: 5.0W → High, 4.0W → High, 1.0W → Low, "
         "50W → High"},
        {"21 UHF", kLayout21, 400, 480, {true, 1},
         {{1, 7, "442.10000|447.10000|None|123.0|High|FM|scan"},
          {2, 10, "446.00000|446.00000|67.0|67.0|Low|NFM|scan"},
          {3, 11, "445.50000|440.50000|D754I|D754N|High|FM|scan"},
          {4, 14, "445.60000|445.60000|D155I|None|Low|FM|scan"},
          {5, 16, "446.10000|446.10000|82.5|77.0|Low|FM|scan"}},
         {{2, rxOut}, {3, rxOut}, {4, rxOut}, {5, rxOut}, {6, rxOut}, {8, rxOut}, {9, rxOut},
          {12, rxOut}, {13, rxOut}, {15, rxOut}, {17, rxOut}, {18, rxOut}, {19, rxOut}},
         "2 power values given in watts were mapped: 4.0W → High, 0.5 W → Low\n"
         "1 power value naming a middle level was mapped: Mid → High"},
        // By Location: a refused row leaves its channel to a later row.
        {"18 VHF", kLayout18, 136, 174, {},
         {{1, 2, "146.55000|146.55000|None|None|High|FM|scan"},
          {2, 3, "147.33000|147.93000|None|131.8|High|FM|skip"},
          {4, 5, "146.70000|146.10000|D065N|D065N|High|FM|scan"},
          {3, 8, "145.00000|145.00000|None|None|High|FM|scan"}},
         {{4, rxOut}, {6, rxOut}, {7, rxOut}, {9, rxOut}, {10, P::DuplicateLocation}},
         ""},
        {"18 UHF", kLayout18, 400, 480, {},
         {{3, 4, "444.00000|449.00000|100.0|100.0|High|NFM|scan"},
          {5, 6, "449.00000|444.00000|D131I|D131I|High|FM|scan"},
          {2, 9, "445.00000|445.00000|None|None|High|NFM|scan"}},
         {{2, rxOut}, {3, rxOut}, {5, rxOut}, {7, rxOut}, {8, rxOut}, {10, rxOut}},
         ""},
        {"14 VHF", kLayout14, 136, 174, {true, 5},
         {{5, 2, "147.00000|147.60000|None|100.0|High|FM|scan"},
          {6, 4, "145.80000||None|None|High|NFM|skip"}},
         {{3, rxOut}, {5, rxOut}, {6, rxOut}},
         ""},
        {"14 UHF", kLayout14, 400, 480, {true, 5},
         {{5, 3, "443.00000|448.00000|88.5|88.5|High|FM|scan"},
          {6, 6, "462.56250|462.56250|D074N|D074N|High|FM|scan"}},
         {{2, rxOut}, {4, rxOut}, {5, P::ModeUnsupported}},
         ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Document doc = blankDocument(c.low, c.high);
        const auto before = doc.radioImage;
        const CsvPlan plan = PlanChannelsCsv(doc, c.file, c.options);
        EXPECT_EQ(doc.radioImage, before);
        ASSERT_EQ(plan.rows.size(), c.landed.size());
        ApplyCsvPlan(doc, plan);
        std::vector<int> taken;
        for (std::size_t i = 0; i < c.landed.size(); ++i) {
            const Landed& l = c.landed[i];
            EXPECT_EQ(plan.rows[i].line, l.line);
            EXPECT_EQ(plan.rows[i].channel, l.channel);
            EXPECT_EQ(shown(doc, l.channel), l.shown) << "line " << l.line;
            taken.push_back(l.channel);
        }
        EXPECT_EQ(plan.taken, taken);
        for (int ch = 1; ch <= kChannelCount; ++ch)
            if (std::find(taken.begin(), taken.end(), ch) == taken.end()) {
                EXPECT_FALSE(ChannelInUse(doc.radioImage, ch)) << ch;
            }
        ASSERT_EQ(plan.skipped.size(), c.skipped.size());
        for (std::size_t i = 0; i < c.skipped.size(); ++i) {
            EXPECT_EQ(plan.skipped[i].line, c.skipped[i].line);
            EXPECT_EQ(plan.skipped[i].problem, c.skipped[i].problem)
                << DescribeCsvSkip(plan.skipped[i], true);
        }
        EXPECT_EQ(DescribePowerMapping(plan, true), c.power);
        EXPECT_FALSE(plan.zeroBased);
    }
}

// What the report says: the editors' texts for a hand-made document, per section and
// language, and the command line's section names.
#include <gtest/gtest.h>

#include <functional>

#include "print/print_report.h"
#include "tests/print/hand_made_document.h"

using namespace baldo7;

namespace {

Document handMade(bool english) {
    Document doc;
    doc.IsEnglish = english;
    doc.DecimalSeparator = '.';
    doc.radioImage.fill(0xFF);
    doc.ModelType = "VHF";
    doc.BandLowMHz = 136;
    doc.BandHighMHz = doc.BandTxHighMHz = 174;
    doc.CurrentFileName = "hand.rdat";
    MakeHandMade(doc);
    return doc;
}

std::vector<std::pair<std::string, std::string>> pairs(const ReportBlock& b) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const ReportField& f : b.fields) out.emplace_back(f.label, f.value);
    return out;
}

}  // namespace

TEST(Report, ChannelTableHasEveryGridAndDialogColumnAndEmptyRows) {
    const Report r = BuildReport(handMade(true), kSectionChannels, "2026-01-02");
    ASSERT_TRUE(r.channels);
    EXPECT_EQ(r.channels->title, "Channel Information");
    const std::vector<std::string> headers = {"CH",
                                              "Rx Frequency",
                                              "Tx Frequency",
                                              "CTCSS/DCS Decode",
                                              "CTCSS/DCS Encode",
                                              "Tx Power",
                                              "Scan Add",
                                              "Channel Spacing",
                                              "Busy Channel Lock-out",
                                              "Scramble Type",
                                              "Scramble On",
                                              "Compand",
                                              "Cdcss Mode"};
    EXPECT_EQ(r.channels->headers, headers);
    const auto expected = HandMadeChannelRows();
    ASSERT_EQ(r.channels->rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(r.channels->rows[i], expected[i]) << "channel " << i + 1;
    EXPECT_TRUE(r.blocks.empty());
}

TEST(Report, FunctionsKeysAndMessageAsTheWindowsShowThem) {
    const struct {
        bool english;
        std::vector<std::pair<std::string, std::string>> options, keys, message;
        std::vector<std::string> titles;
    } cases[] = {
        {true,
         {{"Time Out Timer(TOT)[s]", "180"},
          {"TOT Warning Time[s]", "10"},
          {"Squelch Level", "0"},
          {"Voice Prompt", "English"},
          {"Battry Save", "On"},
          {"Beep Enable", "Off"},
          {"Scramble Enable", "On"},
          {"Roger", "Off"},
          {"Freq Hopping", "On"}},
         {{"PF1", "Monitor"}, {"PF2", "Talk Around"}},
         {{"Line 1", "HELLO WORLD"}, {"Line 2", "<&> 123"}},
         {"Optional Features", "Key Assignment", "Embedded Message"}},
        {false,
         {{"超时定时器(TOT)[秒]", "180"},
          {"超时定时器预警[秒]", "10"},
          {"静噪等级", "0"},
          {"提示音", "英文"},
          {"省电", "开"},
          {"哔音使能", "关"},
          {"扰频激活", "开"},
          {"发射结束提示音", "关"},
          {"跳频", "开"}},
         {{"PF1", "监听"}, {"PF2", "脱网"}},
         {{"第一行", "HELLO WORLD"}, {"第二行", "<&> 123"}},
         {"可选功能", "键设定", "嵌入信息"}},
    };
    for (const auto& c : cases) {
        const Document doc = handMade(c.english);
        const Report r = BuildReport(doc, kAllSections, "2026-01-02");
        ASSERT_EQ(r.blocks.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(r.blocks[i].title, c.titles[i]);
        EXPECT_EQ(pairs(r.blocks[0]), c.options) << c.english;
        EXPECT_EQ(pairs(r.blocks[1]), c.keys) << c.english;
        EXPECT_EQ(pairs(r.blocks[2]), c.message) << c.english;
        // Printing repairs nothing: the time-out byte keeps its out-of-range value.
        EXPECT_EQ(doc.radioImage[304], 41);
    }
    EXPECT_EQ(
        BuildReport(handMade(false), kSectionChannels, "").channels->rows[1],
        (std::vector<std::string>{"2", "146.52000", "146.52000", "D754I", "88.5", "低", "删除",
                                  "12.5K(窄带)", "载波", "4", "开", "开", "特殊亚音"}));
}

TEST(Report, OnlyTheSelectedSectionsInReportOrder) {
    const Document doc = handMade(true);
    const struct {
        unsigned sections;
        std::vector<ReportSection> blocks;
        bool channels;
    } cases[] = {
        {kAllSections, {kSectionOptions, kSectionKeys, kSectionMessage}, true},
        {kSectionChannels | kSectionKeys, {kSectionKeys}, true},
        {kSectionMessage | kSectionOptions, {kSectionOptions, kSectionMessage}, false},
        {0, {}, false},
    };
    for (const auto& c : cases) {
        const Report r = BuildReport(doc, c.sections, "");
        std::vector<ReportSection> got;
        for (const ReportBlock& b : r.blocks) got.push_back(b.section);
        EXPECT_EQ(got, c.blocks) << c.sections;
        EXPECT_EQ(r.channels.has_value(), c.channels) << c.sections;
    }
}

TEST(Report, HeadingNamesModelBandFileAndDate) {
    Document doc = handMade(true);
    const auto heading = [&] {
        std::vector<std::pair<std::string, std::string>> out;
        for (const ReportField& f : BuildReport(doc, 0, "2026-01-02").heading)
            out.emplace_back(f.label, f.value);
        return out;
    };
    EXPECT_EQ(heading(),
              (std::vector<std::pair<std::string, std::string>>{{"Model", "VHF"},
                                                                {"Frequency Band", "136-174MHz"},
                                                                {"File", "hand.rdat"},
                                                                {"Date", "2026-01-02"}}));
    doc.ModelType = "UHF";
    doc.radioImage[addr::kModelDigit] = 0x33;
    doc.radioImage[addr::kBandCode] = 0x93;
    doc.BandLowMHz = 400;
    doc.BandHighMHz = 480;
    doc.BandTxHighMHz = 520;
    EXPECT_EQ(heading()[1].second, "400-480MHz (transmit up to 520MHz)");
    doc.IsEnglish = false;
    EXPECT_EQ(heading()[1],
              (std::pair<std::string, std::string>{"频段", "400-480MHz (发射至 520MHz)"}));
    // A blank radio's band code is in no list: its limits mean nothing.
    doc.radioImage[addr::kBandCode] = 0xFF;
    EXPECT_EQ(heading()[1], (std::pair<std::string, std::string>{"频段", "未知"}));
}

TEST(Report, MessageOnlyWhenTheRegionHoldsOne) {
    using Lines = std::vector<std::pair<std::string, std::string>>;
    const auto region = [](const std::function<std::uint8_t(std::size_t)>& byte) {
        return [byte](RadioImage& im) {
            for (std::size_t i = 0; i < kMessageBytes; ++i)
                im[addr::kEmbeddedMessage + i] = byte(i);
        };
    };
    const struct {
        const char* what;
        std::function<void(RadioImage&)> fill;
        bool english;
        Lines printed;
    } cases[] = {
        {"blank", region([](std::size_t) { return 0xFF; }), true, {{"", "(none)"}}},
        {"zeros", region([](std::size_t) { return 0x00; }), false, {{"", "（无）"}}},
        // Tune data whose first bytes happen to be displayable ("$&(*,.02468:<>@B...").
        {"tune data",
         region([](std::size_t i) { return std::uint8_t(0x24 + 2 * i); }),
         true,
         {{"", "(none)"}}},
        // Text with a gap: not how a message is stored.
        {"gap",
         [](RadioImage& im) {
             SetEmbeddedMessage(im, {"HI", ""});
             im[addr::kEmbeddedMessage + 3] = 'A';
         },
         true,
         {{"", "(none)"}}},
        {"one line",
         [](RadioImage& im) {
             SetEmbeddedMessage(im, {"", "CALL 112"});
         },
         true,
         {{"Line 1", ""}, {"Line 2", "CALL 112"}}},
        {"full lines",
         [](RadioImage& im) {
             SetEmbeddedMessage(im, {std::string(32, '~'), std::string(32, ' ')});
         },
         false,
         {{"第一行", std::string(32, '~')}, {"第二行", std::string(32, ' ')}}},
    };
    for (const auto& c : cases) {
        Document doc = handMade(c.english);
        c.fill(doc.radioImage);
        const RadioImage before = doc.radioImage;
        EXPECT_EQ(pairs(BuildReport(doc, kSectionMessage, "").blocks.at(0)), c.printed) << c.what;
        EXPECT_EQ(doc.radioImage, before) << c.what;
    }
}

TEST(Report, MessageControlCodesPrintAsTheirPictures) {
    Document doc = handMade(true);
    // Code 20 is shown by the window but would be invisible on paper.
    SetEmbeddedMessage(doc.radioImage, {"A\x14"
                                        "B",
                                        ""});
    EXPECT_EQ(BuildReport(doc, kSectionMessage, "").blocks[0].fields[0].value, "A\u2414B");
}

TEST(ReportSections, CommandLineNames) {
    const struct {
        const char* list;
        std::optional<unsigned> sections;
        const char* unknown;
    } cases[] = {
        {"options", kSectionOptions, ""},
        {"keys,channels", kSectionKeys | kSectionChannels, ""},
        {"channels,message,keys,options", kAllSections, ""},
        {"message,message", kSectionMessage, ""},
        {"chan", std::nullopt, "chan"},
        {"options,Keys", std::nullopt, "Keys"},
        {"options,", std::nullopt, ""},
        {"", std::nullopt, ""},
    };
    for (const auto& c : cases) {
        std::string unknown;
        EXPECT_EQ(ParseReportSections(c.list, &unknown), c.sections) << c.list;
        EXPECT_EQ(unknown, c.unknown) << c.list;
    }
}

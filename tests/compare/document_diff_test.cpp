// What the comparison names for one change at a time, in both directions, and how
// the command line and the window word it.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <functional>

#include "compare/document_diff.h"
#include "compare/verify_report.h"
#include "functions/embedded_message.h"
#include "functions/function_setup.h"
#include "functions/key_setting.h"
#include "functions/scan_information.h"
#include "tests/print/hand_made_document.h"

using namespace baldo7;

namespace {

Document handMade() {
    Document doc;
    doc.DecimalSeparator = '.';
    doc.radioImage.fill(0xFF);
    doc.ModelType = "VHF";
    doc.BandLowMHz = 136;
    doc.BandHighMHz = doc.BandTxHighMHz = 174;
    MakeHandMade(doc);
    return doc;
}

struct Case {
    const char* what;
    std::function<void(Document&)> change;
    const char* line;  // the one difference, as the command line prints it
};

}  // namespace

TEST(Compare, EachSingleChangeIsOneDifferenceInTheEditorsTerms) {
    const Case cases[] = {
        {"rx", [](Document& d) { SetRxFrequency(d.radioImage, 1, FrequencyToBytes(146.5)); },
         "channel 1  receive  145.12500 → 146.50000"},
        {"tx off",
         [](Document& d) {
             SetTxFrequency(d.radioImage, 16, {0xFF, 0xFF, 0xFF, 0xFF});
         },
         "channel 16  transmit  170.00000 → (none)"},
        {"decode", [](Document& d) { SetRxTone(d.radioImage, 1, DcsTone(23, true)); },
         "channel 1  decode  67.0 → D023I"},
        {"encode", [](Document& d) { SetTxTone(d.radioImage, 2, kNoTone); },
         "channel 2  encode  88.5 → None"},
        {"power", [](Document& d) { SetTxPower(d.radioImage, 1, 0); },
         "channel 1  power  High → Low"},
        {"scan", [](Document& d) { ClearScanAddBit(d.radioImage, 4); },
         "channel 4  scan  yes → no"},
        {"spacing", [](Document& d) { SetSpacing(d.radioImage, 16, 0); },
         "channel 16  spacing  25K(Wide) → 12.5K(Narrow)"},
        {"busy lock", [](Document& d) { SetBusyLock(d.radioImage, 1, 1); },
         "channel 1  busy lock  None → Carrier"},
        {"scramble type", [](Document& d) { SetScrambleType(d.radioImage, 2, 7); },
         "channel 2  scramble type  4 → 8"},
        {"scrambler", [](Document& d) { SetScrambleOn(d.radioImage, 2, false); },
         "channel 2  scrambler  yes → no"},
        {"compander", [](Document& d) { SetCompand(d.radioImage, 16, true); },
         "channel 16  compander  no → yes"},
        {"cdcss mode", [](Document& d) { SetCdcssMode(d, 2, 0); },
         "channel 2  cdcss mode  Special Code → Normal Code"},
        // A channel taken out of use is one difference, not one per column.
        {"in use", [](Document& d) { ClearChannel(d.radioImage, 4); },
         "channel 4  in use  yes → no"},
        {"tot", [](Document& d) { d.radioImage[304] = 2; }, "functions  time out timer  180 → 30"},
        {"beep",
         [](Document& d) { d.radioImage[addr::kOptionBits] ^= std::uint8_t(OptionCheck::Beep); },
         "functions  beep  no → yes"},
        {"pf2", [](Document& d) { SetKeyFunction(d.radioImage, kKeyPf1 + 1, 0); },
         "keys  PF2  Talk Around → None"},
        {"priority", [](Document& d) { d.radioImage[addr::kPriorityMode] = kPriorityFixd; },
         "scan  priority  None → Fixd"},
        {"priority slot", [](Document& d) { d.radioImage[addr::kPriorityChannel] = 4; },
         "scan  priority channel 1  (none) → 4"},
        {"message", [](Document& d) { SetMessageLine(d.radioImage, 1, "BYE"); },
         "message  line 2  <&> 123 → BYE"},
        {"model", [](Document& d) { d.ModelType = "UHF"; }, "model  model  VHF → UHF"},
        {"band", [](Document& d) { d.BandTxHighMHz = 170; }, "band  transmit high  174 → 170"},
    };
    const Document a = handMade();
    EXPECT_TRUE(CompareDocuments(a, a).empty());
    for (const Case& c : cases) {
        Document b = a;
        c.change(b);
        const auto forth = CompareDocuments(a, b);
        ASSERT_EQ(forth.size(), 1u) << c.what;
        EXPECT_EQ(DifferenceLine(forth[0]).toStdString(), c.line) << c.what;
        // The other way round names the same field with the values swapped.
        const auto back = CompareDocuments(b, a);
        ASSERT_EQ(back.size(), 1u) << c.what;
        EXPECT_EQ(back[0].field, forth[0].field) << c.what;
        EXPECT_EQ(back[0].item, forth[0].item) << c.what;
        EXPECT_EQ(back[0].a, forth[0].b) << c.what;
    }
}

// A radio without a message holds tune data in the message region: two such radios
// hold no message to compare, whatever their calibration; a message against it is
// a message against none.
TEST(Compare, TuneDataInTheMessageRegionIsNoMessage) {
    Document erased = handMade(), tuned = handMade();
    for (std::size_t k = 0; k < kMessageBytes; ++k) {
        erased.radioImage[addr::kEmbeddedMessage + k] = 0xFF;
        tuned.radioImage[addr::kEmbeddedMessage + k] = static_cast<std::uint8_t>(0x24 + 2 * k);
    }
    EXPECT_TRUE(CompareDocuments(erased, tuned).empty());
    Document message = erased;
    SetMessageLine(message.radioImage, 0, "HI");
    const auto found = CompareDocuments(tuned, message);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(DifferenceLine(found[0]).toStdString(), "message  line 1  (none) → HI");
}

TEST(Compare, SeveralChangesInSectionOrderAsShowJsonNamesThem) {
    const Document a = handMade();
    Document b = a;
    SetMessageLine(b.radioImage, 0, "HI");
    SetTxPower(b.radioImage, 16, 0);
    SetRxFrequency(b.radioImage, 1, FrequencyToBytes(146.5));
    b.radioImage[305] = 3;
    const auto d = CompareDocuments(a, b);
    ASSERT_EQ(d.size(), 4u);
    QJsonArray all;
    for (const Difference& x : d) all.append(DifferenceJson(x));
    EXPECT_EQ(QJsonDocument(all).toJson(QJsonDocument::Compact).toStdString(),
              R"([{"a":"145.12500","b":"146.50000","field":"rx","item":1,"section":"channels"},)"
              R"({"a":"High","b":"Low","field":"power","item":16,"section":"channels"},)"
              R"({"a":"10","b":"3","field":"totWarning","item":null,"section":"functions"},)"
              R"({"a":"HELLO WORLD","b":"HI","field":"message","item":1,"section":"message"}])");
}

TEST(Compare, TheWindowWordsADifferenceInEitherLanguage) {
    const Document a = handMade();
    Document b = a;
    SetTxPower(b.radioImage, 1, 0);
    SetMessageLine(b.radioImage, 1, "");
    b.radioImage[addr::kLookBackTime] = 20;
    struct Want {
        const char* place;
        const char* caption;
        const char* a;
        const char* b;
    };
    const Want english[] = {{"Channel 1", "Tx Power", "High", "Low"},
                            {"Scan Information", "Look Back Time A[s]", "1.0", "2.0"},
                            {"Embedded Message", "line 2", "<&> 123", "(none)"}};
    const Want chinese[] = {{"信道 1", "发射功率", "高", "低"},
                            {"扫描信息", "回扫时间A[秒]", "1.0", "2.0"},
                            {"嵌入信息", "第2行", "<&> 123", "(无)"}};
    for (bool en : {true, false}) {
        const auto d = CompareDocuments(a, b, en);
        ASSERT_EQ(d.size(), 3u);
        for (std::size_t i = 0; i < d.size(); ++i) {
            const Want& w = en ? english[i] : chinese[i];
            EXPECT_EQ(DifferencePlace(d[i], en), QString::fromUtf8(w.place));
            EXPECT_EQ(DifferenceCaption(d[i], en), QString::fromUtf8(w.caption));
            EXPECT_EQ(DifferenceValue(d[i].a, en), QString::fromUtf8(w.a));
            EXPECT_EQ(DifferenceValue(d[i].b, en), QString::fromUtf8(w.b));
        }
    }
}

// A write's read-back that differs names the settings hit, in either language, and
// says what to do; bytes outside the image (a service area) name nothing.
TEST(Compare, VerifyFailureNamesTheSettingsTheRadioHoldsOtherwise) {
    const Document doc = handMade();
    WrittenBlocks written;
    for (int a = 0; a < 0x300; a += kBlockSize) {
        WrittenBlock b;
        b.address = a;
        std::copy_n(doc.radioImage.begin() + a, kBlockSize, b.data.begin());
        written.push_back(b);
    }
    const struct {
        const char* what;
        std::vector<int> channels;  // whose first receive byte comes back wrong
        bool named;
        bool erased;  // the receive frequency comes back erased: the channel unused
        const char* en;
        const char* zh;
    } cases[] = {
        {"a channel in use",
         {1},
         true,
         false,
         "Not as written in the radio: Channel 1: Rx Frequency.",
         "对讲机中与写入不一致的设置：信道 1：接收频率。"},
        // Named by itself, as "Channel 4: In Use" would read as if it were in use.
        {"a channel that comes back unused",
         {4},
         true,
         true,
         "Not as written in the radio: Channel 4.",
         "对讲机中与写入不一致的设置：信道 4。"},
        {"an unused channel",
         {3},
         true,
         false,
         "Not as written in the radio: Channel 3.",
         "对讲机中与写入不一致的设置：信道 3。"},
        {"eight channels",
         {1, 2, 3, 4, 5, 6, 7, 8},
         true,
         false,
         ": Channel 1: Rx Frequency; Channel 2: Rx Frequency; Channel 3; Channel 4: Rx "
         "Frequency; Channel 5; Channel 6 and 2 more.",
         "：信道 1：接收频率；信道 2：接收频率；信道 3；信道 4：接收频率；信道 5；信道 6 等 2 "
         "项。"},
        {"a service area", {5}, false, false, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WrittenBlocks returned = written;
        for (int channel : c.channels) {
            auto& block = returned[ChannelStart(channel) / kBlockSize].data;
            const std::size_t at = ChannelStart(channel) % kBlockSize;
            if (c.erased)
                std::fill_n(block.begin() + at, 4, std::uint8_t{0xFF});
            else
                block[at] ^= 0x11;
        }
        const VerifyResult result = CompareReadBack(written, returned);
        for (const bool en : {true, false}) {
            const QStringList lines =
                VerifyFailureText(result, c.named ? &doc : nullptr, en).split('\n');
            ASSERT_EQ(lines.size(), c.named ? 3 : 2) << lines.join('|').toStdString();
            EXPECT_EQ(lines[0].toStdString(), VerifyReportText(result, en));
            if (c.named) {
                EXPECT_TRUE(lines[1].endsWith(QString::fromUtf8(en ? c.en : c.zh)))
                    << lines[1].toStdString();
            }
            EXPECT_TRUE(
                lines.last().startsWith(QString::fromUtf8(en ? "Write again." : "请重新写频。")));
        }
    }
}

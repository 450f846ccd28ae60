// What the comparison names for one change at a time, in both directions, and how
// the command line and the window word it.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <functional>

#include "compare/document_diff.h"
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

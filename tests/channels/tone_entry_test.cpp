#include "channels/tone_entry.h"

#include <gtest/gtest.h>

#include "channels/copy_tools.h"
#include "core/codecs.h"

using namespace baldo7;

TEST(ToneFromText, NormalisesAndEncodes) {
    struct Case {
        const char* typed;
        char sep;
        const char* text;
        ToneCode code;
    } cases[] = {
        {"None", '.', "None", kNoTone},
        {"无", '.', "无", kNoTone},
        {"D23", '.', "D230N", {0x98, 0x20}},
        {"D023I", '.', "D023I", {0x13, 0xA0}},
        {"D023", '.', "D023N", {0x13, 0x20}},
        {"D9", '.', "D700N", {0xC0, 0x21}},
        {"D.23", '.', "D023N", {0x13, 0x20}},
        {"D777I", '.', "D777I", {0xFF, 0xA1}},
        {"D", '.', "D000N", {0x00, 0x20}},
        {"D12N9", '.', "D127N", {0x57, 0x20}},  // N sorts above 7
        {"D12I", '.', "D127N", {0x57, 0x20}},   // no fifth character: normal
        {"88.5", '.', "88.5", {0x75, 0x03}},
        {"88,5", ',', "88,5", {0x75, 0x03}},
        {"100", '.', "100.0", {0xE8, 0x03}},
        {"12", '.', "67.0", {0x9E, 0x02}},
        {"20", '.', "20.0", {0xC8, 0x00}},
        {"300", '.', "254.1", {0xED, 0x09}},
        {"123.25", '.', "123.2", {0xD0, 0x04}},
        {"123.75", '.', "123.8", {0xD6, 0x04}},
        {"", '.', "67.0", {0x9E, 0x02}},
        {"N", '.', "67.0", {0x9E, 0x02}},
        {"88.5", ',', "67,0", {0x9E, 0x02}},    // a point is no number in a comma locale
        {"d023i", '.', "D023I", {0x13, 0xA0}},  // pasted in lower case
        {"d12", '.', "D120N", {0x50, 0x20}},
    };
    for (const Case& c : cases) {
        const ToneEntry e = ToneFromText(c.typed, c.sep);
        EXPECT_EQ(e.text, c.text) << c.typed;
        EXPECT_EQ(e.code, c.code) << c.typed;
        // What was shown reads back as the same code.
        EXPECT_EQ(ToneToText(e.code, c.text != std::string("无"), c.sep), e.text) << c.typed;
    }
}

TEST(ToneKeyFilter, KeysAndLength) {
    struct Case {
        const char* text;
        bool selected;
        int key;
        int expected;
    } cases[] = {
        {"", false, 'd', 'D'},
        {"", false, 'X', 0},
        {"", false, '-', 0},
        {"88", false, ',', 0},
        {"D023I", false, '1', 0},
        {"D023I", true, '1', '1'},
        {"D023I", false, kKeyBackspace, kKeyBackspace},
        {"D023I", false, kKeyEnter, kKeyEnter},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToneKeyFilter(c.text, c.selected, c.key, '.'), c.expected)
            << c.text << " " << c.key;
    EXPECT_EQ(ToneKeyFilter("88", false, ',', ','), ',');
}

// The QT/DQT copy stores only what the pick list offers for CTCSS, and takes letters
// in either case, as the grid does.
TEST(QtDqtCopy, LettersAndThePickListRange) {
    struct Case {
        const char* typed;
        const char* text;
        ToneCode code;
    } cases[] = {
        {"d023n", "D023N", {0x13, 0x20}}, {"D023I", "D023I", {0x13, 0xA0}},
        {"23", "67.0", {0x9E, 0x02}},     {"66.9", "67.0", {0x9E, 0x02}},
        {"67", "67.0", {0x9E, 0x02}},     {"88.5", "88.5", {0x75, 0x03}},
        {"254.2", "254.1", {0xED, 0x09}}, {"None", "None", kNoTone},
    };
    for (const Case& c : cases) {
        Document doc;
        doc.radioImage.fill(0xFF);
        const ToneEntry e = QtDqtCopy(doc, 3, c.typed);
        EXPECT_EQ(e.text, c.text) << c.typed;
        EXPECT_EQ(TxTone(doc.radioImage, 3), c.code) << c.typed;
    }
}

// The byte rules of the password, local message, stun/die and special option tools.
#include <gtest/gtest.h>

#include <vector>

#include "core/codecs.h"
#include "service/local_message.h"
#include "service/program_password.h"
#include "service/service_memory.h"
#include "service/special_option.h"
#include "service/stun_die.h"

using namespace baldo7;

namespace {
using Bytes = std::vector<std::uint8_t>;

Bytes slice(const RadioImage& image, std::size_t from, std::size_t to) {
    return Bytes(image.begin() + from, image.begin() + to);
}
}  // namespace

TEST(ProgramPassword, BlockIsTheCharactersPaddedWithFF) {
    struct Case {
        std::string password;
        Bytes block;
    } cases[] = {
        {"", Bytes(6, 0xFF)},
        {"1234", {'1', '2', '3', '4', 0xFF, 0xFF}},
        {"abcDEF", {'a', 'b', 'c', 'D', 'E', 'F'}},
        {"abcdefgh", {'a', 'b', 'c', 'd', 'e', 'f'}},
        {"\xE9t\xE9", {0xE9, 't', 0xE9, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        RadioImage image;
        image.fill(0x11);
        WritePasswordBlock(image, c.password);
        EXPECT_EQ(slice(image, 0x2F0, 0x2F6), c.block) << c.password;
        // Its neighbours are not the password's.
        EXPECT_EQ(image[0x2EF], 0x11);
        EXPECT_EQ(slice(image, 0x2F6, 0x300), Bytes(10, 0x11));
    }
}

TEST(ProgramPassword, WideCharactersAreRefused) {
    for (char32_t c : {U'a', U'Z', U'0', U' ', U'\u00E9', U'\u00FF'})
        EXPECT_TRUE(PasswordCharacterAllowed(c)) << static_cast<int>(c);
    for (char32_t c : {U'\u4E2D', U'\u0100', U'\u20AC', U'\t', U'\x7F', U'\U0001F600'})
        EXPECT_FALSE(PasswordCharacterAllowed(c)) << static_cast<int>(c);
}

namespace {
Bytes record(std::uint8_t fill) {
    return Bytes(addr::kLocalMessage.size(), fill);
}
void put(Bytes& r, int address, const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        r[static_cast<std::size_t>(address) - addr::kLocalMessage.first + i] =
            static_cast<std::uint8_t>(text[i]);
}
}  // namespace

TEST(LocalMessage, BlankRecords) {
    // All 0xFF: every field a run of 0xFF characters, no password.
    LocalMessageView ff = DecodeLocalMessage(record(0xFF).data());
    EXPECT_EQ(ff.radioTypeIndex, 7);
    EXPECT_EQ(ff.frequencyAreaIndex, 0);
    EXPECT_EQ(ff.password, "");
    for (const LocalFieldLayout& f : kLocalFields)
        EXPECT_EQ(ff.field(f.field), std::string(f.bytes.size(), '\xFF')) << f.key;
    // All 0x00: every field empty.
    LocalMessageView zero = DecodeLocalMessage(record(0x00).data());
    EXPECT_EQ(zero.radioTypeIndex, 7);
    EXPECT_EQ(zero.frequencyAreaIndex, 0);
    for (const LocalFieldLayout& f : kLocalFields) EXPECT_EQ(zero.field(f.field), "") << f.key;
}

TEST(LocalMessage, FieldsStopAtTheirEndOrAZeroByte) {
    Bytes r = record(0x00);
    put(r, 0x0AB8, "U123");  // user code fills its four bytes...
    put(r, 0x0ABC, "pw99");  // ...and the password follows at once
    put(r, 0x0A90, "SN-0001");
    put(r, 0x0B10, std::string(96, 'd'));  // the description ends where the record's tail starts
    put(r, 0x0B70, "tail");
    const LocalMessageView v = DecodeLocalMessage(r.data());
    EXPECT_EQ(v.field(LocalField::UserCode), "U123");
    EXPECT_EQ(v.password, "pw99");
    EXPECT_EQ(v.field(LocalField::SerialNumber), "SN-0001");
    EXPECT_EQ(v.field(LocalField::MaintainedDescription), std::string(96, 'd'));
    EXPECT_EQ(v.field(LocalField::AreaCode), "");
}

TEST(LocalMessage, PasswordAlsoStopsAtFF) {
    Bytes r = record(0xFF);
    put(r, 0x0ABC, "ab");
    EXPECT_EQ(DecodeLocalMessage(r.data()).password, "ab");
}

TEST(LocalMessage, RadioTypeAndFrequencyArea) {
    struct Case {
        std::string name;  // six bytes at most, zero-padded
        std::uint8_t area;
        int type;
        int areaIndex;
    } cases[] = {
        {"RW520", 0, 0, 0},  {"LV520", 1, 1, 1}, {"H61", 2, 2, 2}, {"RWH61", 3, 3, 0},
        {"H63", 0xFF, 4, 0}, {"RWH63", 0, 5, 0}, {"DEK", 2, 6, 2}, {"417M", 0, 7, 0},
        {"dek", 0, 7, 0},    {"DEKX", 0, 7, 0},  {"", 0, 7, 0},
    };
    for (const Case& c : cases) {
        Bytes r = record(0x00);
        put(r, 0x0A80, c.name);
        r[6] = c.area;
        const LocalMessageView v = DecodeLocalMessage(r.data());
        EXPECT_EQ(v.radioTypeIndex, c.type) << c.name;
        EXPECT_EQ(v.frequencyAreaIndex, c.areaIndex) << int(c.area);
    }
    // A name uses all six bytes; the area byte after it is not part of it.
    Bytes r = record(0x00);
    put(r, 0x0A80, "RWH61X");
    r[6] = 1;
    EXPECT_EQ(DecodeLocalMessage(r.data()).radioTypeIndex, 7);
}

TEST(LocalMessage, FirmwareVersionFromImageBytes448To451) {
    RadioImage image{};
    image[448] = 0x31;
    image[449] = 0x30;
    image[450] = 0x32;
    image[451] = 0x33;
    EXPECT_EQ(FirmwareVersion(image), "10.23");
    // An unprogrammed byte anywhere: no version rather than "ÿÿ.ÿÿ".
    for (const std::uint8_t blank : {0x00, 0xFF})
        for (std::size_t at = 448; at < 452; ++at) {
            RadioImage partly = image;
            partly[at] = blank;
            EXPECT_EQ(FirmwareVersion(partly), "") << at << " " << int(blank);
        }
}

TEST(StunDie, TypedCodeStoresDigitValuesAndItsLengthNibble) {
    struct Case {
        DtmfCode code;
        std::string text;
        Bytes digits;  // the code's eight bytes
        std::uint8_t lengths;
    } cases[] = {
        {DtmfCode::Stun, "12AB9", {1, 2, 10, 11, 9, 0, 0, 0}, 0x75},
        {DtmfCode::Stun, "", Bytes(8, 0), 0x70},
        {DtmfCode::Die, "E0123456", {14, 0, 1, 2, 3, 4, 5, 6}, 0x83},
        {DtmfCode::Die, "", Bytes(8, 0), 0x03},
        // Every hexadecimal digit is stored, F (shown for a stored 15) too; anything
        // else is no digit.
        {DtmfCode::Stun, "1-2 f*3g", {1, 2, 15, 3, 0, 0, 0, 0}, 0x74},
        {DtmfCode::Die, "12345F", {1, 2, 3, 4, 5, 15, 0, 0}, 0x63},
        {DtmfCode::Stun, "abcde12345", {10, 11, 12, 13, 14, 1, 2, 3}, 0x78},
    };
    for (const Case& c : cases) {
        Bytes block(addr::kStunDie.size(), 0xEE);
        block[0x10] = 0x73;  // die 7 digits, stun 3
        StoreDtmfCode(block.data(), c.code, c.text);
        const std::size_t first = c.code == DtmfCode::Stun ? 0 : 8;
        EXPECT_EQ(Bytes(block.begin() + first, block.begin() + first + 8), c.digits) << c.text;
        EXPECT_EQ(block[0x10], c.lengths) << c.text;
        // The other code is left alone.
        const std::size_t other = first == 0 ? 8 : 0;
        EXPECT_EQ(Bytes(block.begin() + other, block.begin() + other + 8), Bytes(8, 0xEE));
    }
}

TEST(StunDie, DecodeShowsWhatTheBlockHolds) {
    struct Case {
        std::uint8_t lengths;
        Bytes stunDigits;
        std::string stun;
        std::string die;
    } cases[] = {
        {0x05, {1, 2, 10, 11, 9}, "12AB9", ""},
        {0x00, {1, 2}, "", ""},
        {0x09, {1, 2, 3}, "", ""},
        {0xF0, {}, "", ""},
        {0x03, {15, 0x10, 0xFF}, "F00", ""},
        {0x81, {7}, "7", "00000000"},
    };
    for (const Case& c : cases) {
        Bytes block(addr::kStunDie.size(), 0x00);
        std::copy(c.stunDigits.begin(), c.stunDigits.end(), block.begin());
        block[0x10] = c.lengths;
        const StunDieView v = DecodeStunDie(block.data());
        EXPECT_EQ(v.stunCode, c.stun) << int(c.lengths);
        EXPECT_EQ(v.dieCode, c.die) << int(c.lengths);
    }
    struct Flags {
        std::uint8_t status, ack, enable;
        int statusIndex, ackIndex;
        bool enabled;
    } flags[] = {{0xFF, 0xFF, 0xFF, 0, 0, false},
                 {0x55, 0x55, 0x55, 1, 1, true},
                 {0xAA, 0x00, 0x00, 2, 0, false},
                 {0x00, 0xAA, 0xAA, 0, 0, false}};
    for (const Flags& f : flags) {
        Bytes block(addr::kStunDie.size(), 0xFF);
        block[0x11] = f.status;
        block[0x12] = f.ack;
        block[0x13] = f.enable;
        const StunDieView v = DecodeStunDie(block.data());
        EXPECT_EQ(v.status, f.statusIndex);
        EXPECT_EQ(v.ackType, f.ackIndex);
        EXPECT_EQ(v.enabled, f.enabled);
    }
}

TEST(StunDie, ChoicesStoreTheirBytes) {
    Bytes block(addr::kStunDie.size(), 0x00);
    const std::pair<int, std::uint8_t> status[] = {{0, 0xFF}, {1, 0x55}, {2, 0xAA}};
    for (const auto& [index, byte] : status) {
        StoreStatus(block.data(), index);
        EXPECT_EQ(block[0x11], byte);
    }
    StoreAckType(block.data(), 1);
    EXPECT_EQ(block[0x12], 0x55);
    StoreAckType(block.data(), 0);
    EXPECT_EQ(block[0x12], 0xFF);
    StoreStunEnable(block.data(), true);
    EXPECT_EQ(block[0x13], 0x55);
    StoreStunEnable(block.data(), false);
    EXPECT_EQ(block[0x13], 0xFF);
    // Out-of-list indexes write nothing.
    StoreStatus(block.data(), 3);
    StoreAckType(block.data(), -1);
    EXPECT_EQ(block[0x11], 0xAA);
    EXPECT_EQ(block[0x12], 0xFF);
}

TEST(StunDie, KeyFilterAndLengthRule) {
    const std::pair<int, int> keys[] = {{'1', '1'},
                                        {'a', 'A'},
                                        {'e', 'E'},
                                        {'E', 'E'},
                                        {'f', 0},
                                        {'F', 0},
                                        {'*', 0},
                                        {'#', 0},
                                        {' ', 0},
                                        {kKeyBackspace, kKeyBackspace},
                                        {kKeyEnter, kKeyEnter}};
    for (const auto& [key, out] : keys) EXPECT_EQ(DtmfKeyFilter(key), out) << key;
    // Digits are counted, not characters.
    for (const char* code : {"1", "12345", "ABCDE", "12 34-5", "1234\xE9\xE9"})
        EXPECT_TRUE(DtmfCodeTooShort(code)) << code;
    for (const char* code : {"", "123456", "12345678", "12345F", "--", "1234567890"})
        EXPECT_FALSE(DtmfCodeTooShort(code)) << code;
}

TEST(SpecialOption, VoiceLevelIndex) {
    const std::pair<std::uint8_t, int> cases[] = {{0, 0}, {7, 7}, {15, 15}, {16, 14}, {0xFF, 14}};
    for (const auto& [stored, index] : cases) EXPECT_EQ(RxVoiceIndex(stored), index) << int(stored);
    const PickList levels = RxVoiceLevelList();
    ASSERT_EQ(levels.size(), 16u);
    EXPECT_EQ(levels.front(), "1");
    EXPECT_EQ(levels[14], "15");

    ServiceMemory memory;
    memory.fill(0xFF);
    StoreRxVoiceIndex(memory, RxVoiceIndex(memory));
    EXPECT_EQ(*ServiceBytes(memory, 0x0E11), 14);
    EXPECT_EQ(*ServiceBytes(memory, 0x0E10), 0xFF);
    EXPECT_EQ(*ServiceBytes(memory, 0x0E12), 0xFF);
    StoreRxVoiceIndex(memory, 16);  // not a level: nothing stored
    EXPECT_EQ(*ServiceBytes(memory, 0x0E11), 14);
}

#include "functions/function_setup.h"

#include <cstdio>

namespace baldo7 {

PickList TotList(bool isEnglish) {
    PickList list{texts::kOff.pick(isEnglish)};
    for (int i = 1; i < kTotEntries; ++i) list.push_back(std::to_string(i * 15));
    return list;
}

PickList TotWarningList(bool isEnglish) {
    PickList list{texts::kOff.pick(isEnglish)};
    for (int i = 1; i < kTotWarningEntries; ++i) list.push_back(std::to_string(i));
    return list;
}

PickList SquelchList() {
    PickList list;
    for (int i = 0; i < kSquelchEntries; ++i) list.push_back(std::to_string(i));
    return list;
}

PickList VoiceList(bool isEnglish) {
    using namespace option_texts;
    return {kVoiceOff.pick(isEnglish), kVoiceChinese.pick(isEnglish),
            kVoiceEnglish.pick(isEnglish)};
}

const BiText& OptionCheckCaption(OptionCheck check) {
    using namespace option_texts;
    switch (check) {
        case OptionCheck::Save:
            return kSave;
        case OptionCheck::Beep:
            return kBeep;
        case OptionCheck::Scramble:
            return kScramble;
        case OptionCheck::Roger:
            return kRoger;
        case OptionCheck::FreqHopping:
            break;
    }
    return kFreqHopping;
}

int VoiceIndex(std::uint8_t bits303) {
    switch (bits303 & kVoiceMask) {
        case 0x0C:
            return 1;
        case 0x08:
            return 2;
        default:
            return 0;
    }
}

bool OptionChecked(std::uint8_t bits303, OptionCheck check) {
    return (bits303 & static_cast<std::uint8_t>(check)) != 0;
}

namespace {

// Runs the decode's repairs on a working copy of the bytes and reports each change.
struct Repairer {
    RadioImage& image;
    std::vector<ByteRepair> changes;

    void put(std::size_t address, std::uint8_t value) {
        std::uint8_t& b = image[address];
        if (b == value) return;
        // A byte repaired twice (309, 311, 313) is reported once, from its first value.
        for (ByteRepair& c : changes)
            if (c.address == address) {
                c.after = value;
                b = value;
                return;
            }
        changes.push_back({address, b, value});
        b = value;
    }

    void run() {
        if (image[addr::kTot] >= kTotEntries) put(addr::kTot, kDefaultTot);
        if (image[addr::kTotWarning] >= kTotWarningEntries)
            put(addr::kTotWarning, kDefaultTotWarning);
        if (image[addr::kSquelch] >= kSquelchEntries) put(addr::kSquelch, kDefaultSquelch);

        // VOX level 1..9 in the low nibble (default 5), delay index 0..5 in the high (3).
        const std::size_t vox = addr::kVox;
        if ((image[vox] & 0x0F) > 9) put(vox, (image[vox] & 0xF0) | 0x05);
        if ((image[vox] >> 4) > 5) put(vox, (image[vox] & 0x0F) | 0x30);

        // Infrared bank: two BCD digits; a digit above 9 is cleared.
        const std::size_t bank = addr::kInfBank;
        if ((image[bank] & 0xF0) > 0x90) put(bank, image[bank] & 0x0F);
        if ((image[bank] & 0x0F) > 9) put(bank, image[bank] & 0xF0);

        // Infrared model number: hundreds in 312, tens and units as BCD in 313; a
        // digit above 9 becomes 1.
        const std::size_t low = addr::kInfModel + 1;
        if ((image[low] & 0xF0) > 0x90) put(low, (image[low] & 0x0F) | 0x10);
        if ((image[low] & 0x0F) > 9) put(low, (image[low] & 0xF0) | 0x01);
        if (image[addr::kInfModel] > 9) put(addr::kInfModel, 1);
    }
};

std::string hexText(std::uint8_t value) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%X", value);
    return buf;
}

}  // namespace

std::vector<ByteRepair> PendingOptionRepairs(const RadioImage& image) {
    RadioImage copy = image;
    return ApplyOptionRepairs(copy);
}

std::vector<ByteRepair> ApplyOptionRepairs(RadioImage& image) {
    Repairer r{image, {}};
    r.run();
    return std::move(r.changes);
}

OptionView DecodeOption(const RadioImage& image) {
    RadioImage fixed = image;
    ApplyOptionRepairs(fixed);
    const std::uint8_t bits = fixed[addr::kOptionBits];
    OptionView v;
    v.tot = fixed[addr::kTot];
    v.totWarning = fixed[addr::kTotWarning];
    v.squelch = fixed[addr::kSquelch];
    v.voice = VoiceIndex(bits);
    v.save = OptionChecked(bits, OptionCheck::Save);
    v.beep = OptionChecked(bits, OptionCheck::Beep);
    v.scramble = OptionChecked(bits, OptionCheck::Scramble);
    v.roger = OptionChecked(bits, OptionCheck::Roger);
    v.freqHopping = OptionChecked(bits, OptionCheck::FreqHopping);
    v.infModelText = hexText(fixed[addr::kInfModel]) + hexText(fixed[addr::kInfModel + 1]);
    return v;
}

namespace {
bool setListByte(RadioImage& image, std::size_t address, int index, int entries) {
    if (index < 0 || index >= entries) return false;
    image[address] = static_cast<std::uint8_t>(index);
    return true;
}
}  // namespace

bool SetTot(RadioImage& image, int index) {
    return setListByte(image, addr::kTot, index, kTotEntries);
}

bool SetTotWarning(RadioImage& image, int index) {
    return setListByte(image, addr::kTotWarning, index, kTotWarningEntries);
}

bool SetSquelch(RadioImage& image, int index) {
    return setListByte(image, addr::kSquelch, index, kSquelchEntries);
}

bool SetVoice(RadioImage& image, int index) {
    static constexpr std::uint8_t kPattern[kVoiceEntries] = {0x00, 0x0C, 0x08};
    if (index < 0 || index >= kVoiceEntries) return false;
    std::uint8_t& b = image[addr::kOptionBits];
    b = static_cast<std::uint8_t>((b & ~kVoiceMask) | kPattern[index]);
    return true;
}

void SetOptionCheck(RadioImage& image, OptionCheck check, bool ticked) {
    const auto bit = static_cast<std::uint8_t>(check);
    std::uint8_t& b = image[addr::kOptionBits];
    b = static_cast<std::uint8_t>(ticked ? (b | bit) : (b & ~bit));
}

}  // namespace baldo7

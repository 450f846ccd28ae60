// The radio-wide functions of the image (bytes 303..313): what the function setup
// window shows, the repairs its decode makes, and the writes of its controls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/pick_lists.h"
#include "core/radio_image.h"
#include "core/texts.h"

namespace baldo7 {

namespace option_texts {
constexpr BiText kCaption{"Function Setup", "功能设定"};
constexpr BiText kTot{"Time Out Timer(TOT)[s]", "超时定时器(TOT)[秒]"};
constexpr BiText kTotWarning{"TOT Warning Time[s]", "超时定时器预警[秒]"};
constexpr BiText kSquelch{"Squelch Level", "静噪等级"};
constexpr BiText kVoice{"Voice Prompt", "提示音"};
constexpr BiText kSave{"Battry Save", "省电"};
constexpr BiText kBeep{"Beep Enable", "哔音使能"};
constexpr BiText kScramble{"Scramble Enable", "扰频激活"};
constexpr BiText kRoger{"Roger", "发射结束提示音"};
constexpr BiText kFreqHopping{"Freq Hopping", "跳频"};
constexpr BiText kVoiceOff{"Off", "关"};
constexpr BiText kVoiceChinese{"Chinese", "中文"};
constexpr BiText kVoiceEnglish{"English", "英文"};
}  // namespace option_texts

// List sizes; the stored byte is the list index.
constexpr int kTotEntries = 41;         // Off, 15, 30, ..., 600 seconds
constexpr int kTotWarningEntries = 11;  // Off, 1..10 seconds
constexpr int kSquelchEntries = 10;     // 0..9
constexpr int kVoiceEntries = 3;        // Off, Chinese, English

// Values the decode writes over out-of-range bytes.
constexpr std::uint8_t kDefaultTot = 12;  // 180 s
constexpr std::uint8_t kDefaultTotWarning = 0;
constexpr std::uint8_t kDefaultSquelch = 3;

PickList TotList(bool isEnglish);
PickList TotWarningList(bool isEnglish);
PickList SquelchList();
PickList VoiceList(bool isEnglish);

// The five on/off functions, each one bit of byte 303.
enum class OptionCheck : std::uint8_t {
    Save = 0x01,
    Beep = 0x02,
    Scramble = 0x20,
    Roger = 0x40,
    FreqHopping = 0x80,
};
constexpr OptionCheck kOptionChecks[] = {OptionCheck::Save, OptionCheck::Beep,
                                         OptionCheck::Scramble, OptionCheck::Roger,
                                         OptionCheck::FreqHopping};
const BiText& OptionCheckCaption(OptionCheck check);

// Voice prompt: bits 3-2 of byte 303. 11 = Chinese, 10 = English, 00 and 01 = Off.
constexpr std::uint8_t kVoiceMask = 0x0C;
int VoiceIndex(std::uint8_t bits303);
bool OptionChecked(std::uint8_t bits303, OptionCheck check);

// One byte the decode repairs.
struct ByteRepair {
    std::size_t address;
    std::uint8_t before;
    std::uint8_t after;
};

// The repairs the decode would make to bytes 304, 305, 308, 309, 311, 312 and 313,
// in decode order, without touching the image. Bytes in range are not listed.
std::vector<ByteRepair> PendingOptionRepairs(const RadioImage& image);
// The same repairs, written into the image; returns what it changed.
std::vector<ByteRepair> ApplyOptionRepairs(RadioImage& image);

// The window's controls as the decode leaves them (repairs taken into account,
// whether or not they have been written).
struct OptionView {
    int tot = 0;         // ComboTOT index
    int totWarning = 0;  // ComboTOTWarning index
    int squelch = 0;     // ComboSQ index
    int voice = 0;       // ComboVoice index
    bool save = false;
    bool beep = false;
    bool scramble = false;
    bool roger = false;
    bool freqHopping = false;
    std::string infModelText;  // the hidden TextInfModel: hex of 312 then 313
};
OptionView DecodeOption(const RadioImage& image);

// Writes of the controls. A list index outside its list writes nothing and returns
// false (a list with no selection reports -1).
bool SetTot(RadioImage& image, int index);
bool SetTotWarning(RadioImage& image, int index);
bool SetSquelch(RadioImage& image, int index);
bool SetVoice(RadioImage& image, int index);
// Sets or clears the check box's bit of byte 303; the other bits stay.
void SetOptionCheck(RadioImage& image, OptionCheck check, bool ticked);

}  // namespace baldo7

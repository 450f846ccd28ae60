// How the radio scans (bytes 288..294) and its eight priority channel prioritySlots
// (312..319): what the scan information window shows, the repairs its decode makes
// and the writes of its lists.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/pick_lists.h"
#include "core/radio_image.h"
#include "core/texts.h"
#include "functions/function_setup.h"

namespace baldo7 {

namespace scan_texts {
constexpr BiText kCaption{"Scan Information", "扫描信息"};
constexpr BiText kPriority{"Priority", "优先"};
constexpr BiText kLookBackA{"Look Back Time A[s]", "回扫时间A[秒]"};
constexpr BiText kLookBackB{"Look Back Time B[s]", "回扫时间B[秒]"};
constexpr BiText kRevertChannel{"Revert Channel", "返回信道"};
constexpr BiText kDropoutDelay{"Dropout Delay Time[s]", "扫描接收恢复延迟时间[秒]"};
constexpr BiText kTxDwell{"TX Dwell Time[s]", "扫描发射恢复延迟时间[秒]"};
constexpr BiText kPriorityChannel{"Priority Channel ", "优先信道"};
// Slots 1 and 2 are also the infrared model number that Function Setup repairs.
constexpr BiText kSharedSlot{
    "Also the infrared model number: opening Function Setup turns a channel above 9 into 1.",
    "同时是红外型号：打开功能设定会把大于9的信道改为1。"};
}  // namespace scan_texts

constexpr int kPriorityNone = 0;
constexpr int kPriorityFixd = 1;
constexpr int kPrioritySelected = 2;
constexpr int kPrioritySlots = 8;
constexpr int kScanTimeEntries = 9;  // 1.0 .. 5.0 s in 0.5 s steps

PickList PriorityList(bool isEnglish);
// Four entries, or the first two while the priority mode is None.
PickList RevertChannelList(bool isEnglish, int priorityMode);
int RevertChannelEntries(int priorityMode);
// "1.0", "1.5", ... "5.0" with the given decimal separator.
PickList ScanTimeList(char separator);

// Byte 288: 1 Fixd, 2 Selected, anything else None (the byte stays).
int PriorityModeIndex(std::uint8_t byte288);
// Tenths of a second 10..50 in steps of 5; anything else shows the first entry.
int ScanTimeIndex(std::uint8_t tenths);
// Byte 292 in a list of `entries`; -1 (no selection) for a value the list does not
// hold: the box never shows an entry that is not stored.
int RevertChannelIndex(std::uint8_t byte292, int entries);

// The channels slot `slot` (0..7, channel group slot+1) offers, ascending. Group 1's
// are the channels in the scan-add bitmap; the other groups have no bitmap in this
// radio and offer none.
std::vector<int> PriorityCandidates(const RadioImage& image, int slot);

struct PrioritySlotView {
    std::vector<int> channels;  // the list's entries
    int selected = -1;          // index into channels; -1 when the stored one is not there
};

// The window's controls as the decode leaves them. Opening the window changes no
// byte: a stored value its list does not offer is shown as no selection.
struct ScanView {
    int priority = 0;
    int lookBack[2] = {};
    int revertEntries = 2;
    int revert = 0;
    int delay[2] = {};  // dropout delay, transmit dwell
    std::array<PrioritySlotView, kPrioritySlots> prioritySlots;
    // The channel each slot selects, 0 when it selects none.
    int priorityChannel(int slot) const;
};
ScanView DecodeScan(const RadioImage& image);

// Writes of the lists. An index outside its list writes nothing and returns false.
bool SetPriorityMode(RadioImage& image, int index);
bool SetRevertChannel(RadioImage& image, int index, int entries);
bool SetLookBackTime(RadioImage& image, int which, int index);
bool SetScanDelay(RadioImage& image, int which, int index);
// `channel` must be one of the slot's candidates.
bool SetPriorityChannel(RadioImage& image, int slot, int channel);

}  // namespace baldo7

#include "functions/scan_information.h"

#include <algorithm>

#include "channels/channel_record.h"

namespace baldo7 {

namespace {
constexpr BiText kPriorityModes[] = {{"None", "无"}, {"Fixd", "固定"}, {"Selected", "选定"}};
constexpr BiText kRevertChannels[] = {{"Selected", "选定"},
                                      {"Selected+Talk Back", "选定+当前通话"},
                                      {"Priority", "优先"},
                                      {"Priority+Talk Back", "优先+当前通话"}};

std::uint8_t tenthsOf(int index) {
    return static_cast<std::uint8_t>(index * 5 + 10);
}
}  // namespace

PickList PriorityList(bool isEnglish) {
    PickList list;
    for (const BiText& t : kPriorityModes) list.emplace_back(t.pick(isEnglish));
    return list;
}

int RevertChannelEntries(int priorityMode) {
    return priorityMode == kPriorityNone ? 2 : 4;
}

PickList RevertChannelList(bool isEnglish, int priorityMode) {
    PickList list;
    for (int i = 0; i < RevertChannelEntries(priorityMode); ++i)
        list.emplace_back(kRevertChannels[i].pick(isEnglish));
    return list;
}

PickList ScanTimeList(char separator) {
    PickList list;
    for (int i = 0; i < kScanTimeEntries; ++i) list.push_back(TenthsToText(tenthsOf(i), separator));
    return list;
}

int PriorityModeIndex(std::uint8_t byte288) {
    return byte288 == kPriorityFixd || byte288 == kPrioritySelected ? byte288 : kPriorityNone;
}

int ScanTimeIndex(std::uint8_t tenths) {
    if (tenths < 10 || tenths > 50 || tenths % 5 != 0) return 0;
    return tenths / 5 - 2;
}

int RevertChannelIndex(std::uint8_t byte292, int entries) {
    return byte292 < entries ? byte292 : -1;
}

std::vector<int> PriorityCandidates(const RadioImage& image, int slot) {
    std::vector<int> channels;
    if (slot != 0) return channels;
    for (int c = 1; c <= kChannelCount; ++c)
        if (GetScanAddBit(image, c)) channels.push_back(c);
    return channels;
}

int ScanView::priorityChannel(int slot) const {
    const PrioritySlotView& s = prioritySlots[static_cast<std::size_t>(slot)];
    return s.selected >= 0 ? s.channels[static_cast<std::size_t>(s.selected)] : 0;
}

ScanView DecodeScan(const RadioImage& image) {
    ScanView v;
    v.priority = PriorityModeIndex(image[addr::kPriorityMode]);
    for (int i = 0; i < 2; ++i) {
        v.lookBack[i] = ScanTimeIndex(image[addr::kLookBackTime + static_cast<std::size_t>(i)]);
        v.delay[i] = ScanTimeIndex(image[addr::kScanDelay + static_cast<std::size_t>(i)]);
    }
    v.revertEntries = RevertChannelEntries(v.priority);
    v.revert = RevertChannelIndex(image[addr::kRevertChannel], v.revertEntries);
    for (int k = 0; k < kPrioritySlots; ++k) {
        PrioritySlotView& s = v.prioritySlots[static_cast<std::size_t>(k)];
        s.channels = PriorityCandidates(image, k);
        if (s.channels.empty()) continue;
        const auto it = std::find(s.channels.begin(), s.channels.end(),
                                  image[addr::kPriorityChannel + static_cast<std::size_t>(k)]);
        if (it != s.channels.end()) s.selected = static_cast<int>(it - s.channels.begin());
    }
    return v;
}

bool SetPriorityMode(RadioImage& image, int index) {
    if (index < 0 || index > kPrioritySelected) return false;
    image[addr::kPriorityMode] = static_cast<std::uint8_t>(index);
    return true;
}

bool SetRevertChannel(RadioImage& image, int index, int entries) {
    if (index < 0 || index >= entries || entries > 4) return false;
    image[addr::kRevertChannel] = static_cast<std::uint8_t>(index);
    return true;
}

namespace {
bool setTime(RadioImage& image, std::size_t first, int which, int index) {
    if (which < 0 || which > 1 || index < 0 || index >= kScanTimeEntries) return false;
    image[first + static_cast<std::size_t>(which)] = tenthsOf(index);
    return true;
}
}  // namespace

bool SetLookBackTime(RadioImage& image, int which, int index) {
    return setTime(image, addr::kLookBackTime, which, index);
}

bool SetScanDelay(RadioImage& image, int which, int index) {
    return setTime(image, addr::kScanDelay, which, index);
}

bool SetPriorityChannel(RadioImage& image, int slot, int channel) {
    if (slot < 0 || slot >= kPrioritySlots) return false;
    const std::vector<int> candidates = PriorityCandidates(image, slot);
    if (std::find(candidates.begin(), candidates.end(), channel) == candidates.end()) return false;
    image[addr::kPriorityChannel + static_cast<std::size_t>(slot)] =
        static_cast<std::uint8_t>(channel);
    return true;
}

}  // namespace baldo7

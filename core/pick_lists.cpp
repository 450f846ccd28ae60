#include "core/pick_lists.h"

#include <cstdio>

#include "core/texts.h"

namespace baldo7 {

const std::array<int, kCtcssCount> kCtcssTenths = {
    670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000,
    1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567,
    1598, 1622, 1655, 1679, 1713, 1738, 1773, 1799, 1835, 1862, 1899, 1928, 1966,
    1995, 2035, 2065, 2107, 2181, 2257, 2291, 2336, 2418, 2503, 2541};

const std::array<int, kDcsCount> kDcsCodes = {
    17,  23,  25,  26,  31,  32,  36,  43,  47,  50,  51,  53,  54,  55,  65,  71,  72,
    73,  74,  114, 115, 116, 122, 125, 131, 132, 134, 135, 143, 145, 152, 155, 156, 162,
    165, 172, 174, 205, 212, 217, 223, 225, 226, 243, 244, 245, 246, 251, 252, 254, 255,
    261, 263, 265, 266, 271, 274, 305, 306, 311, 315, 325, 331, 332, 343, 345, 346, 351,
    356, 364, 365, 371, 411, 412, 413, 423, 425, 431, 432, 445, 446, 452, 454, 455, 462,
    464, 465, 466, 503, 506, 516, 523, 526, 532, 534, 546, 565, 606, 612, 624, 627, 631,
    632, 645, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754, 765};

std::string TenthsToText(int tenths, char separator) {
    return std::to_string(tenths / 10) + separator + std::to_string(tenths % 10);
}

static void append(PickList& list, std::initializer_list<const BiText*> items, bool en) {
    for (const BiText* t : items) list.emplace_back(t->pick(en));
}

void FillBusyLockList(PickList& list, bool isEnglish) {
    static constexpr BiText none{"None", "关"}, carrier{"Carrier", "载波"}, qt{"QT/DQT", "QT/DQT"};
    append(list, {&none, &carrier, &qt}, isEnglish);
}

void FillSpacingList(PickList& list, bool isEnglish, char separator) {
    list.push_back(std::string("12") + separator + (isEnglish ? "5K(Narrow)" : "5K(窄带)"));
    list.emplace_back(isEnglish ? "25K(Wide)" : "25K(宽带)");
}

void FillScanList(PickList& list, bool isEnglish) {
    static constexpr BiText add{"Add", "添加"}, del{"Delete", "删除"};
    append(list, {&add, &del}, isEnglish);
}

void FillPowerList(PickList& list, bool isEnglish) {
    static constexpr BiText low{"Low", "低"}, high{"High", "高"};
    append(list, {&low, &high}, isEnglish);
}

void FillScrambleTypeList(PickList& list) {
    for (int i = 1; i <= 8; ++i) list.push_back(std::to_string(i));
}

void FillToneList(PickList& list, bool isEnglish, char separator) {
    list.reserve(list.size() + kToneListSize);
    list.emplace_back(texts::kNone.pick(isEnglish));
    for (int tenths : kCtcssTenths) list.push_back(TenthsToText(tenths, separator));
    char buf[16];
    for (char polarity : {'N', 'I'}) {
        for (int code : kDcsCodes) {
            std::snprintf(buf, sizeof buf, "D%03d%c", code, polarity);
            list.emplace_back(buf);
        }
    }
}

namespace {
// A filler's entries as a list of their own.
template <typename... Args>
PickList freshList(void (*fill)(PickList&, Args...), Args... args) {
    PickList list;
    fill(list, args...);
    return list;
}
}  // namespace

PickList BusyLockList(bool isEnglish) {
    return freshList(FillBusyLockList, isEnglish);
}
PickList SpacingList(bool isEnglish, char separator) {
    return freshList(FillSpacingList, isEnglish, separator);
}
PickList ScanList(bool isEnglish) {
    return freshList(FillScanList, isEnglish);
}
PickList PowerList(bool isEnglish) {
    return freshList(FillPowerList, isEnglish);
}
PickList ScrambleTypeList() {
    return freshList(FillScrambleTypeList);
}
PickList ToneList(bool isEnglish, char separator) {
    return freshList(FillToneList, isEnglish, separator);
}

}  // namespace baldo7

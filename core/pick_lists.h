// The drop-down lists that recur across editors. The position of an entry is what
// the editors store, so the orders are exact. Texts with a decimal point are built
// with the separator given.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace baldo7 {

using PickList = std::vector<std::string>;

// Each filler appends to the list it is given, in order, without clearing it.
void FillBusyLockList(PickList& list, bool isEnglish);
void FillSpacingList(PickList& list, bool isEnglish, char separator);
void FillScanList(PickList& list, bool isEnglish);
void FillPowerList(PickList& list, bool isEnglish);
void FillScrambleTypeList(PickList& list);
void FillToneList(PickList& list, bool isEnglish, char separator);

// The same as fresh lists.
PickList BusyLockList(bool isEnglish);
PickList SpacingList(bool isEnglish, char separator);
PickList ScanList(bool isEnglish);
PickList PowerList(bool isEnglish);
PickList ScrambleTypeList();
PickList ToneList(bool isEnglish, char separator);

// Tone list layout: 0 none, 1..50 CTCSS, 51..166 DCS normal, 167..282 DCS inverted.
constexpr int kToneListSize = 283;
constexpr int kFirstCtcssIndex = 1;
constexpr int kFirstDcsIndex = 51;
constexpr int kFirstInvertedDcsIndex = 167;
constexpr int kCtcssCount = 50;
constexpr int kDcsCount = 116;

// The 50 CTCSS tones in tenths of a hertz (670 = 67.0 Hz).
extern const std::array<int, kCtcssCount> kCtcssTenths;
// The 116 DCS codes as their three octal digits read as a decimal number (17 = D017).
extern const std::array<int, kDcsCount> kDcsCodes;

// "67.0" with the given separator: whole part, separator, tenths.
std::string TenthsToText(int tenths, char separator);

}  // namespace baldo7

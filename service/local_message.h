// The radio's dealer and production record (addr::kLocalMessage) as the local
// message window shows it. Text fields are one byte per character (Latin-1
// here), read up to the first 0x00 or the end of the field.
#pragma once

#include <cstdint>
#include <string>

#include "core/pick_lists.h"
#include "core/radio_image.h"

namespace baldo7 {

// The text fields, in the order the window and the command line show them.
enum class LocalField {
    AreaCode,
    SerialNumber,
    ProductedDate,
    ManufactureCode,
    UserCode,
    MaintainedDate,
    DealerCode,
    StockDate,
    SellDate,
    Seller,
    MaintainedDescription,
};
constexpr int kLocalFieldCount = 11;

struct LocalFieldLayout {
    LocalField field;
    AddressRange bytes;
    const char* key;  // the command line's JSON name
};
const LocalFieldLayout& LocalFieldOf(LocalField field);
extern const LocalFieldLayout kLocalFields[kLocalFieldCount];

struct LocalMessageView {
    int radioTypeIndex = 7;      // into RadioTypeList()
    int frequencyAreaIndex = 0;  // into FrequencyAreaList()
    std::string fields[kLocalFieldCount];
    std::string password;  // never shown in this configuration
    const std::string& field(LocalField f) const { return fields[static_cast<int>(f)]; }
    // What the window and `show` display: cells never programmed (0xFF, as erased
    // memory holds them) are no characters, so such a field shows empty.
    std::string shown(LocalField f) const;
};

// "RW520", "LV520", "H61", "RWH61", "H63", "RWH63", "DEK", "417M".
PickList RadioTypeList();
// "136-174MHz", "200-260MHz", "400-480MHz".
PickList FrequencyAreaList();

// The list entry of a stored radio type name; a name that is none of them gives 7.
int RadioTypeIndex(const std::string& name);

// `record` holds the bytes of addr::kLocalMessage.
LocalMessageView DecodeLocalMessage(const std::uint8_t* record);
LocalMessageView DecodeLocalMessage(const ServiceMemory& memory);

// The frequency area the record names ("400-480MHz"); "" when its byte is none of
// the list's (an unprogrammed record).
std::string RecordedFrequencyArea(const ServiceMemory& memory);

// The serial number a radio's own record gives (its spaces trimmed, "" when none is
// programmed), as a write's job log names the radio.
std::string RecordedSerialNumber(const ServiceMemory& memory);

// The firmware version of image bytes 448..451: "10.23" for "1023"; empty when a
// byte is unprogrammed (0x00 or 0xFF).
std::string FirmwareVersion(const RadioImage& image);

}  // namespace baldo7

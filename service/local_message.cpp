#include "service/local_message.h"

#include "service/service_memory.h"

namespace baldo7 {

namespace {
constexpr int kRadioTypeAddress = 0x0A80;
constexpr int kRadioTypeSize = 6;
constexpr int kFrequencyAreaAddress = 0x0A86;
constexpr int kPasswordAddress = 0x0ABC;
constexpr int kPasswordSize = 4;
constexpr int kRadioTypeFallback = 7;

// Up to the first 0x00 (and, for the password, 0xFF) or the end of the field.
std::string fieldText(const std::uint8_t* record, int address, int size, bool stopAtFF) {
    std::string text;
    const std::uint8_t* p = record + (address - kLocalMessageAddress);
    for (int i = 0; i < size; ++i) {
        if (p[i] == 0x00 || (stopAtFF && p[i] == 0xFF)) break;
        text += static_cast<char>(p[i]);
    }
    return text;
}
}  // namespace

const LocalFieldLayout kLocalFields[kLocalFieldCount] = {
    {LocalField::AreaCode, 0x0A88, 4, "areaCode"},
    {LocalField::SerialNumber, 0x0A90, 16, "serialNumber"},
    {LocalField::ProductedDate, 0x0AA0, 16, "productedDate"},
    {LocalField::ManufactureCode, 0x0AB0, 8, "manufactureCode"},
    {LocalField::UserCode, 0x0AB8, 4, "userCode"},
    {LocalField::MaintainedDate, 0x0AC0, 16, "maintainedDate"},
    {LocalField::DealerCode, 0x0AD0, 16, "dealerCode"},
    {LocalField::StockDate, 0x0AE0, 16, "stockDate"},
    {LocalField::SellDate, 0x0AF0, 16, "sellDate"},
    {LocalField::Seller, 0x0B00, 16, "seller"},
    {LocalField::MaintainedDescription, 0x0B10, 96, "maintainedDescription"},
};

const LocalFieldLayout& LocalFieldOf(LocalField field) {
    return kLocalFields[static_cast<int>(field)];
}

PickList RadioTypeList() {
    return {"RW520", "LV520", "H61", "RWH61", "H63", "RWH63", "DEK", "417M"};
}

PickList FrequencyAreaList() {
    return {"136-174MHz", "200-260MHz", "400-480MHz"};
}

int RadioTypeIndex(const std::string& name) {
    const PickList list = RadioTypeList();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == name) return static_cast<int>(i);
    return kRadioTypeFallback;
}

LocalMessageView DecodeLocalMessage(const std::uint8_t* record) {
    LocalMessageView v;
    v.radioTypeIndex = RadioTypeIndex(fieldText(record, kRadioTypeAddress, kRadioTypeSize, false));
    const std::uint8_t area = record[kFrequencyAreaAddress - kLocalMessageAddress];
    v.frequencyAreaIndex = area <= 2 ? area : 0;
    for (const LocalFieldLayout& f : kLocalFields)
        v.fields[static_cast<int>(f.field)] = fieldText(record, f.address, f.size, false);
    v.password = fieldText(record, kPasswordAddress, kPasswordSize, true);
    return v;
}

LocalMessageView DecodeLocalMessage(const ServiceMemory& memory) {
    return DecodeLocalMessage(ServiceBytes(memory, kLocalMessageAddress));
}

std::string LocalMessageView::shown(LocalField f) const {
    std::string text = field(f);
    while (!text.empty() && static_cast<std::uint8_t>(text.back()) == 0xFF) text.pop_back();
    return text;
}

std::string FirmwareVersion(const RadioImage& image) {
    const auto c = [&image](std::size_t a) { return static_cast<char>(image[a]); };
    const std::size_t v = addr::kFirmwareVersion;
    for (std::size_t a = v; a < v + 4; ++a)
        if (image[a] == 0x00 || image[a] == 0xFF) return std::string();
    return std::string{c(v), c(v + 1), '.', c(v + 2), c(v + 3)};
}

}  // namespace baldo7

#include "service/local_message.h"

#include "service/service_memory.h"

namespace baldo7 {

namespace {
constexpr int kRadioTypeFallback = 7;

// Up to the first 0x00 (and, for the password, 0xFF) or the end of the field.
std::string fieldText(const std::uint8_t* record, AddressRange field, bool stopAtFF) {
    std::string text;
    const std::uint8_t* p = record + (field.first - addr::kLocalMessage.first);
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (p[i] == 0x00 || (stopAtFF && p[i] == 0xFF)) break;
        text += static_cast<char>(p[i]);
    }
    return text;
}
}  // namespace

const LocalFieldLayout kLocalFields[kLocalFieldCount] = {
    {LocalField::AreaCode, addr::kLocalAreaCode, "areaCode"},
    {LocalField::SerialNumber, addr::kLocalSerialNumber, "serialNumber"},
    {LocalField::ProductedDate, addr::kLocalProductedDate, "productedDate"},
    {LocalField::ManufactureCode, addr::kLocalManufactureCode, "manufactureCode"},
    {LocalField::UserCode, addr::kLocalUserCode, "userCode"},
    {LocalField::MaintainedDate, addr::kLocalMaintainedDate, "maintainedDate"},
    {LocalField::DealerCode, addr::kLocalDealerCode, "dealerCode"},
    {LocalField::StockDate, addr::kLocalStockDate, "stockDate"},
    {LocalField::SellDate, addr::kLocalSellDate, "sellDate"},
    {LocalField::Seller, addr::kLocalSeller, "seller"},
    {LocalField::MaintainedDescription, addr::kLocalMaintainedDescription, "maintainedDescription"},
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
    v.radioTypeIndex = RadioTypeIndex(fieldText(record, addr::kLocalRadioType, false));
    const std::uint8_t area = record[addr::kLocalFrequencyArea - addr::kLocalMessage.first];
    v.frequencyAreaIndex = area <= 2 ? area : 0;
    for (const LocalFieldLayout& f : kLocalFields)
        v.fields[static_cast<int>(f.field)] = fieldText(record, f.bytes, false);
    v.password = fieldText(record, addr::kLocalPassword, true);
    return v;
}

std::string RecordedFrequencyArea(const ServiceMemory& memory) {
    const std::uint8_t area = *ServiceBytes(memory, addr::kLocalFrequencyArea);
    return area < FrequencyAreaList().size() ? FrequencyAreaList()[area] : std::string();
}

std::string RecordedSerialNumber(const ServiceMemory& memory) {
    std::string text = DecodeLocalMessage(memory).shown(LocalField::SerialNumber);
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

LocalMessageView DecodeLocalMessage(const ServiceMemory& memory) {
    return DecodeLocalMessage(ServiceBytes(memory, addr::kLocalMessage.first));
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

#include "core/software_data.h"

namespace baldo7 {

static std::string readField(const SoftwareData& data, std::size_t first) {
    std::string text;
    for (std::size_t i = first; i < first + kPasswordLength && data[i] != 0xFF; ++i)
        text.push_back(static_cast<char>(data[i]));
    return text;
}

static void writeField(SoftwareData& data, std::size_t first, const std::string& text) {
    for (std::size_t i = 0; i < text.size() && i < kPasswordLength; ++i)
        data[first + i] = static_cast<std::uint8_t>(text[i]);
}

void AnalyseSoftwareData(Document& doc) {
    doc.ProgramPassword = readField(doc.softwareData, 0);
    doc.NewPassword = readField(doc.softwareData, 6);
    doc.ChangePasswordFlag = doc.softwareData[12] == kChangePasswordTicked;
}

void SaveSoftwareData(Document& doc) {
    for (std::size_t i = 0; i < 16; ++i) doc.softwareData[i] = 0xFF;
    writeField(doc.softwareData, 0, doc.ProgramPassword);
    writeField(doc.softwareData, 6, doc.NewPassword);
    if (doc.ChangePasswordFlag) doc.softwareData[12] = kChangePasswordTicked;
}

void SetProgramPassword(Document& doc, const std::string& password) {
    // The same password again is no change, whatever the stored bytes hold.
    if (password == doc.ProgramPassword) return;
    doc.ProgramPassword = password;
    SaveSoftwareData(doc);
}

}  // namespace baldo7

// Model type and frequency band: the model identification record at image bytes
// 440..447, the band table and the limits the channel editors clamp to.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/document.h"

namespace baldo7 {

enum class Model { VHF = 0, UHF = 1 };

struct BandRow {
    Model model;
    int listIndex;      // position in the band list of its model
    const char* text;   // "136-174MHz"
    std::uint8_t code;  // image byte 445
    int lowMHz;
    int highMHz;
};

// The rows of one model, in list order (4 VHF, 8 UHF).
const std::vector<BandRow>& BandRows(Model model);
// The row whose band text is `text` ("440-480MHz"), in either model.
std::optional<BandRow> FindBandByText(const std::string& text);
const char* ModelText(Model model);
std::optional<Model> ModelFromText(const std::string& text);

// Byte 441: 0x32 is VHF, anything else UHF.
Model ModelOfImage(const RadioImage& image);

// The band whose code is at byte 445 in the model's table; none for a blank or
// foreign radio (its limits then mean nothing and are not shown).
std::optional<BandRow> BandOfImage(const RadioImage& image);

// Sets ModelType and, when the band code is in the model's table, the three limits.
void AnalyseModel(Document& doc);

// The model and band as every report shows them: "UHF 400-480MHz", with
// ", transmit up to 520MHz" when the limit differs, or "UHF, band unknown".
std::string ModelBandText(const Document& doc, bool isEnglish);

// What the model dialog shows for an image: model index and band index.
struct ModelSelection {
    int modelIndex;
    int bandIndex;
};
ModelSelection ModelDialogSelection(const RadioImage& image);

// The eight bytes the image must hold for a model and band choice; a band index
// outside the model's list gives band code 0x73.
std::array<std::uint8_t, 8> ExpectedModelRecord(int modelIndex, int bandIndex);
bool ModelRecordMatches(const RadioImage& image, int modelIndex, int bandIndex);

// Limits read off a band text by its fixed positions ("136-174MHz" -> 136, 174).
struct BandLimits {
    int lowMHz;
    int highMHz;
};
std::optional<BandLimits> ParseBandText(const std::string& text);

// Bytes 441 and 445 written after the image is rebuilt from the template, from the
// chosen limits (first matching rule wins).
struct ModelBytes {
    std::uint8_t modelDigit;
    std::uint8_t bandCode;
};
ModelBytes RebuildModelBytes(int bandHighMHz, int bandLowMHz);
void WriteModelBytes(RadioImage& image, ModelBytes bytes);

// The frequency extension option raises the transmit limit of a 400 MHz band to
// 520 (on) or sets it to 480 (off); other bands are left alone.
void ApplyBandExtension(Document& doc, bool extensionOn);

}  // namespace baldo7

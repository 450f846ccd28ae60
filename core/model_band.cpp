#include "core/model_band.h"

#include <cstdlib>

namespace baldo7 {

const std::vector<BandRow>& BandRows(Model model) {
    static const std::vector<BandRow> vhf = {
        {Model::VHF, 0, "136-174MHz", 0x01, 136, 174},
        {Model::VHF, 1, "134-176MHz", 0x02, 134, 176},
        {Model::VHF, 2, "136-150MHz", 0x03, 136, 150},
        {Model::VHF, 3, "150-174MHz", 0x04, 150, 174},
    };
    static const std::vector<BandRow> uhf = {
        {Model::UHF, 0, "350-370MHz", 0x53, 350, 370},
        {Model::UHF, 1, "370-390MHz", 0x63, 370, 390},
        {Model::UHF, 2, "400-430MHz", 0x43, 400, 430},
        {Model::UHF, 3, "440-480MHz", 0x33, 440, 480},
        {Model::UHF, 4, "450-530MHz", 0x21, 450, 530},
        {Model::UHF, 5, "400-520MHz", 0x73, 400, 520},
        {Model::UHF, 6, "490-512MHz", 0x83, 490, 512},
        {Model::UHF, 7, "400-480MHz", 0x93, 400, 480},
    };
    return model == Model::VHF ? vhf : uhf;
}

std::optional<BandRow> FindBandByText(const std::string& text) {
    for (Model m : {Model::VHF, Model::UHF})
        for (const BandRow& row : BandRows(m))
            if (text == row.text) return row;
    return std::nullopt;
}

const char* ModelText(Model model) {
    return model == Model::VHF ? "VHF" : "UHF";
}

std::optional<Model> ModelFromText(const std::string& text) {
    if (text == "VHF") return Model::VHF;
    if (text == "UHF") return Model::UHF;
    return std::nullopt;
}

Model ModelOfImage(const RadioImage& image) {
    return image[addr::kModelDigit] == kModelDigitVhf ? Model::VHF : Model::UHF;
}

std::optional<BandRow> BandOfImage(const RadioImage& image) {
    const std::uint8_t code = image[addr::kBandCode];
    for (const BandRow& row : BandRows(ModelOfImage(image)))
        if (row.code == code) return row;
    return std::nullopt;
}

void AnalyseModel(Document& doc) {
    doc.ModelType = ModelText(ModelOfImage(doc.radioImage));
    if (const auto row = BandOfImage(doc.radioImage)) {
        doc.BandLowMHz = row->lowMHz;
        doc.BandHighMHz = row->highMHz;
        doc.BandTxHighMHz = row->highMHz;
    }
}

std::string ModelBandText(const Document& doc, bool isEnglish) {
    if (!BandOfImage(doc.radioImage))
        return doc.ModelType + (isEnglish ? ", band unknown" : "，频段未知");
    std::string s = doc.ModelType + " " + std::to_string(doc.BandLowMHz) + "-" +
                    std::to_string(doc.BandHighMHz) + "MHz";
    if (doc.BandTxHighMHz != doc.BandHighMHz)
        s += (isEnglish ? ", transmit up to " : "，发射至 ") + std::to_string(doc.BandTxHighMHz) +
             "MHz";
    return s;
}

ModelSelection ModelDialogSelection(const RadioImage& image) {
    const Model model = ModelOfImage(image);
    const std::uint8_t code = image[addr::kBandCode];
    if (model == Model::VHF) {
        switch (code) {
            case 0x02:
                return {0, 1};
            case 0x03:
                return {0, 2};
            case 0x04:
                return {0, 3};
            default:
                return {0, 0};
        }
    }
    for (const BandRow& row : BandRows(Model::UHF))
        if (row.code == code) return {1, row.listIndex};
    return {1, 5};
}

std::array<std::uint8_t, 8> ExpectedModelRecord(int modelIndex, int bandIndex) {
    const Model model = modelIndex == 0 ? Model::VHF : Model::UHF;
    const auto& rows = BandRows(model);
    const std::uint8_t code = bandIndex >= 0 && bandIndex < static_cast<int>(rows.size())
                                  ? rows[static_cast<std::size_t>(bandIndex)].code
                                  : 0x73;
    return {
        0x50, model == Model::VHF ? kModelDigitVhf : kModelDigitUhf, 0x32, 0x30, 0x37, code, 0xF8,
        0xFF};
}

bool ModelRecordMatches(const RadioImage& image, int modelIndex, int bandIndex) {
    const auto expected = ExpectedModelRecord(modelIndex, bandIndex);
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (image[addr::kModelRecord + i] != expected[i]) return false;
    return true;
}

std::optional<BandLimits> ParseBandText(const std::string& text) {
    auto digits = [&](std::size_t pos) -> std::optional<int> {
        if (text.size() < pos + 3) return std::nullopt;
        int v = 0;
        for (std::size_t i = pos; i < pos + 3; ++i) {
            if (text[i] < '0' || text[i] > '9') return std::nullopt;
            v = v * 10 + (text[i] - '0');
        }
        return v;
    };
    const auto low = digits(0), high = digits(4);
    if (!low || !high) return std::nullopt;
    return BandLimits{*low, *high};
}

ModelBytes RebuildModelBytes(int high, int low) {
    if (high == 174 && low == 136) return {0x32, 0x01};
    if (high == 174 && low == 150) return {0x32, 0x04};
    if (high == 150) return {0x32, 0x03};
    if (high == 176) return {0x32, 0x02};
    if (high == 370) return {0x33, 0x53};
    if (high == 390) return {0x33, 0x63};
    if (high == 430) return {0x33, 0x43};
    if (high == 520 && low == 400) return {0x33, 0x73};
    if (high == 480 && low == 400) return {0x33, 0x93};
    if (high == 480) return {0x33, 0x33};
    if (high == 530) return {0x33, 0x21};
    return {0x33, 0x83};
}

void WriteModelBytes(RadioImage& image, ModelBytes bytes) {
    image[addr::kModelDigit] = bytes.modelDigit;
    image[addr::kBandCode] = bytes.bandCode;
}

void ApplyBandExtension(Document& doc, bool extensionOn) {
    if (doc.BandLowMHz != 400) return;
    doc.BandTxHighMHz = extensionOn ? 520 : 480;
}

}  // namespace baldo7

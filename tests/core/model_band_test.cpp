#include "core/model_band.h"

#include <gtest/gtest.h>

using namespace baldo7;

TEST(AnalyseModel, LimitsFromModelDigitAndBandCode) {
    Document doc;
    doc.radioImage[441] = 0x32;
    doc.radioImage[445] = 0x02;
    AnalyseModel(doc);
    EXPECT_EQ(doc.ModelType, "VHF");
    EXPECT_EQ(doc.BandLowMHz, 134);
    EXPECT_EQ(doc.BandHighMHz, 176);
    EXPECT_EQ(doc.BandTxHighMHz, 176);

    // Any other model digit is UHF.
    doc.radioImage[441] = 0x00;
    doc.radioImage[445] = 0x33;
    AnalyseModel(doc);
    EXPECT_EQ(doc.ModelType, "UHF");
    EXPECT_EQ(doc.BandLowMHz, 440);
    EXPECT_EQ(doc.BandHighMHz, 480);

    // An unknown band code sets the model but keeps the limits; a VHF code in a
    // UHF image is unknown.
    doc.radioImage[445] = 0x01;
    AnalyseModel(doc);
    EXPECT_EQ(doc.ModelType, "UHF");
    EXPECT_EQ(doc.BandLowMHz, 440);
}

TEST(ModelDialog, SelectionOfAnImage) {
    RadioImage image{};
    image[441] = 0x32;
    image[445] = 0x02;
    EXPECT_EQ(ModelDialogSelection(image).bandIndex, 1);
    image[445] = 0x77;
    EXPECT_EQ(ModelDialogSelection(image).bandIndex, 0);
    image[441] = 0x33;
    image[445] = 0x93;
    EXPECT_EQ(ModelDialogSelection(image).modelIndex, 1);
    EXPECT_EQ(ModelDialogSelection(image).bandIndex, 7);
    image[445] = 0x01;
    EXPECT_EQ(ModelDialogSelection(image).bandIndex, 5);  // unknown UHF code: 400-520MHz
}

TEST(ModelDialog, RecordCheckComparesAllEightBytes) {
    RadioImage image{};
    const std::uint8_t record[8] = {0x50, 0x32, 0x32, 0x30, 0x37, 0x01, 0xF8, 0xFF};
    std::copy(record, record + 8, image.begin() + 440);
    EXPECT_TRUE(ModelRecordMatches(image, 0, 0));
    EXPECT_FALSE(ModelRecordMatches(image, 0, 1));
    EXPECT_FALSE(ModelRecordMatches(image, 1, 0));
    image[442] = 0x31;  // a fixed byte off: the same model and band no longer match
    EXPECT_FALSE(ModelRecordMatches(image, 0, 0));
    EXPECT_EQ(ExpectedModelRecord(1, -1)[5], 0x73);
}

TEST(ModelDialog, RebuildBytesFollowTheChosenBand) {
    // Every band of the list, parsed by position, rebuilds to its own code.
    for (Model m : {Model::VHF, Model::UHF}) {
        for (const BandRow& row : BandRows(m)) {
            const auto limits = ParseBandText(row.text);
            ASSERT_TRUE(limits) << row.text;
            EXPECT_EQ(limits->lowMHz, row.lowMHz);
            EXPECT_EQ(limits->highMHz, row.highMHz);
            const ModelBytes bytes = RebuildModelBytes(limits->highMHz, limits->lowMHz);
            EXPECT_EQ(bytes.modelDigit, m == Model::VHF ? 0x32 : 0x33) << row.text;
            EXPECT_EQ(bytes.bandCode, row.code) << row.text;
        }
    }
    EXPECT_FALSE(ParseBandText("abc"));
}

TEST(BandExtension, OnlyFourHundredBands) {
    Document doc;
    doc.BandLowMHz = 400;
    doc.BandHighMHz = doc.BandTxHighMHz = 480;
    ApplyBandExtension(doc, true);
    EXPECT_EQ(doc.BandTxHighMHz, 520);
    ApplyBandExtension(doc, false);
    EXPECT_EQ(doc.BandTxHighMHz, 480);
    doc.BandLowMHz = 440;
    ApplyBandExtension(doc, true);
    EXPECT_EQ(doc.BandTxHighMHz, 480);
}

#include "core/data_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/model_band.h"
#include "core/software_data.h"

using namespace baldo7;

static RadioImage patternImage() {
    RadioImage image;
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7);
    return image;
}

TEST(DataFile, RoundTripKeepsEveryByte) {
    const RadioImage image = patternImage();
    SoftwareData software;
    software.fill(0xFF);
    software[16] = 0x5A;
    const Bytes file = EncodeDataFile(image, software);
    ASSERT_EQ(file.size(), 1057u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 16), "BALDO-7 Ver1.0.2");

    RadioImage back{};
    SoftwareData backSoftware{};
    ASSERT_TRUE(DecodeDataFile(file, back, backSoftware));
    EXPECT_EQ(back, image);
    EXPECT_EQ(backSoftware, software);
}

TEST(DataFile, OnlyTheProductWordIsCompared) {
    Bytes file = EncodeDataFile(patternImage(), SoftwareData{});
    file[12] = '9';        // another version
    file.push_back(0x00);  // and a longer file
    RadioImage image{};
    SoftwareData software{};
    EXPECT_TRUE(DecodeDataFile(file, image, software));
}

TEST(DataFile, ShortOrForeignFilesChangeNothing) {
    const Bytes good = EncodeDataFile(patternImage(), SoftwareData{});
    Bytes foreign = good;
    foreign[3] = 'X';
    const Bytes shortFile(good.begin(), good.end() - 1);
    for (const Bytes& bad : {foreign, shortFile, Bytes{}}) {
        RadioImage image;
        image.fill(0xAB);
        SoftwareData software;
        software.fill(0xCD);
        EXPECT_FALSE(DecodeDataFile(bad, image, software));
        EXPECT_EQ(image[0], 0xAB);
        EXPECT_EQ(image[1023], 0xAB);
        EXPECT_EQ(software[16], 0xCD);
    }
    RadioImage image{};
    SoftwareData software{};
    EXPECT_FALSE(DecodeTemplate(Bytes(1040, 0), image, software));
}

TEST(Template, GeneratedInitDatIsASensibleVhfRadio) {
    std::ifstream in(BALDO7_INIT_DAT, std::ios::binary);
    ASSERT_TRUE(in) << BALDO7_INIT_DAT;
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(file.size(), 1041u);
    Document doc;
    ASSERT_TRUE(DecodeTemplate(file, doc.radioImage, doc.softwareData));
    AnalyseModel(doc);
    AnalyseSoftwareData(doc);
    EXPECT_EQ(doc.ModelType, "VHF");
    EXPECT_EQ(doc.BandLowMHz, 136);
    EXPECT_EQ(doc.BandHighMHz, 174);
    EXPECT_TRUE(ModelRecordMatches(doc.radioImage, 0, 0));
    for (std::size_t a = 16; a < 272; ++a) EXPECT_EQ(doc.radioImage[a], 0xFF) << a;
    EXPECT_LE(doc.radioImage[304], 40);
    EXPECT_LE(doc.radioImage[305], 10);
    EXPECT_LE(doc.radioImage[308], 9);
    for (std::size_t a = 752; a < 758; ++a) EXPECT_EQ(doc.radioImage[a], 0xFF);
    EXPECT_EQ(doc.ProgramPassword, "");
}

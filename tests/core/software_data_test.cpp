#include "core/software_data.h"

#include <gtest/gtest.h>

using namespace baldo7;

TEST(SoftwareData, PasswordsAreCutToSixAndRoundTrip) {
    Document doc;
    doc.softwareData.fill(0x11);
    doc.ProgramPassword = "ABCDEFGH";
    doc.NewPassword = "";
    doc.ChangePasswordFlag = false;
    SaveSoftwareData(doc);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(doc.softwareData[i], 'A' + i);
    for (int i = 6; i < 16; ++i) EXPECT_EQ(doc.softwareData[i], 0xFF) << i;
    EXPECT_EQ(doc.softwareData[16], 0x11);  // never written

    AnalyseSoftwareData(doc);
    EXPECT_EQ(doc.ProgramPassword, "ABCDEF");
    EXPECT_EQ(doc.NewPassword, "");
    EXPECT_FALSE(doc.ChangePasswordFlag);

    doc.NewPassword = "12";
    doc.ChangePasswordFlag = true;
    SaveSoftwareData(doc);
    EXPECT_EQ(doc.softwareData[12], 85);
    EXPECT_EQ(doc.softwareData[8], 0xFF);
    AnalyseSoftwareData(doc);
    EXPECT_EQ(doc.NewPassword, "12");
    EXPECT_TRUE(doc.ChangePasswordFlag);

    // Any value but 85 is "not ticked".
    doc.softwareData[12] = 84;
    AnalyseSoftwareData(doc);
    EXPECT_FALSE(doc.ChangePasswordFlag);
}

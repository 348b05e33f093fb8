#include "core/Eligibility.h"

#include <gtest/gtest.h>

namespace tz::launch {
namespace {

TEST(EligibilityTest, TheSupportedHostEndsInItsProgramNameExactly) {
    EXPECT_TRUE(isSupportedHost("C:\\Program Files\\Host\\bricscad.exe"));
    EXPECT_TRUE(isSupportedHost("/opt/host/bricscad.exe"));
    EXPECT_TRUE(isSupportedHost("bricscad.exe"));
    EXPECT_FALSE(isSupportedHost("C:\\Program Files\\Host\\BricsCAD.exe"));  // letter case counts
    EXPECT_FALSE(isSupportedHost("C:\\Host\\bricscad.EXE"));
    EXPECT_FALSE(isSupportedHost("C:\\Host\\bricscad.exe.lnk"));
    EXPECT_FALSE(isSupportedHost("C:\\Host\\acad.exe"));
    EXPECT_FALSE(isSupportedHost("ricscad.exe"));  // shorter than the name
    EXPECT_FALSE(isSupportedHost(""));
}

TEST(EligibilityTest, OtherVendorsVariantsAreNotServedWhereverTheirNameAppears) {
    EXPECT_FALSE(isSupportedHost("C:\\Carlson\\bricscad.exe"));
    EXPECT_FALSE(isSupportedHost("C:\\Program Files\\Carlson 2024\\Host\\bricscad.exe"));
    EXPECT_FALSE(isSupportedHost("C:\\Tools\\xCarlsonx\\bricscad.exe"));
    EXPECT_FALSE(isSupportedHost("C:\\Program Files\\MicroSurvey\\bricscad.exe"));
    // Letter case counts in the vendor names too.
    EXPECT_TRUE(isSupportedHost("C:\\carlson\\bricscad.exe"));
    EXPECT_TRUE(isSupportedHost("C:\\MICROSURVEY\\bricscad.exe"));
}

}  // namespace
}  // namespace tz::launch

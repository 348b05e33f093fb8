#include "core/LauncherText.h"

#include <gtest/gtest.h>

#include "core/Product.h"

namespace tz::launch {
namespace {

TEST(LauncherTextTest, BackslashesAreDoubledForLisp) {
    EXPECT_EQ(escapeBackslashes("C:\\Suite\\"), "C:\\\\Suite\\\\");
    EXPECT_EQ(escapeBackslashes("\\\\server\\share"), "\\\\\\\\server\\\\share");
    EXPECT_EQ(escapeBackslashes("/opt/suite/"), "/opt/suite/");
    EXPECT_EQ(escapeBackslashes(""), "");
}

TEST(LauncherTextTest, TheSuiteLoaderLinesSetDpathThenCallTheLoader) {
    EXPECT_EQ(loaderLines("C:\\Suite\\", kSuiteProduct.pathFunction),
              "(setq dpath \"C:\\\\Suite\\\\\")\n(doPkgpath)\n");
    EXPECT_EQ(loaderLines("D:\\Road\\", kRoadProduct.pathFunction), "(setq dpath \"D:\\\\Road\\\\\")\n(doroadpath)\n");
}

TEST(LauncherTextTest, TheScriptLoadsTheLoaderAndEndsWithoutALineBreak) {
    EXPECT_EQ(scriptText(std::string("C:\\Suite\\") + kSuiteProduct.loaderName),
              "(LOAD \"C:\\\\Suite\\\\tzkivo\\\\aKivoPkgLoader.lsp\")\n;;End of script");
    EXPECT_EQ(scriptText(std::string("D:\\Road\\") + kRoadProduct.loaderName),
              "(LOAD \"D:\\\\Road\\\\aRoadLoader.lsp\")\n;;End of script");
}

TEST(LauncherTextTest, TheStartParametersKeepSingleBackslashes) {
    EXPECT_EQ(startParameters(std::string("C:\\Suite\\") + kSuiteProduct.scriptName),
              " /b \"C:\\Suite\\tzkivo\\gocad.scr\"");
    EXPECT_EQ(startParameters(std::string("D:\\Road\\") + kRoadProduct.scriptName), " /b \"D:\\Road\\gocad.scr\"");
}

TEST(LauncherTextTest, AFolderGetsATrailingSeparatorOnlyWhenItLacksOne) {
    EXPECT_EQ(withTrailingSeparator("C:\\Suite\\"), "C:\\Suite\\");
    EXPECT_EQ(withTrailingSeparator("C:\\Suite"), "C:\\Suite\\");
    EXPECT_EQ(withTrailingSeparator("/opt/suite/"), "/opt/suite/");
    EXPECT_EQ(withTrailingSeparator("/opt/suite"), "/opt/suite/");
    EXPECT_EQ(withTrailingSeparator("C:/mixed\\style"), "C:/mixed\\style\\");
    EXPECT_EQ(withTrailingSeparator("C:"), "C:\\");
    EXPECT_EQ(withTrailingSeparator(""), "");
}

}  // namespace
}  // namespace tz::launch

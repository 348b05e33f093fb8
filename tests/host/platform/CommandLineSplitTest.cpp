#include "CommandLineSplit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tz::platform {
namespace {

using Arguments = std::vector<std::string>;

TEST(CommandLineSplitTest, TheLaunchersParametersGiveTheSwitchAndTheScript) {
    EXPECT_EQ(splitCommandLineArguments(" /b \"C:\\Suite\\tzkivo\\gocad.scr\""),
              (Arguments{"/b", "C:\\Suite\\tzkivo\\gocad.scr"}));
    EXPECT_EQ(splitCommandLineArguments(" /b \"/opt/My Suite/tzkivo\\gocad.scr\""),
              (Arguments{"/b", "/opt/My Suite/tzkivo\\gocad.scr"}));
}

TEST(CommandLineSplitTest, BlanksAndTabsSeparateOutsideQuotes) {
    EXPECT_EQ(splitCommandLineArguments(""), Arguments{});
    EXPECT_EQ(splitCommandLineArguments(" \t "), Arguments{});
    EXPECT_EQ(splitCommandLineArguments("a  b\tc "), (Arguments{"a", "b", "c"}));
    EXPECT_EQ(splitCommandLineArguments("\"a b\"c d"), (Arguments{"a bc", "d"}));
    EXPECT_EQ(splitCommandLineArguments("x\"y z\""), (Arguments{"xy z"}));
    EXPECT_EQ(splitCommandLineArguments("\"unterminated  run"), (Arguments{"unterminated  run"}));
}

TEST(CommandLineSplitTest, EmptyQuotesGiveAnEmptyArgument) {
    EXPECT_EQ(splitCommandLineArguments("\"\""), (Arguments{""}));
    EXPECT_EQ(splitCommandLineArguments("a \"\" b"), (Arguments{"a", "", "b"}));
}

TEST(CommandLineSplitTest, BackslashesCountOnlyBeforeAQuote) {
    EXPECT_EQ(splitCommandLineArguments("C:\\a\\\\b"), (Arguments{"C:\\a\\\\b"}));
    EXPECT_EQ(splitCommandLineArguments("a\\\"b"), (Arguments{"a\"b"}));             // \"    -> "
    EXPECT_EQ(splitCommandLineArguments("a\\\\\"b c\""), (Arguments{"a\\b c"}));     // \\"   -> \ and a quote
    EXPECT_EQ(splitCommandLineArguments("a\\\\\\\"b"), (Arguments{"a\\\"b"}));       // \\\"  -> \"
    EXPECT_EQ(splitCommandLineArguments("\"a\\\\\\\\\" b"), (Arguments{"a\\\\", "b"}));  // \\\\" -> \\ and a quote
    // The classic trap: a folder in quotes ending in a backslash escapes its quote.
    EXPECT_EQ(splitCommandLineArguments("\"C:\\dir\\\" next"), (Arguments{"C:\\dir\" next"}));
}

TEST(CommandLineSplitTest, RunsOfQuotesGiveALiteralQuoteEveryThirdQuote) {
    EXPECT_EQ(splitCommandLineArguments("\"a\"\"b\""), (Arguments{"a\"b"}));
    EXPECT_EQ(splitCommandLineArguments("\"\"\"a\"\"\""), (Arguments{"\"a\""}));
    // The fourth quote opens a quoted run again, which holds the blank.
    EXPECT_EQ(splitCommandLineArguments("\"\"\"\" x"), (Arguments{"\" x"}));
}

}  // namespace
}  // namespace tz::platform

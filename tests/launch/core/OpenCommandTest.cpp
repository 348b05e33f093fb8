#include "core/OpenCommand.h"

#include <gtest/gtest.h>

namespace tz::launch {
namespace {

TEST(OpenCommandTest, AQuotedProgramIsTakenBetweenTheFirstTwoQuotes) {
    EXPECT_EQ(executableOfOpenCommand("\"C:\\Program Files\\Host\\bricscad.exe\" \"%1\""),
              "C:\\Program Files\\Host\\bricscad.exe");
    EXPECT_EQ(executableOfOpenCommand("\"C:\\Host\\bricscad.exe\"/p"), "C:\\Host\\bricscad.exe");
    EXPECT_EQ(executableOfOpenCommand("\"\" \"%1\""), "");
    // Without a closing quote the rest of the command is the program.
    EXPECT_EQ(executableOfOpenCommand("\"C:\\Program Files\\Host\\bricscad.exe"),
              "C:\\Program Files\\Host\\bricscad.exe");
}

TEST(OpenCommandTest, AnUnquotedProgramEndsAtTheFirstBlank) {
    EXPECT_EQ(executableOfOpenCommand("C:\\Host\\bricscad.exe /p"), "C:\\Host\\bricscad.exe");
    EXPECT_EQ(executableOfOpenCommand("C:\\Host\\bricscad.exe"), "C:\\Host\\bricscad.exe");
    // A path with blanks is cut there, as the open command states it.
    EXPECT_EQ(executableOfOpenCommand("C:\\Program Files\\Host\\bricscad.exe %1"), "C:\\Program");
    EXPECT_EQ(executableOfOpenCommand("C:\\Host\\a\"b.exe x"), "C:\\Host\\a\"b.exe");
}

TEST(OpenCommandTest, LeadingBlanksAndEmptyCommands) {
    EXPECT_EQ(executableOfOpenCommand("  \"C:\\Host\\bricscad.exe\" \"%1\""), "C:\\Host\\bricscad.exe");
    EXPECT_EQ(executableOfOpenCommand("\tC:\\Host\\bricscad.exe /p"), "C:\\Host\\bricscad.exe");
    EXPECT_EQ(executableOfOpenCommand(""), "");
    EXPECT_EQ(executableOfOpenCommand("   "), "");
}

TEST(OpenCommandTest, TheHostPathIsShownAndStartedInQuotes) {
    EXPECT_EQ(quotedPath("C:\\Host\\bricscad.exe"), "\"C:\\Host\\bricscad.exe\"");
    EXPECT_EQ(quotedPath(""), "\"\"");
}

}  // namespace
}  // namespace tz::launch

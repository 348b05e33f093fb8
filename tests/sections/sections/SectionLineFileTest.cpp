#include "sections/SectionLineFile.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace tz::sections;

SectionLineRead read(const std::string& text) {
    std::istringstream in(text);
    return readSectionLines(in);
}

TEST(SectionLineFile, ReadsCommaSeparatedRecords) {
    const SectionLineRead r = read("10,100,0,0,20,0\n5.5, 120 ,1,2,3,4\r\n");
    // The second record has a blank before a comma: the scan stops there.
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_EQ(r.lines[0].originDistance, 10);
    EXPECT_EQ(r.lines[0].station, 100);
    EXPECT_EQ(r.lines[0].endX, 20);
    EXPECT_TRUE(r.stoppedAtUnreadableText);
    const SectionLineRead ok = read("10,100,0,0,20,0\n5.5, 120,1,2,3,4\r\n");
    ASSERT_EQ(ok.lines.size(), 2u);  // blanks before a number are skipped
    EXPECT_EQ(ok.lines[1].station, 120);
    EXPECT_EQ(ok.lines[1].endY, 4);
    EXPECT_FALSE(ok.stoppedAtUnreadableText);
}

TEST(SectionLineFile, ALastLineWithoutLineBreakIsNotCut) {
    const SectionLineRead r = read("10,100,0,0,20,0\n10,110,0,5,20,5");
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_EQ(r.lines[0].station, 100);
    EXPECT_TRUE(read("10,100,0,0,20,0").lines.empty());
    EXPECT_FALSE(read("10,100,0,0,20,0").stoppedAtUnreadableText);
}

TEST(SectionLineFile, NoCompleteRecordGivesNoLines) {
    EXPECT_TRUE(read("").lines.empty());
    EXPECT_TRUE(read("\n\n").lines.empty());
    EXPECT_TRUE(read("1,2,3\n").lines.empty());
    const SectionLineRead text = read("station,origin\n");
    EXPECT_TRUE(text.lines.empty());
    EXPECT_TRUE(text.stoppedAtUnreadableText);
}

TEST(SectionLineFile, AnIncompleteRecordEndsTheReadingWithoutBorrowingNumbers) {
    const SectionLineRead r = read("10,100,0,0,20,0\n1,2,3\n10,110,0,5,20,5\n");
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_TRUE(r.stoppedAtUnreadableText);
}

}  // namespace

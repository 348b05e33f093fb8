#include "areas/SectionVolumes.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace tz::secvolume;

SectionVolumes volumes(const std::string& text) {
    std::istringstream in(text);
    return computeSectionVolumes(in);
}

const std::string kGround = "EG\n-50 100 0 100 50 100\n";

TEST(SectionVolumes, OneLinePerSectionWithStationCutAndFill) {
    const SectionVolumes v = volumes("1000 0 " + kGround + "datum\n-40 90 0 -20 110 0 20 110 0 40 90 0\nX\n" +
                                     "1020 0 " + kGround + "datum\n-40 110 0 -20 90 0 20 90 0 40 110 0\nX\n");
    EXPECT_EQ(v.text, "1000.000000 0.000000 500.000000\n1020.000000 -500.000000 0.000000\n");
    EXPECT_EQ(v.sections, 2u);
    EXPECT_FALSE(v.stoppedAtUnreadableHeader);
}

TEST(SectionVolumes, ASectionWithoutAProposedLineIsZero) {
    EXPECT_EQ(volumes("5 0 " + kGround + "X\n").text, "5.000000 0.000000 0.000000\n");
    // "datum" and no "EG": computed against an empty ground line.
    EXPECT_EQ(volumes("6 0 datum -40 90 0 -20 110 0 20 110 0 40 90 0\nX\n").text, "6.000000 0.000000 0.000000\n");
}

TEST(SectionVolumes, ALastXWithoutLineBreakLosesThatSection) {
    const std::string first = "1 0 " + kGround + "datum -40 90 0 -20 110 0 20 110 0 40 90 0\nX\n";
    EXPECT_EQ(volumes(first + "2 0 " + kGround + "X").text, "1.000000 0.000000 500.000000\n");
    EXPECT_EQ(volumes(first + "2 0 " + kGround + "X\n").sections, 2u);
}

TEST(SectionVolumes, AnUnreadableHeaderStopsWithTheSectionsBeforeItWritten) {
    const SectionVolumes v = volumes("1 0 " + kGround + "X\nstation 2\n3 0 " + kGround + "X\n");
    EXPECT_EQ(v.text, "1.000000 0.000000 0.000000\n");
    EXPECT_TRUE(v.stoppedAtUnreadableHeader);
}

TEST(SectionVolumes, ManyPointsAreHeldWithoutLimit) {
    // Longer lines than any fixed array of 60,000 points would hold.
    std::string text = "7 0 EG\n";
    for (int i = 0; i <= 70000; ++i) text += std::to_string(i * 0.01 - 350) + " 100\n";
    text += "datum\n-300 90 0 -290 110 0 290 110 0 300 90 0\nX\n";
    const SectionVolumes v = volumes(text);
    ASSERT_EQ(v.sections, 1u);
    // Trapezoid: top 580, bottom 590 at the crossings, height 10.
    EXPECT_EQ(v.text, "7.000000 0.000000 5850.000000\n");
}

}  // namespace

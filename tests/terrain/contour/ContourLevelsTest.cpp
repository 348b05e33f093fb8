#include "contour/ContourLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace tz::terrain {
namespace {

std::vector<double> levels(double start, double end, double interval) {
    std::vector<double> out;
    ContourLevelSequence sequence(start, end, interval);
    while (auto e = sequence.next()) {
        out.push_back(*e);
        if (out.size() > 100000) break;
    }
    return out;
}

TEST(ContourLevels, FromTheWholeMultipleBelowToOneIntervalAboveTheTop) {
    EXPECT_EQ(levels(12.3, 47.9, 5), (std::vector<double>{10, 15, 20, 25, 30, 35, 40, 45, 50}));
    EXPECT_EQ(levels(12.3, 47.9, 10), (std::vector<double>{10, 20, 30, 40, 50}));
    // A top already on a multiple still gets one more level.
    EXPECT_EQ(levels(10, 40, 10), (std::vector<double>{10, 20, 30, 40, 50}));
}

TEST(ContourLevels, NegativeRangesStartAtTheMultipleTowardZero) {
    EXPECT_EQ(levels(-12.3, 3, 5), (std::vector<double>{-10, -5, 0, 5}));
    // The top's whole part is taken toward zero too, so a negative end
    // reaches up to two intervals above (those levels find nothing).
    EXPECT_EQ(levels(-12.3, -2.1, 5), (std::vector<double>{-10, -5, 0, 5}));
    const ContourLevelSequence sequence(-12.3, -7.1, 5);
    EXPECT_EQ(sequence.first(), -10);
    EXPECT_EQ(sequence.top(), 0);
}

TEST(ContourLevels, AStartJustBelowZeroGivesAPositiveZeroLevel) {
    ContourLevelSequence sequence(-3, 4, 5);
    const auto first = sequence.next();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(*first, 0);
    EXPECT_FALSE(std::signbit(*first));
}

TEST(ContourLevels, IntervalLargerThanTheRange) {
    EXPECT_EQ(levels(12.3, 47.9, 100), (std::vector<double>{0, 100}));
    EXPECT_EQ(levels(112.3, 147.9, 1000), (std::vector<double>{0, 1000}));
}

TEST(ContourLevels, RepeatedAdditionDecidesTheLevels) {
    // Sums of 0.1 drift from the multiples: the ninth level is just below the
    // top 0.8, and the third is not 0.3.
    const auto tenths = levels(0, 0.75, 0.1);
    ASSERT_EQ(tenths.size(), 9u);
    EXPECT_EQ(tenths[3], 0.1 + 0.1 + 0.1);
    EXPECT_NE(tenths[3], 0.3);
    EXPECT_LT(tenths[8], 0.8);
}

TEST(ContourLevels, NothingForUnusableIntervals) {
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(levels(0, 10, 0).empty());
    EXPECT_TRUE(levels(0, 10, -5).empty());
    EXPECT_TRUE(levels(0, 10, nan).empty());
    EXPECT_TRUE(levels(0, 10, inf).empty());
    EXPECT_TRUE(levels(nan, 10, 1).empty());
    EXPECT_TRUE(levels(0, inf, 1).empty());
    EXPECT_TRUE(levels(50, 10, 5).empty());  // start far above the end
}

TEST(ContourLevels, StopsWhenTheIntervalNoLongerMovesTheLevel) {
    const auto stuck = levels(1e17, 1e17, 1);
    EXPECT_EQ(stuck.size(), 1u);
}

TEST(IndexInterval, WholeMultiplesOfTheInterval) {
    EXPECT_EQ(effectiveIndexInterval(10, 2).value, 10);
    EXPECT_FALSE(effectiveIndexInterval(10, 2).doubled);
    EXPECT_EQ(effectiveIndexInterval(9, 2).value, 8);
    EXPECT_EQ(effectiveIndexInterval(7.99999, 2).value, 8);  // within 0.0001 of the next multiple
    EXPECT_EQ(effectiveIndexInterval(7.999, 2).value, 6);
}

TEST(IndexInterval, EqualToTheIntervalIsDoubled) {
    const IndexInterval j = effectiveIndexInterval(2, 2);
    EXPECT_EQ(j.value, 4);
    EXPECT_TRUE(j.doubled);
    EXPECT_TRUE(effectiveIndexInterval(3.9, 2).doubled);  // 3.9 rounds down to 2
}

TEST(IndexInterval, SmallerThanTheIntervalGivesZero) {
    EXPECT_EQ(effectiveIndexInterval(1, 2).value, 0);
    EXPECT_FALSE(effectiveIndexInterval(1, 2).doubled);
    EXPECT_EQ(effectiveIndexInterval(5, 0).value, 0);
    EXPECT_EQ(effectiveIndexInterval(std::nan(""), 2).value, 0);
}

TEST(IsIndexContour, QuotientWithinATenThousandthOfAWholeNumber) {
    EXPECT_TRUE(isIndexContour(3.99995, 1));
    EXPECT_FALSE(isIndexContour(3.9998, 1));
    EXPECT_TRUE(isIndexContour(-3.99995, 1));
    EXPECT_FALSE(isIndexContour(-3.9998, 1));
    EXPECT_TRUE(isIndexContour(4.00005, 1));
    EXPECT_TRUE(isIndexContour(0, 10));
    EXPECT_TRUE(isIndexContour(50, 10));
    EXPECT_FALSE(isIndexContour(45, 10));
    EXPECT_TRUE(isIndexContour(-20, 10));
    EXPECT_TRUE(isIndexContour(-0.99995, 1));
}

TEST(IsIndexContour, EveryFifthLevelWithIntervalTwoAndIndexTen) {
    int index = 0;
    for (double e : levels(0.5, 99.5, 2)) index += isIndexContour(e, 10);
    EXPECT_EQ(index, 11);  // 0, 10, ..., 100
}

TEST(IsIndexContour, ZeroIndexIntervalMakesEveryContourRegular) {
    EXPECT_FALSE(isIndexContour(0, 0));
    EXPECT_FALSE(isIndexContour(10, 0));
    EXPECT_FALSE(isIndexContour(10, std::nan("")));
}

}  // namespace
}  // namespace tz::terrain

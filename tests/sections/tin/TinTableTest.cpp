#include "tin/TinTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace tz::sections;

TinTableLoad load(const std::string& text) {
    std::istringstream in(text);
    return loadTinTable(in);
}

TEST(TinTable, HoldsEveryCompleteTriangleInFileOrder) {
    const TinTableLoad l = load("0 0 10 10 0 20 0 10 30\n5 5 1 6 5 1 5 6 1\n");
    ASSERT_EQ(l.table.count(), 2u);
    EXPECT_EQ(l.table.triangles[1].p1.x, 5);
    EXPECT_EQ(l.table.triangles[0].p3.z, 30);
    EXPECT_EQ(l.table.rayEndX, 20);
    EXPECT_FALSE(l.stoppedAtUnreadableText);
}

TEST(TinTable, ALastLineWithoutLineBreakIsStored) {
    EXPECT_EQ(load("0 0 1 1 0 1 0 1 1\n2 2 1 3 2 1 2 3 1").table.count(), 2u);
}

TEST(TinTable, AnIncompleteLastRecordIsNotStored) {
    const TinTableLoad l = load("0 0 1 1 0 1 0 1 1\n2 2 1 3 2 1 2\n");
    EXPECT_EQ(l.table.count(), 1u);
    EXPECT_FALSE(l.stoppedAtUnreadableText);
}

TEST(TinTable, TextThatIsNoNumberEndsTheReading) {
    const TinTableLoad l = load("0 0 1 1 0 1 0 1 1\n2 2 1 3 2 one 2 3 1\n4 4 1 5 4 1 4 5 1\n");
    EXPECT_EQ(l.table.count(), 1u);
    EXPECT_TRUE(l.stoppedAtUnreadableText);
}

TEST(TinTable, RayEndIsTwiceTheLargestXCountedFromZero) {
    EXPECT_EQ(load("-5 0 1 -1 0 1 -3 4 1\n").table.rayEndX, 0);  // all x negative
    EXPECT_EQ(load("1 0 1 7.5 0 1 3 4 1\n-9 0 1 -8 0 1 -9 1 1\n").table.rayEndX, 15);
    EXPECT_EQ(load("").table.rayEndX, 0);
    EXPECT_EQ(load("").table.count(), 0u);
}

TEST(TinTable, FromAnOpenFileAsFromTheScanner) {
    // Numbers read on two threads against the scanner's one by one.
    const std::vector<std::string> tokens = {"1.5", "-2", "500000.123456", "1e3", "7", ".5", "12345678901234567890"};
    const std::vector<std::string> ends = {"", "\n", "\r\n", " 4 5", " x 1", " inf", "e"};
    std::mt19937_64 random(6);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) text += (i ? (random() % 9 ? " " : "\r\n") : "") + tokens[random() % tokens.size()];
        text += ends[random() % ends.size()];
        std::FILE* file = std::tmpfile();
        std::fwrite(text.data(), 1, text.size(), file);
        std::rewind(file);
        const TinTableLoad fromFile = loadTinTable(file);
        std::fclose(file);
        const TinTableLoad expected = load(text);
        ASSERT_EQ(fromFile.stoppedAtUnreadableText, expected.stoppedAtUnreadableText) << text;
        ASSERT_EQ(fromFile.table.rayEndX, expected.table.rayEndX) << text;
        ASSERT_EQ(fromFile.table.count(), expected.table.count()) << text;
        for (size_t i = 0; i < expected.table.count(); ++i) {
            const Triangle& a = fromFile.table.triangles[i];
            const Triangle& b = expected.table.triangles[i];
            ASSERT_EQ(std::memcmp(&a, &b, sizeof(Triangle)), 0) << text;
        }
    }
}

}  // namespace

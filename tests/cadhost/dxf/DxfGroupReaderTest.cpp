#include "drawing/DxfGroupReader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tz::cad {
namespace {

std::vector<DxfRawGroup> readAll(const std::string& text) {
    std::istringstream input(text);
    DxfGroupReader reader(input);
    std::vector<DxfRawGroup> groups;
    DxfRawGroup group;
    while (reader.next(group)) groups.push_back(group);
    return groups;
}

std::string errorOf(const std::string& text) {
    try {
        readAll(text);
    } catch (const DxfError& error) {
        return error.what();
    }
    return "";
}

TEST(DxfGroupReader, PairsWithLineNumbersAndLineEnds) {
    const auto groups = readAll("\xEF\xBB\xBF  0\r\nSECTION\r\n  2\nHEADER\n 10\n  1.5  \n");
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].code, 0);
    EXPECT_EQ(groups[0].value, "SECTION");
    EXPECT_EQ(groups[1].line, 3u);
    EXPECT_EQ(groups[2].code, 10);
    EXPECT_EQ(groups[2].value, "  1.5  ");  // values keep their blanks
    EXPECT_TRUE(readAll("").empty());
}

TEST(DxfGroupReader, DamagedFilesAreReportedWithTheirLine) {
    EXPECT_NE(errorOf("0\nSECTION\nabc\nfoo\n").find("line 3"), std::string::npos);
    EXPECT_NE(errorOf("0\nSECTION\n12x\nfoo\n").find("not a group code"), std::string::npos);
    EXPECT_NE(errorOf("0\nSECTION\n5000\nfoo\n").find("not a group code"), std::string::npos);
    EXPECT_NE(errorOf("0\nSECTION\n\nfoo\n").find("line 3"), std::string::npos);
    EXPECT_NE(errorOf("0\nSECTION\n2\n").find("ends before the value"), std::string::npos);
    EXPECT_NE(errorOf("AutoCAD Binary DXF\r\n\x1a").find("binary"), std::string::npos);
    const std::string longLine(DxfGroupReader::kMaxLineLength + 10, 'x');
    EXPECT_NE(errorOf("0\nTEXT\n1\n" + longLine + "\n").find("line 4 is longer"), std::string::npos);
    // A line of exactly the limit is fine.
    const std::string limit(DxfGroupReader::kMaxLineLength, 'y');
    EXPECT_EQ(readAll("1\n" + limit + "\n").at(0).value, limit);
}

}  // namespace
}  // namespace tz::cad

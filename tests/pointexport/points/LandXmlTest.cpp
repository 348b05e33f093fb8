#include "points/LandXml.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

using namespace tz::pointexport;

TEST(CreationStamp, CutFromCdate) {
    const CreationStamp stamp = creationStamp("20240315.14302512");
    EXPECT_EQ(stamp.date, "2024-03-15");
    EXPECT_EQ(stamp.time, "14:30:25");
    const CreationStamp february = creationStamp("20250201.09050300");
    EXPECT_EQ(february.date, "2025-02-01");
    EXPECT_EQ(february.time, "09:05:03");
    // Trailing zeros left off by the number text still give a whole time.
    EXPECT_EQ(creationStamp("20250201.09").time, "09:00:00");
    EXPECT_EQ(creationStamp("20250201").time, "00:00:00");
    // 23:59:59.997 rounded to eight decimals reads 23596000: still the last second of the day.
    const CreationStamp carried = creationStamp("20241231.23596000");
    EXPECT_EQ(carried.date, "2024-12-31");
    EXPECT_EQ(carried.time, "23:59:59");
}

TEST(LandXml, EscapesAttributeText) {
    EXPECT_EQ(escapeAttribute("A&B <c> \"d\" 'e'"), "A&amp;B &lt;c&gt; &quot;d&quot; &apos;e&apos;");
    EXPECT_EQ(escapeAttribute("a\tb\r\nc"), "a&#9;b&#13;&#10;c");
    EXPECT_EQ(escapeAttribute(std::string("x\x01y\x1F") + "\xC3\xA9"), "x\xEF\xBF\xBDy\xEF\xBF\xBD\xC3\xA9");
    // U+FFFE and U+FFFF go too; U+FFFD and U+FFFC stay.
    EXPECT_EQ(escapeAttribute("a\xEF\xBF\xBE" "b\xEF\xBF\xBF" "c\xEF\xBF\xBD" "d\xEF\xBF\xBC"),
              "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xEF\xBF\xBD" "d\xEF\xBF\xBC");
}

TEST(LandXml, PointLineNorthingFirst) {
    const std::string doc = landXmlDocument({{17, 2000, 5000, 99.5, L"MH"}}, creationStamp("20250201.09050300"));
    EXPECT_NE(doc.find("\t\t<CgPoint name=\"17\" desc=\"MH\">5000.000000 2000.000000 99.500000</CgPoint>\n"),
              std::string::npos);
    EXPECT_EQ(doc.rfind("</LandXML>\n"), doc.size() - 11);
    EXPECT_EQ(doc.find("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"), 0u);
}

TEST(LandXml, DocumentsValidateAgainstTheSchema) {
    if (std::system("command -v xmllint >/dev/null 2>&1") != 0) GTEST_SKIP() << "xmllint is not installed";
    std::vector<PointRecord> records{{9, 1, 2, 3, L"A & B <x>"}, {2, 512000.5, 4012000.25, -3.5, L"Caf\u00e9 \"q\""},
                                     {5, 0, 0, 0, L""}, {7, 1, 1, 1, L"tab\tline\r\nbell\a"}};
    sortByNumber(records);
    const std::string doc = landXmlDocument(records, creationStamp("20241231.23596000"));
    const std::string path = ::testing::TempDir() + "landxml-test.xml";
    std::ofstream(path, std::ios::binary) << doc;
    const std::string command = "xmllint --noout --schema " LANDXML_SCHEMA " " + path + " 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << doc;
    // Points in ascending number.
    EXPECT_LT(doc.find("name=\"2\""), doc.find("name=\"5\""));
    EXPECT_LT(doc.find("name=\"5\""), doc.find("name=\"9\""));
}

#include "drawing/DxfText.h"

#include <gtest/gtest.h>

#include <random>

namespace tz::cad {
namespace {

TEST(DxfText, WrittenTextIsPlainAsciiOnOneLine) {
    const std::string written = encodeDxfText(L"Caf\u00e9\nnext\t\r^J 5^2 \U0001F600");
    for (char c : written) {
        EXPECT_GE(static_cast<unsigned char>(c), 32) << written;
        EXPECT_LT(static_cast<unsigned char>(c), 127) << written;
    }
    EXPECT_EQ(written, "Caf\\U+00E9^Jnext^I^M^ J 5^2 \\U+D83D\\U+DE00");
}

TEST(DxfText, ReadingUndoesWriting) {
    std::mt19937 random(11);
    // Pieces that make texts looking like escapes ("\U+00aF") among others.
    const std::wstring pool[] = {L"a", L"^", L"J", L" ", L"\n", L"\t", L"\\", L"\\U+", L"\\u+", L"00", L"aF",
                                 L"\u00e9", L"\u2248", L"\U0001F600", L"@", L"_"};
    for (int round = 0; round < 5000; ++round) {
        std::wstring text;
        const int length = static_cast<int>(random() % 10);
        for (int i = 0; i < length; ++i) text += pool[random() % std::size(pool)];
        EXPECT_EQ(decodeDxfText(encodeDxfText(text), false), text);
    }
    EXPECT_EQ(encodeDxfText(L"\\U+0041 \\P"), "\\U+005CU+0041 \\P");
}

// MTEXT's text is written in parts. Joined before decoding (as other
// readers do) or decoded part by part and then joined (as ours does), the
// parts must give the whole text, whatever a cut falls between.
TEST(DxfText, TextWrittenInPartsReadsBackWhole) {
    std::mt19937 random(12);
    const std::wstring pool[] = {L"a", L"^", L"J", L" ", L"\n", L"\\", L"\\U+", L"00", L"aF", L"\u00e9", L"@"};
    for (int round = 0; round < 5000; ++round) {
        std::wstring text;
        const int length = 1 + static_cast<int>(random() % 10);
        for (int i = 0; i < length; ++i) text += pool[random() % std::size(pool)];
        const size_t cut = random() % (text.size() + 1);
        std::string first, second;
        appendDxfText(first, text, 0, cut);
        appendDxfText(second, text, cut, text.size());
        EXPECT_EQ(first + second, encodeDxfText(text));
        EXPECT_EQ(decodeDxfText(first, false) + decodeDxfText(second, false), text);
    }
}

TEST(DxfText, ReadingOtherWritersText) {
    EXPECT_EQ(decodeDxfText("Stra\xc3\x9f" "e", false), L"Stra\u00dfe");   // UTF-8
    EXPECT_EQ(decodeDxfText("Stra\xdf" "e \x80", false), L"Stra\u00dfe \u20ac");  // Windows-1252
    EXPECT_EQ(decodeDxfText("\\U+00e9\\U+zz12", false), L"\u00e9\\U+zz12");
    EXPECT_EQ(decodeDxfText("\\U+D800x", false), L"\ufffdx");  // a lone surrogate
    EXPECT_EQ(decodeDxfText("x^", false), L"x^");
}

}  // namespace
}  // namespace tz::cad

#include "profile/TextScanner.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using tz::terrain::profile::TextScanner;
using Read = TextScanner::Read;

std::vector<double> numbersOf(const std::string& text, Read* last = nullptr) {
    std::istringstream in(text);
    TextScanner scanner(in);
    std::vector<double> values;
    double v = 0;
    Read r;
    while ((r = scanner.readNumber(v)) == Read::ok) values.push_back(v);
    if (last) *last = r;
    return values;
}

TEST(TextScanner, ReadsDecimalNumbersSeparatedByAnyWhiteSpace) {
    Read last;
    EXPECT_EQ(numbersOf(" 1\t-2.5\n+3e2 \r\n.5 5. -0.25E-1\f7", &last),
              (std::vector<double>{1, -2.5, 300, 0.5, 5, -0.025, 7}));
    EXPECT_EQ(last, Read::end);
}

TEST(TextScanner, StopsAtTextThatIsNoNumber) {
    for (const char* bad : {"1 2 x", "1 2 nan", "1 2 inf", "1 2 -", "1 2 .", "1 2 1e999", "1 2 --3"}) {
        Read last;
        const auto values = numbersOf(bad, &last);
        EXPECT_EQ(values, (std::vector<double>{1, 2})) << bad;
        EXPECT_EQ(last, Read::invalid) << bad;
    }
}

TEST(TextScanner, HexadecimalIsNotANumberOfTheseFiles) {
    // "0x10" reads as 0 followed by the letter x, which ends the reading.
    Read last;
    EXPECT_EQ(numbersOf("0x10", &last), (std::vector<double>{0}));
    EXPECT_EQ(last, Read::invalid);
}

TEST(TextScanner, TinyNumbersReadAsZeroAndAnExponentNeedsDigits) {
    Read last;
    EXPECT_EQ(numbersOf("1e-400 2", &last), (std::vector<double>{0, 2}));
    EXPECT_EQ(last, Read::end);
    EXPECT_EQ(numbersOf("3e x", &last), (std::vector<double>{3}));
    EXPECT_EQ(last, Read::invalid);
}

TEST(TextScanner, OverLongNumbersStopTheReadingInsteadOfOverrunning) {
    Read last;
    const std::string digits(TextScanner::kMaxNumberLength + 10, '7');
    EXPECT_TRUE(numbersOf("1 " + digits, &last) == std::vector<double>{1});
    EXPECT_EQ(last, Read::invalid);
}

TEST(TextScanner, EndIsReachedOnlyByReadingPastTheLastCharacter) {
    {
        std::istringstream in("5");
        TextScanner scanner(in);
        double v;
        EXPECT_EQ(scanner.readNumber(v), Read::ok);
        EXPECT_TRUE(scanner.reachedEnd());  // the number ended the file
    }
    {
        std::istringstream in("5\n");
        TextScanner scanner(in);
        double v;
        EXPECT_EQ(scanner.readNumber(v), Read::ok);
        EXPECT_FALSE(scanner.reachedEnd());
        EXPECT_EQ(scanner.readNumber(v), Read::end);
        EXPECT_TRUE(scanner.reachedEnd());
    }
}

TEST(TextScanner, CarriageReturnLineFeedReadsAsOneLineFeed) {
    std::istringstream in("a\r\nb\rc\r\n");
    TextScanner scanner(in);
    std::string seen;
    for (int c; (c = scanner.get()) != EOF;) seen.push_back(static_cast<char>(c));
    EXPECT_EQ(seen, "a\nb\rc\n");
}

TEST(TextScanner, LiteralsMustFollowImmediately) {
    std::istringstream in("1,2 ,3");
    TextScanner scanner(in);
    double v;
    ASSERT_EQ(scanner.readNumber(v), Read::ok);
    EXPECT_TRUE(scanner.matchLiteral(','));
    ASSERT_EQ(scanner.readNumber(v), Read::ok);
    EXPECT_EQ(v, 2);
    EXPECT_FALSE(scanner.matchLiteral(','));  // a blank stands before it
    EXPECT_EQ(scanner.peek(), ' ');
}

TEST(TextScanner, WordsAndPeeking) {
    std::istringstream in("  EG 1.5\n datum\nX");
    TextScanner scanner(in);
    std::string word;
    ASSERT_EQ(scanner.readWord(word), Read::ok);
    EXPECT_EQ(word, "EG");
    EXPECT_EQ(scanner.peek(), ' ');
    double v;
    ASSERT_EQ(scanner.readNumber(v), Read::ok);
    ASSERT_EQ(scanner.readWord(word), Read::ok);
    EXPECT_EQ(word, "datum");
    EXPECT_FALSE(scanner.reachedEnd());
    ASSERT_EQ(scanner.readWord(word), Read::ok);
    EXPECT_EQ(word, "X");
    EXPECT_TRUE(scanner.reachedEnd());  // "X" without a line break ends the file
    EXPECT_EQ(scanner.readWord(word), Read::end);
}

TEST(TextScanner, OverLongWordsAreConsumedWholeAndKeptInPart) {
    const std::string longWord(10000, 'w');
    std::istringstream in(longWord + " X");
    TextScanner scanner(in);
    std::string word;
    ASSERT_EQ(scanner.readWord(word), Read::ok);
    EXPECT_EQ(word.size(), TextScanner::kMaxWordLength);
    ASSERT_EQ(scanner.readWord(word), Read::ok);
    EXPECT_EQ(word, "X");
}

}  // namespace

namespace {

TEST(TextScanner, ReadsAnOpenFileAsItReadsAStream) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::fputs("1.5 2\r\n\r\n-3e1 x\ry\r\n", file);
    std::rewind(file);
    TextScanner scanner(file);
    double v;
    std::vector<double> values;
    while (scanner.readNumber(v) == Read::ok) values.push_back(v);
    EXPECT_EQ(values, (std::vector<double>{1.5, 2, -30}));
    EXPECT_EQ(scanner.get(), 'x');
    EXPECT_EQ(scanner.get(), '\r');  // a lone CR stays
    EXPECT_EQ(scanner.get(), 'y');
    EXPECT_EQ(scanner.get(), '\n');
    EXPECT_FALSE(scanner.reachedEnd());
    EXPECT_EQ(scanner.get(), EOF);
    EXPECT_TRUE(scanner.reachedEnd());
    std::fclose(file);
}

TEST(TextScanner, AFileReadsInBlocksExactlyAsAStream) {
    // Random runs of everything a file can hold, far longer than a block:
    // survey numbers, CR LF and lone CRs, signs, dots, exponents, long digit
    // runs and words. Both scanners get the same calls and must answer alike.
    std::mt19937_64 random(12);
    const std::vector<std::string> pieces = {"4012345.678000", "-0.000000", "12", "-3e1", "1e", "5.", ".5", "-", "+7",
                                             "1.2.3", "12abc", "x", "00012.500", "123456789012345678901234567",
                                             " ", "  ", "\t", "\r\n", "\n", "\r", "1e-400", "9e999", "0.0000001",
                                             // at the edges of the one-pass reading
                                             "0000000000000000000000000001.25", "-000000000000000000000000.5",
                                             "1234567890123456", "12345678901234567", "900719925474099.5",
                                             "0.0000000000000000000001", "0.00000000000000000000001", "+.5E2"};
    for (int round = 0; round < 20; ++round) {
        std::string text;
        for (int i = 0; i < 20000; ++i) {
            text += pieces[random() % pieces.size()];
            if (random() % 3) text += ' ';
        }
        std::FILE* file = std::tmpfile();
        ASSERT_NE(file, nullptr);
        std::fwrite(text.data(), 1, text.size(), file);
        std::rewind(file);
        std::istringstream in(text);
        TextScanner fromFile(file), fromStream(in);
        for (int step = 0;; ++step) {
            double a = 0, b = 0;
            const Read ra = fromFile.readNumber(a), rb = fromStream.readNumber(b);
            ASSERT_EQ(ra, rb) << "round " << round << " step " << step;
            if (ra == Read::ok) {
                ASSERT_EQ(std::bit_cast<std::uint64_t>(a), std::bit_cast<std::uint64_t>(b)) << step;
            } else if (ra == Read::invalid) {
                std::string wa, wb;
                ASSERT_EQ(fromFile.readWord(wa), fromStream.readWord(wb));
                ASSERT_EQ(wa, wb);
            } else {
                break;
            }
            ASSERT_EQ(fromFile.reachedEnd(), fromStream.reachedEnd()) << step;
        }
        std::fclose(file);
    }
}

}  // namespace

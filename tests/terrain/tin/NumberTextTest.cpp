#include "tin/NumberText.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace tz::terrain {
namespace {

std::vector<double> readAll(const std::string& text, bool* notANumber = nullptr, bool* endAfterLast = nullptr) {
    std::FILE* f = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    NumberReader reader(f);
    std::vector<double> out;
    double v;
    while (reader.readNumber(v)) {
        out.push_back(v);
        if (endAfterLast != nullptr) *endAfterLast = reader.atEndOfFile();
    }
    if (notANumber != nullptr) *notANumber = reader.notANumber();
    std::fclose(f);
    return out;
}

TEST(NumberText, FormatsAsPrintfDoes) {
    std::mt19937_64 random(1);
    std::uniform_real_distribution<double> wide(-1e7, 1e7);
    std::uniform_int_distribution<int> digits(0, 9);
    char expected[512];
    const double specials[] = {0.0, -0.0, 1234.5, 0.0000005, 0.0000015, -0.0000004, 2.5e-7, 1e15, 4e6 + 0.0000005,
                               123456.7890125, 1e-300, 9.9999995, -9.9999995};
    for (double v : specials) {
        std::snprintf(expected, sizeof expected, "%lf", v);
        EXPECT_EQ(formatFixed(v), expected) << v;
    }
    for (int i = 0; i < 200000; ++i) {
        double v = wide(random);
        if (i % 3 == 0) v = std::round(v * 1e6) / 1e6 + digits(random) * 5e-7;  // near the rounding halfway
        std::snprintf(expected, sizeof expected, "%lf", v);
        ASSERT_EQ(formatFixed(v), expected) << v;
    }
}

TEST(NumberText, FormatsExactHalvesAndEveryMagnitudeAsPrintfDoes) {
    char expected[512];
    auto check = [&](double v) {
        std::snprintf(expected, sizeof expected, "%lf", v);
        ASSERT_EQ(formatFixed(v), expected) << v;
    };
    // Binary fractions whose millionths end in exactly one half: printf
    // rounds them to even.
    for (int j = -4001; j <= 4001; j += 2) check(j / 128.0);
    for (int j = 1; j < 2000; j += 2) check(4000000.0 + j / 128.0);
    // Around the largest value of the quick way, powers of two, the smallest.
    for (double v : {1e12, std::nextafter(1e12, 0.0), -std::nextafter(1e12, 0.0), 0x1p52, 0x1p53, 0x1p-20,
                     0x1p-21, 4.9e-324, -4.9e-324, 5e-7, -5e-7, 0.9999995, 999999999999.9999})
        check(v);
    // Doubles from random bits over every exponent below 2^45.
    std::mt19937_64 random(3);
    for (int i = 0; i < 300000; ++i) {
        uint64_t bits = random();
        const uint64_t exponent = random() % (1023 + 45);
        bits = (bits & 0x800FFFFFFFFFFFFFull) | (exponent << 52);
        check(std::bit_cast<double>(bits));
    }
}

TEST(NumberText, RoundedAsWrittenIsWhatReadingTheTextBackGives) {
    std::mt19937_64 random(6);
    auto check = [](double v) {
        const double expected = std::strtod(formatFixed(v).c_str(), nullptr);
        ASSERT_EQ(std::bit_cast<uint64_t>(roundedAsWritten(v)), std::bit_cast<uint64_t>(expected)) << v;
    };
    for (double v : {0.0, -0.0, -1e-9, 1e-9, 5e-7, -5e-7, 0.0078125, 4e6 + 0.0078125, 9.007199254740991e9, 1e12,
                     -3e15, 1e300})
        check(v);
    for (int i = 0; i < 200000; ++i) {
        uint64_t bits = random();
        const uint64_t exponent = random() % (1023 + 50);
        check(std::bit_cast<double>((bits & 0x800FFFFFFFFFFFFFull) | (exponent << 52)));
    }
}

TEST(NumberText, ReadsFixedDecimalsAndLongDigitRunsAsStrtodDoes) {
    std::mt19937_64 random(4);
    std::string text;
    std::vector<double> expected;
    for (int i = 0; i < 100000; ++i) {
        std::string number;
        const int whole = 1 + static_cast<int>(random() % 19), decimals = static_cast<int>(random() % 24);
        if (random() % 8 == 0) number += "000";
        for (int k = 0; k < whole; ++k) number += static_cast<char>('0' + random() % 10);
        if (decimals > 0 || random() % 2) number += '.';
        for (int k = 0; k < decimals; ++k) number += static_cast<char>('0' + random() % 10);
        text += number + (i % 2 ? "\r\n" : " ");
        expected.push_back(std::strtod(number.c_str(), nullptr));
    }
    const std::vector<double> read = readAll(text);
    ASSERT_EQ(read.size(), expected.size());
    for (size_t i = 0; i < read.size(); ++i)
        ASSERT_EQ(std::bit_cast<uint64_t>(read[i]), std::bit_cast<uint64_t>(expected[i])) << i;
}

TEST(NumberText, ReadsAsScanfDoes) {
    const std::string text = "1 -2.5\t+3e2\n.5 7. 1e-3 0x10";
    bool notANumber = false;
    EXPECT_EQ(readAll(text, &notANumber), (std::vector<double>{1, -2.5, 300, 0.5, 7, 0.001, 0}));
    EXPECT_TRUE(notANumber);  // the "x10" after 0
    // Too small for a double, scanf reads zero (or the tiny value nearest).
    double tiny = 1;
    std::sscanf("-1e-400", "%lf", &tiny);
    EXPECT_EQ(readAll("1e-400 -1e-400 4.9e-324 1"), (std::vector<double>{0, tiny, 4.9e-324, 1}));
    EXPECT_TRUE(std::signbit(readAll("-1e-400").front()));
    std::mt19937_64 random(2);
    std::uniform_real_distribution<double> wide(-1e7, 1e7);
    std::string many;
    std::vector<double> expected;
    char number[64];
    for (int i = 0; i < 20000; ++i) {
        std::snprintf(number, sizeof number, "%.*g ", 1 + i % 17, wide(random));
        many += number;
        double parsed;
        std::sscanf(number, "%lf", &parsed);
        expected.push_back(parsed);
    }
    EXPECT_EQ(readAll(many), expected);
}

TEST(NumberText, TextThatIsNotANumberEndsTheData) {
    for (const char* text : {"1 2 nan 3", "1 2 inf 3", "1 2 - 3", "1 2 abc", "1 2 1e999 3", "1 2 , 3"}) {
        bool notANumber = false;
        EXPECT_EQ(readAll(text, &notANumber), (std::vector<double>{1, 2})) << text;
        EXPECT_TRUE(notANumber) << text;
    }
    bool notANumber = true;
    EXPECT_EQ(readAll("1 2\n\n", &notANumber), (std::vector<double>{1, 2}));
    EXPECT_FALSE(notANumber);
}

TEST(NumberText, EndOfFileRightAfterANumberIsSeen) {
    bool end = false;
    readAll("1 2 3", nullptr, &end);
    EXPECT_TRUE(end);
    readAll("1 2 3\n", nullptr, &end);
    EXPECT_FALSE(end);
}

TEST(NumberText, VeryLongLinesAndNumbers) {
    std::string text(3 << 20, ' ');
    text += "12345678901234567890123456789.5";
    text += std::string(2 << 20, '0');
    text += " 7";
    const std::vector<double> values = readAll(text);
    ASSERT_EQ(values.size(), 2u);
    double expected;
    std::sscanf(text.c_str() + (3 << 20), "%lf", &expected);
    EXPECT_EQ(values[0], expected);
    EXPECT_EQ(values[1], 7);
}

}  // namespace
}  // namespace tz::terrain

// The two-thread reading against one NumberReader over the same file, on
// texts that put every kind of token at every place a block or a half can
// be cut.
#include "tin/ParallelNumberReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "TinTestSupport.h"
#include "tin/NumberText.h"

namespace tz::terrain {
namespace {

struct Outcome {
    std::vector<double> numbers;
    bool toTheEnd = false;
    bool endsInNumber = false;
};

Outcome readOneByOne(const std::string& path) {
    Outcome out;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    NumberReader reader(file);
    double value;
    while (reader.readNumber(value)) {
        out.numbers.push_back(value);
        out.endsInNumber = reader.atEndOfFile();
    }
    out.toTheEnd = !reader.notANumber();
    if (!out.toTheEnd) out.endsInNumber = false;
    std::fclose(file);
    return out;
}

Outcome readInParallel(const std::string& path, size_t blockSize) {
    Outcome out;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    out.toTheEnd = readNumbersInParallel(
        file,
        [&](const double* values, size_t count) {
            out.numbers.insert(out.numbers.end(), values, values + count);
            return true;
        },
        &out.endsInNumber, blockSize);
    std::fclose(file);
    return out;
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

TEST(ParallelNumberReader, ReadsWhatOneReaderReadsWhereverTheTextIsCut) {
    const std::vector<std::string> tokens = {
        "500123.456789", "-0.000000", "12", "-7", "+3.5", ".25", "5.", "1e5", "-2.5E-3", "1e", "4e+",
        "123456789012345678901234567890", "0.1000000000000000055511151231257827", "1e400", "-", "+",
        "2.5-3.5", "7..5"};
    const std::vector<std::string> spaces = {" ", "  ", "\t", "\n", "\r\n", "\r", " \r\n\t "};
    std::mt19937_64 random(3);
    testing::ScratchFolder folder;
    const std::string path = folder.path("numbers.txt");
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 400);
        if (random() % 4 == 0) text += spaces[random() % spaces.size()];
        for (int i = 0; i < count; ++i) {
            text += random() % 3 ? tokens[random() % 3] : tokens[random() % tokens.size()];
            text += spaces[random() % spaces.size()];
        }
        if (round % 7 == 3) text += "9.75";                         // no line end at the end
        if (round % 11 == 5) text.insert(text.size() / 2, " x ");  // text that ends the data
        if (round % 13 == 6) text += std::string(5000, '7');      // one token longer than a block
        testing::writeWholeFile(path, text);
        const Outcome expected = readOneByOne(path);
        for (size_t block : {size_t{2}, size_t{5}, size_t{64}, size_t{1000}, size_t{1} << 20}) {
            const Outcome got = readInParallel(path, block);
            ASSERT_EQ(got.toTheEnd, expected.toTheEnd) << "round " << round << " block " << block;
            ASSERT_EQ(got.endsInNumber, expected.endsInNumber) << "round " << round << " block " << block;
            ASSERT_TRUE(sameBits(got.numbers, expected.numbers)) << "round " << round << " block " << block;
        }
    }
}

TEST(ParallelNumberReader, StopsWhenTold) {
    testing::ScratchFolder folder;
    std::string text;
    for (int i = 0; i < 10000; ++i) text += std::to_string(i) + " ";
    testing::writeWholeFile(folder.path("numbers.txt"), text);
    std::FILE* file = std::fopen(folder.path("numbers.txt").c_str(), "rb");
    size_t taken = 0, calls = 0;
    const bool toTheEnd = readNumbersInParallel(
        file,
        [&](const double*, size_t count) {
            taken += count;
            return ++calls < 3;
        },
        nullptr, 256);
    std::fclose(file);
    EXPECT_FALSE(toTheEnd);
    EXPECT_EQ(calls, 3u);
    EXPECT_LT(taken, 1000u);
}

TEST(ParallelNumberReader, RecordsKeepWhatACutShortRecordHeld) {
    testing::ScratchFolder folder;
    testing::writeWholeFile(folder.path("numbers.txt"), "1 2 3\n4 5 6\n7 8");
    std::FILE* file = std::fopen(folder.path("numbers.txt").c_str(), "rb");
    std::vector<double> firsts;
    const RecordsEnd end = readRecordsInParallel(file, 3, [&](const double* record) {
        firsts.push_back(record[0]);
        return true;
    });
    std::fclose(file);
    EXPECT_EQ(firsts, (std::vector<double>{1, 4}));
    EXPECT_TRUE(end.toTheEnd);
    EXPECT_TRUE(end.endsInNumber);
    ASSERT_EQ(end.leftOver, 2);
    EXPECT_EQ(end.leftOverValues[0], 7);
    EXPECT_EQ(end.leftOverValues[1], 8);
}

TEST(ParallelNumberReader, AWordLongerThanThirtyTwoBlocksEndsTheData) {
    // Not held in memory however long it runs: the numbers before it count.
    testing::ScratchFolder folder;
    testing::writeWholeFile(folder.path("numbers.txt"), "1 2 3 " + std::string(40 * 64, '7') + " 4 5");
    const Outcome got = readInParallel(folder.path("numbers.txt"), 64);
    EXPECT_FALSE(got.toTheEnd);
    EXPECT_EQ(got.numbers, (std::vector<double>{1, 2, 3}));
    const Outcome shorter = readInParallel(folder.path("numbers.txt"), 128);  // 20 blocks: read, too large a number
    EXPECT_FALSE(shorter.toTheEnd);
    EXPECT_EQ(shorter.numbers, (std::vector<double>{1, 2, 3}));
}

TEST(ParallelNumberReader, EmptyFileAndOnlySpaces) {
    testing::ScratchFolder folder;
    for (const std::string& text : {std::string(), std::string(" \r\n\t\n")}) {
        testing::writeWholeFile(folder.path("numbers.txt"), text);
        const Outcome got = readInParallel(folder.path("numbers.txt"), 4);
        EXPECT_TRUE(got.toTheEnd);
        EXPECT_FALSE(got.endsInNumber);
        EXPECT_TRUE(got.numbers.empty());
    }
}

TEST(ParallelNumberReader, RoomForTheRecordsLeftAndThePositionKept) {
    testing::ScratchFolder folder;
    testing::writeWholeFile(folder.path("records.txt"), std::string(810, ' '));
    std::FILE* file = std::fopen(folder.path("records.txt").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(recordRoom(file, 81), 11u);  // ten whole records and a shorter one
    EXPECT_EQ(std::ftell(file), 0);
    ASSERT_EQ(std::fseek(file, 800, SEEK_SET), 0);
    EXPECT_EQ(recordRoom(file, 81), 1u);
    EXPECT_EQ(std::ftell(file), 800);
    ASSERT_EQ(std::fseek(file, 0, SEEK_END), 0);
    EXPECT_EQ(recordRoom(file, 81), 0u);
    EXPECT_EQ(recordRoom(file, 0), 0u);
    std::fclose(file);

    // A pipe has no size to go by: the vector just grows.
    std::FILE* pipe = popen("echo 1 2 3", "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<int> records;
    reserveForRecords(pipe, records, 3);
    EXPECT_EQ(records.capacity(), 0u);
    pclose(pipe);
}

}  // namespace
}  // namespace tz::terrain

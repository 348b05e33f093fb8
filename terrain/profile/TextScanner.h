// Reading the suite's 8-bit text files the way the C runtime's formatted
// input reads them ("%lf", "%s", literal characters), with text-mode line
// ends: CR LF reads as a single line feed, so files written on either
// platform read alike.
//
// Unlike the runtime, a number is only what a surveyor's file can hold:
// decimal notation with an optional exponent. "nan", "inf", hexadecimal
// floats and numbers too large for a double are not numbers here, so a
// reader stops on them instead of carrying them into the geometry.
#pragma once

#include <cstdio>
#include <istream>
#include <string>

namespace tz::terrain::profile {

class TextScanner {
public:
    enum class Read {
        ok,       // the item was read
        end,      // the file ended before the item began
        invalid,  // something other than the item stands there
    };

    explicit TextScanner(std::istream& in);
    // Reads the open file from where it stands; the file stays the caller's.
    // The scanner reads ahead in large blocks, so the file's own position
    // says nothing about how far the scanner got.
    explicit TextScanner(std::FILE* file);

    // "%lf": skips white space, then reads one decimal number.
    Read readNumber(double& value);

    // A literal character of a scan format: it must be the very next
    // character (no white space is skipped). Consumed only when it matches.
    bool matchLiteral(char expected);

    // "%s": skips white space, then reads characters up to the next white
    // space. Words longer than kMaxWordLength are consumed whole but kept
    // only in part (they can then equal no keyword of the suite).
    Read readWord(std::string& word);

    // The next character (EOF at the end) without consuming it.
    int peek();

    // Reads and returns one character (EOF at the end).
    int get() {
        if (pushedBack_ != kNothingPushed) {
            const int c = pushedBack_;
            pushedBack_ = kNothingPushed;
            return c;
        }
        return rawGet();
    }

    // Steps back over the character just read by get(). One step only.
    void unget(int c) {
        if (c != EOF) pushedBack_ = c;
    }

    // True once a read has tried to go past the end of the file, as the
    // runtime's end-of-file indicator: a number that ends the file without a
    // line break sets it, one followed by a line break does not.
    bool reachedEnd() const { return reachedEnd_; }

    static constexpr std::size_t kMaxWordLength = 256;
    static constexpr std::size_t kMaxNumberLength = 4096;

private:
    int rawGet();
    int fileGet();  // next byte of file_, through block_
    bool quickNumber(double& value);

    std::streambuf* buffer_ = nullptr;
    std::FILE* file_ = nullptr;
    std::string block_;
    std::size_t blockPos_ = 0;
    std::size_t blockEnd_ = 0;
    static constexpr int kNothingPushed = -2;
    int pushedBack_ = kNothingPushed;
    bool reachedEnd_ = false;
};

// White space as the runtime's scan functions skip it.
bool isScanSpace(int c);

}  // namespace tz::terrain::profile

#include "TextScanner.h"

#include <charconv>
#include <cmath>

#include "tin/NumberText.h"

namespace tz::terrain::profile {

namespace {

bool isDigit(int c) { return c >= '0' && c <= '9'; }

}  // namespace

bool isScanSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

TextScanner::TextScanner(std::istream& in) : buffer_(in.rdbuf()) {}

TextScanner::TextScanner(std::FILE* file) : file_(file), block_(1 << 16, '\0') {}

int TextScanner::fileGet() {
    if (blockPos_ == blockEnd_) {
        // Byte by byte through the C runtime costs a call per character; the
        // files of a survey run to hundreds of megabytes.
        blockEnd_ = std::fread(block_.data(), 1, block_.size(), file_);
        blockPos_ = 0;
        if (blockEnd_ == 0) return EOF;
    }
    return static_cast<unsigned char>(block_[blockPos_++]);
}

int TextScanner::rawGet() {
    int c = EOF;
    if (buffer_ != nullptr) {
        const int got = buffer_->sbumpc();
        if (got != std::char_traits<char>::eof()) c = static_cast<unsigned char>(got);
    } else if (file_ != nullptr) {
        c = fileGet();
    }
    if (c == EOF) {
        reachedEnd_ = true;
        return EOF;
    }
    if (c == '\r') {
        // Text mode: CR LF is one line feed; a lone CR stays.
        if (buffer_ != nullptr) {
            if (buffer_->sgetc() == '\n') {
                buffer_->sbumpc();
                return '\n';
            }
        } else {
            const int next = fileGet();
            if (next == '\n') return '\n';
            if (next != EOF) --blockPos_;  // the byte is still in the block
        }
    }
    return c;
}

int TextScanner::peek() {
    const int c = get();
    unget(c);
    return c;
}

bool TextScanner::quickNumber(double& value) {
    // Straight from the block when nothing is pushed back and the number
    // ends well inside it: white space (CR LF or not, all of it is white
    // space) skipped, then a plain decimal of up to 16 digits not followed
    // by an exponent, in one pass (quickDecimal). Everything else goes the
    // general way, character by character, to the same value: both round
    // correctly.
    if (file_ == nullptr) return false;
    if (pushedBack_ != kNothingPushed) {
        // Every read ends by stepping back over the character after it; that
        // character is the block's previous byte (for a CR LF read as one
        // line feed, its LF, white space all the same).
        if (blockPos_ == 0 || static_cast<unsigned char>(block_[blockPos_ - 1]) != pushedBack_) return false;
        --blockPos_;
        pushedBack_ = kNothingPushed;
    }
    if (blockEnd_ - blockPos_ < 64) return false;
    const char* begin = block_.data() + blockPos_;
    const char* limit = block_.data() + blockEnd_;
    const char* number = begin;
    while (number < limit && isScanSpace(static_cast<unsigned char>(*number))) ++number;
    const char* end = tz::terrain::quickDecimal(number, limit, value);
    if (end == nullptr) return false;
    blockPos_ += static_cast<std::size_t>(end - begin);
    return true;
}

TextScanner::Read TextScanner::readNumber(double& value) {
    if (quickNumber(value)) return Read::ok;
    int c = get();
    while (isScanSpace(c)) c = get();
    if (c == EOF) return Read::end;

    char token[kMaxNumberLength + 1];
    std::size_t length = 0;
    bool tooLong = false;
    auto store = [&](int ch) {
        if (length < kMaxNumberLength)
            token[length++] = static_cast<char>(ch);
        else
            tooLong = true;
    };
    auto take = [&](int ch) {  // stores ch and reads the next character
        store(ch);
        return get();
    };
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = get();
    }
    std::size_t digits = 0;
    while (isDigit(c)) {
        c = take(c);
        ++digits;
    }
    if (c == '.') {
        c = take(c);
        while (isDigit(c)) {
            c = take(c);
            ++digits;
        }
    }
    if (digits == 0) {
        unget(c);
        return Read::invalid;
    }
    bool negativeExponent = false;
    if (c == 'e' || c == 'E') {
        // An exponent counts only with digits; "1e" alone reads as 1 and
        // leaves the letter for the next read, as strtod does.
        const int marker = c;
        int next = get();
        int sign = 0;
        if (next == '+' || next == '-') {
            sign = next;
            next = get();
        }
        if (isDigit(next)) {
            store(marker);
            if (sign != 0) store(sign);
            negativeExponent = sign == '-';
            c = next;
            while (isDigit(c)) c = take(c);
        } else {
            // Only one character can be stepped back over; the rest of a
            // broken exponent is dropped, and the caller stops on the letter.
            unget(next);
            c = marker;
        }
    }
    unget(c);
    if (tooLong) return Read::invalid;

    double parsed = 0;
    if (parseDecimalText(token, token + length, parsed)) {
        value = negative ? -parsed : parsed;
        return Read::ok;
    }
    const auto result = std::from_chars(token, token + length, parsed);
    if (result.ptr != token + length) return Read::invalid;
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to hold reads as zero; too large is no number a survey holds.
        if (!negativeExponent) return Read::invalid;
        parsed = 0.0;
    } else if (result.ec != std::errc()) {
        return Read::invalid;
    }
    if (!std::isfinite(parsed)) return Read::invalid;
    value = negative ? -parsed : parsed;
    return Read::ok;
}

bool TextScanner::matchLiteral(char expected) {
    const int c = get();
    if (c == static_cast<unsigned char>(expected)) return true;
    unget(c);
    return false;
}

TextScanner::Read TextScanner::readWord(std::string& word) {
    word.clear();
    int c = get();
    while (isScanSpace(c)) c = get();
    if (c == EOF) return Read::end;
    while (c != EOF && !isScanSpace(c)) {
        if (word.size() < kMaxWordLength) word.push_back(static_cast<char>(c));
        c = get();
    }
    unget(c);
    return Read::ok;
}

}  // namespace tz::terrain::profile

#include "tin/NumberText.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tz::terrain {
namespace {

constexpr size_t kChunk = 1 << 20;
constexpr size_t kFlushAt = 1 << 20;

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(int c) { return c >= '0' && c <= '9'; }

// Every power of ten that a double holds exactly.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

NumberReader::NumberReader(std::FILE* file) : file_(file), buffer_(kChunk) {}

bool NumberReader::fill() {
    if (eof_ || file_ == nullptr) return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (buffer_.size() - end_ < kChunk / 2) buffer_.resize(buffer_.size() + kChunk);
    const size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
    if (got == 0) {
        eof_ = true;
        return false;
    }
    end_ += got;
    return true;
}

int NumberReader::peek() {
    if (begin_ == end_ && !fill()) return EOF;
    return static_cast<unsigned char>(buffer_[begin_]);
}

bool NumberReader::atEndOfFile() { return peek() == EOF; }

bool NumberReader::readNumber(double& value) {
    if (notANumber_) return false;
    for (;;) {
        const int c = peek();
        if (c == EOF) return false;
        if (!isSpace(c)) break;
        ++begin_;
    }
    if (quickNumber(value)) return true;
    // The longest prefix that reads as a decimal number: sign, digits with an
    // optional point, and an exponent only when digits follow it.
    size_t length = 0;
    auto at = [&](size_t offset) -> int {
        while (begin_ + offset >= end_) {
            if (!fill()) return EOF;
        }
        return static_cast<unsigned char>(buffer_[begin_ + offset]);
    };
    const bool hasSign = at(0) == '+' || at(0) == '-';
    if (hasSign) length = 1;
    size_t mantissaDigits = 0;
    while (isDigit(at(length))) { ++length; ++mantissaDigits; }
    if (at(length) == '.') {
        ++length;
        while (isDigit(at(length))) { ++length; ++mantissaDigits; }
    }
    if (mantissaDigits == 0) {
        notANumber_ = true;
        return false;
    }
    if (at(length) == 'e' || at(length) == 'E') {
        size_t exponentLength = 1;
        if (at(length + exponentLength) == '+' || at(length + exponentLength) == '-') ++exponentLength;
        if (isDigit(at(length + exponentLength))) {
            while (isDigit(at(length + exponentLength))) ++exponentLength;
            length += exponentLength;
        }
    }
    const char* first = buffer_.data() + begin_;
    const char* last = first + length;
    const bool negative = *first == '-';
    if (hasSign) ++first;
    double parsed = 0;
    if (!parseDecimalText(first, last, parsed)) {
        notANumber_ = true;
        return false;
    }
    begin_ += length;
    value = negative ? -parsed : parsed;
    return true;
}

bool NumberReader::quickNumber(double& value) {
    // The common case in one pass over the buffer, when the number ends well
    // inside it; anything else is left to the general reading.
    if (end_ - begin_ < 64) return false;
    const char* first = buffer_.data() + begin_;
    const char* end = quickDecimal(first, buffer_.data() + end_, value);
    if (end == nullptr) return false;
    begin_ += static_cast<size_t>(end - first);
    return true;
}

const char* quickDecimal(const char* first, const char* limit, double& value) {
    // Its value is the digits over a power of ten, as parseDecimalText shows.
    const char* p = first;
    const bool negative = p < limit && *p == '-';
    if (p < limit && (*p == '-' || *p == '+')) ++p;
    uint64_t digits = 0;
    int significant = 0, decimals = 0;
    bool any = false;
    for (; p < limit && isDigit(*p); ++p) {
        digits = digits * 10 + static_cast<uint64_t>(*p - '0');
        any = true;
        if (digits != 0 && ++significant > 16) return nullptr;
    }
    if (p < limit && *p == '.') {
        for (++p; p < limit && isDigit(*p); ++p) {
            digits = digits * 10 + static_cast<uint64_t>(*p - '0');
            any = true;
            ++decimals;
            if (digits != 0 && ++significant > 16) return nullptr;
        }
    }
    if (!any || p >= limit || *p == 'e' || *p == 'E' || digits >= (uint64_t{1} << 53) || decimals > 22) return nullptr;
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return p;
}

bool NumberReader::readNumbers(double* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!readNumber(values[i])) return false;
    }
    return true;
}

bool parseDecimalText(const char* first, const char* last, double& value) {
    // Plain decimals of up to 15 or 16 digits, which is every number of a
    // survey file, are the digits as a whole number divided by a power of
    // ten: both are exact doubles and the one division rounds correctly, so
    // the result is the library's. Everything else goes to the library.
    uint64_t digits = 0;
    int digitCount = 0, decimals = 0;
    bool afterPoint = false, plain = true, anyDigit = false;
    for (const char* c = first; c != last && plain; ++c) {
        if (*c >= '0' && *c <= '9') {
            anyDigit = true;
            digits = digits * 10 + static_cast<uint64_t>(*c - '0');
            if (digits != 0 && ++digitCount > 16) plain = false;
            if (afterPoint) ++decimals;
        } else if (*c == '.' && !afterPoint) {
            afterPoint = true;
        } else {
            plain = false;  // an exponent
        }
    }
    if (plain && anyDigit && digits < (uint64_t{1} << 53) && decimals <= 22) {
        value = static_cast<double>(digits) / kPowersOfTen[decimals];
        return true;
    }
    double parsed = 0;
    const auto result = std::from_chars(first, last, parsed, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range && result.ptr == last) {
        // Too small for a double (1e-400): scanf's %lf reads it as zero or
        // the nearest tiny value, and so does this; too large stays refused.
        const double tiny = std::strtod(std::string(first, last).c_str(), nullptr);
        if (!(std::fabs(tiny) < 1)) return false;
        value = tiny;
        return true;
    }
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

namespace {

// The exact value of `value` in millionths, rounded half to even as printf
// rounds, from the bits of the double; false (nothing set) at 10^12 and
// beyond, and for values that are not finite.
bool exactMillionths(double value, uint64_t& units, bool& negative) {
    if (!(std::fabs(value) < 1e12)) return false;
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
    const uint64_t mantissa = biased == 0 ? fraction : fraction | (uint64_t{1} << 52);
    const int shift = biased == 0 ? 1074 : 1075 - biased;  // value = mantissa / 2^shift
    const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * 1000000u;
    units = 0;
    if (shift <= 0) {
        units = static_cast<uint64_t>(scaled << -shift);
    } else if (shift < 75) {  // from 2^75 on, scaled / 2^shift is below one half
        units = static_cast<uint64_t>(scaled >> shift);
        const unsigned __int128 rest = scaled & ((static_cast<unsigned __int128>(1) << shift) - 1);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        if (rest > half || (rest == half && (units & 1) != 0)) ++units;
    }
    return true;
}

}  // namespace

void appendFixed(std::string& out, double value) {
    // Survey coordinates (below 10^12) take the exact integer way; anything
    // larger or not finite goes to the library.
    uint64_t units = 0;
    bool negative = false;
    if (exactMillionths(value, units, negative)) {
        char text[32];
        char* end = text + sizeof text;
        char* p = end;
        uint64_t whole = units / 1000000u;
        uint64_t millionths = units % 1000000u;
        for (int i = 0; i < 6; ++i, millionths /= 10) *--p = static_cast<char>('0' + millionths % 10);
        *--p = '.';
        do {
            *--p = static_cast<char>('0' + whole % 10);
            whole /= 10;
        } while (whole != 0);
        if (negative) *--p = '-';
        out.append(p, static_cast<size_t>(end - p));
        return;
    }
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    out.append(text, result.ptr);
}

double roundedAsWritten(double value) {
    // Below 2^53 millionths the count and 10^6 are exact doubles and their
    // quotient rounds as strtod rounds the text.
    uint64_t units = 0;
    bool negative = false;
    if (exactMillionths(value, units, negative) && units < (uint64_t{1} << 53)) {
        const double magnitude = static_cast<double>(units) / 1e6;
        return negative ? -magnitude : magnitude;
    }
    const std::string text = formatFixed(value);
    double parsed = 0;
    std::from_chars(text.data(), text.data() + text.size(), parsed);
    return parsed;
}

std::string formatFixed(double value) {
    std::string out;
    appendFixed(out, value);
    return out;
}

FixedWriter::FixedWriter(std::FILE* file) : file_(file) { buffer_.reserve(kFlushAt + 4096); }

FixedWriter::~FixedWriter() { flush(); }

void FixedWriter::number(double value) {
    appendFixed(buffer_, value);
    if (buffer_.size() >= kFlushAt) flush();
}

void FixedWriter::text(const char* text) {
    buffer_ += text;
    if (buffer_.size() >= kFlushAt) flush();
}

void FixedWriter::character(char c) { buffer_ += c; }

void appendLine3(std::string& out, double a, double b, double c) {
    appendFixed(out, a);
    out += ' ';
    appendFixed(out, b);
    out += ' ';
    appendFixed(out, c);
    out += '\n';
}

void FixedWriter::line3(double a, double b, double c) {
    appendLine3(buffer_, a, b, c);
    if (buffer_.size() >= kFlushAt) flush();
}

void FixedWriter::line9(const double* values) {
    for (int i = 0; i < 9; ++i) {
        if (i > 0) buffer_ += ' ';
        appendFixed(buffer_, values[i]);
    }
    buffer_ += '\n';
    if (buffer_.size() >= kFlushAt) flush();
}

bool FixedWriter::flush() {
    if (file_ == nullptr) {
        buffer_.clear();
        return false;
    }
    if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    buffer_.clear();
    return std::ferror(file_) == 0;
}

}  // namespace tz::terrain

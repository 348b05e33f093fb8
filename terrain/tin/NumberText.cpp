#include "tin/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace tz::terrain {
namespace {

constexpr size_t kChunk = 1 << 20;
constexpr size_t kFlushAt = 1 << 20;

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(int c) { return c >= '0' && c <= '9'; }

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
    const auto result = std::from_chars(first, last, parsed, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(parsed)) {
        notANumber_ = true;
        return false;
    }
    begin_ += length;
    value = negative ? -parsed : parsed;
    return true;
}

bool NumberReader::readNumbers(double* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!readNumber(values[i])) return false;
    }
    return true;
}

void appendFixed(std::string& out, double value) {
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    out.append(text, result.ptr);
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

void FixedWriter::line3(double a, double b, double c) {
    appendFixed(buffer_, a);
    buffer_ += ' ';
    appendFixed(buffer_, b);
    buffer_ += ' ';
    appendFixed(buffer_, c);
    buffer_ += '\n';
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

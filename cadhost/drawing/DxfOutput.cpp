#include "drawing/DxfOutput.h"

#include <charconv>
#include <cmath>

#include "drawing/DxfText.h"

namespace tz::cad {

namespace {

// The shortest text that reads back as the value, with ".0" added to a whole
// number; into `buffer` (64 characters), answering its length.
size_t formatRealInto(double value, char* buffer) {
    if (!std::isfinite(value)) value = 0;  // never written: the drawing refuses such values
    if (value == 0) value = 0;             // no "-0.0"
    auto [end, error] = std::to_chars(buffer, buffer + 60, value);
    if (error != std::errc()) return 0;
    const std::string_view text(buffer, static_cast<size_t>(end - buffer));
    if (text.find_first_of(".eEn") == std::string_view::npos) {
        *end++ = '.';
        *end++ = '0';
    }
    return static_cast<size_t>(end - buffer);
}

}  // namespace

void DxfOutput::flush() {
    out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    pending_.clear();
}

void DxfOutput::endLine() {
    pending_ += "\r\n";
    if (pending_.size() >= kFlushAt) flush();
}

void DxfOutput::code(int code) {
    // Right-aligned in three columns, as "%3d" writes it.
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, code);
    const size_t length = static_cast<size_t>(end - digits);
    if (length < 3) pending_.append(3 - length, ' ');
    pending_.append(digits, length);
    endLine();
}

std::string DxfOutput::formatReal(double value) {
    char buffer[64];
    return std::string(buffer, formatRealInto(value, buffer));
}

void DxfOutput::text(int code, std::wstring_view value) {
    this->code(code);
    appendDxfText(pending_, value);
    endLine();
}

void DxfOutput::text(int code, std::wstring_view whole, size_t begin, size_t end) {
    this->code(code);
    appendDxfText(pending_, whole, begin, end);
    endLine();
}

void DxfOutput::ascii(int code, std::string_view value) {
    this->code(code);
    pending_ += value;
    endLine();
}

void DxfOutput::real(int code, double value) {
    this->code(code);
    char buffer[64];
    pending_.append(buffer, formatRealInto(value, buffer));
    endLine();
}

void DxfOutput::integer(int code, int64_t value) {
    this->code(code);
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    pending_.append(buffer, static_cast<size_t>(end - buffer));
    endLine();
}

void DxfOutput::handle(int code, uint64_t value) {
    this->code(code);
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    for (char* c = buffer; c != end; ++c) {
        if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
    }
    pending_.append(buffer, static_cast<size_t>(end - buffer));
    endLine();
}

void DxfOutput::point(int code, const Point3& value, bool planar) {
    real(code, value.x);
    real(code + 10, value.y);
    if (!planar) real(code + 20, value.z);
}

void DxfOutput::group(const Group& group, bool planar) {
    if (const auto* value = std::get_if<std::wstring>(&group.value)) {
        text(group.code, *value);
    } else if (const auto* value = std::get_if<double>(&group.value)) {
        real(group.code, *value);
    } else if (const auto* value = std::get_if<int64_t>(&group.value)) {
        integer(group.code, *value);
    } else if (const auto* value = std::get_if<Point3>(&group.value)) {
        point(group.code, *value, planar);
    } else if (const auto* value = std::get_if<HandleRef>(&group.value)) {
        handle(group.code, value->handle);
    }
}

}  // namespace tz::cad

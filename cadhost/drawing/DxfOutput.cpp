#include "drawing/DxfOutput.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "drawing/DxfText.h"

namespace tz::cad {

namespace {
constexpr const char* kLineEnd = "\r\n";
}

void DxfOutput::code(int code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%3d", code);
    out_ << buffer << kLineEnd;
}

std::string DxfOutput::formatReal(double value) {
    if (!std::isfinite(value)) value = 0;  // never written: the drawing refuses such values
    if (value == 0) value = 0;             // no "-0.0"
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, error == std::errc() ? end : buffer);
    if (text.find_first_of(".eEn") == std::string::npos) text += ".0";
    return text;
}

void DxfOutput::text(int code, std::wstring_view value) {
    this->code(code);
    out_ << encodeDxfText(value) << kLineEnd;
}

void DxfOutput::ascii(int code, std::string_view value) {
    this->code(code);
    out_ << value << kLineEnd;
}

void DxfOutput::real(int code, double value) {
    this->code(code);
    out_ << formatReal(value) << kLineEnd;
}

void DxfOutput::integer(int code, int64_t value) {
    this->code(code);
    out_ << value << kLineEnd;
}

void DxfOutput::handle(int code, uint64_t value) {
    this->code(code);
    const std::wstring text = handleText(value);
    out_ << std::string(text.begin(), text.end()) << kLineEnd;
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

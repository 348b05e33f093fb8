#include "commands/CommandInput.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace tz::cad {

std::wstring_view trimBlanks(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
    return text;
}

std::optional<double> parseNumber(std::wstring_view text) {
    text = trimBlanks(text);
    if (text.empty() || text.size() > 64) return std::nullopt;
    std::string narrow;
    for (wchar_t c : text) {
        if (c > 127) return std::nullopt;
        narrow += static_cast<char>(c);
    }
    if (narrow.front() == '+') narrow.erase(0, 1);
    double value = 0;
    auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (error != std::errc() || end != narrow.data() + narrow.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<Point3> parsePoint(std::wstring_view text, const std::optional<Point3>& last) {
    text = trimBlanks(text);
    bool relative = false;
    if (!text.empty() && text.front() == L'@') {
        if (!last) return std::nullopt;
        relative = true;
        text.remove_prefix(1);
    }
    std::vector<double> values;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != L',') continue;
        std::optional<double> value = parseNumber(text.substr(start, i - start));
        if (!value) return std::nullopt;
        values.push_back(*value);
        start = i + 1;
    }
    if (values.size() < 2 || values.size() > 3) return std::nullopt;
    Point3 point{values[0], values[1], values.size() == 3 ? values[2] : 0.0};
    if (relative) point = {last->x + point.x, last->y + point.y, last->z + point.z};
    return point;
}

std::wstring pointText(const Point3& point) {
    auto number = [](double value) {
        char buffer[64];
        auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
        return std::wstring(buffer, error == std::errc() ? end : buffer);
    };
    return number(point.x) + L"," + number(point.y) + L"," + number(point.z);
}

}  // namespace tz::cad

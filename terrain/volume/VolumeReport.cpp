#include "volume/VolumeReport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cwctype>

namespace tz::terrain::volume {
namespace {

// printf's "%lf" of a value (at most 317 characters for a finite double).
std::string fixed(double value) {
    char text[400];
    const int length = std::snprintf(text, sizeof text, "%f", value);
    return std::string(text, static_cast<std::size_t>(std::max(length, 0)));
}

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

VolumeTotals inReportUnits(const VolumeTotals& totals, bool feet) {
    if (!feet) return totals;
    return {totals.cut / 27.0, totals.fill / 27.0, totals.net / 27.0};
}

std::string volumeReport(const VolumeTotals& totals, bool feet) {
    std::string text = "Cut=" + fixed(std::fabs(totals.cut)) + "\tFill=" + fixed(std::fabs(totals.fill)) +
                       "\tNet=" + (totals.net < 0 ? "Cut" : "Fill") + " " + fixed(std::fabs(totals.net)) + " ";
    text += feet ? "Cubic Yards\n" : "Cubic Meters\n";
    return text;
}

double leadingDecimal(const std::wstring& text) {
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    std::string number;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) { number += static_cast<char>(text[i++]); ++digits; }
    if (i < text.size() && text[i] == L'.') {
        number += '.';
        ++i;
        while (i < text.size() && isDigit(text[i])) { number += static_cast<char>(text[i++]); ++digits; }
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) exponent += static_cast<char>(text[j++]);
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) exponent += static_cast<char>(text[j++]);
            number += exponent;
        }
    }
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return 0;
    return negative ? -value : value;
}

}  // namespace tz::terrain::volume

#include "core/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace tz::cad::numbertext {

std::string printed(const char* format, int precision, double value) {
    const int length = std::snprintf(nullptr, 0, format, precision, value);
    std::string text(static_cast<size_t>(std::max(length, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, format, precision, value);
    return text;
}

// Adds one unit in the last place of a digit string ("1.99" -> "2.00",
// "9.9" -> "10.0"); separators that are not digits are stepped over.
void incrementDigits(std::string& digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (!isDigit(digits[i])) continue;
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Decimal text of a finite, non-negative value with `precision` places,
// ties rounded away from zero as users expect (0.125 -> 0.13). The C library
// prints the exact binary value, so the digits past the kept ones decide the
// rounding; the point is always '.', whatever the C locale says.
std::string roundedDecimal(double absValue, int precision) {
    std::string text = printed("%.*f", precision + 30, absValue);
    size_t point = 0;
    while (point < text.size() && isDigit(text[point])) ++point;
    const bool roundUp = text[point + precision + 1] >= '5';
    std::string kept = text.substr(0, precision > 0 ? point + 1 + precision : point);
    if (precision > 0) kept[point] = '.';
    if (roundUp) incrementDigits(kept);
    return kept;
}

bool isZeroText(std::string_view digits) {
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0' || c == '.'; });
}

// DIMZIN's decimal bits: 4 drops the leading zero, 8 the trailing zeros.
std::string suppressDecimalZeros(std::string digits, int zeroSuppression) {
    if ((zeroSuppression & 8) && digits.find('.') != std::string::npos) {
        while (digits.back() == '0') digits.pop_back();
        if (digits.back() == '.') digits.pop_back();
    }
    if ((zeroSuppression & 4) && digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        digits.erase(0, 1);
    }
    return digits;
}

std::optional<double> toDouble(std::string_view digits) {
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

namespace {

// "a/b" at `from` (b not zero): its value and length.
std::optional<double> fractionAt(const Scanner& sc, size_t from, size_t& length) {
    const size_t n = sc.digitsAt(from);
    if (n == 0 || from + n >= sc.text.size() || sc.text[from + n] != '/') return std::nullopt;
    const size_t m = sc.digitsAt(from + n + 1);
    if (m == 0) return std::nullopt;
    const auto numerator = toDouble(sc.text.substr(from, n));
    const auto denominator = toDouble(sc.text.substr(from + n + 1, m));
    if (!numerator || !denominator || *denominator == 0) return std::nullopt;
    length = n + 1 + m;
    return *numerator / *denominator;
}

}  // namespace

// An unsigned number at the cursor: a mixed number ("17 1/2", "17-1/2"), a
// fraction ("3/4") or a decimal with an optional exponent ("1.5E+01", ".5").
std::optional<double> readNumber(Scanner& sc) {
    const size_t whole = sc.digitsAt(sc.at);
    size_t length = 0;
    if (auto fraction = fractionAt(sc, sc.at, length)) {
        sc.at += length;
        return fraction;
    }
    if (whole > 0) {
        size_t after = sc.at + whole;
        size_t gap = 0;
        if (sc.text.size() > after && sc.text[after] == '-') {
            gap = 1;
        } else {
            while (after + gap < sc.text.size() && isBlank(sc.text[after + gap])) ++gap;
        }
        if (gap > 0) {
            if (auto fraction = fractionAt(sc, after + gap, length)) {
                const auto wholeValue = toDouble(sc.text.substr(sc.at, whole));
                if (!wholeValue) return std::nullopt;
                sc.at = after + gap + length;
                return *wholeValue + *fraction;
            }
        }
    }
    const size_t start = sc.at;
    size_t end = start + whole;
    size_t decimals = 0;
    if (end < sc.text.size() && sc.text[end] == '.') {
        decimals = sc.digitsAt(end + 1);
        end += 1 + decimals;
    }
    if (whole + decimals == 0) return std::nullopt;
    if (end < sc.text.size() && (sc.text[end] == 'e' || sc.text[end] == 'E')) {
        size_t exponentStart = end + 1;
        if (exponentStart < sc.text.size() && (sc.text[exponentStart] == '+' || sc.text[exponentStart] == '-')) {
            ++exponentStart;
        }
        const size_t exponentDigits = sc.digitsAt(exponentStart);
        if (exponentDigits > 0) end = exponentStart + exponentDigits;
    }
    const auto value = toDouble(sc.text.substr(start, end - start));
    if (!value) return std::nullopt;
    sc.at = end;
    return value;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

double readSign(Scanner& sc) {
    if (sc.take('-')) return -1;
    sc.take('+');
    return 1;
}

}  // namespace tz::cad::numbertext

// Shared pieces of the host's number text (Units.cpp, AngleUnits.cpp):
// rounding decimal digits as users expect, and reading numbers the way the
// host's distance and angle input takes them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tz::cad::numbertext {

constexpr double kPi = 3.14159265358979323846264338328;
constexpr double kTwoPi = 2 * kPi;

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }
inline char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Decimal text of a finite, non-negative value with `precision` places, ties
// rounded away from zero (0.125 -> 0.13); the point is always '.'.
std::string roundedDecimal(double absValue, int precision);

// Adds one unit in the last place of a digit string ("1.99" -> "2.00",
// "9.9" -> "10.0"); characters that are not digits are stepped over.
void incrementDigits(std::string& digits);

// True when the digits are all zeros ("0.000").
bool isZeroText(std::string_view digits);

// DIMZIN's decimal bits: 4 drops the leading zero, 8 the trailing zeros.
std::string suppressDecimalZeros(std::string digits, int zeroSuppression);

// printf of one double with a precision, as a string.
std::string printed(const char* format, int precision, double value);

// A cursor over text being read.
struct Scanner {
    std::string_view text;
    size_t at = 0;

    bool atEnd() const { return at >= text.size(); }
    char peek(size_t ahead = 0) const { return at + ahead < text.size() ? text[at + ahead] : '\0'; }
    size_t digitsAt(size_t from) const {
        size_t n = 0;
        while (from + n < text.size() && isDigit(text[from + n])) ++n;
        return n;
    }
    void skipBlanks() {
        while (!atEnd() && isBlank(text[at])) ++at;
    }
    bool take(char c) {
        if (peek() != c) return false;
        ++at;
        return true;
    }
};

// The value of plain decimal digits ("12.5", "1e3"); nullopt when they do not
// all read or the value is beyond the range of a double.
std::optional<double> toDouble(std::string_view digits);

// An unsigned number at the cursor: a mixed number ("17 1/2", "17-1/2"), a
// fraction ("3/4") or a decimal with an optional exponent ("1.5E+01", ".5",
// "5."). On failure the cursor stays where it was.
std::optional<double> readNumber(Scanner& sc);

// An optional '+' or '-' at the cursor: the sign to multiply by.
double readSign(Scanner& sc);

// The text without blanks and tabs at either end.
std::string_view trimmed(std::string_view text);

}  // namespace tz::cad::numbertext

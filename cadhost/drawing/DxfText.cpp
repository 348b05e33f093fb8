#include "drawing/DxfText.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace tz::cad {

namespace {

// Windows-1252 characters 0x80-0x9F (0 where the code page has none).
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendEscape(std::string& out, uint32_t unit) {
    static const char kDigits[] = "0123456789ABCDEF";
    out += "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(unit >> shift) & 15];
}

// UTF-8 to code points; nullopt when the bytes are not valid UTF-8.
std::optional<std::u32string> fromUtf8(std::string_view bytes) {
    std::u32string out;
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int extra;
        uint32_t cp;
        if (lead < 0x80) {
            cp = lead;
            extra = 0;
        } else if ((lead & 0xE0) == 0xC0 && lead >= 0xC2) {
            cp = lead & 0x1F;
            extra = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F;
            extra = 2;
        } else if ((lead & 0xF8) == 0xF0 && lead <= 0xF4) {
            cp = lead & 0x07;
            extra = 3;
        } else {
            return std::nullopt;
        }
        if (i + extra >= bytes.size()) return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (next & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            return std::nullopt;
        }
        out += static_cast<char32_t>(cp);
        i += extra + 1;
    }
    return out;
}

int hexValue(char32_t c) {
    if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
    if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
    if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
    return -1;
}

// The unit of a \U+XXXX escape starting at i, or -1.
int escapeAt(const std::u32string& text, size_t i) {
    if (i + 7 > text.size() || text[i] != U'\\' || (text[i + 1] != U'U' && text[i + 1] != U'u') ||
        text[i + 2] != U'+') {
        return -1;
    }
    int value = 0;
    for (size_t k = i + 3; k < i + 7; ++k) {
        const int digit = hexValue(text[k]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

// Whether the backslash at i, written as it is, would read back as the
// start of a \U+XXXX escape.
bool looksLikeEscape(std::wstring_view text, size_t i) {
    if (i + 7 > text.size() || (text[i + 1] != L'U' && text[i + 1] != L'u') || text[i + 2] != L'+') return false;
    for (size_t k = i + 3; k < i + 7; ++k) {
        if (hexValue(static_cast<char32_t>(text[k])) < 0) return false;
    }
    return true;
}

// The first character encodeDxfText writes for c.
char firstWritten(wchar_t c) {
    if (c < 32 || c == L'^') return '^';
    if (c >= 127) return '\\';
    return static_cast<char>(c);
}

}  // namespace

std::string encodeDxfText(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    appendDxfText(out, text);
    return out;
}

void appendDxfText(std::string& out, std::wstring_view text) { appendDxfText(out, text, 0, text.size()); }

void appendDxfText(std::string& out, std::wstring_view text, size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
        const auto c = static_cast<uint32_t>(text[i]);
        if (c < 32) {
            out += '^';
            out += static_cast<char>(c + 64);
        } else if (c == '^') {
            // Only a caret that would read as a control character is marked:
            // one followed (in the written text) by a blank or @ ... _.
            const char following = i + 1 < text.size() ? firstWritten(text[i + 1]) : 0;
            const bool ambiguous = following == ' ' || (following >= '@' && following <= '_');
            out += ambiguous ? "^ " : "^";
        } else if (c == '\\' && looksLikeEscape(text, i)) {
            appendEscape(out, c);  // a text that holds "\U+0041" keeps it
        } else if (c < 127) {
            out += static_cast<char>(c);
        } else if (c > 0xFFFF && c <= 0x10FFFF) {
            appendEscape(out, 0xD800 + ((c - 0x10000) >> 10));
            appendEscape(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
        } else if (c <= 0xFFFF) {
            appendEscape(out, c);
        } else {
            appendEscape(out, 0xFFFD);
        }
    }
}

size_t encodedLength(std::wstring_view text, size_t i) {
    const auto unit = static_cast<uint32_t>(text[i]);
    if (unit == '\\') return looksLikeEscape(text, i) ? 7 : 1;
    if (unit < 32 || unit == '^') return 2;  // at most
    if (unit < 127) return 1;
    if (unit > 0xFFFF && unit <= 0x10FFFF) return 14;
    return 7;
}

std::wstring decodeDxfText(std::string_view bytes, bool utf8) {
    // Most values (numbers, names, handles) are plain ASCII without a caret
    // or an escape: every byte is its character.
    if (std::all_of(bytes.begin(), bytes.end(), [](char b) { return b > 0 && b != '^' && b != '\\'; })) {
        return std::wstring(bytes.begin(), bytes.end());
    }
    std::u32string text;
    std::optional<std::u32string> decoded = fromUtf8(bytes);
    if (decoded) {
        text = std::move(*decoded);
    } else {
        for (char byte : bytes) {
            const auto b = static_cast<unsigned char>(byte);
            char32_t c = b;
            if (!utf8 && b >= 0x80 && b < 0xA0 && kWindows1252High[b - 0x80] != 0) c = kWindows1252High[b - 0x80];
            if (utf8 && b >= 0x80) c = 0xFFFD;  // broken UTF-8 in a UTF-8 file
            text += c;
        }
    }
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'^' && i + 1 < text.size()) {
            const char32_t next = text[i + 1];
            if (next == U' ') {
                out += L'^';
                ++i;
                continue;
            }
            if (next >= U'@' && next <= U'_') {
                out += static_cast<wchar_t>(next - 64);
                ++i;
                continue;
            }
        }
        const int unit = escapeAt(text, i);
        if (unit >= 0) {
            const int low = unit >= 0xD800 && unit < 0xDC00 ? escapeAt(text, i + 7) : -1;
            if (low >= 0xDC00 && low < 0xE000) {
                out += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 13;
            } else {
                const bool loneSurrogate = unit >= 0xD800 && unit < 0xE000;
                out += static_cast<wchar_t>(loneSurrogate ? 0xFFFD : unit);
                i += 6;
            }
            continue;
        }
        out += static_cast<wchar_t>(c);
    }
    return out;
}

}  // namespace tz::cad

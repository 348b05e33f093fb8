#include "ads/WideFormat.h"

#include <cwchar>
#include <vector>

namespace tz::cad {

std::wstring translateWideFormat(const wchar_t* format) {
    std::wstring out;
    if (format == nullptr) return out;
    for (const wchar_t* p = format; *p;) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        out += *p++;
        if (*p == L'%') {
            out += *p++;
            continue;
        }
        // Flags, width, precision.
        while (*p && std::wcschr(L"-+ #0123456789.*", *p)) out += *p++;
        // Length modifiers.
        std::wstring length;
        while (*p && std::wcschr(L"hlLqjzt", *p)) length += *p++;
        if (*p == L's' || *p == L'c') {
            if (length == L"h") out += *p;                 // narrow
            else if (length == L"l" || length.empty()) out += std::wstring(L"l") + *p;  // wide
            else out += length + *p;
            ++p;
        } else if (*p) {
            out += length + *p++;
        } else {
            out += length;
        }
    }
    return out;
}

std::wstring formatWide(const wchar_t* format, va_list args) {
    const std::wstring translated = translateWideFormat(format);
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int n = std::vswprintf(buffer.data(), buffer.size(), translated.c_str(), copy);
        va_end(copy);
        if (n >= 0 && static_cast<size_t>(n) < buffer.size()) return std::wstring(buffer.data(), static_cast<size_t>(n));
        // vswprintf also fails on text it cannot convert; stop growing at 4M characters.
        if (buffer.size() >= (1u << 22)) return L"(unprintable text)";
        buffer.resize(buffer.size() * 4);
    }
}

}  // namespace tz::cad
